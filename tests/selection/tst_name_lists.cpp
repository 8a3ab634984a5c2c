// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/file_names.h"
#include "selection/file_pattern.h"
#include "selection/name_collation.h"
#include "selection/name_moves.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using namespace vignetta;

namespace {

QStringList textsOf(const NameList& list)
{
    return list.toStringList();
}

// A sorted list of the given names, each name standing in the pool once.
NameList sortedOf(const QStringList& names)
{
    return NameList::wholePool(sortedPool(names));
}

// The part of `all` (a whole pool) named, as a list over the same pool.
NameList partOf(const NameList& all, const QStringList& names)
{
    BigVector<std::uint32_t> positions;
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (names.contains(all.at(i)))
            positions.push_back(all.positionAt(i));
    }
    return {all.pool(), positions};
}

RowBitmap flags(const QString& pattern)
{
    RowBitmap bits(static_cast<std::size_t>(pattern.size()));
    for (qsizetype i = 0; i < pattern.size(); ++i)
        bits.set(static_cast<std::size_t>(i), pattern[i] == u'x');
    return bits;
}

bool isAscending(const NameList& list)
{
    for (qsizetype i = 1; i < list.size(); ++i) {
        if (list.positionAt(i - 1) >= list.positionAt(i))
            return false;
    }
    return true;
}

} // namespace

class TestNameLists : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void displayName_data();
    void displayName();
    void collationOrder_data();
    void collationOrder();
    void collationIsTotal();
    void sortKeepsTheOrderOfKeyAndText();
    void pattern_data();
    void pattern();
    void moveHighlighted_data();
    void moveHighlighted();
    void moveAll();
    void moveKeepsTargetHighlight();
    void imageFilesKeepTheirBytes();
};

void TestNameLists::displayName_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("utf8");
    QTest::newRow("ascii") << QByteArray("IMG_0001.jpg") << "IMG_0001.jpg" << true;
    QTest::newRow("utf-8") << QByteArray("caf\xC3\xA9.jpg") << QStringLiteral("caf\u00e9.jpg")
                           << true;
    QTest::newRow("latin-1") << QByteArray("caf\xE9.jpg") << QStringLiteral("caf\u00e9.jpg")
                             << false;
    QTest::newRow("windows-1252 euro, unassigned 0x81")
        << QByteArray("\x80\x81.gif") << QStringLiteral("\u20ac\ufffd.gif") << false;
    QTest::newRow("overlong slash")
        << QByteArray("a\xC0\xAF.bmp") << QStringLiteral("a\u00c0\u00af.bmp") << false;
    QTest::newRow("encoded surrogate")
        << QByteArray("\xED\xA0\x80.jpg") << QStringLiteral("\u00ed\u00a0\u20ac.jpg") << false;
    QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x93\xB7.jpg")
                                << QString::fromUtf8("\xF0\x9F\x93\xB7.jpg") << true;
    QTest::newRow("byte-order mark kept")
        << QByteArray("\xEF\xBB\xBFx.jpg") << QStringLiteral("\ufeffx.jpg") << true;
    QTest::newRow("truncated sequence")
        << QByteArray("x\xC3") << QStringLiteral("x\u00c3") << false;
}

void TestNameLists::displayName()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QFETCH(bool, utf8);
    QCOMPARE(vignetta::displayName(bytes), shown);
    QCOMPARE(isUtf8(bytes), utf8);
    if (utf8)
        QCOMPARE(fileNameBytes(shown), bytes);
}

