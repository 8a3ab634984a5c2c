// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace vignetta {

// Memory for the big arrays of a large listing (a million names, their keys, the positions of
// the lists). A block of 2 MiB or more is mapped on its own and asks the system for huge
// pages, so that filling it costs one page fault for each 2 MiB rather than one for each
// 4 KiB: with a million names, the first touches of fresh memory take longer than the work
// done in it. Smaller blocks come from the heap.
namespace big_memory {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// A block of at least `bytes`, aligned to a huge page; throws std::bad_alloc.
[[nodiscard]] void* allocate(std::size_t bytes);
void release(void* block, std::size_t bytes) noexcept;
// Asks for huge pages for the part of a block allocated elsewhere that huge pages can cover.
void adviseHuge(void* block, std::size_t bytes) noexcept;

} // namespace big_memory

template <class T>
struct BigAllocator
{
    using value_type = T;

    BigAllocator() = default;
    template <class U>
    BigAllocator(const BigAllocator<U>& /*other*/) noexcept // NOLINT(google-explicit-constructor)
    {}

    [[nodiscard]] T* allocate(std::size_t n)
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < big_memory::kHugePage)
            return static_cast<T*>(::operator new(bytes));
        return static_cast<T*>(big_memory::allocate(bytes));
    }
    void deallocate(T* p, std::size_t n) noexcept
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < big_memory::kHugePage)
            ::operator delete(p);
        else
            big_memory::release(p, bytes);
    }

    template <class U>
    friend bool operator==(const BigAllocator& /*a*/, const BigAllocator<U>& /*b*/) noexcept
    {
        return true;
    }
};

template <class T>
using BigVector = std::vector<T, BigAllocator<T>>;

} // namespace vignetta
