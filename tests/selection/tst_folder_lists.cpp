// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/image_folder.h"
#include "support/raw_entries.h"
#include "support/wizard_driver.h"

#include "core/wizard_state.h"
#include "selection/dir_list.h"
#include "selection/dir_scan.h"
#include "selection/drive_list.h"
#include "selection/file_list.h"
#include "selection/step1_panel.h"

#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace vignetta;
using namespace Qt::Literals::StringLiterals;
using namespace std::chrono_literals;

namespace {

QStringList fileNames(const FileList& list)
{
    QStringList names;
    for (qsizetype i = 0; i < list.count(); ++i)
        names.append(list.name(i));
    return names;
}

QStringList texts(const NamePool& pool)
{
    QStringList names;
    for (std::uint32_t i = 0; i < pool.size(); ++i)
        names.append(pool.text(i));
    return names;
}

QStringList rowNames(const DirList& list)
{
    QStringList names;
    for (const DirRow& row : list.rows())
        names.append(row.name);
    return names;
}

int rowOf(const DirList& list, const QString& name)
{
    const auto& rows = list.rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].name == name)
            return static_cast<int>(i);
    }
    return -1;
}

// Picks a drive as the user does: the list shows it and reports the pick.
void pickDrive(DriveList& drives, const QString& root)
{
    const int index = drives.findData(root);
    QVERIFY2(index >= 0, qPrintable(root));
    drives.setCurrentIndex(index);
    Q_EMIT drives.activated(index);
}

// A probe under which the drives named do not answer until released; the others answer at once.
// Its state is shared with the probe threads, which may outlive the test function.
class HangingProbe
{
public:
    explicit HangingProbe(const QStringList& hung) : m_state(std::make_shared<State>())
    {
        m_state->hung = hung;
    }
    HangingProbe(const HangingProbe&) = delete;
    HangingProbe& operator=(const HangingProbe&) = delete;
    HangingProbe(HangingProbe&&) = delete;
    HangingProbe& operator=(HangingProbe&&) = delete;
    ~HangingProbe() { release(); }

    [[nodiscard]] DriveList::Probe probe() const
    {
        return [state = m_state](const QString& root) {
            if (!state->hung.contains(root))
                return;
            ++state->calls;
            // Bounded, so that a list that waits for its probe on its own thread fails the test
            // instead of hanging it.
            state->gate.tryAcquire(1, 10000);
        };
    }
    void release() const { m_state->gate.release(1000); }
    [[nodiscard]] int calls() const { return m_state->calls; }

private:
    struct State
    {
        QStringList hung;
        QSemaphore gate;
        std::atomic<int> calls = 0;
    };
    std::shared_ptr<State> m_state;
};

// The names of Dir1's rows below the open directory.
QStringList childRows(const DirList& list)
{
    QStringList names;
    for (const DirRow& row : list.rows()) {
        if (!row.open)
            names.append(row.name);
    }
    return names;
}

QString notAnswering(const QString& root)
{
    return "The drive \"" + root +
           "\" does not answer. It may be a network or removable drive that is not reachable now.";
}

} // namespace

class TestFolderLists : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void scanSortsEntriesIntoFilesAndDirectories();
    void fileListShowsOnlyMatchingPlainFiles();
    void dirListShowsAncestorsAndSortedSubdirectories();
    void dirListOpensOnDoubleClickOrEnterOnly();
    void unreadableDirectoryKeepsListsAndTellsWhy_data();
    void unreadableDirectoryKeepsListsAndTellsWhy();
    void rootOf_data();
    void rootOf();
    void changingDriveReturnsToLastDirectoryOnIt();
    void driveThatCannotBeOpenedStaysOnPreviousDrive();
    void driveThatDoesNotAnswerIsLeftAfterTimeLimit();
    void pickingAnotherDriveWhileWaitingForgetsTheFirst();
    void driveListReadsOnlyTheMountTable();
    void stepOneRecordsOpenDirectory();
    void openDirectoryStandsApartAndBackspaceGoesUp();
    void namesThatAreNotUtf8AreKeptApartAndOpen();
    void listsFollowTheDirectoryOnDisk();
    void slowListingKeepsTheWindowResponsive();
    void openingAnotherDirectoryCancelsTheRead();
};

