#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Settings need.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev libjpeg-dev libjpeg-turbo-progs
  libgtest-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-utils openbox imagemagick fonts-dejavu-core desktop-file-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
