#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vignetta developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's pictures from the real program: makes a folder of sample photos, starts
# the wizard in an X server of its own, walks through every panel with key presses and mouse
# clicks, captures the window at each one, and renders the page it wrote in headless Chromium.
# The pictures go to docs/screenshots/.
#   bash scripts/screenshots.sh [PATH_TO_VIGNETTA]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=scripts/common.sh
source "$root/scripts/common.sh"
program=${1:-build/default/src/vignetta}
out="$root/docs/screenshots"

work=
xvfb_pid=
app_pid=

cleanup() {
    set +e
    [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    [ -n "$work" ] && rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "screenshots: $*" >&2
    if [ -n "$work" ] && [ -s "$work/program.log" ]; then
        echo "--- program output ---" >&2
        cat "$work/program.log" >&2
    fi
    exit 1
}

install_missing xvfb xdotool x11-utils imagemagick chromium qt6-qpa-plugins fonts-dejavu-core qt6ct

if [ ! -x "$program" ]; then
    [ "$program" = build/default/src/vignetta ] || fail "no program at $program"
    install_missing cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libqt6test6 \
        libgl-dev
    cmake --preset default
    cmake --build --preset default
fi
program=$(readlink -f "$program")
[ -x "$program" ] || fail "no program at $program"

started=$SECONDS
work=$(mktemp -d "${TMPDIR:-/tmp}/Pictures.XXXXXX")
mkdir -p "$out"

# ---------------------------------------------------------------- sample photos
images="$work/Holiday photos"
mkdir -p "$images"
# photo NAME DRAWING...: a 480x480 JPEG.
photo() {
    local name=$1
    shift
    convert -size 480x480 "$@" -quality 85 "$images/$name.jpg"
}

photo Beach gradient:'#3fa9f5'-'#d8f3ff' \
    -fill '#ffe066' -draw 'circle 360,110 360,160' \
    -fill '#1e7fc2' -draw 'rectangle 0,250 480,330' \
    -fill '#f2d59b' -draw 'polygon 0,330 480,300 480,480 0,480' \
    -fill none -stroke white -strokewidth 3 -draw 'polyline 0,300 60,295 120,302 180,296 240,301 300,295 360,300 420,296 480,300'
photo "Mountain lake" gradient:'#9ec9ff'-'#f4f8ff' \
    -fill '#5b6b7f' -draw 'polygon 0,300 110,120 200,240 300,90 420,260 480,200 480,300' \
    -fill white -draw 'polygon 280,122 300,90 322,122 310,116 300,124 290,116' \
    -fill '#2f6f4f' -draw 'polygon 0,300 80,250 170,290 260,245 360,292 480,260 480,300' \
    -fill '#2c7fb8' -draw 'rectangle 0,300 480,480' \
    -fill '#7fb9df' -draw 'rectangle 60,340 200,344' -draw 'rectangle 260,390 420,394'
photo Sunset gradient:'#ff7e5f'-'#2b1055' \
    -fill '#ffd36b' -draw 'circle 240,300 240,370' \
    -fill '#1b0a36' -draw 'rectangle 0,330 480,480' \
    -fill '#ff9d5c' -draw 'rectangle 170,350 310,354' -draw 'rectangle 200,380 280,384'
photo Forest -seed 7 plasma:'#1b5e20'-'#a5d66f' -blur 0x8 \
    -fill '#4e342e' -draw 'rectangle 90,260 110,480' -draw 'rectangle 330,230 352,480' \
    -fill '#2e7d32' -draw 'circle 100,230 100,150' -draw 'circle 341,200 341,110'
photo Flowers -seed 3 plasma:'#f8bbd0'-'#fff9c4' -blur 0x10 \
    -fill '#e91e63' -draw 'circle 140,160 140,200' -draw 'circle 330,300 330,345' \
    -fill '#ffeb3b' -draw 'circle 140,160 140,172' -draw 'circle 330,300 330,314' \
    -fill '#8e24aa' -draw 'circle 300,120 300,150' -draw 'circle 150,350 150,380'
photo IMG_2 radial-gradient:'#fff3b0'-'#e09f3e' \
    -fill '#9e2a2b' -draw 'roundrectangle 120,140 360,340 30,30' \
    -fill '#fff3b0' -draw 'circle 240,240 240,290'
photo IMG_10 -seed 11 plasma:'#0d47a1'-'#80deea' -blur 0x10 -swirl 120
photo "Night sky" gradient:'#0b1d3a'-'#24477a' \
    -fill '#fdfbe3' -draw 'circle 360,120 360,165' \
    -fill '#0b1d3a' -draw 'circle 385,105 385,150' \
    -fill white -draw 'point 60,60' -draw 'point 140,40' -draw 'point 220,90' \
    -draw 'point 90,160' -draw 'point 280,50' -draw 'point 190,190' -draw 'point 430,260' \
    -fill '#13294b' -draw 'polygon 0,480 0,380 120,330 260,390 380,340 480,370 480,480'

# ---------------------------------------------------------------- the program in Xvfb
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
wait_until 15 test -s "$work/display" || fail "Xvfb did not start"
display=$(head -n1 "$work/display")
export DISPLAY=":$display"

(cd "$images" && exec env -u QT_QPA_PLATFORMTHEME QT_QPA_PLATFORM=xcb "$program" \
    >"$work/program.log" 2>&1) &
app_pid=$!

find_window() { xdotool search --onlyvisible --name '^Vignetta 1\.0$' | head -n1 | grep .; }
find_tutor() { xdotool search --onlyvisible --name '^Vignetta Tutor$' | head -n1 | grep .; }
wait_until 20 find_window || fail "the window did not show"
window=$(find_window)
xdotool windowfocus --sync "$window" || fail "cannot focus the window"
sleep 1

# Clicks at a place given in the window's twips (12 twips to the pixel).
click_twips() {
    xdotool mousemove --window "$window" $(($1 / 12)) $(($2 / 12)) click 1
    sleep 0.3
}
park_pointer() { xdotool mousemove 1020 760; }
key() {
    xdotool key --clearmodifiers "$@"
    sleep 0.6
}

# shoot NAME: the window's client area, reduced to a palette; the pointer is moved off the
# window first so that no button is drawn hovered.
shoot() {
    park_pointer
    sleep 0.6
    import -window "$window" "$work/$1.png"
    convert "$work/$1.png" -dither None -colors 256 "PNG8:$out/$1.png"
    echo "  $out/$1.png"
}

echo "Taking pictures:"
shoot step1-directory

key alt+n                      # Step 2: the first six names, then Add -->
click_twips 480 1776           # first row of lstUnselected (panel 120,720; list 120,960)
for _ in 1 2 3 4 5; do key shift+Down; done
click_twips 2886 1986          # "Add -->" (2280,1080 in the panel, 972x372)
shoot step2-selection

key alt+n                      # Step 3: three pictures to a row
click_twips 2166 3504          # txtColumns, in Frame1(1) at 1440,360 of the panel
key ctrl+a
xdotool type --delay 30 "3"
sleep 0.3
shoot step3-appearance

key alt+n                      # Step 4: the page's name
click_twips 2886 3624          # txtFileName (240,2760 in the panel, 5052x288)
key ctrl+a
xdotool type --delay 30 "Holiday"
sleep 0.3
shoot step4-page-name
key alt+m                      # thumbnail files
key alt+p                      # and picture pages

key alt+t                      # the tutor beside the window
if wait_until 10 find_tutor; then
    park_pointer
    sleep 0.8
    tutor=$(find_tutor)
    # Both windows on one transparent canvas, placed as they are on the screen.
    geometry() {
        xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                                 /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}'
    }
    read -r wx wy ww wh < <(geometry "$window")
    read -r tx ty tw th < <(geometry "$tutor")
    left=$((wx < tx ? wx : tx))
    top=$((wy < ty ? wy : ty))
    right=$((wx + ww > tx + tw ? wx + ww : tx + tw))
    bottom=$((wy + wh > ty + th ? wy + wh : ty + th))
    import -window "$window" "$work/main.png"
    import -window "$tutor" "$work/tutor.png"
    convert -size "$((right - left))x$((bottom - top))" xc:none \
        "$work/main.png" -geometry "+$((wx - left))+$((wy - top))" -composite \
        "$work/tutor.png" -geometry "+$((tx - left))+$((ty - top))" -composite \
        -dither None -colors 256 "PNG8:$out/tutor.png"
    echo "  $out/tutor.png"
    xdotool windowfocus --sync "$window"
    sleep 0.3
