# shellcheck shell=bash
# End-to-end test library: runs the real Tirelmo.exe under Wine on a private X display.
#
# A test script looks like this:
#
#   #!/usr/bin/env bash
#   . "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
#   e2e_begin
#   e2e_fresh_profile
#   e2e_start_tirelmo
#   e2e_wait_window
#   e2e_assert_eq "Tirelmo - v2.3.3.0" "$(e2e_window_title "$E2E_WIN")" "window title"
#   e2e_close_window "$E2E_WIN"
#   e2e_wait_exit "$E2E_PID"
#   e2e_assert_eq 0 "$E2E_RC" "exit code"
#   e2e_pass
#
# Functions that can fail the test (waits, starts) report through globals (E2E_WIN, E2E_PID,
# E2E_RC) instead of printing, because a failure inside $(...) would only end the subshell.
# Functions that print are plain getters.
#
# Environment (all optional; ctest sets them, see CMakeLists.txt):
#   PROGRAM_DIR         folder with Vornel.exe and bin/Tirelmo.exe (default build/win32/program)
#   E2E_STATE_DIR       shared state of one test run: display, Wine prefix (default build/win32/e2e-state)
#   E2E_ARTIFACTS_ROOT  where each test keeps screenshots and, on failure, logs (default build/win32/e2e-artifacts)
#   E2E_TEST_NAME       name of the test (default: script name without "test_" and ".sh")
#   E2E_DISPLAY_BASE    first X display number tried (default 80)
#   E2E_KEEP_PREFIX=1   keep the Wine prefix when the environment is stopped (faster reruns)
#   E2E_KEEP_DATA=1     copy the data folders into the artefacts also when the test passes
#   E2E_READONLY_METHOD=probe-blocked  see e2e_make_readonly_dir

set -o pipefail

E2E_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_REPO_DIR=$(cd "$E2E_LIB_DIR/../.." && pwd)
# shellcheck source=scripts/wine-env.sh
. "$E2E_REPO_DIR/scripts/wine-env.sh"

