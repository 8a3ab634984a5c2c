#include "support/image_folder.h"
#include "support/page_files.h"

#include "core/wizard_state.h"
#include "output/page_writer.h"
#include "selection/name_collation.h"

#include <QFile>
#include <QTest>

using namespace vignetta;
using page_files::pageDifference;
using page_files::readFile;

namespace {

WizardState stateFor(const QStringList& names, const QString& columns)
{
    WizardState state;
    state.sImageFiles = names;
    state.sImageFiles.append(QString());
    state.sWidth = QStringLiteral("150");
    state.sHeight = QStringLiteral("150");
    state.sColumns = columns;
    state.bBorder = true;
    state.sThickness = QStringLiteral("2");
    state.sForeColor = QStringLiteral("#000000");
    state.sBackColor = QStringLiteral("#FFFFFF");
    state.sFileName = QStringLiteral("Vignetta.html");
    return state;
}

} // namespace

class TestPageWriter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void wholePages_data();
    void wholePages();
    void tablesAndCells_data();
    void tablesAndCells();
    void linkAttribute_data();
    void linkAttribute();
    void linkAttributeOfBytes_data();
    void linkAttributeOfBytes();
    void cellsPerRow_data();
    void cellsPerRow();
    void longNamesOutgrowTheFirstGuess();
    void halfSurrogatePairStaysInItsOwnName();
    void pagePathJoinsWithOneSeparator();
    void savingReplacesAnExistingPage();
    void failuresKeepWhatWasThere_data();
    void failuresKeepWhatWasThere();
};

void TestPageWriter::wholePages_data()
{
    QTest::addColumn<QString>("expectedFile");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QStringList>("fields"); // width, height, thickness, fore, back

    const QStringList defaults{"150", "150", "2", "#000000", "#FFFFFF"};
    QTest::newRow("three images, two columns")
        << "three_in_rows_of_two.html" << QStringList{"a.jpg", "b.gif", "c.bmp"} << "2" << defaults;
    QTest::newRow("five images, 2.5 columns, typed sizes, empty thickness")
        << "five_by_two_and_a_half.html"
        << QStringList{"IMG_1.jpg", "IMG_2.jpg", "IMG_10.jpg", "my & your.gif", "Z.BMP"} << "2.5"
        << QStringList{"150px", "80", "", "#ABCDEF", "#0000FF"};
    QTest::newRow("names needing care, one row, no border")
        << "one_row_no_border.html"
        << QStringList{"100%.jpg", "09:10:11.jpg", "a#1.jpg", "\"q\" <b>.gif",
                       QString::fromUtf8("\u00e9t\u00e9.jpg")}
        << "5" << QStringList{"64", "48", "0", "#000000", "#FFFFFF"};
    QTest::newRow("no images") << "no_images.html" << QStringList{} << "1" << defaults;
}

