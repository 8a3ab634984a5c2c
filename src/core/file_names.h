// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include "core/big_vector.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vignetta {

// File names are kept as the bytes the file system holds, which need not be UTF-8: names from
// old cameras, archives and network shares often are Latin-1. Files are opened by those bytes;
// the text is only for showing.

// Whether the bytes are well-formed UTF-8.
[[nodiscard]] bool isUtf8(QByteArrayView bytes);
// The length of the well-formed UTF-8 sequence starting at byte `at` (no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0 where none starts there.
[[nodiscard]] qsizetype utf8SequenceLength(QByteArrayView bytes, qsizetype at);

// The text shown for a name or path given as its bytes: the UTF-8 text where the bytes are
// UTF-8; a byte outside well-formed UTF-8 shows as the Windows Latin-1 character of its value,
// what such a name most likely meant ("caf\xE9.jpg" shows as café.jpg).
[[nodiscard]] QString displayName(QByteArrayView bytes);

// The bytes of a name or path given as text: its UTF-8, as the file system takes it.
[[nodiscard]] QByteArray fileNameBytes(QStringView text);
// The same for each of `texts`.
[[nodiscard]] QList<QByteArray> fileNameBytes(const QStringList& texts);

// Names held as their bytes, one after another in one buffer; immutable once made.
class NamePool
{
public:
    NamePool() = default;
    // `bytes` holds the names one after another; `starts` the offset of each name in it, then
    // the end of the last one.
    NamePool(BigVector<char> bytes, BigVector<std::uint32_t> starts);
    // A pool of the names given as text, in the order given.
    [[nodiscard]] static std::shared_ptr<const NamePool> fromTexts(const QStringList& names);
    // A pool of the names given as their bytes, in the order given.
    [[nodiscard]] static std::shared_ptr<const NamePool> fromBytes(const QList<QByteArray>& names);

    [[nodiscard]] std::uint32_t size() const
    {
        return m_starts.empty() ? 0 : static_cast<std::uint32_t>(m_starts.size() - 1);
    }
    [[nodiscard]] QByteArrayView bytes(std::uint32_t index) const
    {
        const std::uint32_t length = m_starts[index + 1] - m_starts[index];
        // An empty name is an empty text, never a null pointer.
        return length == 0 ? QByteArrayView("", 0)
                           : QByteArrayView(m_bytes.data() + m_starts[index], length);
    }
    [[nodiscard]] QString text(std::uint32_t index) const { return displayName(bytes(index)); }
    // The memory the pool holds.
    [[nodiscard]] std::size_t memoryBytes() const
    {
        return m_bytes.capacity() + m_starts.capacity() * sizeof(std::uint32_t);
    }

private:
    BigVector<char> m_bytes;
    BigVector<std::uint32_t> m_starts;
};

// A list of names drawn from one shared pool: each entry is the position of a name in the
// pool, so a copy of a list, or a list of a million names, costs four bytes a name. A list can
// also stand for the whole pool in its own order without holding any position.
//
// As the wizard's sImageFiles it also holds the empty name: the array's last element.
class NameList
{
public:
    static constexpr std::uint32_t kEmptyName = 0xFFFFFFFF; // the empty name, in no pool

    NameList() = default;
    NameList(std::shared_ptr<const NamePool> pool, BigVector<std::uint32_t> positions);
    // Every name of the pool, in the pool's order.
    [[nodiscard]] static NameList wholePool(std::shared_ptr<const NamePool> pool);
    // Names given as text, in that order (the list a test or another part of the program
    // writes down): deliberately implicit, so a list of texts can stand where names are asked.
    NameList(const QStringList& texts); // NOLINT(google-explicit-constructor)

    [[nodiscard]] qsizetype size() const
    {
        return m_whole ? qsizetype(m_pool ? m_pool->size() : 0) : qsizetype(m_positions.size());
    }
    [[nodiscard]] bool isEmpty() const { return size() == 0; }
    // The position in the pool of entry i.
    [[nodiscard]] std::uint32_t positionAt(qsizetype i) const
    {
        return m_whole ? static_cast<std::uint32_t>(i) : m_positions[static_cast<std::size_t>(i)];
    }
    // The text of entry i; like a list box asked past its end, the empty text outside the list.
    [[nodiscard]] QString at(qsizetype i) const;
    // The bytes of entry i, as on disk.
    [[nodiscard]] QByteArrayView bytesAt(qsizetype i) const;

    // Adds a name given as text at the end.
    void append(const QString& text);

    [[nodiscard]] QStringList toStringList() const;
    [[nodiscard]] const std::shared_ptr<const NamePool>& pool() const { return m_pool; }
    // The positions of the entries, written out where the list stands for the whole pool.
    [[nodiscard]] BigVector<std::uint32_t> positions() const;
    // The positions, handed out: the list is left empty.
    [[nodiscard]] BigVector<std::uint32_t> takePositions();
    [[nodiscard]] bool isWholePool() const { return m_whole; }

    // The same names, byte for byte, in the same order.
    friend bool operator==(const NameList& a, const NameList& b);
    friend bool operator==(const NameList& a, const QStringList& b);

private:
    std::shared_ptr<const NamePool> m_pool;
    BigVector<std::uint32_t> m_positions;
    bool m_whole = false;
};

} // namespace vignetta
