// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/twips.h"

#include <QColor>
#include <QFont>
#include <QGroupBox>
#include <QPalette>
#include <QString>

#include <optional>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vignetta {

// Named colours of the window.
inline constexpr QRgb kBlue = qRgb(0, 0, 255);
inline constexpr QRgb kDarkRed = qRgb(192, 0, 0);
inline constexpr QRgb kBlack = qRgb(0, 0, 0);
inline constexpr QRgb kLightGrey = qRgb(192, 192, 192);

// The fixed layout was drawn for a compact interface font: the user's font family at this size
// (at the zoom) lets every caption fit its control. Every window of the program uses it.
inline constexpr int kWindowFontPixels = 11;
[[nodiscard]] QFont windowFont(QFont userFont);

// A tooltip that shows `text` exactly as it is, even where it looks like markup (a folder
// named "<h1>..." must not draw a heading).
[[nodiscard]] QString plainToolTip(const QString& text);

// The interface font the layout was drawn for, in pixels: the toolkit's own default of 9 points
// at 96 dots per inch. At this font the zoom is 1 and the window is drawn exactly as designed.
inline constexpr double kDesignInterfaceFontPixels = 12.0;

// The zoom for the user's interface font: its size over the design font, never below 1 (the
// designed window is the smallest) and never so large that the window outgrows `available`,
// the part of the screen that windows may take.
[[nodiscard]] double zoomForFont(const QFont& userFont, QSize available);

// The light palette the window's colours were chosen on: grey window and buttons, white boxes,
// black text, and a selection dark enough for white text. The wizard and the tutor keep it
// whatever the desktop's colour scheme, so every designed colour sits on its designed ground.
[[nodiscard]] QPalette designedPalette();

// Controls of one kind that share a name are told apart by their index: "cmdButtons(2)".
[[nodiscard]] QString memberName(QStringView array, int index);

// Keyboard order: every control that can take focus carries its tab index; the window chains
// them in increasing order once all panels exist.
inline constexpr char kTabIndexProperty[] = "tabIndex";
void setTabIndex(QWidget* control, int tabIndex);

// A group frame whose caption has a colour of its own, leaving its controls' colours alone.
class CaptionedFrame : public QGroupBox
{
    Q_OBJECT
public:
    CaptionedFrame(const QString& caption, QWidget* parent);
    void setCaptionColor(const QColor& color);
    // The colour the caption is drawn in.
    [[nodiscard]] QColor captionColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_captionColor;
};

struct LabelStyle
{
    std::optional<QRgb> color = kBlue; // none: the system's colour for labels
    Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignTop;
    bool wraps = false;
};

// The factories below create a control at its place (in twips) with its name and tab index.
QLabel* makeLabel(QWidget* parent, const QString& objectName, const QString& text, QRect rect,
                  int tabIndex, LabelStyle style = {});
QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption,
                        QRect rect, int tabIndex);
QLineEdit* makeTextBox(QWidget* parent, const QString& objectName, const QString& text, QRect rect,
                       int tabIndex);
QCheckBox* makeCheckBox(QWidget* parent, const QString& objectName, const QString& caption,
                        QRect rect, int tabIndex);
QRadioButton* makeOptionButton(QWidget* parent, const QString& objectName, const QString& caption,
                               QRect rect, int tabIndex);
CaptionedFrame* makeFrame(QWidget* parent, const QString& objectName, const QString& caption,
                          QRect rect, int tabIndex);
void placeControl(QWidget* control, const QString& objectName, QRect rect, int tabIndex);

} // namespace vignetta
