#include "stats/done_archive.h"

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

// The month file's header as the file layout gives it, typed out column by column.
const std::string kHeader =
    "\"DayOfWeek\",\"DoneYY\",\"DoneMM\",\"DoneDD\",\"Descr\",\"StartYear\",\"StartMM\",\"StartDD\","
    "\"InsertYY\",\"InsertMM\",\"InsertDD\",\"Age\",\"Pomo\",\"Abandoned\",\"Int Interrupt\","
    "\"Ext Interrupt\",\"UnplanUrg\",\"Label ID\",\"Week Nr\",\"Estimated\",\"Tot Minutes\","
    "\"Prj ID\",\"In Progress\",\"Min Worked\",\n";

// A data line of 24 quoted values, built the way the layout describes it.
std::string dataLine(std::initializer_list<std::string> values) {
  std::string s;
  for (const std::string& v : values) s += (s.empty() ? "\"" : ",\"") + v + "\"";
  return s + "\n";
}

// A system whose code page takes two bytes for every character beyond Latin-1, as the
// East Asian code pages do.
class DoubleByteSystem : public test::FakeSystem {
 public:
  std::string utf16ToAnsi(u16v text) override {
    std::string out;
    for (char16_t c : text) {
      if (c < 0x100) {
        out.push_back(static_cast<char>(c));
      } else {
        out.push_back(static_cast<char>(0x81 + (c >> 8) % 0x7E));
        out.push_back(static_cast<char>(0x40 + (c & 0x3F)));
      }
    }
    return out;
  }
};

class DoneArchiveTest : public test::LoggedDirTest {
 protected:
  DoneArchiveTest() : app(clock, prompts, system) { fs::create_directory(path("stats")); }
  ~DoneArchiveTest() override { closeDoneArchive(app); }

  std::string stats(const std::string& name) const { return path("stats/" + name); }

  // A row with every archived field set to a different value.
  static TodoRow sampleRow() {
    TodoRow r;
    r.text = u"Call \"Bob\"";
    r.pastPomodoros = 4;
    r.pastAbandoned = 1;
    r.pastInternal = 2;
    r.pastExternal = 0;
    r.estimated = 2;
    r.done = 1;
    r.info.category = 7;
    r.info.deadlineYear = 21;
    r.info.deadlineMonth = 3;
    r.info.deadlineDay = 9;
    r.info.ageDays = 2;
    r.info.pastMinutes = 95;
    r.info.projectId = 12;
    return r;
  }

  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  DoubleByteSystem system;
  App app;
};

TEST_F(DoneArchiveTest, FileNamesJoinTheExtensionAsStoredAndPadTheWeek) {
  EXPECT_EQ(doneArchiveMonthPath(2021, 5), u".\\stats\\DoneTasks_2021_5.m00");
  EXPECT_EQ(doneArchiveCsvPath(2021, 12), u".\\stats\\DoneTasks_2021_12.csv");
  EXPECT_EQ(weeklyDoneListPath(2021, 5), u".\\stats\\WeeklyDone_2021_ 5.txt");
  EXPECT_EQ(weeklyDoneListPath(2021, 52), u".\\stats\\WeeklyDone_2021_52.txt");
}