void TestFolderLists::scanSortsEntriesIntoFilesAndDirectories()
{
    ImageFolder folder({"b.gif", "A.JPG", ".hidden.jpg", "notes.txt"});
    folder.addDirs({"sub", "f.jpg", ".cache"});
    QVERIFY(::symlink(qPrintable(folder.filePath("A.JPG")),
                      qPrintable(folder.filePath("link.jpg"))) == 0);
    QVERIFY(::symlink("/nonexistent/target.jpg", qPrintable(folder.filePath("broken.jpg"))) == 0);
    QVERIFY(::symlink(qPrintable(folder.filePath("sub")), qPrintable(folder.filePath("dirlink"))) ==
            0);

    const FilePattern images(QStringLiteral("*.jpg;*.gif;*.bmp"));
    const ScanResult scan = scanDirectory(QFile::encodeName(folder.path()), images);
    QVERIFY(scan.ok);
    QCOMPARE(texts(*scan.listing.files), (QStringList{"A.JPG", "b.gif", "link.jpg"}));
    QCOMPARE(texts(*scan.listing.subdirectories), (QStringList{"dirlink", "f.jpg", "sub"}));

    const ScanResult missing = scanDirectory(QFile::encodeName(folder.filePath("nope")), images);
    QVERIFY(!missing.ok);
    QCOMPARE(missing.error, QString::fromLocal8Bit(std::strerror(ENOENT)));
}

void TestFolderLists::fileListShowsOnlyMatchingPlainFiles()
{
    ImageFolder folder({"c.Bmp", "b.gif", "A.JPG", "d.png", "e.jpeg", "IMG_10.jpg", "IMG_2.jpg"});
    folder.addDirs({"f.jpg"});
    FileList list;
    list.setPattern(QStringLiteral("*.jpg;*.gif;*.bmp"));
    QVERIFY(list.setPath(folder.path()));
    QCOMPARE(fileNames(list), (QStringList{"A.JPG", "b.gif", "c.Bmp", "IMG_2.jpg", "IMG_10.jpg"}));
    QCOMPARE(list.path(), folder.path());
    QCOMPARE(list.name(list.count()), QString()); // one past the end is empty
}

void TestFolderLists::dirListShowsAncestorsAndSortedSubdirectories()
{
    ImageFolder folder;
    folder.addDirs({"photos/Day10", "photos/day2", "photos/.hidden", "photos/Day1"});
    DirList list;
    QSignalSpy changed(&list, &DirList::pathChanged);
    const QString photos = folder.filePath("photos");
    QVERIFY(list.setPath(photos));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), photos);

    QStringList expected{"/"};
    expected += photos.split(u'/', Qt::SkipEmptyParts);
    expected += QStringList{"Day1", "day2", "Day10"};
    QCOMPARE(rowNames(list), expected);
    // The open directory is the current row.
    QCOMPARE(list.currentIndex().row(), rowOf(list, "photos"));
    QCOMPARE(list.rows().back().path, photos + "/Day10");
}

void TestFolderLists::dirListOpensOnDoubleClickOrEnterOnly()
{
    ImageFolder folder;
    folder.addDirs({"a/b", "a/c"});
    DirList list;
    list.resize(200, 300);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QVERIFY(list.setPath(folder.filePath("a")));
    QSignalSpy changed(&list, &DirList::pathChanged);

    // Highlighting a directory opens nothing.
    const QModelIndex b = list.model()->index(rowOf(list, "b"), 0);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(b).center());
    QCOMPARE(list.currentIndex(), b);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(list.path(), folder.filePath("a"));

    // Enter opens the highlighted one.
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(list.path(), folder.filePath("a/b"));

    // A double click on an ancestor opens it: press, release, then the second press.
    const QModelIndex a = list.model()->index(rowOf(list, "a"), 0);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(a).center());
    QCOMPARE(list.path(), folder.filePath("a/b"));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(a).center());
    QCOMPARE(list.path(), folder.filePath("a"));
    QCOMPARE(changed.count(), 2);
}

