#!/usr/bin/env bash
# Two computers of one person through the sync service on loopback (tirelmo-sync with a
# token and its test mode). Computer A starts its day: the daily requests reach the service
# (location, ping) and the ping's command, which offers a file: address, shows its text and
# opens nothing; it being A's fifth day, the version check finds "v2.3.10" newer than ours and
# asks once. On A a carried task (Chinese text with & = # %) gets a pomodoro, another is
# marked done, project 7 is renamed; A's exit uploads the sheet, the categories and the
# projects. The service then dates that sheet a day back, as if A had worked yesterday.
# Computer B starts its day with the download in two chunks: A's open task is on B's sheet,
# A's done task is in B's done-task archive, project 7 has A's name. A request without the
# token is refused. With the service stopped B starts (Ignore at the question), works and
# exits normally, with the web error in its log.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
sync_exe=$repo/build/native/server/tirelmo-sync
[ -x "$sync_exe" ] || e2e_fail "no $sync_exe: build the native side first (cmake --build --preset native)"

e2e_avoid_midnight 300
data=$(e2e_datadir)
data_win=$(e2e_datadir_win)
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
read -r py pm pd pw <<<"$(date -d 'yesterday 12:00' '+%Y %-m %-d %w')"
today_rel="DailyTask/$ty/$tm/$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")"
prev_rel="DailyTask/$py/$pm/$(e2e_sheet_name "$py" "$pm" "$pd" "$pw")"
separator='   --- Unplanned & Urgent ---'
carried='写发布说明 & = # % for Ann'
token=e2e-token-7f3
svc="$E2E_SCRATCH/service"
web_cfg="$PROGRAM_DIR/bin/web.cfg"
mkdir -p "$svc"

sync_pid=
stop_service() {
  [ -n "$sync_pid" ] && kill "$sync_pid" 2>/dev/null && wait "$sync_pid" 2>/dev/null
  sync_pid=
}
# The service and web.cfg must not outlive the test: the other tests share the program folder.
trap 'rc=$?; stop_service; rm -f "$web_cfg"; (exit $rc); _e2e_on_exit' EXIT

printf '001everyoneA note from the service__URL__file:///C:/windows/system32/notepad.exe' >"$svc/ping.txt"
"$sync_exe" --port 0 --port-file "$svc/port" --db "$svc/sync.db" --test-mode --token "$token" \
  --ping-reply-file "$svc/ping.txt" --latest-version v2.3.10 --geo-country Italia --geo-region Lazio 2>"$E2E_ART/service.log" &
sync_pid=$!
for _ in $(seq 1 50); do [ -s "$svc/port" ] && break; sleep 0.1; done
port=$(cat "$svc/port" 2>/dev/null) || e2e_fail "the service did not start: $(cat "$E2E_ART/service.log")"
base="http://127.0.0.1:$port"
printf 'service=%s\r\ngeo=%s/ib1\r\nid=\r\ntoken=%s\r\n' "$base" "$base" "$token" >"$web_cfg"
svc_get() { curl -s -H "Authorization: Bearer $token" "$base$1"; }
# The main window by its title: the workers' message boxes ("Tirelmo") come from other
# threads, whose X windows need not have higher ids.
main_window_of() { xdotool search --all --onlyvisible --pid "$1" --name '^Tirelmo - v' 2>/dev/null | head -n 1; }

# A profile on the cloud account "alice" with project 7 and yesterday's sheet to carry over;
# extra KEY=VALUE settings as arguments.
new_profile() {
  e2e_fresh_profile
  mkdir -p "$data"
  e2e_write_records "$data/Projects/active_prj.p01" <<'EOF'
"ID","Name"
"7","Website","1","30","1","0","0","0"
EOF
  e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 next_prj_ID=8 "Cloud ena=1" "Cloud Login=alice" \
    "last2dofilename=$data_win\\$(echo "$prev_rel" | tr '/' '\\')" "$@"
}

# --- Computer A: its fifth day of use, so the version check runs too. ---------------------------
new_profile sgcn230=4
e2e_write_sheet "$data/$prev_rel" <<EOF
$(e2e_sheet_row row=0 "text=$carried")
$(e2e_sheet_row row=1 project=7 'text=Renew the certificate')
$(e2e_sheet_row row=12 "text=$separator")
EOF
e2e_start_main
a_pid=$E2E_PID
a_win=$(main_window_of "$a_pid")
# The daily requests: the location arrives, the ping's command is shown without its address.
e2e_wait_log "Location Country: Italia  Region: Lazio" 200
e2e_wait_log "Prog used 5 times" 100
e2e_screenshot version-notice
e2e_wait_log "001 A note from the service" 100
sleep 3.5  # the version notice, captioned "Tirelmo" as well, closes itself after 3 s
e2e_wait_window '^Tirelmo$' 20 "$a_pid"
note=$E2E_WIN
[ "$note" != "$a_win" ] || e2e_fail "the web command's message box did not show"
e2e_screenshot web-command
e2e_key "$note" Return
e2e_assert_no_process notepad.exe
e2e_assert_contains "$(e2e_day_log_text)" "file:///C:/windows/system32/notepad.exe" "the refused address in the log"
# "v2.3.10" is newer than our "v2.3.3" by number (as text it would sort lower): asked once; No.
e2e_wait_window '^Tirelmo Updates available$' 30 "$a_pid"
e2e_screenshot version-question
e2e_key "$E2E_WIN" n
e2e_wait_log "Thr: Chk ver done." 100
sleep 0.5  # page switching comes back just after that line

