// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace vignetta {

// A colour as the system's 32-bit colour value: red in the lowest byte, then green, then blue.
// Each component is taken modulo 256.
[[nodiscard]] constexpr quint32 colorValue(int red, int green, int blue)
{
    return (static_cast<quint32>(red) & 0xFFu) | (static_cast<quint32>(green) & 0xFFu) << 8 |
           (static_cast<quint32>(blue) & 0xFFu) << 16;
}

// The HTML colour text of a colour value: "#" and six upper-case hexadecimal digits, red,
// green, blue. Only the three low bytes count.
[[nodiscard]] QString htmlColor(quint32 colorValue);

} // namespace vignetta
