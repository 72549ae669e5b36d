#include "base/log.h"

#include "platform/prompts.h"
#include "storage/file_tools.h"
#include "text/strings.h"

namespace tirelmo {

Log& processLog() {
  // Never destroyed: a web worker still waiting on the network when the program exits may
  // write one more line while the static destructors run. The system closes the file.
  static Log* log = new Log;
  return *log;
}

Log::~Log() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (handle_ != kInvalidFile) fileClose(handle_);
  handle_ = kInvalidFile;
}

void Log::open() { openIn(currentDirectory()); }

u16 Log::folder() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return folder_;
}

void Log::openIn(u16v folder) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (handle_ != kInvalidFile) {
    fileClose(handle_);
    handle_ = kInvalidFile;
  }
  folder_ = u16(folder);
  const u16 path = folder_.empty() ? u16(kLogFileName) : folder_ + u"\\" + kLogFileName;
  FileHandle h = fileOpen(path, OpenMode::ReadWriteNew);
  if (h == kInvalidFile) {
    h = fileOpen(path, OpenMode::ReadWriteExisting);
    if (h != kInvalidFile && !fileSeekToEnd(h)) {
      fileClose(h);
      h = kInvalidFile;
    }
  }
  handle_ = h;
}

bool Log::isOpen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return handle_ != kInvalidFile;
}


void Log::writeLocked(u16v text, u16v ending) {
  if (handle_ == kInvalidFile) return;
  if (text.size() > kLogLineMax) text = text.substr(0, kLogLineMax);
  std::string bytes;
  bytes.reserve(2 * (text.size() + ending.size()));
  appendUtf16Le(bytes, text);
  appendUtf16Le(bytes, ending);
  // The log never reports its own failures.
  fileWrite(handle_, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

void Log::line(u16v text) {
  std::lock_guard<std::mutex> lock(mutex_);
  writeLocked(text, u"\r\n");
}

void Log::piece(u16v text) {
  std::lock_guard<std::mutex> lock(mutex_);
  writeLocked(text, u" ");
}

void Log::closeWithTimestamp(const LocalTime& now) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (handle_ == kInvalidFile) return;
  writeLocked(fmt(u"[%d-%d-%d %02d:%02d] Closing..\r\n\r\n", now.year, now.month, now.day,
                  now.hour, now.minute),
              u"\r\n");
  fileClose(handle_);
  handle_ = kInvalidFile;
}

void Log::closeOnFailedStart() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (handle_ == kInvalidFile) return;
  writeLocked(u"Closing\r\n\r\n", u"");
  fileClose(handle_);
  handle_ = kInvalidFile;
}

void logLastError(u16v context) {
  const std::uint32_t code = lastErrorCode();
  logLine(u"%s last error %d: %s", context, code, errorMessageText(code));
}

void showLastError(Prompts& prompts, u16v context) {
  const std::uint32_t code = lastErrorCode();
  prompts.show(fmt(u"%s last error %d: %s", context, code, errorMessageText(code)),
               text(Txt::CaptionError, Language::English), MsgButtons::Ok, MsgIcon::Warning);
}

void logStartBanner(const LocalTime& start, u16v defaultUserDataDir) {
  logLine(u"\n ----   %d-%d-%d, ore %02d:%02d   ----", start.year, start.month, start.day,
          start.hour, start.minute);
  logPiece(u"Tirelmo");
  logPiece(u"v2.3.3");
  logPiece(u"0");
  logPiece(u"(32-bit)");
  logLine(u"built on May 14 2021 19:36:34");
  logPiece(u"Default User-data dir: ");
  logLine(u"%s", defaultUserDataDir);
}

RotationResult Log_FirstRunToday(const LocalTime& start) {
  logLine(u"%s(%d)", u"Log_FirstRunToday", 19110);
  logLine(u"1st run of the day. Closing Log file, creating a new one..");
  const u16 folder = processLog().folder();
  processLog().closeOnFailedStart();

  auto in = [&folder](u16v name) { return folder.empty() ? u16(name) : folder + u"\\" + u16(name); };
  RotationResult r;
  r.delOld = shellDelete(in(kOldLogPattern));
  r.cpPrevPrev2 = shellCopy(in(kLogPrevFileName), in(kLogPrev2FileName));
  r.cpLogPrev = shellCopy(in(kLogFileName), in(kLogPrevFileName));
  r.delLog = shellDelete(in(kLogFileName));

  processLog().openIn(folder);
  logLine(u" ----   %d-%d-%d, ore %02d:%02d   ----", start.year, start.month, start.day,
          start.hour, start.minute);
  logLine(u"log started on previous file");
  logLine(u"del old %d   cp prev prev2 %d   cp log prev %d   del log %d", r.delOld, r.cpPrevPrev2,
          r.cpLogPrev, r.delLog);
  logLine(u"Tasks imported from prev ToDo sheet, save to create a new one");
  return r;
}

}  // namespace tirelmo
