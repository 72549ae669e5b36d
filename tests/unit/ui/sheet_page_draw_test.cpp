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
  // Index of the first op matching, or -1.
  static int indexOf(const std::vector<DrawOp>& ops, OpKind kind, u16v text = u"") {
    for (std::size_t i = 0; i < ops.size(); ++i)
      if (ops[i].kind == kind && (text.empty() || ops[i].text == text)) return static_cast<int>(i);
    return -1;
  }
};

TEST_F(SheetPageDrawTest, AbandonedGaugeShowsTheShareOfAbandonedPomodoros) {
  EXPECT_EQ(abandonedPercentage(0, 0), 0);
  EXPECT_EQ(abandonedPercentage(3, 1), 25);
  EXPECT_EQ(abandonedPercentage(0, 4), 100);
  EXPECT_EQ(abandonedPercentage(2, 1), 33);
  EXPECT_EQ(abandonedPercentage(255, 255), 50);

  app.sheet.dayTotals.pomodoros = 3;
  app.sheet.dayTotals.abandoned = 1;
  composed().clear();
  drawAbandonedGauge(app, pages, true);
  const auto strip = composed().bitmaps(kBmpGaugeStrip);
  ASSERT_EQ(strip.size(), 1u);
  EXPECT_EQ(std::tie(strip[0].x, strip[0].y, strip[0].w, strip[0].h, strip[0].sx),
            std::make_tuple(718 + 140, 196, 100, 6, 75));
  const DrawOp* text = composed().findText(u"abandoned: 25%");
  ASSERT_NE(text, nullptr);
  // Segoe Print 22 bold: 11 pixels a unit, centred on x0 + 190.
  EXPECT_EQ(text->x + text->w / 2, 718 + 190);
  EXPECT_EQ(text->y, 196 + 4);
  EXPECT_EQ(text->color, rgb(108, 119, 210));
  EXPECT_EQ(text->font, (FontSpec{u"Segoe Print", 22, true}));
  // The old gauge is wiped first, and the box is shown.
  ASSERT_EQ(composed().ops.front().kind, OpKind::Copy);
  const DrawOp& wipe = composed().ops.front();
  EXPECT_LE(wipe.x, text->x);
  EXPECT_GE(wipe.x + wipe.w, text->x + text->w);
  EXPECT_LE(wipe.x, 718 + 140);
  EXPECT_EQ(repaints.size(), 1u);
  EXPECT_EQ(composed().font(), pages.fonts.row);

  // Without the repaint flag the window is not asked; the compact layout puts it at y 92.
  useSkin(u"compact white");
  app.sheet.dayTotals = DayStats();
  repaints.clear();
  composed().clear();
  drawAbandonedGauge(app, pages, false);
  EXPECT_TRUE(repaints.empty());
  EXPECT_EQ(composed().bitmaps(kBmpGaugeStrip)[0].sx, 100);
  EXPECT_EQ(composed().bitmaps(kBmpGaugeStrip)[0].y, 92);
  EXPECT_NE(composed().findText(u"abandoned: 0%"), nullptr);
}

TEST_F(SheetPageDrawTest, DayTotalsGoOverTheFormAndWipeTheOldValueFirst) {
  drawSheetBackground(app, pages);
  app.sheet.dayTotals.pomodoros = 12;
  app.sheet.dayTotals.workedHours = 5;
  app.sheet.dayTotals.workedMinutes = 0;
  composed().clear();
  drawDayTotals(app, pages);
  const DrawOp* pomodoros = composed().findText(u"12");
  ASSERT_NE(pomodoros, nullptr);
  EXPECT_EQ(pomodoros->font, (FontSpec{u"Segoe Print", 24, true}));
  // After "Score:" (6 units of the 17-pixel form font) in the field at score left + 91.
  EXPECT_EQ(pomodoros->x, 718 + 91 + 6 * 8 + 4);
  ASSERT_NE(composed().findText(u"5:00"), nullptr);
  ASSERT_NE(composed().findText(u"Mar 5, 2021"), nullptr);
  const DrawOp before = *pomodoros;

  app.sheet.dayTotals.pomodoros = 3;
  composed().clear();
  drawDayTotals(app, pages);
  const auto& ops = composed().ops;
  const int at = indexOf(ops, OpKind::Text, u"3");
  ASSERT_GT(at, 0);
  const DrawOp& wipe = ops[static_cast<std::size_t>(at - 1)];
  EXPECT_EQ(wipe.kind, OpKind::Copy);
  EXPECT_EQ(wipe.source, pages.background[0].get());
  EXPECT_LE(wipe.x, before.x);
  EXPECT_GE(wipe.x + wipe.w, before.x + before.w);
  EXPECT_LE(wipe.y, before.y);
  EXPECT_GE(wipe.y + wipe.h, before.y + before.h);
}

TEST_F(SheetPageDrawTest, UnknownSkinHasNoFormAndNoTotals) {
  useSkin(u"my own skin");
  EXPECT_EQ(pages.sheet.rowHeight, 105);
  app.sheet.dayTotals.pomodoros = 4;
  composed().clear();
  drawDayTotals(app, pages);
  EXPECT_TRUE(composed().ops.empty());
}