void TestFolderLists::unreadableDirectoryKeepsListsAndTellsWhy_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("vanished") << "vanished";
    QTest::newRow("replaced by a file") << "file";
}

void TestFolderLists::unreadableDirectoryKeepsListsAndTellsWhy()
{
    QFETCH(QString, how);
    ImageFolder folder({"one.jpg"});
    folder.addDirs({"gone"});
    Step1Panel panel(QDir::currentPath());
    QSignalSpy errors(&panel, &Step1Panel::directoryError);
    QVERIFY(panel.openDirectory(folder.path()));
    QCOMPARE(panel.fileCount(), 1);

    // The directory disappears after it was listed.
    QVERIFY(QDir(folder.filePath("gone")).removeRecursively());
    if (how == "file")
        folder.addFiles({"gone"});
    control<DirList>(&panel, u"Dir1"_s)
        ->openRow(rowOf(*control<DirList>(&panel, u"Dir1"_s), "gone"));

    QTRY_COMPARE(errors.count(), 1);
    const QString message = errors.at(0).at(0).toString();
    QVERIFY2(message.contains(folder.filePath("gone")), qPrintable(message));
    const QString reason = QString::fromLocal8Bit(std::strerror(how == "file" ? ENOTDIR : ENOENT));
    QVERIFY2(message.endsWith(reason), qPrintable(message));
    // All three lists still agree on the previous directory.
    QCOMPARE(control<DirList>(&panel, u"Dir1"_s)->path(), folder.path());
    QCOMPARE(panel.filePath(), folder.path());
    QCOMPARE(panel.fileCount(), 1);
    QCOMPARE(control<DirList>(&panel, u"Dir1"_s)->currentIndex().row(),
             rowOf(*control<DirList>(&panel, u"Dir1"_s), folder.path().section('/', -1)));
}

void TestFolderLists::rootOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("root");
    QTest::newRow("root itself") << "/"
                                 << "/";
    QTest::newRow("under root") << "/usr/share"
                                << "/";
    QTest::newRow("mount point") << "/media/usb"
                                 << "/media/usb";
    QTest::newRow("under mount") << "/media/usb/photos"
                                 << "/media/usb";
    QTest::newRow("name sharing a prefix") << "/media/usb2/x"
                                           << "/";
    QTest::newRow("nested mount") << "/home/me/disk/a"
                                  << "/home/me/disk";
    QTest::newRow("home") << "/home/me"
                          << "/home";
}

void TestFolderLists::rootOf()
{
    QFETCH(QString, path);
    QFETCH(QString, root);
    const QStringList roots{"/", "/home", "/media/usb", "/home/me/disk"};
    QCOMPARE(DriveList::rootOf(path, roots), root);
}

void TestFolderLists::changingDriveReturnsToLastDirectoryOnIt()
{
    ImageFolder first({"x.jpg"});
    first.addDirs({"deep/er"});
    ImageFolder second({"y.gif", "z.bmp"});
    Step1Panel panel(QDir::currentPath());
    auto* drives = control<DriveList>(&panel, u"Drive1"_s);
    drives->setRoots({"/", first.path(), second.path()});
    QVERIFY(panel.openDirectory(first.filePath("deep/er")));
    QCOMPARE(drives->currentRoot(), first.path());

    // First visit to the other drive: its root, once the drive has answered; the file list
    // follows in the same action.
    pickDrive(*drives, second.path());
    QTRY_COMPARE(control<DirList>(&panel, u"Dir1"_s)->path(), second.path());
    QCOMPARE(panel.filePath(), second.path());
    QCOMPARE(panel.fileCount(), 2);

    // Back: to the directory last opened there.
    pickDrive(*drives, first.path());
    QTRY_COMPARE(control<DirList>(&panel, u"Dir1"_s)->path(), first.filePath("deep/er"));
    QCOMPARE(panel.filePath(), first.filePath("deep/er"));
    QCOMPARE(panel.fileCount(), 0);
}

