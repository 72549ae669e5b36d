#!/usr/bin/env bash
# The Settings dialog and the move of the data folder, on a profile with a year of history,
# two Todolists, yesterday's archive and a usage file: out-of-range minutes are refused and
# leave the settings file alone; OK without a change leaves it byte for byte; changing only
# the alarm changes only its line; "Run at startup" adds and removes the Run entry; a
# destination inside the data folder is refused and copies nothing; a move to C:\newdata
# (with a task typed but not saved) carries every file byte for byte, the program then works
# there (a pomodoro lands in the new folder), and the next start finds both Todolists there.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
gen=$repo/build/native/bench/history_gen/history_gen
[ -x "$gen" ] || e2e_fail "no $gen: build the native side first (cmake --build --preset native)"

e2e_avoid_midnight 300
data=$(e2e_datadir)
data_win=$(e2e_datadir_win)
settings=$(e2e_settings_path)
new_unix="$E2E_WINEPREFIX/drive_c/newdata"
new_win='C:\newdata'
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
read -r py pm pd pw <<<"$(date -d 'yesterday 12:00' '+%Y %-m %-d %w')"
today_rel="DailyTask/$ty/$tm/$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")"
prev_rel="DailyTask/$py/$pm/$(e2e_sheet_name "$py" "$pm" "$pd" "$pw")"
separator='   --- Unplanned & Urgent ---'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
typed='Unsaved: call the notary'

rm -rf "$new_unix"
e2e_collect_dir "$new_unix"
e2e_fresh_profile
mkdir -p "$data"
"$gen" "$data" --windows-dir "$data_win" --years 1 >"$E2E_ART/history_gen.out" 2>&1 \
  || e2e_fail "history_gen failed: $(cat "$E2E_ART/history_gen.out")"
# Yesterday's sheet as the day start will carry it: the done task leaves row 0 free.
e2e_write_sheet "$data/$prev_rel" <<EOF
$(e2e_sheet_row row=0 done=1 pomodoros=2 minutes=50 'text=Ship the release notes')
$(e2e_sheet_row row=1 pomodoros=1 minutes=25 'text=Write the memo')
$(e2e_sheet_row row=12 "text=$separator")
EOF
e2e_write_list "$data/NextThings/Activity Inventory.pm6" <<EOF
$(e2e_sheet_row row=0 'text=Buy stamps')
EOF
e2e_write_list "$data/NextThings/Groceries.pm6" <<EOF
$(e2e_sheet_row row=0 'text=Oat milk')
$(e2e_sheet_row row=1 'text=Coffee beans')
EOF
e2e_write_records "$data/TdlInfo.p01" <<EOF
"ID","Title","Path","FreeRows"
"3","Activity Inventory","$data_win\\NextThings\\Activity Inventory.pm6","49"
"4","Groceries","$data_win\\NextThings\\Groceries.pm6","48"
EOF
mkdir -p "$data/AppUsage"
printf 'u\0s\0a\0g\0e\0\r\0\n\0' >"$data/AppUsage/todayAppUsage.txt"
# The generator's settings name its own last sheet; point them at yesterday's.
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 next_prj_ID=40 \
  "last2dofilename=$data_win\\$(echo "$prev_rel" | tr '/' '\\')"

open_settings() {  # the toolbar's settings button (fourth button, x 99..139)
  e2e_click "$main_win" 119 63 1
  e2e_wait_window '^Settings$' 20 "$main_pid"
  dlg=$E2E_WIN
  sleep 0.5
}
close_box() {  # REGEX: a message box over the dialog, answered with Return
  e2e_wait_window "$1" 20 "$main_pid"
  e2e_screenshot "box-$2"
  e2e_key "$E2E_WIN" Return
  sleep 0.5
}
settings_sum() { sha256sum "$settings" | cut -d' ' -f1; }
run_entry() { wine reg query "$run_key" /v Tirelmo </dev/null 2>/dev/null | tr -d '\r' | grep -c 'Tirelmo'; }

e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID
e2e_wait_log "Load NextThings Tdls"
sleep 1

# --- Out-of-range minutes: refused, the field reset, the settings file untouched. --------------
sum=$(settings_sum)
open_settings
e2e_screenshot settings-dialog
e2e_type "$dlg" "91"
e2e_key "$dlg" Return
close_box '^Value entered out of range$' pomodoro
e2e_key "$dlg" Tab Tab
e2e_type "$dlg" "21"
e2e_key "$dlg" Return
close_box '^Value entered out of range$' break
e2e_window_mapped "$dlg" || e2e_fail "the dialog closed on a refused value"
e2e_key "$dlg" Escape
e2e_wait_no_window '^Settings$' 20
e2e_assert_eq "$sum" "$(settings_sum)" "settings file after refused minutes and Cancel"

