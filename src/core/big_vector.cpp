// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/big_vector.h"

#include <cstdint>
#include <sys/mman.h>

namespace vignetta::big_memory {

namespace {

std::size_t roundUp(std::size_t n, std::size_t to)
{
    return (n + to - 1) / to * to;
}

} // namespace

void* allocate(std::size_t bytes)
{
    const std::size_t size = roundUp(bytes, kHugePage);
    // One huge page more than asked, so that an aligned block lies within; the rest goes back.
    void* const raw = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE,
                             MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::size_t head = roundUp(start, kHugePage) - start;
    char* const block = static_cast<char*>(raw) + head;
    if (head != 0)
        ::munmap(raw, head);
    ::munmap(block + size, kHugePage - head);
    // Only a wish: without huge pages the block works all the same.
    ::madvise(block, size, MADV_HUGEPAGE);
    return block;
}

void release(void* block, std::size_t bytes) noexcept
{
    ::munmap(block, roundUp(bytes, kHugePage));
}

void adviseHuge(void* block, std::size_t bytes) noexcept
{
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::size_t head = roundUp(start, kHugePage) - start;
    if (bytes <= head)
        return;
    const std::size_t whole = (bytes - head) / kHugePage * kHugePage;
    if (whole != 0)
        ::madvise(static_cast<char*>(block) + head, whole, MADV_HUGEPAGE);
}

} // namespace vignetta::big_memory
