// The App struct owns every process-wide model and the ports the core talks through.
// The Win32 program builds one with the real adapters; tests build one with fakes and call
// the same operations the window procedure calls.
#pragma once

#include <cstdint>
#include <functional>

#include "base/dates.h"
#include "platform/clock.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/window_inspector.h"
#include "projects/projects.h"
#include "sheet/sheet.h"
#include "sheet/sheet_list.h"
#include "stats/day_stats.h"
#include "stats/done_tasks.h"
#include "stats/yesterday_tasks.h"
#include "storage/settings.h"
#include "timer/timer_state.h"
#include "sheet/row_clipboard.h"
#include "todolists/todolists_model.h"
#include "usage/usage_model.h"
#include "platform/http.h"
#include "web/cloud_sync.h"
#include "web/web_client.h"
#include "text/strings.h"
#include "text/ustring.h"

namespace tirelmo {

// What start-up learns about the run; filled by the environment and data phases.
struct StartupState {
  LocalTime startTime;        // "today" for the whole run
  DayDate today;
  DayDate displayedSheetDate; // changes when an older sheet is on display
  u16 programFolder;          // where the executable lives (the sounds are below it)
  u16 defaultUserDataDir;     // log and settings
  u16 userDataDir;            // all data; the current directory while running
  bool firstRunToday = false;
  DayDate previousSheetDate;  // the sheet the day start carries over (from last2dofilename)
  u16 computerName;
  u16 userName;
  u16 osDescription;
  std::uint16_t uiLanguageId = 0;
  std::uint16_t keyboardLayoutId = 0;
  u16 languageName;
};

// What the window side does when the core changes something it shows. Every hook may be
// empty (tests, start-up before the window exists).
struct UiHooks {
  std::function<void()> takeEditorTexts;      // row editor texts into the model, before a save
  std::function<void(int row)> redrawRow;     // one row of the ToDo page
  std::function<void()> redrawTotals;         // the day totals and statistics panels
  std::function<void()> sheetDisplayed;       // a sheet was loaded for display: editors, look, page
  std::function<void()> refreshTitle;
  std::function<void(int rowsDone)> sheetUploadProgress;  // 0 shows the bar (0..25), -1 removes it
  std::function<void()> beforeDayRestart;     // remember page and row, empty the editors
  std::function<void()> afterDayRestart;      // refill, redraw, restore, notice
  std::function<void(int command)> sendCommand;  // post a command to the main window
  std::function<void()> todolistDoneChanged;     // a done mark changed on Next Things: save, rebuild
  // Rows of page 0 or 1 changed in the model (texts, order, scores): editors refilled, the
  // page repainted (page 0 with its totals).
  std::function<void(int page)> pageRowsChanged;
  // Another Todolist is in view (switch, transfer): list editors refilled, its tab selected,
  // page 1 repainted.
  std::function<void()> listDisplayed;
  // The registry changed (a list created, renamed, reordered): the tab strip is rebuilt.
  std::function<void()> todolistsChanged;
  // The content of a drawn page (2..6) changed (a project created, a report chosen, category
  // names): its height is taken again and, when it is on display, it is repainted.
  std::function<void(int page)> pageContentChanged;
  // Skin, font, size, language or project names changed: page look, row editor fonts and
  // positions, day statistics, full redraw.
  std::function<void()> rebuildLook;
  // The data moved to another folder; the window follows (title, sheet in view).
  std::function<void()> dataFolderMoved;
};

// The pages of the main window, by index.
inline constexpr int kPageTodoToday = 0;
inline constexpr int kPageNextThings = 1;
inline constexpr int kPagePreviousDay = 2;
inline constexpr int kPagePerformance = 3;
inline constexpr int kPageHistory = 4;
inline constexpr int kPageProjects = 5;
inline constexpr int kPageUsage = 6;

// Window state that core operations consult.
struct UiState {
  int currentPage = 0;  // 0 ToDo Today, 1 Next Things, ... 6 Apps + Websites
  int currentRow = 0;
  bool mainWindowExists = false;
};

struct App {
  App(Clock& c, Prompts& p, SystemInfo& s) : clock(c), prompts(p), system(s) {}

  Clock& clock;
  Prompts& prompts;
  SystemInfo& system;

  Settings settings;
  StartupState start;

  TodoSheet sheet{kSheetRows};
  TodoSheet todolist{kTodolistRows};  // the Todolist in view on the Next Things page
  TodolistRegistry todolists;          // every Todolist, in tab order
  RowClipboard rowClipboard;
  SheetList sheetList;
  MonthTable month;
  ProjectStore projects;
  DoneArchive doneArchive;
  YesterdayArchive yesterday;
  TimerState timer;
  UsageTable usage;  // today's time per application and web site
  UiState ui;
  UiHooks hooks;

  NoCloudSync noCloud;
  CloudSheetSync* cloud = &noCloud;

  // The web services: where they are (web.cfg), the location, the version-check flags; and
  // the HTTP port (no network until the window side installs one).
  WebState web;
  NoHttp noHttp;
  Http* http = &noHttp;

  // The project most recently chosen in the link dialog, offered as "Link to %s" in the row
  // menu; lives for the run only (id 0: none chosen yet).
  std::int32_t lastUsedProjectId = 0;
  u16 lastUsedProjectName;

  // Opens web pages, manual pages and folders; does nothing until the window side sets one.
  NoShell noShell;
  Shell* shell = &noShell;

  // The window in front, for the usage sampling; sees nothing until the window side sets one.
  NoWindows noWindows;
  WindowInspector* windows = &noWindows;

  // Today's slot in the month table.
  int todaySlot() const { return start.today.day0; }
  // The window side may be missing (tests): every hook call goes through here.
  template <class F, class... A>
  static void call(const F& hook, A&&... args) {
    if (hook) hook(std::forward<A>(args)...);
  }

  Language language() const { return languageFromSetting(settings.language); }
  const char16_t* tr(Txt id) const { return text(id, language()); }
};

}  // namespace tirelmo
