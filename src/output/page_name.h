// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

namespace vignetta {

// The page's file name as Step 4 collects it: the typed name without its surrounding blanks,
// then ".html" when the first extension is chosen and ".htm" otherwise.
[[nodiscard]] QString pageFileName(QStringView typedName, bool htmlExtension);

} // namespace vignetta
