#include "timer/pomodoro_timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app/day_cycle.h"
#include "app/app.h"
#include "base/log.h"
#include "app/startup.h"
#include "projects/project_store.h"
#include "app/scores.h"
#include "app/day_start.h"
#include "app/sheet_io.h"
#include "sheet/sheet_files.h"
#include "support/fakes.h"
#include "support/timer_fakes.h"

namespace tirelmo {
namespace {

using test::fromLe;
using test::readBytes;

// One second of wall time, across midnight and month ends.
void advanceOneSecond(test::FakeClock& clock) {
  using namespace std::chrono;
  const LocalTime t = clock.time;
  sys_days d{year{t.year} / month{static_cast<unsigned>(t.month)} / day{static_cast<unsigned>(t.day)}};
  int s = t.hour * 3600 + t.minute * 60 + t.second + 1;
  if (s >= 86400) {
    s -= 86400;
    d += days{1};
  }
  const year_month_day ymd{d};
  clock.set(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day())), s / 3600, s / 60 % 60, s % 60);
}

// The parts both fixtures share: the ports, the recording window side, and ticks that move
// the clock with them as timer 400 does in a real run.
class TimerFixture : public ::testing::Test {
 protected:
  TimerFixture() : app(clock, prompts, system) {}

  void tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
      advanceOneSecond(clock);
      onTimerTick(app, ui);
    }
  }
  TodoRow& row(int i) { return app.sheet.rows[static_cast<std::size_t>(i)]; }
  std::string log() const { return fromLe(readBytes(logPath())); }
  bool logged(const std::string& line) const { return log().find(line + "\r\n") != std::string::npos; }
  virtual std::string logPath() const = 0;

  test::TempDir dir;
  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app;
  test::RecordingTimerUi ui;
};

// Today's sheet in memory, as the window sees it after start-up.
class PomodoroTimerTest : public TimerFixture {
 protected:
  PomodoroTimerTest() {
    clock.set(2021, 5, 14, 10, 0);
    app.start.startTime = clock.now();
    app.start.today = DayDate::from(clock.now());
    app.start.userDataDir = dir.path();
    app.start.programFolder = u"C:\\Tirelmo\\bin";
    std::filesystem::create_directory(dir.native() + "/stats");
    app.sheet.sheetFileName = u"DailyTask_2021-5-14-5.pm6";
    app.sheet.separatorIndex = 12;
    app.settings.pomtimerminutes = 25;
    app.settings.breaktimerminutes = 5;
    app.hooks.sendCommand = [this](int c) { commands.push_back(c); };
    row(4).text = u"Write the timer";
    app.ui.currentRow = 4;
    processLog().open();
  }
  ~PomodoroTimerTest() override { processLog().closeOnFailedStart(); }
  std::string logPath() const override { return dir.native() + "/Tirelmo_v2.3.3_log.txt"; }

  // A whole pomodoro on the current row, answered with the outcome.
  void runPomodoro(PomodoroOutcome outcome) {
    ui.outcomes.push_back(outcome);
    ASSERT_TRUE(startTimer(app, ui));
    tick(app.settings.pomtimerminutes * 60);
  }

  std::vector<int> commands;
};

