#!/usr/bin/env bash
# A level in the real game: the fire key on the menu starts level 1, the intro plays, the HUD
# band shows, thrust lifts the ship off the pad, held Z puts shots ahead of it, X throws a
# grenade, the ship flies on to the right firing, and F4 quits with status 0.
# Screenshots of the intro, the flight and the fight go to the build's screenshots/ folder.
game=$(realpath "$1")
shots=$2
source "$(dirname "$0")/e2e_lib.sh"
need import convert compare
# The box around the ship at rest on the pad, and the band to its right where its shots fly.
ship_box=64x64+288+250
ahead_of_ship=260x40+356+262
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

# Shots first, while the ship is still on the pad.
xdotool keydown --window "$wid" z
sleep 0.6
shoot "$shots/combat_firing.png"
# Held across an update or two: a press and release between two updates is never seen.
hold x 0.1
sleep 0.35
shoot "$shots/combat_grenade.png"
still=$(changed "$shots/flight_rest.png" "$shots/flight_rest2.png" "$ahead_of_ship")
firing=$(changed "$shots/flight_rest.png" "$shots/combat_firing.png" "$ahead_of_ship")
echo "pixels changed ahead of the ship: $still at rest, $firing while firing"
[ "$firing" -gt 30 ] && [ "$firing" -gt $((still * 3)) ] || fail "no shots ahead of the ship"

# Thrust with the shots and the grenade's burst gone, so that only the ship moves.
xdotool keyup --window "$wid" z
sleep 1.5
shoot "$shots/flight_before_thrust.png"
hold Up 0.4
shoot "$shots/flight_thrust.png"
still=$(changed "$shots/flight_rest.png" "$shots/flight_rest2.png" "$ship_box")
moved=$(changed "$shots/flight_before_thrust.png" "$shots/flight_thrust.png" "$ship_box")
echo "pixels changed around the ship: $still at rest, $moved under thrust"
[ "$moved" -gt 100 ] && [ "$moved" -gt $((still * 4)) ] || fail "thrust did not move the ship"

# On to the right, firing, as far as the start room lets it. Short taps of thrust
# about balance gravity, so the ship keeps near its height.
xdotool keydown --window "$wid" z
xdotool keydown --window "$wid" Right
for i in 1 2 3 4 5 6; do
  for _ in 1 2 3; do
    hold Up 0.03
    sleep 0.14
  done
  shoot "$shots/combat_fight_$i.png"
done
xdotool keyup --window "$wid" Right
xdotool keyup --window "$wid" z

quit_by_f4
echo "PASS: screenshots in $shots"
