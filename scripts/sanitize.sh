#!/usr/bin/env bash
# Builds tarvin-sim with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer in
# build/asan and plays every scenario with it: a scenario that reads or writes out of bounds, leaks
# or does undefined arithmetic fails even when its log is right.
set -euo pipefail
cd "$(dirname "$0")/.."
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build build/asan --target tarvin-sim >/dev/null
ctest --test-dir build/asan -R '^scenario\.' -j2 --output-on-failure
