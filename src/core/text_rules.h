// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

namespace vignetta {

// The number a text begins with, read the lenient way the wizard reads its boxes: blanks are
// skipped anywhere, then an optional sign and decimal digits with at most one "." are read up
// to the first character that cannot continue the number. No number at all (the empty text
// included) reads as 0; "150px" reads as 150 and "1e3" as 1. The decimal point is always ".",
// whatever the locale. A number too large for a double reads as an infinity of its sign.
[[nodiscard]] double numericValue(QStringView text);

// The text without its leading and trailing blanks (space characters); blanks inside stay.
[[nodiscard]] QString trimBlanks(QStringView text);

} // namespace vignetta
