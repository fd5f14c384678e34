#!/usr/bin/env bash
# The engine's latency under Wine, end to end: KEYS mapped keys (default 2000) injected with
# SendInput while the real Tarvin.exe runs, one every INTERVAL_MS milliseconds on average (default
# 30, faster than anyone types; each gap varies by half either way); each press is timed to its
# character in the driver's edit box. Prints p50, p99 and max, and the characters lost, doubled,
# reordered or stray.
#
#   tests/bench/wine_latency.sh [--bin DIR] [KEYS [INTERVAL_MS]]
#
# A report, not a timed test: no figure is judged. The exit code is non-zero only when the run
# failed or a character went missing, came twice or out of order. DIR as for tests/e2e/run_e2e.sh.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
options=()
if [[ ${1:-} == --bin ]]; then
  options+=(--bin "$2")
  shift 2
fi
keys=${1:-2000}
interval=${2:-30}
limit=$((keys * interval / 1000 + 120))
exec bash "$here/../e2e/run_e2e.sh" "${options[@]}" --timeout "$limit" latency latency "$keys" "$interval"
