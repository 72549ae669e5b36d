#include <gtest/gtest.h>

#include "ui/bitmap_ids.h"
#include "unit/ui/sheet_draw_support.h"

namespace tirelmo {
namespace {

using test::DrawOp;
using test::OpKind;
using test::Repaint;

constexpr Rgb kCountGrey = rgb(148, 159, 177);

// Large rows (the default skin "cleanwhite") with a 1000-pixel window: score left 718, rows
// top 230, row height 105, text offset (105 - 26) / 2 + 2 = 41.
class SheetRowDrawTest : public test::SheetPageFixture {
 protected:
  void SetUp() override { useSkin(u"cleanwhite"); }
  static constexpr int kTop2 = 230 + 2 * 105;  // row 2
  static constexpr int kOrigin2 = kTop2 + 41;
  std::vector<DrawOp> cells(int cell) { return drawn().spritesIn(0, 0, 1350, 3310, cell); }
};

TEST_F(SheetRowDrawTest, GeometryFollowsTheSkinAndTheWindowWidth) {
  EXPECT_EQ(pages.sheet.scoreLeft, 718);
  EXPECT_EQ(pages.sheet.textHeight, 26);
  EXPECT_EQ(pages.sheet.textOffset, 41);
}

TEST_F(SheetRowDrawTest, PomodorosAreIconsUpToThreeThenOneIconWithTheCount) {
  task(2, u"Write the report");
  row(2).pomodoros = 3;
  drawRow(2);
  auto icons = cells(kCellPomodoro);
  ASSERT_EQ(icons.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(icons[i].x, 718 + 14 + 24 * i);
    EXPECT_EQ(icons[i].y, kOrigin2 - 5);
    EXPECT_EQ(icons[i].w, 28);
    EXPECT_EQ(icons[i].h, 28);
    EXPECT_EQ(icons[i].bitmap, 106);
    EXPECT_EQ(icons[i].sy, 0);
  }
  EXPECT_TRUE(drawn().textsContaining(u" x").empty());

  row(2).pomodoros = 4;
  drawRow(2);
  icons = cells(kCellPomodoro);
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].x, 718 + 14);
  const DrawOp* count = drawn().findText(u" x4");
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(count->x, 718 + 38);
  EXPECT_EQ(count->y, kOrigin2 + 1);
  EXPECT_EQ(count->color, kCountGrey);
  EXPECT_EQ(count->font, (FontSpec{u"Microsoft YaHei", 16, false, false}));
}

TEST_F(SheetRowDrawTest, EstimatesAreIconsUpToSevenThenOneIconWithTheCount) {
  task(2, u"Plan");
  row(2).estimated = 7;
  drawRow(2);
  auto icons = cells(kCellEstimated);
  ASSERT_EQ(icons.size(), 7u);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(icons[i].x, 718 + 15 + 22 * i);
    EXPECT_EQ(icons[i].y, kOrigin2);
  }
  row(2).estimated = 8;
  drawRow(2);
  ASSERT_EQ(cells(kCellEstimated).size(), 1u);
  const DrawOp* count = drawn().findText(u" x8");
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(count->x, 718 + 37);
  EXPECT_EQ(count->y, kOrigin2 + 14);
}

TEST_F(SheetRowDrawTest, AbandonedAndInterruptionColumns) {
  struct Case {
    std::uint8_t TodoRow::*counter;
    int cell, firstX, step, iconY, textX, textY;
  };
  const Case cases[] = {
      {&TodoRow::abandoned, kCellAbandoned, 108, 22, -2, 130, 1},
      {&TodoRow::internalInterruptions, kCellInternal, 100, 8, -9, 116, -9},
      {&TodoRow::externalInterruptions, kCellExternal, 142, 12, -15, 162, -9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell);
    row(2) = TodoRow();
    task(2, u"Call back");
    row(2).*c.counter = 3;
    drawRow(2);
    auto icons = cells(c.cell);
    ASSERT_EQ(icons.size(), 3u);
    EXPECT_EQ(icons[2].x, 718 + c.firstX + 2 * c.step);
    EXPECT_EQ(icons[2].y, kOrigin2 + c.iconY);

    row(2).*c.counter = 200;
    drawRow(2);
    icons = cells(c.cell);
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].x, 718 + c.firstX);
    const DrawOp* count = drawn().findText(u" x200");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->x, 718 + c.textX);
    EXPECT_EQ(count->y, kOrigin2 + c.textY);
  }
}

TEST_F(SheetRowDrawTest, ScoreColumnMovesWithTheWindowWidth) {
  pages.windowWidth = 1300;
  updateSheetLook(pages, app);
  task(0, u"Wide");
  row(0).pomodoros = 1;
  drawRow(0);
  const auto icons = cells(kCellPomodoro);
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].x, 1300 - 282 + 14);
}

