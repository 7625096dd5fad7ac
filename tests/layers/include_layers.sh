#!/usr/bin/env bash
# Dependencies point downward only: each folder of src/ includes headers of the folders
# listed for it and no others (the composition root, src/main.cpp, may include any); inside
# src/game, each component's folder includes only the components and shared headers listed
# for it.
set -uo pipefail
src=$1
declare -A allowed=(
  [base]="base"
  [host]="base host"
  [net]="base net"
  [graphics]="base host graphics"
  [audio]="base host audio"
  [input]="base host input"
  [game]="base host net graphics audio input game"
  [sim]="base host net graphics audio input game sim"
)
# The game's components, lowest first: the components each may include. my_app.h, the
# composition at src/game's root, is listed for the components whose functions are still
# members of MyApp; core, frame, world, play, save and report never see it.
declare -A component_allowed=(
  [core]="core"
  [frame]="core frame"
  [world]="core frame world"
  [play]="core frame world play"
  [save]="core save"
  [report]="core report"
  [screens]="core frame world play save report screens"
  [runs]="core frame world play save screens runs my_app.h"
)
status=0

# check FOLDER PREFIX ALLOWED: every #include "PREFIX<name>..." in FOLDER names an allowed
# <name> (the first path part after PREFIX).
check() {
  local folder=$1 prefix=$2 permitted=$3 file line text used
  while IFS=: read -r file line text; do
    used=$(sed -n "s|.*#include \"$prefix\\([a-z_.]*\\).*|\\1|p" <<<"$text")
    if [[ " $permitted " != *" $used "* ]]; then
      echo "FAIL: $file:$line: ${folder#"$src"/} may not include $prefix$used"
      status=1
    fi
  done < <(grep -rnE "^#include \"${prefix}[a-z_]" "$folder")
}

# placed PARENT TABLE-NAME: every folder of PARENT is listed, so a new one is placed on purpose.
placed() {
  local parent=$1 dir
  local -n table=$2
  for dir in "$parent"/*/; do
    [ -n "${table[$(basename "$dir")]:-}" ] ||
      { echo "FAIL: ${dir#"$src"/} has no place in the layers"; status=1; }
  done
}

for layer in "${!allowed[@]}"; do check "$src/$layer" "" "${allowed[$layer]}"; done
for component in "${!component_allowed[@]}"; do
  check "$src/game/$component" "game/" "${component_allowed[$component]}"
done
placed "$src" allowed
placed "$src/game" component_allowed
[ $status -eq 0 ] && echo "PASS"
exit $status
