#!/usr/bin/env bash
# The real game's window in other shapes. Resized with xdotool: the menu's dark blue backdrop
# fills the game's fit area, a window wider than 2:1 or taller than 1:2 shows black bars beside
# that area, and a tiny window does not stop the game. F11 reopens the window to fill the
# screen and F11 again brings back the 640 x 480 window; started with --fullscreen, the first
# F11 brings the window. The game still hears keys afterwards (F4 ends it with status 0).
game=$(realpath "$1")
shots=$2
source "$(dirname "$0")/e2e_lib.sh"
need import convert
mkdir -p "$shots"

# resize W H: the window to that size, waiting for the game to see it and reload its images.
resize() {
  # At the screen's corner, so that a picture of the window is not cut by the screen's edge.
  xdotool windowmove --sync "$wid" 0 0 2>/dev/null || xdotool windowmove "$wid" 0 0
  xdotool windowsize --sync "$wid" "$1" "$2" 2>/dev/null || xdotool windowsize "$wid" "$1" "$2"
  sleep 2
  kill -0 "$pid" 2>/dev/null || fail "the game ended after resizing to $1 x $2"
}

start "$game"
find_window Zorvane
focus
sleep 3  # the loader, then the menu

# Wider than 2:1: an 800 x 400 area in the middle, black bars of 200 each side.
resize 1200 400
shoot "$shots/resize_wide.png"
size=$(identify -format '%wx%h' "$shots/resize_wide.png")
[ "$size" = 1200x400 ] || fail "not resized: the window is $size"
expect_colour "$shots/resize_wide.png" 20x20+205+5 "the area's top left" 0 0 80
expect_drawn "$shots/resize_wide.png" 4x400+995+0 "the area's right edge"
expect_colour "$shots/resize_wide.png" 190x400+0+0 "the left bar" 0 0 0
expect_colour "$shots/resize_wide.png" 190x400+1010+0 "the right bar" 0 0 0

# Taller than 1:2: a 300 x 600 area, bars of 50 above and below.
resize 300 700
shoot "$shots/resize_tall.png"
expect_colour "$shots/resize_tall.png" 20x20+5+55 "the area's top left" 0 0 80
expect_colour "$shots/resize_tall.png" 300x45+0+0 "the top bar" 0 0 0
expect_colour "$shots/resize_tall.png" 300x45+0+655 "the bottom bar" 0 0 0
expect_drawn "$shots/resize_tall.png" 300x4+0+645 "the area's bottom edge"

# An ordinary wide window is filled edge to edge.
resize 960 540
shoot "$shots/resize_16x9.png"
expect_colour "$shots/resize_16x9.png" 20x20+0+0 "the top left corner" 0 0 80
expect_colour "$shots/resize_16x9.png" 20x20+0+520 "the bottom left corner" 0 0 80
expect_drawn "$shots/resize_16x9.png" 4x540+956+0 "the right edge"

resize 12 9
resize 640 480
shoot "$shots/resize_back.png"
expect_colour "$shots/resize_back.png" 20x20+0+0 "the corner after a tiny window" 0 0 80

# press KEY: into the game's current window (each flip opens a new one, and a game without the
# focus is suspended and takes no updates).
press() {
  wid=$(xdotool search --name '^Zorvane$' 2>/dev/null | head -n1)
  focus
  xdotool key "$1"
}

# expect_size WxH WHEN: waits until the game's window has the size.
expect_size() {
  local geometry=
  for _ in $(seq 50); do
    wid=$(xdotool search --name '^Zorvane$' 2>/dev/null | head -n1)
    [ -n "$wid" ] && geometry=$(xdotool getwindowgeometry "$wid" | sed -n 's/ *Geometry: //p')
    [ "$geometry" = "$1" ] && return 0
    sleep 0.1
  done
  fail "window is '$geometry', expected $1 ($2)"
}

screen=$(xdotool getdisplaygeometry | tr ' ' x)
press F11
expect_size "$screen" "after F11"
press F11
expect_size 640x480 "after F11 twice"
focus
quit_by_f4 "after F11 twice"

start "$game" --fullscreen
expect_size "$screen" "started with --fullscreen"
sleep 0.5
press F11
expect_size 640x480 "after F11 from --fullscreen"
focus
quit_by_f4 "started full screen"
echo "PASS: screenshots in $shots"
