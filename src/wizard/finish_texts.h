// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

namespace vignetta {

// What the progress window says while Finish makes the page's files: `done` of `toDo`, and the
// time left (`msLeft`, -1 while it is not known yet).
[[nodiscard]] QString publishProgressText(int done, int toDo, qint64 msLeft);
// Its title, and its text before the work is known.
inline constexpr char16_t kThumbnailProgressTitle[] = u"Making thumbnail files";
inline constexpr char16_t kThumbnailProgressStart[] = u"Looking for thumbnails already made...";

// The note over the completion panel's list of images with problems; empty when none had any.
[[nodiscard]] QString problemsNoteText(qsizetype count);

// What the page gives away of where its photos were taken: `withLocation` of the `linked`
// originals it links record it. Empty where it links none.
[[nodiscard]] QString locationNoteText(int withLocation, int linked);

// Why the page was not written, naming its path.
[[nodiscard]] QString pageNotWrittenText(const QString& pagePath, const QString& reason);

} // namespace vignetta
