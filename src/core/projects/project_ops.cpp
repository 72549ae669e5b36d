#include "projects/project_ops.h"

#include <algorithm>
#include <limits>
#include <string>

#include "app/app.h"
#include "app/row_ops.h"
#include "app/scores.h"
#include "app/sheet_io.h"
#include "app/todolists.h"
#include "base/dates.h"
#include "base/log.h"
#include "projects/project_store.h"
#include "sheet/sheet_files.h"
#include "stats/month_stats.h"
#include "storage/file_ops.h"
#include "storage/settings.h"
#include "text/format.h"

namespace tirelmo {

namespace {

constexpr std::size_t kLinkTextShown = 59;
constexpr int kDefaultReportDays = 30;

// The archive's year byte holds 2000..2255: no month file exists outside those years.
constexpr ArchiveDate kArchiveFirst{2000, 1, 1};
constexpr ArchiveDate kArchiveLast{2255, 12, 31};

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// At most n units; a pair that would lose its second half goes as a whole.
u16 cutUnits(u16v text, std::size_t n) {
  if (text.size() <= n) return u16(text);
  if (n > 0 && isHighSurrogate(text[n - 1])) --n;
  return u16(text.substr(0, n));
}

bool isControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029; }

bool isDate(ArchiveDate d) { return isCalendarDate(d.year, d.month, d.day); }


ArchiveDate todayOf(const App& app) {
  const DayDate& t = app.start.today;
  return {t.year, t.month, t.day()};
}

Project* findActive(App& app, std::int32_t id, std::size_t* index = nullptr) {
  std::vector<Project>& list = app.projects.active;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].id == id) {
      if (index) *index = i;
      return &list[i];
    }
  }
  return nullptr;
}

const Project* findAny(const App& app, std::int32_t id) {
  for (const std::vector<Project>* list : {&app.projects.active, &app.projects.closed})
    for (const Project& p : *list)
      if (p.id == id) return &p;
  return nullptr;
}

std::int64_t totalMinutes(const Project& p) { return std::int64_t{p.workedHours} * 60 + p.workedMinutes; }

void setDeadline(Project& p, ArchiveDate d) {
  // A date the picker cannot have given (a damaged value) is no deadline rather than one
  // that the day arithmetic later trips over.
  if (d.year == 0 || !isDate(d)) {
    if (d.year != 0) logLine(u"Deadline %d-%d-%d is no date, none kept", d.year, d.month, d.day);
    p.deadlineYear = p.deadlineMonth = p.deadlineDay = 0;
    return;
  }
  p.deadlineYear = d.year;
  p.deadlineMonth = d.month;
  p.deadlineDay = d.day;
}

// ---- Linking ------------------------------------------------------------------------------

// The row a link acts on; nullptr (with the refusal told or logged) when it cannot change.
TodoRow* linkableRow(App& app, RowRef ref) {
  if (ref.page != kPageTodoToday && ref.page != kPageNextThings) {
    logLine(u"Link: page %d holds no task rows", ref.page);
    return nullptr;
  }
  // An earlier day's sheet is a record of that day, and its minutes are not today's.
  if (!rowops::pageEditable(app, ref.page)) return nullptr;
  TodoSheet& sheet = rowops::pageModel(app, ref.page);
  if (!sheet.validRow(ref.row)) {
    logLine(u"Link: no row %d", ref.row);
    return nullptr;
  }
  TodoRow& r = sheet.rows[static_cast<std::size_t>(ref.row)];
  const bool separator = ref.page == kPageTodoToday && (ref.row == sheet.separatorIndex || isSeparatorText(r.text));
  if (r.isFree() || separator) {
    logLine(u"Link: row %d holds no task", ref.row);
    return nullptr;
  }
  return &r;
}

