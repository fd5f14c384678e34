#!/usr/bin/env bash
# Fails when a tracked C++ source or header is not formatted as .clang-format says.
# Another clang-format version lays some lines out differently, so the one setup.sh installs is
# preferred. To reformat: bash scripts/check_format.sh --fix
set -euo pipefail
cd "$(dirname "$0")/.."

fix=0
case "${1:-}" in
  "") ;;
  --fix) fix=1 ;;
  *) echo "usage: $0 [--fix]" >&2; exit 2 ;;
esac

clang_format="${CLANG_FORMAT:-}"
if [ -z "$clang_format" ]; then
  for candidate in clang-format-14 clang-format; do
    if command -v "$candidate" >/dev/null; then clang_format="$candidate"; break; fi
  done
fi
if [ -z "$clang_format" ]; then
  echo "format: no clang-format found (scripts/setup.sh installs it)" >&2
  exit 1
fi
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  echo "format: $(pwd) is not a git checkout; the tracked files are the ones checked" >&2
  exit 1
fi

# Tracked files only: build trees are not tracked, and the tree holds no third-party code.
mapfile -d '' files < <(git ls-files -z -- '*.h' '*.hpp' '*.c' '*.cc' '*.cpp')
if [ "${#files[@]}" -eq 0 ]; then
  echo "format: no sources found" >&2
  exit 1
fi

if [ "$fix" -eq 1 ]; then
  "$clang_format" -i --style=file "${files[@]}"
  exit 0
fi
if out=$("$clang_format" --dry-run -Werror --style=file "${files[@]}" 2>&1); then
  echo "format: ok, ${#files[@]} files ($("$clang_format" --version))"
else
  printf '%s\n' "$out"
  differing=$(printf '%s\n' "$out" | sed -n 's/^\([^ :]*\):[0-9]*:[0-9]*: error: .*clang-format-violations.*/\1/p' | sort -u)
  echo "format: $(printf '%s\n' "$differing" | grep -c .) of ${#files[@]} files differ from .clang-format:" $differing >&2
  echo "format: bash scripts/check_format.sh --fix reformats them" >&2
  exit 1
fi
