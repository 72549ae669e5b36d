// The projects as the program holds them: active and closed lists with their worked time.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "stats/done_tasks.h"
#include "text/ustring.h"

namespace tirelmo {

struct App;

inline constexpr std::size_t kProjectNameCapacity = 128;  // units, NUL included

enum ProjectStatus : std::uint32_t {
  kProjectNotStarted = 0,
  kProjectInProgress = 1,
  kProjectSuspended = 2,
  kProjectClosed = 3,
};

// The status names in status order, as the project dialogs show them.
inline constexpr const char16_t* kProjectStatusNames[] = {u"Not Started", u"In Progress",
                                                          u"Suspended", u"Closed"};

struct Project {
  std::int32_t id = 0;
  u16 name;
  std::uint32_t workedHours = 0;
  std::uint32_t workedMinutes = 0;  // 0..59
  std::uint32_t status = kProjectNotStarted;
  std::int32_t deadlineYear = 0;  // 0: no deadline
  std::int32_t deadlineMonth = 0;
  std::int32_t deadlineDay = 0;
  std::uint16_t minutesToday = 0;  // since the lists were loaded; never stored
  bool operator==(const Project&) const = default;
};

struct ProjectStore {
  std::vector<Project> active;
  std::vector<Project> closed;
  // The project whose report is on display; its minutes today are mirrored there.
  std::int32_t reportProjectId = 0;
  std::uint16_t reportMinutesToday = 0;
  u16 reportName;
  ArchiveDate reportFrom;  // the report interval; year 0 until the first report
  ArchiveDate reportTo;
  // The report's day groups as last read and what they were read for: the Projects page is
  // painted again and again while it scrolls, and the archive changes seldom.
  struct ReportQuery {
    bool valid = false;
    std::int32_t id = 0;
    ArchiveDate from, to;
    std::uint16_t minutesToday = 0;
    std::uint32_t archiveGeneration = 0;
    u16 folder;
    ArchiveQueryResult result;
  };
  mutable ReportQuery reportQuery;
  // Set when an active-project file existed at the last load but could not be opened: an
  // empty list then says nothing about the user's projects and must not replace that file.
  bool activeFileUnreadable = false;
  // Sends one project to the cloud copy. The cloud client installs it; while it is empty
  // nothing is sent. Called only while "Cloud ena" is on and the cloud port is available.
  std::function<void(App&, const Project&)> uploadToCloud;
};

}  // namespace tirelmo
