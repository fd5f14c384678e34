#!/usr/bin/env bash
# Configures and builds both trees: the host tree (simulated device, host tools, tests) and the
# Windows tree (the device programs for x86_64 Windows, run under Wine by the end-to-end tests).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/host -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/host
cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/win32
