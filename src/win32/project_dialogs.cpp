#include "project_dialogs.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/app.h"
#include "art_ids.h"
#include "base/log.h"
#include "dialog_texts.h"
#include "main_window.h"
#include "projects/project_ops.h"
#include "projects/project_store.h"
#include "resource.h"
#include "ui/bitmap_ids.h"
#include "wide.h"

namespace tirelmo {

namespace {

constexpr ULONGLONG kFileTimeDay = 24ULL * 60 * 60 * 10000000;
constexpr int kProjectIconSize = 40;  // the released half of a 40 x 80 toolbar button

HWND g_link = nullptr;
HWND g_newProject = nullptr;
HWND g_editProject = nullptr;
HWND g_report = nullptr;

void initDialogControls() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
  done = InitCommonControlsEx(&icc) != FALSE;
  if (!done) logLastError(u"InitCommonControlsEx");
}

// The state every project dialog keeps; the link dialog adds the row it was opened for.
struct ProjectBox {
  MainWindow* w = nullptr;
  int iconBitmap = art::kBmpTbProjects;
  // Link dialog only.
  RowRef ref;
  std::int32_t listId = 0;  // the Todolist in view when opened for a row of page 1
  u16 rowText;
};

ProjectBox* boxOf(HWND dlg) { return reinterpret_cast<ProjectBox*>(GetWindowLongPtrW(dlg, GWLP_USERDATA)); }

u16 controlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int got = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return U(text);
}

// Message boxes are owned by the main window; the dialog is held still meanwhile so its
// buttons cannot be pressed a second time behind the box.
void tell(HWND dlg, App& app, u16v text) {
  EnableWindow(dlg, FALSE);
  app.prompts.show(text, app.tr(Txt::CaptionApp), MsgButtons::Ok, MsgIcon::Information);
  EnableWindow(dlg, TRUE);
  SetActiveWindow(dlg);
}

// Runs a core operation that may show a message box of its own, with the dialog held still.
template <class F>
auto whileHeld(HWND dlg, F f) {
  EnableWindow(dlg, FALSE);
  auto result = f();
  EnableWindow(dlg, TRUE);
  SetActiveWindow(dlg);
  return result;
}

void bringForward(HWND dlg) {
  ShowWindow(dlg, SW_SHOWNORMAL);
  SetForegroundWindow(dlg);
}

// Ends a dialog; the main window takes the focus back (and gives it to its current row).
void endDialog(HWND dlg) {
  ProjectBox* box = boxOf(dlg);
  HWND main = box ? box->w->hwnd : GetParent(dlg);
  DestroyWindow(dlg);
  if (main && IsWindow(main)) {
    SetActiveWindow(main);
    SetFocus(main);
  }
}

// ---- Icons ------------------------------------------------------------------------------

// The project icon in the corner the templates leave free at the top left, and the small
// pomodoro of the score sprite left of the buttons. A bitmap that cannot be loaded is left
// out (bitmapDc has logged it).
void paintIcons(HWND dlg, const ProjectBox& box) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dlg, &ps);
  RECT corner{7, 7, 7, 7};
  MapDialogRect(dlg, &corner);
  GdiGraphics& g = box.w->graphics;
  if (HDC icon = g.bitmapDc(box.iconBitmap))
    BitBlt(dc, corner.left, corner.top, kProjectIconSize, kProjectIconSize, icon, 0, 0, SRCCOPY);
  RECT ok{};
  if (HDC sprite = g.bitmapDc(kBmpScoreSprite); sprite && GetWindowRect(GetDlgItem(dlg, IDOK), &ok)) {
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&ok), 2);
    const int y = (ok.top + ok.bottom) / 2 - kCellSize / 2;
    // The mask row lies below the picture row: white keeps the dialog, black clears it.
    BitBlt(dc, corner.left, y, kCellSize, kCellSize, sprite, kCellPomodoro, kCellSize, SRCAND);
    BitBlt(dc, corner.left, y, kCellSize, kCellSize, sprite, kCellPomodoro, 0, SRCPAINT);
  }
  EndPaint(dlg, &ps);
}

