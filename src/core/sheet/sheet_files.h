// The ToDo sheet on disk: the file name and folder scheme, the .pm6 format (length-prefixed
// row records with scrambled texts), saving, loading and the display of any sheet file.
// The older formats are read by legacy_formats.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/app.h"
#include "platform/file.h"
#include "sheet/sheet_load.h"
#include "sheet/sheet_names.h"

namespace tirelmo {

// ---- Names and folders ----------------------------------------------------------------

// "DailyTask_%d-%d-%d-%d%s" for ".pm6" and ".pm5", "DailyTask_%d-%d-%d%s" for any other
// extension; no leading zeros.
u16 sheetFileNameFor(int year, int month, int day, int dayOfWeek, u16v extension);
// "%s\DailyTask\%d\%d\%s".
u16 sheetFilePath(u16v userDataDir, int year, int month, u16v fileName);

// Names the sheet of the run in app.sheet.sheetFileName. The date is the start time's: the
// sheet of a run stays the sheet of the day the run started, also when it is saved just
// after midnight by the day restart.
void getTodayTdlFileName(App& app, u16v extension);

// Opens today's sheet file with the given extension for shared reading; kInvalidFile when
// it does not exist. The full path goes to *path when given.
FileHandle searchTodaySheet(App& app, u16v extension, u16* path = nullptr);

// ---- The .pm6 row record, shared with the Todolist files -------------------------------

inline constexpr std::uint32_t kSheetHeaderBytes = 40;
inline constexpr std::uint8_t kSheetFormatVersion = 1;
inline constexpr std::uint32_t kRowRecordFixedBytes = 68;
inline constexpr std::uint32_t kRowRecordMaxBytes = kRowRecordFixedBytes + 2 * kRowTextMax;  // 426
inline constexpr std::uint32_t kRowRecordTextOffset = 66;

// The 40-byte header record.
std::string encodeSheetHeader();
// Appends the record of one row (nothing for a free row). The text is cut at 179 units.
void appendRowRecord(std::string& out, const TodoRow& row, int index);

enum class RowRecordStatus { Ok, BadLength, BadIndex };
// Decodes one whole record (length field included). The row comes back fresh: fields not
// stored in the file (the unplanned flag, the insert date) are zero.
RowRecordStatus decodeRowRecord(std::string_view record, int rowCount, int& index, TodoRow& row);

// Walks the row records after the header record of a sheet or Todolist file. A header whose
// length is wrong does not hide the records behind it; a record with a row index out of
// range is skipped; after a damaged record (a length out of range or one that does not
// lead to the next record) the walk goes on at the next place where a whole record starts
// and is followed by another one or by the end of the data. Every skip is logged, and
// *damaged (when given) tells whether anything was skipped. Returns the number of rows
// handed over.
int readRowRecords(std::string_view fileBytes, int rowCount,
                   const std::function<void(int index, TodoRow& row)>& onRow, bool* damaged = nullptr);

// ---- Saving -----------------------------------------------------------------------------

// Writes the sheet on display as .pm6 under the user-data folder. False when nothing was
// written: then the modified flag and last2dofilename stay as they were and the previous
// file is untouched. A sheet of another day on display is never written.
bool saveTodoSheet(App& app, bool uploadToCloud);

// Takes the editor texts and saves the sheet (with the cloud upload).
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

}  // namespace tirelmo
