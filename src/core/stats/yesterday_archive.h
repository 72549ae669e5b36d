// The yesterday archive: what was done and worked on the previous day, written at the first
// run of a day and read back by later runs for the Previous Day page.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/file.h"
#include "storage/file_ops.h"
#include "text/ustring.h"
#include "stats/yesterday_tasks.h"

namespace tirelmo {

struct App;
struct TodoRow;

inline constexpr char16_t kYesterdayArchiveFile[] = u"YesterdayArchive.y00";
inline constexpr char16_t kYesterdayArchiveCsvFile[] = u"YesterdayArchive.csv";
inline constexpr char16_t kLastDayCompletedFile[] = u"LastDayCompletedTasks.txt";
inline constexpr char16_t kLastDayWorkedFile[] = u"LastDayWorkedTasks.txt";

// Recreates "YesterdayArchive.y00" for the previous sheet's date: header, heading line, and
// an empty task list. -1 (logged) when the file cannot be created. The new file replaces
// the old one at closeYesterdayArchive.
int createYesterdayArchive(App& app, int year, int month, int day, int dayOfWeek);
// Reopens the archive to append records after it was closed (the Todolists' day start),
// repairing a cut end first.
// -1 (logged) when it cannot be opened; 0 also while it is still being created.
int openYesterdayArchiveForAppend(App& app);
// One row of the previous sheet, with the day's own counts (called before they move to the
// past counts). The row joins the task list even when the file could not be created, so
// the Previous Day page still shows it.
void writeYesterdaySheetRow(App& app, const TodoRow& row);
// One record from the Todolists or from the cloud lists. The record's age is written as it
// is (callers put age + 1 in it), its year is year - 2000; a record without a date (month 0)
// takes the archive's date and week.
void writeYesterdayRecord(App& app, const YesterdayTask& task);
void closeYesterdayArchive(App& app);

// "On %s (%s %d, %d) you did", or its Chinese twin, for the previous sheet's date.
u16 yesterdayHeading(App& app, int year, int month, int day, int dayOfWeek);

// Start-up on a later run of the day: the list and heading from the stored files.
void loadYesterdayArchiveAtStart(App& app);
// Each returns the number of lines read (header and heading included), 0 when the file
// cannot be read.
int LoadYesterdayTasks_new(App& app, u16v path);
int LoadYesterdayTasks_old(App& app, u16v path);

}  // namespace tirelmo
