// The export of a person's data: every sheet (all formats), the done-task archive, the month
// statistics, the projects and the usage table, written as CSV and JSON files into a folder
// outside the user-data folder. The data folder is only ever opened for reading. The field
// names are listed in docs/export.md.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "text/ustring.h"

namespace tirelmo {

struct ExportCounts {
  int sheets = 0;
  std::int64_t sheetRows = 0;
  int archiveFiles = 0;
  std::int64_t archiveRows = 0;
  int monthFiles = 0;
  int monthDays = 0;
  int projects = 0;
  int usageEntries = 0;
  int damagedFiles = 0;  // read in part (what could be read is exported) or not at all
};

enum class ExportStatus {
  Ok,
  NothingToExport,   // the data folder holds none of the files of the program
  NoDataFolder,      // it is not there, or not a folder
  OutputInsideData,  // refused: the export would write into the data folder
  OutputNotWritable, // the output folder could not be created or written into
  WriteFailed,       // an output file could not be written whole (disk full, ...)
};

struct ExportResult {
  ExportStatus status = ExportStatus::Ok;
  ExportCounts counts;
};

struct ExportRequest {
  u16 dataDir;
  u16 outDir;
  // Names of the categories 0..12. Empty: taken from the settings file in the data folder
  // when there is one, the default names otherwise.
  std::vector<u16> categoryNames;
  // Told about every damaged file (and logged); the export goes on without it.
  std::function<void(u16v problem)> onProblem;
};

ExportResult exportUserData(const ExportRequest& request);

// True when `inner` is `outer` or a folder below it. Relative paths are taken from the
// current directory; "." and ".." are resolved, '/' and '\' are the same, and case does not
// count (the Windows file system ignores it).
bool isSameOrInside(u16v inner, u16v outer);

// "sheets 3650 (rows 45210), done tasks 120 files (rows 9800), month files 120 (days 3650),
// projects 12, usage entries 40, damaged files 0"
u16 exportSummary(const ExportCounts& counts);

}  // namespace tirelmo
