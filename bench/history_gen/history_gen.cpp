// Writes years of plausible history into a user-data folder, through the core's own writers,
// so that start-up, memory and page costs can be measured on a profile that has been used
// for a long time: one sheet a day, the month tables, the done-task archives with their
// weekly lists, the active projects and a settings file naming the newest sheet.
//
//   history_gen OUT_DIR [--windows-dir WIN_DIR] [--years N] [--last Y-M-D] [--seed S]
//
// OUT_DIR is written on this machine; WIN_DIR is the same folder as the Win32 program sees
// it (the paths in tirelmo.i00 name it). --last is the newest sheet's day (default: yesterday,
// so the next start is the first of a day).
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/app.h"
#include "platform/file.h"
#include "projects/project_store.h"
#include "sheet/sheet.h"
#include "sheet/sheet_files.h"
#include "stats/done_archive.h"
#include "stats/month_stats.h"
#include "storage/file_tools.h"
#include "storage/settings.h"
#include "support/fakes.h"
#include "text/format.h"

namespace tirelmo {
namespace {

using namespace std::chrono;

struct Options {
  std::string outDir;
  std::string windowsDir;
  int years = 10;
  year_month_day last{};
  unsigned seed = 20260101;
};

int usage() {
  std::fprintf(stderr, "usage: history_gen OUT_DIR [--windows-dir WIN_DIR] [--years N] [--last Y-M-D] [--seed S]\n");
  return 2;
}

const char* const kVerbs[] = {"Write", "Review", "Fix", "Plan", "Call", "Read", "Test", "Draft", "Update", "Clean up"};
const char* const kThings[] = {"the quarterly report", "pull request 412", "the invoice for Rossi", "budget sheet",
                               "meeting notes", "customer mail", "the release notes", "the backup script",
                               "slides for Monday", "travel plans", "the garden shed order", "tax papers"};

TodoRow makeRow(std::mt19937& rng, int projects) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  TodoRow r;
  r.text = utf8ToUtf16(std::string(kVerbs[pick(10)]) + " " + kThings[pick(12)]);
  r.estimated = static_cast<std::uint8_t>(1 + pick(4));
  r.pomodoros = static_cast<std::uint8_t>(pick(r.estimated + 2));
  r.abandoned = static_cast<std::uint8_t>(pick(4) == 0 ? 1 : 0);
  r.internalInterruptions = static_cast<std::uint8_t>(pick(3));
  r.externalInterruptions = static_cast<std::uint8_t>(pick(3));
  r.done = static_cast<std::uint8_t>(r.pomodoros > 0 && pick(3) != 0 ? 1 : 0);
  r.info.minutesToday = r.pomodoros * 25 + pick(10);
  r.info.category = static_cast<std::uint8_t>(pick(kLastRowCategory + 1));
  r.info.projectId = pick(3) == 0 ? 1 + pick(projects) : 0;
  if (pick(5) == 0) {
    r.info.ageDays = static_cast<std::uint8_t>(1 + pick(5));
    r.pastPomodoros = static_cast<std::uint8_t>(pick(4));
    r.info.pastMinutes = r.pastPomodoros * 25;
  }
  if (pick(15) == 0) r.info.flags |= rowflag::kRepeat;
  return r;
}

// The core's paths use backslashes, which the adapter maps; std streams need them mapped here.
bool writeBytesTo(const u16& path, const std::string& bytes) {
  std::string native = utf16ToUtf8(path);
  for (char& c : native)
    if (c == '\\') c = '/';
  std::ofstream f(native, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

void makeFolders(const u16& dir, std::initializer_list<u16v> parts) {
  u16 p = dir;
  for (u16v part : parts) {
    p = joinPath(p, part);
    createDirectory(p);
  }
}

int run(const Options& o) {
  const u16 dir = utf8ToUtf16(o.outDir);
  const u16 winDir = o.windowsDir.empty() ? dir : utf8ToUtf16(o.windowsDir);
  std::error_code ec;
  std::filesystem::create_directories(o.outDir, ec);
  if (chdir(o.outDir.c_str()) != 0) {
    std::perror(o.outDir.c_str());
    return 1;
  }
  makeFolders(dir, {u"stats"});
  makeFolders(dir, {u"Projects"});

  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app(clock, prompts, system);
  app.start.userDataDir = dir;
  std::mt19937 rng(o.seed);

  const int projects = 12;
  for (int i = 1; i <= projects; ++i) {
    Project p;
    p.id = i;
    p.name = utf8ToUtf16("Project " + std::to_string(i));
    p.status = i % 4 == 0 ? kProjectSuspended : kProjectInProgress;
    app.projects.active.push_back(p);
  }

  const sys_days lastDay{o.last};
  const sys_days firstDay{year_month_day{o.last.year() - years{o.years}, o.last.month(), o.last.day()} };
  u16 newestSheet;
  int sheets = 0;
  for (sys_days d = firstDay; d <= lastDay; d += days{1}) {
    const year_month_day ymd{d};
    const int y = static_cast<int>(ymd.year()), m = static_cast<int>(static_cast<unsigned>(ymd.month()));
    const int day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    const int dow = static_cast<int>(weekday{d}.c_encoding());
    if (day == 1 || d == firstDay) {
      app.month.clear();
      makeFolders(dir, {u"DailyTask", fmt(u"%d", y), fmt(u"%d", m)});
    }
    app.start.today = DayDate{y, m, dow, day - 1};

    // One sheet: 10 to 20 rows, their totals in the month table, the done and worked ones
    // in the archive.
    const int rows = 10 + static_cast<int>(rng() % 11);
    std::string bytes = encodeSheetHeader();
    TodoSheet sheet(kSheetRows);
    openDoneArchive(app, y, m, day, dow);
    for (int i = 0; i < rows; ++i) {
      const TodoRow& r = sheet.rows[static_cast<std::size_t>(i)] = makeRow(rng, projects);
      appendRowRecord(bytes, r, i);
      if (r.isDone() || r.pomodoros > 0) appendDoneTaskRow(app, r, i >= rows - 2, r.info.minutesToday);
      if (r.info.projectId > 0) {
        Project& p = app.projects.active[static_cast<std::size_t>(r.info.projectId - 1)];
        const std::uint32_t all = p.workedHours * 60 + p.workedMinutes + static_cast<std::uint32_t>(r.info.minutesToday);
        p.workedHours = all / 60;
        p.workedMinutes = all % 60;
      }
    }
    closeDoneArchive(app);
    // The day's totals as the program would count them from the rows.
    recountDayTotals(sheet, app.month, day - 1);
    app.month.days[static_cast<std::size_t>(day - 1)] = sheet.dayTotals;
    newestSheet = sheetFilePath(winDir, y, m, sheetFileNameFor(y, m, day, dow, u".pm6"));
    if (!writeBytesTo(sheetFilePath(dir, y, m, sheetFileNameFor(y, m, day, dow, u".pm6")), bytes)) {
      std::fprintf(stderr, "history_gen: cannot write the sheet of %d-%d-%d\n", y, m, day);
      return 1;
    }
    ++sheets;
    const bool monthEnds = d == lastDay || year_month_day{d + days{1}}.day() == std::chrono::day{1};
    if (monthEnds && !SaveMonthStatData(app)) return 1;
  }
  if (!SaveActiveProjects(app)) return 1;

  // The settings name the newest sheet; the file is written where the program reads it, and
  // its folder lines say where the program sees that place.
  Settings s;
  setDefaultSettings(s, winDir);
  s.last2dofilename = newestSheet;
  s.next_prj_ID = projects + 1;
  s.wkdir = dir;
  if (!SaveSettingsToFile(s, prompts)) return 1;
  if (winDir != dir) {
    std::ifstream in(o.outDir + "/tirelmo.i00", std::ios::binary);
    std::string raw((std::istreambuf_iterator<char>(in)), {});
    u16 text(raw.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
      text[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) | (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
    const u16 from = u"wkdir=" + dir + u"\r\n", to = u"wkdir=" + winDir + u"\r\n";
    const std::size_t at = text.find(from);
    if (at == u16::npos) {
      std::fprintf(stderr, "history_gen: no wkdir line in the settings written\n");
      return 1;
    }
    text.replace(at, from.size(), to);
    std::string out;
    for (char16_t c : text) {
      out += static_cast<char>(c & 0xFF);
      out += static_cast<char>(c >> 8);
    }
    if (!writeBytesTo(joinPath(dir, u"tirelmo.i00"), out)) return 1;
  }
  std::printf("%d sheets, last %s\n", sheets, utf16ToUtf8(newestSheet).c_str());
  return 0;
}

}  // namespace
}  // namespace tirelmo

int main(int argc, char** argv) {
  using namespace std::chrono;
  tirelmo::Options o;
  // Local date, as the program takes "today".
  {
    const std::time_t now = std::time(nullptr);
    std::tm lt{};
    localtime_r(&now, &lt);
    o.last = year_month_day{sys_days{year_month_day{year{lt.tm_year + 1900}, month{unsigned(lt.tm_mon + 1)},
                                                    day{unsigned(lt.tm_mday)}}} - days{1}};
  }
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--windows-dir" && hasValue) {
      o.windowsDir = argv[++i];
    } else if (a == "--years" && hasValue) {
      o.years = std::atoi(argv[++i]);
    } else if (a == "--seed" && hasValue) {
      o.seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else if (a == "--last" && hasValue) {
      int y = 0, m = 0, d = 0;
      if (std::sscanf(argv[++i], "%d-%d-%d", &y, &m, &d) != 3) return tirelmo::usage();
      o.last = year_month_day{year{y}, month{unsigned(m)}, day{unsigned(d)}};
      if (!o.last.ok()) return tirelmo::usage();
    } else if (o.outDir.empty() && !a.empty() && a[0] != '-') {
      o.outDir = a;
    } else {
      return tirelmo::usage();
    }
  }
  if (o.outDir.empty() || o.years < 1 || o.years > 50) return tirelmo::usage();
  return tirelmo::run(o);
}
