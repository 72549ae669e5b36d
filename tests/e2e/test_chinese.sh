#!/usr/bin/env bash
# Tirelmo in "Chinese (Simplified)" shows Chinese glyphs, not the hollow boxes of a face that
# lacks them: the page tab "今日待办", a Chinese task text, the timer window (F5) and the
# Settings dialog ("设置") in screenshots.
#
# The glyph check: a face without Chinese glyphs draws every Chinese character as the same
# hollow box, so the ink of the tab labels falls into one or two shapes (a box, and one cut
# off at the edge). Calibrated once: with the prefix's fallback (wine_prefix_cjk_fonts) the
# first 300 pixels of the tab strip hold 38 different shapes; with the FontLink and
# Replacements values deleted from the prefix, 2 (fourteen 10 x 19 boxes and a cut one).
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin
[ -f "$E2E_FIXTURE_EXE" ] || e2e_fail "no $E2E_FIXTURE_EXE: build it first (cmake --build --preset win32)"
command -v compare >/dev/null || e2e_fail "ImageMagick's compare is missing (scripts/install-deps.sh e2e)"

e2e_avoid_midnight 120
data=$(e2e_datadir)
read -r ty tm td tw <<<"$(date '+%Y %-m %-d %w')"
sheet="$data/DailyTask/$ty/$tm/$(e2e_sheet_name "$ty" "$tm" "$td" "$tw")"
task='写发布说明'

e2e_fresh_profile
mkdir -p "$data"
e2e_write_settings 'Language=Chinese (Simplified)' Wind_x=20 Wind_y=20 Wind_hth=900 pomtimerminutes=1 tmrwndx=700 tmrwndy=120
e2e_write_sheet "$sheet" <<EOF
$(e2e_sheet_row row=0 "text=$task")
EOF
e2e_start_main
main_win=$E2E_WIN
main_pid=$E2E_PID

# --- Page 0: the tab strip's ink. ---------------------------------------------------------------
page0="$E2E_ART/page0.png"
e2e_capture_window "$main_win" "$page0"
# The first tabs' labels (今日待办, 下一步, 前一天, ...) within client (4..304, 3..34), as
# black-on-white ink shapes: one line "WxH area" per connected shape.
strip="$E2E_ART/tab-strip.png"
convert "$page0" -crop 300x31+4+3 +repage -colorspace gray -threshold 40% -negate "$strip" \
  || e2e_fail "could not cut the tab strip out of $page0"
shapes=$(convert "$strip" -define connected-components:verbose=true -define connected-components:area-threshold=2 \
  -connected-components 8 null: | awk 'NR > 1 && $NF == "gray(255)" { split($2, g, "+"); print g[1], $4 }' | sort -u | wc -l)
e2e_info "the tab strip's ink has $shapes different shapes"
[ "$shapes" -ge 10 ] || e2e_fail "the tab labels are drawn as $shapes kind(s) of box, not as Chinese glyphs (see $strip)"

# --- The Settings dialog. -----------------------------------------------------------------------
e2e_click "$main_win" 119 63 1
e2e_wait_window '^设置$' 20 "$main_pid"
settings_win=$E2E_WIN
sleep 0.5
e2e_capture_window "$settings_win" "$E2E_ART/settings.png"
e2e_key "$settings_win" Escape
e2e_wait_no_window '^设置$' 20

# --- The timer window: its title names the Chinese task. ----------------------------------------
e2e_key "$main_win" F5
e2e_wait_window '^计时中：' 20 "$main_pid"
timer_win=$E2E_WIN
e2e_assert_eq "计时中：$task" "$(e2e_window_title "$timer_win")" "timer window title"
sleep 1
e2e_screenshot timer
# A click gives the frameless timer window the keyboard, as it does for a user; Wine may
# switch the window over to a managed one at that first activation and drop the key, so the
# click and F6 are tried again while the window stays.
for _ in 1 2 3; do
  e2e_click "$timer_win" 28 20 1
  sleep 0.5
  xdotool key --window "$timer_win" F6 2>/dev/null
  for _ in $(seq 1 30); do
    [ -z "$(xdotool search --name '^计时中：' 2>/dev/null)" ] && break 2
    sleep 0.1
  done
done
e2e_wait_no_window '^计时中：' 10
e2e_wait_title "$main_win" '^Tirelmo' 20

e2e_close_main "$main_win" "$main_pid"
e2e_pass
