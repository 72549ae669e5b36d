#include "app/sheet_io.h"

#include <memory>

#include "app/app.h"
#include "app/damaged_sheet.h"
#include "app/todolists.h"
#include "base/log.h"
#include "stats/month_stats.h"
#include "storage/file_ops.h"
#include "text/scan.h"

namespace tirelmo {

namespace {

// A sheet name saved as .pm6: an older sheet of today keeps its date. Names of the formats
// without the day of week get it back, so that the day start finds the file again.
u16 pm6NameOf(u16v name) {
  // Our temporary file is never a sheet of its own: it stands for the file it would replace.
  while (endsWithNoCase(name, u".tmp")) name.remove_suffix(4);
  int v[4] = {};
  if (scanInts(name, u"DailyTask_%d-%d-%d-%d", v, 4) == 3 && isSheetNameDate(v[0], v[1], v[2]))
    return sheetFileNameFor(v[0], v[1], v[2], dayOfWeekOf(v[0], v[1], v[2]), u".pm6");
  if (sheetFormatOfName(name) != SheetFormat::Unknown) name.remove_suffix(4);
  return u16(name) + u".pm6";
}

// The folders of one month below "DailyTask"; an existing folder is fine.
bool createSheetFolders(App& app, int year, int month) {
  u16 folder = joinPath(app.start.userDataDir, u"DailyTask");
  for (const u16& part : {u16(), fmt(u"%d", year), fmt(u"%d", month)}) {
    if (!part.empty()) folder = joinPath(folder, part);
    if (createDirectory(folder) == MkdirResult::Failed) {
      logLastError(u"CreateDirectory");
      return false;
    }
  }
  return true;
}

// The rows go up one by one and stop at the first that fails: with the service out of
// reach every further row would only keep the window waiting for its timeout.
void uploadSheet(App& app) {
  logPiece(u"Upl todo..");
  const bool bar = app.ui.mainWindowExists;
  if (bar) App::call(app.hooks.sheetUploadProgress, 0);
  int error = 0;
  for (int row = 0; row < app.sheet.rowCount() && error == 0; ++row) {
    error = app.cloud->uploadRow(app, row);
    if (bar) App::call(app.hooks.sheetUploadProgress, row + 1);
  }
  if (bar) App::call(app.hooks.sheetUploadProgress, -1);
  if (error != 0)
    logLine(u"Upl failed, err: %d", error);
  else
    logLine(u"Upl ok");
}

void setDisplayedDate(App& app, u16v name) {
  int v[4] = {};
  const int n = scanInts(name, u"DailyTask_%d-%d-%d-%d", v, 4);
  if (n < 3 || !isSheetNameDate(v[0], v[1], v[2])) return;
  if (n < 4 || v[3] < 0 || v[3] > 6) v[3] = dayOfWeekOf(v[0], v[1], v[2]);
  app.start.displayedSheetDate = DayDate{v[0], v[1], v[3], v[2] - 1};
}

void creditProjectMinutes(App& app, std::int32_t projectId, std::int32_t minutes) {
  for (Project& p : app.projects.active) {
    if (p.id == projectId) {
      p.minutesToday = static_cast<std::uint16_t>(p.minutesToday + static_cast<std::uint32_t>(minutes));
      return;
    }
  }
}

// What the older loaders share after their parse: a separator from the texts, the looks.
void settleOlderSheet(App& app) {
  adoptSeparatorRow(app.sheet);
  setLooks(app.sheet);
}

}  // namespace

// ---- Names ------------------------------------------------------------------------------

void getTodayTdlFileName(App& app, u16v extension) {
  logLine(u"%s() format %s", u"getTodayTdlFileName", extension);
  const LocalTime& t = app.start.startTime;
  app.sheet.sheetFileName = sheetFileNameFor(t.year, t.month, t.day, t.dayOfWeek, extension);
  logLine(u" => %s", app.sheet.sheetFileName);
}

FileHandle searchTodaySheet(App& app, u16v extension, u16* path) {
  logLine(u"Searching today todo sheet.. ");
  getTodayTdlFileName(app, extension);
  const LocalTime& t = app.start.startTime;
  const u16 full = sheetFilePath(app.start.userDataDir, t.year, t.month, app.sheet.sheetFileName);
  logLine(u"%s", full);
  if (path) *path = full;
  return fileOpen(full, OpenMode::ReadExisting);
}

// ---- Saving -----------------------------------------------------------------------------

bool saveTodoSheet(App& app, bool uploadToCloud) {
  TodoSheet& sheet = app.sheet;
  // An earlier day's sheet is read-only: written under today's folder it would also become
  // last2dofilename, and the next day would carry the wrong sheet over.
  if (!isTodaySheet(sheet, app.start.today)) {
    logLine(u"Save ToDo sheet skipped, %s is not today's sheet", sheet.sheetFileName);
    return false;
  }
  // A sheet read from a damaged file holds only what could be read: the file as it was must
  // be kept before anything is written over it.
  if (!keepDamagedSheetBeforeSave(app)) {
    app.prompts.show(app.tr(Txt::ErrSavingSheet), app.tr(Txt::CaptionError), MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
  }
  const LocalTime now = app.clock.now();
  const u16 previousStamp = app.settings.tdlSavedOn;
  app.settings.tdlSavedOn = fmt(u"%d,%d,%d,%d,%d,%d,%d", now.year, now.month, now.day, now.hour, now.minute,
                                now.second, now.milliseconds);
  if (app.settings.cloudEna && uploadToCloud && app.cloud->available()) uploadSheet(app);

  logLine(u"Save ToDo sheet %s ", sheet.sheetFileName);
  if (sheet.sheetFileName.empty())
    getTodayTdlFileName(app, u".pm6");
  else if (sheetFormatOfName(sheet.sheetFileName) != SheetFormat::Pm6)
    sheet.sheetFileName = pm6NameOf(sheet.sheetFileName);

  const int year = app.start.startTime.year;
  const int month = app.start.startTime.month;
  const u16 path = sheetFilePath(app.start.userDataDir, year, month, sheet.sheetFileName);
  logLine(u"%s", path);

  std::string bytes = encodeSheetHeader();
  for (int i = 0; i < sheet.rowCount(); ++i) appendRowRecord(bytes, sheet.rows[static_cast<std::size_t>(i)], i);

  auto failed = [&](bool tellUser) {
    app.settings.tdlSavedOn = previousStamp;
    if (tellUser)
      app.prompts.show(app.tr(Txt::ErrSavingSheet), app.tr(Txt::CaptionError), MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
  };

  auto writer = std::make_unique<AtomicFileWriter>(path);
  if (!writer->isOpen()) {
    logLastError(u"CreateFile");
    logLine(u"Some subfolder might not exist");
    if (!createSheetFolders(app, year, month)) return failed(false);
    writer = std::make_unique<AtomicFileWriter>(path);
    if (!writer->isOpen()) {
      logLastError(u"CreateFile");
      return failed(true);
    }
    logLine(u"Ok created %s", path);
  }
  if (!writer->write(bytes) || !writer->commit()) return failed(true);

  sheet.modified = false;
  App::call(app.hooks.refreshTitle);
  app.settings.last2dofilename = path;
  return true;
}

bool SaveAllSheets(App& app) {
  logLine(u"SaveAllSheets");
  App::call(app.hooks.takeEditorTexts);
  const bool sheetSaved = saveTodoSheet(app, true);
  if (!saveTodolistInView(app)) {
    const TodolistRegistry& reg = app.todolists;
    app.prompts.show(fmt(app.tr(Txt::TodolistSaveFailed), reg.entries[static_cast<std::size_t>(reg.current)].title),
                     app.tr(Txt::CaptionError), MsgButtons::Ok, MsgIcon::Exclamation);
  }
  return sheetSaved;
}

SaveChoice SaveDiscardChanges(App& app) {
  // An earlier day's sheet is never written, whatever its flag says.
  if (!app.sheet.modified || !isTodaySheet(app.sheet, app.start.today)) return SaveChoice::NotModified;
  const MsgAnswer a = app.prompts.show(app.tr(Txt::AskSaveModifiedPage), app.tr(Txt::CaptionVersion),
                                       MsgButtons::YesNo, MsgIcon::Information);
  if (a != MsgAnswer::Yes) return SaveChoice::Discarded;
  logLine(u"%s(%d)", u"SaveDiscardChanges", 13098);
  return SaveAllSheets(app) ? SaveChoice::Saved : SaveChoice::Failed;
}

// ---- Loading ----------------------------------------------------------------------------

bool loadTodoSheetPm6(App& app, u16v path, const RowCarryOver* carryOver, ProjectCredit credit) {
  logLine(u"load: %s", path);
  TodoSheet& sheet = app.sheet;
  sheet.readWithDamage = false;
  if (pathKind(path) != PathKind::File) {
    logLine(u"Tdl file does not exists");
    return false;
  }
  const FileHandle h = fileOpen(path, OpenMode::ReadExisting);
  if (h == kInvalidFile) {
    logLastError(u"CreateFile");
    // It is there but nothing of it could be read: what is in memory must not replace it.
    sheet.readWithDamage = true;
    return false;
  }
  const std::int64_t onDisk = fileSize(h);
  const std::string bytes = readOpenFile(h, kMaxSheetFileBytes);
  fileClose(h);
  bool damaged = onDisk >= 0 && static_cast<std::uint64_t>(onDisk) != bytes.size();
  if (damaged) logLine(u"Tdl file read %u of %d bytes", bytes.size(), onDisk);

  logPiece(u"Load scores, ");
  logLine(carryOver ? u"Import" : u"dont import");
  if (carryOver) carryOver->begin();

  sheet.separatorIndex = -1;
  bool recordsDamaged = false;
  readRowRecords(
      bytes, sheet.rowCount(),
      [&](int index, TodoRow& row) { sheet.rows[static_cast<std::size_t>(index)] = std::move(row); },
      &recordsDamaged);
  sheet.readWithDamage = damaged || recordsDamaged;
  visitLoadedRows(app, carryOver, credit);
  if (carryOver) carryOver->end();

  recountDayTotals(sheet, app.month, app.todaySlot());
  sheet.dayTotals.used = sheet.dayTotalsSaved.used;
  placeSeparatorRow(sheet);
  logLine(u"UnU at %d", sheet.separatorIndex);
  return true;
}

bool DisplayToDoSheet(App& app, u16v path) {
  logLine(u"%s() %s", u"DisplayToDoSheet", path);
  const u16 name = baseName(path);
  const SheetFormat format = sheetFormatOfName(name);
  if (format == SheetFormat::Unknown) {
    app.prompts.show(app.tr(Txt::ErrUnknownSheetFormat), app.tr(Txt::CaptionError), MsgButtons::Ok, MsgIcon::Error);
    return false;
  }
  if (format == SheetFormat::Pom) logLine(u"Opening old .pom file");
  logPiece(u"Opening ToDo sheet ");
  logLine(u"%s", path);
  FileHandle h = fileOpen(path, OpenMode::ReadExisting);
  if (h == kInvalidFile) {
    logLastError(u"CreateFile");
    app.prompts.show(app.tr(Txt::ErrOpeningSheet), app.tr(Txt::CaptionError), MsgButtons::Ok, MsgIcon::Error);
    return false;
  }

  TodoSheet& sheet = app.sheet;
  sheet.sheetFileName = name;
  setDisplayedDate(app, name);
  sheet.readOnly = !isTodaySheet(sheet, app.start.today);
  sheet.modified = false;
  resetTodoSheet(sheet);

  bool ok = false;
  switch (format) {
    case SheetFormat::Pm6:
      fileClose(h);
      h = kInvalidFile;
      ok = loadTodoSheetPm6(app, path, nullptr, ProjectCredit::Skip);
      break;
    case SheetFormat::Pm5: ok = loadTodoSheetPm5(app, h, nullptr, ProjectCredit::Skip); break;
    case SheetFormat::Pm4: ok = bLoadDailyTaskPm4(app, h, nullptr); break;
    case SheetFormat::Pm3: ok = bLoadDailyTaskPm3(app, h); break;
    case SheetFormat::Pm2: ok = bLoadDailyTaskPm2(app, h); break;
    case SheetFormat::Pm1: ok = bLoadDailyTaskPm1(app, h); break;
    case SheetFormat::Pom: ok = bLoadDailyTaskPom(app, h); break;
    case SheetFormat::Unknown: break;
  }
  fileClose(h);
  if (!ok) logLine(u"Nothing read from %s", path);
  if (sheet.readWithDamage) keepDamagedSheet(app, path);

  App::call(app.hooks.sheetDisplayed);
  if (!sheet.readOnly) takeTodayTotalsFromMonth(app);
  return true;
}

void visitLoadedRows(App& app, const RowCarryOver* carryOver, ProjectCredit credit) {
  TodoSheet& sheet = app.sheet;
  for (int i = 0; i < sheet.rowCount(); ++i) {
    TodoRow& row = sheet.rows[static_cast<std::size_t>(i)];
    if (isSeparatorText(row.text)) {
      if (sheet.separatorIndex == -1) {
        sheet.separatorIndex = i;
        row.clearScoresAndInfo();
      } else {
        row.clear();
      }
      sheet.look[static_cast<std::size_t>(i)] = RowLook::Normal;
    } else if (row.isFree()) {
      row.clear();
      sheet.look[static_cast<std::size_t>(i)] = RowLook::Normal;
    } else if (!carryOver) {
      setRowLook(sheet, i);
      if (credit == ProjectCredit::Credit && row.info.projectId != 0 && row.info.minutesToday != 0)
        creditProjectMinutes(app, row.info.projectId, row.info.minutesToday);
    } else {
      carryOver->row(i);
    }
  }
}

// ---- Loaders ----------------------------------------------------------------------------

bool loadTodoSheetPm5(App& app, FileHandle file, const RowCarryOver* carryOver, ProjectCredit credit) {
  logLine(u"load .pm5 todotoday.");
  const std::string bytes = readFixedFormat(app.sheet, file, kPm5FileBytes, u"loadTodoSheetPm5");
  if (bytes.empty()) return false;
  if (carryOver) carryOver->begin();
  TodoSheet& sheet = app.sheet;
  sheet.separatorIndex = -1;
  parsePm5(bytes, sheet, !carryOver);
  visitLoadedRows(app, carryOver, credit);
  if (carryOver) {
    carryOver->end();
    // The file's day record belongs to the previous day; today's totals come from the rows.
    recountDayTotals(sheet, app.month, app.todaySlot());
  }
  placeSeparatorRow(sheet);
  logLine(u"UnU at %d", sheet.separatorIndex);
  return true;
}

bool bLoadDailyTaskPm4(App& app, FileHandle file, const RowCarryOver* carryOver) {
  logLine(u"bLoadDailyTaskPm4");
  const std::string bytes = readFixedFormat(app.sheet, file, kPm4FileBytes, u"bLoadDailyTaskPm4");
  if (bytes.empty()) return false;
  TodoSheet& sheet = app.sheet;
  parsePm4(bytes, sheet);
  adoptSeparatorRow(sheet);
  if (carryOver) {
    carryOver->begin();
    for (int i = 0; i < sheet.rowCount(); ++i)
      if (!sheet.rows[static_cast<std::size_t>(i)].isFree() && i != sheet.separatorIndex) carryOver->row(i);
    carryOver->end();
  }
  setLooks(sheet);
  return true;
}

bool bLoadDailyTaskPm3(App& app, FileHandle file) {
  logLine(u"bLoadDailyTaskPm3");
  const std::string bytes = readFixedFormat(app.sheet, file, kPm3FileBytes, u"bLoadDailyTaskPm3");
  if (bytes.empty()) return false;
  parsePm3(bytes, app.sheet);
  settleOlderSheet(app);
  return true;
}

bool bLoadDailyTaskPm2(App& app, FileHandle file) {
  logLine(u"bLoadDailyTaskPm2");
  const std::string bytes = readFixedFormat(app.sheet, file, kPm3FileBytes, u"bLoadDailyTaskPm2");
  if (bytes.empty()) return false;
  parseScoreCharFormat(bytes, app.sheet, 25, 0);
  settleOlderSheet(app);
  return true;
}

bool bLoadDailyTaskPm1(App& app, FileHandle file) {
  logLine(u"bLoadDailyTaskPm1");
  const std::string bytes = readFixedFormat(app.sheet, file, kPm1FileBytes, u"bLoadDailyTaskPm1");
  if (bytes.empty()) return false;
  parseScoreCharFormat(bytes, app.sheet, 15, 8);
  settleOlderSheet(app);
  return true;
}

bool bLoadDailyTaskPom(App& app, FileHandle file) {
  logLine(u"bLoadDailyTaskPom");
  const std::string bytes = readFixedFormat(app.sheet, file, kPomFileBytes, u"bLoadDailyTaskPom");
  if (bytes.empty()) return false;
  parseScoreCharFormat(bytes, app.sheet, 10, 5);
  settleOlderSheet(app);
  return true;
}

}  // namespace tirelmo
