#include "ui/ui_kit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <QTextDocument>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

QFont windowFont(QFont userFont)
{
    userFont.setPixelSize(kWindowFontPixels);
    return userFont;
}

QString plainToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return u"<qt style=\"white-space:pre\">"_s + text.toHtmlEscaped() + u"</qt>"_s;
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

QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption,
                        QRect rect, int tabIndex)
{
    auto* button = new QPushButton(caption, parent);
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
    return frame;
}

} // namespace vignetta
