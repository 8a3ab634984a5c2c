#include "output/page_name.h"

#include "core/text_rules.h"

namespace vignetta {

QString pageFileName(QStringView typedName, bool htmlExtension)
{
    return trimBlanks(typedName) +
           (htmlExtension ? QStringLiteral(".html") : QStringLiteral(".htm"));
}

} // namespace vignetta
