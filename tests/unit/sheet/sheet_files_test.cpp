#include "app/sheet_io.h"
#include "sheet/sheet_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

namespace fs = std::filesystem;
using test::header;
using test::Rec;
using test::record;
using test::readBytes;
using test::writeBytes;

const std::string kSeparator = "   --- Unplanned & Urgent ---";

class SheetFilesTest : public test::SheetTest {};

TEST_F(SheetFilesTest, NamesFollowTheDateSchemeOfTheRun) {
  EXPECT_EQ(sheetFileNameFor(2021, 5, 14, 5, u".pm6"), u"DailyTask_2021-5-14-5.pm6");
  EXPECT_EQ(sheetFileNameFor(2020, 3, 2, 1, u".pm5"), u"DailyTask_2020-3-2-1.pm5");
  EXPECT_EQ(sheetFileNameFor(2009, 11, 30, 1, u".pm4"), u"DailyTask_2009-11-30.pm4");
  EXPECT_EQ(sheetFilePath(u"C:\\data", 2021, 5, u"DailyTask_2021-5-14-5.pm6"),
            u"C:\\data\\DailyTask\\2021\\5\\DailyTask_2021-5-14-5.pm6");

  // The run's date names the sheet, also when the clock has passed midnight since.
  clock.set(2021, 3, 6, 0, 5);
  getTodayTdlFileName(app, u".pm6");
  EXPECT_EQ(app.sheet.sheetFileName, u"DailyTask_2021-3-5-5.pm6");
  EXPECT_TRUE(logHas("getTodayTdlFileName() format .pm6"));
  EXPECT_TRUE(logHas(" => DailyTask_2021-3-5-5.pm6"));
}

TEST_F(SheetFilesTest, SheetWithOnlyTheSeparatorIsHeaderAndOneRecord) {
  row(12).text = utf8ToUtf16(kSeparator);
  app.sheet.separatorIndex = 12;
  app.sheet.modified = true;
  clock.time.milliseconds = 250;

  ASSERT_TRUE(saveTodoSheet(app, false));

  const std::string got = readBytes(nativeSheet(2021, 3, "DailyTask_2021-3-5-5.pm6"));
  ASSERT_EQ(got.size(), 40u + 126u);
  std::string expected(40, '\0');
  expected[0] = 40;
  expected[4] = 1;
  std::string rec(126, '\0');
  rec[0] = 126;
  rec[4] = 12;
  rec.replace(66, 58, test::scrambled(test::le(kSeparator)));
  expected += rec;
  for (std::size_t i = 0; i < got.size(); ++i)
    EXPECT_EQ(static_cast<unsigned char>(got[i]), static_cast<unsigned char>(expected[i])) << "byte " << i;

  EXPECT_FALSE(app.sheet.modified);
  EXPECT_EQ(app.settings.last2dofilename, sheetPath(2021, 3, "DailyTask_2021-3-5-5.pm6"));
  EXPECT_EQ(app.settings.tdlSavedOn, u"2021,3,5,9,30,0,250");
  EXPECT_TRUE(logHas("Save ToDo sheet  "));
}

