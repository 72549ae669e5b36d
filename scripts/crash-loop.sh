#!/usr/bin/env bash
# Crash loop: kills Tirelmo under Wine (SIGKILL, no shut-down) at random moments of its saves,
# round after round in one user-data folder, and checks after every kill that each data file
# is whole and that no row that was saved is missing at the next start.
#
#   scripts/crash-loop.sh [ROUNDS]          50 rounds when not given
#
# Not part of the test command: it takes about 10 s a round. It builds the win32 preset's
# Tirelmo.exe and sheet_fixture.exe first (CRASH_NO_BUILD=1 uses what is built), then runs on
# a display, window manager and Wine prefix of its own (tests/e2e/lib.sh, E2E_DISPLAY_BASE 120).
#
# A round starts Tirelmo on the folder the last round left, and
#   - start:  kills it at a random moment of its start-up;
#   - stream: presses Ctrl+S once the window is there and compares what the start loaded (and
#             saved) with the rows the last kill left on the disk, then types tasks into free
#             rows, adds pomodoros and done marks and saves in bursts of Ctrl+S, then keeps
#             saving back to back; kills it at a random moment of the edits (half the rounds)
#             or of the back-to-back saves;
#   - exit:   the same check, one task, then Alt+F4 and a kill at a random moment of the
#             shut-down saves (settings, sheet, month statistics, projects);
#   - day:    every CRASH_DAY_EVERY-th round (default 5) the day is turned: today's sheet is
#             moved to yesterday's name and tirelmo.i00 names it as the last sheet, so the
#             start carries it over (done-task archive, weekly list, yesterday archive, the
#             new sheet, the settings), and the kill lands in that start-up.
# After the kill: every data file is checked by `sheet_fixture check` (sheets, tirelmo.i00
# read and written back, month table, archives, projects); leftover *.tmp files are counted
# (a kill inside an atomic save) and must never be named by last2dofilename nor loaded; the
# sheet's rows are dumped. Rows must survive: the rows of the last kill are all in the sheet
# the next start saves (a carried-over day: every task not done is in the new sheet, every
# done or worked one in the done-task archive), and the rows of today's sheet the round did
# not touch are all still in the file after the kill.
#
# One line a round, then "crash loop: N rounds, N whole, N rows lost". Exit code 1 on any lost
# row, damaged file or failed check. Evidence in build/crash-loop/: run.log (everything the
# harness did), round-NN/ for each failing round (the data folder before the start and after
# the kill, the dumps, the check's output, screenshots, the program's log as UTF-8).
#
# Environment: CRASH_SEED (random seed, printed; the same seed repeats the same choices),
# CRASH_DAY_EVERY (0 turns no day), CRASH_KEEP=1 (keep the folders of passing rounds too),
# CRASH_NO_BUILD=1, CRASH_CUT_SHEET_IN_ROUND=N (cuts 10 bytes off today's sheet after round
# N's kill, as a torn write would: shows that the loop reports a damaged file and lost rows).
set -uo pipefail
export LC_ALL=C.UTF-8

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
rounds=${1:-50}
case $rounds in
  '' | *[!0-9]*) echo "usage: $0 [ROUNDS]" >&2; exit 2 ;;
esac
seed=${CRASH_SEED:-$(( $(date +%s) % 32768 ))}
day_every=${CRASH_DAY_EVERY:-5}
RANDOM=$seed

cd "$root" || exit 2
if [ "${CRASH_NO_BUILD:-0}" != 1 ]; then
  launcher=()
  command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  echo "building Tirelmo.exe and sheet_fixture.exe (win32 preset)..."
  if [ ! -f build/win32/CMakeCache.txt ]; then
    CCACHE_BASEDIR=$root cmake --preset win32 "${launcher[@]}" >/dev/null || exit 2
  fi
  CCACHE_BASEDIR=$root cmake --build build/win32 -j2 --target Tirelmo Vornel sheet_fixture >/dev/null || exit 2
fi

export PROGRAM_DIR="$root/build/win32/program"
export E2E_STATE_DIR="$root/build/win32/crash-loop-state"
export E2E_ARTIFACTS_ROOT="$root/build"
export E2E_TEST_NAME=crash-loop
: "${E2E_DISPLAY_BASE:=120}"
export E2E_DISPLAY_BASE
# shellcheck source=tests/e2e/lib.sh
. "$root/tests/e2e/lib.sh"

