#include "ui/picture.h"

#include <QLabel>
#include <QPixmap>

namespace vignetta {

QLabel* makePicture(QWidget* parent, const QString& objectName, const QString& resource, QRect rect,
                    PictureBorder border, const QString& accessibleName)
{
    auto* picture = new QLabel(parent);
    picture->setObjectName(objectName);
    picture->setGeometry(rect);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (border == PictureBorder::Sunken) {
        picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        picture->setLineWidth(2);
    }
    picture->setPixmap(QPixmap(resource));
    picture->setAccessibleName(accessibleName);
    return picture;
}

} // namespace vignetta
