// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "thumbnails/thumbnail_job.h"

#include "core/file_names.h"
#include "thumbnails/thumbnail_folder.h"
#include "thumbnails/thumbnail_maker.h"
#include "thumbnails/thumbnail_names.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QThread>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

// Runs `work` on `threads` threads, this one among them, and waits for all of them.
template <typename Work>
void onThreads(int threads, const Work& work)
{
    std::vector<std::thread> others;
    others.reserve(static_cast<std::size_t>(std::max(0, threads - 1)));
    try {
        for (int i = 1; i < threads; ++i)
            others.emplace_back(work);
    } catch (const std::system_error&) {
        // As many threads as could be had; this one at the least.
    }
    work();
    for (std::thread& thread : others)
        thread.join();
}

QString quotedPath(const QString& path)
{
    return u'"' + QDir::toNativeSeparators(path) + u'"';
}

// What a name that is not in the system's encoding is known by when its thumbnail is named
// and marked: its bytes, after a character no name read from a disk holds, so that it meets
// no name that is.
QString identityOf(const QByteArray& bytes)
{
    return QChar(u'\0') + QString::fromLatin1(bytes);
}

} // namespace

qint64 timeLeftEstimate(int done, int toDo, qint64 elapsedMs)
{
    constexpr qint64 kKnownAfterMs = 2000;
    constexpr int kKnownAfterPercent = 5;
    if (done <= 0 ||
        (qint64(done) * 100 < qint64(toDo) * kKnownAfterPercent && elapsedMs < kKnownAfterMs))
        return -1;
    return elapsedMs * (toDo - done) / done;
}

QStringList ThumbnailJobResult::fileNamesInUse() const
{
    QStringList names;
    for (const ThumbnailOutcome& one : outcome) {
        if (!one.fileName.isEmpty())
            names.append(one.fileName);
    }
    return names;
}

ThumbnailJob::ThumbnailJob(ThumbnailRequest request, QObject* parent)
    : QObject(parent), m_request(std::move(request)), m_threads(QThread::idealThreadCount())
{}

ThumbnailJob::~ThumbnailJob()
{
    cancel();
    if (m_driver.joinable())
        m_driver.join();
}

void ThumbnailJob::setThreadCount(int threads)
{
    m_threads = std::max(1, threads);
}

void ThumbnailJob::start()
{
    if (m_running)
        return;
    m_running = true;
    m_cancelled = false;
    m_stop = false;
    m_done = 0;
    m_toDo = 0;
    m_msLeft = -1;
    try {
        m_driver = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread to be had: the work is done here, and ends as it would on its own thread.
        run();
    }
}

void ThumbnailJob::cancel()
{
    m_cancelled = true;
    m_stop = true;
}

void ThumbnailJob::postProgress()
{
    if (!m_progressPosted.exchange(true))
        QMetaObject::invokeMethod(this, &ThumbnailJob::sendProgress, Qt::QueuedConnection);
}

void ThumbnailJob::sendProgress()
{
    // Cleared before the counts are read, so that a count arriving meanwhile posts again.
    m_progressPosted = false;
    Q_EMIT progress(m_done.load(), m_toDo.load(), m_msLeft.load());
}

