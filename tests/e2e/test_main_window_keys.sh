#!/usr/bin/env bash
# Mouse and keys of the main window: a right click on a row selects it and opens the row
# menu; Ctrl+Tab walks through the seven pages and from the last back to ToDo Today, where
# typing goes into the row selected before; with bMinimizeToTray off, Escape minimises the
# window to the taskbar (no tray icon).
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"

e2e_avoid_midnight 120
data=$(e2e_datadir)
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
sheet="$data/DailyTask/$ty/$tm/$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")"

# Windows of the program that are on the screen (its popup menu is one of them).
program_windows() { xdotool search --onlyvisible --class '^tirelmo\.exe$' 2>/dev/null | wc -l; }
count_in_log() { e2e_day_log_text | grep -cF -- "$1"; }

e2e_fresh_profile
# "cleanwhite": rows of 105 pixels from y 230; the body is not scrolled at the start.
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 skin=cleanwhite bMinimizeToTray=0
e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID

# --- Right click on row 2: the row menu. -----------------------------------------------------
before=$(program_windows)
e2e_click "$main_win" 300 $((230 + 2 * 105 + 50)) 3
for _ in $(seq 1 50); do
  [ "$(program_windows)" -gt "$before" ] && break
  sleep 0.1
done
e2e_assert_eq $((before + 1)) "$(program_windows)" "program windows on the screen after the right click"
e2e_screenshot row-menu
e2e_key "$main_win" Escape
for _ in $(seq 1 50); do
  [ "$(program_windows)" -eq "$before" ] && break
  sleep 0.1
done
e2e_assert_eq "$before" "$(program_windows)" "program windows after the menu closed"
e2e_assert_mapped "$main_win" "main window after Escape closed the menu"

# --- Ctrl+Tab through the pages. --------------------------------------------------------------
for page in 1 2 3 4 5 6; do
  e2e_key "$main_win" ctrl+Tab
done
for _ in $(seq 1 50); do
  [ "$(count_in_log "Next pg")" -ge 6 ] && break
  sleep 0.1
done
sleep 0.5
e2e_screenshot page-6-apps-websites
e2e_key "$main_win" ctrl+Tab
for _ in $(seq 1 50); do
  [ "$(count_in_log "Next pg")" -ge 7 ] && break
  sleep 0.1
done
e2e_assert_eq 7 "$(count_in_log "Next pg")" "page changes logged"
sleep 0.5
e2e_screenshot page-0-again

# Back on ToDo Today with row 2 selected: typing lands there.
e2e_type "$main_win" "Typed after the round trip"
e2e_key "$main_win" ctrl+s
for _ in $(seq 1 50); do
  [ -f "$sheet" ] && break
  sleep 0.1
done
e2e_dump_sheet "$sheet"
e2e_assert_same_text "$(e2e_sheet_row row=2 'text=Typed after the round trip')" "$E2E_TEXT" \
  "rows after Ctrl+Tab round trip and typing"

# --- Escape: minimised to the taskbar, not the tray. ----------------------------------------
e2e_key "$main_win" Escape
for _ in $(seq 1 50); do
  e2e_window_mapped "$main_win" || break
  sleep 0.1
done
e2e_window_mapped "$main_win" && e2e_fail "the main window is still on the screen after Escape"
e2e_screenshot minimised
e2e_assert_not_contains "$(e2e_day_log_text)" "Add icon to Tray" "log after Escape with bMinimizeToTray off"
# A minimised window is restored by the window manager as usual.
e2e_activate "$main_win"
e2e_assert_mapped "$main_win" "main window restored after minimising"
# Let the restore settle before Alt+F4: the window manager drops a close request that
# arrives while the window is still being mapped.
sleep 1
e2e_screenshot restored

e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code"
e2e_pass