// Moves the row's worked time from its project to the new one. The target is checked first:
// minutes taken from the old project with nowhere to go would simply be lost.
bool moveRowMinutes(App& app, TodoRow& r, int row, std::int32_t newId) {
  const std::int32_t oldId = r.info.projectId;
  const int worked = std::max(0, r.info.minutesToday) + std::max(0, r.info.pastMinutes);
  if (newId != 0 && !findActive(app, newId)) {
    logLine(u"Prj %d is not active, row %d stays linked to %d", newId, row, oldId);
    app.prompts.show(app.tr(Txt::ProjectNotActive), app.tr(Txt::CaptionApp), MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
  }
  if (oldId != 0) {
    logLine(u"Dec %d' from prev Prj ID %d", worked, oldId);
    if (!subtractProjectMinutes(app, oldId, worked)) logLine(u"Err: could not dec %d' to prj %d", worked, oldId);
  }
  r.info.projectId = newId;
  logLine(u"Inc %d' to Prj ID %d", worked, newId);
  if (!addProjectMinutes(app, newId, worked)) {
    logLine(u"Err: could not inc %d' to prj %d, row back to prj %d", worked, newId, oldId);
    r.info.projectId = oldId;
    addProjectMinutes(app, oldId, worked);
    return false;
  }
  return true;
}

void rowLinked(App& app, RowRef ref) {
  TodoSheet& sheet = rowops::pageModel(app, ref.page);
  sheet.modified = true;
  if (ref.page == kPageNextThings) {
    // A list is saved after each change of its rows; a sheet at its next save.
    if (!saveTodolistInView(app)) {
      const TodolistRegistry& reg = app.todolists;
      const u16 title = reg.valid(reg.current) ? reg.entries[static_cast<std::size_t>(reg.current)].title : u16();
      app.prompts.show(fmt(app.tr(Txt::TodolistSaveFailed), title), app.tr(Txt::CaptionError), MsgButtons::Ok,
                       MsgIcon::Exclamation);
    }
    App::call(app.hooks.pageRowsChanged, kPageNextThings);
  } else {
    App::call(app.hooks.redrawRow, ref.row);
  }
  App::call(app.hooks.pageContentChanged, kPageProjects);
}

// ---- Closing ------------------------------------------------------------------------------

bool isOpenRowOf(const TodoSheet& sheet, int i, std::int32_t id) {
  const TodoRow& r = sheet.rows[static_cast<std::size_t>(i)];
  return !r.isFree() && !r.isDone() && r.info.projectId == id && i != sheet.separatorIndex &&
         !isSeparatorText(r.text);
}

int markOnDisplayedSheet(App& app, std::int32_t id) {
  App::call(app.hooks.takeEditorTexts);
  TodoSheet& sheet = app.sheet;
  int marked = 0;
  for (int i = 0; i < sheet.rowCount(); ++i) {
    if (!isOpenRowOf(sheet, i, id)) continue;
    if (!addScore(app, i, ScoreKind::Done, false, ScoreTarget::TodaySheet)) continue;
    ++marked;
    App::call(app.hooks.redrawRow, i);
  }
  if (marked > 0) {
    sheet.modified = true;
    saveTodoSheet(app, false);
  }
  return marked;
}

// Today's sheet is not on display: its file is marked in place, so the closing reaches the
// rows the user comes back to, while the sheet on display stays as it was.
int markInTodaysFile(App& app, std::int32_t id) {
  const LocalTime& t = app.start.startTime;
  const u16 path = sheetFilePath(app.start.userDataDir, t.year, t.month,
                                 sheetFileNameFor(t.year, t.month, t.day, t.dayOfWeek, u".pm6"));
  if (pathKind(path) != PathKind::File) {
    logLine(u"No ToDo sheet of today in %s, no rows of prj %d marked", path, id);
    return 0;
  }
  const FileHandle h = fileOpen(path, OpenMode::ReadExisting);
  if (h == kInvalidFile) {
    logLastError(u"CreateFile");
    return 0;
  }
  const std::int64_t onDisk = fileSize(h);
  const std::string bytes = readOpenFile(h, kMaxSheetFileBytes);
  fileClose(h);
  TodoSheet sheet(kSheetRows);
  bool recordsDamaged = false;
  readRowRecords(
      bytes, sheet.rowCount(),
      [&](int index, TodoRow& row) { sheet.rows[static_cast<std::size_t>(index)] = std::move(row); },
      &recordsDamaged);
  // Writing back only what could be read would drop the rest of the file.
  if (recordsDamaged || onDisk < 0 || static_cast<std::uint64_t>(onDisk) != bytes.size()) {
    logLine(u"%s is damaged, no rows of prj %d marked", path, id);
    return 0;
  }
  int marked = 0;
  for (int i = 0; i < sheet.rowCount(); ++i) {
    if (!isOpenRowOf(sheet, i, id)) continue;
    sheet.rows[static_cast<std::size_t>(i)].done = 1;
    ++marked;
  }
  if (marked == 0) return 0;
  std::string out = encodeSheetHeader();
  for (int i = 0; i < sheet.rowCount(); ++i) appendRowRecord(out, sheet.rows[static_cast<std::size_t>(i)], i);
  AtomicFileWriter writer(path);
  if (!writer.isOpen() || !writer.write(out) || !writer.commit()) {
    logLine(u"Err: %s not written, no rows of prj %d marked", path, id);
    return 0;
  }
  DayStats& day = todayTotals(app);
  day.done = static_cast<std::uint8_t>(std::min(255, day.done + marked));
  markDayUsed(app);
  App::call(app.hooks.redrawTotals);
  return marked;
}

// ---- Report -------------------------------------------------------------------------------

bool reportChosen(const ProjectStore& store) { return store.reportProjectId != 0 && store.reportFrom.year != 0; }

}  // namespace

