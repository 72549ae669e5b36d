# shellcheck shell=bash
# Wine environment for running Tirelmo's Win32 builds on Linux.
#
# Source this file; it defines no side effects beyond the exports below until one of the
# functions is called:
#
#   . scripts/wine-env.sh
#   wine_env_use /path/to/prefix      # export WINEPREFIX and friends
#   wine_prefix_ensure                # create the prefix once (wineboot -i, no crash dialog)
#   wine_server_start                 # persistent wineserver + services, outside any pipes
#   ...
#   wine_server_stop                  # stop exactly this prefix's wineserver
#
# The exports keep Wine quiet and 32-bit: WINEARCH=win32 because Tirelmo.exe is a 32-bit
# program, WINEDEBUG=-all because Wine's fixme chatter buries our own output, and
# WINEDLLOVERRIDES disables Mono and Gecko so that a fresh prefix never offers to download them.

export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="

# wine_env_use PREFIX
#   Export WINEPREFIX=PREFIX (made absolute). Every later wine/wineserver call of this shell
#   then talks to that prefix only.
wine_env_use() {
  local prefix=${1:?wine_env_use: prefix folder expected}
  mkdir -p "$(dirname "$prefix")" || return 1
  case $prefix in
    /*) ;;
    *) prefix="$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")" ;;
  esac
  export WINEPREFIX=$prefix
}

# wine_have_tools
#   True when wine, wineboot and wineserver are on PATH. Prints what is missing otherwise.
wine_have_tools() {
  local t missing=""
  for t in wine wineboot wineserver; do
    command -v "$t" >/dev/null 2>&1 || missing="$missing $t"
  done
  if [ -n "$missing" ]; then
    echo "missing:$missing" >&2
    return 1
  fi
}

# wine_prefix_ensure [LOGFILE]
#   Create $WINEPREFIX once: wineboot -i, then switch off the crash dialog so that a crashing
#   program ends instead of waiting for a click nobody makes, then wait until that first
#   wineserver has shut down (the registry is then on disk). A marker file records that all
#   steps finished; a half-made prefix (interrupted earlier) is removed and made again.
#   All Wine output goes to LOGFILE (default /dev/null), never to the caller's stdout, so no
#   Wine process keeps a caller's pipe open. Follow with wine_server_start.
#
#   Measured with Wine 8: a persistent server started *before* wineboot -i ends up with two
#   services.exe, RpcSs never starts, and every later desktop start (explorer.exe) then
#   waits 10 s for it. Booting with a throw-away server and starting the persistent one
#   afterwards gives one services.exe and desktops that start in well under a second.
wine_prefix_ensure() {
  local log=${1:-/dev/null}
  : "${WINEPREFIX:?wine_prefix_ensure: call wine_env_use first}"
  local marker="$WINEPREFIX/.tirelmo-prefix-ready"
  [ -f "$marker" ] && return 0
  if [ -e "$WINEPREFIX" ]; then
    wine_server_stop
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  # setsid -w: in a shell with job control a command leads its own process group, and plain
  # setsid would then fork and return before the command finished.
  if ! setsid -w wineboot -i </dev/null >>"$log" 2>&1; then
    echo "wineboot -i failed for $WINEPREFIX (see $log)" >&2
    return 1
  fi
  if ! setsid -w wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      </dev/null >>"$log" 2>&1; then
    echo "could not switch off the crash dialog in $WINEPREFIX (see $log)" >&2
    return 1
  fi
  wineserver -w </dev/null >>"$log" 2>&1
  touch "$marker"
}

# wine_server_start [LOGFILE]
#   Start this prefix's wineserver in persistent mode (-p) and Wine's services (wineboot
#   without -i), all detached from the caller's stdin/stdout/stderr and in their own session.
#   Reason: ctest (and any caller reading our output through a pipe) waits until every process
#   holding the pipe has exited; Wine's services live as long as the server does, so a server
#   started inside a test would hang ctest. Safe to call when the server already runs.
wine_server_start() {
  local log=${1:-/dev/null}
  : "${WINEPREFIX:?wine_server_start: call wine_env_use first}"
  # Services already running: the server is up, and a second wineboot would start a second
  # services.exe (see wine_prefix_ensure).
  [ -n "$(wine_prefix_pids services.exe)" ] && return 0
  setsid -w wineserver -p </dev/null >>"$log" 2>&1
  setsid -w wine wineboot </dev/null >>"$log" 2>&1
}

# wine_prefix_pids IMAGE
#   Print the PIDs (one a line) of the live processes of $WINEPREFIX whose image name is
#   IMAGE (for example services.exe; compared without regard to case). Wine names each
#   process after its executable and every Wine process carries WINEPREFIX in its
#   environment, so processes of other prefixes (other users' test runs) are never listed.
#   Zombies are left out.
wine_prefix_pids() {
  local want=${1,,} p comm state
  for p in /proc/[0-9]*; do
    comm=$(cat "$p/comm" 2>/dev/null) || continue
    [ "${comm,,}" = "$want" ] || continue
    state=$(sed 's/.*) //' "$p/stat" 2>/dev/null | cut -d' ' -f1)
    [ "$state" = Z ] && continue
    # grep without -q reads to the end: an early exit would break tr's pipe, and under
    # pipefail the whole test would read as "no match".
    tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -xF "WINEPREFIX=$WINEPREFIX" >/dev/null || continue
    echo "${p#/proc/}"
  done
}

# wine_server_stop
#   Stop the wineserver of $WINEPREFIX (and with it every Wine process of this prefix) and
#   wait until it is gone. Other prefixes, and other people's servers, are not touched.
wine_server_stop() {
  : "${WINEPREFIX:?wine_server_stop: call wine_env_use first}"
  [ -d "$WINEPREFIX" ] || return 0
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
}

# wine_unix_path WINDOWS_PATH
#   Print the Unix path of a Windows path of this prefix.
wine_unix_path() {
  winepath -u "$1" </dev/null 2>/dev/null | tr -d '\r'
}

# wine_appdata_windows
#   Print %APPDATA% as the Windows programs of this prefix see it (C:\users\<name>\...).
#   The user name is Wine's choice (the Unix user, or $USER when set), so ask rather than guess.
wine_appdata_windows() {
  wine cmd /c echo '%APPDATA%' </dev/null 2>/dev/null | tr -d '\r' | tail -n 1
}

# Faces whose missing glyphs (Chinese ones) Wine should take from WenQuanYi Micro Hei: the
# faces the program, its dialogs and Wine's menus, tooltips and captions ask for, and the
# faces Wine draws with on Debian when those are not installed (DejaVu, URW). Only the ones
# installed here are linked (wine_cjk_fonts_reg): Wine uses a system link of a face that is
# not installed as the face itself, and Latin text would then be drawn in WenQuanYi too.
WINE_CJK_LINKED_FACES=(
  "DejaVu Sans" "DejaVu Serif" "DejaVu Sans Mono" "Nimbus Sans" "Nimbus Roman" "Nimbus Mono PS"
  "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS Sans Serif" "Segoe UI"
  "Segoe Print" "Buxton Sketch" "Trebuchet MS" "Arial" "Times New Roman" "Courier New"
  "Verdana" "Bradley Hand ITC" "Consolas"
)
# Chinese faces that are not installed: the replacement makes the name mean WenQuanYi Micro
# Hei. "Microsoft YaHei" is left out on purpose: the English pages use it for project names,
# legends and score counts, which then keep the Latin face Wine falls back to (linked above
# for their Chinese text) and so stay pixel-identical to the page references.
WINE_CJK_REPLACED_FACES=("PMingLiU" "SimSun" "NSimSun" "SimHei" "MingLiU")
WINE_CJK_FONT_FILE="wqy-microhei.ttc"
WINE_CJK_FONT_FACE="WenQuanYi Micro Hei"

# _wine_reg_multi_sz TEXT
#   Print ASCII TEXT as the hex(7) data of a one-string REG_MULTI_SZ value in a REGEDIT4 file,
#   where multi-strings are single-byte text that the import widens.
_wine_reg_multi_sz() {
  printf '%s' "$1" | od -An -v -tx1 | tr -s ' \n' ' ' | sed 's/^ //; s/ $//; s/ /,/g; s/$/,00,00/'
}

# wine_cjk_fonts_reg
#   Print the .reg text that gives $WINEPREFIX's programs Chinese glyphs for every face above.
wine_cjk_fonts_reg() {
  local face link installed
  link=$(_wine_reg_multi_sz "$WINE_CJK_FONT_FILE,$WINE_CJK_FONT_FACE")
  # Wine names a fallback face by its full name ("DejaVu Sans Bold" for a bold "Segoe Print"),
  # and looks the link up by that name: families and full names both count.
  installed=$( (fc-list : family; fc-list : fullname) 2>/dev/null | sed 's/^:\{0,1\}fullname=//' | tr ',' '\n')
  printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for face in "${WINE_CJK_REPLACED_FACES[@]}"; do
    printf '"%s"="%s"\r\n' "$face" "$WINE_CJK_FONT_FACE"
  done
  # The key is emptied first, so that it holds exactly the links for the faces installed now.
  printf '\r\n[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
  printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
  for face in "${WINE_CJK_LINKED_FACES[@]}"; do
    for style in "" " Bold" " Italic" " Oblique" " Bold Italic" " Bold Oblique"; do
      grep -xF "$face$style" <<<"$installed" >/dev/null || continue
      printf '"%s"=hex(7):%s\r\n' "$face$style" "$link"
    done
  done
}

# _wine_cjk_font_installed
#   True when the system's fonts (where Wine finds them, through fontconfig) hold the CJK font.
_wine_cjk_font_installed() {
  if command -v fc-list >/dev/null 2>&1; then
    fc-list 2>/dev/null | grep -F "/$WINE_CJK_FONT_FILE:" >/dev/null
  else
    [ -f "/usr/share/fonts/truetype/wqy/$WINE_CJK_FONT_FILE" ]
  fi
}

# wine_prefix_cjk_fonts [LOGFILE]
#   Make Chinese text readable in $WINEPREFIX: one `wine reg import` of wine_cjk_fonts_reg.
#   Skipped when the prefix already holds exactly that text (a copy kept beside the prefix's
#   registry), so calling it before every start costs nothing. Needs the font package
#   fonts-wqy-microhei (scripts/install-deps.sh run); without it, warns and changes nothing.
wine_prefix_cjk_fonts() {
  local log=${1:-/dev/null}
  : "${WINEPREFIX:?wine_prefix_cjk_fonts: call wine_env_use first}"
  local done_file="$WINEPREFIX/.tirelmo-cjk-fonts.reg" new="$WINEPREFIX/.tirelmo-cjk-fonts.reg.new"
  if ! _wine_cjk_font_installed; then
    echo "warning: $WINE_CJK_FONT_FILE not installed (fonts-wqy-microhei): Chinese text shows as boxes" >&2
    return 0
  fi
  wine_cjk_fonts_reg >"$new" || return 1
  if cmp -s "$new" "$done_file"; then
    rm -f "$new"
    return 0
  fi
  if ! setsid -w wine reg import "$(winepath -w "$new" 2>/dev/null | tr -d '\r')" \
      </dev/null >>"$log" 2>&1; then
    rm -f "$new"
    echo "could not import the CJK font settings into $WINEPREFIX (see $log)" >&2
    return 1
  fi
  # reg import also ends with 0 on a file it did not understand: read one value back.
  if ! wine reg query 'HKCU\Software\Wine\Fonts\Replacements' /v "${WINE_CJK_REPLACED_FACES[0]}" \
      </dev/null 2>>"$log" | grep -F "$WINE_CJK_FONT_FACE" >/dev/null; then
    rm -f "$new"
    echo "the CJK font links did not arrive in $WINEPREFIX (see $log)" >&2
    return 1
  fi
  mv "$new" "$done_file"
}