void TestFolderLists::driveThatCannotBeOpenedStaysOnPreviousDrive()
{
    ImageFolder folder({"x.jpg"});
    ImageFolder other;
    Step1Panel panel(QDir::currentPath());
    QSignalSpy errors(&panel, &Step1Panel::directoryError);
    const QString absent = other.filePath("not-ready");
    control<DriveList>(&panel, u"Drive1"_s)->setRoots({"/", folder.path(), absent});
    QVERIFY(panel.openDirectory(folder.path()));

    pickDrive(*control<DriveList>(&panel, u"Drive1"_s), absent);
    QTRY_COMPARE(errors.count(), 1);
    QVERIFY(errors.at(0).at(0).toString().contains(absent));
    QCOMPARE(control<DriveList>(&panel, u"Drive1"_s)->currentRoot(), folder.path());
    QCOMPARE(control<DirList>(&panel, u"Dir1"_s)->path(), folder.path());
    QCOMPARE(panel.filePath(), folder.path());
    QCOMPARE(panel.fileCount(), 1);
}

void TestFolderLists::driveThatDoesNotAnswerIsLeftAfterTimeLimit()
{
    ImageFolder folder({"x.jpg"});
    ImageFolder other;
    other.addDirs({"share"});
    other.addFiles({"share/y.jpg", "share/z.jpg"});
    const QString hung = other.filePath("share");
    HangingProbe probe({hung});
    Step1Panel panel(QDir::currentPath());
    auto* drives = control<DriveList>(&panel, u"Drive1"_s);
    drives->setProbe(probe.probe());
    drives->setProbeTimeLimit(400ms);
    drives->setRoots({"/", folder.path(), hung});
    QVERIFY(panel.openDirectory(folder.path()));
    QSignalSpy errors(&panel, &Step1Panel::directoryError);
    QSignalSpy changes(drives, &DriveList::driveChanged);

    // The window goes on handling events while the drive is waited for.
    int ticks = 0;
    int ticksAtWarning = -1;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, &ticker, [&] { ++ticks; });
    connect(&panel, &Step1Panel::directoryError, &ticker, [&] { ticksAtWarning = ticks; });
    ticker.start(10ms);

    const auto staysOnPreviousDrive = [&] {
        QCOMPARE(drives->currentRoot(), folder.path());
        QCOMPARE(control<DirList>(&panel, u"Dir1"_s)->path(), folder.path());
        QCOMPARE(panel.filePath(), folder.path());
        QCOMPARE(panel.fileCount(), 1);
        QCOMPARE(changes.count(), 0);
    };
    pickDrive(*drives, hung);
    QTRY_COMPARE(errors.count(), 1);
    QVERIFY2(ticksAtWarning > 0, "no event was handled while the drive was waited for");
    QCOMPARE(errors.at(0).at(0).toString(), notAnswering(hung));
    staysOnPreviousDrive();
    if (QTest::currentTestFailed())
        return;

    // Picked again while it still hangs: waited for again, without asking it a second time.
    pickDrive(*drives, hung);
    QTRY_COMPARE(errors.count(), 2);
    QCOMPARE(errors.at(1).at(0).toString(), notAnswering(hung));
    QCOMPARE(probe.calls(), 1);
    staysOnPreviousDrive();
    if (QTest::currentTestFailed())
        return;

    // Its late answer moves nothing; picked once more, it opens.
    probe.release();
    QTRY_VERIFY(!drives->isProbing(hung));
    staysOnPreviousDrive();
    if (QTest::currentTestFailed())
        return;
    pickDrive(*drives, hung);
    QTRY_COMPARE(control<DirList>(&panel, u"Dir1"_s)->path(), hung);
    QCOMPARE(panel.fileCount(), 2);
    QCOMPARE(drives->currentRoot(), hung);
    QCOMPARE(errors.count(), 2);
}