u16 oneLineName(u16v text, std::size_t maxUnits) {
  u16 out;
  out.reserve(std::min(text.size(), maxUnits + 1));
  for (char16_t c : text)
    if (!isControl(c)) out.push_back(c);
  return cutUnits(out, maxUnits);
}

u16 linkDialogTaskText(u16v text) {
  if (text.size() < kLinkTextShown) return u16(text);
  return cutUnits(text, kLinkTextShown) + u"..";
}

bool linkRowToProject(App& app, RowRef ref, std::int32_t projectId, u16v projectName) {
  TodoRow* r = linkableRow(app, ref);
  if (!r) return false;
  logLine(u"Row %d: Linking to prj %d - %s", ref.row, projectId, projectName);
  if (projectId == r->info.projectId) return true;
  if (!moveRowMinutes(app, *r, ref.row, projectId)) return false;
  // "<No project>" is no project to offer again.
  if (projectId != 0) {
    app.lastUsedProjectId = projectId;
    const Project* p = findAny(app, projectId);
    app.lastUsedProjectName = p ? p->name : u16(projectName);
  }
  rowLinked(app, ref);
  return true;
}

bool linkRowToLastUsedProject(App& app, RowRef ref) {
  if (app.lastUsedProjectId == 0) return false;
  TodoRow* r = linkableRow(app, ref);
  if (!r || r->info.projectId == app.lastUsedProjectId) return false;
  if (!moveRowMinutes(app, *r, ref.row, app.lastUsedProjectId)) return false;
  rowLinked(app, ref);
  return true;
}

std::optional<std::int32_t> createProject(App& app, u16v name, ArchiveDate deadline) {
  const u16 clean = oneLineName(name, kProjectNameMaxUnits);
  if (clean.empty()) {
    app.prompts.show(app.tr(Txt::ProjectNameMissing), u"", MsgButtons::Ok, MsgIcon::Information);
    return std::nullopt;
  }
  // next_prj_ID may be behind the files (a settings file lost or restored from a backup):
  // an id already in use would merge two projects' rows and archives.
  std::int64_t id = std::max<std::int64_t>(1, app.settings.next_prj_ID);
  for (const std::vector<Project>* list : {&app.projects.active, &app.projects.closed})
    for (const Project& p : *list) id = std::max<std::int64_t>(id, std::int64_t{p.id} + 1);
  if (id > std::numeric_limits<std::int32_t>::max()) {
    logLine(u"No project id left, prj %s not created", clean);
    return std::nullopt;
  }
  Project p;
  p.id = static_cast<std::int32_t>(id);
  p.name = clean;
  setDeadline(p, deadline);
  app.projects.active.push_back(p);
  logLine(u"New prj %d - %s", p.id, p.name);
  app.settings.next_prj_ID =
      static_cast<std::int32_t>(std::min<std::int64_t>(id + 1, std::numeric_limits<std::int32_t>::max()));
  SaveSettingsToFile(app.settings, app.prompts);
  // A new project is written at once: a crash before the day ends must not lose it.
  SaveActiveProjects(app);
  if (app.ui.currentPage == kPageProjects) logLine(u"In Prj pg");
  App::call(app.hooks.pageContentChanged, kPageProjects);
  return p.id;
}

bool editProject(App& app, std::int32_t id, u16v name, std::uint32_t status, ArchiveDate deadline,
                 bool& closed) {
  closed = false;
  std::size_t index = 0;
  Project* p = findActive(app, id, &index);
  if (!p) {
    logLine(u"Edit: no active prj %d", id);
    return false;
  }
  if (status > kProjectClosed) {
    logLine(u"Edit: prj %d status %u unknown, not changed", id, status);
    return false;
  }
  const u16 clean = oneLineName(name, kProjectNameMaxUnits);
  const bool renamed = !clean.empty() && clean != p->name;
  if (renamed) p->name = clean;
  p->status = status;
  setDeadline(*p, deadline);
  logLine(u"Deadline: %d %d %d", p->deadlineDay, p->deadlineMonth, p->deadlineYear);
  if (app.projects.reportProjectId == id) app.projects.reportName = p->name;
  if (app.lastUsedProjectId == id) app.lastUsedProjectName = p->name;
  if (status == kProjectClosed) {
    app.projects.closed.push_back(*p);
    app.projects.active.erase(app.projects.active.begin() + static_cast<std::ptrdiff_t>(index));
    closed = true;
    // A closed project takes no more time: the row menu must not offer it.
    if (app.lastUsedProjectId == id) {
      app.lastUsedProjectId = 0;
      app.lastUsedProjectName.clear();
    }
    logLine(u"Prj %d closed", id);
  }
  // Written at once, closed list first: a crash in between leaves the project in both lists
  // (it loads as closed and active, nothing lost) rather than in neither.
  if (closed) SaveClosedProjects(app);
  SaveActiveProjects(app);
  // The rows show project names.
  if (renamed) App::call(app.hooks.rebuildLook);
  App::call(app.hooks.pageContentChanged, kPageProjects);
  return true;
}

