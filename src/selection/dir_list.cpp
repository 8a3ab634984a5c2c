// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/dir_list.h"

#include "selection/name_collation.h"
#include "ui/ui_kit.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

constexpr int kIndentPixels = 8;
constexpr int kDepthRole = Qt::UserRole + 1;

// Indents each row by its depth, as a tree drawn in a list.
class IndentDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem indented(option);
        indented.rect.adjust(index.data(kDepthRole).toInt() * kIndentPixels, 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }
};

// The row of the open directory: it follows the root and its other ancestors.
int openRowOf(const QByteArray& path)
{
    return path == "/" ? 0 : static_cast<int>(path.count('/'));
}

} // namespace

std::vector<DirRow> dirRows(const QByteArray& nativePath, const NamePool& subdirectories)
{
    std::vector<DirRow> rows;
    rows.push_back({u"/"_s, u"/"_s, "/", 0, true});
    QByteArray walked;
    for (const QByteArray& part : nativePath.split('/')) {
        if (part.isEmpty())
            continue;
        walked += '/' + part;
        rows.push_back(
            {displayName(part), displayName(walked), walked, static_cast<int>(rows.size()), true});
    }
    const int childDepth = static_cast<int>(rows.size());
    const QByteArray prefix = (nativePath == "/") ? QByteArray() : nativePath;
    for (std::uint32_t i = 0; i < subdirectories.size(); ++i) {
        const QByteArray child = prefix + '/' + subdirectories.bytes(i).toByteArray();
        rows.push_back({subdirectories.text(i), displayName(child), child, childDepth, false});
    }
    return rows;
}

int DirRowModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant DirRowModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto at = static_cast<std::size_t>(index.row());
    const DirRow& row = m_rows[at];
    // The open directory is the last of the open rows. It alone shows an open folder, in bold,
    // so that it stays told apart from a row that was merely clicked.
    const bool isOpen = row.open && (at + 1 == m_rows.size() || !m_rows[at + 1].open);
    switch (role) {
    case Qt::DisplayRole:
        return row.name;
    case Qt::ToolTipRole:
        return plainToolTip(row.path);
    case Qt::DecorationRole:
        return QApplication::style()->standardIcon(isOpen ? QStyle::SP_DirOpenIcon
                                                          : QStyle::SP_DirClosedIcon);
    case Qt::FontRole: {
        if (!isOpen)
            return {};
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::AccessibleDescriptionRole:
        return isOpen ? u"open"_s : QString();
    case kDepthRole:
        return row.depth;
    default:
        return {};
    }
}

void DirRowModel::setRows(std::vector<DirRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

DirList::DirList(QWidget* parent) : QListView(parent), m_model(new DirRowModel(this))
{
    setModel(m_model);
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { openRow(index.row()); });
}

bool DirList::setPath(const QString& path, QString* reason)
{
    ScanResult scan = scanDirectory(cleanNativePath(fileNameBytes(path)), FilePattern());
    if (!scan.ok) {
        if (reason != nullptr)
            *reason = scan.error;
        return false;
    }
    setListing(std::make_shared<const DirectoryListing>(std::move(scan.listing)));
    return true;
}

void DirList::setListing(const std::shared_ptr<const DirectoryListing>& listing)
{
    const bool samePath = m_listing && listing->nativePath == m_nativePath;
    // Where the open directory is listed again, the highlighted row stays on its directory.
    const QModelIndex current = currentIndex();
    const QByteArray kept = samePath && current.isValid()
                                ? rows()[static_cast<std::size_t>(current.row())].nativePath
                                : QByteArray();
    m_path = listing->path;
    m_nativePath = listing->nativePath;
    m_listing = listing;
    m_model->setRows(dirRows(m_nativePath, *listing->subdirectories));
    int row = openRowOf(m_nativePath);
    if (!kept.isEmpty()) {
        const auto& all = rows();
        const auto found = std::find_if(all.begin(), all.end(),
                                        [&kept](const DirRow& r) { return r.nativePath == kept; });
        if (found != all.end())
            row = static_cast<int>(found - all.begin());
    }
    setCurrentIndex(m_model->index(row));
    if (!samePath)
        Q_EMIT pathChanged(m_path);
}

void DirList::setOpener(std::function<void(const QByteArray& nativePath)> opener)
{
    m_opener = std::move(opener);
}

void DirList::openRow(int row)
{
    const auto& all = m_model->rows();
    if (row < 0 || static_cast<std::size_t>(row) >= all.size())
        return;
    const DirRow target = all[static_cast<std::size_t>(row)];
    if (m_opener) {
        m_opener(target.nativePath);
        return;
    }
    const ScanResult scan = scanDirectory(target.nativePath, FilePattern());
    if (!scan.ok) {
        setCurrentIndex(m_model->index(openRowOf(m_nativePath)));
        Q_EMIT openFailed(target.path, scan.error);
        return;
    }
    setListing(std::make_shared<const DirectoryListing>(scan.listing));
}

void DirList::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        openRow(currentIndex().row());
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Backspace && event->modifiers() == Qt::NoModifier) {
        // Up to the parent, as in a file manager; the root has none.
        const int open = openRowOf(m_nativePath);
        if (open > 0)
            openRow(open - 1);
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace vignetta
