#!/usr/bin/env bash
# Installs what building and testing need, skipping what is already there.
set -euo pipefail

# Qt 6 Widgets and QtTest; GoogleTest (its sources build the Windows tests
# too); the resource compiler (x86_64-w64-mingw32-windres); the dialog font
# (DejaVu Sans Condensed has the dialog base units); losetup, partx and
# mkfs.ext2 for the loop-device tests; python3 for the icon. For the Windows
# program: the mingw-w64 cross compilers, and wine to run its tests.
packages=(
  cmake make g++ pkg-config
  qt6-base-dev libgtest-dev binutils-mingw-w64-x86-64
  fonts-dejavu-core fonts-dejavu-extra util-linux e2fsprogs python3
  g++-mingw-w64-x86-64 wine wine64
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  if ! "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
    "${sudo_cmd[@]}" apt-get update
    "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
  fi
fi
