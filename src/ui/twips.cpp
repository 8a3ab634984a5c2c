// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/twips.h"

#include <cmath>

namespace vignetta {

namespace {

double g_zoom = 1.0;

} // namespace

double zoom()
{
    return g_zoom;
}

void setZoom(double factor)
{
    g_zoom = factor > 0 ? factor : 1.0;
}

int px(int twips)
{
    return static_cast<int>(std::floor(twips * g_zoom / kTwipsPerPixel + 0.5));
}

QRect twipsRect(int left, int top, int width, int height)
{
    return {px(left), px(top), px(width), px(height)};
}

QRect twipsRect(QRect twips)
{
    return twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
}

int fontPx(int designPixels)
{
    // A hair of slack, so that 11 at a zoom of exactly 1.5 is not taken for 16.4999.
    return static_cast<int>(std::floor(designPixels * g_zoom + 1e-9));
}

} // namespace vignetta
