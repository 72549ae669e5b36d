#include "notice.h"

#include "base/log.h"
#include "main_window.h"
#include "wide.h"

namespace tirelmo {

namespace {

constexpr wchar_t kNoticeClass[] = L"TirelmoNotice";
constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kCloseAfterMs = 5000;
constexpr BYTE kHalfOpaque = 127;
constexpr int kOkButton = IDOK;
constexpr int kWidth = 260;
constexpr int kHeight = 150;

HWND g_notice = nullptr;

LRESULT CALLBACK noticeProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      if (wParam == kCloseTimer) DestroyWindow(h);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kOkButton) DestroyWindow(h);
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_DESTROY:
      KillTimer(h, kCloseTimer);
      if (g_notice == h) g_notice = nullptr;
      return 0;
    default:
      return DefWindowProcW(h, msg, wParam, lParam);
  }
}

bool registerNoticeClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(instance, kNoticeClass, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = noticeProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kNoticeClass;
  return RegisterClassExW(&wc) != 0;
}

// Looked up by name: the function is missing on the oldest systems the program ran on.
void makeHalfTransparent(HWND h) {
  using SetLayered = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto fn = user32 ? reinterpret_cast<SetLayered>(reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")))
                   : nullptr;
  if (!fn) return;
  SetWindowLongW(h, GWL_EXSTYLE, GetWindowLongW(h, GWL_EXSTYLE) | WS_EX_LAYERED);
  fn(h, 0, kHalfOpaque, LWA_ALPHA);
}

}  // namespace

void showNewListNotice(MainWindow& w) {
  if (g_notice) DestroyWindow(g_notice);
  if (!registerNoticeClass(w.instance)) {
    logLastError(u"RegisterClass notice");
    return;
  }
  RECT owner{};
  GetWindowRect(w.hwnd, &owner);
  const int x = owner.left + ((owner.right - owner.left) - kWidth) / 2;
  const int y = owner.top + 120;
  HWND h = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kNoticeClass, L"", WS_POPUP | WS_BORDER, x, y, kWidth,
                           kHeight, w.hwnd, nullptr, w.instance, nullptr);
  if (!h) {
    logLastError(u"CreateWindow notice");
    return;
  }
  HFONT font = w.graphics.fontFor(FontSpec{u"Segoe Print", 24});
  HWND text = CreateWindowExW(0, L"STATIC", W(u16(w.app.tr(Txt::NewTodoListCreated))),
                              WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 12, kWidth - 20, 90, h, nullptr, w.instance,
                              nullptr);
  HWND ok = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, (kWidth - 80) / 2,
                            kHeight - 40, 80, 26, h, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOkButton)),
                            w.instance, nullptr);
  if (text && font) SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  (void)ok;
  makeHalfTransparent(h);
  SetTimer(h, kCloseTimer, kCloseAfterMs, nullptr);
  // Shown without taking the focus from the row the user works on.
  ShowWindow(h, SW_SHOWNOACTIVATE);
  g_notice = h;
}

}  // namespace tirelmo
