#include "app/scores.h"

#include <algorithm>

#include "app/app.h"
#include "base/log.h"
#include "projects/project_store.h"
#include "app/day_cycle.h"
#include "app/todolists.h"
#include "stats/done_archive.h"
#include "stats/month_stats.h"

namespace tirelmo {

namespace {

// Day counters are single bytes; a busy day stops at 255 rather than wrapping to an empty
// looking day.
void countUp(std::uint8_t& c) {
  if (c < 255) ++c;
}

void addSaturating(std::uint8_t& to, std::uint8_t add) {
  to = static_cast<std::uint8_t>(std::min(255, int{to} + int{add}));
}

bool isToday(const App& app) { return isTodaySheet(app.sheet, app.start.today); }

int pageOf(const App& app, ScoreTarget target) {
  return target == ScoreTarget::TodaySheet ? kPageTodoToday : app.ui.currentPage;
}

TodoSheet& sheetOfPage(App& app, int page) { return page == kPageNextThings ? app.todolist : app.sheet; }

// The day's worked time follows the rows of today's sheet at once, as a recount would give
// it: without this the header and the month table showed 0:00 after every pomodoro until
// the sheet was next loaded.
void addDayWorkedMinutes(DayStats& day, std::int64_t minutes) { day.setWorkedTime(day.workedTime() + minutes); }

// A row holds at most a day's minutes, as its loaders allow; the day's total takes what the
// row took, so that it stays what a recount gives. The project has its own bounds.
void workedMinutes(App& app, TodoRow& r, int minutes, const char16_t* failureLine, bool todaysSheet) {
  const std::int32_t before = r.info.minutesToday;
  r.info.minutesToday = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(std::int64_t{before} + minutes, 0, kMaxMinutesToday));
  if (todaysSheet) addDayWorkedMinutes(todayTotals(app), std::int64_t{r.info.minutesToday} - before);
  if (!addProjectMinutes(app, r.info.projectId, minutes)) logLine(failureLine, minutes, r.info.projectId);
}

}  // namespace

bool addScore(App& app, int row, ScoreKind kind, bool byUser, ScoreTarget target) {
  const int page = pageOf(app, target);
  if (page != kPageTodoToday && page != kPageNextThings) {
    app.prompts.show(app.tr(Txt::ScoresOnTodoPageOnly), app.tr(Txt::CaptionApp), MsgButtons::Ok,
                     MsgIcon::Exclamation);
    return false;
  }
  if (byUser) {
    // A score after midnight goes to the new day's sheet; without the new day there is no
    // sheet to put it on.
    if (!restartIfDayChanged(app, u"Started on a previous day, new score wont be added.")) return false;
    if (page == kPageTodoToday && !isToday(app)) {
      app.prompts.show(app.tr(Txt::ScoresReadOnlySheet), app.tr(Txt::CaptionApp), MsgButtons::Ok,
                       MsgIcon::Exclamation);
      return false;
    }
  }
  TodoSheet& sheet = sheetOfPage(app, page);
  if (!sheet.validRow(row)) return false;
  TodoRow& r = sheet.rows[static_cast<std::size_t>(row)];

  if (r.isDone()) {
    if (app.prompts.show(app.tr(Txt::ScoreOnDoneTask), app.tr(Txt::CaptionApp), MsgButtons::YesNo,
                         MsgIcon::Information) == MsgAnswer::Yes)
      App::call(app.hooks.sendCommand, kCmdRemoveDoneScore);
    return false;
  }

  markDayUsed(app);
  countUp(r.counter(kind));
  DayStats& day = todayTotals(app);
  switch (kind) {
    case ScoreKind::Pomodoro:
      countUp(day.pomodoros);
      workedMinutes(app, r, pomodoroLength(app.settings), u"Err: could not inc %d' to prj %d", page == kPageTodoToday);
      break;
    case ScoreKind::Abandoned: {
      // A repeat-everyday row is abandoned day after day by design; it does not spoil the day.
      if (!r.hasFlag(rowflag::kRepeat)) countUp(day.abandoned);
      const int length = pomodoroLength(app.settings);
      const int worked = std::clamp(length - app.timer.remainingMinutes, 0, length);
      workedMinutes(app, r, worked, u"Err: could not dec %d' to prj %d", page == kPageTodoToday);
      break;
    }
    case ScoreKind::InternalInterruption:
    case ScoreKind::ExternalInterruption:
    case ScoreKind::Estimated:
      countUp(day.counter(kind));
      break;
    case ScoreKind::Done:
      countUp(day.done);
      setRowLook(sheet, row);
      if (page == kPageNextThings) todolistDoneMarkChanged(app);
      break;
  }
  if (page == kPageTodoToday && belowSeparator(sheet, row))
    r.info.flags = static_cast<std::uint8_t>(r.info.flags | rowflag::kUnplanned);
  copyDayTotalsToMonth(app);
  App::call(app.hooks.redrawTotals);
  return true;
}

bool addScoreAndRedraw(App& app, int row, ScoreKind kind, bool byUser, ScoreTarget target) {
  if (!addScore(app, row, kind, byUser, target)) return false;
  App::call(app.hooks.redrawRow, row);
  return true;
}

