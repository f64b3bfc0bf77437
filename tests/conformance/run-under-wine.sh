#!/usr/bin/env bash
# Runs the conformance suite built for Windows under Wine, with the build tree's Wine prefix
# and a private X display, both stopped afterwards; the exit code is the suite's.
#   tests/conformance/run-under-wine.sh [--build DIR] [-- GTEST_ARGS...]   (DIR: build/win64)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ "${1:-}" = --build ]; then build=$2; shift 2; fi
[ "${1:-}" != -- ] || shift
exe="$(cd "${build:-$root/build/win64}" && pwd)/conformance_win32.exe"
[ -f "$exe" ] || { echo "run-under-wine: $exe not built" >&2; exit 2; }
exec "$root/scripts/with-wine.sh" --prefix "$(dirname "$exe")/wineprefix" -- \
  bash -c '"$WINE" "$0" --gtest_color=no "$@"' "$exe" "$@"
