// The daily web requests of the first start of a day: the location look-up, the usage ping
// and, every fifth day, the version check. The requests themselves run on worker threads of
// the window side; everything here is plain and thread-agnostic: it takes what it needs as
// values (WebSnapshot), talks through the Http port and logs its steps.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

#include "platform/http.h"
#include "text/ustring.h"
#include "web/web_config.h"

namespace tirelmo {

struct App;

inline constexpr char kProgramVersion[] = "v2.3.3";
inline constexpr char kWebUserAgent[] =
    "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 5.1; .NET CLR 1.1.4322; InfoPath.1; "
    ".NET CLR 2.0.50727; .NET CLR ";

// Process-wide web state. The two flags are written by the version-check worker and read by
// the UI thread, hence atomic.
struct WebState {
  WebConfig config;
  u16 country;  // at most 32 units
  u16 region;   // at most 64 units
  std::atomic<bool> versionCheckRunning{false};
  std::atomic<bool> newerVersionAsked{false};
};

// What a worker needs from the model, copied on the UI thread before the worker starts.
struct WebSnapshot {
  WebConfig config;
  u16 country, region, osDescription, languageName, skin, font;
  int useCount = 0, activeProjects = 0, todolists = 0, fontSize = 0;
  unsigned uiLanguageId = 0;
};
WebSnapshot takeWebSnapshot(const App& app);

// The request function of the cloud copy and the workers: one GET with the user agent, the
// token of the config, read whole up to cap. 0, or -1/-2/-3 (logged with the context names
// "InternetOpen", "InternetOpenUrl", "InternetWriteFile"); a status other than 2xx is -2,
// and a reply longer than cap is -3 (a cut reply is never handed on as a whole one).
// With `overflow` given, a longer reply is not an error: the first cap bytes are handed on
// and *overflow says they are not all (the sheet download reports that itself).
int WebOpen(Http& http, const WebConfig& config, const std::string& url, std::size_t cap,
            std::string* reply, bool* overflow = nullptr);

// Location: the two texts between "Country: <b>" / "Region: <b>" and the next "</b>", cut
// on character boundaries to 31 and 63 bytes; empty when not found (logged as the steps say).
struct LocationResult {
  std::string country, region;  // UTF-8
};
LocationResult parseLocationReply(std::string_view reply);
LocationResult runLocationWorker(Http& http, const WebConfig& config);
// The window's handler of the result: converts, stores into app.web, logs
// "Location Country: %s  Region: %s".
void acceptLocation(App& app, const LocationResult& result);

// Addresses; empty when the address would reach 512 units (logged with "url required").
std::string buildPingUrl(const WebSnapshot& s);
std::string buildVersionUrl(const WebSnapshot& s);

// The ping: sends, reads at most 512 bytes, refuses more than 510, hands the reply to
// execWebCmd (web_command.h) through the given actions.
struct WebCommandActions;
void runPingWorker(Http& http, const WebSnapshot& s, WebCommandActions& actions);

// Versions compare by number, part by part ("v2.3.10" > "v2.3.9"); texts without numbers
// compare as equal. <0, 0, >0.
int compareVersions(std::string_view a, std::string_view b);

// The version check: the latest version after "Current Version is " (up to the next blank,
// '<' or end of line, at most 16 bytes). askToDownload is set when it is newer than ours
// and nobody was asked in this run (the asked flag is then set).
struct VersionCheckResult {
  bool found = false;
  std::string latest;
  bool askToDownload = false;
};
// Sets the running flag; the caller clears it when its question and pause are over.
VersionCheckResult runVersionCheck(Http& http, const WebSnapshot& s, WebState& state);

// Start-of-day notices after the location result: raises the use count ("Prog used %d
// times"); on a multiple of 5 asks the projects question (5..15, no project; OK opens the
// tutorial page). True when the version check is due (the window then shows DLG_CHKVER and
// starts the worker).
bool runStartOfDayNotices(App& app);

}  // namespace tirelmo
