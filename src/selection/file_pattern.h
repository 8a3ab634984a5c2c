// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <vector>

namespace vignetta {

// A file pattern with alternatives separated by ";" ("*.jpg;*.gif;*.bmp"), letter case
// ignored. Plain "*.ext" alternatives are checked as suffixes; anything else as a wildcard.
class FilePattern
{
public:
    explicit FilePattern(const QString& pattern = {});

    [[nodiscard]] const QString& text() const { return m_text; }
    [[nodiscard]] bool matches(QStringView name) const;
    // The same test on a name given as its bytes. A plain ASCII suffix is checked on the bytes
    // themselves, without making a text of the name.
    [[nodiscard]] bool matches(QByteArrayView name) const;

private:
    QString m_text;
    QStringList m_suffixes;            // ".jpg" for "*.jpg"
    QList<QByteArray> m_asciiSuffixes; // the same in lower case, where a suffix is ASCII
    bool m_allAscii = true;            // every alternative is an ASCII suffix
    qsizetype m_longestSuffix = 0;
    std::vector<QRegularExpression> m_wildcards;
};

} // namespace vignetta