: "${PROGRAM_DIR:=$E2E_REPO_DIR/build/win32/program}"
: "${E2E_STATE_DIR:=$(dirname "$PROGRAM_DIR")/e2e-state}"
: "${E2E_ARTIFACTS_ROOT:=$(dirname "$PROGRAM_DIR")/e2e-artifacts}"
: "${E2E_DISPLAY_BASE:=80}"
if [ -z "${E2E_TEST_NAME:-}" ]; then
  E2E_TEST_NAME=$(basename "$0" .sh)
  E2E_TEST_NAME=${E2E_TEST_NAME#test_}
fi
export PROGRAM_DIR E2E_STATE_DIR E2E_ARTIFACTS_ROOT

E2E_TIRELMO_EXE="$PROGRAM_DIR/bin/Tirelmo.exe"
E2E_VORNEL_EXE="$PROGRAM_DIR/Vornel.exe"
E2E_LOG_NAME="Tirelmo_v2.3.3_log.txt"
E2E_SETTINGS_NAME="tirelmo.i00"
# shellcheck disable=SC2034 # used by the test scripts
E2E_MAIN_TITLE="Tirelmo - v2.3.3.0"
E2E_SKIP=77                      # ctest SKIP_RETURN_CODE

E2E_PID=""                       # PID of the last program started by e2e_start_*/e2e_run
E2E_RC=""                        # exit code collected by e2e_wait_exit/e2e_run
E2E_WIN=""                       # X window id found by e2e_wait_window
E2E_STARTED_PIDS=()              # everything this test started, stopped at exit
E2E_SPAWN_SEQ=0
E2E_SHOT_SEQ=0
E2E_OWN_ENV=0                    # 1 when this test brought the environment up itself
E2E_COLLECT_DIRS=()              # extra folders copied into the artefacts on failure
E2E_ART=""                       # this test's artefacts folder
E2E_SCRATCH=""                   # this test's scratch folder (deleted at the next start)

# ---------------------------------------------------------------------------------------------
# Messages and failing

# e2e_info TEXT...
#   Print a progress line (to stderr, so that getters' output stays clean).
e2e_info() {
  echo "[e2e $E2E_TEST_NAME] $*" >&2
}

# e2e_fail TEXT...
#   Print "FAIL: TEXT" and end the test with exit code 1. The exit trap then takes a
#   screenshot, copies the log, the settings and a listing of the data folders into the
#   artefacts and stops whatever the test started.
e2e_fail() {
  echo "FAIL [$E2E_TEST_NAME]: $*" >&2
  exit 1
}

# e2e_skip REASON
#   End the test as skipped (exit 77) with the reason. Only for a machine that truly lacks
#   Wine or Xvfb: everything else that is missing is a failure.
e2e_skip() {
  echo "SKIP [$E2E_TEST_NAME]: $*" >&2
  exit "$E2E_SKIP"
}

# e2e_pass
#   End the test successfully.
e2e_pass() {
  e2e_info "PASS"
  exit 0
}

# ---------------------------------------------------------------------------------------------
# Tools and the shared environment (display, window manager, Wine prefix)

# e2e_require_tools
#   Skip when wine or Xvfb is not installed; fail when another tool the harness needs is
#   missing (a half-installed machine must not look green).
e2e_require_tools() {
  local t missing=""
  for t in wine wineboot wineserver Xvfb; do
    command -v "$t" >/dev/null 2>&1 || missing="$missing $t"
  done
  [ -z "$missing" ] || e2e_skip "not installed:$missing (scripts/install-deps.sh e2e installs them)"
  missing=""
  for t in openbox xdotool xprop xwininfo import iconv setsid winepath sha256sum; do
    command -v "$t" >/dev/null 2>&1 || missing="$missing $t"
  done
  [ -z "$missing" ] || e2e_fail "Wine and Xvfb are there but these tools are missing:$missing (run scripts/install-deps.sh e2e)"
}

# _e2e_pid_is PID NAME
#   True when PID is alive and its command name is NAME.
_e2e_pid_is() {
  [ -n "${1:-}" ] && [ -r "/proc/$1/comm" ] && [ "$(cat "/proc/$1/comm" 2>/dev/null)" = "$2" ]
}

# _e2e_display_free N
#   True when no X server holds display :N on this machine.
_e2e_display_free() {
  [ ! -e "/tmp/.X$1-lock" ] && [ ! -e "/tmp/.X11-unix/X$1" ]
}

# _e2e_start_xvfb
#   Start Xvfb on the first free display from E2E_DISPLAY_BASE on; set E2E_DISPLAY and
#   E2E_XVFB_PID. The screen is large enough for the main window's default 1000 x 1100.
_e2e_start_xvfb() {
  local n=$E2E_DISPLAY_BASE last=$((E2E_DISPLAY_BASE + 100)) pid
  while [ "$n" -lt "$last" ]; do
    if _e2e_display_free "$n"; then
      setsid Xvfb ":$n" -screen 0 1600x1200x24 -nolisten tcp -noreset \
        </dev/null >"$E2E_STATE_DIR/xvfb.log" 2>&1 &
      pid=$!
      for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        # The lock file names the server that owns the display: ours, not one that took the
        # number between our check and our start.
        if [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$pid" ] \
            && DISPLAY=":$n" xprop -root >/dev/null 2>&1; then
          E2E_DISPLAY=":$n"
          E2E_XVFB_PID=$pid
          return 0
        fi
        sleep 0.1
      done
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
    fi
    n=$((n + 1))
  done
  echo "could not start Xvfb on any display :$E2E_DISPLAY_BASE..:$last (see $E2E_STATE_DIR/xvfb.log)" >&2
  return 1
}

# _e2e_start_openbox
#   Start openbox on E2E_DISPLAY and wait until it manages the screen. Without a window
#   manager Wine windows only take keys after an explicit focus, and closing costs seconds.
_e2e_start_openbox() {
  DISPLAY=$E2E_DISPLAY setsid openbox --sm-disable \
    </dev/null >"$E2E_STATE_DIR/openbox.log" 2>&1 &
  E2E_OPENBOX_PID=$!
  for _ in $(seq 1 100); do
    kill -0 "$E2E_OPENBOX_PID" 2>/dev/null || break
    if DISPLAY=$E2E_DISPLAY xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep 'window id' >/dev/null; then
      return 0
    fi
    sleep 0.1
  done
  echo "openbox did not come up on $E2E_DISPLAY (see $E2E_STATE_DIR/openbox.log)" >&2
  return 1
}

# _e2e_write_state
#   Record the environment in $E2E_STATE_DIR/env for the other tests of the run.
_e2e_write_state() {
  {
    printf 'E2E_DISPLAY=%q\n' "$E2E_DISPLAY"
    printf 'E2E_XVFB_PID=%q\n' "$E2E_XVFB_PID"
    printf 'E2E_OPENBOX_PID=%q\n' "$E2E_OPENBOX_PID"
    printf 'E2E_WINEPREFIX=%q\n' "$E2E_WINEPREFIX"
    printf 'E2E_APPDATA_WIN=%q\n' "$E2E_APPDATA_WIN"
    printf 'E2E_APPDATA_UNIX=%q\n' "$E2E_APPDATA_UNIX"
  } >"$E2E_STATE_DIR/env.tmp" && mv "$E2E_STATE_DIR/env.tmp" "$E2E_STATE_DIR/env"
}

# _e2e_state_alive
#   True when $E2E_STATE_DIR/env describes a running display and window manager.
_e2e_state_alive() {
  [ -f "$E2E_STATE_DIR/env" ] || return 1
  # shellcheck disable=SC1091
  . "$E2E_STATE_DIR/env"
  _e2e_is_our_xvfb && _e2e_is_our_openbox && [ -f "$E2E_WINEPREFIX/.tirelmo-prefix-ready" ]
}

# e2e_env_up
#   Bring up the shared environment of a test run: Xvfb on a free display, openbox, a Wine
#   prefix (made once, kept in $E2E_STATE_DIR/prefix) with its persistent wineserver, and
#   the %APPDATA% folder of that prefix in both spellings. Everything long-lived is started
#   in its own session with stdio away from the caller, so ctest does not wait for it.
#   Reuses a live environment described by $E2E_STATE_DIR/env.
e2e_env_up() {
  mkdir -p "$E2E_STATE_DIR"
  if _e2e_state_alive; then
    e2e_info "environment already up on $E2E_DISPLAY"
    _e2e_export_env
    wine_server_start "$E2E_STATE_DIR/wine.log"
    _e2e_prefix_settings
    return 0
  fi
  _e2e_env_stop_stale
  _e2e_start_xvfb || return 1
  _e2e_start_openbox || { kill "$E2E_XVFB_PID" 2>/dev/null; return 1; }
  E2E_WINEPREFIX="$E2E_STATE_DIR/prefix"
  export DISPLAY=$E2E_DISPLAY
  wine_env_use "$E2E_WINEPREFIX"
  e2e_info "display $E2E_DISPLAY, Wine prefix $WINEPREFIX"
  if ! wine_prefix_ensure "$E2E_STATE_DIR/wine.log"; then
    echo "could not create the Wine prefix (see $E2E_STATE_DIR/wine.log)" >&2
    _e2e_env_stop_processes
    return 1
  fi
  wine_server_start "$E2E_STATE_DIR/wine.log"
  _e2e_prefix_settings
  E2E_APPDATA_WIN=$(wine_appdata_windows)
  E2E_APPDATA_UNIX=$(wine_unix_path "$E2E_APPDATA_WIN")
  [ -d "$E2E_APPDATA_UNIX" ] && E2E_APPDATA_UNIX=$(readlink -f "$E2E_APPDATA_UNIX")
  if [ -z "$E2E_APPDATA_WIN" ] || [ ! -d "$E2E_APPDATA_UNIX" ]; then
    echo "could not find %APPDATA% of the prefix (got '$E2E_APPDATA_WIN' -> '$E2E_APPDATA_UNIX')" >&2
    _e2e_env_stop_processes
    return 1
  fi
  _e2e_write_state
  _e2e_export_env
}

# _e2e_prefix_settings
#   Desktop settings of the prefix that screenshots depend on: a caret that never blinks
#   (CursorBlinkRate -1, as on Windows), so two screenshots of the same window are equal
#   whenever they are taken; Chinese glyphs for the program's faces (wine_prefix_cjk_fonts).
#   Set before the run's programs start.
_e2e_prefix_settings() {
  wine_prefix_cjk_fonts "$E2E_STATE_DIR/wine.log" \
    || echo "warning: Chinese text will show as boxes in this prefix" >&2
  setsid -w wine reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /t REG_SZ /d -1 /f \
    </dev/null >>"$E2E_STATE_DIR/wine.log" 2>&1 \
    || echo "warning: could not set CursorBlinkRate in the prefix (see $E2E_STATE_DIR/wine.log)" >&2
}

# _e2e_export_env
#   Export DISPLAY and the Wine variables of the recorded environment.
_e2e_export_env() {
  export DISPLAY=$E2E_DISPLAY
  wine_env_use "$E2E_WINEPREFIX"
}

# _e2e_env_stop_processes
#   Stop this run's wineserver (prefix-specific), openbox and Xvfb by PID.
_e2e_env_stop_processes() {
  if [ -n "${E2E_WINEPREFIX:-}" ] && [ -d "$E2E_WINEPREFIX" ]; then
    WINEPREFIX=$E2E_WINEPREFIX wine_server_stop
  fi
  _e2e_is_our_openbox && kill "$E2E_OPENBOX_PID" 2>/dev/null
  _e2e_is_our_xvfb && kill "$E2E_XVFB_PID" 2>/dev/null
  for _ in $(seq 1 50); do
    _e2e_is_our_xvfb || break
    sleep 0.1
  done
  return 0
}

# _e2e_is_our_xvfb, _e2e_is_our_openbox
#   True when the recorded PID is still the Xvfb serving E2E_DISPLAY, or the openbox running
#   on it (a PID taken over by someone else's process is left alone).
_e2e_is_our_xvfb() {
  _e2e_pid_is "${E2E_XVFB_PID:-}" Xvfb \
    && tr '\0' '\n' <"/proc/$E2E_XVFB_PID/cmdline" 2>/dev/null | grep -xF "${E2E_DISPLAY:-none}" >/dev/null
}
_e2e_is_our_openbox() {
  _e2e_pid_is "${E2E_OPENBOX_PID:-}" openbox \
    && tr '\0' '\n' <"/proc/$E2E_OPENBOX_PID/environ" 2>/dev/null | grep -xF "DISPLAY=${E2E_DISPLAY:-none}" >/dev/null
}

# _e2e_env_stop_stale
#   Clean up after an earlier run that ended without its cleanup (killed, timed out): stop
#   what its state file names, if those processes are still ours, and undo read-only marks.
_e2e_env_stop_stale() {
  if [ -f "$E2E_STATE_DIR/env" ]; then
    # shellcheck disable=SC1091
    . "$E2E_STATE_DIR/env"
    _e2e_env_stop_processes
    rm -f "$E2E_STATE_DIR/env"
  fi
  _e2e_undo_readonly_all
}

# e2e_env_down
#   Stop the shared environment (wineserver of the prefix, openbox, Xvfb) and delete the
#   prefix unless E2E_KEEP_PREFIX=1. The artefacts stay.
e2e_env_down() {
  [ -d "$E2E_STATE_DIR" ] || return 0
  if [ -f "$E2E_STATE_DIR/env" ]; then
    # shellcheck disable=SC1091
    . "$E2E_STATE_DIR/env"
    _e2e_env_stop_processes
    rm -f "$E2E_STATE_DIR/env"
  fi
  # A set-up that failed half-way wrote no state file but may have left the prefix's server.
  if [ -d "$E2E_STATE_DIR/prefix" ]; then
    WINEPREFIX="$E2E_STATE_DIR/prefix" wine_server_stop
  fi
  _e2e_undo_readonly_all
  rm -rf "$E2E_STATE_DIR/scratch"
  if [ "${E2E_KEEP_PREFIX:-0}" != 1 ]; then
    rm -rf "$E2E_STATE_DIR/prefix"
  fi
}

# ---------------------------------------------------------------------------------------------
# Test life cycle

# e2e_begin
#   Start a test: check the tools (skip without Wine or Xvfb), join the environment of the
#   run (or bring one up for this test alone and stop it at exit), empty this test's
#   artefacts folder build/win32/e2e-artifacts/<test>/ and scratch folder, stop any Tirelmo
#   or Vornel left running in the prefix, and install the exit trap.
e2e_begin() {
  e2e_require_tools
  mkdir -p "$E2E_STATE_DIR"
  if _e2e_state_alive; then
    _e2e_export_env
  else
    e2e_info "no environment running in $E2E_STATE_DIR: starting one for this test"
    E2E_OWN_ENV=1
    e2e_env_up || e2e_fail "could not bring up Xvfb/openbox/Wine"
  fi
  E2E_ART="$E2E_ARTIFACTS_ROOT/$E2E_TEST_NAME"
  rm -rf "$E2E_ART"
  mkdir -p "$E2E_ART" || e2e_fail "cannot create $E2E_ART"
  E2E_SCRATCH="$E2E_STATE_DIR/scratch/$E2E_TEST_NAME"
  _e2e_undo_readonly_all
  rm -rf "$E2E_SCRATCH"
  mkdir -p "$E2E_SCRATCH"
  trap '_e2e_on_exit' EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  _e2e_stop_programs
  e2e_info "artefacts in $E2E_ART"
}

# _e2e_on_exit
#   Exit trap: on failure collect the evidence; always stop what the test started; stop the
#   environment if the test brought it up itself. Keeps the test's exit code.
_e2e_on_exit() {
  local rc=$?
  trap - EXIT INT TERM
  if [ "$rc" -ne 0 ] && [ "$rc" -ne "$E2E_SKIP" ]; then
    e2e_collect "failure"
  elif [ "$rc" -eq 0 ] && [ "${E2E_KEEP_DATA:-0}" = 1 ]; then
    e2e_collect "data"
  fi
  _e2e_stop_programs
  _e2e_undo_readonly_all
  if [ "$E2E_OWN_ENV" = 1 ]; then
    e2e_env_down
  fi
  exit "$rc"
}

# e2e_collect LABEL
#   Copy the evidence into the artefacts folder LABEL/: a screenshot, the list of windows
#   with their titles, the default data folder (log and settings also as UTF-8 text) and the
#   folders registered with e2e_collect_dir.
e2e_collect() {
  local dest="$E2E_ART/${1:-failure}" d f
  mkdir -p "$dest"
  if [ -n "${DISPLAY:-}" ]; then
    import -window root "$dest/screen.png" >/dev/null 2>&1
    e2e_list_windows >"$dest/windows.txt" 2>&1
  fi
  _e2e_list_prefix_processes >"$dest/processes.txt" 2>&1
  d=$(e2e_datadir 2>/dev/null)
  if [ -n "$d" ] && [ -d "$d" ]; then
    cp -a "$d" "$dest/default-datadir" 2>/dev/null
    (cd "$d" && find . -printf '%M %10s %TY-%Tm-%Td %TH:%TM:%TS %p\n' | sort -k5) >"$dest/default-datadir.lst" 2>&1
    for f in "$d/$E2E_LOG_NAME" "$d"/Tirelmo_v2.3.3_log_prev*.txt "$d/$E2E_SETTINGS_NAME"; do
      [ -f "$f" ] && e2e_read_utf16 "$f" >"$dest/$(basename "$f").utf8.txt" 2>&1
    done
  fi
  for d in "${E2E_COLLECT_DIRS[@]}"; do
    [ -d "$d" ] && cp -a "$d" "$dest/$(basename "$d")" 2>/dev/null
  done
  echo "evidence collected in $dest" >&2
}

# e2e_collect_dir DIR
#   Have e2e_collect copy DIR too (for a user-data folder outside the default one).
e2e_collect_dir() {
  E2E_COLLECT_DIRS+=("$1")
}

# ---------------------------------------------------------------------------------------------
# Processes

# _e2e_spawn LABEL CWD COMMAND...
#   Start COMMAND in the background in CWD, stdin from /dev/null, stdout and stderr into
#   the artefacts (never the test's own output, which ctest reads through a pipe). Sets
#   E2E_PID. `wine X.exe` becomes the Windows process itself, so E2E_PID is that process.
_e2e_spawn() {
  local label=$1 cwd=$2
  shift 2
  E2E_SPAWN_SEQ=$((E2E_SPAWN_SEQ + 1))
  local out
  out="$E2E_ART/$(printf '%02d' "$E2E_SPAWN_SEQ")-$label.out"
  (cd "$cwd" && exec "$@") </dev/null >"$out" 2>&1 &
  E2E_PID=$!
  E2E_STARTED_PIDS+=("$E2E_PID")
}

# e2e_require_program
#   Fail (not skip) when Tirelmo.exe or Vornel.exe has not been built.
e2e_require_program() {
  [ -f "$E2E_TIRELMO_EXE" ] || e2e_fail "no $E2E_TIRELMO_EXE: build it first (cmake --preset win32 && cmake --build --preset win32)"
  [ -f "$E2E_VORNEL_EXE" ] || e2e_fail "no $E2E_VORNEL_EXE: build it first (cmake --preset win32 && cmake --build --preset win32)"
}

# e2e_start_tirelmo [ARG...]
#   Start bin/Tirelmo.exe under Wine in the background, with the test's scratch folder as
#   the current directory (the program must not depend on it). Sets E2E_PID.
e2e_start_tirelmo() {
  e2e_require_program
  e2e_info "starting Tirelmo.exe $*"
  _e2e_spawn tirelmo "$E2E_SCRATCH" wine "$E2E_TIRELMO_EXE" "$@"
}

# e2e_start_vornel
#   Start Vornel.exe the way an installation does: with the program folder as the current
#   directory (Vornel finds .\bin\Tirelmo.exe relative to it). Sets E2E_PID.
e2e_start_vornel() {
  e2e_require_program
  e2e_info "starting Vornel.exe in $PROGRAM_DIR"
  _e2e_spawn vornel "$PROGRAM_DIR" wine Vornel.exe
}

# e2e_wait_exit PID [TIMEOUT_S=30]
#   Wait until PID (started by this shell) ends and set E2E_RC to its exit code. Wine
#   passes the Windows exit code through, modulo 256: ExitProcess(-1) gives 255. Fails the
#   test when the process still runs after TIMEOUT_S seconds.
e2e_wait_exit() {
  local pid=$1 timeout=${2:-30} deadline
  deadline=$(( $(date +%s) + timeout ))
  while kill -0 "$pid" 2>/dev/null; do
    if [ "$(date +%s)" -ge "$deadline" ]; then
      e2e_screenshot "still-running"
      e2e_fail "process $pid ($(cat "/proc/$pid/comm" 2>/dev/null)) still runs after ${timeout}s"
    fi
    sleep 0.1
  done
  wait "$pid" 2>/dev/null
  E2E_RC=$?
  e2e_info "process $pid exited with code $E2E_RC"
}

# e2e_run LABEL CWD COMMAND...
#   Run a program that is expected to end by itself (a second instance, Vornel), wait up to
#   30 s for it and set E2E_RC. Example: e2e_run second "$E2E_SCRATCH" wine "$E2E_TIRELMO_EXE"
e2e_run() {
  _e2e_spawn "$@"
  e2e_wait_exit "$E2E_PID" 30
}

# e2e_prefix_pids IMAGE
#   Print the PIDs (one a line) of the live Wine processes of this test run's prefix whose
#   image name is IMAGE (for example Tirelmo.exe; compared without regard to case).
#   Processes of other prefixes, and zombies, are not listed. Works for processes this
#   shell did not start (a Tirelmo started by Vornel).
e2e_prefix_pids() {
  wine_prefix_pids "$1"
}

# e2e_count_processes IMAGE
#   Print how many live processes of IMAGE run in this prefix.
e2e_count_processes() {
  e2e_prefix_pids "$1" | grep -c .
}

# e2e_wait_process_count IMAGE N [TIMEOUT_S=20]
#   Wait until exactly N processes of IMAGE run in this prefix; fail after TIMEOUT_S.
e2e_wait_process_count() {
  local image=$1 n=$2 timeout=${3:-20} deadline
  deadline=$(( $(date +%s) + timeout ))
  while [ "$(e2e_count_processes "$image")" -ne "$n" ]; do
    if [ "$(date +%s)" -ge "$deadline" ]; then
      e2e_fail "expected $n process(es) $image, found $(e2e_count_processes "$image") after ${timeout}s"
    fi
    sleep 0.2
  done
}

# _e2e_list_prefix_processes
#   Print PID, state and command line of every process of this prefix (for the artefacts).
_e2e_list_prefix_processes() {
  local p
  for p in /proc/[0-9]*; do
    tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -xF "WINEPREFIX=$WINEPREFIX" >/dev/null || continue
    printf '%s %s %s\n' "${p#/proc/}" "$(sed 's/.*) //' "$p/stat" 2>/dev/null | cut -d' ' -f1)" \
      "$(tr '\0' ' ' <"$p/cmdline" 2>/dev/null)"
  done
}

# _e2e_stop_programs
#   Kill what this test started and any Tirelmo.exe/Vornel.exe still running in the prefix
#   (a test that failed or timed out before closing them), then wait until they are gone so
#   the next start does not find a stale "Tirelmo" window.
_e2e_stop_programs() {
  local p
  for p in "${E2E_STARTED_PIDS[@]}"; do
    if kill -0 "$p" 2>/dev/null; then
      e2e_info "stopping PID $p ($(cat "/proc/$p/comm" 2>/dev/null)), still running at the end"
      # Reaped at once and quietly: bash would otherwise report the killed job on stderr.
      { kill -KILL "$p"; wait "$p"; } 2>/dev/null
    fi
  done
  [ -n "${WINEPREFIX:-}" ] || return 0
  for p in $(e2e_prefix_pids Tirelmo.exe) $(e2e_prefix_pids Vornel.exe); do
    e2e_info "stopping PID $p ($(cat "/proc/$p/comm" 2>/dev/null)) of the prefix"
    kill -KILL "$p" 2>/dev/null
  done
  for _ in $(seq 1 50); do
    [ -z "$(e2e_prefix_pids Tirelmo.exe)$(e2e_prefix_pids Vornel.exe)" ] && break
    sleep 0.1
  done
  E2E_STARTED_PIDS=()
  # wineserver drops a killed process's windows once it notices the process is gone.
  for _ in $(seq 1 50); do
    [ -z "$(xdotool search --name '^Tirelmo' 2>/dev/null)" ] && break
    sleep 0.1
  done
  return 0
}

# ---------------------------------------------------------------------------------------------
# Windows, keys, mouse, screenshots

# e2e_wait_window [TITLE_REGEX='^Tirelmo'] [TIMEOUT_S=30] [PID]
#   Wait until a visible window whose title matches TITLE_REGEX exists (owned by PID when
#   given; Wine sets _NET_WM_PID to the Windows process's PID) and set E2E_WIN to its X
#   window id. Fails with a screenshot after TIMEOUT_S seconds. (xdotool ORs its search
#   conditions unless told --all.)
e2e_wait_window() {
  local regex=${1:-^Tirelmo} timeout=${2:-30} pid=${3:-} deadline w
  deadline=$(( $(date +%s) + timeout ))
  while :; do
    if [ -n "$pid" ]; then
      w=$(xdotool search --all --onlyvisible --pid "$pid" --name "$regex" 2>/dev/null | head -n 1)
    else
      w=$(xdotool search --onlyvisible --name "$regex" 2>/dev/null | head -n 1)
    fi
    if [ -n "$w" ]; then
      E2E_WIN=$w
      e2e_info "window $w: $(e2e_window_title "$w")"
      return 0
    fi
    if [ "$(date +%s)" -ge "$deadline" ]; then
      e2e_screenshot "no-window"
      e2e_fail "no visible window matching '$regex' after ${timeout}s"
    fi
    sleep 0.1
  done
}

# e2e_wait_no_window TITLE_REGEX [TIMEOUT_S=20]
#   Wait until no window (visible or not) has a title matching TITLE_REGEX.
e2e_wait_no_window() {
  local regex=$1 timeout=${2:-20} deadline
  deadline=$(( $(date +%s) + timeout ))
  while [ -n "$(xdotool search --name "$regex" 2>/dev/null)" ]; do
    if [ "$(date +%s)" -ge "$deadline" ]; then
      e2e_screenshot "window-stays"
      e2e_fail "a window matching '$regex' is still there after ${timeout}s"
    fi
    sleep 0.1
  done
}

# e2e_window_title WIN
#   Print the title of X window WIN (the Win32 window text).
e2e_window_title() {
  xdotool getwindowname "$1" 2>/dev/null
}

# e2e_wait_title WIN TITLE_REGEX [TIMEOUT_S=10]
#   Wait until the title of WIN matches TITLE_REGEX (extended regular expression).
e2e_wait_title() {
  local win=$1 regex=$2 timeout=${3:-10} deadline
  deadline=$(( $(date +%s) + timeout ))
  until [[ $(e2e_window_title "$win") =~ $regex ]]; do
    if [ "$(date +%s)" -ge "$deadline" ]; then
      e2e_fail "title of window $win is '$(e2e_window_title "$win")', expected to match '$regex'"
    fi
    sleep 0.1
  done
}

# e2e_list_windows
#   Print every visible top-level window as "id  title".
e2e_list_windows() {
  local w
  for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    printf '%s  %s\n' "$w" "$(e2e_window_title "$w")"
  done
}

# e2e_window_mapped WIN
#   True when WIN is mapped (shown, not minimised). openbox unmaps minimised windows.
e2e_window_mapped() {
  [[ $(xwininfo -id "$1" 2>/dev/null) == *'Map State: IsViewable'* ]]
}

# e2e_activate WIN
#   Bring WIN to the front and wait until it has the focus (bounded: a window that cannot
#   be activated fails the test instead of hanging it).
e2e_activate() {
  timeout 10 xdotool windowactivate --sync "$1" >/dev/null 2>&1 \
    || e2e_fail "could not activate window $1 ($(e2e_window_title "$1"))"
}

# e2e_key WIN KEY...
#   Activate WIN and press the keys, xdotool syntax: F5, ctrl+d, alt+Left, Return.
#   Keys go through XTEST to the focused window, as a user's would.
e2e_key() {
  local win=$1
  shift
  e2e_activate "$win"
  xdotool key --delay 40 "$@" || e2e_fail "xdotool key $* failed"
}

# e2e_type WIN TEXT
#   Activate WIN and type TEXT character by character.
e2e_type() {
  e2e_activate "$1"
  xdotool type --delay 30 -- "$2" || e2e_fail "xdotool type failed"
}

# e2e_click WIN X Y [BUTTON=1] [COUNT=1]
#   Click at client coordinates X,Y of WIN. Under Wine with a window manager the X window
#   is the client area, so these are the coordinates the window procedure receives.
e2e_click() {
  local win=$1 x=$2 y=$3 button=${4:-1} count=${5:-1}
  xdotool mousemove --window "$win" "$x" "$y" click --repeat "$count" "$button" \
    || e2e_fail "click at $x,$y in window $win failed"
}

# e2e_client_origin WIN
#   Print "X Y", the screen position of WIN's client area.
e2e_client_origin() {
  xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}'
}

# e2e_move_window WIN X Y
#   Move WIN so that its client area starts at screen position X,Y, and wait until it has.
e2e_move_window() {
  local win=$1 x=$2 y=$3
  timeout 10 xdotool windowmove --sync "$win" "$x" "$y" >/dev/null 2>&1
  for _ in $(seq 1 50); do
    [ "$(e2e_client_origin "$win")" = "$x $y" ] && return 0
    sleep 0.1
  done
  e2e_fail "window $win did not move to $x,$y (now at $(e2e_client_origin "$win"))"
}

# e2e_minimize WIN
#   Minimise WIN through the window manager and wait until it is unmapped.
e2e_minimize() {
  timeout 10 xdotool windowminimize --sync "$1" >/dev/null 2>&1
  for _ in $(seq 1 50); do
    e2e_window_mapped "$1" || return 0
    sleep 0.1
  done
  e2e_fail "window $1 did not minimise"
}

# e2e_screenshot LABEL
#   Save the whole screen as NN-LABEL.png in the test's artefacts folder (numbered in the
#   order taken). A failed screenshot is reported but does not fail the test.
e2e_screenshot() {
  E2E_SHOT_SEQ=$((E2E_SHOT_SEQ + 1))
  local f
  f="$E2E_ART/$(printf 'shot-%02d' "$E2E_SHOT_SEQ")-${1:-screen}.png"
  import -window root "$f" >/dev/null 2>&1 || echo "warning: screenshot $f failed" >&2
}

# e2e_capture_window WIN FILE [TIMEOUT_S=10]
#   Save what X window WIN shows (the Win32 client area with the scroll bar, no frame) as
#   FILE once it has settled: two captures 0.3 s apart must be equal, so a paint still on
#   its way is not taken. Fails when it never settles within TIMEOUT_S.
e2e_capture_window() {
  local win=$1 file=$2 timeout=${3:-10} deadline previous="$2.previous.png"
  deadline=$(( $(date +%s) + timeout ))
  import -window "$win" "png24:$previous" >/dev/null 2>&1 || e2e_fail "could not capture window $win"
  while :; do
    sleep 0.3
    import -window "$win" "png24:$file" >/dev/null 2>&1 || e2e_fail "could not capture window $win"
    if [ "$(compare -metric AE "$previous" "$file" null: 2>&1)" = 0 ]; then
      rm -f "$previous"
      return 0
    fi
    [ "$(date +%s)" -lt "$deadline" ] || e2e_fail "window $win keeps changing after ${timeout}s (last two captures: $previous, $file)"
    mv "$file" "$previous"
  done
}

# e2e_wheel WIN X Y NOTCHES
#   Turn the mouse wheel over client point X,Y of WIN: NOTCHES steps down (towards the end
#   of a page), or up when negative. The pointer stays at X,Y.
e2e_wheel() {
  local win=$1 x=$2 y=$3 n=$4 button=5
  if [ "$n" -lt 0 ]; then button=4; n=$((-n)); fi
  xdotool mousemove --window "$win" "$x" "$y" click --repeat "$n" --delay 20 "$button" \
    || e2e_fail "wheel at $x,$y in window $win failed"
}

# e2e_compare_image EXPECTED ACTUAL DIFF
#   Compare two pictures pixel by pixel. Prints nothing when they are equal; otherwise one
#   line "N pixels differ, within WxH+X+Y" (the bounding box of the differing pixels) and
#   writes DIFF, ACTUAL with the differences marked in red. Returns 1 when they differ,
#   2 when they cannot be compared (a missing file, other sizes).
e2e_compare_image() {
  local expected=$1 actual=$2 diff=$3 ae box size_e size_a
  size_e=$(identify -format '%wx%h' "$expected" 2>/dev/null) || { echo "cannot read $expected"; return 2; }
  size_a=$(identify -format '%wx%h' "$actual" 2>/dev/null) || { echo "cannot read $actual"; return 2; }
  if [ "$size_e" != "$size_a" ]; then
    echo "size $size_a instead of $size_e"
    return 2
  fi
  ae=$(compare -metric AE "$expected" "$actual" null: 2>&1)
  [ "$ae" = 0 ] && return 0
  compare "$expected" "$actual" "$diff" >/dev/null 2>&1
  # White where any channel differs; a black border keeps the trim box right when a
  # difference touches a corner, and is taken off the offsets again.
  box=$(convert "$expected" "$actual" -compose difference -composite -separate \
    -evaluate-sequence max -threshold 0 -bordercolor black -border 1 -format '%@' info: 2>/dev/null)
  if [[ $box =~ ^([0-9]+x[0-9]+)\+([0-9]+)\+([0-9]+)$ ]]; then
    box="${BASH_REMATCH[1]}+$((BASH_REMATCH[2] - 1))+$((BASH_REMATCH[3] - 1))"
  fi
  echo "$ae pixels differ, within $box"
  return 1
}

# e2e_store_png SOURCE DEST
#   Write the picture SOURCE as DEST for keeping in git: no time stamps or other metadata,
#   best compression, and an 8-bit palette when it has no more than 256 colours. Fails
#   unless DEST holds exactly SOURCE's pixels.
e2e_store_png() {
  local src=$1 dest=$2 colours format=png24
  colours=$(identify -format '%k' "$src" 2>/dev/null) || e2e_fail "cannot read $src"
  [ "$colours" -le 256 ] && format=png8
  mkdir -p "$(dirname "$dest")"
  # Filter "sub" packs these screenshots about 15 % smaller than the adaptive default.
  convert "$src" -strip -define png:compression-level=9 -define png:compression-filter=1 \
    -define png:exclude-chunks=date,time "$format:$dest" || e2e_fail "could not write $dest"
  [ "$(compare -metric AE "$src" "$dest" null: 2>&1)" = 0 ] || e2e_fail "$dest is not $src pixel for pixel"
}

# e2e_close_window WIN
#   Close WIN the way a user does: activate it and press Alt+F4. openbox turns that into
#   WM_DELETE_WINDOW, which Wine delivers as WM_SYSCOMMAND/SC_CLOSE and then WM_CLOSE, so
#   the program runs its normal shut-down. (xdotool windowclose destroys the X window
#   behind Wine's back and the program never hears of it: do not use it.)
e2e_close_window() {
  e2e_key "$1" alt+F4
}

# e2e_request_close IMAGE
#   Ask every top-level window of the prefix's processes named IMAGE to close: Wine's
#   taskkill without /f posts WM_CLOSE to them. Needs no focus.
e2e_request_close() {
  wine taskkill /im "$1" </dev/null >>"$E2E_ART/taskkill.out" 2>&1
}

# ---------------------------------------------------------------------------------------------
# Data folders, settings, files

# e2e_appdata
#   Print the Unix path of %APPDATA% of the prefix (drive_c/users/<user>/AppData/Roaming).
e2e_appdata() {
  echo "$E2E_APPDATA_UNIX"
}

# e2e_datadir
#   Print the Unix path of the default user-data folder, %APPDATA%\Tirelmo.
e2e_datadir() {
  [ -n "${E2E_APPDATA_UNIX:-}" ] || return 1
  echo "$E2E_APPDATA_UNIX/Tirelmo"
}

# e2e_datadir_win
#   Print the default user-data folder as the program sees it (C:\users\<user>\AppData\Roaming\Tirelmo).
e2e_datadir_win() {
  echo "$E2E_APPDATA_WIN\\Tirelmo"
}

# e2e_winpath UNIX_PATH
#   Print the Windows path of a Unix path (through the prefix's Z: drive); the path need
#   not exist.
e2e_winpath() {
  local p
  p=$(winepath -w "$1" </dev/null 2>/dev/null | tr -d '\r')
  [ -n "$p" ] || p="Z:$(echo "$1" | tr '/' '\\')"
  echo "$p"
}

# e2e_fresh_profile
#   Remove the default user-data folder: the next start is a first start in an empty profile.
e2e_fresh_profile() {
  local d
  d=$(e2e_datadir) || e2e_fail "no %APPDATA% known"
  rm -rf "$d"
  [ ! -e "$d" ] || e2e_fail "could not remove $d"
}

# e2e_write_utf16 FILE
#   Write stdin (UTF-8 text, LF line ends) to FILE as the program writes its text files:
#   UTF-16LE without byte-order mark, every line ending CR LF. Existing CR LF stay single.
e2e_write_utf16() {
  local file=$1
  mkdir -p "$(dirname "$file")"
  sed 's/\r$//; s/$/\r/' | iconv -f UTF-8 -t UTF-16LE >"$file" || e2e_fail "could not write $file"
}

# e2e_read_utf16 FILE
#   Print FILE (UTF-16LE, no byte-order mark) as UTF-8, line ends unchanged (CR LF).
e2e_read_utf16() {
  iconv -f UTF-16LE -t UTF-8 "$1"
}

# e2e_read_utf16_lines FILE
#   Print FILE as UTF-8 with the CR of each CR LF removed, for line-wise assertions.
e2e_read_utf16_lines() {
  iconv -f UTF-16LE -t UTF-8 "$1" | sed 's/\r$//'
}

# e2e_settings_text [KEY=VALUE...]
#   Print the settings file a first start writes (header, defaults in file order, the
#   default user-data folder as wkdir and User Data dir), as UTF-8 with LF line ends.
#   Each KEY=VALUE replaces the value of KEY (the key must exist). To prepare a profile use
#   e2e_write_settings, which writes this text as the program's settings file.
e2e_settings_text() {
  local dir
  dir=$(e2e_datadir_win)
  {
    cat <<'EOF'
#################################################
#             DO NOT CHANGE THIS FILE!!!
#
#  This file is generated automatically
#################################################
breaktimerminutes=5
caretblink=1
Vert_ScrollBar=1
font=Buxton Sketch
fontsize=26
bPlayAlarm=1
playticking=0
pomtimerminutes=25
skin=cleanwhite
tmrwndx=0
tmrwndy=0
Wind_hth=1100
Wind_wth=1000
Wind_x=60
Wind_y=0
last2dofilename=
sgcn230=0
next_prj_ID=1
Timer Type=0
EOF
    printf 'wkdir=%s\n' "$dir"
    echo "bMinimizeToTray=0"
    printf 'User Data dir=%s\n' "$dir"
    cat <<'EOF'
Display Project Names=0
Cloud ena=0
Cloud Login=
Tdl saved on=
Language=English
cat_NONE=--
cat_RED=Bug Fixing
cat_YELLOW=Testing
cat_GREEN=Development
cat_CYAN=Learning
cat_PINK=Finance
cat_BLUE=Customer Support
cat_ORANGE=Fitness
cat_DARKGREEN=Logistics
cat_VIOLET=Design/White-boarding
cat_GREY=House Chores
cat_BLACK=Networking/Get new Customers
cat_FUCSIA=Write Articles/Web Content
EOF
  } | _e2e_settings_override "$@"
}

# _e2e_settings_override KEY=VALUE...
#   Filter: replace the values of the named keys in a settings text; fail on an unknown key.
_e2e_settings_override() {
  local kv
  for kv in "$@"; do
    case $kv in
      *=*) ;;
      *) echo "e2e_settings_text: '$kv' is not KEY=VALUE" >&2; return 1 ;;
    esac
  done
  OVERRIDES=$(printf '%s\n' "$@") awk '
    BEGIN {
      n = split(ENVIRON["OVERRIDES"], kv, "\n")
      for (i = 1; i <= n; i++) {
        if (kv[i] == "") continue
        k = substr(kv[i], 1, index(kv[i], "=") - 1)
        line[k] = kv[i]; used[k] = 0
      }
    }
    {
      p = index($0, "=")
      if (p > 0) {
        k = substr($0, 1, p - 1)
        if (k in line) { print line[k]; used[k] = 1; next }
      }
      print
    }
    END {
      bad = ""
      for (k in used) if (!used[k]) bad = bad " \047" k "\047"
      if (bad != "") { print "e2e_settings_text: no key" bad > "/dev/stderr"; exit 1 }
    }'
}

