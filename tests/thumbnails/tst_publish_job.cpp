// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Finish's job on real files: the thumbnails of a small set of every kind of picture and the
// page that shows them, reuse on a second run, removal of files no longer used, Cancel, a full
// disk, and the picture pages.

#include "core/file_names.h"
#include "support/image_folder.h"
#include "support/page_files.h"
#include "support/page_state.h"
#include "support/publish_request.h"
#include "support/raw_entries.h"
#include "support/test_pictures.h"

#include "core/wizard_state.h"
#include "output/page_writer.h"
#include "thumbnails/publish_job.h"
#include "thumbnails/thumbnail_folder.h"
#include "thumbnails/thumbnail_names.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QLocale>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <sys/stat.h>

using namespace vignetta;
using namespace test_pictures;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kWait = 60000;

// One picture of the small set and what its thumbnail must be.
struct SetPicture
{
    QString name;
    QSize pixels;      // the thumbnail's size; empty: the image cannot be read
    QByteArray format; // the thumbnail's format
    bool marked;       // its corners show the four quarter colours, upright
};

const QList<SetPicture>& smallSet()
{
    static const QList<SetPicture> set = [] {
        QList<SetPicture> s{
            {u"Beach & Sea #1.jpg"_s, {300, 225}, "jpeg", true},
            {u"portrait.JPG"_s, {225, 300}, "jpeg", true},
            {u"square.jpg"_s, {300, 300}, "jpeg", true},
        };
        for (int orientation = 1; orientation <= 8; ++orientation)
            s.append({u"turned %1.jpg"_s.arg(orientation), {300, 225}, "jpeg", true});
        s.append({u"picture.bmp"_s, {300, 225}, "jpeg", true});
        s.append({u"opaque.gif"_s, {200, 100}, "jpeg", true});
        s.append({u"clear.gif"_s, {160, 120}, "png", false});
        s.append({u"animated.gif"_s, {120, 120}, "jpeg", false});
        s.append({u"damaged.jpg"_s, {}, {}, false});
        return s;
    }();
    return set;
}

QByteArray quarterIndexes(QSize size)
{
    QByteArray indexes;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            indexes.append(char((y < size.height() / 2 ? 0 : 2) + (x < size.width() / 2 ? 0 : 1)));
    }
    return indexes;
}

bool writeSmallSet(const ImageFolder& folder)
{
    bool ok = markedPicture({1200, 900}).save(folder.filePath(u"Beach & Sea #1.jpg"_s), "JPEG") &&
              markedPicture({900, 1200}).save(folder.filePath(u"portrait.JPG"_s), "JPEG") &&
              markedPicture({1000, 1000}).save(folder.filePath(u"square.jpg"_s), "JPEG") &&
              markedPicture({800, 600}).save(folder.filePath(u"picture.bmp"_s), "BMP");
    const QImage upright = markedPicture({640, 480});
    for (int orientation = 1; orientation <= 8; ++orientation)
        ok = ok && writeBytes(folder.filePath(u"turned %1.jpg"_s.arg(orientation)),
                              withExifOrientation(jpegBytes(storedFor(upright, orientation)),
                                                  orientation));
    ok = ok && writeBytes(folder.filePath(u"opaque.gif"_s),
                          gifBytes({200, 100}, quarterColours(), {quarterIndexes({200, 100})}));
    // Left half transparent (index 3), right half red.
    QByteArray clear;
    for (int y = 0; y < 120; ++y)
        clear += QByteArray(80, '\3') + QByteArray(80, '\0');
    ok = ok &&
         writeBytes(folder.filePath(u"clear.gif"_s),
                    gifBytes({160, 120}, {qRgb(255, 0, 0), 0, 0, qRgb(0, 0, 255)}, {clear}, 3));
    // A red frame, then a blue one.
    ok = ok && writeBytes(folder.filePath(u"animated.gif"_s),
                          gifBytes({120, 120}, {qRgb(255, 0, 0), 0, qRgb(0, 0, 255)},
                                   {QByteArray(qsizetype(120) * 120, '\0'),
                                    QByteArray(qsizetype(120) * 120, '\2')}));
    // A JPEG cut off before its picture data.
    ok = ok && writeBytes(folder.filePath(u"damaged.jpg"_s),
                          jpegBytes(markedPicture({64, 64})).left(300));
    return ok;
}

