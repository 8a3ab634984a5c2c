// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "thumbnails/thumbnail_folder.h"

#include "core/text_rules.h"
#include "output/page_saver.h"
#include "output/page_writer.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

// Numbered names tried before the page is told that none is free.
constexpr int kNumberedNames = 99;
// A mark longer than any page name is no mark of a page.
constexpr qsizetype kLongestMark = 4096;

QString quotedPath(const QString& path)
{
    return u'"' + QDir::toNativeSeparators(path) + u'"';
}

// The names a page's folder may have, in the order they are tried.
QStringList folderNames(const QString& page)
{
    QStringList names{thumbnailFolderName(page)};
    if (names.first() != page + u"_files"_s)
        names.append(page + u"_files"_s);
    for (int n = 2; n <= kNumberedNames + 1; ++n)
        names.append(page + u"_files-"_s + QString::number(n));
    return names;
}

// The mark file's bytes, at most `limit` of them; nothing where the folder has no mark, and an
// empty text where it cannot be read.
std::optional<QByteArray> markBytes(int folder, qsizetype limit)
{
    bool missing = false;
    std::optional<QByteArray> bytes = readFileIn(folder, kThumbnailFolderMark, limit, &missing);
    if (missing)
        return std::nullopt;
    return bytes.value_or(QByteArray());
}

// The page a folder's mark names, as its bytes; nothing where the folder has no mark. A mark
// that cannot be read names no page (an empty name), so that the folder is nobody's to take.
std::optional<QByteArray> markedPage(int folder)
{
    std::optional<QByteArray> bytes = markBytes(folder, kLongestMark + 1);
    if (!bytes)
        return std::nullopt;
    const qsizetype end = bytes->indexOf('\n');
    if (end < 0)
        return QByteArray();
    bytes->truncate(end);
    return bytes;
}

bool isThere(int dir, const QString& name)
{
    struct stat entry = {};
    return ::fstatat(dir, QFile::encodeName(name).constData(), &entry, AT_SYMLINK_NOFOLLOW) == 0;
}

// Whether another page could own the unmarked folder that `page`'s first name gives.
bool anotherPageBeside(int dir, const QString& page)
{
    const qsizetype dot = page.lastIndexOf(u'.');
    const QString base = dot > 0 ? page.first(dot) : page;
    const QStringList others{base + u".html"_s, base + u".htm"_s};
    return std::ranges::any_of(
        others, [&](const QString& other) { return other != page && isThere(dir, other); });
}

// The record's longest: three files for each of the most images a page can have.
constexpr qsizetype kLongestManifest = qsizetype(64) << 20;

} // namespace

FolderManifest readManifest(int folder)
{
    FolderManifest files;
    const std::optional<QByteArray> bytes = markBytes(folder, kLongestManifest);
    if (!bytes)
        return files;
    const QList<QByteArray> lines = bytes->split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype tab = lines[i].indexOf('\t');
        if (tab > 0)
            files.insert(QFile::decodeName(lines[i].first(tab)),
                         QString::fromUtf8(lines[i].sliced(tab + 1)));
    }
    return files;
}

SaveResult writeManifest(int folder, const QString& pageFileName, const FolderManifest& files)
{
    QByteArray bytes = QFile::encodeName(trimBlanks(pageFileName)) + '\n';
    QStringList names = files.keys();
    names.sort();
    for (const QString& name : std::as_const(names))
        bytes += QFile::encodeName(name) + '\t' + files.value(name).toUtf8() + '\n';
    return savePageIn(folder, QString::fromLatin1(kThumbnailFolderMark), bytes, Durability::Later);
}

ThumbnailFolderChoice openThumbnailFolder(const QString& directory, const QString& pageFileName)
{
    const QString page = trimBlanks(pageFileName);
    const QByteArray pageBytes = QFile::encodeName(page);
    const Descriptor dir(retried([&] {
        return ::open(QFile::encodeName(directory).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }));
    if (!dir.isOpen())
        return {std::nullopt, u"The folder "_s + quotedPath(directory) + u" cannot be opened: "_s +
                                  qt_error_string(errno)};

    const QStringList names = folderNames(page);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names.at(i);
        const QString path = directory + u'/' + name;
        const QByteArray entry = QFile::encodeName(name);
        const auto refused = [&](const QString& reason) {
            return ThumbnailFolderChoice{std::nullopt, u"The folder "_s + quotedPath(path) +
                                                           u" could not be made: "_s + reason};
        };
        bool made = false;
        if (::mkdirat(dir.get(), entry.constData(), 0777) == 0)
            made = true;
        else if (errno != EEXIST)
            return refused(qt_error_string(errno));
        // Opened as a folder of its own, never through a link.
        auto folder = std::make_shared<Descriptor>(retried([&] {
            return ::openat(dir.get(), entry.constData(),
                            O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        }));
        if (!folder->isOpen()) {
            struct stat there = {};
            if (errno == ELOOP ||
                (::fstatat(dir.get(), entry.constData(), &there, AT_SYMLINK_NOFOLLOW) == 0 &&
                 S_ISLNK(there.st_mode)))
                return {std::nullopt, u"The folder "_s + quotedPath(path) +
                                          u" could not be used: "_s +
                                          linkRefusal(dir.get(), entry)};
            return refused(errno == ENOTDIR ? u"a file of that name is in the way"_s
                                            : qt_error_string(errno));
        }
        const std::optional<QByteArray> owner = made ? std::nullopt : markedPage(folder->get());
        if (owner && *owner != pageBytes)
            continue; // another page's
        // Unmarked and not made just now: made before folders were marked, for the page of
        // this name or another of the same first name.
        if (!owner && !made && (i > 0 || anotherPageBeside(dir.get(), page)))
            continue;
        if (!owner) {
            const SaveResult marked = savePageIn(
                folder->get(), QString::fromLatin1(kThumbnailFolderMark), pageBytes + '\n');
            if (!marked.ok)
                return refused(marked.error);
        }
        return {ThumbnailFolder{name, path, std::move(folder)}, {}};
    }
    return {std::nullopt, u"No folder for the thumbnails of "_s +
                              quotedPath(directory + u'/' + page) +
                              u" is free: each name it could have is taken by another page."_s};
}

} // namespace vignetta
