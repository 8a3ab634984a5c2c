// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/image_folder.h"
#include "support/page_files.h"

#include "output/page_saver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <sched.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using namespace vignetta;
using page_files::readFile;

namespace {

constexpr unsigned kNobody = 65534;
const QString kPage = QStringLiteral("Vignetta.html");

bool isRoot()
{
    return ::geteuid() == 0;
}

QByteArray bytes(qsizetype size, char fill)
{
    return {size, fill};
}

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

// Everything in a folder, hidden entries, links, FIFOs and sockets included.
QStringList entries(const QString& path)
{
    return QDir(path).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// While it lives, this thread reaches files as the unprivileged user "nobody", for whom a
// folder of root's with mode 0755 takes no new file: a shared folder the user may only read.
class AsNobody
{
public:
    AsNobody()
    {
        ::setfsgid(kNobody);
        ::setfsuid(kNobody);
    }
    ~AsNobody()
    {
        ::setfsuid(0);
        ::setfsgid(0);
    }
    AsNobody(const AsNobody&) = delete;
    AsNobody& operator=(const AsNobody&) = delete;
};

// Saves `page`, handed on whole or, as a page is while it is made, in `pieces` pieces.
SaveResult saveAs(bool nobody, const QString& directory, const QString& name,
                  const QByteArray& page, int pieces = 1)
{
    const auto save = [&] {
        if (pieces == 1)
            return savePage(directory, name, page);
        return savePage(directory, name, [&](const PageSink& sink) {
            const qsizetype length = page.size() / pieces + 1;
            for (qsizetype at = 0; at < page.size(); at += length) {
                if (!sink(QByteArrayView(page).sliced(at, std::min(length, page.size() - at))))
                    return false;
            }
            return true;
        });
    };
    if (!nobody)
        return save();
    const AsNobody identity;
    return save();
}

// A tmpfs of a few KiB, mounted for one test and gone at its end.
class SmallDisk
{
public:
    explicit SmallDisk(int kib)
    {
        const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0755";
        if (::mount("tmpfs", encoded(m_mountPoint.path()).constData(), "tmpfs", MS_NOSUID,
                    options.constData()) == 0)
            m_mounted = true;
        else
            m_reason = qt_error_string(errno);
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(encoded(m_mountPoint.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    [[nodiscard]] bool mounted() const { return m_mounted; }
    [[nodiscard]] QString skipReason() const
    {
        return QStringLiteral("mounting a small tmpfs is not permitted here: ") + m_reason;
    }
    [[nodiscard]] QString path() const { return m_mountPoint.path(); }
    [[nodiscard]] QString filePath(const QString& name) const { return path() + u'/' + name; }

    // Takes every free byte with a file named "filler".
    [[nodiscard]] bool fill() const
    {
        const int fd = ::open(encoded(filePath(QStringLiteral("filler"))).constData(),
                              O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'f');
        for (const std::size_t chunk : {std::size_t{4096}, std::size_t{1}}) {
            while (::write(fd, block.constData(), chunk) > 0) {
            }
        }
        ::close(fd);
        struct statvfs space = {};
        return ::statvfs(encoded(path()).constData(), &space) == 0 && space.f_bavail == 0;
    }
    [[nodiscard]] bool remountReadOnly() const
    {
        return ::mount(nullptr, encoded(path()).constData(), nullptr,
                       MS_REMOUNT | MS_RDONLY | MS_NOSUID, nullptr) == 0;
    }

private:
    QTemporaryDir m_mountPoint;
    bool m_mounted = false;
    QString m_reason;
};

#define MOUNT_OR_SKIP(disk)                                                                        \
    do {                                                                                           \
        if (!(disk).mounted())                                                                     \
            QSKIP(qPrintable((disk).skipReason()));                                                \
    } while (false)

#define ROOT_OR_SKIP()                                                                             \
    do {                                                                                           \
        if (!isRoot())                                                                             \
            QSKIP("acting as another user (a folder closed to the user) needs root");              \
    } while (false)

} // namespace

class TestPageSaver : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void savingReplacesTheWholePage_data();
    void savingReplacesTheWholePage();
    void refusedNames_data();
    void refusedNames();
    void failuresNameTheSystemsReason_data();
    void failuresNameTheSystemsReason();
    void fullDiskKeepsTheOldPage_data();
    void fullDiskKeepsTheOldPage();
    void linksAreNeverFollowed_data();
    void linksAreNeverFollowed();
    void onlyARegularFileIsReplaced_data();
    void onlyARegularFileIsReplaced();
    void inPlaceWhereTheFolderTakesNoNewFile_data();
    void inPlaceWhereTheFolderTakesNoNewFile();
    void permissions_data();
    void permissions();
};

void TestPageSaver::initTestCase()
{
    // The small disks are mounted in a namespace of this test's own, so that none outlives it.
    if (isRoot() && ::unshare(CLONE_NEWNS) == 0)
        QVERIFY(::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0);

    // The run that stands for a file system without O_TMPFILE checks that it really has none.
    if (qEnvironmentVariableIsSet("VIGNETTA_EXPECT_NO_TMPFILE")) {
        const QTemporaryDir dir;
        errno = 0;
        const int fd = ::open(encoded(dir.path()).constData(), O_TMPFILE | O_WRONLY, 0600);
        if (fd >= 0)
            ::close(fd);
        QVERIFY2(fd < 0 && errno == EOPNOTSUPP, "O_TMPFILE is still available");
    }
}

void TestPageSaver::savingReplacesTheWholePage_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("oldSize"); // -1: no page yet
    QTest::addColumn<int>("newSize");
    QTest::addColumn<int>("pieces"); // handed on in this many pieces as it is made

    QTest::newRow("new page") << kPage << kPage << -1 << 3000 << 1;
    QTest::newRow("made in pieces, over a longer page")
        << kPage << kPage << 12000000 << 10000000 << 7;
    QTest::newRow("blanks around, over a longer page")
        << " Vignetta.html " << kPage << 100000 << 3000 << 1;
    QTest::newRow("over a shorter page") << kPage << kPage << 10 << 50000 << 1;
    const QString name249 = QString(244, u'a') + QStringLiteral(".html");
    QTest::newRow("name of 249 bytes") << name249 << name249 << -1 << 3000 << 1;
    const QString name255 = QString(250, u'b') + QStringLiteral(".html");
    QTest::newRow("name of 255 bytes, over a page") << name255 << name255 << 1000 << 3000 << 1;
    const QString accented = QString(125, QChar(0x00e9)) + QStringLiteral(".html");
    QTest::newRow("255 bytes of accented letters") << accented << accented << -1 << 3000 << 1;
    // An empty name before the extension is written as it is: a hidden page.
    QTest::newRow("only the extension") << ".html"
                                        << ".html" << -1 << 3000 << 1;
}

void TestPageSaver::savingReplacesTheWholePage()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(int, oldSize);
    QFETCH(int, newSize);
    QFETCH(int, pieces);

    ImageFolder folder;
    if (oldSize >= 0)
        QVERIFY(writeFile(folder.filePath(written), bytes(oldSize, 'o')));
    QByteArray page = bytes(newSize, 'n');
    for (qsizetype at = 0; at < page.size(); at += 4093)
        page[at] = char('a' + at % 26); // a piece written in the wrong place shows
    const SaveResult saved = saveAs(false, folder.path(), typed, page, pieces);
    QVERIFY2(saved.ok, qPrintable(saved.error));
    QCOMPARE(readFile(folder.filePath(written)), page);
    // No temporary file is left beside it.
    QCOMPARE(entries(folder.path()), QStringList{written});
}

void TestPageSaver::refusedNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("separator") << "../keep.html";
    QTest::newRow("pasted line break") << "holiday\r\n.html";
    QTest::newRow("tab") << "a\tb.html";
    QTest::newRow("escape") << "\x1b[31mred.html";
    QTest::newRow("delete") << "a\x7f.html";
    QTest::newRow("empty") << "";
    QTest::newRow("blanks only") << "   ";
    QTest::newRow("the folder itself") << ".";
    QTest::newRow("the folder above") << "..";
}

