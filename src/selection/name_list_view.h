// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/file_names.h"
#include "selection/row_bitmap.h"

#include <QAbstractListModel>
#include <QItemSelectionModel>
#include <QListView>

#include <utility>
#include <vector>

namespace vignetta {

// A read-only list of names for a list view; replaced as a whole, in one reset. A name is made
// into text only when the view asks for it, for the rows it shows.
class NameListModel final : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

    [[nodiscard]] const NameList& names() const { return m_names; }
    void setNames(NameList names);
    // Hands the names out for an update; setNames puts them back.
    [[nodiscard]] NameList takeNames() { return std::exchange(m_names, NameList()); }

private:
    NameList m_names;
};

// The highlight of a list view as one bit per row, however many rows are highlighted and in
// however many runs. The view's mouse and keys select through it as through any selection
// model; a selection being made (a drag, Shift with the arrows) is kept apart until it is
// finished, as Qt's own model does. While the highlight is in few runs, the base model holds
// it too, so what asks the base model (the view's clicks, accessibility) sees it; the rows
// are painted from the bits.
class HighlightModel final : public QItemSelectionModel
{
    Q_OBJECT
public:
    explicit HighlightModel(QAbstractItemModel* model, QObject* parent = nullptr);

    using QItemSelectionModel::select;
    void select(const QItemSelection& selection, SelectionFlags command) override;
    void select(const QModelIndex& index, SelectionFlags command) override;
    void clear() override;
    void reset() override;

    [[nodiscard]] bool isHighlighted(int row) const;
    // The rows highlighted, the selection being made included.
    [[nodiscard]] RowBitmap highlighted() const;
    // Highlights exactly the rows set.
    void setHighlighted(RowBitmap rows);

Q_SIGNALS:
    void highlightChanged();

private:
    struct Pending
    {
        int top;
        int bottom;
    };
    void commitPending();
    void changed();

    RowBitmap m_committed;
    std::vector<Pending> m_pending;
    RowBitmap::Op m_pendingOp = RowBitmap::Op::kSet;
};

// A sorted list box of names with extended multiple selection. Large lists stay fast: the
// names are positions in one shared pool and highlights are bits.
class NameListView : public QListView
{
    Q_OBJECT
public:
    explicit NameListView(QWidget* parent = nullptr);

    [[nodiscard]] qsizetype count() const { return m_model->names().size(); }
    // The text of row `index`; the empty text past the end, as a list box gives it.
    [[nodiscard]] QString name(qsizetype index) const { return m_model->names().at(index); }
    [[nodiscard]] const NameList& names() const { return m_model->names(); }
    [[nodiscard]] NameListModel* nameModel() const { return m_model; }
    [[nodiscard]] HighlightModel* highlightModel() const { return m_highlight; }

    void setNames(NameList names);
    void clear() { setNames({}); }

    // One flag per row: is the row highlighted?
    [[nodiscard]] std::vector<bool> highlighted() const;
    void setHighlighted(const std::vector<bool>& rows);
    [[nodiscard]] RowBitmap highlightBits() const { return m_highlight->highlighted(); }
    void setHighlightBits(RowBitmap rows) { m_highlight->setHighlighted(std::move(rows)); }

protected:
    [[nodiscard]] QItemSelectionModel::SelectionFlags
    selectionCommand(const QModelIndex& index, const QEvent* event) const override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    NameListModel* m_model;
    HighlightModel* m_highlight = nullptr;
    int m_pressedRow = -1;
};

} // namespace vignetta
