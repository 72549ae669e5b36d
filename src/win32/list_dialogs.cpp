#include "list_dialogs.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "app/row_editing.h"
#include "app/todolists.h"
#include "base/dates.h"
#include "base/log.h"
#include "dialog_texts.h"
#include "main_window.h"
#include "text/format.h"
#include "todolists/todolist_registry.h"
#include "ui/todolist_arrangement.h"
#include "wide.h"

namespace tirelmo {

namespace {

constexpr std::size_t kDeadlineTaskShown = 63;  // units of the row text beside "To do:"
// Posted to the manage dialog: the label edit that was just rejected is explained once the
// list view has finished with its edit field.
constexpr UINT kMsgExplainTitle = WM_APP + 40;

HWND g_newList = nullptr;
HWND g_moveRows = nullptr;
HWND g_deadline = nullptr;

void initDialogControls() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  done = InitCommonControlsEx(&icc) != FALSE;
  if (!done) logLastError(u"InitCommonControlsEx");
}

template <class T>
T* stateOf(HWND dlg) {
  return reinterpret_cast<T*>(GetWindowLongPtrW(dlg, GWLP_USERDATA));
}

// Message boxes are owned by the main window; the dialog asking is held still meanwhile so
// its buttons cannot be pressed a second time behind the box.
void tell(HWND dlg, App& app, u16v text, MsgIcon icon = MsgIcon::Information) {
  EnableWindow(dlg, FALSE);
  app.prompts.show(text, app.tr(Txt::CaptionApp), MsgButtons::Ok, icon);
  EnableWindow(dlg, TRUE);
  SetActiveWindow(dlg);
}

u16 controlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int got = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return U(text);
}

// Texts painted straight onto the dialog in its own font, at pixel positions.
struct PaintedText {
  int x, y;
  Txt text;
};

void paintTexts(HWND dlg, const App& app, const PaintedText* texts, std::size_t count) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dlg, &ps);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  for (std::size_t i = 0; i < count; ++i) {
    const std::wstring s = Wstr(app.tr(texts[i].text));
    TextOutW(dc, texts[i].x, texts[i].y, s.c_str(), static_cast<int>(s.size()));
  }
  if (old) SelectObject(dc, old);
  EndPaint(dlg, &ps);
}

void bringForward(HWND dlg) { ShowWindow(dlg, SW_SHOWNORMAL), SetForegroundWindow(dlg); }

// Texts of the rows of page 0 (today's sheet) or 1 (the Todolist in view), as the model
// has them once the editors' texts are in.
std::vector<u16> pageTexts(App& app, int page) {
  App::call(app.hooks.takeEditorTexts);
  const TodoSheet& rows = page == kPageTodoToday ? app.sheet : app.todolist;
  std::vector<u16> texts;
  texts.reserve(rows.rows.size());
  for (const TodoRow& r : rows.rows) texts.push_back(r.text);
  return texts;
}

// Which Todolist was in view: rows of page 1 belong to it, and only to it.
struct ListInView {
  int index = -1;
  std::int32_t id = 0;
  static ListInView of(const App& app) {
    ListInView v;
    if (app.todolists.valid(app.todolists.current)) {
      v.index = app.todolists.current;
      v.id = app.todolists.entries[static_cast<std::size_t>(v.index)].id;
    }
    return v;
  }
  bool operator==(const ListInView&) const = default;
};

// ---- New Todolist -----------------------------------------------------------------------

struct NewListBox {
  MainWindow* w = nullptr;
  std::function<void()> onClosed;
};

void endNewList(HWND dlg) {
  std::function<void()> onClosed;
  if (NewListBox* box = stateOf<NewListBox>(dlg)) onClosed = std::move(box->onClosed);
  DestroyWindow(dlg);
  if (onClosed) onClosed();
}

