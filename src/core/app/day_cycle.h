// The day cycle: the day restart after midnight and every command that puts another sheet
// on display (previous, next, back to today, an earlier sheet from the open-file dialog, a
// new empty sheet). They share one rule: the sheet on display is replaced only after what
// it holds is safe on disk; a save that failed leaves it on display, still modified.
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

// True when the date has changed since the start; logs "Crossed Midnight!".
bool isDayChanged(App& app);

// The day restart: everything saved, the start-up phases run again for the new day. False
// when the new day was not started; the caller then leaves what it was doing:
// - today's sheet could not be saved: nothing was restarted, the sheet stays on display
//   with its edits and modified, and the next command tries again;
// - the start-up phases failed (the user chose to exit at the cloud question, the folders
//   are gone): everything was saved before; the window side, which sees beforeDayRestart
//   without afterDayRestart, closes the program without saving the half-built model.
bool CloseAppStartedYesterday(App& app);

// After midnight a command must act on the new day: restarts it when the date changed. False
// when the day changed and the restart did not happen (the command must not go on).
// wontLine is logged when the day changed.
bool restartIfDayChanged(App& app, const char16_t* wontLine);

// Saves the sheet on display before it makes way for another one. With askFirst a modified
// sheet is saved only when the user says so; otherwise today's sheet is always written
// (typing does not mark it modified). True when the sheet may be replaced; false when a
// save failed: the sheet stays, modified, and the log says why.
bool releaseDisplayedSheet(App& app, bool askFirst);

void showPreviousSheet(App& app);
void showNextSheet(App& app);
void backToTodaySheet(App& app);

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
