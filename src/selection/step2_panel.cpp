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
    std::vector<bool> take;
    if (!all) {
        take = from->highlighted();
        if (std::find(take.begin(), take.end(), true) == take.end())
            return; // nothing highlighted, nothing moves
    } else if (from->count() == 0) {
        return;
    }
    std::vector<bool> toHighlight = to->highlighted();
    const bool keepHighlight =
        std::find(toHighlight.begin(), toHighlight.end(), true) != toHighlight.end();

    CollatedNames source = from->nameModel()->takeEntries();
    CollatedNames target = to->nameModel()->takeEntries();
    if (all)
        moveAllNames(source, target, toHighlight);
    else
        moveNames(source, take, target, toHighlight);
    from->setEntries(std::move(source));
    to->setEntries(std::move(target));
    if (keepHighlight)
        to->setHighlighted(toHighlight);
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

void Step2Panel::FillList(const CollatedNames& names)
{
    m_lstUnselected->clear();
    m_lstSelected->clear();
    // The names come from the file list, which sorts them the same way.
    CollatedNames copy = names;
    if (!std::is_sorted(copy.begin(), copy.end()))
        std::sort(copy.begin(), copy.end());
    m_lstUnselected->setEntries(std::move(copy));
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
    QStringList files;
    files.reserve(m_lstSelected->count() + 1);
    for (const CollatedName& entry : m_lstSelected->entries())
        files.append(entry.name);
    files.append(QString()); // the array's last element stays empty
    return {.sImageFiles = std::move(files)};
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
