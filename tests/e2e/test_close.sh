#!/usr/bin/env bash
# Closing the main window: the process ends with code 0, the log ends with the closing line
# and two empty lines, and tirelmo.i00 holds the window's last position.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin

e2e_fresh_profile
# A known starting position (and a height that fits the screen) through a prepared profile.
e2e_write_settings Wind_x=100 Wind_y=80 Wind_hth=700
e2e_start_main

# The window must open where the settings put it. Wine maps the X window to the client
# area, so the frame's left and top edges sit a fixed border/caption offset before it.
read -r cx cy <<<"$(e2e_client_origin "$E2E_WIN")"
off_x=$((cx - 100))
off_y=$((cy - 80))
if [ "$off_x" -lt 0 ] || [ "$off_x" -gt 16 ] || [ "$off_y" -lt 0 ] || [ "$off_y" -gt 48 ]; then
  e2e_fail "window opened with its client area at $cx,$cy; expected just right of and below 100,80 (Wind_x, Wind_y)"
fi

# Move it somewhere else; closing must store the new position of the frame.
e2e_move_window "$E2E_WIN" 400 300
e2e_screenshot moved
day_before=$(date +%Y-%-m-%-d)
e2e_close_main
day_after=$(date +%Y-%-m-%-d)
e2e_assert_eq 0 "$E2E_RC" "exit code after closing the window"
e2e_assert_no_process Tirelmo.exe

log=$(e2e_log_path)
e2e_assert_closing_tail "$log"
closing=$(e2e_read_utf16_lines "$log" | tail -n 3 | head -n 1)
[[ $closing =~ ^\[([0-9]+-[0-9]+-[0-9]+)\  ]]
[ "${BASH_REMATCH[1]}" = "$day_before" ] || [ "${BASH_REMATCH[1]}" = "$day_after" ] \
  || e2e_fail "closing line '$closing' does not carry today's date ($day_before)"
e2e_assert_eq 1 "$(e2e_read_utf16_lines "$log" | grep -c 'Closing\.\.$')" "closing lines in the log of one run"

settings=$(e2e_settings_path)
e2e_assert_eq "$((400 - off_x))" "$(e2e_settings_value "$settings" Wind_x)" "Wind_x after closing"
e2e_assert_eq "$((300 - off_y))" "$(e2e_settings_value "$settings" Wind_y)" "Wind_y after closing"
e2e_assert_eq "#             DO NOT CHANGE THIS FILE!!!" "$(e2e_read_utf16_lines "$settings" | sed -n 2p)" \
  "header of the settings saved at closing"
e2e_assert_eq "English" "$(e2e_settings_value "$settings" Language)" "Language in the settings saved at closing"
e2e_pass
