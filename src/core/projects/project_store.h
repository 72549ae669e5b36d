// The project lists: active and closed projects with the time worked on them, their files
// in the "Projects" folder, and the time accounting the scores and row edits call.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "text/ustring.h"
#include "projects/projects.h"

namespace tirelmo {

struct App;

inline constexpr char16_t kProjectsFolder[] = u"Projects";
inline constexpr char16_t kActiveProjectsP01[] = u"active_prj.p01";
inline constexpr char16_t kActiveProjectsP00[] = u"active_prj.p00";
inline constexpr char16_t kActiveProjectsCsv[] = u"active_prj.csv";
inline constexpr char16_t kClosedProjectsP01[] = u"closed_prj.p01";

// "<user-data folder>\Projects\<name>".
u16 projectFilePath(const App& app, u16v fileName);

// Empties the active list and reads the first of "active_prj.p01", "active_prj.p00",
// "active_prj.csv" that exists as a file. Returns what that reader returned; 0 when none
// exists.
int LoadActiveProjects(App& app);
// The same for the project files of any "Projects" folder.
int loadActiveProjectsFrom(ProjectStore& store, u16v projectsFolder);

// The readers of each form append to their list. The ".p01" readers return the number of
// lines read, the header included; the ".p00" and ".csv" readers the number of rows read
// without the header, or -1 when a row was rejected (the good rows are kept either way).
int LoadActiveProjects_p01(ProjectStore& store, u16v path);
int LoadClosedProjects_p01(ProjectStore& store, u16v path);
int LoadActiveProjects_p00(ProjectStore& store, u16v path);
int LoadActiveProjects_csv(ProjectStore& store, u16v path);

// Write "active_prj.p01" and "closed_prj.p01" anew; false when the file was not replaced.
bool SaveActiveProjects(App& app);
bool SaveClosedProjects(App& app);

// Time accounting on the active project with the identifier: 1 on success, 0 when no active
// project has it (subtract also gives 0 after clamping a project to 0:00); identifier 0
// (no project) gives 1 and changes nothing.
int addProjectMinutes(App& app, std::int32_t id, int minutes);
int subtractProjectMinutes(App& app, std::int32_t id, int minutes);

// 1 and the name of the project (active first, then closed), or the "not linked" text for
// identifier 0; 0 with dest unchanged when no project has the identifier.
int projectNameById(const App& app, std::int32_t id, u16& dest);

// A project that has time but still says "Not Started" is in progress.
void fixUpProjectStatuses(ProjectStore& store);

// The data phase's loading: the active list, the closed list when its file exists, then the
// status fix-up.
void loadProjectsAtStart(App& app);

}  // namespace tirelmo
