// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One page's whole road through the real window: choices made on the panels, Finish, and the
// file that lands beside the images.
#include "support/page_files.h"
#include "support/wizard_driver.h"

#include "wizard/completion_panel.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QSemaphore>
#include <QThread>
#include <QTimer>

#include <memory>

using namespace vignetta;
using namespace Qt::Literals::StringLiterals;
using page_files::cellsPerTable;
using page_files::pageDifference;
using page_files::readFile;

namespace {

const QString kTitle = QStringLiteral("Cannot proceed to Next Step");

// The page's lines without their CR LF ends.
QList<QByteArray> pageLines(const QByteArray& page)
{
    QList<QByteArray> lines = page.split('\n');
    for (QByteArray& line : lines)
        line.chop(line.endsWith('\r') ? 1 : 0);
    return lines;
}

} // namespace

class TestPageRoad : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    void defaultsWriteTheDefaultPage();
    void wholePageThroughTheWindow();
    void columns_data();
    void columns();
    void borderAndSizes_data();
    void borderAndSizes();
    void pageNames_data();
    void pageNames();
    void existingPageIsReplaced();
    void secondFinishAfterRestartWritesAgain();
    void writeFailureKeepsTheUserOnStepFour_data();
    void writeFailureKeepsTheUserOnStepFour();
    void vanishedDirectoryIsReported();
    void windowGoesOnWhileThePageIsSaved();
    void exitWhileSavingStillWritesThePage();
    void colourDialog();
};

void TestPageRoad::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestPageRoad::defaultsWriteTheDefaultPage()
{
    const QStringList images{"b.gif", "A.JPG", "c.bmp"};
    ImageFolder folder(images);
    WizardDriver w;
    w.advanceTo(kCompletion, folder.path());
    QCOMPARE(w.step(), int(kCompletion));
    QCOMPARE(folder.entriesBeside(images), QStringList{"Vignetta.html"});

    const QList<QByteArray> lines = pageLines(readFile(folder.filePath("Vignetta.html")));
    QVERIFY(lines.contains("   <body bgcolor=\"#FFFFFF\" text=\"#000000\" > "));
    QCOMPARE(lines.count("   <table border=\"2\" cellpadding=3 cellspacing =3>"), 3);
    for (const char* name : {"A.JPG", "b.gif", "c.bmp"}) {
        const QByteArray cell = QByteArray("      <td align=center><A HREF=\"") + name +
                                "\"><IMG SRC=\"" + name +
                                R"("align="bottom" img border=0 width=150 height=150></A></td>)";
        QVERIFY2(lines.contains(cell), name);
    }
    QVERIFY(w.prompts.messages.isEmpty());
}

