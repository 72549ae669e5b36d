#!/usr/bin/env bash
# The Todolists: the first start moves the old inventory list into "Activity Inventory"; a
# name that reaches outside the lists' folder is refused and changes no file; a new list
# "Groceries" gets its file, tab and registry row; Alt+Down moves a task below the separator;
# a task with pomodoros moved from today to a list (answering Yes) leaves today's sheet and is
# in the list's file, every task exactly once after exit; and the next day's first start runs
# the day start of the lists (the done row leaves, the repeat row comes back clean, worked
# minutes become past minutes).
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"

e2e_avoid_midnight 240
data=$(e2e_datadir)
data_win=$(e2e_datadir_win)
settings=$(e2e_settings_path)
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
read -r py pm pd pw <<<"$(date -d 'yesterday 12:00' '+%Y %-m %-d %w')"
today_name=$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")
prev_name=$(e2e_sheet_name "$py" "$pm" "$pd" "$pw")
today_sheet="$data/DailyTask/$ty/$tm/$today_name"
today_win="$data_win\\DailyTask\\$ty\\$tm\\$today_name"
prev_sheet="$data/DailyTask/$py/$pm/$prev_name"
prev_win="$data_win\\DailyTask\\$py\\$pm\\$prev_name"
lists="$data/NextThings"
separator='   --- Unplanned & Urgent ---'
inventory_text='買い物 🛒 "list"'

# The old inventory list: 50 slots of 180 UTF-16 units, plain.
write_il2() {
  local file=$1 i bytes
  shift
  : >"$file"
  for i in $(seq 0 49); do
    if [ $i -lt $# ]; then
      local t=${*:$((i + 1)):1}
      printf '%s' "$t" | iconv -f UTF-8 -t UTF-16LE >>"$file"
      bytes=$(printf '%s' "$t" | iconv -f UTF-8 -t UTF-16LE | wc -c)
    else
      bytes=0
    fi
    head -c $((360 - bytes)) /dev/zero >>"$file"
  done
}

wait_log() {  # TEXT [COUNT=1]
  for _ in $(seq 1 80); do
    [ "$(e2e_day_log_text | grep -cF -- "$1")" -ge "${2:-1}" ] && return 0
    sleep 0.1
  done
  e2e_fail "no log line '$1'"
}

e2e_fresh_profile
mkdir -p "$data"
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 "last2dofilename=$today_win" next_prj_ID=5
e2e_write_sheet "$today_sheet" <<EOF
$(e2e_sheet_row row=0 pomodoros=4 minutes=100 'text=Call the bank')
$(e2e_sheet_row row=1 'text=Write the memo')
$(e2e_sheet_row row=11 'text=Plan the trip')
$(e2e_sheet_row row=12 "text=$separator")
EOF
write_il2 "$data/InvList.il2" "Buy stamps" "$inventory_text"

e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID

# --- The old inventory list became the first Todolist. -----------------------------------------
e2e_dump_list "$lists/Activity Inventory.pm6"
e2e_assert_same_text "$(
  e2e_sheet_row row=0 'text=Buy stamps'
  e2e_sheet_row row=1 "text=$inventory_text"
)" "$E2E_TEXT" "Activity Inventory holds the old list's texts"
e2e_read_records "$data/TdlInfo.p01"
e2e_assert_contains "$E2E_TEXT" "\"5\",\"Activity Inventory\",\"$data_win\\NextThings\\Activity Inventory.pm6\"" \
  "registry row of Activity Inventory with the identifier of next_prj_ID"

# --- Alt+Down on the row above the separator moves the task below it. ---------------------------
for _ in $(seq 1 11); do e2e_key "$main_win" Down; done
e2e_key "$main_win" alt+Down
wait_log "Swap row 11 with 12"

# --- A task with pomodoros goes to Activity Inventory: page menu, "Move Current Row to..". ------
for _ in $(seq 1 13); do e2e_key "$main_win" Up; done
e2e_key "$main_win" Tab
sleep 0.5
e2e_screenshot page-menu-today
# View old, Back to Today, Export data, New ToDo list, Undone first, Sort, Move Current Row to..
# > Todo Today, lists
e2e_key "$main_win" Down Down Down Down Down Down Down Right Down Return
# The question's title is the bare name; the main window's would match a looser pattern at once.
e2e_wait_window '^Tirelmo$' 20 "$main_pid"
question=$E2E_WIN
e2e_screenshot move-question
e2e_key "$question" Return
sleep 1

