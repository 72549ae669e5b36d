// The main window's toolbar: 21 bitmap buttons across the top of the page area that act
// as the menu bar. The table, the layout, the hit test and the press/release logic live
// here so that the window only draws what this says and runs the command it hands back.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/canvas.h"
#include "text/strings.h"

namespace tirelmo {

inline constexpr int kToolbarButtons = 21;

// Commands of the main window that have no id of their own in the menus and the
// accelerator table: the toolbar buttons and keys that open a menu or a dialog, and the
// Ctrl+A and Ctrl+S keys.
inline constexpr int kCmdAddAbandoned = 4020;    // Ctrl+A and the abandoned button
inline constexpr int kCmdSaveAllSheets = 4021;   // Ctrl+S and the Save button
inline constexpr int kCmdPageMenu = 4022;        // Tab and the "ToDo list" button
inline constexpr int kCmdHelpMenu = 4023;
inline constexpr int kCmdEstimateMenu = 4024;
inline constexpr int kCmdShareMenu = 4025;
inline constexpr int kCmdSettingsDialog = 4026;
inline constexpr int kCmdProjectMenu = 4027;
inline constexpr int kCmdProjectReport = 4028;
inline constexpr int kCmdDeleteEntriesMenu = 4029;
inline constexpr int kCmdExportData = 4030;        // "Export data…" in the page menu

// Buttons the rest of the window refers to by position.
namespace tb {
inline constexpr int kStartTimer = 0;
inline constexpr int kStopTimer = 1;
inline constexpr int kTodoList = 5;   // the page menu opens at button 1's corner, see menuAnchor
inline constexpr int kNextTodo = 6;
inline constexpr int kEstimated = 10;  // first of the score buttons
inline constexpr int kDone = 15;        // last of the score buttons
inline constexpr int kProjects = 18;
}  // namespace tb

// Page-mask bits: bit n set = shown and active on page n.
inline constexpr std::uint8_t kAllPages = 0x7F;
constexpr std::uint8_t pageBit(int page) { return static_cast<std::uint8_t>(1u << page); }

struct ToolbarButton {
  BitmapId bitmap = 0;
  bool pressed = false;
  // Client pixels; the toolbar sits in the page header, which never scrolls. After the
  // layout the right and bottom edges are known too.
  int left = 0, top = 0, right = 0, bottom = 0;
  int leftCommand = 0;   // 0: a left click does nothing
  Txt tooltip{};
  int rightCommand = 0;  // 0: a right click does nothing
  std::uint8_t pageMask = 0;

  bool shownOn(int page) const { return page >= 0 && page < 8 && (pageMask & pageBit(page)) != 0; }
  // Strict on all four sides: a click on the border belongs to no button.
  bool contains(int x, int y) const { return x > left && x < right && y > top && y < bottom; }
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

// The static table as written down: a left of -1, -2 or -3 places the button 2, 8 or 16
// pixels right of the previous one, with the previous one's size and height.
const std::array<ToolbarButton, kToolbarButtons>& toolbarTable();

// The table with every position resolved.
std::array<ToolbarButton, kToolbarButtons> layoutToolbar(const std::array<ToolbarButton, kToolbarButtons>& table);

enum class MouseSide { Left, Right };

// What a press or a release asks of the window.
struct ToolbarEffect {
  bool onButton = false;          // the point was on a button of the page (no row selection)
  int command = 0;                // the command to run now, 0 for none
  std::vector<int> redraw;        // buttons whose drawn state changed
};

class Toolbar {
 public:
  Toolbar();

  const ToolbarButton& button(int i) const { return buttons_[static_cast<std::size_t>(i)]; }
  const std::array<ToolbarButton, kToolbarButtons>& buttons() const { return buttons_; }

  // The first button, in table order, shown on the page whose rectangle holds the point;
  // -1 when none.
  int hitTest(int x, int y, int page) const;

  ToolbarEffect press(int x, int y, MouseSide side, int page);
  ToolbarEffect release(int x, int y, MouseSide side, int page);

  bool leftPending() const { return leftPending_; }
  bool rightPending() const { return rightPending_; }

  // While a pomodoro or break runs the Stop button takes the Start button's place on the
  // ToDo page, and the other way round when it ends. Idempotent: the window may call it on
  // every timer state change.
  void showTimerRunning(bool running);

  // An earlier day's sheet takes no scores: its score buttons (estimate to done) leave the
  // ToDo page while it is on display. The done button stays on Next Things.
  void showScoreButtons(bool shown);

  // Where a toolbar menu opens (client coordinates): 8 pixels left of and above the lower
  // right corner of the button it hangs from.
  struct Point {
    int x, y;
  };
  Point menuAnchor(int button) const;

 private:
  std::array<ToolbarButton, kToolbarButtons> buttons_;
  bool leftPending_ = false;
  bool rightPending_ = false;
};

// The button a toolbar menu hangs from, by the menu's command.
int menuAnchorButton(int menuCommand);

// Draws a button at its place: the released image is the top half of its bitmap, the
// pressed image the bottom half.
void drawToolbarButton(Surface& surface, const ToolbarButton& button);
// Every button shown on the page. Of two buttons shown at one place the earlier in table
// order ends on top, as it is the one the hit test finds.
void drawToolbarButtons(Surface& surface, const Toolbar& toolbar, int page);

}  // namespace tirelmo
