// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "appearance/step3_panel.h"

#include "appearance/html_color.h"
#include "core/text_rules.h"
#include "ui/ui_kit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

constexpr LabelStyle kInstruction{
    .color = kBlue, .alignment = Qt::AlignHCenter | Qt::AlignTop, .wraps = true};
constexpr LabelStyle kFieldLabel{.color = kBlack, .alignment = Qt::AlignLeft | Qt::AlignTop};

// What the step shows at start and after Restart.
struct Defaults
{
    const char16_t* width;
    const char16_t* height;
    const char16_t* columns;
    bool border;
    const char16_t* thickness;
    QRgb foreground;
    QRgb background;
};
constexpr Defaults kDefaults{u"150", u"150", u"1", true, u"2", kBlack, qRgb(255, 255, 255)};

// A text box with the label that names it.
QLineEdit* labelledBox(QWidget* frame, int labelIndex, const QString& caption, QRect labelRect,
                       int labelTab, const QString& boxName, QRect boxRect, int boxTab)
{
    QLabel* label = makeLabel(frame, memberName(u"Label1", labelIndex), caption, labelRect,
                              labelTab, kFieldLabel);
    QLineEdit* box = makeTextBox(frame, boxName, QString(), boxRect, boxTab);
    label->setBuddy(box);
    return box;
}

} // namespace

