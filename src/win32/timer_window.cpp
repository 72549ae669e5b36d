#include "timer_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <array>

#include "base/log.h"
#include "art_ids.h"
#include "gdi_canvas.h"
#include "main_window.h"
#include "menus_win32.h"
#include "text/format.h"
#include "wide.h"

namespace tirelmo {

namespace {

constexpr UINT_PTR kDigitTool = 1;
constexpr UINT_PTR kStopTool = 2;
// The corners are cut by an ellipse of 3 x 3; the region's right and bottom edges are
// exclusive, hence one more than the size.
constexpr int kCornerEllipse = 3;
// "BREAK" sits in the strip under the digits, which the digit images leave free.
constexpr int kBreakWordHeight = 11;

// The ink of the digits of each style, so the word under them reads like part of the clock.
constexpr std::array<Rgb, kTimerStyleCount> kStyleInk = {
    rgb(0xFF, 0xFF, 0xFF), rgb(0xF4, 0xF4, 0xF4), rgb(0x36, 0x3B, 0x46), rgb(0x4E, 0x33, 0x05), rgb(0xFF, 0xFF, 0xFF)};

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Looked up by name each time: a system without layered windows keeps an opaque timer
// instead of failing to start.
SetLayeredWindowAttributesFn findSetLayeredWindowAttributes() {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32) return nullptr;
  const FARPROC proc = GetProcAddress(user32, "SetLayeredWindowAttributes");
  // Through void(*)(): the one function pointer type that converts to any other quietly.
  return reinterpret_cast<SetLayeredWindowAttributesFn>(reinterpret_cast<void (*)()>(proc));
}

// The tooltip control draws a tab as a box instead of a gap: the columns of the counts
// are spaced by blanks for display.
std::wstring tooltipDisplayText(u16v text) {
  std::wstring out;
  out.reserve(text.size() + 8);
  for (char16_t c : text) {
    if (c == u'\t') out.append(L"    ");
    else out.push_back(static_cast<wchar_t>(c));
  }
  return out;
}

HDC surfaceDc(const Surface& s) {
  const auto* gdi = dynamic_cast<const GdiSurface*>(&s);
  return gdi ? gdi->dc() : nullptr;
}

}  // namespace

TimerWindow::~TimerWindow() {
  if (hwnd_) {
    HWND h = hwnd_;
    forgetWindow();
    DestroyWindow(h);
  }
}

bool TimerWindow::ensureSurface() {
  if (!picture_) picture_ = w_.graphics.createSurface(kTimerWindowSize, kTimerWindowSize);
  return picture_ != nullptr;
}

void TimerWindow::drawPicture(const TimerPicture& picture) {
  // The picture changes once a minute; the tick comes every second.
  if (drawn_ && *drawn_ == picture) return;
  if (!ensureSurface()) return;
  Surface& s = *picture_;
  s.fillRect(0, 0, kTimerWindowSize, kTimerWindowSize, rgb(0, 0, 0));
  bool ok = s.drawBitmap(0, 0, kDigitWidth, kDigitHeight, art::kBmpTimerDigits, picture.tens.x, picture.tens.y);
  ok = s.drawBitmap(kDigitWidth, 0, kDigitWidth, kDigitHeight, art::kBmpTimerDigits, picture.units.x,
                    picture.units.y) && ok;
  if (!ok) {
    // Without the strip the minutes still show, as plain text.
    const int minutes = (picture.tens.x == kBlankDigitX ? 0 : picture.tens.x / kDigitWidth) * 10 +
                        picture.units.x / kDigitWidth;
    s.setFont(FontSpec{u"Arial", 30, true, false});
    const u16 text = fmt(u"%d", minutes);
    s.drawText((kTimerWindowSize - s.textWidth(text)) / 2, 8, text, rgb(0xFF, 0xFF, 0xFF));
  }
  if (picture.showBreakWord && !picture.breakWord.empty()) {
    const int style = timerStyleIndex(picture.units.y / kDigitHeight);
    s.setFont(FontSpec{u"Arial", kBreakWordHeight, true, false});
    const int width = s.textWidth(picture.breakWord);
    s.drawText((kTimerWindowSize - width) / 2, kTimerWindowSize - kBreakWordHeight, picture.breakWord,
               kStyleInk[static_cast<std::size_t>(style)]);
  }
  drawn_ = picture;
  redraw();
}

