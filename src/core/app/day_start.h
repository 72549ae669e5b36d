// The day start: today's sheet is opened, or made from the previous one by carrying its
// unfinished tasks over into the new day. The restart after midnight is in day_cycle.h.
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

}  // namespace tirelmo
