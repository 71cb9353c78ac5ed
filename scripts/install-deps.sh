#!/usr/bin/env bash
# Installs the cross toolchain, Wine, a virtual display and fonts on Debian 12.
# Skips everything when the packages are already present.
set -euo pipefail

packages=(
  g++-mingw-w64-i686 mingw-w64-i686-dev libz-mingw-w64-dev cmake ninja-build googletest
  wine wine32:i386 wine64
  xvfb xauth libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386
  fonts-liberation fonts-wine
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
  lame espeak-ng
  xdotool imagemagick
  python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
