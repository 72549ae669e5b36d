#include "stats/done_archive.h"

#include <algorithm>
#include <string>

#include "storage/le_bytes.h"
#include "app/app.h"
#include "base/dates.h"
#include "base/log.h"
#include "sheet/todo_row.h"
#include "storage/append_file.h"
#include "storage/csv.h"
#include "storage/file_ops.h"
#include "text/format.h"

namespace tirelmo {

namespace {

constexpr char16_t kMonthHeader[] =
    u"\"DayOfWeek\",\"DoneYY\",\"DoneMM\",\"DoneDD\",\"Descr\",\"StartYear\",\"StartMM\",\"StartDD\","
    u"\"InsertYY\",\"InsertMM\",\"InsertDD\",\"Age\",\"Pomo\",\"Abandoned\",\"Int Interrupt\","
    u"\"Ext Interrupt\",\"UnplanUrg\",\"Label ID\",\"Week Nr\",\"Estimated\",\"Tot Minutes\","
    u"\"Prj ID\",\"In Progress\",\"Min Worked\",\n";

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr std::string_view kLfUnit("\n\0", 2);
// The weekly list is for reading by people; its lines stay as short as a row text.
constexpr std::size_t kWeeklyLineMaxBytes = 179;
constexpr std::uint32_t kReadChunk = 4096;
// The conversion deletes its source, so it takes any line a month file could plausibly hold.
constexpr std::size_t kConvertLineMaxBytes = 1u << 20;

std::string narrow(u16v ascii) {
  std::string out;
  out.reserve(ascii.size());
  for (char16_t c : ascii) out.push_back(static_cast<char>(c < 0x80 ? c : '?'));
  return out;
}

bool writeAll(FileHandle h, const std::string& bytes) {
  if (h == kInvalidFile) return false;
  if (!fileWrite(h, bytes.data(), static_cast<std::uint32_t>(bytes.size()))) {
    logLastError(u"WriteFile");
    return false;
  }
  return true;
}

// An older month file: the same lines in UTF-8. They move into a new "m00" file that
// appears only when it is complete, so an interrupted conversion leaves the ".csv" to be
// converted again next time instead of a half file that would hide it.
void convertCsvToM00(u16v csvPath, u16v m00Path) {
  AtomicFileWriter out(m00Path);
  if (!out.isOpen()) {
    logLastError(u"MthDet_convert_csv_m00");
    return;
  }
  int skipped = 0;
  const int lines = readLfLines(csvPath, LineCoding::Utf8, kConvertLineMaxBytes, u"MthDet_convert_csv_m00",
                                [&](int, u16& line) {
                                  line.push_back(u'\n');
                                  return out.write(utf16LeBytes(line));
                                },
                                &skipped);
  if (lines < 0) {
    logLastError(u"MthDet_convert_csv_m00");
    out.abandon();
    return;
  }
  if (!out.commit()) {
    logLastError(u"MthDet_convert_csv_m00");
    return;
  }
  // What could not be carried over stays in the old file rather than being deleted with it.
  if (skipped > 0) {
    logLine(u"%s() %d lines not converted, %s kept", u"MthDet_convert_csv_m00", skipped, csvPath);
    return;
  }
  if (!deleteFile(csvPath)) logLastError(u"DeleteFile");
}

FileHandle openMonthFile(u16v path) {
  const std::string header = utf16LeBytes(kMonthHeader);
  const FileHandle h = openLineFileForAppend(path, {2, kLfUnit, header});
  if (h == kInvalidFile) logLastError(u"CreateFile");
  return h;
}

FileHandle openWeeklyList(u16v path, int year, int week) {
  const std::string header = std::string(kUtf8Bom) + "0.1\r\n" + narrow(fmt(u"[WEEK]%d - Week %d\r\n", year, week));
  bool created = false;
  const FileHandle h = openLineFileForAppend(path, {1, "\r\n", header}, &created);
  if (h == kInvalidFile) {
    logLastError(u"CreateFile");
    return h;
  }
  if (created) logLine(u"Created new %s", path);
  return h;
}

// The description in the system code page, cut to whole characters: half of a double-byte
// character would garble the line end behind it.
std::string weeklyLine(App& app, u16v text) {
  std::string ansi = app.system.utf16ToAnsi(text);
  if (ansi.size() > kWeeklyLineMaxBytes) {
    std::size_t lo = 0, hi = text.size();  // the longest prefix that fits lies in [lo, hi)
    while (hi - lo > 1) {
      const std::size_t mid = (lo + hi) / 2;
      if (app.system.utf16ToAnsi(text.substr(0, mid)).size() <= kWeeklyLineMaxBytes)
        lo = mid;
      else
        hi = mid;
    }
    if (lo > 0 && text[lo - 1] >= 0xD800 && text[lo - 1] <= 0xDBFF) --lo;
    ansi = app.system.utf16ToAnsi(text.substr(0, lo));
  }
  return ansi + "\r\n";
}

void appendLines(App& app, const u16& dataLine, u16v text) {
  DoneArchive& a = app.doneArchive;
  ++a.generation;
  writeAll(a.monthFile, utf16LeBytes(dataLine));
  if (a.weeklyFile != kInvalidFile) writeAll(a.weeklyFile, weeklyLine(app, text));
}

}  // namespace

u16 oneLineText(u16v text) {
  u16 out = cutToCapacity(text, kRowTextCapacity);
  std::replace(out.begin(), out.end(), u'\n', u' ');
  std::replace(out.begin(), out.end(), u'\r', u' ');
  return out;
}

u16 doneArchiveMonthPath(int year, int month) {
  return fmt(u".\\stats\\DoneTasks_%d_%d", year, month) + u".m00";
}

u16 doneArchiveCsvPath(int year, int month) {
  return fmt(u".\\stats\\DoneTasks_%d_%d", year, month) + u".csv";
}

u16 weeklyDoneListPath(int year, int week) {
  return fmt(u".\\stats\\%s%4d_%2d.txt", u"WeeklyDone_", year, week);
}

void openDoneArchive(App& app, int year, int month, int day, int dayOfWeek) {
  DoneArchive& a = app.doneArchive;
  // A caller that opens twice must not leak the first pair of handles.
  closeDoneArchive(app);
  a.year = year;
  a.month = month;
  a.day = day;
  a.dayOfWeek = dayOfWeek;
  a.week = weekNumber(year, month, day, dayOfWeek);

  const u16 csvPath = doneArchiveCsvPath(year, month);
  const u16 m00Path = doneArchiveMonthPath(year, month);
  if (pathKind(csvPath) == PathKind::File && pathKind(m00Path) == PathKind::Missing)
    convertCsvToM00(csvPath, m00Path);

  a.monthFile = openMonthFile(m00Path);
  a.weeklyFile = openWeeklyList(weeklyDoneListPath(year, a.week), year, a.week);
  if (a.weeklyFile != kInvalidFile)
    writeAll(a.weeklyFile,
             narrow(fmt(u"[DAY]%s, %d %s\r\n", dayNameEnglish(dayOfWeek), day, monthNameEnglish(month))));
}

void closeDoneArchive(App& app) {
  DoneArchive& a = app.doneArchive;
  fileClose(a.monthFile);
  fileClose(a.weeklyFile);
  a.monthFile = kInvalidFile;
  a.weeklyFile = kInvalidFile;
}

void appendDoneTaskRow(App& app, const TodoRow& row, bool unplanned, int minutesWorked) {
  const DoneArchive& a = app.doneArchive;
  if (a.monthFile == kInvalidFile) return;
  const RowInfo& i = row.info;
  const u16 text = oneLineText(row.text);
  u16 descr;
  csvQuote(text, kRowTextMax, descr);
  u16 line = quotedNumbers({a.dayOfWeek, a.year - 2000, a.month, a.day});
  line += descr;
  line.push_back(u',');
  line += quotedNumbers({i.deadlineYear, i.deadlineMonth, i.deadlineDay, 0, 0, 0, i.ageDays + 1,
                         row.pastPomodoros, row.pastAbandoned, row.pastInternal, row.pastExternal});
  line += unplanned ? u"\"Y\"," : u"\"N\",";
  line += quotedNumbers({i.category, a.week, row.estimated, i.pastMinutes, i.projectId, row.isDone() ? 0 : 1});
  line += fmt(u"\"%d\"\n", minutesWorked);
  appendLines(app, line, text);
}

void appendDoneCloudRecord(App& app, const CloudDoneRecord& r) {
  const DoneArchive& a = app.doneArchive;
  if (a.monthFile == kInvalidFile) return;
  // A record carries its own day of completion; the archive is opened once per month.
  const bool dated = r.month >= 1 && r.month <= 12;
  const int year = dated ? r.year : a.year;
  const int month = dated ? r.month : a.month;
  const int day = dated ? r.day : a.day;
  const int dow = dated ? r.dayOfWeek : a.dayOfWeek;
  const int yy = year >= 2000 ? year - 2000 : year;
  const u16 text = oneLineText(r.text);
  u16 descr;
  csvQuote(text, kRowTextMax, descr);
  u16 line = quotedNumbers({dow, yy, month, day});
  line += descr;
  line.push_back(u',');
  line += quotedNumbers({0, 0, 0, 0, 0, 0, r.age, r.pomodoros, r.abandoned, r.internalInterruptions,
                         r.externalInterruptions});
  line += u"\"N\",";
  line += quotedNumbers({r.category, weekNumber(year, month, day, dow), 0,
                         static_cast<std::int64_t>(r.totalHours) * 60 + r.totalMinutes});
  line += fmt(u"\"%d\"\n", r.projectId);
  appendLines(app, line, text);
}

int quotedFieldCount(u16v line) {
  int count = 0;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t begin = line.find(u'"', pos);
    if (begin == u16v::npos) return count;
    std::size_t end = line.find(u'"', begin + 1);
    while (end != u16v::npos && end + 1 < line.size() && line[end + 1] == u'"') end = line.find(u'"', end + 2);
    if (end == u16v::npos) return count;
    ++count;
    pos = end + 1;
  }
}

