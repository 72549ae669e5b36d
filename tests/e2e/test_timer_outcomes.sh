#!/usr/bin/env bash
# The other answers of "Time-out!", on a task with a history (two pomodoros today, three
# before, four days on the list, category 2): the dialog shows the task, its category mark
# and the three tomato lines. Escape answers Cancel (nothing is recorded; with breaks off no
# break follows); the "Done" button records a pomodoro, its minute and the done mark.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"

e2e_avoid_midnight 300
data=$(e2e_datadir)
data_win=$(e2e_datadir_win)
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
name=$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")
sheet="$data/DailyTask/$ty/$tm/$name"
task='Review the budget with the team before Friday'
separator='   --- Unplanned & Urgent ---'

e2e_fresh_profile
mkdir -p "$data"
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 pomtimerminutes=1 breaktimerminutes=0 \
  "last2dofilename=$data_win\\DailyTask\\$ty\\$tm\\$name"
e2e_write_sheet "$sheet" <<EOF
$(e2e_sheet_row row=0 pomodoros=2 past_pomodoros=3 age=4 category=2 minutes=50 past_minutes=75 "text=$task")
$(e2e_sheet_row row=12 "text=$separator")
EOF
before=$(sha256sum "$sheet" | cut -d' ' -f1)

e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID

# --- Escape: Cancel. ----------------------------------------------------------------------------
e2e_key "$main_win" F5
e2e_wait_window '^Timer on: ' 20 "$main_pid"
e2e_wait_window '^Time-out!$' 90 "$main_pid"
dialog=$E2E_WIN
sleep 0.5
e2e_screenshot time-out-with-history
e2e_key "$dialog" Escape
e2e_wait_no_window '^Time-out!$' 20
e2e_wait_title "$main_win" '^Tirelmo - v2\.3\.3\.0$' 10
sleep 2
e2e_assert_eq "" "$(xdotool search --all --onlyvisible --pid "$main_pid" --name '^\*Break-time\*$' 2>/dev/null)" \
  "no break with breaks switched off"
e2e_screenshot after-cancel

# --- Done: Tab from OK to Done, then Enter. ------------------------------------------------------
e2e_key "$main_win" F5
e2e_wait_window '^Timer on: ' 20 "$main_pid"
e2e_wait_window '^Time-out!$' 90 "$main_pid"
dialog=$E2E_WIN
e2e_key "$dialog" Tab
sleep 0.3
e2e_screenshot done-button-focused
e2e_key "$dialog" Return
e2e_wait_no_window '^Time-out!$' 20
e2e_wait_title "$main_win" '^Tirelmo - v2\.3\.3\.0$' 10
sleep 0.5
e2e_screenshot after-done

e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code"
e2e_assert_ne "$before" "$(sha256sum "$sheet" | cut -d' ' -f1)" "sheet written after Done"
expected=$(e2e_sheet_row row=0 pomodoros=3 done=1 past_pomodoros=3 age=4 category=2 minutes=51 past_minutes=75 \
  "text=$task"; e2e_sheet_row row=12 "text=$separator")
e2e_dump_sheet "$sheet"
e2e_assert_same_text "$expected" "$E2E_TEXT" "sheet after Cancel and Done: one pomodoro, one minute, the done mark"
e2e_pass