TEST_F(DoneArchiveTest, FirstOpeningWritesHeadersAndALaterOneOnlyAppends) {
  // Monday 1 February 2021: day of year 32, week (32 - 1 + 10) / 7 = 5.
  openDoneArchive(app, 2021, 2, 1, 1);
  appendDoneTaskRow(app, sampleRow(), true, 50);
  closeDoneArchive(app);

  const std::string first =
      dataLine({"1", "21", "2", "1", "Call \"\"Bob\"\"", "21", "3", "9", "0", "0", "0", "3", "4", "1", "2", "0",
                "Y", "7", "5", "2", "95", "12", "0", "50"});
  EXPECT_EQ(readBytes(stats("DoneTasks_2021_2.m00")), le(kHeader + first));
  const std::string weekly = stats("WeeklyDone_2021_ 5.txt");
  EXPECT_EQ(readBytes(weekly), "\xEF\xBB\xBF" "0.1\r\n[WEEK]2021 - Week 5\r\n[DAY]Monday, 1 February\r\n"
                               "Call \"Bob\"\r\n");

  // Thursday 4 February, same week: no second header anywhere, one more day heading.
  openDoneArchive(app, 2021, 2, 4, 4);
  TodoRow open = sampleRow();
  open.done = 0;
  open.text = u"Plain";
  appendDoneTaskRow(app, open, false, 0);
  closeDoneArchive(app);

  const std::string second = dataLine({"4", "21", "2", "4", "Plain", "21", "3", "9", "0", "0", "0", "3", "4", "1",
                                       "2", "0", "N", "7", "5", "2", "95", "12", "1", "0"});
  EXPECT_EQ(readBytes(stats("DoneTasks_2021_2.m00")), le(kHeader + first + second));
  EXPECT_EQ(readBytes(weekly), "\xEF\xBB\xBF" "0.1\r\n[WEEK]2021 - Week 5\r\n[DAY]Monday, 1 February\r\n"
                               "Call \"Bob\"\r\n[DAY]Thursday, 4 February\r\nPlain\r\n");
  const auto log = logLines();
  EXPECT_EQ(std::count(log.begin(), log.end(), "Created new .\\stats\\WeeklyDone_2021_ 5.txt"), 1);
}

TEST_F(DoneArchiveTest, LastDayOfACommonYearIsDay365) {
  EXPECT_EQ(dayOfYear(2021, 12, 31), 365);
  EXPECT_EQ(dayOfYear(2020, 12, 31), 366);
  // Friday 31 December 2021: week (365 - 5 + 10) / 7 = 52.
  openDoneArchive(app, 2021, 12, 31, 5);
  TodoRow r;
  r.text = u"Wrap up";
  r.done = 1;
  appendDoneTaskRow(app, r, false, 0);
  closeDoneArchive(app);
  EXPECT_EQ(readBytes(stats("DoneTasks_2021_12.m00")),
            le(kHeader + dataLine({"5", "21", "12", "31", "Wrap up", "0", "0", "0", "0", "0", "0", "1", "0", "0",
                                   "0", "0", "N", "0", "52", "0", "0", "0", "0", "0"})));
  EXPECT_TRUE(fileExists(stats("WeeklyDone_2021_52.txt")));
}

TEST_F(DoneArchiveTest, CloudLineHasTwentyTwoColumnsAndReadsBackWithZeros) {
  openDoneArchive(app, 2021, 3, 1, 1);
  CloudDoneRecord c;
  c.text = u"From \"phone\"";
  c.internalInterruptions = 1;
  c.externalInterruptions = 2;
  c.pomodoros = 3;
  c.abandoned = 4;
  c.age = 5;
  c.category = 6;
  c.projectId = 300;
  c.totalHours = 1;
  c.totalMinutes = 15;
  // Wednesday 3 March: the record's own day, though the archive was opened on the 1st.
  c.year = 2021;
  c.month = 3;
  c.day = 3;
  c.dayOfWeek = 3;
  appendDoneCloudRecord(app, c);
  closeDoneArchive(app);

  // Day of year 62: week (62 - 3 + 10) / 7 = 9.
  const std::string cloud = dataLine({"3", "21", "3", "3", "From \"\"phone\"\"", "0", "0", "0", "0", "0", "0", "5",
                                      "3", "4", "1", "2", "N", "6", "9", "0", "75", "300"});
  EXPECT_EQ(readBytes(stats("DoneTasks_2021_3.m00")), le(kHeader + cloud));

  app.start.today = {2021, 3, 3, 2};
  EXPECT_EQ(loadCurrentMonthDoneTasks(app), 2);
  ASSERT_EQ(app.doneArchive.currentMonth.size(), 1u);
  const DoneTaskEntry& e = app.doneArchive.currentMonth[0];
  EXPECT_EQ(e.description, u"From \"phone\"");
  EXPECT_EQ(e.year, 2021);
  EXPECT_EQ(e.day, 3);
  EXPECT_EQ(e.week, 9);
  EXPECT_EQ(e.pomodoros, 3);
  EXPECT_EQ(e.totalMinutes, 75);
  EXPECT_EQ(e.projectId, 300);
  EXPECT_EQ(e.category, 6);
  EXPECT_EQ(e.inProgress, 0);
  EXPECT_EQ(e.minutesWorked, 0);
  // The short line is expected, not a fault worth a log line.
  const auto log = logLines();
  EXPECT_TRUE(std::none_of(log.begin(), log.end(),
                           [](const std::string& l) { return l.rfind("Begin of tkn", 0) == 0; }));
}

