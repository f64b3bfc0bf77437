#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (AddressSanitizer and UBSan on) and runs each
# for a while; exits non-zero when a target crashes, hangs, leaks or breaks one of its checks.
#
#   fuzz/run.sh [seconds-per-target] [target ...]     (default 60 seconds; every target)
#
# Targets: settings_ini, ignore_list. Seeds are in fuzz/corpus/<target>/ (the unit tests replay
# them); what a run finds is kept in <build>/corpus/<target>/, a failing input as
# <build>/artifacts/<target>-crash-... (reproduce: <build>/fuzz_<target> <file>). The build
# folder is build/fuzz, or VD_BUILD_FUZZ. Needs clang, cmake, ninja-build and libclang-rt-14-dev,
# installed with apt-get when missing (as root or through sudo).
set -uo pipefail
cd "$(dirname "$0")/.."
build=${VD_BUILD_FUZZ:-$PWD/build/fuzz}
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(settings_ini ignore_list)
case "$seconds" in '' | *[!0-9]*) echo "usage: $0 [seconds-per-target] [target ...]" >&2; exit 2 ;; esac

missing=()
for p in clang cmake ninja-build libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" != 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq && "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq "${missing[@]}" >/dev/null || { echo "fuzz: installing failed" >&2; exit 1; }
fi
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null &&
  cmake --build "$build" -j2 || { echo "fuzz: the build failed" >&2; exit 1; }

mkdir -p "$build/artifacts"
failed=()
for target in "${targets[@]}"; do
  mkdir -p "$build/corpus/$target"
  dict=()
  [ -f "fuzz/$target.dict" ] && dict=(-dict="fuzz/$target.dict")
  echo "fuzz: $target for ${seconds}s"
  # Inputs stay below 64 KiB: the start reads the settings file some sixty times.
  if "$build/fuzz_$target" "$build/corpus/$target" "fuzz/corpus/$target" "${dict[@]}" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix="$build/artifacts/$target-" >"$build/$target.log" 2>&1; then
    grep -E '^#[0-9]+.*DONE' "$build/$target.log" | tail -1
  else
    failed+=("$target")
    echo "fuzz: $target FAILED; see $build/$target.log"
    grep -m1 -A30 -E '^==[0-9]+==ERROR|broken promise|runtime error' "$build/$target.log"
  fi
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzz: failed: ${failed[*]}"; exit 1; }
echo "fuzz: no target failed"
