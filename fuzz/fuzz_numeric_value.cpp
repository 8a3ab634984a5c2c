// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Fuzzes the lenient reading of numbers from the wizard's boxes (numericValue) and the blank
// trimming beside it, on the input read both as UTF-8 and as raw UTF-16.
//
// numericValue is compared with a reading worked out here another way: drop every blank of
// the text first (blanks are skipped anywhere before the number ends), take the longest
// "[sign] digits-and-one-point" start of what is left, and let the C library's strtod read it.

#include "fuzz_support.h"

#include "core/text_rules.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

double referenceValue(QStringView text)
{
    std::string compact;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ')
            continue;
        // Anything outside ASCII ends a number; 0x01 stands for it.
        compact.push_back(u < 0x80 && u != 0 ? static_cast<char>(u) : '\x01');
        if (u >= 0x80 || u == 0)
            break;
    }

    std::size_t i = 0;
    bool negative = false;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) {
        negative = compact[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    bool point = false;
    bool digits = false;
    for (; i < compact.size(); ++i) {
        const char c = compact[i];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;

    const std::string number = compact.substr(start, i - start);
    errno = 0;
    char* end = nullptr;
    const double magnitude = std::strtod(number.c_str(), &end);
    if (end != number.c_str() + number.size())
        ::fuzz::fail(__FILE__, __LINE__, "strtod reads the whole number",
                     QByteArray::fromStdString(number));
    if (magnitude == 0.0)
        return 0.0; // "-0" reads as plain 0
    return negative ? -magnitude : magnitude;
}

bool sameValue(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

QByteArray describe(QStringView text, double got, double expected)
{
    char numbers[128];
    std::snprintf(numbers, sizeof numbers, " read as %.17g, expected %.17g", got, expected);
    return "\"" + fuzz::visible(text) + "\"" + numbers;
}

void checkNumericValue(QStringView text)
{
    const double got = vignetta::numericValue(text);
    const double expected = referenceValue(text);
    FUZZ_CHECK(sameValue(got, expected), describe(text, got, expected));
    FUZZ_CHECK(!std::isnan(got), describe(text, got, expected));
}

void checkTrimBlanks(QStringView text)
{
    const QString trimmed = vignetta::trimBlanks(text);
    qsizetype leading = 0;
    while (leading < text.size() && text[leading] == u' ')
        ++leading;
    const bool allBlank = leading == text.size();
    FUZZ_CHECK(!allBlank || trimmed.isEmpty(), "\"" + fuzz::visible(text) + "\"");
    if (allBlank)
        return;
    FUZZ_CHECK(trimmed.front() != u' ' && trimmed.back() != u' ',
               "\"" + fuzz::visible(trimmed) + "\"");
    // What was cut off is blanks, on both sides.
    FUZZ_CHECK(text.sliced(leading, trimmed.size()) == trimmed,
               "\"" + fuzz::visible(text) + "\" -> \"" + fuzz::visible(trimmed) + "\"");
    for (qsizetype i = leading + trimmed.size(); i < text.size(); ++i)
        FUZZ_CHECK(text[i] == u' ', "\"" + fuzz::visible(text) + "\"");
}

void checkText(QStringView text)
{
    checkNumericValue(text);
    checkTrimBlanks(text);
    // A view into the middle of a longer text must read the same as a text of its own: the
    // reading may not run past the view's end.
    if (text.size() >= 2) {
        const QStringView inner = text.sliced(1, text.size() - 2);
        const QString copy = inner.toString();
        FUZZ_CHECK(sameValue(vignetta::numericValue(inner), vignetta::numericValue(copy)),
                   "\"" + fuzz::visible(inner) + "\"");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkText(fuzz::fromUtf8(data, size));
    checkText(fuzz::fromUtf16(data, size));
    return 0;
}