void TestPageWriter::wholePages()
{
    QFETCH(QString, expectedFile);
    QFETCH(QStringList, names);
    QFETCH(QString, columns);
    QFETCH(QStringList, fields);

    WizardState state = stateFor(names, columns);
    state.sWidth = fields[0];
    state.sHeight = fields[1];
    state.sThickness = fields[2];
    state.sForeColor = fields[3];
    state.sBackColor = fields[4];
    const QString path = QFINDTESTDATA(QStringLiteral("data/") + expectedFile);
    QVERIFY2(!path.isEmpty(), qPrintable(expectedFile));
    const QString difference = pageDifference(renderPage(state), readFile(path));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestPageWriter::tablesAndCells_data()
{
    QTest::addColumn<int>("images");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QList<int>>("cellsPerTable");

    QTest::newRow("3 images, 2 columns") << 3 << "2" << QList<int>{2, 1};
    QTest::newRow("4 images, 2 columns: no empty table") << 4 << "2" << QList<int>{2, 2};
    QTest::newRow("5 images, 2.5 columns") << 5 << "2.5" << QList<int>{2, 2, 1};
    QTest::newRow("columns = images") << 4 << "4" << QList<int>{4};
    QTest::newRow("one column") << 3 << "1" << QList<int>{1, 1, 1};
    QTest::newRow("0.5 columns: one per row") << 3 << "0.5" << QList<int>{1, 1, 1};
    QTest::newRow("huge column value") << 3 << QString(40, u'9') << QList<int>{3};
    QTest::newRow("columns with blanks and unit") << 5 << " 3 cols" << QList<int>{3, 2};
}

void TestPageWriter::tablesAndCells()
{
    QFETCH(int, images);
    QFETCH(QString, columns);
    QFETCH(QList<int>, cellsPerTable);

    QStringList names;
    for (int i = 0; i < images; ++i)
        names.append(QStringLiteral("p%1.jpg").arg(i));
    const QByteArray page = renderPage(stateFor(names, columns));
    const QList<QByteArray> lines = page.split('\n');

    QList<int> found;
    int cellsSeen = 0;
    for (const QByteArray& line : lines) {
        if (line.startsWith("   <table "))
            found.append(0);
        if (line.startsWith("      <td ")) {
            QVERIFY(!found.isEmpty());
            // Every image once, in order.
            QVERIFY(line.contains(QByteArray("\"p" + QByteArray::number(cellsSeen) + ".jpg\"")));
            ++found.last();
            ++cellsSeen;
        }
    }
    QCOMPARE(found, cellsPerTable);
    QVERIFY(page.endsWith("</html>\r\n"));
    QCOMPARE(page.count("\r\n"), page.count('\n'));
}

void TestPageWriter::linkAttribute_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << "IMG_0001.JPG"
                           << "IMG_0001.JPG";
    QTest::newRow("blank and ampersand as they are") << "my & your.jpg"
                                                     << "my & your.jpg";
    QTest::newRow("apostrophe, brackets, plus") << "Anne's (2) +.gif"
                                                << "Anne's (2) +.gif";
    QTest::newRow("percent") << "100%.jpg"
                             << "100%25.jpg";
    QTest::newRow("hash") << "a#1.jpg"
                          << "a%231.jpg";
    QTest::newRow("question mark") << "why?.bmp"
                                   << "why%3F.bmp";
    QTest::newRow("colon: no scheme") << "09:10:11.jpg"
                                      << "09%3A10%3A11.jpg";
    QTest::newRow("double quote") << "say \"hi\".jpg"
                                  << "say &quot;hi&quot;.jpg";
    QTest::newRow("angle brackets") << "<b>.gif"
                                    << "&lt;b&gt;.gif";
    QTest::newRow("accented letter as it is")
        << QString::fromUtf8("caf\u00e9.jpg") << QString::fromUtf8("caf\u00e9.jpg");
    QTest::newRow("letter and colon: no scheme") << "c:x.jpg"
                                                 << "c%3Ax.jpg";
    QTest::newRow("backslash: no folder") << "a\\b.jpg"
                                          << "a%5Cb.jpg";
    QTest::newRow("line break and tab") << "a\r\nb\tc.jpg"
                                        << "a%0D%0Ab%09c.jpg";
    QTest::newRow("other control characters")
        << QString::fromUtf16(u"\u0001x\u001f\u007f.jpg") << "%01x%1F%7F.jpg";
    QTest::newRow("half a surrogate pair kept in place")
        << QString::fromUtf16(u"a\xd800.jpg") << QString::fromUtf16(u"a\xd800.jpg");
}

void TestPageWriter::linkAttribute()
{
    QFETCH(QString, name);
    QFETCH(QString, written);
    QCOMPARE(vignetta::linkAttribute(name), written);
}

void TestPageWriter::linkAttributeOfBytes_data()
{
    // A name's bytes that are UTF-8 give the bytes of its text's link; others are
    // percent-encoded, so the link reaches the file whatever the encoding of its name.
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("plain") << QByteArray("IMG_0001.JPG") << QByteArray("IMG_0001.JPG");
    QTest::newRow("utf-8 as it is")
        << QByteArray("caf\xC3\xA9 & co.jpg") << QByteArray("caf\xC3\xA9 & co.jpg");
    QTest::newRow("latin-1 percent-encoded")
        << QByteArray("caf\xE9.jpg") << QByteArray("caf%E9.jpg");
    QTest::newRow("latin-1 beside what needs care")
        << QByteArray("\"\xE9t\xE9\" 50%.gif") << QByteArray("&quot;%E9t%E9&quot; 50%25.gif");
    QTest::newRow("cut sequence") << QByteArray("a\xC3.bmp") << QByteArray("a%C3.bmp");
}

void TestPageWriter::linkAttributeOfBytes()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, written);
    QCOMPARE(vignetta::linkAttribute(QByteArrayView(name)), written);
    if (isUtf8(name))
        QCOMPARE(written, vignetta::linkAttribute(QString::fromUtf8(name)).toUtf8());
    // And so in the page, twice.
    NamePoolBuilder pool;
    pool.add(name);
    WizardState state = stateFor({}, QStringLiteral("1"));
    state.sImageFiles = NameList(pool.build(), {0, NameList::kEmptyName});
    const QByteArray cell = "<A HREF=\"" + written + "\"><IMG SRC=\"" + written + '"';
    QVERIFY(renderPage(state).contains(cell));
}

void TestPageWriter::cellsPerRow_data()
{
    QTest::addColumn<QString>("columns");
    QTest::addColumn<qsizetype>("cells");
    QTest::newRow("1") << "1" << qsizetype(1);
    QTest::newRow("2.5") << "2.5" << qsizetype(2);
    QTest::newRow("2.999") << "2.999" << qsizetype(2);
    QTest::newRow("0.5 raised to one") << "0.5" << qsizetype(1);
    QTest::newRow("0 raised to one") << "0" << qsizetype(1);
    QTest::newRow("negative raised to one") << "-3" << qsizetype(1);
    QTest::newRow("12abc") << "12abc" << qsizetype(12);
    QTest::newRow("32767") << "32767" << qsizetype(32767);
}

