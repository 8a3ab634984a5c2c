// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/step_checks.h"

#include "core/text_rules.h"
#include "output/page_writer.h"

namespace vignetta {

std::optional<QString> step1Problem(qsizetype fileCount)
{
    if (fileCount > 0)
        return std::nullopt;
    return QStringLiteral("No image files in selected directory!");
}

std::optional<QString> step2Problem(qsizetype selectedCount)
{
    if (selectedCount > 0)
        return std::nullopt;
    return QStringLiteral("No image files are selected");
}

std::optional<QString> step3Problem(const Step3Values& values, qsizetype selectedCount)
{
    // Compared as numbers, fractions included: a value within the bounds passes.
    const double columns = numericValue(values.sColumns);
    if (!(columns > 0 && columns <= static_cast<double>(selectedCount)))
        return QStringLiteral(
            "Columns should be a value < or = the number of images, but > than 0");
    if (!(numericValue(values.sWidth) > 0 && numericValue(values.sHeight) > 0))
        return QStringLiteral("Width and Height should be a value greater 0");
    return std::nullopt;
}

std::optional<QString> positionProblem(int iStep)
{
    if (iStep >= kStep1 && iStep <= kStep4)
        return std::nullopt;
    return QString();
}

std::optional<QString> thumbnailSizeProblem(QStringView width, QStringView height)
{
    // The first box that is not in pixels is named, as it was typed.
    const auto notInPixels = [](QStringView which, QStringView text) {
        return QStringLiteral("Thumbnail files need the Width and Height in pixels, such as 150: "
                              "the %1 is \"%2\".")
            .arg(which, text);
    };
    if (!pixelLength(width))
        return notInPixels(u"Width", width);
    if (!pixelLength(height))
        return notInPixels(u"Height", height);
    return std::nullopt;
}

} // namespace vignetta