TEST_F(PomodoroTimerTest, APomodoroRunsExactly1500TicksAndIsRecorded) {
  app.settings.playticking = true;
  ASSERT_TRUE(startTimer(app, ui));
  EXPECT_EQ(app.timer.phase(), TimerPhase::Pomodoro);
  EXPECT_EQ(app.timer.row, 4);
  EXPECT_TRUE(ui.ticking);
  EXPECT_TRUE(ui.stopButtonShown);
  EXPECT_TRUE(ui.busyCursor);
  EXPECT_TRUE(ui.timerWindowOpen);
  EXPECT_EQ(ui.openedWith->title, u"Timer on: Write the timer");
  EXPECT_EQ(ui.icon, 25);
  EXPECT_EQ(ui.title, u"minutes     ");
  EXPECT_EQ(app.sheet.dayTotals.used, 1);
  EXPECT_EQ(app.month.days[13].used, 1);
  ASSERT_EQ(ui.sounds.size(), 1u);
  EXPECT_EQ(ui.sounds[0].path, u"C:\\Tirelmo\\bin\\sound\\ding.wav");
  EXPECT_TRUE(ui.sounds[0].loop);
  // The window goes out of the way only once the timer window is there to be seen.
  EXPECT_LT(ui.indexOf("openTimerWindow"), ui.indexOf("minimizeMainWindow"));

  tick();
  EXPECT_EQ(ui.title, u"minutes .   ");
  tick(58);
  EXPECT_EQ(app.timer.remainingMinutes, 25);
  tick();
  EXPECT_EQ(app.timer.remainingMinutes, 24);
  EXPECT_EQ(ui.icon, 24);

  tick(1439 - 60);
  EXPECT_EQ(app.timer.remainingMinutes, 2);
  EXPECT_EQ(ui.title, u"minutes ... ");
  tick();
  EXPECT_EQ(app.timer.remainingMinutes, 1);
  EXPECT_EQ(ui.title, u"minute     ");
  tick(59);
  EXPECT_TRUE(app.timer.running);
  EXPECT_TRUE(ui.askedPomodoroEnd.empty());
  EXPECT_EQ(ui.nudges, 1499);
  EXPECT_EQ(ui.markerRows, std::vector<int>{4});

  tick();  // the 1,500th
  ASSERT_EQ(ui.askedPomodoroEnd.size(), 1u);
  EXPECT_EQ(ui.askedPomodoroEnd[0].taskText, u"Write the timer");
  EXPECT_EQ(row(4).pomodoros, 1);
  EXPECT_EQ(row(4).info.minutesToday, 25);
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 1);
  EXPECT_TRUE(app.sheet.modified);
  EXPECT_EQ(ui.sounds.back().path, u"C:\\Tirelmo\\bin\\sound\\ringin.wav");
  EXPECT_FALSE(ui.sounds.back().loop);
  // Ticking stops before the dialog; the window is back and the timer window gone.
  const int asked = ui.indexOf("askPomodoroEnd");
  EXPECT_LT(ui.indexOf("stopTicking"), asked);
  EXPECT_LT(ui.indexOf("stopSound"), asked);
  EXPECT_LT(ui.indexOf("restoreMainWindow"), asked);
  EXPECT_LT(ui.indexOf("closeTimerWindow"), asked);
  EXPECT_FALSE(ui.busyCursor);
  EXPECT_EQ(ui.icon, 5);  // the break's countdown: the program icon came back in between

  // The first pomodoro of the day is followed by the break setting.
  EXPECT_EQ(app.timer.phase(), TimerPhase::Break);
  EXPECT_EQ(app.timer.remainingMinutes, 5);
  EXPECT_EQ(ui.title, u"* Break *  5 min     ");
  EXPECT_EQ(ui.openedWith->title, u"*Break-time*");
  EXPECT_TRUE(ui.picture->showBreakWord);
  EXPECT_EQ(ui.calls.back(), "bringToForeground");

  tick(5 * 60);
  EXPECT_EQ(app.timer.phase(), TimerPhase::Idle);
  EXPECT_EQ(ui.breakEndsShown, 1);
  EXPECT_FALSE(ui.timerWindowOpen);
  EXPECT_FALSE(ui.ticking);
  EXPECT_EQ(app.timer.row, -1);
  EXPECT_EQ(ui.icon, kProgramIconMinutes);
  EXPECT_EQ(row(4).pomodoros, 1);  // a break records nothing
}

