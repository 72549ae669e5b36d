#include "ui/toolbar.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tirelmo {
namespace {

struct Rect {
  int left, top, right, bottom;
};

// Worked out by hand from the layout rule: the first button at 1,43 to 41,83; each relative
// entry follows its predecessor's right edge by 2 (-1) or 16 (-3) pixels, 40 pixels wide.
constexpr Rect kExpected[kToolbarButtons] = {
    {1, 43, 41, 83},     {1, 43, 41, 83},     {57, 43, 97, 83},    {99, 43, 139, 83},
    {155, 43, 195, 83},  {197, 43, 237, 83},  {239, 43, 279, 83},  {281, 43, 321, 83},
    {323, 43, 363, 83},  {379, 43, 419, 83},  {435, 43, 475, 83},  {477, 43, 517, 83},
    {519, 43, 559, 83},  {561, 43, 601, 83},  {603, 43, 643, 83},  {645, 43, 685, 83},
    {701, 43, 741, 83},  {743, 43, 783, 83},  {480, 43, 520, 83},  {526, 43, 566, 83},
    {480, 43, 520, 83},
};

int centreX(const Toolbar& t, int i) { return (t.button(i).left + t.button(i).right) / 2; }
int centreY(const Toolbar& t, int i) { return (t.button(i).top + t.button(i).bottom) / 2; }

bool anyPressed(const Toolbar& t) {
  return std::any_of(t.buttons().begin(), t.buttons().end(), [](const ToolbarButton& b) { return b.pressed; });
}

TEST(ToolbarLayout, AllButtonsSitWhereTheRulePutsThem) {
  const Toolbar t;
  for (int i = 0; i < kToolbarButtons; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(t.button(i).left, kExpected[i].left);
    EXPECT_EQ(t.button(i).top, kExpected[i].top);
    EXPECT_EQ(t.button(i).right, kExpected[i].right);
    EXPECT_EQ(t.button(i).bottom, kExpected[i].bottom);
  }
}

TEST(ToolbarLayout, AnEightPixelGapAndAnOddSizedPredecessorAreFollowed) {
  std::array<ToolbarButton, kToolbarButtons> table = toolbarTable();
  table[18].left = 300;
  table[18].top = 10;
  table[18].right = 330;  // 30 wide
  table[18].bottom = 60;
  table[19].left = -2;
  const auto laid = layoutToolbar(table);
  EXPECT_EQ(laid[19].left, 338);
  EXPECT_EQ(laid[19].right, 368);
  EXPECT_EQ(laid[19].top, 10);
  EXPECT_EQ(laid[19].bottom, 60);
}

TEST(ToolbarTable, BitmapsMasksAndRightClickCommandsFollowTheTable) {
  const Toolbar t;
  const int bitmaps[kToolbarButtons] = {129, 169, 138, 159, 128, 163, 127, 145, 146, 126, 137,
                                        130, 144, 131, 133, 132, 164, 204, 165, 203, 201};
  for (int i = 0; i < kToolbarButtons; ++i) EXPECT_EQ(t.button(i).bitmap, bitmaps[i]) << i;

  // Shown on the ToDo page: everything up to the Support button except Stop.
  for (int i = 0; i <= 17; ++i) EXPECT_EQ(t.button(i).shownOn(0), i != 1) << i;
  // Next Things keeps save, settings, page menu, row moves, help, done, share, support.
  for (int i = 0; i < kToolbarButtons; ++i) {
    const bool expected = i == 2 || i == 3 || i == 5 || i == 7 || i == 8 || i == 9 || i == 15 || i == 16 || i == 17;
    EXPECT_EQ(t.button(i).shownOn(1), expected) << i;
  }
  EXPECT_TRUE(t.button(18).shownOn(5) && t.button(19).shownOn(5) && !t.button(20).shownOn(5));
  EXPECT_TRUE(t.button(20).shownOn(6) && !t.button(18).shownOn(6));
  EXPECT_TRUE(t.button(3).shownOn(4) && t.button(9).shownOn(2) && !t.button(2).shownOn(3));

  const int right[kToolbarButtons] = {1110, 1110, 0, 0, 0, 0, 0, 0, 0, 0, 1136,
                                      1132, 1133, 1134, 1135, 1137, 0, 0, 0, 0, 0};
  for (int i = 0; i < kToolbarButtons; ++i) EXPECT_EQ(t.button(i).rightCommand, right[i]) << i;
  EXPECT_EQ(t.button(11).leftCommand, 1103);
  EXPECT_EQ(t.button(12).leftCommand, kCmdAddAbandoned);
  EXPECT_EQ(t.button(13).leftCommand, 1105);
  EXPECT_EQ(t.button(14).leftCommand, 1131);
  EXPECT_EQ(t.button(15).leftCommand, 1112);
  EXPECT_EQ(t.button(4).leftCommand, 1517);
  EXPECT_EQ(t.button(6).leftCommand, 1518);
}

TEST(ToolbarTable, TooltipsHaveBothLanguages) {
  const Toolbar t;
  EXPECT_EQ(u16(text(t.button(11).tooltip, Language::English)), u"Pomodoro® [Ctrl+t]. Right-click to Remove.");
  EXPECT_EQ(u16(text(t.button(4).tooltip, Language::English)), u"Previous ToDo [Alt+Left]");
  for (int i = 0; i < kToolbarButtons; ++i) {
    const u16 en = text(t.button(i).tooltip, Language::English);
    const u16 zh = text(t.button(i).tooltip, Language::ChineseSimplified);
    EXPECT_FALSE(en.empty()) << i;
    EXPECT_NE(en, zh) << i;
  }
}

TEST(ToolbarHitTest, IsStrictOnAllFourBorders) {
  const Toolbar t;
  const ToolbarButton& save = t.button(2);  // 57,43 to 97,83 on page 0
  EXPECT_EQ(t.hitTest(save.left, 60, 0), -1);
  EXPECT_EQ(t.hitTest(save.right, 60, 0), -1);
  EXPECT_EQ(t.hitTest(70, save.top, 0), -1);
  EXPECT_EQ(t.hitTest(70, save.bottom, 0), -1);
  EXPECT_EQ(t.hitTest(save.left + 1, save.top + 1, 0), 2);
  EXPECT_EQ(t.hitTest(save.right - 1, save.bottom - 1, 0), 2);

  // A border click runs nothing either.
  Toolbar live;
  EXPECT_FALSE(live.press(save.left, 60, MouseSide::Left, 0).onButton);
  EXPECT_EQ(live.release(save.left, 60, MouseSide::Left, 0).command, 0);
}

TEST(ToolbarHitTest, OnlyButtonsOfThePageAnswerAndTheFirstInTableOrderWins) {
  Toolbar t;
  EXPECT_EQ(t.hitTest(20, 60, 0), 0);   // Start, while Stop shares the place
  EXPECT_EQ(t.hitTest(20, 60, 1), -1);  // neither is on Next Things
  EXPECT_EQ(t.hitTest(500, 60, 5), 18);
  EXPECT_EQ(t.hitTest(500, 60, 6), 20);
  EXPECT_EQ(t.hitTest(500, 60, 0), 11);
  EXPECT_EQ(t.hitTest(500, 60, 3), -1);

  t.showTimerRunning(true);
  EXPECT_EQ(t.hitTest(20, 60, 0), 1);
  t.showTimerRunning(true);  // a second report changes nothing
  EXPECT_EQ(t.hitTest(20, 60, 0), 1);
  EXPECT_FALSE(t.button(0).shownOn(0));
  t.showTimerRunning(false);
  EXPECT_EQ(t.hitTest(20, 60, 0), 0);
  EXPECT_FALSE(t.button(1).shownOn(0));
}

TEST(ToolbarClicks, PressAndReleaseOnTheSameButtonRunItsCommand) {
  Toolbar t;
  const ToolbarEffect down = t.press(centreX(t, 11), centreY(t, 11), MouseSide::Left, 0);
  EXPECT_TRUE(down.onButton);
  EXPECT_EQ(down.command, 0);
  EXPECT_EQ(down.redraw, std::vector<int>{11});
  EXPECT_TRUE(t.button(11).pressed);
  EXPECT_TRUE(t.leftPending());

  const ToolbarEffect up = t.release(centreX(t, 11), centreY(t, 11), MouseSide::Left, 0);
  EXPECT_EQ(up.command, 1103);
  EXPECT_EQ(up.redraw, std::vector<int>{11});
  EXPECT_FALSE(anyPressed(t));
  EXPECT_FALSE(t.leftPending());

  t.press(centreX(t, 11), centreY(t, 11), MouseSide::Right, 0);
  EXPECT_EQ(t.release(centreX(t, 11), centreY(t, 11), MouseSide::Right, 0).command, 1132);

  // A right click on a button without a right-click handler does nothing.
  t.press(centreX(t, 2), centreY(t, 2), MouseSide::Right, 0);
  const ToolbarEffect none = t.release(centreX(t, 2), centreY(t, 2), MouseSide::Right, 0);
  EXPECT_EQ(none.command, 0);
  EXPECT_FALSE(anyPressed(t));
}

TEST(ToolbarClicks, ReleasingElsewhereRunsNothingAndReleasesAll) {
  Toolbar t;
  t.press(centreX(t, 13), centreY(t, 13), MouseSide::Left, 0);
  ASSERT_TRUE(t.button(13).pressed);

  // On another button of the page...
  ToolbarEffect up = t.release(centreX(t, 14), centreY(t, 14), MouseSide::Left, 0);
  EXPECT_EQ(up.command, 0);
  EXPECT_EQ(up.redraw, std::vector<int>{13});
  EXPECT_FALSE(anyPressed(t));
  EXPECT_FALSE(t.leftPending() || t.rightPending());

  // ...and off the toolbar.
  t.press(centreX(t, 13), centreY(t, 13), MouseSide::Left, 0);
  up = t.release(600, 400, MouseSide::Left, 0);
  EXPECT_EQ(up.command, 0);
  EXPECT_FALSE(up.onButton);
  EXPECT_FALSE(anyPressed(t));

  // A later release on the button itself finds nothing pressed.
  EXPECT_EQ(t.release(centreX(t, 13), centreY(t, 13), MouseSide::Left, 0).command, 0);
}

TEST(ToolbarClicks, TheOtherMouseButtonIsIgnoredWhileOneIsPending) {
  Toolbar t;
  t.press(centreX(t, 12), centreY(t, 12), MouseSide::Left, 0);

  // Right press and release on another button while the left press is pending.
  ToolbarEffect fx = t.press(centreX(t, 14), centreY(t, 14), MouseSide::Right, 0);
  EXPECT_TRUE(fx.redraw.empty());
  EXPECT_FALSE(t.button(14).pressed);
  EXPECT_FALSE(t.rightPending());
  fx = t.release(centreX(t, 12), centreY(t, 12), MouseSide::Right, 0);
  EXPECT_EQ(fx.command, 0);
  EXPECT_TRUE(t.button(12).pressed);
  EXPECT_TRUE(t.leftPending());

  EXPECT_EQ(t.release(centreX(t, 12), centreY(t, 12), MouseSide::Left, 0).command, kCmdAddAbandoned);

  // And the other way round.
  t.press(centreX(t, 15), centreY(t, 15), MouseSide::Right, 0);
  EXPECT_TRUE(t.press(centreX(t, 15), centreY(t, 15), MouseSide::Left, 0).redraw.empty());
  EXPECT_EQ(t.release(centreX(t, 15), centreY(t, 15), MouseSide::Left, 0).command, 0);
  EXPECT_EQ(t.release(centreX(t, 15), centreY(t, 15), MouseSide::Right, 0).command, 1137);
}

TEST(ToolbarClicks, APressOnAnotherPageButtonOrNoneReleasesThoseBefore) {
  Toolbar t;
  t.press(centreX(t, 3), centreY(t, 3), MouseSide::Left, 3);
  t.release(600, 600, MouseSide::Right, 3);  // ignored: the left press is pending
  ASSERT_TRUE(t.button(3).pressed);
  t.release(centreX(t, 3), centreY(t, 3), MouseSide::Left, 3);

  // A hidden button cannot be pressed: Save is not on page 3.
  const ToolbarEffect fx = t.press(centreX(t, 2), centreY(t, 2), MouseSide::Left, 3);
  EXPECT_FALSE(fx.onButton);
  EXPECT_FALSE(t.button(2).pressed);
  EXPECT_FALSE(t.leftPending());
}

// Records the bitmap copies; nothing else is drawn by the toolbar.
class BlitRecorder : public Surface {
 public:
  struct Blit {
    int dx, dy, w, h;
    BitmapId bitmap;
    int sx, sy;
    bool operator==(const Blit&) const = default;
  };
  std::vector<Blit> blits;
  int width() const override { return 1350; }
  int height() const override { return 1100; }
  void fillRect(int, int, int, int, Rgb) override {}
  void line(int, int, int, int, Rgb, int) override {}
  void dottedLine(int, int, int, int, Rgb) override {}
  void setFont(const FontSpec& f) override { font_ = f; }
  const FontSpec& font() const override { return font_; }
  int textWidth(u16v) override { return 0; }
  int textHeight(u16v) override { return 0; }
  void drawText(int, int, u16v, Rgb) override {}
  void drawTextClipped(int, int, u16v, Rgb, int, int, int, int) override {}
  void setOrigin(int, int) override {}
  void setClip(int, int, int, int) override {}
  void clearClip() override {}
  bool drawBitmap(int dx, int dy, int w, int h, BitmapId bitmap, int sx, int sy) override {
    blits.push_back({dx, dy, w, h, bitmap, sx, sy});
    return true;
  }
  bool drawSprite(int, int, int, int, BitmapId, int, int) override { return true; }
  void pie(int, int, int, int, double, double, Rgb, Rgb, int) override {}
  void pieOutline(int, int, int, int, double, double, Rgb, int) override {}
  void ellipse(int, int, int, int, Rgb, Rgb, int) override {}

