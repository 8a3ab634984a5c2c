#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vignetta developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The index benchmark: for 1,000, 10,000 and 32,767 pictures, the first index page Vignetta
# writes and one plain CSS grid of all the same thumbnails, each opened in headless Chromium from
# the disk: first paint, load event and memory. Prints a Markdown table.
#   bash bench/index_pages.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=scripts/common.sh
source "$root/scripts/common.sh"

install_missing chromium
command -v node >/dev/null || install_missing nodejs
cmake --preset default >/dev/null
cmake --build --preset default --target index_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "## The index in headless Chromium, from the disk, 1280x800, median of ${1:-5} runs"
echo
echo "Load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| pictures | page | first paint ms | load event ms | the page's memory MiB | the browser's memory MiB |"
echo "|---:|---|---:|---:|---:|---:|"
for count in 1000 10000 32767; do
    ./build/default/bench/index_bench "$work" "$count"
    node bench/index_pages.mjs "$work" "${1:-5}" "$count" \
        Vignetta.html "Vignetta's first index page (500)" grid.html "one plain CSS grid of all"
done
echo
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
