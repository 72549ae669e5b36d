#include "web/web_pages.h"

#include <array>

#include "app/app.h"
#include "base/log.h"
#include "platform/file.h"
#include "storage/file_ops.h"

namespace tirelmo {

namespace {

struct CommandTarget {
  int command;
  const char16_t* target;
};

// Every address of the maker's web site the program opens, kept in one place so that a move
// of the site is one edit.
constexpr std::array<CommandTarget, 8> kWebAddresses = {{
    {1023, u"https://tirelmo.example/videos"},
    {1113, u"https://tirelmo.example/contact"},
    {1120, u"https://tirelmo.example/donate"},
    {1142, u"https://tirelmo.example/"},
    {1510, u"https://tirelmo.example/follow/twitter"},
    {1514, u"https://tirelmo.example/share/twitter"},
    {1523, u"https://tirelmo.example/share/linkedin"},
    {1524, u"https://tirelmo.example/share/facebook"},
}};

// The help, tutorial and "how do I" commands open the manual installed with the program, so
// they work offline and always describe the version the user runs.
constexpr std::array<CommandTarget, 7> kManualPages = {{
    {1121, u"removing-a-score.html"},
    {1122, u"settings.html"},
    {1124, u"coming-soon.html"},
    {1145, kManualIndexPage},
    {1522, u"scores.html"},
    {1528, u"projects.html"},
    {1548, u"todolists.html"},
}};

template <std::size_t N>
u16v lookUp(const std::array<CommandTarget, N>& table, int command) {
  for (const CommandTarget& e : table)
    if (e.command == command) return e.target;
  return {};
}

void tellUser(App& app, Txt message, u16v what) {
  app.prompts.show(fmt(app.tr(message), what), app.tr(Txt::CaptionApp), MsgButtons::Ok,
                   MsgIcon::Warning);
}

void openWebAddress(App& app, u16v url) {
  logLine(u"Open web page %s", url);
  if (app.shell->openUrl(url)) return;
  logLine(u"Error: web page %s not opened", url);
  tellUser(app, Txt::ErrOpeningWebPage, url);
}

void openManualPage(App& app, u16v page) {
  u16 path = manualPagePath(app, page);
  if (pathKind(path) != PathKind::File) {
    logLine(u"Help page %s is missing", path);
    // A partly installed manual still has its index, which links to every other page.
    const u16 index = manualPagePath(app, kManualIndexPage);
    if (page == kManualIndexPage || pathKind(index) != PathKind::File) {
      if (page != kManualIndexPage) logLine(u"Help page %s is missing", index);
      tellUser(app, Txt::ErrOpeningHelpPage, path);
      return;
    }
    path = index;
  }
  logLine(u"Open help page %s", path);
  if (app.shell->openFile(path)) return;
  logLine(u"Error: help page %s not opened", path);
  tellUser(app, Txt::ErrOpeningHelpPage, path);
}

}  // namespace

u16v webAddressOf(int command) { return lookUp(kWebAddresses, command); }

u16v manualPageOf(int command) { return lookUp(kManualPages, command); }

u16 manualPagePath(const App& app, u16v page) {
  return joinPath(joinPath(app.start.programFolder, u"help"), page);
}

bool runWebPageCommand(App& app, int command) {
  if (const u16v url = webAddressOf(command); !url.empty()) {
    openWebAddress(app, url);
    return true;
  }
  if (const u16v page = manualPageOf(command); !page.empty()) {
    openManualPage(app, page);
    return true;
  }
  return false;
}

bool runReportBug(App& app) {
  const MsgAnswer answer = app.prompts.show(app.tr(Txt::ReportBugText), app.tr(Txt::CaptionReportBug),
                                            MsgButtons::OkCancel, MsgIcon::Information);
  if (answer != MsgAnswer::Ok) return false;
  const u16& folder = app.start.defaultUserDataDir;
  logLine(u"Explore %s", folder);
  if (app.shell->exploreFolder(folder)) return true;
  logLine(u"Error: folder %s not opened", folder);
  tellUser(app, Txt::ErrOpeningFolder, folder);
  return false;
}

bool applyRunAtStartup(App& app, bool on) {
  const u16 exePath = app.system.executablePath();
  logLine(u"exe path is %s", exePath);
  const bool done = app.shell->setRunAtStartup(on, exePath);
  if (on) {
    if (done) logLine(u"Run at startup");
  } else {
    logLine(u"dont run at startup");
  }
  return done;
}

}  // namespace tirelmo
