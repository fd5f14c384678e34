#!/usr/bin/env bash
# Builds the fuzz harnesses (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build/fuzz and runs each for a bounded time, seeded with the sample layouts.
# usage: scripts/fuzz.sh [seconds per harness, default 25]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-25}"

cmake -S tests/fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz

run() {
  local name=$1 seeds=$2 dict=$3
  local corpus=build/fuzz/corpus/$name log=build/fuzz/$name.log
  mkdir -p "$corpus" build/fuzz/artifacts
  if ! "build/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -dict="$dict" \
      -artifact_prefix="build/fuzz/artifacts/$name-" -print_final_stats=1 "$corpus" "$seeds" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "$name: FAILED (input kept in build/fuzz/artifacts/)"
    return 1
  fi
  echo "$name: $(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}') runs in ${seconds}s, nothing found"
}

run layout_fuzzer resources tests/fuzz/layout.dict
run config_fuzzer tests/fuzz/seeds/config tests/fuzz/config.dict
