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

// A picture decoded for the page: its thumbnail, and its screen-size copy where asked for.
// Both are upright (the EXIF orientation applied) and show the first frame of an animation.
struct DecodedPicture
{
    QImage thumbnail;
    QImage copy;
    // Why the file could not be read as a picture (the images are null); or kCutShort, where
    // its data ends early: the images then show what could be read, as browsers show it.
    QString problem;
};

// Reads the picture at `nativePath` (its bytes, as the file system has them) once, decoded at
// the reduced size the larger of the two needs where the format allows, and brought to the
// exact sizes smoothly: the thumbnail for the box (thumbnailSizes) and, `withCopy`, the copy
// (copySize), the thumbnail then scaled from the copy. Only JPEG, PNG, GIF and BMP pictures
// are read, told by their content. Null images, soon, once `cancel` is set.
[[nodiscard]] DecodedPicture readPicture(const QByteArray& nativePath, QSize box, bool withCopy,
                                         const std::atomic_bool& cancel);
// The thumbnail alone, the problem in `problem`.
[[nodiscard]] QImage readThumbnail(const QByteArray& nativePath, QSize box,
                                   const std::atomic_bool& cancel, QString* problem);

inline constexpr char16_t kCutShort[] =
    u"its data is damaged or cut short; the thumbnail shows what could be read";

// The screen-size copy's pixel size for an upright picture of `upright` pixels: its long edge
// at most kCopyLongEdge, never enlarged. Where the decoder reduces the picture by 1/2, 1/4 or
// 1/8 at little cost (`reducedByDecoder`, JPEG), the reduced size whose long edge is the
// largest within the limit, if that is at least three quarters of it.
[[nodiscard]] QSize copySize(QSize upright, bool reducedByDecoder);
inline constexpr int kCopyLongEdge = 2048;

// A picture as the bytes of its file: a JPEG at quality 85, or a PNG where it has transparent
// parts; its colours in sRGB, and nothing but its pixels: no EXIF, GPS, XMP, IPTC, comment,
// orientation or colour profile.
struct EncodedPicture
{
    QByteArray bytes;
    QString suffix; // ".jpg" or ".png"
};
[[nodiscard]] EncodedPicture encodePicture(const QImage& image);

// The pixel size of the picture file `fileName` in the folder open as `folder` when it was
// written after the last change of the image at `nativeImagePath` (its bytes). Only its header
// is read; a link is never followed. What it was made for is the folder's record
// (FolderManifest).
[[nodiscard]] std::optional<QSize> reusablePicture(int folder, const QString& fileName,
                                                   const QByteArray& nativeImagePath);

// Whether the file `fileName` in the folder open as `folder` carries the marker in its header
// that thumbnails of earlier versions carried; a link is never followed.
[[nodiscard]] bool carriesThumbnailMarker(int folder, const QString& fileName);

// Writes one picture file into the folder open as `folder`: replaced only once complete, never
// half written, never through a link. It reaches the disk with the folder's next sync.
[[nodiscard]] SaveResult savePictureFile(int folder, const QString& fileName,
                                         const QByteArray& bytes);

} // namespace vignetta
