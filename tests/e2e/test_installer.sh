#!/usr/bin/env bash
# The installer, run silently, puts the program folder into the per-user programs folder, a
# Start-menu shortcut that starts Tirelmo through Vornel and an entry in the per-user
# uninstall list; installing again over it (now with "Run at startup") leaves the data
# folder untouched; the silent uninstaller removes the program folder, the shortcut, the Run
# value and the entry and leaves the data folder byte for byte as it was.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin

setup="$(dirname "$PROGRAM_DIR")/Tirelmo-setup.exe"
[ -f "$setup" ] || e2e_skip "no Tirelmo-setup.exe: makensis was not found when the build was configured"

appdata=$(e2e_appdata)
instdir="$(dirname "$appdata")/Local/Programs/Tirelmo"
instdir_win=$(e2e_winpath "$instdir")
shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/Tirelmo.lnk"
uninst_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tirelmo'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

# reg_value KEY NAME: the data of a registry value, empty when it does not exist.
reg_value() {
  wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
key_exists() { wine reg query "$1" </dev/null >/dev/null 2>&1; }

# wait_gone PATH: the uninstaller runs on from a copy of itself in %TEMP% after the program
# started from the program folder has ended, so the folder goes a moment later.
wait_gone() {
  for _ in $(seq 1 150); do
    [ -e "$1" ] || return 0
    sleep 0.2
  done
  e2e_fail "$1 still exists after the uninstaller"
}

# A run that failed half-way may have left an installation in the shared prefix.
rm -rf "$instdir" "$shortcut"
wine reg delete "$uninst_key" /f </dev/null >/dev/null 2>&1 || true
wine reg delete "$run_key" /v Tirelmo /f </dev/null >/dev/null 2>&1 || true

e2e_fresh_profile
e2e_run install "$E2E_SCRATCH" wine "$setup" /S
e2e_assert_eq 0 "$E2E_RC" "exit code of the silent installer"

# The program folder exactly as the build made it, plus the uninstaller.
installed=$(cd "$instdir" && find . -type f ! -name uninstall.exe | LC_ALL=C sort)
built=$(cd "$PROGRAM_DIR" && find . -type f | LC_ALL=C sort)
e2e_assert_same_text "$built" "$installed" "files of the installed program folder"
while read -r f; do
  cmp -s "$PROGRAM_DIR/$f" "$instdir/$f" || e2e_fail "$f differs from the built one"
done <<<"$built"
e2e_assert_file_exists "$instdir/uninstall.exe"
e2e_assert_file_exists "$shortcut"
e2e_assert_eq "Tirelmo" "$(reg_value "$uninst_key" DisplayName)" "DisplayName of the uninstall entry"
e2e_assert_eq "2.3.3.0" "$(reg_value "$uninst_key" DisplayVersion)" "DisplayVersion"
e2e_assert_eq "\"$instdir_win\\uninstall.exe\"" "$(reg_value "$uninst_key" UninstallString)" "UninstallString"
e2e_assert_eq "$instdir_win" "$(reg_value "$uninst_key" InstallLocation)" "InstallLocation"
e2e_assert_eq "" "$(reg_value "$run_key" Tirelmo)" "Run value without /RUNATSTARTUP"

# The shortcut, opened from another folder: Vornel only finds .\bin\Tirelmo.exe when the
# shortcut makes the program folder the current one.
e2e_run shortcut "$E2E_SCRATCH" wine start /wait "$(e2e_winpath "$shortcut")"
e2e_wait_window '^Tirelmo' 60
win=$E2E_WIN
e2e_screenshot started-from-shortcut
e2e_assert_eq "$E2E_MAIN_TITLE" "$(e2e_window_title "$win")" "title of the installed Tirelmo"
# Wine maps the program file into the process: its path tells which copy runs.
pid=$(e2e_prefix_pids Tirelmo.exe)
mapped=$(grep -o '/.*/Tirelmo\.exe$' "/proc/$pid/maps" | head -n 1)
e2e_assert_eq "$(readlink -f "$instdir/bin/Tirelmo.exe")" "$(readlink -f "$mapped")" "program file of the running Tirelmo"
e2e_close_window "$win"
e2e_wait_process_count Tirelmo.exe 0 60

# Data as a person has it: the first start made the settings and the log; a sheet besides.
data=$(e2e_datadir)
sheet="$data/DailyTask/2020/3/$(e2e_sheet_name 2020 3 14 6)"
e2e_write_sheet "$sheet" <<EOF
$(e2e_sheet_row row=0 pomodoro=2 'text=Kept through install and uninstall')
EOF
e2e_assert_file_exists "$data/$E2E_SETTINGS_NAME"
sheet_hash=$(sha256sum <"$sheet")
before=$(e2e_snapshot "$data")

# An update over the installation, this time starting with Windows.
e2e_run reinstall "$E2E_SCRATCH" wine "$setup" /S /RUNATSTARTUP
e2e_assert_eq 0 "$E2E_RC" "exit code of the second installation"
e2e_assert_eq "$instdir_win\\bin\\Tirelmo.exe" "$(reg_value "$run_key" Tirelmo)" "Run value after /RUNATSTARTUP"
e2e_assert_same_text "$before" "$(e2e_snapshot "$data")" "data folder after installing over"

e2e_run uninstall "$E2E_SCRATCH" wine "$instdir/uninstall.exe" /S
e2e_assert_eq 0 "$E2E_RC" "exit code of the silent uninstaller"
wait_gone "$instdir"
wait_gone "$shortcut"
for _ in $(seq 1 50); do key_exists "$uninst_key" || break; sleep 0.2; done
key_exists "$uninst_key" && e2e_fail "the uninstall entry is still there"
e2e_assert_eq "" "$(reg_value "$run_key" Tirelmo)" "Run value after uninstalling"

e2e_assert_eq "$sheet_hash" "$(sha256sum <"$sheet")" "hash of the sheet after uninstalling"
e2e_assert_same_text "$before" "$(e2e_snapshot "$data")" "data folder after uninstalling"
e2e_pass
