// The window side of the daily web requests: the three workers on their own threads, the
// location result message, the version-check notice, the version question, the sheet
// upload's progress bar, and the installation of the WinINet port and the cloud client.
#include "web_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <atomic>
#include <memory>
#include <vector>

#include "app/app.h"
#include "base/log.h"
#include "dialog_texts.h"
#include "main_window.h"
#include "resource.h"
#include "web/cloud_client.h"
#include "web/web_client.h"
#include "web/web_command.h"
#include "web/web_pages.h"
#include "wide.h"

namespace tirelmo {

namespace {

constexpr int kCmdMakerWebsite = 1142;  // its address is the maker's home page
constexpr UINT_PTR kChkVerCloseTimer = 1;
constexpr UINT kChkVerCloseAfterMs = 3000;
constexpr BYTE kChkVerOpacity = 102;
constexpr DWORD kPauseAfterVersionCheckMs = 2000;
constexpr DWORD kShutdownWaitMs = 500;
// How long the location worker waits for the main window's first frame at most.
constexpr DWORD kFirstFrameWaitMs = 3000;
constexpr int kUploadSteps = 25;

// What the workers share with the window. Allocated once and never freed: a worker may
// still be waiting in a request or a message box when the window and the App are already
// gone at exit, and must then find all of this intact. The workers reach nothing else of
// the program but their own copies (the jobs below) and the log.
struct WorkerShared {
  WinInetHttp http;
  // The version-check flags; the page commands read the running flag from here.
  WebState state;
  // The one location result on its way to the window: message 1031 is taken only with this
  // pointer, so the same message from anybody else can't make the window use a stray one.
  std::atomic<LocationResult*> pendingLocation{nullptr};
  // Set once the main window's first frame is on the screen (manual reset, never cleared).
  HANDLE firstFrame = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

WorkerShared& shared() {
  static WorkerShared* s = new WorkerShared;
  return *s;
}

// Handles of the workers started in this run (UI thread only).
std::vector<HANDLE> g_workers;
HWND g_chkver = nullptr;
HWND g_uploadBar = nullptr;

template <class Job>
bool startWorker(LPTHREAD_START_ROUTINE run, std::unique_ptr<Job> job) {
  HANDLE h = CreateThread(nullptr, 0, run, job.get(), 0, nullptr);
  if (!h) return false;
  job.release();  // the thread owns it now
  g_workers.push_back(h);
  return true;
}

// ---- Location ---------------------------------------------------------------------------

struct LocationJob {
  HWND window;
  WebConfig config;
};

DWORD WINAPI locationThread(void* param) {
  std::unique_ptr<LocationJob> job(static_cast<LocationJob*>(param));
  // Loading the internet DLLs and asking the network while the window is first shown would
  // cost the first start of a day its first frame later; a window that never paints (a
  // start minimised) holds it up a few seconds at most.
  if (shared().firstFrame) WaitForSingleObject(shared().firstFrame, kFirstFrameWaitMs);
  auto* result = new LocationResult(runLocationWorker(shared().http, job->config));
  shared().pendingLocation.store(result);
  if (!PostMessageW(job->window, WM_LOCATION_RESULT, 0, reinterpret_cast<LPARAM>(result))) {
    // The window is gone: take the result back unless the window took it after all.
    LocationResult* expected = result;
    if (shared().pendingLocation.compare_exchange_strong(expected, nullptr)) delete result;
  }
  return 0;
}

// ---- Ping and the web commands ----------------------------------------------------------

// The web commands run on the ping worker's thread: their message boxes have no owner, so
// the window goes on while they are open.
class WorkerCommandActions : public WebCommandActions {
 public:
  void showError(u16v text) override {
    MessageBoxW(nullptr, Wstr(text).c_str(), L"Tirelmo", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  }
  bool askYesNo(u16v text) override {
    return MessageBoxW(nullptr, Wstr(text).c_str(), L"Tirelmo", MB_YESNO | MB_SETFOREGROUND) == IDYES;
  }
  void openAddress(u16v address) override {
    // Checked here as well: whatever the command code hands over, only a web page opens.
    if (!isOpenableWebAddress(address)) {
      logLine(u"Web command address refused: %s", address);
      return;
    }
    const auto r = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", Wstr(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (r <= 32) logLine(u"ShellExecute %s failed: %d", address, static_cast<int>(r));
  }
};

struct PingJob {
  WebSnapshot snapshot;
};

DWORD WINAPI pingThread(void* param) {
  std::unique_ptr<PingJob> job(static_cast<PingJob*>(param));
  WorkerCommandActions actions;
  runPingWorker(shared().http, job->snapshot, actions);
  return 0;
}

// ---- Version check ----------------------------------------------------------------------

struct VersionJob {
  HWND window;
  WebSnapshot snapshot;
  u16 question;  // the format, in the user's language
  u16 caption;
};

DWORD WINAPI versionThread(void* param) {
  std::unique_ptr<VersionJob> job(static_cast<VersionJob*>(param));
  WebState& state = shared().state;
  const VersionCheckResult r = runVersionCheck(shared().http, job->snapshot, state);
  if (r.askToDownload) {
    const u16 text = fmt(job->question, utf8ToUtf16(kProgramVersion), utf8ToUtf16(r.latest));
    // Owned by the window while it is there; a window closed meanwhile leaves a plain box.
    HWND owner = IsWindow(job->window) ? job->window : nullptr;
    if (MessageBoxW(owner, W(text), W(job->caption), MB_YESNO | MB_ICONINFORMATION) == IDYES) {
      const auto rc = reinterpret_cast<INT_PTR>(
          ShellExecuteW(nullptr, L"open", Wstr(webAddressOf(kCmdMakerWebsite)).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
      if (rc <= 32) logLine(u"ShellExecute %s failed: %d", webAddressOf(kCmdMakerWebsite), static_cast<int>(rc));
    }
  }
  Sleep(kPauseAfterVersionCheckMs);
  logLine(u"Thr: Chk ver done.");
  state.versionCheckRunning = false;
  return 0;
}

// ---- DLG_CHKVER -------------------------------------------------------------------------

INT_PTR CALLBACK chkverProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      if (!SetLayeredWindowAttributes(dlg, 0, kChkVerOpacity, LWA_ALPHA)) logLastError(u"SetLayeredWindowAttributes");
      translateDialog(dlg, static_cast<Language>(lParam), L"DLG_CHKVER");
      // Without its timer the notice would stay: then it closes at once.
      if (!SetTimer(dlg, kChkVerCloseTimer, kChkVerCloseAfterMs, nullptr)) DestroyWindow(dlg);
      return TRUE;
    case WM_TIMER:
      if (wParam == kChkVerCloseTimer) DestroyWindow(dlg);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) DestroyWindow(dlg);
      return TRUE;
    case WM_DESTROY:
      KillTimer(dlg, kChkVerCloseTimer);
      if (g_chkver == dlg) g_chkver = nullptr;
      return TRUE;
    default:
      return FALSE;
  }
}

void showCheckVersionNotice(MainWindow& w) {
  if (g_chkver) return;  // one notice is enough
  g_chkver = CreateDialogParamW(w.instance, L"DLG_CHKVER", w.hwnd, chkverProc,
                                static_cast<LPARAM>(w.app.language()));
  if (!g_chkver) logLastError(u"CreateDialog DLG_CHKVER");
}

void startVersionWorker(MainWindow& w) {
  auto job = std::make_unique<VersionJob>();
  job->window = w.hwnd;
  job->snapshot = takeWebSnapshot(w.app);
  job->question = w.app.tr(Txt::NewerVersionQuestion);
  job->caption = w.app.tr(Txt::CaptionUpdatesAvailable);
  // Set before the thread runs, so no page change slips in before the worker starts.
  shared().state.versionCheckRunning = true;
  if (!startWorker(versionThread, std::move(job))) {
    shared().state.versionCheckRunning = false;
    logLine(u"Error: CreateThread Reader");
  }
}

}  // namespace

// ---- The contract -----------------------------------------------------------------------

void installWebServices(App& app) {
  app.web.config = readWebConfig(app.start.programFolder);
  app.http = &shared().http;
  // Lives as long as the process: the shut-down still uploads through it.
  static WebCloudSync sync(*app.http, app.web.config);
  installCloudSync(app, sync);
}

bool versionCheckRunning() { return shared().state.versionCheckRunning.load(); }

void startLocationWorker(MainWindow& w) {
  auto job = std::make_unique<LocationJob>();
  job->window = w.hwnd;
  job->config = w.app.web.config;
  if (!startWorker(locationThread, std::move(job))) logLine(u"Error: CreateThread Location");
}

void webWorkersMayStart() {
  if (shared().firstFrame) SetEvent(shared().firstFrame);
}

void onLocationResult(MainWindow& w, WPARAM, LPARAM lParam) {
  auto* posted = reinterpret_cast<LocationResult*>(lParam);
  LocationResult* expected = posted;
  if (!posted || !shared().pendingLocation.compare_exchange_strong(expected, nullptr)) {
    logLine(u"Message 1031 without a location result: ignored");
    return;
  }
  std::unique_ptr<LocationResult> result(posted);
  if (w.destroyed) return;
  acceptLocation(w.app, *result);

  auto ping = std::make_unique<PingJob>();
  ping->snapshot = takeWebSnapshot(w.app);
  if (!startWorker(pingThread, std::move(ping))) logLine(u"Error: CreateThread Ping");

  if (runStartOfDayNotices(w.app)) {
    showCheckVersionNotice(w);
    startVersionWorker(w);
  }
}

void closeWebWorkers(MainWindow&) {
  if (g_chkver) DestroyWindow(g_chkver);
  // A moment for a worker about to finish its request; one waiting for the network or in a
  // message box is let go: it holds only its own copies and the shared block above.
  if (!g_workers.empty())
    WaitForMultipleObjects(static_cast<DWORD>(g_workers.size()), g_workers.data(), TRUE, kShutdownWaitMs);
  for (HANDLE h : g_workers) CloseHandle(h);
  g_workers.clear();
}

void showUploadProgress(MainWindow& w, int rowsDone) {
  if (rowsDone < 0) {
    if (g_uploadBar) DestroyWindow(g_uploadBar);
    g_uploadBar = nullptr;
    return;
  }
  if (rowsDone == 0) {
    if (g_uploadBar) DestroyWindow(g_uploadBar);
    static bool classReady = false;
    if (!classReady) {
      INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
      classReady = InitCommonControlsEx(&icc) != FALSE;
    }
    const int height = GetSystemMetrics(SM_CYHSCROLL);
    g_uploadBar = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 0, w.clientHeight() - height,
                                  w.clientWidth(), height, w.hwnd, nullptr, w.instance, nullptr);
    if (!g_uploadBar) {
      logLastError(u"CreateWindow progress bar");
      return;
    }
    SendMessageW(g_uploadBar, PBM_SETRANGE, 0, MAKELPARAM(0, kUploadSteps));
    SendMessageW(g_uploadBar, PBM_SETSTEP, 1, 0);
  } else if (g_uploadBar) {
    // The position, not a step: a repeated report can't run the bar ahead of the rows.
    SendMessageW(g_uploadBar, PBM_SETPOS, rowsDone, 0);
  }
  // The upload holds the UI thread: without this the bar would show only at its end.
  if (g_uploadBar) UpdateWindow(g_uploadBar);
}

}  // namespace tirelmo
