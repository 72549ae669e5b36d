#include <gtest/gtest.h>

#include "app/app.h"
#include "support/fakes.h"
#include "support/recording_canvas.h"
#include "ui/pages.h"
#include "ui/statistics_pages.h"

namespace tirelmo::test {
namespace {

constexpr Rgb kCompletedPen = rgb(110, 190, 80);
constexpr Rgb kWorkedPen = rgb(164, 217, 242);
constexpr Rgb kInternalPen = rgb(255, 255, 40);
constexpr Rgb kExternalPen = rgb(240, 90, 90);

class PerformancePageTest : public ::testing::Test {
 protected:
  PerformancePageTest() : app(clock, prompts, system), pages(graphics) {
    app.start.today = DayDate{2021, 3, 5, 9};  // Wednesday 10 March 2021
    pages.windowWidth = 1350;
  }
  DayStats& day(int day0) {
    auto& d = app.month.days[static_cast<std::size_t>(day0)];
    d.used = 1;
    return d;
  }
  RecordingSurface& draw() {
    view.clear();
    drawPerformanceView(app, pages, view, 0, 2000);
    return view;
  }
  // The vertical lines of a pen colour: its bars (the legend samples are horizontal).
  std::vector<DrawOp> bars(Rgb pen) {
    std::vector<DrawOp> out;
    for (const auto& op : view.ofKind(OpKind::Line)) {
      if (op.color == pen && op.x == op.x2) out.push_back(op);
    }
    return out;
  }

  FakeClock clock;
  ScriptedPrompts prompts;
  FakeSystem system;
  App app;
  RecordingGraphics graphics;
  PageSet pages;
  RecordingSurface view{graphics, kPageWidth, 2000};
};

TEST_F(PerformancePageTest, PomodoroScaleFollowsTheLargestDay) {
  // Largest day 2 (scale 12), 7 (scale 9), 8 (scale 9); the bar is value x 240 / scale.
  for (auto [largest, ymax] : {std::pair{2, 12}, std::pair{7, 9}, std::pair{8, 9}}) {
    app.month.clear();
    day(8).pomodoros = static_cast<std::uint8_t>(largest);
    draw();
    const auto green = bars(kCompletedPen);
    ASSERT_EQ(green.size(), 1u) << largest;
    EXPECT_EQ(green[0].y, 805);
    EXPECT_EQ(green[0].y - green[0].y2, largest * 240 / ymax) << largest;
  }
}

TEST_F(PerformancePageTest, WorkedTimeRoundsTheBarUpAndLabelsTheExactTime) {
  day(2).setWorkedTime(3 * 60 + 31);
  draw();
  const auto blue = bars(kWorkedPen);
  ASSERT_EQ(blue.size(), 1u);
  EXPECT_EQ(blue[0].y - blue[0].y2, 4 * 240 / 5);  // a 4-hour bar on a 5-hour scale
  const DrawOp* label = view.findText(u"3:31");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->font.angleTenths, 120);
  EXPECT_EQ(label->y, 423 - 4 * 240 / 5);
  EXPECT_NE(view.findText(u"3 hrs : 31 min"), nullptr);
}

TEST_F(PerformancePageTest, HundredsOfInterruptionsStayInsideTheFrame) {
  day(3).internalInterruptions = 120;
  day(4).externalInterruptions = 60;
  draw();
  const auto internal = bars(kInternalPen);
  const auto external = bars(kExternalPen);
  ASSERT_EQ(internal.size(), 1u);
  ASSERT_EQ(external.size(), 1u);
  for (const auto& b : {internal[0], external[0]}) {
    EXPECT_GE(std::min(b.y, b.y2), 925);
    EXPECT_LE(std::max(b.y, b.y2), 1165);
  }
  // The scale follows the largest day, so the two bars keep their proportion.
  EXPECT_EQ(internal[0].y - internal[0].y2, 120 * 240 / 121);
  EXPECT_EQ(external[0].y - external[0].y2, 60 * 240 / 121);
}

TEST_F(PerformancePageTest, UnusedDaysAndDaysAfterTodayAreNotDrawn) {
  app.month.days[1].pomodoros = 5;  // not marked as used
  draw();
  EXPECT_TRUE(bars(kCompletedPen).empty());
  // The day axis runs from the 1st to today, the 10th.
  int dayLabels = 0;
  for (const auto& t : view.texts()) dayLabels += t.y == 450 ? 1 : 0;
  EXPECT_EQ(dayLabels, 10);
  EXPECT_NE(view.findText(u"- Your Performance in March 2021 -"), nullptr);

  app.settings.language = u"Chinese (Simplified)";  // year before month
  draw();
  EXPECT_NE(view.findText(u"- 您在2021年3月的表现 -"), nullptr);
}

}  // namespace
}  // namespace tirelmo::test
