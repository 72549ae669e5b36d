#!/usr/bin/env bash
# The pomodoro timer from the keyboard and the mouse: F5 on a typed task minimises the main
# window and opens the 56 x 56 timer window at tmrwndx/tmrwndy while the title counts down;
# closing the program is refused while the pomodoro runs; the timer window's menu changes the
# digits' colour at once; dragging moves the window; F6 in it stops the pomodoro, and the
# saved sheet holds an abandoned score with the minutes worked (none). The next start opens
# the timer window where it was dropped, and "Stop Timer" of its menu stops the pomodoro and
# brings the main window back.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"

e2e_avoid_midnight 240
data=$(e2e_datadir)
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
sheet="$data/DailyTask/$ty/$tm/$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")"
task='Draft the release notes'

# timer_geometry WIN: "W H X Y" of a window without frame.
timer_geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print w, h, x, y}'
}

# timer_colour WIN: the "R G B" of the timer picture's background at (2, 52), below the
# digits, where every style shows its own colour.
timer_colour() {
  import -window "$1" -crop 1x1+2+52 -depth 8 txt:- 2>/dev/null |
    sed -n 's/^0,0: (\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' | awk '{printf "%d %d %d\n", $1, $2, $3}'
}

# choose_timer_menu WIN DOWNS: right-click the timer window and pick the item reached by
# pressing Down that many times (1 = "Stop Timer", 3..7 = the five styles).
choose_timer_menu() {
  local win=$1 downs=$2 keys=() i
  for ((i = 0; i < downs; i++)); do keys+=(Down); done
  e2e_click "$win" 28 20 3
  sleep 1
  [ -n "${3:-}" ] && e2e_screenshot "$3"
  xdotool key --delay 100 "${keys[@]}" Return || e2e_fail "menu keys failed"
  sleep 0.7
}

e2e_fresh_profile
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 pomtimerminutes=1 tmrwndx=700 tmrwndy=120
e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID

# --- F5: the pomodoro starts on the typed row. --------------------------------------------------
e2e_type "$main_win" "$task"
e2e_key "$main_win" F5
e2e_wait_window '^Timer on: ' 20 "$main_pid"
timer_win=$E2E_WIN
e2e_assert_eq "Timer on: $task" "$(e2e_window_title "$timer_win")" "timer window title"
e2e_assert_eq "56 56 700 120" "$(timer_geometry "$timer_win")" "timer window size and place (tmrwndx, tmrwndy)"
# One minute left from the start: the singular, then the dots of the second.
e2e_wait_title "$main_win" '^minute (    |\.   |\.\.  |\.\.\. )$' 5
first_title=$(e2e_window_title "$main_win")
sleep 1.3
e2e_assert_ne "$first_title" "$(e2e_window_title "$main_win")" "title dots move on with the seconds"
for _ in $(seq 1 30); do
  e2e_window_mapped "$main_win" || break
  sleep 0.1
done
e2e_window_mapped "$main_win" && e2e_fail "the main window is still shown after F5 (not minimised)"
e2e_screenshot timer-classic
read -r r g b <<<"$(timer_colour "$timer_win")"
[ "${r:-0}" -gt "$((${b:-0} + 60))" ] || e2e_fail "Classic digits are not red: $r $g $b"

# --- Closing the program is refused while the pomodoro runs. ------------------------------------
e2e_request_close Tirelmo.exe
e2e_wait_window '^Tirelmo - v2\.3\.3\.0$' 20 "$main_pid"
refusal=$E2E_WIN
e2e_screenshot close-refused
e2e_key "$refusal" Return
e2e_wait_no_window '^Tirelmo - v2\.3\.3\.0$' 20
kill -0 "$main_pid" 2>/dev/null || e2e_fail "the program ended although a pomodoro was running"
e2e_assert_contains "$(xdotool search --all --onlyvisible --pid "$main_pid" --name '^Timer on: ' 2>/dev/null)" \
  "$timer_win" "timer window still open after the refused close"

