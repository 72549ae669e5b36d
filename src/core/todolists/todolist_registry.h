// The Todolists on disk: the registry "TdlInfo.p01" (one entry per list, in tab order) and
// the list files in "NextThings" (50 rows in the sheet's .pm6 record layout). Pure models
// and formats; the sequences that involve the rest of the program (start-up, day start,
// switching the list in view, creating a list) are app/todolists.h.
#pragma once

#include <cstdint>
#include <vector>

#include "base/dates.h"
#include "sheet/sheet.h"
#include "text/ustring.h"

namespace tirelmo {

inline constexpr int kMaxTodolists = 64;
// A title holds at most this many UTF-16 units; it is never empty.
inline constexpr std::size_t kTodolistTitleMax = 63;
inline constexpr int kDeadlineClasses = 6;  // 0 (31 days or more) .. 5 (today or overdue)

struct TodolistEntry {
  std::int32_t id = 0;
  u16 title;
  u16 path;                   // full path of the list file
  std::uint8_t freeRows = 0;  // rows with empty text; refreshed at every save
  std::uint8_t doneRows = 0;  // counted at load
  // Open (not done) rows with a deadline, per deadline class; counted from the rows,
  // never stored.
  std::uint8_t deadlineCount[kDeadlineClasses] = {};
  // The most urgent deadline class present (-1: none); what the tab strip shows.
  int mostUrgentDeadline() const;
};

struct TodolistRegistry {
  std::vector<TodolistEntry> entries;
  int current = 0;  // index of the Todolist in view; meaningless while entries is empty
  // "TdlInfo.p01" exists but could not be opened: it is never saved over, or every list it
  // names would drop out of the tab strip.
  bool fileUnreadable = false;
  int count() const { return static_cast<int>(entries.size()); }
  bool valid(int index) const { return index >= 0 && index < count(); }
};

// "%s\NextThings" and "%s\TdlInfo.p01" below the user-data folder.
u16 todolistFolder(u16v userDataDir);
u16 todolistRegistryPath(u16v userDataDir);

// Reads the registry file into reg.entries (replacing them). A row with a bad identifier,
// an empty title or path costs only that row ("%s() err reading row ##%d"); a row whose
// file is missing is skipped with "Tdl missing: %s"; at most kMaxTodolists entries.
void LoadTdlInfo_p01(u16v path, TodolistRegistry& reg);

// Writes the registry whole or not at all; nothing when there is no entry. False when the
// file could not be written (logged).
bool saveTodolistRegistryFile(u16v path, const TodolistRegistry& reg);

// Free, done and deadline counts of a list's rows into the entry (deadline classes taken
// against today).
void countTodolistRows(const TodoSheet& list, const DayDate& today, TodolistEntry& entry);

enum class ListFileLoad {
  Loaded,      // read whole (a missing or empty file is an empty list)
  Damaged,     // read, but records were skipped
  Unreadable,  // exists but could not be opened or read: the model is empty
};
// Empties the 50 rows and fills them from the file; counts into the entry.
ListFileLoad loadTodolistFile(u16v path, TodoSheet& list, const DayDate& today, TodolistEntry& entry);
// Writes the 50 rows whole or not at all; clears list.modified on success.
bool writeTodolistFile(u16v path, TodoSheet& list);

// Why a typed name cannot become a new list; None when it can.
enum class TodolistNameProblem {
  None,
  Blank,            // empty or only spaces
  TooLong,          // more than kTodolistTitleMax units, or the full path would not fit
  BadCharacter,     // \ / : * ? " < > | or a control character, or ".."
  TrailingDotOrSpace,
  DeviceName,       // CON, PRN, AUX, NUL, COM1..9, LPT1..9 (also with an extension)
  Exists,           // a file of that name (compared without case) or a list of that title
};
TodolistNameProblem checkTodolistName(u16v name, u16v folder, const TodolistRegistry& reg);

}  // namespace tirelmo
