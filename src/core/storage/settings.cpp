#include "storage/settings.h"

#include <string>
#include <string_view>

#include "base/log.h"
#include "platform/file.h"
#include "platform/prompts.h"
#include "platform/system.h"
#include "storage/file_ops.h"
#include "text/format.h"
#include "text/strings.h"

namespace tirelmo {

namespace {

enum class FieldKind { Integer, Boolean, ScrollBar, Text };

// How "tirelmo.ini" stored a text: names were UTF-8, paths came from the ANSI code page.
enum class LegacyText { NotInIni, Utf8, Ansi };

struct Field {
  const char16_t* key;
  FieldKind kind;
  std::int32_t Settings::*integer;
  bool Settings::*boolean;
  u16 Settings::*text;
  std::size_t capacity;
  bool inIni;
  LegacyText legacyText;
};

constexpr Field integerField(const char16_t* key, std::int32_t Settings::*m, bool inIni = true) {
  return {key, FieldKind::Integer, m, nullptr, nullptr, 0, inIni, LegacyText::NotInIni};
}
constexpr Field booleanField(const char16_t* key, bool Settings::*m, bool inIni = true) {
  return {key, FieldKind::Boolean, nullptr, m, nullptr, 0, inIni, LegacyText::NotInIni};
}
constexpr Field textField(const char16_t* key, u16 Settings::*m, std::size_t capacity,
                          LegacyText legacy = LegacyText::NotInIni) {
  return {key, FieldKind::Text, nullptr, nullptr, m, capacity, legacy != LegacyText::NotInIni, legacy};
}

// In the order of the lines of "tirelmo.i00"; the category lines follow them.
constexpr Field kFields[] = {
    integerField(u"breaktimerminutes", &Settings::breaktimerminutes),
    integerField(u"caretblink", &Settings::caretblink),
    {u"Vert_ScrollBar", FieldKind::ScrollBar, &Settings::Vert_ScrollBar, nullptr, nullptr, 0, true,
     LegacyText::NotInIni},
    textField(u"font", &Settings::font, kFontNameCapacity, LegacyText::Utf8),
    integerField(u"fontsize", &Settings::fontsize),
    booleanField(u"bPlayAlarm", &Settings::bPlayAlarm),
    booleanField(u"playticking", &Settings::playticking),
    integerField(u"pomtimerminutes", &Settings::pomtimerminutes),
    textField(u"skin", &Settings::skin, kSkinNameCapacity, LegacyText::Utf8),
    integerField(u"tmrwndx", &Settings::tmrwndx),
    integerField(u"tmrwndy", &Settings::tmrwndy),
    integerField(u"Wind_hth", &Settings::Wind_hth),
    integerField(u"Wind_wth", &Settings::Wind_wth),
    integerField(u"Wind_x", &Settings::Wind_x),
    integerField(u"Wind_y", &Settings::Wind_y),
    textField(u"last2dofilename", &Settings::last2dofilename, kSettingsPathCapacity, LegacyText::Ansi),
    integerField(u"sgcn230", &Settings::sgcn230),
    integerField(u"next_prj_ID", &Settings::next_prj_ID),
    integerField(u"Timer Type", &Settings::timerType, false),
    textField(u"wkdir", &Settings::wkdir, kSettingsPathCapacity, LegacyText::Ansi),
    booleanField(u"bMinimizeToTray", &Settings::bMinimizeToTray),
    textField(u"User Data dir", &Settings::userDataDir, kSettingsPathCapacity, LegacyText::Ansi),
    booleanField(u"Display Project Names", &Settings::displayProjectNames, false),
    booleanField(u"Cloud ena", &Settings::cloudEna, false),
    textField(u"Cloud Login", &Settings::cloudLogin, kCloudLoginCapacity),
    textField(u"Tdl saved on", &Settings::tdlSavedOn, kTdlSavedOnCapacity),
    textField(u"Language", &Settings::language, kLanguageCapacity),
};

const Field* findField(u16v key, bool fromIni) {
  for (const Field& f : kFields)
    if (key == f.key) return (fromIni && !f.inIni) ? nullptr : &f;
  return nullptr;
}

int findCategory(u16v key) {
  for (std::size_t i = 0; i < kCategoryCount; ++i)
    if (key == kCategoryKeys[i]) return static_cast<int>(i);
  return -1;
}

void applyNumber(Settings& s, const Field& f, std::int32_t v) {
  switch (f.kind) {
    case FieldKind::Integer: s.*f.integer = v; break;
    case FieldKind::Boolean: s.*f.boolean = v != 0; break;
    // The window is always built with its scroll bar, whatever an old file says.
    case FieldKind::ScrollBar: s.*f.integer = 1; break;
    case FieldKind::Text: break;
  }
}

void applyText(Settings& s, const Field& f, u16v value) {
  u16& target = s.*f.text;
  target = cutToCapacity(value, f.capacity);
  if (f.text == &Settings::font) {
    logLine(u"font= %s", target);
    setSecondFontHeight(s);
  } else if (f.text == &Settings::skin || f.text == &Settings::last2dofilename ||
             f.text == &Settings::wkdir || f.text == &Settings::userDataDir) {
    logLine(u"%s", target);
  }
}

void applyCategory(Settings& s, std::size_t index, u16v value) {
  // The list always holds 13 names after the defaults; a shorter one (filled by hand) grows
  // rather than being written past its end.
  if (s.categories.size() <= index) s.categories.resize(index + 1);
  s.categories[index] = cutToCapacity(value, kCategoryNameCapacity);
}

// Calls onLine for every line that ends in CR; the next line starts two units after the CR
// (the LF is taken for granted). Whatever follows the last CR is an unfinished line and is
// not looked at.
template <class Char, class OnLine>
void forEachLine(std::basic_string_view<Char> text, OnLine onLine) {
  // A NUL ends the text, as it ends the string in the read buffer.
  text = text.substr(0, text.find(Char(0)));
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t cr = text.find(Char('\r'), start);
    if (cr == std::basic_string_view<Char>::npos) break;
    onLine(text.substr(start, cr - start));
    start = cr + 2;
  }
}

// Splits a key=value line; false for comments, section headers and lines without "=".
template <class Char>
bool splitPair(std::basic_string_view<Char> line, std::basic_string_view<Char>& key,
               std::basic_string_view<Char>& value) {
  if (line.empty() || line[0] == Char('#') || line[0] == Char('[')) return false;
  const std::size_t eq = line.find(Char('='));
  if (eq == std::basic_string_view<Char>::npos) return false;
  key = line.substr(0, eq);
  value = line.substr(eq + 1);
  return true;
}

// Opens the settings file and reads at most maxBytes of it, logging as both loaders do.
// The file stays open (returned in handle) so that "closing ini file" follows the lines
// the pairs log, as in the rest of the log.
bool openAndRead(u16v path, u16v context, std::uint32_t maxBytes, FileHandle& handle,
                 std::string& bytes) {
  logLine(u"Opening ini file: %s", path);
  handle = fileOpen(path, OpenMode::ReadExisting);
  if (handle == kInvalidFile) {
    logLastError(context);
    logLine(u"%s - ini file not opened!", context);
    return false;
  }
  logLine(u"Read settings from ini  %s", path);
  bytes.assign(maxBytes, '\0');
  std::uint32_t total = 0;
  while (total < maxBytes) {
    std::uint32_t got = 0;
    if (!fileRead(handle, bytes.data() + total, maxBytes - total, got)) {
      logLastError(u"ReadFile");
      break;
    }
    if (got == 0) break;
    total += got;
  }
  // Only what was really read counts: a full buffer has no terminating NUL of its own.
  bytes.resize(total);
  return true;
}

void closeSettingsFile(FileHandle handle) {
  logLine(u"closing ini file");
  fileClose(handle);
}

// A value runs to the end of its line: a line break (or a NUL, which ends the text read)
// pasted into a name would cut the line short and let the rest be read as a key of its own.
// C0 and C1 controls and the Unicode line and paragraph separators have no place in a
// name or a path, so they are left out when the line is written.
u16 lineSafe(u16v value) {
  u16 r;
  r.reserve(value.size());
  for (const char16_t c : value) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029) continue;
    r.push_back(c);
  }
  return r;
}