# --- The colour styles, from the timer window's menu. -------------------------------------------
styles=(Classic Grey Light-Grey Yellow Blue)
for style in 1 2 3 4; do
  choose_timer_menu "$timer_win" $((style + 2)) "$([ "$style" = 1 ] && echo timer-menu)"
  e2e_screenshot "timer-${styles[$style]}"
  read -r r g b <<<"$(timer_colour "$timer_win")"
  case $style in
    1) [ "$r" -lt 120 ] && [ $((r - b)) -lt 30 ] && [ $((b - r)) -lt 30 ] || e2e_fail "Grey digits: $r $g $b" ;;
    2) [ "$r" -gt 170 ] && [ $((r - b)) -lt 30 ] && [ $((b - r)) -lt 30 ] || e2e_fail "Light Grey digits: $r $g $b" ;;
    3) [ "$r" -gt 200 ] && [ "$g" -gt 150 ] && [ "$b" -lt 120 ] || e2e_fail "Yellow digits: $r $g $b" ;;
    4) [ "$b" -gt $((r + 60)) ] || e2e_fail "Blue digits: $r $g $b" ;;
  esac
done

# --- Dragged by any point; F6 in it stops the pomodoro. -----------------------------------------
xdotool mousemove --window "$timer_win" 30 30 mousedown 1 || e2e_fail "mouse down on the timer window"
sleep 0.3
xdotool mousemove_relative --sync -- -150 90 || true
sleep 0.3
xdotool mousemove_relative --sync -- -150 90 || true
sleep 0.3
xdotool mouseup 1
sleep 0.5
read -r _ _ moved_x moved_y <<<"$(timer_geometry "$timer_win")"
[ "$moved_x" != 700 ] || [ "$moved_y" != 120 ] || e2e_fail "dragging did not move the timer window (still at 700,120)"
e2e_info "timer window dragged to $moved_x,$moved_y"
e2e_screenshot timer-dragged

e2e_key "$timer_win" F6
e2e_wait_no_window '^Timer on: ' 20
e2e_wait_title "$main_win" '^Tirelmo - v2\.3\.3\.0$' 10

e2e_activate "$main_win"
e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code"
e2e_dump_sheet "$sheet"
e2e_assert_same_text "$(e2e_sheet_row row=0 abandoned=1 "text=$task")" "$E2E_TEXT" \
  "sheet after a pomodoro stopped within its first minute"
settings=$(e2e_settings_path)
e2e_assert_eq 4 "$(e2e_settings_value "$settings" 'Timer Type')" "Timer Type after choosing Blue"
e2e_assert_eq "$moved_x" "$(e2e_settings_value "$settings" tmrwndx)" "tmrwndx after the drag"
e2e_assert_eq "$moved_y" "$(e2e_settings_value "$settings" tmrwndy)" "tmrwndy after the drag"

# --- The next timer window opens where the last one was left. -----------------------------------
e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID
e2e_key "$main_win" F5
e2e_wait_window '^Timer on: ' 20 "$main_pid"
timer_win=$E2E_WIN
e2e_assert_eq "56 56 $moved_x $moved_y" "$(timer_geometry "$timer_win")" "second timer window at the stored place"
sleep 1
e2e_screenshot timer-blue-reopened
read -r r g b <<<"$(timer_colour "$timer_win")"
[ "$b" -gt $((r + 60)) ] || e2e_fail "the stored Blue style is not used: $r $g $b"

# "Stop Timer" of the menu: stopped, and the main window comes back.
choose_timer_menu "$timer_win" 1
e2e_wait_no_window '^Timer on: ' 20
e2e_wait_title "$main_win" '^Tirelmo - v2\.3\.3\.0$' 10
for _ in $(seq 1 50); do
  e2e_window_mapped "$main_win" && break
  sleep 0.1
done
e2e_assert_mapped "$main_win" "main window after \"Stop Timer\""
e2e_screenshot stopped-from-menu

e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code of the second run"
e2e_dump_sheet "$sheet"
e2e_assert_same_text "$(e2e_sheet_row row=0 abandoned=2 "text=$task")" "$E2E_TEXT" "sheet after the second stop"
e2e_pass
