// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>

namespace vignetta {

// The window is laid out in twips on a 12-twip grid: one pixel at 120 dots per inch. Every
// place and size goes through here, so the layout tables can keep the numbers as designed.
inline constexpr int kTwipsPerPixel = 12;

// The whole layout grows with the user's interface font: the zoom is the ratio of that font to
// the one the layout was designed for, so every place and every font of the window scale
// together and each text keeps fitting its control. It is one factor for the whole program,
// set once at start before any window is built; at 1 the window is drawn exactly as designed.
// The toolkit's own scaling for dense screens comes on top of it.
[[nodiscard]] double zoom();
void setZoom(double factor);

// Twips to pixels at the zoom, rounded to the nearest pixel.
[[nodiscard]] int px(int twips);
[[nodiscard]] QRect twipsRect(int left, int top, int width, int height);
[[nodiscard]] QRect twipsRect(QRect twips);

// A font size the layout was designed with, in pixels, at the zoom. Rounded down: a text
// never outgrows the control drawn for it.
[[nodiscard]] int fontPx(int designPixels);

} // namespace vignetta
