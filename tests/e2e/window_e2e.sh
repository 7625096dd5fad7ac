#!/usr/bin/env bash
# The real game in a real window: it opens 640 x 480 titled "Zorvane", shows the loading
# screen and then the menu's dark blue (screenshots of both kept in the build's screenshots/
# folder for review), and ends with status 0 on F4 and on the window's close request; with no display it says so (the old line on
# standard output, the reason on standard error) and fails; on a display without OpenGL it
# says why on standard error and fails too.
game=$(realpath "$1")
shots=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
need import identify convert
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || skip "python3 with Xlib is not installed"
mkdir -p "$shots"

start "$game"
find_window Zorvane
geometry=$(xdotool getwindowgeometry "$wid")
echo "$geometry" | grep -q 'Geometry: 640x480' || fail "window geometry: $geometry"
# The first frame is drawn before any update, so it is blank; the loading screen follows for
# about 37 updates, then the menu's backdrop eases to (0, 0, 80).
for _ in $(seq 40); do
  shoot "$shots/loading.png"
  [ "$(identify -format '%k' "$shots/loading.png")" -gt 16 ] && break
done
[ "$(identify -format '%k' "$shots/loading.png")" -gt 16 ] || fail "the window stayed blank"
sleep 3
shoot "$shots/menu_backdrop.png"
IFS=, read -r r g b <<<"$(pixel "$shots/menu_backdrop.png" 4 4)"
((r <= 4 && g <= 4 && b >= 70 && b <= 84)) || fail "menu corner is $r,$g,$b"
xdotool key --window "$wid" F4 2>/dev/null
wait_exit 10
status=$?
[ $status -eq 0 ] || fail "F4 ended with status $status"

start "$game"
find_window Zorvane
sleep 0.5
/usr/bin/python3 "$here/close_window.py" "$wid" || fail "could not send the close request"
wait_exit 10
status=$?
[ $status -eq 0 ] || fail "the close request ended with status $status"

out=$(cd "$work" && env -u DISPLAY "$game" 2>"$work/err.txt")
status=$?
[ $status -ne 0 ] || fail "started without a display"
[ "$out" = "glfwInit failed" ] || fail "no-display message: $out"
err=$(cat "$work/err.txt")
[ "$err" = "zorvane: cannot open a window: no X display (DISPLAY is not set)" ] ||
  fail "no-display reason: $err"
# An X server without GLX, the OpenGL extension: no window can be made, and the status says so.
open_x_server -extension GLX
(cd "$work" && DISPLAY=$x_display exec "$game") >/dev/null 2>"$work/err.txt" &
pid=$!
wait_exit 20
status=$?
[ $status -eq 1 ] || fail "no OpenGL: status $status"
grep -qx "zorvane: cannot open a window: GLX: GLX extension not found" "$work/err.txt" ||
  fail "no OpenGL: $(cat "$work/err.txt")"
echo "PASS"
