// Process entry of Tirelmo.
#include <windows.h>

#include "base/log.h"
#include "app/startup.h"
#include "dialogs.h"
#include "list_dialogs.h"
#include "main_window.h"
#include "project_dialogs.h"
#include "usage_dialog.h"
#include "web_win32.h"
#include "resource.h"
#include "win32_ports.h"

using namespace tirelmo;

namespace {

// Another instance owns the data files: bring it to the front instead of starting twice.
bool activateRunningInstance() {
  HWND other = FindWindowW(kMainWindowClass, nullptr);
  if (!other) {
    // A second start in the moment the first one is still loading has no window to find
    // yet; the instance mutex tells, and its window appears shortly.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\Tirelmo.SingleInstance");
    if (!mutex || GetLastError() != ERROR_ALREADY_EXISTS) return false;  // keeps the mutex for this run
    CloseHandle(mutex);
    for (int i = 0; i < 100 && !other; ++i) {
      Sleep(100);
      other = FindWindowW(kMainWindowClass, nullptr);
    }
    if (!other) return true;
  }
  if (IsIconic(other) || !IsWindowVisible(other)) ShowWindow(other, SW_RESTORE);
  SetForegroundWindow(other);
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showMode) {
  if (activateRunningInstance()) return kExitAnotherInstance;

  Win32Clock clock;
  Win32Prompts prompts;
  Win32System system;
  Win32Shell shell;
  App app(clock, prompts, system);
  app.shell = &shell;

  const int early = runStartPhases(app, installWebServices);
  if (early != kStartContinue) return early;

  if (!registerMainWindowClass(instance)) return 0;

  HWND hwnd = createMainWindow(instance, app);
  if (!hwnd) {
    showLastError(prompts, u"CreateWindowEx");
    processLog().closeOnFailedStart();
    return 0;
  }
  prompts.owner = hwnd;
  ShowWindow(hwnd, showMode);
  HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // The modeless About box first: Tab and Enter belong to it while it has the focus.
    if (handleModelessDialogMessage(msg)) continue;
    if (handleListDialogMessage(msg)) continue;
    if (handleProjectDialogMessage(msg)) continue;
    if (handleUsageDialogMessage(msg)) continue;
    if (accelerators && TranslateAcceleratorW(hwnd, accelerators, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  releaseMainWindow();
  return static_cast<int>(msg.wParam);
}
