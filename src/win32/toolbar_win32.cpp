#include "toolbar_win32.h"

#include <commctrl.h>

#include "base/log.h"
#include "main_window.h"
#include "wide.h"

namespace tirelmo {

namespace {

TTTOOLINFOW toolOf(HWND owner, int index) {
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = owner;
  ti.uId = static_cast<UINT_PTR>(index);
  return ti;
}

void drawButtonOnScreen(MainWindow& w, int index) {
  const ToolbarButton& b = w.toolbar.button(index);
  invalidatePageRect(w.pages, w.book.currentPage(), b.left, b.top, b.width(), b.height());
}

}  // namespace

void ToolbarTips::create(MainWindow& w) {
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, w.hwnd, nullptr, w.instance, nullptr);
  if (!tip_) logLine(u"tt createwnd failed");
}

void ToolbarTips::showFor(MainWindow& w, int page) {
  if (!tip_) return;
  for (int i = 0; i < kToolbarButtons; ++i) {
    TTTOOLINFOW ti = toolOf(w.hwnd, i);
    if (registered_[static_cast<std::size_t>(i)]) {
      SendMessageW(tip_, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
      registered_[static_cast<std::size_t>(i)] = false;
    }
    const ToolbarButton& b = w.toolbar.button(i);
    if (!b.shownOn(page)) continue;
    // The mouse is relayed by hand (relayMouse) rather than by the tooltip subclassing the
    // main window, which has its own mouse handling for the buttons.
    ti.uFlags = 0;
    ti.rect = RECT{b.left, b.top, b.right, b.bottom};
    ti.hinst = nullptr;
    ti.lpszText = const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(w.app.tr(b.tooltip)));
    if (SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)))
      registered_[static_cast<std::size_t>(i)] = true;
  }
}

void ToolbarTips::relayMouse(HWND owner, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!tip_) return;
  MSG m{};
  m.hwnd = owner;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = static_cast<DWORD>(GetMessageTime());
  const DWORD pos = GetMessagePos();
  m.pt = POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

void ToolbarTips::destroy() {
  if (tip_) DestroyWindow(tip_);
  tip_ = nullptr;
  registered_ = {};
}

ToolbarEffect toolbarMouse(MainWindow& w, int x, int y, MouseSide side, bool down) {
  const int page = w.book.currentPage();
  ToolbarEffect fx = down ? w.toolbar.press(x, y, side, page) : w.toolbar.release(x, y, side, page);
  for (int i : fx.redraw)
    if (w.toolbar.button(i).shownOn(page)) drawButtonOnScreen(w, i);
  return fx;
}

void showTimerButtons(MainWindow& w, bool running) {
  w.toolbar.showTimerRunning(running);
  if (w.book.currentPage() == 0) {
    const ToolbarButton& b = w.toolbar.button(tb::kStartTimer);
    invalidatePageRect(w.pages, 0, b.left, b.top, b.width(), b.height());
  }
  w.tips.showFor(w, w.book.currentPage());
}

}  // namespace tirelmo
