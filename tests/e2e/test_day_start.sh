#!/usr/bin/env bash
# The day start: the first start of a day carries yesterday's sheet over into today's (the
# done row leaves, the repeat row comes back clean, worked time moves into the past counts,
# every task ages a day), fills the done-task archive and the yesterday archive, and names
# the new sheet in tirelmo.i00. A second start the same day reopens that sheet and carries
# nothing over again. A completely fresh profile ends its first day with a sheet file too,
# and a run killed right after its day start has already named the new sheet.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"

e2e_avoid_midnight 90
data=$(e2e_datadir)
data_win=$(e2e_datadir_win)
settings=$(e2e_settings_path)

read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
read -r py pm pd pw <<<"$(date -d 'yesterday 12:00' '+%Y %-m %-d %w')"
pday=$(LC_ALL=C date -d 'yesterday 12:00' '+%A')
pmonth=$(LC_ALL=C date -d 'yesterday 12:00' '+%B')
today_name=$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")
prev_name=$(e2e_sheet_name "$py" "$pm" "$pd" "$pw")
today_sheet="$data/DailyTask/$ty/$tm/$today_name"
today_win="$data_win\\DailyTask\\$ty\\$tm\\$today_name"
prev_sheet="$data/DailyTask/$py/$pm/$prev_name"
prev_win="$data_win\\DailyTask\\$py\\$pm\\$prev_name"
week=$(e2e_week_number "$py" "$pm" "$pd" "$pw")
yy=$((py - 2000))

# UTF-16 code units of a text: the unit the sheet format counts in.
units() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | wc -c | awk '{ print $1 / 2 }'; }

# --- Case 1: a completely fresh profile, started and closed. --------------------------------
e2e_info "case 1: fresh profile"
e2e_fresh_profile
e2e_start_main
e2e_close_main
e2e_assert_eq 0 "$E2E_RC" "exit code of the first start ever"
e2e_assert_eq "$today_win" "$(e2e_settings_value "$settings" last2dofilename)" \
  "last2dofilename after the first start ever"
e2e_assert_file_exists "$today_sheet"
e2e_assert_contains "$(e2e_day_log_text)" "No prev Tdl, this is a fresh install" "log of the first start ever"
# The first day's sheet has no separator yet (it is placed when the file is next loaded), so
# with no task typed the file is the 40-byte header alone: length 40, version 1, zeros.
header_hex="2800000001$(printf '00%.0s' $(seq 1 35))"
e2e_assert_eq 40 "$(stat -c %s "$today_sheet")" "size of the first day's empty sheet"
e2e_assert_eq "$header_hex" "$(e2e_hex_head "$today_sheet" 40)" "header record of the first day's sheet"

# Started again that day, the sheet is loaded, which places the separator in row 12: the file
# closed then is the header and one 126-byte record (68 + 2 x 29 units).
e2e_start_main
e2e_close_main
e2e_assert_eq 0 "$E2E_RC" "exit code of the second start of the first day"
e2e_assert_eq 166 "$(stat -c %s "$today_sheet")" "size of the first day's sheet after its second start"
e2e_assert_eq "$header_hex" "$(e2e_hex_head "$today_sheet" 40)" "header record after the second start"
e2e_assert_eq "7e0000000c" "$(e2e_hex_tail "$today_sheet" 126 | cut -c1-10)" \
  "separator record: length 126, row 12"
e2e_dump_sheet "$today_sheet"
e2e_assert_same_text "$(e2e_sheet_row row=12 'text=   --- Unplanned & Urgent ---')" "$E2E_TEXT" \
  "rows of the first day's sheet"

# --- Case 2: yesterday's sheet carried over. ------------------------------------------------
done_text='Send the "Q3" invoice to ACME'
repeat_text='Daily standup'
worked_text='Refactor the report export'
idle_text='Read the new tax rules — 税务规定'
urgent_text='Fix the printer'
separator_text='   --- Unplanned & Urgent ---'
# The project the worked and the repeat rows are linked to: 1 h 40 min worked, in progress.
project_lines=$(printf '%s\n' '"ID","Name"' '"7","Website relaunch","1","40","1","0","0","0"')