TEST_F(SheetRowDrawTest, ARowStaysInItsStripAndOnlyTheStripIsRepainted) {
  task(2, u"Write the report");
  row(2).pomodoros = 2;
  row(2).info.minutesToday = 50;
  row(2).info.category = 4;
  drawRow(2);
  ASSERT_FALSE(drawn().ops.empty());
  const auto box = drawn().verticalExtent();
  EXPECT_GE(box.top, kTop2);
  EXPECT_LE(box.bottom, kTop2 + 105);
  EXPECT_EQ(repaints, (std::vector<Repaint>{{0, kTop2, 1350, 105}}));

  // Scrolled by 100: the strip is repainted where it is on the screen.
  pages.scrollOffset[0] = 100;
  drawRow(2);
  EXPECT_EQ(repaints, (std::vector<Repaint>{{0, kTop2 - 100, 1350, 105}}));
  // Scrolled so far that the row is under the header: only its visible part.
  pages.scrollOffset[0] = 250;
  drawRow(2);
  EXPECT_EQ(repaints, (std::vector<Repaint>{{0, 231, 1350, kTop2 + 105 - 250 - 231}}));
  // Another page on display: nothing to repaint.
  pages.currentPage = 3;
  drawRow(2);
  EXPECT_TRUE(repaints.empty());
}

TEST_F(SheetRowDrawTest, OutOfRangeRowsDrawNothing) {
  for (int r : {-1, 25, 1000}) {
    drawRow(r);
    EXPECT_TRUE(drawn().ops.empty()) << r;
  }
}

TEST_F(SheetRowDrawTest, DoneRowGetsTheDoneIconAndTheDoneLook) {
  task(2, u"Finished");
  row(2).done = 1;
  drawRow(2);
  auto done = cells(kCellDone);
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0].x, 41);
  EXPECT_EQ(done[0].y, kOrigin2 - 5);

  RowEditorStyle style = rowEditorStyle(app, pages, 2);
  EXPECT_TRUE(style.done);
  EXPECT_EQ(style.color, rgb(177, 181, 207));
  EXPECT_EQ(style.font, (FontSpec{u"Buxton Sketch", 26, false, true}));
  EXPECT_EQ(rowEditorStyle(app, pages, 3).color, rgb(62, 72, 142));
  EXPECT_EQ(rowEditorStyle(app, pages, 3).font, (FontSpec{u"Buxton Sketch", 26, false, false}));

  app.sheet.readOnly = true;
  EXPECT_EQ(rowEditorStyle(app, pages, 2).color, rgb(180, 180, 180));
  EXPECT_TRUE(rowEditorStyle(app, pages, 2).font.strikeOut);
  EXPECT_EQ(rowEditorStyle(app, pages, 3).color, rgb(134, 134, 134));
  EXPECT_FALSE(rowEditorStyle(app, pages, 3).done);
}

TEST_F(SheetRowDrawTest, CompactDoneIconSitsLeftOfTheScoreColumn) {
  useSkin(u"compact white");
  task(1, u"Finished");
  row(1).done = 1;
  drawRow(1);
  const auto done = cells(kCellDone);
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0].x, 718 - 4);
  EXPECT_EQ(done[0].y, 124 + 34 + 6 - 5);
}

TEST_F(SheetRowDrawTest, RepeatMarkReplacesTheEarlierDaysInformation) {
  task(2, u"Daily review");
  row(2).info.flags = rowflag::kRepeat;
  row(2).info.ageDays = 3;
  row(2).info.pastMinutes = 75;
  drawRow(2);
  const DrawOp* r = drawn().findText(u"R");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->x, 15);
  EXPECT_EQ(r->y, kTop2 + 4 * (105 / 6) + 3);
  EXPECT_EQ(r->color, rgb(113, 0, 0));
  EXPECT_EQ(r->font, (FontSpec{u"Verdana", 12, false, false}));
  EXPECT_TRUE(drawn().textsContaining(u"Already").empty());
}

