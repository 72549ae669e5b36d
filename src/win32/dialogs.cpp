#include "dialogs.h"

#include <objbase.h>
#include <shlobj.h>

#include <memory>

#include "base/log.h"
#include "dialog_texts.h"
#include "gdi_canvas.h"
#include "late_bound.h"
#include "text/format.h"
#include "web/web_pages.h"
#include "wide.h"

namespace tirelmo {

namespace {

constexpr int kCmdCommentPage = 1113;
constexpr int kCmdDonationPage = 1120;
constexpr int kCmdHomePage = 1142;

// The score pictures of the About box: the toolbar buttons' released images (40 x 40, the
// upper half of each 40 x 80 bitmap), in the order the toolbar shows them.
constexpr int kScoreBitmaps[] = {137, 130, 144, 131, 133, 132};
constexpr int kScorePictureSize = 40;
constexpr RECT kScoreArea = {42, 36, 232, 66};  // dialog units, between the build line and the texts

HWND g_modelessAbout = nullptr;

// What one About box owns; it goes with the box's window (WM_NCDESTROY, after the controls
// that use the font are gone).
struct AboutBox {
  bool modal = false;
  GdiObject linkFont;  // the underlined web-site link
};

// What the box is started with (WM_INITDIALOG's lParam).
struct AboutStart {
  bool modal;
  Language lang;
};

AboutBox* aboutBoxOf(HWND dlg) { return reinterpret_cast<AboutBox*>(GetWindowLongPtrW(dlg, GWLP_USERDATA)); }

HINSTANCE instanceOf(HWND hwnd) {
  return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE));
}

HWND ownerOf(HWND dlg) { return GetWindow(dlg, GW_OWNER); }

// A font of the dialog's own height, in another face.
HFONT fontLike(HWND dlg, const wchar_t* face, DWORD pitchAndFamily, bool underline) {
  LOGFONTW lf = {};
  HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0));
  if (!dialogFont || !GetObjectW(dialogFont, sizeof(lf), &lf)) lf.lfHeight = -12;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (face) lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectW(&lf);
}

struct HelpStart {
  GdiObject* fixedFont;  // the caller's: keeps the score lines' font until the box has ended
  Language lang;
};

// lParam: a HelpStart.
INT_PTR CALLBACK helpDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      const HelpStart& start = *reinterpret_cast<const HelpStart*>(lParam);
      translateDialog(dlg, start.lang, L"HELPDLG");
      // The score lines are columns made of blanks; only a fixed-pitch face keeps them straight.
      GdiObject& fixedFont = *start.fixedFont;
      fixedFont.reset(fontLike(dlg, L"Consolas", FIXED_PITCH | FF_MODERN, false));
      if (fixedFont)
        for (int id = IDC_HELP_SCORE_LINE_FIRST; id < IDC_HELP_SCORE_LINE_FIRST + 6; ++id)
          SendDlgItemMessageW(dlg, id, WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont.get()), FALSE);
      // Enter should close the box, not write an e-mail.
      SetFocus(GetDlgItem(dlg, IDOK));
      return FALSE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_HELP_WRITE_ME:
          EndDialog(dlg, IDC_HELP_WRITE_ME);
          PostMessageW(ownerOf(dlg), WM_COMMAND, kCmdCommentPage, 0);
          return TRUE;
        case IDOK:
        case IDCANCEL:
          EndDialog(dlg, LOWORD(wParam));
          return TRUE;
      }
      break;
  }
  return FALSE;
}

void paintScorePictures(HWND dlg) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dlg, &ps);
  // Painted straight onto the dialog: a control there would paint its background over them.
  RECT frame = kScoreArea;
  if (MapDialogRect(dlg, &frame)) {
    int x = frame.left;
    for (int id : kScoreBitmaps) {
      // A picture that is missing from the resources is left out; the box is still complete.
      const GdiObject bmp(LoadBitmapW(instanceOf(dlg), MAKEINTRESOURCEW(id)));
      if (!bmp) continue;
      const MemoryDc mem(CreateCompatibleDC(dc), static_cast<HBITMAP>(bmp.get()));
      BitBlt(dc, x, frame.top, kScorePictureSize, kScorePictureSize, mem.get(), 0, 0, SRCCOPY);
      x += kScorePictureSize + 6;
      if (x + kScorePictureSize > frame.right) break;
    }
  }
  EndPaint(dlg, &ps);
}

void closeAbout(HWND dlg, INT_PTR result) {
  const AboutBox* box = aboutBoxOf(dlg);
  if (box && box->modal) {
    EndDialog(dlg, result);
  } else {
    DestroyWindow(dlg);
  }
}