RUN_LOG=/dev/null
# The harness's progress lines go to run.log: the terminal gets one line a round.
e2e_info() { echo "[$(date +%T.%3N)] $*" >>"$RUN_LOG"; }

e2e_begin
RUN_DIR=$E2E_ART
RUN_LOG="$RUN_DIR/run.log"
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE"

data=$(e2e_datadir)
data_win=$(e2e_datadir_win)
separator='   --- Unplanned & Urgent ---'
words=(report invoice backup review mail budget slides meeting draft release patch call)

# ---- Counters and the end of the run ---------------------------------------------------------

done_rounds=0
whole_rounds=0
lost_total=0
damaged_total=0
failed_rounds=0
tmp_kills=0
torn_total=0
closed_first=0
declare -A phase_count=()
round_seconds_total=0
stopped=""

summary() {
  local phases="" p
  for p in start stream exit day; do phases+=" $p ${phase_count[$p]:-0},"; done
  echo "phases:${phases%,}; kills that left a .tmp (inside a save): $tmp_kills; closed before the kill: $closed_first"
  echo "damaged files: $damaged_total; appended files with a cut line (torn, counted apart): $torn_total; failed rounds: $failed_rounds"
  if [ "$done_rounds" -gt 0 ]; then
    echo "time: $round_seconds_total s for $done_rounds rounds, $((round_seconds_total / done_rounds)) s a round; seed $seed"
  fi
  [ -n "$stopped" ] && echo "stopped early: $stopped"
  echo "crash loop: $done_rounds rounds, $whole_rounds whole, $lost_total rows lost"
}

on_exit() {
  local rc=$?
  trap - EXIT
  stop_driver
  if [ -z "$stopped" ] && [ "$done_rounds" -lt "$rounds" ]; then stopped="round $((done_rounds + 1)) broke off (exit $rc), see $RUN_DIR"; fi
  summary | tee -a "$RUN_LOG"
  if [ "$rc" -eq 0 ] && { [ "$lost_total" -gt 0 ] || [ "$damaged_total" -gt 0 ] || [ "$failed_rounds" -gt 0 ]; }; then rc=1; fi
  E2E_ART=$RUN_DIR
  (exit "$rc")
  _e2e_on_exit
}
trap on_exit EXIT

# ---- Files ---------------------------------------------------------------------------------

today_sheet() {
  local y m d w
  read -r y m d w <<<"$(date '+%Y %-m %-d %w')"
  echo "$data/DailyTask/$y/$m/$(e2e_sheet_name "$y" "$m" "$d" "$w")"
}

# fixture COMMAND UNIX_PATH...: sheet_fixture under Wine; output on stdout, exit code kept.
fixture() {
  local command=$1 f args=()
  shift
  for f in "$@"; do args+=("$(e2e_winpath "$f")"); done
  (cd "$E2E_SCRATCH" && exec wine "$E2E_FIXTURE_EXE" "$command" "${args[@]}") </dev/null 2>>"$RUN_LOG"
}

# dump_rows SHEET OUT: the sheet's rows in the fixture's dump form (empty when no file).
dump_rows() {
  : >"$2"
  [ -f "$1" ] || return 0
  fixture dump "$1" >"$2" || return 1
  tr -d '\r' <"$2" >"$2.lf" && mv "$2.lf" "$2"
}

# Row contents without the row number: the separator may move a task at the second start.
contents() { sed 's/^row=[0-9]* //' "$1" | sort; }

# The data files the program writes whole or appends to; never its temporaries.
data_files() {
  find "$data" -type f \( -name '*.pm6' -o -name 'tirelmo.i00' -o -name '*.ats' -o -name '*.m00' \
    -o -name '*.y00' -o -name '*.p01' -o -name 'WeeklyDone_*.txt' \) | sort
}

tmp_files() { (cd "$data" && find . -name '*.tmp' | sed 's|^\./||' | sort); }

settings_value() { e2e_settings_value "$data/tirelmo.i00" "$1" 2>/dev/null; }

