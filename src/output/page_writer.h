// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace vignetta {

struct WizardState;

// An image name as it stands inside the page's two link attributes, given as the bytes of the
// name as it is on disk. Written as it is, except for what a browser would read otherwise:
// ", < and > would end the attribute or the tag, and an "&" starting what reads as a character
// reference ("&amp;", "&copy") would stand for another character: character references. %, #,
// ?, ":" and "\" would send the link elsewhere, control characters break the page's lines or
// vanish, blanks at either end are dropped by browsers, and bytes beyond ASCII would be read in
// whatever encoding the browser guesses for a page served without one: percent-encoded. So the
// link is plain ASCII and reaches the same file over file:// and http://.
[[nodiscard]] QByteArray linkAttribute(QByteArrayView name);
// The same for a name given as text, in the system's encoding.
[[nodiscard]] QByteArray linkAttribute(QStringView name);

// The number of thumbnails in each row for a Columns text: its whole part, at least one.
[[nodiscard]] qsizetype cellsPerRow(QStringView columns);

// The thumbnail page for the wizard's collected values, as the bytes of the file: the system's
// encoding, every line ending in CR LF.
[[nodiscard]] QByteArray renderPage(const WizardState& state);

// What one image's cell shows when the page has thumbnail files of its own.
struct ThumbnailCell
{
    // The thumbnail's path relative to the page ("Holiday_files/img_0001-0123456789ab.jpg");
    // empty when the image could not be read: its cell then shows the original, as always.
    QString source;
    int width = 0; // the thumbnail's size on the page, in CSS pixels
    int height = 0;
    // Where the thumbnail leads, relative to the page: its picture page
    // ("Holiday_files/img_0001-0123456789ab.html"); empty: the original, as always.
    QString link;

    friend bool operator==(const ThumbnailCell&, const ThumbnailCell&) = default;
};

// Where a page goes as it is made: given the page's bytes in pieces, in order, each valid only
// for the call. False gives the page up (a write failed): no more pieces come.
using PageSink = std::function<bool(QByteArrayView piece)>;
// About the length of the pieces a sink is given.
inline constexpr qsizetype kPageBytesPerPiece = qsizetype(1) << 20;

// The same page, handed to `sink` in pieces as it is made, so that a page of any size is
// written without being held whole: false when the sink gave the page up. (A page with
// thumbnail files is written by renderIndexPage().)
[[nodiscard]] bool renderPage(const WizardState& state, const PageSink& sink);

// A colour as it may stand in a page's style: the colour dialog's "#RRGGBB", else `fallback`;
// and a language tag ("en", "de-CH"), else `fallback`. Nothing else reaches a style sheet or a
// lang attribute as it is.
[[nodiscard]] QByteArray cssColour(const QString& text, const char* fallback);
[[nodiscard]] QByteArray languageTag(const QString& tag, const char* fallback);

// A name as it stands in an alt attribute: &, ", < and > as character references, control
// characters as numeric ones, so that the text cannot end the attribute or break the line.
[[nodiscard]] QString textAttribute(QStringView text);

// The size a Width or Height text gives in CSS pixels, when it is a plain number of pixels:
// "150", "150px", "150 PX", "80.5" (rounded). Empty for anything else: "50%", "12em", "abc",
// an empty text, or a size below one pixel. Sizes above kLargestPixelLength are held there.
[[nodiscard]] std::optional<int> pixelLength(QStringView text);
inline constexpr int kLargestPixelLength = 100000;

// The first name the folder of a page's thumbnail files may have, beside the page and named
// after it: "Holiday.html" gives "Holiday_files" (openThumbnailFolder has the whole rule).
[[nodiscard]] QString thumbnailFolderName(const QString& pageFileName);

// The page's path: the images' directory, one separator, the name without surrounding blanks.
[[nodiscard]] QString pagePath(const QString& directory, const QString& fileName);

} // namespace vignetta
