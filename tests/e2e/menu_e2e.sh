#!/usr/bin/env bash
# The real game's front end under the X server, driven by keys, in one run: the level wheel on
# a fresh state file, the options panel (and the state file it rewrites), the side panel, the
# credits box; level 1 started from the wheel, where the back key pauses: the pause panel with
# its world map, resumed by Escape; the run ended from the panel, "GAME OVER", the menu again
# with the state file it writes the fresh save byte for byte (a run that scored nothing
# changes no record); and the back key on the menu ending the program. Screenshots of each
# screen go to the build's screenshots/ folder for review.
game=$(realpath "$1")
shots=$2
source "$(dirname "$0")/e2e_lib.sh"
need import convert compare
mkdir -p "$shots"

# mean NAME WxH+X+Y: the mean brightness (0..1) of that part of a screenshot.
mean() {
  convert "$shots/$1.png" -crop "$2" -colorspace Gray -format '%[fx:mean]' info:
}

# share NAME WxH+X+Y FX: the share (0..1) of that part of a screenshot whose pixels pass FX.
share() {
  convert "$shots/$1.png" -crop "$2" -fx "$3" -colorspace Gray -format '%[fx:mean]' info:
}

# await NAME SECONDS CHECK...: screenshots NAME until CHECK passes, for at most SECONDS; a
# loaded machine only makes the game slower, not the test wrong.
await() {
  local name=$1 seconds=$2
  shift 2
  for _ in $(seq $((seconds * 4))); do
    shoot "$shots/$name.png"
    "$@" "$name" && return 0
    sleep 0.25
  done
  return 1
}

# In a 640 x 480 window the 720 x 540 screen is drawn at 8/9 scale.
selected_item=90x90+108+268 # the selected level's button on the wheel
title=200x40+160+45
# The pause panel's world map: 32 x 32 cells filling x 185..640, y 57..398, in pale path
# colours; its three blue buttons in a column at the left edge.
map=455x341+185+57
pale='r>0.78 && g>0.78 && b>0.78'
buttons=120x300+0+50
blue='b>0.7 && r<0.45 && g<0.45'
# "GAME" and "OVER" in pink around (252, 243) and (468, 297) once the bars have stopped.
game_word=110x40+170+196
over_word=110x40+362+244
pink='r>0.85 && g>0.55 && g<0.85 && b>0.55 && b<0.85'

menu_shown() { above "$(share "$1" "$title" 'r+g+b>1.5')" 0.05; }
map_shown() { above "$(share "$1" "$map" "$pale")" 0.003; }
buttons_shown() { above "$(share "$1" "$buttons" "$blue")" 0.05; }
# Compared with the level before the pause, whatever the level shows there.
buttons_gone() { above "$(share pause_level "$buttons" "$blue") + 0.01" "$(share "$1" "$buttons" "$blue")"; }
game_over_shown() {
  above "$(share "$1" "$game_word" "$pink")" 0.03 && above "$(share "$1" "$over_word" "$pink")" 0.03
}
game_over_gone() { ! above "$(share "$1" "$game_word" "$pink")" 0.01; }
saved() { [ -s "$work/.briskostate" ]; }
# expect_rgb NAME X Y TEST WHAT: the pixel's r, g and b pass the arithmetic TEST.
expect_rgb() {
  IFS=, read -r r g b <<<"$(pixel "$shots/$1.png" "$2" "$3")"
  (($4)) || fail "$5: $r,$g,$b"
}

start "$game"
find_window Zorvane
focus
await menu 20 menu_shown || fail "the menu did not show"
sleep 1.5 # the wheel settles
shoot "$shots/menu.png"

# A fresh state file offers level 1 only: Down does not turn the wheel.
press_keys Down Down
sleep 1
shoot "$shots/menu_after_down.png"
diff=$(changed "$shots/menu.png" "$shots/menu_after_down.png" "$selected_item")
[ "$diff" -lt 400 ] || fail "the wheel moved past level 1 ($diff pixels changed)"

# Left focuses the hub, Z opens the options panel; Escape closes it and saves anew.
press_keys Left z
sleep 1
shoot "$shots/options.png"
expect_rgb options 300 420 'r >= 100 && g >= 45 && b <= 60' "no options panel"
rm -f "$work/.briskostate"
press_keys Escape
sleep 1
[ -s "$work/.briskostate" ] || fail "closing the options did not save"
[ "$(tr -cd '|' <"$work/.briskostate" | wc -c)" -eq 21140 ] || fail "the saved record is cut short"
shoot "$shots/options_closed.png"
expect_rgb options_closed 300 420 'r <= 40' "the options panel is still shown"

# Right twice focuses the side panel, Z opens it: the title slides away.
press_keys Right Right z
sleep 2
shoot "$shots/side_panel.png"
above 0.15 "$(mean side_panel "$title")" || fail "the side panel did not open"
press_keys z
sleep 2

# The credits box opens from the options' Credits row and closes on Z.
press_keys Left Left z
sleep 1
press_keys Down Down Down Down Down Down z
sleep 1.5
shoot "$shots/credits.png"
expect_rgb credits 60 200 'r >= 230 && g >= 230 && b >= 230' "no credits box"
press_keys z
sleep 1
shoot "$shots/credits_closed.png"
expect_rgb credits_closed 60 200 'r <= 60' "the credits box stayed"

# Back to the wheel; Z starts level 1, where the back key pauses instead of quitting.
press_keys Right
sleep 0.5
press_keys z
sleep 3 # the intro is over: the back key is read once it has played
kill -0 "$pid" 2>/dev/null || fail "the game ended when the level started"
shoot "$shots/pause_level.png"
press_keys Escape
await pause_panel 5 buttons_shown || fail "Escape did not open the pause panel"
map_shown pause_panel || fail "the pause panel shows no world map"
press_keys Escape
await pause_resumed 5 buttons_gone || fail "the panel stayed after Escape resumed"

rm -f "$work/.briskostate"
press_keys Escape
await pause_panel_again 5 buttons_shown || fail "Escape did not pause again"
press_keys Up z
await pause_game_over 5 game_over_shown || fail "no GAME OVER after ending the run"
await pause_menu_after_run 15 menu_shown || fail "the menu did not return"
await pause_menu_after_run 5 saved || fail "the menu did not save on return"
cmp -s "$work/.briskostate" <(fresh_save) ||
  fail "the state file is not the fresh save: $(head -c 120 "$work/.briskostate")"

# Once the overlay has faded, the back key on the menu ends the program at once, status 0.
await pause_menu_after_run 5 game_over_gone || fail "the game-over overlay did not fade"
press_keys Escape
wait_exit 5 || fail "the back key on the menu ended the program with status $?"
echo "PASS: the front end, pause and the end of a run work; screenshots in $shots"
