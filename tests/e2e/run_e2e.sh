#!/usr/bin/env bash
# Runs one end-to-end case: the real Tarvin.exe under Wine on a headless X server, played by
# e2e-driver.exe.
#
#   run_e2e.sh [--bin DIR] [--work DIR] [--timeout SECONDS] CONFIG CASE [DRIVER ARGUMENTS...]
#
# Each run gets a fresh Wine prefix and TMPDIR under the work folder (a new temporary folder when
# --work is not given) and a device folder C:\Tarvin holding Tarvin.exe, the driver, the sample
# layouts of resources/, the layouts of fixtures/layouts and fixtures/configs/CONFIG.cfg as
# Tarvin.cfg. The driver runs CASE and its exit code is the run's. The Wine server and the X server
# are shut down at the end, also on failure; the prefix is removed (KEEP_PREFIX=1 keeps it), the
# logs stay in the work folder.
#
# DIR is the Windows tree's bin folder: $TARVIN_WIN32_BIN, or build/win32/bin of this checkout.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
bin=${TARVIN_WIN32_BIN:-$repo/build/win32/bin}
work=
limit=120

usage() {
  echo "usage: run_e2e.sh [--bin DIR] [--work DIR] [--timeout SECONDS] CONFIG CASE [DRIVER ARGUMENTS...]" >&2
  exit 2
}

while [[ $# -gt 0 ]]; do
  case $1 in
    --bin) bin=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --timeout) limit=$2; shift 2 ;;
    -*) usage ;;
    *) break ;;
  esac
done
[[ $# -ge 2 ]] || usage
config=$1
case=$2
shift 2

for program in Tarvin.exe e2e-driver.exe; do
  if [[ ! -f $bin/$program ]]; then
    echo "error: $bin/$program is missing; build the Windows tree first (bash scripts/build.sh)" >&2
    exit 1
  fi
done
cfg=$here/fixtures/configs/$config.cfg
if [[ ! -f $cfg ]]; then
  echo "error: no configuration $cfg" >&2
  exit 1
fi

temporary=
if [[ -z $work ]]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/tarvin-e2e.XXXXXX")
  temporary=1
fi
mkdir -p "$work"
work=$(cd "$work" && pwd)
rm -rf "$work/prefix" "$work/tmp" "$work"/*.log "$work/display" "$work/screen.png"
mkdir -p "$work/tmp"

export WINEPREFIX=$work/prefix
export TMPDIR=$work/tmp
export WINEARCH=win64
# Wine's own traces stay off; E2E_WINEDEBUG turns channels on when a run needs explaining.
export WINEDEBUG=${E2E_WINEDEBUG:--all}
# No .NET or HTML engine installers, and no menu entries written into the user's home.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

xvfb_pid=
child=
cleanup() {
  local status=$?
  trap - EXIT INT TERM
  if [[ -n $child ]]; then
    kill "$child" 2>/dev/null || true
  fi
  if [[ -d $WINEPREFIX ]]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  if [[ -z ${KEEP_PREFIX:-} ]]; then
    rm -rf "$WINEPREFIX"
  fi
  rm -rf "$TMPDIR"
  # A temporary work folder goes too unless its logs explain a failure.
  if [[ -n $temporary && $status -eq 0 && -z ${KEEP_PREFIX:-} ]]; then
    rm -rf "$work"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Runs a command in the background and waits for it: bash defers traps while a foreground command
# runs, but a wait is cut short, so an interrupted run still shuts everything down at once.
run() {
  "$@" &
  child=$!
  local status=0
  wait "$child" || status=$?
  child=
  return "$status"
}

started=$SECONDS

# -displayfd: the server writes its display number once it accepts connections, so there is no
# start-up race and parallel runs never collide over a display number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s $work/display ]] && break
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "error: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
  fi
  sleep 0.1
done
if [[ ! -s $work/display ]]; then
  echo "error: Xvfb gave no display number" >&2
  exit 1
fi
export DISPLAY=:$(head -n 1 "$work/display")

if ! run timeout 120 wineboot -i >"$work/wineboot.log" 2>&1; then
  echo "error: wineboot failed:" >&2
  tail -n 20 "$work/wineboot.log" >&2
  exit 1
fi

device=$WINEPREFIX/drive_c/Tarvin
mkdir -p "$device"
cp "$bin/Tarvin.exe" "$bin/e2e-driver.exe" "$device/"
cp "$repo"/resources/*.TVL "$here"/fixtures/layouts/*.TVL "$device/"
cp "$cfg" "$device/Tarvin.cfg"

echo "case $case with $config.cfg on display $DISPLAY (Wine ready after $((SECONDS - started)) s)"
status=0
run_driver() {
  cd "$device"
  exec timeout -k 5 "$limit" wine 'C:\Tarvin\e2e-driver.exe' "$case" "$@"
}
run run_driver "$@" >"$work/driver.log" 2>"$work/wine.log" || status=$?
cat "$work/driver.log"
if [[ $status -ne 0 ]]; then
  if [[ $status -eq 124 ]]; then
    echo "error: the driver did not finish within $limit s"
  fi
  # What a person would have seen: the driver's picture of the screen at its first failed check,
  # else the screen now.
  if [[ -f $device/failure.bmp ]] && convert "$device/failure.bmp" "$work/screen.png" 2>/dev/null; then
    echo "screenshot at the first failed check: $work/screen.png"
  elif import -display "$DISPLAY" -window root "$work/screen.png" 2>/dev/null; then
    echo "screenshot after the run: $work/screen.png"
  fi
  if [[ -s $work/wine.log ]]; then
    echo "--- Wine's messages (last 40 lines of $work/wine.log):"
    tail -n 40 "$work/wine.log"
  fi
fi
echo "case $case: exit code $status after $((SECONDS - started)) s"
if [[ $status -ne 0 ]]; then
  echo "logs: $work"
fi
exit "$status"
