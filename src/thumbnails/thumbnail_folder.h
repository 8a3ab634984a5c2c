// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/descriptor.h"
#include "output/page_saver.h"

#include <QHash>

#include <QString>

#include <memory>
#include <optional>

namespace vignetta {

// The folder of one page's thumbnail files, beside the page, open for the work on it: every
// file in it is reached through `fd`, so that a link put in its place meanwhile changes nothing.
struct ThumbnailFolder
{
    QString name; // as the page links it: "Holiday_files"
    QString path; // where it is, for messages
    std::shared_ptr<const Descriptor> fd;
};

// Which folder holds a page's thumbnails, and that folder made (where missing) and opened.
//
// Each folder belongs to one page: it holds a mark file (kThumbnailFolderMark) naming its
// page, so that no page's Finish ever writes into, or removes from, another page's folder.
// A page takes the first of these that is free to it:
//   1. "<name>_files", its name without the extension ("Holiday.html" gives "Holiday_files"),
//      as pages have always had;
//   2. "<name with its extension>_files" ("Holiday.htm_files"), then the same with "-2",
//      "-3" ... added.
// A folder is free to the page when it is missing, or marked for this page. An unmarked
// folder (made before folders were marked) is free only to the first name, and only while no
// other page of that name ("Holiday.html" beside "Holiday.htm") is there to claim it.
//
// Nothing is ever followed through a link: a link at the folder's name is refused with the
// reason the page gives for a link at its own name, and a file in the way is refused too.
// `error` tells why, when no folder could be had.
struct ThumbnailFolderChoice
{
    std::optional<ThumbnailFolder> folder;
    QString error;
};
[[nodiscard]] ThumbnailFolderChoice openThumbnailFolder(const QString& directory,
                                                        const QString& pageFileName);

// The mark file's name. Its first line holds the name of the page, in the system's encoding;
// then the folder's record (FolderManifest), a line for each file: its name, a tab, its marker.
inline constexpr char kThumbnailFolderMark[] = ".vignetta.page";

// The record of the files the page's Finishes made in its folder, by name, with what each was
// made from (thumbnailMarker and the like). Only the files it names are ever replaced or removed
// (besides thumbnails of earlier versions, which carry their marker in their header).
using FolderManifest = QHash<QString, QString>;
[[nodiscard]] FolderManifest readManifest(int folder);
// Replaces the record, the page's name first; the reason where it could not be written.
[[nodiscard]] SaveResult writeManifest(int folder, const QString& pageFileName,
                                       const FolderManifest& files);

} // namespace vignetta
