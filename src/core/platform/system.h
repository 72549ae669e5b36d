// The system port: facts about the machine and the process that start-up reads and logs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/ustring.h"

namespace tirelmo {

struct OsVersion {
  std::uint32_t platformId = 2;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  u16 servicePack;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // Full path of the running executable.
  virtual u16 executablePath() = 0;
  // The per-user application-data folder, created when missing; false when there is none
  // (lastErrorCode tells why).
  virtual bool appDataFolder(u16& folder) = 0;
  // False with the last platform error set when the name cannot be read.
  virtual bool computerName(u16& name) = 0;
  virtual bool userName(u16& name) = 0;
  virtual std::optional<OsVersion> osVersion() = 0;
  virtual std::uint16_t uiLanguageId() = 0;
  virtual std::uint16_t keyboardLayoutId() = 0;
  virtual u16 languageName() = 0;  // English name of the user's default language
  virtual int screenWidth() = 0;
  virtual int screenHeight() = 0;
  // Text in the system's 8-bit code page to UTF-16.
  virtual u16 ansiToUtf16(std::string_view bytes) = 0;
  // UTF-16 to the system's 8-bit code page; what the code page lacks becomes its default
  // character.
  virtual std::string utf16ToAnsi(u16v text) = 0;
};

}  // namespace tirelmo
