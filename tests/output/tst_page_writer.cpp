// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/page_files.h"
#include "support/page_state.h"

#include "core/wizard_state.h"
#include "output/index_page.h"
#include "output/page_writer.h"
#include "selection/name_collation.h"

#include <QTest>

using namespace vignetta;
using namespace Qt::Literals::StringLiterals;
using page_files::pageDifference;
using page_files::readFile;

namespace {} // namespace

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
    void longNamesOutgrowTheFirstGuess();
    void halfSurrogatePairStaysInItsOwnName();
    void pagePathJoinsWithOneSeparator();
    void thumbnailCells();
    void indexPagesOfManyPictures();
    void textAttribute_data();
    void textAttribute();
    void pixelLength_data();
    void pixelLength();
    void thumbnailFolderName_data();
    void thumbnailFolderName();
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

    WizardState state = pageState(names, columns);
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
    QTest::newRow("2.999 columns") << 5 << "2.999" << QList<int>{2, 2, 1};
    QTest::newRow("0 columns: one per row") << 2 << "0" << QList<int>{1, 1};
    QTest::newRow("negative columns: one per row") << 2 << "-3" << QList<int>{1, 1};
    QTest::newRow("no number: one per row") << 2 << "abc" << QList<int>{1, 1};
}

void TestPageWriter::tablesAndCells()
{
    QFETCH(int, images);
    QFETCH(QString, columns);
    QFETCH(QList<int>, cellsPerTable);

    QStringList names;
    for (int i = 0; i < images; ++i)
        names.append(QStringLiteral("p%1.jpg").arg(i));
    const QByteArray page = renderPage(pageState(names, columns));
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
    QTest::addColumn<QByteArray>("written");
    auto row = [](const char* what, const QString& name, const QByteArray& written) {
        QTest::newRow(what) << name << written;
    };
    row("plain", u"IMG_0001.JPG"_s, "IMG_0001.JPG");
    row("blank and ampersand as they are", u"my & your.jpg"_s, "my & your.jpg");
    row("apostrophe, brackets, plus", u"Anne's (2) +.gif"_s, "Anne's (2) +.gif");
    row("percent", u"100%.jpg"_s, "100%25.jpg");
    row("hash", u"a#1.jpg"_s, "a%231.jpg");
    row("question mark", u"why?.bmp"_s, "why%3F.bmp");
    row("colon: no scheme", u"09:10:11.jpg"_s, "09%3A10%3A11.jpg");
    row("double quote", u"say \"hi\".jpg"_s, "say &quot;hi&quot;.jpg");
    row("angle brackets", u"<b>.gif"_s, "&lt;b&gt;.gif");
    row("letter and colon: no scheme", u"c:x.jpg"_s, "c%3Ax.jpg");
    row("backslash: no folder", u"a\\b.jpg"_s, "a%5Cb.jpg");
    row("line break and tab", u"a\r\nb\tc.jpg"_s, "a%0D%0Ab%09c.jpg");
    row("other control characters", QString::fromUtf16(u"\u0001x\u001f\u007f.jpg"),
        "%01x%1F%7F.jpg");
    // Read by a browser as a character reference, so written as one for "&".
    row("ampersand before a reference's name", u"Tom &amp; Jerry.jpg"_s, "Tom &amp;amp; Jerry.jpg");
    row("ampersand before a name without semicolon", u"&copy.jpg"_s, "&amp;copy.jpg");
    row("ampersand before a number", u"&#38;.jpg"_s, "&amp;%2338;.jpg");
    row("ampersand at the end", u"a&.jpg&"_s, "a&.jpg&");
    // Browsers drop blanks at either end of a link; inside, they stay.
    row("blanks at both ends", u"  a b.jpg "_s, "%20%20a b.jpg%20");
    row("only blanks", u"   "_s, "%20%20%20");
    // Beyond ASCII: the bytes of the name, whatever encoding the browser guesses.
    row("accented letter", QString::fromUtf8("caf\u00e9.jpg"), "caf%C3%A9.jpg");
    row("letters of another script", QString::fromUtf8("\u5199\u771f.jpg"),
        "%E5%86%99%E7%9C%9F.jpg");
    row("half a surrogate pair", QString::fromUtf16(u"a\xd800.jpg"), "a%EF%BF%BD.jpg");
}

void TestPageWriter::linkAttribute()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, written);
    QCOMPARE(vignetta::linkAttribute(name), written);
}

