// Whole-file writing that never leaves a half-written file behind, on top of the file
// helpers (file_tools.h), which every includer of this header gets too.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file.h"
#include "storage/file_tools.h"
#include "text/ustring.h"

namespace tirelmo {

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

}  // namespace tirelmo
