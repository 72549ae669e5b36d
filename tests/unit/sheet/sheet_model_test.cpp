#include <gtest/gtest.h>

#include "base/dates.h"
#include "sheet/sheet.h"
#include "support/fakes.h"
#include "text/scan.h"

namespace tirelmo {
namespace {

TodoSheet sheetWithTasks(std::initializer_list<int> rows) {
  TodoSheet s;
  for (int r : rows) s.rows[static_cast<std::size_t>(r)].text = u"task " + utf8ToUtf16(std::to_string(r));
  return s;
}

TEST(Separator, GoesToTheFirstFreeRowFromTwelve) {
  TodoSheet s = sheetWithTasks({0, 1, 12, 13});
  placeSeparatorRow(s);
  EXPECT_EQ(s.separatorIndex, 14);
  EXPECT_EQ(s.rows[14].text, kSeparatorText);
  EXPECT_EQ(s.rows[12].text, u"task 12");

  // An existing separator is left alone.
  s.rows[15].text = u"later";
  placeSeparatorRow(s);
  EXPECT_EQ(s.separatorIndex, 14);
}

TEST(Separator, NeverOverwritesTheTaskInRowEighteen) {
  TodoSheet s = sheetWithTasks({12, 13, 14, 15, 16, 17, 18, 19});
  s.rows[18].pomodoros = 3;
  s.rows[18].info.projectId = 7;
  placeSeparatorRow(s);
  EXPECT_EQ(s.separatorIndex, 18);
  EXPECT_EQ(s.rows[18].text, kSeparatorText);
  EXPECT_EQ(s.rows[18].pomodoros, 0);
  // The task moved, whole, to the first free row below.
  EXPECT_EQ(s.rows[20].text, u"task 18");
  EXPECT_EQ(s.rows[20].pomodoros, 3);
  EXPECT_EQ(s.rows[20].info.projectId, 7);
}

TEST(Separator, TaskMovesAboveWhenNothingBelowIsFreeAndAFullSheetGetsNone) {
  std::initializer_list<int> all12to24 = {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
  TodoSheet s = sheetWithTasks(all12to24);
  placeSeparatorRow(s);
  EXPECT_EQ(s.separatorIndex, 18);
  EXPECT_EQ(s.rows[0].text, u"task 18");

  TodoSheet full;
  for (int r = 0; r < kSheetRows; ++r) full.rows[static_cast<std::size_t>(r)].text = u"t";
  placeSeparatorRow(full);
  EXPECT_EQ(full.separatorIndex, -1);
  for (const TodoRow& row : full.rows) EXPECT_EQ(row.text, u"t");
}

TEST(TodaySheet, NameDateAgainstToday) {
  DayDate today{2021, 5, 5, 13};  // Friday 14 May 2021
  TodoSheet s;
  EXPECT_TRUE(isTodaySheet(s, today));
  s.sheetFileName = u"DailyTask_2021-5-14-5.pm6";
  EXPECT_TRUE(isTodaySheet(s, today));
  s.sheetFileName = u"DailyTask_2021-5-13-4.pm6";
  EXPECT_FALSE(isTodaySheet(s, today));
  s.sheetFileName = u"Daily_2021-5-14.pm6";
  EXPECT_FALSE(isTodaySheet(s, today));
}

TEST(DayTotals, SumTheRowsWithEightBitCountersAndSplitMinutes) {
  TodoSheet s;
  MonthTable month;
  s.rows[0].text = u"a";
  s.rows[0].pomodoros = 200;
  s.rows[0].done = 1;
  s.rows[0].info.minutesToday = 100;
  s.rows[1].text = u"b";
  s.rows[1].pomodoros = 100;
  s.rows[1].estimated = 4;
  s.rows[1].externalInterruptions = 2;
  s.rows[1].info.minutesToday = 25;
  recountDayTotals(s, month, 13);
  EXPECT_EQ(s.dayTotals.used, 1);
  EXPECT_EQ(s.dayTotals.pomodoros, static_cast<std::uint8_t>(300));  // wraps at 256
  EXPECT_EQ(s.dayTotals.done, 1);
  EXPECT_EQ(s.dayTotals.estimated, 4);
  EXPECT_EQ(s.dayTotals.externalInterruptions, 2);
  EXPECT_EQ(s.dayTotals.workedHours, 2);
  EXPECT_EQ(s.dayTotals.workedMinutes, 5);
  EXPECT_EQ(month.days[13].used, 1);
  EXPECT_EQ(month.days[13].pomodoros, 0);  // the table entry is copied elsewhere
}

TEST(RowRecord, CounterBytesFollowTheScoreKinds) {
  TodoRow r;
  for (int k = 0; k < kScoreKinds; ++k) r.counter(static_cast<ScoreKind>(k)) = static_cast<std::uint8_t>(10 + k);
  r.pastPomodoros = 20;
  r.pastExternal = 23;
  std::uint8_t b[10];
  r.scoreBytes(b);
  const std::uint8_t expected[10] = {10, 11, 12, 13, 14, 15, 20, 0, 0, 23};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(b[i], expected[i]) << i;
  TodoRow back;
  back.setScoreBytes(b);
  back.text = r.text;
  EXPECT_EQ(back, r);

  DayStats d;
  d.counter(ScoreKind::Done) = 4;
  d.counter(ScoreKind::ExternalInterruption) = 5;
  std::uint8_t bytes[16];
  d.toBytes(bytes);
  EXPECT_EQ(bytes[4], 4);
  EXPECT_EQ(bytes[5], 5);
  EXPECT_EQ(DayStats::fromBytes(bytes), d);
}

TEST(RowRecord, RepeatFlagAndReset) {
  TodoSheet s = sheetWithTasks({3});
  s.rows[3].info.flags = rowflag::kDeadline;
  EXPECT_TRUE(setRepeat(s, 3, true));
  EXPECT_EQ(s.rows[3].info.flags, rowflag::kDeadline | rowflag::kRepeat);
  EXPECT_TRUE(setRepeat(s, 3, false));
  EXPECT_EQ(s.rows[3].info.flags, rowflag::kDeadline);
  EXPECT_FALSE(setRepeat(s, 25, true));

  s.separatorIndex = 12;
  s.sheetFileName = u"DailyTask_2021-3-5-5.pm6";
  s.modified = true;
  s.dayTotals.pomodoros = 3;
  resetTodoSheet(s);
  EXPECT_TRUE(s.rows[3].isFree());
  EXPECT_EQ(s.rows[3], TodoRow());
  EXPECT_EQ(s.dayTotals, DayStats());
  EXPECT_EQ(s.separatorIndex, 12);
  EXPECT_TRUE(s.modified);
  EXPECT_EQ(s.sheetFileName, u"DailyTask_2021-3-5-5.pm6");
}

TEST(Dates, WeekNumbersAndNames) {
  EXPECT_EQ(dayOfYear(2021, 12, 31), 365);
  EXPECT_EQ(dayOfYear(2020, 12, 31), 366);
  EXPECT_EQ(dayOfYear(2100, 3, 1), 61);  // the archive's rule: every fourth year is leap
  EXPECT_EQ(weekNumber(2021, 12, 31, 5), (365 - 5 + 10) / 7);
  EXPECT_EQ(weekNumber(2021, 1, 1, 5), 0);
  EXPECT_EQ(dayOfWeekOf(2021, 5, 14), 5);
  EXPECT_EQ(dayOfWeekOf(2000, 2, 29), 2);
  EXPECT_EQ(u16v(dayNameEnglish(0)), u"Sunday");
  EXPECT_EQ(u16v(monthNameEnglish(12)), u"December");
  EXPECT_EQ(u16v(monthNameEnglish(13)), u"");
}

TEST(Scan, LikeSscanfForFileNames) {
  int v[4] = {};
  EXPECT_EQ(scanInts(u"DailyTask_2021-5-14-5.pm6", u"DailyTask_%d-%d-%d-%d", v, 4), 4);
  EXPECT_EQ(v[0], 2021);
  EXPECT_EQ(v[3], 5);
  EXPECT_EQ(scanInts(u"DailyTask_2021-5-14.pom", u"DailyTask_%d-%d-%d-%d", v, 4), 3);
  EXPECT_EQ(scanInts(u"Other_2021", u"DailyTask_%d", v, 4), 0);
  EXPECT_EQ(scanInts(u"DailyTask_-3", u"DailyTask_%d", v, 1), 1);
  EXPECT_EQ(v[0], -3);
}

}  // namespace
}  // namespace tirelmo
