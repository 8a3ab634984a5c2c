// Fuzzes the moves between the two sorted name lists of the selection step (moveNames,
// moveAllNames) and the order they keep (collationKey, CollatedName's comparison).
//
// Input: one flags byte (bit 0: the names are raw UTF-16, else UTF-8; the byte also seeds the
// first split of the names between the lists and their highlights), the names separated by
// U+001F, then a byte 0x1E and one byte per move: bits 0-1 choose the move (0/1: the taken
// names left to right / right to left, 2/3: all names left to right / right to left), the
// other bits seed which names are taken. Names are unique, as in one directory.
//
// Checked after every move: each name is in exactly one list; both lists are in strictly
// increasing order and every key still belongs to its name; the names that stay keep their
// order; the highlight flags have one entry per row of the receiving list, rows that were there
// keep their flag and arriving rows are not highlighted. The order itself is checked to be a
// strict total order on the names, to agree with collatesBefore, to ignore ASCII letter case
// and a dropped combining mark, and to put a larger number after a smaller one.

#include "fuzz_support.h"

#include "selection/name_collation.h"
#include "selection/name_moves.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <vector>

using vignetta::CollatedName;
using vignetta::CollatedNames;

namespace {

struct Side
{
    CollatedNames names;
    std::vector<bool> highlight;
};

QByteArray quoted(const QString& name)
{
    return "\"" + fuzz::visible(name) + "\"";
}

QByteArray describe(const Side& side)
{
    QByteArray out = QByteArray::number(side.names.size()) + " names:";
    for (std::size_t i = 0; i < side.names.size() && i < 12; ++i)
        out += " " + quoted(side.names[i].name) +
               (i < side.highlight.size() && side.highlight[i] ? "*" : "");
    return out;
}

void checkSorted(const Side& side, const char* which)
{
    for (std::size_t i = 0; i < side.names.size(); ++i) {
        const CollatedName& n = side.names[i];
        FUZZ_CHECK(n.key == vignetta::collationKey(n.name),
                   QByteArray(which) + " row " + QByteArray::number(i) + " " + quoted(n.name));
        if (i == 0)
            continue;
        const CollatedName& before = side.names[i - 1];
        FUZZ_CHECK(before < n && !(n < before),
                   QByteArray(which) + " rows " + QByteArray::number(i - 1) + ", " +
                       QByteArray::number(i) + ": " + quoted(before.name) + " " + quoted(n.name));
    }
}

QStringList namesOf(const Side& side)
{
    QStringList out;
    for (const CollatedName& n : side.names)
        out.append(n.name);
    return out;
}

// One move from `from` to `to`; `take` empty means all of them. Checks the outcome against what
// the lists held before.
void checkedMove(Side& from, Side& to, const std::vector<bool>* take, const QSet<QString>& all)
{
    const QStringList fromBefore = namesOf(from);
    QHash<QString, bool> flagBefore;
    for (std::size_t i = 0; i < to.names.size(); ++i)
        flagBefore.insert(to.names[i].name, to.highlight[i]);

    QStringList staying;
    QSet<QString> moving;
    for (qsizetype i = 0; i < fromBefore.size(); ++i) {
        const bool taken = !take || (static_cast<std::size_t>(i) < take->size() &&
                                     (*take)[static_cast<std::size_t>(i)]);
        if (taken)
            moving.insert(fromBefore[i]);
        else
            staying.append(fromBefore[i]);
    }

    if (take)
        vignetta::moveNames(from.names, *take, to.names, to.highlight);
    else
        vignetta::moveAllNames(from.names, to.names, to.highlight);

    // The mover leaves the sending list's flags to its caller: the staying rows keep theirs.
    std::vector<bool> fromFlags;
    for (qsizetype i = 0; i < fromBefore.size(); ++i) {
        if (!moving.contains(fromBefore[i]))
            fromFlags.push_back(from.highlight[static_cast<std::size_t>(i)]);
    }
    from.highlight = fromFlags;

    const QByteArray state = "from " + describe(from) + " / to " + describe(to);
    FUZZ_CHECK(namesOf(from) == staying, state);
    FUZZ_CHECK(to.highlight.size() == to.names.size(), state);
    FUZZ_CHECK(from.names.size() + to.names.size() == static_cast<std::size_t>(all.size()), state);
    checkSorted(from, "sending list");
    checkSorted(to, "receiving list");

    for (std::size_t i = 0; i < to.names.size(); ++i) {
        const QString& name = to.names[i].name;
        const auto old = flagBefore.constFind(name);
        if (old != flagBefore.cend()) {
            FUZZ_CHECK(to.highlight[i] == *old, "row kept its flag: " + quoted(name) + " " + state);
        } else {
            FUZZ_CHECK(moving.contains(name), "arrived from the other list: " + quoted(name));
            FUZZ_CHECK(!to.highlight[i], "arriving row not highlighted: " + quoted(name));
        }
    }
    FUZZ_CHECK(to.names.size() == static_cast<std::size_t>(flagBefore.size() + moving.size()),
               state);

    QSet<QString> seen;
    for (const Side* side : {&from, &to}) {
        for (const CollatedName& n : side->names) {
            FUZZ_CHECK(all.contains(n.name) && !seen.contains(n.name), quoted(n.name));
            seen.insert(n.name);
        }
    }
}

// The comparison is a strict total order on distinct names.
void checkOrder(const std::vector<CollatedName>& names, fuzz::Choices& choices)
{
    const std::size_t n = std::min<std::size_t>(names.size(), 64);
    for (std::size_t i = 0; i < n; ++i) {
        const CollatedName& a = names[i];
        FUZZ_CHECK(!(a < a), quoted(a.name));
        for (std::size_t j = i + 1; j < n; ++j) {
            const CollatedName& b = names[j];
            const bool ab = a < b;
            const bool ba = b < a;
            FUZZ_CHECK(ab != ba, quoted(a.name) + " " + quoted(b.name)); // distinct: exactly one
            FUZZ_CHECK(vignetta::collatesBefore(a.name, b.name) == ab,
                       quoted(a.name) + " " + quoted(b.name));
        }
    }
    for (int round = 0; round < 200 && n >= 3; ++round) {
        const CollatedName& a = names[choices.below(n)];
        const CollatedName& b = names[choices.below(n)];
        const CollatedName& c = names[choices.below(n)];
        if (a < b && b < c)
            FUZZ_CHECK(a < c, quoted(a.name) + " " + quoted(b.name) + " " + quoted(c.name));
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

void checkKeyRules(const QString& name)
{
    const QString key = vignetta::collationKey(name);
    if (isAscii(name)) {
        FUZZ_CHECK(vignetta::collationKey(asciiCase(name, true)) ==
                       vignetta::collationKey(asciiCase(name, false)),
                   "letter case counts: " + quoted(name));
        // The same text through the general path: a combining mark is dropped.
        FUZZ_CHECK(vignetta::collationKey(QString(name + QChar(0x0301))) == key,
                   "mark changes the key: " + quoted(name));
    }
    const QString larger = countedUp(name);
    if (!larger.isEmpty())
        FUZZ_CHECK(key < vignetta::collationKey(larger) &&
                       CollatedName(name) < CollatedName(larger),
                   "larger number not after: " + quoted(name) + " " + quoted(larger));
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
    const QString text =
        flags & 1 ? fuzz::fromUtf16(namesAt, namesSize) : fuzz::fromUtf8(namesAt, namesSize);

    QStringList unique;
    QSet<QString> all;
    for (const QString& name : text.split(QChar(0x1F))) {
        if (!name.isEmpty() && !all.contains(name)) {
            all.insert(name);
            unique.append(name);
        }
    }

    fuzz::Choices choices(flags);
    for (qsizetype i = 0; i < unique.size() && i < 32; ++i)
        checkKeyRules(unique[i]);

    QStringList leftNames;
    QStringList rightNames;
    for (const QString& name : unique)
        (choices.chance(128) ? leftNames : rightNames).append(name);
    Side left{vignetta::collateSorted(leftNames), {}};
    Side right{vignetta::collateSorted(rightNames), {}};
    for (Side* side : {&left, &right}) {
        FUZZ_CHECK(side->names.size() ==
                       static_cast<std::size_t>((side == &left ? leftNames : rightNames).size()),
                   describe(*side));
        checkSorted(*side, "collated list");
        for (std::size_t i = 0; i < side->names.size(); ++i)
            side->highlight.push_back(choices.chance(64));
    }

    CollatedNames everything = left.names;
    everything.insert(everything.end(), right.names.begin(), right.names.end());
    checkOrder(everything, choices);

    for (const std::uint8_t* op = movesAt; op < data + size; ++op) {
        fuzz::Choices pick(static_cast<std::uint64_t>(*op) << 8 ^
                           static_cast<std::uint64_t>(op - data));
        const bool leftToRight = (*op & 1) == 0;
        Side& from = leftToRight ? left : right;
        Side& to = leftToRight ? right : left;
        if (*op & 2) {
            checkedMove(from, to, nullptr, all);
            continue;
        }
        // How many names are taken varies from none to all; the flags may also stop short of
        // the list or run past it.
        const unsigned density = (*op >> 2 & 0xF) * 17;
        std::size_t length = from.names.size();
        if (pick.chance(32))
            length = pick.below(length + 3);
        std::vector<bool> take(length);
        for (std::size_t i = 0; i < length; ++i)
            take[i] = pick.chance(density);
        checkedMove(from, to, &take, all);
    }
    return 0;
}
