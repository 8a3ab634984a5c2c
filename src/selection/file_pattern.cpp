#include "selection/file_pattern.h"

#include <algorithm>

namespace vignetta {

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
        } else {
            m_wildcards.emplace_back(QRegularExpression::wildcardToRegularExpression(part),
                                     QRegularExpression::CaseInsensitiveOption);
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

} // namespace vignetta