// ---- Shared controls --------------------------------------------------------------------

bool addProjectItem(HWND list, u16v name, std::int32_t id) {
  const u16 text(name);
  const LRESULT at = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(text)));
  if (at == LB_ERRSPACE) {
    logLine(u"Err inserting prj name %s into ListBox, not enough space!", text);
    return false;
  }
  if (at < 0) {
    logLine(u"Err inserting pjr name %s into ListBox!", text);
    return false;
  }
  SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(id));
  return true;
}

// The active projects in list order; a project without a name is not offered.
void fillProjectList(HWND list, const App& app) {
  for (const Project& p : app.projects.active)
    if (!p.name.empty()) addProjectItem(list, p.name, p.id);
}

struct ListChoice {
  bool chosen = false;
  std::int32_t id = 0;
  u16 text;
};

ListChoice selectedProject(HWND list) {
  ListChoice c;
  const LRESULT at = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (at < 0) return c;
  c.chosen = true;
  c.id = static_cast<std::int32_t>(SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(at), 0));
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(at), 0);
  if (length > 0) {
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    c.text = U(text);
  }
  return c;
}

int itemOfProject(HWND list, std::int32_t id) {
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    if (static_cast<std::int32_t>(SendMessageW(list, LB_GETITEMDATA, i, 0)) == id) return i;
  return -1;
}

const Project* activeProject(const App& app, std::int32_t id) {
  for (const Project& p : app.projects.active)
    if (p.id == id) return &p;
  return nullptr;
}

// A picker's date; year 0 when its box is not ticked (or it holds no date).
ArchiveDate pickedDate(HWND dlg, int id) {
  SYSTEMTIME st{};
  if (SendDlgItemMessageW(dlg, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) return {};
  return {st.wYear, st.wMonth, st.wDay};
}

// Year 0 empties a picker with a check box (a picker without one keeps what it shows).
void setPickedDate(HWND dlg, int id, ArchiveDate date) {
  if (date.year == 0) {
    SendDlgItemMessageW(dlg, id, DTM_SETSYSTEMTIME, GDT_NONE, 0);
    return;
  }
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(date.year);
  st.wMonth = static_cast<WORD>(date.month);
  st.wDay = static_cast<WORD>(date.day);
  if (!SendDlgItemMessageW(dlg, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)))
    logLine(u"Date %d-%d-%d not shown in picker %d", date.year, date.month, date.day, id);
}

ArchiveDate daysBefore(ArchiveDate date, int days) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(date.year);
  st.wMonth = static_cast<WORD>(date.month);
  st.wDay = static_cast<WORD>(date.day);
  FILETIME ft;
  if (!SystemTimeToFileTime(&st, &ft)) return date;
  ULARGE_INTEGER v{{ft.dwLowDateTime, ft.dwHighDateTime}};
  v.QuadPart -= static_cast<ULONGLONG>(days) * kFileTimeDay;
  ft = {v.LowPart, v.HighPart};
  if (!FileTimeToSystemTime(&ft, &st)) return date;
  return {st.wYear, st.wMonth, st.wDay};
}

// Creates a modeless dialog owned by the main window; it owns `box` from WM_INITDIALOG on.
HWND createModeless(MainWindow& w, const wchar_t* name, std::unique_ptr<ProjectBox> box, DLGPROC proc) {
  initDialogControls();
  HWND dlg = CreateDialogParamW(w.instance, name, w.hwnd, proc, reinterpret_cast<LPARAM>(box.get()));
  if (!dlg) {
    logLastError(u"CreateDialog " + u16(reinterpret_cast<const char16_t*>(name)));
    return nullptr;
  }
  box.release();  // freed by the dialog's WM_NCDESTROY
  ShowWindow(dlg, SW_SHOW);
  return dlg;
}

