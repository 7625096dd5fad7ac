#!/usr/bin/env bash
# The player's own keys in the real game: the options' Controls row opens the Controls panel,
# thrust is bound to T by keys alone and kept in controls.txt; the level flies on T, and the
# Up arrow it no longer has does nothing; after a restart T still flies the ship. Screenshots
# of the panel before and after go to the build's screenshots/ folder for review; with
# ZV_UPDATE_SCREENSHOT=1 the one after replaces docs/controls.png, the README's picture.
# Then the options' Colour marks row turns the colour-blind marks on, controls.txt keeps them,
# and the level shows a shape under each HUD bar where it showed none before (marks_*.png).
game=$(realpath "$1")
docs=$(realpath "$2")
shots=$3
source "$(dirname "$0")/e2e_lib.sh"
need import convert compare
mkdir -p "$shots"
ship_box=64x64+288+250
hud_marks_box=40x14+54+27
controls=$work/controls.txt

# fresh_start: the game started anew, its window focused and its menu up.
fresh_start() {
  start "$game"
  find_window Zorvane
  focus
  sleep 3
}

# open_level: the fire key on the menu starts level 1 and its intro plays out.
open_level() {
  fresh_start
  hold z 0.3
  sleep 3
}

# moves KEY NAME: how many pixels around the ship change while KEY is held.
moves() {
  shoot "$shots/$2_before.png"
  hold "$1" 0.4
  shoot "$shots/$2.png"
  changed "$shots/$2_before.png" "$shots/$2.png" "$ship_box"
}

# open_options: the hub, then the options panel.
open_options() {
  fresh_start
  press_keys Left z
  sleep 1
}

open_options
# Four rows down to Controls.
press_keys Down Down Down Down z
sleep 1
shoot "$shots/controls_panel.png"
# Thrust's first key is selected: the fire key waits for a key, T takes the slot.
press_keys z t
sleep 0.5
shoot "$shots/controls_bound.png"
grep -qx 'thrust T W pad DpadUp' "$controls" ||
  fail "controls.txt does not hold thrust on T: $(cat "$controls" 2>/dev/null)"
[ "$(changed "$shots/controls_panel.png" "$shots/controls_bound.png" 100x30+150+110)" -gt 20 ] ||
  fail "the panel does not show the new key"
quit_by_f4 "the Controls panel"
if [ "${ZV_UPDATE_SCREENSHOT:-}" = 1 ]; then
  cp "$shots/controls_bound.png" "$docs/controls.png"
  echo "docs/controls.png replaced"
fi

for run in first restarted; do
  open_level
  still=$(moves Up "up_$run")
  lifted=$(moves t "thrust_t_$run")
  echo "$run start: pixels changed around the ship: $still on Up, $lifted on T"
  [ "$still" -lt 100 ] || fail "$run start: Up still thrusts ($still pixels)"
  [ "$lifted" -gt 100 ] || fail "$run start: T does not thrust ($lifted pixels)"
  quit_by_f4 "$run start"
done
open_options
# Five rows down to Colour marks.
press_keys Down Down Down Down Down z
sleep 0.5
shoot "$shots/marks_option.png"
quit_by_f4 "the options with the marks on"
grep -qx 'colour-blind-marks on' "$controls" ||
  fail "controls.txt does not hold the marks on: $(cat "$controls" 2>/dev/null)"
open_level
shoot "$shots/marks_level.png"
quit_by_f4 "the level with the marks on"
# Two starts without marks differ only by a star or two; the marks change much more.
stars=$(changed "$shots/up_first_before.png" "$shots/up_restarted_before.png" "$hud_marks_box")
marks=$(changed "$shots/up_restarted_before.png" "$shots/marks_level.png" "$hud_marks_box")
echo "under the HUD bars: $stars pixels differ between starts without marks, $marks with them"
[ "$marks" -gt $((stars + 60)) ] || fail "the marks do not show under the HUD bars ($marks pixels)"
echo "PASS: thrust on T, kept across a restart; the colour-blind marks show; screenshots in $shots"
