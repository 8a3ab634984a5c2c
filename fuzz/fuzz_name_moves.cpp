// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Fuzzes the order of names and the moves between the two sorted name lists of the selection
// step, over the storage the program uses: names as their bytes in one pool sorted by
// NamePoolBuilder (compact keys, radix sort), lists of positions in it (NameList), highlights
// as bits (RowBitmap), and the moves moveNames and moveAllNames.
//
// Input: one flags byte (bits 0-1: 1 or 3, the names are raw UTF-16; 2, raw bytes, in any
// encoding or none; 0, UTF-8; the byte also seeds the first split of the names between the
// lists and their highlights), the names separated by U+001F (the byte 0x1F for raw bytes),
// then a byte 0x1E and one byte per move: bits 0-1 choose the move (0/1: the taken names left
// to right / right to left, 2/3: all names left to right / right to left), the other bits seed
// which names are taken. Names are unique, as in one directory.
//
// Checked: the pool holds every name once, in strictly increasing order by compareNames; for
// names that are UTF-8 that order is the one defined on texts (the collation key, then the
// text). The order is a strict total order, ignores ASCII letter case and a dropped combining
// mark, and puts a larger number after a smaller one. After every move: each name is in
// exactly one list; both lists hold strictly increasing positions, so sorted names; the names
// that stay keep their order; the highlight bits have one entry per row of the receiving list,
// rows that were there keep their bit and arriving rows are not highlighted.

#include "fuzz_support.h"

#include "core/file_names.h"
#include "selection/name_collation.h"
#include "selection/name_moves.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <vector>

using vignetta::NameList;
using vignetta::RowBitmap;