# e2e_write_settings [KEY=VALUE...]
#   Prepare the profile's settings file: e2e_settings_text with the overrides, written as
#   the program writes it (UTF-16LE, CR LF) to %APPDATA%\Tirelmo\tirelmo.i00.
e2e_write_settings() {
  local text
  text=$(e2e_settings_text "$@") || e2e_fail "cannot make the settings text for: $*"
  printf '%s\n' "$text" | e2e_write_utf16 "$(e2e_settings_path)" || e2e_fail "cannot write the settings file"
}

# e2e_settings_value FILE KEY
#   Print the value of KEY in a settings file (UTF-16LE): the text after the first "=" of
#   the first line starting with "KEY=". Prints nothing when the key is absent.
e2e_settings_value() {
  e2e_read_utf16_lines "$1" | KEY="$2" awk 'index($0, ENVIRON["KEY"] "=") == 1 { print substr($0, length(ENVIRON["KEY"]) + 2); exit }'
}

# e2e_snapshot DIR
#   Print one line per file and folder below DIR: type, size, modification time in
#   nanoseconds, SHA-256 for files, relative path. Two snapshots are equal exactly when
#   nothing was created, deleted, written or touched in between.
e2e_snapshot() {
  local dir=$1 f
  (cd "$dir" && find . -mindepth 1 -printf '%y %s %T@ %p\n' | sort -k4) | while read -r type size mtime path; do
    if [ "$type" = f ]; then
      printf '%s %s %s %s %s\n' "$type" "$size" "$mtime" "$(sha256sum <"$dir/$path" | cut -d' ' -f1)" "$path"
    else
      printf '%s %s %s - %s\n' "$type" "$size" "$mtime" "$path"
    fi
  done
}

