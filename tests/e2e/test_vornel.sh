#!/usr/bin/env bash
# Vornel, started in the program folder, starts exactly one Tirelmo and ends with code 0
# without leaving a process or window behind; a second Vornel while Tirelmo runs ends the
# same way, and the extra Tirelmo it starts gives way to the running one.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin

e2e_fresh_profile
e2e_run vornel "$PROGRAM_DIR" wine Vornel.exe
e2e_assert_eq 0 "$E2E_RC" "exit code of Vornel"
e2e_wait_window '^Tirelmo' 60
e2e_screenshot started
win=$E2E_WIN
e2e_assert_eq "$E2E_MAIN_TITLE" "$(e2e_window_title "$win")" "title of the window Vornel brought up"
e2e_assert_eq 1 "$(e2e_count_processes Tirelmo.exe)" "Tirelmo processes after Vornel"
e2e_assert_no_process Vornel.exe
pid=$(e2e_prefix_pids Tirelmo.exe)
e2e_assert_eq "$pid" "$(xdotool getwindowpid "$win")" "process of the Tirelmo window"

e2e_run vornel-again "$PROGRAM_DIR" wine Vornel.exe
e2e_assert_eq 0 "$E2E_RC" "exit code of the second Vornel"
e2e_assert_no_process Vornel.exe
e2e_wait_process_count Tirelmo.exe 1 30
e2e_assert_eq "$pid" "$(e2e_prefix_pids Tirelmo.exe)" "the Tirelmo left running is the first one"
e2e_screenshot after-second-vornel

e2e_close_window "$win"
e2e_wait_process_count Tirelmo.exe 0 60
e2e_assert_closing_tail "$(e2e_log_path)"
e2e_pass
