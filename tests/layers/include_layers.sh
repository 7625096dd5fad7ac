#!/usr/bin/env bash
# Dependencies point downward only: each folder of src/ includes headers of the folders
# listed for it and no others (the composition root, src/main.cpp, may include any).
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
status=0
for layer in "${!allowed[@]}"; do
  while IFS=: read -r file line text; do
    used=$(sed -n 's/.*#include "\([a-z_]*\)\/.*/\1/p' <<<"$text")
    if [[ " ${allowed[$layer]} " != *" $used "* ]]; then
      echo "FAIL: $file:$line: src/$layer may not include $used/ headers"
      status=1
    fi
  done < <(grep -rnE '^#include "[a-z_]+/' "$src/$layer")
done
# The game's components, each a folder of src/game: the components and the root headers each
# may include. The root keeps the composition (MyApp) and headers every component shares.
declare -A component_allowed=(
  [save]="save records.h"
)
for component in "${!component_allowed[@]}"; do
  while IFS=: read -r file line text; do
    used=$(sed -n 's/.*#include "game\/\([a-z_.]*\).*/\1/p' <<<"$text")
    if [[ " ${component_allowed[$component]} " != *" $used "* ]]; then
      echo "FAIL: $file:$line: src/game/$component may not include game/$used"
      status=1
    fi
  done < <(grep -rnE '^#include "game/' "$src/game/$component")
done
for dir in "$src"/game/*/; do
  name=$(basename "$dir")
  [ -n "${component_allowed[$name]:-}" ] ||
    { echo "FAIL: src/game/$name has no place among the components"; status=1; }
done
# Every folder must be listed above, so that a new one is placed on purpose.
for dir in "$src"/*/; do
  name=$(basename "$dir")
  [ -n "${allowed[$name]:-}" ] || { echo "FAIL: src/$name has no place in the layers"; status=1; }
done
[ $status -eq 0 ] && echo "PASS"
exit $status