Step3Panel::Step3Panel(QWidget* parent) : QGroupBox(u"Step 3: ThumbNail Appearance"_s, parent)
{
    const std::array<QString, 4> captions{u"Width/Height"_s, u"Columns"_s, u"Border"_s,
                                          u"Background"_s};
    const std::array<int, 4> lefts{120, 1440, 2880, 4200};
    for (int i = 0; i < 4; ++i) {
        const auto at = static_cast<std::size_t>(i);
        m_frame1[at] = makeFrame(this, memberName(u"Frame1", i), captions[at],
                                 twipsRect(lefts[at], 360, 1212, 2652), 25 + i);
        m_frame1[at]->setCaptionColor(QColor(kDarkRed));
    }

    QWidget* sizes = m_frame1[0];
    makeLabel(sizes, memberName(u"Label1", 2), u"Enter the Width and Height for ThumbNails"_s,
              twipsRect(120, 360, 972, 852), 29, kInstruction);
    m_txtWidth = labelledBox(sizes, 6, u"Width"_s, twipsRect(120, 1320, 492, 252), 33,
                             u"txtWidth"_s, twipsRect(120, 1560, 972, 288), 36);
    m_txtHeight = labelledBox(sizes, 7, u"Height"_s, twipsRect(120, 2040, 492, 252), 34,
                              u"txtHeight"_s, twipsRect(120, 2280, 972, 288), 35);

    QWidget* columns = m_frame1[1];
    makeLabel(columns, memberName(u"Label1", 3),
              u"Enter the number of ThumbNails to put in each Column"_s,
              twipsRect(120, 360, 972, 972), 30, kInstruction);
    m_txtColumns = labelledBox(columns, 8, u"Columns"_s, twipsRect(120, 2040, 612, 252), 37,
                               u"txtColumns"_s, twipsRect(120, 2280, 972, 288), 38);

    QWidget* border = m_frame1[2];
    makeLabel(border, memberName(u"Label1", 4), u"Enter Border Thickness, if any"_s,
              twipsRect(120, 360, 972, 612), 31, kInstruction);
    m_check1 = makeCheckBox(border, u"Check1"_s, u"Border"_s, twipsRect(120, 1560, 972, 252), 39);
    m_txtThickness = labelledBox(border, 9, u"Thickness"_s, twipsRect(120, 2040, 732, 252), 40,
                                 u"txtThickness"_s, twipsRect(120, 2280, 972, 288), 41);

    QWidget* colours = m_frame1[3];
    makeLabel(colours, memberName(u"Label1", 5), u"Enter ForeGround and Background Color"_s,
              twipsRect(120, 360, 972, 1092), 32, kInstruction);
    m_cmdColor[0] = makeButton(colours, memberName(u"cmdColor", 0), u"FG"_s,
                               twipsRect(120, 1560, 492, 252), 43);
    m_cmdColor[1] = makeButton(colours, memberName(u"cmdColor", 1), u"BG"_s,
                               twipsRect(600, 1560, 492, 252), 44);
    m_lblColor = makeLabel(colours, u"lblColor"_s, u"           Sample Text"_s,
                           twipsRect(120, 1920, 972, 612), 42,
                           {.color = std::nullopt, .alignment = Qt::AlignCenter, .wraps = true});
    m_lblColor->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_lblColor->setLineWidth(1);
    m_lblColor->setAutoFillBackground(true);
    // A size smaller, so that the blanks and "Sample" share the first line as designed.
    QFont sampleFont = m_lblColor->font();
    sampleFont.setPixelSize(fontPx(10));
    m_lblColor->setFont(sampleFont);

    connect(m_check1, &QCheckBox::clicked, this, &Step3Panel::Check1_Click);
    for (int i = 0; i < 2; ++i) {
        m_cmdColor[static_cast<std::size_t>(i)]->setAccessibleName(colorName(i));
        connect(m_cmdColor[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { Q_EMIT colorRequested(i); });
    }
    setDefaults();
}

QColor Step3Panel::sampleColor(int index) const
{
    return m_lblColor->palette().color(index == kForeground ? QPalette::WindowText
                                                            : QPalette::Window);
}

QString Step3Panel::colorName(int index)
{
    return index == kForeground ? u"Text colour"_s : u"Background colour"_s;
}

void Step3Panel::setSampleColor(int index, const QColor& color)
{
    QPalette palette = m_lblColor->palette();
    palette.setColor(index == kForeground ? QPalette::WindowText : QPalette::Window, color);
    m_lblColor->setPalette(palette);
    describeColors();
}

void Step3Panel::describeColors()
{
    // What the sample shows in colour, told in words to those who cannot see it.
    const QString text = GetForeColor();
    const QString background = GetBackColor();
    m_cmdColor[kForeground]->setAccessibleDescription(u"Chosen: "_s + text);
    m_cmdColor[kBackground]->setAccessibleDescription(u"Chosen: "_s + background);
    m_lblColor->setAccessibleDescription(u"Text "_s + text + u" on background "_s + background);
}

void Step3Panel::setDefaults()
{
    m_txtWidth->setText(QString::fromUtf16(kDefaults.width));
    m_txtHeight->setText(QString::fromUtf16(kDefaults.height));
    m_txtColumns->setText(QString::fromUtf16(kDefaults.columns));
    m_check1->setChecked(kDefaults.border);
    m_txtThickness->setEnabled(kDefaults.border);
    m_txtThickness->setText(QString::fromUtf16(kDefaults.thickness));
    setSampleColor(kForeground, QColor(kDefaults.foreground));
    setSampleColor(kBackground, QColor(kDefaults.background));
}

void Step3Panel::Check1_Click()
{
    // The thickness typed before comes back when the box is ticked again.
    m_txtThickness->setEnabled(m_check1->isChecked());
}

Step3Values Step3Panel::Get_Step3_Info() const
{
    const bool border = m_check1->isChecked();
    return {.sWidth = trimBlanks(m_txtWidth->text()),
            .sHeight = trimBlanks(m_txtHeight->text()),
            .sColumns = trimBlanks(m_txtColumns->text()),
            .bBorder = border,
            .sThickness = border ? trimBlanks(m_txtThickness->text()) : u"0"_s,
            .sForeColor = GetForeColor(),
            .sBackColor = GetBackColor()};
}

namespace {

QString htmlColorOf(const QColor& color)
{
    return htmlColor(colorValue(color.red(), color.green(), color.blue()));
}

} // namespace

QString Step3Panel::GetForeColor() const
{
    return htmlColorOf(sampleColor(kForeground));
}

QString Step3Panel::GetBackColor() const
{
    return htmlColorOf(sampleColor(kBackground));
}

} // namespace vignetta
