#include "ui/prompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

#include <cmath>

namespace vignetta {

namespace {

// Room a title bar takes besides its text: the window's icon and its buttons, as most window
// managers draw them.
constexpr int kTitleBarRoom = 160;
// Title bars often draw their text bolder and larger than the interface font.
constexpr double kTitleFontAllowance = 1.25;

} // namespace

std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const MessageRequest& request)
{
    auto box = std::make_unique<QMessageBox>(request.icon, request.title, request.text,
                                             request.buttons, parent);
    // The box sizes itself to its text; a stretch across its grid keeps it as wide as the
    // title needs.
    const QFontMetrics metrics(QApplication::font());
    const int titleWidth = static_cast<int>(std::ceil(metrics.horizontalAdvance(request.title) *
                                                      kTitleFontAllowance)) +
                           kTitleBarRoom;
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

} // namespace vignetta
