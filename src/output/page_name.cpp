// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/page_name.h"

#include "core/text_rules.h"

namespace vignetta {

QString pageFileName(QStringView typedName, bool htmlExtension)
{
    return trimBlanks(typedName) +
           (htmlExtension ? QStringLiteral(".html") : QStringLiteral(".htm"));
}

} // namespace vignetta
