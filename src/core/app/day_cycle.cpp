#include "app/day_cycle.h"

#include "app/app.h"
#include "base/log.h"
#include "app/startup.h"
#include "app/sheet_io.h"
#include "app/todolists.h"
#include "sheet/sheet_files.h"

namespace tirelmo {

bool isDayChanged(App& app) {
  const LocalTime now = app.clock.now();
  const DayDate& today = app.start.today;
  if (now.day == today.day() && now.month == today.month && now.year == today.year) return false;
  logLine(u"Crossed Midnight!");
  return true;
}

bool CloseAppStartedYesterday(App& app) {
  logLine(u"%s(%d)", u"CloseAppStartedYesterday", 18915);
  const int page = app.ui.currentPage;
  const int row = app.ui.currentRow;

  // The run's own sheet may hold changes not saved yet: it is saved as it is. Only an
  // earlier sheet on display (read-only, nothing to lose) makes way for the last saved one.
  if (!isTodaySheet(app.sheet, app.start.today) && !app.settings.last2dofilename.empty())
    DisplayToDoSheet(app, app.settings.last2dofilename);
  app.sheetList.cursorToNewest();
  if (isTodaySheet(app.sheet, app.start.today) && !SaveAllSheets(app)) {
    // The start-up phases would reset the sheet: its rows exist nowhere else.
    app.sheet.modified = true;
    logLine(u"Day restart stopped: %s could not be saved, its rows stay on display", app.sheet.sheetFileName);
    return false;
  }
  app.sheet.modified = false;
  // The data phase reads every Todolist again: the rows of the one in view must be on disk.
  if (!saveTodolistInView(app)) {
    logLine(u"Day restart stopped: the Todolist in view could not be saved, its rows stay on display");
    return false;
  }

  saveEverything(app);
  processLog().closeWithTimestamp(app.clock.now());

  App::call(app.hooks.beforeDayRestart);
  if (!runEnvironmentPhase(app) || !runDataPhase(app)) {
    logLine(u"Day restart failed");
    return false;
  }
  // The window is on the screen already: the new sheet list need not wait for a first frame.
  app.sheetList.release();
  app.ui.currentPage = page;
  app.ui.currentRow = row;
  App::call(app.hooks.afterDayRestart);
  Log_FirstRunToday(app.start.startTime);
  return true;
}

bool restartIfDayChanged(App& app, const char16_t* wontLine) {
  if (!isDayChanged(app)) return true;
  logLine(u"%s", wontLine);
  return CloseAppStartedYesterday(app);
}

bool releaseDisplayedSheet(App& app, bool askFirst) {
  bool saved = true;
  if (askFirst) {
    saved = SaveDiscardChanges(app) != SaveChoice::Failed;
  } else if (isTodaySheet(app.sheet, app.start.today)) {
    // Typing does not mark the sheet modified: the editors' texts must come along.
    App::call(app.hooks.takeEditorTexts);
    saved = saveTodoSheet(app, true);
  }
  if (!saved) {
    app.sheet.modified = true;
    logLine(u"%s stays on display: it could not be saved", app.sheet.sheetFileName);
    return false;
  }
  app.sheet.modified = false;
  return true;
}

namespace {

// Shows the sheet the list hands out. The name of the sheet in memory is cleared meanwhile;
// when nothing else can be shown it comes back, or an earlier sheet still on display would
// pass for today's and be saved over it.
void showListedSheet(App& app, bool previous) {
  if (!releaseDisplayedSheet(app, true)) return;
  const u16 keptName = app.sheet.sheetFileName;
  app.sheet.sheetFileName.clear();
  u16 path;
  const bool found = previous ? app.sheetList.previousSheet(path) : app.sheetList.nextSheet(path);
  if (found && DisplayToDoSheet(app, path)) {
    App::call(app.hooks.refreshTitle);
    return;
  }
  app.sheet.sheetFileName = keptName;
  if (!found)
    app.prompts.show(app.tr(previous ? Txt::NoPreviousSheet : Txt::LatestSheet), app.tr(Txt::CaptionVersion),
                     MsgButtons::Ok, MsgIcon::Information);
}

}  // namespace

void showPreviousSheet(App& app) {
  if (isDayChanged(app)) {
    logLine(u"wont show prev todo sheet");
    CloseAppStartedYesterday(app);
    return;
  }
  if (app.timer.pomodoroRunning()) return;
  if (!releaseDisplayedSheet(app, false)) return;
  logLine(u"Prev Todo");
  app.ui.currentPage = 0;
  showListedSheet(app, true);
}

void showNextSheet(App& app) {
  if (isDayChanged(app)) {
    logLine(u"wont show next todo sheet");
    CloseAppStartedYesterday(app);
    return;
  }
  if (app.timer.pomodoroRunning()) return;
  logLine(u"Next Todo");
  app.ui.currentPage = 0;
  showListedSheet(app, false);
}

void backToTodaySheet(App& app) {
  if (app.timer.pomodoroRunning()) return;
  if (!releaseDisplayedSheet(app, true)) return;
  if (!app.settings.last2dofilename.empty()) DisplayToDoSheet(app, app.settings.last2dofilename);
  App::call(app.hooks.refreshTitle);
  app.sheetList.resetCursor();
}

u16 sheetDialogFolder(const App& app) { return fmt(u"%s\\dailytask", app.start.userDataDir); }

bool viewOldSheet(App& app, const ChooseSheetFile& choose) {
  // The timer's row belongs to today's sheet; it must stay on display until the end.
  if (app.timer.pomodoroRunning()) {
    logLine(u"Open File refused while the timer runs");
    return false;
  }
  if (!releaseDisplayedSheet(app, true)) return false;
  // The name stays until a file was chosen and read: an earlier sheet left on display
  // without its name would pass for today's and be saved over it.
  u16 path;
  if (!choose || !choose(sheetDialogFolder(app), path)) {
    logLine(u"Open File Cancel");
    return false;
  }
  if (!DisplayToDoSheet(app, path)) return false;
  app.sheetList.findSheet(path);
  App::call(app.hooks.refreshTitle);
  return true;
}

bool newTodoSheet(App& app) {
  logLine(u"New Todo");
  if (app.prompts.show(app.tr(Txt::ConfirmCleanupSheet), app.tr(Txt::CaptionVersion), MsgButtons::YesNo,
                       MsgIcon::Exclamation) != MsgAnswer::Yes)
    return false;
  // Emptied after midnight, the sheet would be saved under the run's day and wipe that day.
  if (isDayChanged(app)) {
    logLine(u"wont clean-up todo sheet");
    CloseAppStartedYesterday(app);
    return false;
  }
  // An earlier sheet without its name would be saved as today's: only today's is emptied.
  if (!isTodaySheet(app.sheet, app.start.today)) {
    app.prompts.show(app.tr(Txt::OpenTodayListFirst), app.tr(Txt::CaptionApp), MsgButtons::Ok, MsgIcon::Warning);
    return false;
  }
  if (app.timer.pomodoroRunning()) {
    logLine(u"New ToDo sheet refused while the timer runs");
    return false;
  }
  logLine(u"New ToDo sheet");
  // The rows about to go are kept on disk first: a failed save leaves them on display.
  if (!releaseDisplayedSheet(app, true)) return false;
  TodoSheet& sheet = app.sheet;
  const DayStats totals = sheet.dayTotals;
  const DayStats totalsSaved = sheet.dayTotalsSaved;
  sheet.sheetFileName.clear();
  resetTodoSheet(sheet);
  sheet.dayTotals = totals;
  sheet.dayTotalsSaved = totalsSaved;
  // A fresh sheet has its separator like any sheet a day starts with.
  sheet.separatorIndex = -1;
  placeSeparatorRow(sheet);
  // The emptied sheet replaces today's file at the next save, whatever else happens.
  sheet.modified = true;
  App::call(app.hooks.sheetDisplayed);
  App::call(app.hooks.redrawTotals);
  return true;
}

}  // namespace tirelmo
