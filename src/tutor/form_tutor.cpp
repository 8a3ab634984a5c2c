// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tutor/form_tutor.h"

#include "tutor/tutor_place.h"
#include "ui/twips.h"
#include "ui/ui_kit.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vignetta {

namespace {

constexpr QRgb kLightYellow = qRgb(255, 255, 192);
constexpr int kLabelWidth = 1704;   // twips
constexpr int kMargin = 240;        // twips of empty strip right of and below the label
constexpr int kInitialWidth = 1692; // twips, replaced before the window is first shown
constexpr int kInitialHeight = 300; // twips
constexpr QRect kInitialLabelTwips(0, 0, 1452, 192);
constexpr int kGap = 108; // twips between the wizard's frame and the tutor's

} // namespace

FormTutor::FormTutor(QWidget* wizard) : QWidget(wizard, Qt::Tool)
{
    setObjectName(u"formTutor"_s);
    setWindowTitle(u"Vignetta Tutor"_s);
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setFont(windowFont(font()));
    // The hint is black on light yellow whatever the desktop's colour scheme.
    QPalette yellow = designedPalette();
    yellow.setColor(QPalette::Window, QColor(kLightYellow));
    setPalette(yellow);
    setAutoFillBackground(true);
    resize(px(kInitialWidth), px(kInitialHeight));

    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setGeometry(rect());
    m_scroll->viewport()->setAutoFillBackground(false);
    m_scroll->setAutoFillBackground(false);
    m_lblTutor = new QLabel;
    m_lblTutor->setObjectName(u"lblTutor"_s);
    m_lblTutor->setTextFormat(Qt::PlainText);
    m_lblTutor->setWordWrap(true);
    m_lblTutor->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblTutor->setAutoFillBackground(true);
    m_scroll->setWidget(m_lblTutor);
    m_lblTutor->setGeometry(twipsRect(kInitialLabelTwips));
}

void FormTutor::fitToLabel()
{
    fitToLabel(px(kLabelWidth));
}

void FormTutor::fitToLabel(int labelWidth)
{
    const int height = labelHeight(labelWidth);
    m_lblTutor->setGeometry(0, 0, labelWidth, height);
    resize(labelWidth + px(kMargin), height + px(kMargin));
    m_scroll->setGeometry(rect());
}

void FormTutor::fitToArea(QSize clientSize)
{
    // The hint keeps the margin on its right, beside the scroll bar it now needs.
    const int scrollBar = m_scroll->verticalScrollBar()->sizeHint().width();
    const int labelWidth = std::max(1, clientSize.width() - scrollBar - px(kMargin) / 2);
    m_lblTutor->setGeometry(0, 0, labelWidth, labelHeight(labelWidth) + px(kMargin) / 2);
    resize(clientSize);
    m_scroll->setGeometry(rect());
}

int FormTutor::labelHeight(int labelWidth) const
{
    // An empty label keeps the height of one line, as a label of no text still has.
    return m_lblTutor->text().isEmpty() ? m_lblTutor->fontMetrics().height()
                                        : m_lblTutor->heightForWidth(labelWidth);
}

void FormTutor::placeBeside(const QWidget* wizard)
{
    // The tutor's frame is known once it has been shown; before, the wizard's is a fair guess.
    const QWidget* framed = isVisible() ? static_cast<const QWidget*>(this) : wizard;
    const QSize frame = framed->frameGeometry().size() - framed->geometry().size();
    const QSize margin(px(kMargin), px(kMargin));
    const QScreen* screen = wizard->screen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
    const QRect placed =
        tutorFrame(wizard->frameGeometry(), available, px(kGap), frame + margin, px(kLabelWidth),
                   [this](int width) { return labelHeight(width); });
    const int labelWidth = placed.width() - frame.width() - margin.width();
    if (placed.height() - frame.height() - margin.height() < labelHeight(labelWidth))
        fitToArea(placed.size() - frame);
    else
        fitToLabel(labelWidth);
    move(placed.topLeft());
}

bool FormTutor::isClearOf(const QWidget* wizard) const
{
    const QRect own = frameGeometry();
    const QScreen* onScreen = screen();
    return onScreen != nullptr && onScreen->availableGeometry().contains(own) &&
           !own.intersects(wizard->frameGeometry());
}

void FormTutor::closeEvent(QCloseEvent* event)
{
    event->accept();
    Q_EMIT closedByUser();
}

} // namespace vignetta
