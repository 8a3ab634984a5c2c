// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/wizard_driver.h"

using namespace vignetta;
using namespace Qt::Literals::StringLiterals;

// A folder far larger than 16-bit counts could hold, through the window: slow, so it runs in
// the full suite only.
class TestLargeFolder : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void hundredThousandImages();
};

void TestLargeFolder::hundredThousandImages()
{
    // Well past what 16-bit counts could hold.
    constexpr int kCount = 100000;
    ImageFolder folder;
    QStringList names;
    names.reserve(kCount);
    for (int i = 0; i < kCount; ++i)
        names.append(QStringLiteral("IMG_%1.jpg").arg(i));
    folder.addFiles(names);

    WizardDriver w;
    w.advanceTo(kStep2, folder.path());
    QCOMPARE(w.list(u"lstUnselected"_s)->count(), kCount);
    QCOMPARE(w.list(u"lstUnselected"_s)->name(0), QStringLiteral("IMG_0.jpg"));
    QCOMPARE(w.list(u"lstUnselected"_s)->name(kCount - 1), QStringLiteral("IMG_99999.jpg"));
    QCOMPARE(w.label(u"lblUnselected"_s)->text(), QStringLiteral("100000 Image(s) Unselected"));

    // Highlight every other name and move them.
    std::vector<bool> everyOther(kCount);
    for (int i = 0; i < kCount; i += 2)
        everyOther[static_cast<std::size_t>(i)] = true;
    w.list(u"lstUnselected"_s)->setHighlighted(everyOther);
    w.clickMove(Step2Panel::kAddRight);
    QCOMPARE(w.list(u"lstSelected"_s)->count(), kCount / 2);
    QCOMPARE(w.list(u"lstUnselected"_s)->count(), kCount / 2);
    QCOMPARE(w.list(u"lstSelected"_s)->name(1), QStringLiteral("IMG_2.jpg"));
    QCOMPARE(w.label(u"lblSelected"_s)->text(), QStringLiteral("50000 Image(s) Selected"));
    w.clickMove(Step2Panel::kAllRight);
    w.click(formVG::kNext);
    QCOMPARE(w.form.state().imageCount(), kCount);
    QCOMPARE(w.form.state().sImageFiles.size(), kCount + 1);
}

QTEST_MAIN(TestLargeFolder)
#include "tst_large_folder.moc"
