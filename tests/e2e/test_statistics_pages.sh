#!/usr/bin/env bash
# The statistics pages on a profile with a year of history: the first start of the day
# carries yesterday's sheet (two done rows of different ages and a worked row) into today and
# shows them on "Previous Day"; "Performance" draws the month's three diagrams; "History"
# lists the month's completed tasks and scrolls to its last entry. A second start with only
# the month's .csv archive reads it for the History page and leaves it byte for byte. The
# worked task's "Stats" shows its time per day.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
gen=$repo/build/native/bench/history_gen/history_gen
[ -x "$gen" ] || e2e_fail "no $gen: build the native side first (cmake --build --preset native)"

e2e_avoid_midnight 180
data=$(e2e_datadir)
data_win=$(e2e_datadir_win)
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
read -r py pm pd pw <<<"$(date -d 'yesterday 12:00' '+%Y %-m %-d %w')"
prev_sheet="$data/DailyTask/$py/$pm/$(e2e_sheet_name "$py" "$pm" "$pd" "$pw")"
separator='   --- Unplanned & Urgent ---'
m00="$data/stats/DoneTasks_${ty}_${tm}.m00"
csv="$data/stats/DoneTasks_${ty}_${tm}.csv"

e2e_fresh_profile
mkdir -p "$data"
"$gen" "$data" --windows-dir "$data_win" --years 1 >"$E2E_ART/history_gen.out" 2>&1 \
  || e2e_fail "history_gen failed: $(cat "$E2E_ART/history_gen.out")"
e2e_write_sheet "$prev_sheet" <<EOF
$(e2e_sheet_row row=0 done=1 pomodoros=3 minutes=75 age=4 category=2 'text=Ship the release notes')
$(e2e_sheet_row row=1 done=1 pomodoros=1 minutes=25 'text=Answer the auditor')
$(e2e_sheet_row row=2 pomodoros=2 minutes=50 age=1 category=5 'text=Draft the budget')
$(e2e_sheet_row row=12 "text=$separator")
EOF

show_page() {  # NAME: Ctrl+Tab once, wait, screenshot
  e2e_key "$main_win" ctrl+Tab
  sleep 1
  e2e_screenshot "$1"
}

e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID
# "Stats" of the row menu on the worked task, which the carry-over keeps in its row 2: the
# time it got per day, from the archive the day start just wrote. The default skin has rows
# of 105 pixels from y 230.
e2e_click "$main_win" 300 $((230 + 2 * 105 + 50)) 3
sleep 0.7
e2e_key "$main_win" Up Return
e2e_wait_window '^Time spent per day$' 20 "$main_pid"
stats_win=$E2E_WIN
sleep 1
e2e_screenshot time-per-day
e2e_key "$stats_win" Escape
e2e_wait_no_window '^Time spent per day$' 20
show_page next-things
show_page previous-day
show_page performance
show_page history
e2e_wheel "$main_win" 500 600 300
sleep 1
e2e_screenshot history-scrolled-to-end
e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code of the first start of the day"
log=$(e2e_day_log_text)
for line in "Worked Time Diag: Ymax" "Pom Diag: Ymax" "InterrDiag Ymax" "Opening CurMthDoneTasks file:"; do
  e2e_assert_contains "$log" "$line" "log of the statistics pages"
done
e2e_assert_file_exists "$m00"

# --- Only a .csv archive for this month: read for the page, never converted or changed. -----
iconv -f UTF-16LE -t UTF-8 "$m00" >"$csv"
rm -f "$m00"
before=$(sha256sum "$csv" | cut -d' ' -f1)
e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID
for _ in 1 2 3 4; do e2e_key "$main_win" ctrl+Tab; sleep 0.3; done
sleep 1
e2e_screenshot history-from-csv
e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code of the second start"
e2e_assert_eq "$before" "$(sha256sum "$csv" | cut -d' ' -f1)" "the .csv archive byte for byte"
e2e_assert_not_exists "$m00"
e2e_assert_contains "$(e2e_day_log_text)" "DoneTasks_${ty}_${tm}.csv" "the History page read the .csv"
e2e_pass
