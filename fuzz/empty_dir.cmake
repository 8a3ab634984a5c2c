# SPDX-FileCopyrightText: 2026 The Vignetta developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Leaves the directory DIR in place and empty.
if(NOT DIR)
  message(FATAL_ERROR "usage: cmake -DDIR=<directory> -P empty_dir.cmake")
endif()
file(REMOVE_RECURSE ${DIR})
file(MAKE_DIRECTORY ${DIR})
