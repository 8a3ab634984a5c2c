// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class QLabel;
class QScrollArea;

namespace vignetta {

// The floating hint window: a light yellow window holding one word-wrapped label. It is a tool
// window of the wizard, so that window managers and compositors keep it with the wizard and
// above it; it is made afresh each time the tutor is turned on.
class FormTutor final : public QWidget
{
    Q_OBJECT
public:
    explicit FormTutor(QWidget* wizard);

    [[nodiscard]] QLabel* lblTutor() const { return m_lblTutor; }

    // The label takes its natural width, or the one given, and the height of its wrapped
    // text; the client area becomes the label's size plus the margin, whatever frame the
    // window system draws around it. The top-left corner stays.
    void fitToLabel();
    void fitToLabel(int labelWidth);
    // Where no place has room for the whole hint: the client area takes `clientSize`, and the
    // hint scrolls in it.
    void fitToArea(QSize clientSize);

    // Puts the window beside the wizard's frame, on the wizard's screen, and sizes it for the
    // room found there (see tutorFrame).
    void placeBeside(const QWidget* wizard);

    // Whether the window lies on its screen without covering any of the wizard's frame.
    [[nodiscard]] bool isClearOf(const QWidget* wizard) const;

Q_SIGNALS:
    // The user closed the window through its frame.
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    [[nodiscard]] int labelHeight(int labelWidth) const;

    QScrollArea* m_scroll = nullptr; // the whole client area; it scrolls only where too small
    QLabel* m_lblTutor = nullptr;
};

} // namespace vignetta
