// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/mount_table.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// The kernel writes a blank, tab, newline and backslash in a mount table field as a backslash
// and three octal digits ("\040"); any other backslash stands for itself.
QString decodeField(QByteArrayView field)
{
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctalDigit(field[i + 1]) &&
            isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3])) {
            bytes.append(static_cast<char>(((field[i + 1] - '0') << 6) |
                                           ((field[i + 2] - '0') << 3) | (field[i + 3] - '0')));
            i += 3;
        } else {
            bytes.append(field[i]);
        }
    }
    return QFile::decodeName(bytes);
}

// The blank-separated fields of one line.
std::vector<QByteArrayView> fieldsOf(QByteArrayView line)
{
    std::vector<QByteArrayView> fields;
    qsizetype start = 0;
    while (start < line.size()) {
        while (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
            ++start;
        qsizetype end = start;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t')
            ++end;
        if (end > start)
            fields.push_back(line.sliced(start, end - start));
        start = end;
    }
    return fields;
}

template <typename LineParser>
std::vector<MountEntry> parseLines(QByteArrayView text, LineParser parseLine)
{
    std::vector<MountEntry> entries;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        const std::vector<QByteArrayView> fields = fieldsOf(text.sliced(start, end - start));
        if (!fields.empty())
            parseLine(fields, entries);
        start = end + 1;
    }
    return entries;
}

bool isUnder(QStringView path, QStringView area)
{
    return path.startsWith(area) && (path.size() == area.size() || path[area.size()] == u'/');
}

// Areas of the file system tree that hold the system's own mounts, never a user's pictures.
bool isSystemArea(QStringView path)
{
    static constexpr std::array areas{u"/proc",
                                      u"/sys",
                                      u"/dev",
                                      u"/boot",
                                      u"/efi",
                                      u"/snap",
                                      u"/var/lib/docker",
                                      u"/var/lib/containers",
                                      u"/var/lib/snapd",
                                      u"/var/lib/lxcfs"};
    if (std::any_of(areas.begin(), areas.end(),
                    [&](const char16_t* area) { return isUnder(path, QStringView(area)); }))
        return true;
    // /run holds the system's run-time state; removable media that udisks mounts for a user
    // go to /run/media/<user>/<volume>, and those stay.
    if (!isUnder(path, u"/run"))
        return false;
    constexpr QStringView media = u"/run/media/";
    return !path.startsWith(media) || !path.sliced(media.size()).contains(u'/');
}

// File systems that are the kernel's or a container's own, wherever they are mounted.
bool isPseudoFileSystem(const MountEntry& entry)
{
    static constexpr std::array types{u"proc",
                                      u"sysfs",
                                      u"cgroup",
                                      u"cgroup2",
                                      u"devpts",
                                      u"devtmpfs",
                                      u"securityfs",
                                      u"debugfs",
                                      u"tracefs",
                                      u"pstore",
                                      u"bpf",
                                      u"mqueue",
                                      u"hugetlbfs",
                                      u"configfs",
                                      u"fusectl",
                                      u"binfmt_misc",
                                      u"autofs",
                                      u"efivarfs",
                                      u"nsfs",
                                      u"rpc_pipefs",
                                      u"selinuxfs",
                                      u"nfsd",
                                      u"fuse.lxcfs",
                                      u"overlay",
                                      u"fuse.fuse-overlayfs",
                                      u"fuse.portal",
                                      u"fuse.gvfsd-fuse",
                                      u"ramfs",
                                      u"sunrpc",
                                      u"ipathfs"};
    if (std::any_of(types.begin(), types.end(),
                    [&](const char16_t* type) { return entry.type == QStringView(type); }))
        return true;
    // The packages of snaps, each mounted from its image file.
    return entry.type == u"squashfs" && entry.source.startsWith(u"/var/lib/snapd/");
}

} // namespace

std::vector<MountEntry> parseMountInfo(QByteArrayView text)
{
    // id parent major:minor root mount-point options [optional fields...] - type source options
    return parseLines(
        text, [](const std::vector<QByteArrayView>& fields, std::vector<MountEntry>& entries) {
            if (fields.size() < 9)
                return;
            const auto separator = std::find(fields.begin() + 6, fields.end(), QByteArrayView("-"));
            if (std::distance(separator, fields.end()) < 3)
                return;
            entries.push_back({decodeField(fields[4]), decodeField(*(separator + 1)),
                               decodeField(*(separator + 2))});
        });
}

std::vector<MountEntry> parseMounts(QByteArrayView text)
{
    // source mount-point type options dump pass
    return parseLines(text, [](const std::vector<QByteArrayView>& fields,
                               std::vector<MountEntry>& entries) {
        if (fields.size() < 3)
            return;
        entries.push_back({decodeField(fields[1]), decodeField(fields[2]), decodeField(fields[0])});
    });
}

std::vector<MountEntry> readMountTable()
{
    // The files of /proc report a size of 0: read them to their end.
    QFile mountInfo(u"/proc/self/mountinfo"_s);
    if (mountInfo.open(QIODevice::ReadOnly))
        return parseMountInfo(mountInfo.readAll());
    QFile mounts(u"/proc/mounts"_s);
    if (mounts.open(QIODevice::ReadOnly))
        return parseMounts(mounts.readAll());
    return {};
}

QStringList userDriveRoots(const std::vector<MountEntry>& mounts)
{
    QStringList roots{u"/"_s};
    for (const MountEntry& entry : mounts) {
        if (!entry.mountPoint.startsWith(u'/'))
            continue;
        const QString root = QDir::cleanPath(entry.mountPoint);
        if (isSystemArea(root) || isPseudoFileSystem(entry) || roots.contains(root))
            continue;
        roots.append(root);
    }
    return roots;
}

namespace {

// udev writes the characters of a label that do not suit a file name as "\x" and two hex digits.
QString decodeLabel(const QString& name)
{
    const QByteArray bytes = QFile::encodeName(name);
    QByteArray decoded;
    decoded.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        bool ok = false;
        const int value = i + 3 < bytes.size() && bytes[i] == '\\' && bytes[i + 1] == 'x'
                              ? bytes.mid(i + 2, 2).toInt(&ok, 16)
                              : 0;
        if (ok) {
            decoded.append(static_cast<char>(value));
            i += 3;
        } else {
            decoded.append(bytes[i]);
        }
    }
    return QFile::decodeName(decoded);
}

} // namespace

QHash<QString, QString> volumeLabels(const std::vector<MountEntry>& mounts, const QString& labelDir)
{
    QHash<QString, QString> labelOfDevice;
    QDirIterator links(labelDir, QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    while (links.hasNext()) {
        const QFileInfo link = links.nextFileInfo();
        const QString device = link.canonicalFilePath();
        if (!device.isEmpty())
            labelOfDevice.insert(device, decodeLabel(link.fileName()));
    }
    QHash<QString, QString> labels;
    if (labelOfDevice.isEmpty())
        return labels;
    for (const MountEntry& entry : mounts) {
        // Only a device node is looked up: a source such as "server:/export" names no file
        // here, and a path elsewhere may lie on a mount that does not answer.
        QString device = entry.source;
        if (device.startsWith(u"/dev/")) {
            const QString canonical = QFileInfo(device).canonicalFilePath();
            if (!canonical.isEmpty())
                device = canonical;
        }
        const auto label = labelOfDevice.constFind(device);
        if (label != labelOfDevice.constEnd())
            labels.insert(QDir::cleanPath(entry.mountPoint), *label);
    }
    return labels;
}

} // namespace vignetta