# set_last_sheet WINDOWS_PATH: tirelmo.i00 names that sheet as the last one, as the program
# would after saving it (the file is swapped in whole).
set_last_sheet() {
  local i00="$data/tirelmo.i00"
  e2e_read_utf16_lines "$i00" | LAST="$1" awk 'index($0, "last2dofilename=") == 1 { print "last2dofilename=" ENVIRON["LAST"]; next } { print }' \
    | e2e_write_utf16 "$i00.harness" && mv "$i00.harness" "$i00"
}

# ---- Driving the window ----------------------------------------------------------------------

DRIVER_PID=""
STOP_FILE=""

# The driver ends at its next key. Never killed in the middle of one: an xdotool stopped
# between a key's press and its release leaves the key held in the X server, and its
# autorepeat types into the next round's window (seen: "6666666" before a task's text).
stop_driver() {
  [ -n "$DRIVER_PID" ] || return 0
  touch "$STOP_FILE"
  for _ in $(seq 1 100); do
    kill -0 "$DRIVER_PID" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$DRIVER_PID" 2>/dev/null; then
    echo "driver still running 5 s after the kill: stopped" >>"$RUN_LOG"
    kill "$DRIVER_PID" 2>/dev/null
  fi
  wait "$DRIVER_PID" 2>/dev/null
  DRIVER_PID=""
  xdotool keyup Control_L Shift_L Alt_L 2>/dev/null
}

# Keys through XTEST to the focused window (the main window, activated at the driver's start).
# Every call checks the stop file first, so nothing is typed after the kill.
dkey() { [ -e "$STOP_FILE" ] && exit 0; xdotool key --delay "${KEY_DELAY:-40}" "$@" 2>/dev/null; }
dtype() { [ -e "$STOP_FILE" ] && exit 0; xdotool type --delay 25 -- "$1" 2>/dev/null; }

# driver WIN ROWS_FILE MODE ROUND SEED: what a person does between two saves, as fast as keys go.
# Types tasks into free rows (noting each row in $TOUCHED before touching it), adds a
# pomodoro to some and the done mark to most, and saves with bursts of Ctrl+S. MODE exit
# ends with Alt+F4 and notes the moment in $CLOSE_MARK.
driver() {
  local win=$1 rows_file=$2 mode=$3 round=$4 sep=-1 cur=0 tasks n i target steps key
  # A background job draws its own numbers; seeded, the same run seed types the same tasks.
  RANDOM=$5
  local -a used=() free=()
  while IFS= read -r line; do
    [[ $line =~ ^row=([0-9]+)\  ]] || continue
    used[${BASH_REMATCH[1]}]=1
    [[ $line == *"text=$separator" ]] && sep=${BASH_REMATCH[1]}
  done <"$rows_file"
  for ((i = 0; i < 25; i++)); do
    [ -z "${used[$i]:-}" ] && [ "$i" != "$sep" ] && free+=("$i")
  done
  timeout 10 xdotool windowactivate --sync "$win" >/dev/null 2>&1
  sleep 0.3
  if [ "$mode" = exit ]; then tasks=1; else tasks=$((2 + RANDOM % 3)); fi
  for ((n = 1; n <= tasks; n++)); do
    if [ "${#free[@]}" -gt 0 ]; then
      target=${free[0]}
      free=("${free[@]:1}")
      echo "$target" >>"$TOUCHED"
      # Up and Down step over the separator row.
      steps=$((target - cur))
      key=Down
      if [ "$steps" -lt 0 ]; then steps=$((-steps)); key=Up; fi
      if [ "$sep" -ge 0 ] && { { [ "$sep" -gt "$cur" ] && [ "$sep" -lt "$target" ]; } || { [ "$sep" -lt "$cur" ] && [ "$sep" -gt "$target" ]; }; }; then
        steps=$((steps - 1))
      fi
      for ((i = 0; i < steps; i++)); do dkey "$key"; done
      cur=$target
      dtype "cl$round.$n ${words[RANDOM % ${#words[@]}]} $RANDOM"
      [ $((RANDOM % 10)) -lt 6 ] && dkey ctrl+t
      # Never a pomodoro after the done mark: that asks a question.
      [ $((RANDOM % 10)) -lt 7 ] && dkey ctrl+d
    fi
    [ "$mode" = exit ] && break
    KEY_DELAY=$((15 + RANDOM % 30)) dkey $(printf 'ctrl+s %.0s' $(seq 1 $((6 + RANDOM % 12))))
  done
  if [ "$mode" = exit ]; then
    dkey alt+F4
    date +%s.%N >"$CLOSE_MARK"
    exit 0
  fi
  # Saves until the kill comes, faster than the program takes them: it saves back to back.
  : >"$TAIL_MARK"
  while :; do
    KEY_DELAY=$((5 + RANDOM % 20)) dkey ctrl+s ctrl+s ctrl+s ctrl+s ctrl+s ctrl+s
  done
}