void TestPageRoad::wholePageThroughTheWindow()
{
    const QStringList images{"c.bmp", "a.jpg", "b.gif"};
    ImageFolder folder(images);
    WizardDriver w;
    w.advanceTo(kStep3, folder.path());
    w.box(u"txtColumns"_s)->setText(QStringLiteral("2"));
    w.click(formVG::kNext);
    w.click(formVG::kFinish);
    QCOMPARE(w.step(), int(kCompletion));

    const QString expectedPath = QFINDTESTDATA("data/three_in_rows_of_two.html");
    QVERIFY(!expectedPath.isEmpty());
    const QString difference =
        pageDifference(readFile(folder.filePath("Vignetta.html")), readFile(expectedPath));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestPageRoad::columns_data()
{
    QTest::addColumn<int>("images");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QList<int>>("tables");

    // The rule itself is checked on the renderer; here, that the window's Columns reaches it.
    QTest::newRow("5 images, 2.5 columns") << 5 << "2.5" << QList<int>{2, 2, 1};
    QTest::newRow("0.5 columns passes and gives one per row") << 2 << "0.5" << QList<int>{1, 1};
}

void TestPageRoad::columns()
{
    QFETCH(int, images);
    QFETCH(QString, columns);
    QFETCH(QList<int>, tables);

    QStringList names;
    for (int i = 1; i <= images; ++i)
        names.append(QStringLiteral("IMG_%1.jpg").arg(i));
    ImageFolder folder(names);
    WizardDriver w;
    w.advanceTo(kStep3, folder.path());
    w.box(u"txtColumns"_s)->setText(columns);
    w.click(formVG::kNext);
    w.click(formVG::kFinish);
    QCOMPARE(w.step(), int(kCompletion));

    const QByteArray page = readFile(folder.filePath("Vignetta.html"));
    QCOMPARE(cellsPerTable(page), tables);
    // In list order: IMG_2 before IMG_10 holds here as IMG_1 ... IMG_n.
    qsizetype from = 0;
    for (const QString& name : names) {
        const qsizetype at = page.indexOf(QByteArray("HREF=\"" + name.toUtf8() + '"'), from);
        QVERIFY2(at > from, qPrintable(name));
        from = at;
    }
}

void TestPageRoad::borderAndSizes_data()
{
    QTest::addColumn<bool>("border");
    QTest::addColumn<QString>("thickness");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QByteArray>("tableLine");
    QTest::addColumn<QByteArray>("sizeText");

    QTest::newRow("border off gives 0")
        << false << "5"
        << "150"
        << "150" << QByteArray("   <table border=\"0\" cellpadding=3 cellspacing =3>")
        << QByteArray(" width=150 height=150>");
    QTest::newRow("empty thickness")
        << true << ""
        << "150"
        << "150" << QByteArray("   <table border=\"\" cellpadding=3 cellspacing =3>")
        << QByteArray(" width=150 height=150>");
    QTest::newRow("sizes as typed")
        << true << "7"
        << "150px"
        << "80.5" << QByteArray("   <table border=\"7\" cellpadding=3 cellspacing =3>")
        << QByteArray(" width=150px height=80.5>");
}

void TestPageRoad::borderAndSizes()
{
    QFETCH(bool, border);
    QFETCH(QString, thickness);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QByteArray, tableLine);
    QFETCH(QByteArray, sizeText);

    ImageFolder folder({"a.jpg"});
    WizardDriver w;
    w.advanceTo(kStep3, folder.path());
    w.box(u"txtThickness"_s)->setText(thickness);
    if (!border)
        QTest::mouseClick(w.find<QCheckBox>(u"Check1"_s), Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(w.find<QCheckBox>(u"Check1"_s)->isChecked(), border);
    w.box(u"txtWidth"_s)->setText(width);
    w.box(u"txtHeight"_s)->setText(height);
    w.click(formVG::kNext);
    w.click(formVG::kFinish);
    QCOMPARE(w.step(), int(kCompletion));

    const QByteArray page = readFile(folder.filePath("Vignetta.html"));
    QVERIFY2(pageLines(page).contains(tableLine), page.constData());
    QVERIFY2(page.contains(QByteArray(sizeText + "</A></td>\r\n")), page.constData());
}

void TestPageRoad::pageNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("htm");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("defaults") << "Vignetta" << false << "Vignetta.html";
    QTest::newRow("blanks around, inner blank kept, htm") << "  my page  " << true << "my page.htm";
    QTest::newRow("empty name, html") << "" << false << ".html";
    QTest::newRow("empty name, htm") << "" << true << ".htm";
    QTest::newRow("own extension not recognised") << "index.html" << false << "index.html.html";
    QTest::newRow("extension in lower case") << "PHOTOS" << true << "PHOTOS.htm";
    QTest::newRow("ampersand and accent") << QString::fromUtf8("R\u00e9sum\u00e9 & more") << false
                                          << QString::fromUtf8("R\u00e9sum\u00e9 & more.html");
}

void TestPageRoad::pageNames()
{
    QFETCH(QString, typed);
    QFETCH(bool, htm);
    QFETCH(QString, fileName);

    const QStringList images{"a.jpg"};
    ImageFolder folder(images);
    WizardDriver w;
    w.advanceTo(kStep4, folder.path());
    w.box(u"txtFileName"_s)->setText(typed);
    QTest::mouseClick(w.find<QRadioButton>(memberName(u"optExtension", htm ? 1 : 0)),
                      Qt::LeftButton, {}, QPoint(8, 8));
    w.click(formVG::kFinish);

    QCOMPARE(w.step(), int(kCompletion));
    QCOMPARE(w.form.state().sFileName, fileName);
    QCOMPARE(w.label(u"lblFileName"_s)->text(), fileName);
    QCOMPARE(folder.entriesBeside(images), QStringList{fileName});
    QVERIFY(readFile(folder.filePath(fileName)).startsWith("<html>\r\n"));
}

