#!/usr/bin/env bash
# F11 in the real game reopens its window to fill the screen, and F11 again brings back the
# 640 x 480 window; the game still hears keys afterwards (F4 ends it with status 0).
set -uo pipefail
game=$(realpath "$1")
[ -n "${DISPLAY:-}" ] || { echo "SKIP: DISPLAY is unset, no X server to open a window on"; exit 0; }
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export ALSOFT_DRIVERS=null
fail() { echo "FAIL: $*"; echo "--- game output:"; cat "$work/out.txt"; exit 1; }

game_window() { xdotool search --name '^Zorvane$' 2>/dev/null | head -n1; }

# Each flip opens a new window; with no window manager nobody gives it the focus, so the
# script does (a game without focus is suspended and takes no updates).
# A freshly reopened window may not be mapped yet, so focusing is retried.
press() {
  local wid focused=
  for _ in $(seq 30); do
    wid=$(game_window)
    if [ -n "$wid" ] && xdotool windowfocus --sync "$wid" 2>/dev/null; then
      focused=1
      break
    fi
    sleep 0.1
  done
  [ -n "$focused" ] || fail "could not focus the window before $1"
  sleep 0.3
  xdotool key "$1"
}

# Waits until the game's window has the size, or fails.
expect_size() {
  local wid geometry=
  for _ in $(seq 50); do
    wid=$(game_window)
    [ -n "$wid" ] && geometry=$(xdotool getwindowgeometry "$wid" | sed -n 's/ *Geometry: //p')
    [ "$geometry" = "$1" ] && return 0
    sleep 0.1
  done
  fail "window is '$geometry', expected $1 ($2)"
}

(cd "$work" && exec "$game") >"$work/out.txt" 2>&1 &
pid=$!
expect_size 640x480 "at start"
sleep 0.5
screen=$(xdotool getdisplaygeometry | tr ' ' x)
press F11
expect_size "$screen" "after F11"
press F11
expect_size 640x480 "after F11 twice"
press F4
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "F4 did not end the game"
wait "$pid"
status=$?
pid=
[ $status -eq 0 ] || fail "game ended with status $status"
echo "PASS"
