// The colour category of a task row: commands 1147..1158 set categories 1..12 on the
// current row of the ToDo sheet, 1159 takes the category away.
#pragma once

#include <vector>

#include "text/ustring.h"

namespace tirelmo {

struct App;

inline constexpr int kCmdCategoryRed = 1147;    // category 1; 1158 is category 12
inline constexpr int kCmdCategoryLast = 1158;
inline constexpr int kCmdCategoryNone = 1159;
inline constexpr int kMaxCategory = 12;

// The category a command sets: (id & 255) - 122 for 1147..1158, 0 for 1159, -1 for any
// other command.
int categoryOfCommand(int command);

// Sets the category of one row of the ToDo sheet on display and redraws it. Refused (false,
// nothing changed) on an earlier day's sheet, which is read-only (the user is told), on a
// free row or the separator row, and for a number outside 0..12 (both only logged).
bool setRowCategory(App& app, int row, int category);

// A category command from the menu or a shortcut: the current row of the ToDo Today page.
// On the other pages the selected row is not a sheet row, so nothing is set there.
bool runCategoryCommand(App& app, int command);

// The categories dialog's OK: categories 1..12 take the names (cut to 127 units, line breaks
// and other control characters taken out, empty allowed), category 0 keeps its own. The
// names go to the cloud copy when it is on, the settings are saved, and the Previous Day
// page is drawn again. False when the settings file could not be written (names kept).
bool setCategoryNames(App& app, const std::vector<u16>& names12);

// Commands 1143 (on) and 1144 (off): the repeat-every-day flag of the current row of the
// ToDo sheet (page 0) or of the Todolist in view (page 1), saved like any row change.
// Refused on an earlier day's sheet and on a free row.
inline constexpr int kCmdRepeatOn = 1143;
inline constexpr int kCmdRepeatOff = 1144;
bool runRepeatCommand(App& app, int command);

}  // namespace tirelmo