TEST_F(SheetPageDrawTest, WholePageDrawsEveryRowOnceAndRepaintsTheWindow) {
  for (int r = 0; r < 25; ++r) {
    task(r, u"Task");
    row(r).pomodoros = 1;
  }
  task(12, kSeparatorText);
  row(12).pomodoros = 0;
  drawSheetPage(app, pages);
  EXPECT_EQ(composed().spritesIn(0, 0, 1350, 3310, kCellPomodoro).size(), 24u);
  for (int r : {0, 11, 13, 24})
    EXPECT_EQ(composed().spritesIn(0, 230 + r * 105, 1350, 105, kCellPomodoro).size(), 1u) << r;
  EXPECT_NE(composed().textsContaining(u"abandoned:").size(), 0u);
  EXPECT_FALSE(repaints.empty());
  EXPECT_EQ(composed().font(), pages.fonts.row);
}

TEST_F(SheetPageDrawTest, MissingSurfacesDrawNothingAndDoNotCrash) {
  graphics.refuseSurfaces = true;
  PageSet none(graphics);
  createPageSurfaces(none, app);
  EXPECT_EQ(none.composed[0], nullptr);
  task(0, u"Task");
  drawSheetPage(app, none);
  drawSheetRow(app, none, 0);
  drawDayTotals(app, none);
  drawAbandonedGauge(app, none, true);
  EXPECT_EQ(pageText(none, u"text", 10, 10, 0), 0);
  EXPECT_TRUE(paintRects(none, 1000).empty());
}

// ---- Pages ------------------------------------------------------------------------------

TEST_F(SheetPageDrawTest, PageSurfacesAndScrollLimits) {
  // Every page but ToDo Today gets its surfaces when first drawn.
  for (int p = kPageNextThings; p < kPageCount; ++p) EXPECT_EQ(pages.composed[p], nullptr) << p;
  for (int p = kPageNextThings; p < kPageCount; ++p) ASSERT_TRUE(ensurePageSurfaces(pages, app, p)) << p;
  const Surface* first = pages.composed[kPageUsage].get();
  ASSERT_TRUE(ensurePageSurfaces(pages, app, kPageUsage));
  EXPECT_EQ(pages.composed[kPageUsage].get(), first);  // made once
  for (int p = 0; p < kPageCount; ++p) {
    EXPECT_EQ(pages.composed[p]->width(), 1350) << p;
    EXPECT_EQ(pages.background[p]->height(), pages.composed[p]->height()) << p;
  }
  EXPECT_EQ(pages.composed[0]->height(), 3310);
  EXPECT_EQ(pages.composed[1]->height(), 2855);
  EXPECT_EQ(pages.composed[3]->height(), 2000);
  EXPECT_EQ(pages.composed[6]->height(), 2400);
  EXPECT_EQ(pages.maxScrollOffset[0], 2855 - 700);

  for (int i = 0; i < 100; ++i) app.projects.active.push_back(Project{i + 1, u"P"});
  EXPECT_EQ(pageContentHeight(app, pages, kPageProjects), 40 * 100 + 500);
  app.doneArchive.currentMonth.resize(10);
  EXPECT_EQ(pageContentHeight(app, pages, kPageHistory), 30 * 10 + 2320);
  EXPECT_EQ(pageContentHeight(app, pages, kPagePreviousDay), 2000);

  // A page whose content grew keeps what it shows.
  pages.composed[5]->setFont(FontSpec{u"Arial", 14});
  ASSERT_TRUE(ensurePageSurfaceHeight(pages, kPageProjects, 4500));
  auto& grown = composed(5);
  EXPECT_EQ(grown.height(), 4500);
  ASSERT_EQ(grown.ops.size(), 1u);
  EXPECT_EQ(grown.ops[0].kind, OpKind::Copy);
  EXPECT_EQ(std::tie(grown.ops[0].w, grown.ops[0].h), std::make_tuple(1350, 2000));
  EXPECT_EQ(grown.font(), (FontSpec{u"Arial", 14}));
}

TEST_F(SheetPageDrawTest, HeaderHeightsAndPaintRectangles) {
  const int expected[] = {231, 130, 470, 83, 470, 83, 83};
  for (int p = 0; p < kPageCount; ++p) EXPECT_EQ(headerHeight(pages, p), expected[p]) << p;
  useSkin(u"classic");
  EXPECT_EQ(headerHeight(pages, 0), 126);

  useSkin(u"pink");
  pages.scrollOffset[0] = 400;
  EXPECT_EQ(paintRects(pages, 1000),
            (std::vector<BlitRect>{{0, 0, 1000, 231, 0, 0}, {0, 231, 1000, 1100, 0, 631}}));
  // Never read below the surface, whatever the offset says.
  pages.scrollOffset[0] = 2500;
  EXPECT_EQ(paintRects(pages, 1000),
            (std::vector<BlitRect>{{0, 0, 1000, 231, 0, 0}, {0, 231, 1000, 3310 - 2731, 0, 2731}}));
  pages.scrollOffset[0] = 5000;
  EXPECT_EQ(paintRects(pages, 1000).size(), 1u);
  // A window wider than the surface copies the surface's width only.
  pages.currentPage = 3;
  EXPECT_TRUE(paintRects(pages, 1600).empty());  // not drawn yet: nothing to copy
  ASSERT_TRUE(ensurePageSurfaces(pages, app, 3));
  EXPECT_EQ(paintRects(pages, 1600).front(), (BlitRect{0, 0, 1350, 83, 0, 0}));
}