void appendLine(std::string& out, u16v text) {
  appendUtf16Le(out, text);
  appendUtf16Le(out, u"\r\n");
}

}  // namespace

Language settingsLanguage(const Settings& s) { return languageFromSetting(s.language); }

int pomodoroLength(Settings& s) {
  std::int32_t& minutes = s.pomtimerminutes;
  if (minutes < kMinPomodoroMinutes || minutes > kMaxPomodoroMinutes) {
    logLine(u"Pomodoro length %d out of range, set to %d", minutes, kDefaultPomodoroMinutes);
    minutes = kDefaultPomodoroMinutes;
  }
  return minutes;
}

std::int32_t secondFontHeightFor(u16v faceName) {
  if (faceName == u"Verdana" || faceName == u"Arial") return 16;
  if (faceName == u"Buxton Sketch") return 21;
  if (faceName == u"Microsoft YaHei" || faceName == u"Times New Roman" ||
      faceName == u"Bradley Hand ITC")
    return 20;
  if (faceName == u"PMingLiU") return 18;
  if (faceName == u"Segoe Print") return 24;
  if (faceName == u"Trebuchet MS") return 19;
  return 16;
}

void setSecondFontHeight(Settings& s) { s.secondFontHeight = secondFontHeightFor(s.font); }

void setDefaultSettings(Settings& s, u16v defaultUserDataDir) {
  s = Settings{};
  s.wkdir = cutToCapacity(defaultUserDataDir, kSettingsPathCapacity);
  s.userDataDir = s.wkdir;
  s.categories.clear();
  for (const char16_t* name : kDefaultCategoryNames) s.categories.emplace_back(name);
  setSecondFontHeight(s);
}

