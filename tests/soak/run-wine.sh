#!/usr/bin/env bash
# The random run of the real vuedeck.exe under Wine (tests/soak/wine): builds what it needs in
# the Windows tree, runs the handle owners' tests, then drives the program with random steps for
# SECONDS (default 300) from SEED (default: a new one, printed) on a private Xvfb, sampling its
# handle counts and memory, and checks at the end that every window came back, that no handle
# count grew after the warm-up and that the committed memory grows by at most 1 MB a minute
# after it (wine_soak.exe --slope-limit; judged in runs of three minutes and more, shorter ones
# only report it). scripts/run-tests.sh calls it with 45 seconds.
#
#   tests/soak/run-wine.sh [--build DIR] [--prefix DIR] [SECONDS [SEED]] [-- WINE_SOAK_ARGS...]
#
#   --build DIR   the Windows build tree (default build/win64)
#   --prefix DIR  the Wine prefix (default DIR/wineprefix of the build tree)
#
# The program runs in DIR/wine-soak, where the steps (steps.log) and the samples (samples.csv)
# are written. The exit status is non-zero when a check failed; the seed printed first replays
# the same steps.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build="$root/build/win64"
prefix=""
seconds=300
seed=""
positional=0
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    --) shift; break ;;
    [0-9]*)
      if [ $positional = 0 ]; then seconds=$1; else seed=$1; fi
      positional=$((positional + 1)); shift ;;
    *) echo "usage: $0 [--build DIR] [--prefix DIR] [SECONDS [SEED]] [-- WINE_SOAK_ARGS...]" >&2
       exit 2 ;;
  esac
done
mkdir -p "$build"
build=$(cd "$build" && pwd)
prefix=${prefix:-$build/wineprefix}

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    >/dev/null || exit 2
fi
cmake --build "$build" -j2 --target vuedeck winmaker wine_soak wine_soak_tests >/dev/null || {
  cmake --build "$build" -j2 --target vuedeck winmaker wine_soak wine_soak_tests
  echo "wine-soak: the build failed" >&2
  exit 2
}

args=(--seconds "$seconds")
[ -n "$seed" ] && args+=(--seed "$seed")
export VD_EXE=${VD_EXE:-$build/vuedeck.exe}
export VD_WINMAKER=${VD_WINMAKER:-$build/winmaker.exe}
export VD_SCRATCH="$build/wine-soak"
mkdir -p "$VD_SCRATCH"

# Both programs under one Xvfb and Wine server; the whole is limited to the run and a margin.
timeout --kill-after=20 "$((seconds + 240))" \
  "$root/tests/wine/with-wine.sh" --prefix "$prefix" -- \
  bash -c '"$WINE" "$1" || exit 1; shift; exec "$WINE" "$@"' wine-soak \
  "$build/wine_soak_tests.exe" "$build/wine_soak.exe" "${args[@]}" "$@"
rc=$?
[ $rc -eq 124 ] && echo "wine-soak: stopped after $((seconds + 240)) s" >&2
exit $rc
