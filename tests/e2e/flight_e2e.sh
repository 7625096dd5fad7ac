#!/usr/bin/env bash
# A level in the real game: the fire key on the menu starts level 1, the intro plays, the
# HUD band shows, holding thrust lifts the ship off the pad, and F4 quits with status 0.
# Screenshots of the intro and of the flight are kept in the build's screenshots/ folder.
game=$(realpath "$1")
shots=$2
source "$(dirname "$0")/e2e_lib.sh"
need import convert compare
# The box around the ship at rest on the pad.
ship_box=64x64+288+250
mkdir -p "$shots"

start "$game"
find_window Zorvane
focus

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

still=$(changed "$shots/flight_rest.png" "$shots/flight_rest2.png" "$ship_box")
moved=$(changed "$shots/flight_rest.png" "$shots/flight_thrust.png" "$ship_box")
echo "pixels changed around the ship: $still at rest, $moved under thrust"
[ "$moved" -gt 100 ] && [ "$moved" -gt $((still * 4)) ] || fail "thrust did not move the ship"

quit_by_f4
echo "PASS: screenshots in $shots"
