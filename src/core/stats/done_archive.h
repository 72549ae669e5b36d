// The archive of completed (and worked) tasks: one UTF-16 month file of quoted CSV lines in
// "stats", and a human-readable weekly list of the descriptions.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/file.h"
#include "text/ustring.h"

namespace tirelmo {

// One data line read back.
struct DoneTaskEntry {
  std::int32_t year = 0;  // DoneYY + 2000
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t dayOfWeek = 0;
  std::int32_t week = 0;
  std::int32_t inProgress = 0;
  std::int32_t minutesWorked = 0;  // column 23
  std::int32_t totalMinutes = 0;   // column 20
  std::int32_t pomodoros = 0;      // column 12
  u16 description;
  std::int32_t projectId = 0;
  std::int32_t category = 0;
  bool operator==(const DoneTaskEntry&) const = default;
};

// The minutes of one day found by a query.
struct DayGroup {
  std::uint8_t year = 0;  // year - 2000
  std::uint8_t month = 0;
  std::uint8_t day = 0;
  std::uint8_t dayOfWeek = 0;
  std::uint8_t week = 0;
  std::uint16_t minutes = 0;
  bool operator==(const DayGroup&) const = default;
};

// The two files kept open while a caller appends its lines, and the current month's list.
struct DoneArchive {
  FileHandle monthFile = kInvalidFile;
  FileHandle weeklyFile = kInvalidFile;
  // The archiving date of the open files.
  int year = 0, month = 0, day = 0, dayOfWeek = 0, week = 0;
  std::vector<DoneTaskEntry> currentMonth;  // CurMthDoneTasks
};

struct App;
struct TodoRow;

// Opens (creating when needed) the month file and the weekly list for an archiving date and
// appends the day heading to the weekly list; converts an older ".csv" month file first.
void openDoneArchive(App& app, int year, int month, int day, int dayOfWeek);
void closeDoneArchive(App& app);

// Appends one sheet or Todolist row: a 24-column line to the month file and the description
// to the weekly list. `unplanned` gives the "Y" of UnplanUrg (only rows of today's sheet
// below the separator, or with the unplanned flag). Nothing happens while the month file is
// not open.
void appendDoneTaskRow(App& app, const TodoRow& row, bool unplanned, int minutesWorked);

// Reads the archive of the start-up month into app.doneArchive.currentMonth; returns the
// number of lines read, the header included (0 when there is no file).
int loadCurrentMonthDoneTasks(App& app);

struct ArchiveDate {
  int year = 0, month = 0, day = 0;
};

enum class ArchiveQueryMode { Entries = 1, Project = 2, Category = 3, Text = 4, TextAlso = 5 };

struct ArchiveQueryResult {
  std::vector<DayGroup> groups;
  int maxDayMinutes = 0;
  int totalMinutes = 0;
  std::vector<DoneTaskEntry> entries;  // mode 1 only
};

// The day groups (and in mode 1 the entries) between two dates, month files read from the
// current directory's "stats" folder.
ArchiveQueryResult queryDoneArchive(ArchiveDate from, ArchiveDate to, ArchiveQueryMode mode,
                                    std::int32_t filterValue, u16v filterText, const DayGroup* extra);

}  // namespace tirelmo
