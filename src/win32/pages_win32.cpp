#include "pages_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "base/log.h"
#include "commands.h"
#include "main_window.h"
#include "resource.h"
#include "ui/bitmap_ids.h"
#include "ui/sheet_page.h"
#include "web/web_pages.h"
#include "wide.h"

namespace tirelmo {

namespace {

constexpr int kTabsHeight = 42;
constexpr Txt kPageLabels[kPageCount] = {Txt::PageTodoToday,   Txt::PageNextThings, Txt::PagePreviousDay,
                                         Txt::PagePerformance, Txt::PageHistory,    Txt::PageProjects,
                                         Txt::PageAppsWebsites};

// Next Things: 50 rows of 52 pixels from y 145.
constexpr int kListRowsTop = 145;
constexpr int kListRowHeight = 52;
constexpr int kCmdProjectsTutorial = 1528;
constexpr int kCmdNewTodolist = 1544;

bool chinese(const MainWindow& w) { return w.app.language() == Language::ChineseSimplified; }

RowLayout layoutOf(const MainWindow& w, int page) {
  if (page == 1) return todolistRowLayout();
  const SheetGeometry& g = w.pages.sheet;
  return RowLayout{kSheetRows, g.rowsTop, g.rowHeight, w.app.sheet.separatorIndex};
}

void drawNextThingsBackground(MainWindow& w) {
  Surface* bg = w.pages.background[1].get();
  Surface* composed = w.pages.composed[1].get();
  if (!bg || !composed) return;
  bg->fillRect(0, 0, bg->width(), bg->height(), rgb(255, 255, 255));
  for (int y = kListRowsTop; y < 2746; y += kListRowHeight)
    bg->line(0, y, w.pages.windowWidth, y, rgb(157, 186, 194));
  for (int x : {30, 36}) bg->line(x, 135, x, 2797, rgb(224, 188, 190), 2);
  composed->copyFrom(0, 0, bg->width(), bg->height(), *bg, 0, 0);
}

// The current-row mark of Next Things: the sprite cell at x 196 beside the row.
void drawListRowMarker(MainWindow& w, int row) {
  Surface* composed = w.pages.composed[1].get();
  Surface* bg = w.pages.background[1].get();
  if (!composed || !bg) return;
  const int previous = w.tabs.listMarkerRow;
  if (previous >= 0) {
    const int y = kListRowsTop + 8 + previous * kListRowHeight;
    composed->copyFrom(0, y, kCellSize, kCellSize, *bg, 0, y);
    invalidatePageRect(w.pages, 1, 0, y, kCellSize, kCellSize);
  }
  w.tabs.listMarkerRow = row;
  if (row < 0) return;
  const int y = kListRowsTop + 8 + row * kListRowHeight;
  composed->drawSprite(0, y, kCellSize, kCellSize, kBmpScoreSprite, kCellCurrentRow, 0);
  invalidatePageRect(w.pages, 1, 0, y, kCellSize, kCellSize);
}

// Pages whose content belongs to parts not on this window yet show their paper and toolbar.
void drawEmptyPage(MainWindow& w, int page) {
  for (Surface* s : {w.pages.background[page].get(), w.pages.composed[page].get()})
    if (s) s->fillRect(0, 0, s->width(), s->height(), rgb(255, 255, 255));
}

}  // namespace

// ---- Tabs -------------------------------------------------------------------------------

void createPageTabs(MainWindow& w) {
  HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                              std::max(w.clientWidth(), 1), kTabsHeight, w.hwnd,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PAGE_TABS)), w.instance, nullptr);
  if (!tabs) {
    logLastError(u"CreateWindow tabs");
    return;
  }
  const FontSpec font = chinese(w) ? FontSpec{u"Trebuchet MS", 24} : FontSpec{u"Segoe Print", 30};
  SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(w.graphics.fontFor(font)), FALSE);
  for (int p = 0; p < kPageCount; ++p) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(w.app.tr(kPageLabels[p])));
    if (SendMessageW(tabs, TCM_INSERTITEMW, p, reinterpret_cast<LPARAM>(&item)) == -1) {
      logLine(u"Tab %d not inserted", p);
      DestroyWindow(tabs);
      return;
    }
  }
  w.tabs.pageTabs = tabs;
}

