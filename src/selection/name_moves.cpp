// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/name_moves.h"

#include <cassert>
#include <utility>

namespace vignetta {

namespace {

// Merges the ascending `incoming` positions into `to`, carrying the highlight bits of `to`.
void mergeInto(const std::shared_ptr<const NamePool>& pool, BigVector<std::uint32_t> incoming,
               NameList& to, RowBitmap& toHighlight)
{
    assert(to.isEmpty() || to.pool() == pool);
    if (incoming.empty())
        return;
    toHighlight.resize(static_cast<std::size_t>(to.size()));
    if (to.isEmpty()) {
        toHighlight = RowBitmap(incoming.size());
        to = NameList(pool, std::move(incoming));
        return;
    }

    const BigVector<std::uint32_t> old = to.takePositions();
    BigVector<std::uint32_t> merged(old.size() + incoming.size());
    const bool highlights = toHighlight.any();
    RowBitmap flags(merged.size());
    std::size_t a = 0;
    std::size_t b = 0;
    std::size_t out = 0;
    while (a < old.size() && b < incoming.size()) {
        if (incoming[b] < old[a]) {
            merged[out++] = incoming[b++];
        } else {
            if (highlights && toHighlight.test(a))
                flags.set(out);
            merged[out++] = old[a++];
        }
    }
    for (; a < old.size(); ++a) {
        if (highlights && toHighlight.test(a))
            flags.set(out);
        merged[out++] = old[a];
    }
    for (; b < incoming.size(); ++b)
        merged[out++] = incoming[b];
    to = NameList(pool, std::move(merged));
    toHighlight = std::move(flags);
}

} // namespace

void moveNames(NameList& from, const RowBitmap& take, NameList& to, RowBitmap& toHighlight)
{
    const std::shared_ptr<const NamePool> pool = from.pool();
    const auto n = static_cast<std::size_t>(from.size());
    const std::size_t taken = take.size() <= n ? take.count() : [&] {
        std::size_t c = 0;
        take.forEachSet([&](std::size_t i) { c += i < n ? 1 : 0; });
        return c;
    }();
    if (taken == 0)
        return;
    BigVector<std::uint32_t> moving;
    BigVector<std::uint32_t> staying;
    moving.reserve(taken);
    staying.reserve(n - taken);
    for (std::size_t i = 0; i < n; ++i)
        (take.test(i) ? moving : staying).push_back(from.positionAt(static_cast<qsizetype>(i)));
    from = NameList(pool, std::move(staying));
    mergeInto(pool, std::move(moving), to, toHighlight);
}

void moveAllNames(NameList& from, NameList& to, RowBitmap& toHighlight)
{
    if (from.isEmpty())
        return;
    const std::shared_ptr<const NamePool> pool = from.pool();
    if (to.isEmpty()) {
        // The whole list changes sides as it is, a list standing for its whole pool included.
        toHighlight = RowBitmap(static_cast<std::size_t>(from.size()));
        to = std::exchange(from, NameList(pool, {}));
        return;
    }
    BigVector<std::uint32_t> moving = from.takePositions();
    from = NameList(pool, {});
    mergeInto(pool, std::move(moving), to, toHighlight);
}

} // namespace vignetta
