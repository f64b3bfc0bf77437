#!/usr/bin/env bash
# Runs clang-tidy (the checks of .clang-tidy) over the program's portable sources under src/,
# with the compile commands of the native tree (built first when missing). Exits non-zero on
# any finding.
#
#   scripts/tidy.sh [file ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
native=${VD_BUILD_NATIVE:-$root/build/native}
command -v clang-tidy >/dev/null || { echo "tidy: clang-tidy is not installed" >&2; exit 2; }
if [ ! -f "$native/compile_commands.json" ]; then
  cmake -S "$root" -B "$native" -G Ninja >/dev/null
fi
if [ $# -gt 0 ]; then
  files=("$@")
else
  # The sources the native tree compiles: everything under src/ but the Win32 sides of the
  # seams and the program entry, which only the MinGW tree builds.
  mapfile -t files < <(git ls-files 'src/*.cpp' | grep -v -e '/win32/' -e '^src/app/')
fi
status=0
for f in "${files[@]}"; do
  clang-tidy --quiet -p "$native" "$f" 2>/dev/null || status=1
done
[ $status = 0 ] && echo "tidy: ${#files[@]} files clean"
exit $status
