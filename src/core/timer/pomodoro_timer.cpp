#include "timer/pomodoro_timer.h"

#include "app/app.h"
#include "base/log.h"
#include "app/day_cycle.h"
#include "app/scores.h"
#include "sheet/sheet.h"
#include "stats/month_stats.h"
#include "app/sheet_io.h"
#include "sheet/sheet_files.h"

namespace tirelmo {

namespace {

constexpr char16_t kTickingSound[] = u"sound\\ding.wav";
constexpr char16_t kAlarmSound[] = u"sound\\ringin.wav";
constexpr int kMinutesPerDay = 24 * 60;

u16 soundPath(const App& app, const char16_t* file) { return fmt(u"%s\\%s", app.start.programFolder, file); }

void playAlarmIfWanted(App& app, TimerUi& ui) {
  if (app.settings.bPlayAlarm) ui.playSound(soundPath(app, kAlarmSound), false);
}

void refuse(App& app, Txt message, Txt caption, MsgIcon icon) {
  app.prompts.show(app.tr(message), app.tr(caption), MsgButtons::Ok, icon);
}

// The outcome belongs to today's sheet. An earlier sheet opened meanwhile (the open-file
// dialog does not ask the timer) is replaced by today's before anything is recorded, so the
// score cannot land on an old day or be refused as read-only.
bool showTimersSheet(App& app) {
  if (isTodaySheet(app.sheet, app.start.today)) return true;
  logLine(u"Pomodoro ended while an earlier ToDo list is displayed: back to today's");
  backToTodaySheet(app);
  return isTodaySheet(app.sheet, app.start.today);
}

// The row may have been emptied while the pomodoro ran (text deleted, a new empty list):
// scores on a free row would make a task out of nothing.
bool rowStillHoldsTask(App& app, int row) {
  App::call(app.hooks.takeEditorTexts);
  return app.sheet.validRow(row) && row != app.sheet.separatorIndex &&
         !app.sheet.rows[static_cast<std::size_t>(row)].isFree();
}

bool readyToRecord(App& app, int row) {
  if (!showTimersSheet(app)) {
    logLine(u"Today's ToDo list is not available, pomodoro not recorded");
    return false;
  }
  if (!rowStillHoldsTask(app, row)) {
    logLine(u"Timer row %d is empty, pomodoro not recorded", row);
    return false;
  }
  return true;
}

void selectTodayRow(App& app, TimerUi& ui, int row) {
  if (app.ui.currentPage != kPageTodoToday || !app.sheet.validRow(row)) return;
  app.ui.currentRow = row;
  ui.selectRow(row);
}

void recordOutcome(App& app, PomodoroOutcome outcome) {
  TimerState& t = app.timer;
  // A pomodoro started late in the evening belongs to the day it started on: its score skips
  // the day check, lands on that day's sheet, and the day restart follows.
  const bool byUser = !t.endsAfterMidnight;
  const int row = t.row;
  if (outcome == PomodoroOutcome::Cancel) return;
  if (!readyToRecord(app, row)) return;
  switch (outcome) {
    case PomodoroOutcome::Ok:
      addScoreAndRedraw(app, row, ScoreKind::Pomodoro, byUser, ScoreTarget::TodaySheet);
      break;
    case PomodoroOutcome::Done:
      addScoreAndRedraw(app, row, ScoreKind::Pomodoro, byUser, ScoreTarget::TodaySheet);
      addScoreAndRedraw(app, row, ScoreKind::Done, byUser, ScoreTarget::TodaySheet);
      break;
    case PomodoroOutcome::Abandon:
      // Nothing remains of a pomodoro that ran out: the whole length counts as worked.
      t.remainingMinutes = 0;
      addScoreAndRedraw(app, row, ScoreKind::Abandoned, byUser, ScoreTarget::TodaySheet);
      break;
    case PomodoroOutcome::Cancel:
      break;
  }
}

void startBreak(App& app, TimerUi& ui, int minutes) {
  TimerState& t = app.timer;
  t.secondCounter = 1;
  t.running = true;
  t.remainingMinutes = minutes;
  t.isBreak = true;
  t.row = app.ui.currentRow;
  t.blinkPhase = false;
  ui.startTicking();
  // A break can be stopped like a pomodoro, so the toolbar offers Stop for it too.
  ui.showStopButton(true);
  drawTimer(app, ui);
  ui.setWindowIcon(minutes);
  ui.openTimerWindow(timerWindowSetup(app));
}

void endBreak(App& app, TimerUi& ui) {
  TimerState& t = app.timer;
  playAlarmIfWanted(app, ui);
  App::call(app.hooks.refreshTitle);
  ui.setWindowIcon(kProgramIconMinutes);
  ui.restoreMainWindow();
  ui.flashMainWindow();
  ui.redrawPage();
  ui.showBreakEnd(breakElapsedPicture(app.language()));
  ui.closeTimerWindow();
  t.row = -1;
  t.isBreak = false;
}

void endPomodoro(App& app, TimerUi& ui) {
  TimerState& t = app.timer;
  drawTimer(app, ui);
  if (t.row >= 0) ui.eraseBlinkMarker(t.row);
  playAlarmIfWanted(app, ui);
  ui.restoreMainWindow();
  ui.setTitle(app.tr(Txt::TimerTitleTimeUp));
  ui.flashMainWindow();
  ui.closeTimerWindow();

  // The dialog shows the task as the editor holds it now.
  App::call(app.hooks.takeEditorTexts);
  const TodoRow shownRow = app.sheet.validRow(t.row) ? app.sheet.rows[static_cast<std::size_t>(t.row)] : TodoRow{};
  t.awaitingOutcome = true;
  const PomodoroOutcome outcome = ui.askPomodoroEnd(timeElapsedPicture(shownRow, app.language()));
  recordOutcome(app, outcome);
  t.awaitingOutcome = false;

  const int row = t.row;
  t.row = -1;
  // An earlier day's sheet still on display (Cancel leaves it there) is never saved.
  if (isTodaySheet(app.sheet, app.start.today)) app.sheet.modified = true;
  if (row >= 0) App::call(app.hooks.redrawRow, row);
  ui.redrawPage();
  App::call(app.hooks.redrawTotals);
  App::call(app.hooks.refreshTitle);
  ui.setWindowIcon(kProgramIconMinutes);
  ui.setBusyCursor(false);
  t.isBreak = false;

  const bool lateStart = t.endsAfterMidnight;
  t.endsAfterMidnight = false;
  if (isDayChanged(app)) {
    if (lateStart) logLine(u"Pomodoro recorded on the previous day's ToDo list");
    CloseAppStartedYesterday(app);
    return;
  }
  const int breakMinutes = breakMinutesAfterPomodoro(app);
  if (breakMinutes > 0) startBreak(app, ui, breakMinutes);
  ui.bringToForeground();
}

void endPeriod(App& app, TimerUi& ui) {
  ui.stopTicking();
  app.timer.running = false;
  ui.showStopButton(false);
  ui.stopSound();
  if (app.timer.isBreak)
    endBreak(app, ui);
  else
    endPomodoro(app, ui);
  // An idle timer has a whole pomodoro left: an abandoned score given by hand then adds no
  // worked minutes, instead of the length of the period that just ran out.
  if (!app.timer.running) app.timer.remainingMinutes = pomodoroLength(app.settings);
}

}  // namespace

bool pomodoroEndsAfterMidnight(App& app) {
  const LocalTime now = app.clock.now();
  // Counted from midnight rather than within the hour: a long pomodoro started at 22:45
  // crosses midnight just as one started at 23:50 does.
  const int endMinute = now.hour * 60 + now.minute + pomodoroLength(app.settings);
  if (endMinute < kMinutesPerDay) return false;
  logLine(u"Pomo ending over midnight");
  return true;
}

int breakMinutesAfterPomodoro(const App& app) {
  const int setting = app.settings.breaktimerminutes;
  const int pomodoros = todayTotals(app).pomodoros;
  // A negative length from a damaged settings file would never count down to 0.
  if (setting <= 0 || pomodoros == 0) return 0;
  return pomodoros % kPomodorosPerLongBreak == 0 ? kLongBreakMinutes : setting;
}

bool startTimer(App& app, TimerUi& ui) {
  if (app.ui.currentPage != kPageTodoToday) {
    refuse(app, Txt::TimerOnTodayPageOnly, Txt::CaptionVersion, MsgIcon::Exclamation);
    return false;
  }
  if (!isTodaySheet(app.sheet, app.start.today)) {
    refuse(app, Txt::TimerTodaysTasksOnly, Txt::CaptionApp, MsgIcon::Exclamation);
    return false;
  }
  TimerState& t = app.timer;
  if (t.running) {
    logLine(u"Timer already running!");
    return false;
  }
  if (isDayChanged(app) && !CloseAppStartedYesterday(app)) return false;

  // What the editor holds is the task, typed a moment ago or not.
  App::call(app.hooks.takeEditorTexts);
  const int row = app.ui.currentRow;
  // The separator is no task either; the selection never rests on it, but a stray command
  // must not put scores on it.
  if (!app.sheet.validRow(row) || row == app.sheet.separatorIndex ||
      app.sheet.rows[static_cast<std::size_t>(row)].isFree()) {
    app.prompts.show(fmt(app.tr(Txt::TimerEmptyRow), row), app.tr(Txt::CaptionApp), MsgButtons::Ok,
                     MsgIcon::Exclamation);
    return false;
  }
  if (app.sheet.rows[static_cast<std::size_t>(row)].isDone()) {
    if (app.prompts.show(app.tr(Txt::TimerOnDoneTask), app.tr(Txt::CaptionApp), MsgButtons::YesNo,
                         MsgIcon::Information) == MsgAnswer::Yes)
      App::call(app.hooks.sendCommand, kCmdRemoveDoneScore);
    return false;
  }

  const int minutes = pomodoroLength(app.settings);
  ui.showStopButton(true);
  t.endsAfterMidnight = pomodoroEndsAfterMidnight(app);
  if (t.endsAfterMidnight) logLine(u"Start tmr, few min to Midnight");
  if (app.settings.playticking) ui.playSound(soundPath(app, kTickingSound), true);

  t.currentMinutes = minutes;
  t.remainingMinutes = minutes;
  t.secondCounter = 1;
  t.running = true;
  t.isBreak = false;
  t.row = row;
  t.blinkPhase = false;
  t.awaitingOutcome = false;
  ui.startTicking();

  drawTimer(app, ui);
  ui.setWindowIcon(minutes);
  ui.openTimerWindow(timerWindowSetup(app));
  markDayUsed(app);
  ui.setBusyCursor(true);
  ui.minimizeMainWindow();
  return true;
}

void onTimerTick(App& app, TimerUi& ui) {
  TimerState& t = app.timer;
  // A tick already queued when the timer was stopped.
  if (!t.running) return;
  ui.nudgeInput();
  if (++t.secondCounter >= 61) {
    --t.remainingMinutes;
    t.secondCounter = 1;
  }
  t.blinkPhase = !t.blinkPhase;
  drawTimer(app, ui);
  ui.setWindowIcon(t.remainingMinutes);
  if (t.remainingMinutes <= 0) endPeriod(app, ui);
}

bool stopTimer(App& app, TimerUi& ui) {
  TimerState& t = app.timer;
  // F6 reaches here whatever the state; with nothing running there is no row to select and
  // nothing to record.
  if (!t.running) return false;
  const bool wasPomodoro = !t.isBreak;
  const int row = t.row;

  ui.stopTicking();
  t.running = false;
  if (row >= 0) ui.eraseBlinkMarker(row);
  ui.setWindowIcon(kProgramIconMinutes);
  App::call(app.hooks.refreshTitle);
  ui.stopSound();
  ui.setBusyCursor(false);
  ui.showStopButton(false);
  ui.redrawPage();
  ui.closeTimerWindow();

  if (wasPomodoro) {
    // remainingMinutes still holds what was left: the score takes the minutes worked.
    if (readyToRecord(app, row)) {
      addScoreAndRedraw(app, row, ScoreKind::Abandoned, true, ScoreTarget::TodaySheet);
      app.sheet.modified = true;
    }
    App::call(app.hooks.redrawTotals);
  }
  selectTodayRow(app, ui, row);
  t.remainingMinutes = pomodoroLength(app.settings);
  t.row = -1;
  t.isBreak = false;
  t.endsAfterMidnight = false;
  return true;
}

bool exitAllowed(App& app, ExitVia via) {
  const TimerState& t = app.timer;
  if (!t.pomodoroRunning() && !t.awaitingOutcome) return true;
  if (via == ExitVia::ExitCommand)
    refuse(app, Txt::TimerRunningExit, Txt::CaptionVersion, MsgIcon::Information);
  else
    refuse(app, Txt::StopTimerBeforeExiting, Txt::CaptionVersion, MsgIcon::Warning);
  return false;
}

u16 timerTitle(const App& app) {
  static const char16_t* const kDots[4] = {u"    ", u".   ", u"..  ", u"... "};
  const TimerState& t = app.timer;
  const int phase = ((t.secondCounter - 1) % 4 + 4) % 4;
  u16 title = t.isBreak ? fmt(app.tr(Txt::TimerTitleBreak), t.remainingMinutes)
                        : u16(app.tr(t.remainingMinutes < 2 ? Txt::TimerTitleMinute : Txt::TimerTitleMinutes));
  title += kDots[phase];
  return title;
}

void drawTimer(App& app, TimerUi& ui) {
  const TimerState& t = app.timer;
  ui.setTitle(timerTitle(app));
  if (t.pomodoroRunning() && app.ui.currentPage == kPageTodoToday && t.row >= 0)
    ui.drawBlinkMarker(t.row, t.blinkPhase);
  ui.drawTimerPicture(timerPicture(t.remainingMinutes, app.settings.timerType, t.isBreak, app.language()));
}

void setTimerStyle(App& app, TimerUi& ui, int command) {
  if (!setTimerStyleFromCommand(app.settings, command)) return;
  if (app.timer.running)
    ui.drawTimerPicture(timerPicture(app.timer.remainingMinutes, app.settings.timerType, app.timer.isBreak,
                                     app.language()));
}

}  // namespace tirelmo
