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