TEST_F(SheetFilesTest, RecordCarriesEveryFieldAtItsOffset) {
  TodoRow r;
  r.text = u"Write the report";
  r.pomodoros = 3;
  r.abandoned = 1;
  r.internalInterruptions = 2;
  r.externalInterruptions = 4;
  r.estimated = 5;
  r.done = 1;
  r.pastPomodoros = 6;
  r.pastAbandoned = 7;
  r.pastInternal = 8;
  r.pastExternal = 9;
  r.info.category = 11;
  r.info.minutesToday = 75;
  r.info.pastMinutes = -3;  // stored as it is, two's complement
  r.info.projectId = 0x01020304;
  r.info.reserved1 = 10;
  r.info.reserved2 = 20;
  r.info.reserved3 = 30;
  r.info.reserved4 = 0xBEEF;
  r.info.deadlineYear = 21;
  r.info.deadlineMonth = 12;
  r.info.deadlineDay = 31;
  r.info.ageDays = 13;
  // The unplanned bit and the insert date live only in memory.
  r.info.flags = rowflag::kUnplanned | rowflag::kRepeat | rowflag::kDeadline;
  r.info.insertDate[0] = 21;

  std::string got;
  appendRowRecord(got, r, 7);
  Rec want;
  want.index = 7;
  want.pomodoros = 3, want.abandoned = 1, want.internal = 2, want.external = 4, want.estimated = 5;
  want.flags = 1 | 2 | 4;
  want.pastPomodoros = 6, want.pastAbandoned = 7, want.pastInternal = 8, want.pastExternal = 9;
  want.age = 13, want.category = 11;
  want.minutesToday = 75, want.pastMinutes = -3, want.projectId = 0x01020304;
  want.reserved1 = 10, want.reserved2 = 20, want.reserved3 = 30, want.reserved4 = 0xBEEF;
  want.deadlineYear = 21, want.deadlineMonth = 12, want.deadlineDay = 31;
  want.text = "Write the report";
  EXPECT_EQ(got, record(want));

  // Record sizes: the text's units decide, and a free row writes nothing.
  std::string one, longest, none;
  TodoRow a;
  a.text = u"A";
  appendRowRecord(one, a, 0);
  EXPECT_EQ(one.size(), 70u);
  TodoRow b;
  b.text = u16(179, u'\x4E2D');
  appendRowRecord(longest, b, 24);
  EXPECT_EQ(longest.size(), 426u);
  EXPECT_EQ(test::get32(longest, 0), 426u);
  b.text = u16(200, u'x');  // an editor that let too much through: cut, never a bigger record
  longest.clear();
  appendRowRecord(longest, b, 24);
  EXPECT_EQ(longest.size(), 426u);
  appendRowRecord(none, TodoRow(), 3);
  EXPECT_TRUE(none.empty());
}

TEST_F(SheetFilesTest, LoadsAHandMadeFileOfAnyHeaderVersion) {
  Rec task;
  task.index = 2, task.pomodoros = 2, task.abandoned = 1, task.internal = 3, task.external = 1;
  task.estimated = 4, task.flags = 1 | 2 | 4, task.pastPomodoros = 5, task.age = 3, task.category = 4;
  task.minutesToday = 50, task.pastMinutes = 120, task.projectId = 7, task.reserved2 = 99;
  task.deadlineYear = 21, task.deadlineMonth = 4, task.deadlineDay = 1, task.reserved4 = 0x1234;
  task.text = "Ünïcode ✓ task";
  Rec other;
  other.index = 0, other.pomodoros = 1, other.minutesToday = 25, other.estimated = 2, other.text = "Plan";
  Rec free;  // a record of an empty text: the row stays free
  free.index = 5, free.pomodoros = 9;
  writeSheet(2021, 3, "DailyTask_2021-3-5-5.pm6", header(2) + record(task) + record(other) + record(free));
  app.projects.active = {Project{3, u"Other"}, Project{7, u"Site"}, Project{7, u"Twin id"}};
  app.projects.active[1].minutesToday = 65530;

  resetTodoSheet(app.sheet);
  ASSERT_TRUE(loadTodoSheetPm6(app, sheetPath(2021, 3, "DailyTask_2021-3-5-5.pm6"), nullptr));

  const TodoRow& r = row(2);
  EXPECT_EQ(r.text, u"Ünïcode ✓ task");
  EXPECT_EQ(r.pomodoros, 2);
  EXPECT_EQ(r.abandoned, 1);
  EXPECT_EQ(r.internalInterruptions, 3);
  EXPECT_EQ(r.externalInterruptions, 1);
  EXPECT_EQ(r.estimated, 4);
  EXPECT_EQ(r.done, 1);
  EXPECT_EQ(r.info.flags, rowflag::kRepeat | rowflag::kDeadline);
  EXPECT_EQ(r.pastPomodoros, 5);
  EXPECT_EQ(r.info.ageDays, 3);
  EXPECT_EQ(r.info.category, 4);
  EXPECT_EQ(r.info.minutesToday, 50);
  EXPECT_EQ(r.info.pastMinutes, 120);
  EXPECT_EQ(r.info.projectId, 7);
  EXPECT_EQ(r.info.reserved2, 99);
  EXPECT_EQ(r.info.reserved4, 0x1234);
  EXPECT_EQ(r.info.deadlineMonth, 4);
  EXPECT_EQ(app.sheet.look[2], RowLook::Done);
  EXPECT_EQ(app.sheet.look[0], RowLook::Normal);
  EXPECT_TRUE(row(5).isFree());
  EXPECT_EQ(row(5), TodoRow());

  // Totals from the rows; no separator in the file, so it goes to the first free of 12..17.
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 3);
  EXPECT_EQ(app.sheet.dayTotals.estimated, 6);
  EXPECT_EQ(app.sheet.dayTotals.done, 1);
  EXPECT_EQ(app.sheet.dayTotals.workedHours, 1);
  EXPECT_EQ(app.sheet.dayTotals.workedMinutes, 15);
  EXPECT_EQ(app.sheet.separatorIndex, 12);
  EXPECT_EQ(row(12).text, utf8ToUtf16(kSeparator));
  EXPECT_TRUE(logHas("UnU at 12"));

  // The first project with the id gets the row's minutes, wrapping at 16 bits.
  EXPECT_EQ(app.projects.active[1].minutesToday, static_cast<std::uint16_t>(65530 + 50));
  EXPECT_EQ(app.projects.active[2].minutesToday, 0);
  EXPECT_EQ(app.projects.active[0].minutesToday, 0);

  // A missing file or a folder is no sheet.
  EXPECT_FALSE(loadTodoSheetPm6(app, dir.path() + u"\\nothing.pm6", nullptr));
  EXPECT_FALSE(loadTodoSheetPm6(app, dir.path() + u"\\DailyTask", nullptr));
  EXPECT_TRUE(logHas("Tdl file does not exists"));
}

