#!/usr/bin/env bash
# Installs what the project needs to build, test and run on a Debian machine.
# Idempotent and quiet when everything is already there.
set -euo pipefail

packages=(
  g++ clang libclang-rt-dev cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb x11-utils xauth
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation
  clang-format
  zlib1g-dev
  libpng-dev
  desktop-file-utils appstream libxml2-utils man-db dpkg-dev file shared-mime-info
  fceux
  xdotool
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