TEST_F(DoneArchiveTest, OlderCsvMonthIsConvertedOnceAheadOfNewLines) {
  // Its last line lacks the LF: the next line must still start a line of its own.
  const std::string old1 = dataLine({"2", "21", "2", "2", "Café", "0", "0", "0", "0", "0", "0", "1", "1", "0", "0",
                                     "0", "N", "0", "5", "0", "25", "0", "0", "25"});
  const std::string old2 = "\"3\",\"21\",\"2\",\"3\",\"Second\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"1\",\"2\","
                           "\"0\",\"0\",\"0\",\"N\",\"0\",\"5\",\"0\",\"50\",\"0\",\"0\",\"50\"";
  writeBytes(stats("DoneTasks_2021_2.csv"), kHeader + old1 + old2);

  openDoneArchive(app, 2021, 2, 4, 4);
  TodoRow r;
  r.text = u"New";
  r.done = 1;
  appendDoneTaskRow(app, r, false, 5);
  closeDoneArchive(app);

  const std::string added = dataLine({"4", "21", "2", "4", "New", "0", "0", "0", "0", "0", "0", "1", "0", "0", "0",
                                      "0", "N", "0", "5", "0", "0", "0", "0", "5"});
  const std::string expected = le(kHeader + old1 + old2 + "\n" + added);
  EXPECT_EQ(readBytes(stats("DoneTasks_2021_2.m00")), expected);
  EXPECT_FALSE(fileExists(stats("DoneTasks_2021_2.csv")));

  // A ".csv" that turns up again beside an existing "m00" is left alone.
  writeBytes(stats("DoneTasks_2021_2.csv"), kHeader + old1);
  openDoneArchive(app, 2021, 2, 5, 5);
  closeDoneArchive(app);
  EXPECT_EQ(readBytes(stats("DoneTasks_2021_2.m00")), expected);
  EXPECT_TRUE(fileExists(stats("DoneTasks_2021_2.csv")));

  app.start.today = {2021, 2, 4, 4};
  EXPECT_EQ(loadCurrentMonthDoneTasks(app), 4);
  ASSERT_EQ(app.doneArchive.currentMonth.size(), 3u);
  EXPECT_EQ(app.doneArchive.currentMonth[0].description, u"Café");
  EXPECT_EQ(app.doneArchive.currentMonth[1].description, u"Second");
  EXPECT_EQ(app.doneArchive.currentMonth[2].minutesWorked, 5);
}

TEST_F(DoneArchiveTest, AppendAfterALineCutShortStartsANewLine) {
  const std::string cut = "\"1\",\"21\",\"2\",\"1\",\"Half";
  writeBytes(stats("DoneTasks_2021_2.m00"), le(kHeader + cut));
  openDoneArchive(app, 2021, 2, 1, 1);
  TodoRow r;
  r.text = u"Whole";
  r.done = 1;
  appendDoneTaskRow(app, r, false, 0);
  closeDoneArchive(app);
  const std::string whole = dataLine({"1", "21", "2", "1", "Whole", "0", "0", "0", "0", "0", "0", "1", "0", "0", "0",
                                      "0", "N", "0", "5", "0", "0", "0", "0", "0"});
  EXPECT_EQ(readBytes(stats("DoneTasks_2021_2.m00")), le(kHeader + cut + "\n" + whole));

  app.start.today = {2021, 2, 1, 0};
  loadCurrentMonthDoneTasks(app);
  ASSERT_EQ(app.doneArchive.currentMonth.size(), 1u);
  EXPECT_EQ(app.doneArchive.currentMonth[0].description, u"Whole");
}

