// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tutor/tutor_hints.h"

#include <array>

namespace vignetta {

namespace {

constexpr std::array<const char16_t*, 4> kBodies{
    // Step 1
    u"First, select the Drive and Directory containing the desired image files. Supported "
    u"images include the following formats(.jpg, .gif, .bmp). Select the \"Next >>\" "
    u"button to continue.",
    // Step 2
    u"Select the desired images from the Unselected list on the left, and move them to the "
    u"Selected list on the right. You can move all images from list to list using the "
    u"corresponding \"All\" button, or you can Highlight the desired images and move them "
    u"using the \"Add\" and \"Remove\" buttons. Select the \"Next >>\" button to continue, "
    u"or the \"<< Back\" button to return to the previous step.",
    // Step 3
    u"Decide on a size for the thumbnails, and enter the Width and Height. Then enter the "
    u"number of thumbnails to place in each column. If you want a visible Border, make "
    u"sure the \"Border\" box is Checked, then enter the Border Thickness. To complete "
    u"this step, select a ForeGround color, and a BackGround color for your thumbnail "
    u"page. Select the \"Next >>\" button to continue, or the \"<< Back\" button to return "
    u"to the previous step.",
    // Step 4
    u"Finally, select a file Name and Extension for your thumbnail page. The created page "
    u"will be placed on the same drive, and in the same directory as the selected images "
    u"files. Select the \"Finish\" button to continue, or the \"<< Back\" button to return "
    u"to the previous step.",
};

constexpr char16_t kGap[] = u"     ";
constexpr char16_t kClosing[] = u"Select the \"Tutor\" button again to turn off this tutor.";

} // namespace

std::optional<QString> tutorHint(int step)
{
    if (step < 0 || step >= static_cast<int>(kBodies.size()))
        return std::nullopt;
    return QStringLiteral("Step %1:").arg(step + 1) + QString::fromUtf16(kGap) +
           QString::fromUtf16(kBodies[static_cast<std::size_t>(step)]) + QString::fromUtf16(kGap) +
           QString::fromUtf16(kClosing);
}

} // namespace vignetta