void TestPageSaver::refusedNames()
{
    QFETCH(QString, typed);
    ImageFolder folder;
    folder.addDirs({"sub"});
    QVERIFY(writeFile(folder.filePath("keep.html"), "the user's own page"));

    const SaveResult saved = savePage(folder.filePath("sub"), typed, bytes(3000, 'n'));
    QVERIFY(!saved.ok);
    QVERIFY(!saved.error.isEmpty());
    QCOMPARE(readFile(folder.filePath("keep.html")), QByteArray("the user's own page"));
    QCOMPARE(entries(folder.path()), (QStringList{"keep.html", "sub"}));
    QCOMPARE(entries(folder.filePath("sub")), QStringList{});
}

void TestPageSaver::failuresNameTheSystemsReason_data()
{
    QTest::addColumn<QString>("case_");
    QTest::addColumn<int>("reason");
    QTest::newRow("name over 255 bytes") << "long" << ENAMETOOLONG;
    QTest::newRow("folder vanished") << "vanished" << ENOENT;
    QTest::newRow("read-only file system") << "read-only" << EROFS;
    QTest::newRow("folder and page closed to the user") << "closed" << EACCES;
}

void TestPageSaver::failuresNameTheSystemsReason()
{
    QFETCH(QString, case_);
    QFETCH(int, reason);

    const QByteArray old("the page that was there");
    SmallDisk disk(64);
    MOUNT_OR_SKIP(disk);
    QVERIFY(writeFile(disk.filePath(kPage), old));
    QString directory = disk.path();
    QString name = kPage;
    bool nobody = false;
    if (case_ == "long") {
        name = QString(251, u'a') + QStringLiteral(".html");
    } else if (case_ == "vanished") {
        directory = disk.filePath("gone");
    } else if (case_ == "read-only") {
        QVERIFY(disk.remountReadOnly());
    } else {
        ROOT_OR_SKIP();
        nobody = true; // neither the folder nor the page (root's, 0644) is the user's to write
    }

    const SaveResult saved = saveAs(nobody, directory, name, bytes(3000, 'n'));
    QVERIFY(!saved.ok);
    QVERIFY2(saved.error.contains(qt_error_string(reason)), qPrintable(saved.error));
    QCOMPARE(readFile(disk.filePath(kPage)), old);
    QCOMPARE(entries(disk.path()), QStringList{kPage});
}

