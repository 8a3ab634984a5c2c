#include "selection/name_list_view.h"

#include "ui/ui_kit.h"

#include <QItemSelectionModel>

namespace vignetta {

int NameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

QVariant NameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_entries[static_cast<std::size_t>(index.row())].name;
    if (role == Qt::ToolTipRole)
        return plainToolTip(m_entries[static_cast<std::size_t>(index.row())].name);
    return {};
}

void NameListModel::setEntries(CollatedNames entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

CollatedNames NameListModel::takeEntries()
{
    return std::move(m_entries);
}

NameListView::NameListView(QWidget* parent) : QListView(parent), m_model(new NameListModel(this))
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true); // no per-row measuring, so 100,000 names stay instant
    setLayoutMode(QListView::SinglePass);
}

QString NameListView::name(qsizetype index) const
{
    const CollatedNames& e = m_model->entries();
    if (index < 0 || index >= static_cast<qsizetype>(e.size()))
        return {}; // like a list box asked one past its end
    return e[static_cast<std::size_t>(index)].name;
}

void NameListView::setEntries(CollatedNames entries)
{
    m_model->setEntries(std::move(entries));
}

std::vector<bool> NameListView::highlighted() const
{
    std::vector<bool> rows(m_model->entries().size(), false);
    const QItemSelection selection = selectionModel()->selection();
    for (const QItemSelectionRange& range : selection) {
        for (int r = range.top(); r <= range.bottom(); ++r) {
            if (r >= 0 && static_cast<std::size_t>(r) < rows.size())
                rows[static_cast<std::size_t>(r)] = true;
        }
    }
    return rows;
}

void NameListView::setHighlighted(const std::vector<bool>& rows)
{
    QItemSelection selection;
    const std::size_t n = std::min(rows.size(), m_model->entries().size());
    std::size_t i = 0;
    while (i < n) {
        if (!rows[i]) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < n && rows[i])
            ++i;
        selection.append(QItemSelectionRange(m_model->index(static_cast<int>(start)),
                                             m_model->index(static_cast<int>(i - 1))));
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

} // namespace vignetta
