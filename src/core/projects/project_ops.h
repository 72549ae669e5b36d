// What a person does with projects: link a task row to one, create, edit and close them,
// and the report of one project's time over a date range. The lists, their files and the
// minute accounting are project_store's; the dialogs only collect the choices and call here.
#pragma once

#include <cstdint>
#include <optional>

#include "projects/projects.h"
#include "stats/done_archive.h"
#include "text/ustring.h"

namespace tirelmo {

struct App;

// A name as a project keeps it: at most 127 units, never splitting a surrogate pair.
inline constexpr std::size_t kProjectNameMaxUnits = kProjectNameCapacity - 1;

// The row a link dialog was opened for. Page 0 is the ToDo sheet on display, page 1 the
// Todolist in view; the dialog keeps this and acts on it at OK, whatever row is current then.
struct RowRef {
  int page = 0;
  int row = 0;
};

// A name fit for one line of a file or a list: control characters (CR, LF, tab, ...) and
// the Unicode line separators taken out, then cut to maxUnits without splitting a
// surrogate pair. Project and category names go through it before they are kept.
u16 oneLineName(u16v text, std::size_t maxUnits);

// The task text as the link dialog shows it: 59 units or more become the first 59 and "..".
u16 linkDialogTaskText(u16v text);

// Links the row to a project (0: "<No project>"), moving the row's worked time (minutes
// today + past minutes) from its old project to the new one, with the log lines of the link
// dialog. The name is remembered as the last used project. Refused (false, nothing changed,
// the user told) on an earlier day's sheet, and for a free row. When the target cannot take
// the minutes (closed meanwhile) they go back to the old project and the row stays as it was.
bool linkRowToProject(App& app, RowRef ref, std::int32_t projectId, u16v projectName);

// "Link to %s": the last used project on the row; nothing when there is none or the row is
// already linked to it.
bool linkRowToLastUsedProject(App& app, RowRef ref);

// Creates a project in the active list; the id is above every id in use (active, closed)
// and above next_prj_ID, which then grows and is saved with the settings. An empty name is
// refused with "Insert a name for the Project" and gives nothing. Deadline year 0: none.
std::optional<std::int32_t> createProject(App& app, u16v name, ArchiveDate deadline);

// Stores name, status and deadline of an active project (an empty name keeps the old one).
// Closing (status 3) moves it to the closed list and returns true in `closed`; the window
// then sends itself message 1030 with the id. False when no active project has the id.
bool editProject(App& app, std::int32_t id, u16v name, std::uint32_t status, ArchiveDate deadline,
                 bool& closed);

// Message 1030: every row of today's sheet linked to the project and not yet done gets the
// done score, and is saved. While an earlier sheet is on display its rows are never touched:
// today's sheet file is marked instead, so nothing of the closing is lost. Returns the
// number of rows marked.
int markClosedProjectRowsDone(App& app, std::int32_t id);

// The report dialog's OK: the project and the range become the report when From is before
// To; otherwise "Date interval is not correctly set." and false, nothing changed.
bool setProjectReport(App& app, std::int32_t id, ArchiveDate from, ArchiveDate to);

// The report the Projects page shows: the one chosen, or until then the one
// ensureDefaultProjectReport would choose. Nothing when there is neither.
struct ProjectReport {
  std::int32_t id = 0;
  u16 name;
  std::uint16_t minutesToday = 0;
  ArchiveDate from;
  ArchiveDate to;
};
std::optional<ProjectReport> currentProjectReport(const App& app);

// The first drawing of the Projects page with no report yet: the project with most time
// (the first among equals) over the last 30 days. Nothing when there is no active project.
void ensureDefaultProjectReport(App& app);

// The report project's day groups between From and To (today's minutes included when To is
// today), as the per-day chart draws them.
ArchiveQueryResult queryProjectReport(const App& app);

}  // namespace tirelmo