else
    echo "screenshots: the tutor did not show; no tutor.png" >&2
fi

key alt+f                      # Finish
page="$images/Holiday.html"
wait_until 10 test -s "$page" || fail "no page was written; the folder holds: $(ls "$images")"
sleep 0.5
shoot completion

key alt+a                      # About, then its Ok
shoot about
click_twips 5046 3606          # cmdOk (4560,2760 in the panel, 732x252)
park_pointer
sleep 0.6
import -window "$window" "$work/after-about.png"
differing=$(compare -metric AE "$work/completion.png" "$work/after-about.png" null: 2>&1 || true)
[ "$differing" = 0 ] || fail "Ok did not bring back the completion panel ($differing pixels differ)"

key alt+e                      # Exit
wait_until 10 bash -c "! kill -0 $app_pid" || fail "the program still runs after Exit"
status=0
wait "$app_pid" || status=$?
app_pid=
[ "$status" = 0 ] || fail "the program ended with status $status"

# ---------------------------------------------------------------- other desktops
# desktop_settings NAME POINTS [SCHEME]: the settings a desktop's control panel writes for Qt
# programs (through qt6ct): the interface font's size and, if given, a colour scheme.
desktop_settings() {
    local dir="$work/desktop-$1"
    mkdir -p "$dir/qt6ct"
    {
        echo "[Appearance]"
        if [ -n "${3:-}" ]; then
            echo "color_scheme_path=/usr/share/qt6ct/colors/$3.conf"
            echo "custom_palette=true"
        else
            echo "custom_palette=false"
        fi
        echo "style=Fusion"
        echo
        echo "[Fonts]"
        echo "fixed=\"DejaVu Sans Mono,$2,-1,5,400,0,0,0,0,0,0,0,0,0,0,1\""
        echo "general=\"DejaVu Sans,$2,-1,5,400,0,0,0,0,0,0,0,0,0,0,1\""
    } >"$dir/qt6ct/qt6ct.conf"
    echo "$dir"
}

