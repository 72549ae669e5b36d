#include "row_editors.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "base/log.h"
#include "main_window.h"
#include "resource.h"
#include "ui/sheet_page.h"
#include "wide.h"

namespace tirelmo {

namespace {

constexpr UINT_PTR kEditorSubclassId = 1;
constexpr int kListRowsTop = 145;
constexpr int kListRowHeight = 52;
constexpr int kListEditorLeft = 60;
constexpr int kListEditorHeight = 34;
constexpr int kMarkerSize = 24;

u16 windowText(HWND h) {
  const int n = GetWindowTextLengthW(h);
  std::wstring s(static_cast<std::size_t>(std::max(n, 0)) + 1, L'\0');
  const int got = GetWindowTextW(h, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(std::max(got, 0)));
  return U(s);
}

void setTextQuietly(HWND h, const u16& text) {
  if (windowText(h) != text) SetWindowTextW(h, W(text));
}

// Only a change is sent: each is a trip to the server under Wine.
void setReadOnly(HWND h, bool readOnly) {
  const bool now = (GetWindowLongPtrW(h, GWL_STYLE) & ES_READONLY) != 0;
  if (now != readOnly) SendMessageW(h, EM_SETREADONLY, readOnly, 0);
}

// The main window's coordinates of a point of an editor.
LPARAM toParent(HWND editor, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  MapWindowPoints(editor, GetParent(editor), &p, 1);
  return MAKELPARAM(p.x, p.y);
}

bool changesLook(UINT msg) {
  switch (msg) {
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_ENABLE:
    case EM_SETSEL:
    case EM_REPLACESEL:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK editorProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref) {
  auto* w = reinterpret_cast<MainWindow*>(ref);
  int page = 0;
  int row = 0;
  if (!w || !w->editors.rowOf(h, page, row)) return DefSubclassProc(h, msg, wParam, lParam);
  const bool sheet = page == 0;
  HWND parent = GetParent(h);

  switch (msg) {
    case WM_PAINT:
      if (!sheet) break;
      w->editors.paintSheetEditor(*w, h, row);
      return 0;
    case WM_ERASEBKGND:
      // The paper is painted with the text; erasing first would only flicker.
      if (sheet) return 1;
      break;
    case WM_SETFOCUS: {
      const LRESULT r = DefSubclassProc(h, msg, wParam, lParam);
      SendMessageW(parent, WM_ROW_EDITOR_FOCUS, static_cast<WPARAM>(row), page);
      return r;
    }
    case WM_KILLFOCUS: {
      DWORD from = 0;
      SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&from), 0);
      SendMessageW(h, EM_SETSEL, from, from);
      const LRESULT r = DefSubclassProc(h, msg, wParam, lParam);
      InvalidateRect(h, nullptr, FALSE);
      return r;
    }
    case WM_KEYDOWN:
      // The main window's key table applies wherever the focus is.
      SendMessageW(parent, WM_KEYDOWN, wParam, lParam);
      if (!IsWindow(h)) return 0;
      break;
    case WM_CHAR:
      // A single-line field has no use for these; unanswered they only beep.
      if (wParam == VK_RETURN || wParam == VK_ESCAPE || wParam == VK_TAB) return 0;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      SendMessageW(parent, msg, wParam, toParent(h, lParam));
      if (!IsWindow(h)) return 0;
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      // The row menu is the main window's; the edit field's own menu never opens.
      SendMessageW(parent, msg, wParam, toParent(h, lParam));
      return 0;
    case WM_CONTEXTMENU:
      return 0;
    case WM_MOUSEWHEEL:
      // The wheel scrolls the page, wherever the focus is.
      return SendMessageW(parent, msg, wParam, lParam);
    case WM_NCDESTROY:
      RemoveWindowSubclass(h, editorProc, kEditorSubclassId);
      break;
    default:
      break;
  }
  const LRESULT r = DefSubclassProc(h, msg, wParam, lParam);
  if (sheet && changesLook(msg) && IsWindow(h)) InvalidateRect(h, nullptr, FALSE);
  return r;
}

// An editor made hidden, with its text: under Wine every later change of a window's text or
// style is a trip to the server, and a start makes dozens of editors.
HWND createEditor(MainWindow& w, int id, const u16& text, bool readOnly) {
  const DWORD style = WS_CHILD | ES_LEFT | ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0);
  HWND h = CreateWindowExW(0, L"EDIT", W(text), style, 0, 0, 10, 10, w.hwnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), w.instance, nullptr);
  if (!h) {
    logLastError(u"CreateWindow EDIT");
    return nullptr;
  }
  SendMessageW(h, EM_LIMITTEXT, kRowTextMax, 0);
  SetWindowSubclass(h, editorProc, kEditorSubclassId, reinterpret_cast<DWORD_PTR>(&w));
  return h;
}