// What every project dialog does with the messages it does not handle itself: the icons,
// its slot and its state at the end. Commands of its controls stay in the dialog: their ids
// are main-window command ids too (1023 is a web page), and none may reach that table.
INT_PTR commonMessage(HWND dlg, UINT msg, HWND& slot) {
  switch (msg) {
    case WM_PAINT:
      if (ProjectBox* box = boxOf(dlg)) {
        paintIcons(dlg, *box);
        return TRUE;
      }
      break;
    case WM_COMMAND:
      return TRUE;
    case WM_DESTROY:
      if (dlg == slot) slot = nullptr;
      break;
    case WM_NCDESTROY: {
      const std::unique_ptr<ProjectBox> owned(boxOf(dlg));
      SetWindowLongPtrW(dlg, GWLP_USERDATA, 0);
      break;
    }
  }
  return FALSE;
}

ProjectBox* attach(HWND dlg, LPARAM lParam) {
  SetWindowLongPtrW(dlg, GWLP_USERDATA, lParam);
  return reinterpret_cast<ProjectBox*>(lParam);
}

// ---- Link -------------------------------------------------------------------------------

const TodoRow* rowOf(const App& app, RowRef ref) {
  const TodoSheet& rows = ref.page == kPageTodoToday ? app.sheet : app.todolist;
  return rows.validRow(ref.row) ? &rows.rows[static_cast<std::size_t>(ref.row)] : nullptr;
}

std::int32_t listInView(const App& app) {
  const TodolistRegistry& reg = app.todolists;
  return reg.valid(reg.current) ? reg.entries[static_cast<std::size_t>(reg.current)].id : 0;
}

void initLink(HWND dlg, ProjectBox& box) {
  const App& app = box.w->app;
  SetDlgItemTextW(dlg, IDC_PRJ_TASK_TEXT, Wstr(linkDialogTaskText(box.rowText)).c_str());
  const TodoRow* row = rowOf(app, box.ref);
  const std::int32_t linked = row ? row->info.projectId : 0;
  u16 current = app.tr(Txt::NotLinkedToProject);
  if (linked != 0) {
    logLine(u"Already linked to Prj ID %d", linked);
    u16 name;
    if (projectNameById(app, linked, name) == 1) current = name;
    else logLine(u"Warning: Row %d linked to Prj %d with no name.", box.ref.row, linked);
  }
  SetDlgItemTextW(dlg, IDC_PRJ_CURRENT, W(current));
  HWND list = GetDlgItem(dlg, IDC_PRJ_LIST);
  addProjectItem(list, app.tr(Txt::PrjDlgNoProject), 0);
  fillProjectList(list, app);
  const int at = itemOfProject(list, linked);
  if (at >= 0) SendMessageW(list, LB_SETCURSEL, at, 0);
  SetFocus(list);
}

// OK: the row the dialog was opened for, as long as it still holds the task it showed.
void linkChosen(HWND dlg, ProjectBox& box) {
  App& app = box.w->app;
  const ListChoice c = selectedProject(GetDlgItem(dlg, IDC_PRJ_LIST));
  if (!c.chosen) return;
  App::call(app.hooks.takeEditorTexts);
  const TodoRow* row = rowOf(app, box.ref);
  const bool sameList = box.ref.page != kPageNextThings || listInView(app) == box.listId;
  if (!sameList || !row || row->text != box.rowText) {
    logLine(u"Link: row %d changed while the dialog was open", box.ref.row);
    tell(dlg, app, app.tr(Txt::PrjDlgRowChanged));
    return;
  }
  whileHeld(dlg, [&] { return linkRowToProject(app, box.ref, c.id, c.text); });
}

