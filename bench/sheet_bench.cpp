// What the ToDo sheet engine costs with a long history on disk: the sheet list over ten
// years of daily sheets, the day start with a full sheet to carry over, the done-task
// archive query over ten years of month files, and loading and saving one full sheet.
// Every file is made by the core's own writers in a private temporary folder.
//
// The files are read from the page cache after the first iteration: these are warm-cache
// figures. The savers flush to the disk before they swap a file in, so their times include
// one fsync per file written.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "todolists/todolist_registry.h"
#include "app/app.h"
#include "base/dates.h"
#include "base/log.h"
#include "app/day_start.h"
#include "app/row_editing.h"
#include "app/todolists.h"
#include "sheet/sheet.h"
#include "app/sheet_io.h"
#include "sheet/sheet_files.h"
#include "sheet/sheet_list.h"
#include "stats/done_archive.h"
#include "storage/file_ops.h"
#include "support/fakes.h"
#include "text/format.h"

namespace tirelmo {
namespace {

namespace fs = std::filesystem;

// A private folder, removed with everything in it at the end. Unlike the tests' TempDir it
// does not change the current directory: several of these live side by side.
class BenchDir {
 public:
  BenchDir() {
    std::string tmpl = (fs::temp_directory_path() / "tirelmo-bench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    native_ = tmpl;
    path_ = utf8ToUtf16(tmpl);
  }
  ~BenchDir() {
    std::error_code ec;
    fs::remove_all(native_, ec);
  }
  BenchDir(const BenchDir&) = delete;
  BenchDir& operator=(const BenchDir&) = delete;
  const u16& path() const { return path_; }
  const std::string& native() const { return native_; }

 private:
  std::string native_;
  u16 path_;
};

// The path as this process's own file calls want it (the core spells folders with '\\').
std::string nativeOf(u16v path) {
  std::string s = utf16ToUtf8(path);
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

// Runs a piece of code with the current directory set to a folder (the archives use
// relative paths, as the program does from its user-data folder).
class InFolder {
 public:
  explicit InFolder(const std::string& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
  ~InFolder() {
    std::error_code ec;
    fs::current_path(previous_, ec);
  }

 private:
  fs::path previous_;
};

// The program keeps its log open for the whole run, and nearly every step writes to it: the
// benchmarks do the same, into a folder of their own.
void openBenchLog() {
  static BenchDir logDir;
  if (!processLog().isOpen()) processLog().openIn(logDir.path());
}

// ---- Realistic content -----------------------------------------------------------------

int daysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

struct Date {
  int year, month, day;
  void next() {
    if (++day > daysInMonth(year, month)) {
      day = 1;
      if (++month > 12) month = 1, ++year;
    }
  }
  int dayOfWeek() const { return dayOfWeekOf(year, month, day); }
};

// Task texts of the kinds users type: short and long, English, German, Chinese, quotes.
const char16_t* const kTaskTexts[] = {
    u"Answer the mail from the tax office",
    u"Write the weekly report and send it to the team",
    u"Steuererklärung 2020: Belege für Fahrtkosten sortieren",
    u"写周报并发给团队，然后整理会议记录",
    u"Review \"Deep Work\", chapters 1-4, and note three habits to try",
    u"Call the plumber",
    u"Refactor the invoice export so that it streams rows instead of building the whole file",
    u"買鉛筆",
    u"Prepare the slides for Thursday's customer meeting (pricing, roadmap, open questions)",
    u"Gym",
};

u16 taskText(int i) { return kTaskTexts[static_cast<std::size_t>(i) % std::size(kTaskTexts)]; }

// A text of exactly the row's 179 units.
u16 longText(int i) {
  u16 t = fmt(u"%d. ", i + 1);
  while (t.size() < kRowTextMax) t += taskText(i) + u" / ";
  t.resize(kRowTextMax);
  return t;
}

TodoRow taskRow(int i, u16 text) {
  TodoRow r;
  r.text = std::move(text);
  r.estimated = static_cast<std::uint8_t>(1 + i % 4);
  r.pastPomodoros = static_cast<std::uint8_t>(i % 7);
  r.pastInternal = static_cast<std::uint8_t>(i % 3);
  r.info.category = static_cast<std::uint8_t>(i % 13);
  r.info.ageDays = static_cast<std::uint8_t>(i % 9);
  r.info.pastMinutes = 25 * r.pastPomodoros;
  return r;
}

TodoRow separatorRow() {
  TodoRow r;
  r.text = kSeparatorText;
  return r;
}

// The bytes of a sheet file, made by the core's own record writer.
std::string sheetBytes(const std::vector<TodoRow>& rows) {
  std::string bytes = encodeSheetHeader();
  for (std::size_t i = 0; i < rows.size(); ++i) appendRowRecord(bytes, rows[i], static_cast<int>(i));
  return bytes;
}

void writeWhole(u16v path, const std::string& bytes) {
  AtomicFileWriter w(path);
  if (!w.isOpen() || !w.write(bytes) || !w.commit()) std::abort();
}

// An App on a fake machine whose run started on a given day.
struct BenchApp {
  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app{clock, prompts, system};

  BenchApp(const u16& userDataDir, Date today) {
    clock.set(today.year, today.month, today.day, 8, 45);
    app.start.startTime = clock.now();
    app.start.today = DayDate::from(app.start.startTime);
    app.start.displayedSheetDate = app.start.today;
    app.start.userDataDir = userDataDir;
    app.start.defaultUserDataDir = userDataDir;
  }
};

// ---- 1. The sheet list over ten years of daily sheets ------------------------------------

constexpr int kHistoryDays = 3650;

// DailyTask\YYYY\MM with one sheet a day for ten years, each dated (modification time, which
// the POSIX adapter reports as the creation time) on its own day.
class TenYearsOfSheets {
 public:
  TenYearsOfSheets() {
    Date d{2011, 1, 1};
    const auto firstDay = fs::file_time_type::clock::now() - std::chrono::hours(24 * (kHistoryDays + 1));
    for (int n = 0; n < kHistoryDays; ++n, d.next()) {
      std::vector<TodoRow> rows(kSheetRows);
      const int tasks = 6 + n % 12;  // 6..17 tasks, the separator at 12
      for (int i = 0; i < tasks; ++i) rows[static_cast<std::size_t>(i < 12 ? i : i + 1)] = taskRow(n + i, taskText(n + i));
      rows[12] = separatorRow();
      const u16 folder = fmt(u"%s\\DailyTask\\%d\\%d", dir_.path(), d.year, d.month);
      fs::create_directories(nativeOf(folder));
      const u16 name = sheetFileNameFor(d.year, d.month, d.day, d.dayOfWeek(), u".pm6");
      const u16 path = joinPath(folder, name);
      writeWhole(path, sheetBytes(rows));
      bytes_ += fs::file_size(nativeOf(path));
      fs::last_write_time(nativeOf(path), firstDay + std::chrono::hours(24 * n));
    }
    // A debug copy now and then, which the list must leave out.
    writeWhole(fmt(u"%s\\DailyTask\\2015\\6\\DailyTask_2015-6-1-1_dbg.pm6", dir_.path()), encodeSheetHeader());
  }
  u16 dailyTask() const { return joinPath(dir_.path(), u"DailyTask"); }
  std::uint64_t bytes() const { return bytes_; }

 private:
  BenchDir dir_;
  std::uint64_t bytes_ = 0;
};

const TenYearsOfSheets& tenYearsOfSheets() {
  static const TenYearsOfSheets history;
  return history;
}

void BM_BuildSheetList(benchmark::State& state) {
  openBenchLog();
  const TenYearsOfSheets& history = tenYearsOfSheets();
  SheetListing list;
  for (auto _ : state) {
    list = buildSheetList(history.dailyTask());
    benchmark::DoNotOptimize(list.size());
  }
  if (list.size() != kHistoryDays) state.SkipWithError("sheet files missing from the list");
  double pathUnits = 0;
  for (std::size_t i = 0; i < list.size(); ++i) pathUnits += static_cast<double>(list.path(i).size());
  const double n = static_cast<double>(list.empty() ? 1 : list.size());
  state.counters["files"] = static_cast<double>(list.size());
  state.counters["files/s"] = benchmark::Counter(static_cast<double>(list.size()), benchmark::Counter::kIsIterationInvariantRate);
  // What the list keeps for the run, per sheet and in all.
  state.counters["bytes/entry"] = static_cast<double>(list.bytesHeld()) / n;
  state.counters["list_KiB"] = static_cast<double>(list.bytesHeld()) / 1024.0;
  state.counters["path_units"] = pathUnits / n;
}

BENCHMARK(BM_BuildSheetList)->Unit(benchmark::kMillisecond);

// ---- 2. The day start with a full sheet carried over --------------------------------------

const Date kToday{2021, 3, 5};
const Date kYesterday{2021, 3, 4};

// Yesterday's sheet with every row in use: done, repeat, worked, idle, linked rows, the
// separator at 12 and unplanned tasks below it.
std::vector<TodoRow> fullPreviousSheet() {
  std::vector<TodoRow> rows(kSheetRows);
  for (int i = 0; i < kSheetRows; ++i) {
    if (i == 12) {
      rows[12] = separatorRow();
      continue;
    }
    TodoRow r = taskRow(i, i % 3 == 0 ? longText(i) : taskText(i));
    r.pomodoros = static_cast<std::uint8_t>(i % 4);
    r.abandoned = static_cast<std::uint8_t>(i % 5 == 0);
    r.internalInterruptions = static_cast<std::uint8_t>(i % 2);
    r.externalInterruptions = static_cast<std::uint8_t>(i % 3 == 1);
    r.info.minutesToday = 25 * r.pomodoros + 10 * r.abandoned;
    if (i % 4 == 1) r.done = 1;
    if (i % 6 == 1 || i % 6 == 4) r.info.flags |= rowflag::kRepeat;
    if (i % 5 == 2) {
      r.info.flags |= rowflag::kDeadline;
      r.info.deadlineYear = 21, r.info.deadlineMonth = 3, r.info.deadlineDay = 12;
    }
    if (i % 3 != 2) r.info.projectId = 1 + i % 4;
    rows[static_cast<std::size_t>(i)] = r;
  }
  return rows;
}

void BM_StartDayFullSheet(benchmark::State& state) {
  openBenchLog();
  const std::string previousBytes = sheetBytes(fullPreviousSheet());
  for (auto _ : state) {
    state.PauseTiming();
    auto dir = std::make_unique<BenchDir>();
    for (const char* sub : {"/DailyTask/2021/3", "/stats", "/Projects", "/AppUsage"})
      fs::create_directories(dir->native() + sub);
    const u16 previous = sheetFilePath(dir->path(), kYesterday.year, kYesterday.month,
                                       sheetFileNameFor(kYesterday.year, kYesterday.month, kYesterday.day,
                                                        kYesterday.dayOfWeek(), u".pm6"));
    writeWhole(previous, previousBytes);
    auto run = std::make_unique<BenchApp>(dir->path(), kToday);
    App& app = run->app;
    app.settings.last2dofilename = previous;
    for (int id = 1; id <= 4; ++id)
      app.projects.active.push_back(Project{id, fmt(u"Project %d", id), 12u * id, 5u, 1, 0, 0, 0, 0});
    auto inFolder = std::make_unique<InFolder>(dir->native());
    state.ResumeTiming();

    const DayStartOutcome outcome = startDay(app);

    state.PauseTiming();
    if (outcome != DayStartOutcome::Done || !app.start.firstRunToday || app.sheet.modified)
      state.SkipWithError("the day start did not make today's sheet");
    inFolder.reset();
    run.reset();
    dir.reset();
    state.ResumeTiming();
  }
}

BENCHMARK(BM_StartDayFullSheet)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- 3. The done-task archive query over ten years of month files -------------------------

constexpr int kArchiveMonths = 120;
constexpr int kTasksPerDay = 20;
constexpr int kArchiveDaysPerMonth = 30;

// stats\DoneTasks_Y_M.m00 for 2011-1 .. 2020-12, each day's tasks appended the way the day
// start appends them (and the weekly lists beside them).
class TenYearsOfArchive {
 public:
  TenYearsOfArchive() {
    fs::create_directories(dir_.native() + "/stats");
    InFolder in(dir_.native());
    BenchApp run(dir_.path(), Date{2021, 1, 1});
    App& app = run.app;
    for (int m = 0; m < kArchiveMonths; ++m) {
      const int year = 2011 + m / 12, month = 1 + m % 12;
      const int days = std::min(kArchiveDaysPerMonth, daysInMonth(year, month));
      for (int day = 1; day <= days; ++day) {
        openDoneArchive(app, year, month, day, dayOfWeekOf(year, month, day));
        for (int t = 0; t < kTasksPerDay; ++t) {
          const int n = m * 1000 + day * 40 + t;
          TodoRow row = taskRow(n, taskText(n));
          row.done = t % 3 != 0;
          row.info.projectId = 1 + n % 8;
          row.pastPomodoros = static_cast<std::uint8_t>(1 + n % 6);
          appendDoneTaskRow(app, row, t >= 15, 25 * (1 + n % 4));
          ++lines_;
        }
        closeDoneArchive(app);
      }
      bytes_ += fs::file_size(nativeOf(doneArchiveMonthPath(year, month)));
    }
  }
  const std::string& folder() const { return dir_.native(); }
  std::uint64_t bytes() const { return bytes_; }
  std::uint64_t lines() const { return lines_; }

 private:
  BenchDir dir_;
  std::uint64_t bytes_ = 0;
  std::uint64_t lines_ = 0;
};

const TenYearsOfArchive& tenYearsOfArchive() {
  static const TenYearsOfArchive archive;
  return archive;
}

// What a query's answer holds in memory: the two arrays and the descriptions on the heap.
double resultMemory(const ArchiveQueryResult& r) {
  double bytes = static_cast<double>(r.groups.capacity() * sizeof(DayGroup) + r.entries.capacity() * sizeof(DoneTaskEntry));
  for (const DoneTaskEntry& e : r.entries) {
    const auto* inside = reinterpret_cast<const char*>(&e);
    const auto* text = reinterpret_cast<const char*>(e.description.data());
    if (text < inside || text >= inside + sizeof e) bytes += static_cast<double>((e.description.capacity() + 1) * sizeof(char16_t));
  }
  return bytes;
}

// Arguments: the mode, and the span in months (1: the History page's month; 120: all of it).
void BM_QueryDoneArchive(benchmark::State& state) {
  openBenchLog();
  const TenYearsOfArchive& archive = tenYearsOfArchive();
  const auto mode = static_cast<ArchiveQueryMode>(state.range(0));
  const int months = static_cast<int>(state.range(1));
  const ArchiveDate from{months == 1 ? 2020 : 2011, months == 1 ? 12 : 1, 1};
  const ArchiveDate to{2020, 12, 31};
  // Mode 4 (and 5) looks for one exact description, as a project report does.
  const u16 wanted = taskText(3);
  const DayGroup today{21, 1, 1, 5, 1, 50};
  InFolder in(archive.folder());
  std::size_t groups = 0, entries = 0;
  double resultBytes = 0;
  for (auto _ : state) {
    ArchiveQueryResult r = queryDoneArchive(from, to, mode, mode == ArchiveQueryMode::Category ? 4 : 3, wanted, &today);
    groups = r.groups.size();
    entries = r.entries.size();
    benchmark::DoNotOptimize(r.totalMinutes);
    if (state.iterations() == 0) resultBytes = resultMemory(r);
  }
  if (groups < 2) state.SkipWithError("the query found nothing");
  const std::uint64_t bytesRead = archive.bytes() * static_cast<std::uint64_t>(months) / kArchiveMonths;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytesRead));
  state.counters["lines/s"] = benchmark::Counter(
      static_cast<double>(archive.lines() * static_cast<std::uint64_t>(months) / kArchiveMonths),
      benchmark::Counter::kIsIterationInvariantRate);
  state.counters["groups"] = static_cast<double>(groups);
  state.counters["result_KiB"] = resultBytes / 1024.0;
  if (mode == ArchiveQueryMode::Entries) state.counters["entries"] = static_cast<double>(entries);
}

BENCHMARK(BM_QueryDoneArchive)
    ->ArgNames({"mode", "months"})
    ->Args({1, 1})
    ->Args({1, kArchiveMonths})
    ->Args({2, kArchiveMonths})
    ->Args({3, kArchiveMonths})
    ->Args({4, kArchiveMonths})
    ->Args({5, kArchiveMonths})
    ->Unit(benchmark::kMillisecond);

// ---- 4. Loading and saving one full sheet -------------------------------------------------

// 24 tasks of 179 units and the separator: the largest sheet a user can make.
std::vector<TodoRow> fullSheetOfLongTexts() {
  std::vector<TodoRow> rows(kSheetRows);
  for (int i = 0; i < kSheetRows; ++i) rows[static_cast<std::size_t>(i)] = i == 12 ? separatorRow() : taskRow(i, longText(i));
  return rows;
}

void BM_SaveFullSheet(benchmark::State& state) {
  openBenchLog();
  BenchDir dir;
  BenchApp run(dir.path(), kToday);
  App& app = run.app;
  app.sheet.rows = fullSheetOfLongTexts();
  app.sheet.separatorIndex = 12;
  InFolder in(dir.native());
  for (auto _ : state) {
    app.sheet.modified = true;
    if (!saveTodoSheet(app, false)) state.SkipWithError("the sheet was not saved");
  }
  const std::uint64_t size = fs::file_size(nativeOf(app.settings.last2dofilename));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
  state.counters["file_bytes"] = static_cast<double>(size);
}

void BM_LoadFullSheet(benchmark::State& state) {
  openBenchLog();
  BenchDir dir;
  BenchApp run(dir.path(), kToday);
  App& app = run.app;
  fs::create_directories(dir.native() + "/DailyTask/2021/3");
  const u16 path = sheetFilePath(dir.path(), kToday.year, kToday.month,
                                 sheetFileNameFor(kToday.year, kToday.month, kToday.day, kToday.dayOfWeek(), u".pm6"));
  const std::string bytes = sheetBytes(fullSheetOfLongTexts());
  writeWhole(path, bytes);
  InFolder in(dir.native());
  for (auto _ : state) {
    resetTodoSheet(app.sheet);
    if (!loadTodoSheetPm6(app, path, nullptr, ProjectCredit::Skip)) state.SkipWithError("the sheet was not loaded");
    benchmark::DoNotOptimize(app.sheet.rows.data());
  }
  if (app.sheet.rows[24].text.size() != kRowTextMax || app.sheet.separatorIndex != 12)
    state.SkipWithError("the sheet read back wrong");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
}

// The format alone, without the file system: encoding and decoding the same 25 rows.
void BM_EncodeFullSheet(benchmark::State& state) {
  const std::vector<TodoRow> rows = fullSheetOfLongTexts();
  std::size_t size = 0;
  for (auto _ : state) {
    const std::string bytes = sheetBytes(rows);
    size = bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

void BM_DecodeFullSheet(benchmark::State& state) {
  openBenchLog();
  const std::string bytes = sheetBytes(fullSheetOfLongTexts());
  std::vector<TodoRow> rows(kSheetRows);
  for (auto _ : state) {
    const int n = readRowRecords(bytes, kSheetRows, [&](int index, TodoRow& row) {
      rows[static_cast<std::size_t>(index)] = std::move(row);
    });
    if (n != kSheetRows) state.SkipWithError("rows lost");
    benchmark::DoNotOptimize(rows.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK(BM_SaveFullSheet)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_LoadFullSheet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncodeFullSheet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeFullSheet)->Unit(benchmark::kMicrosecond);


// ---- 5. Todolists: switching the list in view, sorting today's rows ------------------------

// Two lists of 50 long tasks each; every iteration switches to the other one: the open list
// is written, the other read. Drawing page 1 comes on top (ui_bench's BM_DrawListView).
void BM_SwitchTodolist(benchmark::State& state) {
  openBenchLog();
  BenchDir dir;
  BenchApp run(dir.path(), kToday);
  App& app = run.app;
  InFolder in(dir.native());
  fs::create_directories(dir.native() + "/NextThings");
  for (const char16_t* title : {u"Work", u"Home"}) {
    TodolistEntry e;
    e.id = app.todolists.count() + 1;
    e.title = title;
    e.path = fmt(u"%s\\NextThings\\%s.pm6", dir.path(), title);
    TodoSheet list(kTodolistRows);
    for (int i = 0; i < kTodolistRows; ++i) list.rows[static_cast<std::size_t>(i)] = taskRow(i, longText(i));
    if (!writeTodolistFile(e.path, list)) std::abort();
    app.todolists.entries.push_back(e);
  }
  app.todolists.current = 0;
  if (!loadTodolistInView(app)) std::abort();
  int next = 1;
  for (auto _ : state) {
    app.todolist.modified = true;
    if (!switchTodolist(app, next)) state.SkipWithError("the list was not switched");
    next = 1 - next;
  }
  if (app.todolist.rows[49].text.size() != kRowTextMax) state.SkipWithError("the list read back wrong");
}
BENCHMARK(BM_SwitchTodolist)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Both sorts of a full sheet (24 tasks and the separator), each from a shuffled order.
void BM_SortRows(benchmark::State& state) {
  openBenchLog();
  BenchDir dir;
  BenchApp run(dir.path(), kToday);
  App& app = run.app;
  std::vector<TodoRow> rows = fullSheetOfLongTexts();
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i].done = static_cast<std::uint8_t>(i % 3 == 0);
  rows[12] = separatorRow();
  const bool undoneFirst = state.range(0) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    app.sheet.rows = rows;
    app.sheet.separatorIndex = 12;
    state.ResumeTiming();
    if (!sortRows(app, undoneFirst)) state.SkipWithError("not sorted");
  }
}
BENCHMARK(BM_SortRows)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tirelmo
