// Readers of the sheet formats that came before .pm6. They are only read, never written:
// users still open years-old files, and the day start may have to carry one over.
//
// Each reader takes an open file and reads at most its format's size; whatever a shorter
// file lacks reads as empty rows and zero scores, and the sheet is marked as read with
// damage (readWithDamage).
#pragma once

#include <cstdint>
#include <string_view>

#include "app/app.h"
#include "platform/file.h"
#include "sheet/sheet_load.h"

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
