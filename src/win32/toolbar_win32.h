// The toolbar on the screen: its buttons repainted on the page in view, their balloon
// tooltips, and the mouse presses handed to the core's toolbar logic.
#pragma once

#include <windows.h>

#include <array>

#include "ui/toolbar.h"

namespace tirelmo {

struct MainWindow;

class ToolbarTips {
 public:
  // One balloon tooltip window holding a tool per button: a window per button would cost
  // a start some 130 ms under Wine for windows nobody sees yet. A failure is logged and
  // the buttons go without tooltips.
  void create(MainWindow& w);
  // Every tool removed, then the buttons of the page added again with the text of the
  // language in use.
  void showFor(MainWindow& w, int page);
  // Mouse messages of the main window's client area, handed to the tooltips.
  void relayMouse(HWND owner, UINT msg, WPARAM wParam, LPARAM lParam);
  void destroy();

 private:
  HWND tip_ = nullptr;
  std::array<bool, kToolbarButtons> registered_{};
};

// A mouse button went down or up in the client area; returns what the toolbar made of it
// (buttons already redrawn on the page on display).
ToolbarEffect toolbarMouse(MainWindow& w, int x, int y, MouseSide side, bool down);

// The timer state changed: the start and stop buttons swap places on the ToDo page.
void showTimerButtons(MainWindow& w, bool running);

}  // namespace tirelmo
