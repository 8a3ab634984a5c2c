// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Finish with thumbnail files, through the real window: the option on Step 4, the progress
// window and its Cancel, what lands beside the images, and the completion panel.
#include "support/page_files.h"
#include "support/test_pictures.h"
#include "support/wizard_driver.h"

#include "thumbnails/thumbnail_folder.h"
#include "thumbnails/thumbnail_names.h"
#include "ui/prompts.h"
#include "wizard/completion_panel.h"

#include <QAccessible>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>

using namespace vignetta;
using namespace Qt::Literals::StringLiterals;
using page_files::readFile;

namespace {

const QString kTitle = u"Cannot proceed to Next Step"_s;

// Small pictures of each kind the file list shows; a name ending in "!.jpg" is not a picture,
// one ending in "~.jpg" a JPEG cut short.
void writePictures(const ImageFolder& folder, const QStringList& names)
{
    for (const QString& name : names) {
        const QString path = folder.filePath(name);
        bool ok = false;
        if (name.endsWith(u"!.jpg"))
            ok = test_pictures::writeBytes(path, "not a picture at all");
        else if (name.endsWith(u"~.jpg"))
            ok = test_pictures::writeBytes(
                path,
                test_pictures::jpegBytes(test_pictures::markedPicture({640, 480})).first(4000));
        else if (name.endsWith(u".gif"))
            ok = test_pictures::writeBytes(path, test_pictures::solidGif({40, 30}, Qt::red));
        else if (name.endsWith(u".bmp"))
            ok = test_pictures::markedPicture({48, 64}).save(path, "BMP");
        else
            ok = test_pictures::markedPicture({64, 48}).save(path, "JPEG");
        QVERIFY2(ok, qPrintable(name));
    }
}

void writeOldPage(const ImageFolder& folder)
{
    QVERIFY(test_pictures::writeBytes(folder.filePath(u"Vignetta.html"_s), "the old page"));
}

QCheckBox* option(const WizardDriver& w)
{
    return w.find<QCheckBox>(u"Check2"_s);
}

// The files in a thumbnails folder, hidden ones too, but for the mark naming its page.
QStringList thumbnailsIn(const QString& folder)
{
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    files.removeOne(QString::fromLatin1(kThumbnailFolderMark));
    return files;
}

void turnOptionOn(const WizardDriver& w)
{
    QTest::mouseClick(option(w), Qt::LeftButton, {}, QPoint(8, 8));
    QVERIFY(option(w)->isChecked());
}

// Waits until the last progress window has gone.
bool thumbnailsDone(const WizardDriver& w)
{
    if (w.prompts.progressWindows.isEmpty())
        return false;
    const std::shared_ptr<RecordedProgress> shown = w.prompts.progressWindows.last();
    // Then the page is saved.
    return QTest::qWaitFor([&] { return !shown->showing && !w.form.isSaving(); }, 20000);
}

// The page's cell line for an image.
QByteArray cellOf(const QByteArray& page, const QString& image)
{
    for (const QByteArray& line : page.split('\n')) {
        if (line.startsWith("<li>") && line.contains(QByteArray("alt=\"" + image.toUtf8() + '"')))
            return line;
    }
    return {};
}

// The thumbnail a cell shows, without its folder; empty when it shows the original.
QString thumbnailOf(const QByteArray& cell)
{
    const QByteArray start("<img src=\"Vignetta_files/");
    const qsizetype at = cell.indexOf(start);
    if (at < 0)
        return {};
    const qsizetype from = at + start.size();
    return QString::fromUtf8(cell.mid(from, cell.indexOf('"', from) - from));
}

} // namespace

class TestThumbnailRoad : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    void thumbnailsFolderAndPage();
    void restartTurnsTheOptionOffAndThePageIsAsBefore();
    void thumbnailsThePageNoLongerShowsGo();
    void sizesNotInPixelsWarnAndStay_data();
    void sizesNotInPixelsWarnAndStay();
    void cancelReturnsToStepFour();
    void thumbnailsCannotBeWritten_data();
    void thumbnailsCannotBeWritten();
    void exitWhileThumbnailsAreMadeWritesNoPage();
    void openPage_data();
    void openPage();
    void openerThatFailsIsTold_data();
    void openerThatFailsIsTold();
    void longFolderIsShortenedInTheMiddle();
    void picturePagesThroughTheWindow();
};