QStringList namesOf(const QList<SetPicture>& set)
{
    QStringList names;
    for (const SetPicture& p : set)
        names.append(p.name);
    return names;
}

PublishRequest requestFor(const ImageFolder& folder, const QStringList& names,
                          QSize box = {150, 150})
{
    return publishRequest(folder.path(), names, box);
}

// File times come from a coarse clock: a file written within the same tick as an image would
// not count as newer than it. Waits (boundedly) until a file written now is stamped later
// than every file already in the folder, as it is when a user runs Finish on a folder.
void waitForALaterTick(const QString& folder)
{
    QDateTime latest;
    const QFileInfoList present = QDir(folder).entryInfoList(QDir::Files);
    for (const QFileInfo& file : present)
        latest = std::max({latest, file.lastModified(), file.metadataChangeTime()});
    const QString probe = folder + u"/.tick"_s;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        QFile file(probe);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            break;
        file.close();
        if (QFileInfo(probe).lastModified() > latest)
            break;
        QThread::msleep(1);
    }
    QFile::remove(probe);
}

// Runs a job to its end; the result, or a null result and a failure.
PublishResult run(const PublishRequest& request, int threads = 0)
{
    waitForALaterTick(request.directory);
    PublishJob job(request);
    if (threads > 0)
        job.setThreadCount(threads);
    QSignalSpy finished(&job, &PublishJob::finished);
    job.start();
    if (!finished.wait(kWait)) {
        PublishResult none;
        none.folder = u"<no end>"_s;
        none.error = u"the job did not finish"_s;
        return none;
    }
    return job.result();
}

QHash<QString, QDateTime> modificationTimes(const QString& folder)
{
    QHash<QString, QDateTime> times;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo& file : files) {
        if (file.fileName() != QLatin1StringView(kThumbnailFolderMark)) // rewritten each time
            times.insert(file.fileName(), file.lastModified());
    }
    return times;
}

// Every file in the folder is a whole picture: nothing half written, no temporary file.
QString halfWrittenFiles(const QString& folder)
{
    QStringList bad;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        if (name == QLatin1StringView(kThumbnailFolderMark))
            continue;
        QImageReader reader(folder + u'/' + name);
        if (!hasThumbnailFileShape(name) || reader.read().isNull())
            bad.append(name);
    }
    return bad.join(u", "_s);
}

void setOlder(const QString& path, int seconds)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                             QFileDevice::FileModificationTime));
}

} // namespace

class TestPublishJob : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English)); }
    void smallSetThumbnailsAndPage();
    void secondRunReusesEverything();
    void changedImageOrBoxIsMadeAgain();
    void staleThumbnailsRemovedNothingElse();
    void cancelStopsSoonAndKeepsFinished();
    void fullDiskStopsWithTheReason_data();
    void fullDiskStopsWithTheReason();
    void folderInTheWay();
    void thumbnailsStayWithTheirPage_data();
    void thumbnailsStayWithTheirPage();
    void noLinkIsFollowed();
    void namesByTheirBytes();
    void indexPagesComeAndGo();
    void picturePages_data();
    void picturePages();
};

