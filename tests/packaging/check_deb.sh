#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vignetta developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package, unpacks it into a temporary root and runs the program found there.
#   check_deb.sh BUILD_DIR APP_ID "NAME VERSION"
set -euo pipefail

build=$(readlink -f "$1")
id=$2
expected_version=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=scripts/common.sh
source "$here/../../scripts/common.sh"

work=$(mktemp -d)
pid=
xvfb_pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$work"/out/*.deb)
echo "built $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for runtime in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
    grep -q "$runtime" <<<"$depends" || { echo "FAIL: $runtime missing from Depends"; exit 1; }
done

dpkg -x "$deb" "$work/root"
program="$work/root/usr/bin/vignetta"
test -f "$work/root/usr/share/applications/$id.desktop"

# A stripped program, and the copyright file in Debian's machine-readable format.
kind=$(file -b "$program")
grep -q ', stripped' <<<"$kind" || { echo "FAIL: the program is not stripped: $kind"; exit 1; }
copyright="$work/root/usr/share/doc/vignetta/copyright"
[ -f "$copyright" ] || { echo "FAIL: no $copyright"; exit 1; }
head -n1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    { echo "FAIL: the copyright file is not in the machine-readable format"; exit 1; }
grep -qx 'License: GPL-3.0-or-later' "$copyright" ||
    { echo "FAIL: the copyright file names no GPL-3.0-or-later licence"; exit 1; }

QT_QPA_PLATFORM=offscreen "$program" --help | grep -q '^Usage: .* \[options\] \[folder\]$' ||
    { echo "FAIL: --help names no folder argument"; exit 1; }
version=$(QT_QPA_PLATFORM=offscreen "$program" --version)
[ "$version" = "$expected_version" ] || { echo "FAIL: --version says '$version'"; exit 1; }

# The unpacked program shows its window in an X server of its own and keeps running.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
wait_until 15 test -s "$work/display" || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
QT_QPA_PLATFORM=xcb "$program" >"$work/run.log" 2>&1 &
pid=$!
if ! wait_until 20 xdotool search --onlyvisible --name "^$expected_version\$"; then
    cat "$work/run.log"
    echo "FAIL: the unpacked program showed no window"
    exit 1
fi
kill -0 "$pid" || { cat "$work/run.log"; echo "FAIL: the unpacked program did not keep running"; exit 1; }
echo "PASS: the package builds and its program runs"