void TestThumbnailRoad::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestThumbnailRoad::thumbnailsFolderAndPage()
{
    const QStringList images{"a.jpg", "b.gif", "c.bmp", "d!.jpg", "e~.jpg"};
    ImageFolder folder;
    writePictures(folder, images);
    WizardDriver w;
    QVERIFY(!option(w)->isChecked());
    w.advanceTo(kStep3, folder.path());
    w.box(u"txtColumns"_s)->setText(u"2"_s);
    w.click(formVG::kNext);
    w.click(formVG::kTutor);
    turnOptionOn(w);
    w.click(formVG::kFinish);

    // The thumbnails are made while the window goes on: Finish returns at once, the progress
    // window shows, and the wizard's buttons wait.
    QCOMPARE(w.prompts.progressWindows.size(), 1);
    QVERIFY(w.prompts.progressWindows.first()->showing);
    QCOMPARE(w.prompts.progressWindows.first()->title, u"Making thumbnail files"_s);
    for (const int button : {formVG::kFinish, formVG::kBack, formVG::kAbout, formVG::kTutor})
        w.form.cmdButtons_Click(button);
    QCOMPARE(w.step(), int(kStep4));
    QCOMPARE(w.form.frontPanel(), int(kStep4));
    QVERIFY(w.form.state().bTutorOn);
    QCOMPARE(w.prompts.progressWindows.size(), 1);

    QVERIFY(thumbnailsDone(w));
    QCOMPARE(w.step(), int(kCompletion));
    QVERIFY(w.prompts.messages.isEmpty());
    QVERIFY(tutorWindow() == nullptr);
    const RecordedProgress& shown = *w.prompts.progressWindows.first();
    QCOMPARE(shown.counts.last(), (std::pair<int, int>(5, 5)));
    QVERIFY2(shown.texts.last().startsWith(u"5 of 5 files made\n"_s),
             qPrintable(shown.texts.last()));

    // One thumbnail for each picture, in the folder named after the page, and the page shows
    // them; the image that is no picture keeps its original in its cell.
    QCOMPARE(folder.entriesBeside(images), (QStringList{"Vignetta.html", "Vignetta_files"}));
    const QByteArray page = readFile(folder.filePath(u"Vignetta.html"_s));
    QCOMPARE(page.count("<li>"), 5);
    QVERIFY(page.contains("max-width: 326px;")); // two boxes to a row
    QStringList shownThumbnails;
    for (const QString& image : {images[0], images[1], images[2], images[4]}) {
        const QString thumbnail = thumbnailOf(cellOf(page, image));
        QVERIFY2(hasThumbnailFileShape(thumbnail), qPrintable(image));
        shownThumbnails.append(thumbnail);
    }
    shownThumbnails.sort();
    QCOMPARE(thumbnailsIn(folder.filePath(u"Vignetta_files"_s)), shownThumbnails);
    QVERIFY2(cellOf(page, u"d!.jpg"_s).contains(R"(<img src="d!.jpg")"), page.constData());

    // The completion panel says where the page is, what the originals it links give away, and
    // lists the image it could not read and the one cut short, each with its reason, where Tab
    // and screen readers reach them.
    QCOMPARE(w.label(u"lblFileName"_s)->text(), u"Vignetta.html"_s);
    QCOMPARE(w.label(u"lblFolder"_s)->text(), QDir::toNativeSeparators(folder.path()));
    auto* problems = w.find<QListWidget>(u"lstProblems"_s);
    QVERIFY(problems->isVisible());
    QVERIFY(problems->focusPolicy() & Qt::TabFocus);
    QStringList rows;
    for (int i = 0; i < problems->count(); ++i)
        rows.append(problems->item(i)->text());
    QCOMPARE(rows, (QStringList{
                       u"None of the 5 photos this page links record where they were taken."_s,
                       u"Problems with 2 images:"_s,
                       u"d!.jpg: it is not a JPEG, PNG, GIF or BMP picture; its cell shows the "
                       u"original"_s,
                       u"e~.jpg: its data is damaged or cut short; the thumbnail shows what could "
                       u"be read"_s,
                   }));
    QCOMPARE(QAccessible::queryAccessibleInterface(problems)->text(QAccessible::Name), rows[0]);
}

