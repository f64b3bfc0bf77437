#!/usr/bin/env bash
# Runs e2e_tests.exe under Wine on a private Xvfb; builds nothing (see README.md).
#   tests/e2e/run.sh [--build DIR] [--xml FILE] [-- E2E_TESTS_ARGS...]
# DIR is the Windows build tree (default build/win64, its Wine prefix DIR/wineprefix), FILE the
# results (default DIR/e2e-results.xml). The exit status is the tests'.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/win64" xml=""
while [ $# -gt 0 ]; do
  case "$1" in
    --build | --xml) declare "${1#--}=$2"; shift 2 ;;
    --) shift; break ;;
    *) echo "usage: $0 [--build DIR] [--xml FILE] [-- E2E_TESTS_ARGS...]" >&2; exit 2 ;;
  esac
done
build=$(cd "$build" && pwd) xml=$(realpath -m "${xml:-$build/e2e-results.xml}")
export VD_EXE=${VD_EXE:-$build/vuedeck.exe} VD_WINMAKER=${VD_WINMAKER:-$build/winmaker.exe}
export VD_SHOTS="$build/e2e-shots" VD_SCRATCH="$build/e2e-scratch"
for f in "$build/e2e_tests.exe" "$VD_EXE" "$VD_WINMAKER"; do
  [ -f "$f" ] || { echo "e2e: $f missing: build it first" >&2; exit 2; }; done
mkdir -p "$VD_SHOTS" && rm -f "$VD_SHOTS"/*.png "$xml" && echo "e2e: testing $VD_EXE"
rc=0  # Wine's drive Z: is the host's /.
timeout --kill-after=20 "${VD_E2E_TIMEOUT:-900}" "$root/scripts/with-wine.sh" \
  --prefix "$build/wineprefix" -- bash -c 'exec "$WINE" "$@"' e2e "$build/e2e_tests.exe" \
  "--gtest_output=xml:Z:${xml//\//\\}" "$@" || rc=$?
[ $rc -ne 124 ] || echo "e2e: stopped after ${VD_E2E_TIMEOUT:-900} s" >&2
echo "e2e: $(find "$VD_SHOTS" -name '*.png' | wc -l) screenshots in $VD_SHOTS"
[ -f "$xml" ] || { echo "e2e: no results (exit status $rc)"; [ $rc -ne 0 ] || rc=1; }
exit $rc
