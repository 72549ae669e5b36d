#include "ui/toolbar.h"

namespace tirelmo {

namespace {

constexpr int kAfter2 = -1;
constexpr int kAfter8 = -2;
constexpr int kAfter16 = -3;

constexpr std::uint8_t kPage0 = pageBit(0);
constexpr std::uint8_t kPages01 = pageBit(0) | pageBit(1);

// Commands the buttons send (the score commands and the sheet navigation are the ones the
// menus and keys send too, so every path into an operation is the same).
constexpr int kCmdStartTimer = 1100;
constexpr int kCmdStopTimer = 1110;
constexpr int kCmdPreviousSheet = 1517;
constexpr int kCmdNextSheet = 1518;
constexpr int kCmdMoveRowUp = 1500;
constexpr int kCmdMoveRowDown = 1501;
constexpr int kCmdAddPomodoro = 1103;
constexpr int kCmdAddInternal = 1105;
constexpr int kCmdAddExternal = 1131;
constexpr int kCmdMarkDone = 1112;
constexpr int kCmdSupportPage = 1120;

ToolbarButton entry(BitmapId bitmap, int left, int top, int right, int bottom, int leftCommand, Txt tip,
                    int rightCommand, std::uint8_t mask) {
  ToolbarButton b;
  b.bitmap = bitmap;
  b.left = left;
  b.top = top;
  b.right = right;
  b.bottom = bottom;
  b.leftCommand = leftCommand;
  b.tooltip = tip;
  b.rightCommand = rightCommand;
  b.pageMask = mask;
  return b;
}

std::array<ToolbarButton, kToolbarButtons> makeTable() {
  return {{
      entry(129, 1, 43, 41, 83, kCmdStartTimer, Txt::TipStartTimer, kCmdStopTimer, kPage0),
      entry(169, 1, 43, 41, 83, kCmdStopTimer, Txt::TipStopTimer, kCmdStopTimer, 0),
      entry(138, kAfter16, 0, 0, 0, kCmdSaveAllSheets, Txt::TipSave, 0, kPages01),
      entry(159, kAfter2, 0, 0, 0, kCmdSettingsDialog, Txt::TipSettings, 0, kAllPages),
      entry(128, kAfter16, 0, 0, 0, kCmdPreviousSheet, Txt::TipPreviousTodo, 0, kPage0),
      entry(163, kAfter2, 0, 0, 0, kCmdPageMenu, Txt::TipTodoList, 0, kPages01),
      entry(127, kAfter2, 0, 0, 0, kCmdNextSheet, Txt::TipNextTodo, 0, kPage0),
      entry(145, kAfter2, 0, 0, 0, kCmdMoveRowUp, Txt::TipMoveRowUp, 0, kPages01),
      entry(146, kAfter2, 0, 0, 0, kCmdMoveRowDown, Txt::TipMoveRowDown, 0, kPages01),
      entry(126, kAfter16, 0, 0, 0, kCmdHelpMenu, Txt::TipHelp, 0, kAllPages),
      entry(137, kAfter16, 0, 0, 0, kCmdEstimateMenu, Txt::TipEstimated, 1136, kPage0),
      entry(130, kAfter2, 0, 0, 0, kCmdAddPomodoro, Txt::TipPomodoro, 1132, kPage0),
      entry(144, kAfter2, 0, 0, 0, kCmdAddAbandoned, Txt::TipAbandoned, 1133, kPage0),
      entry(131, kAfter2, 0, 0, 0, kCmdAddInternal, Txt::TipInternal, 1134, kPage0),
      entry(133, kAfter2, 0, 0, 0, kCmdAddExternal, Txt::TipExternal, 1135, kPage0),
      entry(132, kAfter2, 0, 0, 0, kCmdMarkDone, Txt::TipDone, 1137, kPages01),
      entry(164, kAfter16, 0, 0, 0, kCmdShareMenu, Txt::TipShare, 0, kAllPages),
      entry(204, kAfter2, 0, 0, 0, kCmdSupportPage, Txt::TipSupport, 0, kAllPages),
      entry(165, 480, 43, 520, 83, kCmdProjectMenu, Txt::TipProjects, 0, pageBit(5)),
      entry(203, 526, 43, 566, 83, kCmdProjectReport, Txt::TipCreateReport, 0, pageBit(5)),
      entry(201, 480, 43, 520, 83, kCmdDeleteEntriesMenu, Txt::TipDeleteEntries, 0, pageBit(6)),
  }};
}

int gapOf(int left) {
  switch (left) {
    case kAfter2: return 2;
    case kAfter8: return 8;
    case kAfter16: return 16;
    default: return -1;
  }
}

}  // namespace

const std::array<ToolbarButton, kToolbarButtons>& toolbarTable() {
  static const std::array<ToolbarButton, kToolbarButtons> table = makeTable();
  return table;
}

std::array<ToolbarButton, kToolbarButtons> layoutToolbar(const std::array<ToolbarButton, kToolbarButtons>& table) {
  std::array<ToolbarButton, kToolbarButtons> out = table;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const int gap = gapOf(out[i].left);
    if (gap < 0) continue;
    // The first entry always has a real position; a relative one there would have nothing
    // to follow, so it is placed as if after an empty button at 0.
    const ToolbarButton prev = i > 0 ? out[i - 1] : ToolbarButton{};
    out[i].left = prev.right + gap;
    out[i].right = out[i].left + prev.width();
    out[i].top = prev.top;
    out[i].bottom = prev.bottom;
  }
  return out;
}

