// Today's time per application and web site, as the program holds it.
#pragma once

#include <cstdint>
#include <vector>

#include "text/ustring.h"

namespace tirelmo {

enum UsageKind : std::int32_t { kUsageApp = 0, kUsageWeb = 1, kUsageMail = 2 };

inline constexpr std::size_t kUsageNameMaxUnits = 255;

struct UsageEntry {
  u16 name;                    // never empty
  std::uint32_t seconds = 0;
  std::int32_t kind = kUsageApp;  // "isUrl"
  std::uint8_t idlePasses = 0;    // prune passes since the last credit, 0..12
  bool operator==(const UsageEntry&) const = default;
};

struct UsageTable {
  std::vector<UsageEntry> entries;  // insertion order; names unique
  int ticks = 0;                    // samples since the last prune (0..2)
  // Today's file was there but could not be read: what it holds is not in memory, so it is
  // read again before a save, and never replaced while it stays unreadable.
  bool fileUnreadable = false;
};

}  // namespace tirelmo
