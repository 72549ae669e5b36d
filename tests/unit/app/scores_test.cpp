#include "app/scores.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "base/log.h"
#include "app/startup.h"
#include "projects/project_store.h"
#include "app/day_start.h"
#include "support/fakes.h"

namespace tirelmo {
namespace {

using test::fromLe;
using test::readBytes;

constexpr ScoreKind kAllKinds[] = {ScoreKind::Pomodoro, ScoreKind::Abandoned, ScoreKind::InternalInterruption,
                                   ScoreKind::ExternalInterruption, ScoreKind::Estimated, ScoreKind::Done};

class ScoresTest : public ::testing::Test {
 protected:
  ScoresTest() : app(clock, prompts, system) {
    clock.set(2021, 5, 14, 10, 0);  // a Friday
    app.start.startTime = clock.now();
    app.start.today = DayDate::from(clock.now());
    app.start.userDataDir = dir.path();
    std::filesystem::create_directory(dir.native() + "/stats");
    app.sheet.sheetFileName = u"DailyTask_2021-5-14-5.pm6";
    app.settings.pomtimerminutes = 25;
    app.hooks.redrawRow = [this](int row) { redrawnRows.push_back(row); };
    app.hooks.redrawTotals = [this] { ++totalsRedrawn; };
    app.hooks.sendCommand = [this](int command) { commands.push_back(command); };
    app.hooks.todolistDoneChanged = [this] { ++todolistRebuilt; };
    app.hooks.sheetDisplayed = [this] { ++sheetShown; };
    processLog().open();
  }
  ~ScoresTest() override { processLog().closeOnFailedStart(); }

  TodoRow& row(int i) { return app.sheet.rows[static_cast<std::size_t>(i)]; }
  TodoRow& task(int i, u16 text) {
    row(i).text = std::move(text);
    return row(i);
  }
  const DayStats& day() const { return app.sheet.dayTotals; }
  const DayStats& todaySlot() const { return app.month.days[13]; }
  std::string log() const { return fromLe(readBytes(dir.native() + "/Tirelmo_v2.3.3_log.txt")); }
  bool logged(const std::string& line) const { return log().find(line + "\r\n") != std::string::npos; }

  static Project project(std::int32_t id, std::uint32_t hours) {
    Project p;
    p.id = id;
    p.name = u"P";
    p.workedHours = hours;
    p.status = kProjectInProgress;
    return p;
  }

