#include "ui/sheet_commands.h"

#include "app/app.h"
#include "app/log.h"
#include "sheet/day_start.h"
#include "sheet/sheet_files.h"

namespace tirelmo {

u16 sheetDialogFolder(const App& app) { return fmt(u"%s\\dailytask", app.start.userDataDir); }

bool viewOldSheet(App& app, const ChooseSheetFile& choose) {
  // The timer's row belongs to today's sheet; it must stay on display until the end.
  if (app.timer.pomodoroRunning()) {
    logLine(u"Open File refused while the timer runs");
    return false;
  }
  SaveDiscardChanges(app);
  app.sheet.modified = false;
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
  SaveDiscardChanges(app);
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