INT_PTR CALLBACK aboutDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      const AboutStart& start = *reinterpret_cast<const AboutStart*>(lParam);
      auto box = std::make_unique<AboutBox>();
      box->modal = start.modal;
      translateDialog(dlg, start.lang, L"AboutDlg");
      SetDlgItemTextW(dlg, IDC_ABOUT_RELEASE,
                      W(fmt(u"Tirelmo Release: %s.%s (32-bit) ", u"v2.3.3", u"0")));
      SetDlgItemTextW(dlg, IDC_ABOUT_BUILD, W(fmt(u"%s - %s", u"May 14 2021", u"19:36:34")));
      box->linkFont.reset(fontLike(dlg, nullptr, DEFAULT_PITCH, true));
      if (box->linkFont)
        SendDlgItemMessageW(dlg, IDC_ABOUT_LINK, WM_SETFONT, reinterpret_cast<WPARAM>(box->linkFont.get()),
                            FALSE);
      SetWindowLongPtrW(dlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box.release()));
      // A stray Enter closes the box; donating takes a deliberate click.
      SetFocus(GetDlgItem(dlg, IDCANCEL));
      return FALSE;
    }
    case WM_PAINT:
      paintScorePictures(dlg);
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dlg, IDC_ABOUT_LINK)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 80, 200));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == GetDlgItem(dlg, IDC_ABOUT_LINK)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(dlg, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      break;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_ABOUT_LINK:
          if (HIWORD(wParam) == STN_CLICKED) PostMessageW(ownerOf(dlg), WM_COMMAND, kCmdHomePage, 0);
          return TRUE;
        case IDC_ABOUT_DONATE:
          PostMessageW(ownerOf(dlg), WM_COMMAND, kCmdDonationPage, 0);
          closeAbout(dlg, IDC_ABOUT_DONATE);
          return TRUE;
        case IDOK:
        case IDCANCEL:
          closeAbout(dlg, IDCANCEL);
          return TRUE;
      }
      break;
    case WM_DESTROY:
      if (dlg == g_modelessAbout) g_modelessAbout = nullptr;
      break;
    case WM_NCDESTROY: {
      const std::unique_ptr<AboutBox> box(aboutBoxOf(dlg));
      SetWindowLongPtrW(dlg, GWLP_USERDATA, 0);
      break;
    }
  }
  return FALSE;
}

}  // namespace

void showHelpDialog(HWND owner, Language lang) {
  GdiObject fixedFont;  // outlives the box and its controls
  HelpStart start{&fixedFont, lang};
  const INT_PTR r = DialogBoxParamW(instanceOf(owner), L"HELPDLG", owner, helpDialogProc,
                                    reinterpret_cast<LPARAM>(&start));
  if (r == -1) logLastError(u"DialogBox HELPDLG");
}

void showAboutDialog(HWND owner, bool modal, Language lang) {
  AboutStart start{modal, lang};
  if (modal) {
    if (DialogBoxParamW(instanceOf(owner), L"AboutDlg", owner, aboutDialogProc, reinterpret_cast<LPARAM>(&start)) ==
        -1)
      logLastError(u"DialogBox AboutDlg");
    return;
  }
  if (g_modelessAbout) {
    ShowWindow(g_modelessAbout, SW_SHOWNORMAL);
    SetForegroundWindow(g_modelessAbout);
    return;
  }
  g_modelessAbout =
      CreateDialogParamW(instanceOf(owner), L"AboutDlg", owner, aboutDialogProc, reinterpret_cast<LPARAM>(&start));
  if (!g_modelessAbout) {
    logLastError(u"CreateDialog AboutDlg");
    return;
  }
  ShowWindow(g_modelessAbout, SW_SHOW);
}

HWND modelessAboutDialog() { return g_modelessAbout; }

bool handleModelessDialogMessage(MSG& msg) {
  return g_modelessAbout && IsDialogMessageW(g_modelessAbout, &msg);
}

void reportBug(App& app, HWND) { runReportBug(app); }

void setRunAtStartup(App& app, bool on) { applyRunAtStartup(app, on); }

bool browseForFolder(HWND owner, const std::u16string& title, std::u16string& path) {
  // The picker's new style needs COM on this thread. A thread that already has it in
  // another mode keeps it; only an initialisation made here is undone.
  const HRESULT com = coInitializeExLate(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  if (FAILED(com) && com != RPC_E_CHANGED_MODE) logLine(u"CoInitializeEx failed: 0x%x", static_cast<unsigned>(com));
  wchar_t displayName[MAX_PATH] = L"";
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pszDisplayName = displayName;
  info.lpszTitle = W(title);
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  bool chosenOk = false;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (chosen) {
    logLine(u"Folder chosen: %s", U(displayName));
    wchar_t folder[MAX_PATH] = L"";
    if (SHGetPathFromIDListW(chosen, folder)) {
      logLine(u"Folder path: %s", U(folder));
      path = U(folder);
      chosenOk = true;
    } else {
      logLine(u"Folder chosen has no file-system path");
    }
    coTaskMemFreeLate(chosen);
  }
  if (SUCCEEDED(com)) coUninitializeLate();
  return chosenOk;
}

}  // namespace tirelmo
