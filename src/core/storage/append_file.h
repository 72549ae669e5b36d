// Files that only ever grow by whole lines at their end: the done-task archive, the weekly
// list and the yesterday archive. A crash or a full disk can cut such a file anywhere, so
// its end is made whole before anything is added: otherwise one cut spoils every line
// appended after it (half a UTF-16 unit shifts all later text by a byte, a missing header
// makes the next record the header, a missing line end glues two records together).
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/file.h"
#include "text/ustring.h"

namespace tirelmo {

struct LineFileLayout {
  std::size_t unitBytes = 2;    // 2 for UTF-16LE text, 1 for 8-bit text
  std::string_view lineEnd;     // the bytes that end every line
  std::string_view header;      // what a new file starts with, its own line ends included
};

// Opens a file for appending at its end, creating it with its header when it is missing.
// An existing file is repaired first, each repair with a log line: a torn last unit is cut,
// an empty file gets its header, a last line without its end is ended. `created` (when
// given) tells whether the file was made now. kInvalidFile when it cannot be opened or its
// end cannot be repaired; the platform error then says why.
FileHandle openLineFileForAppend(u16v path, const LineFileLayout& layout, bool* created = nullptr);

}  // namespace tirelmo
