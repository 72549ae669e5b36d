#include "app/day_start.h"

#include <algorithm>

#include "base/log.h"
#include "app/damaged_sheet.h"
#include "app/sheet_io.h"
#include "sheet/legacy_formats.h"
#include "sheet/sheet_files.h"
#include "stats/done_archive.h"
#include "stats/yesterday_archive.h"
#include "storage/file_ops.h"
#include "storage/settings.h"
#include "text/scan.h"

namespace tirelmo {

namespace {

// Closes an open sheet file on every way out of the day start.
class OpenSheetFile {
 public:
  ~OpenSheetFile() { close(); }
  void close() {
    fileClose(handle);
    handle = kInvalidFile;
  }
  FileHandle handle = kInvalidFile;
};

u16 summaryText(const u16& text) {
  constexpr std::size_t kShown = 80;
  if (text.size() <= kShown) return text;
  return text.substr(0, kShown) + u"..";
}

// The previous sheet's date, from its file name. Names of the formats without the day of
// week get it computed; a name without a date dates the archives today.
DayDate previousSheetDateOf(const App& app, u16v path) {
  int v[4] = {};
  const int n = scanInts(baseName(path), u"DailyTask_%d-%d-%d-%d", v, 4);
  if (n < 4) logLine(u"Error sscanf");
  if (n < 3 || !isSheetNameDate(v[0], v[1], v[2])) return app.start.today;
  if (n == 3 || v[3] < 0 || v[3] > 6) v[3] = dayOfWeekOf(v[0], v[1], v[2]);
  return DayDate{v[0], v[1], v[3], v[2] - 1};
}

// The carry-over of the .pm6 and .pm5 sheets: both archives of the previous day are written
// while the rows go by.
RowCarryOver dayCarryOver(App& app) {
  return {[&app] { beginImport(app); }, [&app](int row) { carryOverRow(app, row); }, [&app] { endImport(app); }};
}

// The .pm4 sheets knew no yesterday archive: only the done tasks are archived.
RowCarryOver pm4CarryOver(App& app) {
  return {[&app] {
            const DayDate& d = app.start.previousSheetDate;
            openDoneArchive(app, d.year, d.month, d.day(), d.dayOfWeek);
          },
          [&app](int row) { carryOverRowPm4(app, row); }, [&app] { closeDoneArchive(app); }};
}

// The previous sheet (last2dofilename) carried over into the reset model.
bool importPreviousSheet(App& app) {
  logLine(u"todotoday of today does not exist.");
  const u16 path = app.settings.last2dofilename;
  if (path.empty()) return false;
  logPiece(u"loading previous 2dotoday:");
  logLine(u"%s", path);
  OpenSheetFile file;
  file.handle = fileOpen(path, OpenMode::ReadExisting);
  if (file.handle == kInvalidFile) {
    logLastError(u"CreateFile");
    app.settings.last2dofilename.clear();
    return false;
  }
  const RowCarryOver carryOver = dayCarryOver(app);
  const SheetFormat format = sheetFormatOfName(path);
  if (format == SheetFormat::Pm6) {
    file.close();
    return loadTodoSheetPm6(app, path, &carryOver);
  }
  if (format == SheetFormat::Pm5) return loadTodoSheetPm5(app, file.handle, &carryOver);
  if (format == SheetFormat::Pm4) {
    const RowCarryOver pm4 = pm4CarryOver(app);
    return bLoadDailyTaskPm4(app, file.handle, &pm4);
  }
  if (format == SheetFormat::Pm3) {
    if (!bLoadDailyTaskPm3(app, file.handle)) return false;
    app.sheet.dayTotals.used = app.sheet.dayTotalsSaved.used;
    return true;
  }
  logLine(u"Error: previous Tdl has an unknown format");
  return false;
}

// Today's sheet exists: open it as the run's sheet.
void openTodaySheet(App& app, OpenSheetFile& file, u16v extension, const u16& path) {
  if (extension == u".pm6") {
    file.close();
    loadTodoSheetPm6(app, path, nullptr);
  } else if (extension == u".pm5") {
    loadTodoSheetPm5(app, file.handle, nullptr);
  } else {
    bLoadDailyTaskPm4(app, file.handle, nullptr);
  }
  file.close();
  if (app.sheet.readWithDamage) keepDamagedSheet(app, path);
  if (extension == u".pm5") {
    logLine(u"Delete this pm5 file, it will be saved as %s", u".pm6");
    // The .pm5 goes only once its content is safe in the .pm6: a crash before the next save
    // would otherwise lose the day.
    if (saveTodoSheet(app, false)) {
      if (!deleteFile(path)) logLastError(u"DeleteFile");
    } else {
      logLine(u"pm5 file kept, today's sheet is not saved yet");
    }
  }
}

void startFromPreviousSheet(App& app) {
  TodoSheet& sheet = app.sheet;
  logLine(u"First run today");
  sheet.sheetFileName.clear();
  if (app.settings.last2dofilename.empty()) {
    logLine(u"No prev Tdl, this is a fresh install");
    return;
  }
  const DayDate prev = previousSheetDateOf(app, app.settings.last2dofilename);
  app.start.previousSheetDate = prev;
  logLine(u"Prev day: %d-%d-%d (%d)", prev.year, prev.month, prev.day(), prev.dayOfWeek);
  logLine(u"search 2dotoday from the past");
  const u16 previousPath = app.settings.last2dofilename;
  const bool imported = importPreviousSheet(app);
  // The file itself is not written, but the person must learn that rows were left behind.
  if (sheet.readWithDamage) keepDamagedSheet(app, previousPath, DamagedSheetUse::ReadOnly);
  if (!imported) return;
  logLine(u"ok imported undone tasks from prev Tdl. Create today Tdl.");
  // Marked so that a failed save leaves the new sheet flagged for the next one.
  sheet.modified = true;
  saveTodoSheet(app, false);
}

// Today's sheet is about to be replaced by a newer cloud copy. A wrong clock on another
// computer makes its copy look newer than today's work here, so the local file is kept
// beside itself first; without that copy the cloud copy is not taken.
bool keepLocalSheetBeforeCloud(u16v path) {
  u16 copy;
  switch (copyFileBeside(path, u"local-before-cloud", copy)) {
    case CopyOutcome::Made: logLine(u"Local sheet %s kept as %s, the cloud sheet replaces it", path, copy); return true;
    case CopyOutcome::KeptBefore: logLine(u"Local sheet %s kept before as %s", path, copy); return true;
    case CopyOutcome::NoFile: return true;
    case CopyOutcome::Failed: break;
  }
  logLastError(u"CopyFile");
  logLine(u"No copy of the local sheet %s, the cloud sheet is not taken", path);
  return false;
}

}  // namespace

DayStartOutcome startDay(App& app) {
  TodoSheet& sheet = app.sheet;
  logLine(u"search 2dotoday of Today NEW");
  resetTodoSheet(sheet);
  sheet.separatorIndex = -1;
  sheet.readOnly = false;
  app.start.displayedSheetDate = app.start.today;
  const u16 lastSheetBefore = app.settings.last2dofilename;

  const bool cloudOn = app.settings.cloudEna && app.cloud->available();
  bool downloaded = false;
  bool cloudNewer = false;
  if (cloudOn) {
    logLine(u"Cloud dir %s loc ts: %s", app.settings.cloudLogin, app.settings.tdlSavedOn);
    const int error = app.cloud->WebDownloadTodoList(app);
    if (error == 0) {
      downloaded = true;
      cloudNewer = app.cloud->CloudTdlIsMoreRecent(app);
    } else {
      logLine(u"Web Error %d with WebDownloadTodoList()", error);
      const MsgAnswer choice = app.prompts.show(app.tr(Txt::CloudContactFailed), app.tr(Txt::CaptionCloudError),
                                                MsgButtons::AbortRetryIgnore, MsgIcon::Information);
      if (choice == MsgAnswer::Abort) {
        logLine(u"Choice: abort");
        return DayStartOutcome::Abort;
      }
      if (choice == MsgAnswer::Retry) {
        logLine(u"Choice: retry");
        return DayStartOutcome::Retry;
      }
      logLine(u"Choice: ignore");
    }
  }

  OpenSheetFile today;
  u16 todayPath;
  u16v todayExtension;
  for (u16v extension : {u16v(u".pm6"), u16v(u".pm5"), u16v(u".pm4")}) {
    today.handle = searchTodaySheet(app, extension, &todayPath);
    if (today.handle != kInvalidFile) {
      todayExtension = extension;
      break;
    }
    // There but not to be opened (another program holds it): whatever this run saves as
    // today's sheet must not replace it before a copy of it is kept.
    if (pathKind(todayPath) == PathKind::File) keepDamagedSheet(app, todayPath);
  }
  const bool firstRun = today.handle == kInvalidFile;
  app.start.firstRunToday = firstRun;
  logLine(u"It's %sthe 1sr run today.", firstRun ? u"" : u"not ");
  logLine(u"Cloud %s", cloudOn ? u"enabled" : u"dis");
  logLine(u"Cloud Tdl is %s", cloudNewer ? u"newer" : u"older");
  logLine(u"Internet conn %s", downloaded ? u"ok" : u"down");

  const bool cloudWins = cloudOn && downloaded && cloudNewer && (firstRun || keepLocalSheetBeforeCloud(todayPath));
  if (!cloudWins) {
    // A download puts the cloud rows into the model; the local sheet must not be mixed
    // with them.
    if (cloudOn) resetTodoSheet(sheet);
    if (!firstRun)
      openTodaySheet(app, today, todayExtension, todayPath);
    else
      startFromPreviousSheet(app);
  } else {
    adoptSeparatorRow(sheet);
    recountDayTotals(sheet, app.month, app.todaySlot());
    if (firstRun) {
      sheet.sheetFileName.clear();
      app.cloud->downloadDoneAndWorkedLists(app);
    }
    sheet.modified = true;
  }

  today.close();
  if (sheet.modified) saveTodoSheet(app, false);
  // The next day carries over the sheet the settings file names. Left for the shut-down to
  // write, a run that never gets there (a crash, a power cut) would leave it naming the
  // day before: the next day would carry that older sheet over again, archive its done
  // tasks a second time and leave today's work behind.
  const u16& lastSheet = app.settings.last2dofilename;
  if (!lastSheet.empty() && lastSheet != lastSheetBefore) SaveSettingsToFile(app.settings, app.prompts);
  return DayStartOutcome::Done;
}

void beginImport(App& app) {
  YesterdayArchive& y = app.yesterday;
  y.completedLines.clear();
  y.workedLines.clear();
  const DayDate& d = app.start.previousSheetDate;
  openDoneArchive(app, d.year, d.month, d.day(), d.dayOfWeek);
  createYesterdayArchive(app, d.year, d.month, d.day(), d.dayOfWeek);
  y.completedLines.push_back(fmt(u"Last %s (%s %d, %d) I did:", dayNameEnglish(d.dayOfWeek),
                                 monthNameEnglish(d.month), d.day(), d.year));
}

void carryOverRow(App& app, int index) {
  TodoSheet& sheet = app.sheet;
  if (!sheet.validRow(index)) return;
  TodoRow& row = sheet.rows[static_cast<std::size_t>(index)];
  RowInfo& info = row.info;
  const bool done = row.isDone();
  const std::int32_t minutesToday = info.minutesToday;

  if (done || row.pomodoros != 0 || row.abandoned != 0) {
    const u16 line = fmt(u"%s - [minutes %d  pomos %d  aband %d  age %d]", summaryText(row.text),
                         static_cast<std::int64_t>(minutesToday) + info.pastMinutes,
                         row.pomodoros + row.pastPomodoros, row.abandoned + row.pastAbandoned, info.ageDays + 1);
    (done ? app.yesterday.completedLines : app.yesterday.workedLines).push_back(line);
    writeYesterdaySheetRow(app, row);
  }

  row.pastPomodoros = static_cast<std::uint8_t>(row.pastPomodoros + row.pomodoros);
  row.pastAbandoned = static_cast<std::uint8_t>(row.pastAbandoned + row.abandoned);
  row.pastInternal = static_cast<std::uint8_t>(row.pastInternal + row.internalInterruptions);
  row.pastExternal = static_cast<std::uint8_t>(row.pastExternal + row.externalInterruptions);
  info.pastMinutes = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(std::int64_t{info.pastMinutes} + minutesToday, 0, kMaxPastMinutes));
  row.pomodoros = row.abandoned = row.internalInterruptions = row.externalInterruptions = 0;
  info.minutesToday = 0;

