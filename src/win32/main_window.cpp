#include "main_window.h"

#include "app/log.h"
#include "app/startup.h"
#include "resource.h"
#include "wide.h"

namespace tirelmo {

namespace {

App* appOf(HWND hwnd) { return reinterpret_cast<App*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

void logFolders() {
  wchar_t buf[MAX_PATH];
  if (GetSystemDirectoryW(buf, MAX_PATH)) logLine(u"System Dir: %s", U(buf));
  else logLine(u"Get SysDir err: %d", static_cast<int>(GetLastError()));
  if (GetCurrentDirectoryW(MAX_PATH, buf)) logLine(u"Cur Dir: %s", U(buf));
  else logLine(u"Get CurDir err: %d", static_cast<int>(GetLastError()));
  if (GetWindowsDirectoryW(buf, MAX_PATH)) logLine(u"Win Dir: %s", U(buf));
  else logLine(u"Get WinDir err: %d", static_cast<int>(GetLastError()));
}

void onCreate(HWND hwnd, App& app) {
  SetWindowTextW(hwnd, kMainWindowTitle);
  if (app.start.firstRunToday) Log_FirstRunToday(app.start.startTime);
  logFolders();
}

void onDestroy(HWND hwnd, App& app) {
  // The normal (restored) rectangle, so a window closed while minimised does not store
  // the off-screen parking position.
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (GetWindowPlacement(hwnd, &wp)) {
    app.settings.Wind_x = wp.rcNormalPosition.left;
    app.settings.Wind_y = wp.rcNormalPosition.top;
  }
  saveEverything(app);
  processLog().closeWithTimestamp(app.clock.now());
  PostQuitMessage(0);
}

}  // namespace

ATOM registerMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = instance;
  wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TIRELMO), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TIRELMO), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassExW(&wc);
}

HWND createMainWindow(HINSTANCE instance, App& app) {
  const Settings& s = app.settings;
  const DWORD style = s.Vert_ScrollBar
                          ? (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_VSCROLL)
                          : WS_OVERLAPPEDWINDOW;
  // The title is set by the window's own set-up.
  return CreateWindowExW(0, kMainWindowClass, L"", style, s.Wind_x, s.Wind_y, s.Wind_wth, s.Wind_hth, nullptr,
                         nullptr, instance, &app);
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  App* app = appOf(hwnd);
  if (!app) return DefWindowProcW(hwnd, msg, wParam, lParam);

  switch (msg) {
    case WM_CREATE:
      onCreate(hwnd, *app);
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Windows ends the process soon after this message without a destroy message, so
      // everything is saved now, or the day's work would be lost at log-off.
      if (wParam) DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      onDestroy(hwnd, *app);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace tirelmo
