// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/mount_table.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vignetta;

namespace {

// One entry as "mount point|type|source", so that a failed comparison shows what differs.
QStringList described(const std::vector<MountEntry>& entries)
{
    QStringList lines;
    for (const MountEntry& entry : entries)
        lines.append(entry.mountPoint + u'|' + entry.type + u'|' + entry.source);
    return lines;
}

} // namespace

class TestMountTable : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parsesBothTableForms_data();
    void parsesBothTableForms();
    void offersOnlyMountsHoldingUserFiles_data();
    void offersOnlyMountsHoldingUserFiles();
    void rootAlwaysFirstAndEachMountOnce();
    void labelsFollowTheDeviceLinks();
    void readsThisSystemsTable();
};

void TestMountTable::parsesBothTableForms_data()
{
    QTest::addColumn<bool>("mountInfo");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("mountinfo, one optional field")
        << true << QByteArray("26 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n")
        << QStringList{"/|ext4|/dev/vda"};
    QTest::newRow("mountinfo, none or several optional fields")
        << true
        << QByteArray("40 26 0:40 / /mnt/nas rw - nfs4 server:/export rw,vers=4.2\n"
                      "41 26 0:41 / /home/me/remote rw shared:5 master:1 propagate_from:2 - "
                      "fuse.sshfs me@host: rw,user_id=1000")
        << QStringList{"/mnt/nas|nfs4|server:/export", "/home/me/remote|fuse.sshfs|me@host:"};
    QTest::newRow("mountinfo, escaped blank, tab, newline and backslash")
        << true
        << QByteArray("50 26 8:17 / /media/me/My\\040Disk rw - vfat /dev/sdb1 rw\n"
                      "51 26 8:18 / /mnt/a\\011b\\012c\\134d rw - ext4 /dev/sdb2 rw\n"
                      "52 26 0:50 / /mnt/share rw - cifs //server/My\\040Share rw\n")
        << QStringList{"/media/me/My Disk|vfat|/dev/sdb1", "/mnt/a\tb\nc\\d|ext4|/dev/sdb2",
                       "/mnt/share|cifs|//server/My Share"};
    QTest::newRow("mountinfo, backslash not starting an escape")
        << true
        << QByteArray("53 26 8:19 / /mnt/a\\x rw - ext4 /dev/sdb3 rw\n"
                      "54 26 8:20 / /mnt/b\\08 rw - ext4 /dev/sdb4 rw\n"
                      "55 26 8:21 / /mnt/c\\04 rw - ext4 /dev/sdb5 rw\n")
        << QStringList{"/mnt/a\\x|ext4|/dev/sdb3", "/mnt/b\\08|ext4|/dev/sdb4",
                       "/mnt/c\\04|ext4|/dev/sdb5"};
    QTest::newRow("mountinfo, UTF-8 name")
        << true << QByteArray("56 26 8:22 / /media/me/Fotos\\040M\xc3\xa4rz rw - vfat /dev/sdc1 rw")
        << QStringList{"/media/me/Fotos März|vfat|/dev/sdc1"};
    QTest::newRow("mountinfo, malformed lines left out")
        << true
        << QByteArray("garbage\n\n"
                      "60 26 8:1 / /mnt/nosep rw shared:1 ext4 /dev/sda1 rw\n"
                      "61 26 8:2 / /mnt/notype rw - \n"
                      "62 26 8:3 / /mnt/ok rw - xfs /dev/sda3 rw\n")
        << QStringList{"/mnt/ok|xfs|/dev/sda3"};
    QTest::newRow("mounts") << false
                            << QByteArray("/dev/sdb1 /media/me/My\\040Disk vfat rw,nosuid 0 0\n"
                                          "short line\n"
                                          "proc /proc proc rw 0 0")
                            << QStringList{"/media/me/My Disk|vfat|/dev/sdb1", "/proc|proc|proc"};
    QTest::newRow("empty") << true << QByteArray() << QStringList{};
}

void TestMountTable::parsesBothTableForms()
{
    QFETCH(bool, mountInfo);
    QFETCH(QByteArray, text);
    QFETCH(QStringList, entries);
    QCOMPARE(described(mountInfo ? parseMountInfo(text) : parseMounts(text)), entries);
}