TEST_F(PomodoroTimerTest, BreaksFollowTheDaysPomodoroCount) {
  // Two pomodoros already today: the third gets the setting, the fourth (answered Done) 15.
  app.sheet.dayTotals.pomodoros = 2;
  runPomodoro(PomodoroOutcome::Ok);
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 3);
  EXPECT_EQ(app.timer.remainingMinutes, 5);
  ASSERT_TRUE(stopTimer(app, ui));
  EXPECT_EQ(row(4).abandoned, 0);  // stopping a break records nothing

  runPomodoro(PomodoroOutcome::Done);
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 4);
  EXPECT_EQ(row(4).done, 1);
  EXPECT_EQ(app.sheet.dayTotals.done, 1);
  EXPECT_EQ(app.timer.phase(), TimerPhase::Break);
  EXPECT_EQ(app.timer.remainingMinutes, 15);
  ASSERT_TRUE(stopTimer(app, ui));

  // Breaks switched off: nothing follows, not even after a fourth.
  row(5).text = u"Another";
  app.ui.currentRow = 5;
  app.settings.breaktimerminutes = 0;
  runPomodoro(PomodoroOutcome::Ok);
  EXPECT_EQ(app.timer.phase(), TimerPhase::Idle);
  EXPECT_FALSE(ui.ticking);
  // A damaged setting is no endless break either.
  app.settings.breaktimerminutes = -3;
  EXPECT_EQ(breakMinutesAfterPomodoro(app), 0);
}

TEST_F(PomodoroTimerTest, ACancelledFirstPomodoroHasNoBreakAndAbandonCountsTheWholeLength) {
  runPomodoro(PomodoroOutcome::Cancel);
  EXPECT_EQ(app.timer.phase(), TimerPhase::Idle);
  EXPECT_EQ(row(4).pomodoros, 0);
  EXPECT_EQ(row(4).info.minutesToday, 0);
  EXPECT_TRUE(ui.called("bringToForeground"));

  runPomodoro(PomodoroOutcome::Abandon);
  EXPECT_EQ(row(4).abandoned, 1);
  EXPECT_EQ(row(4).info.minutesToday, 25);
  EXPECT_EQ(app.sheet.dayTotals.abandoned, 1);
  EXPECT_EQ(app.timer.phase(), TimerPhase::Idle);  // still no pomodoro counted today
}

TEST_F(PomodoroTimerTest, AnAbandonedScoreByHandWhileIdleAddsNoMinutes) {
  // After a pomodoro and its break have run out the timer is idle again: an abandoned
  // score given by hand is no worked time.
  runPomodoro(PomodoroOutcome::Ok);
  ASSERT_EQ(app.timer.phase(), TimerPhase::Break);
  tick(5 * 60);
  ASSERT_EQ(app.timer.phase(), TimerPhase::Idle);
  const int minutesBefore = row(4).info.minutesToday;
  ASSERT_TRUE(addScore(app, 4, ScoreKind::Abandoned, true));
  EXPECT_EQ(row(4).abandoned, 1);
  EXPECT_EQ(row(4).info.minutesToday, minutesBefore);
}

TEST_F(PomodoroTimerTest, StoppingRecordsTheMinutesWorked) {
  app.projects.active.push_back([] {
    Project p;
    p.id = 7;
    p.name = u"Timer";
    p.status = kProjectInProgress;
    return p;
  }());
  row(4).info.projectId = 7;
  ASSERT_TRUE(startTimer(app, ui));
  app.ui.currentRow = 9;  // the user wandered off meanwhile
  tick(10 * 60 + 30);
  ASSERT_TRUE(stopTimer(app, ui));

  EXPECT_EQ(row(4).abandoned, 1);
  EXPECT_EQ(row(4).info.minutesToday, 10);
  EXPECT_EQ(app.projects.active[0].minutesToday, 10);
  EXPECT_EQ(app.sheet.dayTotals.abandoned, 1);
  EXPECT_TRUE(app.sheet.modified);
  EXPECT_EQ(app.timer.phase(), TimerPhase::Idle);
  EXPECT_EQ(app.timer.remainingMinutes, 25);
  EXPECT_EQ(app.timer.row, -1);
  EXPECT_FALSE(ui.ticking);
  EXPECT_FALSE(ui.timerWindowOpen);
  EXPECT_FALSE(ui.stopButtonShown);
  EXPECT_EQ(ui.icon, kProgramIconMinutes);
  EXPECT_TRUE(ui.called("eraseBlinkMarker"));
  EXPECT_EQ(app.ui.currentRow, 4);  // the pomodoro's row is selected again
  EXPECT_EQ(ui.selectedRows, std::vector<int>{4});

  // Stop with nothing running selects nothing and records nothing.
  EXPECT_FALSE(stopTimer(app, ui));
  EXPECT_EQ(row(4).abandoned, 1);
  EXPECT_EQ(ui.selectedRows.size(), 1u);
}

