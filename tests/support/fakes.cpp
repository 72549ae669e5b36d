#include "support/fakes.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/file.h"

namespace tirelmo::test {

void FakeClock::set(int year, int month, int day, int hour, int minute, int second) {
  time.year = year;
  time.month = month;
  time.day = day;
  time.hour = hour;
  time.minute = minute;
  time.second = second;
  // Day of week by Sakamoto's method, so date-bound code sees a consistent calendar.
  static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int y = year - (month < 3 ? 1 : 0);
  time.dayOfWeek = (y + y / 4 - y / 100 + y / 400 + t[month - 1] + day) % 7;
}

MsgAnswer ScriptedPrompts::show(u16v text, u16v caption, MsgButtons buttons, MsgIcon icon) {
  shown.push_back({u16(text), u16(caption), buttons, icon});
  if (!answers.empty()) {
    MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return MsgAnswer::Yes;
    case MsgButtons::AbortRetryIgnore: return MsgAnswer::Abort;
    case MsgButtons::RetryCancel: return MsgAnswer::Retry;
    default: return MsgAnswer::Ok;
  }
}

bool FakeSystem::appDataFolder(u16& folder) {
  if (appData.empty()) {
    setLastErrorCode(winerr::kPathNotFound);
    return false;
  }
  createDirectory(appData);
  folder = appData;
  return true;
}

bool FakeSystem::computerName(u16& name) {
  if (!computerNameOk) {
    setLastErrorCode(winerr::kAccessDenied);
    return false;
  }
  name = u"TESTHOST";
  return true;
}

bool FakeSystem::userName(u16& name) {
  if (!userNameOk) {
    setLastErrorCode(winerr::kAccessDenied);
    return false;
  }
  name = u"tester";
  return true;
}

std::optional<OsVersion> FakeSystem::osVersion() {
  if (!osOk) return std::nullopt;
  return OsVersion{2, 6, 2, 9200, u"Service Pack 0"};
}

u16 FakeSystem::ansiToUtf16(std::string_view bytes) { return widenLatin1(bytes); }

std::string FakeSystem::utf16ToAnsi(u16v text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    // A surrogate pair is one character, so it becomes one '?' as in a real code page.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
    out.push_back(c < 0x100 ? static_cast<char>(c) : '?');
  }
  return out;
}

TempDir::TempDir() {
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd)) previous_ = cwd;
  std::string tmpl = (std::filesystem::temp_directory_path() / "tirelmo-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = utf8ToUtf16(tmpl);
  if (chdir(tmpl.c_str()) != 0) throw std::runtime_error("chdir failed");
}

TempDir::~TempDir() {
  if (!previous_.empty() && chdir(previous_.c_str()) != 0) {
  }
  std::error_code ec;
  std::filesystem::remove_all(native(), ec);
}

std::string TempDir::native() const { return utf16ToUtf8(path_); }

std::string readBytes(const std::string& nativePath) {
  std::ifstream f(nativePath, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void writeBytes(const std::string& nativePath, const std::string& bytes) {
  std::ofstream f(nativePath, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool fileExists(const std::string& nativePath) { return std::filesystem::exists(nativePath); }

std::string le(std::string_view utf8) {
  std::string out;
  for (char16_t c : utf8ToUtf16(utf8)) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

std::string fromLe(const std::string& bytes) {
  u16 s;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    s.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  return utf16ToUtf8(s);
}

}  // namespace tirelmo::test