bool sheetReadOnly(const MainWindow& w) { return w.app.sheet.readOnly; }

}  // namespace

void RowEditors::createMarker(MainWindow& w) {
  marker_ = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_PUSHBUTTON | BS_BITMAP, w.pages.sheet.markerLeft,
                            w.pages.sheet.rowsTop, kMarkerSize, kMarkerSize, w.hwnd,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_ROW_MARKER)), w.instance, nullptr);
  if (!marker_) logLastError(u"CreateWindow marker");
  markerImage_.reset(LoadImageW(w.instance, MAKEINTRESOURCEW(IDB_MARKER_BUTTON), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (marker_ && markerImage_)
    SendMessageW(marker_, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(markerImage_.get()));
  else logLine(u"Row marker image %d not loaded", IDB_MARKER_BUTTON);
}

void RowEditors::create(MainWindow& w) {
  const TodoSheet& s = w.app.sheet;
  filling_ = true;
  for (int r = 0; r < kSheetRows; ++r)
    sheet_[r] = createEditor(w, IDC_SHEET_EDITOR_FIRST + r,
                             s.validRow(r) ? s.rows[static_cast<std::size_t>(r)].text : u16(),
                             r == s.separatorIndex);
  filling_ = false;
}

bool RowEditors::prepareListPart(MainWindow& w, int count) {
  if (listCreated_) return true;
  const TodoSheet& s = w.app.todolist;
  filling_ = true;
  for (; count > 0 && listMade_ < kListRows; --count, ++listMade_) {
    const int r = listMade_;
    list_[r] = createEditor(w, IDC_LIST_EDITOR_FIRST + r,
                            s.validRow(r) ? s.rows[static_cast<std::size_t>(r)].text : u16(), false);
  }
  filling_ = false;
  if (listMade_ < kListRows) return false;
  listCreated_ = true;
  fillList(w);
  placeList(w);
  return true;
}

void RowEditors::prepareList(MainWindow& w) { prepareListPart(w, kListRows); }

HWND RowEditors::sheetEditor(int row) const { return row >= 0 && row < kSheetRows ? sheet_[row] : nullptr; }
HWND RowEditors::listEditor(int row) const { return row >= 0 && row < kListRows ? list_[row] : nullptr; }

bool RowEditors::rowOf(HWND editor, int& page, int& row) const {
  if (!editor) return false;
  const int id = GetDlgCtrlID(editor);
  if (id >= IDC_SHEET_EDITOR_FIRST && id < IDC_SHEET_EDITOR_FIRST + kSheetRows && sheet_[id - IDC_SHEET_EDITOR_FIRST] == editor) {
    page = 0;
    row = id - IDC_SHEET_EDITOR_FIRST;
    return true;
  }
  if (id >= IDC_LIST_EDITOR_FIRST && id < IDC_LIST_EDITOR_FIRST + kListRows && list_[id - IDC_LIST_EDITOR_FIRST] == editor) {
    page = 1;
    row = id - IDC_LIST_EDITOR_FIRST;
    return true;
  }
  return false;
}

void RowEditors::fillSheet(MainWindow& w) {
  filling_ = true;
  const TodoSheet& s = w.app.sheet;
  for (int r = 0; r < kSheetRows; ++r) {
    if (!sheet_[r]) continue;
    setTextQuietly(sheet_[r], s.validRow(r) ? s.rows[static_cast<std::size_t>(r)].text : u16());
    // The separator is a fixed row: typing over it would lose the sheet's planned/unplanned
    // boundary.
    setReadOnly(sheet_[r], r == s.separatorIndex);
    applyStyle(w, r);
  }
  filling_ = false;
}

void RowEditors::fillList(MainWindow& w) {
  // Editors still to be made get their texts when they are made.
  filling_ = true;
  const TodoSheet& s = w.app.todolist;
  HFONT font = w.graphics.fontFor(w.pages.fonts.row);
  for (int r = 0; r < kListRows; ++r) {
    if (!list_[r]) continue;
    setTextQuietly(list_[r], s.validRow(r) ? s.rows[static_cast<std::size_t>(r)].text : u16());
    const bool done = s.validRow(r) && s.rows[static_cast<std::size_t>(r)].isDone();
    SendMessageW(list_[r], WM_SETFONT, reinterpret_cast<WPARAM>(done ? w.graphics.fontFor(w.pages.fonts.doneRow) : font),
                 FALSE);
    // A new font resets the margins; the text keeps the sheet rows' 3 pixels, refill or not.
    SendMessageW(list_[r], EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(3, 0));
    InvalidateRect(list_[r], nullptr, TRUE);
  }
  filling_ = false;
}

void RowEditors::clearAll() {
  filling_ = true;
  for (HWND h : sheet_)
    if (h) SetWindowTextW(h, L"");
  for (HWND h : list_)
    if (h) SetWindowTextW(h, L"");
  filling_ = false;
}

void RowEditors::takeSheetTexts(MainWindow& w) {
  TodoSheet& s = w.app.sheet;
  // An earlier sheet's editors are disabled and hold its own texts; nothing to take. During
  // the day restart they are empty while the new day's rows are made.
  if (s.readOnly || w.dayRestartPending) return;
  for (int r = 0; r < kSheetRows && r < s.rowCount(); ++r) {
    if (!sheet_[r] || r == s.separatorIndex) continue;
    u16 text = cutToCapacity(windowText(sheet_[r]), kRowTextCapacity);
    TodoRow& row = s.rows[static_cast<std::size_t>(r)];
    if (row.text != text) row.text = std::move(text);
  }
}

void RowEditors::takeListTexts(MainWindow& w) {
  TodoSheet& s = w.app.todolist;
  if (w.dayRestartPending) return;
  for (int r = 0; r < kListRows && r < s.rowCount(); ++r) {
    if (!list_[r]) continue;
    u16 text = cutToCapacity(windowText(list_[r]), kRowTextCapacity);
    TodoRow& row = s.rows[static_cast<std::size_t>(r)];
    if (row.text != text) row.text = std::move(text);
  }
}

void RowEditors::applyStyle(MainWindow& w, int row) {
  HWND h = sheet_[row];
  if (!h) return;
  const RowEditorStyle style = rowEditorStyle(w.app, w.pages, row);
  HFONT font = w.graphics.fontFor(style.font);
  if (font && font != sheetFont_[row]) {
    sheetFont_[row] = font;
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // The text is drawn 3 pixels in; the caret must agree.
    SendMessageW(h, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(3, 0));
  }
  InvalidateRect(h, nullptr, FALSE);
}

void RowEditors::placeSheet(MainWindow& w, bool unpainted) {
  const bool onPage = w.book.currentPage() == 0;
  const int offset = w.pages.scrollOffset[0];
  const int header = headerHeight(w.pages, 0);
  const bool readOnly = sheetReadOnly(w);
  HDWP batch = BeginDeferWindowPos(kSheetRows + 1);
  for (int r = 0; r < kSheetRows; ++r) {
    HWND h = sheet_[r];
    if (!h) continue;
    const RowEditorRect rect = rowEditorRect(w.pages, r);
    const int y = rect.y - offset;
    // A row scrolled up under the header is hidden rather than drawn over the toolbar, and
    // one below the window is hidden too: a page switch then shows and hides only the rows
    // in sight, and Wine spends a good part of a millisecond on every window it moves.
    const bool shown = onPage && y >= header && y < w.pages.windowHeight;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) |
                       (unpainted ? SWP_NOREDRAW | SWP_NOCOPYBITS : 0);
    if (batch) batch = DeferWindowPos(batch, h, nullptr, rect.x, y, std::max(rect.w, 1), std::max(rect.h, 1), flags);
    else SetWindowPos(h, nullptr, rect.x, y, std::max(rect.w, 1), std::max(rect.h, 1), flags);
    if ((IsWindowEnabled(h) != FALSE) == readOnly) EnableWindow(h, !readOnly);
  }
  if (batch) EndDeferWindowPos(batch);
  placeMarker(w);
}

