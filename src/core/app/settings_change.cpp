#include "app/settings_change.h"

#include <algorithm>

#include "app/app.h"
#include "app/sheet_io.h"
#include "base/log.h"
#include "platform/file.h"
#include "sheet/sheet_files.h"
#include "storage/file_tools.h"
#include "text/format.h"
#include "todolists/todolist_registry.h"

namespace tirelmo {

namespace {

constexpr int kMinDialogPomodoro = 5;
constexpr int kMaxDialogPomodoro = 90;
constexpr int kMaxBreakMinutes = 20;
constexpr int kResetPomodoro = 25;
constexpr int kResetBreak = 5;
constexpr int kTimerTypes = 5;
// The longest path a data file may have: what the settings can hold of last2dofilename.
constexpr std::size_t kMaxDataPathUnits = kSettingsPathCapacity - 1;

std::vector<u16> listOf(std::initializer_list<const char16_t*> names) {
  return std::vector<u16>(names.begin(), names.end());
}

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }
bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Case folding as the file system compares names: ASCII, Latin-1, Greek and Cyrillic.
char16_t foldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  return c;
}

u16 folded(u16v s) {
  u16 r(s);
  for (char16_t& c : r) c = foldCase(c);
  return r;
}

// One spelling per folder: root ("C:", "\\SERVER\SHARE" or "\"), then the pieces folded,
// joined by '\'. Windows drops trailing blanks and dots of a name, so they go here too.
u16 normalisedFolder(u16v path) {
  u16 s(path);
  std::replace(s.begin(), s.end(), u'/', u'\\');
  u16 root;
  std::size_t pos = 0;
  if (s.size() >= 2 && s[1] == u':') {
    root = folded(s.substr(0, 2));
    pos = 2;
  } else if (s.size() >= 2 && s[0] == u'\\' && s[1] == u'\\') {
    // Server and share belong to the root: ".." never climbs above a share.
    pos = 2;
    root = u"\\\\";
    for (int piece = 0; piece < 2; ++piece) {
      const std::size_t end = std::min(s.find(u'\\', pos), s.size());
      if (piece == 1) root += u'\\';
      root += folded(u16v(s).substr(pos, end - pos));
      pos = end;
      if (pos < s.size()) ++pos;
    }
  }
  std::vector<u16> pieces;
  while (pos <= s.size()) {
    const std::size_t end = std::min(s.find(u'\\', pos), s.size());
    u16 piece = s.substr(pos, end - pos);
    pos = end + 1;
    if (piece == u"..") {
      if (!pieces.empty()) pieces.pop_back();
      continue;
    }
    while (!piece.empty() && (piece.back() == u' ' || piece.back() == u'.')) piece.pop_back();
    if (!piece.empty()) pieces.push_back(folded(piece));
  }
  u16 r = root;
  for (const u16& p : pieces) r += u'\\' + p;
  return r.empty() || r == root ? r + u'\\' : r;
}

// Whether `inner` lies below `outer` (not the same folder).
bool isInsideFolder(u16v inner, u16v outer) {
  const u16 in = normalisedFolder(inner);
  const u16 out = normalisedFolder(outer);
  if (in.size() <= out.size() || in.compare(0, out.size(), out) != 0) return false;
  return out.back() == u'\\' || in[out.size()] == u'\\';
}

// The folder as it will be stored: no blanks around it, no trailing separator (except the
// one of a drive root, "C:" alone would name the drive's current folder).
u16 cleanFolderText(u16v text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  u16 s(text);
  while (s.size() > 1 && isSeparator(s.back()) && !(s.size() == 3 && s[1] == u':')) s.pop_back();
  return s;
}

bool hasBadFolderCharacter(u16v s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (c < 0x20 || c == 0x7F || u16v(u"*?\"<>|").find(c) != u16v::npos) return true;
    if (c == u':' && i != 1) return true;
  }
  return false;
}

// "C:\..." or "\\server\share...": anything else depends on the current drive or folder,
// which the program changes to the data folder itself.
bool isFullFolderPath(u16v s) {
  if (s.size() >= 3 && s[1] == u':' && isSeparator(s[2])) {
    const char16_t d = static_cast<char16_t>(s[0] | 0x20);
    return d >= u'a' && d <= u'z';
  }
  if (s.size() < 5 || !isSeparator(s[0]) || !isSeparator(s[1])) return false;
  const u16v rest = s.substr(2);
  const std::size_t sep = rest.find_first_of(u"\\/");
  if (sep == 0 || sep == u16v::npos || sep + 1 >= rest.size()) return false;
  const u16v server = rest.substr(0, sep);
  return server != u"." && !isSeparator(rest[sep + 1]);
}

