#include "ui/time_per_day.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/app.h"
#include "support/fakes.h"
#include "support/recording_canvas.h"
#include "unit/storage/storage_fixture.h"

namespace tirelmo {
namespace {

using test::DrawOp;
using test::OpKind;

constexpr Rgb kBar = rgb(108, 119, 210);
constexpr Rgb kWeekend = rgb(217, 102, 146);
constexpr Rgb kWeekday = rgb(142, 146, 176);

DayGroup group(int year, int month, int day, int minutes) {
  return DayGroup{static_cast<std::uint8_t>(year - 2000), static_cast<std::uint8_t>(month),
                  static_cast<std::uint8_t>(day), 0, 0, static_cast<std::uint16_t>(minutes)};
}

class TimePerDayDrawTest : public ::testing::Test {
 protected:
  test::RecordingSurface& draw(const ArchiveQueryResult& q, ArchiveDate from, ArchiveDate to,
                               Language lang = Language::English) {
    surface = graphics.createSurface(kTimePerDayWidth, kTimePerDayHeight);
    drawTimePerDayChart(*surface, q, from, to, lang);
    return static_cast<test::RecordingSurface&>(*surface);
  }
  // The day numbers under the axis, in drawing order.
  std::vector<DrawOp> dayNumbers(const test::RecordingSurface& s) const {
    std::vector<DrawOp> out;
    for (const DrawOp& op : s.texts())
      if (op.y == TimePerDayPlot{}.bottom() + 6 && (op.color == kWeekday || op.color == kWeekend)) out.push_back(op);
    return out;
  }

