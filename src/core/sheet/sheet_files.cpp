#include "sheet/sheet_files.h"

#include <memory>

#include "storage/le_bytes.h"
#include "app/log.h"
#include "sheet/damaged_sheet.h"
#include "sheet/legacy_formats.h"
#include "stats/month_stats.h"
#include "storage/file_ops.h"
#include "storage/scrambler.h"
#include "text/scan.h"

namespace tirelmo {

namespace {

// The text as a record stores it: up to a NUL the editors never produce, at most 179 units.
u16v storedText(const u16& text) {
  u16v t(text);
  const std::size_t nul = t.find(u'\0');
  if (nul != u16v::npos) t = t.substr(0, nul);
  return t.substr(0, kRowTextMax);
}

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

void uploadSheet(App& app) {
  logPiece(u"Upl todo..");
  const bool bar = app.ui.mainWindowExists;
  if (bar) App::call(app.hooks.sheetUploadProgress, 0);
  int total = 0;
  for (int row = 0; row < app.sheet.rowCount(); ++row) {
    total |= app.cloud->uploadRow(app, row);
    if (bar) App::call(app.hooks.sheetUploadProgress, row + 1);
  }
  if (bar) App::call(app.hooks.sheetUploadProgress, -1);
  if (total != 0)
    logLine(u"Upl failed, err: %d", total);
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

}  // namespace

// ---- Names and folders ----------------------------------------------------------------

u16 sheetFileNameFor(int year, int month, int day, int dayOfWeek, u16v extension) {
  if (extension == u".pm6" || extension == u".pm5")
    return fmt(u"DailyTask_%d-%d-%d-%d%s", year, month, day, dayOfWeek, extension);
  return fmt(u"DailyTask_%d-%d-%d%s", year, month, day, extension);
}

u16 sheetFilePath(u16v userDataDir, int year, int month, u16v fileName) {
  return fmt(u"%s\\DailyTask\\%d\\%d\\%s", userDataDir, year, month, fileName);
}

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

// ---- The row record ---------------------------------------------------------------------

std::string encodeSheetHeader() {
  std::string h(kSheetHeaderBytes, '\0');
  putLe32(reinterpret_cast<unsigned char*>(h.data()), kSheetHeaderBytes);
  h[4] = static_cast<char>(kSheetFormatVersion);
  return h;
}

void appendRowRecord(std::string& out, const TodoRow& row, int index) {
  const u16v text = storedText(row.text);
  if (text.empty()) return;
  const std::uint32_t textBytes = static_cast<std::uint32_t>(2 * text.size());
  const std::uint32_t len = kRowRecordFixedBytes + textBytes;
  std::string rec(len, '\0');
  auto* p = reinterpret_cast<unsigned char*>(rec.data());
  const RowInfo& info = row.info;
  putLe32(p, len);
  p[4] = static_cast<unsigned char>(index);
  p[5] = row.pomodoros;
  p[6] = row.abandoned;
  p[7] = row.internalInterruptions;
  p[8] = row.externalInterruptions;
  p[9] = row.estimated;
  // In memory bit 0 is the unplanned flag, which is not stored; on disk it is the done mark.
  p[10] = static_cast<unsigned char>((row.isDone() ? 1 : 0) | (info.flags & (rowflag::kRepeat | rowflag::kDeadline)));
  p[11] = row.pastPomodoros;
  p[12] = row.pastAbandoned;
  p[13] = row.pastInternal;
  p[14] = row.pastExternal;
  p[15] = info.ageDays;
  p[16] = info.category;
  putLe32(p + 20, static_cast<std::uint32_t>(info.minutesToday));
  putLe32(p + 24, static_cast<std::uint32_t>(info.pastMinutes));
  putLe32(p + 28, static_cast<std::uint32_t>(info.projectId));
  putLe32(p + 32, static_cast<std::uint32_t>(info.reserved1));
  putLe32(p + 36, static_cast<std::uint32_t>(info.reserved2));
  putLe32(p + 40, static_cast<std::uint32_t>(info.reserved3));
  p[44] = info.deadlineYear;
  p[45] = info.deadlineMonth;
  p[46] = info.deadlineDay;
  p[48] = static_cast<unsigned char>(info.reserved4);
  p[49] = static_cast<unsigned char>(info.reserved4 >> 8);
  std::string plain(textBytes, '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    plain[2 * i] = static_cast<char>(text[i] & 0xFF);
    plain[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  scrambleBytes(plain.data(), p + kRowRecordTextOffset, textBytes);
  out += rec;
}

RowRecordStatus decodeRowRecord(std::string_view record, int rowCount, int& index, TodoRow& row) {
  const std::size_t len = record.size();
  if (len < kRowRecordFixedBytes || len > kRowRecordMaxBytes || len % 2 != 0) return RowRecordStatus::BadLength;
  const auto* p = reinterpret_cast<const unsigned char*>(record.data());
  index = p[4];
  if (index >= rowCount) return RowRecordStatus::BadIndex;
  row = TodoRow();
  RowInfo& info = row.info;
  row.pomodoros = p[5];
  row.abandoned = p[6];
  row.internalInterruptions = p[7];
  row.externalInterruptions = p[8];
  row.estimated = p[9];
  row.done = (p[10] & 1) ? 1 : 0;
  info.flags = static_cast<std::uint8_t>(p[10] & (rowflag::kRepeat | rowflag::kDeadline));
  row.pastPomodoros = p[11];
  row.pastAbandoned = p[12];
  row.pastInternal = p[13];
  row.pastExternal = p[14];
  info.ageDays = p[15];
  info.category = p[16];
  info.minutesToday = static_cast<std::int32_t>(getLe32(p + 20));
  info.pastMinutes = static_cast<std::int32_t>(getLe32(p + 24));
  info.projectId = static_cast<std::int32_t>(getLe32(p + 28));
  info.reserved1 = static_cast<std::int32_t>(getLe32(p + 32));
  info.reserved2 = static_cast<std::int32_t>(getLe32(p + 36));
  info.reserved3 = static_cast<std::int32_t>(getLe32(p + 40));
  info.deadlineYear = p[44];
  info.deadlineMonth = p[45];
  info.deadlineDay = p[46];
  info.reserved4 = static_cast<std::uint16_t>(p[48] | (p[49] << 8));
  const std::size_t textBytes = len - kRowRecordFixedBytes;
  unsigned char plain[2 * kRowTextMax];
  descrambleBytes(p + kRowRecordTextOffset, plain, textBytes);
  for (std::size_t i = 0; i < textBytes; i += 2) {
    const char16_t unit = static_cast<char16_t>(plain[i] | (plain[i + 1] << 8));
    if (unit == 0) break;
    row.text.push_back(unit);
  }
  clampLoadedRow(row);
  return RowRecordStatus::Ok;
}

namespace {

bool recordLengthInRange(std::uint32_t len) {
  return len >= kRowRecordFixedBytes && len <= kRowRecordMaxBytes && len % 2 == 0;
}

// What a record ending at `end` leads to when its length is right: the end of the data, a
// tail too short to be anything but a torn record, or the next record's length.
bool leadsToRecord(const unsigned char* p, std::size_t size, std::size_t end) {
  return end == size || size - end < 4 || recordLengthInRange(getLe32(p + end));
}

// A record that can be trusted after damage: its length in range and inside the data, its
// row index in range, the two zero bytes every record ends with, and after it the end of
// the data or a record with both its length and its row index in range. (A field of a
// record that merely looks like a length rarely passes all of that.)
bool wholeRecordAt(const unsigned char* p, std::size_t size, std::size_t pos, int rowCount) {
  if (size - pos < kRowRecordFixedBytes) return false;
  const std::uint32_t len = getLe32(p + pos);
  if (!recordLengthInRange(len) || len > size - pos || p[pos + 4] >= rowCount) return false;
  const std::size_t end = pos + len;
  if (p[end - 2] != 0 || p[end - 1] != 0) return false;
  if (end == size) return true;
  return size - end >= 5 && recordLengthInRange(getLe32(p + end)) && p[end + 4] < rowCount;
}

std::size_t findWholeRecord(const unsigned char* p, std::size_t size, std::size_t from, int rowCount) {
  for (std::size_t q = from; q + kRowRecordFixedBytes <= size; ++q)
    if (wholeRecordAt(p, size, q, rowCount)) return q;
  return std::string_view::npos;
}

}  // namespace

int readRowRecords(std::string_view data, int rowCount, const std::function<void(int, TodoRow&)>& onRow,
                   bool* damaged) {
  const auto* p = reinterpret_cast<const unsigned char*>(data.data());
  const std::size_t size = data.size();
  constexpr std::size_t npos = std::string_view::npos;
  bool skipped = false;
  const auto report = [&](int rows) {
    if (damaged) *damaged = skipped;
    return rows;
  };
  if (size < 4) {
    if (size != 0) {
      logLine(u"Tdl header cut after %u bytes", size);
      skipped = true;
    }
    return report(0);
  }
  // The header's content is not needed: any version loads, whatever its length, as long as
  // that length leads to a record or to the end of the file.
  const std::uint32_t headerLen = getLe32(p);
  std::size_t pos = headerLen;
  if (headerLen > size || (headerLen != kSheetHeaderBytes && (headerLen < 4 || !leadsToRecord(p, size, headerLen)))) {
    logLine(u"Tdl header damaged: length %u of %u bytes", headerLen, size);
    skipped = true;
    // Every header ever written is 40 bytes long; failing that, the records are searched.
    if (size >= kSheetHeaderBytes && leadsToRecord(p, size, kSheetHeaderBytes)) {
      pos = kSheetHeaderBytes;
    } else {
      pos = findWholeRecord(p, size, 4, rowCount);
      if (pos == npos) pos = size;
    }
  }
  int rows = 0;
  while (pos < size) {
    const std::size_t left = size - pos;
    const std::uint32_t len = left >= 4 ? getLe32(p + pos) : 0;
    if (left < 4 || !recordLengthInRange(len) || len > left) {
      skipped = true;
      const std::size_t next = findWholeRecord(p, size, pos + 1, rowCount);
      if (next == npos) {
        logLine(u"Tdl record at byte %u cut or damaged (length %u, %u bytes left): load ends here", pos, len, left);
        break;
      }
      logLine(u"Tdl record at byte %u damaged (length %u): load goes on at byte %u", pos, len, next);
      pos = next;
      continue;
    }
    const std::size_t end = pos + len;
    if (!leadsToRecord(p, size, end)) {
      // Either this record's length is wrong or the next one's is: a whole record starting
      // inside this one tells which.
      skipped = true;
      const std::size_t next = findWholeRecord(p, size, pos + 1, rowCount);
      if (next != npos && next < end) {
        logLine(u"Tdl record at byte %u skipped: length %u runs into the record at byte %u", pos, len, next);
        pos = next;
        continue;
      }
    }
    int index = -1;
    TodoRow row;
    switch (decodeRowRecord(data.substr(pos, len), rowCount, index, row)) {
      case RowRecordStatus::BadLength:
        logLine(u"Tdl record at byte %u skipped: bad length %u", pos, len);
        skipped = true;
        break;
      case RowRecordStatus::BadIndex:
        logLine(u"Tdl record at byte %u skipped: row %d out of range", pos, index);
        skipped = true;
        break;
      case RowRecordStatus::Ok:
        onRow(index, row);
        ++rows;
        break;
    }
    pos = end;
  }
  return report(rows);
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
  return saveTodoSheet(app, true);
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

}  // namespace tirelmo
