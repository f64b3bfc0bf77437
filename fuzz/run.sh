#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (AddressSanitizer and UBSan on) and runs each
# for a while; exits non-zero when a target crashes, hangs, leaks or breaks one of its checks.
#
#   fuzz/run.sh [seconds-per-target] [target ...]     (default 60 seconds; every target)
#
# Targets: settings_ini (the settings file at start, the options' load and save, the exit),
# ignore_list (the ignore list over two runs). Seeds are in fuzz/corpus/<target>/ (the unit
# tests replay them: tests/unit/stored_files_corpus_test.cpp); what a run finds is kept in
# <build>/corpus/<target>/ and reused by the next run; a failing input is saved as
# <build>/artifacts/<target>-crash-... (or -timeout-, -leak-, -oom-). Reproduce one with
#   <build>/fuzz_<target> <file>
# The build folder is build/fuzz, or VD_BUILD_FUZZ. Needs Debian's clang, cmake, ninja-build
# and libclang-rt-14-dev (the libFuzzer runtime; clang's package does not always bring it):
# missing ones are installed with apt-get when run as root or with sudo.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${VD_BUILD_FUZZ:-$root/build/fuzz}
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(settings_ini ignore_list)
case "$seconds" in
  '' | *[!0-9]*) echo "usage: $0 [seconds-per-target] [target ...]" >&2; exit 2 ;;
esac

packages=(clang cmake ninja-build libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" != 0 ] && sudo=(sudo)
  echo "fuzz: installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq &&
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" \
      >/dev/null || { echo "fuzz: installing ${missing[*]} failed" >&2; exit 1; }
fi

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null || exit 1
cmake --build "$build" -j2 || { echo "fuzz: the build failed" >&2; exit 1; }

mkdir -p "$build/artifacts"
failed=()
for target in "${targets[@]}"; do
  binary="$build/fuzz_$target"
  [ -x "$binary" ] || { echo "fuzz: no target $target" >&2; exit 2; }
  mkdir -p "$build/corpus/$target"
  dict=()
  [ -f "fuzz/$target.dict" ] && dict=(-dict="fuzz/$target.dict")
  echo "fuzz: $target for ${seconds}s"
  # The program's own start reads the settings file some sixty times: inputs are kept below
  # 64 KiB so that a run covers many of them; a line of megabytes is a unit test's job.
  if ! "$binary" "$build/corpus/$target" "fuzz/corpus/$target" "${dict[@]}" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
      >"$build/$target.log" 2>&1; then
    failed+=("$target")
    echo "fuzz: $target FAILED; see $build/$target.log and $build/artifacts/"
    grep -m1 -A30 -E '^==[0-9]+==ERROR|broken promise|SUMMARY|ALARM|runtime error' \
      "$build/$target.log" || tail -30 "$build/$target.log"
  else
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/$target.log" | tail -2
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failed: ${failed[*]}"
  exit 1
fi
echo "fuzz: no target failed"