  test::RecordingGraphics graphics;
  std::unique_ptr<Surface> surface;
};

TEST_F(TimePerDayDrawTest, TheRangeReadsAsDatesOfTheLanguage) {
  const ArchiveDate from{2026, 11, 8}, to{2026, 12, 8};
  EXPECT_NE(draw({}, from, to).findText(u"November 8, 2026 - December 8, 2026"), nullptr);
  EXPECT_NE(draw({}, from, to, Language::ChineseSimplified).findText(u"2026年11月8日 - 2026年12月8日"), nullptr);
}

TEST_F(TimePerDayDrawTest, DayNumbersThinOutAsTheSlotsNarrow) {
  // 900 px of plot: 10 days give 81 px slots, 40 days 21 px (every day), 60 days 14 px
  // (every second), 100 days 8 px (every fourth).
  struct Case {
    ArchiveDate to;
    std::size_t labels;
    const char16_t* second;
  } cases[] = {{{2021, 3, 10}, 10, u" 2"}, {{2021, 4, 9}, 40, u" 2"}, {{2021, 4, 29}, 30, u" 3"},
               {{2021, 6, 8}, 25, u" 5"}};
  for (const Case& c : cases) {
    const auto labels = dayNumbers(draw({}, {2021, 3, 1}, c.to));
    ASSERT_EQ(labels.size(), c.labels) << c.to.month << "/" << c.to.day;
    EXPECT_EQ(labels[0].text, u" 1");
    EXPECT_EQ(labels[1].text, c.second);
  }
  // Monday 1 March 2021: the 6th and 7th are the weekend.
  const auto week = dayNumbers(draw({}, {2021, 3, 1}, {2021, 3, 10}));
  EXPECT_EQ(week[4].color, kWeekday);
  EXPECT_EQ(week[5].color, kWeekend);
  EXPECT_EQ(week[6].color, kWeekend);
  EXPECT_EQ(week[7].color, kWeekday);
}

TEST_F(TimePerDayDrawTest, BarsStandOnTheirDayWithTheirTime) {
  ArchiveQueryResult q;
  // The 3rd comes in two groups (lines apart in the file): one bar of their sum.
  q.groups = {group(2021, 3, 3, 50), group(2021, 3, 5, 45), group(2021, 3, 3, 25), group(2021, 2, 27, 300)};
  q.totalMinutes = 120;
  auto& s = draw(q, {2021, 3, 1}, {2021, 3, 10});
  const TimePerDayPlot plot;
  auto bars = s.ofKind(OpKind::Fill);
  std::erase_if(bars, [](const DrawOp& op) { return !(op.color == kBar); });
  ASSERT_EQ(bars.size(), 2u);  // the day before the range is left out
  // Two hours on the axis: (280 - 30) / 2 = 125 px an hour; 75 minutes stand 156 px.
  EXPECT_EQ(bars[0].h, 156);
  EXPECT_EQ(bars[0].y + bars[0].h, plot.bottom());
  EXPECT_LE(bars[0].w, 18);
  EXPECT_EQ(bars[1].h, 45 * 125 / 60);
  // The 3rd is slot 3 of 11 across 900 px.
  EXPECT_EQ(bars[0].x + bars[0].w / 2, plot.left + 3 * 900 / 11);

  const DrawOp* label = s.findText(u"1:15'");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->y, bars[0].y - 22);
  EXPECT_NE(s.findText(u"45'"), nullptr);
  EXPECT_NE(s.findText(u"Total Time: 2h:00'"), nullptr);
  EXPECT_NE(s.findText(u"March 1, 2021 - March 10, 2021"), nullptr);
}

TEST_F(TimePerDayDrawTest, ARangeOfYearsStaysAHandfulOfLabelsAndBars) {
  ArchiveQueryResult q;
  for (int m = 1; m <= 12; ++m)
    for (int d = 1; d <= 28; ++d) q.groups.push_back(group(2015, m, d, 30 + d));
  const ArchiveDate from{2012, 1, 1}, to{2020, 3, 19};  // 3000 days
  auto& s = draw(q, from, to);
  EXPECT_LE(dayNumbers(s).size(), 80u);
  EXPECT_LE(s.texts().size(), 200u);
  const TimePerDayPlot plot;
  for (const DrawOp& op : s.ofKind(OpKind::Fill)) {
    if (!(op.color == kBar)) continue;
    EXPECT_GE(op.x, plot.left);
    EXPECT_LE(op.x + op.w, plot.left + plot.width);
    EXPECT_GT(op.h, 0);
  }
}

TEST_F(TimePerDayDrawTest, AnEndBeforeTheStartDrawsOnlyTheBackground) {
  auto& s = draw({}, {2021, 3, 10}, {2021, 3, 1});
  ASSERT_EQ(s.ops.size(), 1u);
  EXPECT_EQ(s.ops[0].w, kTimePerDayWidth);
}

class TimePerDayQueryTest : public test::LoggedDirTest {
 protected:
  TimePerDayQueryTest() : app(clock, prompts, system) {
    app.start.today = DayDate{2021, 3, 5, 4};  // Friday 5 March 2021
    row.text = u"Write report";
    row.info.minutesToday = 40;
    // One archived line of the task on the 3rd, one of another task.
    std::filesystem::create_directory(path("stats"));
    auto line = [](const char* day, const char* text, const char* minutes) {
      return std::string("\"3\",\"21\",\"3\",\"") + day + "\",\"" + text +
             "\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"1\",\"2\",\"0\",\"0\",\"0\",\"N\",\"0\",\"10\",\"0\",\"0\",\"0\",\"0\",\"" +
             minutes + "\"\n";
    };
    test::writeBytes(path("stats/DoneTasks_2021_3.m00"),
                     test::le("\"DayOfWeek\",\n" + line("3", "Write report", "50") + line("3", "Other", "70")));
  }

  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app;
  TodoRow row;
};

TEST_F(TimePerDayQueryTest, TodaysUnarchivedMinutesJoinWhileTodayIsInTheRange) {
  auto q = queryTimePerDay(app, {2021, 3, 1}, {2021, 3, 5}, row);
  ASSERT_TRUE(q.has_value());
  EXPECT_EQ(q->totalMinutes, 50 + 40);
  ASSERT_EQ(q->groups.size(), 2u);
  EXPECT_EQ(q->groups[1].day, 5);
  EXPECT_EQ(q->groups[1].minutes, 40);

  // A later end still holds today.
  q = queryTimePerDay(app, {2021, 3, 1}, {2021, 3, 20}, row);
  EXPECT_EQ(q->totalMinutes, 90);
  // A range that ends before today, or an older sheet on display, has only the archive.
  EXPECT_EQ(queryTimePerDay(app, {2021, 3, 1}, {2021, 3, 4}, row)->totalMinutes, 50);
  app.sheet.sheetFileName = u"DailyTask_2021-3-2-2.pm6";
  EXPECT_EQ(queryTimePerDay(app, {2021, 3, 1}, {2021, 3, 5}, row)->totalMinutes, 50);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(TimePerDayQueryTest, AnEndBeforeTheStartIsRefusedWithTheDateMessage) {
  EXPECT_FALSE(queryTimePerDay(app, {2021, 3, 5}, {2021, 3, 4}, row).has_value());
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Date interval is not correctly set.");
  EXPECT_EQ(prompts.shown[0].caption, u"Date error");
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Error);
  // One day is a range.
  EXPECT_TRUE(queryTimePerDay(app, {2021, 3, 5}, {2021, 3, 5}, row).has_value());
}

}  // namespace
}  // namespace tirelmo
