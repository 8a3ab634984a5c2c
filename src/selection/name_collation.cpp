// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/name_collation.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace vignetta {

namespace {

bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Emits the key units of an already folded text, read through `at`: each run of digits
// becomes "0", a unit holding the count of its significant digits, then those digits, so that
// a longer number sorts after a shorter one and equal lengths compare digit by digit. The
// marker "0" keeps numbers where digits stand among the other characters.
template <class At, class Emit>
void emitFoldedKey(qsizetype n, At at, Emit emit)
{
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = at(i);
        if (!isAsciiDigit(c)) {
            emit(c);
            ++i;
            continue;
        }
        qsizetype start = i;
        while (i < n && isAsciiDigit(at(i)))
            ++i;
        while (start < i - 1 && at(start) == u'0')
            ++start; // leading zeros do not change the value
        qsizetype significant = i - start;
        if (significant == 1 && at(start) == u'0')
            significant = 0;
        emit(u'0');
        emit(static_cast<char16_t>(u'0' + std::min<qsizetype>(significant, 0xF000)));
        for (qsizetype k = 0; k < significant; ++k)
            emit(at(start + k));
    }
}

char16_t foldAscii(char16_t u)
{
    return (u >= u'A' && u <= u'Z') ? static_cast<char16_t>(u + 32) : u;
}

// A name's text with accents dropped (decomposed, marks removed) and case folded.
QString foldedText(QStringView name)
{
    const QString decomposed = name.toString().normalized(QString::NormalizationForm_KD);
    QString bare;
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (!c.isMark())
            bare.append(c);
    }
    return bare.toCaseFolded();
}

