#include "pages_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "base/log.h"
#include "commands.h"
#include "main_window.h"
#include "resource.h"
#include "app/todolists.h"
#include "projects/project_ops.h"
#include "stats/done_archive.h"
#include "ui/bitmap_ids.h"
#include "ui/page_view.h"
#include "ui/sheet_page.h"
#include "web/web_pages.h"
#include "wide.h"

namespace tirelmo {

namespace {

constexpr int kTabsHeight = 42;
// Height of the paint buffer: a paint of the whole client area takes some sixteen strips.
// Half the height of 128 keeps 250 KB less for the whole run and draws a page as fast
// (what lies outside a strip is skipped before GDI sees it).
constexpr int kPaintStripHeight = 64;
constexpr Txt kPageLabels[kPageCount] = {Txt::PageTodoToday,   Txt::PageNextThings, Txt::PagePreviousDay,
                                         Txt::PagePerformance, Txt::PageHistory,    Txt::PageProjects,
                                         Txt::PageAppsWebsites};

constexpr int kCmdProjectsTutorial = 1528;

bool chinese(const MainWindow& w) { return w.app.language() == Language::ChineseSimplified; }

HFONT pageTabsFont(MainWindow& w) {
  return w.graphics.fontFor(chinese(w) ? FontSpec{u"Trebuchet MS", 24} : FontSpec{u"Segoe Print", 30});
}

HFONT todolistTabsFont(MainWindow& w) {
  return w.graphics.fontFor(chinese(w) ? FontSpec{u"Trebuchet MS", 22} : FontSpec{u"Segoe Print", 24});
}

RowLayout layoutOf(const MainWindow& w, int page) {
  if (page == 1) return todolistRowLayout();
  const SheetGeometry& g = w.pages.sheet;
  return RowLayout{kSheetRows, g.rowsTop, g.rowHeight, w.app.sheet.separatorIndex};
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
  SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(pageTabsFont(w)), FALSE);
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
  SendMessageW(strip, WM_SETFONT, reinterpret_cast<WPARAM>(todolistTabsFont(w)), FALSE);
  // Room beside the title for the deadline square, and below it for the underline.
  SendMessageW(strip, TCM_SETPADDING, 0, MAKELPARAM(14, 8));
  w.tabs.todolistTabs = strip;
  rebuildTodolistTabs(w);
}

void rebuildTodolistTabs(MainWindow& w) {
  HWND strip = w.tabs.todolistTabs;
  if (!strip) return;
  SendMessageW(strip, TCM_DELETEALLITEMS, 0, 0);
  // One tab per Todolist in registry order; the last one starts a new list.
  const TodolistRegistry& reg = w.app.todolists;
  int at = 0;
  auto insert = [&](const u16& title) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(W(title));
    SendMessageW(strip, TCM_INSERTITEMW, at++, reinterpret_cast<LPARAM>(&item));
  };
  for (const TodolistEntry& e : reg.entries) insert(e.title);
  insert(u"+");
  selectTodolistTab(w);
}

void selectTodolistTab(MainWindow& w) {
  if (!w.tabs.todolistTabs) return;
  const TodolistRegistry& reg = w.app.todolists;
  if (reg.valid(reg.current)) SendMessageW(w.tabs.todolistTabs, TCM_SETCURSEL, reg.current, 0);
  InvalidateRect(w.tabs.todolistTabs, nullptr, TRUE);
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
    if (current != 1 || t < 0 || t == w.app.todolists.current) return TRUE;
    if (t == count - 1) {
      // "+": the open list is saved, its tab stays selected while the new one is named.
      saveTodolistInView(w.app);
      selectTodolistTab(w);
      runCommand(w, kCmdNewTodolist);
    } else if (switchTodolist(w.app, t)) {
      // Another list starts at its top, on its first row.
      scrollCurrentPage(w, 0);
      selectRow(w, 0);
    } else {
      selectTodolistTab(w);
    }
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
  return TRUE;
}

