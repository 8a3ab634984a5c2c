#pragma once

#include "selection/name_collation.h"

#include <QAbstractListModel>
#include <QListView>

#include <vector>

namespace vignetta {

// A read-only list of collated names for a list view; replaced as a whole, in one reset.
class NameListModel final : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

    [[nodiscard]] const CollatedNames& entries() const { return m_entries; }
    void setEntries(CollatedNames entries);
    // Hands the names out for an update; setEntries puts them back.
    [[nodiscard]] CollatedNames takeEntries();

private:
    CollatedNames m_entries;
};

// A sorted list box of names with extended multiple selection. Large lists stay fast: the
// names live in one vector and highlights are handled as ranges.
class NameListView : public QListView
{
    Q_OBJECT
public:
    explicit NameListView(QWidget* parent = nullptr);

    [[nodiscard]] qsizetype count() const { return m_model->entries().size(); }
    [[nodiscard]] QString name(qsizetype index) const;
    [[nodiscard]] const CollatedNames& entries() const { return m_model->entries(); }
    [[nodiscard]] NameListModel* nameModel() const { return m_model; }

    void setEntries(CollatedNames entries);
    void clear() { setEntries({}); }

    // One flag per row: is the row highlighted?
    [[nodiscard]] std::vector<bool> highlighted() const;
    void setHighlighted(const std::vector<bool>& rows);

private:
    NameListModel* m_model;
};

} // namespace vignetta
