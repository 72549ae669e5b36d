#!/usr/bin/env bash
# The budget run: what Tirelmo costs under Wine, read against an empty Win32 window of the
# same size started the same way. Not part of the test command; run it by hand:
#
#   bench/budget-run.sh [ROUNDS=5] [--idle SECONDS=60]
#
# Needs the win32 build (Tirelmo.exe, EmptyWindow.exe) and the native targets history_gen and
# frame_watch:
#   cmake --build build/win32 --target Tirelmo EmptyWindow
#   cmake --build build/native --target history_gen frame_watch
#
# Each round alternates the two programs: empty window, Tirelmo on an empty profile, empty
# window, Tirelmo on ten years of history (first start of the day: last2dofilename names
# yesterday's sheet), empty window, Tirelmo on the same history again (second start of the
# day). A small keeper window stays open the whole run and the prefix's wineserver is
# persistent, so no start pays for Wine's desktop and services.
#
# What is measured, and how:
#   start      ms from the `wine X.exe` spawn to the main window viewable (what
#              `xdotool search --onlyvisible --pid --name` finds, looked up by frame_watch from
#              inside one process every 2 ms: "found"), and to its client area on the screen no
#              longer all black ("painted": the area read from the X server every 2 ms; Xvfb
#              shows black where nothing was painted yet). The first pixel counts, so this is
#              the first frame, not necessarily the whole page.
#   memory     VmRSS of /proc/PID/status (resident); Private_Clean + Private_Dirty of
#              /proc/PID/smaps_rollup (private); and "private bytes": what the process alone
#              holds and the kernel cannot drop, i.e. every written page plus the clean pages
#              of anonymous mappings (/proc/PID/smaps). The difference between the last two
#              is clean pages of mapped files (the program, Wine's DLLs, fonts) that no other
#              process maps just now: page cache the kernel reclaims at will, and what Windows
#              leaves out of a process's private bytes too. 2 s after the first frame and, for Tirelmo
#              with ten years of history, again after Ctrl+Tab went through all seven pages.
#   idle CPU   utime + stime ticks (/proc/PID/stat) of the program, of the prefix's wineserver
#              and of Xvfb over the idle period, nothing touched; also as % of one core.
#   pomodoro   the same ticks over the same period while a pomodoro runs (F5 on the first row,
#              a task carried over from yesterday; F6 stops it afterwards).
#   page       ms from just before `xdotool key ctrl+Tab` runs to the first change of the
#              client area and to its last change before it stayed still for 300 ms (the
#              page drawn), per page; includes xdotool's own start and key (measured alone
#              with a Shift press and shown below the pages, some 6 ms), and read against
#              the empty window repainting its whole client area on the same key.
#              The area is grabbed every 2 ms, which keeps most of a core busy in frame_watch
#              and Xvfb: on a machine of two cores that slows the program measured. So the
#              same switches are measured once more from the X server's damage events
#              (frame_watch damage): the last drawing of the window before it stayed still
#              for 300 ms, with nothing polling beside the program.
#
# Results: a table on stdout and in build/budget/results.txt; raw values in build/budget/raw/.
set -u

ROUNDS=5
IDLE_S=60
while [ $# -gt 0 ]; do
  case $1 in
    --idle) IDLE_S=${2:?--idle needs seconds}; shift 2 ;;
    [0-9]*) ROUNDS=$1; shift ;;
    *) echo "usage: $0 [ROUNDS] [--idle SECONDS]" >&2; exit 2 ;;
  esac
done

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REPO=$(cd "$HERE/.." && pwd)
# Its own display, prefix and scratch folders: an e2e run beside it stays undisturbed.
: "${E2E_STATE_DIR:=$REPO/build/win32/budget-state}"
: "${E2E_ARTIFACTS_ROOT:=$REPO/build/budget/artifacts}"
: "${E2E_KEEP_PREFIX:=1}"
export E2E_STATE_DIR E2E_ARTIFACTS_ROOT E2E_KEEP_PREFIX
E2E_TEST_NAME=budget
# shellcheck source=tests/e2e/lib.sh
. "$REPO/tests/e2e/lib.sh"
export WINEDEBUG=-all  # Wine's own tracing would be measured too

OUT=$REPO/build/budget
RAW=$OUT/raw
EMPTY_EXE=$REPO/build/win32/bench/EmptyWindow.exe
GEN=$REPO/build/native/bench/history_gen/history_gen
FW=$REPO/build/native/bench/frame_watch
HZ=$(getconf CLK_TCK)
PAGE_NAMES=("ToDo Today" "Next Things" "Previous Day" "Performance" "History" "Projects" "Apps + Websites")

budget_info() { echo "[budget] $*" >&2; }