// The texts the reader hands over, by row, and whether it met damage.
std::map<int, std::string> readTexts(const std::string& bytes, bool& damaged) {
  std::map<int, std::string> rows;
  damaged = false;
  readRowRecords(bytes, kSheetRows, [&](int index, TodoRow& row) { rows[index] = utf16ToUtf8(row.text); }, &damaged);
  return rows;
}

TEST_F(SheetFilesTest, DamagedRecordsAreSkippedAndTheRestLoads) {
  Rec a, b, c, d;
  a.index = 0, a.text = "first";
  b.index = 25, b.text = "row index too large";
  c.index = 1, c.pomodoros = 2, c.text = "after the bad ones";
  d.index = 3, d.text = "cut off";
  std::string bytes = header() + record(a) + record(b) + test::rawRecord(66, 66) +
                      test::rawRecord(428, 428) + test::rawRecord(71, 71) + record(c);
  bytes += record(d).substr(0, 50);  // the file ends inside this record
  writeSheet(2021, 3, "DailyTask_2021-3-5-5.pm6", bytes);

  resetTodoSheet(app.sheet);
  ASSERT_TRUE(loadTodoSheetPm6(app, sheetPath(2021, 3, "DailyTask_2021-3-5-5.pm6"), nullptr));
  EXPECT_TRUE(app.sheet.readWithDamage);
  EXPECT_EQ(row(0).text, u"first");
  EXPECT_EQ(row(1).text, u"after the bad ones");
  EXPECT_EQ(row(1).pomodoros, 2);
  for (int i = 2; i < 25; ++i) EXPECT_TRUE(row(i).isFree() || i == app.sheet.separatorIndex) << i;
  EXPECT_NE(logText().find("load goes on at byte"), std::string::npos);
  EXPECT_NE(logText().find("load ends here"), std::string::npos);

  // A whole record with a row out of range is stepped over; the file is still damaged.
  bool damaged = false;
  EXPECT_EQ(readTexts(header() + record(a) + record(b) + record(c), damaged),
            (std::map<int, std::string>{{0, "first"}, {1, "after the bad ones"}}));
  EXPECT_TRUE(damaged);
  EXPECT_TRUE(logHas("Tdl record at byte 118 skipped: row 25 out of range"));

  // Neither a length beyond the end of the file nor one of 0 stops the load, and an intact
  // file is no damage.
  for (const std::string& bad : {test::rawRecord(5000, 80), test::rawRecord(0, 8)}) {
    EXPECT_EQ(readTexts(header() + record(a) + bad + record(c), damaged),
              (std::map<int, std::string>{{0, "first"}, {1, "after the bad ones"}}));
    EXPECT_TRUE(damaged);
  }
  EXPECT_EQ(readTexts(header() + record(a) + record(c), damaged).size(), 2u);
  EXPECT_FALSE(damaged);
  EXPECT_EQ(readTexts("", damaged).size(), 0u);
  EXPECT_FALSE(damaged);
}

