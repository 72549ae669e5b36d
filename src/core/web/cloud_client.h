// The cloud copy over the maker's service: the sheet, projects and categories uploaded, the
// sheet and the previous day's done and worked lists downloaded at the day start. Requests
// run on the calling (UI) thread with the timeouts of the Http port.
#pragma once

#include <string>
#include <string_view>

#include "base/dates.h"
#include "platform/http.h"
#include "projects/projects.h"
#include "sheet/sheet.h"
#include "web/cloud_sync.h"
#include "web/web_config.h"

namespace tirelmo {

// The cloud sheet's time stamp and the cloud's previous day, as the download gives them.
struct CloudTimestamp {
  int year = 0, month = 0, day = 0, dayOfWeek = 0, hour = 0, minute = 0, second = 0, msec = 0;
  int prevYear = 0, prevMonth = 0, prevDay = 0, prevDayOfWeek = 0;
};

// Parses the text between the markers of a sheet reply into rows (validated: at most 25
// rows, done 0/1, category 0..12, counts within their byte, minutes >= 0, text at most 179
// units without CR/LF; an empty text is a free row). 0, or -4 / -5 / -6 as the download.
// Rows not in the reply are left as they are.
int parseCloudSheet(std::string_view reply, TodoSheet& sheet, CloudTimestamp& stamp);

class WebCloudSync : public CloudSheetSync {
 public:
  WebCloudSync(Http& http, const WebConfig& config) : http_(http), config_(config) {}
  bool available() const override;
  int WebDownloadTodoList(App& app) override;
  bool CloudTdlIsMoreRecent(App& app) override;
  void downloadDoneAndWorkedLists(App& app) override;
  int uploadRow(App& app, int row) override;
  int uploadCategory(App& app, int number, u16v name) override;
  int uploadProject(App& app, const Project& project);
  void uploadAtExit(App& app) override;

  const CloudTimestamp& stamp() const { return stamp_; }

 private:
  Http& http_;
  const WebConfig& config_;
  CloudTimestamp stamp_;
};

// Makes the client the app's cloud copy: app.cloud, and the project upload hook.
void installCloudSync(App& app, WebCloudSync& sync);

}  // namespace tirelmo
