// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QUrl;
class QWidget;

namespace vignetta {

// One modal message box as the wizard asks for it.
struct MessageRequest
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;

    friend bool operator==(const MessageRequest&, const MessageRequest&) = default;
};

// A progress window as the wizard asks for it.
struct ProgressRequest
{
    QString title;
    QString text;
    std::function<void()> onCancel; // Cancel was pressed, or the window closed
};

// A progress window while it shows: it goes when this object goes.
class ProgressPrompt
{
public:
    virtual ~ProgressPrompt() = default;
    // `done` of `toDo` with `text` under the title; a `toDo` of 0 shows work of unknown size.
    virtual void setProgress(int done, int toDo, const QString& text) = 0;
};

// What the wizard asks of the user through modal dialogs. The program shows real dialogs;
// tests put a recorder in their place so nothing blocks.
class Prompts
{
public:
    virtual ~Prompts() = default;

    // Shows a modal message box; the answer is of no interest to the wizard.
    virtual void showMessage(QWidget* parent, const MessageRequest& request) = 0;

    // Shows the colour dialog modally under `title`, starting on `initial`; the colour chosen,
    // or nothing when the dialog was cancelled.
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial,
                                              const QString& title) = 0;

    // Shows a progress window over `parent`'s window for work that goes on meanwhile: it
    // returns at once and never runs an event loop of its own. It is not modal, so that the
    // window's Exit and close button stay within reach. Work that ends soon may be done before
    // the window appears.
    [[nodiscard]] virtual std::unique_ptr<ProgressPrompt> showProgress(QWidget* parent,
                                                                       ProgressRequest request) = 0;

    // Opens `url` in the user's application for it (a page in the web browser) and returns at
    // once. When none could be started, or the one started ends in failure within a few
    // seconds, `failed` is called (possibly later, on this thread) with the reason.
    using OpenFailed = std::function<void(const QString& reason)>;
    virtual void openUrl(const QUrl& url, OpenFailed failed) = 0;
};

// The real dialogs.
class QtPrompts final : public Prompts
{
public:
    // An opener still running after `watchMs` has shown the page: it is left to run on.
    explicit QtPrompts(int watchMs = 3000) : m_watchMs(watchMs) {}

    void showMessage(QWidget* parent, const MessageRequest& request) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial,
                                      const QString& title) override;
    std::unique_ptr<ProgressPrompt> showProgress(QWidget* parent, ProgressRequest request) override;
    void openUrl(const QUrl& url, OpenFailed failed) override;

private:
    int m_watchMs;
};

// The message box as the real dialogs show it: wide enough for its whole title, which window
// managers otherwise cut short.
[[nodiscard]] std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent,
                                                          const MessageRequest& request);

} // namespace vignetta
