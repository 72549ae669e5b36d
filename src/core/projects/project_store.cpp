#include "projects/project_store.h"

#include <algorithm>
#include <string>

#include "app/app.h"
#include "base/log.h"
#include "platform/file.h"
#include "storage/csv.h"
#include "storage/file_ops.h"
#include "storage/record_file.h"

namespace tirelmo {

namespace {

constexpr std::uint32_t kP00ReadBytes = 85600;
// The oldest form is only ever a few hundred lines; anything larger is not ours.
constexpr std::uint32_t kCsvReadBytes = 4u << 20;

constexpr char16_t kHeader[] = u"\"ID\",\"Name\"";
constexpr char16_t kRowFormat[] = u"\"%d\",%s,\"%d\",\"%d\",\"%d\",\"%d\",\"%d\",\"%d\"";

enum class RowFields { Eight, Four };

// A project's worked time, in range: minutes 0..59 and hours up to a bound far beyond any
// working life that still leaves room in 32 bits for the minutes of many projects summed.
// A file that says more is read as the bound, and the program never adds past it.
constexpr std::int64_t kMaxProjectHours = 1000000;

void setWorkedTime(Project& p, std::int64_t total) {
  total = std::clamp<std::int64_t>(total, 0, kMaxProjectHours * 60 + 59);
  p.workedHours = static_cast<std::uint32_t>(total / 60);
  p.workedMinutes = static_cast<std::uint32_t>(total % 60);
}

// A deadline whose parts cannot be a date is no deadline.
void clampDeadline(Project& p) {
  if (p.deadlineYear > 9999 || p.deadlineMonth > 12 || p.deadlineDay > 31 || p.deadlineYear < 0 ||
      p.deadlineMonth < 0 || p.deadlineDay < 0)
    p.deadlineYear = p.deadlineMonth = p.deadlineDay = 0;
}

// One row of any of the three forms. The identifier, the name and the time decide whether
// the row is usable; status and deadline are optional and fall back to what a row without
// them means.
bool parseProjectRow(u16v line, RowFields fields, Project& out) {
  Project p;
  u16 scratch;
  std::int32_t v = 0;
  if (bStoi(0, line, scratch, v) != 0) return false;
  p.id = v;
  // A name ends at a NUL unit, as the writer stores it: read whole, a damaged name would
  // come back cut (or empty, and the project lost) after the next save.
  if (csvGetNthToken(1, line, scratch) != 0) return false;
  scratch.resize(std::min(scratch.size(), scratch.find(u'\0')));
  if (scratch.empty()) return false;
  p.name = cutToCapacity(scratch, kProjectNameCapacity);
  if (bStoi(2, line, scratch, v) != 0) return false;
  const std::int32_t hours = v;
  if (bStoi(3, line, scratch, v) != 0) return false;
  // Minutes past 59 (a hand edit) carry into the hours instead of being lost.
  setWorkedTime(p, std::int64_t{hours} * 60 + v);

  if (fields == RowFields::Eight) {
    // An unknown status number would index past the status names the dialogs show.
    if (bStoi(4, line, scratch, v) == 0 && v <= static_cast<std::int32_t>(kProjectClosed))
      p.status = static_cast<std::uint32_t>(v);
    else
      p.status = (p.workedHours || p.workedMinutes) ? kProjectInProgress : kProjectNotStarted;
    std::int32_t* deadline[3] = {&p.deadlineYear, &p.deadlineMonth, &p.deadlineDay};
    for (int k = 0; k < 3; ++k)
      if (bStoi(5 + k, line, scratch, v) == 0) *deadline[k] = v;
    clampDeadline(p);
  }
  out = std::move(p);
  return true;
}

u16 projectRow(const Project& p) {
  u16 quoted;
  csvQuote(p.name, kProjectNameCapacity, quoted);
  return fmt(kRowFormat, p.id, quoted, p.workedHours, p.workedMinutes, p.status, p.deadlineYear,
             p.deadlineMonth, p.deadlineDay);
}

int loadP01(std::vector<Project>& list, u16v path, const char16_t* readerName) {
  logLine(u"Opening %s", path);
  // Each row stands on its own: one damaged row must not take the rows after it along.
  return static_cast<int>(readRecordFile(path, true, readerName, [&](u16& line) {
    Project p;
    if (!parseProjectRow(line, RowFields::Eight, p)) return LineVerdict::Unparsed;
    list.push_back(std::move(p));
    return LineVerdict::Accept;
  }));
}

void logAccepted(const ProjectStore& store) {
  const Project& p = store.active.back();
  logLine(u"%d) Prj %d: %s - Time spent: %d:%d'", store.active.size(), p.id, p.name, p.workedHours,
          p.workedMinutes);
}

bool cloudCopyOn(const App& app) {
  return app.settings.cloudEna && app.cloud && app.cloud->available() &&
         static_cast<bool>(app.projects.uploadToCloud);
}

void sendToCloud(App& app, const Project& p) {
  if (cloudCopyOn(app)) app.projects.uploadToCloud(app, p);
}

Project* findActive(ProjectStore& store, std::int32_t id, std::size_t* index = nullptr) {
  for (std::size_t i = 0; i < store.active.size(); ++i) {
    if (store.active[i].id == id) {
      if (index) *index = i;
      return &store.active[i];
    }
  }
  return nullptr;
}

void mirrorToReport(ProjectStore& store, const Project& p) {
  if (store.reportProjectId == p.id) store.reportMinutesToday = p.minutesToday;
}

std::int64_t workedTotal(const Project& p) {
  return std::int64_t{p.workedHours} * 60 + std::int64_t{p.workedMinutes};
}

// The file's bytes as UTF-16LE units; an odd last byte is no unit.
u16 unitsOf(const std::string& bytes) {
  u16 out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                        (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  return out;
}

// Lines ended by `end` (with an LF right behind a CR skipped too); a last line without its
// end still counts when it holds anything.
template <class Str, class Ch>
std::vector<Str> splitLines(const Str& text, Ch end) {
  std::vector<Str> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t stop = text.find(end, pos);
    if (stop == Str::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, stop - pos));
    pos = stop + 1;
    if (end == Ch('\r') && pos < text.size() && text[pos] == Ch('\n')) ++pos;
  }
  return lines;
}

}  // namespace