void TestPageWriter::linkAttributeOfBytes_data()
{
    // A name's bytes that are UTF-8 give its text's link; the others are percent-encoded as
    // they are, so the link reaches the file whatever the encoding of its name.
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("plain") << QByteArray("IMG_0001.JPG") << QByteArray("IMG_0001.JPG");
    QTest::newRow("utf-8 percent-encoded")
        << QByteArray("caf\xC3\xA9 & co.jpg") << QByteArray("caf%C3%A9 & co.jpg");
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
        QCOMPARE(written, vignetta::linkAttribute(QString::fromUtf8(name)));
    // And so in the page, twice.
    NamePoolBuilder pool;
    pool.add(name);
    WizardState state = pageState({}, QStringLiteral("1"));
    state.sImageFiles = NameList(pool.build(), {0, NameList::kEmptyName});
    const QByteArray cell = "<A HREF=\"" + written + "\"><IMG SRC=\"" + written + '"';
    QVERIFY(renderPage(state).contains(cell));
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
    const QByteArray page = renderPage(pageState(names, QStringLiteral("3")));
    const QList<QByteArray> lines = page.split('\n');
    qsizetype cell = 0;
    for (const QByteArray& line : lines) {
        if (!line.startsWith("      <td "))
            continue;
        QVERIFY2(cell < names.size(), "more cells than names");
        const QByteArray written = vignetta::linkAttribute(names.at(cell));
        const QByteArray expected =
            "      <td align=center><A HREF=\"" + written + "\"><IMG SRC=\"" + written +
            "\"align=\"bottom\" img border=0 width=150 height=150></A></td>\r";
        QVERIFY2(line == expected, qPrintable(QStringLiteral("cell %1").arg(cell)));
        ++cell;
    }
    QCOMPARE(cell, names.size());
    QVERIFY(page.endsWith("</html>\r\n"));

    // Made in pieces, as Finish writes it, it is the same page, byte for byte.
    const WizardState state = pageState(names, QStringLiteral("3"));
    QByteArray joined;
    int pieces = 0;
    QVERIFY(renderPage(state, [&](QByteArrayView piece) {
        joined += piece;
        ++pieces;
        return true;
    }));
    QVERIFY(pieces > 1);
    QCOMPARE(joined, page);
    // A sink that gives the page up is given no more of it.
    pieces = 0;
    QVERIFY(!renderPage(state, [&](QByteArrayView) { return ++pieces > 1; }));
    QCOMPARE(pieces, 1);
}