TEST_F(SheetPageDrawTest, PageTextRestoresItsRectangleThenDraws) {
  auto& page = composed(3);
  page.setFont(FontSpec{u"Arial", 20});
  page.clear();
  EXPECT_EQ(pageText(pages, u"", 50, 500, 3), 0);
  EXPECT_TRUE(page.ops.empty());

  pages.currentPage = 3;
  pages.scrollOffset[3] = 100;
  repaints.clear();
  EXPECT_EQ(pageText(pages, u"Hours", 50, 500, 3), 50);
  ASSERT_EQ(page.ops.size(), 2u);
  EXPECT_EQ(page.ops[0].kind, OpKind::Copy);
  EXPECT_EQ(page.ops[0].source, pages.background[3].get());
  EXPECT_EQ(std::tie(page.ops[0].x, page.ops[0].y, page.ops[0].w, page.ops[0].h, page.ops[0].sx,
                     page.ops[0].sy),
            std::make_tuple(50, 500, 50, 20, 50, 500));
  EXPECT_EQ(page.ops[1].kind, OpKind::Text);
  EXPECT_EQ(std::tie(page.ops[1].x, page.ops[1].y), std::make_tuple(50, 500));
  EXPECT_EQ(repaints, (std::vector<Repaint>{{50, 400, 50, 20}}));

  // Not on display: drawn, not repainted. Header texts do not scroll.
  repaints.clear();
  EXPECT_EQ(pageText(pages, u"Title", 10, 20, 4), 0);  // no surfaces before it is first drawn
  ASSERT_TRUE(ensurePageSurfaces(pages, app, 4));
  EXPECT_EQ(pageText(pages, u"Title", 10, 20, 4), 5 * 13);  // page 4 keeps the row font
  EXPECT_TRUE(repaints.empty());
  EXPECT_EQ(pageText(pages, u"Title", 10, 20, 3), 50);
  EXPECT_EQ(repaints, (std::vector<Repaint>{{10, 20, 50, 20}}));

  // Without erasing: only the text.
  page.clear();
  EXPECT_EQ(pageTextNoErase(pages, page, u"abc", 5, 600), 30);
  ASSERT_EQ(page.ops.size(), 1u);
  EXPECT_EQ(page.ops[0].kind, OpKind::Text);
  EXPECT_EQ(pageTextNoErase(pages, page, u"", 5, 600), 0);
}

TEST_F(SheetPageDrawTest, RowEditorsAndMarker) {
  // Large rows, text height 26, offset 41.
  EXPECT_EQ(rowEditorRect(pages, 3), (RowEditorRect{64, 230 + 41 + 3 * 105, 1000 - 64 - 300, 30}));
  pages.scrollOffset[0] = 120;
  EXPECT_EQ(markerButtonY(pages, 2), 230 + 2 * 105 - 120);

  drawSheetBackground(app, pages);
  test::RecordingGraphics editorGraphics;
  auto editor = editorGraphics.createSurface(636, 30);
  auto& e = static_cast<test::RecordingSurface&>(*editor);
  const RowEditorStyle style{rgb(62, 72, 142), pages.fonts.row, false};
  paintRowEditor(pages, e, 3, u"Write the report", 6, 9, style);
  ASSERT_EQ(e.ops.size(), 3u);
  EXPECT_EQ(e.ops[0].kind, OpKind::Copy);
  EXPECT_EQ(e.ops[0].source, pages.composed[0].get());
  EXPECT_EQ(std::tie(e.ops[0].w, e.ops[0].h, e.ops[0].sx, e.ops[0].sy),
            std::make_tuple(636, 30, 64, 230 + 41 + 3 * 105));
  // Selection of units 6..9 ("the") behind the text, 13 pixels a unit.
  EXPECT_EQ(e.ops[1].kind, OpKind::Fill);
  EXPECT_EQ(std::tie(e.ops[1].x, e.ops[1].y, e.ops[1].w, e.ops[1].h),
            std::make_tuple(3 + 6 * 13, 2, 3 * 13, 26));
  EXPECT_EQ(e.ops[1].color, rgb(255, 255, 130));
  EXPECT_EQ(std::tie(e.ops[2].x, e.ops[2].y), std::make_tuple(3, 0));
  EXPECT_EQ(e.ops[2].color, rgb(62, 72, 142));

  // A selection past the end (the editor's text changed meanwhile) is cut to the text.
  e.clear();
  paintRowEditor(pages, e, 3, u"abc", 2, 50, style);
  ASSERT_EQ(e.ops.size(), 3u);
  EXPECT_EQ(e.ops[1].w, 13);
}

}  // namespace
}  // namespace tirelmo
