// The yardstick of the budget run: one top-level window of Tirelmo's default size whose
// WM_PAINT fills the client area, and nothing else. What Wine costs for any window at all is
// what this program costs; Tirelmo's figures are read against it.
#include <windows.h>

namespace {

bool shade = false;

LRESULT CALLBACK emptyWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KEYDOWN:
      // A key repaints the whole client area in the other colour: what any program pays
      // under Wine to bring one new full frame to the screen, read against a page switch.
      if (wParam == VK_TAB) {
        shade = !shade;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      HBRUSH brush = CreateSolidBrush(shade ? RGB(229, 214, 200) : RGB(200, 214, 229));
      FillRect(dc, &ps.rcPaint, brush);
      DeleteObject(brush);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

// "EmptyWindow.exe keeper": a small window out of the way, held open between the measured
// starts so that Wine's desktop and services stay up and neither side pays for them.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
  const bool keeper = commandLine && lstrcmpiW(commandLine, L"keeper") == 0;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = emptyWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = L"BudgetEmptyWindow";
  if (!RegisterClassW(&wc)) return 1;
  // Tirelmo's default place and size (Wind_x, Wind_y, Wind_wth, Wind_hth).
  HWND hwnd = keeper ? CreateWindowExW(0, wc.lpszClassName, L"Budget keeper", WS_OVERLAPPEDWINDOW, 1400, 1000, 150,
                                       120, nullptr, nullptr, instance, nullptr)
                      : CreateWindowExW(0, wc.lpszClassName, L"Empty window", WS_OVERLAPPEDWINDOW, 60, 0, 1000, 1100,
                                        nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return static_cast<int>(m.wParam);
}
