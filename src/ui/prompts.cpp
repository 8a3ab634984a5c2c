// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/prompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QGridLayout>
#include <QPointer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QSpacerItem>
#include <QUrl>

#include <cmath>

namespace vignetta {

namespace {

// Room a title bar takes besides its text: the window's icon and its buttons, as most window
// managers draw them.
constexpr int kTitleBarRoom = 160;
// Title bars often draw their text bolder and larger than the interface font.
constexpr double kTitleFontAllowance = 1.25;

// Work that ends sooner than this shows no progress window at all.
constexpr int kProgressDelayMs = 500;

// The width a window needs for its whole title to show in its title bar.
int titleBarWidth(const QString& title)
{
    const QFontMetrics metrics(QApplication::font());
    return static_cast<int>(std::ceil(metrics.horizontalAdvance(title) * kTitleFontAllowance)) +
           kTitleBarRoom;
}

// The progress dialog of the toolkit. Its bar is updated directly: the dialog's own setValue()
// runs the event loop when the dialog is modal, which could end the work, and so destroy the
// dialog, inside the call.
class QtProgress final : public ProgressPrompt
{
public:
    QtProgress(QWidget* parent, ProgressRequest request)
        : m_dialog(new QProgressDialog(parent)), m_bar(new QProgressBar)
    {
        if (parent != nullptr) {
            m_dialog->setPalette(parent->palette());
            m_dialog->setFont(parent->font());
        }
        // Not modal: the wizard's Exit and its window's close button stay within reach and end
        // the work; the wizard itself takes nothing else meanwhile.
        m_dialog->setWindowModality(Qt::NonModal);
        m_dialog->setWindowTitle(request.title);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        m_dialog->setBar(m_bar);
        m_bar->setAccessibleName(request.title);
        // One size for the whole work, wide enough for the title, high enough for the text's two
        // lines: it neither jumps as the text changes nor can be maximised.
        m_dialog->setLabelText(request.text + u'\n');
        m_dialog->setMinimumWidth(titleBarWidth(request.title));
        m_dialog->setFixedSize(m_dialog->sizeHint().expandedTo(m_dialog->minimumSize()));
        m_dialog->setWindowFlags((m_dialog->windowFlags() | Qt::CustomizeWindowHint |
                                  Qt::WindowTitleHint | Qt::WindowCloseButtonHint) &
                                 ~(Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint));
        m_dialog->setLabelText(request.text);
        m_bar->setRange(0, 0);
        m_bar->setValue(0); // at its minimum: the delay below starts now
        // The dialog shows itself once the delay is over, unless it is gone by then.
        m_dialog->setMinimumDuration(kProgressDelayMs);
        QObject::connect(m_dialog, &QProgressDialog::canceled, m_dialog,
                         [onCancel = std::move(request.onCancel)] {
                             if (onCancel)
                                 onCancel();
                         });
    }
    ~QtProgress() override { delete m_dialog.data(); }
    QtProgress(const QtProgress&) = delete;
    QtProgress& operator=(const QtProgress&) = delete;
    QtProgress(QtProgress&&) = delete;
    QtProgress& operator=(QtProgress&&) = delete;

    void setProgress(int done, int toDo, const QString& text) override
    {
        if (m_dialog.isNull())
            return;
        m_bar->setRange(0, toDo);
        m_bar->setValue(toDo > 0 ? done : 0);
        m_dialog->setLabelText(text);
    }

private:
    QPointer<QProgressDialog> m_dialog; // gone with its parent window, should that go first
    QProgressBar* m_bar;                // the dialog's
};

} // namespace

std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const MessageRequest& request)
{
    auto box = std::make_unique<QMessageBox>(request.icon, request.title, request.text,
                                             request.buttons, parent);
    // The box sizes itself to its text; a stretch across its grid keeps it as wide as the
    // title needs.
    const int titleWidth = titleBarWidth(request.title);
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    // Texts name folders and files, which may look like markup: they are shown as they are.
    box->setTextFormat(Qt::PlainText);
    return box;
}

void QtPrompts::showMessage(QWidget* parent, const MessageRequest& request)
{
    makeMessageBox(parent, request)->exec();
}

std::optional<QColor> QtPrompts::chooseColor(QWidget* parent, const QColor& initial,
                                             const QString& title)
{
    QColorDialog dialog(initial, parent);
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

std::unique_ptr<ProgressPrompt> QtPrompts::showProgress(QWidget* parent, ProgressRequest request)
{
    return std::make_unique<QtProgress>(parent, std::move(request));
}

bool QtPrompts::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace vignetta
