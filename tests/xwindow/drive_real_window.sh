#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vignetta developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program in an X server of its own, under a real window manager (openbox),
# with the standard platform plugin, on the folder given on its command line, and drives one
# page from Step 1 to the completion panel with the keyboard only. Checks the tutor beside the
# window with its whole hint, the page on disk, that Exit ends the program, and that a folder
# that cannot be opened is told about. Every wait is bounded.
#   drive_real_window.sh PATH_TO_VIGNETTA
set -uo pipefail

program=$(readlink -f "$1")
work=$(mktemp -d)
xvfb_pid=
wm_pid=
app_pid=

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$work/program.log" ]; then
        echo "--- program output ---" >&2
        cat "$work/program.log" >&2
    fi
    exit 1
}

cleanup() {
    [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

for tool in Xvfb xdotool xwininfo xprop openbox import convert; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[ -x "$program" ] || fail "no program at $1"

# A folder of images, and one file that is no image.
images="$work/Holiday photos"
mkdir -p "$images" "$work/elsewhere"
for name in "b.gif" "A.JPG" "c.bmp" "IMG_10.jpg" "IMG_2.jpg" "notes.txt"; do
    printf 'image' >"$images/$name"
done

# An X server on a free display, and a window manager that frames and places windows.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
wait_until 15 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
wait_until 15 wm_running || fail "openbox did not start"

# The program starts somewhere else, on the folder given on its command line.
(cd "$work/elsewhere" && exec env -u QT_QPA_PLATFORM -u QT_QPA_PLATFORMTHEME QT_QPA_PLATFORM=xcb \
    "$program" "$images" >"$work/program.log" 2>&1) &
app_pid=$!

find_window() { xdotool search --onlyvisible --name '^Vignetta 1\.0$' | head -n1 | grep .; }
wait_until 20 find_window || fail "the window did not show"
window=$(find_window)

info=$(xwininfo -id "$window")
width=$(sed -n 's/^ *Width: //p' <<<"$info")
height=$(sed -n 's/^ *Height: //p' <<<"$info")
[ "$width" = 482 ] && [ "$height" = 373 ] || fail "window is ${width}x${height}, not 482x373"
# On X11 docks group the window with its launcher by its class, the desktop entry's
# StartupWMClass (on Wayland by the desktop file's name, which the program sets).
xprop -id "$window" WM_CLASS | grep -q '"Vignetta"$' ||
    fail "the window's class is not Vignetta: $(xprop -id "$window" WM_CLASS)"

xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus --sync "$window" ||
    fail "cannot focus the window"

# Keys are paced: Qt presses a button 100 ms after its access key, and the next key must find
# the panel that press brings up.
key() {
    xdotool key --clearmodifiers "$@"
    sleep 0.4
}

# geometry WINDOW: the client area's x, y, width and height on the screen.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                             /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}'
}
# frame_extents WINDOW: the frame's left, right, top and bottom, as the window manager says.
frame_extents() {
    xprop -id "$1" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ','
}

find_tutor() { xdotool search --onlyvisible --name '^Vignetta Tutor$' | head -n1 | grep .; }
key alt+t # the tutor opens beside the window, 1944 twips wide
wait_until 10 find_tutor || fail "the tutor did not show"
tutor=$(find_tutor)
tutor_fitted() { read -r _ _ w _ < <(geometry "$tutor") && [ "$w" = 162 ]; }
wait_until 10 tutor_fitted || true # checked below, with the size it has
read -r tx ty tw th < <(geometry "$tutor")
read -r wx wy ww wh < <(geometry "$window")
[ "$tw" = 162 ] || fail "the tutor is $tw pixels wide, not 162"
read -r _ w_right _ _ < <(frame_extents "$window")
read -r t_left _ _ _ < <(frame_extents "$tutor")
[ $((tx - t_left)) -gt $((wx + ww + w_right)) ] ||
    fail "the tutor ($tx,$ty) does not stand right of the window ($wx,$wy ${ww}x$wh)"
# The whole hint shows: under the text, a strip of 240 twips of bare yellow along the bottom
# and the right of the client area, whatever the frame around it.
import -window "$tutor" "$work/tutor.png" || fail "cannot capture the tutor"
strip() { convert "$work/tutor.png" -crop "$1" +repage -format '%k %[pixel:p{0,0}]' info:; }
bottom=$(strip "${tw}x20+0+$((th - 20))")
right=$(strip "20x${th}+$((tw - 20))+0")
[ "$bottom" = "1 srgb(255,255,192)" ] || fail "the hint runs into the bottom of the tutor: $bottom"
[ "$right" = "1 srgb(255,255,192)" ] || fail "the hint runs into the right of the tutor: $right"
[ "$(convert "$work/tutor.png" -format %k info:)" -gt 8 ] || fail "the tutor shows no hint"

# The whole page with the keyboard only; each move puts the keys on the new panel's first
# control.
key alt+n                   # Step 1 -> Step 2: on the Unselected list
key Tab Tab space           # past the Selected list to "All -->"
key alt+n                   # Step 2 -> Step 3
key alt+n                   # Step 3 -> Step 4: on the page-name box
key ctrl+a
xdotool type --delay 20 "Real window"
key Tab Down                # to the extension options, "htm"
key shift+Tab Return        # back to the name: Enter finishes

wait_until 10 bash -c '! xdotool search --onlyvisible --name "^Vignetta Tutor$"' ||
    fail "the tutor stays open after Finish"
page="$images/Real window.htm"
wait_until 10 test -s "$page" || fail "no page was written; folder holds: $(ls "$images")"
cells=$(grep -c '^      <td align=center><A HREF=' "$page")
[ "$cells" = 5 ] || fail "the page holds $cells cells, not 5"
order=$(grep -o 'HREF="[^"]*"' "$page" | tr '\n' ' ')
[ "$order" = 'HREF="A.JPG" HREF="b.gif" HREF="c.bmp" HREF="IMG_2.jpg" HREF="IMG_10.jpg" ' ] ||
    fail "cells in the wrong order: $order"
grep -q 'notes.txt' "$page" && fail "a file that is no image is on the page"
[ "$(tail -c 9 "$page" | od -An -c | tr -s ' ')" = " < / h t m l > \r \n" ] ||
    fail "the page does not end in </html> CR LF"
[ -z "$(ls "$work/elsewhere")" ] || fail "something was written where the program started"

# About and back with Escape; the keys are on Restart again, not on Exit: a Space there
# starts a new page instead of ending the run.
key alt+a Escape space
kill -0 "$app_pid" 2>/dev/null || fail "the program ended after About, Escape and Space"

key alt+e                   # Exit
wait_until 10 bash -c "! kill -0 $app_pid" || fail "the program still runs after Exit"
wait "$app_pid"
status=$?
app_pid=
[ "$status" = 0 ] || fail "the program ended with status $status"

# Exit while thumbnails are made ends the work and the program at once, the progress window
# open or not: nothing half written, no page.
many="$work/Many photos"
mkdir -p "$many"
convert -size 6000x4000 xc:gray +noise Random -quality 92 "$many/photo 1.jpg" ||
    fail "cannot draw a photo"
for i in $(seq 2 200); do ln "$many/photo 1.jpg" "$many/photo $i.jpg"; done
(cd "$work/elsewhere" && exec env -u QT_QPA_PLATFORM -u QT_QPA_PLATFORMTHEME QT_QPA_PLATFORM=xcb \
    "$program" "$many" >"$work/program.log" 2>&1) &
app_pid=$!
wait_until 20 find_window || fail "the window did not show"
window=$(find_window)
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus --sync "$window"
key alt+n                   # Step 1 -> Step 2
key Tab Tab space           # "All -->"
key alt+n                   # Step 3
key alt+n                   # Step 4
key alt+m                   # "Make thumbnail files"
key alt+f                   # Finish
find_progress() { xdotool search --onlyvisible --name '^Making thumbnail files$' | head -n1 | grep .; }
wait_until 10 find_progress || fail "no progress window while thumbnails are made"
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+e
wait_until 2 bash -c "! kill -0 $app_pid" || fail "the program still runs a second after Exit"
wait "$app_pid"
app_pid=
[ ! -e "$many/Vignetta.html" ] || fail "a page was written after Exit"
for made in "$many/Vignetta_files"/*; do
    [ -e "$made" ] || continue
    identify "$made" >/dev/null 2>&1 || fail "a thumbnail is half written: $made"
done

# A folder that cannot be opened: the warning box tells why, over the wizard, and after OK
# Step 1 shows the folder it would show without one (here the images' folder, where the program
# starts): Next then goes on to Step 2 without a warning.
(cd "$images" && exec env -u QT_QPA_PLATFORM -u QT_QPA_PLATFORMTHEME QT_QPA_PLATFORM=xcb \
    "$program" "$work/no such folder" >"$work/program.log" 2>&1) &
app_pid=$!
find_box() { xdotool search --onlyvisible --name '^Cannot proceed to Next Step$' | head -n1 | grep .; }
wait_until 20 find_box || fail "no warning for a folder that cannot be opened"
box=$(find_box)
box_width=$(xwininfo -id "$box" | sed -n 's/^ *Width: //p')
[ "$box_width" -ge 300 ] || fail "the warning box is only $box_width pixels wide"
window=$(find_window) || fail "the window did not show"
read -r bx by bw bh < <(geometry "$box")
read -r wx wy ww wh < <(geometry "$window")
centre_x=$((bx + bw / 2))
centre_y=$((by + bh / 2))
[ "$centre_x" -gt "$wx" ] && [ "$centre_x" -lt $((wx + ww)) ] && [ "$centre_y" -gt "$wy" ] &&
    [ "$centre_y" -lt $((wy + wh)) ] ||
    fail "the warning ($bx,$by ${bw}x$bh) is not over the window ($wx,$wy ${ww}x$wh)"
xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
key Return
wait_until 10 bash -c '! xdotool search --onlyvisible --name "^Cannot proceed to Next Step$"' ||
    fail "the warning stays after OK"
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus --sync "$window"
key alt+n
sleep 1
find_box >/dev/null && fail "Step 1 shows no images after the warning"
kill "$app_pid"
wait "$app_pid" 2>/dev/null
app_pid=

echo "PASS: one page from Step 1 to the completion panel with the keyboard, under openbox"
