// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "selection/dir_scan.h"
#include "selection/file_pattern.h"
#include "selection/name_list_view.h"

#include <QElapsedTimer>

#include <memory>

namespace vignetta {

// The file list: the plain, visible files of one directory whose names match its pattern,
// sorted like the selection lists. While a directory is being read the list is empty and says
// so, with the count of entries read so far once the reading takes more than a moment.
class FileList : public NameListView
{
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    [[nodiscard]] const QString& path() const { return m_path; }
    [[nodiscard]] const QByteArray& nativePath() const { return m_nativePath; }
    [[nodiscard]] const FilePattern& pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);

    // Reads and lists the directory at `path` here and now; on failure the list stays as it
    // was.
    bool setPath(const QString& path, QString* reason = nullptr);
    // Lists a directory that has just been read. A new listing of the directory already shown
    // keeps the highlighted name.
    void setListing(const std::shared_ptr<const DirectoryListing>& listing);
    [[nodiscard]] const std::shared_ptr<const DirectoryListing>& listing() const
    {
        return m_listing;
    }

    // The directory at `path` is being read: the list empties and says so.
    void showReading(const QString& path);
    // How many entries the reading has gone through.
    void showProgress(std::size_t entriesRead);
    // The reading ended without a listing: the list shows again what it showed before.
    void stopReading();
    [[nodiscard]] bool isReading() const { return !m_status.isEmpty(); }
    // What the list says instead of names, while it reads.
    [[nodiscard]] const QString& statusText() const { return m_status; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setStatus(const QString& status);

    QString m_path;
    QByteArray m_nativePath;
    FilePattern m_pattern;
    std::shared_ptr<const DirectoryListing> m_listing;
    QString m_status;
    QString m_readingPath;
    QElapsedTimer m_readingSince;
};

} // namespace vignetta
