#include "app/day_cycle.h"
#include "app/day_start.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/startup.h"
#include "app/sheet_io.h"
#include "sheet/sheet_files.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

namespace fs = std::filesystem;
using test::header;
using test::Rec;
using test::record;
using test::readBytes;

const std::string kSeparator = "   --- Unplanned & Urgent ---";
const std::string kYesterday = "DailyTask_2021-3-4-4.pm6";
const std::string kToday = "DailyTask_2021-3-5-5.pm6";

std::vector<std::string> lfLines(const std::string& utf16le) {
  std::vector<std::string> out;
  const std::string text = test::fromLe(utf16le);
  std::size_t pos = 0;
  for (std::size_t end; (end = text.find('\n', pos)) != std::string::npos; pos = end + 1)
    out.push_back(text.substr(pos, end - pos));
  return out;
}

class DayStartTest : public test::SheetTest {
 protected:
  // The lines of the done-task archive of March 2021, whatever its exact file name.
  std::vector<std::string> doneArchiveLines() const {
    for (const auto& e : fs::directory_iterator(dir.native() + "/stats")) {
      const std::string name = e.path().filename().string();
      if (name.rfind("DoneTasks_2021_3", 0) == 0 && name.size() >= 3 && name.substr(name.size() - 3) == "m00")
        return lfLines(readBytes(e.path().string()));
    }
    return {};
  }
  void writePrevious(const std::string& bytes, const std::string& name = kYesterday) {
    writeSheet(2021, 3, name, bytes);
    app.settings.last2dofilename = sheetPath(2021, 3, name);
  }
  // Today's file read back into a fresh model.
  TodoSheet reloadToday() {
    TodoSheet keep = app.sheet;
    resetTodoSheet(app.sheet);
    EXPECT_TRUE(loadTodoSheetPm6(app, sheetPath(2021, 3, kToday), nullptr, ProjectCredit::Skip));
    TodoSheet loaded = app.sheet;
    app.sheet = keep;
    return loaded;
  }
};