void TestPublishJob::smallSetThumbnailsAndPage()
{
    ImageFolder folder;
    QVERIFY(writeSmallSet(folder));
    const QList<SetPicture>& set = smallSet();

    PublishJob job(requestFor(folder, namesOf(set)));
    QSignalSpy progress(&job, &PublishJob::progress);
    QSignalSpy finished(&job, &PublishJob::finished);
    job.start();
    QVERIFY(job.isRunning());
    QVERIFY(finished.wait(kWait));
    const PublishResult& result = job.result();
    QVERIFY2(result.complete(), qPrintable(result.error + result.page.error));
    QCOMPARE(result.made, set.size() - 1);
    QCOMPARE(result.failed, 1);
    QCOMPARE(result.reused, 0);

    // Progress counts from none to every file made, the page's included: the image that
    // cannot be read leaves the count.
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.first().at(0).toInt(), 0);
    QCOMPARE(progress.first().at(1).toInt(), set.size() + 1);
    QCOMPARE(progress.first().at(2).toLongLong(), -1);
    QCOMPARE(progress.last().at(0).toInt(), set.size());
    QCOMPARE(progress.last().at(1).toInt(), set.size());
    QCOMPARE(progress.last().at(2).toLongLong(), 0);

    const QString thumbnails = folder.filePath(u"Vignetta_files"_s);
    QCOMPARE(result.folder, thumbnails);
    for (qsizetype i = 0; i < set.size(); ++i) {
        const SetPicture& expected = set[i];
        const PictureOutcome& outcome = result.outcome[i];
        const QByteArray name = expected.name.toUtf8();
        if (expected.pixels.isEmpty()) {
            QVERIFY2(outcome.status == PictureStatus::Failed, name);
            QVERIFY2(!outcome.problem.isEmpty(), name);
            QVERIFY2(result.cells[i].source.isEmpty(), name);
            continue;
        }
        QVERIFY2(outcome.status == PictureStatus::Made, name);
        const QString path = thumbnails + u'/' + outcome.thumbnail;
        QCOMPARE(result.cells[i].source, u"Vignetta_files/"_s + outcome.thumbnail);

        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), name);
        const QByteArray bytes = file.readAll();
        QVERIFY2(!bytes.contains(QByteArray("Exif\0\0", 6)), name); // no orientation to apply
        QImageReader reader(path);
        QCOMPARE(reader.format(), expected.format);
        QCOMPARE(reader.transformation(), QImageIOHandler::TransformationNone);
        QImage thumbnail = reader.read();
        QCOMPARE(thumbnail.size(), expected.pixels);
        const int w = thumbnail.width();
        const int h = thumbnail.height();
        if (expected.marked) {
            // Upright: each corner shows its own quarter's colour.
            const QList<QPoint> corners{{3, 3}, {w - 4, 3}, {3, h - 4}, {w - 4, h - 4}};
            for (int c = 0; c < 4; ++c) {
                const QRgb seen = thumbnail.pixel(corners[c]);
                QVERIFY2(
                    alike(seen, quarterColours()[c]),
                    qPrintable(u"%1, corner %2: %3"_s.arg(expected.name).arg(c).arg(seen, 8, 16)));
            }
        }
        if (expected.name == u"clear.gif") {
            QCOMPARE(qAlpha(thumbnail.pixel(10, 60)), 0);
            QCOMPARE(thumbnail.pixel(150, 60), qRgb(255, 0, 0));
        }
        if (expected.name == u"animated.gif") // the first frame
            QVERIFY(alike(thumbnail.pixel(60, 60), qRgb(255, 0, 0), 8));
    }

    // The whole page, byte for byte.
    const QByteArray page = page_files::readFile(folder.filePath(u"Vignetta.html"_s));
    const QString expectedPath = QFINDTESTDATA(u"../output/data/thumbnails_small_set.html"_s);
    QVERIFY(!expectedPath.isEmpty());
    const QString difference = page_files::pageDifference(page, page_files::readFile(expectedPath));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestPublishJob::secondRunReusesEverything()
{
    ImageFolder folder;
    QVERIFY(writeSmallSet(folder));
    const QStringList names = namesOf(smallSet());
    const PublishRequest request = requestFor(folder, names);
    const PublishResult first = run(request);
    QVERIFY2(first.complete(), qPrintable(first.error));
    const auto before = modificationTimes(first.folder);
    QCOMPARE(before.size(), first.made);

    QTest::qWait(20); // a thumbnail written now would have a later time
    const PublishResult second = run(request);
    QVERIFY2(second.complete(), qPrintable(second.error));
    QCOMPARE(second.made, 0);
    QCOMPARE(second.reused, first.made);
    QCOMPARE(second.failed, first.failed);
    QCOMPARE(modificationTimes(second.folder), before);
    // The same page.
    QCOMPARE(second.cells, first.cells);
}

