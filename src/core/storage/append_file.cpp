#include "storage/append_file.h"

#include <string>

#include "base/log.h"

namespace tirelmo {

namespace {

constexpr std::uint32_t kReadChunk = 4096;

bool writeBytes(FileHandle h, std::string_view bytes) {
  if (fileWrite(h, bytes.data(), static_cast<std::uint32_t>(bytes.size()))) return true;
  logLastError(u"WriteFile");
  return false;
}

bool isExistsError(std::uint32_t e) { return e == winerr::kFileExists || e == winerr::kAlreadyExists; }

// Reads the file through once: its size and its last bytes. The archives are small, and
// the file port has no seek to an offset.
bool readSizeAndTail(FileHandle h, std::size_t keep, std::int64_t& size, std::string& tail) {
  size = 0;
  tail.clear();
  std::string chunk(kReadChunk, '\0');
  for (;;) {
    std::uint32_t got = 0;
    if (!fileRead(h, chunk.data(), kReadChunk, got)) return false;
    if (got == 0) return true;
    size += got;
    tail.append(chunk, 0, got);
    if (tail.size() > keep) tail.erase(0, tail.size() - keep);
  }
}

bool repairEnd(FileHandle h, u16v path, const LineFileLayout& layout) {
  std::int64_t size = 0;
  std::string tail;
  if (!readSizeAndTail(h, layout.lineEnd.size() + layout.unitBytes, size, tail)) {
    logLastError(u"ReadFile");
    return false;
  }
  const auto torn = static_cast<std::size_t>(size % static_cast<std::int64_t>(layout.unitBytes));
  if (torn != 0) {
    if (!fileTruncate(h, size - static_cast<std::int64_t>(torn))) {
      logLastError(u"SetEndOfFile");
      return false;
    }
    size -= static_cast<std::int64_t>(torn);
    tail.resize(tail.size() - torn);
    logLine(u"Archive %s: torn end of %u bytes cut", path, torn);
  }
  if (!fileSeekToEnd(h)) return false;
  if (size == 0) {
    if (!writeBytes(h, layout.header)) return false;
    logLine(u"Archive %s: empty, header written", path);
  } else if (!std::string_view(tail).ends_with(layout.lineEnd)) {
    if (!writeBytes(h, layout.lineEnd)) return false;
    logLine(u"Archive %s: last line ended", path);
  }
  return true;
}

}  // namespace

FileHandle openLineFileForAppend(u16v path, const LineFileLayout& layout, bool* created) {
  if (created) *created = false;
  FileHandle h = fileOpen(path, OpenMode::ReadWriteNew);
  if (h != kInvalidFile) {
    if (created) *created = true;
    if (writeBytes(h, layout.header)) return h;
    // What the write left of the header is no use; the next opening starts over.
    const std::uint32_t why = lastErrorCode();
    fileClose(h);
    deleteFile(path);
    setLastErrorCode(why);
    return kInvalidFile;
  }
  const std::uint32_t error = lastErrorCode();
  if (!isExistsError(error) && pathKind(path) != PathKind::File) {
    setLastErrorCode(error);  // the caller logs why the creation failed
    return kInvalidFile;
  }
  h = fileOpen(path, OpenMode::ReadWriteExisting);
  if (h == kInvalidFile) return kInvalidFile;
  if (!repairEnd(h, path, layout)) {
    // Appending behind an end that could not be made whole would spoil what comes next.
    const std::uint32_t why = lastErrorCode();
    fileClose(h);
    setLastErrorCode(why);
    return kInvalidFile;
  }
  return h;
}

}  // namespace tirelmo
