// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QGroupBox>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

namespace vignetta {

// The panel shown once the page has been written, naming the file and its folder, with a
// button that opens the page.
class CompletionPanel final : public QGroupBox
{
    Q_OBJECT
public:
    explicit CompletionPanel(QWidget* parent = nullptr);

    // The page's file name, shown under "File has been written as".
    void setFileName(const QString& fileName);
    // The folder the page was written in, shown under its name.
    void setFolder(const QString& folder);
    // What the page gives away of where its photos were taken, and the images that could not
    // be read or were damaged, one line each naming the image and what is wrong: listed under a
    // note that counts them, where keys and screen readers reach them. Nothing: no list.
    void setNotes(const QString& locationNote, const QStringList& problems);

Q_SIGNALS:
    // Open Page was pressed.
    void openRequested();

private:
    QLabel* m_lblFileName = nullptr;
    QLabel* m_lblFolder = nullptr;
    QPushButton* m_cmdOpen = nullptr;
    QListWidget* m_lstProblems = nullptr;
};

} // namespace vignetta
