#include "stats/yesterday_archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/app.h"
#include "support/fakes.h"
#include "unit/storage/storage_fixture.h"

namespace tirelmo {
namespace {

namespace fs = std::filesystem;
using test::fileExists;
using test::le;
using test::readBytes;
using test::writeBytes;

const std::string kHeader =
    "\"Dow\",\"DoneYY\",\"DoneMM\",\"DoneDD\",\"Descr\",\"StartYear\",\"MM\",\"DD\",\"InsertYY\",\"MM\",\"DD\","
    "\"Age\",\"Done\",\"Pomo\",\"Aband\",\"IntInt\",\"ExtInt\",\"UnU\",\"LabelID\",\"WeekNr\",\"Estim\","
    "\"MinWorked\",\"TotMin\",\"PrjID\",\"CliID\",\n";

std::string quoted(std::initializer_list<std::string> values) {
  std::string s;
  for (const std::string& v : values) s += (s.empty() ? "\"" : ",\"") + v + "\"";
  return s + "\n";
}

class YesterdayArchiveTest : public test::LoggedDirTest {
 protected:
  YesterdayArchiveTest() : app(clock, prompts, system) {}
  ~YesterdayArchiveTest() override { closeYesterdayArchive(app); }

  bool logHas(const std::string& line) {
    const auto log = logLines();
    return std::find(log.begin(), log.end(), line) != log.end();
  }

