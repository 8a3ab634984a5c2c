#pragma once

#include "selection/name_collation.h"

#include <vector>

namespace vignetta {

// Moves every name of `from` whose flag in `take` is set into `to`. Both lists are sorted
// before and after; each name stays in exactly one of them. `toHighlight` holds one flag per
// row of `to` and follows the rows it marks; names arriving in `to` are not highlighted.
// Runs in one pass over both lists, however many names move.
void moveNames(CollatedNames& from, const std::vector<bool>& take, CollatedNames& to,
               std::vector<bool>& toHighlight);

// Moves every name of `from` into `to`, with the same rules.
void moveAllNames(CollatedNames& from, CollatedNames& to, std::vector<bool>& toHighlight);

} // namespace vignetta