void createTodolistTabs(MainWindow& w) {
  HWND strip = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_CLIPSIBLINGS | TCS_OWNERDRAWFIXED, 2, 90,
                               std::max(w.clientWidth() - 4, 1), 40, w.hwnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TODOLIST_TABS)), w.instance, nullptr);
  if (!strip) {
    logLastError(u"CreateWindow Todolist tabs");
    return;
  }
  const FontSpec font = chinese(w) ? FontSpec{u"Trebuchet MS", 22} : FontSpec{u"Segoe Print", 24};
  SendMessageW(strip, WM_SETFONT, reinterpret_cast<WPARAM>(w.graphics.fontFor(font)), FALSE);
  // The tab of each Todolist comes with the Todolist registry; the last tab starts a new one.
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<LPWSTR>(L"+");
  SendMessageW(strip, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  w.tabs.todolistTabs = strip;
}

void resizePageTabs(MainWindow& w) {
  const int width = w.clientWidth();
  if (w.tabs.pageTabs) SetWindowPos(w.tabs.pageTabs, nullptr, 0, 0, width, kTabsHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  if (w.tabs.todolistTabs)
    SetWindowPos(w.tabs.todolistTabs, nullptr, 2, 90, std::max(width - 4, 1), 40, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT onTabNotify(MainWindow& w, const NMHDR& hdr) {
  if (hdr.code == TCN_SELCHANGING) return FALSE;
  if (hdr.code != TCN_SELCHANGE) return TRUE;
  const int current = w.book.currentPage();
  if (hdr.hwndFrom == w.tabs.todolistTabs) {
    const int t = static_cast<int>(SendMessageW(w.tabs.todolistTabs, TCM_GETCURSEL, 0, 0));
    const int count = static_cast<int>(SendMessageW(w.tabs.todolistTabs, TCM_GETITEMCOUNT, 0, 0));
    if (current == 1 && t == count - 1) runCommand(w, kCmdNewTodolist);
    return TRUE;
  }
  if (hdr.hwndFrom != w.tabs.pageTabs) return TRUE;
  const int s = static_cast<int>(SendMessageW(w.tabs.pageTabs, TCM_GETCURSEL, 0, 0));
  if (s < 0 || s >= kPageCount || s == current) return TRUE;
  if (s == kPageProjects && w.app.projects.active.empty() && w.app.projects.closed.empty()) {
    if (w.app.prompts.show(w.app.tr(Txt::ProjectsQuestion), w.app.tr(Txt::CaptionApp), MsgButtons::OkCancel,
                           MsgIcon::Information) == MsgAnswer::Ok)
      runWebPageCommand(w.app, kCmdProjectsTutorial);
  }
  showPage(w, s);
  drawPage(w, s);
  return TRUE;
}

bool drawTodolistTab(MainWindow& w, const DRAWITEMSTRUCT& item) {
  if (item.hwndItem != w.tabs.todolistTabs) return false;
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  const int count = static_cast<int>(SendMessageW(w.tabs.todolistTabs, TCM_GETITEMCOUNT, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  if (static_cast<int>(item.itemID) == count - 1) {
    SetTextColor(dc, RGB(100, 100, 130));
    TextOutW(dc, r.left + 4, r.top + 4, L"+", 1);
  }
  return true;
}

// ---- Page switch and drawing ------------------------------------------------------------

void showPage(MainWindow& w, int page) {
  const int leaving = w.book.currentPage();
  if (page == leaving || page < 0 || page >= kPageCount) return;
  SavedRowState state{};
  if (leaving == 0 || leaving == 1) state = {w.app.ui.currentRow, w.editors.caretOf(leaving, w.app.ui.currentRow)};
  if (!w.book.begin(page, state)) return;
  w.pages.currentPage = page;
  w.app.ui.currentPage = page;
  updateMaxScrollOffsets(w.pages, w.app);

  // Leaving a page with rows: its editors (and the marker) go out of sight.
  if (leaving == 0) w.editors.placeSheet(w);
  if (leaving == 1) {
    w.editors.placeList(w);
    if (w.tabs.todolistTabs) ShowWindow(w.tabs.todolistTabs, SW_HIDE);
  }
  if (w.tabs.pageTabs) SendMessageW(w.tabs.pageTabs, TCM_SETCURSEL, page, 0);
  if (w.tabs.stale[page]) {
    w.tabs.stale[page] = false;
    drawPage(w, page);
  }

  if (page == 0 || page == 1) {
    SetFocus(w.hwnd);
    if (page == 0) w.editors.placeSheet(w);
    else {
      w.editors.placeList(w);
      if (w.tabs.todolistTabs) ShowWindow(w.tabs.todolistTabs, SW_SHOW);
    }
    const SavedRowState back = w.book.entered();
    w.app.ui.currentRow = back.row;
    if (page == 0 && w.app.sheet.readOnly) {
      w.editors.placeMarker(w);
    } else {
      w.editors.focusRow(w, page, back.row, back.caret);
      if (page == 0) w.editors.placeMarker(w);
      else drawListRowMarker(w, back.row);
    }
  }
  updateScrollBar(w);
  repaintAll(w);
  w.tips.showFor(w, page);
  w.book.end();
}

void drawPage(MainWindow& w, int page) {
  if (page < 0 || page >= kPageCount) return;
  switch (page) {
    case 0:
      drawSheetPage(w.app, w.pages);
      break;
    case 1:
      ensurePageSurfaces(w.pages, w.app, page);
      drawNextThingsBackground(w);
      w.tabs.listMarkerRow = -1;
      break;
    default:
      ensurePageSurfaces(w.pages, w.app, page);
      drawEmptyPage(w, page);
      break;
  }
  drawPageToolbar(w, page);
  if (page == 1 && w.book.currentPage() == 1) drawListRowMarker(w, w.app.ui.currentRow);
  if (page == w.book.currentPage()) repaintAll(w);
}

void drawAllPages(MainWindow& w) {
  for (int p = 0; p < kPageCount; ++p) {
    // A page never shown yet has no surfaces: it is drawn when it is first shown.
    if (p != kPageTodoToday && !w.pages.composed[p] && p != w.book.currentPage()) {
      w.tabs.stale[p] = true;
      continue;
    }
    drawPage(w, p);
    w.tabs.stale[p] = false;
  }
}

void followModelPage(MainWindow& w) {
  if (w.dayRestartPending && !w.destroyed) {
    w.dayRestartFailed = true;
    logLine(u"Day restart failed: closing");
    DestroyWindow(w.hwnd);
    return;
  }
  const int wanted = w.app.ui.currentPage;
  if (wanted != w.book.currentPage()) {
    // The core moved on by itself; the tab and the editors catch up.
    w.app.ui.currentPage = w.book.currentPage();
    showPage(w, wanted);
  }
}

// ---- Scrolling --------------------------------------------------------------------------

void updateScrollBar(MainWindow& w) {
  if (!w.app.settings.Vert_ScrollBar) return;
  const int page = w.book.currentPage();
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = pageContentHeight(w.app, w.pages, page);
  si.nPage = static_cast<UINT>(std::max(w.pages.windowHeight, 0));
  si.nPos = w.pages.scrollOffset[page];
  SetScrollInfo(w.hwnd, SB_VERT, &si, TRUE);
}

void scrollCurrentPage(MainWindow& w, int offset) {
  const int page = w.book.currentPage();
  const int clamped = clampScrollOffset(offset, w.pages.maxScrollOffset[page]);
  if (clamped == w.pages.scrollOffset[page]) return;
  w.pages.scrollOffset[page] = clamped;
  if (page == 0) w.editors.placeSheet(w);
  if (page == 1) w.editors.placeList(w);
  repaintAll(w);
  if (w.app.settings.Vert_ScrollBar) SetScrollPos(w.hwnd, SB_VERT, clamped, TRUE);
}

void onClientResized(MainWindow& w, int width, int height) {
  if (width <= 0 || height <= 0) return;
  const bool widthChanged = width != w.pages.windowWidth;
  w.pages.windowWidth = width;
  w.pages.windowHeight = height;
  resizePageTabs(w);
  if (widthChanged) {
    // The score column and the header strip follow the width: page 0 is drawn again, and
    // so is Next Things, whose lines run across the window.
    updateSheetLook(w.pages, w.app);
    for (int p : {0, 1}) {
      if (p == w.book.currentPage()) drawPage(w, p);
      else w.tabs.stale[p] = true;
    }
    for (int r = 0; r < RowEditors::kSheetRows; ++r) w.editors.refreshSheetRow(w, r);
  } else {
    updateMaxScrollOffsets(w.pages, w.app);
  }
  w.editors.placeSheet(w);
  w.editors.placeList(w);
  if (widthChanged) w.editors.rescrollSheet();
  updateScrollBar(w);
}

// ---- Paint ------------------------------------------------------------------------------

void paintMainWindow(MainWindow& w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w.hwnd, &ps);
  const int page = w.book.currentPage();
  auto* surface = static_cast<GdiSurface*>(w.pages.composed[page].get());
  int coveredBottom = 0;
  int coveredRight = 0;
  if (surface && surface->valid()) {
    for (const BlitRect& r : paintRects(w.pages, w.clientWidth())) {
      BitBlt(dc, r.dx, r.dy, r.w, r.h, surface->dc(), r.sx, r.sy, SRCCOPY);
      coveredBottom = std::max(coveredBottom, r.dy + r.h);
      coveredRight = std::max(coveredRight, r.dx + r.w);
    }
  }
  // Whatever no page pixel covers (a surface that could not be made) is plain white.
  RECT client;
  GetClientRect(w.hwnd, &client);
  HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  if (coveredBottom < client.bottom) {
    RECT below{0, coveredBottom, client.right, client.bottom};
    FillRect(dc, &below, white);
  }
  if (coveredRight < client.right) {
    RECT right{coveredRight, 0, client.right, coveredBottom};
    FillRect(dc, &right, white);
  }
  EndPaint(w.hwnd, &ps);
}

void repaintAll(MainWindow& w) {
  if (w.hwnd) RedrawWindow(w.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// ---- Rows -------------------------------------------------------------------------------

void scrollRowIntoView(MainWindow& w, int row) {
  const int page = w.book.currentPage();
  if (page != 0 && page != 1) return;
  const RowLayout rows = layoutOf(w, page);
  const int offset = w.pages.scrollOffset[page];
  scrollCurrentPage(w, offsetShowingRow(offset, rows.rowTop(row), rows.rowHeight, headerHeight(w.pages, page),
                                        w.pages.windowHeight));
}

void selectRow(MainWindow& w, int row) {
  const int page = w.book.currentPage();
  if (page != 0 && page != 1) return;
  const RowLayout rows = layoutOf(w, page);
  if (row < 0 || row >= rows.rowCount) return;
  w.app.ui.currentRow = row;
  scrollRowIntoView(w, row);
  w.editors.focusRow(w, page, row, -1);
  if (page == 0) w.editors.placeMarker(w);
  else drawListRowMarker(w, row);
}

void onRowFocus(MainWindow& w, int page, int row) {
  if (page != w.book.currentPage()) return;
  if (page == 0 && row == w.app.sheet.separatorIndex) {
    // The separator is no task: the selection stays where it was.
    if (w.app.ui.currentRow != row) w.editors.focusRow(w, 0, w.app.ui.currentRow, -1);
    return;
  }
  w.app.ui.currentRow = row;
  if (page == 0) w.editors.placeMarker(w);
  else drawListRowMarker(w, row);
}

bool selectRowAtPoint(MainWindow& w, int x, int y) {
  const int page = w.book.currentPage();
  if (page != 0 && page != 1) return false;
  if (y < headerHeight(w.pages, page)) return false;
  const int row = rowAtPageY(layoutOf(w, page), y + w.pages.scrollOffset[page]);
  if (row < 0) return false;
  selectRow(w, row);
  return true;
}

}  // namespace tirelmo
