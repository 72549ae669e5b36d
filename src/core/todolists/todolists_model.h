// The Todolist registry in memory: one entry per list, in tab order, and the list in view's
// place in it. Kept apart from the file formats so that the App can hold it without
// depending on them.
#pragma once

#include <cstdint>
#include <vector>

#include "text/ustring.h"

namespace tirelmo {

inline constexpr int kMaxTodolists = 64;
// A title holds at most this many UTF-16 units; it is never empty.
inline constexpr std::size_t kTodolistTitleMax = 63;
inline constexpr int kDeadlineClasses = 6;  // 0 (31 days or more) .. 5 (today or overdue)

struct TodolistEntry {
  std::int32_t id = 0;
  u16 title;
  u16 path;                   // full path of the list file
  std::uint8_t freeRows = 0;  // rows with empty text; refreshed at every save
  std::uint8_t doneRows = 0;  // counted at load
  // Open (not done) rows with a deadline, per deadline class; counted from the rows,
  // never stored.
  std::uint8_t deadlineCount[kDeadlineClasses] = {};
  // The most urgent deadline class present (-1: none); what the tab strip shows.
  int mostUrgentDeadline() const;
};

struct TodolistRegistry {
  std::vector<TodolistEntry> entries;
  int current = 0;  // index of the Todolist in view; meaningless while entries is empty
  // "TdlInfo.p01" exists but could not be opened: it is never saved over, or every list it
  // names would drop out of the tab strip.
  bool fileUnreadable = false;
  int count() const { return static_cast<int>(entries.size()); }
  bool valid(int index) const { return index >= 0 && index < count(); }
};

}  // namespace tirelmo
