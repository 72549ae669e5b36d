#!/usr/bin/env bash
# A user-data folder that exists but cannot be written: the program logs "no write in dir: ",
# copies its "stats" (and "DailyTask") into the default folder, starts normally from there
# and leaves the read-only folder as it was.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin

e2e_fresh_profile
ro="$E2E_SCRATCH/readonly-data"
mkdir -p "$ro/stats"
printf 'kept by the e2e test\n' >"$ro/stats/e2e-marker.txt"
e2e_collect_dir "$ro"
how=$(e2e_make_readonly_dir "$ro")
e2e_info "read-only folder made by: $how"
before=$(e2e_snapshot "$ro")

ro_win=$(e2e_winpath "$ro")
e2e_write_settings "User Data dir=$ro_win"
e2e_start_main
e2e_assert_eq "$E2E_MAIN_TITLE" "$(e2e_window_title "$E2E_WIN")" "main window title"
e2e_close_main
e2e_assert_eq 0 "$E2E_RC" "exit code"

data=$(e2e_datadir)
log_text=$(e2e_day_log_text)
e2e_assert_contains "$log_text" "CanWriteIntoDir last error 5: " "access-denied error of the write probe"
e2e_assert_refused_in_log "$log_text" "$ro_win"
e2e_assert_contains "$log_text" "ForceUserDataDirToDefault - userdata_dir:" "fallback in the log"
e2e_assert_contains "$log_text" "Copying:" "copy of the old data in the log"
for sub in DailyTask stats Projects AppUsage; do
  e2e_assert_dir_exists "$data/$sub"
done
e2e_assert_file_exists "$data/stats/e2e-marker.txt"
e2e_assert_eq "kept by the e2e test" "$(cat "$data/stats/e2e-marker.txt")" "copied stats file"
e2e_assert_same_text "$before" "$(e2e_snapshot "$ro")" "the read-only folder after the start"
e2e_assert_closing_tail "$(e2e_log_path)"
e2e_pass
