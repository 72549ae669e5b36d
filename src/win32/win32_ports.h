// The Windows adapters of the clock, prompt and system ports.
#pragma once

#include <windows.h>

#include "platform/clock.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/system.h"

namespace tirelmo {

class Win32Clock : public Clock {
 public:
  LocalTime now() const override;
};

class Win32Prompts : public Prompts {
 public:
  // Message boxes belong to this window once it exists, so they stay in front of it.
  HWND owner = nullptr;
  MsgAnswer show(u16v text, u16v caption, MsgButtons buttons, MsgIcon icon) override;
};

class Win32System : public SystemInfo {
 public:
  u16 executablePath() override;
  bool appDataFolder(u16& folder) override;
  bool computerName(u16& name) override;
  bool userName(u16& name) override;
  std::optional<OsVersion> osVersion() override;
  std::uint16_t uiLanguageId() override;
  std::uint16_t keyboardLayoutId() override;
  u16 languageName() override;
  int screenWidth() override;
  int screenHeight() override;
  u16 ansiToUtf16(std::string_view bytes) override;
  std::string utf16ToAnsi(u16v text) override;
};

// ShellExecuteW for pages and folders; the current user's Run key for the start-up entry
// (the 64-bit view on 64-bit Windows, where the logon sequence reads it).
class Win32Shell : public Shell {
 public:
  bool openUrl(u16v url) override;
  bool openFile(u16v path) override;
  bool exploreFolder(u16v folder) override;
  bool setRunAtStartup(bool on, u16v exePath) override;
  bool runsAtStartup(u16v exePath) override;
  bool setClipboardText(u16v text) override;
  bool clipboardText(u16& text) override;
};

}  // namespace tirelmo