namespace {

// An archive line is text anyone can edit: its numbers come back within what the program
// writes, so the query's sums cannot overflow and a month or day of week never indexes past
// its names. A day's minutes stop at the minutes of a day, a task's past at the row's bound.
// A date part out of range becomes 0, no date, as a damaged number always read.
void clampLoadedEntry(DoneTaskEntry& e, std::int32_t yy) {
  const auto within = [](std::int32_t& v, std::int32_t lo, std::int32_t hi) {
    if (v < lo || v > hi) v = 0;
  };
  e.year = 2000 + std::clamp(yy, 0, 255);
  within(e.month, 1, 12);
  within(e.day, 1, 31);
  within(e.dayOfWeek, 0, 6);
  within(e.week, 0, 53);
  e.inProgress = e.inProgress != 0 ? 1 : 0;
  e.minutesWorked = std::clamp(e.minutesWorked, 0, kMaxMinutesToday);
  e.totalMinutes = std::clamp(e.totalMinutes, 0, kMaxPastMinutes);
  e.pomodoros = std::clamp(e.pomodoros, 0, 255);
  if (e.category < 0 || e.category > kLastRowCategory) e.category = 0;
}

}  // namespace

bool parseDoneTaskLine(u16v line, DoneTaskEntry& e) {
  e = DoneTaskEntry();
  u16 scratch;
  if (csvGetNthToken(4, line, scratch) != 0) return false;
  e.description = cutToCapacity(scratch, kRowTextCapacity);
  // Lines from the cloud end after column 21: their last two columns stay 0, without a
  // log line for every such line of a year-long query.
  const int fields = quotedFieldCount(line);
  const auto number = [&](int n, std::int32_t& value) {
    if (n < fields) bStoi(n, line, scratch, value);
  };
  std::int32_t yy = 0;
  number(1, yy);
  number(2, e.month);
  number(3, e.day);
  number(0, e.dayOfWeek);
  number(18, e.week);
  number(23, e.minutesWorked);
  number(20, e.totalMinutes);
  number(12, e.pomodoros);
  number(21, e.projectId);
  number(22, e.inProgress);
  number(17, e.category);
  clampLoadedEntry(e, yy);
  return true;
}

