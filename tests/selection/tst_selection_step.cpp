// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/raw_entries.h"
#include "support/wizard_driver.h"

#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vignetta;
using namespace Qt::Literals::StringLiterals;

namespace {

QStringList namesIn(const NameListView* list)
{
    QStringList names;
    for (qsizetype i = 0; i < list->count(); ++i)
        names.append(list->name(i));
    return names;
}

// Highlights the named rows the way a user does: a click, then Ctrl and a click for each
// further name.
void highlight(NameListView* list, const QStringList& names)
{
    bool first = true;
    for (const QString& name : names) {
        int row = -1;
        for (qsizetype i = 0; i < list->count(); ++i) {
            if (list->name(i) == name)
                row = static_cast<int>(i);
        }
        QVERIFY2(row >= 0, qPrintable(name));
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton,
                          first ? Qt::KeyboardModifiers() : Qt::ControlModifier,
                          list->visualRect(index).center());
        first = false;
    }
}

QStringList highlightedIn(const NameListView* list)
{
    QStringList names;
    const std::vector<bool> rows = list->highlighted();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i])
            names.append(list->name(static_cast<qsizetype>(i)));
    }
    return names;
}

} // namespace

class TestSelectionStep : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fillListSortsAndCounts();
    void moves_data();
    void moves();
    void highlightOfTargetSurvivesAMove();
    void clicksHighlightAsInAnyListBox_data();
    void clicksHighlightAsInAnyListBox();
    void outOfRangeIndexOnlyRefreshesCounts();
    void collectsSelectionWithEmptyLastElement();
    void namesNotInUtf8ReachThePage();
};

void TestSelectionStep::fillListSortsAndCounts()
{
    ImageFolder folder({"b.gif", "A.JPG", "c.bmp"});
    WizardDriver w;
    w.advanceTo(kStep2, folder.path());
    QCOMPARE(namesIn(w.list(u"lstUnselected"_s)), (QStringList{"A.JPG", "b.gif", "c.bmp"}));
    QCOMPARE(w.list(u"lstSelected"_s)->count(), 0);
    QCOMPARE(w.label(u"lblUnselected"_s)->text(), QStringLiteral("3 Image(s) Unselected"));
    QCOMPARE(w.label(u"lblSelected"_s)->text(), QStringLiteral("0 Image(s) Selected"));
}

void TestSelectionStep::moves_data()
{
    QTest::addColumn<QStringList>("highlightLeft");
    QTest::addColumn<QList<int>>("buttons");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QStringList>("right");

    const QStringList all{"A.JPG", "b.gif", "c.bmp"};
    QTest::newRow("Add two") << QStringList{"A.JPG", "c.bmp"} << QList<int>{Step2Panel::kAddRight}
                             << QStringList{"b.gif"} << QStringList{"A.JPG", "c.bmp"};
    QTest::newRow("Add with nothing highlighted")
        << QStringList{} << QList<int>{Step2Panel::kAddRight} << all << QStringList{};
    QTest::newRow("All then All back")
        << QStringList{} << QList<int>{Step2Panel::kAllRight, Step2Panel::kAllLeft} << all
        << QStringList{};
    QTest::newRow("All back on empty right list")
        << QStringList{} << QList<int>{Step2Panel::kAllLeft} << all << QStringList{};
    QTest::newRow("All right") << QStringList{"b.gif"} << QList<int>{Step2Panel::kAllRight}
                               << QStringList{} << all;
    QTest::newRow("Remove with nothing highlighted")
        << QStringList{} << QList<int>{Step2Panel::kAllRight, Step2Panel::kRemoveLeft}
        << QStringList{} << all;
}

void TestSelectionStep::moves()
{
    QFETCH(QStringList, highlightLeft);
    QFETCH(QList<int>, buttons);
    QFETCH(QStringList, left);
    QFETCH(QStringList, right);

    ImageFolder folder({"b.gif", "A.JPG", "c.bmp"});
    WizardDriver w;
    w.advanceTo(kStep2, folder.path());
    highlight(w.list(u"lstUnselected"_s), highlightLeft);
    for (int button : buttons)
        w.clickMove(button);

    QCOMPARE(namesIn(w.list(u"lstUnselected"_s)), left);
    QCOMPARE(namesIn(w.list(u"lstSelected"_s)), right);
    QCOMPARE(w.label(u"lblUnselected"_s)->text(),
             QString::number(left.size()) + " Image(s) Unselected");
    QCOMPARE(w.label(u"lblSelected"_s)->text(),
             QString::number(right.size()) + " Image(s) Selected");
    // Names arrive unhighlighted.
    QVERIFY(highlightedIn(w.list(u"lstSelected"_s)).isEmpty());
}