TEST_F(DayStartTest, FirstRunCarriesThePreviousSheetOver) {
  Rec repeat;  // done, repeats every day, with a deadline
  repeat.index = 0, repeat.flags = 1 | 2 | 4, repeat.pomodoros = 3, repeat.pastPomodoros = 4;
  repeat.abandoned = 1, repeat.estimated = 3, repeat.age = 7, repeat.category = 5, repeat.projectId = 9;
  repeat.minutesToday = 75, repeat.pastMinutes = 30, repeat.deadlineYear = 21, repeat.deadlineMonth = 3;
  repeat.deadlineDay = 9, repeat.reserved1 = 5, repeat.text = "Daily standup";
  Rec worked;  // undone, worked on
  worked.index = 1, worked.age = 2, worked.pomodoros = 2, worked.minutesToday = 50, worked.estimated = 4;
  worked.pastPomodoros = 1, worked.pastMinutes = 30, worked.internal = 2, worked.pastInternal = 250;
  worked.external = 1, worked.text = "Refactor";
  Rec shipped;  // done, no repeat
  shipped.index = 2, shipped.flags = 1, shipped.pomodoros = 1, shipped.minutesToday = 25, shipped.text = "Ship it";
  Rec longText;
  longText.index = 3, longText.abandoned = 1, longText.text = std::string(100, 'y');
  Rec idle;  // neither done nor worked: only its age grows
  idle.index = 5, idle.estimated = 2, idle.age = 255, idle.text = "Someday";
  Rec sep;
  sep.index = 13, sep.text = kSeparator;
  Rec urgent;
  urgent.index = 14, urgent.flags = 1, urgent.minutesToday = 10, urgent.text = "Urgent fix";
  writePrevious(header() + record(repeat) + record(worked) + record(shipped) + record(longText) + record(idle) +
                record(sep) + record(urgent));

  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_TRUE(app.start.firstRunToday);

  const TodoRow& r0 = row(0);
  EXPECT_EQ(r0.text, u"Daily standup");
  EXPECT_EQ(r0.info.category, 5);
  EXPECT_EQ(r0.info.projectId, 9);
  EXPECT_EQ(r0.info.flags, rowflag::kRepeat);
  TodoRow expectRepeat;
  expectRepeat.text = u"Daily standup";
  expectRepeat.info.category = 5;
  expectRepeat.info.projectId = 9;
  expectRepeat.info.flags = rowflag::kRepeat;
  EXPECT_EQ(r0, expectRepeat);  // no scores, past scores, age, worked time or deadline

  const TodoRow& r1 = row(1);
  EXPECT_EQ(r1.info.ageDays, 3);
  EXPECT_EQ(r1.pastPomodoros, 3);
  EXPECT_EQ(r1.info.pastMinutes, 80);
  EXPECT_EQ(r1.pastInternal, 252);
  EXPECT_EQ(r1.pastExternal, 1);
  EXPECT_EQ(r1.pomodoros, 0);
  EXPECT_EQ(r1.internalInterruptions, 0);
  EXPECT_EQ(r1.info.minutesToday, 0);
  EXPECT_EQ(r1.estimated, 4);

  EXPECT_EQ(row(2), TodoRow());
  EXPECT_EQ(row(5).info.ageDays, 255);
  EXPECT_EQ(row(5).estimated, 2);
  EXPECT_EQ(app.sheet.separatorIndex, 13);
  EXPECT_EQ(row(13).info.ageDays, 0);
  EXPECT_EQ(row(14), TodoRow());

  // The summary of the previous day.
  const std::vector<u16> done = {u"Last Thursday (March 4, 2021) I did:",
                                 u"Daily standup - [minutes 105  pomos 7  aband 1  age 8]",
                                 u"Ship it - [minutes 25  pomos 1  aband 0  age 1]",
                                 u"Urgent fix - [minutes 10  pomos 0  aband 0  age 1]"};
  EXPECT_EQ(app.yesterday.completedLines, done);
  const std::vector<u16> worked2 = {u"Refactor - [minutes 80  pomos 3  aband 0  age 3]",
                                    u16(80, u'y') + u".. - [minutes 0  pomos 0  aband 1  age 1]"};
  EXPECT_EQ(app.yesterday.workedLines, worked2);

  // The archives: done or worked rows go to the done-task archive (the unplanned one marked
  // "Y"), done or scored rows to the yesterday archive.
  const std::vector<std::string> archive = doneArchiveLines();
  ASSERT_EQ(archive.size(), 5u);
  EXPECT_NE(archive[4].find("\"Urgent fix\""), std::string::npos);
  EXPECT_NE(archive[4].find("\"Y\""), std::string::npos);
  EXPECT_NE(archive[1].find("\"N\""), std::string::npos);
  const std::vector<std::string> yesterday = lfLines(readBytes(dir.native() + "/YesterdayArchive.y00"));
  EXPECT_EQ(yesterday.size(), 2u + 5u);

  // Today's sheet was written under today's name and became the last sheet.
  EXPECT_EQ(app.settings.last2dofilename, sheetPath(2021, 3, kToday));
  EXPECT_FALSE(app.sheet.modified);
  const TodoSheet saved = reloadToday();
  for (int i = 0; i < 25; ++i) EXPECT_EQ(saved.rows[static_cast<std::size_t>(i)], row(i)) << i;
  for (const char* line : {"search 2dotoday of Today NEW", "It's the 1sr run today.", "Cloud dis", "First run today",
                           "Prev day: 2021-3-4 (4)", "search 2dotoday from the past", "todotoday of today does not exist.",
                           "Load scores,  Import", "ok imported undone tasks from prev Tdl. Create today Tdl."})
    EXPECT_TRUE(logHas(line)) << line;
}

TEST_F(DayStartTest, FreshInstallStartsEmptyWithoutSeparator) {
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_TRUE(app.start.firstRunToday);
  EXPECT_TRUE(logHas("No prev Tdl, this is a fresh install"));
  EXPECT_EQ(app.sheet.separatorIndex, -1);
  for (int i = 0; i < 25; ++i) EXPECT_TRUE(row(i).isFree());
  EXPECT_TRUE(app.sheet.sheetFileName.empty());
  EXPECT_FALSE(fs::exists(nativeSheet(2021, 3, kToday)));

  // The next load of the saved sheet places the separator at row 12.
  row(0).text = u"first task";
  ASSERT_TRUE(saveTodoSheet(app, false));
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_EQ(app.sheet.separatorIndex, 12);
}