# Row 0 (the carried task) gets a pomodoro; row 1 is done.
e2e_activate "$a_win"
e2e_key "$a_win" ctrl+t
e2e_key "$a_win" Down
e2e_key "$a_win" ctrl+d
sleep 0.5
# Project 7 becomes "Website v2" in the Edit Project dialog of the Projects page.
for _ in 1 2 3 4 5; do e2e_key "$a_win" ctrl+Tab; sleep 0.3; done
sleep 1
e2e_click "$a_win" 500 63 1
sleep 0.7
e2e_key "$a_win" Down Down Return
e2e_wait_window '^Edit Project$' 20 "$a_pid"
edit=$E2E_WIN
sleep 0.5
e2e_key "$edit" Home Tab
e2e_key "$edit" ctrl+a
e2e_type "$edit" "Website v2"
e2e_screenshot edit-project
e2e_key "$edit" Return
e2e_wait_no_window '^Edit Project$' 20
e2e_close_main "$a_win" "$a_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code of A"
e2e_wait_log "Upl ok"

rows=$(svc_get "/test/rows?id=alice")
printf '%s\n' "$rows" >"$E2E_ART/rows-after-a.txt"
e2e_assert_contains "$rows" "$carried" "A's carried task on the service"
e2e_assert_contains "$(svc_get "/xt/prj.php?id=alice")" "Website v2" "A's project name on the service"
e2e_assert_eq 401 "$(curl -s -o /dev/null -w '%{http_code}' "$base/xt/prj.php?id=alice")" "a request without the token"
e2e_assert_eq OK "$(svc_get "/test/yesterday?id=alice")" "A's sheet dated yesterday"
mv "$data" "$E2E_SCRATCH/profile-a"

# --- Computer B: the first start of its day takes A's work over. --------------------------------
new_profile
e2e_write_sheet "$data/$prev_rel" <<EOF
$(e2e_sheet_row row=0 'text=B had this yesterday')
$(e2e_sheet_row row=12 "text=$separator")
EOF
svc_get "/test/fault?path=/xt/tdl.php&kind=chunks&count=1" >/dev/null
e2e_start_main
b_pid=$E2E_PID
b_win=$(main_window_of "$b_pid")
e2e_wait_log "Dwl done + wkd tsks." 100
sleep 1
e2e_screenshot b-sheet
e2e_close_main "$b_win" "$b_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code of B"

e2e_dump_sheet "$data/$today_rel"
e2e_assert_contains "$E2E_TEXT" "$carried" "A's open task on B's sheet"
e2e_assert_not_contains "$E2E_TEXT" "Renew the certificate" "A's done task is not carried"
m00="$data/stats/DoneTasks_${py}_${pm}.m00"
e2e_assert_file_exists "$m00"
e2e_assert_contains "$(e2e_read_utf16 "$m00")" "Renew the certificate" "A's done task in B's archive"
e2e_read_records "$data/Projects/active_prj.p01"
e2e_assert_contains "$E2E_TEXT" '"7","Website v2"' "A's project name on B"
e2e_assert_contains "$(e2e_day_log_text)" "Cloud Tdl is newer" "B took the cloud sheet"

# --- The service is gone: B starts, works and exits all the same. -------------------------------
stop_service
e2e_start_tirelmo
b_pid=$E2E_PID
e2e_wait_window '^Tirelmo Cloud error$' 60 "$b_pid"
e2e_screenshot cloud-error
e2e_key "$E2E_WIN" i
e2e_wait_window '^Tirelmo' 60 "$b_pid"
b_win=$(main_window_of "$b_pid")
e2e_wait_log "Choice: ignore"
e2e_activate "$b_win"
e2e_key "$b_win" ctrl+t
sleep 0.5
e2e_close_main "$b_win" "$b_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code of B without the service"
log=$(e2e_day_log_text)
e2e_assert_matches "$log" "Web Error -[0-9] with WebDownloadTodoList\(\)" "the download error in the log"
e2e_assert_contains "$log" "Upl failed" "the failed upload in the log"
e2e_pass