# e2e_hex_head FILE N
#   Print the first N bytes of FILE as lower-case hex without spaces (for byte-exact checks).
e2e_hex_head() {
  head -c "$2" "$1" | od -An -v -tx1 | tr -d ' \n'
}

# e2e_hex_tail FILE N
#   Print the last N bytes of FILE as lower-case hex without spaces.
e2e_hex_tail() {
  tail -c "$2" "$1" | od -An -v -tx1 | tr -d ' \n'
}

# e2e_make_readonly_dir DIR
#   Make the existing folder DIR one that the program cannot create "dummy.txt" in, and
#   print how: "chmod" (not root: a folder without write permission), "immutable" (root:
#   chattr +i, which stops root too, where the file system and capabilities allow it), or
#   "probe-blocked" (last resort: DIR\dummy.txt is made a folder, so the program's write
#   probe, which creates exactly that file, is refused with access denied). Root ignores
#   permission bits, also under Wine, so plain chmod proves nothing there. Undone by the
#   exit trap, and by the next run if this one was killed. E2E_READONLY_METHOD=probe-blocked
#   forces the last resort (to check that path on a machine where the others work).
e2e_make_readonly_dir() {
  local dir=$1 force=${E2E_READONLY_METHOD:-}
  echo "$dir" >>"$E2E_STATE_DIR/readonly-dirs"
  if [ "$force" = probe-blocked ]; then
    mkdir -p "$dir/dummy.txt" && echo probe-blocked
    return
  fi
  if [ "$(id -u)" -ne 0 ]; then
    chmod a-w "$dir"
    if ! touch "$dir/.probe" 2>/dev/null; then
      echo chmod
      return 0
    fi
    rm -f "$dir/.probe"
    chmod u+w "$dir"
  fi
  if chattr +i "$dir" 2>/dev/null; then
    if ! touch "$dir/.probe" 2>/dev/null; then
      echo immutable
      return 0
    fi
    rm -f "$dir/.probe"
    chattr -i "$dir" 2>/dev/null
  fi
  mkdir -p "$dir/dummy.txt" && echo probe-blocked
}