TEST_F(SheetFilesTest, HeaderWithAWrongLengthStillYieldsItsRecords) {
  Rec a, b, c;
  a.index = 0, a.text = "one";
  b.index = 4, b.estimated = 3, b.text = "two";
  c.index = 12, c.text = kSeparator;
  const std::string records = record(a) + record(b) + record(c);
  const std::map<int, std::string> all = {{0, "one"}, {4, "two"}, {12, kSeparator}};
  bool damaged = false;
  for (std::uint32_t len : {0u, 3u, 41u, 200u, 0x2800u, 0xFFFFFFFFu}) {
    std::string bytes = header() + records;
    test::put32(bytes, 0, len);
    EXPECT_EQ(readTexts(bytes, damaged), all) << "header length " << len;
    EXPECT_TRUE(damaged) << len;
  }
  // Header and first record both damaged: the records are searched for.
  std::string bytes = header() + records;
  test::put32(bytes, 0, 7);
  test::put32(bytes, 40, 9999);
  EXPECT_EQ(readTexts(bytes, damaged), (std::map<int, std::string>{{4, "two"}, {12, kSeparator}}));
  // A header of another length that leads to a record is a version of its own, not damage.
  std::string longer = header();
  longer.resize(48, '\0');
  test::put32(longer, 0, 48);
  EXPECT_EQ(readTexts(longer + records, damaged), all);
  EXPECT_FALSE(damaged);

  // Loaded as a sheet, the damaged header no longer empties it.
  bytes = header() + records;
  bytes[1] = 0x7F;
  writeSheet(2021, 3, "DailyTask_2021-3-5-5.pm6", bytes);
  resetTodoSheet(app.sheet);
  ASSERT_TRUE(loadTodoSheetPm6(app, sheetPath(2021, 3, "DailyTask_2021-3-5-5.pm6"), nullptr));
  EXPECT_EQ(row(4).text, u"two");
  EXPECT_EQ(row(4).estimated, 3);
  EXPECT_TRUE(app.sheet.readWithDamage);
  EXPECT_TRUE(logHas("Tdl header damaged: length 32552 of " + std::to_string(bytes.size()) + " bytes"));
}

TEST_F(SheetFilesTest, DamagedLengthInOneRecordLosesOnlyThatRecord) {
  std::vector<Rec> recs(5);
  const char* texts[] = {"first task", "second", "third task here", "fourth", "fifth and last"};
  for (int i = 0; i < 5; ++i) {
    recs[i].index = i * 2;
    recs[i].pomodoros = static_cast<std::uint8_t>(i);
    recs[i].minutesToday = 25 * i;
    recs[i].projectId = i;
    recs[i].text = texts[i];
  }
  const std::size_t second = 40 + record(recs[0]).size();
  const std::uint32_t realLen = static_cast<std::uint32_t>(record(recs[1]).size());
  const std::map<int, std::string> rest = {{0, "first task"}, {4, "third task here"}, {6, "fourth"}, {8, "fifth and last"}};
  // Out of range, odd, huge, and lengths in range that run past the record's real end.
  for (std::uint32_t len : {0u, 67u, 75u, 428u, 0x01000050u, realLen + 2, realLen + 40, kRowRecordMaxBytes}) {
    std::string bytes = header();
    for (const Rec& r : recs) bytes += record(r);
    test::put32(bytes, second, len);
    bool damaged = false;
    EXPECT_EQ(readTexts(bytes, damaged), rest) << "length " << len;
    EXPECT_TRUE(damaged) << len;
  }
}