void TestNameLists::collationOrder_data()
{
    QTest::addColumn<QList<QByteArray>>("input");
    QTest::addColumn<QList<QByteArray>>("expected");
    using L = QList<QByteArray>;

    QTest::newRow("case ignored") << L{"c.bmp", "b.gif", "A.JPG"} << L{"A.JPG", "b.gif", "c.bmp"};
    QTest::newRow("numbers by value")
        << L{"IMG_10.jpg", "IMG_2.jpg", "IMG_1.jpg"} << L{"IMG_1.jpg", "IMG_2.jpg", "IMG_10.jpg"};
    QTest::newRow("leading zeros equal value, exact text breaks the tie")
        << L{"p2.jpg", "p02.jpg", "p1.jpg"} << L{"p1.jpg", "p02.jpg", "p2.jpg"};
    QTest::newRow("long numbers") << L{"a100000000000000000000.jpg", "a99.jpg"}
                                  << L{"a99.jpg", "a100000000000000000000.jpg"};
    QTest::newRow("accents ignored") << L{"zoo.jpg", "\xC3\xA9t\xC3\xA9.jpg", "fleur.jpg"}
                                     << L{"\xC3\xA9t\xC3\xA9.jpg", "fleur.jpg", "zoo.jpg"};
    QTest::newRow("same letters, upper case first") << L{"a.jpg", "A.jpg"} << L{"A.jpg", "a.jpg"};
    QTest::newRow("shorter prefix first") << L{"ab.jpg", "a.jpg"} << L{"a.jpg", "ab.jpg"};
    QTest::newRow("zero") << L{"x1.gif", "x0.gif"} << L{"x0.gif", "x1.gif"};
    QTest::newRow("prefix longer than a piece") << L{"holiday_2023_b.jpg", "Holiday_2023_a.jpg"}
                                                << L{"Holiday_2023_a.jpg", "holiday_2023_b.jpg"};
    QTest::newRow("latin-1 among utf-8, by what it shows")
        << L{"cage.jpg", "caf\xE9.jpg", "cabin.jpg"} << L{"cabin.jpg", "caf\xE9.jpg", "cage.jpg"};
    QTest::newRow("two encodings of one name: bytes decide")
        << L{"caf\xE9.jpg", "caf\xC3\xA9.jpg"} << L{"caf\xC3\xA9.jpg", "caf\xE9.jpg"};
}

void TestNameLists::collationOrder()
{
    QFETCH(QList<QByteArray>, input);
    QFETCH(QList<QByteArray>, expected);
    for (int pass = 0; pass < 2; ++pass) {
        NamePoolBuilder builder;
        for (const QByteArray& name : input)
            builder.add(name);
        const std::shared_ptr<const NamePool> pool = builder.build();
        QList<QByteArray> sorted;
        for (std::uint32_t i = 0; i < pool->size(); ++i)
            sorted.append(pool->bytes(i).toByteArray());
        QCOMPARE(sorted, expected);
        // Every order of the input gives the same result.
        std::reverse(input.begin(), input.end());
    }
}

void TestNameLists::collationIsTotal()
{
    // Distinct names never collate as equal, so both lists sort them one way only.
    const QStringList names{"a.jpg",  "A.jpg",  "a01.jpg",
                            "a1.jpg", "A1.JPG", QString::fromUtf8("\u00e1.jpg")};
    for (const QString& x : names) {
        for (const QString& y : names) {
            if (x == y)
                continue;
            QVERIFY2(collatesBefore(x, y) != collatesBefore(y, x), qPrintable(x + u" vs " + y));
        }
    }
}

void TestNameLists::sortKeepsTheOrderOfKeyAndText()
{
    // The sort works on pieces of keys; its order must be the one of whole keys, then the text:
    // names that share long prefixes, differ in case only, hold numbers of every length, or
    // letters outside ASCII, in their thousands, so every path of the radix sort is taken.
    QRandomGenerator random(20240611);
    const QStringList stems{"IMG_",
                            "img_",
                            "DSC",
                            "Holiday 2023 ",
                            "holiday 2023 ",
                            QString::fromUtf8("\u00c9t\u00e9 "),
                            QString::fromUtf8("\u00e9t\u00e9 "),
                            "a",
                            "A",
                            "zz",
                            QString::fromUtf8("\u4e2d\u6587"),
                            "x0",
                            "x00"};
    const QStringList ends{".jpg", ".JPG", ".gif", " copy.jpg", "b.bmp", ""};
    QStringList names;
    for (int i = 0; i < 6000; ++i) {
        QString name = stems[random.bounded(int(stems.size()))];
        const int digits = random.bounded(12);
        for (int d = 0; d < digits; ++d)
            name += QChar(u'0' + random.bounded(10));
        name += ends[random.bounded(int(ends.size()))];
        if (!names.contains(name))
            names.append(name);
    }
    const std::shared_ptr<const NamePool> pool = sortedPool(names);
    QCOMPARE(qsizetype(pool->size()), names.size());

    // The order as it was defined on texts: the key, then the exact text.
    QStringList expected = names;
    std::sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) {
        const int byKey = QString::compare(collationKey(a), collationKey(b), Qt::CaseSensitive);
        return byKey != 0 ? byKey < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    for (std::uint32_t i = 0; i < pool->size(); ++i)
        QCOMPARE(pool->text(i), expected[i]);
    for (std::uint32_t i = 1; i < pool->size(); ++i)
        QVERIFY(compareNames(pool->bytes(i - 1), pool->bytes(i)) < 0);
}