bool isAsciiText(QStringView name)
{
    return std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// One key unit as key bytes: below 0x7F one byte (its value plus one, so no byte is zero),
// else three, a lead byte above every one-byte unit and two carrying the rest.
template <class Bytes>
void appendKeyUnit(Bytes& key, char16_t u)
{
    if (u < 0x7F) {
        key.push_back(static_cast<char>(u + 1));
        return;
    }
    key.push_back(static_cast<char>(0xC0 + (u >> 12)));
    key.push_back(static_cast<char>(0x80 + ((u >> 6) & 0x3F)));
    key.push_back(static_cast<char>(0x80 + (u & 0x3F)));
}

int compareKeys(std::string_view a, std::string_view b)
{
    const int byBytes = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    if (byBytes != 0)
        return byBytes;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// Between names whose keys are the same: the exact text, then the bytes.
int compareTies(QByteArrayView a, QByteArrayView b)
{
    const int byText = QString::compare(displayName(a), displayName(b), Qt::CaseSensitive);
    if (byText != 0)
        return byText;
    return compareKeys(std::string_view(a.data(), static_cast<std::size_t>(a.size())),
                       std::string_view(b.data(), static_cast<std::size_t>(b.size())));
}

template <class Bytes>
void appendKey(QByteArrayView name, Bytes& key)
{
    const auto emit = [&key](char16_t u) { appendKeyUnit(key, u); };
    const bool ascii = std::all_of(name.begin(), name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        emitFoldedKey(
            name.size(),
            [name](qsizetype i) { return foldAscii(static_cast<unsigned char>(name[i])); }, emit);
        return;
    }
    const QString folded = foldedText(displayName(name));
    emitFoldedKey(
        folded.size(), [&folded](qsizetype i) { return folded[i].unicode(); }, emit);
}

// ---- Sorting a listing ------------------------------------------------------------------

// The keys of all names, one after another.
struct Keys
{
    BigVector<char> bytes;
    BigVector<std::uint32_t> starts;

    // Eight bytes of key i from 8 * depth on, as a big-endian number padded with zeros: numbers
    // compare as the bytes do.
    [[nodiscard]] std::uint64_t chunk(std::uint32_t i, std::size_t depth) const
    {
        const std::size_t from = starts[i] + 8 * depth;
        const std::size_t end = starts[i + 1];
        if (from >= end)
            return 0;
        std::uint64_t value = 0;
        if (end - from >= 8) {
            std::memcpy(&value, bytes.data() + from, 8);
            return __builtin_bswap64(value);
        }
        for (std::size_t k = 0; k < 8; ++k) {
            value <<= 8;
            if (from + k < end)
                value |= static_cast<unsigned char>(bytes[from + k]);
        }
        return value;
    }
    [[nodiscard]] std::size_t length(std::uint32_t i) const { return starts[i + 1] - starts[i]; }
};

// Sorts the entries [lo, hi) of `chunks` and `order` together by chunk.
class ChunkSorter
{
public:
    ChunkSorter(BigVector<std::uint64_t>& chunks, BigVector<std::uint32_t>& order)
        : m_chunks(chunks), m_order(order)
    {}

    void sort(std::size_t lo, std::size_t hi)
    {
        const std::size_t n = hi - lo;
        if (n <= 24) {
            insertionSort(lo, hi);
            return;
        }
        if (n <= 2048) {
            m_pairs.resize(n);
            for (std::size_t i = 0; i < n; ++i)
                m_pairs[i] = {m_chunks[lo + i], m_order[lo + i]};
            std::sort(m_pairs.begin(), m_pairs.end(),
                      [](const auto& a, const auto& b) { return a.first < b.first; });
            for (std::size_t i = 0; i < n; ++i)
                std::tie(m_chunks[lo + i], m_order[lo + i]) = m_pairs[i];
            return;
        }
        radixSort(lo, hi);
    }

private:
    void insertionSort(std::size_t lo, std::size_t hi)
    {
        for (std::size_t i = lo + 1; i < hi; ++i) {
            const std::uint64_t c = m_chunks[i];
            const std::uint32_t o = m_order[i];
            std::size_t j = i;
            while (j > lo && m_chunks[j - 1] > c) {
                m_chunks[j] = m_chunks[j - 1];
                m_order[j] = m_order[j - 1];
                --j;
            }
            m_chunks[j] = c;
            m_order[j] = o;
        }
    }

    // Least significant byte first, skipping the bytes every entry shares.
    void radixSort(std::size_t lo, std::size_t hi)
    {
        const std::size_t n = hi - lo;
        std::array<std::array<std::uint32_t, 256>, 8> counts{};
        for (std::size_t i = lo; i < hi; ++i) {
            const std::uint64_t c = m_chunks[i];
            for (std::size_t b = 0; b < 8; ++b)
                ++counts[b][(c >> (8 * b)) & 0xFF];
        }
        m_tmpChunks.resize(std::max(m_tmpChunks.size(), n));
        m_tmpOrder.resize(std::max(m_tmpOrder.size(), n));
        std::uint64_t* srcC = m_chunks.data() + lo;
        std::uint32_t* srcO = m_order.data() + lo;
        std::uint64_t* dstC = m_tmpChunks.data();
        std::uint32_t* dstO = m_tmpOrder.data();
        for (std::size_t b = 0; b < 8; ++b) {
            auto& count = counts[b];
            if (std::find(count.begin(), count.end(), n) != count.end())
                continue; // every entry has the same byte here
            std::uint32_t sum = 0;
            for (std::uint32_t& c : count)
                sum += std::exchange(c, sum);
            const unsigned shift = 8 * static_cast<unsigned>(b);
            for (std::size_t i = 0; i < n; ++i) {
                const std::uint32_t at = count[(srcC[i] >> shift) & 0xFF]++;
                dstC[at] = srcC[i];
                dstO[at] = srcO[i];
            }
            std::swap(srcC, dstC);
            std::swap(srcO, dstO);
        }
        if (srcC != m_chunks.data() + lo) {
            std::copy_n(srcC, n, m_chunks.data() + lo);
            std::copy_n(srcO, n, m_order.data() + lo);
        }
    }

    BigVector<std::uint64_t>& m_chunks;
    BigVector<std::uint32_t>& m_order;
    BigVector<std::uint64_t> m_tmpChunks;
    BigVector<std::uint32_t> m_tmpOrder;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> m_pairs;
};

// The order of the names in `bytes`/`starts`: a most-significant-piece-first radix sort on
// eight-byte pieces of the keys. Empty where cancelled.
BigVector<std::uint32_t> sortedOrder(const BigVector<char>& bytes,
                                     const BigVector<std::uint32_t>& starts,
                                     const std::function<bool()>& cancelled)
{
    const std::size_t n = starts.size() - 1;
    const auto nameAt = [&](std::uint32_t i) {
        return QByteArrayView(bytes.data() + starts[i], starts[i + 1] - starts[i]);
    };
    Keys keys;
    keys.bytes.reserve(bytes.size() + n);
    keys.starts.resize(n + 1);
    for (std::uint32_t i = 0; i < n; ++i) {
        keys.starts[i] = static_cast<std::uint32_t>(keys.bytes.size());
        appendKey(nameAt(i), keys.bytes);
        if (keys.bytes.size() > 0xFFFFFFFFU)
            throw std::length_error("collation keys beyond 4 GiB");
    }
    keys.starts[n] = static_cast<std::uint32_t>(keys.bytes.size());
    if (cancelled && cancelled())
        return {};

    BigVector<std::uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0U);
    BigVector<std::uint64_t> chunks(n);
    ChunkSorter sorter(chunks, order);

    struct Range
    {
        std::size_t lo;
        std::size_t hi;
        std::size_t depth;
    };
    std::vector<Range> stack{{0, n, 0}};
    std::size_t work = 0;
    while (!stack.empty()) {
        const Range r = stack.back();
        stack.pop_back();
        for (std::size_t i = r.lo; i < r.hi; ++i)
            chunks[i] = keys.chunk(order[i], r.depth);
        sorter.sort(r.lo, r.hi);
        work += r.hi - r.lo;
        if (work > (1U << 16)) {
            work = 0;
            if (cancelled && cancelled())
                return {};
        }
        std::size_t a = r.lo;
        while (a < r.hi) {
            std::size_t b = a + 1;
            while (b < r.hi && chunks[b] == chunks[a])
                ++b;
            if (b - a > 1) {
                // Equal pieces: since no key byte is zero, keys that end within the piece end at
                // the same place. Where none goes on past it, the keys are the same and the text
                // decides; else the next piece does, a key that ended reading as zeros.
                const std::size_t pieceEnd = 8 * (r.depth + 1);
                const bool goesOn =
                    std::any_of(order.begin() + static_cast<std::ptrdiff_t>(a),
                                order.begin() + static_cast<std::ptrdiff_t>(b),
                                [&](std::uint32_t i) { return keys.length(i) > pieceEnd; });
                if (goesOn) {
                    stack.push_back({a, b, r.depth + 1});
                } else {
                    std::sort(order.begin() + static_cast<std::ptrdiff_t>(a),
                              order.begin() + static_cast<std::ptrdiff_t>(b),
                              [&](std::uint32_t x, std::uint32_t y) {
                                  return compareTies(nameAt(x), nameAt(y)) < 0;
                              });
                }
            }
            a = b;
        }
    }
    return order;
}

} // namespace