void TestFolderLists::pickingAnotherDriveWhileWaitingForgetsTheFirst()
{
    ImageFolder start;
    ImageFolder second({"y.gif"});
    const QString first = start.filePath("first");
    const QString third = start.filePath("third");
    HangingProbe probe({first, third});
    Step1Panel panel(QDir::currentPath());
    auto* drives = control<DriveList>(&panel, u"Drive1"_s);
    drives->setProbe(probe.probe());
    drives->setProbeTimeLimit(400ms);
    drives->setRoots({"/", start.path(), first, second.path(), third});
    QVERIFY(panel.openDirectory(start.path()));
    QSignalSpy errors(&panel, &Step1Panel::directoryError);

    pickDrive(*drives, first);
    pickDrive(*drives, second.path());
    QTRY_COMPARE(control<DirList>(&panel, u"Dir1"_s)->path(), second.path());
    QCOMPARE(panel.fileCount(), 1);

    // A drive picked later that hangs too is waited for as long: by the time it is given up,
    // any warning about the first drive would have come.
    pickDrive(*drives, third);
    QTRY_COMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toString(), notAnswering(third));
    QCOMPARE(drives->currentRoot(), second.path());
    QCOMPARE(control<DirList>(&panel, u"Dir1"_s)->path(), second.path());
}

void TestFolderLists::driveListReadsOnlyTheMountTable()
{
    // None of these mount points exists here: listing them shows that none was asked anything,
    // and asking one that hangs would hold the window up.
    const QByteArray table =
        "26 1 254:0 / / rw - ext4 /dev/vignetta-test-a rw\n"
        "40 26 0:40 / /mnt/gone rw - nfs4 server:/export rw\n"
        "50 26 8:17 / /media/me/My\\040Disk rw - vfat /dev/vignetta-test-b rw\n"
        "21 26 0:20 / /proc rw - proc proc rw\n";
    int reads = 0;
    DriveList drives(nullptr, [&] {
        ++reads;
        return parseMountInfo(table);
    });
    QCOMPARE(reads, 1);
    QCOMPARE(drives.roots(), (QStringList{"/", "/media/me/My Disk", "/mnt/gone"}));
    QCOMPARE(drives.itemText(1), "/media/me/My Disk");
    for (const QString& root : drives.roots())
        QVERIFY2(!drives.isProbing(root), qPrintable(root));
}

void TestFolderLists::stepOneRecordsOpenDirectory()
{
    ImageFolder folder;
    folder.addDirs({"sub"});
    folder.addFiles({"sub/a.jpg"});
    Step1Panel panel(QDir::currentPath());
    QVERIFY(panel.openDirectory(folder.path()));
    control<DirList>(&panel, u"Dir1"_s)
        ->openRow(rowOf(*control<DirList>(&panel, u"Dir1"_s), "sub"));
    QTRY_COMPARE(panel.filePath(), folder.filePath("sub"));
    QCOMPARE(panel.fileCount(), 1);
    QCOMPARE(panel.Get_Step1_Info().sImagePath, folder.filePath("sub") + "/");
}

void TestFolderLists::openDirectoryStandsApartAndBackspaceGoesUp()
{
    ImageFolder folder;
    folder.addDirs({"a/b/c"});
    folder.addFiles({"a/b/x.jpg"});
    WizardDriver w;
    auto* dirs = w.find<DirList>(u"Dir1"_s);
    auto* files = w.find<FileList>(u"File1"_s);
    QVERIFY(w.step1()->openDirectory(folder.filePath("a/b")));
    const auto iconOf = [dirs](const QString& name) {
        return dirs->model()
            ->index(rowOf(*dirs, name), 0)
            .data(Qt::DecorationRole)
            .value<QIcon>()
            .pixmap(16)
            .toImage();
    };
    const auto isBold = [dirs](const QString& name) {
        return dirs->model()->index(rowOf(*dirs, name), 0).data(Qt::FontRole).value<QFont>().bold();
    };
    // A click moves the highlight only: the open directory keeps its open folder, in bold.
    const QModelIndex c = dirs->model()->index(rowOf(*dirs, "c"), 0);
    QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, dirs->visualRect(c).center());
    QCOMPARE(dirs->currentIndex(), c);
    QVERIFY(isBold("b"));
    QVERIFY(!isBold("a"));
    QVERIFY(!isBold("c"));
    QCOMPARE(iconOf("b"),
             QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon).pixmap(16).toImage());
    QVERIFY(iconOf("a") != iconOf("b"));
    QCOMPARE(iconOf("a"), iconOf("c"));
    // The file list says which folder it shows.
    const QString shown = QDir::toNativeSeparators(folder.filePath("a/b"));
    QCOMPARE(files->toolTip(), u"Files in "_s + shown);
    QCOMPARE(files->accessibleName(), u"Files in "_s + shown);

    // Backspace opens the parent, from wherever the highlight is.
    QTest::keyClick(dirs, Qt::Key_Backspace);
    QTRY_COMPARE(w.step1()->filePath(), folder.filePath("a"));
    QCOMPARE(dirs->path(), folder.filePath("a"));
    QCOMPARE(files->accessibleName(),
             u"Files in "_s + QDir::toNativeSeparators(folder.filePath("a")));
    QVERIFY(w.step1()->openDirectory(u"/"_s));
    QTest::keyClick(dirs, Qt::Key_Backspace);
    QVERIFY(!w.step1()->isListing());
    QCOMPARE(dirs->path(), u"/"_s);
}