e2e_begin
e2e_require_program
for f in "$EMPTY_EXE" "$GEN" "$FW"; do
  [ -x "$f" ] || [ -f "$f" ] || e2e_fail "no $f: build it first (see the head of $0)"
done
rm -rf "$RAW"
mkdir -p "$RAW"

# record METRIC VALUE: one sample.
record() { echo "$2" >>"$RAW/$1"; }

# The ten years, generated once as the program sees its default data folder.
HISTORY=$E2E_SCRATCH/history/Tirelmo
"$GEN" "$HISTORY" --windows-dir "$(e2e_datadir_win)" >"$E2E_ART/history_gen.out" 2>&1 \
  || e2e_fail "history_gen failed: $(cat "$E2E_ART/history_gen.out")"
budget_info "history: $(head -n 1 "$E2E_ART/history_gen.out"), $(du -sh "$HISTORY" | cut -f1)"

_e2e_spawn keeper "$E2E_SCRATCH" wine "$EMPTY_EXE" keeper
e2e_wait_window '^Budget keeper$' 60
sleep 2

# start_watched LABEL TITLE_PREFIX EXE [ARG...]: start, wait for the first frame. Sets RUN_PID,
# RUN_WIN, RUN_FOUND_MS, RUN_PAINT_MS.
start_watched() {
  local label=$1 prefix=$2 t0 out
  shift 2
  t0=$(date +%s%N)
  _e2e_spawn "$label" "$E2E_SCRATCH" wine "$@"
  RUN_PID=$E2E_PID
  out=$("$FW" start "$RUN_PID" "$prefix" "$t0" 60000) || e2e_fail "$label: no painted window '$prefix' after 60 s ($out)"
  read -r RUN_WIN RUN_FOUND_MS RUN_PAINT_MS <<<"$out"
}

# memory PID: "RSS_KB PRIVATE_KB PRIVATE_BYTES_KB".
memory() {
  local rss priv owned
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$1/status")
  priv=$(awk '/^Private_(Clean|Dirty):/ {s += $2} END {print s}' "/proc/$1/smaps_rollup")
  # A mapping's header line names a file in its sixth field when it maps one.
  owned=$(awk '/^[0-9a-f]+-[0-9a-f]+ / {file = ($6 ~ /^\//)}
               /^Private_Dirty:/ {s += $2}
               /^Private_Clean:/ {if (!file) s += $2}
               END {print s}' "/proc/$1/smaps")
  echo "$rss $priv $owned"
}

# ticks PID: utime + stime.
ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }

# idle_cpu PREFIX PID: record the program's, the wineserver's and Xvfb's ticks over IDLE_S.
idle_cpu() {
  local prefix=$1 pid=$2 server p0 s0 x0 p1 s1 x1
  server=$( (wine_prefix_pids wineserver32; wine_prefix_pids wineserver) | head -n 1)
  [ -n "$server" ] || e2e_fail "no wineserver of the prefix"
  p0=$(ticks "$pid"); s0=$(ticks "$server"); x0=$(ticks "$E2E_XVFB_PID")
  sleep "$IDLE_S"
  p1=$(ticks "$pid"); s1=$(ticks "$server"); x1=$(ticks "$E2E_XVFB_PID")
  record "$prefix.idle_ticks.process" $((p1 - p0))
  record "$prefix.idle_ticks.wineserver" $((s1 - s0))
  record "$prefix.idle_ticks.xvfb" $((x1 - x0))
}

# pomodoro_cpu WIN PID: F5 on the first row (a task carried over from yesterday), the same
# ticks as idle_cpu over the same period while the pomodoro runs, then F6 in the timer window.
pomodoro_cpu() {
  local win=$1 pid=$2 timer
  e2e_key "$win" ctrl+Home F5
  e2e_wait_window '^Timer on: ' 20 "$pid"
  timer=$E2E_WIN
  sleep 1
  idle_cpu pomodoro "$pid"
  xdotool mousemove --window "$timer" 28 20 click 1
  sleep 0.5
  # The timer window goes with the key press: xdotool's key release then finds no window
  # and fails, which is no failure of the program. A key sent while Wine still moves the
  # focus can be lost: up to three tries, then the wait below tells whether it stopped.
  local try
  for try in 1 2 3; do
    xdotool key --window "$timer" F6 2>/dev/null || true
    for _ in $(seq 1 30); do
      [ -z "$(xdotool search --name '^Timer on: ' 2>/dev/null)" ] && break 2
      sleep 0.1
    done
    e2e_info "F6 try $try left the timer running"
  done
  e2e_wait_no_window '^Timer on: ' 20
  e2e_wait_title "$win" '^Tirelmo - ' 10
}

close_empty() {
  e2e_close_window "$RUN_WIN"
  e2e_wait_exit "$RUN_PID" 30
}

