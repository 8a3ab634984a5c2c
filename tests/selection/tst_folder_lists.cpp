#include "support/image_folder.h"
#include "support/wizard_driver.h"

#include "core/wizard_state.h"
#include "selection/dir_list.h"
#include "selection/dir_scan.h"
#include "selection/drive_list.h"
#include "selection/file_list.h"
#include "selection/step1_panel.h"

#include <QSignalSpy>
#include <QTest>

#include <unistd.h>

using namespace vignetta;
using namespace Qt::Literals::StringLiterals;

namespace {

QStringList fileNames(const FileList& list)
{
    QStringList names;
    for (qsizetype i = 0; i < list.count(); ++i)
        names.append(list.name(i));
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
    void stepOneRecordsOpenDirectory();
};

void TestFolderLists::scanSortsEntriesIntoFilesAndDirectories()
{
    ImageFolder folder({"A.JPG", "b.gif", ".hidden.jpg"});
    folder.addDirs({"f.jpg", "sub", ".cache"});
    QVERIFY(::symlink(qPrintable(folder.filePath("A.JPG")),
                      qPrintable(folder.filePath("link.jpg"))) == 0);
    QVERIFY(::symlink("/nonexistent/target.jpg", qPrintable(folder.filePath("broken.jpg"))) == 0);
    QVERIFY(::symlink(qPrintable(folder.filePath("sub")), qPrintable(folder.filePath("dirlink"))) ==
            0);

    const ScanResult scan = scanDirectory(folder.path());
    QVERIFY(scan.ok);
    QStringList files = scan.listing.files;
    QStringList dirs = scan.listing.subdirectories;
    files.sort();
    dirs.sort();
    QCOMPARE(files, (QStringList{"A.JPG", "b.gif", "link.jpg"}));
    QCOMPARE(dirs, (QStringList{"dirlink", "f.jpg", "sub"}));

    const ScanResult missing = scanDirectory(folder.filePath("nope"));
    QVERIFY(!missing.ok);
    QVERIFY(!missing.error.isEmpty());
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

    QCOMPARE(errors.count(), 1);
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
    DriveList* drives = control<DriveList>(&panel, u"Drive1"_s);
    drives->setRoots({"/", first.path(), second.path()});
    QVERIFY(panel.openDirectory(first.filePath("deep/er")));
    QCOMPARE(drives->currentRoot(), first.path());

    // First visit to the other drive: its root; the file list follows in the same action.
    Q_EMIT drives->driveChanged(second.path());
    QCOMPARE(control<DirList>(&panel, u"Dir1"_s)->path(), second.path());
    QCOMPARE(panel.filePath(), second.path());
    QCOMPARE(panel.fileCount(), 2);

    // Back: to the directory last opened there.
    Q_EMIT drives->driveChanged(first.path());
    QCOMPARE(control<DirList>(&panel, u"Dir1"_s)->path(), first.filePath("deep/er"));
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

    control<DriveList>(&panel, u"Drive1"_s)
        ->setCurrentIndex(control<DriveList>(&panel, u"Drive1"_s)->findData(absent));
    Q_EMIT control<DriveList>(&panel, u"Drive1"_s)->driveChanged(absent);
    QCOMPARE(errors.count(), 1);
    QVERIFY(errors.at(0).at(0).toString().contains(absent));
    QCOMPARE(control<DriveList>(&panel, u"Drive1"_s)->currentRoot(), folder.path());
    QCOMPARE(control<DirList>(&panel, u"Dir1"_s)->path(), folder.path());
    QCOMPARE(panel.filePath(), folder.path());
    QCOMPARE(panel.fileCount(), 1);
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
    QCOMPARE(panel.fileCount(), 1);
    QCOMPARE(panel.Get_Step1_Info().sImagePath, folder.filePath("sub") + "/");
}

QTEST_MAIN(TestFolderLists)
#include "tst_folder_lists.moc"
