#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>

#include <memory>
#include <optional>

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
};

// The real dialogs.
class QtPrompts final : public Prompts
{
public:
    void showMessage(QWidget* parent, const MessageRequest& request) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial,
                                      const QString& title) override;
};

// The message box as the real dialogs show it: wide enough for its whole title, which window
// managers otherwise cut short.
[[nodiscard]] std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent,
                                                          const MessageRequest& request);

} // namespace vignetta
