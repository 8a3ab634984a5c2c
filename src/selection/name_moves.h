// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/file_names.h"
#include "selection/row_bitmap.h"

namespace vignetta {

// The two selection lists hold positions in one pool whose names are in collation order, so a
// list kept in ascending positions is a sorted list of names, and moving names between lists is
// merging two sorted runs of 32-bit numbers.

// Moves every name of `from` whose row is set in `take` into `to` (rows past the end of `take`
// are not taken). Both lists are sorted before and after and draw on the same pool (an empty
// `to` takes `from`'s); each name stays in exactly one of them. `toHighlight` holds one bit per
// row of `to` and follows the rows it marks; names arriving in `to` are not highlighted. Runs in
// one pass over both lists, however many names move.
void moveNames(NameList& from, const RowBitmap& take, NameList& to, RowBitmap& toHighlight);

// Moves every name of `from` into `to`, with the same rules.
void moveAllNames(NameList& from, NameList& to, RowBitmap& toHighlight);

} // namespace vignetta