void createNewList(HWND dlg, NewListBox& box) {
  App& app = box.w->app;
  HWND field = GetDlgItem(dlg, IDC_NEWLIST_NAME);
  const u16 name = controlText(field);
  // The creation explains a refusal or a failure in a message box of its own; meanwhile
  // the dialog is held still so Create cannot be pressed again behind the box.
  EnableWindow(dlg, FALSE);
  const NewTodolistResult result = createTodolist(app, name);
  EnableWindow(dlg, TRUE);
  if (result == NewTodolistResult::Created) {
    endNewList(dlg);
    return;
  }
  SetActiveWindow(dlg);
  // The name stays, selected, for correcting or another try.
  SetFocus(field);
  SendMessageW(field, EM_SETSEL, 0, -1);
}

INT_PTR CALLBACK newListProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dlg, GWLP_USERDATA, lParam);
      SendDlgItemMessageW(dlg, IDC_NEWLIST_NAME, EM_SETLIMITTEXT, kTodolistTitleMax, 0);
      SetFocus(GetDlgItem(dlg, IDC_NEWLIST_NAME));
      return FALSE;
    case WM_PAINT: {
      NewListBox* box = stateOf<NewListBox>(dlg);
      if (!box) break;
      static constexpr PaintedText kTexts[] = {{100, 42, Txt::ListDlgNewListHeading},
                                               {6, 74, Txt::ListDlgNewListInsert},
                                               {6, 87, Txt::ListDlgNewListName}};
      paintTexts(dlg, box->w->app, kTexts, std::size(kTexts));
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          if (NewListBox* box = stateOf<NewListBox>(dlg)) createNewList(dlg, *box);
          return TRUE;
        case IDCANCEL:
          endNewList(dlg);
          return TRUE;
      }
      break;
    case WM_DESTROY:
      if (dlg == g_newList) g_newList = nullptr;
      break;
    case WM_NCDESTROY: {
      const std::unique_ptr<NewListBox> box(stateOf<NewListBox>(dlg));
      SetWindowLongPtrW(dlg, GWLP_USERDATA, 0);
      break;
    }
  }
  return FALSE;
}

// ---- Manage Todolists -------------------------------------------------------------------

struct ManageBox {
  MainWindow* w = nullptr;
  HWND list = nullptr;
  std::vector<int> order;  // on Ok: the registry indices in the shown order
  // A drag in progress: the item positions it carries and its picture.
  bool dragging = false;
  std::vector<int> dragged;
  HIMAGELIST dragImage = nullptr;
};

int itemCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::vector<int> selectedItems(HWND list) {
  std::vector<int> items;
  int i = -1;
  while ((i = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, i, LVNI_SELECTED))) >= 0) items.push_back(i);
  return items;
}

LPARAM itemParam(HWND list, int item) {
  LVITEMW it{};
  it.mask = LVIF_PARAM;
  it.iItem = item;
  return SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it)) ? it.lParam : -1;
}

void insertListItem(HWND list, int position, const u16& title, int registryIndex, bool selected) {
  LVITEMW it{};
  it.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
  it.iItem = position;
  it.pszText = const_cast<LPWSTR>(W(title));
  it.lParam = registryIndex;
  it.stateMask = LVIS_SELECTED;
  it.state = selected ? LVIS_SELECTED : 0;
  if (SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)) < 0)
    logLine(u"Err inserting Tdl %s into ListView!", title);
}

void fillManageList(ManageBox& box) {
  HWND list = box.list;
  RECT client{};
  GetClientRect(list, &client);
  LVCOLUMNW col{};
  col.mask = LVCF_WIDTH;
  col.cx = client.right - GetSystemMetrics(SM_CXVSCROLL);
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  const TodolistRegistry& reg = box.w->app.todolists;
  for (int i = 0; i < reg.count(); ++i)
    insertListItem(list, i, reg.entries[static_cast<std::size_t>(i)].title, i, false);
}

