#!/usr/bin/env bash
# Builds VUEDECK and runs every test, on a Debian machine (12 or later):
#   1. installs what is missing with apt-get (as root, or through sudo);
#   2. builds the native tree (build/native: unit and conformance tests against the in-memory
#      seams) and the Windows tree (build/win64: vuedeck.exe, the Win32 tests, the helpers);
#   3. checks the formatting of the C++ files (scripts/check-format.sh), runs the native tests
#      with ctest, the Win32 conformance suite under Wine (when
#      tests/conformance/run-under-wine.sh is there) and the end-to-end tests under Wine;
#   4. prints a summary; the exit status is non-zero when anything failed.
#
#   scripts/run-tests.sh [--install-only] [--no-install]
#
# VD_BUILD_NATIVE and VD_BUILD_WIN64 name other build trees (default build/native and
# build/win64); the Wine prefix is the Windows tree's wineprefix folder.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
native=${VD_BUILD_NATIVE:-$root/build/native}
win64=${VD_BUILD_WIN64:-$root/build/win64}
results="$root/build/test-results"

install=1
install_only=0
for arg in "$@"; do
  case "$arg" in
    --install-only) install_only=1 ;;
    --no-install) install=0 ;;
    *) echo "usage: $0 [--install-only] [--no-install]" >&2; exit 2 ;;
  esac
done

# Everything the two builds and the Wine runs need. googletest brings the sources the Windows
# tree builds GoogleTest from; libgtest-dev the native library; the mingw package both the
# posix and win32 thread variants of the cross compiler.
packages=(cmake ninja-build g++ googletest libgtest-dev g++-mingw-w64-x86-64 wine64 xvfb clang-format)

install_missing() {
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    echo "run-tests: every needed package is installed"
    return 0
  fi
  local sudo=()
  if [ "$(id -u)" != 0 ]; then
    command -v sudo >/dev/null || { echo "run-tests: need root or sudo to install: ${missing[*]}" >&2; return 1; }
    sudo=(sudo)
  fi
  echo "run-tests: installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq &&
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

if [ $install = 1 ]; then
  install_missing || { echo "run-tests: installing the packages failed" >&2; exit 1; }
fi
[ $install_only = 1 ] && exit 0

# ---- Stages ------------------------------------------------------------------------------
stage_names=()
stage_states=()
stage_results=()
run_stage() {  # NAME RESULTS-DIR COMMAND...: runs COMMAND, notes "ok" or "FAILED" with its time
  local name=$1 dir=$2; shift 2
  local started=$SECONDS
  echo
  echo "==== $name"
  if "$@"; then
    stage_states+=("ok ($((SECONDS - started)) s)")
  else
    stage_states+=("FAILED ($((SECONDS - started)) s)")
  fi
  stage_names+=("$name")
  stage_results+=("$dir")
  [ "${stage_states[-1]:0:2}" = ok ]
}
skip_stage() {  # NAME REASON
  stage_names+=("$1")
  stage_states+=("skipped: $2")
  stage_results+=("")
}

# The Windows path Wine gives a host path (its drive Z: is the host's /).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

build_native() {
  cmake -S "$root" -B "$native" -G Ninja >/dev/null && cmake --build "$native" -j2
}
build_win64() {
  cmake -S "$root" -B "$win64" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    >/dev/null && cmake --build "$win64" -j2
}
native_tests() {
  GTEST_OUTPUT="xml:$results/native/" ctest --test-dir "$native" --output-on-failure -j2
}
wine_conformance() {
  GTEST_OUTPUT="xml:$(winpath "$results/wine")\\" timeout --kill-after=20 900 \
    bash "$root/tests/conformance/run-under-wine.sh" --build "$win64"
}
e2e_tests() {
  bash "$root/tests/e2e/run.sh" --build "$win64" --xml "$results/e2e/e2e_tests.xml"
}

rm -rf "$results"
mkdir -p "$results/native" "$results/wine" "$results/e2e"

native_built=0
win64_built=0
run_stage "formatting (clang-format)" "" bash "$root/scripts/check-format.sh"
run_stage "native build ($native)" "" build_native && native_built=1
run_stage "Windows build ($win64)" "" build_win64 && win64_built=1

if [ $native_built = 1 ]; then
  run_stage "native tests (ctest)" "$results/native" native_tests
else
  skip_stage "native tests (ctest)" "the native build failed"
fi
if [ ! -f "$root/tests/conformance/run-under-wine.sh" ]; then
  skip_stage "Win32 conformance under Wine" "tests/conformance/run-under-wine.sh is not there"
elif [ $win64_built = 1 ]; then
  run_stage "Win32 conformance under Wine" "$results/wine" wine_conformance
else
  skip_stage "Win32 conformance under Wine" "the Windows build failed"
fi
if [ $win64_built = 1 ]; then
  run_stage "end-to-end tests under Wine" "$results/e2e" e2e_tests
else
  skip_stage "end-to-end tests under Wine" "the Windows build failed"
fi

# ---- Summary -----------------------------------------------------------------------------
# Test cases come from the GoogleTest result files. A stage that failed without a failed case
# in its files (a build, a crash, a time-out) counts as one failure: a failure never reads 0.
count_cases() {  # DIR: prints "passed failed" of the result files in DIR
  local p=0 fl=0 f t n sk
  for f in "$1"/*.xml; do
    [ -f "$f" ] || continue
    read -r t n < <(sed -n 's/.*<testsuites tests="\([0-9]*\)" failures="\([0-9]*\)".*/\1 \2/p' "$f" | head -n1)
    sk=$(grep -c '<skipped' "$f" || true)
    p=$((p + ${t:-0} - ${n:-0} - sk))
    fl=$((fl + ${n:-0}))
  done
  echo "$p $fl"
}
passed=0
failed=0
any_failed=0
echo
echo "==== Summary"
for i in "${!stage_names[@]}"; do
  cases=""
  p=0 fl=0
  if [ -n "${stage_results[$i]}" ]; then
    read -r p fl < <(count_cases "${stage_results[$i]}")
    cases=" - $p passed, $fl failed"
  fi
  case "${stage_states[$i]}" in
    FAILED*) any_failed=1; [ "$fl" = 0 ] && fl=1 ;;
  esac
  passed=$((passed + p))
  failed=$((failed + fl))
  printf '  %-48s %s%s\n' "${stage_names[$i]}" "${stage_states[$i]}" "$cases"
done
[ -d "$win64/e2e-shots" ] && echo "  screenshots: $win64/e2e-shots"
echo "run-tests: $passed passed, $failed failed"
[ $any_failed = 0 ]
