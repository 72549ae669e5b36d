// Random bytes as a ToDo sheet file of any format, taken further than the byte parsers: the
// sheet is opened for display or carried over by the day start (with a fake clock and
// prompts), its day totals recounted, the page drawn on the recording canvas, saved, and
// read back. Whatever the file holds, the rows stay within their ranges, nothing on the way
// overflows (UBSan stops at the first finding) and the saved sheet reads back as it was.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/app.h"
#include "fuzz_app.h"
#include "fuzz_input_file.h"
#include "app/day_start.h"
#include "app/sheet_io.h"
#include "sheet/sheet_files.h"
#include "stats/done_archive.h"
#include "stats/yesterday_archive.h"
#include "storage/file_ops.h"
#include "support/fakes.h"
#include "support/recording_canvas.h"
#include "ui/page_view.h"
#include "ui/pages.h"
#include "ui/sheet_page.h"

using namespace tirelmo;
using fuzz::dataDir;
using fuzz::require;
using fuzz::Run;
namespace fs = std::filesystem;

namespace {

// 5 March 2021, a Friday; the day before is the previous sheet of the carry-over.
constexpr int kYear = 2021, kMonth = 3, kDay = 5, kDayOfWeek = 5;

constexpr const char16_t* kExtensions[] = {u".pm6", u".pm5", u".pm4", u".pm3", u".pm2", u".pm1", u".pom"};
constexpr const char16_t* kSkins[] = {u"cleanwhite", u"classic", u"compact white", u"no such skin"};


// The test's own file access takes the path with forward slashes.
std::string nativeOf(u16v path) {
  std::string s = utf16ToUtf8(path);
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

void freshFolders() {
  const std::string root = dataDir().native();
  fs::remove_all(root + "/DailyTask");
  fs::remove_all(root + "/stats");
  fs::remove(root + "/YesterdayArchive.y00");
  fs::create_directories(root + "/DailyTask/2021/3");
  fs::create_directories(root + "/stats");
}

void checkRows(const TodoSheet& sheet) {
  require(sheet.rowCount() == kSheetRows, "row count changed");
  require(sheet.separatorIndex >= -1 && sheet.separatorIndex < kSheetRows, "separator index out of range");
  for (const TodoRow& r : sheet.rows) {
    require(r.text.size() <= kRowTextMax, "row text over 179 units");
    require(r.info.minutesToday >= 0 && r.info.minutesToday <= kMaxMinutesToday, "minutes today out of range");
    require(r.info.pastMinutes >= 0 && r.info.pastMinutes <= kMaxPastMinutes, "past minutes out of range");
    require(r.done <= 1, "done not 0 or 1");
    require(r.info.category <= kLastRowCategory, "category out of range");
    require((r.info.flags & ~(rowflag::kUnplanned | rowflag::kRepeat | rowflag::kDeadline)) == 0, "unknown flag bits");
    if (r.isFree()) require(r == TodoRow(), "free row holds values");
  }
  if (sheet.separatorIndex >= 0) {
    const TodoRow& sep = sheet.rows[static_cast<std::size_t>(sheet.separatorIndex)];
    require(isSeparatorText(sep.text), "separator row lost its text");
    TodoRow bare;
    bare.text = sep.text;
    require(sep == bare, "separator row holds values");
  }
}

void checkTotals(const TodoSheet& sheet) {
  std::int64_t minutes = 0;
  for (const TodoRow& r : sheet.rows) minutes += r.info.minutesToday;
  const DayStats& t = sheet.dayTotals;
  require(t.workedTime() == std::min<std::int64_t>(minutes, 255 * 60 + 59), "worked time is not the rows' sum");
  require(t.workedMinutes < 60, "worked minutes over 59");
}

void drawPage(App& app, std::uint8_t how) {
  tirelmo::test::RecordingGraphics graphics;
  PageSet pages(graphics);
  pages.windowWidth = 700 + 100 * (how % 6);
  app.settings.skin = kSkins[(how >> 3) % 4];
  preparePages(pages, app);
  tirelmo::test::RecordingSurface view(graphics, kPageWidth, 800);
  drawPageView(app, pages, view, 0, 0, 0, kPageWidth, 3310);
  // Bands anywhere, as scrolling and row editors ask for them.
  for (int y = -100; y < 3400; y += 97 + how) drawPageView(app, pages, view, 0, 0, y, kPageWidth, 60);
}

// What a save writes must read back as the same rows; the unplanned flag and the insert
// date are never stored.
void checkSameRows(const TodoSheet& a, const TodoSheet& b) {
  require(a.separatorIndex == b.separatorIndex, "separator moved on reload");
  for (std::size_t i = 0; i < a.rows.size(); ++i) {
    TodoRow x = a.rows[i], y = b.rows[i];
    for (TodoRow* r : {&x, &y}) r->info.flags = static_cast<std::uint8_t>(r->info.flags & ~rowflag::kUnplanned);
    require(x == y, "row changed between save and reload");
    require(a.look[i] == b.look[i], "row look changed on reload");
  }
  DayStats s = a.dayTotals, t = b.dayTotals;
  s.used = t.used = 0;
  require(s == t, "day totals changed on reload");
}

std::string readAll(const u16& path) {
  std::string bytes;
  require(readFileBytes(path, bytes, 1u << 20), "saved sheet unreadable");
  return bytes;
}

// Saves the sheet of a run and reads the file back into a new run; returns the new run's
// saved bytes.
std::string saveAndReload(Run& run, Run& next) {
  require(saveTodoSheet(run.app, false), "today's sheet not saved");
  const u16 saved = run.app.settings.last2dofilename;
  require(DisplayToDoSheet(next.app, saved), "saved sheet not displayed");
  checkRows(next.app.sheet);
  return readAll(saved);
}

// What a save writes reads back as the same sheet. The one change allowed is the one every
// .pm6 load makes: a sheet read from an older format without a separator row gets it.
// From there on the file is a fixed point: saving what was read writes the same bytes.
void checkSaveAndReload(Run& first) {
  // The older formats are not recounted when loaded; the reloaded .pm6 is.
  recountDayTotals(first.app.sheet, first.app.month, first.app.todaySlot());
  TodoSheet expected = first.app.sheet;
  if (expected.separatorIndex == -1) placeSeparatorRow(expected);
  Run second;
  const std::string firstBytes = saveAndReload(first, second);
  checkSameRows(expected, second.app.sheet);
  Run third;
  const std::string secondBytes = saveAndReload(second, third);
  checkSameRows(second.app.sheet, third.app.sheet);
  require(first.app.sheet.separatorIndex == -1 || secondBytes == firstBytes, "second save differs from the first");
  Run fourth;
  require(saveAndReload(third, fourth) == secondBytes, "third save differs from the second");
}

void displayPath(std::string_view bytes, std::uint8_t how) {
  const u16v ext = kExtensions[how % 7];
  const u16 name = sheetFileNameFor(kYear, kMonth, kDay, kDayOfWeek, ext);
  const u16 path = sheetFilePath(dataDir().path(), kYear, kMonth, name);
  tirelmo::test::writeBytes(nativeOf(path), std::string(bytes));
  Run run;
  require(DisplayToDoSheet(run.app, path), "sheet of a known format not displayed");
  checkRows(run.app.sheet);
  recountDayTotals(run.app.sheet, run.app.month, run.app.todaySlot());
  checkTotals(run.app.sheet);
  drawPage(run.app, how);
  checkSaveAndReload(run);
}

void checkArchives(App& app) {
  loadCurrentMonthDoneTasks(app);
  for (const DoneTaskEntry& e : app.doneArchive.currentMonth) {
    require(e.minutesWorked >= 0 && e.minutesWorked <= kMaxMinutesToday, "archived minutes out of range");
    require(e.totalMinutes >= 0 && e.totalMinutes <= kMaxPastMinutes, "archived past minutes out of range");
    require(e.category >= 0 && e.category <= kLastRowCategory, "archived category out of range");
  }
  const DayGroup today{21, kMonth, kDay, kDayOfWeek, 10, 65535};
  const ArchiveQueryResult r =
      queryDoneArchive({kYear, 1, 1}, {kYear, 12, 31}, ArchiveQueryMode::Entries, 0, u"", &today);
  std::int64_t sum = today.minutes;
  for (const DoneTaskEntry& e : r.entries) sum += e.minutesWorked;
  require(r.totalMinutes == sum, "query total is not the sum of its lines");
  loadYesterdayArchiveAtStart(app);
  for (const YesterdayTask& t : app.yesterday.tasks)
    require(t.minutesWorked >= 0 && t.minutesWorked <= kMaxMinutesToday, "yesterday's minutes out of range");
}

void importPath(std::string_view bytes, std::uint8_t how) {
  // The formats the day start can carry over.
  const u16v ext = kExtensions[how % 4];
  const u16 name = sheetFileNameFor(kYear, kMonth, kDay - 1, kDayOfWeek - 1, ext);
  const u16 path = sheetFilePath(dataDir().path(), kYear, kMonth, name);
  tirelmo::test::writeBytes(nativeOf(path), std::string(bytes));
  Run run;
  run.app.settings.last2dofilename = path;
  require(startDay(run.app) == DayStartOutcome::Done, "day start did not finish");
  checkRows(run.app.sheet);
  if (ext != u".pm3") {
    for (const TodoRow& r : run.app.sheet.rows)
      require(r.pomodoros == 0 && r.abandoned == 0 && r.info.minutesToday == 0, "today's counts carried over");
  }
  checkTotals(run.app.sheet);
  drawPage(run.app, how);
  checkArchives(run.app);
  if (run.app.settings.last2dofilename != path) checkSaveAndReload(run);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t how = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  freshFolders();
  if (how & 0x80)
    importPath(bytes, how);
  else
    displayPath(bytes, how);
  return 0;
}
