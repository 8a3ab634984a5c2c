// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QGroupBox>
#include <QStringList>

class QLabel;
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
    // The images whose cells show the original because they could not be read, one line each
    // naming the image and why; the panel counts them. None: no note.
    void setUnreadableImages(const QStringList& problems);

Q_SIGNALS:
    // Open Page was pressed.
    void openRequested();

private:
    QLabel* m_lblFileName = nullptr;
    QLabel* m_lblFolder = nullptr;
    QPushButton* m_cmdOpen = nullptr;
    QLabel* m_lblUnreadable = nullptr;
};

} // namespace vignetta
