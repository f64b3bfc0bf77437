#!/usr/bin/env bash
# Runs the window-system conformance suite built for Windows (conformance_win32.exe) under
# Wine, with a private X display and Wine server that are stopped afterwards.
#
#   tests/conformance/run-under-wine.sh [--build DIR] [--prefix DIR] [-- GTEST_ARGS...]
#
# --build   the Windows build tree holding conformance_win32.exe (default build/win64)
# --prefix  the Wine prefix to use (default: wineprefix inside the build tree)
# The exit code is the suite's: 0 when every case passed.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build="$root/build/win64"
prefix=""
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
build=$(cd "$build" && pwd)
[ -n "$prefix" ] || prefix="$build/wineprefix"
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)

exe="$build/conformance_win32.exe"
[ -f "$exe" ] || { echo "run-under-wine: $exe not built" >&2; exit 2; }

# The suite makes real windows, sends real keys and writes under HKCU and the temp folder of
# the prefix; it cleans up after itself.
exec "$root/tests/wine/with-wine.sh" --prefix "$prefix" -- \
  bash -c '"$WINE" "$0" --gtest_color=no "$@"' "$exe" "$@"
