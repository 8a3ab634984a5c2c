// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/file_names.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace vignetta {

namespace {

// The length of the well-formed UTF-8 sequence at `p` (no overlong forms, no surrogates,
// nothing above U+10FFFF), or 0 where the byte there starts none.
std::size_t utf8SequenceAt(const unsigned char* p, const unsigned char* end)
{
    const unsigned char c = *p;
    if (c < 0x80)
        return 1;
    const auto avail = static_cast<std::size_t>(end - p);
    const auto cont = [&](std::size_t i, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
        return i < avail && p[i] >= lo && p[i] <= hi;
    };
    if (c >= 0xC2 && c <= 0xDF)
        return cont(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        const unsigned char lo = c == 0xE0 ? 0xA0 : 0x80;
        const unsigned char hi = c == 0xED ? 0x9F : 0xBF;
        return cont(1, lo, hi) && cont(2) ? 3 : 0;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        const unsigned char lo = c == 0xF0 ? 0x90 : 0x80;
        const unsigned char hi = c == 0xF4 ? 0x8F : 0xBF;
        return cont(1, lo, hi) && cont(2) && cont(3) ? 4 : 0;
    }
    return 0;
}

// Windows Latin-1 for the bytes 0x80 to 0x9F; the five it leaves unassigned show as U+FFFD.
constexpr std::array<char16_t, 32> kWindows1252High{
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

char16_t windows1252(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : char16_t(byte);
}

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

qsizetype utf8SequenceLength(QByteArrayView bytes, qsizetype at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    return static_cast<qsizetype>(utf8SequenceAt(p + at, p + bytes.size()));
}

bool isUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const std::size_t n = utf8SequenceAt(p, end);
        if (n == 0)
            return false;
        p += n;
    }
    return true;
}

QString displayName(QByteArrayView bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    // QString::fromUtf8 would drop a leading byte-order mark, which belongs to the name.
    const bool startsWithMark = bytes.startsWith("\xEF\xBB\xBF");
    if (!startsWithMark && isUtf8(bytes))
        return QString::fromUtf8(bytes);

    QString text;
    text.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const std::size_t n = utf8SequenceAt(p, end);
        if (n == 0) {
            text.append(QChar(windows1252(*p)));
            ++p;
            continue;
        }
        char32_t code = 0;
        switch (n) {
        case 1:
            code = p[0];
            break;
        case 2:
            code = (char32_t(p[0] & 0x1F) << 6) | (p[1] & 0x3F);
            break;
        case 3:
            code = (char32_t(p[0] & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
            break;
        default:
            code = (char32_t(p[0] & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) |
                   (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
            break;
        }
        if (QChar::requiresSurrogates(code)) {
            text.append(QChar(QChar::highSurrogate(code)));
            text.append(QChar(QChar::lowSurrogate(code)));
        } else {
            text.append(QChar(static_cast<char16_t>(code)));
        }
        p += n;
    }
    return text;
}

QByteArray fileNameBytes(QStringView text)
{
    return QFile::encodeName(text.toString());
}

QList<QByteArray> fileNameBytes(const QStringList& texts)
{
    QList<QByteArray> bytes;
    bytes.reserve(texts.size());
    for (const QString& text : texts)
        bytes.append(fileNameBytes(text));
    return bytes;
}

NamePool::NamePool(BigVector<char> bytes, BigVector<std::uint32_t> starts)
    : m_bytes(std::move(bytes)), m_starts(std::move(starts))
{
    if (m_starts.empty())
        m_starts.push_back(0);
}

std::shared_ptr<const NamePool> NamePool::fromTexts(const QStringList& names)
{
    return fromBytes(fileNameBytes(names));
}

std::shared_ptr<const NamePool> NamePool::fromBytes(const QList<QByteArray>& names)
{
    BigVector<char> bytes;
    BigVector<std::uint32_t> starts;
    starts.reserve(static_cast<std::size_t>(names.size()) + 1);
    starts.push_back(0);
    for (const QByteArray& encoded : names) {
        if (bytes.size() + static_cast<std::size_t>(encoded.size()) > 0xFFFFFFFFU)
            throw std::length_error("names beyond 4 GiB");
        bytes.insert(bytes.end(), encoded.begin(), encoded.end());
        starts.push_back(static_cast<std::uint32_t>(bytes.size()));
    }
    return std::make_shared<const NamePool>(std::move(bytes), std::move(starts));
}

NameList::NameList(std::shared_ptr<const NamePool> pool, BigVector<std::uint32_t> positions)
    : m_pool(std::move(pool)), m_positions(std::move(positions))
{}

NameList NameList::wholePool(std::shared_ptr<const NamePool> pool)
{
    NameList list(std::move(pool), {});
    list.m_whole = true;
    return list;
}

NameList::NameList(const QStringList& texts) : m_pool(NamePool::fromTexts(texts))
{
    m_positions.resize(static_cast<std::size_t>(texts.size()));
    for (std::size_t i = 0; i < m_positions.size(); ++i)
        m_positions[i] =
            texts[static_cast<qsizetype>(i)].isEmpty() ? kEmptyName : static_cast<std::uint32_t>(i);
}

QString NameList::at(qsizetype i) const
{
    return displayName(bytesAt(i));
}

QByteArrayView NameList::bytesAt(qsizetype i) const
{
    const std::uint32_t position = i >= 0 && i < size() ? positionAt(i) : kEmptyName;
    // The empty name, like any other, has a place in memory, if no bytes there.
    return position == kEmptyName ? QByteArrayView("", 0) : m_pool->bytes(position);
}

void NameList::append(const QString& text)
{
    if (text.isEmpty()) {
        m_positions = positions();
        m_whole = false;
        m_positions.push_back(kEmptyName);
        return;
    }
    // A name that is in no pool yet: the pool is made anew with it at its end.
    QStringList texts = toStringList();
    texts.append(text);
    *this = NameList(texts);
}

QStringList NameList::toStringList() const
{
    QStringList texts;
    texts.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        texts.append(at(i));
    return texts;
}

BigVector<std::uint32_t> NameList::positions() const
{
    if (!m_whole)
        return m_positions;
    BigVector<std::uint32_t> all(static_cast<std::size_t>(size()));
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<std::uint32_t>(i);
    return all;
}

BigVector<std::uint32_t> NameList::takePositions()
{
    BigVector<std::uint32_t> taken = m_whole ? positions() : std::move(m_positions);
    m_positions.clear();
    m_whole = false;
    return taken;
}

bool operator==(const NameList& a, const NameList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.bytesAt(i) != b.bytesAt(i))
            return false;
    }
    return true;
}

bool operator==(const NameList& a, const QStringList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.at(i) != b.at(i))
            return false;
    }
    return true;
}

} // namespace vignetta
