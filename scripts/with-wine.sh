#!/usr/bin/env bash
# Runs a command with a Wine prefix of the build tree and an X display, then stops everything
# it started (its own Xvfb and the prefix's Wine server), also when the command fails or the
# script is interrupted.
#
#   scripts/with-wine.sh [--prefix DIR] [--display-from-env] -- COMMAND [ARGS...]
#
# The prefix (default build/win64/wineprefix) is made once and reused. It is set up with
# Wine's virtual desktop of 1280x1024, so every window gets its frame and the screen has a task
# bar with a notification area. Without --display-from-env a private Xvfb is started on a free
# display number; with it, $DISPLAY is used as it is (for running the program on the user's
# own display). Inside COMMAND, $WINE is the Wine loader to use and $WINEPREFIX, $DISPLAY are
# set; `$WINE prog.exe` runs a Windows program. With the private Xvfb, $VD_XVFB_SCREEN names
# the file in which Xvfb keeps the screen (an XWD image, always current): screenshots are read
# from it, as it is exactly what the display shows. The exit status is COMMAND's.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
prefix="$root/build/win64/wineprefix"
use_env_display=0
while [ $# -gt 0 ]; do
  case "$1" in
    --prefix) prefix=$2; shift 2 ;;
    --display-from-env) use_env_display=1; shift ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--prefix DIR] [--display-from-env] -- COMMAND..." >&2; exit 2; }

say() { echo "with-wine: $*" >&2; }

# The Wine loader: Debian's wine64 package installs it outside PATH.
WINE=""
for candidate in /usr/lib/wine/wine64 "$(command -v wine64 || true)" "$(command -v wine || true)"; do
  if [ -n "$candidate" ] && [ -x "$candidate" ]; then WINE=$candidate; break; fi
done
[ -n "$WINE" ] || { say "no Wine found (apt-get install wine64)"; exit 3; }
WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || echo wineserver)
export WINE WINESERVER
# Wine refuses a relative prefix path.
mkdir -p "$prefix"
WINEPREFIX=$(cd "$prefix" && pwd)
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}

xvfb_pid=""
scratch=$(mktemp -d)
cleanup() {
  local rc=$?
  trap - EXIT INT TERM
  # Only this prefix's server: other prefixes (other runs) are left alone.
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" >/dev/null 2>&1 || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$scratch"
  exit $rc
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

if [ "$use_env_display" = 0 ]; then
  command -v Xvfb >/dev/null || { say "Xvfb missing (apt-get install xvfb)"; exit 3; }
  # Xvfb picks a free display number itself and writes it to fd 3 once it accepts clients:
  # two runs started at the same moment can never end up on one display.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -fbdir "$scratch" 3>"$scratch/display" \
    >"$scratch/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    [ "$(wc -l <"$scratch/display")" -ge 1 ] && break  # the whole line is there
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
      xvfb_pid=""
      say "Xvfb did not start:"; cat "$scratch/xvfb.log" >&2; exit 3
    fi
    sleep 0.1
  done
  number=$(head -n1 "$scratch/display" | tr -d '[:space:]')
  [ -n "$number" ] || { say "Xvfb gave no display number"; exit 3; }
  export DISPLAY=":$number"
  export VD_XVFB_SCREEN="$scratch/Xvfb_screen0"
else
  [ -n "${DISPLAY:-}" ] || { say "--display-from-env but DISPLAY is not set"; exit 2; }
  unset VD_XVFB_SCREEN  # no screen file on a display this script did not start
fi

# Make the prefix once (seconds), with the virtual desktop, and keep it between runs.
if [ ! -f "$WINEPREFIX/.vuedeck-ready" ]; then
  # Making a fresh prefix now and then fails on a busy machine ("could not load kernel32.dll"
  # while its first server is still settling): start over from an empty prefix, three tries.
  booted=0
  for attempt in 1 2 3; do
    if "$WINE" wineboot -i >"$scratch/wineboot.log" 2>&1; then booted=1; break; fi
    say "wineboot failed (try $attempt of 3):"; tail -5 "$scratch/wineboot.log" >&2
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX"
    sleep 1
  done
  [ "$booted" = 1 ] || { say "cannot make the Wine prefix $WINEPREFIX"; exit 3; }
  "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
  "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f \
    >/dev/null 2>&1 || { say "cannot set the virtual desktop in $WINEPREFIX"; exit 3; }
  # The registry reaches the disk when the server ends; the next program starts with it.
  "$WINESERVER" -w >/dev/null 2>&1 || true
  touch "$WINEPREFIX/.vuedeck-ready"
fi

set +e
"$@"
rc=$?
set -e
exit $rc