// A crash can leave the month file with half a unit at its end, or empty before its header
// was written. The next task must still read back, on the History page (the current
// month's list) and in the queries, and so must every whole record before the cut.
TEST_F(DoneArchiveTest, ACutMonthFileIsRepairedBeforeTheNextTask) {
  const std::string before = dataLine({"1", "21", "2", "1", "Before", "0", "0", "0", "0", "0", "0", "1", "0", "0", "0",
                                       "0", "N", "0", "5", "0", "0", "0", "0", "40"});
  const std::string torn = le(kHeader + before + "\"1\",\"21\",\"2\",\"1\",\"Cu");
  writeBytes(stats("DoneTasks_2021_2.m00"), torn.substr(0, torn.size() - 1));
  writeBytes(stats("DoneTasks_2021_3.m00"), "");
  app.start.today = {2021, 2, 1, 0};
  EXPECT_EQ(loadCurrentMonthDoneTasks(app), 3);  // header, "Before", the cut line
  ASSERT_EQ(app.doneArchive.currentMonth.size(), 1u);

  TodoRow r;
  r.text = u"After";
  r.done = 1;
  for (const int month : {2, 3}) {
    openDoneArchive(app, 2021, month, 1, 1);
    appendDoneTaskRow(app, r, false, 25);
    closeDoneArchive(app);
  }
  const auto log = logLines();
  for (const char* line : {"Archive .\\stats\\DoneTasks_2021_2.m00: torn end of 1 bytes cut",
                           "Archive .\\stats\\DoneTasks_2021_2.m00: last line ended",
                           "Archive .\\stats\\DoneTasks_2021_3.m00: empty, header written"})
    EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
  EXPECT_EQ(readBytes(stats("DoneTasks_2021_3.m00")).substr(0, 2 * kHeader.size()), le(kHeader));

  loadCurrentMonthDoneTasks(app);
  ASSERT_EQ(app.doneArchive.currentMonth.size(), 2u);
  EXPECT_EQ(app.doneArchive.currentMonth[0].description, u"Before");
  EXPECT_EQ(app.doneArchive.currentMonth[1].description, u"After");
  const auto q = queryDoneArchive({2021, 2, 1}, {2021, 3, 31}, ArchiveQueryMode::Entries, 0, u"", nullptr);
  ASSERT_EQ(q.entries.size(), 3u);
  EXPECT_EQ(q.entries[1].description, u"After");
  EXPECT_EQ(q.entries[2].description, u"After");
  EXPECT_EQ(q.totalMinutes, 40 + 25 + 25);
}

TEST_F(DoneArchiveTest, ConversionThatCannotWriteKeepsTheCsv) {
  writeBytes(stats("DoneTasks_2021_2.csv"), kHeader);
  // The new file is written beside its final name first; a folder in the way stops it.
  fs::create_directory(stats("DoneTasks_2021_2.m00.tmp"));
  openDoneArchive(app, 2021, 2, 4, 4);
  closeDoneArchive(app);
  EXPECT_TRUE(fileExists(stats("DoneTasks_2021_2.csv")));
  EXPECT_EQ(readBytes(stats("DoneTasks_2021_2.m00")), le(kHeader));
  const auto log = logLines();
  EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& l) {
    return l.rfind("MthDet_convert_csv_m00 last error ", 0) == 0;
  }));
}

