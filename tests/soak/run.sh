#!/usr/bin/env bash
# Builds the long soak (tests/soak: the random walk of SoakWalk.h as a program of its own, with
# AddressSanitizer and UBSan) and runs it; every argument goes to the soak:
#
#   tests/soak/run.sh [--hours H] [--steps N] [--seed S] [--max-time-ms M] [--shrink]
#
# e.g. `tests/soak/run.sh --hours 8` (eight hours of virtual time, a new seed, printed), or
# `tests/soak/run.sh --seed 42 --steps 5000 --max-time-ms 1000 --shrink` to replay and shrink
# a walk the short soak in the unit tests reported. The build folder is build/soak, or
# VD_BUILD_SOAK; VD_SOAK_SANITIZE=OFF builds without the sanitizers (faster, finds less).
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
build=${VD_BUILD_SOAK:-$root/build/soak}
cmake -S tests/soak -B "$build" -G Ninja -DVD_SOAK_SANITIZE="${VD_SOAK_SANITIZE:-ON}" \
  >/dev/null || exit 1
cmake --build "$build" -j2 >/dev/null || {
  cmake --build "$build" -j2
  echo "soak: the build failed" >&2
  exit 1
}
exec "$build/soak" "$@"