void TestPublishJob::changedImageOrBoxIsMadeAgain()
{
    ImageFolder folder;
    const QStringList names{u"a.jpg"_s, u"b.jpg"_s, u"c.jpg"_s};
    for (const QString& name : names)
        QVERIFY(markedPicture({800, 600}).save(folder.filePath(name), "JPEG"));
    const PublishResult first = run(requestFor(folder, names));
    QVERIFY2(first.complete(), qPrintable(first.error));
    QCOMPARE(first.made, 3);

    // b.jpg replaced by a copy that keeps an older modification time: its status time is new.
    QTest::qWait(20);
    QVERIFY(markedPicture({600, 800}).save(folder.filePath(u"b.jpg"_s), "JPEG"));
    setOlder(folder.filePath(u"b.jpg"_s), 3600);
    const PublishResult second = run(requestFor(folder, names));
    QVERIFY2(second.complete(), qPrintable(second.error));
    QCOMPARE(second.made, 1);
    QCOMPARE(second.outcome[1].status, PictureStatus::Made);
    QCOMPARE(second.cells[1].width, 113); // the new picture's proportions
    QCOMPARE(second.cells[1].height, 150);

    // Another box: every thumbnail is made again, under the same names.
    const PublishResult third = run(requestFor(folder, names, {100, 60}));
    QVERIFY2(third.complete(), qPrintable(third.error));
    QCOMPARE(third.made, 3);
    QCOMPARE(third.fileNamesInUse(), first.fileNamesInUse());
    QCOMPARE(QImageReader(third.folder + u'/' + third.outcome[0].thumbnail).size(),
             QSize(160, 120));
    QCOMPARE(third.cells[0].width, 80);
    QCOMPARE(third.cells[0].height, 60);
}

void TestPublishJob::staleThumbnailsRemovedNothingElse()
{
    ImageFolder folder;
    const QStringList names{u"a.jpg"_s, u"b.gif"_s, u"c.jpg"_s};
    QVERIFY(markedPicture({400, 300}).save(folder.filePath(u"a.jpg"_s), "JPEG"));
    QVERIFY(writeBytes(folder.filePath(u"b.gif"_s), solidGif({40, 30}, Qt::blue)));
    QVERIFY(markedPicture({400, 300}).save(folder.filePath(u"c.jpg"_s), "JPEG"));
    const PublishResult first = run(requestFor(folder, names));
    QVERIFY2(first.complete(), qPrintable(first.error));

    // Things of the user's in the folder: a note, and a picture named like a thumbnail.
    const QString notes = first.folder + u"/notes.txt"_s;
    const QString lookalike = first.folder + u"/photo-0123456789ab.jpg"_s;
    QVERIFY(writeBytes(notes, "mine"));
    QVERIFY(markedPicture({20, 20}).save(lookalike, "JPEG"));
    const QByteArray original = page_files::readFile(folder.filePath(u"c.jpg"_s));

    // c.jpg leaves the page.
    const PublishResult second = run(requestFor(folder, names.first(2)));
    QVERIFY2(second.complete(), qPrintable(second.error));
    QCOMPARE(second.staleRemoved, 1);

    QStringList expected = second.fileNamesInUse();
    expected << u"notes.txt"_s << u"photo-0123456789ab.jpg"_s
             << QString::fromLatin1(kThumbnailFolderMark);
    expected.sort();
    QCOMPARE(QDir(second.folder).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    QCOMPARE(page_files::readFile(notes), QByteArray("mine"));
    QCOMPARE(page_files::readFile(folder.filePath(u"c.jpg"_s)), original);
}

void TestPublishJob::cancelStopsSoonAndKeepsFinished()
{
    ImageFolder folder;
    QStringList names;
    for (int i = 0; i < 40; ++i) {
        names.append(u"noise %1.jpg"_s.arg(i));
        QVERIFY(writeBytes(folder.filePath(names.last()), jpegBytes(noisePicture({1200, 900}, i))));
    }
    QFile oldPage(folder.filePath(u"Vignetta.html"_s));
    QVERIFY(oldPage.open(QIODevice::WriteOnly));
    oldPage.write("the old page");
    oldPage.close();

    PublishJob job(requestFor(folder, names));
    QSignalSpy finished(&job, &PublishJob::finished);
    QElapsedTimer clock;
    connect(&job, &PublishJob::progress, &job, [&](int done) {
        if (done >= 2 && !clock.isValid()) {
            job.cancel();
            clock.start();
        }
    });
    job.start();
    QVERIFY(finished.wait(kWait));
    QVERIFY(clock.isValid());
    const qint64 stoppedAfter = clock.elapsed();
    QVERIFY2(stoppedAfter < 500, qPrintable(u"stopped after %1 ms"_s.arg(stoppedAfter)));

    const PublishResult& result = job.result();
    QVERIFY(result.cancelled);
    QVERIFY(!result.complete());
    QVERIFY(result.error.isEmpty());
    QVERIFY(result.made >= 2);
    QVERIFY2(result.made < names.size(), "cancelled too late to tell");
    QCOMPARE(result.failed, 0); // images not reached are not counted as unreadable
    QCOMPARE(page_files::readFile(oldPage.fileName()), QByteArray("the old page"));
    const QString bad = halfWrittenFiles(result.folder);
    QVERIFY2(bad.isEmpty(), qPrintable(bad));
    QCOMPARE(QDir(result.folder).entryList(QDir::Files).size(), result.made);

    // What was finished is kept for the next run.
    const PublishResult next = run(requestFor(folder, names));
    QVERIFY2(next.complete(), qPrintable(next.error));
    QCOMPARE(next.reused, result.made);
    QCOMPARE(next.made, names.size() - result.made);
}

void TestPublishJob::fullDiskStopsWithTheReason_data()
{
    // Large thumbnails fail in a write, small ones (buffered) only when flushed.
    QTest::addColumn<bool>("large");
    QTest::addColumn<int>("filler");
    QTest::newRow("large thumbnails") << true << 0;
    QTest::newRow("small thumbnails, disk nearly full") << false << 56 * 1024;
}

void TestPublishJob::fullDiskStopsWithTheReason()
{
    QFETCH(bool, large);
    QFETCH(int, filler);
    ImageFolder folder;
    QStringList names;
    for (int i = 0; i < 6; ++i) {
        names.append(u"picture %1.jpg"_s.arg(i));
        const QImage picture = large ? noisePicture({600, 450}, i) : markedPicture({600, 450});
        QVERIFY(writeBytes(folder.filePath(names.last()), jpegBytes(picture)));
    }
    QFile oldPage(folder.filePath(u"Vignetta.html"_s));
    QVERIFY(oldPage.open(QIODevice::WriteOnly));
    oldPage.write("the old page");
    oldPage.close();

    // The thumbnails' folder on a file system with room for about one of them.
    const QString thumbnails = folder.filePath(u"Vignetta_files"_s);
    QVERIFY(QDir().mkpath(thumbnails));
    QProcess mount;
    mount.start(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s, u"tmpfs"_s, thumbnails});
    if (!mount.waitForFinished() || mount.exitStatus() != QProcess::NormalExit ||
        mount.exitCode() != 0)
        QSKIP(qPrintable(u"a small tmpfs could not be mounted (it takes root): "_s +
                         QString::fromLocal8Bit(mount.readAllStandardError()).trimmed()));
    const auto unmount = qScopeGuard([&] { QProcess::execute(u"umount"_s, {thumbnails}); });
    if (filler > 0)
        QVERIFY(writeBytes(thumbnails + u"/filler.bin"_s, QByteArray(filler, 'f')));

    const PublishResult result = run(requestFor(folder, names), 1);
    QVERIFY(!result.complete());
    QVERIFY(!result.cancelled);
    QVERIFY2(result.error.contains(u"No space left on device"_s), qPrintable(result.error));
    QVERIFY2(result.error.contains(thumbnails + u'/'), qPrintable(result.error));
    QVERIFY(result.made < names.size());
    QCOMPARE(page_files::readFile(oldPage.fileName()), QByteArray("the old page"));
    if (filler > 0)
        QVERIFY(QFile::remove(thumbnails + u"/filler.bin"_s));
    const QString bad = halfWrittenFiles(thumbnails);
    QVERIFY2(bad.isEmpty(), qPrintable(bad));
}