INT_PTR CALLBACK linkProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  ProjectBox* box = boxOf(dlg);
  switch (msg) {
    case WM_INITDIALOG:
      initLink(dlg, *attach(dlg, lParam));
      translateDialog(dlg, boxOf(dlg)->w->app.language(), L"LINKTOPRJDLG");
      return FALSE;
    case WM_COMMAND:
      if (!box) break;
      switch (LOWORD(wParam)) {
        case IDC_PRJ_LIST:
          if (HIWORD(wParam) == LBN_SELCHANGE) {
            const ListChoice c = selectedProject(GetDlgItem(dlg, IDC_PRJ_LIST));
            if (c.chosen) logLine(u"Clicked prj %d - %s", c.id, c.text);
          } else if (HIWORD(wParam) == LBN_DBLCLK) {
            linkChosen(dlg, *box);
            endDialog(dlg);
          }
          return TRUE;
        case IDOK:
          linkChosen(dlg, *box);
          endDialog(dlg);
          return TRUE;
        case IDCANCEL:
          endDialog(dlg);
          return TRUE;
      }
      break;
  }
  return commonMessage(dlg, msg, g_link);
}

// ---- New project ------------------------------------------------------------------------

void createChosen(HWND dlg, ProjectBox& box) {
  App& app = box.w->app;
  HWND field = GetDlgItem(dlg, IDC_PRJ_NAME_NEW);
  const u16 name = controlText(field);
  const ArchiveDate deadline = pickedDate(dlg, IDC_PRJ_DATE_FROM);
  const std::optional<std::int32_t> id = whileHeld(dlg, [&] { return createProject(app, name, deadline); });
  if (!id) {
    // Refused (the user was told): the name stays for correcting.
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 0, -1);
    return;
  }
  endDialog(dlg);
}

INT_PTR CALLBACK newProjectProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  ProjectBox* box = boxOf(dlg);
  switch (msg) {
    case WM_INITDIALOG:
      attach(dlg, lParam);
      SendDlgItemMessageW(dlg, IDC_PRJ_NAME_NEW, EM_SETLIMITTEXT, kProjectNameMaxUnits, 0);
      setPickedDate(dlg, IDC_PRJ_DATE_FROM, {});
      SetFocus(GetDlgItem(dlg, IDC_PRJ_NAME_NEW));
      return FALSE;
    case WM_COMMAND:
      if (!box) break;
      switch (LOWORD(wParam)) {
        case IDOK:
          createChosen(dlg, *box);
          return TRUE;
        case IDCANCEL:
          endDialog(dlg);
          return TRUE;
      }
      break;
  }
  return commonMessage(dlg, msg, g_newProject);
}

// ---- Edit project -----------------------------------------------------------------------