// The items again, in the new order; the moved ones stay selected.
void arrangeManageList(ManageBox& box, const std::vector<int>& order, const std::vector<int>& moved) {
  HWND list = box.list;
  const TodolistRegistry& reg = box.w->app.todolists;
  std::vector<LPARAM> params;
  for (int i = 0; i < itemCount(list); ++i) params.push_back(itemParam(list, i));
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t pos = 0; pos < order.size(); ++pos) {
    const int old = order[pos];
    const int index = static_cast<int>(params[static_cast<std::size_t>(old)]);
    if (!reg.valid(index)) continue;
    const bool selected = std::find(moved.begin(), moved.end(), old) != moved.end();
    insertListItem(list, static_cast<int>(pos), reg.entries[static_cast<std::size_t>(index)].title, index, selected);
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

// ImageList_Drag* places the picture relative to the window's top-left corner, not to its client area.
POINT clientToWindow(HWND hwnd, POINT p) {
  RECT wr{};
  GetWindowRect(hwnd, &wr);
  ClientToScreen(hwnd, &p);
  return POINT{p.x - wr.left, p.y - wr.top};
}

void beginDrag(HWND dlg, ManageBox& box, const NMLISTVIEW& nm) {
  box.dragged = selectedItems(box.list);
  if (box.dragged.empty()) return;
  for (int i : box.dragged) logLine(u"Current position: %d", i);
  POINT origin{};
  box.dragImage = reinterpret_cast<HIMAGELIST>(
      SendMessageW(box.list, LVM_CREATEDRAGIMAGE, nm.iItem, reinterpret_cast<LPARAM>(&origin)));
  POINT at = nm.ptAction;
  MapWindowPoints(box.list, dlg, &at, 1);
  if (box.dragImage) {
    POINT itemAt = nm.ptAction;  // origin is the item's top-left in the list view's client area
    ImageList_BeginDrag(box.dragImage, 0, itemAt.x - origin.x, itemAt.y - origin.y);
    const POINT wp = clientToWindow(dlg, at);
    ImageList_DragEnter(dlg, wp.x, wp.y);
  }
  box.dragging = true;
  SetCapture(dlg);
}

void stopDrag(HWND dlg, ManageBox& box) {
  if (!box.dragging) return;
  box.dragging = false;  // first: releasing the capture reports back here
  if (box.dragImage) {
    ImageList_DragLeave(dlg);
    ImageList_EndDrag();
    ImageList_Destroy(box.dragImage);
    box.dragImage = nullptr;
  }
  if (GetCapture() == dlg) ReleaseCapture();
}

void dropItems(HWND dlg, ManageBox& box, POINT atDialog) {
  stopDrag(dlg, box);
  POINT at = atDialog;
  MapWindowPoints(dlg, box.list, &at, 1);
  logLine(u"Dropped on (%d, %d)", static_cast<int>(at.x), static_cast<int>(at.y));
  LVHITTESTINFO hit{};
  hit.pt = at;
  const int item = static_cast<int>(SendMessageW(box.list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  logLine(u"Hit item %d", item);

  const int count = itemCount(box.list);
  int target = item;
  if (target < 0) {
    // Below the last item, inside the list: the end of the list.
    RECT client{}, last{};
    GetClientRect(box.list, &client);
    last.left = LVIR_BOUNDS;
    const bool below = count == 0 || (SendMessageW(box.list, LVM_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last)) &&
                                      at.y >= last.bottom);
    if (!below || at.x < client.left || at.x >= client.right || at.y >= client.bottom) return;
    target = count;
  }
  const std::vector<int> order = dropItemsBefore(count, box.dragged, target);
  if (order.empty()) return;  // onto one of the dragged items
  arrangeManageList(box, order, box.dragged);
}

void explainTitle(HWND dlg, App& app, TodolistTitleProblem problem) {
  switch (problem) {
    case TodolistTitleProblem::Blank:
      tell(dlg, app, app.tr(Txt::ListDlgTitleBlank));
      break;
    case TodolistTitleProblem::TooLong:
      tell(dlg, app, fmt(app.tr(Txt::ListDlgTitleTooLong), static_cast<int>(kTodolistTitleMax)));
      break;
    case TodolistTitleProblem::ControlCharacter:
      tell(dlg, app, app.tr(Txt::ListDlgTitleControlCharacter));
      break;
    case TodolistTitleProblem::None:
      break;
  }
}

// LVN_ENDLABELEDIT: true accepts the typed title. It becomes the entry's title at once; the
// list's file keeps its name.
bool endLabelEdit(HWND dlg, ManageBox& box, const NMLVDISPINFOW& info) {
  if (!info.item.pszText) return false;  // editing cancelled
  const u16 title = U(info.item.pszText);
  const TodolistTitleProblem problem = checkTodolistTitle(title);
  if (problem != TodolistTitleProblem::None) {
    PostMessageW(dlg, kMsgExplainTitle, static_cast<WPARAM>(problem), 0);
    return false;
  }
  TodolistRegistry& reg = box.w->app.todolists;
  const int index = static_cast<int>(itemParam(box.list, info.item.iItem));
  if (!reg.valid(index)) return false;
  logLine(u"Rename Tdl %d: %s", index, title);
  reg.entries[static_cast<std::size_t>(index)].title = title;
  return true;
}

INT_PTR notifyResult(HWND dlg, LONG_PTR result) {
  SetWindowLongPtrW(dlg, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CALLBACK manageProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  ManageBox* box = stateOf<ManageBox>(dlg);
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dlg, GWLP_USERDATA, lParam);
      box = reinterpret_cast<ManageBox*>(lParam);
      translateDialog(dlg, box->w->app.language(), L"ACTINVTDLDLG");
      box->list = GetDlgItem(dlg, IDC_MANAGE_LISTS);
      fillManageList(*box);
      SetFocus(box->list);
      return FALSE;
    }
    case WM_PAINT: {
      if (!box) break;
      RECT hints{7, 7, 7, 17};
      MapDialogRect(dlg, &hints);
      const PaintedText texts[] = {{hints.left, hints.top, Txt::ListDlgManageDragHint},
                                   {hints.left, hints.bottom, Txt::ListDlgManageEditHint}};
      paintTexts(dlg, box->w->app, texts, std::size(texts));
      return TRUE;
    }
    case WM_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
      if (!box || hdr->idFrom != IDC_MANAGE_LISTS) break;
      switch (hdr->code) {
        case LVN_BEGINLABELEDITW: {
          HWND edit = reinterpret_cast<HWND>(SendMessageW(box->list, LVM_GETEDITCONTROL, 0, 0));
          if (edit) SendMessageW(edit, EM_SETLIMITTEXT, kTodolistTitleMax, 0);
          return notifyResult(dlg, box->dragging ? TRUE : FALSE);
        }
        case LVN_ENDLABELEDITW:
          return notifyResult(dlg, endLabelEdit(dlg, *box, *reinterpret_cast<const NMLVDISPINFOW*>(lParam)));
        case LVN_BEGINDRAG:
          beginDrag(dlg, *box, *reinterpret_cast<const NMLISTVIEW*>(lParam));
          return TRUE;
      }
      break;
    }
    case WM_MOUSEMOVE:
      if (box && box->dragging && box->dragImage) {
        const POINT wp = clientToWindow(dlg, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        ImageList_DragMove(wp.x, wp.y);
        return TRUE;
      }
      break;
    case WM_LBUTTONUP:
      if (box && box->dragging) {
        dropItems(dlg, *box, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return TRUE;
      }
      break;
    case WM_CAPTURECHANGED:
      // Another window took the mouse (a switch of program, a menu): the drag ends without a drop.
      if (box && box->dragging) stopDrag(dlg, *box);
      break;
    case kMsgExplainTitle:
      if (box) explainTitle(dlg, box->w->app, static_cast<TodolistTitleProblem>(wParam));
      return TRUE;
    case WM_COMMAND:
      if (!box) break;
      switch (LOWORD(wParam)) {
        case IDOK: {
          // Enter while a label is edited confirms the label, not the dialog.
          if (SendMessageW(box->list, LVM_GETEDITCONTROL, 0, 0)) {
            SetFocus(box->list);
            return TRUE;
          }
          stopDrag(dlg, *box);
          box->order.clear();
          for (int i = 0; i < itemCount(box->list); ++i)
            box->order.push_back(static_cast<int>(itemParam(box->list, i)));
          EndDialog(dlg, IDOK);
          return TRUE;
        }
        case IDCANCEL:
          if (SendMessageW(box->list, LVM_GETEDITCONTROL, 0, 0)) {
            SendMessageW(box->list, LVM_CANCELEDITLABEL, 0, 0);
            return TRUE;
          }
          stopDrag(dlg, *box);
          EndDialog(dlg, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

// ---- Move Rows --------------------------------------------------------------------------

struct MoveRowsBox {
  MainWindow* w = nullptr;
  int page = 0;
  ListInView list;               // the list page 1's rows belong to
  std::vector<u16> texts;        // the rows as the dialog shows them
  std::vector<std::int32_t> destinations;  // identifiers of the Todolists offered, in order
};

void fillRowList(HWND dlg, MoveRowsBox& box) {
  HWND rows = GetDlgItem(dlg, IDC_MOVEROWS_ROWS);
  SendMessageW(rows, LB_RESETCONTENT, 0, 0);
  box.texts = pageTexts(box.w->app, box.page);
  box.list = ListInView::of(box.w->app);
  for (const u16& t : box.texts) {
    const LRESULT r = SendMessageW(rows, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(t)));
    if (r == LB_ERRSPACE)
      logLine(u"Err inserting todo %s into ListBox, not enough space!", t);
    else if (r == LB_ERR)
      logLine(u"Err inserting todo %s into ListBox!", t);
  }
}

void fillDestinations(HWND dlg, MoveRowsBox& box) {
  HWND combo = GetDlgItem(dlg, IDC_MOVEROWS_DESTINATION);
  const App& app = box.w->app;
  box.destinations.clear();
  for (const TodolistEntry& e : app.todolists.entries) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(e.title)));
    box.destinations.push_back(e.id);
  }
  const u16 today = app.tr(Txt::MenuTodoToday);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(today)));
}

