// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/text_rules.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace vignetta;

class TestTextRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void numericValue_data();
    void numericValue();
    void numericValueOfHugeNumbers();
    void trimBlanks_data();
    void trimBlanks();
};

void TestTextRules::numericValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("blanks only") << "   " << 0.0;
    QTest::newRow("word") << "abc" << 0.0;
    QTest::newRow("integer") << "150" << 150.0;
    QTest::newRow("blanks around") << "  150  " << 150.0;
    QTest::newRow("blanks inside are skipped") << "1 5 0" << 150.0;
    QTest::newRow("unit after number") << "150px" << 150.0;
    QTest::newRow("letters after digits") << "12abc" << 12.0;
    QTest::newRow("letters before digits") << "px150" << 0.0;
    QTest::newRow("negative") << "-1" << -1.0;
    QTest::newRow("plus sign") << "+3" << 3.0;
    QTest::newRow("sign then blank") << "- 5" << -5.0;
    QTest::newRow("two signs") << "--3" << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("sign after digits ends it") << "3-4" << 3.0;
    QTest::newRow("fraction") << "2.5" << 2.5;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("comma is not a decimal point") << "2,5" << 2.0;
    QTest::newRow("exponent not read") << "1e3" << 1.0;
    QTest::newRow("hex prefix not read") << "0x10" << 0.0;
    QTest::newRow("leading zeros") << "007" << 7.0;
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("negative zero is zero") << "-0" << 0.0;
    QTest::newRow("tab is not a blank") << "\t5" << 0.0;
    QTest::newRow("non-ASCII digit ends it") << QString::fromUtf8("1\u0663") << 1.0;
    QTest::newRow("fraction below one") << "0.5" << 0.5;
    QTest::newRow("long fraction") << "3.14159265358979" << 3.14159265358979;
}

void TestTextRules::numericValue()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const double value = vignetta::numericValue(text);
    QCOMPARE(value, expected);
    QVERIFY2(!std::signbit(value) || value != 0.0, "zero must not carry a sign");
}

void TestTextRules::numericValueOfHugeNumbers()
{
    const QString huge = QString(400, u'9');
    QCOMPARE(vignetta::numericValue(huge), std::numeric_limits<double>::infinity());
    QCOMPARE(vignetta::numericValue(QString(u'-' + huge)),
             -std::numeric_limits<double>::infinity());
    const QString tiny = QString(u"0." + QString(400, u'0') + u'1');
    QCOMPARE(vignetta::numericValue(tiny), 0.0);
    // A long number still reads exactly where a double can hold it.
    QCOMPARE(vignetta::numericValue(QString(QString(100, u'0') + u"42")), 42.0);
}

void TestTextRules::trimBlanks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blanks only") << "    "
                                 << "";
    QTest::newRow("both ends") << "  120  "
                               << "120";
    QTest::newRow("inside stays") << "  my page  "
                                  << "my page";
    QTest::newRow("tabs stay") << "\tx\t"
                               << "\tx\t";
    QTest::newRow("nothing to trim") << "Vignetta"
                                     << "Vignetta";
}

void TestTextRules::trimBlanks()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(vignetta::trimBlanks(text), expected);
}

QTEST_APPLESS_MAIN(TestTextRules)
#include "tst_text_rules.moc"
