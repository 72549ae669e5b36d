#!/usr/bin/env bash
# A second start while Tirelmo runs (minimised) ends at once with code 0, touches no file of
# the data folder, and brings the running window back.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin

e2e_fresh_profile
e2e_start_main
first_pid=$E2E_PID
first_win=$E2E_WIN
data=$(e2e_datadir)
e2e_assert_file_exists "$(e2e_log_path)"

e2e_minimize "$first_win"
e2e_screenshot minimised
before=$(e2e_snapshot "$data")
# Let the clock move on, so that a file written again with the same bytes still shows up
# through its modification time.
sleep 1.1
e2e_run second "$E2E_SCRATCH" wine "$E2E_TIRELMO_EXE"
e2e_assert_eq 0 "$E2E_RC" "exit code of the second instance"
after=$(e2e_snapshot "$data")
e2e_screenshot after-second
e2e_assert_same_text "$before" "$after" "data folder before/after the second instance (type size mtime sha256 path)"

kill -0 "$first_pid" 2>/dev/null || e2e_fail "the first instance ended when the second one started"
e2e_assert_eq "$first_pid" "$(e2e_prefix_pids Tirelmo.exe | tr '\n' ' ' | sed 's/ $//')" "Tirelmo processes after the second start"
# Restoring is asynchronous on the X side: give the window manager a moment.
for _ in $(seq 1 50); do
  e2e_window_mapped "$first_win" && break
  sleep 0.1
done
e2e_assert_mapped "$first_win" "the running instance after the second start"
e2e_assert_eq 1 "$(xdotool search --onlyvisible --name '^Tirelmo' | grep -c .)" "visible Tirelmo windows"

e2e_close_main "$first_win" "$first_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code of the first instance"
e2e_pass