// The chosen destination as transferRows takes it; -1 when the chosen list is gone.
int destinationOf(const MoveRowsBox& box, int choice) {
  if (choice == static_cast<int>(box.destinations.size())) return kTransferToToday;
  const std::int32_t id = box.destinations[static_cast<std::size_t>(choice)];
  const auto& entries = box.w->app.todolists.entries;
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entries[i].id == id) return static_cast<int>(i);  // the registry may have been reordered
  return -1;
}

// OK: false keeps the dialog open.
bool moveSelectedRows(HWND dlg, MoveRowsBox& box) {
  App& app = box.w->app;
  const int choice = static_cast<int>(SendDlgItemMessageW(dlg, IDC_MOVEROWS_DESTINATION, CB_GETCURSEL, 0, 0));
  if (choice < 0 || choice > static_cast<int>(box.destinations.size())) {
    tell(dlg, app, app.tr(Txt::ListDlgSelectDestinationList));
    return false;
  }
  int destination = destinationOf(box, choice);
  if (destination == kTransferToToday && box.page == kPageTodoToday) {
    tell(dlg, app, app.tr(Txt::ListDlgDestinationOtherThanToday));
    return false;
  }

  HWND rowsBox = GetDlgItem(dlg, IDC_MOVEROWS_ROWS);
  const int selectedCount = static_cast<int>(SendMessageW(rowsBox, LB_GETSELCOUNT, 0, 0));
  std::vector<int> rows(static_cast<std::size_t>(std::clamp(selectedCount, 0, kTodolistRows)));
  if (!rows.empty()) {
    const int got = static_cast<int>(SendMessageW(rowsBox, LB_GETSELITEMS, rows.size(), reinterpret_cast<LPARAM>(rows.data())));
    rows.resize(static_cast<std::size_t>(std::max(got, 0)));
  }
  if (rows.empty()) return true;

  // The page stays editable while the dialog is open: the rows chosen must still be the
  // rows shown, in the list they were shown from.
  const bool sameList = box.page != kPageNextThings || ListInView::of(app) == box.list;
  if (!sameList || pageTexts(app, box.page) != box.texts || destination < 0) {
    logLine(u"Move Rows: the rows changed while the dialog was open");
    fillRowList(dlg, box);
    SendDlgItemMessageW(dlg, IDC_MOVEROWS_DESTINATION, CB_RESETCONTENT, 0, 0);
    fillDestinations(dlg, box);
    tell(dlg, app, app.tr(Txt::ListDlgMoveRowsChanged));
    return false;
  }
  transferRows(app, box.page, rows, destination);
  return true;
}

