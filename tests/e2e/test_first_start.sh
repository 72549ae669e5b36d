#!/usr/bin/env bash
# First start in an empty profile: the default user-data folder %APPDATA%\Tirelmo is made
# with the settings file (all defaults), the log with its start banner, the data subfolders
# and the write probe's dummy.txt; the main window shows the program title.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin

e2e_fresh_profile
day_before=$(date +%Y-%-m-%-d)
e2e_start_main
day_after=$(date +%Y-%-m-%-d)

e2e_assert_eq "$E2E_MAIN_TITLE" "$(e2e_window_title "$E2E_WIN")" "main window title"

data=$(e2e_datadir)
e2e_assert_dir_exists "$data"
for sub in DailyTask stats Projects AppUsage; do
  e2e_assert_dir_exists "$data/$sub"
done
e2e_assert_file_exists "$data/dummy.txt"
e2e_assert_eq 0 "$(stat -c %s "$data/dummy.txt")" "size of dummy.txt"

# --- Settings file: UTF-16LE without BOM, CR LF lines, header and defaults in file order.
settings=$(e2e_settings_path)
e2e_assert_file_exists "$settings"
e2e_assert_eq "2300" "$(e2e_hex_head "$settings" 2)" "first character of tirelmo.i00 ('#', no byte-order mark)"
e2e_assert_eq "0d000a00" "$(e2e_hex_tail "$settings" 4)" "tirelmo.i00 ends with CR LF"
raw=$(e2e_read_utf16 "$settings")
e2e_assert_eq 0 "$(printf '%s\n' "$raw" | grep -vc $'\r$')" "lines of tirelmo.i00 without CR before LF"

# Later parts of the start-up may already have saved the sheet path, the use count, the
# next identifier and the sheet's save time; only their form is fixed here.
actual=$(e2e_read_utf16_lines "$settings")
varies='^(last2dofilename|sgcn230|next_prj_ID|Tdl saved on)='
e2e_assert_matches "$(e2e_settings_value "$settings" sgcn230)" '^[0-9]+$' "sgcn230"
e2e_assert_matches "$(e2e_settings_value "$settings" next_prj_ID)" '^[1-9][0-9]*$' "next_prj_ID"
e2e_assert_matches "$(e2e_settings_value "$settings" 'Tdl saved on')" '^([0-9]+(,[0-9]+){6})?$' "Tdl saved on"
e2e_assert_same_text \
  "$(e2e_settings_text | sed -E "s/$varies.*/\\1=(varies)/")" \
  "$(printf '%s\n' "$actual" | sed -E "s/$varies.*/\\1=(varies)/")" \
  "tirelmo.i00 after the first start"

# --- Log: the banner of this start. On the first run of a day the main window may already
# have rotated the log; the banner then sits in the _prev copy and today's file starts with
# the rotation lines.
log=$(e2e_log_path)
prev="$data/Tirelmo_v2.3.3_log_prev.txt"
e2e_assert_file_exists "$log"
banner_re='^ ----   ([0-9]{4}-[0-9]{1,2}-[0-9]{1,2}), ore [0-9]{2}:[0-9]{2}   ----$'
if [ -f "$prev" ]; then
  e2e_info "log rotated at the first start; checking the banner in $(basename "$prev")"
  banner_log=$prev
  e2e_assert_matches "$(e2e_read_utf16_lines "$log" | sed -n 1p)" "$banner_re" "first line of the rotated log"
  e2e_assert_eq "log started on previous file" "$(e2e_read_utf16_lines "$log" | sed -n 2p)" "second line of the rotated log"
else
  banner_log=$log
fi
e2e_assert_eq "0a00" "$(e2e_hex_head "$banner_log" 2)" "the log text begins with a bare line feed"
lines=$(e2e_read_utf16_lines "$banner_log")
e2e_assert_eq "" "$(printf '%s\n' "$lines" | sed -n 1p)" "text before the first line feed of the log"
banner=$(printf '%s\n' "$lines" | sed -n 2p)
e2e_assert_matches "$banner" "$banner_re" "start banner"
[[ $banner =~ $banner_re ]]
banner_day=${BASH_REMATCH[1]}
[ "$banner_day" = "$day_before" ] || [ "$banner_day" = "$day_after" ] \
  || e2e_fail "banner date $banner_day is not today ($day_before)"
e2e_assert_eq "Tirelmo v2.3.3 0 (32-bit) built on May 14 2021 19:36:34" \
  "$(printf '%s\n' "$lines" | sed -n 3p)" "version line of the log"
e2e_assert_eq "Default User-data dir:  $(e2e_datadir_win)" \
  "$(printf '%s\n' "$lines" | sed -n 4p)" "default user-data folder line of the log"
e2e_assert_eq "ok can write into:  $(e2e_datadir_win)" \
  "$(printf '%s\n' "$lines" | sed -n 5p)" "write probe of the default user-data folder"
# Every line ends with CR LF, except the bare line feed that opens the banner.
e2e_assert_eq 0 "$(e2e_read_utf16 "$banner_log" | tail -n +2 | grep -vc $'\r$')" \
  "log lines not ended by CR LF"

e2e_close_main
e2e_assert_eq 0 "$E2E_RC" "exit code after closing the window"
e2e_pass
