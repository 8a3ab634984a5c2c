// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vignetta {

// One bit per row of a list: which rows are highlighted, or which are taken by a move.
class RowBitmap
{
public:
    RowBitmap() = default;
    explicit RowBitmap(std::size_t size) : m_size(size), m_words((size + 63) / 64, 0) {}

    [[nodiscard]] static RowBitmap fromBools(const std::vector<bool>& rows)
    {
        RowBitmap bits(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i])
                bits.set(i);
        }
        return bits;
    }
    [[nodiscard]] std::vector<bool> toBools() const
    {
        std::vector<bool> rows(m_size, false);
        forEachSet([&rows](std::size_t i) { rows[i] = true; });
        return rows;
    }

    [[nodiscard]] std::size_t size() const { return m_size; }
    // Rows past the end read as not set.
    [[nodiscard]] bool test(std::size_t i) const
    {
        return i < m_size && ((m_words[i / 64] >> (i % 64)) & 1U) != 0;
    }
    void set(std::size_t i, bool value = true)
    {
        const std::uint64_t mask = std::uint64_t{1} << (i % 64);
        if (value)
            m_words[i / 64] |= mask;
        else
            m_words[i / 64] &= ~mask;
    }
    // Sets, clears or flips the rows first to last, both included.
    enum class Op
    {
        kSet,
        kClear,
        kFlip
    };
    void apply(std::size_t first, std::size_t last, Op op)
    {
        if (first > last || first >= m_size)
            return;
        last = std::min(last, m_size - 1);
        for (std::size_t w = first / 64; w <= last / 64; ++w) {
            const std::size_t lo = w == first / 64 ? first % 64 : 0;
            const std::size_t hi = w == last / 64 ? last % 64 : 63;
            const std::uint64_t mask =
                (hi == 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (hi + 1)) - 1) &
                ~((std::uint64_t{1} << lo) - 1);
            if (op == Op::kSet)
                m_words[w] |= mask;
            else if (op == Op::kClear)
                m_words[w] &= ~mask;
            else
                m_words[w] ^= mask;
        }
    }
    void clearAll() { std::fill(m_words.begin(), m_words.end(), 0); }
    // Grows or shrinks to `size` rows; new rows are not set.
    void resize(std::size_t size)
    {
        m_words.resize((size + 63) / 64, 0);
        if (size < m_size && size % 64 != 0)
            m_words.back() &= (std::uint64_t{1} << (size % 64)) - 1;
        m_size = size;
    }

    [[nodiscard]] bool any() const
    {
        return std::any_of(m_words.begin(), m_words.end(), [](std::uint64_t w) { return w != 0; });
    }
    [[nodiscard]] std::size_t count() const
    {
        std::size_t n = 0;
        for (const std::uint64_t w : m_words)
            n += static_cast<std::size_t>(std::popcount(w));
        return n;
    }
    // Calls f(row) for each set row, in order.
    template <class F>
    void forEachSet(F f) const
    {
        for (std::size_t w = 0; w < m_words.size(); ++w) {
            std::uint64_t bits = m_words[w];
            while (bits != 0) {
                f(w * 64 + static_cast<std::size_t>(std::countr_zero(bits)));
                bits &= bits - 1;
            }
        }
    }
    // Calls f(first, last) for each run of set rows, in order.
    template <class F>
    void forEachRun(F f) const
    {
        std::size_t i = 0;
        while (i < m_size) {
            i = nextSet(i);
            if (i >= m_size)
                return;
            const std::size_t start = i;
            i = nextClear(i);
            f(start, i - 1);
        }
    }

    [[nodiscard]] const std::vector<std::uint64_t>& words() const { return m_words; }
    friend bool operator==(const RowBitmap&, const RowBitmap&) = default;

private:
    // The first set (clear) row at or after i, or size().
    [[nodiscard]] std::size_t nextSet(std::size_t i) const { return next(i, 0); }
    [[nodiscard]] std::size_t nextClear(std::size_t i) const { return next(i, ~std::uint64_t{0}); }
    [[nodiscard]] std::size_t next(std::size_t i, std::uint64_t invert) const
    {
        while (i < m_size) {
            const std::uint64_t bits = (m_words[i / 64] ^ invert) >> (i % 64);
            if (bits != 0)
                return std::min(m_size, i + static_cast<std::size_t>(std::countr_zero(bits)));
            i = (i / 64 + 1) * 64;
        }
        return m_size;
    }

    std::size_t m_size = 0;
    std::vector<std::uint64_t> m_words;
};

} // namespace vignetta