INT_PTR CALLBACK moveRowsProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  MoveRowsBox* box = stateOf<MoveRowsBox>(dlg);
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dlg, GWLP_USERDATA, lParam);
      box = reinterpret_cast<MoveRowsBox*>(lParam);
      fillRowList(dlg, *box);
      fillDestinations(dlg, *box);
      SetFocus(GetDlgItem(dlg, IDC_MOVEROWS_ROWS));
      return FALSE;
    case WM_COMMAND:
      if (!box) break;
      switch (LOWORD(wParam)) {
        case IDOK:
          if (moveSelectedRows(dlg, *box)) DestroyWindow(dlg);
          return TRUE;
        case IDCANCEL:
          DestroyWindow(dlg);
          return TRUE;
      }
      break;
    case WM_DESTROY:
      if (dlg == g_moveRows) g_moveRows = nullptr;
      break;
    case WM_NCDESTROY: {
      const std::unique_ptr<MoveRowsBox> owned(box);
      SetWindowLongPtrW(dlg, GWLP_USERDATA, 0);
      break;
    }
  }
  return FALSE;
}

// ---- Deadline ---------------------------------------------------------------------------

struct DeadlineBox {
  MainWindow* w = nullptr;
  int page = 0;
  int row = 0;
  ListInView list;
  u16 text;  // the row's text when the dialog opened
};