// The longest path the data gets below `folder`: today's sheet at its widest name, and each
// Todolist file in "NextThings".
std::size_t longestDataPath(const App& app, u16v folder) {
  std::size_t longest = sheetFilePath(folder, 2099, 12, sheetFileNameFor(2099, 12, 31, 6, u".pm6")).size();
  const u16 lists = todolistFolder(folder);
  for (const TodolistEntry& e : app.todolists.entries)
    longest = std::max(longest, joinPath(lists, baseName(e.path)).size());
  return longest;
}

// Digits only, blanks around allowed: a minus sign or a letter is no number of minutes.
bool parseMinutes(u16v text, int& value) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  if (text.empty()) return false;
  value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
    value = std::min(value * 10 + (c - u'0'), 1000000);
  }
  return true;
}

void showWarning(App& app, Txt message, Txt caption) {
  app.prompts.show(app.tr(message), app.tr(caption), MsgButtons::Ok, MsgIcon::Warning);
}

// A path below `from` named the same way below `to`; any other path stays as it is.
u16 repointPath(u16v path, u16v from, u16v to) {
  for (std::size_t k = path.find_first_of(u"\\/"); k != u16v::npos; k = path.find_first_of(u"\\/", k + 1)) {
    if (k > 0 && sameDataFolder(path.substr(0, k), from)) return joinPath(to, path.substr(k + 1));
  }
  return u16(path);
}

// Creates a folder and every missing folder above it, as the shell's copy does.
bool createFolderChain(u16v folder) {
  if (folder.empty()) return false;
  if (pathKind(folder) == PathKind::Directory) return true;
  const u16 parent = folderOf(folder);
  if (!parent.empty() && parent.size() < folder.size() && pathKind(parent) == PathKind::Missing &&
      !createFolderChain(parent))
    return false;
  return createDirectory(folder) != MkdirResult::Failed;
}

// Whether a group has anything to copy. A group without a source (a profile that never had
// an inventory list, projects or usage data) is no failure; a folder that cannot be read is
// left to the copy, which reports it.
bool hasSource(u16v source) {
  const u16 name = baseName(source);
  if (name.find_first_of(u"*?") == u16::npos) return pathKind(source) != PathKind::Missing;
  setLastErrorCode(0);
  const std::vector<DirEntry> entries = listDirectory(folderOf(source));
  if (entries.empty() && lastErrorCode() != 0) return true;
  return std::any_of(entries.begin(), entries.end(), [&](const DirEntry& e) { return wildcardMatch(name, e.name); });
}

// In this order: what the day needs first, then the lists, the registry and the usage data.
constexpr const char16_t* kDataGroups[] = {u"%s\\DailyTask",   u"%s\\stats",      u"%s\\Projects",
                                            u"%s\\InvList*.*", u"%s\\Yesterday*.*", u"%s\\NextThings",
                                            u"%s\\TdlInfo.p01", u"%s\\AppUsage"};

bool copyDataGroups(u16v from, u16v to) {
  for (const char16_t* group : kDataGroups) {
    const u16 source = fmt(group, from);
    if (!hasSource(source)) {
      logLine(u"Nothing to copy: %s", source);
      continue;
    }
    if (!copyFolderContents(source, to)) return false;
  }
  return true;
}

// The registry's copy still names the old files: it is written again from the registry in
// memory with every path in the new folder. A registry that could not be read was copied as
// it is and is not written over.
bool writeMovedRegistry(const App& app, u16v from, u16v to) {
  if (app.todolists.fileUnreadable || app.todolists.entries.empty()) return true;
  TodolistRegistry moved = app.todolists;
  for (TodolistEntry& e : moved.entries) e.path = repointPath(e.path, from, to);
  const u16 path = todolistRegistryPath(to);
  if (saveTodolistRegistryFile(path, moved)) return true;
  logLine(u"%s not written", path);
  return false;
}

}  // namespace

const std::vector<u16>& timerTypeEntries() {
  static const std::vector<u16> list = listOf({u"Classic", u"Grey", u"Light Grey", u"Yellow", u"Blue"});
  return list;
}

const std::vector<u16>& skinEntries() {
  static const std::vector<u16> list =
      listOf({u"compact white", u"classic", u"white", u"pink", u"crumpled", u"cyan", u"cleanwhite", u"parchment",
              u"light gold", u"SmallCervino", u"Cervino", u"Vintage"});
  return list;
}

const std::vector<u16>& fontEntries() {
  static const std::vector<u16> list = listOf({u"Bradley Hand ITC", u"Arial", u"Times New Roman", u"Trebuchet MS",
                                               u"PMingLiU", u"Segoe Print", u"Buxton Sketch", u"Microsoft YaHei"});
  return list;
}