TEST_F(DayStartTest, SecondStartOfTheDayReopensTodaysSheet) {
  Rec old;
  old.index = 0, old.text = "yesterday's";
  writePrevious(header() + record(old));
  Rec t;
  t.index = 4, t.pomodoros = 2, t.age = 1, t.minutesToday = 50, t.projectId = 3, t.text = "today's work";
  writeSheet(2021, 3, kToday, header() + record(t));
  app.projects.active = {Project{3, u"P"}};

  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_FALSE(app.start.firstRunToday);
  EXPECT_TRUE(logHas("It's not the 1sr run today."));
  EXPECT_EQ(row(4).pomodoros, 2);
  EXPECT_EQ(row(4).info.ageDays, 1);
  EXPECT_TRUE(row(0).isFree());
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(kToday));
  EXPECT_EQ(app.projects.active[0].minutesToday, 50);
  EXPECT_FALSE(fs::exists(dir.native() + "/YesterdayArchive.y00"));
  EXPECT_EQ(app.settings.last2dofilename, sheetPath(2021, 3, kYesterday));
}

// The settings file names the sheet the next day carries over. A run that ends without its
// shut-down (killed, crashed, power cut) must still leave it naming today's sheet.
TEST_F(DayStartTest, RunThatNeverShutsDownStillHandsTodaysSheetToTomorrow) {
  app.settings.wkdir = dir.path();
  Rec worked;
  worked.index = 0, worked.age = 2, worked.pomodoros = 2, worked.minutesToday = 50, worked.text = "Refactor";
  Rec shipped;
  shipped.index = 1, shipped.flags = 1, shipped.pomodoros = 1, shipped.minutesToday = 25, shipped.text = "Ship it";
  writePrevious(header() + record(worked) + record(shipped));
  ASSERT_TRUE(SaveSettingsToFile(app.settings, prompts));  // as yesterday's shut-down left it

  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  row(6).text = u"added today";
  row(6).pomodoros = 1;
  row(6).info.minutesToday = 25;
  ASSERT_TRUE(saveTodoSheet(app, false));
  // ...and the process dies here: no shut-down, no settings save.

  Settings next;
  next.wkdir = dir.path();
  ASSERT_TRUE(LoadSettingsFromFile_i00(next));
  EXPECT_EQ(next.last2dofilename, sheetPath(2021, 3, kToday));
  app.settings = next;
  startRunOn(2021, 3, 6);
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_TRUE(logHas("Prev day: 2021-3-5 (5)"));
  EXPECT_EQ(row(0).text, u"Refactor");
  EXPECT_EQ(row(0).info.ageDays, 4);
  EXPECT_EQ(row(6).text, u"added today");
  EXPECT_EQ(row(6).pastPomodoros, 1);
  // Yesterday's done task was archived once, on the day it was carried over.
  const std::vector<std::string> archive = doneArchiveLines();
  EXPECT_EQ(std::count_if(archive.begin(), archive.end(),
                          [](const std::string& l) { return l.find("\"Ship it\"") != std::string::npos; }),
            1);
}

// A start that changes nothing leaves the settings file to the shut-down.
TEST_F(DayStartTest, StartsThatNameNoNewSheetDoNotWriteTheSettings) {
  app.settings.wkdir = dir.path();
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);  // fresh install: nothing saved yet
  Rec t;
  t.index = 0, t.text = "today's work";
  writeSheet(2021, 3, kToday, header() + record(t));
  app.settings.last2dofilename = sheetPath(2021, 3, kToday);
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);  // second start of the day
  app.settings.last2dofilename = sheetPath(2021, 3, "DailyTask_2021-3-1-1.pm6");
  fs::remove(nativeSheet(2021, 3, kToday));
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);  // previous sheet gone: the name is dropped
  EXPECT_TRUE(app.settings.last2dofilename.empty());
  EXPECT_FALSE(fs::exists(dir.native() + "/tirelmo.i00"));
}

