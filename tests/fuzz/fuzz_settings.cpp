// Random bytes as "tirelmo.i00" and as the legacy "tirelmo.ini": whatever the file holds,
// the loaded values stay within their capacities and the adjustment leaves a usable record.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "fuzz_input_file.h"
#include "platform/system.h"
#include "storage/settings.h"

using namespace tirelmo;
using fuzz::require;

namespace {

class FuzzSystem : public SystemInfo {
 public:
  u16 executablePath() override { return u"C:\\Tirelmo\\bin\\Tirelmo.exe"; }
  bool appDataFolder(u16& folder) override {
    folder = u"/tmp";
    return true;
  }
  bool computerName(u16& n) override { return !(n = u"H").empty(); }
  bool userName(u16& n) override { return !(n = u"U").empty(); }
  std::optional<OsVersion> osVersion() override { return std::nullopt; }
  std::uint16_t uiLanguageId() override { return 0; }
  std::uint16_t keyboardLayoutId() override { return 0; }
  u16 languageName() override { return u"English"; }
  int screenWidth() override { return 1280; }
  int screenHeight() override { return 1024; }
  u16 ansiToUtf16(std::string_view b) override { return widenLatin1(b); }
  std::string utf16ToAnsi(u16v t) override {
    std::string s;
    for (char16_t c : t) s.push_back(c < 256 ? static_cast<char>(c) : '?');
    return s;
  }
};

void checkCapacities(const Settings& s) {
  require(s.font.size() < kFontNameCapacity, "font too long");
  require(s.skin.size() < kSkinNameCapacity, "skin too long");
  require(s.last2dofilename.size() < kSettingsPathCapacity, "last2dofilename too long");
  require(s.wkdir.size() < kSettingsPathCapacity, "wkdir too long");
  require(s.userDataDir.size() < kSettingsPathCapacity, "User Data dir too long");
  require(s.cloudLogin.size() < kCloudLoginCapacity, "Cloud Login too long");
  require(s.tdlSavedOn.size() < kTdlSavedOnCapacity, "Tdl saved on too long");
  require(s.language.size() < kLanguageCapacity, "Language too long");
  require(s.categories.size() == kCategoryCount, "category count");
  for (const u16& c : s.categories) require(c.size() < kCategoryNameCapacity, "category too long");
  require(s.Vert_ScrollBar == 1, "scroll bar setting");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::InputFile file;
  static FuzzSystem system;
  const u16& path = file.write(data, size);
  const u16 folder = path.substr(0, path.rfind(u'/'));
  for (bool legacy : {false, true}) {
    Settings s;
    setDefaultSettings(s, folder);
    // The loaders look for their fixed names in wkdir; point both at the input.
    const u16 name = legacy ? kLegacySettingsFileName : kSettingsFileName;
    const u16 target = folder + u"/" + name;
    const std::string native = utf16ToUtf8(target);
    std::rename(utf16ToUtf8(path).c_str(), native.c_str());
    if (legacy) LoadSettingsFromFile(s, system);
    else LoadSettingsFromFile_i00(s);
    std::rename(native.c_str(), utf16ToUtf8(path).c_str());
    checkCapacities(s);
    adjustSettings(s, system);
    checkCapacities(s);
    // Whatever the file says, the timer and the scores get a length they can count down.
    const int length = pomodoroLength(s);
    require(length >= kMinPomodoroMinutes && length <= kMaxPomodoroMinutes, "pomodoro length out of range");
    require(pomodoroLength(s) == length, "pomodoro length read two ways");
    require(!s.wkdir.empty() && !s.userDataDir.empty() && !s.font.empty() && !s.skin.empty(), "adjusted blanks");
  }
  return 0;
}