void TestNameLists::pattern_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("listed");
    QTest::newRow("jpg upper") << QByteArray("A.JPG") << true;
    QTest::newRow("gif") << QByteArray("b.gif") << true;
    QTest::newRow("bmp mixed") << QByteArray("c.Bmp") << true;
    QTest::newRow("png") << QByteArray("d.png") << false;
    QTest::newRow("jpeg") << QByteArray("e.jpeg") << false;
    QTest::newRow("jpg inside") << QByteArray("f.jpg.txt") << false;
    QTest::newRow("blank and ampersand") << QByteArray("my & your.jpg") << true;
    QTest::newRow("no extension") << QByteArray("jpg") << false;
    QTest::newRow("latin-1 name") << QByteArray("\xE9t\xE9.JPG") << true;
    QTest::newRow("latin-1 text file") << QByteArray("\xE9t\xE9.txt") << false;
}

void TestNameLists::pattern()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, listed);
    const FilePattern images(QStringLiteral("*.jpg;*.gif;*.bmp"));
    QCOMPARE(images.matches(QByteArrayView(name)), listed);
    QCOMPARE(images.matches(QStringView(vignetta::displayName(name))), listed);
    // A letter outside ASCII whose case folds into a suffix counts on the bytes too.
    const FilePattern kelvin(QStringLiteral("*.mk"));
    QVERIFY(kelvin.matches(QByteArrayView("a.m\xE2\x84\xAA")));
    QVERIFY(!kelvin.matches(QByteArrayView("a.mx")));
}

void TestNameLists::moveHighlighted_data()
{
    QTest::addColumn<QStringList>("from");
    QTest::addColumn<QStringList>("to");
    QTest::addColumn<QString>("take");
    QTest::addColumn<QStringList>("fromAfter");
    QTest::addColumn<QStringList>("toAfter");

    QTest::newRow("first and last")
        << QStringList{"A.JPG", "b.gif", "c.bmp"} << QStringList{} << "x.x" << QStringList{"b.gif"}
        << QStringList{"A.JPG", "c.bmp"};
    QTest::newRow("nothing highlighted")
        << QStringList{"A.JPG", "b.gif"} << QStringList{"c.bmp"} << ".."
        << QStringList{"A.JPG", "b.gif"} << QStringList{"c.bmp"};
    QTest::newRow("merge between")
        << QStringList{"img2.jpg", "img4.jpg"} << QStringList{"img1.jpg", "img3.jpg", "img10.jpg"}
        << "xx" << QStringList{}
        << QStringList{"img1.jpg", "img2.jpg", "img3.jpg", "img4.jpg", "img10.jpg"};
    QTest::newRow("every other") << QStringList{"a", "b", "c", "d", "e"} << QStringList{"bb"}
                                 << "x.x.x" << QStringList{"b", "d"}
                                 << QStringList{"a", "bb", "c", "e"};
    QTest::newRow("flags short of the list") << QStringList{"a", "b", "c"} << QStringList{} << "x"
                                             << QStringList{"b", "c"} << QStringList{"a"};
}

