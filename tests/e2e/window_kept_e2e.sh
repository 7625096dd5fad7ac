#!/usr/bin/env bash
# The window comes back as it was left: the first start opens 640 x 480 in the middle of the
# 1280 x 1024 screen; moved and resized, it is kept in controls.txt at F4 and reopens there;
# left full screen it reopens full screen, unless --windowed says otherwise; a kept window
# larger than the screen and off it is clamped onto it; a damaged line is told and left out;
# an unreadable file is told once.
game=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"
controls=$work/controls.txt

# opens GEOMETRY POSITION [ARG...]: the game starts with the window there, then quits by F4.
opens() {
  local geometry=$1 position=$2 shown
  shift 2
  start "$game" "$@"
  find_window Zorvane
  focus
  sleep 1
  shown=$(xdotool getwindowgeometry "$wid")
  grep -q "Geometry: $geometry" <<<"$shown" && grep -q "Position: $position " <<<"$shown" ||
    fail "${*:-no options}: the window is not $geometry at $position: $shown"
}

opens 640x480 320,272
xdotool windowsize "$wid" 800 600
xdotool windowmove "$wid" 100 50
sleep 0.5
quit_by_f4 "the moved window"
grep -qx 'window 800 600 100 50 windowed' "$controls" || fail "kept: $(cat "$controls")"

opens 800x600 100,50
# Keys typed, not sent to the window: full screen is a new window, which takes the focus.
xdotool key F11
sleep 1.5
wid=$(xdotool search --name '^Zorvane$' | head -n1)
focus
xdotool key F4
wait_exit 10 || fail "F4 in full screen ended the game with status $?"
grep -qx 'window 800 600 100 50 fullscreen' "$controls" || fail "kept: $(cat "$controls")"
opens 1280x1024 0,0
xdotool key F4
wait_exit 10 || fail "F4 in the kept full screen ended the game with status $?"
opens 800x600 100,50 --windowed
quit_by_f4 "--windowed"

printf 'thrust T\nwindow 4000 3000 5000 5000 windowed\n' >"$controls"
opens 1280x1024 0,0
quit_by_f4 "the window kept off the screen"
grep -q '^thrust T$' "$controls" || fail "the window's save lost the other lines: $(cat "$controls")"

echo 'window 800 600 here windowed' >"$controls"
opens 640x480 320,272
quit_by_f4 "a damaged line"
grep -q 'controls.txt: the window line "window 800 600 here windowed" is not' "$work/out.txt" ||
  fail "the damaged line was not told"

# Read once at start-up for the window and the keys both, so an unreadable file is told once.
rm "$controls" && mkdir "$controls"
opens 640x480 320,272
quit_by_f4 "an unreadable controls.txt"
told=$(grep -c 'cannot read the controls in .*the default controls are used' "$work/out.txt")
[ "$told" = 1 ] || fail "the unreadable controls.txt was told $told times: $(cat "$work/out.txt")"
echo "PASS: the window is kept, clamped and overridden as it should be"
