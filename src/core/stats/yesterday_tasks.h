// The yesterday archive as the program holds it: the previous day's tasks and summary lines,
// and the writer of the archive while the day start recreates it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/file.h"
#include "storage/file_ops.h"
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
  // The recreated archive is written beside the old one and swapped in at close, so a run
  // that dies during the day start leaves the previous archive whole.
  std::unique_ptr<AtomicFileWriter> writer;
  FileHandle file = kInvalidFile;    // the archive reopened for appending
  std::vector<YesterdayTask> tasks;  // vYesterdayTaskList
  u16 heading;                       // line 1 of the file
  // The list is in the archive form (written this run or read from "YesterdayArchive.y00"
  // or ".csv"), not the legacy text lines: selects the page drawing.
  bool fromArchiveFile = false;
  // The previous sheet's date while the archive is written.
  int year = 0, month = 0, day = 0, dayOfWeek = 0, week = 0;
  // The summary lines: the done list (with its header line first) and the worked list;
  // also what the legacy text files hold when no archive file exists.
  std::vector<u16> completedLines;
  std::vector<u16> workedLines;
};

}  // namespace tirelmo