void ThumbnailJob::run()
{
    const QList<QByteArray>& images = m_request.images;
    const QSize box = m_request.box;
    const qsizetype count = images.size();

    ThumbnailJobResult result;
    std::vector<ThumbnailOutcome> outcome(static_cast<std::size_t>(count));
    std::vector<ThumbnailCell> cells(static_cast<std::size_t>(count));
    std::mutex errorMutex;
    const auto stopping = [this] { return m_stop.load(); };

    const auto finish = [&] {
        result.cancelled = m_cancelled.load();
        result.outcome = QList<ThumbnailOutcome>(outcome.begin(), outcome.end());
        result.cells = QList<ThumbnailCell>(cells.begin(), cells.end());
        for (const ThumbnailOutcome& one : outcome) {
            result.made += one.status == ThumbnailStatus::Made ? 1 : 0;
            result.reused += one.status == ThumbnailStatus::Reused ? 1 : 0;
            result.failed += one.status == ThumbnailStatus::Failed ? 1 : 0;
        }
        QMetaObject::invokeMethod(
            this,
            [this, result = std::move(result)]() mutable {
                if (m_driver.joinable())
                    m_driver.join(); // it has nothing left to do but return
                m_result = std::move(result);
                m_running = false;
                Q_EMIT finished();
            },
            Qt::QueuedConnection);
    };

    ThumbnailFolderChoice choice = openThumbnailFolder(m_request.directory, m_request.pageFileName);
    if (!choice.folder) {
        result.error = choice.error;
        finish();
        return;
    }
    const QString folderName = choice.folder->name;
    const QString folder = choice.folder->path;
    const int folderFd = choice.folder->fd->get();
    result.folder = folder;
    result.folderFd = choice.folder->fd;

    // Each image by its bytes: a name that is not in the system's encoding stands for its own
    // file, never for one whose name reads the same.
    const QByteArray nativeDirectory = QFile::encodeName(m_request.directory);
    QStringList identities(count);
    for (qsizetype i = 0; i < count; ++i) {
        const QString name = displayName(images.at(i));
        identities[i] = QFile::encodeName(name) == images.at(i) ? name : identityOf(images.at(i));
    }
    const auto imagePath = [&](qsizetype i) -> QByteArray {
        return nativeDirectory + '/' + images.at(i);
    };

    // An image named twice on the page has one thumbnail; the first of its places does the work.
    const QStringList baseNames = thumbnailBaseNames(identities);
    std::vector<qsizetype> distinct;
    std::vector<qsizetype> firstPlace(static_cast<std::size_t>(count));
    {
        QHash<QByteArray, qsizetype> seen;
        for (qsizetype i = 0; i < count; ++i) {
            const auto at = seen.constFind(images.at(i));
            if (at != seen.cend()) {
                firstPlace[static_cast<std::size_t>(i)] = *at;
                continue;
            }
            seen.insert(images.at(i), i);
            firstPlace[static_cast<std::size_t>(i)] = i;
            distinct.push_back(i);
        }
    }
    const auto cellFor = [&](const QString& fileName, QSize pixels) {
        const QSize css = fitInside(pixels, box);
        return ThumbnailCell{folderName + u'/' + fileName, css.width(), css.height()};
    };

    // First the thumbnails that can stay: only the headers of the files already there are read.
    std::vector<char> needsWork(static_cast<std::size_t>(count), 0);
    std::atomic<std::size_t> next{0};
    onThreads(m_threads, [&] {
        for (std::size_t k = next++; k < distinct.size() && !stopping(); k = next++) {
            const qsizetype i = distinct[k];
            const auto at = static_cast<std::size_t>(i);
            const QString marker = thumbnailMarker(identities.at(i), box);
            bool found = false;
            for (const QString& suffix : {u".jpg"_s, u".png"_s}) {
                const QString fileName = baseNames.at(i) + suffix;
                if (const std::optional<ReusableThumbnail> kept =
                        reusableThumbnail(folderFd, fileName, imagePath(i), marker)) {
                    outcome[at] = {ThumbnailStatus::Reused, fileName,
                                   kept->cutShort ? QString::fromUtf16(kCutShort) : QString()};
                    cells[at] = cellFor(fileName, kept->pixels);
                    found = true;
                    break;
                }
            }
            needsWork[at] = found ? 0 : 1;
        }
    });
    std::vector<qsizetype> work;
    for (const qsizetype i : distinct) {
        if (needsWork[static_cast<std::size_t>(i)] != 0)
            work.push_back(i);
    }
    m_toDo = static_cast<int>(work.size());
    postProgress();

    // Then the thumbnails to make, each image decoded, encoded and written by one worker.
    QElapsedTimer clock;
    clock.start();
    next = 0;
    onThreads(m_threads, [&] {
        for (std::size_t k = next++; k < work.size() && !stopping(); k = next++) {
            const qsizetype i = work[k];
            const auto at = static_cast<std::size_t>(i);
            QString problem;
            QImage picture = readThumbnail(imagePath(i), box, m_stop, &problem);
            if (stopping())
                return;
            if (picture.isNull()) {
                outcome[at] = {ThumbnailStatus::Failed, {}, problem};
            } else {
                const QSize pixels = picture.size();
                // A picture cut short says so in its thumbnail, for the runs that keep it.
                const EncodedThumbnail encoded = encodeThumbnail(
                    picture,
                    thumbnailMarker(identities.at(i), box) +
                        (problem.isEmpty() ? QString() : QString::fromUtf16(kCutShortMarker)));
                picture = QImage(); // one decoded picture per worker at a time
                if (stopping())
                    return;
                const QString fileName = baseNames.at(i) + encoded.suffix;
                const SaveResult saved = encoded.bytes.isEmpty()
                                             ? SaveResult{false, u"it could not be encoded"_s}
                                             : saveThumbnailFile(folderFd, fileName, encoded.bytes);
                if (!saved.ok) {
                    const std::lock_guard lock(errorMutex);
                    if (result.error.isEmpty())
                        result.error = u"The thumbnail "_s + quotedPath(folder + u'/' + fileName) +
                                       u" could not be written: "_s + saved.error;
                    m_stop = true;
                    return;
                }
                outcome[at] = {ThumbnailStatus::Made, fileName, problem};
                cells[at] = cellFor(fileName, pixels);
            }
            const int done = ++m_done;
            m_msLeft = timeLeftEstimate(done, m_toDo, clock.elapsed());
            postProgress();
        }
    });

    for (qsizetype i = 0; i < count; ++i) {
        const auto first = static_cast<std::size_t>(firstPlace[static_cast<std::size_t>(i)]);
        outcome[static_cast<std::size_t>(i)] = outcome[first];
        cells[static_cast<std::size_t>(i)] = cells[first];
    }
    finish();
}

StaleRemoval removeStaleThumbnails(int folder, const QStringList& inUse)
{
    StaleRemoval removal;
    const QSet<QString> keep(inUse.begin(), inUse.end());
    // Listed through a descriptor of its own, the folder's stays where it is.
    const int listed =
        retried([&] { return ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    DIR* const entries = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (entries == nullptr) {
        if (listed >= 0)
            ::close(listed);
        removal.problems.append(qt_error_string(errno));
        return removal;
    }
    QStringList names;
    while (const dirent* entry = ::readdir(entries)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (!keep.contains(name) && hasThumbnailFileShape(name))
            names.append(name);
    }
    ::closedir(entries);
    for (const QString& name : std::as_const(names)) {
        if (!carriesThumbnailMarker(folder, name))
            continue;
        if (::unlinkat(folder, QFile::encodeName(name).constData(), 0) == 0)
            ++removal.removed;
        else
            removal.problems.append(u'"' + name + u"\": "_s + qt_error_string(errno));
    }
    return removal;
}

} // namespace vignetta
