// File helpers built on the file port that need nothing else of the core: the shell-style
// copy and delete that the log rotation and the data-folder fallback use, path pieces and
// whole-file reads. The log itself uses them, so they never log.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file.h"
#include "storage/le_bytes.h"
#include "text/ustring.h"

namespace tirelmo {

// Deletes the files matching a name or a wildcard pattern ("Tirelmo_20*_log.txt"), relative
// to the current directory or absolute. 0 when at least one file matched and every match was
// deleted; otherwise the platform error number (never 0).
int shellDelete(u16v pattern);

// Copies like the shell does: `from` is a file, a folder (copied with its whole tree) or a
// wildcard pattern of files and folders. When `to` is an existing folder the items go into
// it under their own names; otherwise the single item is copied to the name `to`.
// 0 on complete success; otherwise a non-zero error number (the copy goes on past a
// failed item, so as much as possible arrives).
enum class CopyPolicy {
  Overwrite,  // every destination file is replaced
  KeepNewer,  // a destination file at least as recent as its source is left alone
};
int shellCopy(u16v from, u16v to, CopyPolicy policy = CopyPolicy::Overwrite);

// Folder part of a path ("" when there is none) and the bare name.
u16 folderOf(u16v path);
u16 baseName(u16v path);
// "a" + "\" + "b", without doubling a trailing backslash.
u16 joinPath(u16v folder, u16v name);

// Reads at most maxBytes of a file in one go. False when it cannot be opened or read.
bool readFileBytes(u16v path, std::string& bytes, std::uint32_t maxBytes);


}  // namespace tirelmo
