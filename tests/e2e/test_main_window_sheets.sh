#!/usr/bin/env bash
# Looking back at an earlier sheet: Alt+Left shows yesterday's sheet read-only (typing and
# scores do not reach it, a score key answers with the read-only message), Alt+Right and
# "Back to Today ToDo list" of the page menu (Tab) bring today's sheet back, editable again.
# Yesterday's file is never written.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"

e2e_avoid_midnight 180
data=$(e2e_datadir)
data_win=$(e2e_datadir_win)
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
read -r py pm pd pw <<<"$(date -d 'yesterday 12:00' '+%Y %-m %-d %w')"
today_name=$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")
prev_name=$(e2e_sheet_name "$py" "$pm" "$pd" "$pw")
today_sheet="$data/DailyTask/$ty/$tm/$today_name"
today_win="$data_win\\DailyTask\\$ty\\$tm\\$today_name"
prev_sheet="$data/DailyTask/$py/$pm/$prev_name"
prev_win="$data_win\\DailyTask\\$py\\$pm\\$prev_name"
separator='   --- Unplanned & Urgent ---'

count_in_log() { e2e_day_log_text | grep -cF -- "$1"; }

e2e_fresh_profile
mkdir -p "$data"
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 "last2dofilename=$today_win"
e2e_write_sheet "$prev_sheet" <<EOF
$(e2e_sheet_row row=0 pomodoros=3 done=1 minutes=75 category=2 'text=Yesterday: ship the release')
$(e2e_sheet_row row=1 estimated=2 'text=Yesterday: answer the mail')
$(e2e_sheet_row row=12 "text=$separator")
EOF
# The sheet list orders the files by creation time: yesterday's first.
sleep 1.2
e2e_write_sheet "$today_sheet" <<EOF
$(e2e_sheet_row row=0 'text=Today: plan the week')
$(e2e_sheet_row row=12 "text=$separator")
EOF
prev_before=$(sha256sum "$prev_sheet" | cut -d' ' -f1)

e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID

# --- Alt+Left: yesterday's sheet, read-only. -------------------------------------------------
e2e_key "$main_win" alt+Left
for _ in $(seq 1 50); do
  [ "$(count_in_log "DisplayToDoSheet() $prev_win")" -ge 1 ] && break
  sleep 0.1
done
e2e_assert_eq 1 "$(count_in_log "DisplayToDoSheet() $prev_win")" "yesterday's sheet displayed after Alt+Left"
e2e_assert_contains "$(e2e_day_log_text)" "Prev Todo" "log of Alt+Left"
sleep 0.5
e2e_screenshot previous-sheet-read-only

# Its editors are disabled: typed keys go nowhere. A score key is refused with the message.
e2e_type "$main_win" "zzz"
e2e_key "$main_win" ctrl+t
e2e_wait_window '^Tirelmo$' 20
refusal=$E2E_WIN
e2e_screenshot read-only-refusal
e2e_key "$refusal" Return
e2e_wait_no_window '^Tirelmo$' 20

# --- Alt+Right: today's sheet again. ---------------------------------------------------------
e2e_key "$main_win" alt+Right
for _ in $(seq 1 50); do
  [ "$(count_in_log "DisplayToDoSheet() $today_win")" -ge 1 ] && break
  sleep 0.1
done
e2e_assert_eq 1 "$(count_in_log "DisplayToDoSheet() $today_win")" "today's sheet displayed after Alt+Right"
e2e_assert_contains "$(e2e_day_log_text)" "Next Todo" "log of Alt+Right"
sleep 0.5
e2e_screenshot back-with-alt-right

# --- Alt+Left, then "Back to Today ToDo list" from the page menu (Tab). ----------------------
e2e_key "$main_win" alt+Left
for _ in $(seq 1 50); do
  [ "$(count_in_log "DisplayToDoSheet() $prev_win")" -ge 2 ] && break
  sleep 0.1
done
e2e_assert_eq 2 "$(count_in_log "DisplayToDoSheet() $prev_win")" "yesterday's sheet displayed after the second Alt+Left"
e2e_key "$main_win" Tab
sleep 0.5
e2e_screenshot page-menu
# "View old ToDo lists", "Back to Today ToDo list", ...
e2e_key "$main_win" Down Down Return
for _ in $(seq 1 50); do
  [ "$(count_in_log "DisplayToDoSheet() $today_win")" -ge 2 ] && break
  sleep 0.1
done
e2e_assert_eq 2 "$(count_in_log "DisplayToDoSheet() $today_win")" "today's sheet displayed by Back to Today"

# Editable again: a task typed into the second row is saved with today's sheet.
e2e_key "$main_win" Down
e2e_type "$main_win" "Today: call the printer service"
e2e_key "$main_win" ctrl+s
sleep 0.5
e2e_screenshot today-editable-again
e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code"

e2e_dump_sheet "$today_sheet"
e2e_assert_same_text "$(
  e2e_sheet_row row=0 'text=Today: plan the week'
  e2e_sheet_row row=1 'text=Today: call the printer service'
  e2e_sheet_row row=12 "text=$separator"
)" "$E2E_TEXT" "today's rows: nothing typed while yesterday's sheet was shown"
e2e_assert_eq "$prev_before" "$(sha256sum "$prev_sheet" | cut -d' ' -f1)" "yesterday's sheet file untouched"
e2e_pass
