#include <gtest/gtest.h>

#include "ui/bitmap_ids.h"
#include "unit/ui/sheet_draw_support.h"

namespace tirelmo {
namespace {

using test::DrawOp;
using test::OpKind;
using test::Repaint;

class SheetPageDrawTest : public test::SheetPageFixture {
 protected:
  void SetUp() override { useSkin(u"cleanwhite"); }
};

TEST_F(SheetPageDrawTest, AbandonedGaugeShowsTheShareOfAbandonedPomodoros) {
  EXPECT_EQ(abandonedPercentage(0, 0), 0);
  EXPECT_EQ(abandonedPercentage(3, 1), 25);
  EXPECT_EQ(abandonedPercentage(0, 4), 100);
  EXPECT_EQ(abandonedPercentage(2, 1), 33);
  EXPECT_EQ(abandonedPercentage(255, 255), 50);

  app.sheet.dayTotals.pomodoros = 3;
  app.sheet.dayTotals.abandoned = 1;
  drawPage();
  const auto strip = drawn().bitmaps(kBmpGaugeStrip);
  ASSERT_EQ(strip.size(), 1u);
  EXPECT_EQ(std::tie(strip[0].x, strip[0].y, strip[0].w, strip[0].h, strip[0].sx),
            std::make_tuple(718 + 140, 196, 100, 6, 75));
  const DrawOp* text = drawn().findText(u"abandoned: 25%");
  ASSERT_NE(text, nullptr);
  // Segoe Print 22 bold: 11 pixels a unit, centred on x0 + 190.
  EXPECT_EQ(text->x + text->w / 2, 718 + 190);
  EXPECT_EQ(text->y, 196 + 4);
  EXPECT_EQ(text->color, rgb(108, 119, 210));
  EXPECT_EQ(text->font, (FontSpec{u"Segoe Print", 22, true}));

  // A change asks for the header to be repainted; the compact layout puts the gauge at y 92.
  repaints.clear();
  repaintDayTotals(pages);
  EXPECT_EQ(repaints, (std::vector<Repaint>{{0, 0, 1350, 230}}));
  useSkin(u"compact white");
  app.sheet.dayTotals = DayStats();
  drawPage();
  EXPECT_EQ(drawn().bitmaps(kBmpGaugeStrip)[0].sx, 100);
  EXPECT_EQ(drawn().bitmaps(kBmpGaugeStrip)[0].y, 92);
  EXPECT_NE(drawn().findText(u"abandoned: 0%"), nullptr);
}

TEST_F(SheetPageDrawTest, DayTotalsGoOverTheForm) {
  app.sheet.dayTotals.pomodoros = 12;
  app.sheet.dayTotals.workedHours = 5;
  app.sheet.dayTotals.workedMinutes = 0;
  drawPage();
  const DrawOp* pomodoros = drawn().findText(u"12");
  ASSERT_NE(pomodoros, nullptr);
  EXPECT_EQ(pomodoros->font, (FontSpec{u"Segoe Print", 24, true}));
  // After "Score:" (6 units of the 17-pixel form font) in the field at score left + 91.
  EXPECT_EQ(pomodoros->x, 718 + 91 + 6 * 8 + 4);
  ASSERT_NE(drawn().findText(u"5:00"), nullptr);
  ASSERT_NE(drawn().findText(u"Mar 5, 2021"), nullptr);

  // A skin outside the list has no form, so no totals.
  useSkin(u"my own skin");
  EXPECT_EQ(pages.sheet.rowHeight, 105);
  drawPage();
  EXPECT_EQ(drawn().findText(u"12"), nullptr);
  EXPECT_EQ(drawn().findText(u"Mar 5, 2021"), nullptr);
}

TEST_F(SheetPageDrawTest, ABandDrawsTheRowsThatReachIntoItInOrder) {
  for (int r = 0; r < 25; ++r) {
    task(r, u"Task");
    row(r).pomodoros = 1;
  }
  task(12, kSeparatorText);
  row(12).pomodoros = 0;
  drawPage();
  EXPECT_EQ(drawn().spritesIn(0, 0, 1350, 3310, kCellPomodoro).size(), 24u);
  for (int r : {0, 11, 13, 24})
    EXPECT_EQ(drawn().spritesIn(0, 230 + r * 105, 1350, 105, kCellPomodoro).size(), 1u) << r;
  EXPECT_EQ(drawn().font(), pages.fonts.row);

  // Rows 7 and 8 are in the band; 6 and 9 may reach into it; nothing else is drawn, not
  // even the header's totals.
  view.clear();
  drawPageView(app, pages, view, 0, 0, 230 + 7 * 105 + 10, 1350, 150);
  EXPECT_EQ(view.clip().y, 230 + 7 * 105 + 10);
  EXPECT_EQ(view.clip().h, 150);
  const auto drawnRows = view.spritesIn(0, 0, 1350, 3310, kCellPomodoro);
  ASSERT_EQ(drawnRows.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(drawnRows[i].y, 230 + (6 + i) * 105 + 41 - 5) << i;
  EXPECT_TRUE(view.textsContaining(u"abandoned:").empty());

  // Wider than the page: the page's pixels end at its width.
  view.clear();
  drawPageView(app, pages, view, 0, 1200, 0, 400, 300);
  EXPECT_EQ(view.clip().w, 150);
  view.clear();
  drawPageView(app, pages, view, 0, 1400, 0, 100, 300);
  EXPECT_TRUE(view.ops.empty());
}

TEST_F(SheetPageDrawTest, NoSurfaceGrowsWithThePagesOrTheirData) {
  // Only the measuring surface is ever made, however long the history behind the pages.
  EXPECT_EQ(graphics.surfacesCreated, 1);
  for (int i = 0; i < 5000; ++i) app.projects.active.push_back(Project{i + 1, u"P"});
  app.doneArchive.currentMonth.resize(20000);
  for (int p = 0; p < kPageCount; ++p) drawPage(p);
  updateSheetLook(pages, app);
  EXPECT_EQ(graphics.surfacesCreated, 1);
  EXPECT_EQ(pageContentHeight(app, pages, kPageProjects), 40 * 5000 + 500);
  // Every entry's 30-pixel row below the rows' top at 460 can be scrolled to.
  EXPECT_GE(pageContentHeight(app, pages, kPageHistory), 460 + 30 * 20000);
  EXPECT_EQ(pageContentHeight(app, pages, kPagePreviousDay), 2000);
  EXPECT_EQ(pages.maxScrollOffset[kPageTodoToday], 2855 - 700);

  // No surface at all: the pages still draw where they are asked to.
  graphics.refuseSurfaces = true;
  PageSet none(graphics);
  EXPECT_FALSE(preparePages(none, app));
  task(0, u"Task");
  view.clear();
  drawPageView(app, none, view, 0, 0, 0, 1000, 700);
  EXPECT_FALSE(view.ops.empty());
}

TEST_F(SheetPageDrawTest, HeaderHeightsAndViewBands) {
  const int expected[] = {231, 130, 470, 83, 470, 83, 83};
  for (int p = 0; p < kPageCount; ++p) EXPECT_EQ(headerHeight(pages, p), expected[p]) << p;
  useSkin(u"classic");
  EXPECT_EQ(headerHeight(pages, 0), 126);

  useSkin(u"pink");
  pages.scrollOffset[0] = 400;
  EXPECT_EQ(viewBands(pages, 0, 700), (std::vector<ViewBand>{{0, 231, 0}, {231, 469, 631}}));
  // A stale negative offset shows the top; a client area lower than the header, the header.
  pages.scrollOffset[0] = -50;
  EXPECT_EQ(viewBands(pages, 0, 700)[1], (ViewBand{231, 469, 231}));
  EXPECT_EQ(viewBands(pages, 0, 100), (std::vector<ViewBand>{{0, 100, 0}}));
  EXPECT_TRUE(viewBands(pages, 0, 0).empty());
}

TEST_F(SheetPageDrawTest, MarksOverTheRowsAreStateAndRepaintTheirPlace) {
  task(4, u"Task");
  pages.windowHeight = 1500;
  repaints.clear();
  setBlinkMarker(pages, 4, true);
  EXPECT_EQ(repaints, (std::vector<Repaint>{{41, 230 + 4 * 105, 2, 105}}));
  drawPage();
  const auto on = drawn().ofKind(OpKind::Fill);
  ASSERT_FALSE(on.empty());
  EXPECT_EQ(std::tie(on.back().x, on.back().y, on.back().w, on.back().h),
            std::make_tuple(41, 230 + 4 * 105 + 3, 2, 100));
  EXPECT_EQ(on.back().color, rgb(0xD8, 0x2A, 0x1A));
  // Moving it repaints both places; clearing it leaves the row as it was.
  repaints.clear();
  setBlinkMarker(pages, 5, false);
  EXPECT_EQ(repaints.size(), 2u);
  const std::size_t fills = drawPage().ofKind(OpKind::Fill).size();
  setBlinkMarker(pages, -1, false);
  EXPECT_EQ(drawPage().ofKind(OpKind::Fill).size(), fills - 1);

  // The current-row mark of Next Things.
  pages.currentPage = kPageNextThings;
  repaints.clear();
  moveListRowMarker(pages, 3);
  EXPECT_EQ(repaints, (std::vector<Repaint>{{0, 145 + 8 + 3 * 52, 28, 28}}));
  EXPECT_EQ(drawPage(kPageNextThings).spritesIn(0, 145 + 3 * 52, 28, 52, kCellCurrentRow).size(), 1u);
  moveListRowMarker(pages, -1);
  EXPECT_TRUE(drawPage(kPageNextThings).ofKind(OpKind::Sprite).empty());
}

TEST_F(SheetPageDrawTest, BeforeTheEditorsExistThePageDrawsWhatTheyWillShow) {
  task(2, u"Write the report for the board");
  task(3, u"Called the bank");
  row(3).done = 1;
  drawPage();
  EXPECT_EQ(drawn().findText(u"Write the report for the board"), nullptr);  // the editors' part

  pages.drawRowTexts = true;
  drawPage();
  const RowEditorRect r = rowEditorRect(pages, 2);
  const DrawOp* text = drawn().findText(u"Write the report for the board");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::tie(text->x, text->y), std::make_tuple(r.x + 3, r.y));
  EXPECT_TRUE(text->clipped);
  EXPECT_EQ(std::tie(text->cx, text->cy, text->cw, text->ch), std::make_tuple(r.x, r.y, r.w, r.h));
  EXPECT_EQ(text->color, rowEditorStyle(app, pages, 2).color);
  const DrawOp* done = drawn().findText(u"Called the bank");
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(done->font, pages.fonts.doneRow);
  EXPECT_EQ(done->color, rowEditorStyle(app, pages, 3).color);
  // Last, over everything else of the page, as a child window would be.
  EXPECT_EQ(drawn().ops.back().kind, OpKind::Text);

  // A row whose editor would be hidden under the header shows no text either.
  pages.scrollOffset[0] = 2 * 105 + 41 + 1;
  drawPage();
  EXPECT_EQ(drawn().findText(u"Write the report for the board"), nullptr);
  EXPECT_NE(drawn().findText(u"Called the bank"), nullptr);
}

TEST_F(SheetPageDrawTest, RowEditorsPaintThePageBehindTheirText) {
  // Large rows, text height 26, offset 41.
  const RowEditorRect r = rowEditorRect(pages, 3);
  EXPECT_EQ(r, (RowEditorRect{64, 230 + 41 + 3 * 105, 1000 - 64 - 300, 30}));
  pages.scrollOffset[0] = 120;
  EXPECT_EQ(markerButtonY(pages, 2), 230 + 2 * 105 - 120);

  task(3, u"Write the report");
  row(3).info.projectId = 0;
  row(3).info.minutesToday = 65;
  test::RecordingSurface e(graphics, 636, 30);
  const RowEditorStyle style{rgb(62, 72, 142), pages.fonts.row, false};
  paintRowEditor(app, pages, e, 3, u"Write the report", 6, 9, style);
  // The page under the editor, in page coordinates: white, the row's paper and marks.
  ASSERT_GT(e.ops.size(), 3u);
  EXPECT_EQ(e.ops[0].kind, OpKind::Fill);
  EXPECT_EQ(std::tie(e.ops[0].x, e.ops[0].y, e.ops[0].w, e.ops[0].h), std::make_tuple(r.x, r.y, 636, 30));
  EXPECT_NE(e.findText(u"(1:05')"), nullptr);
  // Then, in the editor's own coordinates, the selection of units 6..9 ("the") behind the
  // text, 13 pixels a unit.
  EXPECT_EQ(e.originX(), 0);
  EXPECT_FALSE(e.clip().set);
  const DrawOp& selection = e.ops[e.ops.size() - 2];
  EXPECT_EQ(selection.kind, OpKind::Fill);
  EXPECT_EQ(std::tie(selection.x, selection.y, selection.w, selection.h),
            std::make_tuple(3 + 6 * 13, 2, 3 * 13, 26));
  EXPECT_EQ(selection.color, rgb(255, 255, 130));
  EXPECT_EQ(std::tie(e.ops.back().x, e.ops.back().y), std::make_tuple(3, 0));
  EXPECT_EQ(e.ops.back().color, rgb(62, 72, 142));

  // A selection past the end (the editor's text changed meanwhile) is cut to the text.
  e.clear();
  paintRowEditor(app, pages, e, 3, u"abc", 2, 50, style);
  EXPECT_EQ(e.ops[e.ops.size() - 2].w, 13);
}

}  // namespace
}  // namespace tirelmo