# _e2e_undo_readonly_all
#   Give write access back to every folder e2e_make_readonly_dir changed in this state dir.
_e2e_undo_readonly_all() {
  local list="$E2E_STATE_DIR/readonly-dirs" d
  [ -f "$list" ] || return 0
  while read -r d; do
    [ -e "$d" ] || continue
    chattr -i "$d" 2>/dev/null
    chmod u+w "$d" 2>/dev/null
  done <"$list"
  rm -f "$list"
}

# ---------------------------------------------------------------------------------------------
# Assertions. Each prints what was expected and what was found, and fails the test.

# e2e_assert_eq EXPECTED ACTUAL WHAT
e2e_assert_eq() {
  [ "$1" = "$2" ] || e2e_fail "$3: expected '$1', got '$2'"
}

# e2e_assert_ne UNEXPECTED ACTUAL WHAT
e2e_assert_ne() {
  [ "$1" != "$2" ] || e2e_fail "$3: must not be '$1'"
}

# e2e_assert_file_exists PATH
#   PATH exists and is a regular file.
e2e_assert_file_exists() {
  [ -f "$1" ] || e2e_fail "missing file: $1 (folder holds: $(ls -A "$(dirname "$1")" 2>&1 | tr '\n' ' '))"
}

# e2e_assert_dir_exists PATH
e2e_assert_dir_exists() {
  [ -d "$1" ] || e2e_fail "missing folder: $1 (parent holds: $(ls -A "$(dirname "$1")" 2>&1 | tr '\n' ' '))"
}

