#include "settings_dialog.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <string>

#include "app/app.h"
#include "app/settings_change.h"
#include "base/log.h"
#include "dialogs.h"
#include "late_bound.h"
#include "main_window.h"
#include "web/web_pages.h"
#include "wide.h"

namespace tirelmo {

namespace {

// The longest text the data-folder field takes from the keyboard ("User Data dir").
constexpr int kDataFolderMax = 255;
// Enough for any number the minute fields are meant for, and for a mistyped one to be seen
// and refused rather than cut.
constexpr int kMinutesFieldMax = 6;

struct SettingsDialogState {
  MainWindow* w = nullptr;
  bool runsAtStartup = false;  // the box as it was ticked when the dialog opened
};

u16 itemText(HWND dlg, int id) {
  HWND h = GetDlgItem(dlg, id);
  if (!h) return {};
  const int n = GetWindowTextLengthW(h);
  std::wstring s(static_cast<std::size_t>(std::max(n, 0)) + 1, L'\0');
  const int got = GetWindowTextW(h, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(std::max(got, 0)));
  return U(s);
}

// The entry chosen in a drop-down list; empty when none is.
u16 chosenEntry(HWND dlg, int id) {
  const LRESULT index = SendDlgItemMessageW(dlg, id, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return {};
  const LRESULT n = SendDlgItemMessageW(dlg, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == CB_ERR || n < 0) return {};
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  const LRESULT got =
      SendDlgItemMessageW(dlg, id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(got == CB_ERR ? 0 : static_cast<std::size_t>(got));
  return U(s);
}

void fillDropDown(HWND dlg, int id, const std::vector<u16>& entries, int selected) {
  SendDlgItemMessageW(dlg, id, CB_RESETCONTENT, 0, 0);
  for (const u16& e : entries) SendDlgItemMessageW(dlg, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(e)));
  // -1 leaves nothing chosen: the setting then stays what it was.
  SendDlgItemMessageW(dlg, id, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

// The size as the drop-down writes it ("%2d").
u16 sizeEntryText(int size) { return fmt(u"%2d", size); }

bool ticked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }
void tick(HWND dlg, int id, bool on) { CheckDlgButton(dlg, id, on ? BST_CHECKED : BST_UNCHECKED); }

void setText(HWND dlg, int id, const App& app, Txt text) { SetDlgItemTextW(dlg, id, Wstr(app.tr(text)).c_str()); }

void translate(HWND dlg, const App& app) {
  SetWindowTextW(dlg, Wstr(app.tr(Txt::SetDlgTitle)).c_str());
  static constexpr struct {
    int id;
    Txt text;
  } kTexts[] = {
      {IDC_SET_GROUP_TIMER, Txt::SetDlgGroupTimer},     {IDC_SET_POMODORO_LABEL, Txt::SetDlgMinutes},
      {IDC_SET_BREAK_LABEL, Txt::SetDlgBreak},          {IDC_SET_RING, Txt::SetDlgRing},
      {IDC_SET_TICK, Txt::SetDlgTick},                  {IDC_SET_TIMER_TYPE_LABEL, Txt::SetDlgType},
      {IDC_SET_GROUP_LOOK, Txt::SetDlgGroupLook},       {IDC_SET_SKIN_LABEL, Txt::SetDlgSkin},
      {IDC_SET_PROJECT_NAMES, Txt::SetDlgProjectNames}, {IDC_SET_FONT_LABEL, Txt::SetDlgFont},
      {IDC_SET_SIZE_LABEL, Txt::SetDlgSize},            {IDC_SET_LANGUAGE_LABEL, Txt::SetDlgLanguage},
      {IDC_SET_GROUP_BEHAVIOUR, Txt::SetDlgGroupBehaviour}, {IDC_SET_MINIMIZE, Txt::SetDlgMinimize},
      {IDC_SET_RUN_AT_STARTUP, Txt::SetDlgRunAtStartup}, {IDC_SET_DATA_DIR_LABEL, Txt::SetDlgDataFolder},
      {IDC_SET_BROWSE, Txt::SetDlgBrowse},              {IDOK, Txt::DialogOk},
      {IDCANCEL, Txt::DialogCancel},
  };
  for (const auto& t : kTexts) setText(dlg, t.id, app, t.text);
}

void initDialog(HWND dlg, SettingsDialogState& state) {
  App& app = state.w->app;
  const Settings& s = app.settings;
  translate(dlg, app);

  SendDlgItemMessageW(dlg, IDC_SET_POMODORO, EM_LIMITTEXT, kMinutesFieldMax, 0);
  SendDlgItemMessageW(dlg, IDC_SET_BREAK, EM_LIMITTEXT, kMinutesFieldMax, 0);
  SetDlgItemInt(dlg, IDC_SET_POMODORO, static_cast<UINT>(s.pomtimerminutes), TRUE);
  SetDlgItemInt(dlg, IDC_SET_BREAK, static_cast<UINT>(s.breaktimerminutes), TRUE);
  tick(dlg, IDC_SET_RING, s.bPlayAlarm);
  tick(dlg, IDC_SET_TICK, s.playticking);
  const int types = static_cast<int>(timerTypeEntries().size());
  fillDropDown(dlg, IDC_SET_TIMER_TYPE, timerTypeEntries(), s.timerType >= 0 && s.timerType < types ? s.timerType : -1);

  fillDropDown(dlg, IDC_SET_SKIN, skinEntries(), dropDownSelection(skinEntries(), s.skin));
  tick(dlg, IDC_SET_PROJECT_NAMES, s.displayProjectNames);
  fillDropDown(dlg, IDC_SET_FONT, fontEntries(), dropDownSelection(fontEntries(), s.font));
  fillDropDown(dlg, IDC_SET_SIZE, fontSizeEntries(), dropDownSelection(fontSizeEntries(), sizeEntryText(s.fontsize)));
  fillDropDown(dlg, IDC_SET_LANGUAGE, languageEntries(), dropDownSelection(languageEntries(), s.language));

  tick(dlg, IDC_SET_MINIMIZE, s.bMinimizeToTray);
  state.runsAtStartup = app.shell->runsAtStartup(app.system.executablePath());
  tick(dlg, IDC_SET_RUN_AT_STARTUP, state.runsAtStartup);
  SendDlgItemMessageW(dlg, IDC_SET_DATA_DIR, EM_LIMITTEXT, kDataFolderMax, 0);
  SetDlgItemTextW(dlg, IDC_SET_DATA_DIR, W(s.userDataDir));
}

SettingsDialogValues readDialog(HWND dlg) {
  SettingsDialogValues v;
  v.pomodoroMinutes = itemText(dlg, IDC_SET_POMODORO);
  v.breakMinutes = itemText(dlg, IDC_SET_BREAK);
  v.ring = ticked(dlg, IDC_SET_RING);
  v.tick = ticked(dlg, IDC_SET_TICK);
  const LRESULT type = SendDlgItemMessageW(dlg, IDC_SET_TIMER_TYPE, CB_GETCURSEL, 0, 0);
  v.timerType = type == CB_ERR ? -1 : static_cast<int>(type);
  v.skin = chosenEntry(dlg, IDC_SET_SKIN);
  v.displayProjectNames = ticked(dlg, IDC_SET_PROJECT_NAMES);
  v.font = chosenEntry(dlg, IDC_SET_FONT);
  v.fontSize = chosenEntry(dlg, IDC_SET_SIZE);
  v.language = chosenEntry(dlg, IDC_SET_LANGUAGE);
  v.minimizeToTray = ticked(dlg, IDC_SET_MINIMIZE);
  v.runAtStartup = ticked(dlg, IDC_SET_RUN_AT_STARTUP);
  v.dataFolder = itemText(dlg, IDC_SET_DATA_DIR);
  return v;
}

// A refused number gets a value that passes; a refused folder keeps what was typed, to be
// mended rather than typed again. Either way the field gets the focus, its text selected.
void resetField(HWND dlg, const SettingsCheck& check) {
  int id = 0;
  switch (check.field) {
    case SettingsField::PomodoroMinutes: id = IDC_SET_POMODORO; break;
    case SettingsField::BreakMinutes: id = IDC_SET_BREAK; break;
    case SettingsField::DataFolder: id = IDC_SET_DATA_DIR; break;
    case SettingsField::None: return;
  }
  if (id != IDC_SET_DATA_DIR) SetDlgItemInt(dlg, id, static_cast<UINT>(check.resetValue), TRUE);
  SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg, id)), TRUE);
  SendDlgItemMessageW(dlg, id, EM_SETSEL, 0, -1);
}

void onOk(HWND dlg, SettingsDialogState& state) {
  App& app = state.w->app;
  const SettingsDialogValues v = readDialog(dlg);
  const SettingsCheck check = checkSettingsDialog(app, v);
  if (check.field != SettingsField::None) {
    resetField(dlg, check);
    return;
  }
  app.settings = settingsFromDialog(app.settings, v);
  // The entry is written only when the user changed the box: an unchanged box must not
  // replace an entry that names another copy of the program.
  if (v.runAtStartup != state.runsAtStartup) applyRunAtStartup(app, v.runAtStartup);
  EndDialog(dlg, IDOK);
}

void browseForDataFolder(HWND dlg, const App& app) {
  u16 path;
  if (browseForFolder(dlg, app.tr(Txt::SetDlgBrowseTitle), path)) SetDlgItemTextW(dlg, IDC_SET_DATA_DIR, W(path));
}

INT_PTR CALLBACK settingsProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<SettingsDialogState*>(GetWindowLongPtrW(dlg, GWLP_USERDATA));
  switch (msg) {
    case WM_INITDIALOG:
      state = reinterpret_cast<SettingsDialogState*>(lParam);
      SetWindowLongPtrW(dlg, GWLP_USERDATA, lParam);
      initDialog(dlg, *state);
      return TRUE;
    case WM_COMMAND:
      if (!state) return TRUE;
      switch (LOWORD(wParam)) {
        case IDOK: onOk(dlg, *state); break;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); break;
        case IDC_SET_BROWSE:
          if (HIWORD(wParam) == BN_CLICKED) browseForDataFolder(dlg, state->w->app);
          break;
        default: break;
      }
      // Every command of the dialog ends here: some of its control ids (1023 "Run at
      // startup") are also command ids of the main window.
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void runSettingsDialog(MainWindow& w) {
  App& app = w.app;
  if (app.timer.running) {
    app.prompts.show(app.tr(Txt::SetDlgTimerActive), app.tr(Txt::CaptionVersion), MsgButtons::Ok, MsgIcon::Warning);
    return;
  }
  // The whole record, category names included, as the dialog found it.
  const Settings before = app.settings;
  SettingsDialogState state;
  state.w = &w;
  const INT_PTR answer =
      DialogBoxParamW(w.instance, L"DLG_SETTINGS", w.hwnd, settingsProc, reinterpret_cast<LPARAM>(&state));
  if (answer == -1) logLastError(u"DialogBox DLG_SETTINGS");
  if (answer != IDOK) return;
  applyChangedSettings(app, before);
}

}  // namespace tirelmo
