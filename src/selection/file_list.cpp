// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/file_list.h"

#include "selection/name_collation.h"

#include <QDir>
#include <QLocale>
#include <QPainter>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

// A reading that takes longer than this shows how far it got.
constexpr qint64 kProgressAfterMs = 300;

// The row of the name `bytes` in the sorted list, or -1.
int rowOf(const NameList& names, QByteArrayView bytes)
{
    qsizetype lo = 0;
    qsizetype hi = names.size();
    while (lo < hi) {
        const qsizetype mid = lo + (hi - lo) / 2;
        if (compareNames(names.bytesAt(mid), bytes) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo < names.size() && names.bytesAt(lo) == bytes ? static_cast<int>(lo) : -1;
}

} // namespace

FileList::FileList(QWidget* parent) : NameListView(parent), m_pattern(u"*.*"_s)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileList::setPattern(const QString& pattern)
{
    m_pattern = FilePattern(pattern);
    if (m_listing)
        setPath(m_path);
}

bool FileList::setPath(const QString& path, QString* reason)
{
    ScanResult scan = scanDirectory(cleanNativePath(fileNameBytes(path)), m_pattern);
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
    // The name highlighted before, when the same directory is listed again.
    QByteArray kept;
    if (m_listing && listing && listing->nativePath == m_nativePath) {
        const QModelIndex current = currentIndex();
        if (current.isValid() && highlightModel()->isHighlighted(current.row()))
            kept = names().bytesAt(current.row()).toByteArray();
    }
    setStatus({});
    m_listing = listing;
    m_path = listing->path;
    // Which folder the list shows, for the pointer and for screen readers.
    const QString shown = QDir::toNativeSeparators(m_path);
    setToolTip(u"Files in "_s + shown);
    setAccessibleName(u"Files in "_s + shown);
    m_nativePath = listing->nativePath;
    setNames(NameList::wholePool(listing->files));
    if (!kept.isEmpty()) {
        const int row = rowOf(names(), kept);
        if (row >= 0)
            selectionModel()->setCurrentIndex(nameModel()->index(row),
                                              QItemSelectionModel::ClearAndSelect);
    }
}

void FileList::showReading(const QString& path)
{
    m_readingPath = path;
    m_readingSince.start();
    setNames({});
    setStatus(u"Reading the directory\u2026"_s);
}

void FileList::showProgress(std::size_t entriesRead)
{
    if (!isReading() || m_readingSince.elapsed() < kProgressAfterMs)
        return;
    setStatus(u"Reading the directory\u2026 "_s +
              QLocale().toString(static_cast<qulonglong>(entriesRead)) + u" entries so far"_s);
}

void FileList::stopReading()
{
    if (!isReading())
        return;
    setStatus({});
    setNames(m_listing ? NameList::wholePool(m_listing->files) : NameList());
}

void FileList::setStatus(const QString& status)
{
    if (status == m_status)
        return;
    m_status = status;
    viewport()->update();
}

void FileList::paintEvent(QPaintEvent* event)
{
    NameListView::paintEvent(event);
    if (m_status.isEmpty())
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(viewport()->rect().adjusted(4, 2, -4, -2),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_status);
}

} // namespace vignetta