void TestPublishJob::folderInTheWay()
{
    ImageFolder folder({u"a.jpg"_s, u"Vignetta_files"_s});
    const PublishResult result = run(requestFor(folder, {u"a.jpg"_s}));
    QVERIFY(!result.complete());
    QVERIFY2(result.error.contains(folder.filePath(u"Vignetta_files"_s)), qPrintable(result.error));
    QCOMPARE(page_files::readFile(folder.filePath(u"Vignetta_files"_s)), QByteArray());
}

// Every file of a folder, by name, with its bytes.
QMap<QString, QByteArray> contentsOf(const QString& folder)
{
    QMap<QString, QByteArray> files;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : names)
        files.insert(name, page_files::readFile(folder + u'/' + name));
    return files;
}

void TestPublishJob::thumbnailsStayWithTheirPage_data()
{
    QTest::addColumn<QString>("secondPage");
    QTest::addColumn<bool>("firstUnmarked"); // its folder as made before folders were marked
    QTest::addColumn<QString>("secondFolder");
    QTest::newRow(".htm beside .html") << "Vignetta.htm" << false << "Vignetta.htm_files";
    QTest::newRow(".htm beside .html, its folder unmarked")
        << "Vignetta.htm" << true << "Vignetta.htm_files";
    QTest::newRow("the same page, its folder unmarked")
        << "Vignetta.html" << true << "Vignetta_files";
}

