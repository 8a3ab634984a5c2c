// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/ui_kit.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <QTextDocument>

using namespace Qt::Literals::StringLiterals;

#include <algorithm>

namespace vignetta {

QFont windowFont(QFont userFont)
{
    userFont.setPixelSize(fontPx(kWindowFontPixels));
    return userFont;
}

QString plainToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return u"<qt style=\"white-space:pre\">"_s + text.toHtmlEscaped() + u"</qt>"_s;
}

double zoomForFont(const QFont& userFont, QSize available)
{
    double pixels = userFont.pixelSize();
    if (pixels <= 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
        pixels = userFont.pointSizeF() * dpi / 72.0;
    }
    double factor = std::max(1.0, pixels / kDesignInterfaceFontPixels);
    if (available.isValid()) {
        // Room for the window's frame and title bar around the designed client area.
        constexpr double kFrameRoom = 48;
        const double widest = (available.width() - kFrameRoom) * kTwipsPerPixel / 5784.0;
        const double tallest = (available.height() - kFrameRoom) * kTwipsPerPixel / 4476.0;
        factor = std::max(1.0, std::min({factor, widest, tallest}));
    }
    return factor;
}

QPalette designedPalette()
{
    const QColor window(239, 239, 239);
    const QColor text(Qt::black);
    const QColor base(Qt::white);
    QPalette palette(text, window, window.lighter(150), window.darker(150), window.darker(130),
                     text, base);
    palette.setColor(QPalette::Midlight, window.darker(130).lighter(110));
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Shadow, window.darker(150).darker(135));
    palette.setColor(QPalette::AlternateBase, QColor(247, 247, 247));
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Highlight, QColor(38, 100, 166));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0, 0, 238));
    palette.setColor(QPalette::LinkVisited, QColor(82, 24, 139));
    QColor placeholder(text);
    placeholder.setAlpha(128);
    palette.setColor(QPalette::PlaceholderText, placeholder);
    // Disabled controls are greyed as the toolkit greys them on a light window.
    const QColor disabledText(150, 150, 150);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Text, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Base, window);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
    return palette;
}

QString memberName(QStringView array, int index)
{
    return array.toString() + u'(' + QString::number(index) + u')';
}

void setTabIndex(QWidget* control, int tabIndex)
{
    control->setProperty(kTabIndexProperty, tabIndex);
}

CaptionedFrame::CaptionedFrame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent)
{}

void CaptionedFrame::setCaptionColor(const QColor& color)
{
    m_captionColor = color;
    update();
}

QColor CaptionedFrame::captionColor() const
{
    return m_captionColor.isValid() ? m_captionColor : palette().color(QPalette::WindowText);
}

void CaptionedFrame::paintEvent(QPaintEvent* /*event*/)
{
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    if (m_captionColor.isValid()) {
        // Styles differ in which of the two they draw the caption with.
        option.textColor = m_captionColor;
        option.palette.setColor(QPalette::WindowText, m_captionColor);
    }
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}

void placeControl(QWidget* control, const QString& objectName, QRect rect, int tabIndex)
{
    control->setObjectName(objectName);
    control->setGeometry(rect);
    setTabIndex(control, tabIndex);
}

QLabel* makeLabel(QWidget* parent, const QString& objectName, const QString& text, QRect rect,
                  int tabIndex, LabelStyle style)
{
    auto* label = new QLabel(text, parent);
    placeControl(label, objectName, rect, tabIndex);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(style.alignment);
    label->setWordWrap(style.wraps);
    if (style.color) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(*style.color));
        label->setPalette(palette);
    }
    return label;
}

namespace {

// A button that Enter presses as Space does, as users of wizards expect of the focused button.
// Held down, the key presses it once: a held Enter must not run through the steps.
class EnterButton final : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
            QPushButton::keyPressEvent(event);
            return;
        }
        if (!event->isAutoRepeat())
            click();
        event->accept();
    }
};

} // namespace

QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption,
                        QRect rect, int tabIndex)
{
    auto* button = new EnterButton(caption, parent);
    placeControl(button, objectName, rect, tabIndex);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* makeTextBox(QWidget* parent, const QString& objectName, const QString& text, QRect rect,
                       int tabIndex)
{
    auto* box = new QLineEdit(text, parent);
    placeControl(box, objectName, rect, tabIndex);
    return box;
}

QCheckBox* makeCheckBox(QWidget* parent, const QString& objectName, const QString& caption,
                        QRect rect, int tabIndex)
{
    auto* box = new QCheckBox(caption, parent);
    placeControl(box, objectName, rect, tabIndex);
    return box;
}

QRadioButton* makeOptionButton(QWidget* parent, const QString& objectName, const QString& caption,
                               QRect rect, int tabIndex)
{
    auto* option = new QRadioButton(caption, parent);
    placeControl(option, objectName, rect, tabIndex);
    return option;
}

CaptionedFrame* makeFrame(QWidget* parent, const QString& objectName, const QString& caption,
                          QRect rect, int tabIndex)
{
    auto* frame = new CaptionedFrame(caption, parent);
    placeControl(frame, objectName, rect, tabIndex);
    // Named by its own caption; a frame inside a panel would otherwise take the panel's.
    frame->setAccessibleName(caption);
    return frame;
}

} // namespace vignetta
