#!/usr/bin/env bash
# A level in the real game: the fire key on the menu starts level 1, the intro plays, the
# HUD band shows, holding thrust lifts the ship off the pad, and F4 quits with status 0.
# Screenshots of the intro and of the flight are kept in the build's screenshots/ folder.
game=$(realpath "$1")
shots=$2
source "$(dirname "$0")/e2e_lib.sh"
mkdir -p "$shots"

start "$game"
find_window Zorvane
focus
# shoot FILE: a picture of the window.
shoot() {
  for _ in $(seq 50); do
    import -window "$wid" "$1" 2>/dev/null && return 0
    sleep 0.02
  done
  fail "no screenshot $1"
}
# hold KEY SECONDS: the key down for that long (updates read held keys, not presses).
hold() {
  xdotool keydown --window "$wid" "$1"
  sleep "$2"
  xdotool keyup --window "$wid" "$1"
}
# pixel FILE X Y: "r,g,b" of one pixel.
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}
# changed A B: how many pixels differ clearly in the box around the ship's start.
changed() {
  compare -metric AE -fuzz 15% -extract 64x64+288+250 "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

sleep 3  # the loader, then the menu
hold z 0.3
sleep 0.6
shoot "$shots/flight_intro.png"
sleep 2.5  # the intro is over and the ship has settled on the pad
shoot "$shots/flight_rest.png"
[ "$(pixel "$shots/flight_rest.png" 0 0)" = "80,40,4" ] ||
  fail "top-left pixel is $(pixel "$shots/flight_rest.png" 0 0), not the HUD band"
sleep 0.5
shoot "$shots/flight_rest2.png"
xdotool keydown --window "$wid" Up
sleep 0.4
shoot "$shots/flight_thrust.png"
xdotool keyup --window "$wid" Up

still=$(changed "$shots/flight_rest.png" "$shots/flight_rest2.png")
moved=$(changed "$shots/flight_rest.png" "$shots/flight_thrust.png")
echo "pixels changed around the ship: $still at rest, $moved under thrust"
[ "$moved" -gt 100 ] && [ "$moved" -gt $((still * 4)) ] || fail "thrust did not move the ship"

xdotool key --window "$wid" F4
wait_exit 10
status=$?
[ $status -eq 0 ] || fail "F4 ended with status $status"
echo "PASS: screenshots in $shots"
