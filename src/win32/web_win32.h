// The web services on the window side: the WinINet request function, the three daily
// workers on their own threads, message 1031 and the DLG_CHKVER notice.
#pragma once

#include <windows.h>

#include "platform/http.h"

namespace tirelmo {

struct App;
struct MainWindow;

// WinINet: InternetOpenW (direct, the user agent), InternetOpenUrlA with
// INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE (and the
// secure flag for https), the timeouts, HttpQueryInfo for the status, the bearer header,
// InternetReadFile in a loop up to the cap. Safe to use from several threads at once.
// Defined in wininet_http.cpp, so that the adapter tests need no window.
class WinInetHttp : public Http {
 public:
  HttpReply get(const HttpRequest& request) override;
};

// Reads web.cfg from the program folder into app.web.config, installs the WinINet port and
// the cloud client into the app. Called once before the data phase (the day start may
// download the cloud sheet).
void installWebServices(App& app);

// Main window creation on the first run of a day: starts the location worker, which posts
// WM_LOCATION_RESULT (1031) with a heap-allocated result (freed by the handler).
void startLocationWorker(MainWindow& w);
// The main window's first frame is on the screen: a location worker started with the window
// goes on to its request.
void webWorkersMayStart();
// Message 1031: takes the location, starts the ping worker, runs the start-of-day notices
// and, when due, shows DLG_CHKVER and starts the version-check worker.
void onLocationResult(MainWindow& w, WPARAM wParam, LPARAM lParam);
// Shut-down: closes DLG_CHKVER, waits a short while for the workers, then lets them go
// (they hold only their own copies and state that lives until the process ends).
void closeWebWorkers(MainWindow& w);

// While the version-check worker runs, the page-switching commands do nothing.
bool versionCheckRunning();

// The sheet upload's progress: 0 puts a bar (0..25) along the bottom of the client area,
// n > 0 moves it to n rows, -1 removes it.
void showUploadProgress(MainWindow& w, int rowsDone);

}  // namespace tirelmo