# ---- Checks --------------------------------------------------------------------------------

ROUND_DIR=""
ROUND_NOTES=()
ROUND_BAD=0

note() { ROUND_NOTES+=("$*"); echo "  $*" >>"$RUN_LOG"; }
bad() { ROUND_BAD=1; note "$*"; }

# lost_rows EXPECTED ACTUAL WHAT: rows of EXPECTED (dump form) whose content is not in ACTUAL.
# A row whose text the same row of ACTUAL continues was typed into by the harness (keys that
# reached another row than meant): noted, not counted.
lost_rows() {
  local missing line index text now n=0
  missing=$(comm -23 <(contents "$1") <(contents "$2"))
  [ -z "$missing" ] && return 0
  while IFS= read -r line; do
    index=$(grep -F -- "$line" "$1" | head -n 1 | sed 's/^row=\([0-9]*\) .*/\1/')
    text=${line#*text=}
    now=$(grep -E "^row=$index " "$2" | head -n 1)
    now=${now#*text=}
    if [ -n "$now" ] && [ "$now" != "$text" ] && [[ $now == *"$text"* ]]; then
      note "row $index was typed into by the harness, not counted: $line"
      continue
    fi
    n=$((n + 1))
    bad "row lost ($3): row=$index $line"
  done <<<"$missing"
  lost_total=$((lost_total + n))
}

# carried_over YESTERDAY_ROWS TODAY_ROWS: every task not done is in today's sheet; every done
# or worked one in the done-task archive of yesterday's month.
carried_over() {
  local y_rows=$1 t_rows=$2 archive text n=0 line
  archive=$(cat "$data"/stats/DoneTasks_"${DAY_Y}"_"${DAY_M}".m00 2>/dev/null | iconv -f UTF-16LE -t UTF-8 2>/dev/null)
  while IFS= read -r line; do
    [[ $line =~ \ done=([01])\ .*\ minutes=([0-9-]+)\ .*\ text=(.*)$ ]] || continue
    text=${BASH_REMATCH[3]}
    [ "$text" = "$separator" ] && continue
    if [ "${BASH_REMATCH[1]}" = 0 ] && ! grep -qF -- "text=$text" "$t_rows"; then
      bad "row lost in the day's carry-over (not in today's sheet): $line"
      n=$((n + 1))
    elif { [ "${BASH_REMATCH[1]}" = 1 ] || [ "${BASH_REMATCH[2]}" != 0 ]; } && [[ $archive != *"\"$text\""* ]]; then
      bad "row lost in the day's carry-over (not in the done-task archive): $line"
      n=$((n + 1))
    fi
  done <"$y_rows"
  lost_total=$((lost_total + n))
}

# check_files: every data file whole; temporaries are no data.
check_files() {
  local out rc f last n=0
  mapfile -t files < <(data_files)
  if [ "${#files[@]}" -gt 0 ]; then
    out=$(fixture check "${files[@]}")
    rc=$?
    printf '%s\n' "$out" | tr -d '\r' >"$ROUND_DIR/check.txt"
    n=$(grep -c '^whole ' "$ROUND_DIR/check.txt")
    while IFS= read -r f; do
      case $f in
        damaged*) bad "$f"; damaged_total=$((damaged_total + 1)) ;;
        torn*) note "$f"; torn_total=$((torn_total + 1)) ;;
      esac
    done <"$ROUND_DIR/check.txt"
    if [ "$rc" != 0 ] && [ "$rc" != 3 ]; then bad "sheet_fixture check exited with $rc"; fi
  fi
  FILES_WHOLE="$n/${#files[@]}"
  last=$(settings_value last2dofilename)
  case $last in *.tmp) bad "last2dofilename names a temporary file: $last" ;; esac
}

