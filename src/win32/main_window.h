// The main window: class registration, creation, the window procedure and the state the
// window keeps beside the core's models (back buffer, toolbar, row editors, tray).
#pragma once

#include <windows.h>

#include "app/app.h"
#include "gdi_canvas.h"
#include "pages_win32.h"
#include "row_editors.h"
#include "timer_win32.h"
#include "toolbar_win32.h"
#include "tray.h"
#include "window_inspector_win32.h"
#include "ui/pages.h"
#include "ui/toolbar.h"
#include "ui/window_rules.h"

namespace tirelmo {

inline constexpr wchar_t kMainWindowClass[] = L"Tirelmo";
inline constexpr wchar_t kMainWindowTitle[] = L"Tirelmo - v2.3.3.0";
// Posted after the first paint: the work a start can leave until its first frame is shown.
inline constexpr UINT kMsgAfterFirstFrame = WM_APP + 1;

struct MainWindow {
  MainWindow(HINSTANCE module, App& a) : app(a), instance(module), graphics(module), pages(graphics) {}
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  App& app;
  HINSTANCE instance;
  HWND hwnd = nullptr;

  GdiGraphics graphics;
  PageSet pages;
  // The one back buffer every page is painted through: a strip as wide as the client area.
  std::unique_ptr<Surface> backBuffer;
  Toolbar toolbar;
  ToolbarTips tips;
  PageBook book;
  PageTabs tabs;
  RowEditors editors;
  Tray tray;
  // What the usage sampling sees of the window in front (app.windows while the window lives).
  Win32WindowInspector inspector;
  // The pomodoro timer's window side; declared after graphics, whose surfaces it uses.
  TimerUiHolder timerUi;

  HCURSOR arrowCursor = nullptr;
  HCURSOR busyCursor = nullptr;  // the class cursor while the pomodoro timer runs
  bool destroyed = false;
  bool firstFrameShown = false;
  // Between the two halves of the day restart the editors are empty and the model is being
  // rebuilt: nothing flows from the editors into it. A restart that never finished (the
  // user chose to exit at the cloud question, the folders are gone) closes the program
  // without saving again: everything was saved before the restart began.
  bool dayRestartPending = false;
  bool dayRestartFailed = false;

  int clientWidth() const;
  int clientHeight() const;
};

ATOM registerMainWindowClass(HINSTANCE instance);
// Creates the window at the stored position and size; nullptr on failure.
HWND createMainWindow(HINSTANCE instance, App& app);
// Frees the window's state once the message loop has ended (the window is gone by then).
void releaseMainWindow();

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The main window behind a handle of the class, or null.
MainWindow* mainWindowOf(HWND hwnd);

// Window icon: -1 the program icon, 0..25 the countdown icon of that many minutes; other
// values leave the icon. A missing icon resource is reported ("Icon not loaded!").
void setWindowIcon(MainWindow& w, int minutes);

// Sets the plain title of the window.
void refreshTitle(MainWindow& w);

// Command 1111 and the close box: refused while a pomodoro runs, otherwise the shut-down.
void exitProgram(MainWindow& w, bool fromCloseBox);

}  // namespace tirelmo
