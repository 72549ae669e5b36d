#!/usr/bin/env bash
# Time per application and web site: a browser-like window ("Song - YouTube - Google Chrome"
# of class Chrome_WidgetWin_1) about 15 s in front is credited as "YouTube - Song", a web page,
# with 10 to 20 s; a Firefox window's address cannot be read under Wine (no UI Automation),
# which the log says, and its page title is credited instead; the program's own Help dialog
# in front is credited to Tirelmo. The usage file after exit holds them; a restart on the same
# day reads it back and the Apps + Websites page lists them.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"
window_exe="$(dirname "$E2E_FIXTURE_EXE")/window_fixture.exe"
[ -f "$window_exe" ] || e2e_fail "no $window_exe: build it first (cmake --build --preset win32)"

e2e_avoid_midnight 240
data=$(e2e_datadir)
usage="$data/AppUsage/todayAppUsage.txt"

e2e_fresh_profile
mkdir -p "$data"
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900

# A window of the class and title in front for SECONDS, then closed.
in_front() {  # CLASS TITLE TITLE_REGEX SECONDS
  _e2e_spawn window "$E2E_SCRATCH" wine "$window_exe" "$1" "$2"
  local pid=$E2E_PID
  e2e_wait_window "$3" 30
  local win=$E2E_WIN
  e2e_activate "$win"
  sleep "$4"
  e2e_screenshot "front-$(echo "$1" | tr -c 'A-Za-z0-9' '-')"
  e2e_close_window "$win"
  e2e_wait_exit "$pid" 30
}

e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID
sleep 1
in_front Chrome_WidgetWin_1 'Song - YouTube - Google Chrome' '^Song - YouTube' 15
in_front MozillaWindowClass 'Example Domain - Firefox' '^Example Domain' 8
e2e_wait_log "CoCreateInstance error: "
e2e_activate "$main_win"
e2e_key "$main_win" F1
e2e_wait_window '^Help$' 20 "$main_pid"
help=$E2E_WIN
sleep 8
e2e_key "$help" Escape
e2e_wait_no_window '^Help$' 20
e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code"

e2e_read_records "$usage"
text=$E2E_TEXT
e2e_info "usage file: $text"
youtube=$(printf '%s\n' "$text" | grep -F '"YouTube - Song",' || true)
[[ $youtube =~ ^\"YouTube\ -\ Song\",\"([0-9]+)\",\"1\"$ ]] || e2e_fail "no YouTube entry of kind 1 in: $text"
secs=${BASH_REMATCH[1]}
[ "$secs" -ge 10 ] && [ "$secs" -le 20 ] || e2e_fail "YouTube credited $secs s, not 10 to 20"
e2e_assert_matches "$text" '"Example Domain","[0-9]+","1"' "the Firefox page credited by its title"
e2e_assert_matches "$text" '"Tirelmo","[0-9]+","0"' "the program's own windows credited to Tirelmo"

# --- The same day again: a fuller day's file is read back and the page lists it. ---------------
e2e_write_records "$usage" <<EOF
$text
"Visual Studio Code","9840","0"
"github.com - Pull requests","2460","1"
"Inbox: me@example.org","1500","2"
"Microsoft Excel","620","0"
"YouTube - Lo-fi beats ""live""","301","1"
"Terminal","300","0"
"Calculator","59","0"
EOF
before=$(sha256sum "$usage" | cut -d' ' -f1)
e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID
e2e_wait_log "Opening app usage stats in "
for _ in 1 2 3 4 5 6; do e2e_key "$main_win" ctrl+Tab; sleep 0.3; done
sleep 1
e2e_screenshot apps-and-websites
e2e_kill_main "$main_pid"
e2e_assert_eq "$before" "$(sha256sum "$usage" | cut -d' ' -f1)" "usage file read, not changed, by a start later in the day"
e2e_pass
