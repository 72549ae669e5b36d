#!/usr/bin/env bash
# Files that are no sheets, or sheets that are only partly readable, never cost a row.
# Case 1: "<sheet>.pm6.tmp" left beside today's sheet by a crash (with other rows) is removed
# at start; one left in an older month is never offered by Alt+Left/Alt+Right; neither ends up
# in last2dofilename, also when the settings named one. Case 2: today's sheet cut in the middle
# of its fourth record starts with the three readable rows and a message, a ".damaged-1" copy
# keeps the original bytes, and after exit the sheet holds the three rows plus what was typed.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"

e2e_avoid_midnight 180
data=$(e2e_datadir)
data_win=$(e2e_datadir_win)
settings=$(e2e_settings_path)
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
read -r py pm pd pw <<<"$(date -d 'yesterday 12:00' '+%Y %-m %-d %w')"
today_name=$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")
prev_name=$(e2e_sheet_name "$py" "$pm" "$pd" "$pw")
today_sheet="$data/DailyTask/$ty/$tm/$today_name"
today_win="$data_win\\DailyTask\\$ty\\$tm\\$today_name"
prev_sheet="$data/DailyTask/$py/$pm/$prev_name"
prev_win="$data_win\\DailyTask\\$py\\$pm\\$prev_name"
# A month the start does not sweep (a year back): its temporary stays, and must stay unlisted.
old_name=$(e2e_sheet_name $((ty - 1)) "$tm" 1 0)
old_tmp="$data/DailyTask/$((ty - 1))/$tm/$old_name.tmp"
separator='   --- Unplanned & Urgent ---'

count_in_log() { e2e_day_log_text | grep -cF -- "$1"; }
wait_log_count() {
  local needle=$1 want=$2
  for _ in $(seq 1 80); do
    [ "$(count_in_log "$needle")" -ge "$want" ] && return 0
    sleep 0.1
  done
}

# --- Case 1: temporaries of the whole-file writer. -------------------------------------------
e2e_info "case 1: stale .pm6.tmp files"
e2e_fresh_profile
mkdir -p "$data"
# The settings name the temporary, as a run that saved into one would have left them.
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 "last2dofilename=$today_win.tmp"
e2e_write_sheet "$prev_sheet" <<EOF
$(e2e_sheet_row row=0 'text=Yesterday: answer the mail')
EOF
# The sheet list orders by creation time: the temporaries come last, the newest of all.
sleep 1.2
e2e_write_sheet "$today_sheet" <<EOF
$(e2e_sheet_row row=0 'text=Today: plan the week')
$(e2e_sheet_row row=12 "text=$separator")
EOF
sleep 1.2
e2e_write_sheet "$today_sheet.tmp" <<EOF
$(e2e_sheet_row row=0 'text=Half-saved: must never show')
EOF
e2e_write_sheet "$old_tmp" <<EOF
$(e2e_sheet_row row=0 'text=Old half-saved: must never show')
EOF

e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID
e2e_assert_not_exists "$today_sheet.tmp"
e2e_assert_contains "$(e2e_day_log_text)" "Removed stale temporary file $today_win.tmp" "log of the start"
e2e_assert_contains "$(e2e_day_log_text)" "last2dofilename named a temporary file, now $today_win" "log of the start"

# Alt+Left goes to yesterday's sheet: with a temporary listed as the newest sheet it would
# have shown today's. Alt+Right comes back to today's, and a second one stays there (it would
# have shown the temporary).
e2e_key "$main_win" alt+Left
wait_log_count "DisplayToDoSheet() $prev_win" 1
e2e_assert_eq 1 "$(count_in_log "DisplayToDoSheet() $prev_win")" "yesterday's sheet shown by Alt+Left"
e2e_key "$main_win" alt+Right
wait_log_count "DisplayToDoSheet() $today_win" 1
e2e_key "$main_win" alt+Right
wait_log_count "DisplayToDoSheet() $today_win" 2
e2e_assert_eq 2 "$(count_in_log "DisplayToDoSheet() $today_win")" "today's sheet shown by both Alt+Right"
e2e_assert_eq 0 "$(e2e_day_log_text | grep -F 'DisplayToDoSheet()' | grep -ci '\.tmp')" \
  "temporaries shown by Alt+Left/Alt+Right"
