// What the readers of every sheet format share once their bytes are parsed: reading the open
// file, and the visit of the loaded rows (looks and project minutes on display, or the
// carry-over into a new day).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/file.h"

namespace tirelmo {

struct App;

// Nothing this program writes comes near it; a bigger file is read only this far.
inline constexpr std::uint32_t kMaxSheetFileBytes = 256 * 1024;

// Reads at most maxBytes of an open file from its current position.
std::string readOpenFile(FileHandle h, std::uint32_t maxBytes);

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

}  // namespace tirelmo
