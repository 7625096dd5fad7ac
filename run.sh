#!/usr/bin/env bash
# Installs what is missing, builds, generates the assets and starts the game.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "zorvane: no display available (DISPLAY is not set); run it from a desktop session." >&2
  exit 1
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target zorvane
exec ./build/zorvane "$@"
