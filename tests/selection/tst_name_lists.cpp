#include "selection/file_pattern.h"
#include "selection/name_collation.h"
#include "selection/name_moves.h"

#include <QTest>

#include <algorithm>

using namespace vignetta;

namespace {

QStringList namesOf(const CollatedNames& entries)
{
    QStringList result;
    for (const auto& e : entries)
        result.append(e.name);
    return result;
}

CollatedNames sortedOf(const QStringList& names)
{
    return collateSorted(names);
}

std::vector<bool> flags(const QString& pattern)
{
    std::vector<bool> result;
    for (const QChar c : pattern)
        result.push_back(c == u'x');
    return result;
}

} // namespace

class TestNameLists : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void collationOrder_data();
    void collationOrder();
    void collationIsTotal();
    void pattern_data();
    void pattern();
    void moveHighlighted_data();
    void moveHighlighted();
    void moveAll();
    void moveKeepsTargetHighlight();
};

void TestNameLists::collationOrder_data()
{
    QTest::addColumn<QStringList>("input");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("case ignored") << QStringList{"c.bmp", "b.gif", "A.JPG"}
                                  << QStringList{"A.JPG", "b.gif", "c.bmp"};
    QTest::newRow("numbers by value") << QStringList{"IMG_10.jpg", "IMG_2.jpg", "IMG_1.jpg"}
                                      << QStringList{"IMG_1.jpg", "IMG_2.jpg", "IMG_10.jpg"};
    QTest::newRow("leading zeros equal value, exact text breaks the tie")
        << QStringList{"p2.jpg", "p02.jpg", "p1.jpg"} << QStringList{"p1.jpg", "p02.jpg", "p2.jpg"};
    QTest::newRow("long numbers") << QStringList{"a100000000000000000000.jpg", "a99.jpg"}
                                  << QStringList{"a99.jpg", "a100000000000000000000.jpg"};
    QTest::newRow("accents ignored")
        << QStringList{"zoo.jpg", QString::fromUtf8("\u00e9t\u00e9.jpg"), "fleur.jpg"}
        << QStringList{QString::fromUtf8("\u00e9t\u00e9.jpg"), "fleur.jpg", "zoo.jpg"};
    QTest::newRow("same letters, upper case first")
        << QStringList{"a.jpg", "A.jpg"} << QStringList{"A.jpg", "a.jpg"};
    QTest::newRow("shorter prefix first")
        << QStringList{"ab.jpg", "a.jpg"} << QStringList{"a.jpg", "ab.jpg"};
    QTest::newRow("zero") << QStringList{"x1.gif", "x0.gif"} << QStringList{"x0.gif", "x1.gif"};
}

void TestNameLists::collationOrder()
{
    QFETCH(QStringList, input);
    QFETCH(QStringList, expected);
    QCOMPARE(namesOf(sortedOf(input)), expected);
    // Every order of the input gives the same result.
    std::reverse(input.begin(), input.end());
    QCOMPARE(namesOf(sortedOf(input)), expected);
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

void TestNameLists::pattern_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("listed");
    QTest::newRow("jpg upper") << "A.JPG" << true;
    QTest::newRow("gif") << "b.gif" << true;
    QTest::newRow("bmp mixed") << "c.Bmp" << true;
    QTest::newRow("png") << "d.png" << false;
    QTest::newRow("jpeg") << "e.jpeg" << false;
    QTest::newRow("jpg inside") << "f.jpg.txt" << false;
    QTest::newRow("blank and ampersand") << "my & your.jpg" << true;
    QTest::newRow("no extension") << "jpg" << false;
}

void TestNameLists::pattern()
{
    QFETCH(QString, name);
    QFETCH(bool, listed);
    QCOMPARE(FilePattern(QStringLiteral("*.jpg;*.gif;*.bmp")).matches(name), listed);
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
}

void TestNameLists::moveHighlighted()
{
    QFETCH(QStringList, from);
    QFETCH(QStringList, to);
    QFETCH(QString, take);
    QFETCH(QStringList, fromAfter);
    QFETCH(QStringList, toAfter);

    CollatedNames source = sortedOf(from);
    CollatedNames target = sortedOf(to);
    std::vector<bool> highlight(target.size(), false);
    moveNames(source, flags(take), target, highlight);
    QCOMPARE(namesOf(source), fromAfter);
    QCOMPARE(namesOf(target), toAfter);
    QVERIFY(std::is_sorted(source.begin(), source.end()));
    QVERIFY(std::is_sorted(target.begin(), target.end()));
    QCOMPARE(highlight.size(), target.size());
    QVERIFY(std::none_of(highlight.begin(), highlight.end(), [](bool b) { return b; }));
}

void TestNameLists::moveAll()
{
    QStringList many;
    for (int i = 0; i < 1000; ++i)
        many.append(QStringLiteral("IMG_%1.jpg").arg(i));
    CollatedNames source = sortedOf(many);
    CollatedNames target;
    std::vector<bool> highlight;
    moveAllNames(source, target, highlight);
    QVERIFY(source.empty());
    QCOMPARE(target.size(), std::size_t(1000));
    QVERIFY(std::is_sorted(target.begin(), target.end()));
    // And back: the same names, the same order.
    CollatedNames back;
    std::vector<bool> none;
    moveAllNames(target, back, none);
    QCOMPARE(namesOf(back), namesOf(sortedOf(many)));
    // From an empty list nothing changes.
    moveAllNames(source, back, none);
    QCOMPARE(back.size(), std::size_t(1000));
}

void TestNameLists::moveKeepsTargetHighlight()
{
    CollatedNames source = sortedOf({"b", "d"});
    CollatedNames target = sortedOf({"a", "c", "e"});
    std::vector<bool> highlight = flags(".x."); // "c" is highlighted
    moveAllNames(source, target, highlight);
    QCOMPARE(namesOf(target), (QStringList{"a", "b", "c", "d", "e"}));
    QCOMPARE(highlight, flags("..x.."));
}

QTEST_APPLESS_MAIN(TestNameLists)
#include "tst_name_lists.moc"
