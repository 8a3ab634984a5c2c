// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace vignetta {

// The names of the thumbnail files, one for each image name, in the same order: a short
// readable part taken from the image's name (lower-case ASCII letters, digits and "_", at
// most kReadableLength of them), "-", and `hashDigits` hexadecimal digits of a digest of the
// exact name. No two different image names get the same thumbnail name, not even where they
// differ only in letter case or in characters a file system refuses; the same name always
// gets the same thumbnail name among the same images, whatever their order. The suffix
// (".jpg" or ".png") is added when the thumbnail is written.
[[nodiscard]] QStringList thumbnailBaseNames(const QStringList& imageNames, int hashDigits = 12);
inline constexpr int kReadableLength = 16;

// Whether a file name has the shape of a thumbnail this program writes: base name as above
// (12 digits) and ".jpg" or ".png".
[[nodiscard]] bool hasThumbnailFileShape(QStringView fileName);

// What the folder's record keeps of each file made for a page (FolderManifest), so that a later
// run can tell, with the file's time, whether it is still the file it would make: the rules it
// was made by, the box (thumbnails) and, as a digest, the exact name of its image.
[[nodiscard]] QString thumbnailMarker(QStringView imageName, QSize box);
[[nodiscard]] QString copyMarker(QStringView imageName);
inline constexpr char16_t kPicturePageMarker[] = u"page";
inline constexpr char16_t kIndexPageMarker[] = u"index";
// Added to the marker of a picture made of a file cut short, so that a later run that keeps it
// still tells.
inline constexpr char16_t kCutShortMarker[] = u" cut-short";
// The key under which thumbnails of earlier versions carried their marker in their header.
inline constexpr auto kThumbnailMarkerKey = "VignettaThumbnail";

} // namespace vignetta
