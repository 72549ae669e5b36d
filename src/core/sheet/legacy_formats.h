// Readers of the sheet formats that came before .pm6. They are only read, never written:
// users still open years-old files, and the day start may have to carry one over.
//
// Each reader takes an open file and reads at most its format's size; whatever a shorter
// file lacks reads as empty rows and zero scores, and the sheet is marked as read with
// damage (readWithDamage).
#pragma once

#include <cstdint>
#include <string_view>

#include "sheet/sheet.h"
#include "platform/file.h"

namespace tirelmo {

// Sizes of the formats for the 25-row page.
inline constexpr std::uint32_t kPm5TextBytes = 25 * 180 * 2;  // 9000
inline constexpr std::uint32_t kPm5ScoreBytes = 25 * 10;       // 250
inline constexpr std::uint32_t kPm5InfoBytes = 25 * 80;        // 2000
inline constexpr std::uint32_t kPm5FileBytes = kPm5TextBytes + kPm5ScoreBytes + kPm5InfoBytes + 16;
inline constexpr std::uint32_t kPm4FileBytes = 25 * 120 + 25 * 10;        // 3250
inline constexpr std::uint32_t kPm3FileBytes = 25 * 180 + 25 * 10 + 16;   // 4766, .pm2 alike
inline constexpr std::uint32_t kPm1FileBytes = 15 * 180 + 15 * 10 + 16;   // 2866
inline constexpr std::uint32_t kPomFileBytes = 10 * 180 + 10 * 10 + 16;   // 1916

// Reads one whole file of a fixed-size format, never more than its size. Empty when
// nothing could be read. A file cut short, or one that could not be read as far as it
// goes, marks the sheet as read with damage.
std::string readFixedFormat(TodoSheet& sheet, FileHandle file, std::uint32_t size, u16v reader);

// Every row's look from its done mark.
void setLooks(TodoSheet& sheet);

// The byte-level parts, without logging of their own names or any archive work; the
// loaders above and the fuzz targets call them. The sheet must be reset before.
void parsePm5(std::string_view bytes, TodoSheet& sheet, bool takeDayRecord);
void parsePm4(std::string_view bytes, TodoSheet& sheet);
void parsePm3(std::string_view bytes, TodoSheet& sheet);
// .pm2 (25 rows), .pm1 (15 rows, 8 unplanned), .pom (10 rows, 5 unplanned).
void parseScoreCharFormat(std::string_view bytes, TodoSheet& sheet, int storedRows, int unplannedRows);

// The older formats keep no separator index: find the separator text among the rows (the
// first one counts, later copies are emptied); -1 when there is none.
void adoptSeparatorRow(TodoSheet& sheet);

}  // namespace tirelmo
