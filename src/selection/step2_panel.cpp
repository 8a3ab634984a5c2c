// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/step2_panel.h"

#include "selection/name_list_view.h"
#include "selection/name_moves.h"
#include "ui/ui_kit.h"

#include <QLabel>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

// Moves names from one list box to the other; highlighted names of the target keep their
// highlight, arriving names come unhighlighted.
void moveBetween(NameListView* from, NameListView* to, bool all)
{
    RowBitmap take;
    if (!all) {
        take = from->highlightBits();
        if (!take.any())
            return; // nothing highlighted, nothing moves
    } else if (from->count() == 0) {
        return;
    }
    RowBitmap toHighlight = to->highlightBits();
    const bool keepHighlight = toHighlight.any();

    NameList source = from->nameModel()->takeNames();
    NameList target = to->nameModel()->takeNames();
    if (all)
        moveAllNames(source, target, toHighlight);
    else
        moveNames(source, take, target, toHighlight);
    from->setNames(std::move(source));
    to->setNames(std::move(target));
    if (keepHighlight)
        to->setHighlightBits(std::move(toHighlight));
}

} // namespace

Step2Panel::Step2Panel(QWidget* parent) : QGroupBox(u"Step 2: Image Selection"_s, parent)
{
    m_label = makeLabel(this, memberName(u"Label1", 1),
                        u"Select the images from the Left, and add them to the Right."_s,
                        twipsRect(120, 360, 5292, 252), 18);
    // Both count labels show a count before the panel is first seen.
    m_lblUnselected =
        makeLabel(this, u"lblUnselected"_s, u"Label2"_s, twipsRect(120, 720, 2052, 252), 19,
                  {.color = std::nullopt, .alignment = Qt::AlignLeft | Qt::AlignTop});
    m_lblSelected =
        makeLabel(this, u"lblSelected"_s, u"Label2"_s, twipsRect(3360, 720, 2052, 252), 20,
                  {.color = std::nullopt, .alignment = Qt::AlignLeft | Qt::AlignTop});

    m_lstUnselected = new NameListView(this);
    placeControl(m_lstUnselected, u"lstUnselected"_s, twipsRect(120, 960, 2052, 1800), 16);
    m_lstUnselected->setAccessibleName(u"Unselected"_s);
    m_lstSelected = new NameListView(this);
    placeControl(m_lstSelected, u"lstSelected"_s, twipsRect(3360, 960, 2052, 1800), 17);
    m_lstSelected->setAccessibleName(u"Selected"_s);
    // Each count is its list's label.
    m_lblUnselected->setBuddy(m_lstUnselected);
    m_lblSelected->setBuddy(m_lstSelected);

    struct ButtonPlace
    {
        const char16_t* caption;
        QRect rect;
        int tabIndex;
    };
    const std::array<ButtonPlace, 4> buttons{{
        {u"All -->", twipsRect(2280, 2160, 972, 372), 21},
        {u"<-- All", twipsRect(2280, 2520, 972, 372), 22},
        {u"Add -->", twipsRect(2280, 1080, 972, 372), 23},
        {u"<-- Remove", twipsRect(2280, 1440, 972, 372), 24},
    }};
    for (int i = 0; i < 4; ++i) {
        const ButtonPlace& place = buttons[static_cast<std::size_t>(i)];
        m_cmdStep2[static_cast<std::size_t>(i)] =
            makeButton(this, memberName(u"cmdStep2", i), QString::fromUtf16(place.caption),
                       place.rect, place.tabIndex);
        connect(m_cmdStep2[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdStep2_Click(i); });
    }
    refreshCounts();
}

qsizetype Step2Panel::selectedCount() const
{
    return m_lstSelected->count();
}

void Step2Panel::FillList(const NameList& names)
{
    // The names come from the file list, sorted the same way: the list takes them as they are,
    // sharing their pool.
    m_lstUnselected->setNames(names);
    m_lstSelected->setNames(NameList(names.pool(), {}));
    refreshCounts();
}

void Step2Panel::cmdStep2_Click(int index)
{
    switch (index) {
    case kAllRight:
        moveBetween(m_lstUnselected, m_lstSelected, true);
        break;
    case kAllLeft:
        moveBetween(m_lstSelected, m_lstUnselected, true);
        break;
    case kAddRight:
        moveBetween(m_lstUnselected, m_lstSelected, false);
        break;
    case kRemoveLeft:
        moveBetween(m_lstSelected, m_lstUnselected, false);
        break;
    default:
        break;
    }
    refreshCounts();
}

Step2Values Step2Panel::Get_Step2_Info() const
{
    const NameList& selected = m_lstSelected->names();
    BigVector<std::uint32_t> positions = selected.positions();
    positions.push_back(NameList::kEmptyName); // the array's last element stays empty
    return {.sImageFiles = NameList(selected.pool(), std::move(positions))};
}

void Step2Panel::refreshCounts()
{
    m_lblUnselected->setText(QString::number(m_lstUnselected->count()) + u" Image(s) Unselected"_s);
    m_lblSelected->setText(QString::number(m_lstSelected->count()) + u" Image(s) Selected"_s);
    // The lists and the move buttons carry the counts, so a screen reader tells the new ones
    // after a move.
    m_lstUnselected->setAccessibleDescription(m_lblUnselected->text());
    m_lstSelected->setAccessibleDescription(m_lblSelected->text());
    const QString counts = m_lblUnselected->text() + u", "_s + m_lblSelected->text();
    for (QPushButton* button : m_cmdStep2)
        button->setAccessibleDescription(counts);
}

} // namespace vignetta
