// The App side of the daily web requests: what the UI thread copies for the workers, takes
// back from them, and asks the user at the start of the day. (The app header includes the
// web client's, so this lives apart from the workers.)
#include <climits>

#include "app/app.h"
#include "base/log.h"
#include "web/url_query.h"
#include "web/web_client.h"
#include "web/web_pages.h"

namespace tirelmo {

namespace {

// The stored buffers hold 32 and 64 units with their terminator.
constexpr std::size_t kCountryMaxUnits = 31;
constexpr std::size_t kRegionMaxUnits = 63;
constexpr int kProjectsTutorialCommand = 1528;
constexpr int kVersionCheckEvery = 5;
constexpr int kProjectsQuestionFrom = 5;
constexpr int kProjectsQuestionTo = 15;

}  // namespace

WebSnapshot takeWebSnapshot(const App& app) {
  WebSnapshot s;
  s.config = app.web.config;
  s.country = app.web.country;
  s.region = app.web.region;
  s.osDescription = app.start.osDescription;
  s.languageName = app.start.languageName;
  s.uiLanguageId = app.start.uiLanguageId;
  s.skin = app.settings.skin;
  s.font = app.settings.font;
  s.fontSize = app.settings.fontsize;
  s.useCount = app.settings.sgcn230;
  s.activeProjects = static_cast<int>(app.projects.active.size());
  s.todolists = app.todolists.count();
  return s;
}

void acceptLocation(App& app, const LocationResult& result) {
  app.web.country = utf8ToU16Cut(result.country, kCountryMaxUnits);
  app.web.region = utf8ToU16Cut(result.region, kRegionMaxUnits);
  logLine(u"Location Country: %s  Region: %s", app.web.country, app.web.region);
}

bool runStartOfDayNotices(App& app) {
  if (app.settings.sgcn230 < INT_MAX) ++app.settings.sgcn230;
  const int uses = app.settings.sgcn230;
  logLine(u"Prog used %d times", uses);
  if (uses % kVersionCheckEvery != 0) return false;
  const bool noProject = app.projects.active.empty() && app.projects.closed.empty();
  if (noProject && uses >= kProjectsQuestionFrom && uses <= kProjectsQuestionTo) {
    if (app.prompts.show(app.tr(Txt::ProjectsQuestion), app.tr(Txt::CaptionApp),
                         MsgButtons::OkCancel, MsgIcon::Information) == MsgAnswer::Ok)
      runWebPageCommand(app, kProjectsTutorialCommand);
  }
  return true;
}

}  // namespace tirelmo
