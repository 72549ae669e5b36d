#include "usage_dialog.h"

#include <memory>
#include <vector>

#include "app/app.h"
#include "base/log.h"
#include "dialog_texts.h"
#include "main_window.h"
#include "usage/usage_table.h"
#include "wide.h"

namespace tirelmo {

namespace {

constexpr int kCmdUsagePageChanged = 1547;
// Shorter entries are not shown on the page either: nothing to delete that the user saw.
constexpr std::uint32_t kListedMinSeconds = 60;

HWND g_usageDialog = nullptr;

// Each list line keeps the name it shows, not a table position: prune passes run every 15 s
// while the dialog is open and move the entries behind the shown ones.
struct UsageBox {
  MainWindow* w = nullptr;
  std::vector<u16> names;  // by list item data
};

UsageBox* boxOf(HWND dlg) { return reinterpret_cast<UsageBox*>(GetWindowLongPtrW(dlg, GWLP_USERDATA)); }

void addLine(HWND list, UsageBox& box, const u16& name) {
  const LRESULT at = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(name)));
  if (at == LB_ERRSPACE) {
    logLine(u"Err inserting App name %s into ListBox, not enough space!", name);
    return;
  }
  if (at < 0) {
    logLine(u"Err inserting App name %s into ListBox!", name);
    return;
  }
  SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(box.names.size()));
  box.names.push_back(name);
}

void fillList(HWND dlg, UsageBox& box) {
  HWND list = GetDlgItem(dlg, IDC_USAGE_LIST);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  box.names.clear();
  for (const UsageEntry& e : box.w->app.usage.entries)
    if (!e.name.empty() && e.seconds >= kListedMinSeconds) addLine(list, box, e.name);
}

// Ends the dialog; the main window takes the focus back.
void endDialog(HWND dlg) {
  UsageBox* box = boxOf(dlg);
  HWND main = box ? box->w->hwnd : GetParent(dlg);
  DestroyWindow(dlg);
  if (main && IsWindow(main)) {
    SetActiveWindow(main);
    SetFocus(main);
  }
}

// Delete: false (nothing selected) keeps the dialog open.
bool deleteSelected(HWND dlg, UsageBox& box) {
  HWND list = GetDlgItem(dlg, IDC_USAGE_LIST);
  const LRESULT line = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (line == LB_ERR) return false;
  const LRESULT item = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(line), 0);
  if (item == LB_ERR || item < 0 || static_cast<std::size_t>(item) >= box.names.size()) return false;
  const u16& name = box.names[static_cast<std::size_t>(item)];
  if (!deleteUsageEntry(box.w->app.usage, name)) logLine(u"App usage entry %s is gone already", name);
  return true;
}

INT_PTR CALLBACK usageDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  UsageBox* box = boxOf(dlg);
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dlg, GWLP_USERDATA, lParam);
      translateDialog(dlg, reinterpret_cast<UsageBox*>(lParam)->w->app.language(), L"APPUSAGEDELDLG");
      fillList(dlg, *reinterpret_cast<UsageBox*>(lParam));
      return TRUE;
    case WM_COMMAND:
      // Every command of the dialog's controls ends here: the list's id is a main-window
      // message number too, and none of them may reach the main window's command table.
      if (!box) return TRUE;
      switch (LOWORD(wParam)) {
        case IDOK:
          if (deleteSelected(dlg, *box)) {
            HWND main = box->w->hwnd;
            endDialog(dlg);
            PostMessageW(main, WM_COMMAND, MAKEWPARAM(kCmdUsagePageChanged, 0), 0);
          }
          return TRUE;
        case IDCANCEL:
          endDialog(dlg);
          return TRUE;
      }
      return TRUE;
    case WM_DESTROY:
      if (dlg == g_usageDialog) g_usageDialog = nullptr;
      break;
    case WM_NCDESTROY: {
      const std::unique_ptr<UsageBox> owned(box);
      SetWindowLongPtrW(dlg, GWLP_USERDATA, 0);
      break;
    }
  }
  return FALSE;
}

}  // namespace

void showUsageDeleteDialog(MainWindow& w) {
  if (g_usageDialog) {
    // Asked again: the list shows the table as it is now.
    if (UsageBox* box = boxOf(g_usageDialog)) fillList(g_usageDialog, *box);
    ShowWindow(g_usageDialog, SW_SHOWNORMAL);
    SetForegroundWindow(g_usageDialog);
    return;
  }
  auto box = std::make_unique<UsageBox>();
  box->w = &w;
  HWND dlg = CreateDialogParamW(w.instance, L"APPUSAGEDELDLG", w.hwnd, usageDialogProc,
                                reinterpret_cast<LPARAM>(box.get()));
  if (!dlg) {
    logLastError(u"CreateDialog APPUSAGEDELDLG");
    return;
  }
  box.release();  // freed by the dialog's WM_NCDESTROY
  g_usageDialog = dlg;
  ShowWindow(dlg, SW_SHOW);
}

bool handleUsageDialogMessage(MSG& msg) { return g_usageDialog && IsDialogMessageW(g_usageDialog, &msg); }

}  // namespace tirelmo
