#!/usr/bin/env bash
# Starts the real program in an X server of its own, with the standard platform plugin, and
# drives one page from Step 1 to the completion panel with key presses and mouse clicks only,
# then checks the page on disk and that Exit ends the program. Every wait is bounded.
#   drive_real_window.sh PATH_TO_VIGNETTA
set -uo pipefail

program=$(readlink -f "$1")
work=$(mktemp -d)
xvfb_pid=
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
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

for tool in Xvfb xdotool xwininfo; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[ -x "$program" ] || fail "no program at $1"

# A folder of images, and one file that is no image.
images="$work/Holiday photos"
mkdir -p "$images"
for name in "b.gif" "A.JPG" "c.bmp" "IMG_10.jpg" "IMG_2.jpg" "notes.txt"; do
    printf 'image' >"$images/$name"
done

# An X server on a free display.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
wait_until 15 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

# The program opens on its current directory.
(cd "$images" && exec env -u QT_QPA_PLATFORM QT_QPA_PLATFORM=xcb "$program" >"$work/program.log" 2>&1) &
app_pid=$!

find_window() { xdotool search --onlyvisible --name '^Vignetta 1\.0$' | head -n1 | grep .; }
wait_until 20 find_window || fail "the window did not show"
window=$(find_window)

info=$(xwininfo -id "$window")
width=$(sed -n 's/^ *Width: //p' <<<"$info")
height=$(sed -n 's/^ *Height: //p' <<<"$info")
[ "$width" = 482 ] && [ "$height" = 373 ] || fail "window is ${width}x${height}, not 482x373"

xdotool windowfocus --sync "$window" || fail "cannot focus the window"

# Clicks at a place given in the window's twips (12 twips to the pixel).
click_twips() {
    xdotool mousemove --window "$window" $(($1 / 12)) $(($2 / 12)) click 1
    sleep 0.4
}
key() {
    xdotool key --clearmodifiers "$1"
    sleep 0.6
}

find_tutor() { xdotool search --onlyvisible --name '^Vignetta Tutor$' | head -n1 | grep .; }
key alt+t                      # the tutor opens beside the window, 1944 twips wide
wait_until 10 find_tutor || fail "the tutor did not show"
tutor_width=$(xwininfo -id "$(find_tutor)" | sed -n 's/^ *Width: //p')
[ "$tutor_width" = 162 ] || fail "the tutor is $tutor_width pixels wide, not 162"

key alt+n                      # Step 1 -> Step 2
click_twips 2886 3066          # "All -->" (panel at 120, 720; button at 2280, 2160)
key alt+n                      # Step 2 -> Step 3
key alt+n                      # Step 3 -> Step 4
click_twips 2886 3624          # the page-name box
key ctrl+a
xdotool type --delay 20 "Real window"
sleep 0.3
click_twips 576 3126           # "htm"
key alt+f                      # Finish

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

key alt+e                      # Exit
wait_until 10 bash -c "! kill -0 $app_pid" || fail "the program still runs after Exit"
wait "$app_pid"
status=$?
app_pid=
[ "$status" = 0 ] || fail "the program ended with status $status"
echo "PASS: one page from Step 1 to the completion panel in a real window"
