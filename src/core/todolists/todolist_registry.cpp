#include "todolists/todolist_registry.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/log.h"
#include "sheet/sheet_files.h"
#include "sheet/sheet_load.h"
#include "storage/csv.h"
#include "storage/file_ops.h"
#include "storage/record_file.h"
#include "text/format.h"

namespace tirelmo {

namespace {

constexpr char16_t kRegistryHeader[] = u"\"ID\",\"Title\",\"Path\",\"FreeRows\"";
constexpr char16_t kListExtension[] = u".pm6";
// The longest full path the file functions take without the long-path prefix.
constexpr std::size_t kMaxPathUnits = 259;

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// A title cut to its limit keeps whole characters: half a surrogate pair would become a
// replacement character in the file name.
u16 cutTitle(u16v title) {
  if (title.size() <= kTodolistTitleMax) return u16(title);
  std::size_t n = kTodolistTitleMax;
  if (isHighSurrogate(title[n - 1])) --n;
  return u16(title.substr(0, n));
}

// Case folding as the file system compares names: beyond ASCII, Latin-1, Greek, Cyrillic
// and the full-width letters fold too, so "Über" and "über" are one file.
char16_t foldName(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0x20);
  return c;
}

bool sameName(u16v a, u16v b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (foldName(a[i]) != foldName(b[i])) return false;
  return true;
}

bool isDeviceName(u16v name) {
  // Windows ignores what follows the first dot ("nul.txt") and blanks before it.
  u16v base = name.substr(0, std::min(name.find(u'.'), name.size()));
  while (!base.empty() && base.back() == u' ') base.remove_suffix(1);
  for (u16v device : {u16v(u"CON"), u16v(u"PRN"), u16v(u"AUX"), u16v(u"NUL"), u16v(u"CONIN$"), u16v(u"CONOUT$")})
    if (sameName(base, device)) return true;
  if (base.size() != 4) return false;
  const u16v stem = base.substr(0, 3);
  if (!sameName(stem, u"COM") && !sameName(stem, u"LPT")) return false;
  const char16_t digit = base[3];
  // The superscript digits name the same ports.
  return (digit >= u'1' && digit <= u'9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

bool hasBadCharacter(u16v name) {
  if (name == u"." || name == u"..") return true;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    if (c < 0x20 || u16v(u"\\/:*?\"<>|").find(c) != u16v::npos) return true;
    // A surrogate half alone has no place in a file name.
    if (isHighSurrogate(c)) {
      if (i + 1 >= name.size() || !isLowSurrogate(name[i + 1])) return true;
      ++i;
    } else if (isLowSurrogate(c)) {
      return true;
    }
  }
  return false;
}

}  // namespace

int TodolistEntry::mostUrgentDeadline() const {
  for (int c = kDeadlineClasses - 1; c >= 0; --c)
    if (deadlineCount[c] != 0) return c;
  return -1;
}

u16 todolistFolder(u16v userDataDir) { return fmt(u"%s\\NextThings", userDataDir); }
u16 todolistRegistryPath(u16v userDataDir) { return fmt(u"%s\\%s", userDataDir, u"TdlInfo.p01"); }

void LoadTdlInfo_p01(u16v path, TodolistRegistry& reg) {
  reg.entries.clear();
  reg.current = 0;
  logLine(u"Opening %s", path);
  // Each row is judged on its own: one bad row costs that row, never the lists after it.
  readRecordFile(path, true, u"LoadTdlInfo_p01", [&](u16& line) {
    TodolistEntry e;
    u16 scratch;
    if (bStoi(0, line, scratch, e.id) != 0) return LineVerdict::Unparsed;
    u16 title;
    if (csvGetNthToken(1, line, title) != 0 || title.empty()) return LineVerdict::Unparsed;
    logLine(u" %s", title);
    if (csvGetNthToken(2, line, e.path) != 0 || e.path.empty()) return LineVerdict::Unparsed;
    e.title = cutTitle(title);
    if (pathKind(e.path) != PathKind::File) {
      logLine(u"Tdl missing: %s", e.path);
      return LineVerdict::Accept;
    }
    // Two tabs on one file would save over each other's rows.
    for (const TodolistEntry& other : reg.entries) {
      if (sameName(other.path, e.path)) {
        logLine(u"Tdl listed twice: %s", e.path);
        return LineVerdict::Accept;
      }
    }
    if (reg.count() >= kMaxTodolists) {
      logLine(u"Tdl beyond the %d allowed: %s", kMaxTodolists, e.path);
      return LineVerdict::Accept;
    }
    reg.entries.push_back(std::move(e));
    return LineVerdict::Accept;
  });
}

bool saveTodolistRegistryFile(u16v path, const TodolistRegistry& reg) {
  if (reg.entries.empty()) return true;
  logLine(u"Saving tdl info on %s", path);
  AtomicFileWriter file(path);
  if (!file.isOpen()) {
    logLastError(u"CreateFile");
    return false;
  }
  writeRecordLine(file, kRegistryHeader);
  for (const TodolistEntry& e : reg.entries) {
    u16 title;
    csvQuote(e.title, kTodolistTitleMax + 1, title);
    writeRecordLine(file, fmt(u"\"%d\",%s,\"%s\",\"%d\"", e.id, title, e.path, e.freeRows));
  }
  return file.commit();
}

void countTodolistRows(const TodoSheet& list, const DayDate& today, TodolistEntry& entry) {
  int freeRows = 0, doneRows = 0;
  std::array<int, kDeadlineClasses> deadlines{};
  const long todayNumber = daysFromCivil(today.year, today.month, today.day());
  for (const TodoRow& row : list.rows) {
    if (row.isFree()) {
      ++freeRows;
      continue;
    }
    if (row.isDone()) {
      ++doneRows;
      continue;
    }
    if (!row.hasFlag(rowflag::kDeadline)) continue;
    const int y = 2000 + row.info.deadlineYear, m = row.info.deadlineMonth, d = row.info.deadlineDay;
    // A deadline that is no calendar date has no label, so it has no class either.
    if (!isCalendarDate(y, m, d)) continue;
    ++deadlines[static_cast<std::size_t>(deadlineClass(daysFromCivil(y, m, d) - todayNumber))];
  }
  const auto byte = [](int n) { return static_cast<std::uint8_t>(std::min(n, 255)); };
  entry.freeRows = byte(freeRows);
  entry.doneRows = byte(doneRows);
  for (int c = 0; c < kDeadlineClasses; ++c) entry.deadlineCount[c] = byte(deadlines[static_cast<std::size_t>(c)]);
}

ListFileLoad loadTodolistFile(u16v path, TodoSheet& list, const DayDate& today, TodolistEntry& entry) {
  for (TodoRow& r : list.rows) r.clear();
  for (RowLook& l : list.look) l = RowLook::Normal;
  list.modified = false;
  list.readOnly = false;
  list.readWithDamage = false;
  list.damagedFileWithoutCopy.clear();
  list.sheetFileName = baseName(path);

  ListFileLoad result = ListFileLoad::Loaded;
  const PathKind kind = pathKind(path);
  if (kind == PathKind::Directory) {
    logLine(u"Tdl %s is a folder", path);
    result = ListFileLoad::Unreadable;
  } else if (kind == PathKind::File) {
    const FileHandle h = fileOpen(path, OpenMode::ReadExisting);
    if (h == kInvalidFile) {
      logLastError(u"CreateFile");
      result = ListFileLoad::Unreadable;
    } else {
      const std::int64_t onDisk = fileSize(h);
      const std::string bytes = readOpenFile(h, kMaxSheetFileBytes);
      fileClose(h);
      if (onDisk > 0 && bytes.empty()) {
        logLine(u"Tdl file %s could not be read", path);
        result = ListFileLoad::Unreadable;
      } else {
        bool damaged = onDisk < 0 || static_cast<std::uint64_t>(onDisk) != bytes.size();
        if (damaged) logLine(u"Tdl file read %u of %d bytes", bytes.size(), onDisk);
        bool recordsDamaged = false;
        readRowRecords(
            bytes, list.rowCount(),
            [&](int index, TodoRow& row) { list.rows[static_cast<std::size_t>(index)] = std::move(row); },
            &recordsDamaged);
        for (int i = 0; i < list.rowCount(); ++i) setRowLook(list, i);
        if (damaged || recordsDamaged) result = ListFileLoad::Damaged;
      }
    }
  }
  list.readWithDamage = result != ListFileLoad::Loaded;
  countTodolistRows(list, today, entry);
  return result;
}

bool writeTodolistFile(u16v path, TodoSheet& list) {
  std::string bytes = encodeSheetHeader();
  for (int i = 0; i < list.rowCount(); ++i) appendRowRecord(bytes, list.rows[static_cast<std::size_t>(i)], i);
  AtomicFileWriter file(path);
  if (!file.isOpen()) {
    logLastError(u"CreateFile");
    return false;
  }
  if (!file.write(bytes) || !file.commit()) return false;
  list.modified = false;
  return true;
}

TodolistNameProblem checkTodolistName(u16v name, u16v folder, const TodolistRegistry& reg) {
  if (name.find_first_not_of(u' ') == u16v::npos) return TodolistNameProblem::Blank;
  if (hasBadCharacter(name)) return TodolistNameProblem::BadCharacter;
  if (name.back() == u'.' || name.back() == u' ') return TodolistNameProblem::TrailingDotOrSpace;
  if (isDeviceName(name)) return TodolistNameProblem::DeviceName;
  const std::size_t pathUnits = folder.size() + 1 + name.size() + u16v(kListExtension).size();
  if (name.size() > kTodolistTitleMax || pathUnits > kMaxPathUnits) return TodolistNameProblem::TooLong;
  for (const TodolistEntry& e : reg.entries)
    if (sameName(e.title, name)) return TodolistNameProblem::Exists;
  const u16 fileName = u16(name) + kListExtension;
  if (pathKind(joinPath(folder, fileName)) != PathKind::Missing) return TodolistNameProblem::Exists;
  for (const DirEntry& e : listDirectory(folder))
    if (sameName(e.name, fileName)) return TodolistNameProblem::Exists;
  return TodolistNameProblem::None;
}

}  // namespace tirelmo