u16 projectFilePath(const App& app, u16v fileName) {
  return joinPath(joinPath(app.start.userDataDir, kProjectsFolder), fileName);
}

int LoadActiveProjects_p01(ProjectStore& store, u16v path) {
  return loadP01(store.active, path, u"LoadActiveProjects_p01");
}

int LoadClosedProjects_p01(ProjectStore& store, u16v path) {
  return loadP01(store.closed, path, u"LoadClosedProjects_p01");
}

int LoadActiveProjects_p00(ProjectStore& store, u16v path) {
  std::string bytes;
  if (!readFileBytes(path, bytes, kP00ReadBytes)) {
    logLastError(u"LoadActiveProjects()");
    logLine(u"LoadActiveProjects - prj file not opened!");
    return 0;
  }
  u16 text = unitsOf(bytes);
  if (bytes.size() >= kP00ReadBytes) {
    // The line the read limit cut through would load as a shorter, different row.
    const std::size_t lastEnd = text.find_last_of(u"\r\n");
    text.resize(lastEnd == u16::npos ? 0 : lastEnd + 1);
    logLine(u"%s() only the first %d bytes are read", u"LoadActiveProjects_p00", kP00ReadBytes);
  }
  const std::vector<u16> lines = splitLines(text, u'\r');
  int rows = 0;
  bool rejected = false;
  for (std::size_t i = 1; i < lines.size(); ++i, ++rows) {
    Project p;
    if (parseProjectRow(lines[i], RowFields::Eight, p)) {
      store.active.push_back(std::move(p));
      logAccepted(store);
    } else {
      logLine(u"%s() err reading row ##%d", u"LoadActiveProjects_p00", i);
      rejected = true;
    }
  }
  return rejected ? -1 : rows;
}

int LoadActiveProjects_csv(ProjectStore& store, u16v path) {
  std::string bytes;
  if (!readFileBytes(path, bytes, kCsvReadBytes)) {
    logLastError(u"fopen");
    return -1;
  }
  const std::vector<std::string> lines = splitLines(bytes, '\n');
  int rows = 0;
  bool rejected = false;
  for (std::size_t i = 1; i < lines.size(); ++i, ++rows) {
    Project p;
    if (parseProjectRow(utf8ToUtf16(lines[i]), RowFields::Four, p)) {
      store.active.push_back(std::move(p));
      logAccepted(store);
    } else {
      logLine(u"%s() err reading row ##%d", u"LoadActiveProjects_csv", i);
      rejected = true;
    }
  }
  logLine(u"Read %d rows", rows);
  return rejected ? -1 : rows;
}

int LoadActiveProjects(App& app) {
  return loadActiveProjectsFrom(app.projects, joinPath(app.start.userDataDir, kProjectsFolder));
}

int loadActiveProjectsFrom(ProjectStore& store, u16v projectsFolder) {
  store.active.clear();
  store.activeFileUnreadable = false;
  using Reader = int (*)(ProjectStore&, u16v);
  const struct {
    const char16_t* name;
    Reader read;
  } forms[] = {{kActiveProjectsP01, LoadActiveProjects_p01},
               {kActiveProjectsP00, LoadActiveProjects_p00},
               {kActiveProjectsCsv, LoadActiveProjects_csv}};
  for (const auto& form : forms) {
    const u16 path = joinPath(projectsFolder, form.name);
    if (pathKind(path) != PathKind::File) continue;
    const FileHandle probe = fileOpen(path, OpenMode::ReadExisting);
    if (probe == kInvalidFile) {
      logLastError(u"LoadActiveProjects");
      store.activeFileUnreadable = true;
    } else {
      fileClose(probe);
    }
    return form.read(store, path);
  }
  return 0;
}

