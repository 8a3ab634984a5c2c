// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/wizard_state.h"

#include <QColor>
#include <QGroupBox>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vignetta {

class CaptionedFrame;

// Step 3: thumbnail width and height, thumbnails per row, border and thickness, and the two
// page colours shown on the colour sample.
class Step3Panel final : public QGroupBox
{
    Q_OBJECT
public:
    enum ColorButton
    {
        kForeground = 0,
        kBackground = 1
    };

    explicit Step3Panel(QWidget* parent = nullptr);

    // What a colour button changes, as a screen reader and the colour dialog name it.
    [[nodiscard]] static QString colorName(int index);

    // The sample's colours: index kForeground its text colour, kBackground its background.
    [[nodiscard]] QColor sampleColor(int index) const;
    void setSampleColor(int index, const QColor& color);

    void setDefaults();
    void Check1_Click();
    [[nodiscard]] Step3Values Get_Step3_Info() const;
    [[nodiscard]] QString GetForeColor() const;
    [[nodiscard]] QString GetBackColor() const;

Q_SIGNALS:
    // "FG" or "BG" was pressed; the window answers with the colour dialog.
    void colorRequested(int index);

private:
    void describeColors();

    std::array<CaptionedFrame*, 4> m_frame1{};
    QLineEdit* m_txtWidth = nullptr;
    QLineEdit* m_txtHeight = nullptr;
    QLineEdit* m_txtColumns = nullptr;
    QLineEdit* m_txtThickness = nullptr;
    QCheckBox* m_check1 = nullptr;
    std::array<QPushButton*, 2> m_cmdColor{};
    QLabel* m_lblColor = nullptr;
};

} // namespace vignetta