# run_empty ROUND [idle]
run_empty() {
  start_watched "empty-$1" 'Empty window' "$EMPTY_EXE"
  record empty.start.found "$RUN_FOUND_MS"
  record empty.start.painted "$RUN_PAINT_MS"
  sleep 2
  read -r rss priv owned <<<"$(memory "$RUN_PID")"
  record empty.mem.rss_kb "$rss"
  record empty.mem.private_kb "$priv"
  record empty.mem.owned_kb "$owned"
  [ "${2:-}" = idle ] && idle_cpu empty "$RUN_PID"
  if [ "${2:-}" = idle ]; then
    # The yardstick of a page switch: the empty window repaints all of its client area on
    # the same key, sent the same way.
    for _ in 1 2 3; do
      e2e_activate "$RUN_WIN"
      read -r first drawn <<<"$("$FW" change "$RUN_WIN" 5000 -- xdotool key --delay 0 ctrl+Tab)"
      record page.empty.drawn "$drawn"
      e2e_activate "$RUN_WIN"
      read -r first drawn <<<"$("$FW" damage "$RUN_WIN" 5000 -- xdotool key --delay 0 ctrl+Tab)"
      record page.empty.damage "$drawn"
    done
  fi
  close_empty
}

# run_tirelmo LABEL: start Tirelmo on the profile as it is; sets RUN_PID, RUN_WIN.
run_tirelmo() {
  start_watched "tirelmo-$1" 'Tirelmo - ' "$E2E_TIRELMO_EXE"
  record "$1.start.found" "$RUN_FOUND_MS"
  record "$1.start.painted" "$RUN_PAINT_MS"
}

for round in $(seq 1 "$ROUNDS"); do
  budget_info "round $round of $ROUNDS"
  run_empty "$round" idle

  e2e_fresh_profile
  run_tirelmo fresh
  e2e_close_main "$RUN_WIN" "$RUN_PID"

  run_empty "$round"
  rm -rf "$(e2e_datadir)"
  cp -a "$HISTORY" "$(e2e_datadir)"
  run_tirelmo history_first
  e2e_close_main "$RUN_WIN" "$RUN_PID"

  run_empty "$round"
  run_tirelmo history_second
  sleep 2
  read -r rss priv owned <<<"$(memory "$RUN_PID")"
  record history_second.mem.rss_kb "$rss"
  record history_second.mem.private_kb "$priv"
  record history_second.mem.owned_kb "$owned"
  idle_cpu history_second "$RUN_PID"
  # What xdotool itself takes to start and send a key (a lone Shift): part of every switch.
  e2e_activate "$RUN_WIN"
  for _ in 1 2 3; do
    t0=$(date +%s%N)
    xdotool key --delay 0 shift
    record page.xdotool $(( ($(date +%s%N) - t0) / 1000 ))
  done
  for page in 1 2 3 4 5 6 0; do
    e2e_activate "$RUN_WIN"
    read -r first drawn <<<"$("$FW" change "$RUN_WIN" 5000 -- xdotool key --delay 0 ctrl+Tab)"
    record "page.$page.first" "$first"
    record "page.$page.drawn" "$drawn"
    record page.all.drawn "$drawn"
  done
  # The same seven switches once more, read from the X server's damage events.
  for page in 1 2 3 4 5 6 0; do
    e2e_activate "$RUN_WIN"
    read -r first drawn <<<"$("$FW" damage "$RUN_WIN" 5000 -- xdotool key --delay 0 ctrl+Tab)"
    record "page.$page.damage" "$drawn"
    record page.all.damage "$drawn"
  done
  sleep 2
  read -r rss priv owned <<<"$(memory "$RUN_PID")"
  record history_pages.mem.rss_kb "$rss"
  record history_pages.mem.private_kb "$priv"
  record history_pages.mem.owned_kb "$owned"
  pomodoro_cpu "$RUN_WIN" "$RUN_PID"
  e2e_close_main "$RUN_WIN" "$RUN_PID"
done

# ---- The table ----------------------------------------------------------------------------