void TestThumbnailRoad::restartTurnsTheOptionOffAndThePageIsAsBefore()
{
    const QStringList images{"c.bmp", "a.jpg", "b.gif", "e!.jpg"};
    ImageFolder folder;
    writePictures(folder, images);
    WizardDriver w;
    w.advanceTo(kStep4, folder.path());
    turnOptionOn(w);
    w.click(formVG::kFinish);
    QVERIFY(thumbnailsDone(w));
    QCOMPARE(w.step(), int(kCompletion));
    QVERIFY(w.find<QListWidget>(u"lstProblems"_s)->isVisible());

    w.click(formVG::kRestart);
    QVERIFY(!option(w)->isChecked());
    // Without the option the page is the page without thumbnails, byte for byte, written at
    // once, and the completion panel has nothing to say about images.
    QVERIFY(QFile::remove(folder.filePath(u"e!.jpg"_s)));
    w.step1()->openDirectory(folder.path());
    w.click(formVG::kNext);
    w.clickMove(Step2Panel::kAllRight);
    w.click(formVG::kNext);
    w.box(u"txtColumns"_s)->setText(u"2"_s);
    w.click(formVG::kNext);
    w.click(formVG::kFinish);
    QCOMPARE(w.step(), int(kCompletion));
    QCOMPARE(w.prompts.progressWindows.size(), 1);
    QVERIFY(!w.find<QListWidget>(u"lstProblems"_s)->isVisible());
    const QString expected = QFINDTESTDATA("data/three_in_rows_of_two.html");
    QVERIFY(!expected.isEmpty());
    const QString difference = page_files::pageDifference(
        readFile(folder.filePath(u"Vignetta.html"_s)), readFile(expected));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestThumbnailRoad::sizesNotInPixelsWarnAndStay_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("message");
    const QString need = u"Thumbnail files need the Width and Height in pixels, such as 150: "_s;
    QTest::newRow("width in percent") << "50%"
                                      << "150" << need + u"the Width is \"50%\"."_s;
    QTest::newRow("height in em") << "150px"
                                  << "10em" << need + u"the Height is \"10em\"."_s;
}

void TestThumbnailRoad::sizesNotInPixelsWarnAndStay()
{
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, message);

    const QStringList images{"a.jpg"};
    ImageFolder folder;
    writePictures(folder, images);
    WizardDriver w;
    w.advanceTo(kStep3, folder.path());
    w.box(u"txtWidth"_s)->setText(width);
    w.box(u"txtHeight"_s)->setText(height);
    w.click(formVG::kNext);
    turnOptionOn(w);
    w.click(formVG::kFinish);

    QCOMPARE(w.prompts.messages.size(), 1);
    QCOMPARE(w.prompts.messages.first().title, kTitle);
    QCOMPARE(w.prompts.messages.first().icon, QMessageBox::Warning);
    QCOMPARE(w.prompts.messages.first().text, message);
    QCOMPARE(w.step(), int(kStep4));
    QCOMPARE(w.form.frontPanel(), int(kStep4));
    QVERIFY(option(w)->isChecked());
    QVERIFY(w.prompts.progressWindows.isEmpty());
    QVERIFY(folder.entriesBeside(images).isEmpty());

    // The same sizes make a page without thumbnails, as typed.
    QTest::mouseClick(option(w), Qt::LeftButton, {}, QPoint(8, 8));
    w.click(formVG::kFinish);
    QCOMPARE(w.step(), int(kCompletion));
    QCOMPARE(folder.entriesBeside(images), QStringList{"Vignetta.html"});
    QVERIFY(
        readFile(folder.filePath(u"Vignetta.html"_s))
            .contains(QByteArray(" width=" + width.toUtf8() + " height=" + height.toUtf8() + '>')));
}

