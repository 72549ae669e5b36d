#include "usage/usage_table.h"

#include <algorithm>
#include <limits>

#include "app/app.h"
#include "base/log.h"
#include "storage/csv.h"
#include "storage/file_ops.h"
#include "storage/record_file.h"
#include "text/format.h"
#include "usage/classifier.h"

namespace tirelmo {

namespace {

constexpr char16_t kHeader[] = u"\"Name\",\"Secs\",\"isUrl\"";
constexpr char16_t kLoader[] = u"LoadAppUsageStats";

// The file keeps only the start of a long name; the table keeps up to kUsageNameMaxUnits.
constexpr std::size_t kStoredNameUnits = 128;

// An entry is pruned only after this many passes without a credit (a minute), and only
// while it is too short to be listed.
constexpr std::uint8_t kIdlePassesBeforePrune = 12;
constexpr std::uint32_t kKeptSeconds = 60;

constexpr int kTicksPerPrune = 3;

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// At most n units; one less when the cut would leave half a surrogate pair behind.
u16v firstUnits(u16v text, std::size_t n) {
  if (text.size() <= n) return text;
  if (n > 0 && isHighSurrogate(text[n - 1])) --n;
  return text.substr(0, n);
}

std::uint32_t addSeconds(std::uint32_t a, std::uint64_t b) {
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{a} + b, std::numeric_limits<std::uint32_t>::max()));
}

u16 usageRow(const UsageEntry& e) {
  // Cut before quoting: a quote doubled at the cut would otherwise lose its twin and end the
  // field early, and the pair cut in half would come back as a different character.
  u16 quoted;
  csvQuote(firstUnits(e.name, kStoredNameUnits), kStoredNameUnits, quoted);
  return fmt(u"%s,\"%u\",\"%d\"", quoted, e.seconds, e.kind);
}

// A line as the writer makes it: "name","secs","kind" and nothing after the last quote but
// the line's CR. A damaged line glued to the next one by the reader fails here rather than
// passing for a record.
bool parseUsageRow(u16v line, UsageEntry& out) {
  if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
  if (line.empty() || line.back() != u'"') return false;
  u16 name;
  if (csvGetNthToken(0, line, name) != 0) return false;
  name.resize(std::min(name.size(), name.find(u'\0')));
  if (name.empty()) return false;
  u16 scratch;
  std::int32_t seconds = 0;
  std::int32_t kind = 0;
  if (bStoi(1, line, scratch, seconds) != 0 || bStoi(2, line, scratch, kind) != 0) return false;
  out.name = u16(firstUnits(name, kUsageNameMaxUnits));
  out.seconds = static_cast<std::uint32_t>(seconds);
  out.kind = kind;
  out.idlePasses = 0;
  return true;
}

}  // namespace

int readUsageFile(u16v path, UsageTable& table) {
  int read = 0;
  // Each line stands on its own: a damaged one is dropped (the reader logs it) and the
  // lines after it still count.
  readRecordFile(path, true, kLoader, [&](u16& line) {
    UsageEntry e;
    if (!parseUsageRow(line, e)) return LineVerdict::Unparsed;
    // A name listed twice (an edited file) would make two rows on the page and let the
    // delete dialog remove only one: its seconds go to the first.
    if (const auto i = findUsage(table, e.name)) {
      UsageEntry& known = table.entries[*i];
      known.seconds = addSeconds(known.seconds, e.seconds);
      known.kind = e.kind;
    } else {
      table.entries.push_back(std::move(e));
    }
    ++read;
    return LineVerdict::Accept;
  });
  return read;
}

u16 usageFilePath(const App& app) {
  return fmt(u"%s\\%s\\%s", app.start.userDataDir, kUsageFolder, kUsageFileName);
}

std::optional<std::size_t> findUsage(const UsageTable& t, u16v name) {
  for (std::size_t i = 0; i < t.entries.size(); ++i)
    if (t.entries[i].name == name) return i;
  return std::nullopt;
}

void addUsageTime(UsageTable& t, u16v name, std::int32_t kind) {
  // A nameless entry could be neither shown nor deleted, and would break the file's rows.
  if (name.empty()) return;
  const u16v kept = firstUnits(name, kUsageNameMaxUnits);
  if (const auto i = findUsage(t, kept)) {
    UsageEntry& e = t.entries[*i];
    e.seconds = addSeconds(e.seconds, kUsageSampleSeconds);
    e.kind = kind;
    e.idlePasses = 0;
    return;
  }
  UsageEntry e;
  e.name = u16(kept);
  e.seconds = kUsageSampleSeconds;
  e.kind = kind;
  t.entries.push_back(std::move(e));
}

void pruneUsage(UsageTable& t) {
  std::erase_if(t.entries, [](UsageEntry& e) {
    if (e.idlePasses < kIdlePassesBeforePrune) {
      ++e.idlePasses;
      return false;
    }
    return e.seconds < kKeptSeconds;
  });
}

bool deleteUsageEntry(UsageTable& t, u16v name) {
  const auto i = findUsage(t, name);
  if (!i) return false;
  t.entries.erase(t.entries.begin() + static_cast<std::ptrdiff_t>(*i));
  return true;
}

int LoadAppUsageStats(App& app) {
  const u16 path = usageFilePath(app);
  logLine(u"Opening app usage stats in %s", path);
  const int read = readUsageFile(path, app.usage);
  app.usage.fileUnreadable = false;
  if (read == 0 && pathKind(path) != PathKind::Missing) {
    const FileHandle h = fileOpen(path, OpenMode::ReadExisting);
    if (h == kInvalidFile) {
      logLastError(u"LoadAppUsageStats");
      app.usage.fileUnreadable = true;
    } else {
      fileClose(h);
    }
  }
  return read;
}

bool SaveAppUsageStats(App& app) {
  const u16 path = usageFilePath(app);
  // Earlier usage of today that could not be read at start is taken in first (its seconds
  // add to what was credited since); while it stays unreadable the file is left alone.
  if (app.usage.fileUnreadable) LoadAppUsageStats(app);
  if (app.usage.fileUnreadable) {
    logLine(u"App usage stats in %s could not be read: the file is kept", path);
    return false;
  }
  logLine(u"Saving app usage stats into %s", path);
  // The data phase makes the folder; it may have been removed while the program ran.
  createDirectory(fmt(u"%s\\%s", app.start.userDataDir, kUsageFolder));
  AtomicFileWriter file(path);
  if (!file.isOpen()) {
    logLastError(u"CreateFile");
    return false;
  }
  writeRecordLine(file, kHeader);
  for (const UsageEntry& e : app.usage.entries)
    if (!e.name.empty()) writeRecordLine(file, usageRow(e));
  return file.commit();
}

void loadUsageAtStart(App& app) {
  // The file holds everything of today that was kept; what memory holds here belongs to the
  // day before (a day restart) or to nobody.
  app.usage.entries.clear();
  app.usage.ticks = 0;
  if (app.start.firstRunToday) {
    // Yesterday's file must not come back as today's if the program dies before the next save.
    SaveAppUsageStats(app);
    return;
  }
  LoadAppUsageStats(app);
}

bool usageTick(App& app) {
  if (const std::optional<UsageCredit> credit = classifyForegroundWindow(*app.windows))
    addUsageTime(app.usage, credit->name, credit->kind);
  if (++app.usage.ticks < kTicksPerPrune) return false;
  app.usage.ticks = 0;
  pruneUsage(app.usage);
  return true;
}

}  // namespace tirelmo
