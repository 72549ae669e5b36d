// The archive of completed (and worked) tasks: one UTF-16 month file of quoted CSV lines in
// "stats", and a human-readable weekly list of the descriptions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/file.h"
#include "text/ustring.h"
#include "stats/done_tasks.h"

namespace tirelmo {

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

// One task of the cloud's done list, as its reply gives it.
struct CloudDoneRecord {
  u16 text;
  std::int32_t internalInterruptions = 0;
  std::int32_t externalInterruptions = 0;
  std::int32_t pomodoros = 0;
  std::int32_t abandoned = 0;
  std::int32_t age = 0;
  std::int32_t category = 0;
  std::int32_t projectId = 0;
  std::int32_t totalHours = 0;
  std::int32_t totalMinutes = 0;
  // Date of completion (full year). An undated record (month 0) takes the open archive's date.
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t dayOfWeek = 0;
};

// Appends a cloud record: a 22-column line (no In Progress, no Min Worked) and the
// description to the weekly list. Nothing happens while the month file is not open.
void appendDoneCloudRecord(App& app, const CloudDoneRecord& record);

// Reads the archive of the start-up month into app.doneArchive.currentMonth; returns the
// number of lines read, the header included (0 when there is no file).
int loadCurrentMonthDoneTasks(App& app);

// Days counted from a fixed origin, for spans between dates and dates so many days away.
long archiveDayNumber(ArchiveDate d);
ArchiveDate archiveDateOfDayNumber(long n);

enum class ArchiveQueryMode { Entries = 1, Project = 2, Category = 3, Text = 4, TextAlso = 5 };

// The day groups (and in mode 1 the entries) between two dates, month files read from the
// current directory's "stats" folder.
ArchiveQueryResult queryDoneArchive(ArchiveDate from, ArchiveDate to, ArchiveQueryMode mode,
                                    std::int32_t filterValue, u16v filterText, const DayGroup* extra);

// File names of the archive, relative to the user-data folder.
u16 doneArchiveMonthPath(int year, int month);     // .\stats\DoneTasks_2021_5.m00
u16 doneArchiveCsvPath(int year, int month);       // .\stats\DoneTasks_2021_5.csv
u16 weeklyDoneListPath(int year, int week);        // .\stats\WeeklyDone_2021_ 5.txt

// One data line (UTF-16, quoted fields) into an entry; false when it holds no description.
bool parseDoneTaskLine(u16v line, DoneTaskEntry& entry);

// The archives end their lines with a single LF, which the record reader (CFile) does not
// split at. This reader hands over every line, without its LF and without a CR before it,
// as UTF-16 with its physical line number (from 0); a last line without LF is handed over
// too. A line longer than maxLineBytes is logged with `who` and skipped, and the reading
// goes on (`skipped` counts such lines). onLine returns false to stop. Returns the number of
// lines handed over, or -1 when the file cannot be opened.
enum class LineCoding { Utf16Le, Utf8 };
inline constexpr std::size_t kArchiveLineMaxBytes = 8192;
int readLfLines(u16v path, LineCoding coding, std::size_t maxLineBytes, u16v who,
                const std::function<bool(int lineNo, u16& line)>& onLine, int* skipped = nullptr);

// How many complete quoted fields a line holds (found the way csvGetNthToken finds them).
int quotedFieldCount(u16v line);

// Task text fit for a one-line field: line breaks (which would split the record) become
// blanks, and the text is cut to the row's 179 units.
u16 oneLineText(u16v text);

}  // namespace tirelmo