void TestThumbnailRoad::cancelReturnsToStepFour()
{
    const QStringList images{"a.jpg", "b.jpg", "c.gif"};
    ImageFolder folder;
    writePictures(folder, images);
    writeOldPage(folder);
    WizardDriver w;
    w.advanceTo(kStep4, folder.path());
    w.box(u"txtFileName"_s)->setText(u"  Vignetta "_s);
    w.click(formVG::kTutor);
    turnOptionOn(w);
    // Cancel, pressed as soon as the window shows.
    w.prompts.onProgress = [](RecordedProgress& shown) {
        if (shown.pressCancel)
            std::exchange(shown.pressCancel, nullptr)();
    };
    w.click(formVG::kFinish);
    QVERIFY(thumbnailsDone(w));

    // Back on Step 4 as it was, without a word; the old page as it was, nothing half written.
    QVERIFY(w.prompts.messages.isEmpty());
    QCOMPARE(w.step(), int(kStep4));
    QCOMPARE(w.form.frontPanel(), int(kStep4));
    QCOMPARE(w.buttonStates(), u"B-F-"_s);
    QCOMPARE(w.box(u"txtFileName"_s)->text(), u"  Vignetta "_s);
    QVERIFY(option(w)->isChecked());
    QCOMPARE(w.list(u"lstSelected"_s)->count(), 3);
    QVERIFY(w.form.state().bTutorOn);
    QVERIFY(tutorWindow() != nullptr);
    QCOMPARE(readFile(folder.filePath(u"Vignetta.html"_s)), QByteArray("the old page"));
    QStringList extra = folder.entriesBeside(images);
    extra.removeOne(u"Vignetta_files"_s); // made before the job heard of Cancel
    QCOMPARE(extra, QStringList{"Vignetta.html"});
    const QStringList thumbnails = thumbnailsIn(folder.filePath(u"Vignetta_files"_s));
    for (const QString& name : thumbnails)
        QVERIFY2(hasThumbnailFileShape(name), qPrintable(name));

    // Finish again goes all the way.
    w.prompts.onProgress = nullptr;
    w.click(formVG::kFinish);
    QVERIFY(thumbnailsDone(w));
    QCOMPARE(w.step(), int(kCompletion));
    QVERIFY(
        !thumbnailOf(cellOf(readFile(folder.filePath(u"Vignetta.html"_s)), u"c.gif"_s)).isEmpty());
}

void TestThumbnailRoad::thumbnailsThePageNoLongerShowsGo()
{
    ImageFolder folder;
    writePictures(folder, {u"a.jpg"_s, u"b.jpg"_s});
    const QString thumbnails = folder.filePath(u"Vignetta_files"_s);
    WizardDriver w;
    w.advanceTo(kStep4, folder.path());
    turnOptionOn(w);
    w.click(formVG::kFinish);
    QVERIFY(thumbnailsDone(w));
    QCOMPARE(thumbnailsIn(thumbnails).size(), 2);

    // The page made again without b.jpg: its thumbnail goes once the new page is written.
    QVERIFY(QFile::remove(folder.filePath(u"b.jpg"_s)));
    w.click(formVG::kRestart);
    w.advanceTo(kStep4, folder.path());
    turnOptionOn(w);
    w.click(formVG::kFinish);
    QVERIFY(thumbnailsDone(w));
    QCOMPARE(w.step(), int(kCompletion));
    const QString shown =
        thumbnailOf(cellOf(readFile(folder.filePath(u"Vignetta.html"_s)), u"a.jpg"_s));
    QCOMPARE(thumbnailsIn(thumbnails), QStringList{shown.section(u'/', -1)});
}