TEST_F(DayStartTest, UnreadablePreviousSheetIsForgotten) {
  app.settings.last2dofilename = sheetPath(2021, 3, "DailyTask_2021-3-1-1.pm6");
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_TRUE(app.settings.last2dofilename.empty());
  EXPECT_TRUE(logHas("loading previous 2dotoday: " + utf16ToUtf8(sheetPath(2021, 3, "DailyTask_2021-3-1-1.pm6"))));
  EXPECT_NE(logText().find("CreateFile last error"), std::string::npos);
  EXPECT_FALSE(fs::exists(nativeSheet(2021, 3, kToday)));
  for (int i = 0; i < 25; ++i) EXPECT_TRUE(row(i).isFree());
}

TEST_F(DayStartTest, TodaysPm5BecomesAPm6AndOnlyThenGoes) {
  std::string pm5(11266, '\0');
  const std::string text = test::le("from the pm5");
  pm5.replace(0, text.size(), text);
  pm5[9000] = 2;  // two pomodoros on row 0
  const std::string pm5Name = "DailyTask_2021-3-5-5.pm5";

  // A save that cannot happen keeps the .pm5.
  writeSheet(2021, 3, pm5Name, pm5);
  fs::create_directories(nativeSheet(2021, 3, kToday) + ".tmp");
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_TRUE(fs::exists(nativeSheet(2021, 3, pm5Name)));
  EXPECT_TRUE(logHas("pm5 file kept, today's sheet is not saved yet"));

  fs::remove(nativeSheet(2021, 3, kToday) + ".tmp");
  prompts.shown.clear();
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_TRUE(logHas("Delete this pm5 file, it will be saved as .pm6"));
  EXPECT_FALSE(fs::exists(nativeSheet(2021, 3, pm5Name)));
  EXPECT_EQ(row(0).text, u"from the pm5");
  const TodoSheet saved = reloadToday();
  EXPECT_EQ(saved.rows[0].text, u"from the pm5");
  EXPECT_EQ(saved.rows[0].pomodoros, 2);
}

TEST_F(DayStartTest, OlderPreviousFormatsAreCarriedOverToo) {
  // .pm4: past counts take today's, a done row is archived and freed; no age, no minutes.
  std::string block, scores;
  for (int i = 0; i < 25; ++i) {
    std::string t = i == 0 ? "open" : i == 1 ? "finished" : "";
    std::string units = test::le(t);
    units.resize(120, '\0');
    block += units;
    std::string s(10, '\0');
    if (i == 0) s[0] = 2, s[2] = 1, s[6] = 3;
    if (i == 1) s[0] = 1, s[5] = 1;
    scores += s;
  }
  writePrevious(test::scrambled(block) + scores, "DailyTask_2021-3-4.pm4");
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_TRUE(logHas("Prev day: 2021-3-4 (4)"));  // the day of week comes from the date
  EXPECT_EQ(row(0).text, u"open");
  EXPECT_EQ(row(0).pastPomodoros, 5);
  EXPECT_EQ(row(0).pastInternal, 1);
  EXPECT_EQ(row(0).pomodoros, 0);
  EXPECT_EQ(row(1), TodoRow());
  EXPECT_EQ(doneArchiveLines().size(), 2u);
  EXPECT_TRUE(fs::exists(nativeSheet(2021, 3, kToday)));

  // .pm5: the same carry-over as .pm6.
  fs::remove(nativeSheet(2021, 3, kToday));
  std::string pm5(11266, '\0');
  const std::string t0 = test::le("pm5 task");
  pm5.replace(0, t0.size(), t0);
  pm5[9000] = 1;         // one pomodoro
  pm5[9000 + 4] = 3;     // estimate 3
  pm5[9250 + 4] = 25;    // 25 minutes today
  pm5[9250 + 15] = 4;    // age 4
  writePrevious(pm5, "DailyTask_2021-3-4-4.pm5");
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_EQ(row(0).info.ageDays, 5);
  EXPECT_EQ(row(0).pastPomodoros, 1);
  EXPECT_EQ(row(0).info.pastMinutes, 25);
  EXPECT_EQ(app.sheet.dayTotals.estimated, 3);  // today's totals are the carried rows'
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 0);
  EXPECT_EQ(app.yesterday.workedLines.size(), 1u);
}

