#!/usr/bin/env bash
# The ToDo Today page pixel for pixel: screenshots of its client area in several skins, two
# window widths and several scroll positions are compared with the pictures in
# tests/e2e/page_pixels/. The rows carry every kind of mark; the current row's editor and
# marker are scrolled with the page; an earlier day's sheet shows the read-only look. Today's
# date in the header is covered by the same rectangle in both pictures before comparing.
# E2E_UPDATE_PIXELS=1 writes the pictures anew instead (after a deliberate change of look).
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"

# A blinking caret would make two captures of one state differ (e2e_env_up stops it).
[[ $(wine reg query 'HKCU\Control Panel\Desktop' /v CursorBlinkRate </dev/null 2>/dev/null) == *REG_SZ*-1* ]] \
  || e2e_fail "the caret of the Wine prefix still blinks (CursorBlinkRate is not -1): restart the environment (tests/e2e/e2e-env.sh down; up)"

refs="$E2E_LIB_DIR/page_pixels"
update=${E2E_UPDATE_PIXELS:-0}
shots="$E2E_ART/pixels"
mkdir -p "$shots" "$refs"

e2e_avoid_midnight 240
data=$(e2e_datadir)
data_win=$(e2e_datadir_win)
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
today_name=$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")
today_sheet="$data/DailyTask/$ty/$tm/$today_name"
today_win="$data_win\\DailyTask\\$ty\\$tm\\$today_name"
# A fixed earlier day (Tuesday 5 March 2024): its date in the header never changes.
past_name=$(e2e_sheet_name 2024 3 5 2)
past_sheet="$data/DailyTask/2024/3/$past_name"
past_win="$data_win\\DailyTask\\2024\\3\\$past_name"

# No deadlines: their labels count the days to today.
rows=$(
  e2e_sheet_row row=0 pomodoros=2 done=1 minutes=50 category=3 'text=Send the invoices'
  e2e_sheet_row row=1 pomodoros=3 estimated=4 internal=2 minutes=75 category=1 'text=Fix the login bug'
  e2e_sheet_row row=2 pomodoros=5 abandoned=1 external=1 estimated=8 minutes=135 project=7 'text=Write the design note'
  e2e_sheet_row row=3 repeat=1 category=6 'text=Daily standup'
  e2e_sheet_row row=4 age=3 past_pomodoros=4 past_minutes=100 project=7 'text=Read the tax rules'
  e2e_sheet_row row=5 age=1 'text=Call the bank'
  e2e_sheet_row row=8 estimated=9 internal=5 category=12 'text=Plan the quarter'
  e2e_sheet_row row=12 'text=   --- Unplanned & Urgent ---'
  e2e_sheet_row row=13 pomodoros=1 minutes=25 'text=Printer out of toner'
  e2e_sheet_row row=23 abandoned=4 external=4 minutes=5 category=9 'text=A task text long enough to run under the score column on the right'
  e2e_sheet_row row=24 done=1 pomodoros=1 estimated=1 minutes=25 'text=Last row'
)
past_rows=$(
  e2e_sheet_row row=0 pomodoros=3 done=1 minutes=75 category=2 project=7 'text=Ship the release'
  e2e_sheet_row row=1 estimated=2 internal=1 'text=Answer the mail'
  e2e_sheet_row row=2 repeat=1 'text=Daily standup'
  e2e_sheet_row row=3 age=2 past_pomodoros=1 past_minutes=25 'text=Read the tax rules'
  e2e_sheet_row row=12 'text=   --- Unplanned & Urgent ---'
  e2e_sheet_row row=24 pomodoros=2 abandoned=1 minutes=50 'text=Late call'
)

# One profile for every start: the program is killed after its captures, so nothing is
# written back and today's sheet stays the only one after the earlier day's.
e2e_fresh_profile
mkdir -p "$data"
e2e_write_records "$data/Projects/active_prj.p01" <<<"$(printf '%s\n' '"ID","Name"' '"7","Website relaunch","1","40","1","0","0","0"')"
e2e_write_sheet "$past_sheet" <<<"$past_rows"
# The sheet list orders the files by creation time: the earlier day's first.
sleep 1.2
e2e_write_sheet "$today_sheet" <<<"$rows"

# wait_log TEXT: until the log of the day holds TEXT.
wait_log() {
  for _ in $(seq 1 50); do
    e2e_day_log_text | grep -F -- "$1" >/dev/null && return 0
    sleep 0.1
  done
  e2e_fail "not in the log after 5 s: $1"
}

failures=()
case_count=0

