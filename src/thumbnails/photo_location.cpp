// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "thumbnails/photo_location.h"

#include <QByteArray>

#include <optional>

namespace vignetta {

namespace {

constexpr quint16 kGpsInfoTag = 0x8825;
constexpr quint16 kGpsLatitudeTag = 2;
constexpr quint16 kGpsLongitudeTag = 4;
constexpr int kEntryBytes = 12;

// A TIFF structure (the body of an EXIF block), read with its own byte order; every read is
// checked against its end.
class Tiff
{
public:
    explicit Tiff(QByteArrayView bytes) : m_bytes(bytes)
    {
        if (bytes.size() >= 8 && bytes.startsWith("II*\0"))
            m_little = true;
        else if (bytes.size() >= 8 && bytes.startsWith("MM\0*"))
            m_little = false;
        else
            m_valid = false;
    }

    [[nodiscard]] bool valid() const { return m_valid; }
    [[nodiscard]] std::optional<quint32> firstDirectory() const { return u32(4); }

    // The value of `tag` in the directory at `offset`, as the 32-bit value or offset its entry
    // holds; nothing where it is not there.
    [[nodiscard]] std::optional<quint32> entry(quint32 offset, quint16 tag) const
    {
        const std::optional<quint16> count = u16(offset);
        if (!count)
            return std::nullopt;
        for (quint32 i = 0; i < *count; ++i) {
            const quint64 at = quint64(offset) + 2 + quint64(i) * kEntryBytes;
            const std::optional<quint16> found = u16(at);
            if (!found)
                return std::nullopt;
            if (*found == tag)
                return u32(at + 8);
        }
        return std::nullopt;
    }

private:
    [[nodiscard]] std::optional<quint16> u16(quint64 at) const
    {
        if (at + 2 > quint64(m_bytes.size()))
            return std::nullopt;
        const auto b = [&](quint64 i) { return quint16(quint8(m_bytes[qsizetype(at + i)])); };
        return m_little ? quint16(b(0) | b(1) << 8) : quint16(b(0) << 8 | b(1));
    }
    [[nodiscard]] std::optional<quint32> u32(quint64 at) const
    {
        const std::optional<quint16> a = u16(at);
        const std::optional<quint16> b = u16(at + 2);
        if (!a || !b)
            return std::nullopt;
        return m_little ? quint32(*a) | quint32(*b) << 16 : quint32(*a) << 16 | quint32(*b);
    }

    QByteArrayView m_bytes;
    bool m_little = true;
    bool m_valid = true;
};

bool exifRecordsLocation(QByteArrayView tiffBytes)
{
    const Tiff tiff(tiffBytes);
    if (!tiff.valid())
        return false;
    const std::optional<quint32> ifd0 = tiff.firstDirectory();
    if (!ifd0)
        return false;
    const std::optional<quint32> gps = tiff.entry(*ifd0, kGpsInfoTag);
    return gps && tiff.entry(*gps, kGpsLatitudeTag) && tiff.entry(*gps, kGpsLongitudeTag);
}

bool xmpRecordsLocation(QByteArrayView packet)
{
    return packet.contains(QByteArrayView("GPSLatitude")) &&
           packet.contains(QByteArrayView("GPSLongitude"));
}

} // namespace

bool recordsLocation(QByteArrayView head)
{
    // JPEG: the markers before the picture data, each with its length.
    if (head.size() < 4 || quint8(head[0]) != 0xFF || quint8(head[1]) != 0xD8)
        return false;
    qsizetype at = 2;
    while (at + 4 <= head.size()) {
        if (quint8(head[at]) != 0xFF)
            return false;
        const auto marker = quint8(head[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) // the picture data, or the end: no more metadata
            return false;
        const qsizetype length = quint8(head[at + 2]) << 8 | quint8(head[at + 3]);
        if (length < 2)
            return false;
        const QByteArrayView body = head.sliced(at + 4, std::min(length - 2, head.size() - at - 4));
        if (marker == 0xE1) {
            if (body.startsWith(QByteArrayView("Exif\0\0", 6)) &&
                exifRecordsLocation(body.sliced(6)))
                return true;
            if (body.startsWith(QByteArrayView("http://ns.adobe.com/xap/1.0/")) &&
                xmpRecordsLocation(body))
                return true;
        }
        at += 2 + length;
    }
    return false;
}

} // namespace vignetta