sleep 0.3
e2e_key "$main_win" Down
e2e_type "$main_win" "Today: typed after the checks"
e2e_key "$main_win" ctrl+s
sleep 0.5
e2e_screenshot case1-typed
e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code of case 1"

e2e_assert_eq "$today_win" "$(e2e_settings_value "$settings" last2dofilename)" "last2dofilename after case 1"
e2e_assert_file_exists "$old_tmp"
e2e_assert_eq "" "$(find "$data/DailyTask/$ty/$tm" -name '*.tmp')" "temporaries in today's month folder"
e2e_dump_sheet "$today_sheet"
e2e_assert_same_text "$(
  e2e_sheet_row row=0 'text=Today: plan the week'
  e2e_sheet_row row=1 'text=Today: typed after the checks'
  e2e_sheet_row row=12 "text=$separator"
)" "$E2E_TEXT" "today's rows after case 1"
for shown in "Half-saved: must never show" "Old half-saved: must never show"; do
  e2e_assert_not_contains "$(e2e_day_log_text)" "$shown" "log of case 1"
done

# --- Case 2: today's sheet cut inside its fourth record. -------------------------------------
e2e_info "case 2: today's sheet cut in its fourth record"
e2e_fresh_profile
mkdir -p "$data"
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 "last2dofilename=$today_win"
e2e_write_sheet "$today_sheet" <<EOF
$(e2e_sheet_row row=0 pomodoros=2 minutes=50 'text=First: kept')
$(e2e_sheet_row row=1 estimated=3 'text=Second: kept')
$(e2e_sheet_row row=2 done=1 'text=Third: kept')
$(e2e_sheet_row row=3 'text=Fourth: torn by the crash')
EOF
# The fourth record (68 + 2 x 24 units = 116 bytes) is the last one: cut it in half.
size=$(stat -c %s "$today_sheet")
truncate -s $((size - 58)) "$today_sheet"
cp "$today_sheet" "$E2E_SCRATCH/cut.pm6"

e2e_start_tirelmo
pid=$E2E_PID
# The notice comes during the start, before the main window.
e2e_wait_window '^Error$' 60 "$pid"
notice=$E2E_WIN
sleep 0.3
e2e_screenshot damaged-notice
e2e_key "$notice" Return
e2e_wait_window '^Tirelmo' 60 "$pid"
main_win=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Tirelmo' 2>/dev/null | sort -n | head -n 1)
sleep 0.5
e2e_screenshot three-rows-read

e2e_assert_file_exists "$today_sheet.damaged-1"
cmp -s "$E2E_SCRATCH/cut.pm6" "$today_sheet.damaged-1" || e2e_fail "the .damaged-1 copy does not hold the original bytes"
e2e_assert_contains "$(e2e_day_log_text)" "Damaged sheet $today_win kept as $today_win.damaged-1" "log of the start"
e2e_assert_contains "$(e2e_day_log_text)" "load ends here" "log of the start"

e2e_key "$main_win" Down Down Down
e2e_type "$main_win" "Fourth: typed again"
e2e_key "$main_win" ctrl+s
sleep 0.5
e2e_screenshot fourth-typed
e2e_close_main "$main_win" "$pid"
e2e_assert_eq 0 "$E2E_RC" "exit code of case 2"

e2e_dump_sheet "$today_sheet"
e2e_assert_same_text "$(
  e2e_sheet_row row=0 pomodoros=2 minutes=50 'text=First: kept'
  e2e_sheet_row row=1 estimated=3 'text=Second: kept'
  e2e_sheet_row row=2 done=1 'text=Third: kept'
  e2e_sheet_row row=3 'text=Fourth: typed again'
  e2e_sheet_row row=12 "text=$separator"
)" "$E2E_TEXT" "today's rows after case 2"
cmp -s "$E2E_SCRATCH/cut.pm6" "$today_sheet.damaged-1" || e2e_fail "the .damaged-1 copy changed"
e2e_assert_not_exists "$today_sheet.damaged-2"
e2e_pass
