// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/file_names.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vignetta {

// The one order of names shared by the directory list, the file list and both selection
// lists: letter case and accents ignored, runs of digits compared by their value (IMG_2 before
// IMG_10). Names that collate alike are ordered by their exact text, then by their bytes, so
// the order is total and stable.

// The collation key of a name as text: names go in the order of their keys, compared unit by
// unit, then by the exact text.
[[nodiscard]] QString collationKey(QStringView name);

// The collation key of a name given as its bytes, as bytes that compare (unsigned, a shorter
// key before a longer one it begins) in the order of collationKey(displayName(name)): each unit
// of that key as one byte where it is below 0x7F, else as three. No key byte is zero.
void appendCollationKey(QByteArrayView name, std::string& key);
[[nodiscard]] std::string collationKeyBytes(QByteArrayView name);

// Compares two names given as their bytes in the order above: below, at or above zero.
[[nodiscard]] int compareNames(QByteArrayView a, QByteArrayView b);
// True when name a goes before name b, both given as text.
[[nodiscard]] bool collatesBefore(QStringView a, QStringView b);

// Gathers the names of a listing as their bytes, then sorts them into a pool. Sorting works on
// a compact key: an eight-byte piece of each name's collation key, sorted by radix and refined
// piece by piece only where pieces tie, the exact text and bytes deciding between names whose
// keys are the same.
class NamePoolBuilder
{
public:
    NamePoolBuilder();

    // Room for about `count` names of `bytes` in all, so that a large listing is not copied as
    // it grows.
    void reserve(std::size_t bytes, std::size_t count);
    // Adds a name. Throws std::length_error past 4 GiB of names.
    void add(QByteArrayView name);
    [[nodiscard]] std::size_t count() const { return m_starts.size() - 1; }

    // The names added, sorted. Polls `cancelled` now and then; a cancelled build gives null.
    [[nodiscard]] std::shared_ptr<const NamePool>
    build(const std::function<bool()>& cancelled = {});

private:
    BigVector<char> m_bytes;
    BigVector<std::uint32_t> m_starts;
};

// The names given as text, sorted into a pool.
[[nodiscard]] std::shared_ptr<const NamePool> sortedPool(const QStringList& names);

} // namespace vignetta