void TestMountTable::offersOnlyMountsHoldingUserFiles_data()
{
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("offered");

    const auto row = [](const char* name, const char* mountPoint, const char* type,
                        const char* source, bool offered) {
        QTest::newRow(name) << mountPoint << type << source << offered;
    };
    row("home partition", "/home", "ext4", "/dev/sda3", true);
    row("USB stick under /media", "/media/me/USB", "vfat", "/dev/sdb1", true);
    row("removable medium under /run/media", "/run/media/me/USB", "vfat", "/dev/sdb1", true);
    row("network share", "/mnt/nas", "nfs4", "server:/export", true);
    row("FUSE mount", "/home/me/remote", "fuse.sshfs", "me@host:", true);
    row("tmpfs outside /run", "/tmp", "tmpfs", "tmpfs", true);
    row("image of a user's own", "/mnt/iso", "squashfs", "/dev/loop3", true);
    row("trailing slash cleaned", "/mnt/usb/", "vfat", "/dev/sdc1", true);

    row("/proc", "/proc", "proc", "proc", false);
    row("below /sys", "/sys/fs/cgroup", "tmpfs", "tmpfs", false);
    row("/dev", "/dev", "devtmpfs", "udev", false);
    row("below /dev", "/dev/shm", "tmpfs", "tmpfs", false);
    row("/run", "/run", "tmpfs", "tmpfs", false);
    row("below /run", "/run/lock", "tmpfs", "tmpfs", false);
    row("a user's run-time directory", "/run/user/1000", "tmpfs", "tmpfs", false);
    row("desktop's share gateway", "/run/user/1000/gvfs", "fuse.gvfsd-fuse", "gvfsd-fuse", false);
    row("/run/media itself", "/run/media", "tmpfs", "tmpfs", false);
    row("a user's /run/media directory", "/run/media/me", "tmpfs", "tmpfs", false);
    row("/boot", "/boot", "ext4", "/dev/sda1", false);
    row("/boot/efi", "/boot/efi", "vfat", "/dev/sda2", false);
    row("/efi", "/efi", "vfat", "/dev/sda2", false);
    row("snap package", "/snap/core22/1380", "squashfs", "/dev/loop0", false);
    row("snap package elsewhere", "/mnt/snaps/x", "squashfs", "/var/lib/snapd/snaps/x_1.snap",
        false);
    row("container layer", "/var/lib/docker/overlay2/ab12/merged", "overlay", "overlay", false);
    row("rootless container layer", "/home/me/.local/share/containers/storage/overlay/x/merged",
        "overlay", "overlay", false);
    row("name sharing a system prefix", "/devices", "ext4", "/dev/sdd1", true);
    row("binfmt_misc", "/proc/sys/fs/binfmt_misc", "binfmt_misc", "binfmt_misc", false);
    row("automount placeholder", "/mnt/auto", "autofs", "systemd-1", false);
    row("network namespace", "/mnt/netns/x", "nsfs", "nsfs", false);
    for (const char* type : {"cgroup2", "debugfs", "tracefs", "securityfs", "pstore", "bpf",
                             "mqueue", "hugetlbfs", "configfs", "fusectl", "efivarfs"})
        row(type, "/mnt/x", type, type, false);
    row("no absolute mount point", "none", "ext4", "/dev/sde1", false);
}

void TestMountTable::offersOnlyMountsHoldingUserFiles()
{
    QFETCH(QString, mountPoint);
    QFETCH(QString, type);
    QFETCH(QString, source);
    QFETCH(bool, offered);
    const QStringList roots = userDriveRoots({{mountPoint, type, source}});
    QStringList expected{"/"};
    if (offered)
        expected.append(mountPoint.size() > 1 && mountPoint.endsWith(u'/') ? mountPoint.chopped(1)
                                                                           : mountPoint);
    QCOMPARE(roots, expected);
}

void TestMountTable::rootAlwaysFirstAndEachMountOnce()
{
    // A table without "/", a mount point mounted over twice, and "/" itself late in the table.
    const std::vector<MountEntry> mounts{{"/mnt/b", "ext4", "/dev/sdb1"},
                                         {"/mnt/a", "ext4", "/dev/sda1"},
                                         {"/mnt/b", "ext4", "/dev/sdc1"},
                                         {"/", "ext4", "/dev/vda"}};
    QCOMPARE(userDriveRoots(mounts), (QStringList{"/", "/mnt/b", "/mnt/a"}));
    QCOMPARE(userDriveRoots({}), QStringList{"/"});
}

void TestMountTable::labelsFollowTheDeviceLinks()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString devices = QFileInfo(dir.path()).canonicalFilePath();
    QVERIFY(QDir(devices).mkdir("by-label"));
    for (const char* device : {"sdz1", "sdz2", "sdz3"}) {
        QFile file(devices + u'/' + device);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // udev's links are relative; the names carry its escapes.
    const QString labelDir = devices + "/by-label";
    QVERIFY(QFile::link("../sdz1", labelDir + "/PHOTOS"));
    QVERIFY(QFile::link("../sdz2", labelDir + "/My\\x20Pics"));
    QVERIFY(QFile::link("../gone", labelDir + "/DANGLING"));

    const std::vector<MountEntry> mounts{{"/media/a", "vfat", devices + "/sdz1"},
                                         {"/media/b/", "ext4", devices + "/sdz2"},
                                         {"/media/c", "ext4", devices + "/sdz3"},
                                         {"/mnt/nas", "nfs", "server:/export"}};
    const QHash<QString, QString> expected{{"/media/a", "PHOTOS"}, {"/media/b", "My Pics"}};
    QCOMPARE(volumeLabels(mounts, labelDir), expected);
    QVERIFY(volumeLabels(mounts, devices + "/absent").isEmpty());
}

void TestMountTable::readsThisSystemsTable()
{
    // The files of /proc report no size; a reader that trusts it reads nothing.
    QVERIFY(!readMountTable().empty());
}

QTEST_GUILESS_MAIN(TestMountTable)
#include "tst_mount_table.moc"
