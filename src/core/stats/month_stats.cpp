#include "stats/month_stats.h"

#include <algorithm>
#include <cstdint>

#include "app/app.h"
#include "base/log.h"
#include "platform/file.h"
#include "storage/file_ops.h"
#include "storage/scrambler.h"

namespace tirelmo {

namespace {

void tableToBytes(const MonthTable& table, std::uint8_t out[kMonthTableBytes]) {
  for (int d = 0; d < kMonthDays; ++d) table.days[static_cast<std::size_t>(d)].toBytes(out + 16 * d);
}

void tableFromBytes(MonthTable& table, const std::uint8_t in[kMonthTableBytes]) {
  for (int d = 0; d < kMonthDays; ++d) table.days[static_cast<std::size_t>(d)] = DayStats::fromBytes(in + 16 * d);
}

}  // namespace

void monthTableFromFileBytes(std::string_view bytes, MonthTable& table) {
  std::uint8_t raw[kMonthTableBytes] = {};
  const std::size_t have = std::min(bytes.size(), kMonthTableBytes);
  // Only what the file held is unscrambled: the descrambled form of the zero padding is not
  // zero, and would show as days that never happened.
  descrambleBytes(bytes.data(), raw, have);
  tableFromBytes(table, raw);
}

u16 monthStatsPath(const App& app) {
  return joinPath(app.start.userDataDir, fmt(u"stats\\%d-%d.ats", app.start.today.year, app.start.today.month));
}

namespace {

DayStats* todaySlotOf(App& app) {
  const int slot = app.todaySlot();
  return slot >= 0 && slot < kMonthDays ? &app.month.days[static_cast<std::size_t>(slot)] : nullptr;
}

}  // namespace

DayStats& todayTotals(App& app) {
  if (isTodaySheet(app.sheet, app.start.today)) return app.sheet.dayTotals;
  // Without a slot for today (a start date out of range) there is no better place.
  DayStats* slot = todaySlotOf(app);
  return slot ? *slot : app.sheet.dayTotals;
}

const DayStats& todayTotals(const App& app) { return todayTotals(const_cast<App&>(app)); }

void markDayUsed(App& app) {
  todayTotals(app).used = 1;
  if (DayStats* slot = todaySlotOf(app)) slot->used = 1;
}

void copyDayTotalsToMonth(App& app) {
  markDayUsed(app);
  // An earlier sheet's totals are that day's; today's slot already holds today's.
  if (!isTodaySheet(app.sheet, app.start.today)) return;
  if (DayStats* slot = todaySlotOf(app)) {
    *slot = app.sheet.dayTotals;
    app.month.todayKept = true;
  }
}

void takeTodayTotalsFromMonth(App& app) {
  DayStats* slot = todaySlotOf(app);
  if (!isTodaySheet(app.sheet, app.start.today) || !slot) return;
  if (app.month.todayKept) app.sheet.dayTotals = *slot;
  copyDayTotalsToMonth(app);
}

void LoadMonthStatData(App& app) {
  const u16 path = monthStatsPath(app);
  logPiece(u"Loading Month Stats..");
  logLine(u"%s", path);
  app.month.clear();

  const FileHandle h = fileOpen(path, OpenMode::ReadExisting);
  if (h == kInvalidFile) {
    logLastError(u"LoadMonthStatData");
  } else {
    std::uint8_t raw[kMonthTableBytes] = {};
    std::uint32_t total = 0;
    bool readFailed = false;
    while (total < kMonthTableBytes) {
      std::uint32_t got = 0;
      if (!fileRead(h, raw + total, static_cast<std::uint32_t>(kMonthTableBytes) - total, got)) {
        readFailed = true;
        break;
      }
      if (got == 0) break;
      total += got;
    }
    const std::uint32_t error = readFailed ? lastErrorCode() : 0;
    fileClose(h);
    if (total > 0) {
      monthTableFromFileBytes(std::string_view(reinterpret_cast<const char*>(raw), total), app.month);
      logLine(u"Month Stat data loaded");
    } else {
      logLine(u"Completing Month data loading..");
      if (readFailed)
        logLine(u"GetOverlappedResult() returned %d", error);
      else
        logLine(u"ERROR_HANDLE_EOF ");
    }
  }
  // Today's counts always come from today's sheet, whatever the file held for today; a
  // missing file (the first day of a month) gets today's record as well, so that a save
  // before the first score does not drop the day.
  copyDayTotalsToMonth(app);
}

bool SaveMonthStatData(App& app) {
  const u16 path = monthStatsPath(app);
  logPiece(u"Saving Month Stats..");
  logLine(u"%s", path);

  AtomicFileWriter file(path);
  if (!file.isOpen()) {
    logLastError(u"SaveMonthStatData");
    app.prompts.show(app.tr(Txt::ErrSavingMonthStatsFile), app.tr(Txt::CaptionError), MsgButtons::Ok,
                     MsgIcon::Warning);
    return false;
  }
  std::uint8_t plain[kMonthTableBytes];
  std::uint8_t scrambled[kMonthTableBytes];
  tableToBytes(app.month, plain);
  scrambleBytes(plain, scrambled, kMonthTableBytes);
  // A write or a swap that fails leaves the previous file in place; the user must hear of
  // it all the same, since this month's new counts are not on the disk.
  if (!file.write(scrambled, static_cast<std::uint32_t>(kMonthTableBytes)) || !file.commit()) {
    app.prompts.show(app.tr(Txt::ErrSavingMonthStatsData), app.tr(Txt::CaptionError), MsgButtons::Ok,
                     MsgIcon::Warning);
    return false;
  }
  return true;
}

}  // namespace tirelmo
