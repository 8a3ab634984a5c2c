#pragma once

#include "core/wizard_state.h"

#include <QString>

#include <optional>

namespace vignetta {

// The title of every warning the navigation shows.
inline constexpr char16_t kWarningTitle[] = u"Cannot proceed to Next Step";

// The checks each step passes before it is left forward: the warning that stops the step, or
// nothing when it passes. Any position past Step 4 never passes, with an empty warning.
[[nodiscard]] std::optional<QString> step1Problem(qsizetype fileCount);
[[nodiscard]] std::optional<QString> step2Problem(qsizetype selectedCount);
// Columns first, then width and height, each by the numeric value of its text.
[[nodiscard]] std::optional<QString> step3Problem(const Step3Values& values,
                                                  qsizetype selectedCount);
[[nodiscard]] std::optional<QString> positionProblem(int iStep);

} // namespace vignetta