# e2e_assert_not_exists PATH
e2e_assert_not_exists() {
  [ ! -e "$1" ] || e2e_fail "must not exist: $1"
}

# e2e_assert_contains TEXT NEEDLE WHAT
#   TEXT contains NEEDLE as a plain string (no patterns).
e2e_assert_contains() {
  case $1 in
    *"$2"*) ;;
    *) e2e_fail "$3: '$2' not found in:
$(printf '%s\n' "$1" | head -n 60)" ;;
  esac
}

# e2e_assert_not_contains TEXT NEEDLE WHAT
e2e_assert_not_contains() {
  case $1 in
    *"$2"*) e2e_fail "$3: '$2' must not occur" ;;
  esac
}

# e2e_assert_matches TEXT REGEX WHAT
#   TEXT (as a whole) matches the extended regular expression REGEX (bash =~).
e2e_assert_matches() {
  [[ $1 =~ $2 ]] || e2e_fail "$3: '$1' does not match /$2/"
}

# e2e_assert_file_contains FILE NEEDLE WHAT
#   The UTF-16LE file FILE, read as text, contains NEEDLE.
e2e_assert_file_contains() {
  e2e_assert_file_exists "$1"
  e2e_assert_contains "$(e2e_read_utf16_lines "$1")" "$2" "$3"
}

