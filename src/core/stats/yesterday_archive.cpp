#include "stats/yesterday_archive.h"

#include <algorithm>
#include <string>

#include "storage/le_bytes.h"
#include "app/app.h"
#include "base/dates.h"
#include "base/log.h"
#include "sheet/todo_row.h"
#include "stats/done_archive.h"
#include "storage/append_file.h"
#include "storage/csv.h"
#include "text/format.h"

namespace tirelmo {

namespace {

constexpr char16_t kHeader[] =
    u"\"Dow\",\"DoneYY\",\"DoneMM\",\"DoneDD\",\"Descr\",\"StartYear\",\"MM\",\"DD\",\"InsertYY\","
    u"\"MM\",\"DD\",\"Age\",\"Done\",\"Pomo\",\"Aband\",\"IntInt\",\"ExtInt\",\"UnU\",\"LabelID\","
    u"\"WeekNr\",\"Estim\",\"MinWorked\",\"TotMin\",\"PrjID\",\"CliID\",\n";

// The legacy summary files were written by a fixed-size buffer of this many bytes.
constexpr std::uint32_t kLegacyFileMaxBytes = 9000;

// Columns 0-3 and 19 come from the task, the rest from the arguments; all lines share it.
u16 archiveLine(const YesterdayTask& t, const std::uint8_t startDate[3], const std::uint8_t insertDate[3],
                bool unplanned, std::int32_t estimated, std::int32_t totalMinutes) {
  const u16 text = oneLineText(t.text);
  u16 descr;
  csvQuote(text, kRowTextMax, descr);
  u16 line = quotedNumbers({t.dayOfWeek, t.year, t.month, t.day});
  line += descr;
  line.push_back(u',');
  line += quotedNumbers({startDate[0], startDate[1], startDate[2], insertDate[0], insertDate[1], insertDate[2],
                         t.age, t.done, t.pomodoros, t.abandoned, t.internalInterruptions,
                         t.externalInterruptions});
  line += unplanned ? u"\"Y\"," : u"\"N\",";
  line += quotedNumbers({t.category, t.week, estimated, t.minutesWorked, totalMinutes, t.projectId});
  line += fmt(u"\"%d\"\n", t.clientId);
  return line;
}

void writeLine(App& app, const u16& line) {
  YesterdayArchive& y = app.yesterday;
  if (y.writer) {
    y.writer->write(utf16LeBytes(line));
  } else if (y.file != kInvalidFile) {
    const std::string bytes = utf16LeBytes(line);
    if (!fileWrite(y.file, bytes.data(), static_cast<std::uint32_t>(bytes.size()))) logLastError(u"WriteFile");
  }
}

// Lines of a legacy summary file: UTF-16, CR LF between lines.
std::vector<u16> readLegacyLines(u16v path) {
  std::vector<u16> lines;
  std::string bytes;
  if (!readFileBytes(path, bytes, kLegacyFileMaxBytes)) return lines;
  u16 text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  if (!text.empty() && text.front() == 0xFEFF) text.erase(0, 1);
  const u16v all(text);
  std::size_t pos = 0;
  while (pos < all.size()) {
    std::size_t end = all.find(u"\r\n", pos);
    if (end == u16v::npos) end = all.size();
    lines.emplace_back(all.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// The numbers of a line read back, within what the day start writes: counts of a row,
// a day's minutes, a date whose parts can name a day and a month. A category out of range
// stays, for the page to leave out with its own log line.
void clampLoadedTask(YesterdayTask& t) {
  const auto within = [](std::int32_t& v, std::int32_t lo, std::int32_t hi) {
    if (v < lo || v > hi) v = 0;
  };
  within(t.day, 1, 31);
  within(t.month, 1, 12);
  within(t.dayOfWeek, 0, 6);
  within(t.week, 0, 53);
  t.year = std::clamp(t.year, 0, 255);
  t.age = std::clamp(t.age, 0, 256);  // the row's age + 1
  t.done = t.done != 0 ? 1 : 0;
  for (std::int32_t* count : {&t.pomodoros, &t.abandoned, &t.estimated, &t.internalInterruptions,
                              &t.externalInterruptions})
    *count = std::clamp(*count, 0, 255);
  t.minutesWorked = std::clamp(t.minutesWorked, 0, kMaxMinutesToday);
  t.totalMinutes = std::clamp(t.totalMinutes, 0, kMaxPastMinutes);
}

// The archive's lines into the task list; `who` names the loader in the log.
int loadArchiveLines(App& app, u16v path, LineCoding coding, u16v who) {
  YesterdayArchive& y = app.yesterday;
  logLine(u"%s() Opening Yesterday's Tasks file: %s", who, path);
  int lines = 0;
  const int handed = readLfLines(path, coding, kArchiveLineMaxBytes, who, [&](int lineNo, u16& line) {
    ++lines;
    if (lineNo == 0) return true;
    if (lineNo == 1) {
      y.heading = line;
      return true;
    }
    YesterdayTask t;
    u16 scratch;
    if (csvGetNthToken(4, line, scratch) != 0) {
      logLine(u"%s() err reading row ##%d", who, lineNo);
      return true;
    }
    t.text = cutToCapacity(scratch, kRowTextCapacity);
    const int fields = quotedFieldCount(line);
    const auto number = [&](int n, std::int32_t& value) {
      if (n < fields) bStoi(n, line, scratch, value);
    };
    number(0, t.dayOfWeek);
    number(3, t.day);
    number(2, t.month);
    number(1, t.year);
    number(11, t.age);
    number(12, t.done);
    number(13, t.pomodoros);
    number(14, t.abandoned);
    number(15, t.internalInterruptions);
    number(16, t.externalInterruptions);
    number(19, t.week);
    number(18, t.category);
    number(21, t.minutesWorked);
    number(23, t.projectId);
    number(24, t.clientId);
    clampLoadedTask(t);
    logLine(u"Row %d - %s   Prj ID: %d %s", static_cast<int>(y.tasks.size()), t.text, t.projectId,
            t.done != 0 ? u"DONE" : u"NOT DONE");
    y.tasks.push_back(std::move(t));
    return true;
  });
  if (handed < 0) {
    logLastError(u"CreateFile");
    return 0;
  }
  logLine(u"Prev recs: size %d, rows %d", static_cast<int>(y.tasks.size()), lines);
  if (lines > 0) y.fromArchiveFile = true;
  return lines;
}

}  // namespace

u16 yesterdayHeading(App& app, int year, int month, int day, int dayOfWeek) {
  if (app.language() == Language::ChineseSimplified)
    return fmt(u"您在%s(%d月%d日, %d年)", dayNameChinese(dayOfWeek), month, day, year);
  return fmt(u"On %s (%s %d, %d) you did", dayNameEnglish(dayOfWeek), monthNameEnglish(month), day, year);
}

int createYesterdayArchive(App& app, int year, int month, int day, int dayOfWeek) {
  YesterdayArchive& y = app.yesterday;
  if (y.writer || y.file != kInvalidFile) closeYesterdayArchive(app);
  y.tasks.clear();
  y.year = year;
  y.month = month;
  y.day = day;
  y.dayOfWeek = dayOfWeek;
  y.week = weekNumber(year, month, day, dayOfWeek);
  y.heading = yesterdayHeading(app, year, month, day, dayOfWeek);
  y.fromArchiveFile = true;

  auto writer = std::make_unique<AtomicFileWriter>(kYesterdayArchiveFile);
  if (!writer->isOpen()) {
    logLastError(u"CreateFile");
    return -1;
  }
  writer->write(utf16LeBytes(kHeader));
  writer->write(utf16LeBytes(y.heading + u"\n"));
  y.writer = std::move(writer);
  return 0;
}

int openYesterdayArchiveForAppend(App& app) {
  YesterdayArchive& y = app.yesterday;
  if (y.writer || y.file != kInvalidFile) return 0;
  // Only the archive written at this day start takes the records; a missing one is not
  // made again here.
  if (pathKind(kYesterdayArchiveFile) == PathKind::File) {
    // Its header and heading, should a crash have left the file empty.
    const std::string header = utf16LeBytes(kHeader) + utf16LeBytes(y.heading + u"\n");
    y.file = openLineFileForAppend(kYesterdayArchiveFile, {2, std::string_view("\n\0", 2), header});
  } else {
    setLastErrorCode(winerr::kFileNotFound);
  }
  if (y.file == kInvalidFile) {
    logLastError(u"CreateFile");
    return -1;
  }
  return 0;
}

void writeYesterdaySheetRow(App& app, const TodoRow& row) {
  YesterdayArchive& y = app.yesterday;
  const RowInfo& i = row.info;
  YesterdayTask t;
  t.day = y.day;
  t.month = y.month;
  t.year = y.year - 2000;
  t.dayOfWeek = y.dayOfWeek;
  t.week = y.week;
  t.text = cutToCapacity(row.text, kRowTextCapacity);
  t.age = i.ageDays + 1;
  t.done = row.done;
  t.pomodoros = row.pomodoros;
  t.abandoned = row.abandoned;
  t.estimated = row.estimated;
  t.internalInterruptions = row.internalInterruptions;
  t.externalInterruptions = row.externalInterruptions;
  t.minutesWorked = i.minutesToday;
  t.totalMinutes = i.pastMinutes;
  t.projectId = i.projectId;
  t.category = i.category;
  const std::uint8_t deadline[3] = {i.deadlineYear, i.deadlineMonth, i.deadlineDay};
  writeLine(app, archiveLine(t, deadline, i.insertDate, row.hasFlag(rowflag::kUnplanned), t.estimated,
                             t.totalMinutes));
  logLine(u"Task: %s (%d')", row.text, i.minutesToday);
  y.tasks.push_back(std::move(t));
}

void writeYesterdayRecord(App& app, const YesterdayTask& task) {
  YesterdayArchive& y = app.yesterday;
  YesterdayTask t = task;
  t.text = cutToCapacity(task.text, kRowTextCapacity);
  if (t.month < 1 || t.month > 12) {
    t.day = y.day;
    t.month = y.month;
    t.year = y.year - 2000;
    t.dayOfWeek = y.dayOfWeek;
    t.week = y.week;
  }
  const std::uint8_t none[3] = {0, 0, 0};
  writeLine(app, archiveLine(t, none, none, false, t.estimated, t.totalMinutes));
  y.tasks.push_back(std::move(t));
}

void closeYesterdayArchive(App& app) {
  YesterdayArchive& y = app.yesterday;
  logLine(u"Yesterday Archive close %s", kYesterdayArchiveFile);
  if (y.writer) {
    y.writer->commit();
    y.writer.reset();
  }
  fileClose(y.file);
  y.file = kInvalidFile;
}

void loadYesterdayArchiveAtStart(App& app) {
  YesterdayArchive& y = app.yesterday;
  logLine(u"It's not the 1st run of today, open stored files.");
  y.tasks.clear();
  y.heading.clear();
  y.completedLines.clear();
  y.workedLines.clear();
  y.fromArchiveFile = false;

  int lines = 0;
  if (pathKind(kYesterdayArchiveFile) == PathKind::File) lines = LoadYesterdayTasks_new(app, kYesterdayArchiveFile);
  if (lines == 0 && pathKind(kYesterdayArchiveCsvFile) == PathKind::File)
    lines = LoadYesterdayTasks_old(app, kYesterdayArchiveCsvFile);
  if (lines > 0) return;

  logLine(u"Get last day tsks info from old format files");
  y.tasks.clear();
  y.heading.clear();
  y.fromArchiveFile = false;
  y.completedLines = readLegacyLines(kLastDayCompletedFile);
  y.workedLines = readLegacyLines(kLastDayWorkedFile);
}

int LoadYesterdayTasks_new(App& app, u16v path) {
  return loadArchiveLines(app, path, LineCoding::Utf16Le, u"LoadYesterdayTasks_new");
}

int LoadYesterdayTasks_old(App& app, u16v path) {
  return loadArchiveLines(app, path, LineCoding::Utf8, u"LoadYesterdayTasks_old");
}

}  // namespace tirelmo
