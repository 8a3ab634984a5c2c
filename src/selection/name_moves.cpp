#include "selection/name_moves.h"

#include <utility>

namespace vignetta {

namespace {

// Merges the sorted `incoming` names into the sorted `to`, carrying the highlight flags.
void mergeInto(CollatedNames&& incoming, CollatedNames& to, std::vector<bool>& toHighlight)
{
    if (incoming.empty())
        return;
    toHighlight.resize(to.size(), false);

    CollatedNames merged;
    merged.reserve(to.size() + incoming.size());
    std::vector<bool> flags;
    flags.reserve(to.size() + incoming.size());

    std::size_t a = 0;
    std::size_t b = 0;
    while (a < to.size() && b < incoming.size()) {
        if (incoming[b] < to[a]) {
            merged.push_back(std::move(incoming[b++]));
            flags.push_back(false);
        } else {
            merged.push_back(std::move(to[a]));
            flags.push_back(toHighlight[a]);
            ++a;
        }
    }
    for (; a < to.size(); ++a) {
        merged.push_back(std::move(to[a]));
        flags.push_back(toHighlight[a]);
    }
    for (; b < incoming.size(); ++b) {
        merged.push_back(std::move(incoming[b]));
        flags.push_back(false);
    }
    to = std::move(merged);
    toHighlight = std::move(flags);
}

} // namespace

void moveNames(CollatedNames& from, const std::vector<bool>& take, CollatedNames& to,
               std::vector<bool>& toHighlight)
{
    CollatedNames moving;
    CollatedNames staying;
    staying.reserve(from.size());
    for (std::size_t i = 0; i < from.size(); ++i) {
        if (i < take.size() && take[i])
            moving.push_back(std::move(from[i]));
        else
            staying.push_back(std::move(from[i]));
    }
    from = std::move(staying);
    mergeInto(std::move(moving), to, toHighlight);
}

void moveAllNames(CollatedNames& from, CollatedNames& to, std::vector<bool>& toHighlight)
{
    CollatedNames moving = std::move(from);
    from.clear();
    mergeInto(std::move(moving), to, toHighlight);
}

} // namespace vignetta