TEST_F(PomodoroTimerTest, StartRefusesInTheDocumentedOrder) {
  // Not on the ToDo page: the first refusal wins over every later one.
  app.ui.currentPage = 3;
  app.sheet.sheetFileName = u"DailyTask_2021-5-13-4.pm6";
  EXPECT_FALSE(startTimer(app, ui));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Timer can only be started\non tasks in the ToDo Today page.\n\nOperation aborted.");
  EXPECT_EQ(prompts.shown[0].caption, u"Tirelmo - v2.3.3.0");
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Exclamation);

  app.ui.currentPage = 0;
  EXPECT_FALSE(startTimer(app, ui));
  EXPECT_EQ(prompts.shown[1].text,
            u"Timer can be started on today's tasks only.\nThe current ToDo list refers to a previous day.\n\n"
            u"Operation aborted.");
  EXPECT_EQ(prompts.shown[1].caption, u"Tirelmo");

  app.sheet.sheetFileName = u"DailyTask_2021-5-14-5.pm6";
  app.ui.currentRow = 3;
  EXPECT_FALSE(startTimer(app, ui));
  EXPECT_EQ(prompts.shown[2].text, u"Can't start the timer on an empty row 3.");
  EXPECT_EQ(prompts.shown[2].caption, u"Tirelmo");
  // What was typed into the editor a moment ago counts as the row's text.
  app.hooks.takeEditorTexts = [this] { row(3).text = u"typed, not saved"; };
  EXPECT_TRUE(startTimer(app, ui));
  EXPECT_EQ(app.timer.row, 3);

  // Running already: only logged.
  app.ui.currentRow = 4;
  EXPECT_FALSE(startTimer(app, ui));
  EXPECT_EQ(prompts.shown.size(), 3u);
  EXPECT_TRUE(logged("Timer already running!"));
  EXPECT_EQ(app.timer.row, 3);

  EXPECT_TRUE(stopTimer(app, ui));
}

TEST_F(PomodoroTimerTest, ADoneRowAsksToRemoveTheDoneScoreAndNeverStarts) {
  row(4).done = 1;
  prompts.answers = {MsgAnswer::No, MsgAnswer::Yes};
  const char16_t* question =
      u"The selected task is marked as done.\nTo start the Timer remove the 'done' score first.\n\nDo you want to "
      u"remove it now?";

  EXPECT_FALSE(startTimer(app, ui));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, question);
  EXPECT_EQ(prompts.shown[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Information);
  EXPECT_TRUE(commands.empty());

  // Yes asks the main window to remove the done score; the timer still does not start.
  EXPECT_FALSE(startTimer(app, ui));
  EXPECT_EQ(commands, std::vector<int>{1137});
  EXPECT_EQ(app.timer.phase(), TimerPhase::Idle);
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(PomodoroTimerTest, RefusalsFollowTheLanguage) {
  app.settings.language = u"Chinese (Simplified)";
  app.ui.currentRow = 8;
  EXPECT_FALSE(startTimer(app, ui));
  EXPECT_EQ(prompts.shown[0].text, u"无法在空行 8 上启动计时器。");
}

TEST_F(PomodoroTimerTest, ExitIsRefusedOnlyWhileAPomodoroIsOpen) {
  EXPECT_TRUE(exitAllowed(app, ExitVia::ExitCommand));
  ASSERT_TRUE(startTimer(app, ui));
  EXPECT_FALSE(exitAllowed(app, ExitVia::ExitCommand));
  EXPECT_FALSE(exitAllowed(app, ExitVia::CloseWindow));
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[0].text, u"The timer is running.\nStop it before exiting.");
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Information);
  EXPECT_EQ(prompts.shown[1].text, u"Stop timer before exiting.");
  EXPECT_EQ(prompts.shown[1].icon, MsgIcon::Warning);
  for (const auto& s : prompts.shown) EXPECT_EQ(s.caption, u"Tirelmo - v2.3.3.0");

  // While the outcome is asked nothing is recorded yet: still no exit.
  bool allowedWhileAsking = true;
  ui.whileAsking = [&] { allowedWhileAsking = exitAllowed(app, ExitVia::CloseWindow); };
  tick(1500);
  EXPECT_FALSE(allowedWhileAsking);

  ASSERT_EQ(app.timer.phase(), TimerPhase::Break);
  EXPECT_TRUE(exitAllowed(app, ExitVia::ExitCommand));
  EXPECT_TRUE(exitAllowed(app, ExitVia::CloseWindow));
}