# ---- One round -------------------------------------------------------------------------------

BASE_ROWS=""        # rows the last kill left in today's sheet (or the verification found)
# set_base ROWS_FILE: the new baseline, kept beside the rounds (a passing round's folder goes).
set_base() {
  cp "$1" "$RUN_DIR/base-rows.txt"
  BASE_ROWS="$RUN_DIR/base-rows.txt"
}
BASE_KIND=same      # same: BASE_ROWS must be in today's sheet; carry: the day is being carried over
YEST_ROWS=""        # carry: the rows of the sheet moved to yesterday's name
YEST_SHEET=""       # and its path and checksum
YEST_SUM=""
DAY_Y="" DAY_M=""
START_SPAN_MS=3000  # how long a start-up takes, measured at the first round

turn_day() {
  local sheet py pm pd pw name
  sheet=$(today_sheet)
  [ -f "$sheet" ] || return 1
  read -r py pm pd pw <<<"$(date -d 'yesterday 12:00' '+%Y %-m %-d %w')"
  name=$(e2e_sheet_name "$py" "$pm" "$pd" "$pw")
  YEST_SHEET="$data/DailyTask/$py/$pm/$name"
  mkdir -p "$(dirname "$YEST_SHEET")"
  mv "$sheet" "$YEST_SHEET" || return 1
  set_last_sheet "$data_win\\DailyTask\\$py\\$pm\\$name" || return 1
  YEST_SUM=$(sha256sum <"$YEST_SHEET")
  YEST_ROWS="$RUN_DIR/yesterday-rows.txt"
  if [ -n "$BASE_ROWS" ]; then cp "$BASE_ROWS" "$YEST_ROWS"; else : >"$YEST_ROWS"; fi
  DAY_Y=$py DAY_M=$pm
  BASE_KIND=carry
}

kill_tirelmo() {
  local p
  for p in $(e2e_prefix_pids Tirelmo.exe); do kill -KILL "$p" 2>/dev/null; done
  wait "$E2E_PID" 2>/dev/null
  for _ in $(seq 1 50); do
    [ -z "$(e2e_prefix_pids Tirelmo.exe)" ] && break
    sleep 0.1
  done
}

