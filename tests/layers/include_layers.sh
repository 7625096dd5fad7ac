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
# Every folder must be listed above, so that a new one is placed on purpose.
for dir in "$src"/*/; do
  name=$(basename "$dir")
  [ -n "${allowed[$name]:-}" ] || { echo "FAIL: src/$name has no place in the layers"; status=1; }
done
[ $status -eq 0 ] && echo "PASS"
exit $status
