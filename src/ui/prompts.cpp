#include "ui/prompts.h"

#include <QColorDialog>

namespace vignetta {

void QtPrompts::showMessage(QWidget* parent, const MessageRequest& request)
{
    QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
    // Texts name folders and files, which may look like markup: they are shown as they are.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::optional<QColor> QtPrompts::chooseColor(QWidget* parent, const QColor& initial)
{
    QColorDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

} // namespace vignetta
