// The chart of the time spent on one task per day: a bar for every day of a date range, drawn
// from the done-task archive's day groups, and the query behind the row's "Stats" dialog.
#pragma once

#include <optional>

#include "platform/canvas.h"
#include "stats/done_archive.h"
#include "text/strings.h"

namespace tirelmo {

struct App;
struct TodoRow;

inline constexpr int kTimePerDayWidth = 1000;
inline constexpr int kTimePerDayHeight = 400;

// The plot area inside the drawing; bars stand on its bottom edge.
struct TimePerDayPlot {
  int left = 70, top = 80, width = 900, height = 280;
  int bottom() const { return top + height; }
};

// Which days get their number under the axis: 1 every day, 2 every second, 4 every fourth.
// A slot thinner than what four days' numbers need thins them out further, so a range of
// years still draws a handful of numbers.
int dayLabelStep(int plotWidth, long days);

// A range is usable when both ends are calendar dates and the end is not before the start.
bool isChartRange(ArchiveDate from, ArchiveDate to);

// Draws the whole 1000 x 400 chart onto the surface from (0, 0). The range must pass
// isChartRange; groups outside it are left out.
void drawTimePerDayChart(Surface& s, const ArchiveQueryResult& query, ArchiveDate from,
                         ArchiveDate to, Language lang);

// The day groups of the row's task between the two dates, today's not yet archived minutes
// of the row included while today lies in the range and today's sheet is on display. A
// refused range is explained to the user and gives nothing.
std::optional<ArchiveQueryResult> queryTimePerDay(App& app, ArchiveDate from, ArchiveDate to,
                                                  const TodoRow& row);

}  // namespace tirelmo