void TestThumbnailRoad::thumbnailsCannotBeWritten_data()
{
    QTest::addColumn<QString>("typed");
    // A file, a folder when it ends in "/", a link to another gallery's folder when in "->".
    QTest::addColumn<QString>("inTheWay");
    QTest::addColumn<QString>("message"); // the start of the warning; the folder's path as %1

    QTest::newRow("a file where the thumbnails go")
        << "Vignetta"
        << "Vignetta_files"
        << "The folder \"%1/Vignetta_files\" could not be made: ";
    QTest::newRow("a link where the thumbnails go")
        << "Vignetta"
        << "Vignetta_files->"
        << R"(The folder "%1/Vignetta_files" could not be used: It is a link to ")";
    QTest::newRow("a name the page cannot have")
        << "sub/page"
        << "sub/"
        << "The page \"%1/sub/page.html\" could not be written: A page name may not hold ";
}

void TestThumbnailRoad::thumbnailsCannotBeWritten()
{
    QFETCH(QString, typed);
    QFETCH(QString, inTheWay);
    QFETCH(QString, message);

    const QStringList images{"a.jpg", "b.jpg"};
    ImageFolder folder;
    writePictures(folder, images);
    writeOldPage(folder);
    ImageFolder elsewhere;
    const bool link = inTheWay.endsWith(u"->");
    if (link) {
        inTheWay.chop(2);
        elsewhere.addDirs({inTheWay});
        QVERIFY(QFile::link(elsewhere.filePath(inTheWay), folder.filePath(inTheWay)));
    } else if (inTheWay.endsWith(u'/')) {
        folder.addDirs({inTheWay});
    } else {
        folder.addFiles({inTheWay});
    }
    WizardDriver w;
    w.advanceTo(kStep4, folder.path());
    w.box(u"txtFileName"_s)->setText(typed);
    turnOptionOn(w);
    w.click(formVG::kFinish);
    QTRY_VERIFY(w.prompts.progressWindows.isEmpty() || !w.prompts.progressWindows.last()->showing);

    // Told why, with the path; still on Step 4; the old page and what was in the way as they
    // were.
    QCOMPARE(w.prompts.messages.size(), 1);
    QCOMPARE(w.prompts.messages.first().title, kTitle);
    const QString text = w.prompts.messages.first().text;
    QVERIFY2(text.startsWith(message.arg(QDir::toNativeSeparators(folder.path()))),
             qPrintable(text));
    QCOMPARE(w.step(), int(kStep4));
    QCOMPARE(w.box(u"txtFileName"_s)->text(), typed);
    QCOMPARE(readFile(folder.filePath(u"Vignetta.html"_s)), QByteArray("the old page"));
    QStringList expected{inTheWay.chopped(inTheWay.endsWith(u'/') ? 1 : 0), "Vignetta.html"};
    expected.sort();
    QStringList extra = folder.entriesBeside(images);
    extra.sort();
    QCOMPARE(extra, expected);
    if (inTheWay.endsWith(u'/') || link)
        QVERIFY(QDir(folder.filePath(inTheWay)).isEmpty());
    if (link)
        QVERIFY(text.endsWith(u" never through a link. Choose another name."_s));
}

void TestThumbnailRoad::exitWhileThumbnailsAreMadeWritesNoPage()
{
    const QStringList images{"a.jpg", "b.jpg"};
    ImageFolder folder;
    writePictures(folder, images);
    WizardDriver w;
    w.advanceTo(kStep4, folder.path());
    turnOptionOn(w);
    QSignalSpy exits(&w.form, &formVG::exitRequested);
    w.click(formVG::kFinish);
    w.click(formVG::kExit);
    QCOMPARE(exits.count(), 1);
    QVERIFY(thumbnailsDone(w));
    QVERIFY(!QFileInfo::exists(folder.filePath(u"Vignetta.html"_s)));
    QVERIFY(w.prompts.messages.isEmpty());
}

void TestThumbnailRoad::openPage_data()
{
    QTest::addColumn<QString>("failure"); // why the opening fails; empty: it succeeds
    QTest::addColumn<bool>("pageRemoved");
    QTest::addColumn<QString>("message"); // the end of the warning; empty: none

    QTest::newRow("opened in the browser") << "" << false << "";
    QTest::newRow("no browser") << "no program." << false << "\" could not be opened: no program.";
    QTest::newRow("page gone meanwhile") << "" << true << "\" is no longer there.";
}

