// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/prompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QGridLayout>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QProgressDialog>
#include <QSpacerItem>
#include <QStandardPaths>
#include <QUrl>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

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

void QtPrompts::openUrl(const QUrl& url, OpenFailed failed)
{
    const QString noOpener = u"no program to show web pages was found."_s;
    const QString opener = QStandardPaths::findExecutable(u"xdg-open"_s);
    const QString shell = QStandardPaths::findExecutable(u"bash"_s);
    if (opener.isEmpty() || shell.isEmpty()) {
        // The toolkit's own way, which tells only whether something could be started.
        if (!QDesktopServices::openUrl(url))
            failed(noOpener);
        return;
    }
    // The opener runs in a shell of its own that waits for it a few seconds at most: an opener
    // that fails says so by then, one that is still running has shown the page and goes on
    // running, also once this program has ended.
    static const QString watch = uR"(
        "$1" "$2" </dev/null >/dev/null 2>&1 & opener=$!
        sleep "$3" & timer=$!
        wait -n -p ended "$opener" "$timer"
        status=$?
        if [ "$ended" = "$opener" ]; then kill "$timer" 2>/dev/null; exit "$status"; fi
        exit 0)"_s;
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(shell);
    process->setArguments({u"-c"_s, watch, u"vignetta-open"_s, opener,
                           QString::fromLatin1(url.toEncoded()),
                           QString::number(m_watchMs / 1000.0, 'f', 3)});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || exitCode != 0)
                             failed(u"the program that shows web pages failed (xdg-open ended "
                                    u"with status %1)."_s.arg(exitCode));
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed, noOpener](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         process->deleteLater();
                         failed(noOpener);
                     });
    process->start();
}

} // namespace vignetta
