// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/wizard_state.h"

#include <QGroupBox>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace vignetta {

class CaptionedFrame;

// Step 4: the page's name, its extension, and whether it gets thumbnail files.
class Step4Panel final : public QGroupBox
{
    Q_OBJECT
public:
    explicit Step4Panel(QWidget* parent = nullptr);

    void setDefaults();
    // The folder the images are in, by its name: the title, until one is typed.
    void setFolderName(const QString& name);
    [[nodiscard]] Step4Values Get_Step4_Info() const;

Q_SIGNALS:
    // Enter was pressed in the page-name box.
    void nameEntered();

private:
    void enableOptions();

    CaptionedFrame* m_frame2 = nullptr;
    std::array<QRadioButton*, 2> m_optExtension{};
    CaptionedFrame* m_frame3 = nullptr;
    QCheckBox* m_check2 = nullptr;
    QCheckBox* m_check3 = nullptr;
    QCheckBox* m_check4 = nullptr;
    QLabel* m_lblTitle = nullptr;
    QLineEdit* m_txtTitle = nullptr;
    bool m_titleTyped = false;
    QLineEdit* m_txtFileName = nullptr;
};

} // namespace vignetta
