// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/file_names.h"
#include "selection/file_pattern.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

namespace vignetta {

// What one read of a directory found: its subdirectories and the plain files whose names match
// the pattern, each sorted into a pool of their bytes. Hidden entries (names starting with ".")
// are left out; so is every file the pattern does not match, which costs nothing once read.
// Links count as what they point to; a broken link is neither.
struct DirectoryListing
{
    QByteArray nativePath; // the directory, as its bytes
    QString path;          // the same, as shown
    std::shared_ptr<const NamePool> subdirectories;
    std::shared_ptr<const NamePool> files;
};

struct ScanResult
{
    bool ok = false;
    bool cancelled = false;
    DirectoryListing listing;
    QString error; // the system's reason when the directory could not be read
};

// How a read reports how far it got and can be stopped; both optional, both called on the
// reading thread, between batches of entries.
struct ScanControl
{
    std::function<bool()> cancelled;
    // Called once the directory is open (with 0) and after each batch of entries.
    std::function<void(std::size_t entriesRead)> progress;
};

// Reads the directory at `nativePath` in one pass. Never throws; a directory that cannot be
// opened or read gives ok == false and the reason.
[[nodiscard]] ScanResult scanDirectory(const QByteArray& nativePath, const FilePattern& pattern,
                                       const ScanControl& control = {});

// The absolute form of a path given as bytes, without ".", ".." or doubled separators; a
// relative path is taken from the working directory.
[[nodiscard]] QByteArray cleanNativePath(const QByteArray& path);

// The system's own words for an error number.
[[nodiscard]] QString systemReason(int error);

} // namespace vignetta
