#include "timer_win32.h"

#include <mmsystem.h>

#include <climits>

#include "base/log.h"
#include "late_bound.h"
#include "main_window.h"
#include "ui/sheet_page.h"
#include "resource.h"
#include "timer/pomodoro_timer.h"
#include "timer_dialogs.h"
#include "timer_window.h"
#include "ui/sheet_geometry.h"
#include "wide.h"

namespace tirelmo {

class Win32TimerUi final : public TimerUi {
 public:
  explicit Win32TimerUi(MainWindow& w) : w_(w), window_(w) {}

  void startTicking() override {
    if (!SetTimer(w_.hwnd, TIMER_POMODORO, kTimerTickMs, nullptr)) logLastError(u"SetTimer 400");
  }
  void stopTicking() override { KillTimer(w_.hwnd, TIMER_POMODORO); }

  void nudgeInput() override {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;  // relative, by 0 and 0
    SendInput(1, &input, sizeof input);
  }

  void setTitle(u16v title) override { SetWindowTextW(w_.hwnd, Wstr(title).c_str()); }

  void setWindowIcon(int minutes) override {
    // Loading and sending two icons every second for the same minute would be wasted work.
    if (minutes == shownIcon_) return;
    shownIcon_ = minutes;
    tirelmo::setWindowIcon(w_, minutes);
  }

  void drawBlinkMarker(int row, bool phase) override {
    if (row >= 0 && row < kSheetRows) setBlinkMarker(w_.pages, row, phase);
  }

  void eraseBlinkMarker(int row) override {
    setBlinkMarker(w_.pages, -1, false);
    App::call(w_.app.hooks.redrawRow, row);
  }

  void showStopButton(bool timerRunning) override { showTimerButtons(w_, timerRunning); }

  void setBusyCursor(bool busy) override {
    HCURSOR cursor = busy ? w_.busyCursor : w_.arrowCursor;
    if (!cursor) return;
    SetClassLongPtrW(w_.hwnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    // The class cursor shows at the next mouse move; one already over the window changes now.
    POINT p{};
    if (GetCursorPos(&p) && WindowFromPoint(p) == w_.hwnd) SetCursor(cursor);
  }

  void minimizeMainWindow() override { MinimizeToTray(w_); }
  void restoreMainWindow() override { leaveTray(w_); }

  void flashMainWindow() override {
    FLASHWINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = w_.hwnd;
    info.dwFlags = FLASHW_ALL;
    info.uCount = 3;
    FlashWindowEx(&info);
  }

  void bringToForeground() override { SetForegroundWindow(w_.hwnd); }
  void redrawPage() override { drawPage(w_, w_.book.currentPage()); }
  void selectRow(int row) override { tirelmo::selectRow(w_, row); }

  void playSound(u16v path, bool loop) override {
    const u16 file(path);
    DWORD flags = SND_FILENAME | SND_ASYNC | SND_NODEFAULT;
    if (loop) flags |= SND_LOOP;
    if (!playSoundLate(W(file), flags)) logLine(u"Sound not played: %s", file);
  }
  void stopSound() override { stopSoundLate(); }

  void drawTimerPicture(const TimerPicture& picture) override { window_.drawPicture(picture); }
  void openTimerWindow(const TimerWindowSetup& setup) override { window_.open(setup); }
  void closeTimerWindow() override { window_.close(); }

  PomodoroOutcome askPomodoroEnd(const TimeElapsedPicture& picture) override {
    return showTimeElapsedDialog(w_.hwnd, picture);
  }
  void showBreakEnd(const BreakElapsedPicture& picture) override { showBreakElapsedDialog(w_.hwnd, picture); }

  TimerWindow& window() { return window_; }

 private:
  MainWindow& w_;
  TimerWindow window_;
  int shownIcon_ = INT_MIN;
};

void TimerUiDeleter::operator()(Win32TimerUi* ui) const { delete ui; }

namespace {

Win32TimerUi& timerUiOf(MainWindow& w) {
  if (!w.timerUi) w.timerUi = TimerUiHolder(new Win32TimerUi(w));
  return *w.timerUi;
}

}  // namespace

void onPomodoroTick(MainWindow& w) {
  onTimerTick(w.app, timerUiOf(w));
  // The end of a pomodoro may have restarted the day and moved to another page.
  if (!w.destroyed) followModelPage(w);
}

void startTimerCommand(MainWindow& w, int) { startTimer(w.app, timerUiOf(w)); }

void stopTimerCommand(MainWindow& w, int) { stopTimer(w.app, timerUiOf(w)); }

void timerStyleCommand(MainWindow& w, int id) { setTimerStyle(w.app, timerUiOf(w), id); }

bool timerAllowsExit(MainWindow& w, bool fromCloseBox) {
  return exitAllowed(w.app, fromCloseBox ? ExitVia::CloseWindow : ExitVia::ExitCommand);
}

void showTimerWindowIfRunning(MainWindow& w) {
  if (w.app.timer.running && w.timerUi) w.timerUi->window().show();
}

void closeTimerOnExit(MainWindow& w) {
  if (!w.timerUi) return;
  if (w.app.timer.running) {
    w.timerUi->stopTicking();
    w.timerUi->stopSound();
  }
  w.timerUi->window().close();
}

}  // namespace tirelmo