# start_on_desktop SETTINGS: the program on the folder of photos, as that desktop starts it.
start_on_desktop() {
    (exec env XDG_CONFIG_HOME="$1" QT_QPA_PLATFORMTHEME=qt6ct QT_QPA_PLATFORM=xcb \
        "$program" "$images" >"$work/program.log" 2>&1) &
    app_pid=$!
    wait_until 20 find_window || fail "the window did not show on $1"
    window=$(find_window)
    xdotool windowfocus --sync "$window" || fail "cannot focus the window"
    sleep 1
}

stop_on_desktop() {
    key alt+e
    wait_until 10 bash -c "! kill -0 $app_pid" || fail "the program still runs after Exit"
    wait "$app_pid" || fail "the program ended with an error"
    app_pid=
}

# A dark colour scheme: the wizard keeps the light colours it was designed with, while the
# desktop's own warning box follows the scheme.
start_on_desktop "$(desktop_settings dark 9 darker)"
key alt+n                      # Step 2, then Next with no image chosen
key alt+n
find_box() { xdotool search --onlyvisible --name '^Cannot proceed to Next Step$' | head -n1 | grep .; }
wait_until 10 find_box || fail "no warning box on the dark desktop"
park_pointer
sleep 0.6
read -r x y w h < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$NF}
    /Absolute upper-left Y/ {y=$NF} /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}')
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$work/dark.png"
convert "$work/dark.png" -dither None -colors 256 "PNG8:$out/dark-scheme.png"
echo "  $out/dark-scheme.png"
xdotool windowfocus --sync "$(find_box)"
key Return
wait_until 10 bash -c '! xdotool search --onlyvisible --name "^Cannot proceed to Next Step$"' ||
    fail "the warning box stays open"
xdotool windowfocus --sync "$window"
stop_on_desktop

# A 14 point interface font, as people with low vision set it: the whole window grows.
start_on_desktop "$(desktop_settings large 14)"
key alt+n                      # Step 2: every photo
key Tab Tab space
key alt+n                      # Step 3
shoot large-font
stop_on_desktop

# ---------------------------------------------------------------- the page in Chromium
# shoot_page NAME WIDTHxHEIGHT URL: the page as a browser window of that size shows it.
shoot_page() {
    timeout 90 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$work/chromium" --hide-scrollbars --window-size="${2/x/,}" \
        --virtual-time-budget=3000 --screenshot="$work/$1.png" "$3" >"$work/chromium.log" 2>&1 ||
        fail "chromium could not render the page: $(tail -n 5 "$work/chromium.log")"
    [ -s "$work/$1.png" ] || fail "chromium wrote no picture"
    convert "$work/$1.png" -resize '640x>' -colors 256 "PNG8:$out/$1.png"
    echo "  $out/$1.png"
}
url=$(python3 -c 'import pathlib, sys; print(pathlib.Path(sys.argv[1]).as_uri())' "$page")
shoot_page page 1280x800 "$url"
shoot_page page-phone 390x844 "$url"
picture=$(grep -o 'href="Holiday_files/[^"]*\.html"' "$page" | head -n1 | cut -d'"' -f2)
[ -n "$picture" ] || fail "the page links no picture page"
shoot_page picture-page 1280x800 "${url%/*}/$picture"
shoot_page picture-page-phone 390x844 "${url%/*}/$picture"

echo "Done in $((SECONDS - started)) s."
