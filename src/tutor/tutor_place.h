// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

namespace vignetta {

// The height of the tutor's label with its text wrapped at the given width.
using LabelHeightForWidth = std::function<int(int labelWidth)>;

// The tutor's frame, place and size, for a label of `labelWidth` pixels whose height follows
// from its width; `extra` is what the margin and the window frame add to the label's size. The
// first of these that lies on the screen and keeps `gap` pixels clear of the wizard's frame:
//  1. the natural width, right of the wizard, then left of it, level with its top;
//  2. the natural width, below the wizard, then above it, level with its left edge;
//  3. narrower, right then left: the label as wide as the room beside the wizard allows, but
//     no narrower than half its natural width, and as high as its text then needs;
//  4. wider and shorter, below then above: the narrowest label from the natural width up to
//     the screen's width whose text fits the strip's height.
//  5. smaller than its text needs, where it then scrolls: in the strip beside, below or above
//     the wizard where it is largest, if that can show three lines at half the natural width.
// Each is moved along the wizard's edge as far as the screen needs. Only where none fits (a
// screen the wizard all but fills): the natural size at the place around the wizard, kept on
// the screen, that covers least of it.
[[nodiscard]] QRect tutorFrame(const QRect& wizardFrame, const QRect& available, int gap,
                               QSize extra, int labelWidth,
                               const LabelHeightForWidth& heightForWidth);

} // namespace vignetta