void TestPageSaver::fullDiskKeepsTheOldPage_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<bool>("partWay"); // the disk fills part-way through a page made in pieces
    QTest::newRow("new file beside the page") << false << false;
    QTest::newRow("page rewritten in place: the folder takes no new file") << true << false;
    QTest::newRow("new file, full after its first pieces") << false << true;
    QTest::newRow("in place, full after its first pieces") << true << true;
}

void TestPageSaver::fullDiskKeepsTheOldPage()
{
    QFETCH(bool, inPlace);
    QFETCH(bool, partWay);
    if (inPlace)
        ROOT_OR_SKIP();

    SmallDisk disk(64);
    MOUNT_OR_SKIP(disk);
    const QByteArray old = bytes(3000, 'o');
    const QString pagePath = disk.filePath(kPage);
    QVERIFY(writeFile(pagePath, old));
    if (inPlace)
        QVERIFY(::chown(encoded(pagePath).constData(), kNobody, kNobody) == 0);
    // Under 16 KiB, so a buffered write alone would not notice the disk is full; or, in pieces,
    // more than the disk holds, so that the first pieces fit and a later one does not.
    QVERIFY(partWay || disk.fill());
    const SaveResult saved = partWay ? saveAs(inPlace, disk.path(), kPage, bytes(204800, 'n'), 8)
                                     : saveAs(inPlace, disk.path(), kPage, bytes(12000, 'n'));
    QVERIFY2(!saved.ok, "a full disk was reported as success");
    QVERIFY2(saved.error.contains(qt_error_string(ENOSPC)), qPrintable(saved.error));
    QCOMPARE(readFile(pagePath), old);
    const QStringList left = partWay ? QStringList{kPage} : QStringList{kPage, "filler"};
    QCOMPARE(entries(disk.path()), left);
}

