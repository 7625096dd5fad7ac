#!/usr/bin/env bash
# F11 in the real game reopens its window to fill the screen, and F11 again brings back the
# 640 x 480 window; the game still hears keys afterwards (F4 ends it with status 0). Started
# with --fullscreen, the first F11 brings the window.
game=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"

# press KEY: into the game's current window (each flip opens a new one, and a game
# without the focus is suspended and takes no updates).
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

start "$game"
expect_size 640x480 "at start"
sleep 0.5
screen=$(xdotool getdisplaygeometry | tr ' ' x)
press F11
expect_size "$screen" "after F11"
press F11
expect_size 640x480 "after F11 twice"
focus
quit_by_f4 "after F11 twice"

# --fullscreen: the first window fills the screen, and F11 knows to bring back the window.
start "$game" --fullscreen
expect_size "$screen" "started with --fullscreen"
sleep 0.5
press F11
expect_size 640x480 "after F11 from --fullscreen"
focus
quit_by_f4 "started full screen"
echo "PASS"