 private:
  FontSpec font_;
};

TEST(ToolbarDrawing, ReleasedAndPressedImagesComeFromTheTwoHalvesOfTheBitmap) {
  Toolbar t;
  BlitRecorder s;
  drawToolbarButton(s, t.button(11));
  t.press(centreX(t, 11), centreY(t, 11), MouseSide::Left, 0);
  drawToolbarButton(s, t.button(11));
  ASSERT_EQ(s.blits.size(), 2u);
  EXPECT_EQ(s.blits[0], (BlitRecorder::Blit{477, 43, 40, 40, 130, 0, 0}));
  EXPECT_EQ(s.blits[1], (BlitRecorder::Blit{477, 43, 40, 40, 130, 0, 40}));
}

TEST(ToolbarDrawing, OnlyThePageButtonsAreDrawnAndTheHitOneEndsOnTop) {
  Toolbar t;
  BlitRecorder s;
  drawToolbarButtons(s, t, 6);
  std::vector<BitmapId> drawn;
  for (const auto& b : s.blits) drawn.push_back(b.bitmap);
  std::sort(drawn.begin(), drawn.end());
  EXPECT_EQ(drawn, (std::vector<BitmapId>{126, 159, 164, 201, 204}));

  t.showTimerRunning(true);
  s.blits.clear();
  drawToolbarButtons(s, t, 0);
  const auto atStart = std::count_if(s.blits.begin(), s.blits.end(), [](const auto& b) { return b.dx == 1; });
  EXPECT_EQ(atStart, 1);
  EXPECT_EQ(std::find_if(s.blits.begin(), s.blits.end(), [](const auto& b) { return b.dx == 1; })->bitmap, 169);
}

TEST(ToolbarScoreButtons, AReadOnlySheetHidesThemFromTheTodoPageOnly) {
  Toolbar t;
  t.press(centreX(t, 13), centreY(t, 13), MouseSide::Left, 0);
  t.showScoreButtons(false);
  for (int i = 10; i <= 15; ++i) EXPECT_FALSE(t.button(i).shownOn(0)) << i;
  EXPECT_FALSE(t.button(13).pressed);
  EXPECT_TRUE(t.button(15).shownOn(1));
  EXPECT_TRUE(t.button(9).shownOn(0));
  EXPECT_EQ(t.hitTest(centreX(t, 11), centreY(t, 11), 0), -1);
  // The release of the press made before finds nothing to run.
  EXPECT_EQ(t.release(centreX(t, 13), centreY(t, 13), MouseSide::Left, 0).command, 0);

  t.showScoreButtons(true);
  for (int i = 10; i <= 15; ++i) EXPECT_TRUE(t.button(i).shownOn(0)) << i;
  EXPECT_FALSE(t.button(10).shownOn(1));
}

TEST(ToolbarMenus, MenusHangEightPixelsInsideTheirButtonCorner) {
  const Toolbar t;
  const auto page = t.menuAnchor(menuAnchorButton(kCmdPageMenu));
  EXPECT_EQ(page.x, 33);
  EXPECT_EQ(page.y, 75);
  const auto help = t.menuAnchor(menuAnchorButton(kCmdHelpMenu));
  EXPECT_EQ(help.x, 271);
  const auto estimate = t.menuAnchor(menuAnchorButton(kCmdEstimateMenu));
  EXPECT_EQ(estimate.x, 271);
  EXPECT_EQ(t.menuAnchor(menuAnchorButton(kCmdShareMenu)).x, 677);
  EXPECT_EQ(t.menuAnchor(menuAnchorButton(kCmdProjectMenu)).x, 512);
}

}  // namespace
}  // namespace tirelmo