# A fresh profile whose last sheet is yesterday's: a done row, a done repeat row with a
# deadline, a worked row, an untouched row, the separator and a done unplanned row.
prepare_yesterday() {
  e2e_fresh_profile
  mkdir -p "$data"
  e2e_write_settings "last2dofilename=$prev_win" next_prj_ID=8
  # (Not through a pipe: a failure in the subshell of a pipeline would not end the test.)
  e2e_write_records "$data/Projects/active_prj.p01" <<<"$project_lines"
  e2e_write_sheet "$prev_sheet" <<EOF
row=0 done=1 pomodoros=2 estimated=3 minutes=50 past_pomodoros=1 past_minutes=25 age=1 category=2 text=$done_text
row=1 done=1 repeat=1 deadline=1 due=30-1-15 pomodoros=1 estimated=1 minutes=25 past_pomodoros=4 past_minutes=100 age=5 category=5 project=7 text=$repeat_text
row=2 pomodoros=2 abandoned=1 internal=1 external=1 estimated=6 minutes=60 past_pomodoros=3 past_minutes=75 age=2 category=3 project=7 text=$worked_text
row=3 estimated=2 age=4 text=$idle_text
row=12 text=$separator_text
row=13 done=1 pomodoros=1 minutes=25 text=$urgent_text
EOF
}

e2e_info "case 2: carry-over of $prev_name into $today_name"
prepare_yesterday
# The fixture's reader sees what its writer wrote (the program is checked against both below).
e2e_dump_sheet "$prev_sheet"
e2e_assert_eq 6 "$(printf '%s\n' "$E2E_TEXT" | grep -c .)" "rows in the prepared sheet"

e2e_start_main
e2e_close_main
e2e_assert_eq 0 "$E2E_RC" "exit code of the first start of the day"
e2e_assert_file_exists "$today_sheet"
e2e_assert_file_exists "$prev_sheet"
e2e_assert_eq "$today_win" "$(e2e_settings_value "$settings" last2dofilename)" "last2dofilename after the carry-over"

# Today's sheet, straight from the bytes: header, size, and the repeat row's record.
expected_size=40
for text in "$repeat_text" "$worked_text" "$idle_text" "$separator_text"; do
  expected_size=$((expected_size + 68 + 2 * $(units "$text")))
done
e2e_assert_eq "$expected_size" "$(stat -c %s "$today_sheet")" "size of today's sheet (rows 1, 2, 3, 12)"
e2e_assert_eq "$header_hex" "$(e2e_hex_head "$today_sheet" 40)" "header record of today's sheet"
# Row 1: length 94, index 1, no scores, flags = repeat only, no past counts, age 0,
# category 5, no minutes, project 7, reserved 0, deadline cleared, 16 zero bytes.
z() { printf '0%.0s' $(seq 1 "$1"); }
repeat_record="5e000000""01""$(z 10)""02""$(z 8)""00""05""$(z 6)""$(z 8)""$(z 8)""07000000""$(z 24)""$(z 8)""$(z 4)""$(z 32)"
e2e_assert_eq "$repeat_record" "$(head -c 106 "$today_sheet" | tail -c 66 | od -An -v -tx1 | tr -d ' \n')" \
  "fixed part of the repeat row's record"
e2e_assert_eq "0000" "$(head -c $((40 + 94)) "$today_sheet" | tail -c 2 | od -An -v -tx1 | tr -d ' \n')" \
  "terminator of the repeat row's text"
e2e_assert_eq "7e0000000c" "$(e2e_hex_tail "$today_sheet" 126 | cut -c1-10)" "separator record at the end, row 12"

expected_today_rows=$(
  e2e_sheet_row row=1 repeat=1 category=5 project=7 "text=$repeat_text"
  e2e_sheet_row row=2 estimated=6 past_pomodoros=5 past_abandoned=1 past_internal=1 past_external=1 \
    past_minutes=135 age=3 category=3 project=7 "text=$worked_text"
  e2e_sheet_row row=3 estimated=2 age=5 "text=$idle_text"
  e2e_sheet_row row=12 "text=$separator_text"
)
e2e_dump_sheet "$today_sheet"
today_rows=$E2E_TEXT
e2e_assert_same_text "$expected_today_rows" "$today_rows" "today's rows after the carry-over"

