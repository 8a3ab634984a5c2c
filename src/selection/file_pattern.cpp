#include "file_pattern.h"

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
    for (const QString& suffix : m_suffixes) {
        if (name.endsWith(suffix, Qt::CaseInsensitive))
            return true;
    }
    for (const QRegularExpression& re : m_wildcards) {
        if (re.match(name).hasMatch())
            return true;
    }
    return false;
}

} // namespace vignetta
