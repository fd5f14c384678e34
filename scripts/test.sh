#!/usr/bin/env bash
# Installs, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
# The layout and configuration readers under libFuzzer with the sanitizers, briefly.
bash scripts/fuzz.sh 25
# Every scenario once more, under the sanitizers.
bash scripts/sanitize.sh
ctest --test-dir build/host --output-on-failure -j2
