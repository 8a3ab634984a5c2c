#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace vignetta {

enum class PictureBorder
{
    None,
    Sunken
};

// A picture box: the picture unscaled at its top-left corner, inside an optional 2-pixel
// border; the box is exactly the picture plus its border.
QLabel* makePicture(QWidget* parent, const QString& objectName, const QString& resource, QRect rect,
                    PictureBorder border, const QString& accessibleName);

} // namespace vignetta
