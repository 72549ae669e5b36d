// The floating timer window (DLG_TIMER): 56 x 56 pixels, topmost, semi-transparent, corners
// cut, showing the remaining minutes as two digit images. It is dragged by any point, offers
// a right-click menu, and hands every command to the main window.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/canvas.h"
#include "timer/timer_window_rules.h"

namespace tirelmo {

struct MainWindow;

class TimerWindow {
 public:
  explicit TimerWindow(MainWindow& w) : w_(w) {}
  ~TimerWindow();
  TimerWindow(const TimerWindow&) = delete;
  TimerWindow& operator=(const TimerWindow&) = delete;

  // Draws the off-screen picture and repaints the window when it is open. May come before
  // the window opens; the same picture twice draws nothing.
  void drawPicture(const TimerPicture& picture);
  // Opens the window at the setup's corner (an open one is closed first). A failure is
  // logged; the timer runs on without its window.
  void open(const TimerWindowSetup& setup);
  // Stores the window's corner in tmrwndx/tmrwndy and destroys it and its tooltip.
  void close();
  // Shows the window again where it is (it may have been hidden with the main window's
  // minimising), without taking the focus.
  void show();

  bool isOpen() const { return hwnd_ != nullptr; }
  HWND hwnd() const { return hwnd_; }

 private:
  static INT_PTR CALLBACK dialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(UINT msg, WPARAM wParam, LPARAM lParam);
  bool ensureSurface();
  void redraw();
  void paint();
  void makeTranslucent(std::uint8_t alpha);
  void createTooltip(const TimerWindowSetup& setup);
  void showMenu(LPARAM screenPoint);
  void beginDrag();
  void dragTo();
  void sendToMain(int command);
  void forgetWindow();

  MainWindow& w_;
  HWND hwnd_ = nullptr;
  HWND tip_ = nullptr;            // one tooltip control holding the two tools
  std::unique_ptr<Surface> picture_;
  std::optional<TimerPicture> drawn_;  // what the picture shows now
  std::wstring tipText_;          // the digit tooltip's text while it is shown
  std::wstring stopTip_;
  bool dragging_ = false;
  POINT dragStart_{};   // the pointer when the drag began (screen)
  POINT dragOrigin_{};  // the window's corner then
};

}  // namespace tirelmo
