#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>

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

    // Shows the colour dialog modally and returns the colour it reports when closed.
    virtual QColor chooseColor(QWidget* parent, const QColor& initial) = 0;
};

// The real dialogs.
class QtPrompts final : public Prompts
{
public:
    void showMessage(QWidget* parent, const MessageRequest& request) override;
    QColor chooseColor(QWidget* parent, const QColor& initial) override;
};

} // namespace vignetta
