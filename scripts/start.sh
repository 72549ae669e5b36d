#!/usr/bin/env bash
# Build Tirelmo for Windows and start it under Wine.
#
#   scripts/start.sh [--virtual-display] [--launcher]
#
#   --virtual-display  start a private Xvfb display (with openbox) when $DISPLAY is not set;
#                      the script prints how to take a screenshot of it
#   --launcher         start through Vornel.exe, the way an installed copy starts
#
# Installs what is missing (MinGW-w64, Wine with wine32, Xvfb, xdotool, ImageMagick), builds
# the program folder build/win32/program, and runs it on the display in $DISPLAY. The Wine
# prefix lives in ${TIRELMO_WINEPREFIX:-~/.local/share/tirelmo/wine}; Tirelmo keeps its data
# in %APPDATA%\Tirelmo inside it. Safe to rerun: nothing is rebuilt or reinstalled that is
# already there.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
virtual=0
launcher=0
for arg in "$@"; do
  case $arg in
    --virtual-display) virtual=1 ;;
    --launcher) launcher=1 ;;
    -h|--help) sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "start: unknown option '$arg'" >&2; exit 2 ;;
  esac
done

"$root/scripts/install-deps.sh" win32 e2e

cd "$root"
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Tirelmo Vornel art

started_display=()
cleanup() {
  local pid
  for pid in "${started_display[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  if [ $virtual -eq 0 ]; then
    cat >&2 <<'MSG'
start: no display. Tirelmo is a windowed program and needs an X display:
  - on a desktop, run this script from a terminal of that desktop;
  - over ssh, use "ssh -X" or start a virtual display yourself, e.g.
      Xvfb :5 -screen 0 1280x1024x24 & DISPLAY=:5 openbox & export DISPLAY=:5
  - or let this script start one: scripts/start.sh --virtual-display
MSG
    exit 1
  fi
  n=50
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  started_display+=($!)
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  started_display+=($!)
  echo "start: virtual display $DISPLAY; screenshot with: DISPLAY=$DISPLAY import -window root shot.png"
fi

. "$root/scripts/wine-env.sh"
wine_env_use "${TIRELMO_WINEPREFIX:-$HOME/.local/share/tirelmo/wine}"
echo "start: Wine prefix $WINEPREFIX (first use takes a few seconds)"
wine_prefix_ensure "$root/build/win32/wine-start.log"
wine_prefix_cjk_fonts "$root/build/win32/wine-start.log"

cd "$root/build/win32/program"
if [ $launcher -eq 1 ]; then
  wine Vornel.exe
  echo "start: Vornel started Tirelmo; waiting until it ends"
  wineserver -w
  exit 0
fi
set +e
wine 'bin\Tirelmo.exe'
code=$?
set -e
echo "start: Tirelmo ended with exit code $code"
exit $code