const std::vector<u16>& fontSizeEntries() {
  static const std::vector<u16> list = [] {
    std::vector<u16> sizes;
    for (int size = 14; size <= 47; ++size) sizes.push_back(fontSizeText(size));
    return sizes;
  }();
  return list;
}

const std::vector<u16>& languageEntries() {
  static const std::vector<u16> list = listOf({u"English", u"Chinese (Simplified)"});
  return list;
}

u16 fontSizeText(int size) { return fmt(u"%2d", size); }

int dropDownSelection(const std::vector<u16>& entries, u16v current) {
  // Nothing to look for: the drop-down shows no choice rather than its first entry.
  if (current.empty()) return -1;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const u16v entry = entries[i];
    if (entry.size() >= current.size() && equalsNoCase(entry.substr(0, current.size()), current))
      return static_cast<int>(i);
  }
  return -1;
}

SettingsCheck checkSettingsDialog(App& app, const SettingsDialogValues& v) {
  int minutes = 0;
  if (!parseMinutes(v.pomodoroMinutes, minutes) || minutes < kMinDialogPomodoro || minutes > kMaxDialogPomodoro) {
    showWarning(app, Txt::SettingsPomodoroRange, Txt::CaptionValueOutOfRange);
    return {SettingsField::PomodoroMinutes, kResetPomodoro};
  }
  if (!parseMinutes(v.breakMinutes, minutes) || minutes > kMaxBreakMinutes) {
    showWarning(app, Txt::SettingsBreakRange, Txt::CaptionValueOutOfRange);
    return {SettingsField::BreakMinutes, kResetBreak};
  }
  const DataFolderProblem problem = checkNewDataFolder(app, app.settings.userDataDir, v.dataFolder);
  if (problem != DataFolderProblem::None) {
    logLine(u"Data folder refused: %s", v.dataFolder);
    showWarning(app, dataFolderProblemText(problem), Txt::CaptionVersion);
    return {SettingsField::DataFolder, 0};
  }
  return {};
}

Settings settingsFromDialog(const Settings& before, const SettingsDialogValues& v) {
  Settings s = before;
  int minutes = 0;
  if (parseMinutes(v.pomodoroMinutes, minutes)) s.pomtimerminutes = minutes;
  if (parseMinutes(v.breakMinutes, minutes)) s.breaktimerminutes = minutes;
  s.bPlayAlarm = v.ring;
  s.playticking = v.tick;
  if (v.timerType >= 0 && v.timerType < kTimerTypes) s.timerType = v.timerType;
  if (!v.skin.empty()) s.skin = cutToCapacity(v.skin, kSkinNameCapacity);
  s.displayProjectNames = v.displayProjectNames;
  if (!v.font.empty()) s.font = cutToCapacity(v.font, kFontNameCapacity);
  // Three characters at most, as the field is read; a size that is no number stays as it was.
  if (const int size = looseToInt(u16v(v.fontSize).substr(0, std::min<std::size_t>(v.fontSize.size(), 3)));
      size > 0)
    s.fontsize = size;
  s.Vert_ScrollBar = 1;
  s.bMinimizeToTray = v.minimizeToTray;
  if (!v.language.empty()) s.language = cutToCapacity(v.language, kLanguageCapacity);
  // The folder as it was stays byte for byte: a different spelling would look like a move.
  if (v.dataFolder != before.userDataDir) s.userDataDir = cutToCapacity(cleanFolderText(v.dataFolder), kSettingsPathCapacity);
  return s;
}

bool sameDataFolder(u16v a, u16v b) { return normalisedFolder(a) == normalisedFolder(b); }

DataFolderProblem checkNewDataFolder(const App& app, u16v oldDir, u16v newDir) {
  if (newDir == oldDir) return DataFolderProblem::None;
  const u16 folder = cleanFolderText(newDir);
  if (folder.empty()) return DataFolderProblem::Empty;
  if (hasBadFolderCharacter(folder)) return DataFolderProblem::BadCharacter;
  if (!isFullFolderPath(folder)) return DataFolderProblem::Relative;
  // Copied onto itself, every file would be opened for writing while it is the source.
  if (sameDataFolder(folder, oldDir)) return DataFolderProblem::SameFolder;
  // Copied into itself, the tree would grow while it is walked.
  if (isInsideFolder(folder, oldDir)) return DataFolderProblem::InsideDataFolder;
  if (longestDataPath(app, folder) > kMaxDataPathUnits) return DataFolderProblem::PathTooLong;
  return DataFolderProblem::None;
}

