#include "main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <memory>

#include "base/log.h"
#include "app/row_editing.h"
#include "app/startup.h"
#include "commands.h"
#include "dialogs.h"
#include "notice.h"
#include "projects/project_ops.h"
#include "resource.h"
#include "ui/page_view.h"
#include "ui/sheet_page.h"
#include "usage/usage_table.h"
#include "web_win32.h"
#include "wide.h"

namespace tirelmo {

namespace {

constexpr UINT kUsageSamplePeriodMs = 5000;
constexpr int kCmdViewOldSheet = 1107;
constexpr int kCmdStartTimer = 1100;
constexpr int kCmdStopTimer = 1110;
constexpr int kCmdReportBug = 1511;

// The window's state lives until the message loop has ended: handlers that destroy the
// window (exit, a failed day restart) still run to their end on it.
std::unique_ptr<MainWindow> g_window;

void logFolders() {
  wchar_t buf[MAX_PATH];
  if (GetSystemDirectoryW(buf, MAX_PATH)) logLine(u"System Dir: %s", U(buf));
  else logLine(u"Get SysDir err: %d", static_cast<int>(GetLastError()));
  if (GetCurrentDirectoryW(MAX_PATH, buf)) logLine(u"Cur Dir: %s", U(buf));
  else logLine(u"Get CurDir err: %d", static_cast<int>(GetLastError()));
  if (GetWindowsDirectoryW(buf, MAX_PATH)) logLine(u"Win Dir: %s", U(buf));
  else logLine(u"Get WinDir err: %d", static_cast<int>(GetLastError()));
}

// The first row the selection may rest on: the current one unless it is the separator.
int selectableRow(const App& app, int row) {
  if (row < 0 || row >= kSheetRows) row = 0;
  if (row == app.sheet.separatorIndex) row = row + 1 < kSheetRows ? row + 1 : row - 1;
  return row;
}

// ---- What the core asks of the window ---------------------------------------------------

void onSheetDisplayed(MainWindow& w) {
  const bool readOnly = w.app.sheet.readOnly;
  w.toolbar.showScoreButtons(!readOnly);
  w.editors.fillSheet(w);
  drawPage(w, 0);
  if (w.book.currentPage() != 0) {
    showPage(w, 0);
  } else {
    w.editors.placeSheet(w);
    w.tips.showFor(w, 0);
  }
  w.app.ui.currentPage = 0;
  selectRow(w, selectableRow(w.app, w.app.ui.currentRow));
}

void onDayRestarted(MainWindow& w) {
  w.editors.fillSheet(w);
  w.editors.fillList(w);
  rebuildTodolistTabs(w);
  w.toolbar.showScoreButtons(!w.app.sheet.readOnly);
  drawPage(w, w.book.currentPage());
  const int page = w.app.ui.currentPage;
  const int row = w.app.ui.currentRow;
  w.app.ui.currentPage = w.book.currentPage();
  showPage(w, page);
  if (w.tabs.pageTabs) SendMessageW(w.tabs.pageTabs, TCM_SETCURSEL, w.book.currentPage(), 0);
  w.editors.placeSheet(w);
  selectRow(w, w.book.currentPage() == 0 ? selectableRow(w.app, row) : row);
  showNewListNotice(w);
}

// Rows of page 0 or 1 changed as a whole (moved, sorted, pasted, emptied): the editors get
// the model's texts and looks, the page its pixels, the selection its row.
void onPageRowsChanged(MainWindow& w, int page) {
  if (w.dayRestartPending) return;
  if (page == 0) {
    w.editors.fillSheet(w);
    drawPage(w, 0);
  } else if (page == 1) {
    w.editors.fillList(w);
    w.editors.placeList(w);
    drawPage(w, 1);
    selectTodolistTab(w);  // the deadline squares may have changed
  }
  if (page == w.book.currentPage()) selectRow(w, page == 0 ? selectableRow(w.app, w.app.ui.currentRow) : w.app.ui.currentRow);
}

// Another Todolist is in view.
void onListDisplayed(MainWindow& w) {
  if (w.dayRestartPending) return;
  w.editors.fillList(w);
  w.editors.placeList(w);
  selectTodolistTab(w);
  drawPage(w, 1);
}

// A drawn page (2..6) has new content: its height may differ, and when it is on display it
// is painted again.
void onPageContentChanged(MainWindow& w, int page) {
  if (w.dayRestartPending) return;
  if (page == kPageProjects && w.book.currentPage() == kPageProjects) ensureDefaultProjectReport(w.app);
  updateMaxScrollOffsets(w.pages, w.app);
  if (page != w.book.currentPage()) return;
  updateScrollBar(w);
  repaintAll(w);
}

void wireHooks(MainWindow& w) {
  MainWindow* self = &w;
  UiHooks& h = w.app.hooks;
  h.takeEditorTexts = [self] {
    self->editors.takeSheetTexts(*self);
    self->editors.takeListTexts(*self);
  };
  h.redrawRow = [self](int row) {
    if (!self->app.sheet.validRow(row)) return;
    repaintSheetRow(self->pages, row);
    self->editors.refreshSheetRow(*self, row);
  };
  h.redrawTotals = [self] { repaintDayTotals(self->pages); };
  h.sheetDisplayed = [self] { onSheetDisplayed(*self); };
  h.refreshTitle = [self] { refreshTitle(*self); };
  h.beforeDayRestart = [self] {
    self->dayRestartPending = true;
    self->editors.clearAll();
  };
  h.afterDayRestart = [self] {
    self->dayRestartPending = false;
    onDayRestarted(*self);
  };
  h.pageRowsChanged = [self](int page) { onPageRowsChanged(*self, page); };
  h.listDisplayed = [self] { onListDisplayed(*self); };
  h.todolistDoneChanged = [self] { onListDisplayed(*self); };
  h.todolistsChanged = [self] {
    rebuildTodolistTabs(*self);
    onListDisplayed(*self);
  };
  h.pageContentChanged = [self](int page) { onPageContentChanged(*self, page); };
  h.sendCommand = [self](int command) { PostMessageW(self->hwnd, WM_COMMAND, MAKEWPARAM(command, 0), 0); };
  h.rebuildLook = [self] { rebuildLook(*self); };
  h.dataFolderMoved = [self] { followDataFolder(*self); };
  h.sheetUploadProgress = [self](int rowsDone) { showUploadProgress(*self, rowsDone); };
}

// ---- Set-up and shut-down ---------------------------------------------------------------

void onCreate(MainWindow& w) {
  w.arrowCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  w.busyCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32650));   // IDC_APPSTARTING
  initTray(w);
  w.pages.windowWidth = w.clientWidth();
  w.pages.windowHeight = w.clientHeight();
  w.pages.invalidate = [self = &w](int x, int y, int width, int height) {
    RECT r{x, y, x + width, y + height};
    RedrawWindow(self->hwnd, &r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  };

  createPageTabs(w);
  preparePages(w.pages, w.app);
  w.pages.scrollOffset[0] = 0;
  SetWindowTextW(w.hwnd, kMainWindowTitle);
  updateMaxScrollOffsets(w.pages, w.app);

  // The row editors, their tooltips, the Todolist tab strip and editors come once the first
  // frame is on the screen (finishStart); until then the page draws the row texts itself.
  // Under Wine each of those windows costs a start about a millisecond, the strip some 3 ms.
  w.editors.createMarker(w);
  w.pages.drawRowTexts = true;
  w.book.resetRows();
  wireHooks(w);
  w.toolbar.showScoreButtons(!w.app.sheet.readOnly);
  drawPage(w, w.book.currentPage());
  w.pages.currentPage = 0;
  w.app.ui.currentPage = 0;
  w.app.ui.mainWindowExists = true;
  selectRow(w, selectableRow(w.app, w.app.ui.currentRow));
  updateScrollBar(w);

  w.app.windows = &w.inspector;
  if (!SetTimer(w.hwnd, TIMER_USAGE_SAMPLE, kUsageSamplePeriodMs, nullptr)) logLastError(u"SetTimer 407");
  if (w.app.start.firstRunToday) {
    startLocationWorker(w);
    Log_FirstRunToday(w.app.start.startTime);
  }
  logFolders();
}

// What the first frame did not need: posted by the first paint, so it runs before any input.
void finishStart(MainWindow& w) {
  if (w.destroyed) return;
  w.app.sheetList.release();
  webWorkersMayStart();
  createTodolistTabs(w);
  w.tips.create(w);
  w.editors.create(w);
  w.editors.fillSheet(w);
  w.pages.drawRowTexts = false;  // the editors show the texts from now on
  w.editors.placeSheet(w);
  if (w.book.currentPage() == 0) selectRow(w, selectableRow(w.app, w.app.ui.currentRow));
  w.tips.showFor(w, w.book.currentPage());
  // Fifty editors at once would hold up the first clicks for some 200 ms under Wine: a few
  // at a time, between whatever the user does.
  if (!SetTimer(w.hwnd, TIMER_LIST_EDITORS, 10, nullptr)) w.editors.prepareList(w);
}

void onDestroy(MainWindow& w) {
  w.destroyed = true;
  KillTimer(w.hwnd, TIMER_POMODORO);
  KillTimer(w.hwnd, TIMER_USAGE_SAMPLE);
  KillTimer(w.hwnd, TIMER_LIST_EDITORS);
  // The normal (restored) rectangle, so a window closed while minimised does not store
  // the off-screen parking position.
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (GetWindowPlacement(w.hwnd, &wp)) {
    w.app.settings.Wind_x = wp.rcNormalPosition.left;
    w.app.settings.Wind_y = wp.rcNormalPosition.top;
  }
  if (w.tray.inTray) removeTrayIcon(w);
  closeTimerOnExit(w);
  closeWebWorkers(w);
  if (w.dayRestartFailed) {
    // The model may be half rebuilt; saving it now could write an empty sheet for the new
    // day, and the next start would then carry nothing over.
    logLine(u"Day restart did not finish: nothing saved again");
  } else {
    // The editors still exist here (children go after their parent's destroy message), so
    // the sheet is saved with what they show.
    saveEverything(w.app);
  }
  processLog().closeWithTimestamp(w.app.clock.now());
  w.app.hooks = UiHooks{};
  w.app.windows = &w.app.noWindows;  // the inspector goes with the window
  w.app.ui.mainWindowExists = false;
  w.tips.destroy();
  PostQuitMessage(0);
}

// ---- Size -------------------------------------------------------------------------------

void onSize(MainWindow& w, WPARAM kind, int width, int height) {
  if (kind != SIZE_MINIMIZED) onClientResized(w, width, height);
  switch (kind) {
    case SIZE_MINIMIZED:
      MinimizeToTray(w);
      showTimerWindowIfRunning(w);
      break;
    case SIZE_MAXIMIZED: {
      WINDOWPLACEMENT wp{};
      wp.length = sizeof wp;
      GetWindowPlacement(w.hwnd, &wp);
      const RECT& normal = wp.rcNormalPosition;
      const WindowSize size = maximisedReplacement(normal.right - normal.left);
      ShowWindow(w.hwnd, SW_RESTORE);
      MoveWindow(w.hwnd, normal.left, normal.top, size.width, size.height, TRUE);
      break;
    }
    case SIZE_RESTORED: {
      RECT r;
      GetWindowRect(w.hwnd, &r);
      const WindowSize now{r.right - r.left, r.bottom - r.top};
      const WindowSize allowed = clampRestoredSize(now);
      if (!(allowed == now)) MoveWindow(w.hwnd, r.left, r.top, allowed.width, allowed.height, TRUE);
      w.tray.inTray = false;
      break;
    }
    default:
      break;
  }
}

// ---- Keys and mouse ---------------------------------------------------------------------

RowLayout rowLayoutOf(const MainWindow& w) {
  if (w.book.currentPage() == 1) return todolistRowLayout();
  return RowLayout{kSheetRows, w.pages.sheet.rowsTop, w.pages.sheet.rowHeight, w.app.sheet.separatorIndex};
}

void onKeyDown(MainWindow& w, WPARAM key) {
  const int page = w.book.currentPage();
  const bool rowsPage = page == 0 || page == 1;
  switch (key) {
    case VK_ESCAPE:
      MinimizeToTray(w);
      break;
    case VK_LEFT:
    case VK_RIGHT:
      if (rowsPage) scrollRowIntoView(w, w.app.ui.currentRow);
      break;
    case VK_UP:
      if (rowsPage) {
        const int row = rowAbove(rowLayoutOf(w), w.app.ui.currentRow);
        if (row < 0) scrollCurrentPage(w, 0);
        else selectRow(w, row);
      }
      break;
    case VK_DOWN:
      if (rowsPage) {
        const int row = rowBelow(rowLayoutOf(w), w.app.ui.currentRow);
        if (row >= 0) selectRow(w, row);
      }
      break;
    case VK_F1:
      showHelpDialog(w.hwnd, w.app.language());
      break;
    case VK_F2:
      runCommand(w, kCmdViewOldSheet);
      break;
    case VK_F5:
      if (!w.app.timer.running) runCommand(w, kCmdStartTimer);
      break;
    case VK_F6:
      runCommand(w, kCmdStopTimer);
      break;
    case VK_F7:
      runCommand(w, kCmdReportBug);
      break;
    default:
      return;
  }
  followModelPage(w);
}

void onMouse(MainWindow& w, UINT msg, int x, int y) {
  const int page = w.book.currentPage();
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (!toolbarMouse(w, x, y, MouseSide::Left, true).onButton) selectRowAtPoint(w, x, y);
      break;
    case WM_LBUTTONUP: {
      const ToolbarEffect fx = toolbarMouse(w, x, y, MouseSide::Left, false);
      if (fx.command) runCommand(w, fx.command);
      break;
    }
    case WM_RBUTTONDOWN:
      toolbarMouse(w, x, y, MouseSide::Right, true);
      break;
    case WM_RBUTTONUP: {
      const ToolbarEffect fx = toolbarMouse(w, x, y, MouseSide::Right, false);
      if (fx.command) {
        runCommand(w, fx.command);
      } else if (!fx.onButton && (page == 0 || page == 1)) {
        selectRowAtPoint(w, x, y);
        showRowMenu(w, x, y);
      }
      break;
    }
    case WM_LBUTTONDBLCLK:
      // A double click on a Todolist row sends it to today's sheet.
      if (page == 1 && selectRowAtPoint(w, x, y)) moveRowToPage(w.app, 1, 0);
      break;
    default:
      break;
  }
  followModelPage(w);
}