TEST_F(PomodoroTimerTest, TheOutcomeGoesToTheTimersRowWhateverPageIsShown) {
  app.todolist.rows[4].text = u"A Todolist task with the same row number";
  ASSERT_TRUE(startTimer(app, ui));
  app.ui.currentPage = 1;  // Next Things
  ui.markerRows.clear();
  tick(1500);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(row(4).pomodoros, 1);
  EXPECT_EQ(app.todolist.rows[4].pomodoros, 0);
  EXPECT_TRUE(ui.markerRows.empty());  // the marker belongs to the ToDo page
  ASSERT_TRUE(stopTimer(app, ui));

  app.ui.currentPage = 5;  // Projects: not a page that takes scores
  EXPECT_FALSE(startTimer(app, ui));
  app.ui.currentPage = 0;
  ASSERT_TRUE(startTimer(app, ui));
  app.ui.currentPage = 5;
  tick(600);
  ASSERT_TRUE(stopTimer(app, ui));
  EXPECT_EQ(row(4).abandoned, 1);
  EXPECT_EQ(row(4).info.minutesToday, 35);
}

TEST_F(PomodoroTimerTest, ARowEmptiedDuringThePomodoroGetsNoScore) {
  ASSERT_TRUE(startTimer(app, ui));
  app.hooks.takeEditorTexts = [this] { row(4).text.clear(); };
  tick(1500);
  EXPECT_EQ(ui.askedPomodoroEnd.size(), 1u);
  EXPECT_TRUE(row(4).isFree());
  EXPECT_EQ(row(4).pomodoros, 0);
  EXPECT_EQ(row(4).info.minutesToday, 0);
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 0);
  EXPECT_TRUE(logged("Timer row 4 is empty, pomodoro not recorded"));
}

TEST_F(PomodoroTimerTest, AnUnusablePomodoroLengthFallsBackToTheDefault) {
  app.settings.pomtimerminutes = 0;  // would never count down to 0
  ASSERT_TRUE(startTimer(app, ui));
  EXPECT_EQ(app.timer.remainingMinutes, 25);
  EXPECT_EQ(app.settings.pomtimerminutes, 25);
  EXPECT_TRUE(logged("Pomodoro length 0 out of range, set to 25"));
  tick(1500);
  EXPECT_EQ(row(4).pomodoros, 1);
}

TEST_F(PomodoroTimerTest, AHugePomodoroLengthInTheSettingsFileIsTheDefaultForScoresAndTimerAlike) {
  app.settings.wkdir = dir.path();
  test::writeBytes(dir.native() + "/tirelmo.i00", test::le("pomtimerminutes=2147483600\r\n"));
  ASSERT_TRUE(LoadSettingsFromFile_i00(app.settings));
  ASSERT_EQ(app.settings.pomtimerminutes, 2147483600);

  // A pomodoro given by hand takes the length the timer would run.
  ASSERT_TRUE(scoreCommandAdd(app, ScoreKind::Pomodoro));
  EXPECT_TRUE(logged("Pomodoro length 2147483600 out of range, set to 25"));
  EXPECT_EQ(row(4).info.minutesToday, 25);
  EXPECT_EQ(app.sheet.dayTotals.workedMinutes, 25);
  ASSERT_TRUE(removeScore(app, ScoreKind::Pomodoro));
  EXPECT_EQ(row(4).info.minutesToday, 0);

  ASSERT_TRUE(startTimer(app, ui));
  EXPECT_EQ(app.timer.remainingMinutes, 25);
  tick(10 * 60);
  ASSERT_TRUE(stopTimer(app, ui));
  EXPECT_EQ(row(4).abandoned, 1);
  EXPECT_EQ(row(4).info.minutesToday, 10);
  EXPECT_EQ(app.timer.remainingMinutes, 25);
}

