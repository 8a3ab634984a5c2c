// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>

namespace vignetta {

// Whether a photo's file, given by its first bytes (kLocationHeadBytes of them are enough for
// any camera's metadata), records where it was taken: an EXIF GPS block holding a latitude and
// a longitude, or XMP naming them. Only JPEG files carry such blocks among the formats a page
// shows. Any input is safe: a damaged or hostile header is read as holding no location.
[[nodiscard]] bool recordsLocation(QByteArrayView head);
inline constexpr qsizetype kLocationHeadBytes = qsizetype(128) * 1024;

} // namespace vignetta