Toolbar::Toolbar() : buttons_(layoutToolbar(toolbarTable())) {}

int Toolbar::hitTest(int x, int y, int page) const {
  for (int i = 0; i < kToolbarButtons; ++i) {
    const ToolbarButton& b = buttons_[static_cast<std::size_t>(i)];
    if (b.shownOn(page) && b.contains(x, y)) return i;
  }
  return -1;
}

ToolbarEffect Toolbar::press(int x, int y, MouseSide side, int page) {
  ToolbarEffect fx;
  // One mouse button at a time: the other side's press stays the one that counts.
  if (side == MouseSide::Left ? rightPending_ : leftPending_) {
    fx.onButton = hitTest(x, y, page) >= 0;
    return fx;
  }
  const int hit = hitTest(x, y, page);
  const int passedOver = hit < 0 ? kToolbarButtons : hit;
  for (int i = 0; i < passedOver; ++i) {
    ToolbarButton& b = buttons_[static_cast<std::size_t>(i)];
    if (b.pressed) {
      b.pressed = false;
      fx.redraw.push_back(i);
    }
  }
  if (hit < 0) return fx;
  fx.onButton = true;
  ToolbarButton& b = buttons_[static_cast<std::size_t>(hit)];
  if (!b.pressed) {
    b.pressed = true;
    fx.redraw.push_back(hit);
  }
  (side == MouseSide::Left ? leftPending_ : rightPending_) = true;
  return fx;
}

ToolbarEffect Toolbar::release(int x, int y, MouseSide side, int page) {
  ToolbarEffect fx;
  if (side == MouseSide::Left ? rightPending_ : leftPending_) {
    fx.onButton = hitTest(x, y, page) >= 0;
    return fx;
  }
  const int hit = hitTest(x, y, page);
  const bool wasPending = side == MouseSide::Left ? leftPending_ : rightPending_;
  leftPending_ = rightPending_ = false;
  if (hit >= 0 && buttons_[static_cast<std::size_t>(hit)].pressed) {
    ToolbarButton& b = buttons_[static_cast<std::size_t>(hit)];
    b.pressed = false;
    fx.onButton = true;
    fx.redraw.push_back(hit);
    // A release without its own press (the press went to a menu or another window) runs
    // nothing: only a click that started on this button is one.
    if (wasPending) fx.command = side == MouseSide::Left ? b.leftCommand : b.rightCommand;
    return fx;
  }
  fx.onButton = hit >= 0;
  for (int i = 0; i < kToolbarButtons; ++i) {
    ToolbarButton& b = buttons_[static_cast<std::size_t>(i)];
    if (b.pressed) {
      b.pressed = false;
      fx.redraw.push_back(i);
    }
  }
  return fx;
}

void Toolbar::showTimerRunning(bool running) {
  ToolbarButton& start = buttons_[tb::kStartTimer];
  ToolbarButton& stop = buttons_[tb::kStopTimer];
  const std::uint8_t shown = start.pageMask | stop.pageMask;
  start.pageMask = running ? 0 : shown;
  stop.pageMask = running ? shown : 0;
  start.pressed = stop.pressed = false;
}

void Toolbar::showScoreButtons(bool shown) {
  const auto& table = toolbarTable();
  for (int i = tb::kEstimated; i <= tb::kDone; ++i) {
    ToolbarButton& b = buttons_[static_cast<std::size_t>(i)];
    const std::uint8_t full = table[static_cast<std::size_t>(i)].pageMask;
    b.pageMask = shown ? full : static_cast<std::uint8_t>(full & ~pageBit(0));
    if (!shown) b.pressed = false;
  }
}

Toolbar::Point Toolbar::menuAnchor(int button) const {
  const ToolbarButton& b = buttons_[static_cast<std::size_t>(button)];
  return {b.right - 8, b.bottom - 8};
}

int menuAnchorButton(int menuCommand) {
  switch (menuCommand) {
    case kCmdPageMenu: return 1;
    case kCmdHelpMenu:
    case kCmdEstimateMenu: return 6;
    case kCmdShareMenu: return 15;
    case kCmdProjectMenu: return 18;
    case kCmdDeleteEntriesMenu: return 20;
    default: return 1;
  }
}

void drawToolbarButton(Surface& surface, const ToolbarButton& button) {
  const int w = button.width();
  const int h = button.height();
  surface.drawBitmap(button.left, button.top, w, h, button.bitmap, 0, button.pressed ? h : 0);
}

void drawToolbarButtons(Surface& surface, const Toolbar& toolbar, int page) {
  // Drawn in reverse table order so that of two buttons at one place the one the hit test
  // finds first is the one on top.
  for (int i = kToolbarButtons - 1; i >= 0; --i) {
    const ToolbarButton& b = toolbar.button(i);
    if (b.shownOn(page)) drawToolbarButton(surface, b);
  }
}

}  // namespace tirelmo
