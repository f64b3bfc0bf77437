#!/usr/bin/env bash
# Runs the end-to-end tests (e2e_tests.exe) under Wine on a private Xvfb. Builds nothing: build
# the targets vuedeck, winmaker, screenshot and e2e_tests of the Windows tree first.
#
#   tests/e2e/run.sh [--build DIR] [--prefix DIR] [--xml FILE] [-- E2E_TESTS_ARGS...]
#
#   --build DIR   the Windows build tree (default build/win64)
#   --prefix DIR  the Wine prefix (default DIR/wineprefix)
#   --xml FILE    the results as GoogleTest XML (default DIR/e2e-results.xml)
#   after --      arguments for e2e_tests.exe, e.g. --gtest_filter='Gestures.*'
#
# The program under test is DIR/vuedeck.exe unless VD_EXE names another. Screenshots go to
# DIR/e2e-shots (the last run's are removed first), each test's scratch folder to
# DIR/e2e-scratch. The whole run is limited to VD_E2E_TIMEOUT seconds (default 900); the exit
# status is the tests'.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/win64" prefix="" xml=""
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    --xml) xml=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "usage: $0 [--build DIR] [--prefix DIR] [--xml FILE] [-- E2E_TESTS_ARGS...]" >&2; exit 2 ;;
  esac
done
build=$(cd "$build" && pwd)
xml=$(realpath -m "${xml:-$build/e2e-results.xml}")
export VD_EXE=${VD_EXE:-$build/vuedeck.exe} VD_WINMAKER=${VD_WINMAKER:-$build/winmaker.exe}
export VD_SHOTS="$build/e2e-shots" VD_SCRATCH="$build/e2e-scratch"
for f in "$build/e2e_tests.exe" "$VD_EXE" "$VD_WINMAKER"; do
  [ -f "$f" ] || { echo "e2e: $f missing: build it first" >&2; exit 2; }
done
mkdir -p "$VD_SHOTS"
rm -f "$VD_SHOTS"/*.png "$xml"

echo "e2e: testing $VD_EXE"
rc=0
# Wine's drive Z: is the host's /.
timeout --kill-after=20 "${VD_E2E_TIMEOUT:-900}" \
  "$root/tests/wine/with-wine.sh" --prefix "${prefix:-$build/wineprefix}" -- \
  bash -c 'exec "$WINE" "$@"' e2e "$build/e2e_tests.exe" "--gtest_output=xml:Z:${xml//\//\\}" "$@" ||
  rc=$?
[ $rc -eq 124 ] && echo "e2e: stopped after ${VD_E2E_TIMEOUT:-900} s" >&2
echo "e2e: $(find "$VD_SHOTS" -name '*.png' | wc -l) screenshots in $VD_SHOTS"
[ -f "$xml" ] || { echo "e2e: no results (exit status $rc)"; [ $rc -ne 0 ] || rc=1; }
exit $rc