TEST_F(SheetRowDrawTest, CarriedOverRowShowsTheEarlierWork) {
  task(2, u"Old task");
  row(2).info.ageDays = 1;
  row(2).info.pastMinutes = 135;
  row(2).pastPomodoros = 5;
  drawRow(2);
  const DrawOp* worked = drawn().findText(u"Already worked: 2h:15'");
  ASSERT_NE(worked, nullptr);
  EXPECT_EQ(worked->x, 64);
  EXPECT_EQ(worked->y, kTop2 + 4 * 17 + 4);
  EXPECT_EQ(worked->color, kCountGrey);
  const DrawOp* pomos = drawn().findText(u"Pomos: 5");
  ASSERT_NE(pomos, nullptr);
  EXPECT_EQ(pomos->x, 64 + 22 * 6 + 30);
  EXPECT_EQ(pomos->color, rgb(0, 0, 0));

  // Nothing worked yet: the text and the icon 4 pixels after it.
  row(2).info.pastMinutes = 0;
  row(2).pastPomodoros = 0;
  drawRow(2);
  const DrawOp* idle = drawn().findText(u"Not yet started");
  ASSERT_NE(idle, nullptr);
  const auto icon = drawn().bitmaps(168);
  ASSERT_EQ(icon.size(), 1u);
  EXPECT_EQ(icon[0].x, 64 + 15 * 6 + 4);
  EXPECT_EQ(std::tie(icon[0].w, icon[0].h), std::make_tuple(24, 24));
  EXPECT_TRUE(drawn().textsContaining(u"Pomos").empty());

  // Time worked today alone still counts as started.
  row(2).info.minutesToday = 25;
  drawRow(2);
  EXPECT_NE(drawn().findText(u"Already worked: 0h:00'"), nullptr);

  // A task of today shows none of it.
  row(2).info.ageDays = 0;
  drawRow(2);
  EXPECT_TRUE(drawn().textsContaining(u"worked").empty());
  EXPECT_TRUE(drawn().textsContaining(u"started").empty());
}

TEST_F(SheetRowDrawTest, EarlierDaysInformationOnlyInTheLargeRowsLayout) {
  useSkin(u"classic");
  task(2, u"Old task");
  row(2).info.ageDays = 2;
  row(2).info.pastMinutes = 135;
  drawRow(2);
  EXPECT_TRUE(drawn().textsContaining(u"Already").empty());
}

TEST_F(SheetRowDrawTest, SeparatorAndFreeRowsGetNoInformation) {
  task(12, kSeparatorText);
  row(12).info.flags = rowflag::kRepeat;  // damaged file: the separator never shows a mark
  drawRow(12);
  EXPECT_TRUE(drawn().texts().empty());
  drawRow(3);
  EXPECT_TRUE(drawn().texts().empty());
  EXPECT_TRUE(drawn().ofKind(OpKind::Sprite).empty());
}

TEST_F(SheetRowDrawTest, CategorySquareAndTodaysWorkedTime) {
  task(2, u"Fix the bug");
  row(2).info.category = 3;
  row(2).info.minutesToday = 65;
  drawRow(2);
  const auto square = drawn().bitmaps(202);
  ASSERT_EQ(square.size(), 1u);
  EXPECT_EQ(std::tie(square[0].x, square[0].y, square[0].w, square[0].h, square[0].sx),
            std::make_tuple(8, kOrigin2 + 4, 18, 18, 54));
  const DrawOp* today = drawn().findText(u"(1:05')");
  ASSERT_NE(today, nullptr);
  EXPECT_EQ(std::tie(today->x, today->y), std::make_tuple(718 + 194, kOrigin2 + 2));
  EXPECT_EQ(today->font, (FontSpec{u"Buxton Sketch", 21, false, false}));

  // A category byte beyond the twelve colours (a damaged file) draws no square.
  row(2).info.category = 13;
  drawRow(2);
  EXPECT_TRUE(drawn().bitmaps(202).empty());
}

TEST_F(SheetRowDrawTest, ProjectNameAndDeadlineLabel) {
  app.projects.active.push_back(Project{7, u"Website"});
  task(2, u"Landing page");
  row(2).info.projectId = 7;
  row(2).info.flags = rowflag::kDeadline;
  row(2).info.deadlineYear = 21, row(2).info.deadlineMonth = 3, row(2).info.deadlineDay = 7;
  drawRow(2);
  const DrawOp* name = drawn().findText(u"Website");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(std::tie(name->x, name->y), std::make_tuple(64, kTop2 + 105 / 6));
  EXPECT_EQ(name->color, rgb(0, 166, 60));
  const int labelX = 64 + 7 * 10 + 30;  // info font Buxton Sketch 21: 10 pixels a unit
  const DrawOp* label = drawn().findText(u"2 days left");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->x, labelX + 6);
  EXPECT_EQ(label->color, rgb(40, 40, 40));
  const auto fills = drawn().ofKind(OpKind::Fill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(std::tie(fills[0].x, fills[0].w), std::make_tuple(labelX, 11 * 10 + 12));
  EXPECT_EQ(fills[0].color, rgb(255, 153, 0));

  app.sheet.readOnly = true;
  drawRow(2);
  EXPECT_EQ(drawn().findText(u"Website")->color, rgb(92, 163, 105));

  // A project that no longer exists: no name, the label moves to the text's left edge.
  row(2).info.projectId = 99;
  drawRow(2);
  EXPECT_EQ(drawn().findText(u"2 days left")->x, 64 + 6);
}

