// The cloud copy of the day's sheet, as the day start and the sheet save see it.
#pragma once

#include "text/ustring.h"

namespace tirelmo {

struct App;

class CloudSheetSync {
 public:
  virtual ~CloudSheetSync() = default;
  // False when this build has no cloud client: the day start then works locally.
  virtual bool available() const = 0;
  // Downloads the cloud sheet: 0, or a negative web error (-1 connection, -2 URL, ...).
  virtual int WebDownloadTodoList(App& app) = 0;
  // After a download: is the cloud sheet newer than the local one? When it is, it has been
  // put into the model.
  virtual bool CloudTdlIsMoreRecent(App& app) = 0;
  // The previous day's done and worked lists (first run of a day with a newer cloud sheet).
  virtual void downloadDoneAndWorkedLists(App& app) = 0;
  // Uploads one row of today's sheet; 0 or a web error.
  virtual int uploadRow(App& app, int row) = 0;
  // Uploads one category's number and name; 0 or a web error (failures are only logged).
  virtual int uploadCategory(App&, int /*number*/, u16v /*name*/) { return 0; }
  // At exit (and before the day restart): every category, every active project, then the
  // release of the lock; each runs once whatever the others gave.
  virtual void uploadAtExit(App&) {}
};

// No cloud client: every question answers "not available".
class NoCloudSync : public CloudSheetSync {
 public:
  bool available() const override { return false; }
  int WebDownloadTodoList(App&) override { return -1; }
  bool CloudTdlIsMoreRecent(App&) override { return false; }
  void downloadDoneAndWorkedLists(App&) override {}
  int uploadRow(App&, int) override { return 0; }
};

}  // namespace tirelmo
