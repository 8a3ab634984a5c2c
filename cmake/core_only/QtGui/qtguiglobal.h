// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Put before Qt's own headers on the core library's include path: every Qt Gui and Qt Widgets
// header reaches this one, so a core file that includes any of them fails to build.
#error "The core library links Qt Core only: no Qt Gui or Qt Widgets header may be included here."
