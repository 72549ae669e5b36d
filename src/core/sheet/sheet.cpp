#include "sheet/sheet.h"

#include "base/log.h"
#include "text/scan.h"

namespace tirelmo {

void resetTodoSheet(TodoSheet& sheet) {
  logLine(u"Reset ToDo Vars");
  for (TodoRow& r : sheet.rows) r.clear();
  for (RowLook& l : sheet.look) l = RowLook::Normal;
  sheet.dayTotals.clear();
  sheet.dayTotalsSaved.clear();
  sheet.readWithDamage = false;
  sheet.damagedFileWithoutCopy.clear();
}

bool isSeparatorText(u16v text) { return text == kSeparatorText; }

void placeSeparatorRow(TodoSheet& sheet) {
  if (sheet.separatorIndex != -1) return;
  const int n = sheet.rowCount();
  int chosen = -1;
  for (int r = 12; r <= 17 && r < n; ++r) {
    if (sheet.rows[static_cast<std::size_t>(r)].isFree()) {
      chosen = r;
      break;
    }
  }
  if (chosen < 0 && n > 18) {
    chosen = 18;
    if (!sheet.rows[18].isFree()) {
      // Row 18 holds a task: keep it by moving it to a free row, preferably still below
      // the separator.
      int target = -1;
      for (int r = 19; r < n && target < 0; ++r)
        if (sheet.rows[static_cast<std::size_t>(r)].isFree()) target = r;
      for (int r = 0; r < 12 && target < 0; ++r)
        if (sheet.rows[static_cast<std::size_t>(r)].isFree()) target = r;
      if (target < 0) {
        logLine(u"UnU not placed, no free row");
        return;
      }
      std::swap(sheet.rows[18], sheet.rows[static_cast<std::size_t>(target)]);
      std::swap(sheet.look[18], sheet.look[static_cast<std::size_t>(target)]);
      logLine(u"UnU: task of row %d moved to row %d", 18, target);
    }
  }
  if (chosen < 0) return;
  TodoRow& row = sheet.rows[static_cast<std::size_t>(chosen)];
  row.clear();
  row.text = kSeparatorText;
  sheet.look[static_cast<std::size_t>(chosen)] = RowLook::Normal;
  sheet.separatorIndex = chosen;
  logLine(u"UnU adjusted to %d", chosen);
}

bool isSheetNameDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

bool isTodaySheet(const TodoSheet& sheet, const DayDate& today) {
  if (sheet.sheetFileName.empty()) return true;
  int v[3] = {};
  if (scanInts(sheet.sheetFileName, u"DailyTask_%d-%d-%d", v, 3) < 3) {
    logLine(u"Error sscanf");
    return false;
  }
  return v[0] == today.year && v[1] == today.month && v[2] == today.day();
}

void recountDayTotals(TodoSheet& sheet, MonthTable& month, int todaySlot) {
  DayStats& t = sheet.dayTotals;
  t.clear();
  t.used = 1;
  if (todaySlot >= 0 && todaySlot < kMonthDays) month.days[static_cast<std::size_t>(todaySlot)].used = 1;
  // Rows hold what their loaders let through; the sum still must not overflow.
  std::int64_t minutes = 0;
  for (const TodoRow& r : sheet.rows) {
    t.pomodoros = static_cast<std::uint8_t>(t.pomodoros + r.pomodoros);
    t.abandoned = static_cast<std::uint8_t>(t.abandoned + r.abandoned);
    t.internalInterruptions = static_cast<std::uint8_t>(t.internalInterruptions + r.internalInterruptions);
    t.externalInterruptions = static_cast<std::uint8_t>(t.externalInterruptions + r.externalInterruptions);
    t.estimated = static_cast<std::uint8_t>(t.estimated + r.estimated);
    t.done = static_cast<std::uint8_t>(t.done + r.done);
    minutes += r.info.minutesToday;
  }
  t.setWorkedTime(minutes);
}

bool setRepeat(TodoSheet& sheet, int row, bool on) {
  if (!sheet.validRow(row)) return false;
  std::uint8_t& f = sheet.rows[static_cast<std::size_t>(row)].info.flags;
  f = on ? static_cast<std::uint8_t>(f | rowflag::kRepeat) : static_cast<std::uint8_t>(f & ~rowflag::kRepeat);
  return true;
}

void setRowLook(TodoSheet& sheet, int row) {
  if (!sheet.validRow(row)) return;
  sheet.look[static_cast<std::size_t>(row)] =
      sheet.rows[static_cast<std::size_t>(row)].isDone() ? RowLook::Done : RowLook::Normal;
}

}  // namespace tirelmo