wait_windows_gone() {
  for _ in $(seq 1 200); do
    [ -z "$(xdotool search --name '^Tirelmo' 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  return 1
}

run_round() {
  local k=$1 tmp_loads_before phase r t0 t_start delay_ms pid sheet before after rows_v rows_r close_at killed_at span
  ROUND_NOTES=()
  ROUND_BAD=0
  ROUND_DIR=$(printf '%s/round-%02d' "$RUN_DIR" "$k")
  rm -rf "$ROUND_DIR"
  mkdir -p "$ROUND_DIR"
  E2E_ART=$ROUND_DIR
  E2E_SHOT_SEQ=0
  TOUCHED="$ROUND_DIR/touched.txt"
  CLOSE_MARK="$ROUND_DIR/closed-at"
  TAIL_MARK="$ROUND_DIR/saving"
  STOP_FILE="$ROUND_DIR/stop"
  : >"$TOUCHED"
  e2e_avoid_midnight 120
  echo "== round $k" >>"$RUN_LOG"

  r=$((RANDOM % 100))
  if [ "$k" -eq 1 ]; then phase=stream
  elif [ "$day_every" -gt 0 ] && [ $((k % day_every)) -eq 0 ] && [ "$BASE_KIND" = same ] && [ -f "$(today_sheet)" ]; then phase=day
  elif [ "$r" -lt 20 ]; then phase=start
  elif [ "$r" -lt 75 ]; then phase=stream
  else phase=exit
  fi
  phase_count[$phase]=$(( ${phase_count[$phase]:-0} + 1 ))
  if [ "$phase" = day ] && ! turn_day; then bad "could not turn the day"; fi
  cp -a "$data" "$ROUND_DIR/data-before" 2>/dev/null

  sheet=$(today_sheet)
  tmp_loads_before=$(e2e_day_log_text | grep -cE '(load: |DisplayToDoSheet\(\) ).*\.tmp')
  t0=$(date +%s%N)
  e2e_start_tirelmo
  pid=$E2E_PID
  killed_at=""
  if [ "$phase" = start ] || [ "$phase" = day ]; then
    delay_ms=$(( (RANDOM * 32768 + RANDOM) % START_SPAN_MS ))
    sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
    kill_tirelmo
    killed_at="${delay_ms}ms after the launch"
  else
    e2e_wait_window '^Tirelmo' 60 "$pid"
    E2E_WIN=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Tirelmo' 2>/dev/null | sort -n | head -n 1)
    t_start=$(( ($(date +%s%N) - t0) / 1000000 ))
    [ "$k" -eq 1 ] && START_SPAN_MS=$((t_start * 13 / 10 + 300))
    # The start loaded the sheet; saved at once, the file shows what it loaded.
    before=$(stat -c '%i %.9Y %s' "$sheet" 2>/dev/null)
    e2e_activate "$E2E_WIN"
    sleep 0.3
    xdotool key ctrl+s
    for _ in $(seq 1 100); do
      after=$(stat -c '%i %.9Y %s' "$sheet" 2>/dev/null)
      [ -n "$after" ] && [ "$after" != "$before" ] && break
      sleep 0.1
    done
    rows_v="$ROUND_DIR/rows-after-start.txt"
    if [ -z "$after" ] || [ "$after" = "$before" ]; then
      bad "Ctrl+S after the start wrote no sheet (window: $(e2e_list_windows | tr '\n' ' '))"
      e2e_screenshot no-save-after-start
      : >"$rows_v"
    else
      sleep 0.2
      dump_rows "$sheet" "$rows_v" || bad "cannot dump $sheet after the start"
      if [ "$BASE_KIND" = carry ]; then
        carried_over "$YEST_ROWS" "$rows_v"
        BASE_KIND=same
      elif [ -n "$BASE_ROWS" ]; then
        lost_rows "$BASE_ROWS" "$rows_v" "saved before the kill, not loaded by the next start"
      fi
      e2e_day_log_text | grep -E '(load: |DisplayToDoSheet\(\) ).*\.tmp' >"$ROUND_DIR/tmp-loads.txt"
      if [ "$(grep -c . "$ROUND_DIR/tmp-loads.txt")" -gt "$tmp_loads_before" ]; then
        bad "the start loaded a temporary file: $(tail -n 1 "$ROUND_DIR/tmp-loads.txt")"
      fi
      set_base "$rows_v"
    fi
    e2e_screenshot loaded

    # The saves, and the kill at a random moment of them.
    DRIVER_PID=""
    rm -f "$STOP_FILE" "$CLOSE_MARK" "$TAIL_MARK"
    driver "$E2E_WIN" "$rows_v" "$phase" "$k" "$RANDOM" </dev/null >>"$RUN_LOG" 2>&1 &
    DRIVER_PID=$!
    if [ "$phase" = exit ]; then
      for _ in $(seq 1 200); do [ -f "$CLOSE_MARK" ] && break; sleep 0.05; done
      # The shut-down saves take about 150 ms under Wine here.
      delay_ms=$((RANDOM % 200))
      sleep "0.$(printf '%03d' "$delay_ms")"
      if kill -0 "$pid" 2>/dev/null; then
        kill_tirelmo
        killed_at="${delay_ms}ms after Alt+F4"
      else
        wait "$pid" 2>/dev/null
        killed_at="none: closed by itself (exit $?) within ${delay_ms}ms of Alt+F4"
        closed_first=$((closed_first + 1))
      fi
    elif [ $((RANDOM % 2)) = 0 ]; then
      # Anywhere in the edits and the saves between them.
      span=$((3000 + RANDOM % 5000))
      delay_ms=$(( (RANDOM * 32768 + RANDOM) % span ))
      sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
      kill_tirelmo
      killed_at="${delay_ms}ms into the edits"
    else
      # In the back-to-back saves after the edits.
      for _ in $(seq 1 300); do [ -f "$TAIL_MARK" ] && break; sleep 0.05; done
      delay_ms=$((RANDOM % 1500))
      sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
      kill_tirelmo
      killed_at="${delay_ms}ms into the saves after the edits"
    fi
    stop_driver
  fi
  wait_windows_gone || bad "a Tirelmo window stays after the kill"

  # The loop's own check: a sheet cut like a torn write must show as damaged and lost rows.
  if [ "${CRASH_CUT_SHEET_IN_ROUND:-0}" = "$k" ] && [ -f "$sheet" ]; then
    truncate -s -10 "$sheet"
    note "sheet cut by 10 bytes on purpose (CRASH_CUT_SHEET_IN_ROUND)"
  fi
  # After the kill: whole files, no temporary taken for data, the rows.
  cp -a "$data" "$ROUND_DIR/data-after-kill" 2>/dev/null
  mapfile -t tmps < <(tmp_files)
  if [ "${#tmps[@]}" -gt 0 ]; then
    tmp_kills=$((tmp_kills + 1))
    note "left by the kill: ${tmps[*]}"
  fi
  check_files
  rows_r="$ROUND_DIR/rows-after-kill.txt"
  dump_rows "$sheet" "$rows_r" || bad "cannot dump $sheet after the kill"
  if [ "$BASE_KIND" = carry ]; then
    if [ -f "$sheet" ]; then
      carried_over "$YEST_ROWS" "$rows_r"
      BASE_KIND=same
    fi
  elif [ -n "$BASE_ROWS" ]; then
    # Rows this round did not touch are as they were.
    awk 'NR == FNR { t["row=" $1] = 1; next } { split($0, f, " "); if (!(f[1] in t)) print }' \
      "$TOUCHED" "$BASE_ROWS" >"$ROUND_DIR/untouched.txt"
    lost_rows "$ROUND_DIR/untouched.txt" "$rows_r" "in the sheet before the kill, untouched, gone after it"
  fi
  if [ -n "$YEST_SHEET" ] && [ -f "$YEST_SHEET" ] && [ "$(sha256sum <"$YEST_SHEET")" != "$YEST_SUM" ]; then
    bad "yesterday's sheet was written: $YEST_SHEET"
  fi
  set_base "$rows_r"
  # A kill before the carried-over sheet was saved: the next start carries the day over again.
  [ "$BASE_KIND" = carry ] && BASE_ROWS=""

  local seconds=$(( ($(date +%s%N) - t0) / 1000000000 ))
  round_seconds_total=$((round_seconds_total + seconds))
  done_rounds=$((done_rounds + 1))
  local status=ok
  if [ "$ROUND_BAD" = 1 ]; then
    status=FAIL
    failed_rounds=$((failed_rounds + 1))
    [ -f "$data/Tirelmo_v2.3.3_log.txt" ] && e2e_read_utf16_lines "$data/Tirelmo_v2.3.3_log.txt" >"$ROUND_DIR/log.utf8.txt" 2>/dev/null
    printf '%s\n' "${ROUND_NOTES[@]}" >"$ROUND_DIR/findings.txt"
  else
    whole_rounds=$((whole_rounds + 1))
  fi
  printf 'round %2d/%d %-6s kill %s: files whole %s, rows %d, %s%s, %ds\n' "$k" "$rounds" "$phase" "$killed_at" \
    "$FILES_WHOLE" "$(grep -c . "$rows_r")" "$( [ "${#tmps[@]}" -gt 0 ] && echo "tmp ${tmps[*]##*/}" || echo "no tmp")" \
    "$( [ "$status" = FAIL ] && printf ' -- FAIL: %s' "${ROUND_NOTES[0]}" )" "$seconds" | tee -a "$RUN_LOG"
  if [ "$status" = ok ] && [ "${CRASH_KEEP:-0}" != 1 ]; then rm -rf "$ROUND_DIR"; fi
  E2E_STARTED_PIDS=()
}

# ---- The run -------------------------------------------------------------------------------

echo "crash loop: $rounds rounds, seed $seed, data $data, evidence $RUN_DIR" | tee -a "$RUN_LOG"
e2e_fresh_profile
mkdir -p "$data"
# pomodoros of 25 minutes: each Ctrl+T adds worked minutes, which the day's carry-over archives.
e2e_write_settings Wind_x=20 Wind_y=20 Wind_hth=900 pomtimerminutes=25
for ((round = 1; round <= rounds; round++)); do
  run_round "$round"
done
exit 0