const TodoRow* rowOf(const App& app, int page, int row) {
  const TodoSheet& rows = page == kPageTodoToday ? app.sheet : app.todolist;
  return rows.validRow(row) ? &rows.rows[static_cast<std::size_t>(row)] : nullptr;
}

void initDeadline(HWND dlg, DeadlineBox& box) {
  const App& app = box.w->app;
  const TodoRow* row = rowOf(app, box.page, box.row);
  SetDlgItemTextW(dlg, IDC_DEADLINE_TASK, Wstr(u16v(box.text).substr(0, kDeadlineTaskShown)).c_str());

  // The calendar at its smallest full size, centred where the template left room for it.
  HWND calendar = GetDlgItem(dlg, IDC_DEADLINE_CALENDAR);
  RECT need{}, place{};
  if (SendMessageW(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need)) && need.right > 0) {
    GetWindowRect(calendar, &place);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&place), 2);
    const int width = need.right - need.left + 2, height = need.bottom - need.top + 2;
    const int x = place.left + std::max(0, static_cast<int>((place.right - place.left - width) / 2));
    SetWindowPos(calendar, nullptr, x, place.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The buttons and the dialog's bottom follow the calendar's real height, whichever way
    // the font made it differ from the template.
    const int shift = place.top + height - place.bottom;
    for (int id : {IDOK, IDCANCEL, IDC_DEADLINE_REMOVE}) {
      HWND button = GetDlgItem(dlg, id);
      RECT r{};
      GetWindowRect(button, &r);
      MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
      SetWindowPos(button, nullptr, r.left, r.top + shift, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    }
    RECT frame{};
    GetWindowRect(dlg, &frame);
    SetWindowPos(dlg, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + shift,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }

  u16 state = app.tr(Txt::ListDlgNoDeadlineSet);
  if (row && row->hasFlag(rowflag::kDeadline)) {
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(row->info.deadlineYear + 2000);
    date.wMonth = row->info.deadlineMonth;
    date.wDay = row->info.deadlineDay;
    state = fmt(app.tr(Txt::ListDlgDeadlineSetOn), shortMonthName(date.wMonth), static_cast<int>(date.wDay),
                static_cast<int>(date.wYear));
    // A stored date the calendar cannot show leaves today selected; the text tells the truth.
    if (!SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date)))
      logLine(u"Deadline %d-%d-%d not shown in the calendar", static_cast<int>(date.wYear),
              static_cast<int>(date.wMonth), static_cast<int>(date.wDay));
  }
  SetDlgItemTextW(dlg, IDC_DEADLINE_STATE, W(state));
}