void TestThumbnailRoad::openPage()
{
    QFETCH(QString, failure);
    QFETCH(bool, pageRemoved);
    QFETCH(QString, message);

    ImageFolder folder;
    writePictures(folder, {u"a.jpg"_s});
    WizardDriver w;
    w.advanceTo(kStep4, folder.path());
    // A name that needs care in a URL.
    w.box(u"txtFileName"_s)->setText(u"Holiday #1"_s);
    w.click(formVG::kFinish);
    QCOMPARE(w.step(), int(kCompletion));
    const QString page = folder.filePath(u"Holiday #1.html"_s);
    if (pageRemoved)
        QVERIFY(QFile::remove(page));
    w.prompts.openUrlFailure = failure;
    QTest::mouseClick(w.find<QPushButton>(u"cmdOpen"_s), Qt::LeftButton);

    if (!pageRemoved) {
        QCOMPARE(w.prompts.openedUrls.size(), 1);
        const QUrl url = w.prompts.openedUrls.first();
        QCOMPARE(url.scheme(), u"file"_s);
        QCOMPARE(url.toLocalFile(), page);
        QVERIFY2(url.toEncoded().endsWith("/Holiday%20%231.html"), url.toEncoded().constData());
    } else {
        QVERIFY(w.prompts.openedUrls.isEmpty());
    }
    if (message.isEmpty()) {
        QVERIFY(w.prompts.messages.isEmpty());
    } else {
        QCOMPARE(w.prompts.messages.size(), 1);
        QCOMPARE(w.prompts.messages.first().text,
                 u"The page \""_s + QDir::toNativeSeparators(page) + message);
    }
    QCOMPARE(w.step(), int(kCompletion));
}

void TestThumbnailRoad::openerThatFailsIsTold_data()
{
    QTest::addColumn<QByteArray>("opener"); // the desktop's opener, as a shell script; none: none
    QTest::addColumn<QString>("reason");    // the start of the reason told; empty: none told
    QTest::newRow("opens and ends") << QByteArray("exit 0") << QString();
    QTest::newRow("opens and runs on") << QByteArray("sleep 5") << QString();
    QTest::newRow("fails at once")
        << QByteArray("echo 'no method available' >&2; exit 4")
        << u"the program that shows web pages failed (xdg-open ended with status 4)."_s;
    QTest::newRow("fails after a while")
        << QByteArray("sleep 0.1; exit 3") << u"the program that shows web pages failed"_s;
    QTest::newRow("no opener") << QByteArray() << u"no program to show web pages was found."_s;
}

void TestThumbnailRoad::openerThatFailsIsTold()
{
    QFETCH(QByteArray, opener);
    QFETCH(QString, reason);
    ImageFolder bin;
    const QString called = bin.filePath(u"called"_s);
    if (!opener.isNull()) {
        QFile script(bin.filePath(u"xdg-open"_s));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s' \"$1\" >'" + QFile::encodeName(called) + "'\n" +
                     opener + '\n');
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
    }
    const QByteArray path = qgetenv("PATH");
    const auto restore = qScopeGuard([&path] { qputenv("PATH", path); });
    qputenv("PATH", QFile::encodeName(bin.path()) + (opener.isNull() ? "" : ":/usr/bin:/bin"));

    // Watched long enough for a shell to start on a loaded machine.
    QtPrompts prompts(2000);
    QStringList told;
    prompts.openUrl(QUrl::fromLocalFile(u"/tmp/Holiday #1.html"_s),
                    [&told](const QString& why) { told.append(why); });
    if (!reason.isEmpty()) {
        QTRY_COMPARE(told.size(), 1);
        QVERIFY2(told.first().startsWith(reason), qPrintable(told.first()));
    }
    QTRY_VERIFY(QCoreApplication::instance()->findChildren<QProcess*>().isEmpty());
    if (reason.isEmpty())
        QCOMPARE(told, QStringList());
    if (!opener.isNull())
        QCOMPARE(readFile(called), QByteArray("file:///tmp/Holiday%20%231.html"));
}

