#pragma once

#include <QRect>

namespace vignetta {

// The window is laid out in twips on a 12-twip grid: one pixel at 120 dots per inch. Every
// place and size goes through here, so the layout tables can keep the numbers as designed.
inline constexpr int kTwipsPerPixel = 12;

[[nodiscard]] constexpr int px(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

[[nodiscard]] constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {px(left), px(top), px(width), px(height)};
}

} // namespace vignetta