void TestPageRoad::existingPageIsReplaced()
{
    const QStringList images{"a.jpg", "b.jpg"};
    ImageFolder folder(images);
    {
        QFile old(folder.filePath("Vignetta.html"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        // Longer than the new page, so a page written over it without truncation would show.
        old.write(QByteArray(20000, 'x'));
    }
    WizardDriver w;
    w.advanceTo(kCompletion, folder.path());
    QCOMPARE(w.step(), int(kCompletion));
    QVERIFY(w.prompts.messages.isEmpty());

    const QByteArray page = readFile(folder.filePath("Vignetta.html"));
    QVERIFY(page.startsWith("<html>\r\n"));
    QVERIFY(page.endsWith("</html>\r\n"));
    QVERIFY(!page.contains("xxxx"));
    // No temporary file is left beside the page.
    QCOMPARE(folder.entriesBeside(images), QStringList{"Vignetta.html"});
}

void TestPageRoad::secondFinishAfterRestartWritesAgain()
{
    ImageFolder folder({"a.jpg", "b.jpg"});
    WizardDriver w;
    w.advanceTo(kCompletion, folder.path());
    w.click(formVG::kRestart);
    QCOMPARE(w.step(), int(kStep1));
    w.click(formVG::kNext);
    w.clickMove(Step2Panel::kAllRight);
    w.click(formVG::kNext);
    w.box(u"txtWidth"_s)->setText(QStringLiteral("64"));
    w.click(formVG::kNext);
    w.click(formVG::kFinish);
    QCOMPARE(w.step(), int(kCompletion));
    const QByteArray page = readFile(folder.filePath("Vignetta.html"));
    QCOMPARE(page.count(" width=64 height=150>"), 2);
    QCOMPARE(page.count(" width=150 "), 0);
}

void TestPageRoad::writeFailureKeepsTheUserOnStepFour_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("directoryInTheWay");

    QTest::newRow("name too long") << QString(300, u'n') << "";
    QTest::newRow("name of an existing directory") << "album"
                                                   << "album.html";
    QTest::newRow("name with a separator") << "sub/page"
                                           << "sub";
    QTest::newRow("pasted line break") << "holiday\r\n"
                                       << "";
}

void TestPageRoad::writeFailureKeepsTheUserOnStepFour()
{
    QFETCH(QString, typed);
    QFETCH(QString, directoryInTheWay);

    const QStringList images{"a.jpg", "b.jpg"};
    ImageFolder folder(images);
    if (!directoryInTheWay.isEmpty())
        folder.addDirs({directoryInTheWay});
    WizardDriver w;
    w.advanceTo(kStep3, folder.path());
    w.box(u"txtColumns"_s)->setText(QStringLiteral("2"));
    w.click(formVG::kNext);
    w.box(u"txtFileName"_s)->setText(typed);
    w.click(formVG::kFinish);

    // Told why, with the path; still on Step 4 with every entry.
    QCOMPARE(w.prompts.messages.size(), 1);
    const MessageRequest& message = w.prompts.messages.first();
    QCOMPARE(message.title, kTitle);
    QCOMPARE(message.icon, QMessageBox::Warning);
    const QString path = folder.path() + u'/' + typed + QStringLiteral(".html");
    QVERIFY2(message.text.startsWith(QStringLiteral("The page \"%1\" could not be written: ")
                                         .arg(QDir::toNativeSeparators(path))),
             qPrintable(message.text));
    QVERIFY2(!message.text.endsWith(QStringLiteral("written: ")), qPrintable(message.text));
    QCOMPARE(w.step(), int(kStep4));
    QCOMPARE(w.form.frontPanel(), int(kStep4));
    QCOMPARE(w.buttonStates(), QStringLiteral("B-F-"));
    QCOMPARE(w.box(u"txtFileName"_s)->text(), typed);
    QCOMPARE(w.box(u"txtColumns"_s)->text(), QStringLiteral("2"));
    QCOMPARE(w.list(u"lstSelected"_s)->count(), 2);
    // Nothing written anywhere.
    QStringList expectedExtra;
    if (!directoryInTheWay.isEmpty())
        expectedExtra.append(directoryInTheWay);
    QCOMPARE(folder.entriesBeside(images), expectedExtra);
    if (!directoryInTheWay.isEmpty())
        QVERIFY(QDir(folder.filePath(directoryInTheWay)).isEmpty());

    // A corrected name goes through.
    w.box(u"txtFileName"_s)->setText(QStringLiteral("fixed"));
    w.click(formVG::kFinish);
    QCOMPARE(w.step(), int(kCompletion));
    QCOMPARE(w.prompts.messages.size(), 1);
    QCOMPARE(cellsPerTable(readFile(folder.filePath("fixed.html"))), (QList<int>{2}));
}

void TestPageRoad::vanishedDirectoryIsReported()
{
    ImageFolder folder({"a.jpg"});
    WizardDriver w;
    w.advanceTo(kStep4, folder.path());
    QVERIFY(QDir(folder.path()).removeRecursively());
    w.click(formVG::kFinish);

    QCOMPARE(w.prompts.messages.size(), 1);
    QCOMPARE(w.prompts.messages.first().title, kTitle);
    QVERIFY(w.prompts.messages.first().text.startsWith(
        QStringLiteral("The page \"%1/Vignetta.html\" could not be written: ").arg(folder.path())));
    QCOMPARE(w.step(), int(kStep4));
    QVERIFY(!QFileInfo::exists(folder.path()));
}

void TestPageRoad::windowGoesOnWhileThePageIsSaved()
{
    ImageFolder folder({"a.jpg", "b.jpg"});
    WizardDriver w;
    w.advanceTo(kStep4, folder.path());
    auto gate = std::make_shared<QSemaphore>();
    w.form.setPageSaveHook([gate] { gate->tryAcquire(1, 10000); });
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, &ticker, [&] { ++ticks; });
    ticker.start(10);

    QTest::mouseClick(w.button(formVG::kFinish), Qt::LeftButton);
    QVERIFY(w.form.isSaving());
    // The window goes on handling events, with the busy cursor, and takes no other button:
    // a second Finish is no second save.
    QTRY_VERIFY(ticks > 5);
    QVERIFY(QApplication::overrideCursor() != nullptr);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    for (const int button : {formVG::kFinish, formVG::kBack, formVG::kAbout, formVG::kTutor})
        QTest::mouseClick(w.button(button), Qt::LeftButton);
    QCOMPARE(w.step(), int(kStep4));
    QCOMPARE(w.form.frontPanel(), int(kStep4));
    QVERIFY(!QFile::exists(folder.filePath("Vignetta.html")));

    gate->release();
    QTRY_COMPARE(w.step(), int(kCompletion));
    QCOMPARE(w.form.frontPanel(), int(kCompletion));
    QVERIFY(QFile::exists(folder.filePath("Vignetta.html")));
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QVERIFY(w.prompts.messages.isEmpty());
}

