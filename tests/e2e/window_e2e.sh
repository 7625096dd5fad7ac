#!/usr/bin/env bash
# The real game in a real window: it opens 640 x 480 titled "Zorvane", hears keys typed
# into it, and ends with status 0 on F4 and on the window's close request.
set -uo pipefail
game=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ALSOFT_DRIVERS=null
fail() { echo "FAIL: $*"; exit 1; }

start_game() {
  (cd "$work" && exec "$game") >"$work/out.txt" 2>&1 &
  pid=$!
  for _ in $(seq 100); do
    wid=$(xdotool search --name '^Zorvane$' 2>/dev/null | head -n1)
    [ -n "$wid" ] && return 0
    sleep 0.1
  done
  fail "no window titled Zorvane"
}

wait_exit() {  # seconds
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; return $?; }
    sleep 0.1
  done
  kill "$pid"
  fail "game still running"
}

[ -n "${DISPLAY:-}" ] || { echo "SKIP: no display"; exit 0; }

start_game
geometry=$(xdotool getwindowgeometry "$wid")
echo "$geometry" | grep -q 'Geometry: 640x480' || fail "window geometry: $geometry"
sleep 0.5
xdotool key --window "$wid" F4 2>/dev/null
wait_exit 10
status=$?
[ $status -eq 0 ] || fail "F4 ended with status $status: $(cat "$work/out.txt")"

start_game
sleep 0.5
/usr/bin/python3 "$here/close_window.py" "$wid" || fail "could not send the close request"
wait_exit 10
status=$?
[ $status -eq 0 ] || fail "close request ended with status $status: $(cat "$work/out.txt")"

out=$(cd "$work" && env -u DISPLAY "$game" 2>&1)
status=$?
[ $status -ne 0 ] || fail "started without a display"
[ "$out" = "glfwInit failed" ] || fail "no-display message: $out"
echo "PASS"
