#include "stats/day_stats.h"

#include <algorithm>

#include "sheet/todo_row.h"

namespace tirelmo {

std::uint8_t& DayStats::counter(ScoreKind kind) {
  switch (kind) {
    case ScoreKind::Pomodoro: return pomodoros;
    case ScoreKind::Abandoned: return abandoned;
    case ScoreKind::InternalInterruption: return internalInterruptions;
    case ScoreKind::ExternalInterruption: return externalInterruptions;
    case ScoreKind::Estimated: return estimated;
    case ScoreKind::Done: break;
  }
  return done;
}

void DayStats::toBytes(std::uint8_t out[16]) const {
  const std::uint8_t head[9] = {used, pomodoros, abandoned, internalInterruptions, done,
                                externalInterruptions, estimated, workedHours, workedMinutes};
  std::memcpy(out, head, 9);
  std::memcpy(out + 9, reserved, 7);
}

DayStats DayStats::fromBytes(const std::uint8_t in[16]) {
  DayStats d;
  d.used = in[0] ? 1 : 0;
  d.pomodoros = in[1];
  d.abandoned = in[2];
  d.internalInterruptions = in[3];
  d.done = in[4];
  d.externalInterruptions = in[5];
  d.estimated = in[6];
  d.workedHours = in[7];
  d.workedMinutes = std::min<std::uint8_t>(in[8], 59);
  std::memcpy(d.reserved, in + 9, 7);
  return d;
}

void DayStats::setWorkedTime(std::int64_t minutes) {
  constexpr std::int64_t kMost = 255 * 60 + 59;
  minutes = std::clamp<std::int64_t>(minutes, 0, kMost);
  workedHours = static_cast<std::uint8_t>(minutes / 60);
  workedMinutes = static_cast<std::uint8_t>(minutes % 60);
}

}  // namespace tirelmo