# e2e_assert_same_text EXPECTED ACTUAL WHAT
#   Two multi-line texts (file contents, e2e_snapshot outputs) are identical; otherwise the
#   differing lines are shown as a diff (< expected, > actual).
e2e_assert_same_text() {
  [ "$1" = "$2" ] || e2e_fail "$3:
$(diff <(printf '%s\n' "$1") <(printf '%s\n' "$2"))"
}

# e2e_assert_no_process IMAGE
#   No process of IMAGE runs in the prefix any more.
e2e_assert_no_process() {
  local pids
  pids=$(e2e_prefix_pids "$1" | tr '\n' ' ')
  [ -z "$pids" ] || e2e_fail "$1 still runs (PID $pids)"
}

# e2e_assert_mapped WIN WHAT
#   WIN is shown (mapped, not minimised).
e2e_assert_mapped() {
  # Wine maps a restored window a moment after the window manager reports it active, later
  # still on a busy machine: give it a few seconds.
  for _ in $(seq 1 50); do
    e2e_window_mapped "$1" && return 0
    sleep 0.1
  done
  e2e_fail "$2: window $1 is not shown ($(xprop -id "$1" _NET_WM_STATE 2>&1))"
}

# ---------------------------------------------------------------------------------------------
# Tirelmo's own files and windows

# e2e_log_path
#   Print the Unix path of today's log in the default user-data folder.
e2e_log_path() {
  echo "$(e2e_datadir)/$E2E_LOG_NAME"
}

# e2e_day_log_text
#   Print, as UTF-8 lines, the previous log followed by today's log. The first start of a day
#   rotates the log after the data phase, so that start's own lines (write probes, settings,
#   fallbacks) end up in the _prev copy; today's file begins with the rotation lines.
e2e_day_log_text() {
  local prev
  prev="$(e2e_datadir)/Tirelmo_v2.3.3_log_prev.txt"
  [ -f "$prev" ] && e2e_read_utf16_lines "$prev"
  [ -f "$(e2e_log_path)" ] && e2e_read_utf16_lines "$(e2e_log_path)"
  return 0
}

# e2e_wait_log TEXT [TIMEOUT_TENTHS=100]
#   Wait until today's log (with the previous one) holds TEXT; fail after the timeout.
e2e_wait_log() {
  for _ in $(seq 1 "${2:-100}"); do
    e2e_day_log_text | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  e2e_fail "no log line '$1'"
}

# e2e_settings_path
#   Print the Unix path of the settings file in the default user-data folder.
e2e_settings_path() {
  echo "$(e2e_datadir)/$E2E_SETTINGS_NAME"
}

# e2e_start_main [ARG...]
#   Start Tirelmo.exe and wait for its main window: sets E2E_PID and E2E_WIN, and keeps a
#   screenshot. The main window is the visible window of that process whose title starts
#   with "Tirelmo" and that was shown first: message boxes without owner carry the same
#   caption and the same window type, but Wine gives each process's X windows increasing ids
#   in the order they are first shown, and the notices come after the main window.
e2e_start_main() {
  e2e_start_tirelmo "$@"
  local pid=$E2E_PID first
  e2e_wait_window '^Tirelmo' 60 "$pid"
  first=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Tirelmo' 2>/dev/null | sort -n | head -n 1)
  [ -n "$first" ] && E2E_WIN=$first
  E2E_PID=$pid
  e2e_screenshot started
}

# e2e_close_main [WIN=$E2E_WIN] [PID=$E2E_PID]
#   Close the main window with Alt+F4 and wait for the process to end; sets E2E_RC.
e2e_close_main() {
  local win=${1:-$E2E_WIN} pid=${2:-$E2E_PID}
  # A key pressed in a window that closed on the press (a message box, "Stop Timer" of the
  # timer window) had its release go to a focus outside Wine, and Wine's desktop holds the
  # key down for every later program: the next test's first press of it would be lost.
  e2e_activate "$win"
  xdotool keyup Return Escape F5 F6 2>/dev/null || true
  e2e_close_window "$win"
  e2e_wait_exit "$pid" 60
}

# e2e_assert_refused_in_log LOG_TEXT WINDOWS_FOLDER
#   The log (as text) carries "no write in dir: " followed by the folder, either on the same
#   line (written as a piece: two blanks in between) or on the next line.
e2e_assert_refused_in_log() {
  local text=$1 folder=$2 found
  e2e_assert_contains "$text" "no write in dir: " "refused user-data folder in the log"
  found=$(printf '%s\n' "$text" | grep -F -A1 "no write in dir: " | head -n 2 | tr '\n' ' ')
  e2e_assert_contains "$found" " $folder" "folder named after \"no write in dir: \""
}