# --- Next Things: a name reaching outside the folder is refused; "Groceries" is made. -----------
e2e_key "$main_win" ctrl+Tab
sleep 0.5
touch "$E2E_SCRATCH/marker"
e2e_key "$main_win" Tab
sleep 0.5
e2e_key "$main_win" Down Return
e2e_wait_window 'Todo List|NEWTDL|New' 20
new_dialog=$E2E_WIN
e2e_type "$new_dialog" "..\\DailyTask\\$ty\\$tm\\$today_name"
e2e_key "$new_dialog" Return
sleep 1
e2e_screenshot bad-name-refused
refusal=$(xdotool search --all --onlyvisible --pid "$main_pid" --name '.' 2>/dev/null | grep -vx -e "$main_win" -e "$new_dialog" | tail -n 1)
[ -n "$refusal" ] || e2e_fail "no message for a name reaching outside the lists' folder"
e2e_key "$refusal" Return
sleep 0.5
changed=$(cd "$data" && find . -type f -newer "$E2E_SCRATCH/marker" ! -name 'Tirelmo_*log*' | sort)
e2e_assert_eq "" "$changed" "no file changed by the refused name"
e2e_key "$new_dialog" ctrl+a
e2e_type "$new_dialog" "Groceries"
e2e_key "$new_dialog" Return
for _ in $(seq 1 50); do [ -f "$lists/Groceries.pm6" ] && break; sleep 0.1; done
e2e_assert_file_exists "$lists/Groceries.pm6"
sleep 0.5
e2e_screenshot next-things-two-lists

e2e_close_main "$main_win" "$main_pid"
e2e_assert_eq 0 "$E2E_RC" "exit code of the first run"

e2e_read_records "$data/TdlInfo.p01"
e2e_assert_contains "$E2E_TEXT" "\"6\",\"Groceries\",\"$data_win\\NextThings\\Groceries.pm6\"" "registry row of Groceries"
e2e_dump_sheet "$today_sheet"
e2e_assert_same_text "$(
  e2e_sheet_row row=1 'text=Write the memo'
  e2e_sheet_row row=11 "text=$separator"
  e2e_sheet_row row=12 'text=Plan the trip'
)" "$E2E_TEXT" "today's sheet: the task moved out, the separator moved up"
e2e_dump_list "$lists/Activity Inventory.pm6"
inventory=$E2E_TEXT
e2e_assert_contains "$inventory" "text=Call the bank" "the moved task is in Activity Inventory"
e2e_assert_not_contains "$inventory" "pomodoros=4" "the moved task left its scores on today's sheet"
all_texts=$(printf '%s\n' "$inventory" "$(e2e_dump_sheet "$today_sheet"; echo "$E2E_TEXT")" | sed -n 's/.* text=//p' | sort)
e2e_assert_eq "" "$(printf '%s\n' "$all_texts" | uniq -d)" "no task text twice across the files"

due() { date -d "$1 12:00" '+%y-%-m-%-d' | sed 's/^0//'; }

# --- The next day: the day start of the lists. ---------------------------------------------------
mv "$today_sheet" "$prev_sheet.tmp"
mkdir -p "$(dirname "$prev_sheet")"
mv "$prev_sheet.tmp" "$prev_sheet"
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 "last2dofilename=$prev_win" next_prj_ID=7
e2e_write_list "$lists/Groceries.pm6" <<EOF
$(e2e_sheet_row row=0 done=1 pomodoros=1 'text=Milk')
$(e2e_sheet_row row=1 done=1 repeat=1 pomodoros=2 minutes=50 category=3 'text=Bread every day')
$(e2e_sheet_row row=2 pomodoros=1 minutes=25 past_minutes=10 deadline=1 "due=$(due today)" 'text=Cheese')
EOF
# A third list, and deadlines due today, in two days and in ten days: the tabs show their
# squares in red, orange and pale yellow. Activity Inventory is long enough to scroll.
e2e_write_list "$lists/Trip.pm6" <<EOF
$(e2e_sheet_row row=0 deadline=1 "due=$(due '+10 days')" category=4 'text=Book the train')
EOF
e2e_write_list "$lists/Activity Inventory.pm6" <<EOF
$(for i in $(seq 0 39); do
  case $i in
    0) e2e_sheet_row row=0 deadline=1 "due=$(due '+2 days')" category=2 'text=Renew the passport' ;;
    *) e2e_sheet_row row=$i category=$((i % 13)) "text=Inventory task $i" ;;
  esac
done)
EOF
e2e_write_records "$data/TdlInfo.p01" <<EOF
"ID","Title","Path","FreeRows"
"5","Activity Inventory","$data_win\\NextThings\\Activity Inventory.pm6","10"
"6","Groceries","$data_win\\NextThings\\Groceries.pm6","47"
"7","Trip","$data_win\\NextThings\\Trip.pm6","49"
EOF
e2e_start_main
e2e_key "$E2E_WIN" ctrl+Tab
sleep 1
e2e_screenshot next-things-three-lists
e2e_wheel "$E2E_WIN" 400 500 12
sleep 1
e2e_screenshot next-things-scrolled
e2e_close_main
e2e_assert_eq 0 "$E2E_RC" "exit code of the next day's start"
e2e_dump_list "$lists/Groceries.pm6"
e2e_assert_same_text "$(
  e2e_sheet_row row=1 repeat=1 category=3 'text=Bread every day'
  e2e_sheet_row row=2 deadline=1 past_pomodoros=1 past_minutes=35 "due=$(due today)" 'text=Cheese'
)" "$E2E_TEXT" "Groceries after the day start"
e2e_pass
