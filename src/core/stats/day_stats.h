// The day statistics record and the month table: what happened on each day of the month.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace tirelmo {

enum class ScoreKind : std::uint8_t;

// 16 bytes, stored exactly in this order.
struct DayStats {
  std::uint8_t used = 0;
  std::uint8_t pomodoros = 0;
  std::uint8_t abandoned = 0;
  std::uint8_t internalInterruptions = 0;
  std::uint8_t done = 0;
  std::uint8_t externalInterruptions = 0;
  std::uint8_t estimated = 0;
  std::uint8_t workedHours = 0;
  std::uint8_t workedMinutes = 0;
  std::uint8_t reserved[7] = {};

  // The day counter of a score kind (the fields are not in score-kind order).
  std::uint8_t& counter(ScoreKind kind);

  void clear() { *this = DayStats(); }
  // A day's worked minutes as hours and minutes; the hours stop at 255 (and nothing goes
  // below 0) rather than wrapping to a day that looks idle.
  void setWorkedTime(std::int64_t minutes);
  std::int64_t workedTime() const { return std::int64_t{workedHours} * 60 + workedMinutes; }
  void toBytes(std::uint8_t out[16]) const;
  // The stored record, its values brought into range: the used flag 0 or 1, minutes 0..59
  // (the reserved bytes are kept as they are). Every file holding the record is read here.
  static DayStats fromBytes(const std::uint8_t in[16]);
  bool operator==(const DayStats&) const = default;
};
static_assert(sizeof(DayStats) == 16);

inline constexpr int kMonthDays = 31;
inline constexpr std::size_t kMonthTableBytes = 16 * kMonthDays;  // 496

// Slot i holds day of month i + 1.
struct MonthTable {
  std::array<DayStats, kMonthDays> days{};
  // Today's slot holds today's running totals (set once they were first copied there); not
  // stored in the file.
  bool todayKept = false;
  void clear() {
    days.fill(DayStats());
    todayKept = false;
  }
};

}  // namespace tirelmo
