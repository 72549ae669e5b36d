// The month statistics file: the 31 day records of the start-up month, scrambled as one
// block into "<user-data folder>\stats\<year>-<month>.ats".
#pragma once

#include "text/ustring.h"

namespace tirelmo {

struct App;

// "<user-data folder>\stats\2021-5.ats" for the year and month of the last (re)start; the
// numbers carry no leading zeros.
u16 monthStatsPath(const App& app);

// Reads the month file into the month table (missing or short parts stay zero), then puts
// today's record into today's slot.
void LoadMonthStatData(App& app);

// Writes the whole month table; false (after the log line and the message) when the file
// was not replaced.
bool SaveMonthStatData(App& app);

// Marks today's record as used and copies it into today's slot of the month table.
void copyDayTotalsToMonth(App& app);

}  // namespace tirelmo
