// Random bytes as the statistics and project files, taken through what reads and uses them:
// the month table (loaded, saved, loaded again), the done-task archive (the current month's
// list and the query with its sums), the yesterday archive, and the project lists (loaded,
// given and taken minutes, saved, loaded again). Every number stays within its range, no sum
// overflows (UBSan stops at the first finding), and what is saved reads back the same.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/app.h"
#include "fuzz_app.h"
#include "fuzz_input_file.h"
#include "projects/project_store.h"
#include "storage/record_file.h"
#include "stats/done_archive.h"
#include "stats/month_stats.h"
#include "stats/yesterday_archive.h"
#include "support/fakes.h"

using namespace tirelmo;
using fuzz::dataDir;
using fuzz::require;
using fuzz::Run;
namespace fs = std::filesystem;

namespace {


std::string native(const std::string& relative) { return dataDir().native() + "/" + relative; }

void freshFolders() {
  for (const char* sub : {"stats", "Projects"}) {
    fs::remove_all(native(sub));
    fs::create_directories(native(sub));
  }
  for (const char* f : {"YesterdayArchive.y00", "YesterdayArchive.csv", "LastDayCompletedTasks.txt"})
    fs::remove(native(f));
}

void monthTable(std::string_view bytes) {
  tirelmo::test::writeBytes(native("stats/2021-3.ats"), std::string(bytes));
  Run first;
  LoadMonthStatData(first.app);
  std::int64_t minutes = 0;
  for (const DayStats& d : first.app.month.days) {
    require(d.used <= 1, "used flag not 0 or 1");
    require(d.workedMinutes < 60, "day minutes over 59");
    minutes += d.workedTime();
  }
  require(minutes <= 31 * (255 * 60 + 59), "month minutes beyond 31 full days");
  require(SaveMonthStatData(first.app), "month table not saved");
  Run second;
  LoadMonthStatData(second.app);
  require(first.app.month.days == second.app.month.days, "month table changed between save and reload");
}

void doneArchive(std::string_view bytes, std::uint8_t how) {
  const bool csv = how & 0x10;
  const char* file = csv ? "stats/DoneTasks_2021_3.csv" : "stats/DoneTasks_2021_3.m00";
  tirelmo::test::writeBytes(native(file), std::string(bytes));
  Run run;
  loadCurrentMonthDoneTasks(run.app);
  for (const DoneTaskEntry& e : run.app.doneArchive.currentMonth) {
    require(e.year >= 2000 && e.year <= 2255, "year out of range");
    require(e.month >= 0 && e.month <= 12 && e.day >= 0 && e.day <= 31, "date out of range");
    require(e.dayOfWeek >= 0 && e.dayOfWeek <= 6 && e.week >= 0 && e.week <= 53, "week day out of range");
    require(e.minutesWorked >= 0 && e.minutesWorked <= kMaxMinutesToday, "minutes out of range");
    require(e.totalMinutes >= 0 && e.totalMinutes <= kMaxPastMinutes, "past minutes out of range");
    require(e.pomodoros >= 0 && e.pomodoros <= 255, "pomodoros out of range");
    require(e.category >= 0 && e.category <= kLastRowCategory, "category out of range");
  }
  if (csv) return;  // the query reads the .m00 form only
  const DayGroup extra{21, 3, 31, 3, 14, static_cast<std::uint16_t>(how * 257)};
  const auto mode = static_cast<ArchiveQueryMode>(1 + how % 5);
  const ArchiveQueryResult r =
      queryDoneArchive({2000, 1, 1}, {2255, 12, 31}, mode, how % 13, u"", (how & 0x20) ? &extra : nullptr);
  int most = 0;
  for (const DayGroup& g : r.groups) most = std::max<int>(most, g.minutes);
  require(r.maxDayMinutes == most, "largest day is not the largest group");
  require(r.totalMinutes >= 0, "negative total");
  if (mode == ArchiveQueryMode::Entries) {
    std::int64_t sum = (how & 0x20) ? extra.minutes : 0;
    for (const DoneTaskEntry& e : r.entries) sum += e.minutesWorked;
    require(r.totalMinutes == sum, "query total is not the sum of its lines");
  }
}

void yesterdayArchive(std::string_view bytes, std::uint8_t how) {
  static const char* const kNames[] = {"YesterdayArchive.y00", "YesterdayArchive.csv", "LastDayCompletedTasks.txt"};
  tirelmo::test::writeBytes(native(kNames[(how >> 4) % 3]), std::string(bytes));
  Run run;
  loadYesterdayArchiveAtStart(run.app);
  for (const YesterdayTask& t : run.app.yesterday.tasks) {
    require(t.month >= 0 && t.month <= 12 && t.day >= 0 && t.day <= 31 && t.dayOfWeek >= 0 && t.dayOfWeek <= 6,
            "date out of range");
    require(t.year >= 0 && t.year <= 255 && t.week >= 0 && t.week <= 53, "year or week out of range");
    require(t.pomodoros >= 0 && t.pomodoros <= 255 && t.abandoned >= 0 && t.abandoned <= 255, "counts out of range");
    require(t.done == 0 || t.done == 1, "done not 0 or 1");
    require(t.minutesWorked >= 0 && t.minutesWorked <= kMaxMinutesToday, "minutes out of range");
  }
}

void checkProjects(const std::vector<Project>& list) {
  for (const Project& p : list) {
    require(!p.name.empty() && p.name.size() < kProjectNameCapacity, "project name length");
    require(p.workedHours <= 1000000 && p.workedMinutes < 60, "worked time out of range");
    require(p.status <= kProjectClosed, "status out of range");
    require(p.deadlineMonth >= 0 && p.deadlineMonth <= 12 && p.deadlineDay >= 0 && p.deadlineDay <= 31,
            "deadline out of range");
  }
}

// Lines of a saved list file: the plain CR LF pairs that end them.
std::size_t lineEnds(const std::string& bytes) {
  std::size_t n = 0;
  for (std::size_t i = 0; i + 3 < bytes.size(); i += 2)
    if (bytes.compare(i, 4, std::string("\r\0\n\0", 4)) == 0) ++n;
  return n;
}

void projects(std::string_view bytes, std::uint8_t how) {
  static const char* const kNames[] = {"Projects/active_prj.p01", "Projects/closed_prj.p01", "Projects/active_prj.p00",
                                       "Projects/active_prj.csv"};
  tirelmo::test::writeBytes(native(kNames[(how >> 4) % 4]), std::string(bytes));
  Run first;
  loadProjectsAtStart(first.app);
  checkProjects(first.app.projects.active);
  checkProjects(first.app.projects.closed);
  // The time accounting on a project at any point of its range.
  if (!first.app.projects.active.empty()) {
    const std::int32_t id = first.app.projects.active.front().id;
    addProjectMinutes(first.app, id, kMaxMinutesToday);
    subtractProjectMinutes(first.app, id, 25 + how);
    checkProjects(first.app.projects.active);
  }
  require(SaveActiveProjects(first.app) && SaveClosedProjects(first.app), "project lists not saved");
  std::string active, closed;
  readFileBytes(dataDir().path() + u"/Projects/active_prj.p01", active, 1u << 24);
  readFileBytes(dataDir().path() + u"/Projects/closed_prj.p01", closed, 1u << 24);
  // A name whose scrambled line holds the CR LF pair itself is split there; the reader joins
  // the pieces again, a few times per record at most. Files with more splits than one
  // record may take are left out; every other file must read back.
  // (An empty closed list writes nothing: the file read stays and reads as nothing again.)
  const std::size_t closedCount = first.app.projects.closed.size();
  const auto extra = [](std::size_t ends, std::size_t lines) {
    return ends > lines ? ends - lines : std::size_t{0};
  };
  const std::size_t splits = extra(lineEnds(active), first.app.projects.active.size() + 1) +
                             (closedCount != 0 ? extra(lineEnds(closed), closedCount + 1) : 0);
  if (splits > static_cast<std::size_t>(kMaxRecordJoins)) return;
  Run second;
  loadProjectsAtStart(second.app);
  for (Project& p : first.app.projects.active) p.minutesToday = 0;
  require(first.app.projects.active == second.app.projects.active, "active projects changed on reload");
  require(first.app.projects.closed == second.app.projects.closed, "closed projects changed on reload");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t how = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  freshFolders();
  switch (how % 4) {
    case 0: monthTable(bytes); break;
    case 1: doneArchive(bytes, how); break;
    case 2: yesterdayArchive(bytes, how); break;
    default: projects(bytes, how); break;
  }
  return 0;
}
