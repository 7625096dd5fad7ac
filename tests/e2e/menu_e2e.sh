#!/usr/bin/env bash
# The real game's front end under the X server, driven by keys: the level wheel on a fresh
# state file, the options panel (and the state file it rewrites), the side panel, the credits
# box, the back key that ends the program, and a level started from the wheel. Screenshots
# of each screen go to the build's screenshots/ folder for review.
game=$(realpath "$1")
shots=$2
source "$(dirname "$0")/e2e_lib.sh"
need import convert
mkdir -p "$shots"


# mean NAME WxH+X+Y: the mean brightness (0..1) of that part of a screenshot.
mean() {
  convert "$shots/$1.png" -crop "$2" -colorspace Gray -format '%[fx:mean]' info:
}


start_menu() {
  start "$game"
  find_window Zorvane
  focus
  sleep 3.5 # loading, then the menu slides in and the wheel settles
}

# In a 640 x 480 window the 720 x 540 screen is drawn at 8/9 scale.
selected_item=90x90+108+268 # the selected level's button on the wheel
title=200x40+160+45

start_menu
shoot "$shots/menu.png"
above "$(mean menu "$title")" 0.25 || fail "no title on the menu"

# A fresh state file offers level 1 only: Down does not turn the wheel.
press_keys Down Down
sleep 1
shoot "$shots/menu_after_down.png"
diff=$(compare -metric AE -fuzz 15% -crop "$selected_item" "$shots/menu.png" \
  "$shots/menu_after_down.png" null: 2>&1)
[ "${diff%% *}" -lt 400 ] || fail "the wheel moved past level 1 ($diff pixels changed)"

# Left focuses the hub, Z opens the options panel.
press_keys Left z
sleep 1
shoot "$shots/options.png"
IFS=, read -r r g b <<<"$(pixel "$shots/options.png" 300 420)"
[ "$r" -ge 100 ] && [ "$g" -ge 45 ] && [ "$b" -le 60 ] || fail "no options panel: $r,$g,$b"

# Escape closes it and saves the state file anew.
rm -f "$work/.briskostate"
press_keys Escape
sleep 1
[ -s "$work/.briskostate" ] || fail "closing the options did not save"
[ "$(tr -cd '|' <"$work/.briskostate" | wc -c)" -eq 21140 ] || fail "the saved record is cut short"
shoot "$shots/options_closed.png"
IFS=, read -r r g b <<<"$(pixel "$shots/options_closed.png" 300 420)"
[ "$r" -le 40 ] || fail "the options panel is still shown: $r,$g,$b"

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
press_keys Down Down Down Down z
sleep 1.5
shoot "$shots/credits.png"
IFS=, read -r r g b <<<"$(pixel "$shots/credits.png" 60 200)"
[ "$r" -ge 230 ] && [ "$g" -ge 230 ] && [ "$b" -ge 230 ] || fail "no credits box: $r,$g,$b"
press_keys z
sleep 1
shoot "$shots/credits_closed.png"
IFS=, read -r r g b <<<"$(pixel "$shots/credits_closed.png" 60 200)"
[ "$r" -le 60 ] || fail "the credits box stayed: $r,$g,$b"

# On the menu the back key ends the program at once, with status 0.
press_keys Escape
wait_exit 5 || fail "the back key ended the program with status $?"

# A level starts from the wheel with Z; there the back key pauses instead of quitting.
start_menu
press_keys z
sleep 1
press_keys Escape
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the back key ended the program instead of pausing the level"
kill "$pid"
wait_exit 5
echo "PASS: the front end works; screenshots in $shots"
