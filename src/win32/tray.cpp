#include "tray.h"

#include <shellapi.h>

#include "base/log.h"
#include "commands.h"
#include "main_window.h"
#include "resource.h"
#include "ui/menus.h"
#include "wide.h"

namespace tirelmo {

namespace {

NOTIFYICONDATAW iconData(const MainWindow& w) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = w.hwnd;
  nid.uID = ID_TRAY_ICON;
  return nid;
}

bool addTrayIcon(MainWindow& w) {
  NOTIFYICONDATAW nid = iconData(w);
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = WM_TRAY_CALLBACK;
  nid.hIcon = static_cast<HICON>(LoadImageW(w.instance, MAKEINTRESOURCEW(IDI_TIRELMO), IMAGE_ICON, 16, 16, 0));
  lstrcpynW(nid.szTip, kMainWindowTitle, ARRAYSIZE(nid.szTip));
  const bool ok = Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
  if (nid.hIcon) DestroyIcon(nid.hIcon);
  return ok;
}

void restoreToFront(MainWindow& w) {
  ShowWindow(w.hwnd, SW_RESTORE);
  SetForegroundWindow(w.hwnd);
  w.tray.inTray = false;
}

}  // namespace

void initTray(MainWindow& w) { w.tray.taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated"); }

bool removeTrayIcon(MainWindow& w) {
  NOTIFYICONDATAW nid = iconData(w);
  return Shell_NotifyIconW(NIM_DELETE, &nid) != FALSE;
}

void MinimizeToTray(MainWindow& w) {
  if (!w.app.settings.bMinimizeToTray) {
    ShowWindow(w.hwnd, SW_MINIMIZE);
    return;
  }
  if (removeTrayIcon(w)) w.tray.inTray = false;
  if (addTrayIcon(w)) {
    logLine(u"%s() - Add icon to Tray", u"MinimizeToTray");
    ShowWindow(w.hwnd, SW_HIDE);
  } else {
    logLastError(u"Shell_NotifyIcon");
    ShowWindow(w.hwnd, SW_MINIMIZE);
  }
  w.tray.inTray = true;
}

void leaveTray(MainWindow& w) {
  removeTrayIcon(w);
  restoreToFront(w);
}

void onTrayCallback(MainWindow& w, LPARAM mouseMessage) {
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONUP:
      if (!w.tray.inTray) return;
      logLine(u"%s() - Click on Tray icon => Remove icon from Tray", u"MainWndProc");
      if (!removeTrayIcon(w)) {
        logLine(u"Shell_NotifyIcon() failed");
        showLastError(w.app.prompts, u"Shell_NotifyIcon()===");
        return;
      }
      restoreToFront(w);
      return;
    case WM_RBUTTONUP: {
      POINT p{};
      GetCursorPos(&p);
      // Without the window in front the menu would not close when clicked elsewhere.
      SetForegroundWindow(w.hwnd);
      showMenuAtScreen(w, buildTrayMenu(w.app), p);
      return;
    }
    default:
      return;
  }
}

void onTaskbarCreated(MainWindow& w) {
  if (!w.tray.inTray) return;
  logLine(u"TaskBar created");
  MinimizeToTray(w);
}

}  // namespace tirelmo