void RowEditors::placeList(MainWindow& w, bool unpainted) {
  const bool onPage = w.book.currentPage() == 1;
  if (!listCreated_) {
    if (onPage) prepareList(w);  // places them too
    return;
  }
  const int offset = w.pages.scrollOffset[1];
  const int header = headerHeight(w.pages, 1);
  const int width = std::max(w.pages.windowWidth - 120, 1);
  const bool readOnly = w.app.todolist.readOnly;
  HDWP batch = BeginDeferWindowPos(kListRows);
  for (int r = 0; r < kListRows; ++r) {
    HWND h = list_[r];
    if (!h) continue;
    const int y = kListRowsTop + 16 + kListRowHeight * r - offset;
    const bool shown = onPage && y >= header && y < w.pages.windowHeight;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) |
                       (unpainted ? SWP_NOREDRAW | SWP_NOCOPYBITS : 0);
    if (batch) batch = DeferWindowPos(batch, h, nullptr, kListEditorLeft, y, width, kListEditorHeight, flags);
    else SetWindowPos(h, nullptr, kListEditorLeft, y, width, kListEditorHeight, flags);
    // A list whose file could not be read is shown but not edited: it is never saved over.
    if ((IsWindowEnabled(h) != FALSE) == readOnly) EnableWindow(h, !readOnly);
  }
  if (batch) EndDeferWindowPos(batch);
}

