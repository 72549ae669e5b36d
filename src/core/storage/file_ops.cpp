#include "storage/file_ops.h"

#include <chrono>
#include <thread>

#include "base/log.h"

namespace tirelmo {

AtomicFileWriter::AtomicFileWriter(u16v path) : path_(path), temp_(u16(path) + u".tmp") {
  handle_ = fileOpen(temp_, OpenMode::CreateAlways);
}

AtomicFileWriter::~AtomicFileWriter() { abandon(); }

bool AtomicFileWriter::write(const void* data, std::uint32_t size) {
  if (handle_ == kInvalidFile || failed_) return false;
  if (size == 0) return true;
  if (!fileWrite(handle_, data, size)) {
    logLastError(u"WriteFile");
    failed_ = true;
    return false;
  }
  return true;
}

bool AtomicFileWriter::commit() {
  if (handle_ == kInvalidFile) return false;
  bool ok = !failed_;
  if (ok && !fileFlush(handle_)) {
    logLastError(u"FlushFileBuffers");
    ok = false;
  }
  fileClose(handle_);
  handle_ = kInvalidFile;
  if (ok) {
    // A virus scanner or a backup tool may hold the old file for a moment.
    bool replaced = replaceFile(temp_, path_);
    for (int attempt = 0; !replaced && attempt < 5; ++attempt) {
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
      replaced = replaceFile(temp_, path_);
    }
    if (!replaced) {
      logLastError(u"MoveFileEx");
      ok = false;
    }
  }
  if (!ok) {
    logLine(u"%s not written, the previous file was kept", path_);
    deleteFile(temp_);
  }
  return ok;
}

void AtomicFileWriter::abandon() {
  if (handle_ == kInvalidFile) return;
  fileClose(handle_);
  handle_ = kInvalidFile;
  deleteFile(temp_);
}

}  // namespace tirelmo
