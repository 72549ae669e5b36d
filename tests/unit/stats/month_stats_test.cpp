#include "stats/month_stats.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/app.h"
#include "base/log.h"
#include "support/fakes.h"

namespace tirelmo {
namespace {

using test::fromLe;
using test::readBytes;
using test::writeBytes;

// The month-file scrambler worked from its description: one run over the whole table, key
// "marbella" by byte position, carry from 1, rotate left by 3, next carry = low two bits.
std::string handScramble(const std::string& plain) {
  static const char key[] = "marbella";
  std::string out(plain.size(), '\0');
  unsigned k = 1;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    unsigned t = (static_cast<unsigned char>(key[i % 8]) ^ static_cast<unsigned char>(plain[i]));
    t = (t + k) & 0xFF;
    t = ((t << 3) | (t >> 5)) & 0xFF;
    out[i] = static_cast<char>(t);
    k = t & 3;
  }
  return out;
}

// A 496-byte table, all zero but the records given: slot -> 16 bytes.
std::string plainTable(std::initializer_list<std::pair<int, std::string>> records) {
  std::string t(496, '\0');
  for (const auto& [slot, rec] : records) t.replace(static_cast<std::size_t>(16 * slot), rec.size(), rec);
  return t;
}

std::string rec(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

class MonthStatsTest : public ::testing::Test {
 protected:
  MonthStatsTest() : app(clock, prompts, system) {
    clock.set(2021, 5, 14, 10, 0);
    app.start.startTime = clock.now();
    app.start.today = DayDate::from(clock.now());
    app.start.userDataDir = dir.path();
    std::filesystem::create_directory(dir.native() + "/stats");
    processLog().open();
  }
  ~MonthStatsTest() override { processLog().closeOnFailedStart(); }

  std::string monthFile() const { return dir.native() + "/stats/2021-5.ats"; }
  std::string log() const { return fromLe(readBytes(dir.native() + "/Tirelmo_v2.3.3_log.txt")); }
  bool logged(const std::string& line) const { return log().find(line + "\r\n") != std::string::npos; }
  const DayStats& slot(int i) const { return app.month.days[static_cast<std::size_t>(i)]; }

  test::TempDir dir;
  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app;
};

TEST_F(MonthStatsTest, TheFileIsNamedWithoutLeadingZerosAndHoldsTheScrambledTable) {
  EXPECT_EQ(monthStatsPath(app), dir.path() + u"\\stats\\2021-5.ats");

  app.month.days[0] = DayStats::fromBytes(reinterpret_cast<const std::uint8_t*>(
      rec({1, 4, 1, 2, 1, 3, 5, 2, 5, 0, 0, 0, 0, 0, 0, 0}).data()));
  app.month.days[30].used = 1;
  app.month.days[30].workedMinutes = 59;
  ASSERT_TRUE(SaveMonthStatData(app));
  EXPECT_TRUE(logged("Saving Month Stats.. " + dir.native() + "\\stats\\2021-5.ats"));

  const std::string file = readBytes(monthFile());
  ASSERT_EQ(file.size(), 496u);
  // Worked by hand: ('m' ^ 1) + 1 = 0x6D, rotated 0x6B, carry 3; ('a' ^ 4) + 3 = 0x68,
  // rotated 0x43, carry 3.
  EXPECT_EQ(static_cast<unsigned char>(file[0]), 0x6B);
  EXPECT_EQ(static_cast<unsigned char>(file[1]), 0x43);
  EXPECT_EQ(file, handScramble(plainTable({{0, rec({1, 4, 1, 2, 1, 3, 5, 2, 5})},
                                           {30, rec({1, 0, 0, 0, 0, 0, 0, 0, 59})}})));
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MonthStatsTest, LoadingKeepsOtherDaysAndPutsTodayFromTheSheet) {
  writeBytes(monthFile(), handScramble(plainTable({{2, rec({1, 6, 0, 1, 2, 0, 8, 3, 0})},
                                                   {13, rec({1, 9, 9, 9, 9, 9, 9, 9, 9})}})));
  app.sheet.dayTotals.pomodoros = 2;
  app.sheet.dayTotals.estimated = 4;

  LoadMonthStatData(app);
  EXPECT_EQ(slot(2).used, 1);
  EXPECT_EQ(slot(2).pomodoros, 6);
  EXPECT_EQ(slot(2).done, 2);
  EXPECT_EQ(slot(2).estimated, 8);
  EXPECT_EQ(slot(2).workedHours, 3);
  // Day 14 is today: the file's record gives way to the sheet's.
  DayStats today = app.sheet.dayTotals;
  EXPECT_EQ(today.used, 1);
  EXPECT_EQ(slot(13), today);
  EXPECT_EQ(slot(13).internalInterruptions, 0);
  for (int i : {0, 1, 3, 12, 14, 30}) EXPECT_EQ(slot(i), DayStats()) << i;

  EXPECT_TRUE(logged("Loading Month Stats.. " + dir.native() + "\\stats\\2021-5.ats"));
  EXPECT_TRUE(logged("Month Stat data loaded"));
}

TEST_F(MonthStatsTest, ARecordIsReadWithinItsRanges) {
  // Used flag 7 and 200 minutes: a flag and at most 59.
  writeBytes(monthFile(), handScramble(plainTable({{2, rec({7, 255, 255, 255, 255, 255, 255, 255, 200})}})));
  LoadMonthStatData(app);
  EXPECT_EQ(slot(2).used, 1);
  EXPECT_EQ(slot(2).pomodoros, 255);
  EXPECT_EQ(slot(2).workedHours, 255);
  EXPECT_EQ(slot(2).workedMinutes, 59);
}

TEST_F(MonthStatsTest, WorkedTimeIsStoredAsHoursAndMinutes) {
  app.sheet.sheetFileName = u"DailyTask_2021-5-14-5.pm6";
  app.sheet.rows[0].text = u"a";
  app.sheet.rows[0].info.minutesToday = 100;
  app.sheet.rows[3].text = u"b";
  app.sheet.rows[3].info.minutesToday = 25;
  recountDayTotals(app.sheet, app.month, app.todaySlot());
  copyDayTotalsToMonth(app);
  ASSERT_TRUE(SaveMonthStatData(app));
  const std::string file = readBytes(monthFile());
  EXPECT_EQ(file, handScramble(plainTable({{13, rec({1, 0, 0, 0, 0, 0, 0, 2, 5})}})));
}

TEST_F(MonthStatsTest, EmptyShortAndLongFiles) {
  app.sheet.dayTotals.done = 1;

  writeBytes(monthFile(), "");
  LoadMonthStatData(app);
  EXPECT_TRUE(logged("Completing Month data loading.."));
  EXPECT_TRUE(logged("ERROR_HANDLE_EOF "));
  for (int i = 0; i < kMonthDays; ++i)
    EXPECT_EQ(slot(i), i == 13 ? app.sheet.dayTotals : DayStats()) << i;
  EXPECT_EQ(slot(13).used, 1);

  // Two and a half records: what is there loads, the rest of the table is zero (not the
  // descrambled form of padding).
  const std::string full = handScramble(plainTable({{0, rec({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 0, 0, 0, 0})},
                                                    {1, rec({1, 1, 1, 1, 1, 1, 1, 1, 1})},
                                                    {2, rec({1, 7, 7, 7, 7, 7, 7, 7, 7})},
                                                    {5, rec({1, 5})}}));
  writeBytes(monthFile(), full.substr(0, 40));
  LoadMonthStatData(app);
  EXPECT_EQ(slot(0).pomodoros, 2);
  EXPECT_EQ(slot(0).workedMinutes, 9);
  EXPECT_EQ(slot(1).workedMinutes, 1);
  EXPECT_EQ(slot(2).used, 1);
  EXPECT_EQ(slot(2).workedHours, 7);
  EXPECT_EQ(slot(2).workedMinutes, 0);  // byte 40, the first one cut off
  for (int i : {3, 4, 5, 12, 14, 30}) EXPECT_EQ(slot(i), DayStats()) << i;

  // A longer file: only the table is read.
  writeBytes(monthFile(), full + std::string("\x01\x02\x03\x04", 4));
  LoadMonthStatData(app);
  EXPECT_EQ(slot(5).pomodoros, 5);
  EXPECT_EQ(slot(2).pomodoros, 7);
}

TEST_F(MonthStatsTest, AMissingFileIsLoggedAndTodayIsStillRecorded) {
  app.month.days[3].used = 1;  // left from an earlier month
  app.sheet.dayTotals.estimated = 3;
  LoadMonthStatData(app);
  EXPECT_NE(log().find("LoadMonthStatData last error 2: "), std::string::npos);
  EXPECT_EQ(slot(3), DayStats());
  EXPECT_EQ(slot(13).used, 1);
  EXPECT_EQ(slot(13).estimated, 3);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MonthStatsTest, FailedSavesAreReportedAndKeepTheOldFile) {
  app.month.days[0].used = 1;
  // The file's folder is missing: it cannot be created.
  std::filesystem::remove_all(dir.native() + "/stats");
  EXPECT_FALSE(SaveMonthStatData(app));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Error Saving Month Stats File!");
  EXPECT_EQ(prompts.shown[0].caption, u"Error");
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Warning);
  EXPECT_NE(log().find("SaveMonthStatData last error "), std::string::npos);
  EXPECT_EQ(app.month.days[0].used, 1);

  // The new file is written but cannot take the old one's place.
  std::filesystem::create_directories(monthFile());
  EXPECT_FALSE(SaveMonthStatData(app));
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[1].text, u"Error Saving Month Stats data!");
  EXPECT_EQ(prompts.shown[1].caption, u"Error");
  EXPECT_TRUE(std::filesystem::is_directory(monthFile()));

  app.settings.language = u"Chinese (Simplified)";
  std::filesystem::remove_all(dir.native() + "/stats");
  SaveMonthStatData(app);
  EXPECT_EQ(prompts.shown.back().text, u"保存月度统计文件时出错！");
}

}  // namespace
}  // namespace tirelmo
