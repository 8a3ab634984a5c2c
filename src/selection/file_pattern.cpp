// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/file_pattern.h"

#include "core/file_names.h"

#include <algorithm>

namespace vignetta {

namespace {

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool endsWithFolded(QByteArrayView name, const QByteArray& lowerSuffix)
{
    if (name.size() < lowerSuffix.size())
        return false;
    const char* tail = name.data() + (name.size() - lowerSuffix.size());
    for (qsizetype i = 0; i < lowerSuffix.size(); ++i) {
        if (lowerAscii(tail[i]) != lowerSuffix[i])
            return false;
    }
    return true;
}

} // namespace

FilePattern::FilePattern(const QString& pattern) : m_text(pattern)
{
    const QStringList parts = pattern.split(u';', Qt::SkipEmptyParts);
    for (const QString& raw : parts) {
        const QString part = raw.trimmed();
        if (part.isEmpty())
            continue;
        const QStringView rest = QStringView(part).sliced(1);
        const bool simpleSuffix = part.startsWith(u'*') && !rest.contains(u'*') &&
                                  !rest.contains(u'?') && !rest.contains(u'[');
        if (simpleSuffix) {
            m_suffixes.append(rest.toString());
            const bool ascii =
                std::all_of(rest.begin(), rest.end(), [](QChar c) { return c.unicode() < 0x80; });
            if (ascii)
                m_asciiSuffixes.append(rest.toLatin1().toLower());
            m_longestSuffix = std::max(m_longestSuffix, rest.size());
            m_allAscii = m_allAscii && ascii;
        } else {
            m_wildcards.emplace_back(QRegularExpression::wildcardToRegularExpression(part),
                                     QRegularExpression::CaseInsensitiveOption);
            m_allAscii = false;
        }
    }
}

bool FilePattern::matches(QStringView name) const
{
    return std::ranges::any_of(m_suffixes,
                               [name](const QString& suffix) {
                                   return name.endsWith(suffix, Qt::CaseInsensitive);
                               }) ||
           std::ranges::any_of(m_wildcards, [name](const QRegularExpression& re) {
               return re.match(name).hasMatch();
           });
}

bool FilePattern::matches(QByteArrayView name) const
{
    if (std::ranges::any_of(m_asciiSuffixes,
                            [name](const QByteArray& s) { return endsWithFolded(name, s); }))
        return true;
    // Where the name ends in ASCII bytes as long as the longest suffix, its text ends in the
    // same characters, which the bytes have just been tested on. Else its text may still match,
    // through letters whose case folds to ASCII (the Kelvin sign to "k").
    if (m_allAscii) {
        const QByteArrayView tail = name.last(std::min(name.size(), m_longestSuffix));
        if (std::all_of(tail.begin(), tail.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            return false;
    }
    return matches(QStringView(displayName(name)));
}

} // namespace vignetta
