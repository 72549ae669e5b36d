// What the rest of the program needs to know about the pomodoro timer. The operations that
// drive it live in timer/pomodoro_timer.h.
#pragma once

namespace tirelmo {

enum class TimerPhase { Idle, Pomodoro, Break };

struct TimerState {
  bool running = false;       // a pomodoro or a break is counting down
  bool isBreak = false;       // the countdown is a break
  int currentMinutes = 25;    // length of the next pomodoro, from the settings
  int remainingMinutes = 0;   // minutes left in the running period
  int row = -1;               // the row the pomodoro runs on

  int secondCounter = 1;           // 1..60, seconds into the current minute
  bool endsAfterMidnight = false;  // started late enough to end on the next day
  bool blinkPhase = false;         // which of the two pens draws the row marker
  // The pomodoro has ended and its outcome is being asked: nothing is recorded yet, so the
  // program must not go away now.
  bool awaitingOutcome = false;

  bool pomodoroRunning() const { return running && !isBreak; }
  TimerPhase phase() const { return !running ? TimerPhase::Idle : isBreak ? TimerPhase::Break : TimerPhase::Pomodoro; }
};

}  // namespace tirelmo