  test::TempDir dir;
  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app;
  std::vector<int> redrawnRows;
  std::vector<int> commands;
  int totalsRedrawn = 0;
  int todolistRebuilt = 0;
  int sheetShown = 0;
};

TEST_F(ScoresTest, APomodoroCountsItsTimeEvenOnAFullCounter) {
  TodoRow& r = task(2, u"Write tests");
  r.pomodoros = 255;
  r.info.minutesToday = 10;

  ASSERT_TRUE(addScore(app, 2, ScoreKind::Pomodoro, true));
  EXPECT_EQ(r.pomodoros, 255);
  EXPECT_EQ(r.info.minutesToday, 35);
  EXPECT_EQ(day().pomodoros, 1);
  EXPECT_EQ(day().used, 1);
  EXPECT_EQ(todaySlot(), day());
  EXPECT_EQ(totalsRedrawn, 1);
  EXPECT_FALSE(app.sheet.modified);  // the command wrapper marks the sheet
  EXPECT_TRUE(redrawnRows.empty());

  // Every other kind counts in its own day field.
  for (ScoreKind k : {ScoreKind::InternalInterruption, ScoreKind::ExternalInterruption, ScoreKind::Estimated}) {
    ASSERT_TRUE(addScore(app, 2, k, true));
    EXPECT_EQ(r.counter(k), 1);
    EXPECT_EQ(app.sheet.dayTotals.counter(k), 1);
  }
  EXPECT_EQ(r.info.minutesToday, 35);
  EXPECT_EQ(todaySlot(), day());
  // Done last: it closes the row to further scores.
  ASSERT_TRUE(addScoreAndRedraw(app, 2, ScoreKind::Done, true));
  EXPECT_EQ(day().done, 1);
  EXPECT_EQ(app.sheet.look[2], RowLook::Done);
  EXPECT_EQ(redrawnRows, std::vector<int>{2});
  EXPECT_EQ(todaySlot(), day());
}

TEST_F(ScoresTest, TheDaysWorkTimeFollowsEveryScoreAsARecountWould) {
  task(1, u"Morning");
  task(2, u"Afternoon");
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(addScore(app, 1, ScoreKind::Pomodoro, true));
  app.timer.remainingMinutes = 15;  // stopped with 15 of 25 minutes left
  ASSERT_TRUE(addScore(app, 2, ScoreKind::Abandoned, true));
  EXPECT_EQ(day().workedHours, 1);
  EXPECT_EQ(day().workedMinutes, 25);  // 3 x 25 + 10
  EXPECT_EQ(todaySlot(), day());

  app.ui.currentRow = 1;
  ASSERT_TRUE(removeScore(app, ScoreKind::Pomodoro));
  EXPECT_EQ(day().workedHours, 1);
  EXPECT_EQ(day().workedMinutes, 0);

  const DayStats live = day();
  recountDayTotals(app.sheet, app.month, app.todaySlot());
  EXPECT_EQ(day().workedHours, live.workedHours);
  EXPECT_EQ(day().workedMinutes, live.workedMinutes);
}

TEST_F(ScoresTest, PomodoroAndAbandonedTimeGoesToTheLinkedProject) {
  app.projects.active = {project(7, 1)};
  task(3, u"Linked").info.projectId = 7;
  ASSERT_TRUE(addScore(app, 3, ScoreKind::Pomodoro, true));
  EXPECT_EQ(row(3).info.minutesToday, 25);
  EXPECT_EQ(app.projects.active[0].workedHours, 1u);
  EXPECT_EQ(app.projects.active[0].workedMinutes, 25u);

  // Stopped with 15 of 25 minutes left: 10 minutes were worked.
  app.timer.remainingMinutes = 15;
  ASSERT_TRUE(addScore(app, 3, ScoreKind::Abandoned, true));
  EXPECT_EQ(row(3).abandoned, 1);
  EXPECT_EQ(day().abandoned, 1);
  EXPECT_EQ(row(3).info.minutesToday, 35);
  EXPECT_EQ(app.projects.active[0].workedMinutes, 35u);
  EXPECT_EQ(app.projects.active[0].minutesToday, 35);

  // A project that no longer exists: the row keeps its time, the log says why the project
  // did not.
  task(4, u"Orphan").info.projectId = 9;
  ASSERT_TRUE(addScore(app, 4, ScoreKind::Pomodoro, true));
  ASSERT_TRUE(addScore(app, 4, ScoreKind::Abandoned, true));
  EXPECT_EQ(row(4).info.minutesToday, 35);
  EXPECT_TRUE(logged("Err: could not inc 25' to prj 9"));
  EXPECT_TRUE(logged("Err: could not dec 10' to prj 9"));

  // More minutes left than a pomodoro has (a changed setting) never takes time away.
  app.timer.remainingMinutes = 40;
  ASSERT_TRUE(addScore(app, 3, ScoreKind::Abandoned, true));
  EXPECT_EQ(row(3).info.minutesToday, 35);
}

TEST_F(ScoresTest, AnAbandonedRepeatRowDoesNotCountInTheDay) {
  TodoRow& r = task(5, u"Daily review");
  setRepeat(app.sheet, 5, true);
  app.timer.remainingMinutes = 0;  // abandoned in the end-of-pomodoro dialog: the whole length
  ASSERT_TRUE(addScore(app, 5, ScoreKind::Abandoned, true));
  EXPECT_EQ(r.abandoned, 1);
  EXPECT_EQ(r.info.minutesToday, 25);
  EXPECT_EQ(day().abandoned, 0);
  EXPECT_EQ(day().used, 1);

  // Taking it away again must not wrap the day's counter.
  app.ui.currentRow = 5;
  ASSERT_TRUE(removeScore(app, ScoreKind::Abandoned));
  EXPECT_EQ(r.abandoned, 0);
  EXPECT_EQ(day().abandoned, 0);
}

TEST_F(ScoresTest, ADoneRowTakesNoScoreAndOffersToRemoveTheMark) {
  TodoRow& r = task(1, u"Finished");
  r.done = 1;
  r.pomodoros = 2;
  const TodoRow before = r;
  for (ScoreKind k : kAllKinds) {
    prompts.answers = {MsgAnswer::No};
    EXPECT_FALSE(addScore(app, 1, k, true));
  }
  ASSERT_EQ(prompts.shown.size(), 6u);
  for (const auto& shown : prompts.shown) {
    EXPECT_EQ(shown.text, u"This task is marked as done so no new scores can be added.\n"
                          u"Do you want to remove the done score?");
    EXPECT_EQ(shown.caption, u"Tirelmo");
    EXPECT_EQ(shown.buttons, MsgButtons::YesNo);
    EXPECT_EQ(shown.icon, MsgIcon::Information);
  }
  EXPECT_TRUE(commands.empty());

  prompts.answers = {MsgAnswer::Yes};
  EXPECT_FALSE(addScore(app, 1, ScoreKind::Pomodoro, true));
  EXPECT_EQ(commands, std::vector<int>{1137});
  EXPECT_EQ(r, before);
  EXPECT_EQ(day(), DayStats());
  EXPECT_EQ(todaySlot(), DayStats());
  EXPECT_EQ(totalsRedrawn, 0);
}

TEST_F(ScoresTest, OnlyRowsBelowAKnownSeparatorBecomeUnplanned) {
  app.sheet.separatorIndex = 12;
  task(12, kSeparatorText);
  task(14, u"Urgent call");
  task(10, u"Planned");
  ASSERT_TRUE(addScore(app, 14, ScoreKind::InternalInterruption, true));
  ASSERT_TRUE(addScore(app, 10, ScoreKind::InternalInterruption, true));
  EXPECT_TRUE(row(14).hasFlag(rowflag::kUnplanned));
  EXPECT_FALSE(row(10).hasFlag(rowflag::kUnplanned));

  // A sheet without a separator (the first start ever) has no unplanned part.
  app.sheet.separatorIndex = -1;
  task(20, u"Anything");
  ASSERT_TRUE(addScore(app, 20, ScoreKind::Estimated, true));
  EXPECT_FALSE(row(20).hasFlag(rowflag::kUnplanned));

  // Todolist rows are never unplanned.
  app.sheet.separatorIndex = 12;
  app.ui.currentPage = kPageNextThings;
  app.todolist.rows[30].text = u"Someday";
  ASSERT_TRUE(addScore(app, 30, ScoreKind::Estimated, true));
  EXPECT_FALSE(app.todolist.rows[30].hasFlag(rowflag::kUnplanned));
}

TEST_F(ScoresTest, RefusalsOnOtherPagesAndEarlierSheets) {
  task(0, u"Task");
  app.ui.currentPage = 3;  // Performance
  EXPECT_FALSE(addScore(app, 0, ScoreKind::Pomodoro, true));
  app.ui.currentPage = kPageTodoToday;
  app.sheet.sheetFileName = u"DailyTask_2021-5-13-4.pm6";
  EXPECT_FALSE(addScore(app, 0, ScoreKind::Pomodoro, true));
  EXPECT_FALSE(scoreCommandAdd(app, ScoreKind::Estimated));
  app.settings.language = u"Chinese (Simplified)";
  EXPECT_FALSE(addScore(app, 0, ScoreKind::Pomodoro, true));
  app.ui.currentPage = 5;
  EXPECT_FALSE(addScore(app, 0, ScoreKind::Pomodoro, true));

  ASSERT_EQ(prompts.shown.size(), 5u);
  EXPECT_EQ(prompts.shown[0].text, u"Scores can be added on the ToDo list page only.\n\nOperation aborted.");
  EXPECT_EQ(prompts.shown[1].text,
            u"Previous ToDo lists are displayed in Read-Only mode,\nso scores can't be added.\n\nOperation aborted.\n");
  EXPECT_EQ(prompts.shown[2].text, prompts.shown[1].text);
  EXPECT_EQ(prompts.shown[3].text, u"以前的待办事项列表以只读模式显示，\n因此无法添加分数。\n\n操作已中止。\n");
  EXPECT_EQ(prompts.shown[4].text, u"只能在待办事项页面上添加分数。\n\n操作已中止。");
  for (const auto& shown : prompts.shown) {
    EXPECT_EQ(shown.caption, u"Tirelmo");
    EXPECT_EQ(shown.icon, MsgIcon::Exclamation);
  }
  EXPECT_EQ(row(0).pomodoros, 0);
  EXPECT_EQ(row(0).estimated, 0);
  EXPECT_EQ(day(), DayStats());
  EXPECT_FALSE(app.sheet.modified);
}

TEST_F(ScoresTest, TheTimerAndInterruptionsReachTodaysSheetFromAnyPage) {
  task(4, u"Focus");
  app.todolist.rows[4].text = u"List row";
  // The pomodoro ends while the user looks at another page.
  app.ui.currentPage = 5;
  ASSERT_TRUE(addScoreAndRedraw(app, 4, ScoreKind::Pomodoro, false, ScoreTarget::TodaySheet));
  app.ui.currentPage = kPageNextThings;
  ASSERT_TRUE(addScoreAndRedraw(app, 4, ScoreKind::Pomodoro, false, ScoreTarget::TodaySheet));
  EXPECT_EQ(row(4).pomodoros, 2);
  EXPECT_EQ(app.todolist.rows[4].pomodoros, 0);
  EXPECT_TRUE(prompts.shown.empty());

  // An interruption during a pomodoro belongs to the timer's row, not the selected one.
  app.timer.running = true;
  app.timer.isBreak = false;
  app.timer.row = 4;
  app.ui.currentRow = 30;
  ASSERT_TRUE(scoreCommandAdd(app, ScoreKind::ExternalInterruption));
  EXPECT_EQ(row(4).externalInterruptions, 1);
  EXPECT_TRUE(app.sheet.modified);
  EXPECT_FALSE(app.todolist.modified);
  // During a break it goes to the selected row again.
  app.timer.isBreak = true;
  app.todolist.rows[30].text = u"Other";
  ASSERT_TRUE(scoreCommandAdd(app, ScoreKind::InternalInterruption));
  EXPECT_EQ(app.todolist.rows[30].internalInterruptions, 1);
  EXPECT_TRUE(app.todolist.modified);
}

TEST_F(ScoresTest, TodolistScoresCountInTheSameDay) {
  app.ui.currentPage = kPageNextThings;
  app.ui.currentRow = 40;
  TodoRow& r = app.todolist.rows[40];
  r.text = u"Read the manual";
  ASSERT_TRUE(scoreCommandAdd(app, ScoreKind::Pomodoro));
  EXPECT_EQ(r.pomodoros, 1);
  EXPECT_EQ(r.info.minutesToday, 25);
  EXPECT_EQ(day().pomodoros, 1);
  EXPECT_TRUE(app.todolist.modified);
  EXPECT_FALSE(app.sheet.modified);
  EXPECT_EQ(redrawnRows, std::vector<int>{40});

  ASSERT_TRUE(scoreCommandAdd(app, ScoreKind::Done));
  EXPECT_EQ(todolistRebuilt, 1);
  EXPECT_EQ(app.todolist.look[40], RowLook::Done);
  ASSERT_TRUE(removeScore(app, ScoreKind::Done));
  EXPECT_EQ(todolistRebuilt, 2);
  EXPECT_EQ(r.done, 0);
  EXPECT_EQ(app.todolist.look[40], RowLook::Normal);
  EXPECT_EQ(day().done, 0);
  // 1132..1136 there act on the list's row too, not on the sheet's row 40 (which does not exist).
  ASSERT_TRUE(removeScore(app, ScoreKind::Pomodoro));
  EXPECT_EQ(r.pomodoros, 0);
  EXPECT_EQ(r.info.minutesToday, 0);
}

TEST_F(ScoresTest, RemovingAPomodoroTakesTheCurrentLength) {
  app.projects.active = {project(7, 2)};
  TodoRow& r = task(6, u"Long task");
  r.info.projectId = 7;
  r.pomodoros = 2;
  r.info.minutesToday = 60;
  app.sheet.dayTotals.pomodoros = 2;
  const DayStats slotBefore = todaySlot();
  app.settings.pomtimerminutes = 30;  // changed after the pomodoros were counted
  app.ui.currentRow = 6;

  ASSERT_TRUE(removeScore(app, ScoreKind::Pomodoro));
  EXPECT_EQ(r.pomodoros, 1);
  EXPECT_EQ(r.info.minutesToday, 30);
  EXPECT_EQ(day().pomodoros, 1);
  EXPECT_EQ(app.projects.active[0].workedHours, 2u);  // the project keeps its time
  EXPECT_EQ(todaySlot(), slotBefore);                // the month table follows at the next add
  EXPECT_TRUE(app.sheet.modified);
  EXPECT_EQ(redrawnRows, std::vector<int>{6});
  EXPECT_EQ(totalsRedrawn, 1);

  // Worked time never goes below zero.
  r.info.minutesToday = 20;
  ASSERT_TRUE(removeScore(app, ScoreKind::Pomodoro));
  EXPECT_EQ(r.info.minutesToday, 0);

  // Nothing to remove: nothing happens.
  app.sheet.modified = false;
  for (ScoreKind k : kAllKinds) EXPECT_FALSE(removeScore(app, k));
  EXPECT_FALSE(app.sheet.modified);
  EXPECT_EQ(day().pomodoros, 0);

  // A removed done mark gives the row its normal look back.
  r.done = 1;
  app.sheet.look[6] = RowLook::Done;
  ASSERT_TRUE(removeScore(app, ScoreKind::Done));
  EXPECT_EQ(app.sheet.look[6], RowLook::Normal);

  // An earlier day's sheet is read-only for removals too.
  r.estimated = 3;
  app.sheet.dayTotals.estimated = 3;
  app.sheet.sheetFileName = u"DailyTask_2021-5-13-4.pm6";
  EXPECT_FALSE(removeScore(app, ScoreKind::Estimated));
  EXPECT_EQ(r.estimated, 3);
  EXPECT_EQ(day().estimated, 3);
}

TEST_F(ScoresTest, EstimatesAreAddedOneByOne) {
  task(0, u"Estimate me");
  app.ui.currentRow = 0;
  EXPECT_EQ(addEstimates(app, 3), 3);
  EXPECT_EQ(row(0).estimated, 3);
  EXPECT_EQ(day().estimated, 3);
  EXPECT_EQ(redrawnRows.size(), 3u);

  // A done row asks once, not five times.
  row(0).done = 1;
  prompts.answers = {MsgAnswer::No};
  EXPECT_EQ(addEstimates(app, 5), 0);
  EXPECT_EQ(prompts.shown.size(), 1u);
}

TEST_F(ScoresTest, RemoveDoneTasksArchivesAndClearsTheDoneRows) {
  app.sheet.separatorIndex = 12;
  task(12, kSeparatorText);
  TodoRow& shipped = task(0, u"Ship \"it\"");
  shipped.done = 1;
  shipped.pomodoros = 2;
  shipped.pastPomodoros = 1;
  shipped.abandoned = 1;
  shipped.internalInterruptions = 3;
  shipped.pastExternal = 4;
  shipped.estimated = 2;
  shipped.info.category = 3;
  shipped.info.projectId = 7;
  shipped.info.minutesToday = 50;
  shipped.info.pastMinutes = 75;
  shipped.info.ageDays = 1;

  TodoRow& standup = task(1, u"Standup");
  standup.done = 1;
  standup.pomodoros = 1;
  standup.info.category = 2;
  standup.info.projectId = 7;
  standup.info.deadlineYear = 21;
  standup.info.deadlineMonth = 6;
  standup.info.deadlineDay = 1;
  standup.info.flags = rowflag::kRepeat | rowflag::kDeadline;
  standup.info.ageDays = 4;
  app.sheet.look[1] = RowLook::Done;

  TodoRow& open = task(2, u"Still open");
  open.pomodoros = 1;
  const TodoRow openBefore = open;

  TodoRow& urgent = task(14, u"Hot");
  urgent.done = 1;
  // The rest of its text is still in the row editor.
  app.hooks.takeEditorTexts = [this] { row(14).text = u"Hotfix"; };
  app.sheet.dayTotals.done = 3;
  const DayStats dayBefore = day();
  app.ui.currentPage = 3;

  RemoveDoneTasks(app);

  EXPECT_EQ(row(0), TodoRow());
  EXPECT_EQ(row(14), TodoRow());
  TodoRow repeatExpected;
  repeatExpected.text = u"Standup";
  repeatExpected.info.flags = rowflag::kRepeat;
  EXPECT_EQ(row(1), repeatExpected);
  EXPECT_EQ(app.sheet.look[1], RowLook::Normal);
  EXPECT_EQ(row(2), openBefore);
  EXPECT_EQ(row(12).text, kSeparatorText);
  EXPECT_EQ(day(), dayBefore);
  EXPECT_TRUE(app.sheet.modified);
  EXPECT_EQ(app.ui.currentPage, kPageTodoToday);
  EXPECT_EQ(sheetShown, 1);
  EXPECT_TRUE(logged("RemoveDoneTasks"));

  // Friday 14 May 2021: day of year 134, week (134 - 5 + 10) / 7 = 19. Today's counts are
  // folded into the past ones on the archived line.
  const std::string archive = fromLe(readBytes(dir.native() + "/stats/DoneTasks_2021_5.m00"));
  const std::string header =
      "\"DayOfWeek\",\"DoneYY\",\"DoneMM\",\"DoneDD\",\"Descr\",\"StartYear\",\"StartMM\",\"StartDD\","
      "\"InsertYY\",\"InsertMM\",\"InsertDD\",\"Age\",\"Pomo\",\"Abandoned\",\"Int Interrupt\","
      "\"Ext Interrupt\",\"UnplanUrg\",\"Label ID\",\"Week Nr\",\"Estimated\",\"Tot Minutes\",\"Prj ID\","
      "\"In Progress\",\"Min Worked\",\n";
  EXPECT_EQ(archive, header +
                         "\"5\",\"21\",\"5\",\"14\",\"Ship \"\"it\"\"\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"2\","
                         "\"3\",\"1\",\"3\",\"4\",\"N\",\"3\",\"19\",\"2\",\"75\",\"7\",\"0\",\"50\"\n"
                         "\"5\",\"21\",\"5\",\"14\",\"Standup\",\"21\",\"6\",\"1\",\"0\",\"0\",\"0\",\"5\","
                         "\"1\",\"0\",\"0\",\"0\",\"N\",\"2\",\"19\",\"0\",\"0\",\"7\",\"0\",\"0\"\n"
                         "\"5\",\"21\",\"5\",\"14\",\"Hotfix\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"1\","
                         "\"0\",\"0\",\"0\",\"0\",\"Y\",\"0\",\"19\",\"0\",\"0\",\"0\",\"0\",\"0\"\n");
}

TEST_F(ScoresTest, RemoveDoneTasksOnlyWorksOnTodaysSheet) {
  app.sheet.sheetFileName = u"DailyTask_2021-5-13-4.pm6";
  task(0, u"Old done").done = 1;
  RemoveDoneTasks(app);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"This feature is available only for To-do lists of today.\n\nOperation Aborted.");
  EXPECT_EQ(prompts.shown[0].caption, u"Tirelmo");
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Information);
  EXPECT_EQ(row(0).text, u"Old done");
  EXPECT_FALSE(app.sheet.modified);
  EXPECT_TRUE(std::filesystem::is_empty(dir.native() + "/stats"));
}


