#include "sheet/todo_row.h"

#include <algorithm>

#include "base/log.h"

namespace tirelmo {

std::uint8_t& TodoRow::counter(ScoreKind kind) {
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

void TodoRow::scoreBytes(std::uint8_t out[10]) const {
  const std::uint8_t b[10] = {pomodoros,     abandoned,     internalInterruptions, externalInterruptions,
                              estimated,     done,          pastPomodoros,         pastAbandoned,
                              pastInternal,  pastExternal};
  for (int i = 0; i < 10; ++i) out[i] = b[i];
}

void TodoRow::setScoreBytes(const std::uint8_t in[10]) {
  pomodoros = in[0];
  abandoned = in[1];
  internalInterruptions = in[2];
  externalInterruptions = in[3];
  estimated = in[4];
  done = in[5];
  pastPomodoros = in[6];
  pastAbandoned = in[7];
  pastInternal = in[8];
  pastExternal = in[9];
}

void TodoRow::clearScoresAndInfo() {
  u16 keep = std::move(text);
  *this = TodoRow();
  text = std::move(keep);
}

bool clampLoadedRow(TodoRow& row) {
  const TodoRow before = row;
  RowInfo& i = row.info;
  i.minutesToday = std::clamp(i.minutesToday, 0, kMaxMinutesToday);
  i.pastMinutes = std::clamp(i.pastMinutes, 0, kMaxPastMinutes);
  row.done = row.done ? 1 : 0;
  if (i.category > kLastRowCategory) i.category = 0;
  i.flags = static_cast<std::uint8_t>(i.flags & (rowflag::kUnplanned | rowflag::kRepeat | rowflag::kDeadline));
  if (row == before) return false;
  logLine(u"Row values out of range set within range: %s", row.text);
  return true;
}

}  // namespace tirelmo