# check_case NAME MASK
#   Capture the main window as NAME and compare it with the reference NAME.png. MASK
#   ("x0,y0 x1,y1" or empty) is filled in the capture, as it was in the reference.
check_case() {
  local name=$1 mask=$2 shot="$shots/$1.png" ref="$refs/$1.png" result
  case_count=$((case_count + 1))
  e2e_capture_window "$win" "$shot"
  if [ -n "$mask" ]; then
    convert "$shot" +antialias -fill '#ff00ff' -draw "rectangle $mask" "png24:$shot" \
      || e2e_fail "could not mask $shot"
  fi
  if [ "$update" = 1 ]; then
    e2e_store_png "$shot" "$ref"
    e2e_info "$name: reference written"
    return
  fi
  if [ ! -f "$ref" ]; then
    failures+=("$name: no reference $ref (E2E_UPDATE_PIXELS=1 writes it)")
    return
  fi
  result=$(e2e_compare_image "$ref" "$shot" "$shots/$name.diff.png")
  case $? in
    0) e2e_info "$name: equal" ;;
    *) failures+=("$name: $result") ;;
  esac
}

# layout_of SKIN
#   The row grid of a skin: "lined" (63-pixel rows), "compact" (34) or "large" (105, also
#   any name outside the list of skins).
layout_of() {
  case $1 in
    classic | crumpled | parchment | Vintage | SmallCervino) echo lined ;;
    "compact white") echo compact ;;
    *) echo large ;;
  esac
}

# date_mask SKIN
#   The rectangle that today's date in the header may cover, with room for the longest
#   date; nothing for a skin name outside the list, which has no header form.
date_mask() {
  case $(layout_of "$1"):$1 in
    lined:* | compact:*) echo "89,89 262,113" ;;
    *:cleanwhite | *:white | *:pink | *:cyan | *:"light gold" | *:Cervino) echo "89,163 262,187" ;;
    *) echo "" ;;
  esac
}

# marker_notches SKIN
#   Wheel notches that take row 8 from where "row8" shows it to a top between 83 and 126
#   pixels: its marker is drawn over the header band, its editor lies right below the
#   header (lined) or is hidden under it.
marker_notches() {
  case $(layout_of "$1") in
    lined) echo 7 ;;
    compact) echo 4 ;;
    large) echo 6 ;;
  esac
}

# run_skin SKIN WIDTH [readonly]
#   One start of the program: the page at the top; row 8 made current by the arrow keys
#   and the page wheeled two notches further (editors and marker scrolled); row 8 wheeled
#   up into the header band; the bottom. "readonly" then shows the earlier day's sheet, at
#   the bottom and the top.
run_skin() {
  local skin=$1 width=$2 extra=${3:-} label mask
  label="$(tr ' ' '-' <<<"$skin")-$width"
  mask=$(date_mask "$skin")
  e2e_info "skin $skin, width $width"
  e2e_write_settings Wind_x=0 Wind_y=0 "Wind_wth=$width" Wind_hth=650 "skin=$skin" \
    "last2dofilename=$today_win" next_prj_ID=8
  # The pointer rests outside the window: no tooltip, no hot tab.
  xdotool mousemove 1500 1150
  e2e_start_main
  win=$E2E_WIN
  check_case "$label-top" "$mask"
  e2e_key "$win" Down Down Down Down Down Down Down Down
  e2e_wheel "$win" 500 400 2
  check_case "$label-row8" "$mask"
  e2e_wheel "$win" 500 400 "$(marker_notches "$skin")"
  check_case "$label-row8-header" "$mask"
  e2e_wheel "$win" 500 400 45
  check_case "$label-bottom" "$mask"
  if [ "$extra" = readonly ]; then
    e2e_key "$win" alt+Left
    wait_log "DisplayToDoSheet() $past_win"
    e2e_wheel "$win" 500 400 45
    check_case "$label-past-bottom" ""
    e2e_wheel "$win" 500 400 -45
    check_case "$label-past-top" ""
  fi
  e2e_kill_main "$E2E_PID"
}

t0=$(date +%s)
run_skin classic 1000
run_skin crumpled 1000
run_skin Vintage 1000
run_skin cleanwhite 1000 readonly
run_skin cleanwhite 800
run_skin "compact white" 800
run_skin none 1000
e2e_info "$case_count cases in $(( $(date +%s) - t0 )) s"

if [ "${#failures[@]}" -gt 0 ]; then
  e2e_fail "$(printf '%s\n' "${#failures[@]} of $case_count screenshots do not match tests/e2e/page_pixels:" \
    "${failures[@]}" "captures (NAME.png) and differences in red (NAME.diff.png) are in $shots")"
fi
e2e_pass