TEST_F(SheetFilesTest, SecondSeparatorIsEmptiedAndTheFirstStays) {
  Rec s1, s2, t;
  s1.index = 3, s1.pomodoros = 4, s1.age = 2, s1.text = kSeparator;
  s2.index = 14, s2.estimated = 1, s2.text = kSeparator;
  t.index = 15, t.text = "below";
  writeSheet(2021, 3, "DailyTask_2021-3-5-5.pm6", header() + record(s1) + record(s2) + record(t));
  resetTodoSheet(app.sheet);
  ASSERT_TRUE(loadTodoSheetPm6(app, sheetPath(2021, 3, "DailyTask_2021-3-5-5.pm6"), nullptr));
  EXPECT_EQ(app.sheet.separatorIndex, 3);
  EXPECT_EQ(row(3).text, utf8ToUtf16(kSeparator));
  EXPECT_EQ(row(3).pomodoros, 0);
  EXPECT_EQ(row(3).info.ageDays, 0);
  EXPECT_EQ(row(14), TodoRow());
  EXPECT_EQ(row(15).text, u"below");
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 0);
}

TEST_F(SheetFilesTest, FailedWriteKeepsTheOldFileTheFlagAndTheName) {
  row(0).text = u"kept task";
  ASSERT_TRUE(saveTodoSheet(app, false));
  const std::string path = nativeSheet(2021, 3, "DailyTask_2021-3-5-5.pm6");
  const std::string before = readBytes(path);
  const u16 stamp = app.settings.tdlSavedOn;

  // Something in the way of the new file: the old one must survive whole.
  fs::create_directories(path + ".tmp");
  row(0).text = u"changed";
  app.sheet.modified = true;
  app.settings.last2dofilename = u"elsewhere";
  clock.set(2021, 3, 5, 10, 0);
  EXPECT_FALSE(saveTodoSheet(app, false));
  EXPECT_TRUE(app.sheet.modified);
  EXPECT_EQ(app.settings.last2dofilename, u"elsewhere");
  EXPECT_EQ(app.settings.tdlSavedOn, stamp);
  EXPECT_EQ(readBytes(path), before);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Error Saving To-do Sheet");
  EXPECT_EQ(prompts.shown[0].caption, u"Error");
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_TRUE(logHas("Some subfolder might not exist"));
}

TEST_F(SheetFilesTest, MissingMonthFoldersAreCreatedOnSave) {
  fs::remove_all(dir.native() + "/DailyTask");
  row(4).text = u"new month";
  ASSERT_TRUE(saveTodoSheet(app, false));
  const u16 path = sheetPath(2021, 3, "DailyTask_2021-3-5-5.pm6");
  EXPECT_TRUE(fs::is_regular_file(test::nativePath(path)));
  EXPECT_TRUE(logHas("Some subfolder might not exist"));
  EXPECT_TRUE(logHas("Ok created " + utf16ToUtf8(path)));

  // A plain file where a folder must go stops the save without a half-written sheet.
  fs::remove_all(dir.native() + "/DailyTask");
  writeBytes(dir.native() + "/DailyTask", "x");
  app.sheet.modified = true;
  EXPECT_FALSE(saveTodoSheet(app, false));
  EXPECT_TRUE(app.sheet.modified);
  EXPECT_TRUE(prompts.shown.empty());  // the folder failure is only logged
}

