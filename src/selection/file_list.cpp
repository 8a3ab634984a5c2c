#include "selection/file_list.h"

#include <QDir>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

FileList::FileList(QWidget* parent) : NameListView(parent), m_pattern(u"*.*"_s)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileList::setPattern(const QString& pattern)
{
    m_pattern = FilePattern(pattern);
    if (m_listing)
        setListing(m_listing);
}

bool FileList::setPath(const QString& path, QString* reason)
{
    ScanResult scan = scanDirectory(QDir::cleanPath(QDir(path).absolutePath()));
    if (!scan.ok) {
        if (reason != nullptr)
            *reason = scan.error;
        return false;
    }
    setListing(std::make_shared<const DirectoryListing>(std::move(scan.listing)));
    return true;
}

void FileList::setListing(const std::shared_ptr<const DirectoryListing>& listing)
{
    m_listing = listing;
    m_path = listing->path;
    // Which folder the list shows, for the pointer and for screen readers.
    const QString shown = QDir::toNativeSeparators(m_path);
    setToolTip(u"Files in "_s + shown);
    setAccessibleName(u"Files in "_s + shown);
    CollatedNames names;
    names.reserve(static_cast<std::size_t>(listing->files.size()));
    for (const QString& file : listing->files) {
        if (m_pattern.matches(file))
            names.emplace_back(file);
    }
    std::sort(names.begin(), names.end());
    setEntries(std::move(names));
}

} // namespace vignetta
