// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/completion_panel.h"

#include "ui/ui_kit.h"
#include "wizard/finish_texts.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

CompletionPanel::CompletionPanel(QWidget* parent) : QGroupBox(u"Page Creation Complete"_s, parent)
{
    makeLabel(this, memberName(u"Label1", 21), u"File has been written as"_s,
              twipsRect(120, 600, 5292, 192), 55);
    m_lblFileName =
        makeLabel(this, u"lblFileName"_s, QString(), twipsRect(120, 1200, 5292, 372), 56,
                  {.color = kDarkRed, .alignment = Qt::AlignHCenter | Qt::AlignTop});
    // 12 points at the layout's 120 dots per inch.
    QFont font;
    font.setFamilies({u"MS Sans Serif"_s, u"DejaVu Sans"_s, u"Sans Serif"_s});
    font.setPixelSize(fontPx(20));
    m_lblFileName->setFont(font);
    // Under the name: where the page is, and the way to look at it.
    m_lblFolder = makeLabel(this, u"lblFolder"_s, QString(), twipsRect(120, 1584, 5292, 192), 65,
                            {.color = kBlack});
    m_cmdOpen =
        makeButton(this, u"cmdOpen"_s, u"O&pen Page"_s, twipsRect(2160, 1812, 1212, 252), 66);
    connect(m_cmdOpen, &QPushButton::clicked, this, &CompletionPanel::openRequested);
    makeLabel(this, memberName(u"Label1", 15), u"Thank you for using Vignetta."_s,
              twipsRect(120, 2160, 5292, 192), 54);
    makeLabel(this, memberName(u"Label1", 16),
              u"Select the Restart button to create another ThumbNail page."_s,
              twipsRect(120, 2520, 5292, 192), 53);
    // Two lines show; the list scrolls for more, and each line's tooltip holds all of it.
    m_lstProblems = new QListWidget(this);
    placeControl(m_lstProblems, u"lstProblems"_s, twipsRect(120, 2748, 5292, 348), 67);
    m_lstProblems->setUniformItemSizes(true);
    m_lstProblems->setTextElideMode(Qt::ElideMiddle);
    m_lstProblems->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lstProblems->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstProblems->hide();
}

void CompletionPanel::setFileName(const QString& fileName)
{
    m_lblFileName->setText(fileName);
}

void CompletionPanel::setFolder(const QString& folder)
{
    // A long path keeps both its ends, where the folder's own name is; the whole of it is in
    // the tooltip and told to screen readers.
    const QString path = QDir::toNativeSeparators(folder);
    m_lblFolder->setText(m_lblFolder->fontMetrics().elidedText(
        path, Qt::ElideMiddle, m_lblFolder->contentsRect().width()));
    m_lblFolder->setToolTip(plainToolTip(path));
    m_lblFolder->setAccessibleName(path);
}

void CompletionPanel::setNotes(const QString& locationNote, const QStringList& problems)
{
    m_lstProblems->clear();
    m_lstProblems->setVisible(!problems.isEmpty() || !locationNote.isEmpty());
    if (!m_lstProblems->isVisibleTo(this))
        return;
    const QString note = problemsNoteText(problems.size());
    m_lstProblems->setAccessibleName(locationNote.isEmpty() ? note : locationNote);
    // Lines as wide as the list, shortened in the middle where longer: both the name and the
    // end of the reason stay in view.
    const QSize line(1, m_lstProblems->fontMetrics().height());
    for (const QString& head : {locationNote, note}) {
        if (head.isEmpty())
            continue;
        auto* item = new QListWidgetItem(head, m_lstProblems);
        item->setFlags(Qt::ItemIsEnabled);
        item->setForeground(QColor(kDarkRed));
        item->setToolTip(plainToolTip(head));
        item->setSizeHint(line);
    }
    for (const QString& problem : problems) {
        auto* item = new QListWidgetItem(problem, m_lstProblems);
        item->setToolTip(plainToolTip(problem));
        item->setSizeHint(line);
    }
}

} // namespace vignetta
