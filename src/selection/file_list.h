#pragma once

#include "selection/dir_scan.h"
#include "selection/file_pattern.h"
#include "selection/name_list_view.h"

#include <memory>

namespace vignetta {

// The file list: the plain, visible files of one directory whose names match its pattern,
// sorted like the selection lists.
class FileList : public NameListView
{
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    [[nodiscard]] const QString& path() const { return m_path; }
    [[nodiscard]] const FilePattern& pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);

    // Lists the directory at `path`; on failure the list stays as it was.
    bool setPath(const QString& path, QString* reason = nullptr);
    // Lists a directory that has just been read.
    void setListing(const std::shared_ptr<const DirectoryListing>& listing);

private:
    QString m_path;
    FilePattern m_pattern;
    std::shared_ptr<const DirectoryListing> m_listing;
};

} // namespace vignetta