  if (minutesToday != 0 || done) appendDoneTaskRow(app, row, belowSeparator(sheet, index), minutesToday);

  if (done) {
    if (row.hasFlag(rowflag::kRepeat)) {
      const std::uint8_t category = info.category;
      const std::int32_t projectId = info.projectId;
      row.clearScoresAndInfo();
      row.info.flags = rowflag::kRepeat;
      row.info.category = category;
      row.info.projectId = projectId;
    } else {
      row.clear();
    }
    sheet.look[static_cast<std::size_t>(index)] = RowLook::Normal;
  } else {
    sheet.look[static_cast<std::size_t>(index)] = RowLook::Normal;
    // A task carried over every day for most of a year stays at the top of the scale
    // instead of looking brand new.
    if (info.ageDays < 255) ++info.ageDays;
  }
}

void endImport(App& app) {
  closeDoneArchive(app);
  closeYesterdayArchive(app);
}

void carryOverRowPm4(App& app, int index) {
  TodoSheet& sheet = app.sheet;
  if (!sheet.validRow(index)) return;
  TodoRow& row = sheet.rows[static_cast<std::size_t>(index)];
  row.pastPomodoros = static_cast<std::uint8_t>(row.pastPomodoros + row.pomodoros);
  row.pastAbandoned = static_cast<std::uint8_t>(row.pastAbandoned + row.abandoned);
  row.pastInternal = static_cast<std::uint8_t>(row.pastInternal + row.internalInterruptions);
  row.pastExternal = static_cast<std::uint8_t>(row.pastExternal + row.externalInterruptions);
  row.pomodoros = row.abandoned = row.internalInterruptions = row.externalInterruptions = 0;
  if (row.isDone()) {
    appendDoneTaskRow(app, row, belowSeparator(sheet, index), 0);
    row.clear();
  }
  sheet.look[static_cast<std::size_t>(index)] = RowLook::Normal;
}

}  // namespace tirelmo