TEST_F(SheetRowDrawTest, CompactRowsShowProjectNamesOnlyWhenAskedTo) {
  app.projects.active.push_back(Project{7, u"Website"});
  useSkin(u"compact white");
  task(1, u"Landing page");
  row(1).info.projectId = 7;
  drawRow(1);
  EXPECT_EQ(drawn().findText(u"Website"), nullptr);

  useSkin(u"compact white", true);
  drawRow(1);
  const DrawOp* name = drawn().findText(u"Website");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->y, 124 + 48 + 48 / 6 - 6);
  EXPECT_EQ(name->font, (FontSpec{u"Arial", 14, false, false}));

  useSkin(u"classic");
  drawRow(1);
  ASSERT_NE(drawn().findText(u"Website"), nullptr);
  EXPECT_EQ(drawn().findText(u"Website")->y, 124 + 63 + 63 / 6 - 8);
}

// ---- Deadline labels --------------------------------------------------------------------

TEST(DeadlineLabelTest, ClassesTextsAndColoursByDaysLeft) {
  struct Case {
    int y, m, d;
    int level;
    const char16_t* text;
    Rgb fill;
  };
  // Today is 5 March 2021.
  const Case cases[] = {
      {2021, 3, 5, 5, u" * OVERDUE today * ", rgb(225, 0, 0)},
      {2021, 3, 4, 5, u" * OVERDUE 1 day ago * ", rgb(225, 0, 0)},
      {2021, 2, 26, 5, u" * OVERDUE 7 days ago * ", rgb(225, 0, 0)},
      {2021, 3, 6, 4, u"1 day left", rgb(255, 153, 0)},
      {2021, 3, 8, 4, u"3 days left", rgb(255, 153, 0)},
      {2021, 3, 9, 3, u"4 days left", rgb(255, 255, 0)},
      {2021, 3, 12, 3, u"7 days left", rgb(255, 255, 0)},
      {2021, 3, 13, 2, u"8 days left", rgb(255, 255, 183)},
      {2021, 3, 19, 2, u"14 days left", rgb(255, 255, 183)},
      {2021, 3, 20, 1, u"Mar 20, 2021", rgb(217, 253, 194)},
      {2021, 4, 4, 1, u"Apr 4, 2021", rgb(217, 253, 194)},
      {2021, 4, 5, 0, u"Apr 5, 2021", rgb(255, 255, 255)},
      {2022, 1, 1, 0, u"Jan 1, 2022", rgb(255, 255, 255)},
      {2020, 12, 31, 5, u" * OVERDUE 64 days ago * ", rgb(225, 0, 0)},
  };
  for (const Case& c : cases) {
    const DeadlineLabel label = makeDeadlineLabel(c.y, c.m, c.d, 2021, 3, 5, Language::English);
    EXPECT_EQ(label.level, c.level) << utf16ToUtf8(c.text);
    EXPECT_EQ(label.text, c.text);
    EXPECT_EQ(label.fill, c.fill) << utf16ToUtf8(c.text);
  }
  // Across February of a leap year.
  EXPECT_EQ(makeDeadlineLabel(2024, 3, 1, 2024, 2, 28, Language::English).daysLeft, 2);
}

TEST(DeadlineLabelTest, DamagedDatesGiveNoLabel) {
  EXPECT_TRUE(makeDeadlineLabel(2021, 0, 5, 2021, 3, 5, Language::English).text.empty());
  EXPECT_TRUE(makeDeadlineLabel(2021, 13, 5, 2021, 3, 5, Language::English).text.empty());
  EXPECT_TRUE(makeDeadlineLabel(2021, 2, 29, 2021, 3, 5, Language::English).text.empty());
  EXPECT_TRUE(makeDeadlineLabel(2021, 4, 0, 2021, 3, 5, Language::English).text.empty());
}

TEST(DeadlineLabelTest, ChineseTexts) {
  EXPECT_EQ(makeDeadlineLabel(2021, 3, 7, 2021, 3, 5, Language::ChineseSimplified).text,
            u"还剩 2 天");
  EXPECT_EQ(makeDeadlineLabel(2021, 5, 1, 2021, 3, 5, Language::ChineseSimplified).text,
            u"2021年5月1日");
}

}  // namespace
}  // namespace tirelmo