TEST_F(SheetFilesTest, OlderSheetsOfTodayAreSavedUnderThePm6Name) {
  startRunOn(2020, 3, 2);
  app.sheet.sheetFileName = u"DailyTask_2020-3-2-1.pm5";
  row(0).text = u"from pm5";
  ASSERT_TRUE(saveTodoSheet(app, false));
  EXPECT_EQ(app.sheet.sheetFileName, u"DailyTask_2020-3-2-1.pm6");
  EXPECT_TRUE(fs::exists(nativeSheet(2020, 3, "DailyTask_2020-3-2-1.pm6")));

  // Without the day of week the day start would never find the file again.
  app.sheet.sheetFileName = u"DailyTask_2020-3-2.pm4";
  ASSERT_TRUE(saveTodoSheet(app, false));
  EXPECT_EQ(app.sheet.sheetFileName, u"DailyTask_2020-3-2-1.pm6");
}

TEST_F(SheetFilesTest, CloudUploadOnlyWhenEnabledAvailableAndAsked) {
  test::FakeCloud cloud;
  app.cloud = &cloud;
  row(1).text = u"up";

  app.settings.cloudEna = false;
  ASSERT_TRUE(saveTodoSheet(app, true));
  EXPECT_TRUE(cloud.uploadedRows.empty());

  app.settings.cloudEna = true;
  ASSERT_TRUE(saveTodoSheet(app, false));
  EXPECT_TRUE(cloud.uploadedRows.empty());
  cloud.isAvailable = false;
  ASSERT_TRUE(saveTodoSheet(app, true));
  EXPECT_TRUE(cloud.uploadedRows.empty());

  cloud.isAvailable = true;
  app.ui.mainWindowExists = true;
  std::vector<int> progress;
  app.hooks.sheetUploadProgress = [&](int n) { progress.push_back(n); };
  ASSERT_TRUE(saveTodoSheet(app, true));
  ASSERT_EQ(cloud.uploadedRows.size(), 25u);
  for (int i = 0; i < 25; ++i) EXPECT_EQ(cloud.uploadedRows[static_cast<std::size_t>(i)], i);
  EXPECT_EQ(cloud.uploadedTexts[1], u"up");
  ASSERT_EQ(progress.size(), 27u);
  EXPECT_EQ(progress.front(), 0);
  EXPECT_EQ(progress[25], 25);
  EXPECT_EQ(progress.back(), -1);
  EXPECT_TRUE(logHas("Upl todo.. Upl ok"));

  cloud.uploadResult = -1;
  ASSERT_TRUE(saveTodoSheet(app, true));  // the local file is written whatever the cloud says
  EXPECT_TRUE(logHas("Upl todo.. Upl failed, err: -1"));
}

TEST_F(SheetFilesTest, EarlierSheetOnDisplayIsNeverWritten) {
  Rec t;
  t.index = 0, t.text = "old";
  writeSheet(2021, 2, "DailyTask_2021-2-26-5.pm6", header() + record(t));
  app.settings.last2dofilename = u"today's";
  ASSERT_TRUE(DisplayToDoSheet(app, sheetPath(2021, 2, "DailyTask_2021-2-26-5.pm6")));
  ASSERT_TRUE(app.sheet.readOnly);
  app.sheet.modified = true;
  EXPECT_FALSE(SaveAllSheets(app));
  EXPECT_FALSE(fs::exists(nativeSheet(2021, 3, "DailyTask_2021-2-26-5.pm6")));
  EXPECT_EQ(app.settings.last2dofilename, u"today's");
}

