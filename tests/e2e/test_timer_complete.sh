#!/usr/bin/env bash
# A whole one-minute pomodoro: at its end the main window comes back titled "* Time *" and
# "Time-out!" asks for the outcome; OK records one pomodoro and its minute on the row, and a
# one-minute break follows at once ("* Break *" in the title, "*Break-time*" timer window);
# at the end of the break "BreakTime out!" says so and the program is idle again. Also
# measures the CPU time the running timer costs under Wine (kept in cpu.txt).
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"

e2e_avoid_midnight 300
data=$(e2e_datadir)
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
sheet="$data/DailyTask/$ty/$tm/$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")"
task='Write the test plan'
idle_seconds=30

# cpu_ticks PID: user + system CPU time of a process so far, in clock ticks.
cpu_ticks() {
  awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat" 2>/dev/null || echo 0
}
# wineserver_pid: the server of this run's prefix.
wineserver_pid() {
  local p
  for p in /proc/[0-9]*; do
    case $(cat "$p/comm" 2>/dev/null) in wineserver*) ;; *) continue ;; esac
    tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && { echo "${p#/proc/}"; return; }
  done
}
hz=$(getconf CLK_TCK)

e2e_fresh_profile
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 pomtimerminutes=1 breaktimerminutes=1 tmrwndx=760 tmrwndy=80
e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID
server_pid=$(wineserver_pid)
e2e_type "$main_win" "$task"

# --- What the idle program costs, for comparison. -----------------------------------------------
sleep 2
idle_p0=$(cpu_ticks "$main_pid"); idle_s0=$(cpu_ticks "${server_pid:-0}")
sleep "$idle_seconds"
idle_p1=$(cpu_ticks "$main_pid"); idle_s1=$(cpu_ticks "${server_pid:-0}")

# --- The pomodoro. ------------------------------------------------------------------------------
e2e_key "$main_win" F5
run_p0=$(cpu_ticks "$main_pid"); run_s0=$(cpu_ticks "${server_pid:-0}"); run_t0=$(date +%s.%N)
e2e_wait_window '^Timer on: ' 20 "$main_pid"
e2e_wait_window '^Time-out!$' 90 "$main_pid"
run_p1=$(cpu_ticks "$main_pid"); run_s1=$(cpu_ticks "${server_pid:-0}"); run_t1=$(date +%s.%N)
dialog=$E2E_WIN
e2e_assert_eq '* Time *' "$(e2e_window_title "$main_win")" "main window title while the outcome is asked"
e2e_assert_mapped "$main_win" "main window restored at the end of the pomodoro"
e2e_wait_no_window '^Timer on: ' 5
sleep 0.5
e2e_screenshot time-out-dialog

{
  printf 'clock ticks per second: %s\n' "$hz"
  printf 'idle %ss: Tirelmo %s ticks, wineserver %s ticks\n' "$idle_seconds" \
    $((idle_p1 - idle_p0)) $((idle_s1 - idle_s0))
  printf 'pomodoro (F5 to the dialog, %.1fs, 60 ticks of timer 400): Tirelmo %s ticks, wineserver %s ticks\n' \
    "$(awk -v a="$run_t0" -v b="$run_t1" 'BEGIN { print b - a }')" $((run_p1 - run_p0)) $((run_s1 - run_s0))
} >"$E2E_ART/cpu.txt"
e2e_info "$(tr '\n' ';' <"$E2E_ART/cpu.txt")"

# OK (the default button): one pomodoro, and the break starts at once. A key sent while
# Wine still settles the dialog's focus can be lost: one more Return to that same dialog
# window, never to whatever comes after it.
e2e_key "$dialog" Return
for _ in $(seq 1 50); do [ -z "$(xdotool search --name '^Time-out!$' 2>/dev/null)" ] && break; sleep 0.1; done
if [ -n "$(xdotool search --name '^Time-out!$' 2>/dev/null)" ]; then
  e2e_info "Return was lost; sent again"
  e2e_key "$dialog" Return
fi
e2e_wait_no_window '^Time-out!$' 20
e2e_wait_title "$main_win" '^\* Break \*  1 min (    |\.   |\.\.  |\.\.\. )$' 10
e2e_wait_window '^\*Break-time\*$' 10 "$main_pid"
sleep 1
e2e_screenshot break-timer

# The score is in the sheet now (Ctrl+S writes it while the break runs).
e2e_key "$main_win" ctrl+s
for _ in $(seq 1 50); do
  [ -f "$sheet" ] && break
  sleep 0.1
done
expected=$(e2e_sheet_row row=0 pomodoros=1 minutes=1 "text=$task")
e2e_dump_sheet "$sheet"
e2e_assert_same_text "$expected" "$E2E_TEXT" "sheet after a completed one-minute pomodoro"

# --- The end of the break. ----------------------------------------------------------------------
e2e_wait_window '^BreakTime out!$' 90 "$main_pid"
break_dialog=$E2E_WIN
sleep 0.5
e2e_screenshot break-over-dialog
e2e_key "$break_dialog" Return
e2e_wait_no_window '^BreakTime out!$' 20
e2e_wait_no_window '^\*Break-time\*$' 10
e2e_wait_title "$main_win" '^Tirelmo - v2\.3\.3\.0$' 10

e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code"
e2e_dump_sheet "$sheet"
e2e_assert_same_text "$expected" "$E2E_TEXT" "sheet after closing"
e2e_pass