void TestPageRoad::exitWhileSavingStillWritesThePage()
{
    ImageFolder folder({"a.jpg", "b.jpg"});
    auto w = std::make_unique<WizardDriver>();
    w->advanceTo(kStep4, folder.path());
    w->form.setPageSaveHook([] { QThread::msleep(300); });
    QTest::mouseClick(w->button(formVG::kFinish), Qt::LeftButton);
    QTest::mouseClick(w->button(formVG::kExit), Qt::LeftButton);
    QVERIFY(!w->form.isVisible());
    QVERIFY(w->form.isSaving());
    // The window goes only once its page is on the disk, whole.
    w.reset();
    QVERIFY(readFile(folder.filePath("Vignetta.html")).endsWith("</html>\r\n"));
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestPageRoad::colourDialog()
{
    ImageFolder folder({"a.jpg"});
    WizardDriver w;
    w.advanceTo(kStep3, folder.path());
    Step3Panel* s3 = w.step3();
    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);

    // FG picks red; BG cancelled keeps white; BG picks blue.
    w.prompts.colorAnswers = {red, std::nullopt, blue};
    QTest::mouseClick(w.find<QPushButton>(memberName(u"cmdColor", Step3Panel::kForeground)),
                      Qt::LeftButton);
    QCOMPARE(s3->sampleColor(Step3Panel::kForeground), red);
    QTest::mouseClick(w.find<QPushButton>(memberName(u"cmdColor", Step3Panel::kBackground)),
                      Qt::LeftButton);
    QCOMPARE(s3->sampleColor(Step3Panel::kForeground), red);
    QCOMPARE(s3->sampleColor(Step3Panel::kBackground), QColor(Qt::white));
    QTest::mouseClick(w.find<QPushButton>(memberName(u"cmdColor", Step3Panel::kBackground)),
                      Qt::LeftButton);
    QCOMPARE(s3->sampleColor(Step3Panel::kBackground), blue);
    // Each dialog says which colour it changes and starts on that colour as it stands.
    QCOMPARE(w.prompts.colorDialogStarts, (QList<QColor>{Qt::black, Qt::white, Qt::white}));
    QCOMPARE(w.prompts.colorDialogTitles,
             (QStringList{"Text colour", "Background colour", "Background colour"}));

    w.click(formVG::kNext);
    w.click(formVG::kFinish);
    QCOMPARE(w.step(), int(kCompletion));
    QVERIFY(pageLines(readFile(folder.filePath("Vignetta.html")))
                .contains("   <body bgcolor=\"#0000FF\" text=\"#FF0000\" > "));
}

QTEST_MAIN(TestPageRoad)
#include "tst_page_road.moc"
