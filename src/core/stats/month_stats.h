// The month statistics file: the 31 day records of the start-up month, scrambled as one
// block into "<user-data folder>\stats\<year>-<month>.ats".
#pragma once

#include <string_view>

#include "stats/day_stats.h"
#include "text/ustring.h"

namespace tirelmo {

struct App;

// "<user-data folder>\stats\2021-5.ats" for the year and month of the last (re)start; the
// numbers carry no leading zeros.
u16 monthStatsPath(const App& app);

// The table from a month file's bytes (at most 496 are taken); what a short file lacks reads
// as days without records.
void monthTableFromFileBytes(std::string_view bytes, MonthTable& table);

// Reads the month file into the month table (missing or short parts stay zero), then puts
// today's record into today's slot.
void LoadMonthStatData(App& app);

// Writes the whole month table; false (after the log line and the message) when the file
// was not replaced.
bool SaveMonthStatData(App& app);

// Today's totals: today's sheet's own while it is on display. While an earlier sheet is on
// display (its own totals on the page), today's slot of the month table holds them, and
// scores given meanwhile (Next Things, the timer) count there.
DayStats& todayTotals(App& app);
const DayStats& todayTotals(const App& app);

// Marks today as used, in today's totals and in the month table.
void markDayUsed(App& app);

// Marks today's record as used and copies it into today's slot of the month table; with an
// earlier sheet on display only the used mark is set.
void copyDayTotalsToMonth(App& app);

// Today's sheet is back on display after an earlier one: its totals are the ones kept in
// the month table meanwhile (a recount of its rows misses the scores given elsewhere).
void takeTodayTotalsFromMonth(App& app);

}  // namespace tirelmo
