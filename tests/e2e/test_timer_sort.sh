#!/usr/bin/env bash
# A running pomodoro keeps its task through a sort: the task it runs on moves from row 0 to
# row 1 with "Sort Tasks A -> Z", and at the end of the one-minute pomodoro the score lands
# on the task in its new row, not on the task that took its old place.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"

e2e_avoid_midnight 240
data=$(e2e_datadir)
data_win=$(e2e_datadir_win)
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
name=$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")
sheet="$data/DailyTask/$ty/$tm/$name"
separator='   --- Unplanned & Urgent ---'

e2e_fresh_profile
mkdir -p "$data"
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 pomtimerminutes=1 breaktimerminutes=1 tmrwndx=760 tmrwndy=80 \
  "last2dofilename=$data_win\\DailyTask\\$ty\\$tm\\$name"
e2e_write_sheet "$sheet" <<EOF
$(e2e_sheet_row row=0 'text=Write the plan')
$(e2e_sheet_row row=1 'text=Answer the mail')
$(e2e_sheet_row row=12 "text=$separator")
EOF
e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID

e2e_key "$main_win" F5
e2e_wait_window '^Timer on: ' 20 "$main_pid"
e2e_activate "$main_win"
# A click on the sheet's header gives the restored window the keyboard as well.
e2e_click "$main_win" 600 110
# Page menu: View old, Back to Today, Export data, New ToDo list, Undone first, Sort Tasks A -> Z.
e2e_key "$main_win" Tab
sleep 0.5
e2e_screenshot page-menu-while-running
e2e_key "$main_win" Down Down Down Down Down Down Return
e2e_wait_window '^Time-out!$' 90 "$main_pid"
dialog=$E2E_WIN
e2e_key "$dialog" Return
for _ in $(seq 1 50); do [ -z "$(xdotool search --name '^Time-out!$' 2>/dev/null)" ] && break; sleep 0.1; done
[ -z "$(xdotool search --name '^Time-out!$' 2>/dev/null)" ] || e2e_key "$dialog" Return
e2e_wait_no_window '^Time-out!$' 20
e2e_key "$main_win" ctrl+s
sleep 1
e2e_screenshot after-sort-and-pomodoro
e2e_kill_main "$main_pid"

e2e_dump_sheet "$sheet"
e2e_assert_same_text "$(
  e2e_sheet_row row=0 'text=Answer the mail'
  e2e_sheet_row row=1 pomodoros=1 minutes=1 'text=Write the plan'
  e2e_sheet_row row=12 "text=$separator"
)" "$E2E_TEXT" "the pomodoro scored on its task after the sort"
e2e_pass