void fillEditList(HWND dlg, const App& app) {
  HWND list = GetDlgItem(dlg, IDC_PRJ_LIST);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  fillProjectList(list, app);
  SetDlgItemTextW(dlg, IDC_PRJ_NAME_EDIT, L"");
  SendDlgItemMessageW(dlg, IDC_PRJ_STATE, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  setPickedDate(dlg, IDC_PRJ_DATE_FROM, {});
}

void initEdit(HWND dlg, ProjectBox& box) {
  SendDlgItemMessageW(dlg, IDC_PRJ_NAME_EDIT, EM_SETLIMITTEXT, kProjectNameMaxUnits, 0);
  // In status order, so the index is the status number.
  for (Txt state : {Txt::ProjectStatusNotStarted, Txt::ProjectStatusInProgress, Txt::ProjectStatusSuspended,
                    Txt::ProjectStatusClosed})
    SendDlgItemMessageW(dlg, IDC_PRJ_STATE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(box.w->app.tr(state)));
  fillEditList(dlg, box.w->app);
  SetFocus(GetDlgItem(dlg, IDC_PRJ_LIST));
}

void showChosenProject(HWND dlg, const App& app) {
  const ListChoice c = selectedProject(GetDlgItem(dlg, IDC_PRJ_LIST));
  const Project* p = c.chosen ? activeProject(app, c.id) : nullptr;
  if (!p) return;
  SetDlgItemTextW(dlg, IDC_PRJ_NAME_EDIT, W(p->name));
  const WPARAM status = p->status <= kProjectClosed ? p->status : static_cast<WPARAM>(-1);
  SendDlgItemMessageW(dlg, IDC_PRJ_STATE, CB_SETCURSEL, status, 0);
  setPickedDate(dlg, IDC_PRJ_DATE_FROM,
                p->deadlineYear != 0 ? ArchiveDate{p->deadlineYear, p->deadlineMonth, p->deadlineDay} : ArchiveDate{});
}

// OK: false keeps the dialog open.
bool storeEdit(HWND dlg, ProjectBox& box) {
  App& app = box.w->app;
  const ListChoice c = selectedProject(GetDlgItem(dlg, IDC_PRJ_LIST));
  if (!c.chosen) return true;
  const Project* p = activeProject(app, c.id);
  if (!p) {
    // Closed or gone since the list was filled.
    logLine(u"Edit Prj: no active project %d", c.id);
    tell(dlg, app, app.tr(Txt::PrjDlgProjectGone));
    fillEditList(dlg, app);
    return false;
  }
  const u16 name = controlText(GetDlgItem(dlg, IDC_PRJ_NAME_EDIT));
  const LRESULT choice = SendDlgItemMessageW(dlg, IDC_PRJ_STATE, CB_GETCURSEL, 0, 0);
  const std::uint32_t status = choice >= 0 ? static_cast<std::uint32_t>(choice) : p->status;
  const ArchiveDate deadline = pickedDate(dlg, IDC_PRJ_DATE_FROM);
  bool closed = false;
  const std::int32_t id = c.id;
  if (!whileHeld(dlg, [&] { return editProject(app, id, name, status, deadline, closed); })) {
    fillEditList(dlg, app);
    return false;
  }
  // The rows of today's sheet linked to it are marked done by the main window.
  if (closed) PostMessageW(box.w->hwnd, WM_PROJECT_CLOSED, static_cast<WPARAM>(id), 0);
  return true;
}

INT_PTR CALLBACK editProjectProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  ProjectBox* box = boxOf(dlg);
  switch (msg) {
    case WM_INITDIALOG:
      initEdit(dlg, *attach(dlg, lParam));
      translateDialog(dlg, boxOf(dlg)->w->app.language(), L"EDITPRJDLG");
      return FALSE;
    case WM_COMMAND:
      if (!box) break;
      switch (LOWORD(wParam)) {
        case IDC_PRJ_LIST:
          if (HIWORD(wParam) == LBN_SELCHANGE) showChosenProject(dlg, box->w->app);
          return TRUE;
        case IDOK:
          if (storeEdit(dlg, *box)) endDialog(dlg);
          return TRUE;
        case IDCANCEL:
          endDialog(dlg);
          return TRUE;
      }
      break;
  }
  return commonMessage(dlg, msg, g_editProject);
}

// ---- Report -----------------------------------------------------------------------------

// The stored interval; with none yet, the last 30 days.
void showStoredInterval(HWND dlg, const App& app) {
  const ProjectStore& ps = app.projects;
  ArchiveDate from = ps.reportFrom, to = ps.reportTo;
  if (ps.reportProjectId == 0 || from.year == 0 || to.year == 0) {
    const DayDate& today = app.start.today;
    to = {today.year, today.month, today.day()};
    from = daysBefore(to, 30);
  }
  setPickedDate(dlg, IDC_PRJ_DATE_FROM, from);
  setPickedDate(dlg, IDC_PRJ_DATE_TO, to);
}

void initReport(HWND dlg, ProjectBox& box) {
  const App& app = box.w->app;
  HWND list = GetDlgItem(dlg, IDC_PRJ_LIST);
  fillProjectList(list, app);
  const int at = app.projects.reportProjectId != 0 ? itemOfProject(list, app.projects.reportProjectId) : -1;
  if (at >= 0) SendMessageW(list, LB_SETCURSEL, at, 0);
  showStoredInterval(dlg, app);
  SetFocus(list);
}

