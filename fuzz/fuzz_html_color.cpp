// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Fuzzes the HTML colour text of a colour value (htmlColor) and the colour value of three
// components (colorValue), as the Step 3 panel takes them from a QColor. Every four bytes of the
// input make one 32-bit value.
//
// Checked: the text is "#" and six upper-case hexadecimal digits; read back, the digits give
// the value's red (lowest byte), green and blue; the highest byte changes nothing. For colours
// made in several ways (RGB with any alpha, HSV, HSL, CMYK), the text of the colour's value
// agrees with Qt's own name for the colour.

#include "fuzz_support.h"

#include "appearance/html_color.h"

#include <QColor>

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1; // lower case included: the text is upper case only
}

QByteArray describe(quint32 value, const QString& text)
{
    return "value 0x" + QByteArray::number(value, 16) + " -> \"" + fuzz::visible(text) + "\"";
}

void checkText(quint32 value)
{
    const QString text = vignetta::htmlColor(value);
    FUZZ_CHECK(text.size() == 7 && text[0] == u'#', describe(value, text));
    int components[3] = {};
    for (int i = 0; i < 3; ++i) {
        const int high = hexDigit(text[1 + 2 * i]);
        const int low = hexDigit(text[2 + 2 * i]);
        FUZZ_CHECK(high >= 0 && low >= 0, describe(value, text));
        components[i] = high * 16 + low;
    }
    FUZZ_CHECK(components[0] == static_cast<int>(value & 0xFF), describe(value, text));
    FUZZ_CHECK(components[1] == static_cast<int>(value >> 8 & 0xFF), describe(value, text));
    FUZZ_CHECK(components[2] == static_cast<int>(value >> 16 & 0xFF), describe(value, text));
}

// The colour's value, written as text, names the same colour as Qt does.
void checkColor(const QColor& color, const char* madeAs)
{
    FUZZ_CHECK(color.isValid(), QByteArray(madeAs));
    const quint32 value = vignetta::colorValue(color.red(), color.green(), color.blue());
    FUZZ_CHECK(value <= 0xFFFFFFu,
               QByteArray(madeAs) + " value 0x" + QByteArray::number(value, 16));
    const QString text = vignetta::htmlColor(value);
    const QString expected = color.name(QColor::HexRgb).toUpper();
    FUZZ_CHECK(text == expected, QByteArray(madeAs) + " " + describe(value, text) +
                                     ", Qt names it " + fuzz::visible(expected));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (std::size_t at = 0; at < size; at += 4) {
        quint32 value = 0;
        for (std::size_t i = 0; i < 4 && at + i < size; ++i)
            value |= static_cast<quint32>(data[at + i]) << (8 * i);

        checkText(value);

        const int red = static_cast<int>(value & 0xFF);
        const int green = static_cast<int>(value >> 8 & 0xFF);
        const int blue = static_cast<int>(value >> 16 & 0xFF);
        const int top = static_cast<int>(value >> 24);
        const QColor rgb = QColor::fromRgb(red, green, blue, top);
        checkColor(rgb, "rgb");
        FUZZ_CHECK(vignetta::colorValue(rgb.red(), rgb.green(), rgb.blue()) == (value & 0xFFFFFFu),
                   "value 0x" + QByteArray::number(value, 16));

        // The same bytes as other colour models' components, hue up to 359.
        const int hue = static_cast<int>((value & 0xFFFF) % 360);
        checkColor(QColor::fromHsv(hue, blue, top), "hsv");
        checkColor(QColor::fromHsl(hue, blue, top), "hsl");
        checkColor(QColor::fromCmyk(red, green, blue, top), "cmyk");
    }
    return 0;
}
