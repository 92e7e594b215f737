#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need.
# Idempotent; run as root (or with sudo) on a fresh Debian 12 machine.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  libdcmtk-dev dcmtk
  libjpeg-dev zlib1g-dev libpng-dev libtiff-dev libxml2-dev libssl-dev libwrap0-dev libcharls-dev libopenjp2-7-dev
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth
  patchelf fontconfig xdotool imagemagick
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && { echo "all dependencies present"; exit 0; }

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
