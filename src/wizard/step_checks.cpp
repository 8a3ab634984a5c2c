#include "wizard/step_checks.h"

#include "core/text_rules.h"

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

} // namespace vignetta
