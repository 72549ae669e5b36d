#!/usr/bin/env bash
# The "User Data dir" setting: a writable folder is used for the data; a folder that does
# not exist, or whose path runs through a regular file, cannot be written, so the program
# logs "no write in dir: " and starts normally from the default user-data folder.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin

# start_with_userdata UNIX_DIR: fresh profile whose settings name UNIX_DIR as the user-data
# folder; start, check the window, close, check the exit code.
start_with_userdata() {
  e2e_fresh_profile
  userdata_win=$(e2e_winpath "$1")
  e2e_write_settings "User Data dir=$userdata_win"
  e2e_start_main
  e2e_assert_eq "$E2E_MAIN_TITLE" "$(e2e_window_title "$E2E_WIN")" "main window title"
  e2e_close_main
  e2e_assert_eq 0 "$E2E_RC" "exit code"
  log_text=$(e2e_day_log_text)
}

# assert_fell_back UNIX_DIR: the start used the default folder instead of UNIX_DIR.
assert_fell_back() {
  local data
  data=$(e2e_datadir)
  e2e_assert_contains "$log_text" "CanWriteIntoDir last error " "platform error of the write probe"
  e2e_assert_refused_in_log "$log_text" "$userdata_win"
  e2e_assert_contains "$log_text" "ForceUserDataDirToDefault - userdata_dir:" "fallback to the default folder in the log"
  e2e_assert_contains "$log_text" "Change to Default dir: " "fallback to the default folder in the log"
  for sub in DailyTask stats Projects AppUsage; do
    e2e_assert_dir_exists "$data/$sub"
  done
  e2e_assert_closing_tail "$(e2e_log_path)"
}

# 1. A writable folder elsewhere holds the data; the default folder keeps log and settings.
other="$E2E_SCRATCH/elsewhere"
mkdir -p "$other"
e2e_collect_dir "$other"
start_with_userdata "$other"
e2e_assert_contains "$log_text" "ok can write into:  $userdata_win" "write probe of the chosen folder"
e2e_assert_not_contains "$log_text" "no write in dir:" "log of a start with a writable user-data folder"
for sub in DailyTask stats Projects AppUsage; do
  e2e_assert_dir_exists "$other/$sub"
  e2e_assert_not_exists "$(e2e_datadir)/$sub"
done
e2e_assert_file_exists "$other/dummy.txt"
e2e_assert_file_exists "$(e2e_datadir)/dummy.txt"
e2e_assert_file_exists "$(e2e_log_path)"
e2e_assert_file_exists "$(e2e_settings_path)"
e2e_assert_not_exists "$other/$E2E_SETTINGS_NAME"
e2e_assert_not_exists "$other/$E2E_LOG_NAME"

# 2. A folder that does not exist.
missing="$E2E_SCRATCH/no-such-folder"
start_with_userdata "$missing"
assert_fell_back
e2e_assert_contains "$log_text" "CanWriteIntoDir last error 3: " "path-not-found error of the write probe"
e2e_assert_not_exists "$missing"

# 3. A path whose parent is a regular file: nobody, root included, can create a folder there.
blocker="$E2E_SCRATCH/a-file"
echo "not a folder" >"$blocker"
start_with_userdata "$blocker/data"
assert_fell_back
e2e_assert_eq "not a folder" "$(cat "$blocker")" "the file in the user-data path"
e2e_pass
