// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QList>
#include <QRandomGenerator>
#include <QSize>
#include <QString>

#include <cstdlib>

// Pictures put together by the tests themselves: GIFs byte by byte (Qt reads GIF but has no
// writer for it), JPEGs with an EXIF orientation, and pictures whose corners tell which way
// up they are.
namespace test_pictures {

// A GIF of `size` with a four-colour palette. Each frame holds one palette index per pixel,
// row by row. `transparent` is the palette index shown as transparent, or -1.
//
// The LZW data sends a clear code before every second pixel: the code table then never grows
// past its first free entry and every code stays three bits wide. Nothing is compressed,
// which at these sizes does not matter.
inline QByteArray gifBytes(QSize size, const QList<QRgb>& palette, const QList<QByteArray>& frames,
                           int transparent = -1)
{
    QByteArray gif("GIF89a");
    const auto add16 = [&gif](int value) {
        gif.append(char(value & 0xff));
        gif.append(char((value >> 8) & 0xff));
    };
    add16(size.width());
    add16(size.height());
    gif.append(char(0x81)); // a global colour table of four entries
    gif.append(2, '\0');    // background index, aspect ratio
    for (int i = 0; i < 4; ++i) {
        const QRgb c = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
        gif.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    if (frames.size() > 1) // loop for ever
        gif.append("\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (const QByteArray& frame : frames) {
        // Graphic control: no disposal, 0.1 s delay, the transparent index if there is one.
        gif.append("\x21\xf9\x04", 3);
        gif.append(char(transparent >= 0 ? 1 : 0));
        add16(10);
        gif.append(char(transparent >= 0 ? transparent : 0));
        gif.append('\0');

        gif.append(','); // image descriptor
        add16(0);
        add16(0);
        add16(size.width());
        add16(size.height());
        gif.append('\0'); // no local table, not interlaced
        gif.append('\2'); // LZW minimum code size: codes 0-3 colours, 4 clear, 5 end

        QByteArray data;
        quint32 pending = 0;
        int pendingBits = 0;
        const auto put = [&](quint32 code) {
            pending |= code << pendingBits;
            pendingBits += 3;
            while (pendingBits >= 8) {
                data.append(char(pending & 0xff));
                pending >>= 8;
                pendingBits -= 8;
            }
        };
        for (qsizetype i = 0; i < frame.size(); ++i) {
            if (i % 2 == 0)
                put(4);
            put(quint32(frame[i]) & 3);
        }
        put(5);
        if (pendingBits > 0)
            data.append(char(pending & 0xff));
        for (qsizetype at = 0; at < data.size(); at += 255) {
            const QByteArray block = data.mid(at, 255);
            gif.append(char(block.size())).append(block);
        }
        gif.append('\0'); // end of the image data
    }
    gif.append(';'); // trailer
    return gif;
}

// A one-colour GIF.
inline QByteArray solidGif(QSize size, const QColor& colour)
{
    return gifBytes(size, {colour.rgb()},
                    {QByteArray(qsizetype(size.width()) * size.height(), '\0')});
}

// The JPEG with an APP1 segment holding `body` ("Exif\0\0" and a TIFF body, or an XMP
// packet), put after its JFIF segment.
inline QByteArray withApp1(const QByteArray& jpeg, const QByteArray& body)
{
    const int length = int(body.size()) + 2;
    QByteArray segment("\xff\xe1", 2);
    segment.append(char(length >> 8)).append(char(length & 0xff)).append(body);
    qsizetype at = 2;
    if (jpeg.size() > 6 && uchar(jpeg[2]) == 0xff && uchar(jpeg[3]) == 0xe0)
        at = 4 + ((uchar(jpeg[4]) << 8) | uchar(jpeg[5]));
    return QByteArray(jpeg).insert(at, segment);
}

// The JPEG with an EXIF segment holding only `orientation` (1 to 8), put after its JFIF
// segment: "Exif\0\0", a little-endian TIFF header and one IFD of one SHORT entry, 0x0112.
inline QByteArray withExifOrientation(const QByteArray& jpeg, int orientation)
{
    QByteArray exif("Exif\0\0II*\0", 10);
    const auto add16 = [&exif](int v) {
        exif.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
    };
    const auto add32 = [&](int v) {
        add16(v & 0xffff);
        add16((v >> 16) & 0xffff);
    };
    add32(8);      // the first IFD follows the header
    add16(1);      // one entry
    add16(0x0112); // Orientation
    add16(3);      // SHORT
    add32(1);      // one value
    add16(orientation);
    add16(0);
    add32(0); // no next IFD
    return withApp1(jpeg, exif);
}

// An EXIF segment's TIFF body, in either byte order: a first IFD holding the entries `first`
// (tag and 32-bit value or offset), and where `gps` is not empty a GPS IFD of those entries,
// pointed to from the first. Values are the entries' own 32-bit fields: enough to tell which
// tags are there, which is all a reader of places needs.
inline QByteArray exifTiff(const QList<std::pair<int, quint32>>& first,
                           const QList<std::pair<int, quint32>>& gps, bool bigEndian = false)
{
    QByteArray tiff(bigEndian ? QByteArray("MM\0*", 4) : QByteArray("II*\0", 4));
    const auto add16 = [&](int v) {
        if (bigEndian)
            tiff.append(char((v >> 8) & 0xff)).append(char(v & 0xff));
        else
            tiff.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
    };
    const auto add32 = [&](quint32 v) {
        if (bigEndian) {
            add16(int(v >> 16));
            add16(int(v & 0xffff));
        } else {
            add16(int(v & 0xffff));
            add16(int(v >> 16));
        }
    };
    const auto ifd = [&](const QList<std::pair<int, quint32>>& entries) {
        add16(int(entries.size()));
        for (const auto& [tag, value] : entries) {
            add16(tag);
            add16(4); // LONG
            add32(1);
            add32(value);
        }
        add32(0); // no next IFD
    };
    add32(8);
    QList<std::pair<int, quint32>> entries = first;
    if (!gps.isEmpty())
        entries.append({0x8825, quint32(8 + 2 + 12 * (first.size() + 1) + 4)});
    ifd(entries);
    if (!gps.isEmpty())
        ifd(gps);
    return tiff;
}

// The colours of an upright picture's four quarters: top left, top right, bottom left, bottom
// right. All four differ, so any turn or mirror shows.
inline const QList<QRgb>& quarterColours()
{
    static const QList<QRgb> colours{qRgb(220, 30, 30), qRgb(30, 200, 30), qRgb(30, 30, 220),
                                     qRgb(240, 220, 20)};
    return colours;
}

inline QImage markedPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    const int w = size.width();
    const int h = size.height();
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = quarterColours()[(y < h / 2 ? 0 : 2) + (x < w / 2 ? 0 : 1)];
    }
    return image;
}

