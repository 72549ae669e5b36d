// The usage table's operations, its file "AppUsage\todayAppUsage.txt" and when it is
// loaded, emptied and saved.
#pragma once

#include <optional>

#include "usage/usage_model.h"

namespace tirelmo {

struct App;

inline constexpr char16_t kUsageFolder[] = u"AppUsage";
inline constexpr char16_t kUsageFileName[] = u"todayAppUsage.txt";
inline constexpr std::uint32_t kUsageSampleSeconds = 5;

// "<user-data folder>\AppUsage\todayAppUsage.txt".
u16 usageFilePath(const App& app);

std::optional<std::size_t> findUsage(const UsageTable& t, u16v name);
// Credits 5 s to the name (an empty name credits nothing); a new name is appended.
void addUsageTime(UsageTable& t, u16v name, std::int32_t kind);
// One prune pass: idle passes grow up to 12; an entry at 12 with less than 60 s goes.
void pruneUsage(UsageTable& t);
// Removes the entry with that name (the delete dialog names what it showed); false when
// no entry has it any more.
bool deleteUsageEntry(UsageTable& t, u16v name);

// Appends the file's entries (names already present are merged into them); a damaged line
// costs only that line. Returns the number of entries read.
int LoadAppUsageStats(App& app);
// The reading part of it, for any usage file into any table.
int readUsageFile(u16v path, UsageTable& table);
// Writes the whole table, whole or not at all; false when the file was not replaced.
bool SaveAppUsageStats(App& app);

// The data phase: on the first run of a day the table starts empty and is saved at once (a
// crash cannot bring yesterday's back); on a later run of the day the file is read.
void loadUsageAtStart(App& app);

// Timer 407's tick: sample the window in front (classifier), count the tick, and every third
// one prune; returns true when the Apps + Websites page should be drawn again.
bool usageTick(App& app);

}  // namespace tirelmo