void TimerWindow::redraw() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TimerWindow::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  HDC from = picture_ ? surfaceDc(*picture_) : nullptr;
  if (from) BitBlt(dc, 0, 0, kTimerWindowSize, kTimerWindowSize, from, 0, 0, SRCCOPY);
  else FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EndPaint(hwnd_, &ps);
}

void TimerWindow::makeTranslucent(std::uint8_t alpha) {
  const SetLayeredWindowAttributesFn setLayered = findSetLayeredWindowAttributes();
  if (!setLayered) {
    logLine(u"SetLayeredWindowAttributes not available: timer window opaque");
    return;
  }
  const LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  if (!setLayered(hwnd_, 0, alpha, LWA_ALPHA)) {
    // A layered window whose attributes were never set is not drawn at all.
    logLastError(u"SetLayeredWindowAttributes");
    SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  }
}

void TimerWindow::createTooltip(const TimerWindowSetup& setup) {
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                         w_.instance, nullptr);
  if (!tip_) {
    logLastError(u"CreateWindowEx tooltip");
    return;
  }
  SetWindowPos(tip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, kTimerTipMaxWidth);

  TOOLINFOW digits{};
  digits.cbSize = sizeof digits;
  digits.uFlags = TTF_SUBCLASS;
  digits.hwnd = hwnd_;
  digits.uId = kDigitTool;
  digits.rect = RECT{kDigitTipLeft, kDigitTipTop, kDigitTipRight, kDigitTipBottom};
  digits.hinst = w_.instance;
  digits.lpszText = LPSTR_TEXTCALLBACKW;
  if (!SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&digits))) logLine(u"tt add digits failed");

  stopTip_ = Wstr(setup.stopTip);
  TOOLINFOW stop{};
  stop.cbSize = sizeof stop;
  stop.uFlags = TTF_SUBCLASS;
  stop.hwnd = hwnd_;
  stop.uId = kStopTool;
  stop.rect = RECT{0, kDigitTipBottom, kTimerWindowSize, kTimerWindowSize};
  stop.hinst = w_.instance;
  stop.lpszText = stopTip_.data();
  if (!SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&stop))) logLine(u"tt add stop failed");
}

