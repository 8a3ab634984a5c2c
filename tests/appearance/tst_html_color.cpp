// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "appearance/html_color.h"

#include <QTest>

using namespace vignetta;

class TestHtmlColor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void htmlColor_data();
    void htmlColor();
    void colorValueOfComponents();
};

void TestHtmlColor::htmlColor_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("black") << 0u << "#000000";
    QTest::newRow("white") << 16777215u << "#FFFFFF";
    QTest::newRow("pure red") << 255u << "#FF0000";
    QTest::newRow("green 128") << 32768u << "#008000";
    QTest::newRow("red 18 green 52 blue 86") << 5649426u << "#123456";
    QTest::newRow("pure blue") << 16711680u << "#0000FF";
    QTest::newRow("dark red 18") << 18u << "#120000";
    QTest::newRow("upper-case letters") << (171u | 205u << 8 | 239u << 16) << "#ABCDEF";
    QTest::newRow("high byte ignored") << 0xFF0000FFu << "#FF0000";
}

void TestHtmlColor::htmlColor()
{
    QFETCH(quint32, value);
    QFETCH(QString, expected);
    QCOMPARE(vignetta::htmlColor(value), expected);
}

void TestHtmlColor::colorValueOfComponents()
{
    QCOMPARE(vignetta::colorValue(18, 52, 86), 5649426u);
    QCOMPARE(vignetta::colorValue(255, 255, 255), 16777215u);
    QCOMPARE(vignetta::htmlColor(vignetta::colorValue(171, 205, 239)), QStringLiteral("#ABCDEF"));
}

QTEST_APPLESS_MAIN(TestHtmlColor)
#include "tst_html_color.moc"
