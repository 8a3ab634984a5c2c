// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "output/page_saver.h"
#include "output/page_writer.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <optional>

namespace vignetta {

// A thumbnail's two sizes, for an upright image of `imageSize` and Step 3's box in CSS pixels:
// its pixels fit inside twice the box, keeping the image's proportions, but never outgrow the
// image; its size on the page fits inside the box, at the thumbnail's proportions (a small
// image fills the box, as it always did).
struct ThumbnailSizes
{
    QSize pixels;
    QSize css;
};
[[nodiscard]] ThumbnailSizes thumbnailSizes(QSize imageSize, QSize box);

// The largest size of `size`'s proportions inside `box`, each side at least one.
[[nodiscard]] QSize fitInside(QSize size, QSize box);

// The thumbnail of the image at `nativePath` (its bytes, as the file system has them) for the box:
// upright (its EXIF orientation applied), first frame of an animation, decoded at reduced size
// where the format allows and brought to its exact size smoothly. A null image when the file cannot
// be read as an image, with the reason in `problem`; also null, soon, once `cancel` is set.
[[nodiscard]] QImage readThumbnail(const QByteArray& nativePath, QSize box,
                                   const std::atomic_bool& cancel, QString* problem);

// A thumbnail as the bytes of its file: a JPEG at quality 85, or a PNG where the picture has
// transparent parts. It carries `marker` under kThumbnailMarkerKey and no other text, no
// orientation and no colour profile (its colours are converted to sRGB).
struct EncodedThumbnail
{
    QByteArray bytes;
    QString suffix; // ".jpg" or ".png"
};
[[nodiscard]] EncodedThumbnail encodeThumbnail(const QImage& image, const QString& marker);

// The pixel size of the thumbnail `fileName` in the folder open as `folder` when it can stand for
// the image at `nativeImagePath` (its bytes): it carries `marker` and was written after the
// image's last change. Only the thumbnail's header is read; a link is never followed.
[[nodiscard]] std::optional<QSize> reusableThumbnail(int folder, const QString& fileName,
                                                     const QByteArray& nativeImagePath,
                                                     const QString& marker);

// Whether the file `fileName` in the folder open as `folder` carries a thumbnail marker, read
// from its header alone; a link is never followed.
[[nodiscard]] bool carriesThumbnailMarker(int folder, const QString& fileName);

// Writes one thumbnail file into the folder open as `folder`: replaced only once complete,
// never half written, never through a link.
[[nodiscard]] SaveResult saveThumbnailFile(int folder, const QString& fileName,
                                           const QByteArray& bytes);

} // namespace vignetta
