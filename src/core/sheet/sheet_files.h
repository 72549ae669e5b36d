// The ToDo sheet's file format: the file name and folder scheme and the .pm6 format
// (length-prefixed row records with scrambled texts), shared with the Todolist files. The
// older formats are read by legacy_formats.h; saving and loading the run's sheet is
// app/sheet_io.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "sheet/sheet.h"
#include "platform/file.h"
#include "sheet/sheet_load.h"
#include "sheet/sheet_names.h"

namespace tirelmo {

struct App;

// ---- Names and folders ----------------------------------------------------------------

// "DailyTask_%d-%d-%d-%d%s" for ".pm6" and ".pm5", "DailyTask_%d-%d-%d%s" for any other
// extension; no leading zeros.
u16 sheetFileNameFor(int year, int month, int day, int dayOfWeek, u16v extension);
// "%s\DailyTask\%d\%d\%s".
u16 sheetFilePath(u16v userDataDir, int year, int month, u16v fileName);

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

}  // namespace tirelmo