u16 settingsFilePath(const Settings& s) { return joinPath(s.wkdir, kSettingsFileName); }

bool LoadSettingsFromFile_i00(Settings& s) {
  const u16 path = settingsFilePath(s);
  FileHandle h = kInvalidFile;
  std::string bytes;
  if (!openAndRead(path, u"LoadSettingsFromFile_i00", kSettingsReadBytes, h, bytes)) return false;

  // An odd trailing byte is half a unit and is dropped, never completed with a zero.
  u16 text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));

  bool any = false;
  forEachLine<char16_t>(text, [&](u16v line) {
    u16v key, value;
    if (!splitPair(line, key, value)) return;
    any = true;
    if (const Field* f = findField(key, false)) {
      if (f->kind == FieldKind::Text)
        applyText(s, *f, value);
      else
        applyNumber(s, *f, looseToInt(value));
    } else if (const int cat = findCategory(key); cat >= 0) {
      applyCategory(s, static_cast<std::size_t>(cat), value);
    }
  });

  closeSettingsFile(h);
  return any;
}

bool LoadSettingsFromFile(Settings& s, SystemInfo& system) {
  const u16 path = joinPath(s.wkdir, kLegacySettingsFileName);
  FileHandle h = kInvalidFile;
  std::string bytes;
  if (!openAndRead(path, u"LoadSettingsFromFile", kLegacySettingsReadBytes, h, bytes)) return false;

  bool any = false;
  forEachLine<char>(bytes, [&](std::string_view line) {
    std::string_view key, value;
    if (!splitPair(line, key, value)) return;
    any = true;
    const u16 wideKey = widenLatin1(key);
    if (const Field* f = findField(wideKey, true)) {
      if (f->kind != FieldKind::Text)
        applyNumber(s, *f, looseToInt(value));
      else if (f->legacyText == LegacyText::Ansi)
        applyText(s, *f, system.ansiToUtf16(value));
      else
        applyText(s, *f, utf8ToUtf16(value));
    } else if (const int cat = findCategory(wideKey); cat >= 0) {
      applyCategory(s, static_cast<std::size_t>(cat), utf8ToUtf16(value));
    }
  });

  closeSettingsFile(h);
  return any;
}

bool adjustSettings(Settings& s, SystemInfo& system) {
  // Unsigned on purpose: a window pushed past the left or top edge has a negative position,
  // which must count as off the screen too.
  const auto u = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
  const std::uint32_t width = u(system.screenWidth());
  const std::uint32_t height = u(system.screenHeight());
  bool save = false;

  if (u(s.Wind_x) > width) {
    s.Wind_x = 0;
    save = true;
  }
  if (u(s.Wind_y) > height) {
    s.Wind_y = 0;
    save = true;
  }
  // Too narrow a window is widened for this run only; the stored width stays as it was.
  if (u(s.Wind_wth) <= 640u) s.Wind_wth = 1005;
  if (u(s.Wind_hth) > 1100u) {
    s.Wind_hth = 1100;
    save = true;
  }
  if (u(s.tmrwndx) > width) {
    s.tmrwndx = 0;
    save = true;
  }
  if (u(s.tmrwndy) > height) {
    s.tmrwndy = 0;
    save = true;
  }
  if (s.wkdir.empty()) {
    // The settings must go back where the next start looks for them: the default
    // user-data folder, not the bare application-data folder above it.
    u16 appData;
    if (system.appDataFolder(appData)) {
      s.wkdir = cutToCapacity(joinPath(appData, u"Tirelmo"), kSettingsPathCapacity);
      createDirectory(s.wkdir);
    }
    save = true;
  }
  if (s.userDataDir.empty()) {
    s.userDataDir = s.wkdir;
    save = true;
  }
  if (s.font.empty()) {
    s.font = kDefaultFontName;
    s.fontsize = 19;
    setSecondFontHeight(s);
    save = true;
  }
  if (s.skin.empty()) {
    s.skin = kDefaultSkinName;
    save = true;
  }
  if (s.language.empty()) {
    s.language = kDefaultLanguage;
    logLine(u"Set default language to %s", s.language);
  }
  // The writer's temporary file is never the last sheet; the sheet it was to replace is.
  while (endsWithNoCase(s.last2dofilename, u".tmp")) {
    s.last2dofilename.resize(s.last2dofilename.size() - 4);
    logLine(u"last2dofilename named a temporary file, now %s", s.last2dofilename);
    save = true;
  }
  if (!s.categories.empty() && s.categories[0].empty()) {
    logLine(u"Cat #0 empty, set to '--'");
    s.categories[0] = kDefaultCategoryNames[0];
  }
  if (save) logLine(u"Adjusted Settings, need to save");
  return save;
}

