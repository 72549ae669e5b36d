// The yesterday archive: what was done and worked on the previous day, written at the first
// run of a day and read back by later runs for the Previous Day page.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/file.h"
#include "text/ustring.h"

namespace tirelmo {

struct YesterdayTask {
  std::int32_t day = 0;
  std::int32_t month = 0;
  std::int32_t year = 0;  // year - 2000
  std::int32_t dayOfWeek = 0;
  std::int32_t week = 0;
  u16 text;
  std::int32_t age = 0;
  std::int32_t done = 0;
  std::int32_t pomodoros = 0;
  std::int32_t abandoned = 0;
  std::int32_t estimated = 0;
  std::int32_t internalInterruptions = 0;
  std::int32_t externalInterruptions = 0;
  std::int32_t minutesWorked = 0;
  std::int32_t totalMinutes = 0;
  std::int32_t projectId = 0;
  std::int32_t clientId = 0;
  std::int32_t category = 0;
  bool operator==(const YesterdayTask&) const = default;
};

struct YesterdayArchive {
  FileHandle file = kInvalidFile;
  std::vector<YesterdayTask> tasks;  // vYesterdayTaskList
  u16 heading;                       // line 1 of the file
  bool fromArchiveFile = false;      // the list came from "YesterdayArchive.y00"/".csv"
  // The previous sheet's date while the archive is written.
  int year = 0, month = 0, day = 0, dayOfWeek = 0, week = 0;
  // The summary lines: the done list (with its header line first) and the worked list;
  // also what the legacy text files hold when no archive file exists.
  std::vector<u16> completedLines;
  std::vector<u16> workedLines;
};

struct App;
struct TodoRow;

inline constexpr char16_t kYesterdayArchiveFile[] = u"YesterdayArchive.y00";

// Recreates "YesterdayArchive.y00" for the previous sheet's date: header, heading line, and
// an empty task list. -1 (logged) when the file cannot be created.
int createYesterdayArchive(App& app, int year, int month, int day, int dayOfWeek);
// One row of the previous sheet, with the day's own counts (called before they move to the
// past counts).
void writeYesterdaySheetRow(App& app, const TodoRow& row);
// One record from the Todolists or from the cloud lists.
void writeYesterdayRecord(App& app, const YesterdayTask& task);
void closeYesterdayArchive(App& app);

// Start-up on a later run of the day: the list and heading from the stored files.
void loadYesterdayArchiveAtStart(App& app);
int LoadYesterdayTasks_new(App& app, u16v path);
int LoadYesterdayTasks_old(App& app, u16v path);

}  // namespace tirelmo