namespace {

struct Side
{
    NameList names;
    RowBitmap highlight;
};

QByteArray quoted(QByteArrayView name)
{
    return "\"" + fuzz::visible(vignetta::displayName(name)) + "\"";
}

QByteArray describe(const Side& side)
{
    QByteArray out = QByteArray::number(side.names.size()) + " names:";
    for (qsizetype i = 0; i < side.names.size() && i < 12; ++i)
        out += " " + quoted(side.names.bytesAt(i)) +
               (side.highlight.test(static_cast<std::size_t>(i)) ? "*" : "");
    return out;
}

void checkSorted(const Side& side, const char* which)
{
    for (qsizetype i = 1; i < side.names.size(); ++i) {
        FUZZ_CHECK(side.names.positionAt(i - 1) < side.names.positionAt(i),
                   QByteArray(which) + " rows " + QByteArray::number(i - 1) + ", " +
                       QByteArray::number(i) + ": " + quoted(side.names.bytesAt(i - 1)) + " " +
                       quoted(side.names.bytesAt(i)));
    }
}

QList<QByteArray> namesOf(const Side& side)
{
    QList<QByteArray> out;
    for (qsizetype i = 0; i < side.names.size(); ++i)
        out.append(side.names.bytesAt(i).toByteArray());
    return out;
}

// One move from `from` to `to`; `take` null means all of them. Checks the outcome against
// what the lists held before.
void checkedMove(Side& from, Side& to, const RowBitmap* take, qsizetype all)
{
    const QList<QByteArray> fromBefore = namesOf(from);
    QHash<QByteArray, bool> flagBefore;
    for (qsizetype i = 0; i < to.names.size(); ++i)
        flagBefore.insert(to.names.bytesAt(i).toByteArray(),
                          to.highlight.test(static_cast<std::size_t>(i)));

    QList<QByteArray> staying;
    QSet<QByteArray> moving;
    for (qsizetype i = 0; i < fromBefore.size(); ++i) {
        if (!take || take->test(static_cast<std::size_t>(i)))
            moving.insert(fromBefore[i]);
        else
            staying.append(fromBefore[i]);
    }

    if (take)
        vignetta::moveNames(from.names, *take, to.names, to.highlight);
    else
        vignetta::moveAllNames(from.names, to.names, to.highlight);

    // The mover leaves the sending list's bits to its caller: the staying rows keep theirs.
    RowBitmap fromBits(static_cast<std::size_t>(from.names.size()));
    std::size_t row = 0;
    for (qsizetype i = 0; i < fromBefore.size(); ++i) {
        if (!moving.contains(fromBefore[i]))
            fromBits.set(row++, from.highlight.test(static_cast<std::size_t>(i)));
    }
    from.highlight = fromBits;

    const QByteArray state = "from " + describe(from) + " / to " + describe(to);
    FUZZ_CHECK(namesOf(from) == staying, state);
    FUZZ_CHECK(to.highlight.size() == static_cast<std::size_t>(to.names.size()), state);
    FUZZ_CHECK(from.names.size() + to.names.size() == all, state);
    FUZZ_CHECK(from.names.isEmpty() || to.names.isEmpty() || from.names.pool() == to.names.pool(),
               state);
    checkSorted(from, "sending list");
    checkSorted(to, "receiving list");

    for (qsizetype i = 0; i < to.names.size(); ++i) {
        const QByteArray name = to.names.bytesAt(i).toByteArray();
        const auto old = flagBefore.constFind(name);
        if (old != flagBefore.cend()) {
            FUZZ_CHECK(to.highlight.test(static_cast<std::size_t>(i)) == *old,
                       "row kept its bit: " + quoted(name) + " " + state);
        } else {
            FUZZ_CHECK(moving.contains(name), "arrived from the other list: " + quoted(name));
            FUZZ_CHECK(!to.highlight.test(static_cast<std::size_t>(i)),
                       "arriving row not highlighted: " + quoted(name));
        }
    }
    FUZZ_CHECK(to.names.size() == flagBefore.size() + moving.size(), state);

    QSet<QByteArray> seen;
    for (const Side* side : {&from, &to}) {
        for (const QByteArray& name : namesOf(*side)) {
            FUZZ_CHECK(!seen.contains(name), quoted(name));
            seen.insert(name);
        }
    }
}

// The pool holds the names once each, sorted; the order is the one defined on texts.
void checkPool(const vignetta::NamePool& pool, const QList<QByteArray>& unique,
               fuzz::Choices& choices)
{
    FUZZ_CHECK(pool.size() == static_cast<std::uint32_t>(unique.size()),
               QByteArray::number(pool.size()) + " of " + QByteArray::number(unique.size()));
    QSet<QByteArray> inPool;
    for (std::uint32_t i = 0; i < pool.size(); ++i)
        inPool.insert(pool.bytes(i).toByteArray());
    FUZZ_CHECK(inPool.size() == unique.size(), "names lost or doubled in the pool");

    for (std::uint32_t i = 1; i < pool.size(); ++i) {
        const QByteArrayView a = pool.bytes(i - 1);
        const QByteArrayView b = pool.bytes(i);
        FUZZ_CHECK(vignetta::compareNames(a, b) < 0 && vignetta::compareNames(b, a) > 0,
                   "pool rows " + QByteArray::number(i - 1) + ": " + quoted(a) + " " + quoted(b));
        if (vignetta::isUtf8(a) && vignetta::isUtf8(b)) {
            // The names' own texts: QString::fromUtf8 would drop a leading byte-order mark.
            const QString ta = vignetta::displayName(a);
            const QString tb = vignetta::displayName(b);
            const int byKey = QString::compare(vignetta::collationKey(ta),
                                               vignetta::collationKey(tb), Qt::CaseSensitive);
            FUZZ_CHECK(byKey < 0 || (byKey == 0 && QString::compare(ta, tb) < 0),
                       "text order: " + quoted(a) + " " + quoted(b));
        }
    }
    for (int round = 0; round < 200 && pool.size() >= 3; ++round) {
        const QByteArrayView a = pool.bytes(static_cast<std::uint32_t>(choices.below(pool.size())));
        const QByteArrayView b = pool.bytes(static_cast<std::uint32_t>(choices.below(pool.size())));
        const QByteArrayView c = pool.bytes(static_cast<std::uint32_t>(choices.below(pool.size())));
        if (vignetta::compareNames(a, b) < 0 && vignetta::compareNames(b, c) < 0)
            FUZZ_CHECK(vignetta::compareNames(a, c) < 0,
                       quoted(a) + " " + quoted(b) + " " + quoted(c));
        FUZZ_CHECK((vignetta::compareNames(a, b) == 0) == (a == b), quoted(a) + " " + quoted(b));
    }
}

bool isAscii(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

QString asciiCase(const QString& text, bool upper)
{
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (upper && u >= u'a' && u <= u'z')
            c = QChar(static_cast<char16_t>(u - 32));
        else if (!upper && u >= u'A' && u <= u'Z')
            c = QChar(static_cast<char16_t>(u + 32));
    }
    return out;
}

// The name with its first run of ASCII digits counted up by one, or an empty text.
QString countedUp(const QString& name)
{
    qsizetype start = 0;
    while (start < name.size() && !(name[start] >= u'0' && name[start] <= u'9'))
        ++start;
    if (start == name.size())
        return {};
    qsizetype end = start;
    while (end < name.size() && name[end] >= u'0' && name[end] <= u'9')
        ++end;
    if (end - start > 1000)
        return {};
    QString digits = name.sliced(start, end - start);
    qsizetype i = digits.size() - 1;
    while (i >= 0 && digits[i] == u'9')
        digits[i--] = u'0';
    if (i >= 0)
        digits[i] = QChar(static_cast<char16_t>(digits[i].unicode() + 1));
    else
        digits.prepend(u'1');
    return name.first(start) + digits + name.sliced(end);
}

std::string keyOf(const QString& text)
{
    return vignetta::collationKeyBytes(vignetta::fileNameBytes(text));
}

void checkKeyRules(QByteArrayView bytes)
{
    const QString name = vignetta::displayName(bytes);
    const std::string key = vignetta::collationKeyBytes(bytes);
    FUZZ_CHECK(key.find('\0') == std::string::npos, "zero byte in the key of " + quoted(bytes));
    if (isAscii(name)) {
        FUZZ_CHECK(keyOf(asciiCase(name, true)) == keyOf(asciiCase(name, false)),
                   "letter case counts: " + quoted(bytes));
        // The same text through the general path: a combining mark is dropped.
        FUZZ_CHECK(keyOf(name + QChar(0x0301)) == key, "mark changes the key: " + quoted(bytes));
    }
    const QString larger = countedUp(name);
    if (!larger.isEmpty() && vignetta::isUtf8(bytes))
        FUZZ_CHECK(key < keyOf(larger) &&
                       vignetta::compareNames(bytes, vignetta::fileNameBytes(larger)) < 0,
                   "larger number not after: " + quoted(bytes));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t flags = data[0];
    const std::uint8_t* const namesAt = data + 1;
    const std::uint8_t* const namesEnd = std::find(namesAt, data + size, std::uint8_t{0x1E});
    const std::uint8_t* const movesAt = namesEnd == data + size ? namesEnd : namesEnd + 1;
    const auto namesSize = static_cast<std::size_t>(namesEnd - namesAt);

    QList<QByteArray> parts;
    if ((flags & 3) == 2) {
        parts =
            QByteArray(reinterpret_cast<const char*>(namesAt), qsizetype(namesSize)).split(0x1F);
    } else {
        const QString text =
            flags & 1 ? fuzz::fromUtf16(namesAt, namesSize) : fuzz::fromUtf8(namesAt, namesSize);
        for (const QString& name : text.split(QChar(0x1F)))
            parts.append(vignetta::fileNameBytes(name));
    }
    QList<QByteArray> unique;
    QSet<QByteArray> all;
    for (const QByteArray& name : parts) {
        if (!name.isEmpty() && !all.contains(name)) {
            all.insert(name);
            unique.append(name);
        }
    }

    fuzz::Choices choices(flags);
    for (qsizetype i = 0; i < unique.size() && i < 32; ++i)
        checkKeyRules(unique[i]);

    vignetta::NamePoolBuilder builder;
    for (const QByteArray& name : unique)
        builder.add(name);
    const std::shared_ptr<const vignetta::NamePool> pool = builder.build();
    checkPool(*pool, unique, choices);

    // The first split: each name to one side, both sides in the pool's order.
    vignetta::BigVector<std::uint32_t> leftPositions;
    vignetta::BigVector<std::uint32_t> rightPositions;
    for (std::uint32_t i = 0; i < pool->size(); ++i)
        (choices.chance(128) ? leftPositions : rightPositions).push_back(i);
    Side left{NameList(pool, std::move(leftPositions)), {}};
    Side right{NameList(pool, std::move(rightPositions)), {}};
    if (choices.chance(64))
        left.names = NameList::wholePool(pool), right.names = NameList(pool, {});
    for (Side* side : {&left, &right}) {
        checkSorted(*side, "first split");
        side->highlight = RowBitmap(static_cast<std::size_t>(side->names.size()));
        for (std::size_t i = 0; i < side->highlight.size(); ++i)
            side->highlight.set(i, choices.chance(64));
    }

    for (const std::uint8_t* op = movesAt; op < data + size; ++op) {
        fuzz::Choices pick(static_cast<std::uint64_t>(*op) << 8 ^
                           static_cast<std::uint64_t>(op - data));
        const bool leftToRight = (*op & 1) == 0;
        Side& from = leftToRight ? left : right;
        Side& to = leftToRight ? right : left;
        if (*op & 2) {
            checkedMove(from, to, nullptr, unique.size());
            continue;
        }
        // How many names are taken varies from none to all; the bits may also stop short of
        // the list or run past it.
        const unsigned density = (*op >> 2 & 0xF) * 17;
        auto length = static_cast<std::size_t>(from.names.size());
        if (pick.chance(32))
            length = pick.below(length + 3);
        RowBitmap take(length);
        for (std::size_t i = 0; i < length; ++i)
            take.set(i, pick.chance(density));
        checkedMove(from, to, &take, unique.size());
    }
    return 0;
}
