#!/usr/bin/env bash
# Smoke run of Tarvin.exe under Wine on a private X server: it starts with a layout, registers its
# window, types through the layout and ends with the exit code a quit message gives it.
# First the backend's own checks run there (tarvin-platform-check.exe and the library it loads,
# built beside Tarvin.exe).
#   platform/win32/smoke/smoke.sh [windows-build-tree]     (default: build/win32)
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
bin="$(cd "${1:-$root/build/win32}" && pwd)/bin"
exe="$bin/Tarvin.exe"
for f in "$exe" "$bin/tarvin-platform-check.exe" "$bin/tarvin-platform-check-library.dll"; do
  [ -f "$f" ] || { echo "no $f" >&2; exit 1; }
done

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
  WINEPREFIX="$work/prefix" wineserver -w 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The display number comes back on a pipe once the server accepts clients: no start-up race.
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 20 -u "$fd" display
export DISPLAY=":$display"
export WINEPREFIX="$work/prefix" TMPDIR="$work" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1

wine "$bin/tarvin-platform-check.exe"

app="$work/app"
mkdir -p "$app"
cp "$exe" "$app/Tarvin.exe"
cp "$root/resources/Russian Default.TVL" "$app/"
printf 'Layout1 Russian Default.TVL\r\nLayout2 <Default layout>\r\nHintMode 0000\r\n' >"$app/Tarvin.cfg"
x86_64-w64-mingw32-g++-posix -std=c++20 -O1 -municode -static -I "$root" -o "$work/probe.exe" "$root/platform/win32/smoke/probe.cpp"

(cd "$app" && exec wine Tarvin.exe) &
tarvin_pid=$!
wine "$work/probe.exe" wait
wine "$work/probe.exe" type
# What a person would see, when asked for.
if [ -n "${SMOKE_SCREENSHOT:-}" ]; then import -window root "$SMOKE_SCREENSHOT" || true; fi
wine "$work/probe.exe" quit 3
code=0
wait "$tarvin_pid" || code=$?
echo "Tarvin.exe exit code: $code"
[ "$code" -eq 3 ]
