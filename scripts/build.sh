#!/usr/bin/env bash
# Configures and builds the host tree (simulated device, host tools, tests).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/host -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/host
