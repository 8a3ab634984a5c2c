#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vignetta developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The thumbnail benchmark: installs vipsthumbnail (Debian's libvips-tools, for the comparison
# only), builds, draws 300 pictures of 12 megapixels once into a cache folder outside the
# repository, and prints the tables.
#   bash bench/thumbnails.sh [COUNT]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=scripts/common.sh
source "$root/scripts/common.sh"

install_missing libvips-tools
cmake --preset default >/dev/null
cmake --build --preset default --target thumbnail_bench

pictures=${VIGNETTA_BENCH_PICTURES:-${XDG_CACHE_HOME:-$HOME/.cache}/vignetta-bench/pictures-12mp}
./build/default/bench/thumbnail_bench --pictures "$pictures" --count "${1:-300}"
