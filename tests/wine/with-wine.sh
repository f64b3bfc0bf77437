#!/usr/bin/env bash
# Runs a command with a Wine prefix of the build tree and an X display, then stops everything
# it started (its own Xvfb and the prefix's Wine server), also when the command fails or the
# script is interrupted.
#
#   tests/wine/with-wine.sh [--prefix DIR] [--display-from-env] -- COMMAND [ARGS...]
#
# The prefix (default build/win64/wineprefix) is made once and reused. It is set up with
# Wine's virtual desktop of 1280x1024, so every window gets its frame and the screen has a task
# bar with a notification area. Without --display-from-env a private Xvfb is started on a free
# display number; with it, $DISPLAY is used as it is (for running the program on the user's
# own display). Inside COMMAND, $WINE is the Wine loader to use and $WINEPREFIX, $DISPLAY are
# set; `$WINE prog.exe` runs a Windows program.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
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

# The Wine loader: Debian's wine64 package installs it outside PATH.
WINE=""
for candidate in /usr/lib/wine/wine64 "$(command -v wine64 || true)" "$(command -v wine || true)"; do
  if [ -n "$candidate" ] && [ -x "$candidate" ]; then WINE=$candidate; break; fi
done
[ -n "$WINE" ] || { echo "with-wine: no Wine found (apt-get install wine64)" >&2; exit 3; }
WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || echo wineserver)
export WINE WINESERVER
export WINEPREFIX="$prefix"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}

xvfb_pid=""
cleanup() {
  local rc=$?
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" >/dev/null 2>&1 || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  exit $rc
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ "$use_env_display" = 0 ]; then
  command -v Xvfb >/dev/null || { echo "with-wine: Xvfb missing (apt-get install xvfb)" >&2; exit 3; }
  # A free display number: no lock file and no socket.
  for n in $(seq 90 190); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
  done
  [ -n "${display:-}" ] || { echo "with-wine: no free display number" >&2; exit 3; }
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=$display
  for _ in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
  done
fi

# Make the prefix once (seconds), with the virtual desktop, and keep it between runs.
if [ ! -f "$WINEPREFIX/.vuedeck-ready" ]; then
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1 || true
  "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
  "$WINESERVER" -w >/dev/null 2>&1 || true
  touch "$WINEPREFIX/.vuedeck-ready"
fi

set +e
"$@"
rc=$?
set -e
exit $rc