int loadCurrentMonthDoneTasks(App& app) {
  std::vector<DoneTaskEntry>& list = app.doneArchive.currentMonth;
  list.clear();
  const int year = app.start.today.year;
  const int month = app.start.today.month;
  u16 path = doneArchiveMonthPath(year, month);
  LineCoding coding = LineCoding::Utf16Le;
  if (pathKind(path) != PathKind::File) {
    path = doneArchiveCsvPath(year, month);
    coding = LineCoding::Utf8;
    if (pathKind(path) != PathKind::File) return 0;
  }
  logPiece(u"Opening CurMthDoneTasks file:");
  logLine(u"%s", path);
  int lines = 0;
  const int handed = readLfLines(path, coding, kArchiveLineMaxBytes, u"loadCurrentMonthDoneTasks",
                                 [&](int lineNo, u16& line) {
                                   ++lines;
                                   DoneTaskEntry e;
                                   if (lineNo > 0 && parseDoneTaskLine(line, e)) list.push_back(std::move(e));
                                   return true;
                                 });
  if (handed < 0) {
    logLastError(u"CreateFile");
    return 0;
  }
  logLine(u"Read %d rows", lines);
  return lines;
}

ArchiveQueryResult queryDoneArchive(ArchiveDate from, ArchiveDate to, ArchiveQueryMode mode,
                                    std::int32_t filterValue, u16v filterText, const DayGroup* extra) {
  ArchiveQueryResult r;
  const auto key = [](int y, int m, int d) { return (static_cast<std::int64_t>(y) * 100 + m) * 100 + d; };
  const std::int64_t fromKey = key(from.year, from.month, from.day);
  const std::int64_t toKey = key(to.year, to.month, to.day);

  DayGroup open;
  bool groupOpen = false;
  const auto addMinutes = [](DayGroup& g, std::int64_t minutes) {
    g.minutes = static_cast<std::uint16_t>(std::min<std::int64_t>(65535, g.minutes + minutes));
  };
  const auto keep = [&](const DayGroup& g) {
    r.groups.push_back(g);
    r.maxDayMinutes = std::max<int>(r.maxDayMinutes, g.minutes);
  };

  int y = from.year;
  int m = std::clamp(from.month, 1, 12);
  for (; y < to.year || (y == to.year && m <= to.month); ++m) {
    if (m > 12) {
      m = 0;
      ++y;
      continue;
    }
    const u16 path = doneArchiveMonthPath(y, m);
    if (pathKind(path) != PathKind::File) continue;
    const int got = readLfLines(path, LineCoding::Utf16Le, kArchiveLineMaxBytes, u"queryDoneArchive",
                                [&](int lineNo, u16& line) {
      DoneTaskEntry e;
      if (lineNo == 0 || !parseDoneTaskLine(line, e)) return true;
      const std::int64_t k = key(e.year, e.month, e.day);
      if (k < fromKey || k > toKey) return true;
      if (mode == ArchiveQueryMode::Project && e.projectId != filterValue) return true;
      if (mode == ArchiveQueryMode::Category && e.category != filterValue) return true;
      if ((mode == ArchiveQueryMode::Text || mode == ArchiveQueryMode::TextAlso) && e.description != filterText)
        return true;
      const int minutes = e.minutesWorked;
      const auto y8 = static_cast<std::uint8_t>(e.year - 2000);
      const auto m8 = static_cast<std::uint8_t>(e.month);
      const auto d8 = static_cast<std::uint8_t>(e.day);
      if (groupOpen && open.year == y8 && open.month == m8 && open.day == d8) {
        addMinutes(open, minutes);
      } else {
        if (groupOpen) keep(open);
        open = DayGroup{y8, m8, d8, static_cast<std::uint8_t>(e.dayOfWeek), static_cast<std::uint8_t>(e.week), 0};
        addMinutes(open, minutes);
        groupOpen = true;
      }
      r.totalMinutes += minutes;
      if (mode == ArchiveQueryMode::Entries) r.entries.push_back(std::move(e));
      return true;
    });
    if (got < 0) logLastError(u"CreateFile");
  }
  // The open group closes the list even when nothing matched: callers draw at least one day.
  keep(groupOpen ? open : DayGroup());
  if (extra) {
    keep(*extra);
    r.totalMinutes += extra->minutes;
  }
  return r;
}