void TestPageSaver::linksAreNeverFollowed_data()
{
    QTest::addColumn<QString>("target"); // "home:" for the user's own folder elsewhere
    QTest::addColumn<bool>("exists");
    QTest::newRow("to the user's own file elsewhere") << "home:.bashrc" << true;
    QTest::newRow("to an image beside it") << "a.jpg" << true;
    QTest::newRow("dangling, out of the folder") << "home:new.html" << false;
}

void TestPageSaver::linksAreNeverFollowed()
{
    QFETCH(QString, target);
    QFETCH(bool, exists);

    ImageFolder folder;
    const QTemporaryDir home;
    const QByteArray theirs("the user's own file");
    QVERIFY(writeFile(home.filePath(".bashrc"), theirs));
    QVERIFY(writeFile(folder.filePath("a.jpg"), theirs));
    if (target.startsWith(QStringLiteral("home:")))
        target = home.filePath(target.mid(5));
    const QString link = folder.filePath(kPage);
    QVERIFY(QFile::link(target, link));

    const SaveResult saved = savePage(folder.path(), kPage, bytes(3000, 'n'));
    QVERIFY(!saved.ok);
    QVERIFY2(saved.error.contains(target), qPrintable(saved.error));
    const QString resolved = QDir(folder.path()).absoluteFilePath(target);
    QCOMPARE(QFileInfo(link).symLinkTarget(), resolved);
    if (exists)
        QCOMPARE(readFile(resolved), theirs);
    else
        QVERIFY(!QFileInfo::exists(resolved));
    QCOMPARE(entries(folder.path()), (QStringList{kPage, "a.jpg"}));
}

void TestPageSaver::onlyARegularFileIsReplaced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("closedFolder");
    QTest::newRow("directory") << "directory" << false;
    QTest::newRow("FIFO") << "fifo" << false;
    QTest::newRow("FIFO in a folder closed to the user") << "fifo" << true;
    QTest::newRow("socket in a folder closed to the user") << "socket" << true;
    QTest::newRow("device") << "device" << false;
}

