// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

namespace vignetta {

// The tutor's hint for a wizard position: Steps 1 to 4 (0 to 3) have one; the completion panel
// and anything else have none.
[[nodiscard]] std::optional<QString> tutorHint(int step);

} // namespace vignetta
