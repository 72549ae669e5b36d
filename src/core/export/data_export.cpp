#include "export/data_export.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "base/dates.h"
#include "base/log.h"
#include "export/export_table.h"
#include "platform/file.h"
#include "projects/project_store.h"
#include "sheet/legacy_formats.h"
#include "sheet/sheet_files.h"
#include "sheet/sheet_names.h"
#include "stats/done_archive.h"
#include "stats/month_stats.h"
#include "storage/csv.h"
#include "storage/file_tools.h"
#include "storage/settings.h"
#include "text/scan.h"
#include "usage/usage_table.h"

namespace tirelmo {

namespace {

// ---- Paths --------------------------------------------------------------------------------

std::vector<u16> pathParts(u16v path) {
  u16 full(path);
  std::replace(full.begin(), full.end(), u'/', u'\\');
  const bool absolute = (!full.empty() && full[0] == u'\\') || (full.size() > 1 && full[1] == u':');
  if (!absolute) {
    u16 cwd = currentDirectory();
    std::replace(cwd.begin(), cwd.end(), u'/', u'\\');
    full = cwd + u"\\" + full;
  }
  std::vector<u16> parts;
  std::size_t at = 0;
  while (at <= full.size()) {
    std::size_t end = full.find(u'\\', at);
    if (end == u16::npos) end = full.size();
    const u16v part = u16v(full).substr(at, end - at);
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.emplace_back(part);
    }
    at = end + 1;
  }
  return parts;
}

// Digit runs compare as numbers, so that folder "10" comes after "9" and day 10 after day 9.
bool naturalLess(u16v a, u16v b) {
  std::size_t i = 0, j = 0;
  auto digit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  while (i < a.size() && j < b.size()) {
    if (digit(a[i]) && digit(b[j])) {
      std::size_t ie = i, je = j;
      while (ie < a.size() && a[ie] == u'0') ++ie;
      while (je < b.size() && b[je] == u'0') ++je;
      std::size_t ae = ie, be = je;
      while (ae < a.size() && digit(a[ae])) ++ae;
      while (be < b.size() && digit(b[be])) ++be;
      if (ae - ie != be - je) return ae - ie < be - je;
      const int c = u16v(a).substr(ie, ae - ie).compare(u16v(b).substr(je, be - je));
      if (c != 0) return c < 0;
      i = ae;
      j = be;
    } else {
      if (a[i] != b[j]) return a[i] < b[j];
      ++i;
      ++j;
    }
  }
  return a.size() - i < b.size() - j;
}

std::vector<DirEntry> sortedListing(u16v folder) {
  std::vector<DirEntry> list = listDirectory(folder);
  std::sort(list.begin(), list.end(), [](const DirEntry& x, const DirEntry& y) { return naturalLess(x.name, y.name); });
  return list;
}

std::string isoDate(int year, int month, int day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

// ---- The run --------------------------------------------------------------------------------

class Exporter {
 public:
  Exporter(const ExportRequest& request, ExportResult& result) : rq_(request), result_(result) {}

  void run() {
    loadCategoryNames();
    loadProjects();
    exportProjects();
    exportSheets();
    exportArchive();
    exportMonthStats();
    exportUsage();
  }

 private:
  ExportCounts& counts() { return result_.counts; }

  void problem(u16v text) {
    logLine(u"Export: %s", text);
    if (rq_.onProblem) rq_.onProblem(text);
  }
  void damaged(u16v path, u16v what) {
    ++counts().damagedFiles;
    problem(fmt(u"%s: %s", path, what));
  }

  bool finish(ExportTable& table) {
    if (table.finish()) return true;
    problem(fmt(u"could not write %s.csv / %s.json in %s", utf8ToUtf16(table.name()), utf8ToUtf16(table.name()),
                rq_.outDir));
    fail(ExportStatus::WriteFailed);
    return false;
  }
  void fail(ExportStatus s) {
    if (result_.status == ExportStatus::Ok) result_.status = s;
  }
  bool opened(ExportTable& table) {
    if (table.isOpen()) return true;
    problem(fmt(u"could not create %s.csv / %s.json in %s", utf8ToUtf16(table.name()), utf8ToUtf16(table.name()),
                rq_.outDir));
    fail(ExportStatus::OutputNotWritable);
    return false;
  }

  void loadCategoryNames() {
    names_ = rq_.categoryNames;
    if (names_.empty()) {
      Settings s;
      setDefaultSettings(s, rq_.dataDir);
      if (pathKind(settingsFilePath(s)) == PathKind::File) LoadSettingsFromFile_i00(s);
      names_ = s.categories;
    }
    names_.resize(kCategoryCount);
  }

  void categoryColumns(ExportRow& row, std::int64_t category) {
    row.number(category);
    if (category > 0 && category < static_cast<std::int64_t>(names_.size()))
      row.text(names_[static_cast<std::size_t>(category)]);
    else
      row.none();
  }

  void projectColumns(ExportRow& row, std::int64_t id) {
    row.number(id);
    const auto it = projectNames_.find(id);
    if (id != 0 && it != projectNames_.end())
      row.text(it->second);
    else
      row.none();
  }

  // ---- Projects ----

  void loadProjects() {
    const u16 folder = joinPath(rq_.dataDir, kProjectsFolder);
    if (pathKind(folder) != PathKind::Directory) return;
    const int active = loadActiveProjectsFrom(projects_, folder);
    if (projects_.activeFileUnreadable) damaged(joinPath(folder, kActiveProjectsP01), u"cannot be read");
    else if (active < 0) damaged(folder, u"rows of the active projects that could not be read were left out");
    const u16 closed = joinPath(folder, kClosedProjectsP01);
    if (pathKind(closed) == PathKind::File) LoadClosedProjects_p01(projects_, closed);
    // Active names win: the program looks there first.
    for (const Project& p : projects_.closed) projectNames_[p.id] = p.name;
    for (const Project& p : projects_.active) projectNames_[p.id] = p.name;
  }

  void exportProjects() {
    ExportTable t(rq_.outDir, "projects",
                  {"list", "id", "name", "status", "status_name", "worked_hours", "worked_minutes", "total_minutes",
                   "deadline"});
    if (!opened(t)) return;
    ExportRow row;
    const auto add = [&](const Project& p, const char* list) {
      row.clear();
      row.textUtf8(list);
      row.number(p.id);
      row.text(p.name);
      row.number(p.status);
      if (p.status < std::size(kProjectStatusNames)) row.text(kProjectStatusNames[p.status]);
      else row.none();
      row.number(p.workedHours);
      row.number(p.workedMinutes);
      row.number(std::int64_t{p.workedHours} * 60 + p.workedMinutes);
      if (p.deadlineYear != 0) row.textUtf8(isoDate(p.deadlineYear, p.deadlineMonth, p.deadlineDay));
      else row.none();
      t.add(row);
    };
    for (const Project& p : projects_.active) add(p, "active");
    for (const Project& p : projects_.closed) add(p, "closed");
    counts().projects = static_cast<int>(t.rows());
    finish(t);
  }

  // ---- Sheets ----

  // One sheet file of any format into the sheet; false when nothing of it could be read.
  bool readSheet(u16v path, SheetFormat format, TodoSheet& sheet, bool& partly) {
    resetTodoSheet(sheet);
    sheet.separatorIndex = -1;
    const FileHandle h = fileOpen(path, OpenMode::ReadExisting);
    if (h == kInvalidFile) return false;
    std::string bytes;
    if (format == SheetFormat::Pm6) {
      const std::int64_t onDisk = fileSize(h);
      bytes = readOpenFile(h, kMaxSheetFileBytes);
      fileClose(h);
      if (bytes.empty()) return false;
      bool skipped = false;
      readRowRecords(
          bytes, sheet.rowCount(),
          [&](int index, TodoRow& row) { sheet.rows[static_cast<std::size_t>(index)] = std::move(row); }, &skipped);
      partly = skipped || (onDisk >= 0 && static_cast<std::uint64_t>(onDisk) != bytes.size());
    } else {
      struct Layout {
        SheetFormat format;
        std::uint32_t size;
      };
      static constexpr Layout kLayouts[] = {{SheetFormat::Pm5, kPm5FileBytes}, {SheetFormat::Pm4, kPm4FileBytes},
                                            {SheetFormat::Pm3, kPm3FileBytes}, {SheetFormat::Pm2, kPm3FileBytes},
                                            {SheetFormat::Pm1, kPm1FileBytes}, {SheetFormat::Pom, kPomFileBytes}};
      std::uint32_t size = 0;
      for (const Layout& l : kLayouts)
        if (l.format == format) size = l.size;
      bytes = readFixedFormat(sheet, h, size, u"exportSheet");
      fileClose(h);
      if (bytes.empty()) return false;
      partly = sheet.readWithDamage;
      switch (format) {
        case SheetFormat::Pm5: parsePm5(bytes, sheet, false); break;
        case SheetFormat::Pm4: parsePm4(bytes, sheet); break;
        case SheetFormat::Pm3: parsePm3(bytes, sheet); break;
        case SheetFormat::Pm2: parseScoreCharFormat(bytes, sheet, 25, 0); break;
        case SheetFormat::Pm1: parseScoreCharFormat(bytes, sheet, 15, 8); break;
        case SheetFormat::Pom: parseScoreCharFormat(bytes, sheet, 10, 5); break;
        default: return false;
      }
    }
    adoptSeparatorRow(sheet);
    return true;
  }

  void exportSheetFile(ExportTable& t, ExportRow& row, TodoSheet& sheet, u16v path, u16v name, SheetFormat format) {
    bool partly = false;
    if (!readSheet(path, format, sheet, partly)) {
      damaged(path, u"cannot be read, left out");
      return;
    }
    if (partly) damaged(path, u"damaged, the rows that could be read are exported");
    ++counts().sheets;
    int v[3] = {};
    const bool dated = scanInts(name, u"DailyTask_%d-%d-%d", v, 3) == 3 && isCalendarDate(v[0], v[1], v[2]);
    const std::string fileName = utf16ToUtf8(name);
    const std::string date = dated ? isoDate(v[0], v[1], v[2]) : std::string();
    for (int i = 0; i < sheet.rowCount(); ++i) {
      const TodoRow& r = sheet.rows[static_cast<std::size_t>(i)];
      if (r.isFree() || i == sheet.separatorIndex) continue;
      const RowInfo& in = r.info;
      row.clear();
      row.textUtf8(fileName);
      if (dated) row.textUtf8(date);
      else row.none();
      row.number(i);
      row.text(r.text);
      for (std::uint8_t n : {r.pomodoros, r.abandoned, r.internalInterruptions, r.externalInterruptions, r.estimated,
                             r.done, r.pastPomodoros, r.pastAbandoned, r.pastInternal, r.pastExternal})
        row.number(n);
      categoryColumns(row, in.category);
      projectColumns(row, in.projectId);
      row.number(in.minutesToday);
      row.number(in.pastMinutes);
      if (r.hasFlag(rowflag::kDeadline))
        row.textUtf8(isoDate(2000 + in.deadlineYear, in.deadlineMonth, in.deadlineDay));
      else
        row.none();
      row.number(in.ageDays);
      row.number(r.hasFlag(rowflag::kRepeat) ? 1 : 0);
      row.number(r.hasFlag(rowflag::kUnplanned) || belowSeparator(sheet, i) ? 1 : 0);
      t.add(row);
    }
  }

  // The year and month folders, oldest first; a folder deeper than those is not the
  // program's (and a link looping back cannot run away).
  void walkSheets(ExportTable& t, ExportRow& row, TodoSheet& sheet, u16v folder, int depth) {
    for (const DirEntry& e : sortedListing(folder)) {
      const u16 path = joinPath(folder, e.name);
      if (e.isDirectory) {
        if (depth < 3) walkSheets(t, row, sheet, path, depth + 1);
        continue;
      }
      const SheetFormat format = sheetFormatOfName(e.name);
      // "_dbg" copies are the program's own debugging twins of a sheet, not days.
      if (format == SheetFormat::Unknown || e.name.find(u"_dbg") != u16::npos) continue;
      exportSheetFile(t, row, sheet, path, e.name, format);
    }
  }

  void exportSheets() {
    ExportTable t(rq_.outDir, "sheets",
                  {"file", "date", "row", "text", "pomodoros", "abandoned", "internal_interruptions",
                   "external_interruptions", "estimated", "done", "past_pomodoros", "past_abandoned",
                   "past_internal_interruptions", "past_external_interruptions", "category", "category_name",
                   "project_id", "project_name", "minutes_today", "past_minutes", "deadline", "age_days", "repeat",
                   "unplanned"});
    if (!opened(t)) return;
    ExportRow row;
    TodoSheet sheet;  // one sheet at a time, whatever the years
    const u16 folder = joinPath(rq_.dataDir, u"DailyTask");
    if (pathKind(folder) == PathKind::Directory) walkSheets(t, row, sheet, folder, 0);
    counts().sheetRows = t.rows();
    finish(t);
  }

  // ---- Done-task archive ----

  struct ArchiveFile {
    int year, month;
    u16 name;
    LineCoding coding;
  };

  std::vector<ArchiveFile> archiveFiles(const std::vector<DirEntry>& stats) {
    // The program reads a month's ".m00", or its older ".csv" form when there is no ".m00".
    std::map<std::pair<int, int>, ArchiveFile> byMonth;
    for (const DirEntry& e : stats) {
      int v[2] = {};
      if (e.isDirectory || scanInts(e.name, u"DoneTasks_%d_%d", v, 2) != 2) continue;
      const bool m00 = e.name == fmt(u"DoneTasks_%d_%d.m00", v[0], v[1]);
      if (!m00 && e.name != fmt(u"DoneTasks_%d_%d.csv", v[0], v[1])) continue;
      auto [it, added] = byMonth.try_emplace({v[0], v[1]}, ArchiveFile{v[0], v[1], e.name,
                                                                        m00 ? LineCoding::Utf16Le : LineCoding::Utf8});
      if (!added && m00) it->second = ArchiveFile{v[0], v[1], e.name, LineCoding::Utf16Le};
    }
    std::vector<ArchiveFile> out;
    for (auto& [key, f] : byMonth) out.push_back(std::move(f));
    return out;
  }

  void exportArchive() {
    static constexpr std::string_view kNames[24] = {
        "day_of_week", "done_yy",   "done_mm",       "done_dd",       "descr",      "start_year",
        "start_mm",    "start_dd",  "insert_yy",     "insert_mm",     "insert_dd",  "age",
        "pomo",        "abandoned", "int_interrupt", "ext_interrupt", "unplan_urg", "label_id",
        "week_nr",     "estimated", "tot_minutes",   "prj_id",        "in_progress", "min_worked"};
    std::vector<std::string_view> columns = {"file", "line", "date"};
    columns.insert(columns.end(), std::begin(kNames), std::end(kNames));
    columns.push_back("category_name");
    columns.push_back("project_name");
    ExportTable t(rq_.outDir, "done_tasks", columns);
    if (!opened(t)) return;
    ExportRow row;
    u16 token;
    const u16 stats = joinPath(rq_.dataDir, u"stats");
    for (const ArchiveFile& f : archiveFiles(listDirectory(stats))) {
      const u16 path = joinPath(stats, f.name);
      const std::string fileName = utf16ToUtf8(f.name);
      int bad = 0, tooLong = 0;
      const int lines = readLfLines(path, f.coding, kArchiveLineMaxBytes, u"exportDoneTasks",
                                    [&](int lineNo, u16& line) {
                                      DoneTaskEntry e;
                                      if (lineNo == 0 || line.empty()) return true;  // the header
                                      if (!parseDoneTaskLine(line, e)) {
                                        ++bad;
                                        return true;
                                      }
                                      addArchiveLine(t, row, token, fileName, lineNo, line, e);
                                      return true;
                                    },
                                    &tooLong);
      if (lines < 0) {
        damaged(path, u"cannot be read, left out");
        continue;
      }
      ++counts().archiveFiles;
      if (bad + tooLong > 0) damaged(path, fmt(u"%d lines could not be read and were left out", bad + tooLong));
    }
    counts().archiveRows = t.rows();
    finish(t);
  }

  static bool plainNumber(u16v s, std::int64_t& v) {
    if (s.empty() || s.size() > 11) return false;
    std::size_t i = s[0] == u'-' ? 1 : 0;
    if (i == s.size()) return false;
    v = 0;
    for (; i < s.size(); ++i) {
      if (s[i] < u'0' || s[i] > u'9') return false;
      v = v * 10 + (s[i] - u'0');
    }
    if (s[0] == u'-') v = -v;
    return true;
  }

  void addArchiveLine(ExportTable& t, ExportRow& row, u16& token, const std::string& fileName, int lineNo,
                      u16v line, const DoneTaskEntry& e) {
    const int fields = quotedFieldCount(line);
    row.clear();
    row.textUtf8(fileName);
    row.number(lineNo + 1);
    if (isCalendarDate(e.year, e.month, e.day)) row.textUtf8(isoDate(e.year, e.month, e.day));
    else row.none();
    std::int64_t category = -1, project = 0;
    for (int n = 0; n < 24; ++n) {
      if (n >= fields || csvGetNthToken(n, line, token) != 0) {
        row.none();
        continue;
      }
      std::int64_t v = 0;
      if (n == 4 || n == 16) {
        row.text(token);
      } else if (plainNumber(token, v)) {
        row.number(v);
        if (n == 17) category = v;
        if (n == 21) project = v;
      } else {
        row.none();
      }
    }
    if (category > 0 && category < static_cast<std::int64_t>(names_.size()))
      row.text(names_[static_cast<std::size_t>(category)]);
    else
      row.none();
    const auto it = projectNames_.find(project);
    if (project != 0 && it != projectNames_.end()) row.text(it->second);
    else row.none();
    t.add(row);
  }

  // ---- Month statistics ----

  void exportMonthStats() {
    ExportTable t(rq_.outDir, "month_stats",
                  {"file", "date", "used", "pomodoros", "abandoned", "internal_interruptions", "external_interruptions",
                   "done", "estimated", "worked_minutes"});
    if (!opened(t)) return;
    ExportRow row;
    const u16 stats = joinPath(rq_.dataDir, u"stats");
    for (const DirEntry& e : sortedListing(stats)) {
      int v[2] = {};
      if (e.isDirectory || scanInts(e.name, u"%d-%d", v, 2) != 2 || e.name != fmt(u"%d-%d.ats", v[0], v[1])) continue;
      const u16 path = joinPath(stats, e.name);
      std::string bytes;
      if (!readFileBytes(path, bytes, static_cast<std::uint32_t>(kMonthTableBytes) + 1)) {
        damaged(path, u"cannot be read, left out");
        continue;
      }
      if (bytes.size() != kMonthTableBytes)
        damaged(path, fmt(u"holds %u bytes instead of %u; the days it holds are exported", bytes.size(),
                          kMonthTableBytes));
      ++counts().monthFiles;
      MonthTable table;
      monthTableFromFileBytes(bytes, table);
      const std::string fileName = utf16ToUtf8(e.name);
      for (int d = 0; d < kMonthDays; ++d) {
        const DayStats& s = table.days[static_cast<std::size_t>(d)];
        if (s == DayStats() || !isCalendarDate(v[0], v[1], d + 1)) continue;
        row.clear();
        row.textUtf8(fileName);
        row.textUtf8(isoDate(v[0], v[1], d + 1));
        for (std::uint8_t n : {s.used, s.pomodoros, s.abandoned, s.internalInterruptions, s.externalInterruptions,
                               s.done, s.estimated})
          row.number(n);
        row.number(s.workedTime());
        t.add(row);
      }
    }
    counts().monthDays = static_cast<int>(t.rows());
    finish(t);
  }

  // ---- Usage ----

  void exportUsage() {
    ExportTable t(rq_.outDir, "usage", {"name", "seconds", "kind", "kind_name"});
    if (!opened(t)) return;
    const u16 path = joinPath(joinPath(rq_.dataDir, kUsageFolder), kUsageFileName);
    if (pathKind(path) == PathKind::File) {
      UsageTable table;
      if (readUsageFile(path, table) == 0) {
        const FileHandle h = fileOpen(path, OpenMode::ReadExisting);
        if (h == kInvalidFile) damaged(path, u"cannot be read, left out");
        fileClose(h);
      }
      ExportRow row;
      for (const UsageEntry& e : table.entries) {
        row.clear();
        row.text(e.name);
        row.number(e.seconds);
        row.number(e.kind);
        static constexpr const char* kKinds[] = {"app", "web", "mail"};
        if (e.kind >= 0 && e.kind < 3) row.textUtf8(kKinds[e.kind]);
        else row.none();
        t.add(row);
      }
    }
    counts().usageEntries = static_cast<int>(t.rows());
    finish(t);
  }

  const ExportRequest& rq_;
  ExportResult& result_;
  std::vector<u16> names_;
  ProjectStore projects_;
  std::map<std::int64_t, u16> projectNames_;
};

}  // namespace

bool isSameOrInside(u16v inner, u16v outer) {
  const std::vector<u16> in = pathParts(inner);
  const std::vector<u16> out = pathParts(outer);
  if (out.size() > in.size()) return false;
  for (std::size_t i = 0; i < out.size(); ++i)
    if (!equalsNoCase(in[i], out[i])) return false;
  return true;
}

ExportResult exportUserData(const ExportRequest& rq) {
  ExportResult result;
  logLine(u"Export of %s into %s", rq.dataDir, rq.outDir);
  if (rq.dataDir.empty() || pathKind(rq.dataDir) != PathKind::Directory) {
    result.status = ExportStatus::NoDataFolder;
    return result;
  }
  if (rq.outDir.empty() || isSameOrInside(rq.outDir, rq.dataDir)) {
    result.status = ExportStatus::OutputInsideData;
    return result;
  }
  if (pathKind(rq.outDir) != PathKind::Directory && createDirectory(rq.outDir) == MkdirResult::Failed) {
    logLastError(u"Export");
    result.status = ExportStatus::OutputNotWritable;
    return result;
  }
  Exporter(rq, result).run();
  const ExportCounts& c = result.counts;
  if (result.status == ExportStatus::Ok && c.sheets == 0 && c.archiveRows == 0 && c.monthDays == 0 &&
      c.projects == 0 && c.usageEntries == 0)
    result.status = ExportStatus::NothingToExport;
  logLine(u"Export: %s", exportSummary(c));
  return result;
}

u16 exportSummary(const ExportCounts& c) {
  return fmt(u"sheets %d (rows %d), done tasks %d files (rows %d), month files %d (days %d), projects %d, "
             u"usage entries %d, damaged files %d",
             c.sheets, static_cast<int>(c.sheetRows), c.archiveFiles, static_cast<int>(c.archiveRows), c.monthFiles,
             c.monthDays, c.projects, c.usageEntries, c.damagedFiles);
}

}  // namespace tirelmo
