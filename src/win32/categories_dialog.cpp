// The categories dialog: the names of the twelve colour categories, each beside its marker.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app.h"
#include "base/log.h"
#include "dialog_texts.h"
#include "main_window.h"
#include "project_dialogs.h"
#include "projects/categories.h"
#include "ui/bitmap_ids.h"
#include "wide.h"

namespace tirelmo {

namespace {

// Pixel places of the fields, the markers and the heading.
constexpr int kFieldX = 40;
constexpr int kFieldTop = 30;
constexpr int kFieldStep = 32;
constexpr int kFieldWidth = 360;
constexpr int kFieldHeight = 24;
constexpr int kMarkerX = 20;
constexpr int kMarkerTop = 34;
constexpr int kMarkerCell = 11;
constexpr int kHeadingX = 150;
constexpr int kHeadingY = 6;
constexpr int kNameMaxUnits = 127;
// Below the last field: the buttons, right-aligned with the fields.
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 10;
constexpr int kMargin = 16;

struct CategoriesBox {
  MainWindow* w = nullptr;
  std::vector<u16> names;  // on OK: categories 1..12 as typed
};

int fieldTop(int n) { return kFieldTop + kFieldStep * (n - 1); }

void createFields(HWND dlg, const App& app) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0));
  HWND previous = HWND_TOP;  // the fields come first in the tab order, in number order
  for (int n = 1; n <= kMaxCategory; ++n) {
    const std::size_t at = static_cast<std::size_t>(n);
    const u16 name = at < app.settings.categories.size() ? app.settings.categories[at] : u16();
    HWND field = CreateWindowExW(0, L"EDIT", W(name), WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                                 kFieldX, fieldTop(n), kFieldWidth, kFieldHeight, dlg,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CATEGORY_FIRST + n - 1)),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dlg, GWLP_HINSTANCE)), nullptr);
    if (!field) {
      logLastError(u"CreateWindow category field");
      continue;
    }
    if (font) SendMessageW(field, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(field, EM_SETLIMITTEXT, kNameMaxUnits, 0);
    SetWindowPos(field, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = field;
  }
}

// The template's size is in dialog units; the fields are in pixels, so the dialog is sized
// around them, the buttons below the last one.
void layOut(HWND dlg) {
  const int buttonsTop = fieldTop(kMaxCategory) + kFieldHeight + kMargin;
  const int right = kFieldX + kFieldWidth;
  SetWindowPos(GetDlgItem(dlg, IDCANCEL), nullptr, right - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(GetDlgItem(dlg, IDOK), nullptr, right - 2 * kButtonWidth - kButtonGap, buttonsTop, kButtonWidth,
               kButtonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT frame{0, 0, right + kFieldX, buttonsTop + kButtonHeight + kMargin};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dlg, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dlg, GWL_EXSTYLE)));
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT owner{};
  GetWindowRect(GetParent(dlg) ? GetParent(dlg) : GetDesktopWindow(), &owner);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int x = owner.left + (owner.right - owner.left - width) / 2;
  int y = owner.top + (owner.bottom - owner.top - height) / 2;
  x = std::max<int>(work.left, std::min<int>(x, work.right - width));
  y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
  SetWindowPos(dlg, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void paint(HWND dlg, CategoriesBox& box) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dlg, &ps);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  const std::wstring heading = Wstr(box.w->app.tr(Txt::CategoriesHeading));
  TextOutW(dc, kHeadingX, kHeadingY, heading.c_str(), static_cast<int>(heading.size()));
  if (old) SelectObject(dc, old);
  // A strip that cannot be loaded leaves the fields without markers (bitmapDc logs it).
  if (HDC strip = box.w->graphics.bitmapDc(kBmpCategorySmall))
    for (int n = 1; n <= kMaxCategory; ++n)
      BitBlt(dc, kMarkerX, kMarkerTop + kFieldStep * (n - 1), kMarkerCell, kMarkerCell, strip, kMarkerCell * n, 0,
             SRCCOPY);
  EndPaint(dlg, &ps);
}

u16 fieldText(HWND dlg, int id) {
  HWND field = GetDlgItem(dlg, id);
  if (!field) return {};
  const int length = std::min(GetWindowTextLengthW(field), kNameMaxUnits);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int got = GetWindowTextW(field, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return U(text);
}

INT_PTR CALLBACK categoriesProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* box = reinterpret_cast<CategoriesBox*>(GetWindowLongPtrW(dlg, GWLP_USERDATA));
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dlg, GWLP_USERDATA, lParam);
      box = reinterpret_cast<CategoriesBox*>(lParam);
      translateDialog(dlg, box->w->app.language(), L"CATEGORIESIDDLG");
      createFields(dlg, box->w->app);
      layOut(dlg);
      SetFocus(GetDlgItem(dlg, IDC_CATEGORY_FIRST));
      return FALSE;
    case WM_PAINT:
      if (!box) break;
      paint(dlg, *box);
      return TRUE;
    case WM_COMMAND:
      // The field ids are also the category commands of the main window: everything the
      // fields send stays here.
      switch (LOWORD(wParam)) {
        case IDOK:
          if (box) {
            box->names.clear();
            for (int n = 1; n <= kMaxCategory; ++n) box->names.push_back(fieldText(dlg, IDC_CATEGORY_FIRST + n - 1));
          }
          EndDialog(dlg, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dlg, IDCANCEL);
          return TRUE;
      }
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void runCategoriesDialog(MainWindow& w) {
  CategoriesBox box;
  box.w = &w;
  const INT_PTR r = DialogBoxParamW(w.instance, L"CATEGORIESIDDLG", w.hwnd, categoriesProc, reinterpret_cast<LPARAM>(&box));
  if (r == -1) {
    logLastError(u"DialogBox CATEGORIESIDDLG");
    return;
  }
  if (r != IDOK || box.names.size() != static_cast<std::size_t>(kMaxCategory)) return;
  // A settings file that cannot be written is reported by the save; the names stay in use.
  setCategoryNames(w.app, box.names);
}

}  // namespace tirelmo
