#include "ui/window_rules.h"

#include <gtest/gtest.h>

namespace tirelmo {
namespace {

TEST(WindowSizeRules, RestoredWindowsAreKeptWithinTheLimits) {
  EXPECT_EQ(clampRestoredSize({1400, 1200}), (WindowSize{1355, 1066}));
  EXPECT_EQ(clampRestoredSize({500, 700}), (WindowSize{600, 700}));
  EXPECT_EQ(clampRestoredSize({1355, 1066}), (WindowSize{1355, 1066}));
  EXPECT_EQ(clampRestoredSize({600, 300}), (WindowSize{600, 300}));
  EXPECT_EQ(clampRestoredSize({1000, 1067}), (WindowSize{1000, 1066}));
  EXPECT_EQ(maximisedReplacement(1000), (WindowSize{1000, 1100}));
}

TEST(ScrollRules, ScrollBarStepsAndThumb) {
  EXPECT_EQ(scrollBarTarget(100, ScrollAction::LineUp, 0), 70);
  EXPECT_EQ(scrollBarTarget(100, ScrollAction::LineDown, 0), 130);
  EXPECT_EQ(scrollBarTarget(100, ScrollAction::PageUp, 0), -50);
  EXPECT_EQ(scrollBarTarget(100, ScrollAction::PageDown, 0), 250);
  EXPECT_EQ(scrollBarTarget(100, ScrollAction::ThumbTrack, 777), 777);
  EXPECT_EQ(scrollBarTarget(100, ScrollAction::ThumbPosition, 5), 5);
  EXPECT_EQ(scrollBarTarget(100, ScrollAction::Other, 5), 100);
}

TEST(ScrollRules, WheelMovesFiftyPixelsANotch) {
  EXPECT_EQ(wheelTarget(200, 120), 150);   // away from the user: up
  EXPECT_EQ(wheelTarget(200, -240), 300);  // two notches down
  EXPECT_EQ(wheelTarget(200, 60), 175);    // half a notch of a smooth wheel
}

TEST(ScrollRules, OffsetsStayOnThePage) {
  EXPECT_EQ(largestScrollOffset(3310, 1000), 2310);
  EXPECT_EQ(largestScrollOffset(900, 1000), 0);
  EXPECT_EQ(clampScrollOffset(-50, 2310), 0);
  EXPECT_EQ(clampScrollOffset(2400, 2310), 2310);
  EXPECT_EQ(clampScrollOffset(10, 0), 0);
  EXPECT_EQ(clampScrollOffset(1234, 2310), 1234);
}

TEST(ScrollRules, ARowIsScrolledIntoTheBodyBelowTheHeader) {
  // Rows of 105 pixels from 230, header 231, client area 700 high.
  const int rowTop = 230 + 10 * 105;  // row 10 at 1280
  EXPECT_EQ(offsetShowingRow(0, rowTop, 105, 231, 700), 1280 + 105 - 700);  // below: bottom aligned
  EXPECT_EQ(offsetShowingRow(2000, rowTop, 105, 231, 700), 1280 - 231);     // above: under the header
  EXPECT_EQ(offsetShowingRow(800, rowTop, 105, 231, 700), 800);             // visible: kept
}

RowLayout sheetRows(int separator) { return RowLayout{25, 124, 63, separator}; }

TEST(RowSelection, UpAndDownJumpOverTheSeparator) {
  const RowLayout rows = sheetRows(12);
  EXPECT_EQ(rowBelow(rows, 11), 13);
  EXPECT_EQ(rowAbove(rows, 13), 11);
  EXPECT_EQ(rowBelow(rows, 5), 6);
  EXPECT_EQ(rowAbove(rows, 5), 4);
  EXPECT_EQ(rowAbove(rows, 0), -1);   // the caller scrolls to the top
  EXPECT_EQ(rowBelow(rows, 24), -1);  // nothing changes
}

TEST(RowSelection, ASeparatorAtAnEdgeLeavesNoRowBeyondIt) {
  EXPECT_EQ(rowAbove(sheetRows(0), 1), -1);
  EXPECT_EQ(rowBelow(sheetRows(24), 23), -1);
  // Without a separator (a first start) every row is a row.
  EXPECT_EQ(rowBelow(sheetRows(-1), 11), 12);
  // Next Things has no separator and 50 rows.
  EXPECT_EQ(rowBelow(todolistRowLayout(), 48), 49);
  EXPECT_EQ(rowBelow(todolistRowLayout(), 49), -1);
}

TEST(RowSelection, AClickSelectsTheRowUnderThePointerButNeverTheSeparator) {
  const RowLayout rows = sheetRows(12);
  EXPECT_EQ(rowAtPageY(rows, 123), -1);
  EXPECT_EQ(rowAtPageY(rows, 124), 0);
  EXPECT_EQ(rowAtPageY(rows, 124 + 63 * 3 + 62), 3);
  EXPECT_EQ(rowAtPageY(rows, 124 + 63 * 12 + 5), -1);
  EXPECT_EQ(rowAtPageY(rows, 124 + 63 * 25), -1);  // below the last row
  EXPECT_EQ(rowAtPageY(todolistRowLayout(), 145 + 52 * 2 + 1), 2);
}

TEST(RowMarker, ShownOnlyBelowTheToolbarAndNeverOnAnOldSheet) {
  EXPECT_TRUE(markerVisible(84, false));
  EXPECT_FALSE(markerVisible(83, false));
  EXPECT_FALSE(markerVisible(-40, false));
  EXPECT_FALSE(markerVisible(400, true));
  const ClientPoint p = rowMenuPoint(sheetRows(12), 3, 100);
  EXPECT_EQ(p.x, 26);
  EXPECT_EQ(p.y, 124 + 18 + 3 * 63 - 100);
}

TEST(PageSwitch, CtrlTabGoesRoundFromTheLastPageToTheFirst) {
  EXPECT_EQ(nextPageIndex(0), 1);
  EXPECT_EQ(nextPageIndex(5), 6);
  EXPECT_EQ(nextPageIndex(6), 0);

  PageBook book;
  int page = 0;
  for (int i = 0; i < 7; ++i) {
    ASSERT_TRUE(book.begin(nextPageIndex(page), {}));
    book.end();
    page = book.currentPage();
  }
  EXPECT_EQ(page, 0);
}

TEST(PageSwitch, LeavingAndComingBackRestoresTheRow) {
  PageBook book;
  ASSERT_TRUE(book.begin(3, {7, 4}));  // row 7 of page 0, caret at 4
  book.end();
  EXPECT_EQ(book.entered().row, 0);  // pages without rows have nothing to restore
  ASSERT_TRUE(book.begin(1, {99, 99}));  // page 3 has no rows: nothing is stored for it
  book.end();
  ASSERT_TRUE(book.begin(0, {30, 2}));
  book.end();
  EXPECT_EQ(book.entered().row, 7);
  EXPECT_EQ(book.entered().caret, 4);
  EXPECT_EQ(book.saved(1).row, 30);
}

TEST(PageSwitch, TheSamePageAnOngoingSwitchOrABadIndexDoNothing) {
  PageBook book;
  EXPECT_FALSE(book.begin(0, {5, 0}));
  EXPECT_EQ(book.saved(0).row, 0);
  EXPECT_FALSE(book.begin(7, {}));
  EXPECT_FALSE(book.begin(-1, {}));
  ASSERT_TRUE(book.begin(2, {5, 0}));
  EXPECT_FALSE(book.begin(3, {}));  // still drawing page 2
  EXPECT_EQ(book.currentPage(), 2);
  book.end();
  EXPECT_TRUE(book.begin(3, {}));
}

TEST(WindowIcon, ProgramIconCountdownIconsAndNothingElse) {
  EXPECT_EQ(windowIconId(-1), 149);
  EXPECT_EQ(windowIconId(0), 175);
  EXPECT_EQ(windowIconId(25), 200);
  EXPECT_EQ(windowIconId(26), 0);
  EXPECT_EQ(windowIconId(-2), 0);
}

}  // namespace
}  // namespace tirelmo
