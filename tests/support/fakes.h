// Test doubles for the core's ports.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "text/ustring.h"

namespace tirelmo::test {

// A clock that says what the test sets.
class FakeClock : public Clock {
 public:
  LocalTime time{2021, 3, 5, 5, 9, 30, 0, 0};  // Friday 5 March 2021, 09:30
  LocalTime now() const override { return time; }
  void set(int year, int month, int day, int hour, int minute, int second = 0);
};

// Prompts answered from a script; every shown text and caption is recorded.
class ScriptedPrompts : public Prompts {
 public:
  struct Shown {
    u16 text;
    u16 caption;
    MsgButtons buttons;
    MsgIcon icon;
  };
  std::deque<MsgAnswer> answers;  // used in order; when empty, the first button's answer
  std::vector<Shown> shown;
  MsgAnswer show(u16v text, u16v caption, MsgButtons buttons, MsgIcon icon) override;
};

// A machine with fixed facts. The application-data folder is a real folder of the test.
class FakeSystem : public SystemInfo {
 public:
  u16 exePath = u"C:\\Program Files\\Tirelmo\\bin\\Tirelmo.exe";
  u16 appData;  // empty: no application-data folder
  bool computerNameOk = true;
  bool userNameOk = true;
  bool osOk = true;
  int width = 1920;
  int height = 1080;
  u16 executablePath() override { return exePath; }
  bool appDataFolder(u16& folder) override;
  bool computerName(u16& name) override;
  bool userName(u16& name) override;
  std::optional<OsVersion> osVersion() override;
  std::uint16_t uiLanguageId() override { return 0x0409; }
  std::uint16_t keyboardLayoutId() override { return 0x0409; }
  u16 languageName() override { return u"English"; }
  int screenWidth() override { return width; }
  int screenHeight() override { return height; }
  u16 ansiToUtf16(std::string_view bytes) override;  // Windows-1252 subset: Latin-1
  std::string utf16ToAnsi(u16v text) override;       // Latin-1, '?' for anything else
};

// A shell that opens nothing and records every request, in order.
class RecordingShell : public Shell {
 public:
  struct Call {
    std::string what;  // "openUrl", "openFile", "exploreFolder", "runAtStartupOn", "runAtStartupOff"
    u16 target;        // the address, path, folder or executable
  };
  std::vector<Call> calls;
  bool succeed = true;  // what every request answers
  bool openUrl(u16v url) override { return record("openUrl", url); }
  bool openFile(u16v path) override { return record("openFile", path); }
  bool exploreFolder(u16v folder) override { return record("exploreFolder", folder); }
  bool setRunAtStartup(bool on, u16v exePath) override {
    if (succeed) startupEntry = on ? u16(exePath) : u16();
    return record(on ? "runAtStartupOn" : "runAtStartupOff", exePath);
  }
  bool runsAtStartup(u16v exePath) override { return !startupEntry.empty() && startupEntry == exePath; }
  u16 startupEntry;  // the executable the start-up entry names; empty: no entry
  // The clipboard: its text, whether it holds text, and whether it can be opened.
  bool setClipboardText(u16v text) override {
    if (!clipboardOpens) return false;
    clipboard = u16(text);
    clipboardHasText = true;
    return true;
  }
  bool clipboardText(u16& text) override {
    if (!clipboardOpens || !clipboardHasText) return false;
    text = clipboard;
    return true;
  }
  u16 clipboard;
  bool clipboardHasText = false;
  bool clipboardOpens = true;

 private:
  bool record(const char* what, u16v target) {
    calls.push_back({what, u16(target)});
    return succeed;
  }
};

// A fresh temporary folder, made the current directory for the test's lifetime; the
// previous current directory comes back and the folder is removed at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // Folder path in the program's form (backslashes are fine: the adapter maps them).
  const u16& path() const { return path_; }
  std::string native() const;  // the same path for the test's own std file access
 private:
  u16 path_;
  std::string previous_;
};

// Reads and writes whole files for assertions, bypassing the code under test.
std::string readBytes(const std::string& nativePath);
void writeBytes(const std::string& nativePath, const std::string& bytes);
bool fileExists(const std::string& nativePath);
// UTF-16LE bytes of a UTF-8 text, and back.
std::string le(std::string_view utf8);
std::string fromLe(const std::string& bytes);

}  // namespace tirelmo::test