bool SaveActiveProjects(App& app) {
  ProjectStore& store = app.projects;
  const u16 path = projectFilePath(app, kActiveProjectsP01);
  // An empty list is written too (header only), or a project closed while it was the last
  // active one would come back from the old file at the next start. The one exception is a
  // file that could not be read: its projects are not in memory, so it stays.
  if (store.active.empty() && store.activeFileUnreadable) {
    logLine(u"No prjs were read from %s, the file is kept", path);
    return false;
  }
  for (const Project& p : store.active) sendToCloud(app, p);

  logLine(u"Saving prjs into %s", path);
  AtomicFileWriter file(path);
  if (!file.isOpen()) {
    logLastError(u"CreateFile");
    return false;
  }
  writeRecordLine(file, kHeader);
  for (const Project& p : store.active) writeRecordLine(file, projectRow(p));
  if (!file.commit()) return false;
  store.activeFileUnreadable = false;
  return true;
}

bool SaveClosedProjects(App& app) {
  const ProjectStore& store = app.projects;
  if (store.closed.empty()) return true;
  const u16 path = projectFilePath(app, kClosedProjectsP01);
  logLine(u"Saving closed prjs into %s", path);
  AtomicFileWriter file(path);
  if (!file.isOpen()) {
    logLastError(u"CreateFile");
    return false;
  }
  // This file has always carried a CR LF of its own inside each scrambled line.
  writeRecordLine(file, u16(kHeader) + u"\r\n");
  for (const Project& p : store.closed) writeRecordLine(file, projectRow(p) + u"\r\n");
  return file.commit();
}

int addProjectMinutes(App& app, std::int32_t id, int minutes) {
  if (id == 0) return 1;
  ProjectStore& store = app.projects;
  Project* p = findActive(store, id);
  if (!p) return 0;
  setWorkedTime(*p, workedTotal(*p) + minutes);
  if (p->status == kProjectNotStarted && workedTotal(*p) != 0) p->status = kProjectInProgress;
  p->minutesToday = static_cast<std::uint16_t>(p->minutesToday + static_cast<std::uint32_t>(minutes));
  mirrorToReport(store, *p);
  sendToCloud(app, *p);
  return 1;
}

int subtractProjectMinutes(App& app, std::int32_t id, int minutes) {
  if (id == 0) return 1;
  ProjectStore& store = app.projects;
  std::size_t index = 0;
  Project* p = findActive(store, id, &index);
  if (!p) return 0;
  const std::int64_t have = workedTotal(*p);
  if (have < minutes) {
    logLine(u"Warn: Prj id %d has %d:%d. Trying to dec %d", id, p->workedHours, p->workedMinutes, minutes);
    p->workedHours = 0;
    p->workedMinutes = 0;
    return 0;
  }
  setWorkedTime(*p, have - minutes);
  if (p->workedHours == 0 && p->workedMinutes == 0 && p->status != kProjectClosed) {
    logLine(u"Force sts of prj %d to Not Started.", index);
    p->status = kProjectNotStarted;
  }
  const std::int64_t today = std::int64_t{p->minutesToday} - minutes;
  p->minutesToday = static_cast<std::uint16_t>(std::max<std::int64_t>(0, today));
  mirrorToReport(store, *p);
  sendToCloud(app, *p);
  return 1;
}

int projectNameById(const App& app, std::int32_t id, u16& dest) {
  if (id == 0) {
    dest = app.tr(Txt::NotLinkedToProject);
    return 1;
  }
  for (const std::vector<Project>* list : {&app.projects.active, &app.projects.closed}) {
    for (const Project& p : *list) {
      if (p.id == id) {
        dest = p.name;
        return 1;
      }
    }
  }
  return 0;
}

void fixUpProjectStatuses(ProjectStore& store) {
  for (Project& p : store.active)
    if (p.status == kProjectNotStarted && (p.workedHours || p.workedMinutes)) p.status = kProjectInProgress;
}

void loadProjectsAtStart(App& app) {
  LoadActiveProjects(app);
  // The day restart runs this again: without emptying the list first, every closed project
  // would be listed (and then saved) once more each day.
  app.projects.closed.clear();
  const u16 closedPath = projectFilePath(app, kClosedProjectsP01);
  if (pathKind(closedPath) == PathKind::File) LoadClosedProjects_p01(app.projects, closedPath);
  fixUpProjectStatuses(app.projects);
}

}  // namespace tirelmo
