// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include "output/page_writer.h"

namespace vignetta {

struct SaveResult
{
    bool ok = false;
    QString error; // the reason, when not ok: in the system's own words where it gave one
};

// Writes `page` as the file `fileName` (without surrounding blanks) in `directory`.
//
// An existing page is replaced only once the new one is complete and on the disk: the bytes go
// to a new file in the same folder, which then takes the page's name in one step. Any failure
// before that leaves the old page as it was, and no temporary file behind. Where the folder
// takes no new file but the page itself may be written, the page is rewritten in place once the
// room it needs is there; a failure part-way through then says the page may be incomplete.
// A new page has the permissions of any new file (the umask); a replaced one keeps its own.
//
// Refused, with a reason the user can act on, and nothing written: an empty name, a name
// holding a separator or a control character (a pasted line break), and a name that is taken by
// a link (never followed: the page is only ever a file of its own beside its images), a folder,
// a FIFO, a socket or a device.
[[nodiscard]] SaveResult savePage(const QString& directory, const QString& fileName,
                                  const QByteArray& page);

// The same, for a page made as it is written: `source` hands the page's bytes, in order, to the
// sink it is given, and says whether it got to the end (false once the sink gave up). It may be
// called again for the same bytes.
using PageSource = std::function<bool(const PageSink& sink)>;
[[nodiscard]] SaveResult savePage(const QString& directory, const QString& fileName,
                                  const PageSource& source);

// The same, into the folder open as `dir` (a descriptor of it, O_PATH will do): every step goes
// through it, whatever becomes of its path meanwhile. `Later` leaves out the wait for the disk,
// for files written many at a time: the caller syncs them together (syncFileSystem) before
// anything that relies on them.
enum class Durability
{
    Now,
    Later,
};
[[nodiscard]] SaveResult savePageIn(int dir, const QString& fileName, const QByteArray& page,
                                    Durability durability = Durability::Now);
[[nodiscard]] SaveResult savePageIn(int dir, const QString& fileName, const PageSource& source,
                                    Durability durability = Durability::Now);
// Has the disk keep what was written to the file system of the folder open as `dir`: 0, or
// the reason it could not.
[[nodiscard]] int syncFileSystem(int dir);

// The bytes of the file `name` (as the file system has it) in the folder open as `dir`, at most
// `limit` of them, read as a file of its own: never through a link, never a FIFO or a device.
// Nothing where it cannot be read; `missing`, where given, tells whether there is no such entry.
[[nodiscard]] std::optional<QByteArray> readFileIn(int dir, const QByteArray& name, qsizetype limit,
                                                   bool* missing = nullptr);

// Why a name that is a link in the folder open as `dir` is refused, naming where it leads.
[[nodiscard]] QString linkRefusal(int dir, const QByteArray& entry);

// Why savePage() refuses `fileName` whatever is on the disk (empty, a separator, a control
// character), as the reason it gives; empty when the name itself is fine. Lets the caller
// refuse the name before it writes anything else for the page.
[[nodiscard]] QString pageNameProblem(const QString& fileName);

} // namespace vignetta