// OK: false keeps the dialog open.
bool chooseReport(HWND dlg, ProjectBox& box) {
  App& app = box.w->app;
  const ListChoice c = selectedProject(GetDlgItem(dlg, IDC_PRJ_LIST));
  if (!c.chosen) return true;
  const ArchiveDate from = pickedDate(dlg, IDC_PRJ_DATE_FROM);
  const ArchiveDate to = pickedDate(dlg, IDC_PRJ_DATE_TO);
  if (whileHeld(dlg, [&] { return setProjectReport(app, c.id, from, to); })) return true;
  // Refused (the user was told): the stored dates come back.
  showStoredInterval(dlg, app);
  return false;
}

INT_PTR CALLBACK reportProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  ProjectBox* box = boxOf(dlg);
  switch (msg) {
    case WM_INITDIALOG:
      initReport(dlg, *attach(dlg, lParam));
      translateDialog(dlg, boxOf(dlg)->w->app.language(), L"REPORT_ON_PRJ");
      return FALSE;
    case WM_COMMAND:
      if (!box) break;
      switch (LOWORD(wParam)) {
        case IDOK:
          if (chooseReport(dlg, *box)) endDialog(dlg);
          return TRUE;
        case IDCANCEL:
          endDialog(dlg);
          return TRUE;
      }
      break;
  }
  return commonMessage(dlg, msg, g_report);
}

std::unique_ptr<ProjectBox> newBox(MainWindow& w, int iconBitmap = art::kBmpTbProjects) {
  auto box = std::make_unique<ProjectBox>();
  box->w = &w;
  box->iconBitmap = iconBitmap;
  return box;
}

}  // namespace

void showLinkProjectDialog(MainWindow& w) {
  App& app = w.app;
  const int page = app.ui.currentPage;
  if (page != kPageTodoToday && page != kPageNextThings) {
    logLine(u"Link: page %d has no rows", page);
    return;
  }
  App::call(app.hooks.takeEditorTexts);
  const RowRef ref{page, app.ui.currentRow};
  const TodoRow* row = rowOf(app, ref);
  if (!row || row->isFree()) {
    logLine(u"Link: row %d is empty", ref.row);
    return;
  }
  if (g_link) {
    const ProjectBox* open = boxOf(g_link);
    if (open && open->ref.page == ref.page && open->ref.row == ref.row && open->rowText == row->text) {
      bringForward(g_link);
      return;
    }
    DestroyWindow(g_link);  // a request for another row gets a dialog of its own
  }
  auto box = newBox(w);
  box->ref = ref;
  box->listId = listInView(app);
  box->rowText = row->text;
  g_link = createModeless(w, L"LINKTOPRJDLG", std::move(box), linkProc);
}

void showNewProjectDialog(MainWindow& w) {
  if (g_newProject) {
    bringForward(g_newProject);
    return;
  }
  const wchar_t* name = w.app.language() == Language::ChineseSimplified ? L"NEWPRJDLG_CN" : L"NEWPRJDLG";
  g_newProject = createModeless(w, name, newBox(w), newProjectProc);
}

void showEditProjectDialog(MainWindow& w) {
  if (g_editProject) {
    bringForward(g_editProject);
    return;
  }
  g_editProject = createModeless(w, L"EDITPRJDLG", newBox(w), editProjectProc);
}

void showProjectReportDialog(MainWindow& w) {
  if (g_report) {
    bringForward(g_report);
    return;
  }
  g_report = createModeless(w, L"REPORT_ON_PRJ", newBox(w, art::kBmpTbReport), reportProc);
}

bool handleProjectDialogMessage(MSG& msg) {
  for (HWND dlg : {g_link, g_newProject, g_editProject, g_report})
    if (dlg && IsDialogMessageW(dlg, &msg)) return true;
  return false;
}

}  // namespace tirelmo