bool drawTodolistTab(MainWindow& w, const DRAWITEMSTRUCT& item) {
  if (item.hwndItem != w.tabs.todolistTabs) return false;
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  const TodolistRegistry& reg = w.app.todolists;
  const int index = static_cast<int>(item.itemID);
  SetBkMode(dc, TRANSPARENT);
  // The strip's own font: the one the control measured the tabs with.
  const HGDIOBJ oldFont =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w.tabs.todolistTabs, WM_GETFONT, 0, 0)));
  struct RestoreFont {
    HDC dc;
    HGDIOBJ font;
    ~RestoreFont() { SelectObject(dc, font); }
  } restore{dc, oldFont};
  if (!reg.valid(index)) {
    SetTextColor(dc, RGB(100, 100, 130));
    TextOutW(dc, r.left + 4, r.top + 4, L"+", 1);
    return true;
  }
  const TodolistEntry& e = reg.entries[static_cast<std::size_t>(index)];
  const bool selected = (item.itemState & ODS_SELECTED) != 0 || index == reg.current;
  const int urgent = e.mostUrgentDeadline();
  COLORREF color = selected ? RGB(10, 10, 160) : RGB(100, 100, 130);
  if (urgent == kDeadlineClasses - 1) color = RGB(213, 0, 0);
  SetTextColor(dc, color);
  // The title stays left of the deadline square.
  RECT text{r.left + 6, r.top + 8, r.right - 12, r.bottom};
  DrawTextW(dc, W(e.title), static_cast<int>(e.title.size()), &text,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (urgent >= 1) {
    // From the least to the most urgent level.
    static constexpr COLORREF kLevel[] = {RGB(217, 253, 194), RGB(255, 255, 183), RGB(255, 255, 0),
                                          RGB(255, 153, 0), RGB(225, 0, 0)};
    const RECT square{r.right - 10, r.top + 6, r.right - 4, r.top + 12};
    HBRUSH brush = CreateSolidBrush(kLevel[urgent - 1]);
    FillRect(dc, &square, brush);
    DeleteObject(brush);
  }
  if (selected) {
    HPEN white = CreatePen(PS_SOLID, 2, RGB(255, 255, 255));
    HPEN dark = CreatePen(PS_SOLID, 3, RGB(55, 55, 55));
    HGDIOBJ old = SelectObject(dc, white);
    MoveToEx(dc, r.left + 2, r.bottom - 5, nullptr);
    LineTo(dc, r.right - 2, r.bottom - 5);
    SelectObject(dc, dark);
    MoveToEx(dc, r.left + 2, r.bottom - 2, nullptr);
    LineTo(dc, r.right - 2, r.bottom - 2);
    SelectObject(dc, old);
    DeleteObject(white);
    DeleteObject(dark);
  }
  return true;
}

// ---- Page switch and drawing ------------------------------------------------------------

namespace {

HWND pageTabArrows(const MainWindow& w) {
  return w.tabs.pageTabs ? FindWindowExW(w.tabs.pageTabs, nullptr, UPDOWN_CLASSW, nullptr) : nullptr;
}

// True when the page tabs and their scroll arrows wait for no paint of their own.
bool pageTabsPainted(const MainWindow& w) {
  HWND arrows = pageTabArrows(w);
  return w.tabs.pageTabs && !GetUpdateRect(w.tabs.pageTabs, nullptr, FALSE) &&
         !(arrows && GetUpdateRect(arrows, nullptr, FALSE));
}

// Selects a page's tab after the whole window was invalidated. Drawing the themed tabs is a
// good part of a page switch under Wine, so when they were painted before the switch and
// the row of tabs did not scroll, only the tab left and the tab entered are drawn again, and
// the row's scroll arrows not at all.
void selectPageTab(MainWindow& w, int leaving, int page, bool paintedBefore) {
  HWND tabs = w.tabs.pageTabs;
  if (!tabs) return;
  RECT firstBefore{}, firstAfter{};
  SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&firstBefore));
  SendMessageW(tabs, TCM_SETCURSEL, page, 0);
  SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&firstAfter));
  if (!paintedBefore || !EqualRect(&firstBefore, &firstAfter)) return;
  ValidateRect(tabs, nullptr);
  if (HWND arrows = pageTabArrows(w)) ValidateRect(arrows, nullptr);
  for (int t : {leaving, page}) {
    RECT r{};
    if (!SendMessageW(tabs, TCM_GETITEMRECT, t, reinterpret_cast<LPARAM>(&r))) continue;
    // The selected tab stands out a little beyond its rectangle, above and to the sides.
    const LONG bottom = r.bottom;
    InflateRect(&r, 4, 4);
    r.bottom = bottom + 1;
    InvalidateRect(tabs, &r, TRUE);
  }
}

}  // namespace

void showPage(MainWindow& w, int page) {
  const int leaving = w.book.currentPage();
  if (page == leaving || page < 0 || page >= kPageCount) return;
  SavedRowState state{};
  if (leaving == 0 || leaving == 1) state = {w.app.ui.currentRow, w.editors.caretOf(leaving, w.app.ui.currentRow)};
  if (!w.book.begin(page, state)) return;
  w.pages.currentPage = page;
  w.app.ui.currentPage = page;
  // The month's completed tasks are read again each time the page comes up: the archive
  // grows during the day.
  if (page == kPageHistory) loadCurrentMonthDoneTasks(w.app);
  // The page only draws the model: a first report is chosen before it is shown.
  if (page == kPageProjects) ensureDefaultProjectReport(w.app);
  updateMaxScrollOffsets(w.pages, w.app);

  // Leaving a page with rows: its editors (and the marker) go out of sight.
  if (leaving == 0) w.editors.placeSheet(w, true);
  if (leaving == 1) {
    w.editors.placeList(w, true);
    if (w.tabs.todolistTabs) ShowWindow(w.tabs.todolistTabs, SW_HIDE);
  }
  if (page == 0 || page == 1) {
    SetFocus(w.hwnd);
    if (page == 0) w.editors.placeSheet(w, true);
    else {
      w.editors.placeList(w, true);
      if (w.tabs.todolistTabs) ShowWindow(w.tabs.todolistTabs, SW_SHOW);
    }
    const SavedRowState back = w.book.entered();
    w.app.ui.currentRow = back.row;
    if (page == 0 && w.app.sheet.readOnly) {
      w.editors.placeMarker(w);
    } else {
      w.editors.focusRow(w, page, back.row, back.caret);
      if (page == 0) w.editors.placeMarker(w);
      else moveListRowMarker(w.pages, back.row);
    }
  }
  updateScrollBar(w);
  // A repaint the tabs still owe (a resize not painted yet) must not be dropped below.
  const bool tabsPainted = pageTabsPainted(w);
  repaintAll(w);
  selectPageTab(w, leaving, page, tabsPainted);
  w.tips.showFor(w, page);
  w.book.end();
}

