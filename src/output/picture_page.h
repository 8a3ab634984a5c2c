// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

namespace vignetta {

// One picture's page: its screen-size copy fitted to the window, whatever its shape and the
// window's, its name, "n of N", and links to the previous and next pictures and back to the
// index. The Left and Right keys and a swipe move too, by a few lines of script; without
// script the links do it all, over file:// as over HTTP.
struct PicturePage
{
    QString name; // the picture's name, as text
    int number = 1;
    int count = 1;
    // Links relative to the picture page, as they stand in its attributes (linkAttribute()).
    QByteArray copy;
    QByteArray previous;
    QByteArray next;
    QByteArray index;
    QByteArray original; // empty: the page does not link the original
    int copyWidth = 0;   // the copy's pixels
    int copyHeight = 0;
    QString backColor; // the index page's colours, "#RRGGBB"
    QString foreColor;
    QString language; // the page's language, as a BCP 47 tag ("en", "de-CH")
};

// The page as the bytes of its file: UTF-8, every line ending in LF.
[[nodiscard]] QByteArray renderPicturePage(const PicturePage& page);

} // namespace vignetta
