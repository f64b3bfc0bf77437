#!/usr/bin/env bash
# Builds vuedeck.exe and runs it under Wine, on a Debian machine (12 or later); installs what
# is missing first (as root, or through sudo).
#
#   scripts/run-vuedeck.sh [--xvfb] [--seconds N]
#
# When $DISPLAY is set (and --xvfb is not given) the program runs on that display, in Wine's
# virtual desktop window, until you end it (its menu's Exit, or Ctrl+C here). Otherwise it runs
# on a private Xvfb: after N seconds (default 5) a screenshot is saved to
# build/win64/screenshot.png, its path is printed, and everything is stopped.
#
# VD_BUILD_WIN64 names another Windows build tree (default build/win64); the Wine prefix is its
# wineprefix folder.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
win64=${VD_BUILD_WIN64:-$root/build/win64}
seconds=5
force_xvfb=0
while [ $# -gt 0 ]; do
  case "$1" in
    --xvfb) force_xvfb=1; shift ;;
    --seconds) seconds=$2; shift 2 ;;
    *) echo "usage: $0 [--xvfb] [--seconds N]" >&2; exit 2 ;;
  esac
done

bash "$root/scripts/run-tests.sh" --install-only
cmake -S "$root" -B "$win64" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$win64" -j2 --target vuedeck screenshot

runner="$root/scripts/with-wine.sh"
if [ -n "${DISPLAY:-}" ] && [ $force_xvfb = 0 ]; then
  echo "run-vuedeck: running on display $DISPLAY; end it from its menu (Exit) or with Ctrl+C"
  exec "$runner" --prefix "$win64/wineprefix" --display-from-env -- \
    bash -c 'cd "$1" && exec "$WINE" vuedeck.exe' run-vuedeck "$win64"
fi

shot="$win64/screenshot.png"
rm -f "$shot"
"$runner" --prefix "$win64/wineprefix" -- bash -c '
  cd "$1"
  "$WINE" vuedeck.exe &
  sleep "$2"
  "$WINE" screenshot.exe "$3" >/dev/null
' run-vuedeck "$win64" "$seconds" "$shot"
# The runner has stopped the program, the Wine server and the Xvfb.
[ -f "$shot" ] || { echo "run-vuedeck: no screenshot was taken" >&2; exit 1; }
echo "$shot"
