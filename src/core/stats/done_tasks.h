// The done-task archive as the program holds it: the entries read back, the day groups of a
// query, and the files kept open while tasks are appended.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/file.h"
#include "text/ustring.h"

namespace tirelmo {

// A calendar date as the archive queries and the reports take it (full year).
struct ArchiveDate {
  int year = 0, month = 0, day = 0;
  bool operator==(const ArchiveDate&) const = default;
};

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

// What a query of the archive found.
struct ArchiveQueryResult {
  std::vector<DayGroup> groups;
  int maxDayMinutes = 0;
  std::int64_t totalMinutes = 0;  // a long query's lines add up past 32 bits
  std::vector<DoneTaskEntry> entries;  // mode 1 only
};

// The two files kept open while a caller appends its lines, and the current month's list.
struct DoneArchive {
  FileHandle monthFile = kInvalidFile;
  FileHandle weeklyFile = kInvalidFile;
  // The archiving date of the open files.
  int year = 0, month = 0, day = 0, dayOfWeek = 0, week = 0;
  std::vector<DoneTaskEntry> currentMonth;  // CurMthDoneTasks
  // Grows with every line appended, so that what was read from the archive can tell it is
  // out of date.
  std::uint32_t generation = 0;
};

}  // namespace tirelmo
