#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need.
# Quiet when everything is present; needs root only when something is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config clang-format shellcheck
  libglfw3-dev libgl-dev libgl1-mesa-dri
  libopenal-dev libopenal1
  libstb-dev libvorbis-dev
  libcairo2-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-utils imagemagick
  # the install, its desktop entry and metainfo, and the Debian package are checked with these
  desktop-file-utils appstream dpkg-dev lintian
  sox vorbis-tools python3 python3-xlib
  # the browser build (./web.sh) and its test in a real browser
  emscripten chromium chromium-driver python3-selenium ccache
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run as root, or install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