// Runs the change on the row the dialog was opened for, which need not be the current row
// any more; false (with a message) when that row now holds something else.
template <class Change>
void changeDeadline(HWND dlg, DeadlineBox& box, Change change) {
  App& app = box.w->app;
  const bool sameList = box.page != kPageNextThings || ListInView::of(app) == box.list;
  const std::vector<u16> texts = pageTexts(app, box.page);
  const bool sameRow = sameList && box.row < static_cast<int>(texts.size()) &&
                       texts[static_cast<std::size_t>(box.row)] == box.text;
  if (!sameRow) {
    logLine(u"Deadline: row %d changed while the dialog was open", box.row);
    tell(dlg, app, app.tr(Txt::ListDlgDeadlineRowChanged));
    return;
  }
  const UiState shown = app.ui;
  app.ui.currentPage = box.page;
  app.ui.currentRow = box.row;
  change(app);
  app.ui.currentPage = shown.currentPage;
  app.ui.currentRow = shown.currentRow;
}

INT_PTR CALLBACK deadlineProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  DeadlineBox* box = stateOf<DeadlineBox>(dlg);
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dlg, GWLP_USERDATA, lParam);
      box = reinterpret_cast<DeadlineBox*>(lParam);
      initDeadline(dlg, *box);
      SetFocus(GetDlgItem(dlg, IDC_DEADLINE_CALENDAR));
      return FALSE;
    case WM_COMMAND:
      if (!box) break;
      switch (LOWORD(wParam)) {
        case IDOK: {
          SYSTEMTIME date{};
          if (SendDlgItemMessageW(dlg, IDC_DEADLINE_CALENDAR, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&date)))
            changeDeadline(dlg, *box, [&](App& app) { setRowDeadline(app, date.wYear, date.wMonth, date.wDay); });
          DestroyWindow(dlg);
          return TRUE;
        }
        case IDC_DEADLINE_REMOVE:
          changeDeadline(dlg, *box, [](App& app) { removeRowDeadline(app); });
          DestroyWindow(dlg);
          return TRUE;
        case IDCANCEL:
          DestroyWindow(dlg);
          return TRUE;
      }
      break;
    case WM_DESTROY:
      if (dlg == g_deadline) g_deadline = nullptr;
      break;
    case WM_NCDESTROY: {
      const std::unique_ptr<DeadlineBox> owned(box);
      SetWindowLongPtrW(dlg, GWLP_USERDATA, 0);
      break;
    }
  }
  return FALSE;
}

// Creates a modeless dialog that owns `state` from WM_INITDIALOG on.
template <class T>
HWND createModeless(MainWindow& w, const wchar_t* name, std::unique_ptr<T> state, DLGPROC proc,
                    const char16_t* what) {
  initDialogControls();
  HWND dlg = CreateDialogParamW(w.instance, name, w.hwnd, proc, reinterpret_cast<LPARAM>(state.get()));
  if (!dlg) {
    logLastError(what);
    return nullptr;
  }
  state.release();  // the dialog's WM_NCDESTROY frees it
  translateDialog(dlg, w.app.language(), name);
  ShowWindow(dlg, SW_SHOW);
  return dlg;
}

