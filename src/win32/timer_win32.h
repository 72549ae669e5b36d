// The window side of the pomodoro timer: what the main window calls for timer 400, the timer
// commands and the exit checks. The TimerUi the core drives (Win32TimerUi, with the floating
// window and the end-of-period dialogs) lives behind these functions; this header stays free
// of the timer's core headers, so the main window's files keep their own command names.
#pragma once

#include <windows.h>

#include <memory>

namespace tirelmo {

struct MainWindow;
class Win32TimerUi;

struct TimerUiDeleter {
  void operator()(Win32TimerUi* ui) const;
};
// The main window holds one; it is made on first use.
using TimerUiHolder = std::unique_ptr<Win32TimerUi, TimerUiDeleter>;

// WM_TIMER 400: one tick of the countdown.
void onPomodoroTick(MainWindow& w);

// Commands 1100 (start on the current row; F5 and the start button), 1110 (stop; F6, the
// stop button, the timer window) and 1536..1540 (the timer window's colour style).
void startTimerCommand(MainWindow& w, int id);
void stopTimerCommand(MainWindow& w, int id);
void timerStyleCommand(MainWindow& w, int id);

// Command 1111 (fromCloseBox false) and closing the main window: refused, with its
// message, while a pomodoro runs or its outcome is being asked.
bool timerAllowsExit(MainWindow& w, bool fromCloseBox);

// The main window was minimised: a running timer's window stays in view.
void showTimerWindowIfRunning(MainWindow& w);

// The main window is going away: the timer window closes (its corner goes into the
// settings, which are saved next) and any sound stops.
void closeTimerOnExit(MainWindow& w);

}  // namespace tirelmo