void TimerWindow::open(const TimerWindowSetup& setup) {
  if (hwnd_) close();
  // No owner: an owned window would vanish whenever the main window is minimised, which is
  // exactly when the timer window is wanted.
  hwnd_ = CreateDialogParamW(w_.instance, L"DLG_TIMER", nullptr, dialogProc, reinterpret_cast<LPARAM>(this));
  if (!hwnd_) {
    logLastError(u"CreateDialog DLG_TIMER");
    return;
  }
  SetWindowTextW(hwnd_, Wstr(setup.title).c_str());
  makeTranslucent(setup.alpha);
  if (HRGN region = CreateRoundRectRgn(0, 0, kTimerWindowSize + 1, kTimerWindowSize + 1, kCornerEllipse,
                                       kCornerEllipse)) {
    // The window owns the region from here on.
    if (!SetWindowRgn(hwnd_, region, FALSE)) DeleteObject(region);
  }
  createTooltip(setup);
  // Shown without taking the focus: the user goes on with whatever they were typing.
  SetWindowPos(hwnd_, HWND_TOPMOST, setup.position.x, setup.position.y, kTimerWindowSize, kTimerWindowSize,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TimerWindow::close() {
  if (!hwnd_) return;
  RECT r{};
  if (GetWindowRect(hwnd_, &r)) {
    w_.app.settings.tmrwndx = r.left;
    w_.app.settings.tmrwndy = r.top;
  }
  HWND h = hwnd_;
  forgetWindow();
  DestroyWindow(h);
}

void TimerWindow::forgetWindow() {
  dragging_ = false;
  if (tip_) DestroyWindow(tip_);
  tip_ = nullptr;
  if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
}

void TimerWindow::show() {
  if (!hwnd_) return;
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// Dragged by any point, as if by a caption it does not have. The drag follows the pointer
// itself, without the system's modal move loop, so the keys and the countdown's repaints go
// on as usual while the window moves.
void TimerWindow::beginDrag() {
  RECT r{};
  if (!GetCursorPos(&dragStart_) || !GetWindowRect(hwnd_, &r)) return;
  dragOrigin_ = POINT{r.left, r.top};
  // A tooltip popping up under the moving pointer would take the mouse away from the drag.
  if (tip_) SendMessageW(tip_, TTM_ACTIVATE, FALSE, 0);
  SetCapture(hwnd_);
  dragging_ = true;
}

void TimerWindow::dragTo() {
  POINT p{};
  if (!GetCursorPos(&p)) return;
  SetWindowPos(hwnd_, nullptr, dragOrigin_.x + p.x - dragStart_.x, dragOrigin_.y + p.y - dragStart_.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TimerWindow::sendToMain(int command) {
  // Posted: the stop command closes this very window, which must not happen inside its own
  // message handling.
  PostMessageW(w_.hwnd, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void TimerWindow::showMenu(LPARAM screenPoint) {
  POINT p{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  if (p.x == -1 && p.y == -1) {  // from the keyboard: at the window
    RECT r{};
    GetWindowRect(hwnd_, &r);
    p = POINT{r.left + kTimerWindowSize / 2, r.top + kTimerWindowSize / 2};
  }
  HMENU menu = createPopupMenuFrom(buildTimerWindowMenu(w_.app));
  if (!menu) return;
  // A menu of a window that is not in front stays open when the user clicks elsewhere.
  SetForegroundWindow(hwnd_);
  const int chosen = static_cast<int>(
      TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, p.x, p.y,
                     0, hwnd_, nullptr));
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  DestroyMenu(menu);
  for (int command : timerMenuCommands(chosen)) sendToMain(command);
}

INT_PTR CALLBACK TimerWindow::dialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<TimerWindow*>(lParam);
    SetWindowLongPtrW(dlg, GWLP_USERDATA, lParam);
    self->hwnd_ = dlg;
    return FALSE;  // no control to give the focus to
  }
  auto* self = reinterpret_cast<TimerWindow*>(GetWindowLongPtrW(dlg, GWLP_USERDATA));
  if (!self || self->hwnd_ != dlg) return FALSE;
  return self->handle(msg, wParam, lParam);
}

INT_PTR TimerWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      paint();
      return TRUE;
    case WM_ERASEBKGND:
      // The picture covers the whole window; erasing first would only flicker.
      SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_LBUTTONDOWN:
      beginDrag();
      return TRUE;
    case WM_MOUSEMOVE:
      if (dragging_) dragTo();
      return TRUE;
    case WM_LBUTTONUP:
      if (dragging_) {
        dragTo();
        ReleaseCapture();  // WM_CAPTURECHANGED ends the drag
      }
      return TRUE;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      if (tip_) SendMessageW(tip_, TTM_ACTIVATE, TRUE, 0);
      return TRUE;
    case WM_CONTEXTMENU:
      showMenu(lParam);
      return TRUE;
    case WM_ACTIVATE:
      // A dialog without controls leaves the focus nowhere, and keys would then arrive as
      // system keys: the window itself takes it.
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(hwnd_);
      return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (wParam == VK_F6) {
        sendToMain(kCmdTimerStop);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      // Alt+F4 on it, or a close request to every window of the program: the window goes
      // only with its timer, or a running pomodoro would count down unseen.
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        close();
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
      if (info->hdr.code == TTN_GETDISPINFOW && info->hdr.hwndFrom == tip_ && info->hdr.idFrom == kDigitTool) {
        tipText_ = tooltipDisplayText(timerTooltipText(w_.app));
        info->lpszText = tipText_.data();
        return TRUE;
      }
      return FALSE;
    }
    case WM_NCDESTROY:
      // Destroyed by someone else (the system at log-off): nothing may point at it any more.
      tip_ = nullptr;
      hwnd_ = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace tirelmo