void TestFolderLists::namesThatAreNotUtf8AreKeptApartAndOpen()
{
    // Latin-1 names, as old cameras and archives write them.
    ImageFolder folder;
    RawEntries raw;
    const QByteArray root = QFile::encodeName(folder.path());
    QVERIFY(raw.file(root + "/caf\xE9.jpg"));
    QVERIFY(raw.file(root + "/caf\xE8.jpg"));
    QVERIFY(raw.dir(root + "/\xE9t\xE9"));
    QVERIFY(raw.file(root + "/\xE9t\xE9/pr\xE9.gif"));

    Step1Panel panel(QDir::currentPath());
    QSignalSpy errors(&panel, &Step1Panel::directoryError);
    QVERIFY(panel.openDirectory(folder.path()));
    // Two names, two texts: each shows as the Latin-1 it was written in.
    QCOMPARE(fileNames(*control<FileList>(&panel, u"File1"_s)),
             (QStringList{QStringLiteral("caf\u00e8.jpg"), QStringLiteral("caf\u00e9.jpg")}));

    // The directory opens, by its bytes.
    auto* dir1 = control<DirList>(&panel, u"Dir1"_s);
    dir1->openRow(rowOf(*dir1, QStringLiteral("\u00e9t\u00e9")));
    QTRY_COMPARE(panel.fileCount(), 1);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(fileNames(*control<FileList>(&panel, u"File1"_s)),
             QStringList{QStringLiteral("pr\u00e9.gif")});
    QCOMPARE(dir1->path(), folder.path() + QStringLiteral("/\u00e9t\u00e9"));
}

void TestFolderLists::listsFollowTheDirectoryOnDisk()
{
    ImageFolder folder({"b.jpg", "d.jpg"});
    folder.addDirs({"old", "keep"});
    Step1Panel panel(QDir::currentPath());
    QVERIFY(panel.openDirectory(folder.path()));
    auto* file1 = control<FileList>(&panel, u"File1"_s);
    auto* dir1 = control<DirList>(&panel, u"Dir1"_s);
    // The user has highlighted d.jpg, and the directory "keep".
    file1->selectionModel()->setCurrentIndex(file1->model()->index(1, 0),
                                             QItemSelectionModel::ClearAndSelect);
    dir1->setCurrentIndex(dir1->model()->index(rowOf(*dir1, "keep"), 0));

    folder.addFiles({"a.jpg", "c.gif", "notes.txt"});
    QVERIFY(QDir(folder.filePath("old")).removeRecursively());
    folder.addDirs({"new"});
    QTRY_COMPARE(fileNames(*file1), (QStringList{"a.jpg", "b.jpg", "c.gif", "d.jpg"}));
    QTRY_COMPARE(childRows(*dir1), (QStringList{"keep", "new"}));
    // What was highlighted still is.
    QCOMPARE(file1->currentIndex().row(), 3);
    QCOMPARE(file1->highlighted(), (std::vector<bool>{false, false, false, true}));
    QCOMPARE(dir1->currentIndex().row(), rowOf(*dir1, "keep"));
    QCOMPARE(panel.filePath(), folder.path());

    // The open directory itself goes: the lists move to the nearest directory left.
    QVERIFY(panel.openDirectory(folder.filePath("keep")));
    QVERIFY(QDir(folder.filePath("keep")).removeRecursively());
    QTRY_COMPARE(dir1->path(), folder.path());
    QCOMPARE(panel.filePath(), folder.path());
    QCOMPARE(panel.fileCount(), 4);
}

