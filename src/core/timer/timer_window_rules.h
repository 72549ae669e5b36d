// The small floating timer window and the end-of-period dialogs, as plain rules: which
// images of the digit strip make the picture, how transparent the window is, where it
// opens, its titles, tooltips and menu, and what the end-of-pomodoro dialog shows. The
// window side only draws what these say.
#pragma once

#include <cstdint>
#include <vector>

#include "sheet/todo_row.h"
#include "text/strings.h"
#include "text/ustring.h"
#include "ui/menus.h"

namespace tirelmo {

struct App;
struct Settings;

inline constexpr int kTimerWindowSize = 56;   // the window and its picture are square
inline constexpr int kDigitWidth = 28;
inline constexpr int kDigitHeight = 56;
inline constexpr int kBlankDigitX = 280;      // the eleventh image of a strip row
inline constexpr int kTimerStyleCount = 5;
// The digit tooltip covers the digits, not the bottom strip where "BREAK" is written.
inline constexpr int kDigitTipLeft = 0, kDigitTipTop = 0, kDigitTipRight = 56, kDigitTipBottom = 50;
inline constexpr int kTimerTipMaxWidth = 300;
inline constexpr std::size_t kTimerTipTaskUnits = 30;
inline constexpr std::size_t kTimeElapsedTaskUnits = 45;

// "Timer Type": the colour style of the digits.
enum class TimerStyle { Classic = 0, Grey = 1, LightGrey = 2, Yellow = 3, Blue = 4 };

// Commands the timer window sends to the main window.
inline constexpr int kCmdTimerStop = 1110;
inline constexpr int kCmdShowMainWindow = 1512;
inline constexpr int kCmdTimerStyleFirst = 1536;  // 1536..1540: Classic..Blue
inline constexpr int kCmdTimerStyleLast = kCmdTimerStyleFirst + kTimerStyleCount - 1;

// A "Timer Type" outside 0..4 (a hand-edited settings file) would cut the digits from
// below the strip; it draws as Classic instead.
int timerStyleIndex(int timerType);

// One 28 x 56 image of the digit strip, by its top-left corner.
struct DigitImage {
  int x = 0;
  int y = 0;
  friend bool operator==(const DigitImage&, const DigitImage&) = default;
};

// What the 56 x 56 picture holds: the tens image at (0, 0), the units image at (28, 0),
// and the word "BREAK" written below during a break.
struct TimerPicture {
  DigitImage tens;
  DigitImage units;
  bool showBreakWord = false;
  u16 breakWord;  // "BREAK" in the program's language; empty outside a break
  friend bool operator==(const TimerPicture&, const TimerPicture&) = default;
};

// Minutes are shown with two digits: below 10 the tens place is the blank image. Values
// outside 0..99 show as the nearest end.
TimerPicture timerPicture(int remainingMinutes, int timerType, bool isBreak, Language lang);

// Alpha of 255 the window is drawn with: Classic 204; Light Grey and Blue 127 during a
// pomodoro and 102 during a break; Grey and Yellow 102.
std::uint8_t timerWindowAlpha(int timerType, bool isBreak);

// Where the window opens: the stored corner, or 0 on an axis where it lies beyond the
// screen (the screen may have shrunk since the position was stored).
struct ScreenPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};
ScreenPoint timerWindowPosition(const Settings& settings, int screenWidth, int screenHeight);

// Everything the window side needs to open the timer window.
struct TimerWindowSetup {
  ScreenPoint position;
  std::uint8_t alpha = 255;
  u16 title;          // "*Break-time*" or "Timer on: <task>"
  u16 stopTip;        // the second tooltip, "Stop Timer"
};
TimerWindowSetup timerWindowSetup(const App& app);

// The text of the digit tooltip, asked for each time it is shown.
u16 timerTooltipText(const App& app);

// The right-click menu: "Stop Timer", the five styles with the current one checked and
// "Display Main Window".
Menu buildTimerWindowMenu(const App& app);
// The commands a menu choice sends to the main window, in order: "Stop Timer" also brings
// the main window back.
std::vector<int> timerMenuCommands(int chosenCommand);

// Commands 1536..1540: the style is stored; the caller redraws the timer. False for any
// other command.
bool setTimerStyleFromCommand(Settings& settings, int command);

// What DLG_TIMEELAPSED shows about the task: its text (first 45 units), its category mark,
// and the tomato lines of the counts that are not zero.
struct TimeElapsedPicture {
  u16 caption;  // "Time-out!"
  u16 message;  // "Time out!"
  u16 taskText;
  int category = 0;
  std::vector<u16> tomatoLines;  // each drawn beside a small tomato image
  u16 okLabel, doneLabel, abandonLabel, cancelLabel;
};
TimeElapsedPicture timeElapsedPicture(const TodoRow& row, Language lang);

// What DLG_BREAKTIMEELAPSED shows.
struct BreakElapsedPicture {
  u16 caption;  // "BreakTime out!"
  u16 message;  // "It's time to work!"
  u16 okLabel;
};
BreakElapsedPicture breakElapsedPicture(Language lang);

// The first n UTF-16 units of a text, one less when the cut would split a surrogate pair.
u16 firstUnits(u16v text, std::size_t n);

}  // namespace tirelmo