TEST_F(DoneArchiveTest, CsvLineTooLongToConvertKeepsTheCsv) {
  const std::string line1 = dataLine({"1", "21", "2", "1", "Kept", "0", "0", "0", "0", "0", "0", "1", "1", "0", "0",
                                      "0", "N", "0", "5", "0", "25", "0", "0", "25"});
  const std::string monster = std::string((1u << 20) + 1, 'x') + "\n";
  writeBytes(stats("DoneTasks_2021_2.csv"), kHeader + line1 + monster);
  openDoneArchive(app, 2021, 2, 1, 1);
  closeDoneArchive(app);
  EXPECT_EQ(readBytes(stats("DoneTasks_2021_2.m00")), le(kHeader + line1));
  EXPECT_TRUE(fileExists(stats("DoneTasks_2021_2.csv")));
  const auto log = logLines();
  EXPECT_NE(std::find(log.begin(), log.end(),
                      "MthDet_convert_csv_m00() 1 lines not converted, .\\stats\\DoneTasks_2021_2.csv kept"),
            log.end());
}

TEST_F(DoneArchiveTest, CsvMonthIsReadAsUtf8LinesAndALongLineIsSkippedNotTheRest) {
  const std::string line1 = dataLine({"1", "21", "2", "1", "中文任务", "0", "0", "0", "0", "0", "0", "1", "2", "0", "0",
                                      "0", "N", "3", "5", "0", "40", "9", "0", "40"});
  const std::string huge = "\"1\",\"21\",\"2\",\"1\",\"" + std::string(9000, 'x') + "\"\n";
  const std::string line3 = dataLine({"2", "21", "2", "2", "After", "0", "0", "0", "0", "0", "0", "1", "1", "0", "0",
                                      "0", "N", "0", "5", "0", "25", "0", "1", "25"});
  writeBytes(stats("DoneTasks_2021_2.csv"), kHeader + line1 + huge + line3);
  app.start.today = {2021, 2, 1, 0};

  EXPECT_EQ(loadCurrentMonthDoneTasks(app), 3);
  ASSERT_EQ(app.doneArchive.currentMonth.size(), 2u);
  EXPECT_EQ(app.doneArchive.currentMonth[0].description, u"中文任务");
  EXPECT_EQ(app.doneArchive.currentMonth[0].category, 3);
  EXPECT_EQ(app.doneArchive.currentMonth[0].projectId, 9);
  EXPECT_EQ(app.doneArchive.currentMonth[1].description, u"After");
  EXPECT_EQ(app.doneArchive.currentMonth[1].inProgress, 1);
  const auto log = logLines();
  EXPECT_NE(std::find(log.begin(), log.end(), "Opening CurMthDoneTasks file: .\\stats\\DoneTasks_2021_2.csv"),
            log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "loadCurrentMonthDoneTasks() line 2 longer than 8192 bytes, skipped"),
            log.end());
  EXPECT_EQ(log.back(), "Read 3 rows");

  // No file of the month at all.
  app.start.today = {2021, 4, 1, 0};
  EXPECT_EQ(loadCurrentMonthDoneTasks(app), 0);
  EXPECT_TRUE(app.doneArchive.currentMonth.empty());
}

TEST_F(DoneArchiveTest, WeeklyListTakesTheCodePageCutToWholeCharacters) {
  openDoneArchive(app, 2021, 2, 1, 1);
  TodoRow r;
  r.done = 1;
  r.text = u"Résumé";
  appendDoneTaskRow(app, r, false, 0);
  // 100 characters of two bytes each: 89 of them fill 178 of the 179 bytes.
  r.text = u16(100, u'中');
  appendDoneTaskRow(app, r, false, 0);
  // A line break would split the record in two; it is kept as a blank.
  r.text = u"two\r\nlines";
  appendDoneTaskRow(app, r, false, 0);
  closeDoneArchive(app);

  const std::string weekly = readBytes(stats("WeeklyDone_2021_ 5.txt"));
  const std::string chinese = system.utf16ToAnsi(u16(89, u'中'));
  ASSERT_EQ(chinese.size(), 178u);
  const std::string tail = "R\xE9sum\xE9\r\n" + chinese + "\r\ntwo  lines\r\n";
  ASSERT_GE(weekly.size(), tail.size());
  EXPECT_EQ(weekly.substr(weekly.size() - tail.size()), tail);

  const std::string m00 = test::fromLe(readBytes(stats("DoneTasks_2021_2.m00")));
  EXPECT_NE(m00.find(",\"two  lines\","), std::string::npos);
  EXPECT_EQ(std::count(m00.begin(), m00.end(), '\n'), 4);
}

