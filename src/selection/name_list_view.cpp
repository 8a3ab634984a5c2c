// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/name_list_view.h"

#include "ui/ui_kit.h"

#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace vignetta {

namespace {

// The base selection model keeps a highlight of at most this many runs; its own bookkeeping
// grows with the runs, and its change reports with their square.
constexpr std::size_t kMirroredRuns = 256;

// Rows laid out at a time, each batch a few milliseconds at most.
constexpr int kLayoutBatch = 20000;

// Paints each row highlighted or not as the bits say.
class HighlightDelegate final : public QStyledItemDelegate
{
public:
    HighlightDelegate(const HighlightModel* highlight, QObject* parent)
        : QStyledItemDelegate(parent), m_highlight(highlight)
    {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (m_highlight->isHighlighted(index.row()))
            option->state |= QStyle::State_Selected;
        else
            option->state &= ~QStyle::State_Selected;
    }

private:
    const HighlightModel* m_highlight;
};

RowBitmap::Op opOf(QItemSelectionModel::SelectionFlags command)
{
    if (command & QItemSelectionModel::Toggle)
        return RowBitmap::Op::kFlip;
    if (command & QItemSelectionModel::Select)
        return RowBitmap::Op::kSet;
    return RowBitmap::Op::kClear;
}

} // namespace

int NameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_names.size());
}

QVariant NameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_names.at(index.row());
    if (role == Qt::ToolTipRole)
        return plainToolTip(m_names.at(index.row()));
    return {};
}

void NameListModel::setNames(NameList names)
{
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

HighlightModel::HighlightModel(QAbstractItemModel* model, QObject* parent)
    : QItemSelectionModel(model, parent), m_committed(static_cast<std::size_t>(model->rowCount()))
{}

void HighlightModel::select(const QModelIndex& index, SelectionFlags command)
{
    select(index.isValid() ? QItemSelection(index, index) : QItemSelection(), command);
}

void HighlightModel::select(const QItemSelection& selection, SelectionFlags command)
{
    if (command == NoUpdate)
        return;
    if (command & Clear) {
        m_committed.clearAll();
        m_pending.clear();
    }
    // A selection made without Current closes the one being made before it.
    if (!(command & Current))
        commitPending();
    if (command & (Toggle | Select | Deselect)) {
        m_pending.clear();
        m_pendingOp = opOf(command);
        for (const QItemSelectionRange& range : selection) {
            if (range.isValid())
                m_pending.push_back({range.top(), range.bottom()});
        }
    }
    changed();
}

void HighlightModel::clear()
{
    m_committed.clearAll();
    m_pending.clear();
    QItemSelectionModel::clear();
    Q_EMIT highlightChanged();
}

void HighlightModel::reset()
{
    QItemSelectionModel::reset();
    m_committed = RowBitmap(static_cast<std::size_t>(model()->rowCount()));
    m_pending.clear();
    Q_EMIT highlightChanged();
}

bool HighlightModel::isHighlighted(int row) const
{
    if (row < 0)
        return false;
    const auto r = static_cast<std::size_t>(row);
    for (const Pending& p : m_pending) {
        if (row >= p.top && row <= p.bottom) {
            switch (m_pendingOp) {
            case RowBitmap::Op::kSet:
                return true;
            case RowBitmap::Op::kClear:
                return false;
            case RowBitmap::Op::kFlip:
                return !m_committed.test(r);
            }
        }
    }
    return m_committed.test(r);
}

RowBitmap HighlightModel::highlighted() const
{
    RowBitmap rows = m_committed;
    for (const Pending& p : m_pending)
        rows.apply(static_cast<std::size_t>(p.top), static_cast<std::size_t>(p.bottom),
                   m_pendingOp);
    return rows;
}

void HighlightModel::setHighlighted(RowBitmap rows)
{
    rows.resize(static_cast<std::size_t>(model()->rowCount()));
    m_committed = std::move(rows);
    m_pending.clear();
    changed();
}

void HighlightModel::commitPending()
{
    for (const Pending& p : m_pending)
        m_committed.apply(static_cast<std::size_t>(p.top), static_cast<std::size_t>(p.bottom),
                          m_pendingOp);
    m_pending.clear();
}

void HighlightModel::changed()
{
    const RowBitmap rows = highlighted();
    std::size_t runs = 0;
    rows.forEachRun([&runs](std::size_t, std::size_t) { ++runs; });
    QItemSelection mirror;
    if (runs <= kMirroredRuns) {
        rows.forEachRun([&](std::size_t first, std::size_t last) {
            mirror.append(QItemSelectionRange(model()->index(static_cast<int>(first), 0),
                                              model()->index(static_cast<int>(last), 0)));
        });
    }
    QItemSelectionModel::select(mirror, ClearAndSelect);
    Q_EMIT highlightChanged();
}

NameListView::NameListView(QWidget* parent) : QListView(parent), m_model(new NameListModel(this))
{
    setModel(m_model);
    QItemSelectionModel* made = selectionModel();
    m_highlight = new HighlightModel(m_model, this);
    setSelectionModel(m_highlight);
    delete made;
    setItemDelegate(new HighlightDelegate(m_highlight, this));
    connect(m_highlight, &HighlightModel::highlightChanged, viewport(),
            qOverload<>(&QWidget::update));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true); // no per-row measuring
    // The view still places every row; in batches, a million rows never hold up the window.
    setLayoutMode(QListView::Batched);
    setBatchSize(kLayoutBatch);
}

QItemSelectionModel::SelectionFlags NameListView::selectionCommand(const QModelIndex& index,
                                                                   const QEvent* event) const
{
    const QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(index, event);
    // Qt decides a click by asking the base model whether the row is highlighted, and the base
    // model knows a highlight of few runs only. Where it does not know the row's state, the
    // click is decided here as Qt would have decided it, from the bits.
    if (selectionMode() != ExtendedSelection || !index.isValid() || event == nullptr ||
        (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease))
        return command;
    const bool highlighted = m_highlight->isHighlighted(index.row());
    if (highlighted == selectionModel()->isSelected(index))
        return command;
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    const Qt::KeyboardModifiers modifiers = mouse->modifiers();
    const bool plain = !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier));
    if (mouse->button() == Qt::RightButton)
        return command;
    if (event->type() == QEvent::MouseButtonPress) {
        if (plain && highlighted)
            return QItemSelectionModel::NoUpdate; // the highlight is kept until the release
        if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::ShiftModifier))
            return highlighted ? QItemSelectionModel::Deselect : QItemSelectionModel::Select;
        return command;
    }
    if (plain && highlighted && index.row() == m_pressedRow && state() != DragSelectingState)
        return QItemSelectionModel::ClearAndSelect;
    return command;
}

void NameListView::mousePressEvent(QMouseEvent* event)
{
    m_pressedRow = indexAt(event->position().toPoint()).row();
    QListView::mousePressEvent(event);
}

void NameListView::setNames(NameList names)
{
    m_model->setNames(std::move(names));
}

std::vector<bool> NameListView::highlighted() const
{
    return m_highlight->highlighted().toBools();
}

void NameListView::setHighlighted(const std::vector<bool>& rows)
{
    m_highlight->setHighlighted(RowBitmap::fromBools(rows));
}

} // namespace vignetta