# e2e_assert_closing_tail LOGFILE
#   The log ends with the normal closing line "[Y-M-D HH:MM] Closing.." followed by two
#   empty lines, every one ended by CR LF: the bytes of "..", then three CR LF.
e2e_assert_closing_tail() {
  local log=$1
  e2e_assert_file_exists "$log"
  e2e_assert_eq "2e002e000d000a000d000a000d000a00" "$(e2e_hex_tail "$log" 16)" \
    "last 16 bytes of $(basename "$log") (\"..\" + 3 x CR LF in UTF-16LE)"
  # Straight from the file: $(...) would drop the trailing empty lines.
  e2e_assert_matches "$(e2e_read_utf16_lines "$log" | tail -n 3 | head -n 1)" \
    '^\[[0-9]{4}-[0-9]{1,2}-[0-9]{1,2} [0-9]{2}:[0-9]{2}\] Closing\.\.$' "closing line of the log (third line from the end)"
  e2e_assert_eq "" "$(e2e_read_utf16_lines "$log" | tail -n 2 | tr -d '\n')" "two empty lines after the closing line"
}

# ---------------------------------------------------------------------------------------------
# Binary data files through sheet_fixture.exe (tests/e2e/fixture), which writes and reads
# them with the program's own record writers and readers, under Wine like the program.

: "${E2E_FIXTURE_EXE:=$(dirname "$PROGRAM_DIR")/e2e-fixture/sheet_fixture.exe}"
E2E_OUT=""                       # stdout file of the last sheet_fixture run
E2E_TEXT=""                      # its content (e2e_dump_sheet, e2e_read_records)

# e2e_sheet_fixture LABEL INPUT COMMAND UNIX_PATH
#   Run "sheet_fixture.exe COMMAND <Windows path of UNIX_PATH>" with stdin from the file
#   INPUT (/dev/null for none); its output goes to NN-fixture-LABEL.out/.err in the
#   artefacts. Fails the test on a non-zero exit code; sets E2E_OUT to the output file.
e2e_sheet_fixture() {
  local label=$1 input=$2 command=$3 path=$4 base winpath
  [ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"
  winpath=$(e2e_winpath "$path")
  E2E_SPAWN_SEQ=$((E2E_SPAWN_SEQ + 1))
  base="$E2E_ART/$(printf '%02d' "$E2E_SPAWN_SEQ")-fixture-$label"
  (cd "$E2E_SCRATCH" && exec wine "$E2E_FIXTURE_EXE" "$command" "$winpath") <"$input" >"$base.out" 2>"$base.err" &
  E2E_PID=$!
  E2E_STARTED_PIDS+=("$E2E_PID")
  e2e_wait_exit "$E2E_PID" 60
  [ "$E2E_RC" = 0 ] || e2e_fail "sheet_fixture $command $winpath exited with $E2E_RC: $(cat "$base.err")"
  E2E_OUT="$base.out"
}

# e2e_write_sheet UNIX_PATH  (stdin: one row a line, the keys of e2e_sheet_row)
#   Write a .pm6 sheet file (folders are made) through the program's own writer. Give stdin
#   by a here-document or here-string: in a pipeline this runs in a subshell, where a
#   failure would not end the test.
e2e_write_sheet() {
  local path=$1 input command=${E2E_SHEET_COMMAND:-write}
  mkdir -p "$(dirname "$path")"
  input="$E2E_SCRATCH/sheet-input.$E2E_SPAWN_SEQ.txt"
  cat >"$input"
  e2e_sheet_fixture "write-$(basename "$path")" "$input" "$command" "$path"
  e2e_assert_file_exists "$path"
}

# e2e_write_list / e2e_dump_list UNIX_PATH: the same for a Todolist file (50 rows).
e2e_write_list() { E2E_SHEET_COMMAND=write-list e2e_write_sheet "$@"; }
e2e_dump_list() {
  e2e_assert_file_exists "$1"
  e2e_sheet_fixture "dump-$(basename "$1")" /dev/null dump-list "$1"
  E2E_TEXT=$(cat "$E2E_OUT")
}

# e2e_dump_sheet UNIX_PATH
#   Decode the row records of a .pm6 file: E2E_TEXT gets one line per stored row, in file
#   order, in the form of e2e_sheet_row.
e2e_dump_sheet() {
  e2e_assert_file_exists "$1"
  e2e_sheet_fixture "dump-$(basename "$1")" /dev/null dump "$1"
  E2E_TEXT=$(cat "$E2E_OUT")
}

# e2e_write_records UNIX_PATH  (stdin: one record line a line, UTF-8)
#   Write a scrambled record file (projects, ...) through the program's own line writer.
#   Stdin as for e2e_write_sheet (not through a pipe).
e2e_write_records() {
  local path=$1 input
  mkdir -p "$(dirname "$path")"
  input="$E2E_SCRATCH/records-input.$E2E_SPAWN_SEQ.txt"
  cat >"$input"
  e2e_sheet_fixture "records-$(basename "$path")" "$input" records "$path"
  e2e_assert_file_exists "$path"
}

# e2e_read_records UNIX_PATH
#   Decode a scrambled record file: E2E_TEXT gets its lines, the header first.
e2e_read_records() {
  e2e_assert_file_exists "$1"
  e2e_sheet_fixture "read-$(basename "$1")" /dev/null read-records "$1"
  E2E_TEXT=$(cat "$E2E_OUT")
}

# e2e_sheet_row KEY=VALUE... text=TEXT
#   Print one row in the form sheet_fixture dumps it: every key in its order, the ones not
#   given as 0 (due as 0-0-0, reserved as 0,0,0,0), text last. Unknown keys are an error.
e2e_sheet_row() {
  local keys="row pomodoros abandoned internal external estimated done repeat deadline past_pomodoros past_abandoned past_internal past_external age category minutes past_minutes project due reserved"
  local -A v=()
  local kv k text="" out=""
  for kv in "$@"; do
    k=${kv%%=*}
    case " $keys text " in
      *" $k "*) ;;
      *) echo "e2e_sheet_row: unknown key '$k'" >&2; return 1 ;;
    esac
    if [ "$k" = text ]; then text=${kv#text=}; else v[$k]=${kv#*=}; fi
  done
  for k in $keys; do
    case $k in
      due) out+="due=${v[$k]:-0-0-0} " ;;
      reserved) out+="reserved=${v[$k]:-0,0,0,0} " ;;
      *) out+="$k=${v[$k]:-0} " ;;
    esac
  done
  printf '%stext=%s\n' "$out" "$text"
}

# e2e_sheet_name Y M D DOW
#   Print the file name the program gives the .pm6 sheet of that day (DOW 0 = Sunday).
e2e_sheet_name() {
  printf 'DailyTask_%d-%d-%d-%d.pm6' "$1" "$2" "$3" "$4"
}

# e2e_week_number Y M D DOW
#   Print the week number the archives use: (day of year - day of week + 10) / 7, where a
#   year divisible by 4 counts as a leap year.
e2e_week_number() {
  local y=$1 m=$2 d=$3 dow=$4 before
  local -a common=(0 31 59 90 120 151 181 212 243 273 304 334)
  local -a leap=(0 31 60 91 121 152 182 213 244 274 305 335)
  if [ $((y % 4)) -eq 0 ]; then before=${leap[m - 1]}; else before=${common[m - 1]}; fi
  echo $(( (before + d - dow + 10) / 7 ))
}

# e2e_avoid_midnight [MARGIN_S=90]
#   A test that follows one day through several starts must not cross midnight: when less
#   than MARGIN_S seconds are left of today, wait until the new day has begun.
e2e_avoid_midnight() {
  local margin=${1:-90} now left
  now=$(date +%s)
  left=$(( $(date -d 'tomorrow 00:00' +%s) - now ))
  if [ "$left" -lt "$margin" ]; then
    e2e_info "only ${left}s left of today: waiting for midnight"
    sleep $((left + 2))
  fi
}

# e2e_kill_main [PID=$E2E_PID]
#   End Tirelmo the way a crash or a power cut does: SIGKILL, no shut-down code runs. Waits
#   until wineserver has dropped its windows, so the next start does not find a stale one.
e2e_kill_main() {
  local pid=${1:-$E2E_PID}
  { kill -KILL "$pid"; wait "$pid"; } 2>/dev/null
  e2e_wait_no_window '^Tirelmo' 20
}