TEST_F(DoneArchiveTest, MissingStatsFolderIsLoggedAndNothingIsAppended) {
  fs::remove(path("stats"));
  openDoneArchive(app, 2021, 2, 1, 1);
  EXPECT_EQ(app.doneArchive.monthFile, kInvalidFile);
  EXPECT_EQ(app.doneArchive.weeklyFile, kInvalidFile);
  appendDoneTaskRow(app, sampleRow(), false, 10);
  appendDoneCloudRecord(app, CloudDoneRecord{});
  closeDoneArchive(app);
  EXPECT_FALSE(fs::exists(path("stats")));
  const auto log = logLines();
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& l) { return l.rfind("CreateFile last error ", 0) == 0; }),
            2);
}

// Hand-made month files for the queries.
class DoneArchiveQueryTest : public DoneArchiveTest {
 protected:
  static std::string line(int day, int dow, const std::string& text, int prj, int cat, int minutes, int month = 2) {
    return dataLine({std::to_string(dow), "21", std::to_string(month), std::to_string(day), text, "0", "0", "0", "0",
                     "0", "0", "1", "1", "0", "0", "0", "N", std::to_string(cat), "5", "0", "0", std::to_string(prj),
                     "0", std::to_string(minutes)});
  }
  void SetUp() override {
    writeBytes(stats("DoneTasks_2021_1.m00"), le(kHeader + line(31, 0, "Jan", 5, 2, 7, 1)));
    writeBytes(stats("DoneTasks_2021_2.m00"),
               le(kHeader + line(3, 3, "Write", 5, 2, 30) + line(3, 3, "Read", 6, 1, 20) +
                  line(4, 4, "Write", 5, 1, 10) + line(3, 3, "Write", 5, 2, 15) + line(9, 2, "Late", 5, 2, 99)));
  }
  static DayGroup group(int day, int dow, int minutes, int month = 2, int week = 5) {
    return DayGroup{21, static_cast<std::uint8_t>(month), static_cast<std::uint8_t>(day),
                    static_cast<std::uint8_t>(dow), static_cast<std::uint8_t>(week),
                    static_cast<std::uint16_t>(minutes)};
  }
};

TEST_F(DoneArchiveQueryTest, DaysAreGroupedWhereTheyStandInTheFile) {
  const auto r = queryDoneArchive({2021, 1, 31}, {2021, 2, 8}, ArchiveQueryMode::Entries, 0, u"", nullptr);
  EXPECT_EQ(r.groups, (std::vector<DayGroup>{group(31, 0, 7, 1), group(3, 3, 50), group(4, 4, 10), group(3, 3, 15)}));
  EXPECT_EQ(r.totalMinutes, 82);
  EXPECT_EQ(r.maxDayMinutes, 50);
  ASSERT_EQ(r.entries.size(), 5u);
  EXPECT_EQ(r.entries[0].description, u"Jan");
  EXPECT_EQ(r.entries[4].minutesWorked, 15);
}

