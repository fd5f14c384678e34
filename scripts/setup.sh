#!/usr/bin/env bash
# Installs every build and test dependency from Debian's packages. Safe to run again: packages that
# are already present are not fetched, so a prepared machine needs no network.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git python3 clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  # the Windows programs and their end-to-end tests (64-bit Wine only: wine32 breaks the wine command)
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 xvfb xauth imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
