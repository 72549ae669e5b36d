#!/usr/bin/env bash
# A day's work by keyboard alone: a task typed into the first row gets two pomodoros
# (Ctrl+T twice) and the done mark (Ctrl+D); Ctrl+S writes the sheet at once, with the text,
# the two pomodoros, their 50 minutes and the done flag, and closing keeps it that way.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"

e2e_avoid_midnight 120
data=$(e2e_datadir)
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
sheet="$data/DailyTask/$ty/$tm/$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")"
task='Write the quarterly report'

e2e_fresh_profile
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 pomtimerminutes=25
e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID

# The first row has the focus from the start: typing goes there.
e2e_type "$main_win" "$task"
e2e_key "$main_win" ctrl+t
e2e_key "$main_win" ctrl+t
e2e_key "$main_win" ctrl+d
sleep 0.5
e2e_screenshot two-pomodoros-done
e2e_assert_not_exists "$sheet"

e2e_key "$main_win" ctrl+s
for _ in $(seq 1 50); do
  [ -f "$sheet" ] && break
  sleep 0.1
done
e2e_assert_file_exists "$sheet"
expected=$(e2e_sheet_row row=0 pomodoros=2 done=1 minutes=50 "text=$task")
e2e_dump_sheet "$sheet"
e2e_assert_same_text "$expected" "$E2E_TEXT" "rows saved by Ctrl+S while the program runs"
e2e_assert_contains "$(e2e_day_log_text)" "SaveAllSheets" "log of the save key"

# A pomodoro on a done row is refused with the question about the done mark; "No" keeps it.
e2e_key "$main_win" ctrl+t
e2e_wait_window '^Tirelmo$' 20
question=$E2E_WIN
e2e_screenshot done-row-question
e2e_key "$question" n
e2e_wait_no_window '^Tirelmo$' 20

e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code"
e2e_dump_sheet "$sheet"
e2e_assert_same_text "$expected" "$E2E_TEXT" "rows after closing"
e2e_pass