  // A done row and a row worked on below the separator, each field with its own value.
  static TodoRow doneRow() {
    TodoRow r;
    r.text = u"Ship \"v2\"";
    r.done = 1;
    r.pomodoros = 3;
    r.abandoned = 1;
    r.internalInterruptions = 2;
    r.externalInterruptions = 4;
    r.estimated = 5;
    r.info.category = 4;
    r.info.minutesToday = 75;
    r.info.pastMinutes = 120;
    r.info.projectId = 7;
    r.info.ageDays = 2;
    r.info.deadlineYear = 21;
    r.info.deadlineMonth = 3;
    r.info.deadlineDay = 6;
    r.info.flags = rowflag::kDeadline;
    return r;
  }
  static TodoRow workedRow() {
    TodoRow r;
    r.text = u"Fix bug";
    r.pomodoros = 1;
    r.info.minutesToday = 25;
    r.info.flags = rowflag::kUnplanned;
    return r;
  }

  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app;
};

// Thursday 4 March 2021: day of year 63, week (63 - 4 + 10) / 7 = 9.
const std::string kDoneLine = quoted({"4", "21", "3", "4", "Ship \"\"v2\"\"", "21", "3", "6", "0", "0", "0", "3", "1",
                                      "3", "1", "2", "4", "N", "4", "9", "5", "75", "120", "7", "0"});
const std::string kWorkedLine = quoted({"4", "21", "3", "4", "Fix bug", "0", "0", "0", "0", "0", "0", "1", "0", "1",
                                        "0", "0", "0", "Y", "0", "9", "0", "25", "0", "0", "0"});

TEST_F(YesterdayArchiveTest, ArchiveOfOneDoneAndOneWorkedRowByteForByte) {
  writeBytes(path("YesterdayArchive.y00"), le("old archive"));
  ASSERT_EQ(createYesterdayArchive(app, 2021, 3, 4, 4), 0);
  writeYesterdaySheetRow(app, doneRow());
  writeYesterdaySheetRow(app, workedRow());
  // Until it is closed, the previous archive stays whole.
  EXPECT_EQ(readBytes(path("YesterdayArchive.y00")), le("old archive"));
  closeYesterdayArchive(app);

  EXPECT_EQ(readBytes(path("YesterdayArchive.y00")),
            le(kHeader + "On Thursday (March 4, 2021) you did\n" + kDoneLine + kWorkedLine));
  EXPECT_FALSE(fileExists(path("YesterdayArchive.y00.tmp")));
  EXPECT_TRUE(logHas("Task: Ship \"v2\" (75')"));
  EXPECT_TRUE(logHas("Task: Fix bug (25')"));
  EXPECT_TRUE(logHas("Yesterday Archive close YesterdayArchive.y00"));

  ASSERT_EQ(app.yesterday.tasks.size(), 2u);
  const YesterdayTask& t = app.yesterday.tasks[0];
  EXPECT_EQ(t.text, u"Ship \"v2\"");
  EXPECT_EQ(t.year, 21);
  EXPECT_EQ(t.week, 9);
  EXPECT_EQ(t.age, 3);
  EXPECT_EQ(t.estimated, 5);
  EXPECT_EQ(t.totalMinutes, 120);
  EXPECT_EQ(app.yesterday.heading, u"On Thursday (March 4, 2021) you did");
  EXPECT_TRUE(app.yesterday.fromArchiveFile);
}

TEST_F(YesterdayArchiveTest, ChineseSettingWritesTheChineseHeading) {
  app.settings.language = u"Chinese (Simplified)";
  ASSERT_EQ(createYesterdayArchive(app, 2021, 3, 4, 4), 0);
  closeYesterdayArchive(app);
  EXPECT_EQ(readBytes(path("YesterdayArchive.y00")), le(kHeader + "您在星期四(3月4日, 2021年)\n"));
}

TEST_F(YesterdayArchiveTest, TodolistRecordsAreAppendedAfterTheSheetRows) {
  ASSERT_EQ(createYesterdayArchive(app, 2021, 3, 4, 4), 0);
  writeYesterdaySheetRow(app, doneRow());
  closeYesterdayArchive(app);

  ASSERT_EQ(openYesterdayArchiveForAppend(app), 0);
  YesterdayTask rec;  // undated: takes the archive's day
  rec.text = u"List item";
  rec.age = 4;
  rec.done = 1;
  rec.pomodoros = 2;
  rec.estimated = 3;
  rec.minutesWorked = 50;
  rec.totalMinutes = 200;
  rec.projectId = 9;
  rec.category = 12;
  writeYesterdayRecord(app, rec);
  closeYesterdayArchive(app);

  EXPECT_EQ(readBytes(path("YesterdayArchive.y00")),
            le(kHeader + "On Thursday (March 4, 2021) you did\n" + kDoneLine +
               quoted({"4", "21", "3", "4", "List item", "0", "0", "0", "0", "0", "0", "4", "1", "2", "0", "0", "0",
                       "N", "12", "9", "3", "50", "200", "9", "0"})));
  ASSERT_EQ(app.yesterday.tasks.size(), 2u);
  EXPECT_EQ(app.yesterday.tasks[1].day, 4);
  EXPECT_EQ(app.yesterday.tasks[1].week, 9);
}

TEST_F(YesterdayArchiveTest, TodolistRecordsAppendedToACutArchiveReadBack) {
  ASSERT_EQ(createYesterdayArchive(app, 2021, 3, 4, 4), 0);
  writeYesterdaySheetRow(app, doneRow());
  closeYesterdayArchive(app);
  const std::string whole = readBytes(path("YesterdayArchive.y00"));
  writeBytes(path("YesterdayArchive.y00"), whole + le("\"4\",\"21\",\"3\"").substr(0, 9));

  ASSERT_EQ(openYesterdayArchiveForAppend(app), 0);
  YesterdayTask rec;
  rec.text = u"List item";
  rec.done = 1;
  writeYesterdayRecord(app, rec);
  closeYesterdayArchive(app);
  EXPECT_TRUE(logHas("Archive YesterdayArchive.y00: torn end of 1 bytes cut"));

  app.yesterday.tasks.clear();
  EXPECT_EQ(LoadYesterdayTasks_new(app, u"YesterdayArchive.y00"), 5);  // with the cut line
  ASSERT_EQ(app.yesterday.tasks.size(), 2u);
  EXPECT_EQ(app.yesterday.tasks[0].text, u"Ship \"v2\"");
  EXPECT_EQ(app.yesterday.tasks[1].text, u"List item");
}

TEST_F(YesterdayArchiveTest, ArchiveThatCannotBeWrittenKeepsTheOldOneAndTheList) {
  writeBytes(path("YesterdayArchive.y00"), le("old archive"));
  fs::create_directory(path("YesterdayArchive.y00.tmp"));
  EXPECT_EQ(createYesterdayArchive(app, 2021, 3, 4, 4), -1);
  writeYesterdaySheetRow(app, doneRow());
  closeYesterdayArchive(app);
  EXPECT_EQ(readBytes(path("YesterdayArchive.y00")), le("old archive"));
  EXPECT_EQ(app.yesterday.tasks.size(), 1u);
  const auto log = logLines();
  EXPECT_TRUE(std::any_of(log.begin(), log.end(),
                          [](const std::string& l) { return l.rfind("CreateFile last error ", 0) == 0; }));

  fs::remove(path("YesterdayArchive.y00"));
  EXPECT_EQ(openYesterdayArchiveForAppend(app), -1);
}

TEST_F(YesterdayArchiveTest, LaterRunReadsTheArchiveBack) {
  const std::string done = quoted({"4", "21", "3", "4", "Ship \"\"v2\"\"", "21", "3", "6", "0", "0", "0", "3", "1",
                                   "3", "1", "2", "4", "N", "4", "9", "5", "75", "120", "7", "0"});
  const std::string worked = quoted({"4", "21", "3", "4", "Fix bug", "0", "0", "0", "0", "0", "0", "1", "0", "1", "0",
                                     "0", "0", "Y", "0", "9", "0", "25", "0", "0", "0"});
  writeBytes(path("YesterdayArchive.y00"), le(kHeader + "On Thursday (March 4, 2021) you did\n" + done + worked));
  // Older files that must not be looked at while the archive reads.
  writeBytes(path("YesterdayArchive.csv"), kHeader + "Other heading\n");
  writeBytes(path("LastDayCompletedTasks.txt"), le("Legacy\r\n"));

  loadYesterdayArchiveAtStart(app);

  const YesterdayArchive& y = app.yesterday;
  EXPECT_TRUE(y.fromArchiveFile);
  EXPECT_EQ(y.heading, u"On Thursday (March 4, 2021) you did");
  EXPECT_TRUE(y.completedLines.empty());
  ASSERT_EQ(y.tasks.size(), 2u);
  YesterdayTask expected;
  expected.day = 4;
  expected.month = 3;
  expected.year = 21;
  expected.dayOfWeek = 4;
  expected.week = 9;
  expected.text = u"Ship \"v2\"";
  expected.age = 3;
  expected.done = 1;
  expected.pomodoros = 3;
  expected.abandoned = 1;
  expected.internalInterruptions = 2;
  expected.externalInterruptions = 4;
  expected.minutesWorked = 75;
  expected.projectId = 7;
  expected.category = 4;
  // Estimated and the minutes of earlier days are not read back.
  EXPECT_EQ(y.tasks[0], expected);
  EXPECT_EQ(y.tasks[1].text, u"Fix bug");
  EXPECT_EQ(y.tasks[1].done, 0);
  EXPECT_EQ(y.tasks[1].minutesWorked, 25);

  const auto log = logLines();
  const std::vector<std::string> want = {
      "It's not the 1st run of today, open stored files.",
      "LoadYesterdayTasks_new() Opening Yesterday's Tasks file: YesterdayArchive.y00",
      "Row 0 - Ship \"v2\"   Prj ID: 7 DONE",
      "Row 1 - Fix bug   Prj ID: 0 NOT DONE",
      "Prev recs: size 2, rows 4",
  };
  EXPECT_EQ(log, want);
}

TEST_F(YesterdayArchiveTest, NumbersReadBackStayInRangeAndAStrangeCategoryStays) {
  const std::string big = "2147483647";
  writeBytes(path("YesterdayArchive.y00"),
             le(kHeader + "Heading\n" +
                quoted({big, big, "13", big, "Huge", "0", "0", "0", "0", "0", "0", big, big, big, big, big, big, "N",
                        "99", big, big, big, big, "7", "0"})));
  loadYesterdayArchiveAtStart(app);
  ASSERT_EQ(app.yesterday.tasks.size(), 1u);
  const YesterdayTask& t = app.yesterday.tasks[0];
  EXPECT_EQ(std::tie(t.day, t.month, t.year, t.dayOfWeek, t.week), std::make_tuple(0, 0, 255, 0, 0));
  EXPECT_EQ(std::tie(t.age, t.done, t.pomodoros, t.abandoned, t.internalInterruptions, t.externalInterruptions),
            std::make_tuple(256, 1, 255, 255, 255, 255));
  EXPECT_EQ(t.minutesWorked, kMaxMinutesToday);
  // The page leaves such a task out with its own log line.
  EXPECT_EQ(t.category, 99);
}

TEST_F(YesterdayArchiveTest, OlderFormsAreReadWhenTheArchiveIsMissing) {
  writeBytes(path("YesterdayArchive.csv"),
             kHeader + "On Monday (March 1, 2021) you did\n" +
                 quoted({"1", "21", "3", "1", "Café", "0", "0", "0", "0", "0", "0", "1", "1", "2", "0", "0", "0", "N",
                         "3", "10", "0", "50", "0", "0", "0"}));
  loadYesterdayArchiveAtStart(app);
  EXPECT_TRUE(app.yesterday.fromArchiveFile);
  EXPECT_EQ(app.yesterday.heading, u"On Monday (March 1, 2021) you did");
  ASSERT_EQ(app.yesterday.tasks.size(), 1u);
  EXPECT_EQ(app.yesterday.tasks[0].text, u"Café");
  EXPECT_EQ(app.yesterday.tasks[0].category, 3);
  EXPECT_TRUE(logHas("LoadYesterdayTasks_old() Opening Yesterday's Tasks file: YesterdayArchive.csv"));

  // Neither archive: the two text files of the oldest versions, CR LF between lines, read
  // up to 9000 bytes.
  fs::remove(path("YesterdayArchive.csv"));
  writeBytes(path("LastDayCompletedTasks.txt"),
             le("Last Monday (March 1, 2021) I did:\r\nTask A - [minutes 25  pomos 1  aband 0  age 1]\r\n"));
  std::string worked = le("Worked 1\r\nWorked 2");
  worked += le(std::string(9000, 'w'));
  writeBytes(path("LastDayWorkedTasks.txt"), worked);
  loadYesterdayArchiveAtStart(app);
  const YesterdayArchive& y = app.yesterday;
  EXPECT_FALSE(y.fromArchiveFile);
  EXPECT_TRUE(y.tasks.empty());
  EXPECT_EQ(y.completedLines, (std::vector<u16>{u"Last Monday (March 1, 2021) I did:",
                                                u"Task A - [minutes 25  pomos 1  aband 0  age 1]"}));
  ASSERT_EQ(y.workedLines.size(), 2u);
  EXPECT_EQ(y.workedLines[0], u"Worked 1");
  EXPECT_EQ(y.workedLines[1], u"Worked 2" + u16((9000 - 36) / 2, u'w'));
  EXPECT_TRUE(logHas("Get last day tsks info from old format files"));
}

}  // namespace
}  // namespace tirelmo
