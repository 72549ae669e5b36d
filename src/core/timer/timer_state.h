// What the rest of the program needs to know about the pomodoro timer.
#pragma once

namespace tirelmo {

struct TimerState {
  bool running = false;       // a pomodoro or a break is counting down
  bool isBreak = false;       // the countdown is a break
  int currentMinutes = 25;    // length of the next pomodoro, from the settings
  int remainingMinutes = 0;   // minutes left in the running period
  int row = -1;               // the row the pomodoro runs on

  bool pomodoroRunning() const { return running && !isBreak; }
};

}  // namespace tirelmo
