#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary root and runs the program found there.
#   check_deb.sh BUILD_DIR
set -euo pipefail

build=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

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
test -f "$work/root/usr/share/applications/org.example.Vignetta.desktop"

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
[ "$version" = "Vignetta 1.0" ] || { echo "FAIL: --version says '$version'"; exit 1; }

# The unpacked program starts and keeps running until it is stopped.
QT_QPA_PLATFORM=offscreen "$program" >"$work/run.log" 2>&1 &
pid=$!
sleep 2
if ! kill -0 "$pid" 2>/dev/null; then
    cat "$work/run.log"
    echo "FAIL: the unpacked program did not keep running"
    exit 1
fi
kill "$pid"
wait "$pid" || true
echo "PASS: the package builds and its program runs"
