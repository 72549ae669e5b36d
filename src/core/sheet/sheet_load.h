// What the readers of every sheet format share once their bytes are parsed: reading the open
// file, and the visit of the loaded rows (looks and project minutes on display, or the
// carry-over into a new day).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/file.h"

namespace tirelmo {

// Nothing this program writes comes near it; a bigger file is read only this far.
inline constexpr std::uint32_t kMaxSheetFileBytes = 256 * 1024;

// Reads at most maxBytes of an open file from its current position.
std::string readOpenFile(FileHandle h, std::uint32_t maxBytes);

}  // namespace tirelmo