void onVerticalScroll(MainWindow& w, WPARAM wParam) {
  ScrollAction action = ScrollAction::Other;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: action = ScrollAction::LineUp; break;
    case SB_LINEDOWN: action = ScrollAction::LineDown; break;
    case SB_PAGEUP: action = ScrollAction::PageUp; break;
    case SB_PAGEDOWN: action = ScrollAction::PageDown; break;
    case SB_THUMBPOSITION: action = ScrollAction::ThumbPosition; break;
    case SB_THUMBTRACK: action = ScrollAction::ThumbTrack; break;
    default: break;
  }
  // The 32-bit track position; the message itself carries only 16 bits.
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_TRACKPOS;
  const int thumb = GetScrollInfo(w.hwnd, SB_VERT, &si) ? si.nTrackPos : HIWORD(wParam);
  const int page = w.book.currentPage();
  scrollCurrentPage(w, scrollBarTarget(w.pages.scrollOffset[page], action, thumb));
}

void onSetFocus(MainWindow& w) {
  if (w.tray.inTray) {
    removeTrayIcon(w);
    ShowWindow(w.hwnd, SW_RESTORE);
    SetForegroundWindow(w.hwnd);
    w.tray.inTray = false;
  }
  RECT area{0, 0, w.pages.windowWidth, kMaximisedHeight};
  RedrawWindow(w.hwnd, &area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  // Typing goes to the selected row; a page switch places the focus itself.
  const int page = w.book.currentPage();
  if (!w.book.switching() && (page == 0 || page == 1))
    w.editors.focusRow(w, page, w.app.ui.currentRow, -1);
}

void onCommandMessage(MainWindow& w, WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if (lParam != 0) {
    if (w.editors.onCommand(w, id, code)) return;
    // Of the other child windows only the row marker button sends a command.
    if (id != IDC_ROW_MARKER || code != BN_CLICKED) return;
  }
  runCommand(w, id);
  if (!w.destroyed) followModelPage(w);
}

LRESULT handle(MainWindow& w, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = w.hwnd;
  if (msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK) w.tips.relayMouse(hwnd, msg, wParam, lParam);
  if (w.tray.taskbarCreated && msg == w.tray.taskbarCreated) {
    onTaskbarCreated(w);
    return 0;
  }
  switch (msg) {
    case WM_CREATE:
      onCreate(w);
      return 0;
    case WM_DESTROY:
      onDestroy(w);
      return 0;
    case WM_SIZE:
      onSize(w, wParam, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_GETMINMAXINFO: {
      // The size limits also while the user drags the border, so the window never shows a
      // size it is then pulled back from.
      auto* mm = reinterpret_cast<MINMAXINFO*>(lParam);
      mm->ptMinTrackSize.x = kMinWindowWidth;
      mm->ptMaxTrackSize.x = kMaxWindowWidth;
      mm->ptMaxTrackSize.y = kMaxWindowHeight;
      return 0;
    }
    case WM_SETFOCUS:
      onSetFocus(w);
      return 0;
    case WM_PAINT:
      paintMainWindow(w);
      if (!w.firstFrameShown) {
        // What the first frame does not need is made once it is on the screen.
        w.firstFrameShown = true;
        PostMessageW(hwnd, kMsgAfterFirstFrame, 0, 0);
      }
      return 0;
    case kMsgAfterFirstFrame:
      finishStart(w);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole client area
    case WM_CLOSE:
      exitProgram(w, true);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Windows ends the process soon after this message without a destroy message, so
      // everything is saved now, or the day's work would be lost at log-off.
      if (wParam) DestroyWindow(hwnd);
      return 0;
    case WM_DRAWITEM:
      drawTodolistTab(w, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_NOTIFY:
      return onTabNotify(w, *reinterpret_cast<const NMHDR*>(lParam));
    case WM_KEYDOWN:
      onKeyDown(w, wParam);
      return 0;
    case WM_COMMAND:
      onCommandMessage(w, wParam, lParam);
      return 0;
    case WM_TIMER:
      // Timer 407 samples the window in front; every third sample the table is pruned and
      // page 6, when on display, drawn again. Timer 400 is the pomodoro countdown's.
      if (wParam == TIMER_USAGE_SAMPLE && usageTick(w.app) && w.book.currentPage() == kPageUsage)
        onPageContentChanged(w, kPageUsage);
      if (wParam == TIMER_POMODORO) onPomodoroTick(w);
      if (wParam == TIMER_LIST_EDITORS && w.editors.prepareListPart(w, 5)) KillTimer(hwnd, TIMER_LIST_EDITORS);
      return 0;
    case WM_VSCROLL:
      onVerticalScroll(w, wParam);
      return 0;
    case WM_HSCROLL:
    case WM_MOUSEMOVE:
      return 0;
    case WM_MOUSEWHEEL:
      if (w.app.settings.Vert_ScrollBar) {
        const int page = w.book.currentPage();
        scrollCurrentPage(w, wheelTarget(w.pages.scrollOffset[page], GET_WHEEL_DELTA_WPARAM(wParam)));
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_LBUTTONDBLCLK:
      onMouse(w, msg, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      LRESULT brush = 0;
      if (w.editors.ctlColor(w, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), brush)) return brush;
      return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    case WM_ROW_EDITOR_FOCUS:
      onRowFocus(w, static_cast<int>(lParam), static_cast<int>(wParam));
      return 0;
    case WM_PROJECT_CLOSED:
      // Posted by the edit-project dialog once the project is in the closed list.
      markClosedProjectRowsDone(w.app, static_cast<std::int32_t>(wParam));
      return 0;
    case WM_TRAY_CALLBACK:
      if (wParam == ID_TRAY_ICON) onTrayCallback(w, lParam);
      return 0;
    case WM_LOCATION_RESULT:
      onLocationResult(w, wParam, lParam);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int MainWindow::clientWidth() const {
  RECT r{};
  if (hwnd) GetClientRect(hwnd, &r);
  return r.right - r.left;
}

int MainWindow::clientHeight() const {
  RECT r{};
  if (hwnd) GetClientRect(hwnd, &r);
  return r.bottom - r.top;
}

void releaseMainWindow() { g_window.reset(); }

MainWindow* mainWindowOf(HWND hwnd) { return reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

void setWindowIcon(MainWindow& w, int minutes) {
  const int id = windowIconId(minutes);
  if (id == 0) return;
  HICON big = static_cast<HICON>(LoadImageW(w.instance, MAKEINTRESOURCEW(id), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                            GetSystemMetrics(SM_CYICON), LR_SHARED));
  HICON small = static_cast<HICON>(LoadImageW(w.instance, MAKEINTRESOURCEW(id), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (!big || !small) {
    logLine(u"Icon %d not loaded", id);
    w.app.prompts.show(w.app.tr(Txt::IconNotLoaded), w.app.tr(Txt::CaptionError), MsgButtons::Ok, MsgIcon::Error);
    return;
  }
  SendMessageW(w.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(w.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void refreshTitle(MainWindow& w) {
  // While the timer runs its countdown owns the title.
  if (!w.app.timer.running) SetWindowTextW(w.hwnd, kMainWindowTitle);
}

void exitProgram(MainWindow& w, bool fromCloseBox) {
  if (!timerAllowsExit(w, fromCloseBox)) return;
  DestroyWindow(w.hwnd);
}

ATOM registerMainWindowClass(HINSTANCE instance) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
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
  // Child windows (row editors, tabs) paint themselves; the page paint leaves them alone.
  const DWORD style = (s.Vert_ScrollBar ? (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_VSCROLL)
                                        : WS_OVERLAPPEDWINDOW) |
                      WS_CLIPCHILDREN;
  g_window = std::make_unique<MainWindow>(instance, app);
  // Made at the size its first WM_SIZE would pull it to (the stored height is 1100 by
  // default, above the limit for a restored window): the size limits are not asked for
  // before the window knows its object, and sizing it again while it is first shown costs
  // a start some 25 ms under Wine.
  const WindowSize size = clampRestoredSize({s.Wind_wth, s.Wind_hth});
  // The title is set by the window's own set-up.
  HWND hwnd = CreateWindowExW(0, kMainWindowClass, L"", style, s.Wind_x, s.Wind_y, size.width, size.height, nullptr,
                              nullptr, instance, g_window.get());
  if (!hwnd) g_window.reset();
  return hwnd;
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* w = static_cast<MainWindow*>(cs->lpCreateParams);
    w->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  MainWindow* w = mainWindowOf(hwnd);
  if (!w) return DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  return handle(*w, msg, wParam, lParam);
}

}  // namespace tirelmo
