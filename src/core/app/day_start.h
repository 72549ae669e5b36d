// The day start: today's sheet is opened, or made from the previous one by carrying its
// unfinished tasks over; the day restart after midnight; earlier sheets are read-only.
#pragma once

#include "app/app.h"

namespace tirelmo {

enum class DayStartOutcome { Done, Abort, Retry };

DayStartOutcome startDay(App& app);

// The import of the previous sheet, as the .pm6 and .pm5 loaders run it: the preparation
// before the rows are visited, the carry-over of each row that is neither free nor the
// separator, and the end (archives closed).
void beginImport(App& app);
void carryOverRow(App& app, int row);
void endImport(App& app);
// The shorter rule of the .pm4 import.
void carryOverRowPm4(App& app, int row);

// True when the date has changed since the start; logs "Crossed Midnight!".
bool isDayChanged(App& app);

// The day restart: everything saved, the start-up phases run again for the new day.
// False when the new day could not be started (the user chose to exit at the cloud
// question, or the folders are gone); the window side then closes the program.
bool CloseAppStartedYesterday(App& app);

}  // namespace tirelmo
