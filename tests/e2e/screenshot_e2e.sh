#!/usr/bin/env bash
# The real game under the X server: saves screenshots of the loading screen and of the
# menu backdrop that follows (for review, in the build's screenshots/ folder) and checks
# that the window shows the menu's dark blue once loading is done.
game=$(realpath "$1")
shots=$2
source "$(dirname "$0")/e2e_lib.sh"
need import identify convert
mkdir -p "$shots"

start "$game"
find_window Zorvane

# The first frame is drawn before any update, so it is blank; the loading screen follows
# for about 37 updates.
for _ in $(seq 40); do
  shoot "$shots/loading.png"
  [ "$(identify -format '%k' "$shots/loading.png")" -gt 16 ] && break
done
[ "$(identify -format '%k' "$shots/loading.png")" -gt 16 ] || fail "the window stayed blank"
sleep 3
shoot "$shots/menu.png"
kill "$pid"
wait_exit 5

size=$(identify -format '%wx%h' "$shots/menu.png")
[ "$size" = "640x480" ] || fail "screenshot is $size"
# The menu backdrop eases to (0, 0, 80); a corner shows it once the loader is gone.
corner=$(convert "$shots/menu.png" -format '%[fx:int(255*p{4,4}.r)],%[fx:int(255*p{4,4}.g)],%[fx:int(255*p{4,4}.b)]' info:)
IFS=, read -r r g b <<<"$corner"
[ "$r" -le 4 ] && [ "$g" -le 4 ] && [ "$b" -ge 70 ] && [ "$b" -le 84 ] || fail "menu corner is $corner"
echo "PASS: screenshots in $shots"
