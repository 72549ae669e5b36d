#include <gtest/gtest.h>

#include <string>

#include "base/log.h"
#include "stats/yesterday_tasks.h"
#include "text/format.h"
#include "ui/bitmap_ids.h"
#include "ui/statistics_pages.h"
#include "unit/ui/sheet_draw_support.h"

namespace tirelmo {
namespace {

using test::DrawOp;

class PreviousDayPageTest : public test::SheetPageFixture {
 protected:
  void SetUp() override {
    useSkin(u"cleanwhite");
    app.yesterday.fromArchiveFile = true;
    app.yesterday.heading = u"On Thursday (March 4, 2021) you did";
  }
  YesterdayTask& task(u16v text, int done, int pomodoros, int category = 0) {
    YesterdayTask t;
    t.text = u16(text), t.done = done, t.pomodoros = pomodoros, t.category = category, t.age = 1;
    app.yesterday.tasks.push_back(t);
    return app.yesterday.tasks.back();
  }
  void draw(int y = 0, int h = 1 << 20) {
    view.clear();
    drawPreviousDayView(app, pages, view, y, h);
  }
};

TEST_F(PreviousDayPageTest, FortyTasksAllFitInThePageHeight) {
  for (int i = 0; i < 40; ++i) task(fmt(u"task %d", i), (i + 1) % 2, 2).minutesWorked = 30;
  draw();
  const int height = previousDayPageHeight(app);
  EXPECT_LE(view.verticalExtent().bottom, height);
  EXPECT_LE(view.findText(u"task 39")->y + 44, height);
  EXPECT_NE(view.findText(u"You completed 20 tasks"), nullptr);
  EXPECT_NE(view.findText(u"You also worked 20 tasks"), nullptr);
}

TEST_F(PreviousDayPageTest, RecordsWithUnknownCategoriesAreLeftOutAndTheRestDrawn) {
  YesterdayTask& done = task(u"done", 1, 5, 2);
  done.age = 3;
  done.minutesWorked = 75;
  task(u"corrupt", 1, 1, 99);
  task(u"corrupt too", 0, 1, -3);
  task(u"worked", 0, 2, 12).minutesWorked = 59;
  task(u"untouched", 0, 0);
  draw();

  EXPECT_NE(view.findText(u"You completed 1 task"), nullptr);
  EXPECT_NE(view.findText(u"You also worked 1 task"), nullptr);
  for (u16v hidden : {u"corrupt", u"corrupt too", u"untouched"}) EXPECT_EQ(view.findText(hidden), nullptr);
  const auto squares = view.bitmaps(kBmpCategorySquares);
  ASSERT_EQ(squares.size(), 2u);
  EXPECT_EQ(squares[0].sx, 2 * 18);
  EXPECT_EQ(squares[1].sx, 12 * 18);

  // The done line: its minutes, age, the count of five pomodoros with one icon.
  EXPECT_NE(view.findText(u"1h:15'"), nullptr);
  EXPECT_NE(view.findText(u"in 3 days"), nullptr);
  EXPECT_NE(view.findText(u"5"), nullptr);
  EXPECT_NE(view.findText(u"59'"), nullptr);
  const int doneY = view.findText(u"done")->y;
  const int workedY = view.findText(u"worked")->y;
  EXPECT_EQ(view.spritesIn(0, doneY, kPageWidth, 1, kCellPomodoro).size(), 1u);
  EXPECT_EQ(view.spritesIn(0, workedY, kPageWidth, 1, kCellPomodoro).size(), 2u);
  EXPECT_EQ(view.spritesIn(0, doneY, kPageWidth, 1, kCellDone).size(), 1u);
  EXPECT_EQ(view.spritesIn(0, workedY, kPageWidth, 1, kCellDone).size(), 0u);

  // Each record left out is logged once when the page is laid out.
  test::TempDir dir;
  processLog().open();
  previousDayPageHeight(app);
  processLog().closeOnFailedStart();
  const std::string log = test::fromLe(test::readBytes(dir.native() + "/Tirelmo_v2.3.3_log.txt"));
  const std::string line = "vYesterdayTaskList: Discarding corrupted element!\r\n";
  const std::size_t first = log.find(line);
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(log.find(line, first + 1), std::string::npos);
  EXPECT_EQ(log.find(line, log.find(line, first + 1) + 1), std::string::npos);
}

TEST_F(PreviousDayPageTest, AnEmptyListSaysSoAlone) {
  app.start.firstRunToday = false;
  draw();
  ASSERT_EQ(view.ops.size(), 1u);
  EXPECT_EQ(view.ops[0].text, u"On Thursday (March 4, 2021) you did you started no tasks.");

  app.start.firstRunToday = true;
  app.yesterday.month = 0;
  draw();
  ASSERT_EQ(view.ops.size(), 1u);
  EXPECT_EQ(view.ops[0].text, u"You started no tasks");
  EXPECT_EQ(previousDayPageHeight(app), 2000);
}

}  // namespace
}  // namespace tirelmo