int readLfLines(u16v path, LineCoding coding, std::size_t maxLineBytes, u16v who,
                const std::function<bool(int lineNo, u16& line)>& onLine, int* skipped) {
  if (skipped) *skipped = 0;
  const FileHandle h = fileOpen(path, OpenMode::ReadExisting);
  if (h == kInvalidFile) return -1;
  const std::size_t unit = coding == LineCoding::Utf16Le ? 2 : 1;
  std::string pending;  // bytes of the line being collected
  std::string chunk(kReadChunk, '\0');
  std::size_t carry = 0;  // an odd byte of UTF-16 text waiting for its partner
  bool tooLong = false;
  bool stop = false;
  int lineNo = 0;
  int handed = 0;

  const auto finishLine = [&]() {
    if (tooLong) {
      logLine(u"%s() line %d longer than %d bytes, skipped", who, lineNo, maxLineBytes);
      if (skipped) ++*skipped;
    } else {
      u16 line;
      if (coding == LineCoding::Utf8) {
        line = utf8ToUtf16(pending);
      } else {
        line.resize(pending.size() / 2);
        for (std::size_t j = 0; j < line.size(); ++j)
          line[j] = static_cast<char16_t>(static_cast<unsigned char>(pending[2 * j]) |
                                          (static_cast<unsigned char>(pending[2 * j + 1]) << 8));
      }
      if (!line.empty() && line.back() == u'\r') line.pop_back();
      ++handed;
      if (!onLine(lineNo, line)) stop = true;
    }
    ++lineNo;
    pending.clear();
    tooLong = false;
  };

  while (!stop) {
    std::uint32_t got = 0;
    if (!fileRead(h, chunk.data() + carry, static_cast<std::uint32_t>(kReadChunk - carry), got)) {
      logLastError(u"ReadFile");
      break;
    }
    if (got == 0) break;
    const std::size_t size = carry + got;
    std::size_t pos = 0;
    for (; pos + unit <= size && !stop; pos += unit) {
      const bool lf = chunk[pos] == '\n' && (unit == 1 || chunk[pos + 1] == '\0');
      if (lf) {
        finishLine();
      } else if (!tooLong) {
        if (pending.size() + unit > maxLineBytes) {
          tooLong = true;
          pending.clear();
        } else {
          pending.append(chunk, pos, unit);
        }
      }
    }
    carry = size - pos;
    if (carry > 0) chunk[0] = chunk[pos];
  }
  if (!stop && (!pending.empty() || tooLong)) finishLine();
  fileClose(h);
  return handed;
}

long archiveDayNumber(ArchiveDate d) { return daysFromCivil(d.year, d.month, d.day); }

// The inverse of daysFromCivil (whose day 0 is 1 March of year 0).
ArchiveDate archiveDateOfDayNumber(long z) {
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

}  // namespace tirelmo
