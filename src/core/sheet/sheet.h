// The ToDo sheet in memory: one day's 25 rows, the "Unplanned & Urgent" separator, the
// day's totals and the modified flag. The Todolist in view uses the same container with 50
// rows.
#pragma once

#include <vector>

#include "base/dates.h"
#include "sheet/todo_row.h"
#include "stats/day_stats.h"

namespace tirelmo {

inline constexpr int kSheetRows = 25;
inline constexpr int kTodolistRows = 50;
inline constexpr char16_t kSeparatorText[] = u"   --- Unplanned & Urgent ---";

// How a row is drawn; the colours come from the skin.
enum class RowLook : std::uint8_t { Normal, Done };

struct TodoSheet {
  explicit TodoSheet(int rowCount = kSheetRows) : rows(static_cast<std::size_t>(rowCount)),
                                                  look(static_cast<std::size_t>(rowCount)) {}

  int rowCount() const { return static_cast<int>(rows.size()); }
  bool validRow(int row) const { return row >= 0 && row < rowCount(); }

  std::vector<TodoRow> rows;
  std::vector<RowLook> look;  // display state, never stored
  int separatorIndex = -1;
  u16 sheetFileName;          // name without folder, e.g. DailyTask_2021-5-14-5.pm6
  bool modified = false;
  DayStats dayTotals;
  DayStats dayTotalsSaved;
  bool readOnly = false;      // an earlier day's sheet is on display
  // The last load met damage: records skipped, a damaged header, a short or unreadable file.
  bool readWithDamage = false;
  // The damaged file this sheet was read from when no copy of it could be kept: the sheet
  // is not saved until one is.
  u16 damagedFileWithoutCopy;
};

// Everything to zero except the separator index, the file name and the modified flag; the
// damage marks of the last load go too.
void resetTodoSheet(TodoSheet& sheet);

// Puts the separator into the first free row among 12..17 when the sheet has none. When all
// six hold tasks it goes to row 18, whose task first moves to a free row so that no task is
// ever overwritten; a sheet without any free row gets no separator.
void placeSeparatorRow(TodoSheet& sheet);

// A date a sheet's file name may carry (year 1..9999, month 1..12, day 1..31). The name is
// read back from folders and the settings, so what it says is checked before any arithmetic.
bool isSheetNameDate(int year, int month, int day);

// True when no sheet is named yet, or the name's date ("DailyTask_%d-%d-%d") is today.
bool isTodaySheet(const TodoSheet& sheet, const DayDate& today);

// A row below a known separator is unplanned. With no separator yet (a first start) there
// is no unplanned part of the sheet at all.
inline bool belowSeparator(const TodoSheet& sheet, int row) {
  return sheet.separatorIndex >= 0 && row > sheet.separatorIndex;
}

// Today's totals summed from the rows; marks the day as used in the month table.
void recountDayTotals(TodoSheet& sheet, MonthTable& month, int todaySlot);

// Sets or clears the repeat flag of a row.
bool setRepeat(TodoSheet& sheet, int row, bool on);

// The done look for a done row, the normal one otherwise.
void setRowLook(TodoSheet& sheet, int row);

bool isSeparatorText(u16v text);

}  // namespace tirelmo