Txt dataFolderProblemText(DataFolderProblem p) {
  switch (p) {
    case DataFolderProblem::Empty: return Txt::DataFolderEmpty;
    case DataFolderProblem::Relative: return Txt::DataFolderRelative;
    case DataFolderProblem::SameFolder: return Txt::DataFolderSame;
    case DataFolderProblem::InsideDataFolder: return Txt::DataFolderInside;
    case DataFolderProblem::PathTooLong: return Txt::DataFolderTooLong;
    case DataFolderProblem::BadCharacter: return Txt::DataFolderBadCharacter;
    case DataFolderProblem::None: break;
  }
  // No problem has no text of its own; callers only ask when there is one.
  return Txt::CaptionVersion;
}

bool copyFolderContents(u16v source, u16v destination) {
  logPiece(u"Copying:");
  logLine(u"%s", source);
  logPiece(u"To:");
  logLine(u"%s", destination);
  // Made first: a single folder copied to a missing destination would become the
  // destination itself instead of going into it.
  if (!createFolderChain(destination)) {
    logLastError(u"SHFileOperation");
    return false;
  }
  const int r = shellCopy(source, destination);
  if (r != 0) {
    setLastErrorCode(static_cast<std::uint32_t>(r));
    logLastError(u"SHFileOperation");
    return false;
  }
  return true;
}

bool moveDataFolder(App& app, u16v oldDir, u16v newDir) {
  const u16 from(oldDir);
  const u16 to(newDir);
  logLine(u"Change Data Folder from:");
  logLine(u"%s", from);
  logLine(u"to:");
  logLine(u"%s", to);

  bool ok = true;
  if (to.empty() || sameDataFolder(from, to) || isInsideFolder(to, from)) {
    // The dialog refuses these already; a copy onto or into the source would damage it.
    logLine(u"The new data folder overlaps the old one: nothing copied");
    ok = false;
  } else if (pathKind(from) != PathKind::Directory) {
    logLastError(u"Change Data Folder");
    ok = false;
  }
  if (ok) {
    // Texts still in the editors and changes only in memory go to the old folder first, so
    // that the copy carries them.
    SaveAllSheets(app);
    ok = copyDataGroups(from, to) && writeMovedRegistry(app, from, to);
  }

  if (!ok) {
    logLine(u"Copy to new Userdata dir Failed!");
    showWarning(app, Txt::DataFolderCopyFailed, Txt::CaptionVersion);
    // Saved at once: a crash before the next save must not leave the settings naming a
    // folder that holds only part of the data.
    app.settings.userDataDir = from;
    SaveSettingsToFile(app.settings, app.prompts);
    return false;
  }

  logLine(u"Copy OK into new User-data dir");
  app.start.userDataDir = to;
  if (!setCurrentDirectory(to)) logLastError(u"SetCurrentDirectory");
  if (!app.sheetList.startBuilding(to)) logLine(u"Sheet list of %s not built", to);
  app.settings.last2dofilename = cutToCapacity(repointPath(app.settings.last2dofilename, from, to), kSettingsPathCapacity);
  for (TodolistEntry& e : app.todolists.entries) e.path = repointPath(e.path, from, to);
  app.settings.userDataDir = to;
  SaveSettingsToFile(app.settings, app.prompts);
  App::call(app.hooks.dataFolderMoved);
  return true;
}

bool settingsChangeTouchesLook(const Settings& before, const Settings& after) {
  return before.skin != after.skin || before.displayProjectNames != after.displayProjectNames ||
         before.font != after.font || before.fontsize != after.fontsize || before.language != after.language;
}

bool applyChangedSettings(App& app, const Settings& before) {
  if (app.settings == before) return false;
  const bool moving = !sameDataFolder(before.userDataDir, app.settings.userDataDir);
  // Until the data has arrived the file names the old folder: a run ended halfway through
  // the copy must start again where everything is.
  Settings toSave = app.settings;
  if (moving) toSave.userDataDir = before.userDataDir;
  SaveSettingsToFile(toSave, app.prompts);
  setSecondFontHeight(app.settings);
  // The move goes before the look is rebuilt: it takes the editors' texts into the model
  // and saves them while the editors still hold what the user typed.
  if (moving) {
    // The data is where the program works, which start-up may have set to the default
    // folder when the stored one could not be written.
    const u16 source = app.start.userDataDir.empty() ? before.userDataDir : app.start.userDataDir;
    moveDataFolder(app, source, app.settings.userDataDir);
  }
  if (settingsChangeTouchesLook(before, app.settings)) App::call(app.hooks.rebuildLook);
  return true;
}

}  // namespace tirelmo
