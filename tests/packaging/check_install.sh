#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vignetta developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary root and checks the desktop integration: the program,
# the desktop entry, the icon in every theme size and the AppStream metainfo, each validated.
#   check_install.sh BUILD_DIR APP_ID
set -euo pipefail

build=$1
id=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null

test -x "$root/usr/bin/vignetta" || { echo "FAIL: no program installed"; exit 1; }
desktop-file-validate "$root/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml"
for size in 16 24 48 64 128 256; do
    icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    dimensions=$(file -b "$icon" | grep -o '[0-9]* x [0-9]*')
    [ "$dimensions" = "$size x $size" ] || { echo "FAIL: $icon is $dimensions"; exit 1; }
done
grep -qx "Icon=$id" "$root/usr/share/applications/$id.desktop"
grep -qx "Categories=Graphics;Photography;" "$root/usr/share/applications/$id.desktop"
# "Open with" from a file manager hands the program a folder.
grep -qx "Exec=vignetta %f" "$root/usr/share/applications/$id.desktop"
# Chosen for a folder, never the desktop's folder opener: the entry claims no MIME type.
! grep -q "^MimeType=" "$root/usr/share/applications/$id.desktop" ||
    { echo "FAIL: the desktop entry claims a MIME type"; exit 1; }
grep -qx "StartupWMClass=Vignetta" "$root/usr/share/applications/$id.desktop"
test -f "$root/usr/share/doc/vignetta/copyright"
# Help and version print and succeed where there is no display at all.
for option in --help --version; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/vignetta" "$option") ||
        { echo "FAIL: vignetta $option without a display"; exit 1; }
    grep -q "Vignetta\|vignetta" <<<"$out" || { echo "FAIL: vignetta $option printed: $out"; exit 1; }
done
echo "PASS: installed files in place and valid"
