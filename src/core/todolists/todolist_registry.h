// The Todolists on disk: the registry "TdlInfo.p01" (one entry per list, in tab order) and
// the list files in "NextThings" (50 rows in the sheet's .pm6 record layout). Pure models
// and formats; the sequences that involve the rest of the program (start-up, day start,
// switching the list in view, creating a list) are app/todolists.h.
#pragma once

#include <cstdint>
#include <vector>

#include "base/dates.h"
#include "todolists/todolists_model.h"
#include "sheet/sheet.h"
#include "text/ustring.h"

namespace tirelmo {

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