// The picture as a camera stores it when it records `orientation` for it: the stored pixel
// (x, y) is the upright pixel named by the EXIF meaning of the orientation (where the stored
// first row and first column belong in the upright picture).
inline QImage storedFor(const QImage& upright, int orientation)
{
    const int w = upright.width();
    const int h = upright.height();
    const bool turned = orientation >= 5;
    QImage stored(turned ? QSize(h, w) : QSize(w, h), QImage::Format_RGB32);
    for (int y = 0; y < stored.height(); ++y) {
        for (int x = 0; x < stored.width(); ++x) {
            int ux = x;
            int uy = y;
            switch (orientation) {
            case 2:
                ux = w - 1 - x;
                break;
            case 3:
                ux = w - 1 - x;
                uy = h - 1 - y;
                break;
            case 4:
                uy = h - 1 - y;
                break;
            case 5:
                ux = y;
                uy = x;
                break;
            case 6:
                ux = w - 1 - y;
                uy = x;
                break;
            case 7:
                ux = w - 1 - y;
                uy = h - 1 - x;
                break;
            case 8:
                ux = y;
                uy = h - 1 - x;
                break;
            default:
                break;
            }
            stored.setPixel(x, y, upright.pixel(ux, uy));
        }
    }
    return stored;
}

// Noise, which compresses badly: thumbnails of some size.
inline QImage noisePicture(QSize size, quint32 seed)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = random.generate() | 0xff000000u;
    }
    return image;
}

inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray jpegBytes(const QImage& image, int quality = 90)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return bytes;
}

// Whether two colours are alike, allowing for what JPEG and scaling do to them.
inline bool alike(QRgb a, QRgb b, int tolerance = 48)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

} // namespace test_pictures