void TestPageWriter::halfSurrogatePairStaysInItsOwnName()
{
    // A name ending in half a pair must not carry it into the next name's cell.
    const QStringList names{QString::fromUtf16(u"a\xd800"), QString::fromUtf16(u"\xdc00"
                                                                               u"b.jpg")};
    const QByteArray page = renderPage(pageState(names, QStringLiteral("1")));
    QVERIFY2(page.contains("<A HREF=\"a%EF%BF%BD\">"), page.constData());
    QVERIFY2(page.contains("<A HREF=\"%EF%BF%BD"
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

void TestPageWriter::thumbnailCells()
{
    // A folder name and image names that need care in every attribute; an image without a
    // thumbnail keeps its original in its cell, at its proportions; a thumbnail with a picture
    // page leads there; the title is text, whatever it holds.
    WizardState state = pageState({"a \"1\".jpg", "b.jpg", "c.jpg"}, "2");
    state.sWidth = "150px";
    state.sTitle = "Tom & <Jerry>";
    const QList<ThumbnailCell> cells{
        {"My #1 page_files/a_1-0123456789ab.jpg", 150, 113, ""},
        {"", 0, 0, ""},
        {"My #1 page_files/c-0123456789ab.png", 75, 150, "My #1 page_files/c-0123456789ab.html"}};
    const IndexSettings settings{"My #1 page_files", "de-CH"};
    const QByteArray page = renderIndexPage(state, cells, 1, settings);
    QVERIFY(page.startsWith("<!DOCTYPE html>\n<html lang=\"de-CH\">\n"));
    QVERIFY(page.contains("<title>Tom &amp; &lt;Jerry&gt;</title>"));
    QVERIFY(page.contains("<h1>Tom &amp; &lt;Jerry&gt;</h1>"));
    QVERIFY(!page.contains("<nav")); // one index page
    // Rows of at most two boxes of 150 + 2 x (3 + 2), and never wider than the window.
    QVERIFY(page.contains("max-width: 326px;"));
    QVERIFY(page.contains("width: 160px; max-width: 100%; height: 160px;"));
    QStringList lines;
    for (const QByteArray& line : page.split('\n')) {
        if (line.startsWith("<li>"))
            lines.append(QString::fromUtf8(line));
    }
    QCOMPARE(
        lines,
        (QStringList{
            R"(<li><a href="a &quot;1&quot;.jpg"><img src="My %231 page_files/a_1-0123456789ab.jpg" width="150" height="113" style="aspect-ratio: 150 / 113" alt="a &quot;1&quot;.jpg" loading="lazy"></a></li>)",
            R"(<li><a href="b.jpg"><img src="b.jpg" style="max-height: 150px" alt="b.jpg" loading="lazy"></a></li>)",
            R"(<li><a href="My %231 page_files/c-0123456789ab.html"><img src="My %231 page_files/c-0123456789ab.png" width="75" height="150" style="aspect-ratio: 75 / 150" alt="c.jpg" loading="lazy"></a></li>)",
        }));
}

void TestPageWriter::indexPagesOfManyPictures()
{
    // 1,201 pictures: three index pages, the first the page named, the others beside the
    // thumbnails, each leading to every other.
    QStringList names;
    for (int i = 0; i < 1201; ++i)
        names.append(u"p%1.jpg"_s.arg(i));
    WizardState state = pageState(names, "5");
    QList<ThumbnailCell> cells;
    for (int i = 0; i < 1201; ++i)
        cells.append({u"Vignetta_files/p%1-0123456789ab.jpg"_s.arg(i), 150, 100,
                      i % 2 == 0 ? u"Vignetta_files/p%1-0123456789ab.html"_s.arg(i) : QString()});
    QCOMPARE(indexPageCount(1201), 3);
    QCOMPARE(indexPageCount(0), 1);
    QCOMPARE(indexPageOf(499), 1);
    QCOMPARE(indexPageOf(500), 2);
    const IndexSettings settings{"Vignetta_files", "en"};
    const QByteArray first = renderIndexPage(state, cells, 1, settings);
    const QByteArray second = renderIndexPage(state, cells, 2, settings);
    const QByteArray last = renderIndexPage(state, cells, 3, settings);
    QCOMPARE(first.count("<li>"), 500);
    QCOMPARE(second.count("<li>"), 500);
    QCOMPARE(last.count("<li>"), 201);
    QVERIFY(first.contains("<title>Vignetta (page 1 of 3)</title>"));
    // Links above and below; where one cannot lead anywhere, it is plain text.
    QCOMPARE(second.count("<nav aria-label=\"Index pages\">"), 2);
    QVERIFY(first.contains(R"(<span class="off">First</span>)"));
    QVERIFY(
        first.contains(R"(<a href="Vignetta_files/index-2.html" aria-label="Next page">Next</a>)"));
    QVERIFY(
        first.contains(R"(<a href="Vignetta_files/index-3.html" aria-label="Last page">Last</a>)"));
    QVERIFY(second.contains(R"(<a href="../Vignetta.html" aria-label="First page">First</a>)"));
    QVERIFY(second.contains(R"(<span aria-current="page">2</span>)"));
    QVERIFY(second.contains(R"(<a href="index-3.html" aria-label="Page 3">3</a>)"));
    QVERIFY(last.contains(R"(<span class="off">Next</span>)"));
    // From beside the thumbnails: the thumbnails and pages there, the originals one up.
    QVERIFY(second.contains(
        R"(<li><a href="p500-0123456789ab.html"><img src="p500-0123456789ab.jpg" )"));
    QVERIFY(second.contains(R"(<li><a href="../p501.jpg"><img src="p501-0123456789ab.jpg" )"));
    QVERIFY(
        first.contains(R"(<li><a href="p1.jpg"><img src="Vignetta_files/p1-0123456789ab.jpg" )"));
}

void TestPageWriter::textAttribute_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain, percent and hash as they are") << "100% #1.jpg"
                                                         << "100% #1.jpg";
    QTest::newRow("ampersand") << "a & b.jpg"
                               << "a &amp; b.jpg";
    QTest::newRow("quote and brackets") << "\"<b>\".jpg"
                                        << "&quot;&lt;b&gt;&quot;.jpg";
    QTest::newRow("line break and control characters")
        << QString::fromUtf16(u"a\r\nb\u0001\u007f.jpg") << "a&#13;&#10;b&#1;&#127;.jpg";
    QTest::newRow("accents as they are")
        << QString::fromUtf8("\u00e9t\u00e9.jpg") << QString::fromUtf8("\u00e9t\u00e9.jpg");
}

void TestPageWriter::textAttribute()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    QCOMPARE(vignetta::textAttribute(text), written);
}

void TestPageWriter::pixelLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pixels"); // 0: not a plain number of pixels
    QTest::newRow("150") << "150" << 150;
    QTest::newRow("150px") << "150px" << 150;
    QTest::newRow("blanks and PX") << " 150 PX " << 150;
    QTest::newRow("decimal rounded") << "80.5" << 81;
    QTest::newRow("decimal point alone") << "80." << 80;
    QTest::newRow("huge held") << "99999999999" << vignetta::kLargestPixelLength;
    QTest::newRow("50%") << "50%" << 0;
    QTest::newRow("12em") << "12em" << 0;
    QTest::newRow("abc") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("below half a pixel") << "0.4" << 0;
    QTest::newRow("negative") << "-150" << 0;
    QTest::newRow("exponent") << "1e3" << 0;
    QTest::newRow("px then more") << "150pxx" << 0;
    QTest::newRow("two numbers") << "150 150" << 0;
}

void TestPageWriter::pixelLength()
{
    QFETCH(QString, text);
    QFETCH(int, pixels);
    const std::optional<int> length = vignetta::pixelLength(text);
    QCOMPARE(length.value_or(0), pixels);
}

void TestPageWriter::thumbnailFolderName_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("folder");
    QTest::newRow("html") << "Holiday.html"
                          << "Holiday_files";
    QTest::newRow("blanks trimmed, last extension only") << " my.trip.htm "
                                                         << "my.trip_files";
    QTest::newRow("no extension") << "Holiday"
                                  << "Holiday_files";
}

void TestPageWriter::thumbnailFolderName()
{
    QFETCH(QString, page);
    QFETCH(QString, folder);
    QCOMPARE(vignetta::thumbnailFolderName(page), folder);
}

QTEST_MAIN(TestPageWriter)
#include "tst_page_writer.moc"