# The done-task archive of yesterday's month: done rows and rows with worked minutes, with
# today's counts folded into the totals; the row below the separator marked unplanned.
m00="$data/stats/DoneTasks_${py}_${pm}.m00"
e2e_assert_file_exists "$m00"
d="\"$pw\",\"$yy\",\"$pm\",\"$pd\""
e2e_assert_same_text "$(
  printf '%s' '"DayOfWeek","DoneYY","DoneMM","DoneDD","Descr","StartYear","StartMM","StartDD","InsertYY",'
  printf '%s' '"InsertMM","InsertDD","Age","Pomo","Abandoned","Int Interrupt","Ext Interrupt","UnplanUrg",'
  printf '%s\n' '"Label ID","Week Nr","Estimated","Tot Minutes","Prj ID","In Progress","Min Worked",'
  echo "$d,\"Send the \"\"Q3\"\" invoice to ACME\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"2\",\"3\",\"0\",\"0\",\"0\",\"N\",\"2\",\"$week\",\"3\",\"75\",\"0\",\"0\",\"50\""
  echo "$d,\"Daily standup\",\"30\",\"1\",\"15\",\"0\",\"0\",\"0\",\"6\",\"5\",\"0\",\"0\",\"0\",\"N\",\"5\",\"$week\",\"1\",\"125\",\"7\",\"0\",\"25\""
  echo "$d,\"Refactor the report export\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"3\",\"5\",\"1\",\"1\",\"1\",\"N\",\"3\",\"$week\",\"6\",\"135\",\"7\",\"1\",\"60\""
  echo "$d,\"Fix the printer\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"1\",\"1\",\"0\",\"0\",\"0\",\"Y\",\"0\",\"$week\",\"0\",\"25\",\"0\",\"0\",\"25\""
)" "$(e2e_read_utf16 "$m00")" "lines of $(basename "$m00")"
e2e_assert_eq 0 "$(e2e_read_utf16 "$m00" | grep -c $'\r')" "carriage returns in $(basename "$m00") (lines end in LF alone)"
e2e_assert_eq "2200" "$(e2e_hex_head "$m00" 2)" "$(basename "$m00") starts with the quote of its header, no byte-order mark"

# The weekly list beside it: UTF-8 mark, version, week and day headings, one line a task.
weekly="$data/stats/$(printf 'WeeklyDone_%4d_%2d.txt' "$py" "$week")"
e2e_assert_file_exists "$weekly"
e2e_assert_eq "$(printf '\xef\xbb\xbf0.1\r\n[WEEK]%d - Week %d\r\n[DAY]%s, %d %s\r\n%s\r\n%s\r\n%s\r\n%s\r\n' \
    "$py" "$week" "$pday" "$pd" "$pmonth" "$done_text" "$repeat_text" "$worked_text" "$urgent_text" | od -An -v -tx1)" \
  "$(od -An -v -tx1 "$weekly")" "bytes of $(basename "$weekly")"

# The yesterday archive: the rows that were done or got a pomodoro or an abandoned score,
# with the day's own counts (before they moved into the totals).
y00="$data/YesterdayArchive.y00"
e2e_assert_file_exists "$y00"
e2e_assert_same_text "$(
  printf '%s' '"Dow","DoneYY","DoneMM","DoneDD","Descr","StartYear","MM","DD","InsertYY","MM","DD","Age","Done",'
  printf '%s\n' '"Pomo","Aband","IntInt","ExtInt","UnU","LabelID","WeekNr","Estim","MinWorked","TotMin","PrjID","CliID",'
  echo "On $pday ($pmonth $pd, $py) you did"
  echo "$d,\"Send the \"\"Q3\"\" invoice to ACME\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"2\",\"1\",\"2\",\"0\",\"0\",\"0\",\"N\",\"2\",\"$week\",\"3\",\"50\",\"25\",\"0\",\"0\""
  echo "$d,\"Daily standup\",\"30\",\"1\",\"15\",\"0\",\"0\",\"0\",\"6\",\"1\",\"1\",\"0\",\"0\",\"0\",\"N\",\"5\",\"$week\",\"1\",\"25\",\"100\",\"7\",\"0\""
  echo "$d,\"Refactor the report export\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"3\",\"0\",\"2\",\"1\",\"1\",\"1\",\"N\",\"3\",\"$week\",\"6\",\"60\",\"75\",\"7\",\"0\""
  echo "$d,\"Fix the printer\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"1\",\"1\",\"1\",\"0\",\"0\",\"0\",\"N\",\"0\",\"$week\",\"0\",\"25\",\"0\",\"0\",\"0\""
)" "$(e2e_read_utf16 "$y00")" "lines of YesterdayArchive.y00"
e2e_assert_eq 0 "$(e2e_read_utf16 "$y00" | grep -c $'\r')" "carriage returns in YesterdayArchive.y00"

