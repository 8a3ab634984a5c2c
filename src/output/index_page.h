// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace vignetta {

struct ThumbnailCell;
struct WizardState;

// A page with thumbnail files is split into index pages a browser handles well: at most this
// many pictures each. The first is the page the user named, the others lie beside the
// thumbnails.
inline constexpr qsizetype kPicturesPerIndexPage = 500;
[[nodiscard]] int indexPageCount(qsizetype pictures);
// The index page (from 1) that shows the picture at `position` of the page.
[[nodiscard]] int indexPageOf(qsizetype position);
// The file name of index page `number` from the second on, in the thumbnails' folder.
[[nodiscard]] QString indexPageFileName(int number);

// What an index page needs besides the wizard's values.
struct IndexSettings
{
    QString folder;   // the thumbnails' folder beside the named page ("Holiday_files")
    QString language; // a BCP 47 tag ("en", "de-CH")
};

// Index page `number` (from 1) of a page with thumbnail files, as the bytes of its file (UTF-8):
// the title as the page's title and heading; the thumbnails of its share of `cells` (one per
// image of the page, paths relative to the named page's folder) in rows of at most Columns,
// fewer where the window is narrower, each at its proportions inside the box, with the chosen
// border and colours, centred, every one a link reachable by Tab; and where there are several
// index pages, links to the first, previous, next and last and to each by its number, above
// and below.
[[nodiscard]] QByteArray renderIndexPage(const WizardState& state,
                                         const QList<ThumbnailCell>& cells, int number,
                                         const IndexSettings& settings);

// The title the pages show: the one typed, else the page's name without its extension.
[[nodiscard]] QString pageTitle(const WizardState& state);

} // namespace vignetta
