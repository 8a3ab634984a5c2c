// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Fuzzes the reading of where a photo was taken (recordsLocation) from a file's first bytes: a
// JPEG's markers, an EXIF block's TIFF directories and an XMP packet, all as a camera, an editor
// or a hostile file may write them.
//
// Checked: every input is read without reading past its end (the sanitizers watch); the answer
// does not depend on what follows the picture data's start, since the reading stops there; and
// anything that does not start as a JPEG records no place.

#include "fuzz_support.h"

#include "thumbnails/photo_location.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const bool located = vignetta::recordsLocation(bytes);
    if (size < 2 || data[0] != 0xFF || data[1] != 0xD8)
        FUZZ_CHECK(!located, "a place in a file that is no JPEG");
    // Whatever follows the start of the picture data is never read.
    const qsizetype scan = bytes.indexOf("\xFF\xDA");
    if (scan >= 0 && !located) {
        const QByteArray more = bytes.first(scan + 2) + QByteArray(64, '\xE1');
        FUZZ_CHECK(!vignetta::recordsLocation(more), "the picture data was read");
    }
    return 0;
}
