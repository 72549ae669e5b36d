#!/usr/bin/env bash
# The ToDo Today page in several skins, with rows that show every kind of mark: a done row,
# pomodoros, an estimate, interruptions, an abandoned pomodoro, a category, a repeat row and
# a task carried over from earlier days. Each start keeps a screenshot for a person to look
# at; the test checks that the page is drawn (the paper colour of the skin under the rows)
# and that the sheet comes through the start unchanged.
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
sheet_win="$data_win\\DailyTask\\$ty\\$tm\\$name"

rows=$(
  e2e_sheet_row row=0 pomodoros=2 done=1 minutes=50 category=3 'text=Send the invoices'
  e2e_sheet_row row=1 pomodoros=3 estimated=4 internal=2 minutes=75 category=1 'text=Fix the login bug'
  e2e_sheet_row row=2 pomodoros=5 abandoned=1 external=1 estimated=8 minutes=135 'text=Write the design note'
  e2e_sheet_row row=3 repeat=1 category=6 'text=Daily standup'
  e2e_sheet_row row=4 age=3 past_pomodoros=4 past_minutes=100 'text=Read the tax rules'
  e2e_sheet_row row=5 age=1 'text=Call the bank'
  e2e_sheet_row row=12 'text=   --- Unplanned & Urgent ---'
  e2e_sheet_row row=13 pomodoros=1 minutes=25 'text=Printer out of toner'
)

# The colour of one pixel of the last screenshot, as RRGGBB.
pixel() { convert "$(ls "$E2E_ART"/shot-*.png | tail -n 1)" -format '%[hex:p{'"$1,$2"'}]' info: 2>/dev/null | cut -c1-6; }

# skin, then a client point of the body that shows bare paper, and the paper's colour there.
check_skin() {
  local skin=$1 x=$2 y=$3 colour=$4 label
  label=$(tr ' ' '-' <<<"$skin")
  e2e_info "skin $skin"
  e2e_fresh_profile
  mkdir -p "$data"
  e2e_write_settings Wind_x=0 Wind_y=0 Wind_wth=1000 Wind_hth=1000 "skin=$skin" "last2dofilename=$sheet_win"
  e2e_write_sheet "$sheet" <<<"$rows"
  e2e_start_main
  local win=$E2E_WIN pid=$E2E_PID ox oy
  sleep 1
  e2e_screenshot "skin-$label"
  if [ -n "$colour" ]; then
    read -r ox oy <<<"$(e2e_client_origin "$win")"
    e2e_assert_eq "$colour" "$(pixel $((ox + x)) $((oy + y)))" "paper colour of skin '$skin' at $x,$y"
  fi
  e2e_close_main "$win" "$pid"
  e2e_assert_eq 0 "$E2E_RC" "exit code with skin '$skin'"
  e2e_dump_sheet "$sheet"
  e2e_assert_same_text "$rows" "$E2E_TEXT" "rows after a start with skin '$skin'"
}

# The points lie in row 8 (empty), away from the grid and the margins.
check_skin "cleanwhite" 301 $((230 + 8 * 105 + 50 - 0)) ""
check_skin "classic" 301 $((124 + 8 * 63 + 30)) "FCFFE8"
check_skin "compact white" 301 $((124 + 8 * 34 + 17)) "FFFFFF"
check_skin "crumpled" 301 $((124 + 8 * 63 + 30)) ""
check_skin "parchment" 301 $((124 + 8 * 63 + 30)) ""
check_skin "Vintage" 301 $((124 + 8 * 63 + 30)) "FEFFF0"
check_skin "pink" 301 $((230 + 8 * 105 + 50)) ""
check_skin "SmallCervino" 301 $((124 + 8 * 63 + 30)) "F2F2EC"
e2e_pass
