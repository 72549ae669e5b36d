#!/usr/bin/env bash
# Projects and categories on a profile with a year of history and ten projects: a task with
# 50 minutes today and 70 past minutes linked to project A, then to B, leaves A as it was and
# gives B two hours; closing B marks its open tasks of today done and moves it to the closed
# list; the report of a project draws its time per day; renaming a category in the
# categories dialog stores the new name. Screenshots: the Projects page, the dialogs.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
gen=$repo/build/native/bench/history_gen/history_gen
[ -x "$gen" ] || e2e_fail "no $gen: build the native side first (cmake --build --preset native)"

e2e_avoid_midnight 240
data=$(e2e_datadir)
data_win=$(e2e_datadir_win)
settings=$(e2e_settings_path)
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
today_rel="DailyTask/$ty/$tm/$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")"
separator='   --- Unplanned & Urgent ---'

e2e_fresh_profile
mkdir -p "$data"
"$gen" "$data" --windows-dir "$data_win" --years 1 >"$E2E_ART/history_gen.out" 2>&1 \
  || e2e_fail "history_gen failed: $(cat "$E2E_ART/history_gen.out")"
e2e_write_records "$data/Projects/active_prj.p01" <<'EOF'
"ID","Name"
"1","Alpha launch","5","0","1","0","0","0"
"2","Beta 测试","3","30","1","2027","3","1"
"3","Gamma notes","12","15","1","0","0","0"
"4","Delta budget","0","45","1","0","0","0"
"5","Epsilon hiring","7","0","2","0","0","0"
"6","Zeta","1","10","1","0","0","0"
"7","Eta ""quoted"" name","2","0","1","0","0","0"
"8","Theta research","9","20","1","0","0","0"
"9","Iota","0","0","0","0","0","0"
"10","Kappa customer visits","4","5","1","0","0","0"
EOF
e2e_write_records "$data/Projects/closed_prj.p01" <<'EOF'
"ID","Name"
"11","Old web site","12","0","3","0","0","0"
EOF
e2e_write_sheet "$data/$today_rel" <<EOF
$(e2e_sheet_row row=0 minutes=50 past_minutes=70 'text=Write the design notes')
$(e2e_sheet_row row=1 project=2 'text=Review the Beta build')
$(e2e_sheet_row row=2 project=3 'text=Gamma: sort the notes')
$(e2e_sheet_row row=12 "text=$separator")
EOF
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 next_prj_ID=12 \
  "last2dofilename=$data_win\\$(echo "$today_rel" | tr '/' '\\')"

# Row menu of row 0 > Projects > "Link to" (the "Link to %s" item is missing while the last
# used project is the row's own), then the N-th entry of the list (0: "<No project>").
link_row0_to() {
  e2e_click "$main_win" 300 $((230 + 50)) 3
  sleep 0.7
  e2e_key "$main_win" Down Down Down Right Down Down Return
  e2e_wait_window '^Link Todo to Project$' 20 "$main_pid"
  local dlg=$E2E_WIN i
  sleep 0.5
  e2e_key "$dlg" Home
  for ((i = 0; i < $1; i++)); do e2e_key "$dlg" Down; done
  e2e_screenshot "link-dialog-$1"
  e2e_key "$dlg" Return
  e2e_wait_no_window '^Link Todo to Project$' 20
}

e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID
sleep 1

# --- Link to A, then to B: the 120 minutes go with the task. ------------------------------------
link_row0_to 1
e2e_wait_log "Inc 120' to Prj ID 1"
link_row0_to 2
e2e_wait_log "Dec 120' from prev Prj ID 1"
e2e_wait_log "Inc 120' to Prj ID 2"

# --- The categories dialog: category 3 becomes "Deep work". -------------------------------------
e2e_click "$main_win" 300 $((230 + 50)) 3
sleep 0.7
e2e_key "$main_win" Down Down Right Up Return
e2e_wait_window '^Categories$' 20 "$main_pid"
cats=$E2E_WIN
sleep 0.5
e2e_screenshot categories-dialog
e2e_click "$cats" 200 106 1
e2e_key "$cats" ctrl+a
e2e_type "$cats" "Deep work"
e2e_key "$cats" Return
e2e_wait_no_window '^Categories$' 20
e2e_assert_eq "Deep work" "$(e2e_settings_value "$settings" cat_GREEN)" "category 3 after the dialog"

# --- The Projects page, the report, closing B. ---------------------------------------------------
for _ in 1 2 3 4 5; do e2e_key "$main_win" ctrl+Tab; sleep 0.3; done
sleep 1
e2e_screenshot projects-page
e2e_click "$main_win" 546 63 1
e2e_wait_window '^Create Report$' 20 "$main_pid"
report=$E2E_WIN
sleep 0.5
e2e_key "$report" Home Down Down
e2e_screenshot report-dialog
e2e_key "$report" Return
e2e_wait_no_window '^Create Report$' 20
e2e_wait_log "From: "
sleep 1
e2e_screenshot projects-report
e2e_click "$main_win" 500 63 1
sleep 0.7
e2e_key "$main_win" Down Down Return
e2e_wait_window '^Edit Project$' 20 "$main_pid"
edit=$E2E_WIN
sleep 0.5
e2e_key "$edit" Home Down Tab Tab End
e2e_screenshot edit-dialog
e2e_key "$edit" Return
e2e_wait_no_window '^Edit Project$' 20
sleep 1
e2e_screenshot projects-page-after-close
e2e_wheel "$main_win" 500 600 17
sleep 1
e2e_screenshot projects-closed-list
e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code"

e2e_read_records "$data/Projects/active_prj.p01"
active=$E2E_TEXT
e2e_assert_contains "$active" '"1","Alpha launch","5","0","1"' "project A after the task came and went"
e2e_assert_eq 0 "$(printf '%s\n' "$active" | grep -c '^"2",')" "project B left the active list"
e2e_assert_contains "$active" '"7","Eta ""quoted"" name","2","0"' "a name with quotes kept"
e2e_read_records "$data/Projects/closed_prj.p01"
e2e_assert_contains "$E2E_TEXT" '"2","Beta 测试","5","30","3","2027","3","1"' "project B closed with its two more hours"
e2e_assert_contains "$E2E_TEXT" '"11","Old web site"' "the older closed project"
e2e_dump_sheet "$data/$today_rel"
e2e_assert_matches "$E2E_TEXT" "row=0 [^
]* done=1 [^
]* project=2 [^
]*text=Write the design notes" "the linked task is done after closing B"
e2e_assert_matches "$E2E_TEXT" "row=1 [^
]* done=1 [^
]*text=Review the Beta build" "B's other task is done"
e2e_assert_matches "$E2E_TEXT" "row=2 [^
]* done=0 [^
]*text=Gamma" "a task of another project stays open"
e2e_pass