# The carry-over moves no time into the project: it still has 1 h 40 min.
e2e_read_records "$data/Projects/active_prj.p01"
e2e_assert_same_text "$project_lines" "$E2E_TEXT" "active_prj.p01 after the carry-over"

# The day start's log lines (the first start of a day rotates the log: this start's lines
# are spread over the previous and the current file).
log=$(e2e_day_log_text)
for line in \
  "search 2dotoday of Today NEW" \
  "It's the 1sr run today." \
  "Cloud dis" \
  "First run today" \
  "Prev day: $py-$pm-$pd ($pw)" \
  "search 2dotoday from the past" \
  "todotoday of today does not exist." \
  "loading previous 2dotoday: $prev_win" \
  "load: $prev_win" \
  "Load scores,  Import" \
  "Task: $done_text (50')" \
  "Task: $repeat_text (25')" \
  "Task: $worked_text (60')" \
  "Task: $urgent_text (25')" \
  "Yesterday Archive close YesterdayArchive.y00" \
  "UnU at 12" \
  "ok imported undone tasks from prev Tdl. Create today Tdl." \
  "$today_win"; do
  e2e_assert_contains "$log" "$line" "log of the day start"
done
e2e_assert_not_contains "$log" "Task: $idle_text" "log of the day start (an untouched row is not archived)"

# --- Case 3: the second start of the same day. -----------------------------------------------
e2e_info "case 3: second start the same day"
cp "$today_sheet" "$E2E_SCRATCH/today-after-first.pm6"
archives_before=$(e2e_snapshot "$data/stats" | grep -v '\.ats$')
y00_before=$(sha256sum <"$y00")
lines_before=$(e2e_read_utf16_lines "$(e2e_log_path)" | wc -l)

e2e_start_main
e2e_close_main
e2e_assert_eq 0 "$E2E_RC" "exit code of the second start of the day"
e2e_dump_sheet "$today_sheet"
e2e_assert_same_text "$today_rows" "$E2E_TEXT" "today's rows after the second start"
cmp -s "$E2E_SCRATCH/today-after-first.pm6" "$today_sheet" \
  || e2e_fail "today's sheet changed its bytes at the second start"
e2e_assert_same_text "$archives_before" "$(e2e_snapshot "$data/stats" | grep -v '\.ats$')" \
  "done-task archive files after the second start (nothing appended, nothing new)"
e2e_assert_eq "$y00_before" "$(sha256sum <"$y00")" "YesterdayArchive.y00 after the second start"
e2e_assert_eq "$today_win" "$(e2e_settings_value "$settings" last2dofilename)" "last2dofilename after the second start"

second_log=$(e2e_read_utf16_lines "$(e2e_log_path)" | tail -n +$((lines_before + 1)))
e2e_assert_contains "$second_log" "It's not the 1sr run today." "log of the second start"
e2e_assert_contains "$second_log" "load: $today_win" "log of the second start"
e2e_assert_contains "$second_log" "Load scores,  dont import" "log of the second start"
e2e_assert_contains "$second_log" "It's not the 1st run of today, open stored files." "log of the second start"
e2e_assert_not_contains "$second_log" "First run today" "log of the second start"
e2e_assert_not_contains "$second_log" "Yesterday Archive close" "log of the second start"
e2e_assert_not_exists "$data/Tirelmo_v2.3.3_log_prev2.txt"

# --- Case 4: the run ends without its shut-down. -----------------------------------------------
# Killed right after the day start (a crash, a power cut), the program has already named the
# new sheet in tirelmo.i00, so tomorrow carries today's sheet over, not yesterday's again.
e2e_info "case 4: killed after the day start"
prepare_yesterday
e2e_start_main
e2e_kill_main
e2e_assert_eq "$today_win" "$(e2e_settings_value "$settings" last2dofilename)" \
  "last2dofilename when the run was killed after the day start"
e2e_dump_sheet "$today_sheet"
e2e_assert_same_text "$expected_today_rows" "$E2E_TEXT" "today's rows when the run was killed after the day start"
e2e_assert_not_contains "$(e2e_day_log_text)" "Closing.." "log of the killed run"
e2e_pass