void TestThumbnailRoad::longFolderIsShortenedInTheMiddle()
{
    ImageFolder parent;
    const QString name = u"Holidays in the mountains with the whole family, summer of the "
                         u"long walks and the short nights, every picture of it"_s;
    parent.addDirs({name});
    const QString path = parent.filePath(name);
    QVERIFY(test_pictures::markedPicture({64, 48}).save(path + u"/a.jpg"_s, "JPEG"));
    WizardDriver w;
    w.advanceTo(kCompletion, path);
    QCOMPARE(w.step(), int(kCompletion));

    QLabel* shown = w.label(u"lblFolder"_s);
    const QString text = shown->text();
    QVERIFY2(text.contains(u'\u2026'), qPrintable(text));
    QVERIFY(text.startsWith(path.first(4)));
    QVERIFY(text.endsWith(u"every picture of it"_s));
    QVERIFY(shown->fontMetrics().horizontalAdvance(text) <= shown->contentsRect().width());
    QCOMPARE(shown->toolTip(), path);
    QCOMPARE(shown->accessibleName(), path);
}

void TestThumbnailRoad::picturePagesThroughTheWindow()
{
    ImageFolder folder;
    writePictures(folder, {u"a.jpg"_s, u"b.jpg"_s});
    WizardDriver w;
    w.advanceTo(kStep4, folder.path());
    auto* pages = w.find<QCheckBox>(u"Check3"_s);
    auto* originals = w.find<QCheckBox>(u"Check4"_s);
    const auto states = [&]() -> QString {
        return QString() + (pages->isEnabled() ? u'E' : u'-') + (pages->isChecked() ? u'X' : u'-') +
               (originals->isEnabled() ? u'E' : u'-') + (originals->isChecked() ? u'X' : u'-');
    };
    // Each option is there to choose only while the one before it is on; so is the title,
    // which starts as the folder's name.
    QCOMPARE(states(), u"----"_s);
    auto* title = w.box(u"txtTitle"_s);
    QVERIFY(!title->isEnabled());
    QCOMPARE(title->text(), QDir(folder.path()).dirName());
    turnOptionOn(w);
    QVERIFY(title->isEnabled());
    title->setText(u"Summer & sea"_s);
    QCOMPARE(states(), u"E---"_s);
    QTest::mouseClick(pages, Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(states(), u"EXE-"_s);
    QTest::mouseClick(originals, Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(states(), u"EXEX"_s);
    QTest::mouseClick(option(w), Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(states(), u"-X-X"_s);
    turnOptionOn(w);

    w.click(formVG::kFinish);
    QVERIFY(thumbnailsDone(w));
    QCOMPARE(w.step(), int(kCompletion));
    QVERIFY(w.form.state().bPicturePages && w.form.state().bLinkOriginals);
    const QByteArray page = readFile(folder.filePath(u"Vignetta.html"_s));
    QVERIFY(page.contains("<title>Summer &amp; sea</title>"));
    // The cell leads to the picture's page.
    const QByteArray toItsPage = QByteArray("<li><a href=") + '"' + "Vignetta_files/a-";
    QVERIFY2(cellOf(page, u"a.jpg"_s).startsWith(toItsPage), page.constData());
    QCOMPARE(QDir(folder.filePath(u"Vignetta_files"_s)).entryList({u"*.html"_s}).size(), 2);
    // Both photos' originals are linked; neither records its place.
    auto* notes = w.find<QListWidget>(u"lstProblems"_s);
    QCOMPARE(notes->item(0)->text(),
             u"None of the 2 photos this page links record where they were taken."_s);

    w.click(formVG::kRestart);
    w.advanceTo(kStep4, folder.path());
    QCOMPARE(states(), u"----"_s);
}

QTEST_MAIN(TestThumbnailRoad)
#include "tst_thumbnail_road.moc"