int markClosedProjectRowsDone(App& app, std::int32_t id) {
  if (id == 0) return 0;
  const bool todayOnDisplay = !app.sheet.readOnly && isTodaySheet(app.sheet, app.start.today);
  const int marked = todayOnDisplay ? markOnDisplayedSheet(app, id) : markInTodaysFile(app, id);
  logLine(u"Prj %d closed: %d rows of today marked done", id, marked);
  return marked;
}

bool setProjectReport(App& app, std::int32_t id, ArchiveDate from, ArchiveDate to) {
  const Project* p = findAny(app, id);
  if (!p) {
    logLine(u"Report: no prj %d", id);
    return false;
  }
  const bool dates = isDate(from) && isDate(to);
  const long f = dates ? archiveDayNumber(from) : 0;
  const long t = dates ? archiveDayNumber(to) : 0;
  const int comparison = f < t ? -1 : (f == t ? 0 : 1);
  logLine(u"Comparison gave %ul", static_cast<std::uint32_t>(comparison));
  if (!dates || comparison >= 0) {
    app.prompts.show(app.tr(Txt::TimePerDayBadInterval), app.tr(Txt::TimePerDayDateError), MsgButtons::Ok,
                     MsgIcon::Error);
    return false;
  }
  ProjectStore& store = app.projects;
  store.reportProjectId = id;
  store.reportName = p->name;
  store.reportMinutesToday = p->minutesToday;
  store.reportFrom = from;
  store.reportTo = to;
  logLine(u"From: %d %d %d", from.day, from.month, from.year);
  logLine(u"To: %d %d %d", to.day, to.month, to.year);
  App::call(app.hooks.pageContentChanged, kPageProjects);
  return true;
}

std::optional<ProjectReport> currentProjectReport(const App& app) {
  const ProjectStore& store = app.projects;
  if (reportChosen(store))
    return ProjectReport{store.reportProjectId, store.reportName, store.reportMinutesToday, store.reportFrom,
                         store.reportTo};
  if (store.active.empty()) return std::nullopt;
  const Project* best = &store.active.front();
  for (const Project& p : store.active)
    if (totalMinutes(p) > totalMinutes(*best)) best = &p;
  const ArchiveDate today = todayOf(app);
  if (!isDate(today)) return std::nullopt;
  return ProjectReport{best->id, best->name, best->minutesToday, archiveDateOfDayNumber(archiveDayNumber(today) - kDefaultReportDays),
                       today};
}

void ensureDefaultProjectReport(App& app) {
  if (reportChosen(app.projects)) return;
  const std::optional<ProjectReport> r = currentProjectReport(app);
  if (!r) return;
  ProjectStore& store = app.projects;
  store.reportProjectId = r->id;
  store.reportName = r->name;
  store.reportMinutesToday = r->minutesToday;
  store.reportFrom = r->from;
  store.reportTo = r->to;
  logLine(u"Report on prj %d - %s", r->id, r->name);
}

ArchiveQueryResult queryProjectReport(const App& app) {
  const std::optional<ProjectReport> r = currentProjectReport(app);
  if (!r || !isDate(r->from) || !isDate(r->to) || archiveDayNumber(r->from) > archiveDayNumber(r->to)) return {};
  const ArchiveDate today = todayOf(app);
  // Today's minutes reach the archive only at the next day start.
  DayGroup extra;
  const bool withExtra = r->to == today && today.year >= 2000 && today.year <= 2255;
  if (withExtra) {
    const DayDate& t = app.start.today;
    extra.year = static_cast<std::uint8_t>(t.year - 2000);
    extra.month = static_cast<std::uint8_t>(t.month);
    extra.day = static_cast<std::uint8_t>(t.day());
    extra.dayOfWeek = static_cast<std::uint8_t>(t.dayOfWeek);
    extra.week = static_cast<std::uint8_t>(weekNumber(t.year, t.month, t.day(), t.dayOfWeek));
    extra.minutes = r->minutesToday;
  }
  // The month files exist only for the archive's years: a range of centuries walks just those.
  const ArchiveDate from = archiveDayNumber(r->from) < archiveDayNumber(kArchiveFirst) ? kArchiveFirst : r->from;
  const ArchiveDate to = archiveDayNumber(r->to) > archiveDayNumber(kArchiveLast) ? kArchiveLast : r->to;
  if (archiveDayNumber(from) > archiveDayNumber(to)) return {};
  return queryDoneArchive(from, to, ArchiveQueryMode::Project, r->id, u"", withExtra ? &extra : nullptr);
}

}  // namespace tirelmo