void drawPage(MainWindow& w, int page) {
  if (page == w.book.currentPage()) repaintAll(w);
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
    // The score column and the header strip follow the width.
    updateSheetLook(w.pages, w.app);
    repaintAll(w);
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
  const RECT dirty = ps.rcPaint;
  const int width = dirty.right - dirty.left;
  if (width > 0 && dirty.bottom > dirty.top) {
    // The buffer is one strip of the client area's width: a paint goes through it strip by
    // strip, so a tall window costs no more memory than a short one.
    const int stripWidth = std::max(width, w.clientWidth());
    if (!w.backBuffer || w.backBuffer->width() < stripWidth) {
      w.backBuffer.reset();  // the old buffer goes before the new one is made
      w.backBuffer = w.graphics.createSurface(stripWidth, kPaintStripHeight);
    }
    auto* buffer = static_cast<GdiSurface*>(w.backBuffer.get());
    if (buffer && buffer->valid()) {
      const int page = w.book.currentPage();
      const std::vector<ViewBand> bands = viewBands(w.pages, page, w.clientHeight());
      const auto draw = [&](int top, int bottom) {
        // The page's pixels end at the page width; white beyond and below.
        buffer->fillRect(dirty.left, top, width, bottom - top, rgb(255, 255, 255));
        for (const ViewBand& band : bands) {
          const int from = std::max(top, band.clientY);
          const int to = std::min(bottom, band.clientY + band.height);
          if (to <= from) continue;
          // Page coordinates onto the strip, which the band shows shifted by this much.
          const int shift = band.pageY - band.clientY;
          buffer->setOrigin(dirty.left, top + shift);
          drawPageView(w.app, w.pages, *buffer, page, dirty.left, from + shift, width, to - from);
          drawToolbarButtons(*buffer, w.toolbar, page);
        }
      };
      paintThrough(*buffer, dirty, draw, [&](int top, int bottom) {
        BitBlt(dc, dirty.left, top, width, bottom - top, buffer->dc(), 0, 0, SRCCOPY);
      });
    } else {
      // No buffer (GDI refused the memory): plain white rather than garbage.
      FillRect(dc, &dirty, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
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
  else moveListRowMarker(w.pages, row);
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
  else moveListRowMarker(w.pages, row);
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

// ---- Settings changes -------------------------------------------------------------------

namespace {

// The tab labels and fonts of the language in use.
void applyTabsLanguage(MainWindow& w) {
  if (HWND tabs = w.tabs.pageTabs) {
    SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(pageTabsFont(w)), FALSE);
    for (int p = 0; p < kPageCount; ++p) {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(w.app.tr(kPageLabels[p])));
      SendMessageW(tabs, TCM_SETITEMW, p, reinterpret_cast<LPARAM>(&item));
    }
  }
  // The strip measures its tabs with its font: they are inserted again to be measured anew.
  if (w.tabs.todolistTabs) {
    SendMessageW(w.tabs.todolistTabs, WM_SETFONT, reinterpret_cast<WPARAM>(todolistTabsFont(w)), FALSE);
    rebuildTodolistTabs(w);
  }
}

}  // namespace

void rebuildLook(MainWindow& w) {
  updateSheetLook(w.pages, w.app);
  applyTabsLanguage(w);
  // Another skin has other row heights: the offsets are taken back into the new limits.
  for (int p = 0; p < kPageCount; ++p)
    w.pages.scrollOffset[p] = clampScrollOffset(w.pages.scrollOffset[p], w.pages.maxScrollOffset[p]);
  for (int r = 0; r < RowEditors::kSheetRows; ++r) w.editors.refreshSheetRow(w, r);
  w.editors.fillList(w);
  logLine(u"SetEfPos_ToDo() - tsk_y_offset:%d", w.pages.sheet.rowsTop);
  w.editors.placeSheet(w);
  w.editors.placeList(w);
  w.editors.rescrollSheet();
  repaintDayTotals(w.pages);
  w.tips.showFor(w, w.book.currentPage());
  updateScrollBar(w);
  const int page = w.book.currentPage();
  if (page == 0 || page == 1) scrollRowIntoView(w, w.app.ui.currentRow);
  repaintAll(w);
}

void followDataFolder(MainWindow& w) {
  refreshTitle(w);
  // The month's completed tasks are read from the folder the History page shows.
  if (w.book.currentPage() == kPageHistory) loadCurrentMonthDoneTasks(w.app);
  updateMaxScrollOffsets(w.pages, w.app);
  updateScrollBar(w);
  repaintAll(w);
}

}  // namespace tirelmo