bool pageWithRows(const App& app) {
  return app.ui.currentPage == kPageTodoToday || app.ui.currentPage == kPageNextThings;
}

}  // namespace

void showNewTodolistDialog(MainWindow& w, std::function<void()> onClosed) {
  if (g_newList) {
    bringForward(g_newList);
    return;
  }
  App& app = w.app;
  if (refuseNewTodolistWhenFull(app)) {
    if (onClosed) onClosed();
    return;
  }
  auto box = std::make_unique<NewListBox>();
  box->w = &w;
  box->onClosed = onClosed;
  g_newList = createModeless(w, L"NEWTDLACTINVDLG", std::move(box), newListProc, u"CreateDialog NEWTDLACTINVDLG");
  if (!g_newList && onClosed) onClosed();
}

bool runManageTodolistsDialog(MainWindow& w) {
  App& app = w.app;
  // The list in view is read again on Ok: what is typed in it must be on disk first.
  if (!saveTodolistInView(app)) {
    logLine(u"Manage Todolists: the list in view could not be saved");
    return false;
  }
  initDialogControls();
  const TodolistRegistry kept = app.todolists;
  ManageBox box;
  box.w = &w;
  const INT_PTR r = DialogBoxParamW(w.instance, L"ACTINVTDLDLG", w.hwnd, manageProc, reinterpret_cast<LPARAM>(&box));
  if (r == -1) logLastError(u"DialogBox ACTINVTDLDLG");
  if (r != IDOK || !reorderTodolists(app.todolists, box.order)) {
    app.todolists = kept;
    return false;
  }
  App::call(app.hooks.todolistsChanged);
  // A crash before the shut-down would otherwise lose the new names and order.
  saveTodolistRegistry(app);
  if (app.todolists.valid(app.todolists.current)) loadTodolistInView(app);  // shows it too
  return true;
}

void showMoveRowsDialog(MainWindow& w) {
  App& app = w.app;
  if (!pageWithRows(app)) {
    logLine(u"Move Rows: page %d has no rows", app.ui.currentPage);
    return;
  }
  if (!rowsEditable(app)) return;
  // A new request may come from the other page: it gets a dialog of its own rows.
  if (g_moveRows) DestroyWindow(g_moveRows);
  auto box = std::make_unique<MoveRowsBox>();
  box->w = &w;
  box->page = app.ui.currentPage;
  g_moveRows = createModeless(w, L"MOVEROWSDLG", std::move(box), moveRowsProc, u"CreateDialog MOVEROWSDLG");
}

void showDeadlineDialog(MainWindow& w) {
  App& app = w.app;
  if (!pageWithRows(app)) {
    logLine(u"Deadline: page %d has no rows", app.ui.currentPage);
    return;
  }
  if (!rowsEditable(app)) return;
  App::call(app.hooks.takeEditorTexts);
  const TodoRow* row = rowOf(app, app.ui.currentPage, app.ui.currentRow);
  if (!row) {
    logLine(u"Deadline: no row %d on page %d", app.ui.currentRow, app.ui.currentPage);
    return;
  }
  if (g_deadline) DestroyWindow(g_deadline);  // a new request is for the row current now
  auto box = std::make_unique<DeadlineBox>();
  box->w = &w;
  box->page = app.ui.currentPage;
  box->row = app.ui.currentRow;
  box->list = ListInView::of(app);
  box->text = row->text;
  g_deadline = createModeless(w, MAKEINTRESOURCEW(IDD_DEADLINE), std::move(box), deadlineProc,
                              u"CreateDialog 188");
}

bool handleListDialogMessage(MSG& msg) {
  for (HWND dlg : {g_newList, g_moveRows, g_deadline})
    if (dlg && IsDialogMessageW(dlg, &msg)) return true;
  return false;
}

}  // namespace tirelmo