void TestPageWriter::cellsPerRow()
{
    QFETCH(QString, columns);
    QFETCH(qsizetype, cells);
    QCOMPARE(vignetta::cellsPerRow(columns), cells);
}

void TestPageWriter::longNamesOutgrowTheFirstGuess()
{
    // Names far longer than usual, some needing care, some accented: each cell still carries
    // its own name twice, whole.
    QStringList names;
    for (int i = 0; i < 3000; ++i) {
        QString name = QStringLiteral("%1 ").arg(i, 5, 10, QChar(u'0')) +
                       QString(400, i % 3 == 0 ? QChar(0x00e9) : QChar(u'n'));
        if (i % 7 == 0)
            name += QStringLiteral(" #%1?.jpg").arg(i);
        else
            name += QStringLiteral(".jpg");
        names.append(name);
    }
    const QByteArray page = renderPage(stateFor(names, QStringLiteral("3")));
    const QList<QByteArray> lines = page.split('\n');
    qsizetype cell = 0;
    for (const QByteArray& line : lines) {
        if (!line.startsWith("      <td "))
            continue;
        QVERIFY2(cell < names.size(), "more cells than names");
        const QByteArray written = vignetta::linkAttribute(names.at(cell)).toUtf8();
        const QByteArray expected =
            "      <td align=center><A HREF=\"" + written + "\"><IMG SRC=\"" + written +
            "\"align=\"bottom\" img border=0 width=150 height=150></A></td>\r";
        QVERIFY2(line == expected, qPrintable(QStringLiteral("cell %1").arg(cell)));
        ++cell;
    }
    QCOMPARE(cell, names.size());
    QVERIFY(page.endsWith("</html>\r\n"));
}

void TestPageWriter::halfSurrogatePairStaysInItsOwnName()
{
    // A name ending in half a pair must not carry it into the next name's cell.
    const QStringList names{QString::fromUtf16(u"a\xd800"), QString::fromUtf16(u"\xdc00"
                                                                               u"b.jpg")};
    const QByteArray page = renderPage(stateFor(names, QStringLiteral("1")));
    QVERIFY2(page.contains("<A HREF=\"a\xEF\xBF\xBD\">"), page.constData());
    QVERIFY2(page.contains("<A HREF=\"\xEF\xBF\xBD"
                           "b.jpg\">"),
             page.constData());
    QVERIFY(!page.contains("\xF0"));
}

void TestPageWriter::pagePathJoinsWithOneSeparator()
{
    QCOMPARE(pagePath(QStringLiteral("/home/me/pics"), QStringLiteral("  my page.htm  ")),
             QStringLiteral("/home/me/pics/my page.htm"));
    QCOMPARE(pagePath(QStringLiteral("/"), QStringLiteral("Vignetta.html")),
             QStringLiteral("//Vignetta.html"));
}

void TestPageWriter::savingReplacesAnExistingPage()
{
    ImageFolder folder;
    QFile old(folder.filePath("Vignetta.html"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
    old.close();

    const QByteArray page = renderPage(stateFor({"a.jpg"}, "1"));
    const SaveResult saved = savePage(folder.path(), QStringLiteral(" Vignetta.html "), page);
    QVERIFY2(saved.ok, qPrintable(saved.error));
    QCOMPARE(readFile(folder.filePath("Vignetta.html")), page);
    // No temporary file is left beside it.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"Vignetta.html"});
}

void TestPageWriter::failuresKeepWhatWasThere_data()
{
    QTest::addColumn<QString>("case_");
    QTest::newRow("name over 255 bytes") << "long";
    QTest::newRow("name of an existing directory") << "directory";
    QTest::newRow("directory vanished") << "vanished";
    QTest::newRow("name with a separator") << "separator";
}

void TestPageWriter::failuresKeepWhatWasThere()
{
    QFETCH(QString, case_);
    ImageFolder folder;
    folder.addDirs({"album.html", "gone"});
    QFile keep(folder.filePath("keep.html"));
    QVERIFY(keep.open(QIODevice::WriteOnly));
    keep.write("the user's own page");
    keep.close();

    QString directory = folder.path();
    QString name;
    if (case_ == "long") {
        name = QString(300, u'a') + QStringLiteral(".html");
    } else if (case_ == "directory") {
        name = QStringLiteral("album.html");
    } else if (case_ == "vanished") {
        directory = folder.filePath("gone");
        QVERIFY(QDir(directory).removeRecursively());
        name = QStringLiteral("Vignetta.html");
    } else {
        name = QStringLiteral("../keep.html");
        directory = folder.filePath("gone");
    }
    const SaveResult saved = savePage(directory, name, renderPage(stateFor({"a.jpg"}, "1")));
    QVERIFY(!saved.ok);
    QVERIFY(!saved.error.isEmpty());
    // Nothing was lost or half written.
    QCOMPARE(readFile(folder.filePath("keep.html")), QByteArray("the user's own page"));
    QVERIFY(QFileInfo(folder.filePath("album.html")).isDir());
    QStringList left = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, QStringList{"keep.html"});
}

QTEST_MAIN(TestPageWriter)
#include "tst_page_writer.moc"