QString collationKey(QStringView name)
{
    QString key;
    key.reserve(name.size() + 8);
    const auto emit = [&key](char16_t u) { key.append(QChar(u)); };
    if (isAsciiText(name)) {
        // Fast path for the common case: fold A-Z by hand.
        emitFoldedKey(
            name.size(), [name](qsizetype i) { return foldAscii(name[i].unicode()); }, emit);
        return key;
    }
    // Decompose so that accents become marks of their own, drop the marks, then fold case.
    const QString folded = foldedText(name);
    emitFoldedKey(
        folded.size(), [&folded](qsizetype i) { return folded[i].unicode(); }, emit);
    return key;
}

void appendCollationKey(QByteArrayView name, std::string& key)
{
    appendKey(name, key);
}

std::string collationKeyBytes(QByteArrayView name)
{
    std::string key;
    key.reserve(static_cast<std::size_t>(name.size()) + 8);
    appendCollationKey(name, key);
    return key;
}

int compareNames(QByteArrayView a, QByteArrayView b)
{
    const int byKey = compareKeys(collationKeyBytes(a), collationKeyBytes(b));
    return byKey != 0 ? byKey : compareTies(a, b);
}

bool collatesBefore(QStringView a, QStringView b)
{
    return compareNames(fileNameBytes(a), fileNameBytes(b)) < 0;
}

NamePoolBuilder::NamePoolBuilder() : m_starts{0} {}

void NamePoolBuilder::reserve(std::size_t bytes, std::size_t count)
{
    m_bytes.reserve(bytes);
    m_starts.reserve(count + 1);
}

void NamePoolBuilder::add(QByteArrayView name)
{
    const auto length = static_cast<std::size_t>(name.size());
    if (m_bytes.size() + length > 0xFFFFFFFFU)
        throw std::length_error("names beyond 4 GiB");
    m_bytes.insert(m_bytes.end(), name.begin(), name.end());
    m_starts.push_back(static_cast<std::uint32_t>(m_bytes.size()));
}

std::shared_ptr<const NamePool> NamePoolBuilder::build(const std::function<bool()>& cancelled)
{
    const BigVector<std::uint32_t> order = sortedOrder(m_bytes, m_starts, cancelled);
    if (order.size() != count())
        return nullptr;
    // The names in their order, into a buffer of their exact size.
    BigVector<char> bytes(m_bytes.size());
    BigVector<std::uint32_t> starts;
    starts.reserve(order.size() + 1);
    std::size_t at = 0;
    for (const std::uint32_t i : order) {
        starts.push_back(static_cast<std::uint32_t>(at));
        const std::size_t length = m_starts[i + 1] - m_starts[i];
        std::memcpy(bytes.data() + at, m_bytes.data() + m_starts[i], length);
        at += length;
    }
    starts.push_back(static_cast<std::uint32_t>(at));
    BigVector<char>().swap(m_bytes);
    BigVector<std::uint32_t>{0}.swap(m_starts);
    return std::make_shared<const NamePool>(std::move(bytes), std::move(starts));
}

std::shared_ptr<const NamePool> sortedPool(const QStringList& names)
{
    NamePoolBuilder builder;
    for (const QString& name : names)
        builder.add(fileNameBytes(name));
    return builder.build();
}

} // namespace vignetta
