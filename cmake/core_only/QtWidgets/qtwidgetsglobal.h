// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// See ../QtGui/qtguiglobal.h: a core file may include no Qt Widgets header.
#error "The core library links Qt Core only: no Qt Gui or Qt Widgets header may be included here."
