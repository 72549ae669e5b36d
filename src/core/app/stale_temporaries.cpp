#include "app/stale_temporaries.h"

#include <vector>

#include "base/log.h"
#include "platform/file.h"
#include "projects/project_store.h"
#include "sheet/sheet_names.h"
#include "stats/yesterday_archive.h"
#include "storage/file_ops.h"
#include "storage/settings.h"

namespace tirelmo {

namespace {

constexpr char16_t kTempEnding[] = u".tmp";

bool startsWithNoCase(u16v text, u16v prefix) {
  return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

bool isNumber(u16v s) {
  if (s.empty()) return false;
  for (char16_t c : s)
    if (c < u'0' || c > u'9') return false;
  return true;
}

// prefix + number + separator + number + ending, as "%d-%d.ats" or "DoneTasks_%d_%d.m00".
bool isNumberedName(u16v name, u16v prefix, char16_t separator, u16v ending) {
  if (!startsWithNoCase(name, prefix) || !endsWithNoCase(name, ending)) return false;
  if (name.size() < prefix.size() + ending.size()) return false;
  const u16v middle = name.substr(prefix.size(), name.size() - prefix.size() - ending.size());
  const std::size_t cut = middle.find(separator);
  return cut != u16v::npos && isNumber(middle.substr(0, cut)) && isNumber(middle.substr(cut + 1));
}

}  // namespace

bool isOurDataFileName(u16v name) {
  if (sheetFormatOfName(name) == SheetFormat::Pm6 && startsWithNoCase(name, u"DailyTask_")) return true;
  for (u16v fixed : {u16v(kSettingsFileName), u16v(kYesterdayArchiveFile), u16v(kActiveProjectsP01),
                     u16v(kClosedProjectsP01), u16v(u"TdlInfo.p01")})
    if (equalsNoCase(name, fixed)) return true;
  return isNumberedName(name, u"", u'-', u".ats") || isNumberedName(name, u"DoneTasks_", u'_', u".m00");
}

bool isOurTemporaryName(u16v name) {
  return endsWithNoCase(name, kTempEnding) && isOurDataFileName(name.substr(0, name.size() - 4));
}

int removeStaleTemporaries(const App& app) {
  const StartupState& s = app.start;
  const u16 sheets = joinPath(s.userDataDir, u"DailyTask");
  const int year = s.today.year;
  const int month = s.today.month;
  // A run saves into the month it started in, which is the previous one after midnight.
  const int previousYear = month == 1 ? year - 1 : year;
  const int previousMonth = month == 1 ? 12 : month - 1;
  std::vector<u16> folders = {
      joinPath(joinPath(sheets, fmt(u"%d", year)), fmt(u"%d", month)),
      joinPath(joinPath(sheets, fmt(u"%d", previousYear)), fmt(u"%d", previousMonth)),
      joinPath(s.userDataDir, u"stats"),
      joinPath(s.userDataDir, kProjectsFolder),
      s.userDataDir,
  };
  if (!s.defaultUserDataDir.empty() && !equalsNoCase(s.defaultUserDataDir, s.userDataDir))
    folders.push_back(s.defaultUserDataDir);

  // Every list file in NextThings is ours, whatever its title: there any "*.pm6.tmp" is.
  const u16 lists = joinPath(s.userDataDir, u"NextThings");
  folders.push_back(lists);
  auto ours = [&lists](const u16& folder, u16v name) {
    if (folder == lists) return endsWithNoCase(name, u".pm6.tmp");
    return isOurTemporaryName(name);
  };

  int removed = 0;
  for (const u16& folder : folders) {
    for (const DirEntry& e : listDirectory(folder, kTempEnding)) {
      if (e.isDirectory || !ours(folder, e.name)) continue;
      const u16 path = joinPath(folder, e.name);
      if (deleteFile(path)) {
        logLine(u"Removed stale temporary file %s", path);
        ++removed;
      } else {
        logLastError(u"DeleteFile");
        logLine(u"Stale temporary file %s not removed", path);
      }
    }
  }
  return removed;
}

}  // namespace tirelmo