// Scores given after midnight by a program started the day before.
class ScoresAfterMidnightTest : public ::testing::Test {
 protected:
  ScoresAfterMidnightTest() : app(clock, prompts, system) {
    system.appData = dir.path() + u"\\Roaming";
    clock.set(2021, 3, 4, 23, 40);
  }
  ~ScoresAfterMidnightTest() override { processLog().closeOnFailedStart(); }
  std::string previousLog() const {
    return fromLe(readBytes(dir.native() + "/Roaming/Tirelmo/Tirelmo_v2.3.3_log_prev.txt"));
  }

  void startWithOneTask() {
    ASSERT_EQ(runStartPhases(app), kStartContinue);
    app.sheet.rows[3].text = u"Late work";
    app.sheet.rows[3].pomodoros = 1;
    app.sheet.modified = true;
    app.ui.currentRow = 3;
    clock.set(2021, 3, 5, 0, 5);
  }

  test::TempDir dir;
  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app;
};

TEST_F(ScoresAfterMidnightTest, AnAddGoesOnWithTheSameRowOfTheNewDaysSheet) {
  startWithOneTask();
  ASSERT_TRUE(addScore(app, 3, ScoreKind::Pomodoro, true));
  EXPECT_NE(previousLog().find("Started on a previous day, new score wont be added.\r\n"), std::string::npos);
  EXPECT_EQ(app.start.today.day(), 5);
  EXPECT_EQ(app.sheet.rows[3].text, u"Late work");
  EXPECT_EQ(app.sheet.rows[3].pastPomodoros, 1);
  EXPECT_EQ(app.sheet.rows[3].pomodoros, 1);
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 1);
  EXPECT_EQ(app.month.days[4].pomodoros, 1);
}

TEST_F(ScoresAfterMidnightTest, ARemoveOnlyRestartsTheDay) {
  startWithOneTask();
  EXPECT_FALSE(removeScore(app, ScoreKind::Pomodoro));
  EXPECT_NE(previousLog().find("Wont del pomo\r\n"), std::string::npos);
  EXPECT_EQ(app.start.today.day(), 5);
  // Yesterday's pomodoro went into the task's history untouched.
  EXPECT_EQ(app.sheet.rows[3].pastPomodoros, 1);
  EXPECT_EQ(app.sheet.rows[3].pomodoros, 0);
}

}  // namespace
}  // namespace tirelmo
