#include <gtest/gtest.h>

#include <algorithm>

#include "stats/done_tasks.h"
#include "text/format.h"
#include "ui/bitmap_ids.h"
#include "ui/statistics_pages.h"
#include "unit/ui/sheet_draw_support.h"

namespace tirelmo {
namespace {

using test::DrawOp;
using test::OpKind;

constexpr Rgb kThin = rgb(205, 193, 175);
constexpr Rgb kDay = rgb(221, 166, 0);

class HistoryPageTest : public test::SheetPageFixture {
 protected:
  void SetUp() override { useSkin(u"cleanwhite"); }

  DoneTaskEntry& entry(int day, u16v text = u"task", bool done = false) {
    DoneTaskEntry e;
    e.year = 2021, e.month = 3, e.day = day, e.description = u16(text), e.inProgress = done ? 0 : 1;
    app.doneArchive.currentMonth.push_back(e);
    return app.doneArchive.currentMonth.back();
  }
  void draw(int y = 0, int h = 1 << 20) {
    view.clear();
    drawHistoryView(app, pages, view, y, h);
  }
  // The day separators: (top, colour, label) in drawing order.
  struct Sep {
    int y;
    Rgb colour;
    u16 label;
    friend bool operator==(const Sep&, const Sep&) = default;
  };
  std::vector<Sep> separators() const {
    std::vector<Sep> out;
    for (const DrawOp& op : view.ops)
      if (op.kind == OpKind::Line && op.x == 0 && op.x2 == 95 && op.y == op.y2) out.push_back({op.y, op.color, {}});
    for (Sep& s : out)
      for (const DrawOp& t : view.texts())
        if (t.x == 6 && t.y == s.y + 4) s.label = t.text;
    return out;
  }
};

TEST_F(HistoryPageTest, SeparatorsRunFromTheFirstOfTheMonthToTheLastEntryOnly) {
  entry(5, u"first");
  entry(5, u"second");
  entry(7, u"third");
  draw();
  const std::vector<Sep> expected = {{460, kThin, u"Mon 1"}, {498, kThin, u"Tue 2"}, {536, kThin, u"Wed 3"},
                                     {574, kThin, u"Thu 4"}, {612, kDay, u"Fri 5"},  {732, kThin, u"Sat 6"},
                                     {770, kDay, u"Sun 7"}};
  EXPECT_EQ(separators(), expected);
  EXPECT_EQ(view.findText(u"first")->y, 672);
  EXPECT_EQ(view.findText(u"second")->y, 702);
  EXPECT_EQ(view.findText(u"third")->y, 830);
  EXPECT_NE(view.findText(u"Worked Todos  - March 2021"), nullptr);

  app.settings.language = u"Chinese (Simplified)";
  draw();
  EXPECT_NE(view.findText(u"工作任务清单 - 2021年 3月"), nullptr);
  EXPECT_EQ(separators().front().label, u"周一 1");
}

TEST_F(HistoryPageTest, DaysGoingBackOrNamingNoDayAddNoSeparators) {
  entry(3);
  for (int day : {2, 0, -7, 40, 1000000}) entry(day);
  entry(4, u"last");
  draw();
  const std::vector<Sep> seps = separators();
  ASSERT_EQ(seps.size(), 4u);
  EXPECT_EQ(seps[2], (Sep{536, kDay, u"Wed 3"}));
  EXPECT_EQ(seps[3], (Sep{596 + 6 * 30, kDay, u"Thu 4"}));
  EXPECT_EQ(view.findText(u"last")->y, 596 + 6 * 30 + 60);
}

TEST_F(HistoryPageTest, EntriesLookTheirStateAndFileValuesStayInRange) {
  DoneTaskEntry& done = entry(1, u"done", true);
  done.totalMinutes = 75;
  done.minutesWorked = 59;
  done.category = 3;
  DoneTaskEntry& bad = entry(1, u"bad");
  bad.category = 99;
  bad.minutesWorked = -40;
  bad.totalMinutes = -5;
  DoneTaskEntry& negative = entry(1, u"negative category");
  negative.category = -1;
  draw();

  EXPECT_TRUE(view.findText(u"done")->font.strikeOut);
  EXPECT_EQ(view.findText(u"done")->color, rgb(106, 106, 130));
  EXPECT_FALSE(view.findText(u"bad")->font.strikeOut);
  EXPECT_NE(view.findText(u"59'"), nullptr);
  EXPECT_NE(view.findText(u"(Done in 1:15')"), nullptr);
  // The negative minutes show nowhere: only the two labels of the done entry carry minutes.
  const auto minuteLabels = view.textsContaining(u"'");
  EXPECT_EQ(std::count_if(minuteLabels.begin(), minuteLabels.end(), [](const DrawOp& t) { return t.y >= 460; }), 2);
  // Only the real category gets its square, from its own cell.
  const auto squares = view.bitmaps(kBmpCategorySquares);
  ASSERT_EQ(squares.size(), 1u);
  EXPECT_EQ(squares[0].sx, 3 * 18);
  EXPECT_EQ(view.spritesIn(0, 0, kPageWidth, 100000, kCellDone).size(), 1u);
}

TEST_F(HistoryPageTest, AnEmptyMonthShowsNoRecordAlone) {
  draw();
  ASSERT_EQ(view.ops.size(), 1u);
  EXPECT_EQ(view.ops[0].text, u"(No record)");
  EXPECT_EQ(std::tie(view.ops[0].x, view.ops[0].y), std::make_tuple(50, 460));
  EXPECT_EQ(historyPageHeight(app), 2000);
}

TEST_F(HistoryPageTest, ABandDeepInABusyMonthDrawsItsRowsWhereTheWholePageHasThem) {
  for (int day = 1; day <= 28; ++day)
    for (int i = 0; i < 25; ++i) entry(day, fmt(u"task %d-%d", day, i));
  const int height = historyPageHeight(app);
  draw();
  const DrawOp last = *view.findText(u"task 28-24");
  EXPECT_LE(last.y + last.h, height);

  draw(last.y - 100, 200);
  const DrawOp* again = view.findText(u"task 28-24");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->y, last.y);
  EXPECT_EQ(view.findText(u"task 1-0"), nullptr);
  EXPECT_LT(view.texts().size(), 20u);
}

}  // namespace
}  // namespace tirelmo
