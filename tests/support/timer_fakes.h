// A TimerUi that only remembers: every call in order, the last state of each thing the
// window side shows, and scripted answers for the end-of-pomodoro dialog.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "text/ustring.h"
#include "timer/pomodoro_timer.h"

namespace tirelmo::test {

class RecordingTimerUi : public TimerUi {
 public:
  // Every call by name ("startTicking", "setTitle", ...), in order; the frequent per-tick
  // calls (nudgeInput, setTitle, setWindowIcon, drawBlinkMarker, drawTimerPicture) are
  // counted instead, so a whole pomodoro does not fill the list.
  std::vector<std::string> calls;
  int nudges = 0;
  int titlesSet = 0;
  int picturesDrawn = 0;
  int markersDrawn = 0;

  bool ticking = false;
  bool timerWindowOpen = false;
  bool stopButtonShown = false;
  bool busyCursor = false;
  u16 title;
  std::optional<int> icon;  // the last setWindowIcon value
  std::optional<TimerPicture> picture;
  std::optional<TimerWindowSetup> openedWith;
  std::vector<int> markerRows;  // every row the marker was drawn on, once each in order
  std::vector<int> selectedRows;
  struct Sound {
    u16 path;
    bool loop;
  };
  std::vector<Sound> sounds;

  // Answers of the pomodoro dialog, used in order; Ok when none is left.
  std::deque<PomodoroOutcome> outcomes;
  std::vector<TimeElapsedPicture> askedPomodoroEnd;
  int breakEndsShown = 0;
  // Runs while the pomodoro dialog is open, before it answers (a test moves the clock,
  // or looks at the state the program is in meanwhile).
  std::function<void()> whileAsking;

  void startTicking() override { ticking = true; note("startTicking"); }
  void stopTicking() override { ticking = false; note("stopTicking"); }
  void nudgeInput() override { ++nudges; }
  void setTitle(u16v t) override { title = u16(t); ++titlesSet; }
  void setWindowIcon(int minutes) override { icon = minutes; }
  void drawBlinkMarker(int row, bool) override {
    ++markersDrawn;
    if (markerRows.empty() || markerRows.back() != row) markerRows.push_back(row);
  }
  void eraseBlinkMarker(int) override { note("eraseBlinkMarker"); }
  void showStopButton(bool running) override {
    stopButtonShown = running;
    note(running ? "showStopButton" : "showStartButton");
  }
  void setBusyCursor(bool busy) override { busyCursor = busy; note(busy ? "busyCursor" : "arrowCursor"); }
  void minimizeMainWindow() override { note("minimizeMainWindow"); }
  void restoreMainWindow() override { note("restoreMainWindow"); }
  void flashMainWindow() override { note("flashMainWindow"); }
  void bringToForeground() override { note("bringToForeground"); }
  void redrawPage() override { note("redrawPage"); }
  void selectRow(int row) override { selectedRows.push_back(row); note("selectRow"); }
  void playSound(u16v path, bool loop) override {
    sounds.push_back({u16(path), loop});
    note(loop ? "playLoop" : "playOnce");
  }
  void stopSound() override { note("stopSound"); }
  void drawTimerPicture(const TimerPicture& p) override { picture = p; ++picturesDrawn; }
  void openTimerWindow(const TimerWindowSetup& s) override {
    openedWith = s;
    timerWindowOpen = true;
    note("openTimerWindow");
  }
  void closeTimerWindow() override { timerWindowOpen = false; note("closeTimerWindow"); }
  PomodoroOutcome askPomodoroEnd(const TimeElapsedPicture& p) override {
    askedPomodoroEnd.push_back(p);
    note("askPomodoroEnd");
    if (whileAsking) whileAsking();
    if (outcomes.empty()) return PomodoroOutcome::Ok;
    const PomodoroOutcome o = outcomes.front();
    outcomes.pop_front();
    return o;
  }
  void showBreakEnd(const BreakElapsedPicture&) override { ++breakEndsShown; note("showBreakEnd"); }

  bool called(const std::string& name) const {
    for (const std::string& c : calls)
      if (c == name) return true;
    return false;
  }
  // Position of a call in the list; -1 when it was not made.
  int indexOf(const std::string& name) const {
    for (std::size_t i = 0; i < calls.size(); ++i)
      if (calls[i] == name) return static_cast<int>(i);
    return -1;
  }

 private:
  void note(const char* name) { calls.emplace_back(name); }
};

}  // namespace tirelmo::test
