// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "appearance/html_color.h"

namespace vignetta {

QString htmlColor(quint32 colorValue)
{
    // Six digits in the order blue, green, red, zeros in front; then regrouped as red,
    // green, blue.
    const QString bgr =
        QString::number(colorValue & 0xFFFFFFu, 16).toUpper().rightJustified(6, u'0');
    return u'#' + bgr.sliced(4, 2) + bgr.sliced(2, 2) + bgr.sliced(0, 2);
}

} // namespace vignetta
