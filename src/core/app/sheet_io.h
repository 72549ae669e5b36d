// The ToDo sheet of the run on disk: naming today's sheet, saving it, loading any sheet
// file for display or for the carry-over into a new day, in every format. The formats
// themselves (record layout, legacy byte layouts) are in sheet/.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/file.h"
#include "sheet/legacy_formats.h"
#include "sheet/sheet_files.h"
#include "sheet/sheet_load.h"
#include "text/ustring.h"

namespace tirelmo {

struct App;

// Names the sheet of the run in app.sheet.sheetFileName. The date is the start time's: the
// sheet of a run stays the sheet of the day the run started, also when it is saved just
// after midnight by the day restart.
void getTodayTdlFileName(App& app, u16v extension);

// Opens today's sheet file with the given extension for shared reading; kInvalidFile when
// it does not exist. The full path goes to *path when given.
FileHandle searchTodaySheet(App& app, u16v extension, u16* path = nullptr);

// Whether a sheet loaded without import adds its rows' minutes to the projects' minutes
// of today. Only the day start does: a sheet shown again later was counted already, and an
// earlier day's minutes are not today's.
enum class ProjectCredit { Credit, Skip };

// What the day start does with a sheet it carries over into a new day. The loaders call
// begin once the file was read, row for each task row (neither free nor the separator) and
// end after the last one; they know nothing of archives themselves.
struct RowCarryOver {
  std::function<void()> begin;
  std::function<void(int row)> row;
  std::function<void()> end;
};

// The visit of the loaded rows that the .pm6 and .pm5 loads share: the separator row is
// found (a second one is emptied), free rows are zeroed, and each task row gets its look
// and project minutes, or goes to the carry-over.
void visitLoadedRows(App& app, const RowCarryOver* carryOver, ProjectCredit credit);

// ---- Saving -----------------------------------------------------------------------------

// Writes the sheet on display as .pm6 under the user-data folder. False when nothing was
// written: then the modified flag and last2dofilename stay as they were and the previous
// file is untouched. A sheet of another day on display is never written.
bool saveTodoSheet(App& app, bool uploadToCloud);

// Takes the editor texts and saves the sheet (with the cloud upload) and the Todolist in
// view. The result is the sheet's; a list that could not be saved is told about.
bool SaveAllSheets(App& app);

// Asks whether to save today's sheet when it is modified.
enum class SaveChoice { NotModified, Saved, Discarded, Failed };
SaveChoice SaveDiscardChanges(App& app);

// ---- Loading ----------------------------------------------------------------------------

// Loads a .pm6 file into the (reset) model; with a carry-over the rows are carried into a
// new day. False when the file does not exist or cannot be opened. A file that exists but
// cannot be read whole sets app.sheet.readWithDamage.
bool loadTodoSheetPm6(App& app, u16v path, const RowCarryOver* carryOver,
                      ProjectCredit credit = ProjectCredit::Credit);

// Opens any sheet file for display; an earlier day's sheet is read-only. False when the
// file has an unknown format or cannot be opened: only then is the sheet in memory (rows
// and name) unchanged. A file that reads as empty still replaces it.
bool DisplayToDoSheet(App& app, u16v path);

// The .pm5 load: the raw model. The file's day record goes into dayTotals unless importing.
bool loadTodoSheetPm5(App& app, FileHandle file, const RowCarryOver* carryOver,
                      ProjectCredit credit = ProjectCredit::Credit);
// .pm4: texts of 60 units in one scrambled block, then the score bytes. A carry-over gets
// every task row (its rule is the shorter one of this format).
bool bLoadDailyTaskPm4(App& app, FileHandle file, const RowCarryOver* carryOver);
// .pm3: UTF-8 texts in one scrambled block, score bytes, day record (into dayTotalsSaved).
bool bLoadDailyTaskPm3(App& app, FileHandle file);
// .pm2, .pm1, .pom: like .pm3 but with score characters; .pm1 and .pom have 15 and 10
// rows whose last 8 and 5 are the unplanned block.
bool bLoadDailyTaskPm2(App& app, FileHandle file);
bool bLoadDailyTaskPm1(App& app, FileHandle file);
bool bLoadDailyTaskPom(App& app, FileHandle file);

}  // namespace tirelmo
