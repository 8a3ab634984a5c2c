// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

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
// Thumbnail files are made at a size in pixels: Step 3's Width and Height must each be a plain
// number of pixels ("150", "150px"), not "50%" or "12em".
[[nodiscard]] std::optional<QString> thumbnailSizeProblem(QStringView width, QStringView height);

} // namespace vignetta