void TestPublishJob::thumbnailsStayWithTheirPage()
{
    // A page's Finish, stale removal included, never writes into or removes from the folder
    // of another page; a page keeps the folder it always had.
    QFETCH(QString, secondPage);
    QFETCH(bool, firstUnmarked);
    QFETCH(QString, secondFolder);
    ImageFolder folder;
    const QStringList names{u"a.jpg"_s, u"b.jpg"_s, u"c.jpg"_s};
    for (const QString& name : names)
        QVERIFY(markedPicture({400, 300}).save(folder.filePath(name), "JPEG"));
    const PublishResult first = run(requestFor(folder, names));
    QVERIFY2(first.complete(), qPrintable(first.error));
    QVERIFY(writeBytes(folder.filePath(u"Vignetta.html"_s), "the first page"));
    if (firstUnmarked)
        QVERIFY(QFile::remove(first.folder + u'/' + QString::fromLatin1(kThumbnailFolderMark)));
    const auto before = contentsOf(first.folder);

    PublishRequest request = requestFor(folder, names.first(2), {100, 100});
    request.state.sFileName = secondPage;
    const PublishResult second = run(request);
    QVERIFY2(second.complete(), qPrintable(second.error));
    QCOMPARE(second.folder, folder.filePath(secondFolder));
    QCOMPARE(second.cells.first().source.section(u'/', 0, 0), secondFolder);
    QCOMPARE(second.made, 2);
    if (second.folder != first.folder) {
        QCOMPARE(contentsOf(first.folder), before);
        const QByteArray mark =
            page_files::readFile(second.folder + u'/' + QString::fromLatin1(kThumbnailFolderMark));
        QCOMPARE(mark.first(mark.indexOf('\n')), secondPage.toUtf8());
    }
}

void TestPublishJob::noLinkIsFollowed()
{
    // Another gallery's thumbnails, and a link to them where this page's go.
    ImageFolder gallery;
    QVERIFY(markedPicture({400, 300}).save(gallery.filePath(u"g.jpg"_s), "JPEG"));
    const PublishResult theirs = run(requestFor(gallery, {u"g.jpg"_s}));
    QVERIFY2(theirs.complete(), qPrintable(theirs.error));
    const auto before = contentsOf(theirs.folder);
    ImageFolder folder;
    QVERIFY(markedPicture({400, 300}).save(folder.filePath(u"a.jpg"_s), "JPEG"));
    const QString link = folder.filePath(u"Vignetta_files"_s);
    QVERIFY(QFile::link(theirs.folder, link));

    const PublishResult refused = run(requestFor(folder, {u"a.jpg"_s}));
    QVERIFY(!refused.complete());
    QVERIFY2(
        refused.error.startsWith(
            u"The folder \""_s + link + u"\" could not be used: It is a link to \""_s +
            theirs.folder +
            u"\". The page is written only as a file of its own beside its images, never through a link."_s),
        qPrintable(refused.error));
    QCOMPARE(contentsOf(theirs.folder), before);

    // A link put in the folder's place during the job changes nothing: the job works in the
    // folder it opened.
    QVERIFY(QFile::remove(link));
    const PublishResult made = run(requestFor(folder, {u"a.jpg"_s}));
    QVERIFY2(made.complete(), qPrintable(made.error));
    QVERIFY(QFile::rename(link, folder.filePath(u"moved"_s)));
    QVERIFY(QFile::link(theirs.folder, link));
    QCOMPARE(removeStaleFiles(made.folderFd->get(), made.fileNamesInUse(), {}).removed, 1);
    QCOMPARE(contentsOf(theirs.folder), before);
    QCOMPARE(QDir(folder.filePath(u"moved"_s)).entryList(QDir::Files | QDir::Hidden),
             QStringList{QString::fromLatin1(kThumbnailFolderMark)});
}

