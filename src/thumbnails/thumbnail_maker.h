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
// where the format allows and brought to its exact size smoothly. Only JPEG, PNG, GIF and BMP
// pictures are read, told by their content. A null image when the file cannot be read as one,
// with the reason in `problem`; also null, soon, once `cancel` is set. A picture whose data
// ends early gives what could be read, as browsers show it, and kCutShort in `problem`.
[[nodiscard]] QImage readThumbnail(const QByteArray& nativePath, QSize box,
                                   const std::atomic_bool& cancel, QString* problem);

inline constexpr char16_t kCutShort[] =
    u"its data is damaged or cut short; the thumbnail shows what could be read";
// Added to the marker of a thumbnail made of such a picture, so that a later run that keeps the
// thumbnail still tells.
inline constexpr char16_t kCutShortMarker[] = u" cut-short";

// A thumbnail as the bytes of its file: a JPEG at quality 85, or a PNG where the picture has
// transparent parts. It carries `marker` under kThumbnailMarkerKey and no other text, no
// orientation and no colour profile (its colours are converted to sRGB).
struct EncodedThumbnail
{
    QByteArray bytes;
    QString suffix; // ".jpg" or ".png"
};
[[nodiscard]] EncodedThumbnail encodeThumbnail(const QImage& image, const QString& marker);

// The thumbnail `fileName` in the folder open as `folder` when it can stand for the image at
// `nativeImagePath` (its bytes): it carries `marker` (kCutShortMarker added, where its picture
// was cut short) and was written after the image's last change. Only the thumbnail's header is
// read; a link is never followed.
struct ReusableThumbnail
{
    QSize pixels;
    bool cutShort = false;
};
[[nodiscard]] std::optional<ReusableThumbnail> reusableThumbnail(int folder,
                                                                 const QString& fileName,
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