void TestPageSaver::onlyARegularFileIsReplaced()
{
    QFETCH(QString, kind);
    QFETCH(bool, closedFolder);
    if (closedFolder)
        ROOT_OR_SKIP();

    ImageFolder folder;
    QVERIFY(::chmod(encoded(folder.path()).constData(), 0755) == 0);
    const QString path = folder.filePath(kPage);
    const QByteArray where = encoded(path);
    if (kind == "directory") {
        folder.addDirs({kPage});
    } else if (kind == "fifo") {
        QVERIFY(::mkfifo(where.constData(), 0666) == 0);
    } else if (kind == "socket") {
        const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        QVERIFY(std::size_t(where.size()) < sizeof(address.sun_path));
        std::copy(where.begin(), where.end(), std::begin(address.sun_path));
        QVERIFY(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0);
        ::close(listener);
    } else if (::mknod(where.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        QSKIP("making a device node is not permitted here");
    }
    QVERIFY(::chmod(where.constData(), 0666) == 0);
    struct stat before = {};
    QVERIFY(::lstat(where.constData(), &before) == 0);

    // Run aside, so that a save blocked on opening the FIFO fails the test instead of hanging.
    auto saving = std::async(std::launch::async, [&] {
        return saveAs(closedFolder, folder.path(), kPage, bytes(3000, 'n'));
    });
    if (saving.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        const int reader = ::open(where.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        saving.wait();
        ::close(reader);
        QFAIL("saving blocked on opening the FIFO");
    }
    const SaveResult saved = saving.get();
    QVERIFY2(!saved.ok, "something other than a file was replaced or written into");
    QVERIFY(!saved.error.isEmpty());
    struct stat after = {};
    QVERIFY(::lstat(where.constData(), &after) == 0);
    QCOMPARE(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(entries(folder.path()), QStringList{kPage});
}

void TestPageSaver::inPlaceWhereTheFolderTakesNoNewFile_data()
{
    QTest::addColumn<int>("oldSize");
    QTest::addColumn<int>("newSize");
    QTest::addColumn<bool>("fullDisk");
    QTest::addColumn<bool>("sticky"); // else the folder takes no new file from the user
    QTest::newRow("shorter page") << 20000 << 3000 << false << false;
    QTest::newRow("longer page") << 3000 << 20000 << false << false;
    QTest::newRow("disk full, page shrinks") << 9000 << 3000 << true << false;
    QTest::newRow("disk full, page grows within its last block") << 3000 << 4000 << true << false;
    QTest::newRow("another user's page in a sticky folder") << 3000 << 5000 << false << true;
}

void TestPageSaver::inPlaceWhereTheFolderTakesNoNewFile()
{
    QFETCH(int, oldSize);
    QFETCH(int, newSize);
    QFETCH(bool, fullDisk);
    QFETCH(bool, sticky);
    ROOT_OR_SKIP();

    SmallDisk disk(64);
    MOUNT_OR_SKIP(disk);
    const QString pagePath = disk.filePath(kPage);
    const QByteArray where = encoded(pagePath);
    QVERIFY(writeFile(pagePath, bytes(oldSize, 'o')));
    if (sticky) {
        QVERIFY(::chmod(encoded(disk.path()).constData(), 01777) == 0);
        QVERIFY(::chmod(where.constData(), 0666) == 0);
    } else {
        QVERIFY(::chown(where.constData(), kNobody, kNobody) == 0);
        QVERIFY(::chmod(where.constData(), 0640) == 0);
    }
    if (fullDisk)
        QVERIFY(disk.fill());
    const QStringList before = entries(disk.path());
    struct stat old = {};
    QVERIFY(::stat(where.constData(), &old) == 0);

    const QByteArray page = bytes(newSize, 'n');
    const SaveResult saved = saveAs(true, disk.path(), kPage, page);
    QVERIFY2(saved.ok, qPrintable(saved.error));
    QCOMPARE(readFile(pagePath), page);
    struct stat now = {};
    QVERIFY(::stat(where.constData(), &now) == 0);
    QCOMPARE(now.st_ino, old.st_ino);
    QCOMPARE(now.st_mode, old.st_mode);
    QCOMPARE(entries(disk.path()), before);
}

void TestPageSaver::permissions_data()
{
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("oldMode"); // -1: no page yet
    QTest::addColumn<bool>("othersPage");
    QTest::addColumn<int>("mode");
    QTest::newRow("new page, umask 022") << 022 << -1 << false << 0644;
    QTest::newRow("new page, umask 002") << 002 << -1 << false << 0664;
    QTest::newRow("new page, umask 077") << 077 << -1 << false << 0600;
    QTest::newRow("over a page readable by all, umask 077") << 077 << 0644 << false << 0644;
    QTest::newRow("over a private page, umask 022") << 022 << 0600 << false << 0600;
    QTest::newRow("over another user's page") << 022 << 0664 << true << 0664;
}

void TestPageSaver::permissions()
{
    QFETCH(int, mask);
    QFETCH(int, oldMode);
    QFETCH(bool, othersPage);
    QFETCH(int, mode);
    if (othersPage)
        ROOT_OR_SKIP();

    ImageFolder folder;
    const QByteArray path = encoded(folder.filePath(kPage));
    if (oldMode >= 0) {
        QVERIFY(writeFile(folder.filePath(kPage), "old"));
        QVERIFY(::chmod(path.constData(), static_cast<mode_t>(oldMode)) == 0);
        if (othersPage)
            QVERIFY(::chown(path.constData(), kNobody, kNobody) == 0);
    }
    const mode_t previousMask = ::umask(static_cast<mode_t>(mask));
    const SaveResult saved = savePage(folder.path(), kPage, bytes(3000, 'n'));
    ::umask(previousMask);
    QVERIFY2(saved.ok, qPrintable(saved.error));
    struct stat written = {};
    QVERIFY(::stat(path.constData(), &written) == 0);
    QCOMPARE(written.st_mode & 07777, mode_t(mode));
    if (othersPage) {
        QCOMPARE(written.st_uid, uid_t(kNobody));
        QCOMPARE(written.st_gid, gid_t(kNobody));
    }
}

QTEST_GUILESS_MAIN(TestPageSaver)
#include "tst_page_saver.moc"