TEST_F(DayStartTest, CloudErrorAsksAbortRetryIgnore) {
  test::FakeCloud cloud;
  cloud.downloadResults = {-1, -3, -5};
  app.cloud = &cloud;
  app.settings.cloudEna = true;
  app.settings.cloudLogin = u"me";
  Rec t;
  t.index = 0, t.text = "local task";
  writeSheet(2021, 3, kToday, header() + record(t));

  prompts.answers = {MsgAnswer::Retry, MsgAnswer::Abort, MsgAnswer::Ignore};
  EXPECT_EQ(startDay(app), DayStartOutcome::Retry);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text,
            u"Tirelmo couldn't contact the server.\rPlease check your Internet connection.\r\rClick\r"
            u" - Abort to exit Tirelmo\r - Retry to make a new attempt\r - Ignore to use local data, ignore cloud data.");
  EXPECT_EQ(prompts.shown[0].caption, u"Tirelmo Cloud error");
  EXPECT_EQ(prompts.shown[0].buttons, MsgButtons::AbortRetryIgnore);
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Information);
  EXPECT_TRUE(logHas("Cloud dir me loc ts: "));
  EXPECT_TRUE(logHas("Web Error -1 with WebDownloadTodoList()"));
  EXPECT_TRUE(logHas("Choice: retry"));

  EXPECT_EQ(startDay(app), DayStartOutcome::Abort);
  EXPECT_TRUE(logHas("Choice: abort"));

  EXPECT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_TRUE(logHas("Choice: ignore"));
  EXPECT_TRUE(logHas("Internet conn down"));
  EXPECT_EQ(row(0).text, u"local task");
  EXPECT_EQ(cloud.downloads, 3);

  // A cloud client that this build does not have is never asked.
  cloud.isAvailable = false;
  EXPECT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_EQ(cloud.downloads, 3);
}

TEST_F(DayStartTest, CloudSheetIsUsedOnlyWhenNewer) {
  test::FakeCloud cloud;
  app.cloud = &cloud;
  app.settings.cloudEna = true;
  TodoRow cloudTask;
  cloudTask.text = u"from the cloud";
  cloudTask.pomodoros = 2;
  TodoRow cloudSep;
  cloudSep.text = utf8ToUtf16(kSeparator);
  cloud.cloudRows = {cloudTask, TodoRow(), TodoRow(), TodoRow(), TodoRow(), TodoRow(), TodoRow(), cloudSep};
  Rec t;
  t.index = 3, t.text = "local task";
  writeSheet(2021, 3, kToday, header() + record(t));

  // Older cloud copy: the local sheet, without any cloud row mixed in.
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_TRUE(logHas("Cloud Tdl is older"));
  EXPECT_TRUE(logHas("Internet conn ok"));
  EXPECT_TRUE(row(0).isFree());
  EXPECT_EQ(row(3).text, u"local task");

  // Newer on the first run: the cloud rows stand, the lists come down, today's file is made.
  fs::remove(nativeSheet(2021, 3, kToday));
  cloud.newer = true;
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_EQ(row(0).text, u"from the cloud");
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 2);
  EXPECT_EQ(app.sheet.separatorIndex, 7);
  EXPECT_EQ(cloud.listDownloads, 1);
  EXPECT_FALSE(app.sheet.modified);
  EXPECT_EQ(reloadToday().rows[0].text, u"from the cloud");
  EXPECT_EQ(app.settings.last2dofilename, sheetPath(2021, 3, kToday));
}

TEST_F(DayStartTest, DayChangeIsSeenAcrossMidnight) {
  clock.set(2021, 3, 5, 23, 59, 59);
  EXPECT_FALSE(isDayChanged(app));
  clock.set(2021, 3, 6, 0, 0, 0);
  EXPECT_TRUE(isDayChanged(app));
  EXPECT_TRUE(logHas("Crossed Midnight!"));
  clock.set(2021, 4, 5, 9, 0);  // same day of another month
  EXPECT_TRUE(isDayChanged(app));
  clock.set(2022, 3, 5, 9, 0);  // and of another year
  EXPECT_TRUE(isDayChanged(app));
}

