// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/text_rules.h"

#include <charconv>
#include <limits>
#include <string>
#include <string_view>

namespace vignetta {

double numericValue(QStringView text)
{
    std::string number;
    bool negative = false;
    bool signSeen = false;
    bool pointSeen = false;
    bool digitSeen = false;

    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ')
            continue;
        if ((u == u'+' || u == u'-') && !signSeen && number.empty()) {
            signSeen = true;
            negative = (u == u'-');
            continue;
        }
        if (u >= u'0' && u <= u'9') {
            number.push_back(static_cast<char>(u));
            digitSeen = true;
            continue;
        }
        if (u == u'.' && !pointSeen) {
            number.push_back('.');
            pointSeen = true;
            continue;
        }
        break;
    }
    if (!digitSeen)
        return 0.0;

    double value = 0.0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Either far too large, or a fraction so small that it rounds to zero.
        const auto whole = std::string_view(number).substr(0, number.find('.'));
        const bool large = whole.find_first_not_of('0') != std::string_view::npos;
        value = large ? std::numeric_limits<double>::infinity() : 0.0;
    }
    if (value == 0.0)
        return 0.0; // never -0
    return negative ? -value : value;
}

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin).toString();
}

} // namespace vignetta
