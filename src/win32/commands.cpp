#include "commands.h"

#include <commdlg.h>

#include <algorithm>

#include "base/log.h"
#include "dialogs.h"
#include "late_bound.h"
#include "main_window.h"
#include "menus_win32.h"
#include "project_dialogs.h"
#include "projects/project_ops.h"
#include "projects/categories.h"
#include "resource.h"
#include "app/sheet_io.h"
#include "sheet/sheet_files.h"
#include "app/day_cycle.h"
#include "app/export_command.h"
#include "app/row_editing.h"
#include "app/scores.h"
#include "app/todolists.h"
#include "list_dialogs.h"
#include "settings_dialog.h"
#include "time_per_day_dialog.h"
#include "usage_dialog.h"
#include "web_win32.h"
#include "ui/toolbar.h"
#include "web/web_pages.h"
#include "wide.h"

namespace tirelmo {

namespace {

constexpr int kCmdRowMenu = IDC_ROW_MARKER;  // 173
constexpr int kCmdAboutModeless = 1000;
constexpr int kCmdMinimizeToTray = 1001;
constexpr int kCmdAboutModal = 1101;
constexpr int kCmdAddPomodoro = 1103;
constexpr int kCmdAddInternal = 1105;
constexpr int kCmdExit = 1111;
constexpr int kCmdMarkDone = 1112;
constexpr int kCmdHelp = 1119;
constexpr int kCmdAddExternal = 1131;
constexpr int kCmdRemovePomodoro = 1132;
constexpr int kCmdRemoveDone = 1137;
constexpr int kCmdAddEstimate = 1138;
constexpr int kCmdCategoryFirstId = 1147;
constexpr int kCmdCategoryLastId = 1159;
constexpr int kCmdAddEstimatesFirst = 1502;
constexpr int kCmdAddEstimatesLast = 1506;
constexpr int kCmdRemoveDoneTasks = 1507;
constexpr int kCmdReportBug = 1511;
constexpr int kCmdLeaveTray = 1512;
constexpr int kCmdNextPage = 4003;
constexpr int kCmdTimePerDay = 4006;

// ---- Scores -----------------------------------------------------------------------------

void addScoreCommand(MainWindow& w, int id) {
  ScoreKind kind = ScoreKind::Pomodoro;
  switch (id) {
    case kCmdAddPomodoro: kind = ScoreKind::Pomodoro; break;
    case kCmdAddInternal: kind = ScoreKind::InternalInterruption; break;
    case kCmdAddExternal: kind = ScoreKind::ExternalInterruption; break;
    case kCmdAddEstimate: kind = ScoreKind::Estimated; break;
    case kCmdMarkDone: kind = ScoreKind::Done; break;
    case kCmdAddAbandoned: kind = ScoreKind::Abandoned; break;
    default: return;
  }
  scoreCommandAdd(w.app, kind);
}

void addEstimatesCommand(MainWindow& w, int id) { addEstimates(w.app, id - kCmdAddEstimatesBase); }

void removeScoreCommand(MainWindow& w, int id) {
  // 1132..1137: pomodoro, abandoned, internal, external, estimate, done.
  static constexpr ScoreKind kKinds[] = {ScoreKind::Pomodoro,           ScoreKind::Abandoned,
                                         ScoreKind::InternalInterruption, ScoreKind::ExternalInterruption,
                                         ScoreKind::Estimated,          ScoreKind::Done};
  removeScore(w.app, kKinds[id - kCmdRemovePomodoro]);
}

void removeDoneTasksCommand(MainWindow& w, int) { RemoveDoneTasks(w.app); }

void saveCommand(MainWindow& w, int) { SaveAllSheets(w.app); }

void exportDataCommand(MainWindow& w, int) {
  runExportCommand(w.app, [&w](u16& folder) {
    return browseForFolder(w.hwnd, w.app.tr(Txt::ExportBrowseTitle), folder);
  });
}

// ---- Sheets -----------------------------------------------------------------------------

bool chooseSheetFile(MainWindow& w, u16v startFolder, u16& chosen) {
  wchar_t file[MAX_PATH] = L"";
  // Filter pairs separated by NULs, the whole list ended by a second NUL.
  const u16 filter = u16(w.app.tr(Txt::TodoListsFilter)) + u'\0' + u"*.pm2;*.pm3;*.pm4;*.pm5;*.pm6" + u'\0' +
                     w.app.tr(Txt::AllFilesFilter) + u'\0' + u"*.*" + u'\0' + u'\0';
  const u16 folder(startFolder);
  const u16 title = w.app.tr(Txt::OpenTodoListTitle);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = w.hwnd;
  ofn.lpstrFilter = W(filter);
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = W(folder);
  ofn.lpstrTitle = W(title);
  ofn.lpstrDefExt = L"pm6";
  // The current directory is the user-data folder, which every relative path relies on.
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (!getOpenFileNameLate(&ofn)) {
    const DWORD error = commDlgExtendedErrorLate();
    if (error) logLine(u"Open File dialog error %d", static_cast<int>(error));
    return false;
  }
  chosen = U(file);
  return true;
}

void viewOldSheetCommand(MainWindow& w, int) {
  viewOldSheet(w.app, [&w](u16v folder, u16& path) { return chooseSheetFile(w, folder, path); });
}

void newSheetCommand(MainWindow& w, int) { newTodoSheet(w.app); }
void backToTodayCommand(MainWindow& w, int) { backToTodaySheet(w.app); }
void previousSheetCommand(MainWindow& w, int) { showPreviousSheet(w.app); }
void nextSheetCommand(MainWindow& w, int) { showNextSheet(w.app); }

void categoryCommand(MainWindow& w, int id) { runCategoryCommand(w.app, id); }
void repeatCommand(MainWindow& w, int id) { runRepeatCommand(w.app, id); }
void categoriesDialogCommand(MainWindow& w, int) { runCategoriesDialog(w); }

// ---- Projects ---------------------------------------------------------------------------

constexpr int kCmdProjectsTutorial = 1528;

bool rowsPage(const App& app) { return app.ui.currentPage == kPageTodoToday || app.ui.currentPage == kPageNextThings; }

void newProjectCommand(MainWindow& w, int) { showNewProjectDialog(w); }
void editProjectCommand(MainWindow& w, int) { showEditProjectDialog(w); }
void projectReportCommand(MainWindow& w, int) { showProjectReportDialog(w); }

void linkProjectCommand(MainWindow& w, int) {
  App& app = w.app;
  if (!rowsPage(app)) {
    logLine(u"Link: page %d has no rows", app.ui.currentPage);
    return;
  }
  App::call(app.hooks.takeEditorTexts);
  const TodoSheet& rows = app.ui.currentPage == kPageTodoToday ? app.sheet : app.todolist;
  const int row = app.ui.currentRow;
  if (!rows.validRow(row) || rows.rows[static_cast<std::size_t>(row)].isFree()) {
    if (app.prompts.show(app.tr(Txt::PrjDlgRowEmpty), app.tr(Txt::CaptionApp), MsgButtons::OkCancel,
                         MsgIcon::Information) == MsgAnswer::Ok)
      runWebPageCommand(app, kCmdProjectsTutorial);
    return;
  }
  showLinkProjectDialog(w);
}

void linkToLastUsedCommand(MainWindow& w, int) {
  App& app = w.app;
  if (!rowsPage(app)) return;
  App::call(app.hooks.takeEditorTexts);
  linkRowToLastUsedProject(app, RowRef{app.ui.currentPage, app.ui.currentRow});
}

// ---- Rows and Todolists -----------------------------------------------------------------

void deleteLineCommand(MainWindow& w, int) { deleteLine(w.app); }
void copyRowCommand(MainWindow& w, int) { copyRow(w.app); }
void cutRowCommand(MainWindow& w, int) { cutRow(w.app); }

void pasteRowCommand(MainWindow& w, int) {
  const int page = w.book.currentPage();
  const int row = w.app.ui.currentRow;
  HWND editor = page == 0 ? w.editors.sheetEditor(row) : page == 1 ? w.editors.listEditor(row) : nullptr;
  DWORD from = 0, to = 0;
  if (editor) SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  int caret = -1;
  if (pasteRow(w.app, static_cast<int>(from), static_cast<int>(to), &caret) && editor)
    w.editors.focusRow(w, page, row, caret);
}

void sortCommand(MainWindow& w, int id) { sortRows(w.app, id == kCmdSortUndoneFirst); }
void moveRowCommand(MainWindow& w, int id) {
  if (id == kCmdMoveRowUp) moveRowUp(w.app);
  else moveRowDown(w.app);
}
void moveRowToListCommand(MainWindow& w, int id) {
  moveCurrentRowToList(w.app, id == kCmdTodoToday ? kTransferToToday : id - kCmdTodolistFirst);
}
void newTodolistCommand(MainWindow& w, int) {
  if (refuseNewTodolistWhenFull(w.app)) {
    selectTodolistTab(w);
    return;
  }
  // Whatever the dialog ends with, the tab of the list in view is selected again.
  MainWindow* self = &w;
  showNewTodolistDialog(w, [self] { selectTodolistTab(*self); });
}
void manageTodolistsCommand(MainWindow& w, int) { runManageTodolistsDialog(w); }
void moveRowsCommand(MainWindow& w, int) {
  if (rowsEditable(w.app)) showMoveRowsDialog(w);
}
void deadlineCommand(MainWindow& w, int) {
  if (rowsEditable(w.app)) showDeadlineDialog(w);
}

// ---- Pages, menus, window ---------------------------------------------------------------

void nextPageCommand(MainWindow& w, int) {
  if (w.book.switching() || versionCheckRunning()) return;
  logLine(u"Next pg");
  showPage(w, nextPageIndex(w.book.currentPage()));
}

void rowMenuCommand(MainWindow& w, int) {
  if (w.book.currentPage() != 0) return;
  const RowLayout rows{kSheetRows, w.pages.sheet.rowsTop, w.pages.sheet.rowHeight, w.app.sheet.separatorIndex};
  const ClientPoint p = rowMenuPoint(rows, w.app.ui.currentRow, w.pages.scrollOffset[0]);
  showMenuAtClient(w, buildRowContextMenu(w.app, w.app.timer.running, todolistTitles(w.app)), p.x, p.y);
  // The marker button took the focus with its click; typing goes back to the row.
  w.editors.focusRow(w, 0, w.app.ui.currentRow, -1);
}

void toolbarMenuCommand(MainWindow& w, int id) {
  Menu menu;
  switch (id) {
    case kCmdPageMenu: menu = buildPageMenu(w.app, todolistTitles(w.app)); break;
    case kCmdHelpMenu: menu = buildHelpMenu(w.app); break;
    case kCmdEstimateMenu: menu = buildEstimateMenu(w.app); break;
    case kCmdShareMenu: menu = buildShareMenu(w.app); break;
    case kCmdProjectMenu: menu = buildProjectButtonMenu(w.app); break;
    case kCmdDeleteEntriesMenu: menu = buildDeleteEntriesMenu(w.app); break;
    default: return;
  }
  const Toolbar::Point p = w.toolbar.menuAnchor(menuAnchorButton(id));
  showMenuAtClient(w, menu, p.x, p.y);
}

void aboutCommand(MainWindow& w, int id) { showAboutDialog(w.hwnd, id == kCmdAboutModal, w.app.language()); }
void helpCommand(MainWindow& w, int) { showHelpDialog(w.hwnd, w.app.language()); }
void reportBugCommand(MainWindow& w, int) { reportBug(w.app, w.hwnd); }
void minimizeCommand(MainWindow& w, int) { MinimizeToTray(w); }
void leaveTrayCommand(MainWindow& w, int) { leaveTray(w); }
void exitCommand(MainWindow& w, int) { exitProgram(w, false); }
void timePerDayCommand(MainWindow& w, int) { showTimePerDayDialog(w); }
void settingsCommand(MainWindow& w, int) { runSettingsDialog(w); }

// ---- Apps + Websites --------------------------------------------------------------------

void usageDeleteCommand(MainWindow& w, int) { showUsageDeleteDialog(w); }
// The table lost an entry: the page may be shorter, and on display it is drawn again.
void usagePageChangedCommand(MainWindow& w, int) { App::call(w.app.hooks.pageContentChanged, kPageUsage); }

void webPageCommand(MainWindow& w, int id) {
  if (!runWebPageCommand(w.app, id)) logLine(u"command %d opens no page", id);
}

// In id order; ranges do not overlap.
const std::vector<CommandEntry> kTable = {
    {kCmdRowMenu, kCmdRowMenu, rowMenuCommand},
    {kCmdAboutModeless, kCmdAboutModeless, aboutCommand},
    {kCmdMinimizeToTray, kCmdMinimizeToTray, minimizeCommand},
    {1023, 1023, webPageCommand},
    {1100, 1100, startTimerCommand},
    {kCmdAboutModal, kCmdAboutModal, aboutCommand},
    {kCmdAddPomodoro, kCmdAddPomodoro, addScoreCommand},
    {kCmdDeleteLine, kCmdDeleteLine, deleteLineCommand},
    {kCmdAddInternal, kCmdAddInternal, addScoreCommand},
    {kCmdViewOldSheet, kCmdViewOldSheet, viewOldSheetCommand},
    {1110, 1110, stopTimerCommand},
    {kCmdExit, kCmdExit, exitCommand},
    {kCmdMarkDone, kCmdMarkDone, addScoreCommand},
    {1113, 1113, webPageCommand},
    {kCmdHelp, kCmdHelp, helpCommand},
    {1120, 1122, webPageCommand},
    {1124, 1124, webPageCommand},
    {kCmdNewSheet, kCmdNewSheet, newSheetCommand},
    {kCmdPaste, kCmdPaste, pasteRowCommand},
    {kCmdCopy, kCmdCopy, copyRowCommand},
    {kCmdCut, kCmdCut, cutRowCommand},
    {kCmdAddExternal, kCmdAddExternal, addScoreCommand},
    {kCmdRemovePomodoro, kCmdRemoveDone, removeScoreCommand},
    {kCmdAddEstimate, kCmdAddEstimate, addScoreCommand},
    {kCmdSortUndoneFirst, kCmdSortByText, sortCommand},
    {1142, 1142, webPageCommand},
    {kCmdRepeatOn, kCmdRepeatOff, repeatCommand},
    {1145, 1145, webPageCommand},
    {kCmdCategoryFirstId, kCmdCategoryLastId, categoryCommand},
    {kCmdMoveRowUp, kCmdMoveRowDown, moveRowCommand},
    {kCmdAddEstimatesFirst, kCmdAddEstimatesLast, addEstimatesCommand},
    {kCmdRemoveDoneTasks, kCmdRemoveDoneTasks, removeDoneTasksCommand},
    {1510, 1510, webPageCommand},
    {kCmdReportBug, kCmdReportBug, reportBugCommand},
    {kCmdLeaveTray, kCmdLeaveTray, leaveTrayCommand},
    {kCmdBackToToday, kCmdBackToToday, backToTodayCommand},
    {1514, 1514, webPageCommand},
    {kCmdPreviousSheet, kCmdPreviousSheet, previousSheetCommand},
    {kCmdNextSheet, kCmdNextSheet, nextSheetCommand},
    {1521, 1521, categoriesDialogCommand},
    {1522, 1524, webPageCommand},
    {1525, 1525, newProjectCommand},
    {1526, 1526, editProjectCommand},
    {1527, 1527, linkProjectCommand},
    {1528, 1528, webPageCommand},
    {1536, 1540, timerStyleCommand},
    {1541, 1541, usageDeleteCommand},
    {kCmdNewTodolist, kCmdNewTodolist, newTodolistCommand},
    {kCmdManageTodolists, kCmdManageTodolists, manageTodolistsCommand},
    {1546, 1546, linkToLastUsedCommand},
    {1547, 1547, usagePageChangedCommand},
    {1548, 1548, webPageCommand},
    {kCmdMoveRows, kCmdMoveRows, moveRowsCommand},
    {kCmdTodolistFirst, kCmdTodoToday, moveRowToListCommand},
    {kCmdDeadline, kCmdDeadline, deadlineCommand},
    {kCmdNextPage, kCmdNextPage, nextPageCommand},
    {kCmdTimePerDay, kCmdTimePerDay, timePerDayCommand},
    {kCmdAddAbandoned, kCmdAddAbandoned, addScoreCommand},
    {kCmdSaveAllSheets, kCmdSaveAllSheets, saveCommand},
    {kCmdExportData, kCmdExportData, exportDataCommand},
    {kCmdPageMenu, kCmdShareMenu, toolbarMenuCommand},
    {kCmdSettingsDialog, kCmdSettingsDialog, settingsCommand},
    {kCmdProjectMenu, kCmdProjectMenu, toolbarMenuCommand},
    {kCmdProjectReport, kCmdProjectReport, projectReportCommand},
    {kCmdDeleteEntriesMenu, kCmdDeleteEntriesMenu, toolbarMenuCommand},
};

}  // namespace

const std::vector<CommandEntry>& commandTable() { return kTable; }

bool runCommand(MainWindow& w, int id) {
  const auto& table = commandTable();
  const auto it = std::find_if(table.begin(), table.end(),
                               [id](const CommandEntry& e) { return id >= e.first && id <= e.last; });
  if (it == table.end()) {
    // The projects dialogs, the settings dialog and the statistics join the table with
    // their owners.
    logLine(u"command %d not available yet", id);
    return false;
  }
  it->run(w, id);
  return true;
}

void showMenuAtScreen(MainWindow& w, const Menu& menu, POINT screen) {
  if (menu.empty()) return;
  trackPopupMenu(w.hwnd, menu, screen);
}

void showMenuAtClient(MainWindow& w, const Menu& menu, int x, int y) {
  POINT p{x, y};
  ClientToScreen(w.hwnd, &p);
  showMenuAtScreen(w, menu, p);
}

void showRowMenu(MainWindow& w, int x, int y) {
  const int page = w.book.currentPage();
  if (page == 0) showMenuAtClient(w, buildRowContextMenu(w.app, w.app.timer.running, todolistTitles(w.app)), x, y);
  else if (page == 1) showMenuAtClient(w, buildTodolistRowMenu(w.app, todolistTitles(w.app)), x, y);
}

}  // namespace tirelmo
