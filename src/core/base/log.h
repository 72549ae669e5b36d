// The program's running log: UTF-16LE without byte-order mark, lines ending CR LF.
//
// One log per process. The UI thread and the web workers both write to it, so every
// format-and-write pair happens under one lock; the file format is unaffected.
#pragma once

#include <cstdint>
#include <mutex>

#include "platform/clock.h"
#include "platform/file.h"
#include "text/format.h"

namespace tirelmo {

class Prompts;

inline constexpr char16_t kLogFileName[] = u"Tirelmo_v2.3.3_log.txt";
inline constexpr char16_t kLogPrevFileName[] = u"Tirelmo_v2.3.3_log_prev.txt";
inline constexpr char16_t kLogPrev2FileName[] = u"Tirelmo_v2.3.3_log_prev2.txt";
inline constexpr char16_t kOldLogPattern[] = u"Tirelmo_20*_log.txt";

// A log line holds at most this many units; longer text is cut.
inline constexpr std::size_t kLogLineMax = 1023;

class Log {
 public:
  Log() = default;
  Log(const Log&) = delete;
  Log& operator=(const Log&) = delete;
  ~Log();

  // Creates the log in the current directory, or opens the existing one for appending.
  // The folder is remembered: the daily rotation works there.
  void open();
  // The same in the given folder.
  void openIn(u16v folder);
  bool isOpen() const;
  // The folder of the last opening (empty before the first).
  u16 folder() const;

  // Text followed by CR LF / by one blank. The text is written as it is.
  void line(u16v text);
  void piece(u16v text);

  // "[y-m-d hh:mm] Closing..\r\n\r\n" and the line's own CR LF, then close.
  void closeWithTimestamp(const LocalTime& now);
  // The plain "Closing\r\n\r\n" of a start that failed, then close.
  void closeOnFailedStart();

 private:
  void writeLocked(u16v text, u16v ending);
  mutable std::mutex mutex_;
  FileHandle handle_ = kInvalidFile;
  u16 folder_;
};

// The process's log.
Log& processLog();

template <class... A>
void logLine(u16v format, const A&... args) {
  processLog().line(fmt(format, args...));
}

template <class... A>
void logPiece(u16v format, const A&... args) {
  processLog().piece(fmt(format, args...));
}

// Writes "%s last error %d: %s" with the context, the thread's last platform error and its
// message text.
void logLastError(u16v context);
// The same text in a message box with the caption "Error" and a warning icon.
void showLastError(Prompts& prompts, u16v context);

// The start banner written right after the log is opened at start-up.
void logStartBanner(const LocalTime& start, u16v defaultUserDataDir);

// Result codes of the four file operations of the daily rotation.
struct RotationResult {
  int delOld = 0;
  int cpPrevPrev2 = 0;
  int cpLogPrev = 0;
  int delLog = 0;
};

// The first run of a day: keeps the previous two days' logs and starts a new, empty log.
// Works in the folder where the log was opened (the default user-data folder), not in the
// current directory: with a separate user-data folder the current directory is that folder,
// and rotating there would leave the real log growing forever while a second one started
// beside the data.
RotationResult Log_FirstRunToday(const LocalTime& start);

}  // namespace tirelmo
