// The sheet commands of the main window that replace the sheet on display: view an earlier
// sheet through the open-file dialog (1107, F2) and start a new empty sheet for today
// (1125). Previous, next and back to today are in sheet/sheet_files.h.
#pragma once

#include <functional>

#include "text/ustring.h"

namespace tirelmo {

struct App;

inline constexpr int kCmdViewOldSheet = 1107;
inline constexpr int kCmdNewSheet = 1125;
inline constexpr int kCmdBackToToday = 1513;
inline constexpr int kCmdPreviousSheet = 1517;
inline constexpr int kCmdNextSheet = 1518;

// Asks the user for a sheet file starting in the given folder; false when cancelled.
using ChooseSheetFile = std::function<bool(u16v startFolder, u16& chosenPath)>;

// Where the open-file dialog starts: "%s\dailytask" below the user-data folder.
u16 sheetDialogFolder(const App& app);

// Command 1107. The modified sheet may be saved first (SaveDiscardChanges); a chosen file
// is displayed (read-only unless it is today's) and the sheet list cursor moves onto it.
// True when another sheet is on display afterwards.
bool viewOldSheet(App& app, const ChooseSheetFile& choose);

// Command 1125: after the confirmation, today's sheet starts over empty with its separator;
// the day's totals stay (the pomodoros were worked). The next save writes it under today's
// name. True when the sheet was emptied.
bool newTodoSheet(App& app);

}  // namespace tirelmo
