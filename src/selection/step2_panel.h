// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/file_names.h"
#include "core/wizard_state.h"

#include <QGroupBox>

#include <array>

class QLabel;
class QPushButton;

namespace vignetta {

class NameListView;

// Step 2: the Unselected and Selected lists, the four move buttons and the two counts.
class Step2Panel final : public QGroupBox
{
    Q_OBJECT
public:
    enum MoveButton
    {
        kAllRight = 0,
        kAllLeft = 1,
        kAddRight = 2,
        kRemoveLeft = 3
    };

    explicit Step2Panel(QWidget* parent = nullptr);

    [[nodiscard]] qsizetype selectedCount() const;

    // Puts every given name into the Unselected list and empties the Selected list.
    void FillList(const NameList& names);
    void cmdStep2_Click(int index);
    [[nodiscard]] Step2Values Get_Step2_Info() const;

private:
    void refreshCounts();

    QLabel* m_label = nullptr;
    QLabel* m_lblUnselected = nullptr;
    QLabel* m_lblSelected = nullptr;
    NameListView* m_lstUnselected = nullptr;
    NameListView* m_lstSelected = nullptr;
    std::array<QPushButton*, 4> m_cmdStep2{};
};

} // namespace vignetta