void RowEditors::placeMarker(MainWindow& w) {
  if (!marker_) return;
  const int top = markerButtonY(w.pages, w.app.ui.currentRow);
  const bool shown = w.book.currentPage() == 0 && markerVisible(top, sheetReadOnly(w));
  SetWindowPos(marker_, HWND_TOP, w.pages.sheet.markerLeft, top, kMarkerSize, kMarkerSize,
               SWP_NOACTIVATE | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void RowEditors::rescrollSheet() {
  for (HWND h : sheet_) {
    if (!h) continue;
    DWORD from = 0;
    DWORD to = 0;
    SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    SendMessageW(h, EM_SETSEL, 0, 0);
    SendMessageW(h, EM_SETSEL, from, to);
    SendMessageW(h, EM_SCROLLCARET, 0, 0);
  }
}

void RowEditors::refreshSheetRow(MainWindow& w, int row) {
  HWND h = sheetEditor(row);
  if (!h) return;
  const TodoSheet& s = w.app.sheet;
  if (s.validRow(row)) {
    filling_ = true;
    setTextQuietly(h, s.rows[static_cast<std::size_t>(row)].text);
    filling_ = false;
    setReadOnly(h, row == s.separatorIndex);
  }
  applyStyle(w, row);
}

void RowEditors::focusRow(MainWindow& w, int page, int row, int caret) {
  HWND h = page == 0 ? sheetEditor(row) : listEditor(row);
  if (!h || !IsWindowEnabled(h) || !IsWindowVisible(h)) return;
  if (GetFocus() != h) SetFocus(h);
  if (caret >= 0) SendMessageW(h, EM_SETSEL, caret, caret);
}

int RowEditors::caretOf(int page, int row) const {
  HWND h = page == 0 ? sheetEditor(row) : listEditor(row);
  if (!h) return 0;
  DWORD from = 0;
  SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&from), 0);
  return static_cast<int>(from);
}

bool RowEditors::onCommand(MainWindow& w, int id, int code) {
  const bool sheetId = id >= IDC_SHEET_EDITOR_FIRST && id < IDC_SHEET_EDITOR_FIRST + kSheetRows;
  const bool listId = id >= IDC_LIST_EDITOR_FIRST && id < IDC_LIST_EDITOR_FIRST + kListRows;
  if (!sheetId && !listId) return false;
  if (code != EN_CHANGE || filling_ || w.dayRestartPending) return true;
  const int row = id - (sheetId ? IDC_SHEET_EDITOR_FIRST : IDC_LIST_EDITOR_FIRST);
  TodoSheet& s = sheetId ? w.app.sheet : w.app.todolist;
  HWND h = sheetId ? sheet_[row] : list_[row];
  if (!s.validRow(row) || (sheetId && (s.readOnly || row == s.separatorIndex))) return true;
  u16 text = cutToCapacity(windowText(h), kRowTextCapacity);
  TodoRow& r = s.rows[static_cast<std::size_t>(row)];
  if (r.text != text) {
    r.text = std::move(text);
    s.modified = true;
  }
  return true;
}

bool RowEditors::ctlColor(MainWindow& w, HDC dc, HWND editor, LRESULT& brush) {
  int page = 0;
  int row = 0;
  if (!rowOf(editor, page, row) || page != 0) return false;
  const RowEditorStyle style = rowEditorStyle(w.app, w.pages, row);
  SetTextColor(dc, RGB(style.color.r, style.color.g, style.color.b));
  SetBkMode(dc, TRANSPARENT);
  brush = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  return true;
}

void RowEditors::paintSheetEditor(MainWindow& w, HWND editor, int row) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(editor, &ps);
  RECT rc;
  GetClientRect(editor, &rc);
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  if (width > 0 && height > 0) {
    if (!scratch_ || scratch_->width() != width || scratch_->height() != height)
      scratch_ = w.graphics.createSurface(width, height);
    auto* surface = static_cast<GdiSurface*>(scratch_.get());
    if (surface && surface->valid()) {
      const u16 text = windowText(editor);
      DWORD from = 0;
      DWORD to = 0;
      SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
      // A long text scrolled sideways shows from its first visible character.
      const int first = std::clamp(static_cast<int>(SendMessageW(editor, EM_GETFIRSTVISIBLELINE, 0, 0)), 0,
                                   static_cast<int>(text.size()));
      const bool focused = GetFocus() == editor;
      const int selFrom = focused ? static_cast<int>(from) - first : 0;
      const int selTo = focused ? static_cast<int>(to) - first : 0;
      paintRowEditor(w.app, w.pages, *surface, row, u16v(text).substr(static_cast<std::size_t>(first)), selFrom, selTo,
                     rowEditorStyle(w.app, w.pages, row));
      BitBlt(dc, 0, 0, width, height, surface->dc(), 0, 0, SRCCOPY);
    }
  }
  EndPaint(editor, &ps);
}

}  // namespace tirelmo