bool scoreCommandAdd(App& app, ScoreKind kind) {
  const bool interruption = kind == ScoreKind::InternalInterruption || kind == ScoreKind::ExternalInterruption;
  // An interruption belongs to the pomodoro it broke into, whatever row or page is selected.
  const bool toTimerRow = interruption && app.timer.pomodoroRunning() && app.timer.row >= 0;
  const ScoreTarget target = toTimerRow ? ScoreTarget::TodaySheet : ScoreTarget::CurrentPage;
  const int row = toTimerRow ? app.timer.row : app.ui.currentRow;
  if (!addScore(app, row, kind, true, target)) return false;
  App::call(app.hooks.redrawRow, row);
  sheetOfPage(app, pageOf(app, target)).modified = true;
  App::call(app.hooks.redrawTotals);
  return true;
}

int addEstimates(App& app, int n) {
  int added = 0;
  while (added < n && scoreCommandAdd(app, ScoreKind::Estimated)) ++added;
  return added;
}

bool removeScore(App& app, ScoreKind kind) {
  static const char16_t* const kWontLines[kScoreKinds] = {u"Wont del pomo",    u"Wont del abandoned",
                                                          u"Wont del intintr", u"Wont del extintr",
                                                          u"Wont del estim",   u"Wont del tskdone"};
  if (isDayChanged(app)) {
    logLine(kWontLines[static_cast<int>(kind)]);
    CloseAppStartedYesterday(app);
    return false;
  }
  // On Next Things the selected row is a Todolist row: removing from the ToDo sheet's row
  // of the same number would change a task the user is not looking at.
  const int page = app.ui.currentPage == kPageNextThings ? kPageNextThings : kPageTodoToday;
  TodoSheet& sheet = sheetOfPage(app, page);
  // An earlier day's sheet is read-only, and today's statistics must not follow its edits.
  if (page == kPageTodoToday && !isToday(app)) {
    logLine(u"Read-only ToDo list, score not removed");
    return false;
  }
  const int row = app.ui.currentRow;
  if (!sheet.validRow(row)) return false;
  TodoRow& r = sheet.rows[static_cast<std::size_t>(row)];
  std::uint8_t& counter = r.counter(kind);
  if (counter == 0) return false;

  --counter;
  // The day may never have counted this score (an abandoned repeat row): it stays at 0
  // instead of wrapping to 255.
  std::uint8_t& dayCounter = todayTotals(app).counter(kind);
  if (dayCounter > 0) --dayCounter;
  if (kind == ScoreKind::Pomodoro) {
    const int taken = std::clamp(r.info.minutesToday, 0, pomodoroLength(app.settings));
    r.info.minutesToday = std::max(0, r.info.minutesToday - taken);
    if (page == kPageTodoToday) addDayWorkedMinutes(todayTotals(app), -taken);
  }
  if (kind == ScoreKind::Done) {
    setRowLook(sheet, row);
    if (page == kPageNextThings) todolistDoneMarkChanged(app);
  }
  App::call(app.hooks.redrawRow, row);
  App::call(app.hooks.redrawTotals);
  sheet.modified = true;
  return true;
}

void RemoveDoneTasks(App& app) {
  logLine(u"RemoveDoneTasks");
  if (!isToday(app)) {
    app.prompts.show(app.tr(Txt::RemoveDoneTodayOnly), app.tr(Txt::CaptionApp), MsgButtons::Ok,
                     MsgIcon::Information);
    return;
  }
  // The archive gets the texts as the user sees them, and the page rebuilt at the end must
  // not bring back what the editors held before.
  App::call(app.hooks.takeEditorTexts);
  const DayDate& today = app.start.today;
  openDoneArchive(app, today.year, today.month, today.day(), today.dayOfWeek);
  TodoSheet& sheet = app.sheet;
  for (int i = 0; i < sheet.rowCount(); ++i) {
    TodoRow& r = sheet.rows[static_cast<std::size_t>(i)];
    if (!r.isDone()) continue;
    // The archive line carries the task's whole history: today's counts join the past ones.
    TodoRow archived = r;
    addSaturating(archived.pastPomodoros, archived.pomodoros);
    addSaturating(archived.pastAbandoned, archived.abandoned);
    addSaturating(archived.pastInternal, archived.internalInterruptions);
    addSaturating(archived.pastExternal, archived.externalInterruptions);
    const bool unplanned = belowSeparator(sheet, i) || r.hasFlag(rowflag::kUnplanned);
    appendDoneTaskRow(app, archived, unplanned, r.info.minutesToday);
    sheet.modified = true;

    const bool repeat = r.hasFlag(rowflag::kRepeat);
    r.clearScoresAndInfo();
    if (repeat)
      r.info.flags = rowflag::kRepeat;
    else
      r.text.clear();
    setRowLook(sheet, i);
    App::call(app.hooks.redrawRow, i);
  }
  closeDoneArchive(app);
  app.ui.currentPage = kPageTodoToday;
  App::call(app.hooks.sheetDisplayed);
}

}  // namespace tirelmo