TEST_F(SheetFilesTest, DisplayChoosesTheReaderAndTheLook) {
  const TodoSheet before = app.sheet;
  EXPECT_FALSE(DisplayToDoSheet(app, dir.path() + u"\\x.txt"));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Unknown Format for the ToDo list file");
  EXPECT_EQ(prompts.shown[0].caption, u"Error");
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Error);
  EXPECT_FALSE(DisplayToDoSheet(app, sheetPath(2021, 3, "DailyTask_2021-3-1-1.pm6")));
  EXPECT_EQ(prompts.shown[1].text, u"Error opening ToDo Today file");
  EXPECT_EQ(app.sheet.sheetFileName, before.sheetFileName);

  // An earlier sheet: read-only, its own date on display, no month-table copy, and its
  // minutes are not today's project minutes.
  Rec t;
  t.index = 1, t.pomodoros = 2, t.minutesToday = 50, t.projectId = 7, t.flags = 1, t.text = "old";
  writeSheet(2021, 2, "DailyTask_2021-2-26-5.pm6", header() + record(t));
  app.projects.active = {Project{7, u"Site"}};
  int displayed = 0;
  app.hooks.sheetDisplayed = [&] { ++displayed; };
  app.sheet.modified = true;
  ASSERT_TRUE(DisplayToDoSheet(app, sheetPath(2021, 2, "DailyTask_2021-2-26-5.pm6")));
  EXPECT_TRUE(app.sheet.readOnly);
  EXPECT_FALSE(app.sheet.modified);
  EXPECT_EQ(app.sheet.sheetFileName, u"DailyTask_2021-2-26-5.pm6");
  EXPECT_EQ(app.start.displayedSheetDate.day(), 26);
  EXPECT_EQ(app.start.displayedSheetDate.month, 2);
  EXPECT_EQ(app.sheet.look[1], RowLook::Done);
  EXPECT_EQ(app.projects.active[0].minutesToday, 0);
  EXPECT_EQ(app.month.days[4].pomodoros, 0);
  EXPECT_EQ(app.month.days[4].done, 0);
  EXPECT_EQ(displayed, 1);

  // Today's sheet: editable, its totals copied into today's slot of the month table.
  writeSheet(2021, 3, "DailyTask_2021-3-5-5.pm6", header() + record(t));
  ASSERT_TRUE(DisplayToDoSheet(app, sheetPath(2021, 3, "DailyTask_2021-3-5-5.pm6")));
  EXPECT_FALSE(app.sheet.readOnly);
  EXPECT_EQ(app.month.days[4].used, 1);
  EXPECT_EQ(app.month.days[4].pomodoros, 2);
  EXPECT_EQ(app.month.days[4].done, 1);
  EXPECT_EQ(app.projects.active[0].minutesToday, 0);
  EXPECT_TRUE(logHas("DisplayToDoSheet() " + utf16ToUtf8(sheetPath(2021, 3, "DailyTask_2021-3-5-5.pm6"))));
}

TEST_F(SheetFilesTest, SaveDiscardChangesAsksOnlyForAModifiedSheet) {
  row(0).text = u"a";
  EXPECT_EQ(SaveDiscardChanges(app), SaveChoice::NotModified);
  EXPECT_TRUE(prompts.shown.empty());

  app.sheet.modified = true;
  prompts.answers = {MsgAnswer::No};
  EXPECT_EQ(SaveDiscardChanges(app), SaveChoice::Discarded);
  EXPECT_FALSE(fs::exists(nativeSheet(2021, 3, "DailyTask_2021-3-5-5.pm6")));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Some page was modified.\nSave your changes?");
  EXPECT_EQ(prompts.shown[0].caption, u"Tirelmo - v2.3.3.0");
  EXPECT_EQ(prompts.shown[0].buttons, MsgButtons::YesNo);

  int taken = 0;
  app.hooks.takeEditorTexts = [&] {
    ++taken;
    row(0).text = u"typed in the editor";
  };
  prompts.answers = {MsgAnswer::Yes};
  EXPECT_EQ(SaveDiscardChanges(app), SaveChoice::Saved);
  EXPECT_EQ(taken, 1);
  EXPECT_FALSE(app.sheet.modified);
  EXPECT_TRUE(logHas("SaveDiscardChanges(13098)"));
  resetTodoSheet(app.sheet);
  ASSERT_TRUE(loadTodoSheetPm6(app, sheetPath(2021, 3, "DailyTask_2021-3-5-5.pm6"), nullptr));
  EXPECT_EQ(row(0).text, u"typed in the editor");
}

}  // namespace
}  // namespace tirelmo
