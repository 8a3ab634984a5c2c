// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Shared pieces of the fuzz targets: turning the fuzzer's bytes into texts, and stopping with
// a readable message when a property does not hold (libFuzzer then keeps the input as a crash).

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzz {

// The bytes as UTF-8; malformed sequences become replacement characters.
inline QString fromUtf8(const std::uint8_t* data, std::size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The bytes as raw UTF-16 code units, least significant byte first, so that any unit can
// occur, unpaired surrogates included. An odd last byte is dropped.
inline QString fromUtf16(const std::uint8_t* data, std::size_t size)
{
    QString text(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto low = static_cast<char16_t>(data[2 * i]);
        const auto high = static_cast<char16_t>(data[2 * i + 1]);
        text[i] = QChar(static_cast<char16_t>(low | high << 8));
    }
    return text;
}

// A text for a message: printable ASCII as it is, everything else as \uXXXX, cut short when
// long.
inline QByteArray visible(QStringView text)
{
    constexpr qsizetype kShown = 200;
    QByteArray out;
    for (qsizetype i = 0; i < text.size() && i < kShown; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x7F && c != u'\\') {
            out.append(static_cast<char>(c));
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
            out.append(escape);
        }
    }
    if (text.size() > kShown)
        out.append("... (" + QByteArray::number(text.size()) + " characters)");
    return out;
}

// Bytes of the page, read as the UTF-8 they are.
inline QByteArray visible(const QByteArray& bytes)
{
    return visible(QString::fromUtf8(bytes));
}

[[noreturn]] inline void fail(const char* file, int line, const char* property,
                              const QByteArray& detail)
{
    std::fprintf(stderr, "\n%s:%d: property does not hold: %s\n", file, line, property);
    if (!detail.isEmpty())
        std::fprintf(stderr, "    %s\n", detail.constData());
    std::fflush(stderr);
    std::abort();
}

// Small deterministic generator for choices derived from the input, so that one input always
// makes the same choices.
class Choices
{
public:
    explicit Choices(std::uint64_t seed) : m_state(seed * 0x9E3779B97F4A7C15u + 1)
    {
        if (m_state == 0)
            m_state = 1; // the one state the generator never leaves
    }
    std::uint64_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }
    // True with probability about numerator / 256.
    bool chance(unsigned numerator) { return (next() & 0xFF) < numerator; }
    std::size_t below(std::size_t bound) { return bound == 0 ? 0 : next() % bound; }

private:
    std::uint64_t m_state;
};

} // namespace fuzz

// Checks a property; `detail` (a QByteArray expression) is worked out only when it fails.
#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::fuzz::fail(__FILE__, __LINE__, #condition, (detail));                                \
    } while (false)