# --- OK without a change writes nothing. -------------------------------------------------------
open_settings
e2e_key "$dlg" Return
e2e_wait_no_window '^Settings$' 20
e2e_assert_eq "$sum" "$(settings_sum)" "settings file after OK without a change"

# --- Only the alarm: only its line changes. ----------------------------------------------------
before=$(e2e_read_utf16_lines "$settings")
open_settings
e2e_key "$dlg" Tab space Return
e2e_wait_no_window '^Settings$' 20
# The use count the day's first start raised ("Prog used %d times") goes out with any save.
changed=$(diff <(printf '%s\n' "$before") <(e2e_read_utf16_lines "$settings") | grep '^[<>]' | grep -v '^. sgcn230=' || true)
e2e_assert_eq "$(printf '< bPlayAlarm=1\n> bPlayAlarm=0')" "$changed" "settings lines changed by the alarm"

# --- Run at startup: on writes the Run entry, off removes it. ----------------------------------
open_settings
e2e_key "$dlg" Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space Return
e2e_wait_no_window '^Settings$' 20
e2e_assert_eq 1 "$(run_entry)" "Run entry after ticking Run at startup"
open_settings
e2e_key "$dlg" Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space Return
e2e_wait_no_window '^Settings$' 20
e2e_assert_eq 0 "$(run_entry)" "Run entry after unticking Run at startup"

# --- A destination inside the data folder: refused, the dialog stays, nothing copied. ----------
sum=$(settings_sum)
open_settings
e2e_key "$dlg" Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
e2e_type "$dlg" "$data_win\\inner"
e2e_key "$dlg" Return
sleep 1
box=$(xdotool search --all --onlyvisible --pid "$main_pid" --name '.' 2>/dev/null | grep -vx -e "$main_win" -e "$dlg" | tail -n 1)
[ -n "$box" ] || e2e_fail "no message for a destination inside the data folder"
e2e_screenshot box-inside
e2e_key "$box" Return
sleep 0.5
e2e_window_mapped "$dlg" || e2e_fail "the dialog closed on a refused folder"
e2e_key "$dlg" Escape
e2e_wait_no_window '^Settings$' 20
e2e_assert_not_exists "$data/inner"
e2e_assert_eq "$sum" "$(settings_sum)" "settings file after a refused folder"

# --- The move: a typed task, then C:\newdata. --------------------------------------------------
e2e_type "$main_win" "$typed"
open_settings
e2e_key "$dlg" Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
e2e_type "$dlg" "$new_win"
e2e_key "$dlg" Return
e2e_wait_no_window '^Settings$' 60
e2e_wait_log "Copy OK into new User-data dir" 600
e2e_screenshot after-move
e2e_assert_eq "$new_win" "$(e2e_settings_value "$settings" 'User Data dir')" "User Data dir right after the move"
# Every file but the Todolists' registry, whose paths name the folder (checked below).
mismatch=$(cd "$data" && find . -type f ! -name 'Tirelmo_*log*' ! -name tirelmo.i00 ! -name dummy.txt ! -name TdlInfo.p01 | sort |
  while read -r f; do cmp -s "$f" "$new_unix/$f" || echo "$f"; done)
e2e_assert_eq "" "$mismatch" "files that did not arrive byte for byte"
e2e_dump_sheet "$data/$today_rel"
e2e_assert_contains "$E2E_TEXT" "text=$typed" "the typed task was saved before the copy"
e2e_read_records "$new_unix/TdlInfo.p01"
e2e_assert_contains "$E2E_TEXT" "\"$new_win\\NextThings\\Groceries.pm6\"" "registry path in the new folder"
e2e_assert_contains "$E2E_TEXT" "\"$new_win\\NextThings\\Activity Inventory.pm6\"" "registry path in the new folder"
e2e_assert_not_contains "$E2E_TEXT" "$data_win" "registry paths still naming the old folder"

# A pomodoro on the typed task lands in the new folder only.
e2e_key "$main_win" ctrl+t
sleep 0.5
e2e_key "$main_win" ctrl+s
sleep 1
e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code after the move"
e2e_dump_sheet "$new_unix/$today_rel"
e2e_assert_matches "$E2E_TEXT" "row=0 pomodoros=1 .*text=$typed" "today's sheet in the new folder"
e2e_dump_sheet "$data/$today_rel"
e2e_assert_matches "$E2E_TEXT" "row=0 pomodoros=0 .*text=$typed" "today's sheet in the old folder"

# --- The next start works in the new folder and shows both Todolists. --------------------------
e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID
e2e_wait_log "Opening $new_win\\TdlInfo.p01"
e2e_key "$main_win" ctrl+Tab
sleep 1
e2e_screenshot next-things-after-restart
e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code of the start in the new folder"
e2e_pass