TEST_F(PomodoroTimerTest, MidnightIsCountedFromTheStartOfTheDay) {
  app.settings.pomtimerminutes = 25;
  clock.set(2021, 5, 14, 23, 34);
  EXPECT_FALSE(pomodoroEndsAfterMidnight(app));
  clock.set(2021, 5, 14, 23, 35);
  EXPECT_TRUE(pomodoroEndsAfterMidnight(app));
  EXPECT_TRUE(logged("Pomo ending over midnight"));
  // A long pomodoro started before 23:00 ends on the next day just the same.
  app.settings.pomtimerminutes = 90;
  clock.set(2021, 5, 14, 22, 45);
  EXPECT_TRUE(pomodoroEndsAfterMidnight(app));
  clock.set(2021, 5, 14, 22, 29);
  EXPECT_FALSE(pomodoroEndsAfterMidnight(app));
}

TEST_F(PomodoroTimerTest, TheTimerStyleChangesTheDigitsAtOnce) {
  ASSERT_TRUE(startTimer(app, ui));
  tick(18 * 60);  // 7 minutes left
  EXPECT_EQ(ui.picture->tens, (DigitImage{280, 0}));
  EXPECT_EQ(ui.picture->units, (DigitImage{196, 0}));
  setTimerStyle(app, ui, 1540);  // Blue
  EXPECT_EQ(app.settings.timerType, 4);
  EXPECT_EQ(ui.picture->tens, (DigitImage{280, 224}));
  EXPECT_EQ(ui.picture->units, (DigitImage{196, 224}));
  setTimerStyle(app, ui, 1541);  // not a style command
  EXPECT_EQ(app.settings.timerType, 4);
}

// A real user-data folder and the real day restart.
class TimerDayRestartTest : public TimerFixture {
 protected:
  TimerDayRestartTest() { system.appData = dir.path() + u"\\Roaming"; }
  ~TimerDayRestartTest() override { processLog().closeOnFailedStart(); }
  std::string dataDir() const { return dir.native() + "/Roaming/Tirelmo"; }
  std::string logPath() const override { return dataDir() + "/Tirelmo_v2.3.3_log.txt"; }
  u16 sheetPath(int day, int dayOfWeek) const {
    return app.start.userDataDir + fmt(u"\\DailyTask\\2021\\3\\DailyTask_2021-3-%d-%d.pm6", day, dayOfWeek);
  }
  TodoSheet readSheet(const u16& path) {
    const TodoSheet keep = app.sheet;
    resetTodoSheet(app.sheet);
    EXPECT_TRUE(loadTodoSheetPm6(app, path, nullptr, ProjectCredit::Skip));
    TodoSheet loaded = app.sheet;
    app.sheet = keep;
    return loaded;
  }
};