TEST_F(DoneArchiveQueryTest, FiltersByProjectCategoryOrTextAndAddsTheExtraDay) {
  const DayGroup today = group(10, 3, 60);
  auto r = queryDoneArchive({2021, 2, 1}, {2021, 2, 28}, ArchiveQueryMode::Project, 5, u"", &today);
  EXPECT_EQ(r.groups, (std::vector<DayGroup>{group(3, 3, 30), group(4, 4, 10), group(3, 3, 15), group(9, 2, 99), today}));
  EXPECT_EQ(r.totalMinutes, 30 + 10 + 15 + 99 + 60);
  EXPECT_EQ(r.maxDayMinutes, 99);
  EXPECT_TRUE(r.entries.empty());

  r = queryDoneArchive({2021, 2, 1}, {2021, 2, 28}, ArchiveQueryMode::Category, 1, u"", nullptr);
  EXPECT_EQ(r.groups, (std::vector<DayGroup>{group(3, 3, 20), group(4, 4, 10)}));

  const DayGroup big = group(10, 3, 500);
  r = queryDoneArchive({2021, 2, 1}, {2021, 2, 8}, ArchiveQueryMode::Text, 0, u"Write", &big);
  EXPECT_EQ(r.groups, (std::vector<DayGroup>{group(3, 3, 30), group(4, 4, 10), group(3, 3, 15), big}));
  EXPECT_EQ(r.maxDayMinutes, 500);
  EXPECT_EQ(r.totalMinutes, 555);

  // Nothing matches: one empty day still closes the list.
  r = queryDoneArchive({2021, 2, 1}, {2021, 2, 28}, ArchiveQueryMode::Text, 0, u"write", nullptr);
  EXPECT_EQ(r.groups, std::vector<DayGroup>{DayGroup{}});
  EXPECT_EQ(r.totalMinutes, 0);
}

TEST_F(DoneArchiveQueryTest, MonthsWithoutAReadableFileAreSkipped) {
  // March has no file and April's name is taken by a folder; the walk crosses the year end.
  fs::create_directory(stats("DoneTasks_2021_4.m00"));
  writeBytes(stats("DoneTasks_2022_1.m00"), le(kHeader + dataLine({"1", "22", "1", "3", "Next year", "0", "0", "0", "0",
                                                                   "0", "0", "1", "1", "0", "0", "0", "N", "0", "1",
                                                                   "0", "0", "0", "0", "45"})));
  const auto r = queryDoneArchive({2021, 2, 9}, {2022, 1, 3}, ArchiveQueryMode::Entries, 0, u"", nullptr);
  EXPECT_EQ(r.groups, (std::vector<DayGroup>{group(9, 2, 99), DayGroup{22, 1, 3, 1, 1, 45}}));
  EXPECT_EQ(r.totalMinutes, 144);
}

TEST_F(DoneArchiveQueryTest, HugeNumbersOfALineStayInRangeAndSumWithoutOverflow) {
  const std::string big = "2147483647";
  const std::string huge = dataLine({"9", big, "2", "20", "Huge", "0", "0", "0", "0", "0", "0", "1", big, "0", "0", "0",
                                     "N", big, big, "0", big, "5", big, big});
  DoneTaskEntry e;
  ASSERT_TRUE(parseDoneTaskLine(utf8ToUtf16(huge.substr(0, huge.size() - 1)), e));
  EXPECT_EQ(std::tie(e.year, e.dayOfWeek, e.week, e.inProgress), std::make_tuple(2255, 0, 0, 1));
  EXPECT_EQ(std::tie(e.minutesWorked, e.totalMinutes, e.pomodoros, e.category),
            std::make_tuple(kMaxMinutesToday, kMaxPastMinutes, 255, 0));

  // With a year in reach, three such lines sum to three whole days.
  std::string inReach = huge;
  inReach.replace(inReach.find(big), big.size(), "21");
  writeBytes(stats("DoneTasks_2021_2.m00"), le(kHeader + inReach + inReach + inReach));
  writeBytes(stats("DoneTasks_2021_3.m00"), le(kHeader + line(1, 1, "Normal", 5, 2, 30, 3)));
  const DayGroup extra = group(2, 2, 65535, 3);
  const auto r = queryDoneArchive({2021, 2, 1}, {2021, 3, 31}, ArchiveQueryMode::Entries, 0, u"", &extra);
  ASSERT_EQ(r.entries.size(), 4u);
  EXPECT_EQ(r.groups[0].minutes, 3 * kMaxMinutesToday);
  EXPECT_EQ(r.groups[0].dayOfWeek, 0);
  EXPECT_EQ(r.totalMinutes, 3 * kMaxMinutesToday + 30 + 65535);
  EXPECT_EQ(r.maxDayMinutes, 65535);
}

}  // namespace
}  // namespace tirelmo