void TestNameLists::moveHighlighted()
{
    QFETCH(QStringList, from);
    QFETCH(QStringList, to);
    QFETCH(QString, take);
    QFETCH(QStringList, fromAfter);
    QFETCH(QStringList, toAfter);

    const NameList all = sortedOf(from + to);
    NameList source = partOf(all, from);
    NameList target = partOf(all, to);
    RowBitmap highlight(static_cast<std::size_t>(target.size()));
    moveNames(source, flags(take), target, highlight);
    QCOMPARE(textsOf(source), fromAfter);
    QCOMPARE(textsOf(target), toAfter);
    QVERIFY(isAscending(source));
    QVERIFY(isAscending(target));
    QCOMPARE(highlight.size(), std::size_t(target.size()));
    QVERIFY(!highlight.any());
}

void TestNameLists::moveAll()
{
    QStringList many;
    for (int i = 0; i < 1000; ++i)
        many.append(QStringLiteral("IMG_%1.jpg").arg(i));
    const NameList all = sortedOf(many);
    NameList source = all;
    NameList target;
    RowBitmap highlight;
    moveAllNames(source, target, highlight);
    QVERIFY(source.isEmpty());
    QCOMPARE(target.size(), 1000);
    QVERIFY(target == all);
    // And back: the same names, the same order.
    NameList back(all.pool(), {});
    RowBitmap none;
    moveAllNames(target, back, none);
    QVERIFY(back == all);
    QCOMPARE(back.at(0), QStringLiteral("IMG_0.jpg"));
    QCOMPARE(back.at(999), QStringLiteral("IMG_999.jpg"));
    // From an empty list nothing changes.
    moveAllNames(source, back, none);
    QCOMPARE(back.size(), 1000);
}

void TestNameLists::moveKeepsTargetHighlight()
{
    const NameList all = sortedOf({"a", "b", "c", "d", "e"});
    NameList source = partOf(all, {"b", "d"});
    NameList target = partOf(all, {"a", "c", "e"});
    RowBitmap highlight = flags(".x."); // "c" is highlighted
    moveAllNames(source, target, highlight);
    QCOMPARE(textsOf(target), (QStringList{"a", "b", "c", "d", "e"}));
    QVERIFY(highlight == flags("..x.."));

    // Highlighted rows at both ends and arrivals around them.
    source = partOf(all, {"b", "c", "d"});
    target = partOf(all, {"a", "e"});
    highlight = flags("xx");
    moveNames(source, flags(".x."), target, highlight);
    QCOMPARE(textsOf(target), (QStringList{"a", "c", "e"}));
    QVERIFY(highlight == flags("x.x"));
}

void TestNameLists::imageFilesKeepTheirBytes()
{
    // The wizard's record of the chosen names keeps each name's bytes; the text is for show.
    NamePoolBuilder builder;
    builder.add("caf\xE9.jpg");
    builder.add("caf\xE8.jpg");
    const std::shared_ptr<const NamePool> pool = builder.build();
    const NameList files(pool, {0, 1, NameList::kEmptyName});
    QCOMPARE(files.size(), 3);
    QCOMPARE(files.bytesAt(1), QByteArrayView("caf\xE9.jpg"));
    QCOMPARE(files.at(1), QStringLiteral("caf\u00e9.jpg"));
    QVERIFY(files.at(0) != files.at(1));
    QCOMPARE(files.at(2), QString());
    QCOMPARE(files.at(3), QString());

    // A list written down as texts is taken as the UTF-8 of each.
    NameList texts = QStringList{QStringLiteral("\u00e9t\u00e9.jpg"), QStringLiteral("b.gif")};
    texts.append(QString());
    QCOMPARE(texts.bytesAt(0), QByteArrayView("\xC3\xA9t\xC3\xA9.jpg"));
    QVERIFY(texts == (QStringList{QStringLiteral("\u00e9t\u00e9.jpg"), "b.gif", ""}));
}

QTEST_APPLESS_MAIN(TestNameLists)
#include "tst_name_lists.moc"
