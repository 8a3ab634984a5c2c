#pragma once

#include <QString>
#include <QStringList>

namespace vignetta {

// What one read of a directory found: the names of its subdirectories and of its plain files,
// unsorted, without hidden entries (names starting with "."). Links count as what they point
// to; a broken link is neither.
struct DirectoryListing
{
    QString path;
    QStringList subdirectories;
    QStringList files;
};

struct ScanResult
{
    bool ok = false;
    DirectoryListing listing;
    QString error; // the system's reason when the directory could not be read
};

// Reads the directory in one pass. Never throws; a directory that cannot be opened or read
// gives ok == false and the reason.
[[nodiscard]] ScanResult scanDirectory(const QString& path);

} // namespace vignetta