TEST_F(TimerDayRestartTest, APomodoroEndingAfterMidnightScoresYesterdayThenTheNewSheetIsMade) {
  clock.set(2021, 3, 4, 23, 50);
  ASSERT_EQ(runStartPhases(app), kStartContinue);
  row(2).text = u"late work";
  app.ui.currentRow = 2;
  std::vector<std::string> restarts;
  app.hooks.afterDayRestart = [&] { restarts.push_back("after"); };

  ASSERT_TRUE(startTimer(app, ui));
  EXPECT_TRUE(app.timer.endsAfterMidnight);
  tick(1500);
  EXPECT_EQ(clock.time.day, 5);
  EXPECT_EQ(clock.time.hour, 0);
  EXPECT_EQ(clock.time.minute, 15);

  // Recorded on Thursday's sheet, which the restart saved before carrying it over.
  const TodoSheet yesterday = readSheet(sheetPath(4, 4));
  EXPECT_EQ(yesterday.rows[2].pomodoros, 1);
  EXPECT_EQ(yesterday.rows[2].info.minutesToday, 25);
  EXPECT_EQ(app.month.days[3].pomodoros, 1);
  EXPECT_EQ(app.month.days[4].pomodoros, 0);

  // Friday's sheet exists and holds the task with the pomodoro in its past.
  EXPECT_EQ(restarts.size(), 1u);
  EXPECT_EQ(app.start.today.day(), 5);
  EXPECT_TRUE(std::filesystem::exists(dataDir() + "/DailyTask/2021/3/DailyTask_2021-3-5-5.pm6"));
  EXPECT_EQ(row(2).text, u"late work");
  EXPECT_EQ(row(2).pomodoros, 0);
  EXPECT_EQ(row(2).pastPomodoros, 1);
  EXPECT_EQ(row(2).info.pastMinutes, 25);
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 0);
  // No break after a restart: the day begins idle.
  EXPECT_EQ(app.timer.phase(), TimerPhase::Idle);
  EXPECT_FALSE(app.timer.endsAfterMidnight);
  EXPECT_FALSE(ui.ticking);

  const std::string prev = fromLe(readBytes(dataDir() + "/Tirelmo_v2.3.3_log_prev.txt"));
  EXPECT_NE(prev.find("Start tmr, few min to Midnight\r\n"), std::string::npos);
  EXPECT_NE(prev.find("CloseAppStartedYesterday(18915)\r\n"), std::string::npos);
}

TEST_F(TimerDayRestartTest, AStartAfterMidnightRestartsTheDayFirst) {
  clock.set(2021, 3, 4, 22, 0);
  ASSERT_EQ(runStartPhases(app), kStartContinue);
  row(0).text = u"morning task";
  app.ui.currentRow = 0;
  clock.set(2021, 3, 5, 8, 0);
  ASSERT_TRUE(startTimer(app, ui));
  EXPECT_EQ(app.start.today.day(), 5);
  EXPECT_EQ(app.sheet.sheetFileName, u"DailyTask_2021-3-5-5.pm6");
  EXPECT_FALSE(app.timer.endsAfterMidnight);
  tick(1500);
  EXPECT_EQ(row(0).pomodoros, 1);
  EXPECT_EQ(app.month.days[4].pomodoros, 1);
}

TEST_F(TimerDayRestartTest, AnEarlierSheetOpenedDuringThePomodoroMakesWayForTodays) {
  clock.set(2021, 3, 4, 9, 0);
  ASSERT_EQ(runStartPhases(app), kStartContinue);
  row(0).text = u"yesterday's task";
  ASSERT_TRUE(SaveAllSheets(app));
  clock.set(2021, 3, 5, 9, 0);
  ASSERT_TRUE(CloseAppStartedYesterday(app));
  row(1).text = u"today's task";
  app.ui.currentRow = 1;
  ASSERT_TRUE(SaveAllSheets(app));

  ASSERT_TRUE(startTimer(app, ui));
  // F2 meanwhile: Thursday's sheet on display, read-only.
  ASSERT_TRUE(DisplayToDoSheet(app, sheetPath(4, 4)));
  ASSERT_EQ(app.sheet.rows[1].text, u"");
  tick(1500);

  EXPECT_EQ(app.sheet.sheetFileName, u"DailyTask_2021-3-5-5.pm6");
  EXPECT_EQ(row(1).pomodoros, 1);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_TRUE(logged("Pomodoro ended while an earlier ToDo list is displayed: back to today's"));
  EXPECT_EQ(readSheet(sheetPath(4, 4)).rows[1].pomodoros, 0);
}

}  // namespace
}  // namespace tirelmo
