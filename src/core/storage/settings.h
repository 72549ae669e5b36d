// The settings record and its file "tirelmo.i00" (UTF-16LE key=value lines), with the
// older 8-bit "tirelmo.ini" still read when no "tirelmo.i00" exists.
//
// The record lives for the whole run; every part of the program reads it directly and
// saves it through SaveSettingsToFile after changing a value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "text/strings.h"
#include "text/ustring.h"

namespace tirelmo {

class Prompts;
class SystemInfo;

inline constexpr char16_t kSettingsFileName[] = u"tirelmo.i00";
inline constexpr char16_t kLegacySettingsFileName[] = u"tirelmo.ini";

// How much of each file is looked at; anything beyond is never read.
inline constexpr std::uint32_t kSettingsReadBytes = 41600;
inline constexpr std::uint32_t kLegacySettingsReadBytes = 20800;

// Capacities of the text settings in UTF-16 units, terminating NUL included: a value holds
// at most capacity - 1 units and a longer one is cut.
inline constexpr std::size_t kFontNameCapacity = 32;
inline constexpr std::size_t kSkinNameCapacity = 32;
inline constexpr std::size_t kSettingsPathCapacity = 256;  // last2dofilename, wkdir, User Data dir
inline constexpr std::size_t kCloudLoginCapacity = 18;
inline constexpr std::size_t kTdlSavedOnCapacity = 64;
inline constexpr std::size_t kLanguageCapacity = 32;
inline constexpr std::size_t kCategoryNameCapacity = 128;

inline constexpr std::size_t kCategoryCount = 13;
// Settings keys of the categories, in category-number order (0 = no category).
inline constexpr std::array<const char16_t*, kCategoryCount> kCategoryKeys = {
    u"cat_NONE",   u"cat_RED",  u"cat_YELLOW",    u"cat_GREEN",  u"cat_CYAN",
    u"cat_PINK",   u"cat_BLUE", u"cat_ORANGE",    u"cat_DARKGREEN", u"cat_VIOLET",
    u"cat_GREY",   u"cat_BLACK", u"cat_FUCSIA"};
inline constexpr std::array<const char16_t*, kCategoryCount> kDefaultCategoryNames = {
    u"--",
    u"Bug Fixing",
    u"Testing",
    u"Development",
    u"Learning",
    u"Finance",
    u"Customer Support",
    u"Fitness",
    u"Logistics",
    u"Design/White-boarding",
    u"House Chores",
    u"Networking/Get new Customers",
    u"Write Articles/Web Content"};

inline constexpr char16_t kDefaultFontName[] = u"Buxton Sketch";
inline constexpr char16_t kDefaultSkinName[] = u"cleanwhite";
inline constexpr char16_t kDefaultLanguage[] = u"English";

// One field per key of the settings file, named after the key.
struct Settings {
  std::int32_t breaktimerminutes = 5;
  std::int32_t caretblink = 1;
  std::int32_t Vert_ScrollBar = 1;
  u16 font = kDefaultFontName;
  std::int32_t fontsize = 26;
  bool bPlayAlarm = true;
  bool playticking = false;
  std::int32_t pomtimerminutes = 25;
  u16 skin = kDefaultSkinName;
  std::int32_t tmrwndx = 0;
  std::int32_t tmrwndy = 0;
  std::int32_t Wind_hth = 1100;
  std::int32_t Wind_wth = 1000;
  std::int32_t Wind_x = 60;
  std::int32_t Wind_y = 0;
  u16 last2dofilename;
  std::int32_t sgcn230 = 0;  // the use count
  std::int32_t next_prj_ID = 1;
  std::int32_t timerType = 0;  // "Timer Type": 0 Classic, 1 Grey, 2 Light Grey, 3 Yellow, 4 Blue
  u16 wkdir;                   // folder of the settings file
  bool bMinimizeToTray = false;
  u16 userDataDir;  // "User Data dir"
  bool displayProjectNames = false;
  bool cloudEna = false;
  u16 cloudLogin;
  u16 tdlSavedOn;
  u16 language;  // empty until loading settles it
  std::vector<u16> categories;

  // Not stored: the height of the second page font, which follows the face name.
  std::int32_t secondFontHeight = 21;

  bool operator==(const Settings&) const = default;
};

Language settingsLanguage(const Settings& s);

// The pomodoro length, as the timer and the scores both take it. The timer shows it in two
// digits and must count down to 0, so a length outside 1..99 (only a hand-edited settings
// file holds one) is logged and set back to the default of 25, also in the record, so that
// every later reader and the next save agree.
inline constexpr std::int32_t kMinPomodoroMinutes = 1;
inline constexpr std::int32_t kMaxPomodoroMinutes = 99;
inline constexpr std::int32_t kDefaultPomodoroMinutes = 25;
int pomodoroLength(Settings& s);

// The second font height that goes with a face name.
std::int32_t secondFontHeightFor(u16v faceName);
void setSecondFontHeight(Settings& s);

// Every setting back to its default; wkdir and User Data dir become the default user-data
// folder and the category list holds the 13 default names.
void setDefaultSettings(Settings& s, u16v defaultUserDataDir);

// "<wkdir>\tirelmo.i00".
u16 settingsFilePath(const Settings& s);

// Fills the record at start-up (and at the day restart): defaults, then "tirelmo.i00" or
// "tirelmo.ini", then the plausibility adjustments, saving where needed.
void LoadSettings(Settings& s, u16v defaultUserDataDir, SystemInfo& system, Prompts& prompts);

// Each reads its file from the wkdir folder into the record and returns true when at least
// one key=value line was applied.
bool LoadSettingsFromFile_i00(Settings& s);
bool LoadSettingsFromFile(Settings& s, SystemInfo& system);

// Resets implausible values (windows off the screen, empty names); true when the result
// should be saved.
bool adjustSettings(Settings& s, SystemInfo& system);

// Writes "tirelmo.i00" anew. On failure the previous file stays as it was, the user is told,
// and false comes back; the record keeps its values either way.
bool SaveSettingsToFile(const Settings& s, Prompts& prompts);

}  // namespace tirelmo
