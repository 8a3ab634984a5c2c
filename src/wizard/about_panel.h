// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QGroupBox>

namespace vignetta {

// The panel about the program: banner, version, the maker's addresses and Ok.
class AboutPanel final : public QGroupBox
{
    Q_OBJECT
public:
    explicit AboutPanel(QWidget* parent = nullptr);

Q_SIGNALS:
    // Ok was pressed: back to the panel under this one.
    void okPressed();
};

} // namespace vignetta
