#include "html_color.h"

namespace vignetta {

quint32 colorValue(const QColor& color)
{
    const QRgb rgb = color.rgb();
    return static_cast<quint32>(qRed(rgb)) | static_cast<quint32>(qGreen(rgb)) << 8 |
           static_cast<quint32>(qBlue(rgb)) << 16;
}

QString htmlColor(quint32 colorValue)
{
    // Six digits in the order blue, green, red, zeros in front; then regrouped as red,
    // green, blue.
    const QString bgr =
        QString::number(colorValue & 0xFFFFFFu, 16).toUpper().rightJustified(6, u'0');
    return u'#' + bgr.sliced(4, 2) + bgr.sliced(2, 2) + bgr.sliced(0, 2);
}

} // namespace vignetta