# stats METRIC: "MIN MEDIAN MAX N" of its samples.
stats() {
  sort -n "$RAW/$1" | awk '{v[NR] = $1} END {
    if (NR == 0) { print "- - - 0"; exit }
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    print v[1], m, v[NR], NR }'
}
median() { stats "$1" | cut -d' ' -f2; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
row() { # LABEL METRIC [SCALE_DIVISOR] [RATIO_TO_METRIC]
  local label=$1 metric=$2 div=${3:-1} base=${4:-} r=""
  read -r mn md mx n <<<"$(stats "$metric")"
  [ -n "$base" ] && r="x$(ratio "$md" "$(median "$base")")"
  awk -v l="$label" -v a="$mn" -v b="$md" -v c="$mx" -v n="$n" -v d="$div" -v r="$r" \
    'BEGIN { printf "%-46s %9.1f %9.1f %9.1f %3d  %s\n", l, a / d, b / d, c / d, n, r }'
}
pct_row() { # LABEL METRIC: ticks over the idle period as % of one core
  local label=$1 metric=$2
  read -r mn md mx n <<<"$(stats "$metric")"
  awk -v l="$label" -v a="$mn" -v b="$md" -v c="$mx" -v n="$n" -v hz="$HZ" -v s="$IDLE_S" \
    'BEGIN { k = 100 / (hz * s); printf "%-46s %9d %9.1f %9d %3d  %.3f %% of a core (median)\n", l, a, b, c, n, b * k }'
}

{
  echo "Budget run $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git -C "$REPO" rev-parse --short HEAD 2>/dev/null), $ROUNDS rounds, idle ${IDLE_S} s"
  echo "Wine $(wine --version 2>/dev/null), $(nproc) cores, history: $(head -n 1 "$E2E_ART/history_gen.out")"
  echo
  printf '%-46s %9s %9s %9s %3s  %s\n' "" min median max n "ratio of medians to the empty window"
  echo "Start to first painted frame (ms)"
  row "  empty window" empty.start.painted
  row "  Tirelmo, empty profile" fresh.start.painted 1 empty.start.painted
  row "  Tirelmo, 10 years, second start of the day" history_second.start.painted 1 empty.start.painted
  row "  Tirelmo, 10 years, first start of the day" history_first.start.painted 1 empty.start.painted
  echo "Start to main window viewable (ms)"
  row "  empty window" empty.start.found
  row "  Tirelmo, empty profile" fresh.start.found 1 empty.start.found
  row "  Tirelmo, 10 years, second start of the day" history_second.start.found 1 empty.start.found
  row "  Tirelmo, 10 years, first start of the day" history_first.start.found 1 empty.start.found
  echo "Memory, 10 years of history (MB)"
  row "  empty window, resident (VmRSS)" empty.mem.rss_kb 1024
  row "  empty window, private" empty.mem.private_kb 1024
  row "  empty window, private bytes" empty.mem.owned_kb 1024
  row "  Tirelmo after start, resident" history_second.mem.rss_kb 1024 empty.mem.rss_kb
  row "  Tirelmo after start, private" history_second.mem.private_kb 1024 empty.mem.private_kb
  row "  Tirelmo after start, private bytes" history_second.mem.owned_kb 1024 empty.mem.owned_kb
  row "  Tirelmo after all 7 pages, resident" history_pages.mem.rss_kb 1024 empty.mem.rss_kb
  row "  Tirelmo after all 7 pages, private" history_pages.mem.private_kb 1024 empty.mem.private_kb
  row "  Tirelmo after all 7 pages, private bytes" history_pages.mem.owned_kb 1024 empty.mem.owned_kb
  echo "CPU ticks over ${IDLE_S} s idle (1 tick = 1/$HZ s)"
  pct_row "  empty window" empty.idle_ticks.process
  pct_row "  wineserver, beside the empty window" empty.idle_ticks.wineserver
  pct_row "  Xvfb, beside the empty window" empty.idle_ticks.xvfb
  pct_row "  Tirelmo, 10 years" history_second.idle_ticks.process
  pct_row "  wineserver, beside Tirelmo" history_second.idle_ticks.wineserver
  pct_row "  Xvfb, beside Tirelmo" history_second.idle_ticks.xvfb
  echo "CPU ticks over ${IDLE_S} s of a running pomodoro (timer window shown, main window minimised)"
  pct_row "  Tirelmo, 10 years" pomodoro.idle_ticks.process
  pct_row "  wineserver, beside Tirelmo" pomodoro.idle_ticks.wineserver
  pct_row "  Xvfb, beside Tirelmo" pomodoro.idle_ticks.xvfb
  echo "Page switch, Ctrl+Tab to the page drawn (ms; first change / last change)"
  for page in 1 2 3 4 5 6 0; do
    row "  to $page ${PAGE_NAMES[$page]}, first change" "page.$page.first"
    row "  to $page ${PAGE_NAMES[$page]}, drawn" "page.$page.drawn"
  done
  row "  all switches, drawn" page.all.drawn 1 page.empty.drawn
  row "  empty window, whole client repainted on the same key" page.empty.drawn
  row "  xdotool alone (part of every switch)" page.xdotool 1000
  echo "Page switch, Ctrl+Tab to the last drawing the X server received (damage events, no grabs)"
  for page in 1 2 3 4 5 6 0; do
    row "  to $page ${PAGE_NAMES[$page]}" "page.$page.damage"
  done
  row "  all switches" page.all.damage 1 page.empty.damage
  row "  empty window, whole client repainted on the same key" page.empty.damage
} | tee "$OUT/results.txt"

e2e_pass