void TestPublishJob::namesByTheirBytes()
{
    // "caf\xe9.jpg" in Latin-1 reads as the UTF-8 "café.jpg" beside it: each is an image of its
    // own, found by its bytes, with a thumbnail of its own. A FIFO named like an image fails at
    // once instead of holding the work up.
    ImageFolder folder;
    RawEntries raw;
    const QByteArray base = QFile::encodeName(folder.path()) + '/';
    QVERIFY(raw.file(base + "caf\xe9.jpg"));
    QFile latin1;
    const int fd = ::open(QByteArray(base + "caf\xe9.jpg").constData(), O_WRONLY | O_TRUNC);
    QVERIFY(fd >= 0 && latin1.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
    QVERIFY(latin1.write(jpegBytes(markedPicture({400, 300}))) > 0);
    latin1.close();
    QVERIFY(markedPicture({300, 400}).save(folder.filePath(u"caf\u00e9.jpg"_s), "JPEG"));
    QVERIFY(::mkfifo(QByteArray(base + "pipe.jpg").constData(), 0644) == 0);

    const PublishRequest request = publishRequest(
        folder.path(), QList<QByteArray>{"caf\xe9.jpg", "caf\xc3\xa9.jpg", "pipe.jpg"});
    QCOMPARE(displayName("caf\xe9.jpg"), displayName("caf\xc3\xa9.jpg"));
    const PublishResult result = run(request);
    QVERIFY2(result.complete(), qPrintable(result.error + result.page.error));
    QCOMPARE(result.made, 2);
    QCOMPARE(result.failed, 1);
    QVERIFY(result.cells.at(0).source != result.cells.at(1).source);
    QCOMPARE(QSize(result.cells.at(0).width, result.cells.at(0).height), QSize(150, 113));
    QCOMPARE(QSize(result.cells.at(1).width, result.cells.at(1).height), QSize(113, 150));
    QVERIFY(result.cells.at(2).source.isEmpty());
    // A second run knows each of them again.
    const PublishResult again = run(request);
    QCOMPARE(again.reused, 2);
    QCOMPARE(again.made, 0);
}

void TestPublishJob::indexPagesComeAndGo()
{
    // 501 pictures: a second index page beside the thumbnails, its pictures' pages leading back
    // to it; with 500, it goes as stale thumbnails go.
    ImageFolder folder;
    QStringList names;
    const QByteArray tiny = jpegBytes(markedPicture({8, 6}));
    for (int i = 0; i < 501; ++i) {
        names.append(u"p%1.jpg"_s.arg(i, 3, 10, QChar(u'0')));
        QVERIFY(writeBytes(folder.filePath(names.last()), tiny));
    }
    PublishRequest request = requestFor(folder, names);
    request.state.bPicturePages = true;
    const PublishResult many = run(request);
    QVERIFY2(many.complete(), qPrintable(many.error + many.page.error));
    QCOMPARE(many.indexPages, QStringList{u"index-2.html"_s});
    const QByteArray second = page_files::readFile(many.folder + u"/index-2.html"_s);
    QCOMPARE(second.count("<li>"), 1);
    QVERIFY(page_files::readFile(many.folder + u'/' + many.outcome[500].picturePage)
                .contains(R"(href="index-2.html">Index</a>)"));
    QVERIFY(page_files::readFile(many.folder + u'/' + many.outcome[499].picturePage)
                .contains(R"(href="../Vignetta.html">Index</a>)"));

    request.state.sImageFiles = names.first(500) + QStringList{QString()};
    const PublishResult fewer = run(request);
    QVERIFY2(fewer.complete(), qPrintable(fewer.error + fewer.page.error));
    QVERIFY(fewer.indexPages.isEmpty());
    QVERIFY(!QFileInfo::exists(many.folder + u"/index-2.html"_s));
    QCOMPARE(fewer.staleRemoved,
             4); // the last picture's thumbnail, copy and page, and the index page
}

void TestPublishJob::picturePages_data()
{
    QTest::addColumn<bool>("linkOriginals");
    QTest::newRow("picture pages") << false;
    QTest::newRow("picture pages linking the originals") << true;
}

void TestPublishJob::picturePages()
{
    QFETCH(bool, linkOriginals);
    // A photo that records its place, a large one, a small one, and one that is no picture.
    ImageFolder folder;
    const QList<std::pair<int, quint32>> place{{1, 'N'}, {2, 200}, {3, 'E'}, {4, 300}};
    QVERIFY(writeBytes(folder.filePath(u"a.jpg"_s),
                       withApp1(jpegBytes(markedPicture({800, 600})),
                                QByteArray("Exif\0\0", 6) + exifTiff({{0x0112, 1}}, place))));
    QVERIFY(markedPicture({4000, 3000}).save(folder.filePath(u"b.jpg"_s), "JPEG", 70));
    QVERIFY(writeBytes(folder.filePath(u"c!.jpg"_s), "no picture"));
    QVERIFY(markedPicture({300, 200}).save(folder.filePath(u"d.jpg"_s), "JPEG"));
    const QStringList names{u"a.jpg"_s, u"b.jpg"_s, u"c!.jpg"_s, u"d.jpg"_s};
    PublishRequest request = requestFor(folder, names);
    request.state.bPicturePages = true;
    request.state.bLinkOriginals = linkOriginals;
    const PublishResult result = run(request);
    QVERIFY2(result.complete(), qPrintable(result.error + result.page.error));
    QCOMPARE(result.made, 3);
    QCOMPARE(result.failed, 1);
    // The originals the page links: with picture pages, only the unreadable one's, unless
    // asked for; of those, the ones that record their place.
    QCOMPARE(result.linkedOriginals, linkOriginals ? 4 : 1);
    QCOMPARE(result.linkedWithLocation, linkOriginals ? 1 : 0);

    // Each picture: its copy, at most 2048 pixels and never larger than the picture, and its
    // page, which its cell leads to; around the ends, the last leads to the first.
    const QList<int> shown{0, 1, 3};
    const QList<QSize> copies{{800, 600}, {2000, 1500}, {300, 200}};
    const QString thumbnails = result.folder;
    for (qsizetype n = 0; n < shown.size(); ++n) {
        const PictureOutcome& one = result.outcome[shown[n]];
        QCOMPARE(QImageReader(thumbnails + u'/' + one.copy).size(), copies[n]);
        QCOMPARE(result.cells[shown[n]].link, u"Vignetta_files/"_s + one.picturePage);
        const QByteArray page = page_files::readFile(thumbnails + u'/' + one.picturePage);
        const auto has = [&page](const QByteArray& text) { return page.contains(text); };
        const auto neighbour = [&](qsizetype step) {
            return result.outcome[shown[(n + step + shown.size()) % shown.size()]]
                .picturePage.toUtf8();
        };
        QVERIFY(has(QByteArray("id=\"previous\" rel=\"prev\" href=\"" + neighbour(-1) + '"')));
        QVERIFY(has(QByteArray("id=\"next\" rel=\"next\" href=\"" + neighbour(1) + '"')));
        QVERIFY(has(QByteArray("<span>" + QByteArray::number(n + 1) + " of 3</span>")));
        QVERIFY(has(QByteArray("<img src=\"" + one.copy.toUtf8() + '"')));
        QVERIFY(has(QByteArray("href=\"../Vignetta.html\">Index</a>")));
        QCOMPARE(has(QByteArray("href=\"../" + names[shown[n]].toUtf8() + "\">Original</a>")),
                 linkOriginals);
    }
    QVERIFY(result.outcome[2].picturePage.isEmpty());
    QVERIFY(result.cells[2].link.isEmpty());

    // Again: nothing but the page is written.
    const auto before = modificationTimes(thumbnails);
    QTest::qWait(20);
    const PublishResult again = run(request);
    QVERIFY2(again.complete(), qPrintable(again.error + again.page.error));
    QCOMPARE(again.reused, 3);
    QCOMPARE(again.filesWritten, 1);
    QCOMPARE(modificationTimes(thumbnails), before);

    // A picture leaves the page: its thumbnail, copy and page go; the others' pages change.
    request.state.sImageFiles = QStringList{u"a.jpg"_s, u"d.jpg"_s, QString()};
    const PublishResult fewer = run(request);
    QVERIFY2(fewer.complete(), qPrintable(fewer.error + fewer.page.error));
    QCOMPARE(fewer.staleRemoved, 3);
    QCOMPARE(fewer.filesWritten, 3);
    for (const QString* file :
         {&result.outcome[1].thumbnail, &result.outcome[1].copy, &result.outcome[1].picturePage})
        QVERIFY(!QFileInfo::exists(thumbnails + u'/' + *file));
}

QTEST_GUILESS_MAIN(TestPublishJob)
#include "tst_publish_job.moc"
