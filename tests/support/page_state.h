// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/wizard_state.h"

#include <QStringList>

// The state record as the wizard's defaults leave it, for a page of `names` in rows of
// `columns`: 150 by 150, a border of 2, black on white, "Vignetta.html".
inline vignetta::WizardState pageState(const QStringList& names,
                                       const QString& columns = QStringLiteral("1"))
{
    vignetta::WizardState state;
    QStringList files = names;
    files.append(QString()); // the array's last element stays empty
    state.sImageFiles = files;
    state.sWidth = QStringLiteral("150");
    state.sHeight = QStringLiteral("150");
    state.sColumns = columns;
    state.bBorder = true;
    state.sThickness = QStringLiteral("2");
    state.sForeColor = QStringLiteral("#000000");
    state.sBackColor = QStringLiteral("#FFFFFF");
    state.sFileName = QStringLiteral("Vignetta.html");
    return state;
}