// The whole day restart in a real user-data folder: started yesterday, still running today.
class DayRestartTest : public ::testing::Test {
 protected:
  DayRestartTest() : app(clock, prompts, system) {
    system.appData = dir.path() + u"\\Roaming";
    clock.set(2021, 3, 4, 22, 15);
  }
  ~DayRestartTest() override { processLog().closeOnFailedStart(); }
  std::string dataDir() const { return dir.native() + "/Roaming/Tirelmo"; }

  test::TempDir dir;
  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app;
};

TEST_F(DayRestartTest, RunningPastMidnightMakesTodaysSheetFromYesterdays) {
  ASSERT_EQ(runStartPhases(app), kStartContinue);
  // Yesterday's work, partly unsaved when midnight comes.
  app.sheet.rows[0].text = u"carry me";
  app.sheet.rows[0].pomodoros = 2;
  app.sheet.rows[0].info.minutesToday = 50;
  app.sheet.rows[1].text = u"finished";
  app.sheet.rows[1].done = 1;
  app.sheet.modified = true;
  app.ui.currentPage = 2;
  app.ui.currentRow = 7;
  app.usage.entries.push_back({u"Yesterday's editor", 900});
  std::vector<std::string> calls;
  app.hooks.takeEditorTexts = [&] { app.sheet.rows[2].text = u"typed late"; };
  app.hooks.beforeDayRestart = [&] { calls.push_back("before"); };
  app.hooks.afterDayRestart = [&] { calls.push_back("after"); };

  clock.set(2021, 3, 5, 0, 10);
  ASSERT_TRUE(isDayChanged(app));
  ASSERT_TRUE(CloseAppStartedYesterday(app));

  EXPECT_EQ(calls, (std::vector<std::string>{"before", "after"}));
  EXPECT_EQ(app.start.today.day(), 5);
  EXPECT_EQ(app.ui.currentPage, 2);
  EXPECT_EQ(app.ui.currentRow, 7);
  EXPECT_TRUE(app.start.firstRunToday);
  EXPECT_TRUE(fs::exists(dataDir() + "/DailyTask/2021/3/DailyTask_2021-3-4-4.pm6"));
  EXPECT_TRUE(fs::exists(dataDir() + "/DailyTask/2021/3/DailyTask_2021-3-5-5.pm6"));
  EXPECT_EQ(app.sheet.rows[0].text, u"carry me");
  EXPECT_EQ(app.sheet.rows[0].pastPomodoros, 2);
  EXPECT_EQ(app.sheet.rows[0].info.pastMinutes, 50);
  EXPECT_EQ(app.sheet.rows[0].info.ageDays, 1);
  EXPECT_TRUE(app.sheet.rows[1].isFree());
  EXPECT_EQ(app.sheet.rows[2].text, u"typed late");
  EXPECT_EQ(app.settings.last2dofilename,
            app.start.userDataDir + u"\\DailyTask\\2021\\3\\DailyTask_2021-3-5-5.pm6");

  // The log was closed, kept as the previous day's and started afresh.
  const std::string prev = test::fromLe(readBytes(dataDir() + "/Tirelmo_v2.3.3_log_prev.txt"));
  EXPECT_NE(prev.find("CloseAppStartedYesterday(18915)\r\n"), std::string::npos);
  EXPECT_NE(prev.find("[2021-3-5 00:10] Closing.."), std::string::npos);
  const std::string now = test::fromLe(readBytes(dataDir() + "/Tirelmo_v2.3.3_log.txt"));
  EXPECT_EQ(now.find("CloseAppStartedYesterday"), std::string::npos);

  // Yesterday's usage was saved before the restart (the start of that day saved once
  // already); today's starts empty, on disk too.
  const std::string saving = "Saving app usage stats into ";
  EXPECT_NE(prev.find(saving, prev.find(saving) + 1), std::string::npos);
  EXPECT_TRUE(app.usage.entries.empty());
  EXPECT_EQ(readBytes(dataDir() + "/AppUsage/todayAppUsage.txt").size(), 2u * 21 + 4);
  EXPECT_NE(now.find("log started on previous file"), std::string::npos);
}

}  // namespace
}  // namespace tirelmo