void TestFolderLists::slowListingKeepsTheWindowResponsive()
{
    ImageFolder folder({"a.jpg"});
    folder.addDirs({"slow"});
    QStringList many;
    for (int i = 0; i < 5000; ++i)
        many.append(QStringLiteral("slow/IMG_%1.jpg").arg(i));
    folder.addFiles(many);
    WizardDriver w;
    QVERIFY(w.step1()->openDirectory(folder.path()));

    // The reading of "slow" takes its time over its first batch of entries, then stops until
    // released.
    const QByteArray slow = QFile::encodeName(folder.filePath("slow"));
    auto gate = std::make_shared<QSemaphore>();
    w.step1()->setScanHook([gate, slow](const QByteArray& path, std::size_t entries) {
        if (path != slow || entries == 0)
            return;
        if (entries < 4096)
            QThread::msleep(400);
        else
            gate->tryAcquire(1, 10000);
    });
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, &ticker, [&] { ++ticks; });
    ticker.start(10ms);

    auto* dir1 = w.find<DirList>(u"Dir1"_s);
    dir1->openRow(rowOf(*dir1, "slow"));
    auto* file1 = w.find<FileList>(u"File1"_s);
    QVERIFY(file1->isReading());
    QCOMPARE(file1->count(), 0);
    // The window goes on handling events, and a reading that takes a while says how far it got.
    QTRY_VERIFY(file1->statusText().contains(u"entries so far"_s));
    QVERIFY(ticks > 5);

    // Next waits for the whole listing, with the busy cursor; no partial list is taken.
    w.click(formVG::kNext);
    QCOMPARE(w.step(), int(kStep1));
    QVERIFY(QApplication::overrideCursor() != nullptr);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    gate->release(100);
    QTRY_COMPARE(w.step(), int(kStep2));
    QCOMPARE(w.list(u"lstUnselected"_s)->count(), 5000);
    QCOMPARE(w.label(u"lblUnselected"_s)->text(), QStringLiteral("5000 Image(s) Unselected"));
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QVERIFY(w.prompts.messages.isEmpty());
}

void TestFolderLists::openingAnotherDirectoryCancelsTheRead()
{
    ImageFolder folder;
    folder.addDirs({"slow", "fast"});
    folder.addFiles({"slow/a.jpg", "fast/b.jpg", "fast/c.jpg"});
    Step1Panel panel(QDir::currentPath());
    QVERIFY(panel.openDirectory(folder.path()));
    const QByteArray slow = QFile::encodeName(folder.filePath("slow"));
    auto gate = std::make_shared<QSemaphore>();
    auto released = std::make_shared<std::atomic<bool>>(false);
    panel.setScanHook([gate, released, slow](const QByteArray& path, std::size_t) {
        if (path != slow)
            return;
        gate->tryAcquire(1, 10000);
        released->store(true);
    });
    auto* dir1 = control<DirList>(&panel, u"Dir1"_s);
    QSignalSpy changes(dir1, &DirList::pathChanged);

    dir1->openRow(rowOf(*dir1, "slow"));
    QVERIFY(panel.isListing());
    QVERIFY(panel.openDirectory(folder.filePath("fast")));
    QCOMPARE(panel.filePath(), folder.filePath("fast"));
    QCOMPARE(panel.fileCount(), 2);
    QCOMPARE(changes.count(), 1);

    // The first reading, once it ends, changes nothing.
    gate->release(1);
    QTRY_VERIFY(released->load());
    QVERIFY(!changes.wait(200));
    QCOMPARE(panel.filePath(), folder.filePath("fast"));
    QVERIFY(!panel.isListing());
}

QTEST_MAIN(TestFolderLists)
#include "tst_folder_lists.moc"
