#pragma once

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

private:
    QString m_text;
    QStringList m_suffixes; // ".jpg" for "*.jpg"
    std::vector<QRegularExpression> m_wildcards;
};

} // namespace vignetta