bool SaveSettingsToFile(const Settings& s, Prompts& prompts) {
  const u16 path = settingsFilePath(s);
  logLine(u"Saving settings %s", path);

  const auto fail = [&] {
    prompts.show(text(Txt::ErrSettingsNotSaved, settingsLanguage(s)),
                 text(Txt::CaptionError, Language::English), MsgButtons::Ok, MsgIcon::Warning);
    return false;
  };

  // The new file is built beside the old one and swapped in only when complete, so a full
  // disk or a crash halfway never leaves a truncated settings file behind.
  AtomicFileWriter out(path);
  if (!out.isOpen()) {
    logLastError(u"SaveSettingsToFile");
    return fail();
  }

  const auto writeLine = [&](u16v line) {
    std::string bytes;
    appendLine(bytes, line);
    out.write(bytes);
  };

  writeLine(u"#################################################");
  writeLine(u"#             DO NOT CHANGE THIS FILE!!!");
  writeLine(u"#");
  writeLine(u"#  This file is generated automatically");
  writeLine(u"#################################################");

  for (const Field& f : kFields) {
    if (f.text == &Settings::last2dofilename) logLine(u"last2dofilename: %s", s.last2dofilename);
    if (f.text == &Settings::wkdir) logLine(u"Def userdata dir: %s", s.wkdir);
    if (f.text == &Settings::userDataDir) logLine(u"userdata dir: %s", s.userDataDir);
    switch (f.kind) {
      case FieldKind::Integer:
      case FieldKind::ScrollBar: writeLine(fmt(u"%s=%d", f.key, s.*f.integer)); break;
      case FieldKind::Boolean: writeLine(fmt(u"%s=%d", f.key, (s.*f.boolean) ? 1 : 0)); break;
      // Cut like the loader does, so the file never holds what the next load would cut.
      case FieldKind::Text:
        writeLine(fmt(u"%s=%s", f.key, cutToCapacity(lineSafe(s.*f.text), f.capacity)));
        break;
    }
  }

  if (!s.categories.empty()) {
    for (std::size_t i = 0; i < kCategoryCount; ++i) {
      const u16 name = i < s.categories.size() ? cutToCapacity(lineSafe(s.categories[i]), kCategoryNameCapacity)
                                               : u16();
      writeLine(fmt(u"%s=%s", kCategoryKeys[i], name));
    }
  }

  if (!out.commit()) return fail();
  logLine(u"ini file saved ok");
  return true;
}

void LoadSettings(Settings& s, u16v defaultUserDataDir, SystemInfo& system, Prompts& prompts) {
  setDefaultSettings(s, defaultUserDataDir);

  const u16 i00 = settingsFilePath(s);
  const u16 ini = joinPath(s.wkdir, kLegacySettingsFileName);

  if (pathKind(i00) == PathKind::File) {
    if (LoadSettingsFromFile_i00(s)) {
      if (adjustSettings(s, system)) SaveSettingsToFile(s, prompts);
    } else {
      logLine(u"LoadSettings - no i00 file, save default vals.");
      SaveSettingsToFile(s, prompts);
      if (adjustSettings(s, system)) SaveSettingsToFile(s, prompts);
    }
  } else if (pathKind(ini) != PathKind::Missing) {
    if (LoadSettingsFromFile(s, system)) {
      if (adjustSettings(s, system)) SaveSettingsToFile(s, prompts);
    } else {
      logLine(u"LoadSettings - no ini file, rd from Reg");
      SaveSettingsToFile(s, prompts);
      if (adjustSettings(s, system)) SaveSettingsToFile(s, prompts);
    }
  } else {
    adjustSettings(s, system);
    SaveSettingsToFile(s, prompts);
  }
}

}  // namespace tirelmo
