#!/usr/bin/env bash
# Runs the end-to-end tests (e2e_tests.exe) under Wine on a private Xvfb. Builds nothing: build
# the targets vuedeck, winmaker, screenshot and e2e_tests of the Windows tree first.
#
#   tests/e2e/run.sh [--build DIR] [--prefix DIR] [--xml FILE] [-- E2E_TESTS_ARGS...]
#
#   --build DIR   the Windows build tree (default build/win64)
#   --prefix DIR  the Wine prefix (default DIR/wineprefix of the build tree)
#   --xml FILE    where the results go as GoogleTest XML (default DIR/e2e-results.xml)
#   after --       arguments for e2e_tests.exe, e.g. --gtest_filter='PagerStartup.*'
#
# The program under test is DIR/vuedeck.exe unless VD_EXE names another one. Screenshots land
# in DIR/e2e-shots (one PNG a step, earlier ones are removed first), each test's scratch
# folder in DIR/e2e-scratch. The exit status is the tests' (non-zero when any failed). The
# whole run is limited to VD_E2E_TIMEOUT seconds (default 900).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build="$root/build/win64"
prefix=""
xml=""
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
prefix=${prefix:-$build/wineprefix}
xml=${xml:-$build/e2e-results.xml}
case "$xml" in /*) ;; *) xml="$PWD/$xml" ;; esac

tests_exe="$build/e2e_tests.exe"
[ -f "$tests_exe" ] || { echo "e2e: $tests_exe missing: build the target e2e_tests first" >&2; exit 2; }
export VD_EXE=${VD_EXE:-$build/vuedeck.exe}
export VD_WINMAKER=${VD_WINMAKER:-$build/winmaker.exe}
export VD_SHOTS="$build/e2e-shots"
export VD_SCRATCH="$build/e2e-scratch"
for f in "$VD_EXE" "$VD_WINMAKER"; do
  [ -f "$f" ] || { echo "e2e: $f missing: build it first" >&2; exit 2; }
done
mkdir -p "$VD_SHOTS"
rm -f "$VD_SHOTS"/*.png "$xml"

# The Windows path Wine gives a host path (its drive Z: is the host's /).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

echo "e2e: testing $VD_EXE"
set +e
timeout --kill-after=20 "${VD_E2E_TIMEOUT:-900}" \
  "$root/tests/wine/with-wine.sh" --prefix "$prefix" -- \
  bash -c 'exec "$WINE" "$@"' e2e "$tests_exe" "--gtest_output=xml:$(winpath "$xml")" "$@"
rc=$?
set -e
[ $rc -eq 124 ] && echo "e2e: stopped after ${VD_E2E_TIMEOUT:-900} s" >&2

shots=$(find "$VD_SHOTS" -name '*.png' | wc -l)
echo "e2e: $shots screenshots in $VD_SHOTS"
if [ -f "$xml" ]; then
  # The totals of the root element: tests="N" failures="F" disabled="D" errors="E".
  read -r total failures < <(sed -n 's/.*<testsuites tests="\([0-9]*\)" failures="\([0-9]*\)".*/\1 \2/p' "$xml" | head -n1)
  skipped=$(grep -c '<skipped' "$xml" || true)
  echo "e2e: $((total - failures - skipped)) passed, $failures failed, $skipped skipped"
else
  echo "e2e: no results (exit status $rc)"
  [ $rc -ne 0 ] || rc=1
fi
exit $rc