void TestSelectionStep::highlightOfTargetSurvivesAMove()
{
    ImageFolder folder({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"});
    WizardDriver w;
    w.advanceTo(kStep2, folder.path());
    highlight(w.list(u"lstUnselected"_s), {"b.jpg", "d.jpg"});
    w.clickMove(Step2Panel::kAddRight);
    highlight(w.list(u"lstSelected"_s), {"d.jpg"});
    highlight(w.list(u"lstUnselected"_s), {"a.jpg", "e.jpg"});
    w.clickMove(Step2Panel::kAddRight);
    QCOMPARE(namesIn(w.list(u"lstSelected"_s)), (QStringList{"a.jpg", "b.jpg", "d.jpg", "e.jpg"}));
    QCOMPARE(highlightedIn(w.list(u"lstSelected"_s)), QStringList{"d.jpg"});
    QCOMPARE(namesIn(w.list(u"lstUnselected"_s)), QStringList{"c.jpg"});

    w.clickMove(Step2Panel::kRemoveLeft);
    QCOMPARE(namesIn(w.list(u"lstUnselected"_s)), (QStringList{"c.jpg", "d.jpg"}));
    QCOMPARE(namesIn(w.list(u"lstSelected"_s)), (QStringList{"a.jpg", "b.jpg", "e.jpg"}));
}

void TestSelectionStep::clicksHighlightAsInAnyListBox_data()
{
    // Starting from a highlight given as one mark per row, clicks on rows with modifiers
    // ("c" Ctrl, "s" Shift, "-" none), and the highlight after.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("after");
    QTest::newRow("click") << "......" << QStringList{"-2"} << "..x...";
    QTest::newRow("click, shift-click") << "......" << QStringList{"-1", "s4"} << ".xxxx.";
    QTest::newRow("ctrl-clicks add and take away")
        << "......" << QStringList{"-0", "c3", "c5", "c3"} << "x....x";
    QTest::newRow("shift-click after ctrl-click")
        << "......" << QStringList{"-0", "c2", "s4"} << "x.xxx.";
    QTest::newRow("click on a highlighted row keeps it alone")
        << "xxxxxx" << QStringList{"-3"} << "...x..";
    // Highlights in more runs than the base selection model holds: the bits decide.
    QTest::newRow("ctrl-click in a highlight of many runs")
        << QString("x.").repeated(300) << QStringList{"c2", "c3"}
        << "x..x" + QString("x.").repeated(298);
    QTest::newRow("click in a highlight of many runs")
        << QString("x.").repeated(300) << QStringList{"-4"} << "....x" + QString(595, u'.');
}

void TestSelectionStep::clicksHighlightAsInAnyListBox()
{
    QFETCH(QString, before);
    QFETCH(QStringList, clicks);
    QFETCH(QString, after);
    QStringList files;
    for (qsizetype i = 0; i < before.size(); ++i)
        files.append(QStringLiteral("p%1.jpg").arg(i, 4, 10, QChar(u'0')));
    ImageFolder folder(files);
    WizardDriver w;
    w.advanceTo(kStep2, folder.path());
    NameListView* list = w.list(u"lstUnselected"_s);
    std::vector<bool> rows;
    for (const QChar c : before)
        rows.push_back(c == u'x');
    list->setHighlighted(rows);
    for (const QString& click : clicks) {
        const Qt::KeyboardModifiers modifiers = click[0] == u'c'   ? Qt::ControlModifier
                                                : click[0] == u's' ? Qt::ShiftModifier
                                                                   : Qt::NoModifier;
        const QModelIndex index = list->model()->index(click.mid(1).toInt(), 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                          list->visualRect(index).center());
    }
    QString seen;
    for (const bool highlighted : list->highlighted())
        seen += highlighted ? u'x' : u'.';
    QCOMPARE(seen, after);
}

void TestSelectionStep::outOfRangeIndexOnlyRefreshesCounts()
{
    ImageFolder folder({"a.jpg", "b.jpg"});
    WizardDriver w;
    w.advanceTo(kStep2, folder.path());
    Step2Panel* s2 = w.step2();
    w.label(u"lblSelected"_s)->setText(QStringLiteral("stale"));
    s2->cmdStep2_Click(7);
    s2->cmdStep2_Click(-1);
    QCOMPARE(w.list(u"lstUnselected"_s)->count(), 2);
    QCOMPARE(w.label(u"lblSelected"_s)->text(), QStringLiteral("0 Image(s) Selected"));
}

void TestSelectionStep::collectsSelectionWithEmptyLastElement()
{
    ImageFolder folder({"b.gif", "A.JPG", "c.bmp"});
    WizardDriver w;
    w.advanceTo(kStep2, folder.path());
    highlight(w.list(u"lstUnselected"_s), {"c.bmp", "A.JPG"});
    w.clickMove(Step2Panel::kAddRight);
    w.click(formVG::kNext);
    QCOMPARE(w.step(), int(kStep3));
    QCOMPARE(w.form.state().sImageFiles, (QStringList{"A.JPG", "c.bmp", ""}));
    QCOMPARE(w.form.state().imageCount(), 2);
}

void TestSelectionStep::namesNotInUtf8ReachThePage()
{
    // Two Latin-1 names that differ in one letter, beside a plain one.
    ImageFolder folder({"plain.gif"});
    RawEntries raw;
    const QByteArray root = QFile::encodeName(folder.path());
    QVERIFY(raw.file(root + "/caf\xE9.jpg"));
    QVERIFY(raw.file(root + "/caf\xE8.jpg"));
    WizardDriver w;
    w.advanceTo(kStep2, folder.path());
    QCOMPARE(namesIn(w.list(u"lstUnselected"_s)),
             (QStringList{QStringLiteral("caf\u00e8.jpg"), QStringLiteral("caf\u00e9.jpg"),
                          "plain.gif"}));
    w.clickMove(Step2Panel::kAllRight);
    w.click(formVG::kNext);
    w.click(formVG::kNext);
    w.click(formVG::kFinish);
    QCOMPARE(w.step(), int(kCompletion));

    // Each link leads to its own file: the bytes that are not UTF-8 percent-encoded.
    QFile page(folder.filePath("Vignetta.html"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QByteArray bytes = page.readAll();
    for (const char* link : {"caf%E8.jpg", "caf%E9.jpg", "plain.gif"}) {
        const QByteArray cell = QByteArray("<A HREF=\"") + link + "\"><IMG SRC=\"" + link + '"';
        QVERIFY2(bytes.contains(cell), link);
    }
}

QTEST_MAIN(TestSelectionStep)
#include "tst_selection_step.moc"
