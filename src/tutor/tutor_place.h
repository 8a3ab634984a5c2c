// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace vignetta {

// Where the tutor's frame opens, given the wizard's frame, the tutor's frame size and the part
// of the wizard's screen that windows may take: beside the wizard on the right, level with its
// top as far as the screen allows, with `gap` pixels between them; if it does not fit there, on the
// left; if it fits on neither side, at the place on that screen where it covers least of the
// wizard. The tutor is always kept on the screen, as far as it is not larger than the screen.
[[nodiscard]] QPoint tutorPlace(const QRect& wizardFrame, QSize tutorFrame, const QRect& available,
                                int gap);

} // namespace vignetta
