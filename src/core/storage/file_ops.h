// File operations built on the file port: the shell-style copy and delete that the log
// rotation and the data-folder fallback use, whole-file reads, and the writer that never
// leaves a half-written file behind.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file.h"
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

// Writes a new version of a file next to it and swaps it in only when every byte is on the
// disk. Until commit() succeeds the old file is untouched; a writer dropped without commit
// removes its temporary file.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(u16v path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // False when the temporary file could not be created; the platform error is then set.
  bool isOpen() const { return handle_ != kInvalidFile; }
  // Appends bytes; after one failure every later write is refused and commit fails.
  bool write(const void* data, std::uint32_t size);
  bool write(const std::string& bytes) {
    return write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  }
  // Flushes, closes and replaces the target. On failure logs the reason, removes the
  // temporary file and returns false; the old file stays as it was.
  bool commit();
  // Drops the new content.
  void abandon();

  const u16& path() const { return path_; }
  const u16& tempPath() const { return temp_; }

 private:
  u16 path_;
  u16 temp_;
  FileHandle handle_ = kInvalidFile;
  bool failed_ = false;
};

// Appends UTF-16LE bytes of text to a byte string.
void appendUtf16Le(std::string& out, u16v text);

}  // namespace tirelmo
