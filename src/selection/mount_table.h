// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace vignetta {

// One line of the kernel's mount table.
struct MountEntry
{
    QString mountPoint; // where it is mounted, the kernel's escapes decoded
    QString type;       // the file system type: "ext4", "nfs", "fuse.sshfs", ...
    QString source;     // what is mounted: "/dev/sdb1", "server:/export", ...

    friend bool operator==(const MountEntry&, const MountEntry&) = default;
};

// Parses the text of /proc/self/mountinfo. Lines that do not have its form are left out.
[[nodiscard]] std::vector<MountEntry> parseMountInfo(QByteArrayView text);
// Parses the text of /proc/mounts (the form of fstab). Lines that do not have its form are
// left out.
[[nodiscard]] std::vector<MountEntry> parseMounts(QByteArrayView text);

// Reads this process's mount table: /proc/self/mountinfo, or /proc/mounts where that cannot be
// read. Only the kernel's table is read; no mounted file system is asked anything, so a mount
// that does not answer cannot hold this up. Empty when neither can be read.
[[nodiscard]] std::vector<MountEntry> readMountTable();

// The roots a user may pick pictures from, in the table's order: the mount points less the
// system's own areas and pseudo file systems, each once, "/" always first.
[[nodiscard]] QStringList userDriveRoots(const std::vector<MountEntry>& mounts);

// Where udev names each labelled block device: a link per label to the device.
inline constexpr QStringView volumeLabelDir = u"/dev/disk/by-label";

// The volume labels of the mounted file systems by mount point, for those whose source is a
// device linked from `labelDir`. Reads only the links in `labelDir` and the device nodes.
[[nodiscard]] QHash<QString, QString>
volumeLabels(const std::vector<MountEntry>& mounts,
             const QString& labelDir = volumeLabelDir.toString());

} // namespace vignetta
