#pragma once

#include <QColor>
#include <QString>

namespace vignetta {

// A colour as the system's 32-bit colour value: red in the lowest byte, then green, then blue.
[[nodiscard]] quint32 colorValue(const QColor& color);

// The HTML colour text of a colour value: "#" and six upper-case hexadecimal digits, red,
// green, blue. Only the three low bytes count.
[[nodiscard]] QString htmlColor(quint32 colorValue);

} // namespace vignetta
