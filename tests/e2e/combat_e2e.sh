#!/usr/bin/env bash
# Firing in the real game: level 1 started from the menu by the fire key; holding Z puts shots
# on the screen ahead of the ship, X throws a grenade that bursts, the ship then flies on
# through the next rooms firing, and F4 still quits with status 0. Screenshots of the fight
# are kept in the build's screenshots/ folder.
game=$(realpath "$1")
shots=$2
source "$(dirname "$0")/e2e_lib.sh"
need import convert compare
# The band to the right of the ship at rest, where its shots fly.
ahead_of_ship=260x40+356+262
mkdir -p "$shots"

start "$game"
find_window Zorvane
focus

sleep 3  # the loader, then the menu
xdotool keydown --window "$wid" z
sleep 0.3
xdotool keyup --window "$wid" z
sleep 3  # the intro is over and the ship has settled on the pad
shoot "$shots/combat_rest.png"
sleep 0.4
shoot "$shots/combat_rest2.png"
xdotool keydown --window "$wid" z
sleep 0.6
shoot "$shots/combat_firing.png"
# Held across an update or two: a press and release between two updates is never seen.
xdotool keydown --window "$wid" x
sleep 0.1
xdotool keyup --window "$wid" x
sleep 0.35
shoot "$shots/combat_grenade.png"

still=$(changed "$shots/combat_rest.png" "$shots/combat_rest2.png" "$ahead_of_ship")
firing=$(changed "$shots/combat_rest.png" "$shots/combat_firing.png" "$ahead_of_ship")
echo "pixels changed ahead of the ship: $still at rest, $firing while firing"
[ "$firing" -gt 30 ] && [ "$firing" -gt $((still * 3)) ] || fail "no shots ahead of the ship"

# On to the right, still firing, through the rooms beyond the start room.
# Short taps of thrust about balance gravity, so the ship keeps near its height.
xdotool keydown --window "$wid" Right
for i in 1 2 3 4 5 6; do
  for _ in 1 2 3; do
    xdotool keydown --window "$wid" Up
    sleep 0.03
    xdotool keyup --window "$wid" Up
    sleep 0.14
  done
  shoot "$shots/combat_fight_$i.png"
done
xdotool keyup --window "$wid" Right
xdotool keyup --window "$wid" z

quit_by_f4
echo "PASS: screenshots in $shots"
