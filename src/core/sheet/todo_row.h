// The task row shared by the ToDo sheet (25 rows) and the Todolist in view (50 rows).
#pragma once

#include <cstdint>

#include "text/ustring.h"

namespace tirelmo {

// The six scores, numbered as the rows store them.
enum class ScoreKind : std::uint8_t {
  Pomodoro = 0,
  Abandoned = 1,
  InternalInterruption = 2,
  ExternalInterruption = 3,
  Estimated = 4,
  Done = 5,
};
inline constexpr int kScoreKinds = 6;

// A row text holds at most this many UTF-16 units (the stored buffer has one more for NUL).
inline constexpr std::size_t kRowTextMax = 179;
inline constexpr std::size_t kRowTextCapacity = 180;

// Bounds of what a row may hold once loaded. Today's minutes cannot exceed a day. The past
// minutes get a bound of about two years of days worked round the clock: generous, yet the
// sums over 50 rows and 31 days still fit in 32 bits.
inline constexpr std::int32_t kMaxMinutesToday = 24 * 60;
inline constexpr std::int32_t kMaxPastMinutes = 1000000;
inline constexpr std::uint8_t kLastRowCategory = 12;

// Bits of RowInfo::flags.
namespace rowflag {
inline constexpr std::uint8_t kUnplanned = 1;  // scored below the separator; never stored
inline constexpr std::uint8_t kRepeat = 2;     // comes back every day, even when done
inline constexpr std::uint8_t kDeadline = 4;   // the deadline fields are valid
}  // namespace rowflag

struct RowInfo {
  std::uint8_t category = 0;  // 0..12, 0 = none
  std::int32_t minutesToday = 0;
  std::uint8_t deadlineYear = 0;  // year - 2000
  std::uint8_t deadlineMonth = 0;
  std::uint8_t deadlineDay = 0;
  std::uint8_t flags = 0;
  std::uint8_t insertDate[3] = {};  // never set by the program; archived as it is
  std::uint8_t ageDays = 0;         // days carried over from earlier sheets
  std::int32_t pastMinutes = 0;
  std::int32_t projectId = 0;
  std::int32_t reserved1 = 0;
  std::int32_t reserved2 = 0;
  std::int32_t reserved3 = 0;
  std::uint16_t reserved4 = 0;
  bool operator==(const RowInfo&) const = default;
};

struct TodoRow {
  u16 text;  // empty: the row is free
  std::uint8_t pomodoros = 0;
  std::uint8_t abandoned = 0;
  std::uint8_t internalInterruptions = 0;
  std::uint8_t externalInterruptions = 0;
  std::uint8_t estimated = 0;
  std::uint8_t done = 0;
  std::uint8_t pastPomodoros = 0;
  std::uint8_t pastAbandoned = 0;
  std::uint8_t pastInternal = 0;
  std::uint8_t pastExternal = 0;
  RowInfo info;

  bool isFree() const { return text.empty(); }
  bool isDone() const { return done != 0; }
  bool hasFlag(std::uint8_t f) const { return (info.flags & f) != 0; }

  // The row counter of a score kind.
  std::uint8_t& counter(ScoreKind kind);
  std::uint8_t counter(ScoreKind kind) const { return const_cast<TodoRow*>(this)->counter(kind); }

  // The ten score bytes in stored order (today's six, then the four past ones).
  void scoreBytes(std::uint8_t out[10]) const;
  void setScoreBytes(const std::uint8_t in[10]);

  // Scores, past scores and the info block to zero; the text stays.
  void clearScoresAndInfo();
  // The whole row to zero: a free row.
  void clear() { *this = TodoRow(); }

  bool operator==(const TodoRow&) const = default;
};

// Brings the values of a row just read from a file into their ranges: minutes within the
// bounds above, done 0 or 1, a category out of 0..12 becomes none, unknown flag bits go.
// Every sheet and Todolist reader passes its rows through here, so nothing a file holds can
// overflow a sum or index past a table later. True (and a log line) when something changed.
bool clampLoadedRow(TodoRow& row);

}  // namespace tirelmo
