// The pomodoro timer: one pomodoro on one row of today's sheet, counted down in whole
// minutes by a one-second tick, its outcome asked at the end and recorded as scores, then
// a break. Idle -> Pomodoro -> (Break) -> Idle.
//
// The core decides; the window side acts. Every effect the timer has on the screen or the
// speakers goes through the TimerUi port, so the whole state machine runs in tests with a
// recording fake and the fake clock: 1,500 ticks of a pomodoro take microseconds.
#pragma once

#include "text/ustring.h"
#include "timer/timer_window_rules.h"

namespace tirelmo {

struct App;

// The platform timer that drives onTimerTick.
inline constexpr int kTimerTickId = 400;
inline constexpr int kTimerTickMs = 1000;
// The end-of-period dialogs flash themselves on their own timer.
inline constexpr int kElapsedDialogTimerId = 404;

inline constexpr int kCmdStartTimer = 1100;
inline constexpr int kCmdStopTimer = kCmdTimerStop;  // 1110
inline constexpr int kCmdExit = 1111;

inline constexpr int kLongBreakMinutes = 15;
inline constexpr int kPomodorosPerLongBreak = 4;
// The window icon operation takes this for the program's own icon.
inline constexpr int kProgramIconMinutes = -1;

// The answers of DLG_TIMEELAPSED, numbered as its buttons answer.
enum class PomodoroOutcome { Ok = 1, Done = 2, Abandon = 3, Cancel = 4 };

// What the timer asks of the window side. Calls arrive on the UI thread, in the order the
// effects must happen.
class TimerUi {
 public:
  virtual ~TimerUi() = default;

  // Platform timer 400, 1000 ms: each tick calls onTimerTick.
  virtual void startTicking() = 0;
  virtual void stopTicking() = 0;
  // One relative mouse movement of 0 by 0, so the machine does not doze off while the user
  // works away from the keyboard.
  virtual void nudgeInput() = 0;

  // The main window.
  virtual void setTitle(u16v title) = 0;
  // 0..25 minutes: the countdown icon of that many minutes; above 25 the icon stays as it
  // is; kProgramIconMinutes: the program's icon (windowIconId in ui/window_rules.h maps it).
  virtual void setWindowIcon(int minutes) = 0;
  // The marker beside the timer's row on the ToDo Today page, drawn with one of two pens.
  virtual void drawBlinkMarker(int row, bool phase) = 0;
  virtual void eraseBlinkMarker(int row) = 0;
  // The toolbar shows Stop in Start's place while the timer runs (the page masks of
  // buttons 0 and 1 swap), and Start again afterwards.
  virtual void showStopButton(bool timerRunning) = 0;
  // The busy cursor while a pomodoro runs, the arrow afterwards.
  virtual void setBusyCursor(bool busy) = 0;
  // MinimizeToTray: into the tray with bMinimizeToTray, else an ordinary minimise.
  virtual void minimizeMainWindow() = 0;
  // Out of the tray (icon removed) and restored.
  virtual void restoreMainWindow() = 0;
  virtual void flashMainWindow() = 0;
  virtual void bringToForeground() = 0;
  virtual void redrawPage() = 0;
  // Makes the row of the ToDo Today page the selected one (marker, editor focus).
  virtual void selectRow(int row) = 0;

  // Asynchronous; a missing file plays nothing.
  virtual void playSound(u16v path, bool loop) = 0;
  virtual void stopSound() = 0;

  // The floating timer window. The picture is the window's off-screen image: it may be
  // drawn before the window opens. Closing stores the window's corner in tmrwndx/tmrwndy.
  virtual void drawTimerPicture(const TimerPicture& picture) = 0;
  virtual void openTimerWindow(const TimerWindowSetup& setup) = 0;
  virtual void closeTimerWindow() = 0;

  // The modal end-of-period dialogs (foreground, flashing on timer 404 until answered).
  // Closing the pomodoro dialog any other way than by its four buttons answers Cancel.
  virtual PomodoroOutcome askPomodoroEnd(const TimeElapsedPicture& picture) = 0;
  virtual void showBreakEnd(const BreakElapsedPicture& picture) = 0;
};

// Command 1100 on the current row. True when a pomodoro started; otherwise the refusal
// was shown or logged and nothing changed.
bool startTimer(App& app, TimerUi& ui);

// One tick of timer 400: seconds, minutes, the drawing, and at 0 minutes the end of the
// period (outcome, scores, break).
void onTimerTick(App& app, TimerUi& ui);

// Command 1110. A running pomodoro is recorded as abandoned with the minutes worked; a
// break just ends. False when nothing was running.
bool stopTimer(App& app, TimerUi& ui);

// True when a pomodoro started now would end on the next day; logs "Pomo ending over
// midnight".
bool pomodoroEndsAfterMidnight(App& app);

// The break that follows a pomodoro, as the day stands now: 0 for none (breaks disabled,
// or no pomodoro counted today), 15 after every fourth pomodoro, else the setting.
int breakMinutesAfterPomodoro(const App& app);

// Exit command 1111 and closing the main window by other means: refused while a pomodoro
// runs or its outcome is being asked, each with its own message. True when the program may
// shut down.
enum class ExitVia { ExitCommand, CloseWindow };
bool exitAllowed(App& app, ExitVia via);

// The main window's title while a period runs: "minutes " or "minute " during a pomodoro,
// "* Break * %2d min " during a break, followed by the dots of the second.
u16 timerTitle(const App& app);

// Title, row marker and the timer window's picture for the current state.
void drawTimer(App& app, TimerUi& ui);

// Commands 1536..1540 from the timer window's menu: store the style and redraw the digits.
void setTimerStyle(App& app, TimerUi& ui, int command);

}  // namespace tirelmo
