// Shared by the sheet file and day start tests: an App in a fresh user-data folder with the
// log open, a cloud double, and byte builders that follow the documented layouts on their
// own (the scrambler included), so the code under test is never checked against itself.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "base/log.h"
#include "support/fakes.h"
#include "web/cloud_sync.h"

namespace tirelmo::test {

// ---- Bytes ------------------------------------------------------------------------------

inline void put32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void put16(std::string& s, std::size_t at, std::uint16_t v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>(v >> 8);
}
inline std::uint32_t get32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
  return v;
}

// The data-file scrambler as the format describes it: key "marbella", carry 1 at the start,
// t = (key ^ in) + carry, out = t rotated left by 3, carry = out & 3.
inline std::string scrambled(const std::string& in) {
  static const char key[] = "marbella";
  std::string out(in.size(), '\0');
  unsigned carry = 1;
  for (std::size_t i = 0; i < in.size(); ++i) {
    const unsigned t = ((static_cast<unsigned char>(key[i % 8]) ^ static_cast<unsigned char>(in[i])) + carry) & 0xFF;
    const unsigned o = ((t << 3) | (t >> 5)) & 0xFF;
    out[i] = static_cast<char>(o);
    carry = o & 3;
  }
  return out;
}

inline std::string header(std::uint8_t version = 1) {
  std::string h(40, '\0');
  put32(h, 0, 40);
  h[4] = static_cast<char>(version);
  return h;
}

// One .pm6 row record, every field at its documented offset.
struct Rec {
  int index = 0;
  std::uint8_t pomodoros = 0, abandoned = 0, internal = 0, external = 0, estimated = 0;
  std::uint8_t flags = 0;  // bit 0 done, bit 1 repeat, bit 2 deadline
  std::uint8_t pastPomodoros = 0, pastAbandoned = 0, pastInternal = 0, pastExternal = 0;
  std::uint8_t age = 0, category = 0;
  std::int32_t minutesToday = 0, pastMinutes = 0, projectId = 0;
  std::int32_t reserved1 = 0, reserved2 = 0, reserved3 = 0;
  std::uint8_t deadlineYear = 0, deadlineMonth = 0, deadlineDay = 0;
  std::uint16_t reserved4 = 0;
  std::string text;  // UTF-8, turned into UTF-16LE units
};

inline std::string record(const Rec& r) {
  const std::string units = le(r.text);
  const std::size_t len = 68 + units.size();
  std::string s(len, '\0');
  put32(s, 0, static_cast<std::uint32_t>(len));
  s[4] = static_cast<char>(r.index);
  s[5] = static_cast<char>(r.pomodoros);
  s[6] = static_cast<char>(r.abandoned);
  s[7] = static_cast<char>(r.internal);
  s[8] = static_cast<char>(r.external);
  s[9] = static_cast<char>(r.estimated);
  s[10] = static_cast<char>(r.flags);
  s[11] = static_cast<char>(r.pastPomodoros);
  s[12] = static_cast<char>(r.pastAbandoned);
  s[13] = static_cast<char>(r.pastInternal);
  s[14] = static_cast<char>(r.pastExternal);
  s[15] = static_cast<char>(r.age);
  s[16] = static_cast<char>(r.category);
  put32(s, 20, static_cast<std::uint32_t>(r.minutesToday));
  put32(s, 24, static_cast<std::uint32_t>(r.pastMinutes));
  put32(s, 28, static_cast<std::uint32_t>(r.projectId));
  put32(s, 32, static_cast<std::uint32_t>(r.reserved1));
  put32(s, 36, static_cast<std::uint32_t>(r.reserved2));
  put32(s, 40, static_cast<std::uint32_t>(r.reserved3));
  s[44] = static_cast<char>(r.deadlineYear);
  s[45] = static_cast<char>(r.deadlineMonth);
  s[46] = static_cast<char>(r.deadlineDay);
  put16(s, 48, r.reserved4);
  const std::string text = scrambled(units);
  s.replace(66, text.size(), text);
  return s;
}

// A record of an arbitrary claimed length (bad-length cases): the length field, then zeros.
inline std::string rawRecord(std::uint32_t len, std::size_t realBytes) {
  std::string s(realBytes, '\0');
  if (realBytes >= 4) put32(s, 0, len);
  return s;
}

inline std::string nativePath(u16v p) {
  std::string s = utf16ToUtf8(p);
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

// ---- Cloud double -----------------------------------------------------------------------

class FakeCloud : public CloudSheetSync {
 public:
  bool isAvailable = true;
  std::vector<int> downloadResults;  // one per call; 0 when used up
  bool newer = false;
  std::vector<TodoRow> cloudRows;    // put into the sheet by a successful download
  int uploadResult = 0;
  std::vector<int> uploadedRows;
  std::vector<u16> uploadedTexts;
  int downloads = 0;
  int listDownloads = 0;

  bool available() const override { return isAvailable; }
  int WebDownloadTodoList(App& app) override {
    const int r = downloads < static_cast<int>(downloadResults.size()) ? downloadResults[downloads] : 0;
    ++downloads;
    if (r == 0)
      for (std::size_t i = 0; i < cloudRows.size() && i < app.sheet.rows.size(); ++i) app.sheet.rows[i] = cloudRows[i];
    return r;
  }
  bool CloudTdlIsMoreRecent(App&) override { return newer; }
  void downloadDoneAndWorkedLists(App&) override { ++listDownloads; }
  int uploadRow(App& app, int row) override {
    uploadedRows.push_back(row);
    uploadedTexts.push_back(app.sheet.rows[static_cast<std::size_t>(row)].text);
    return uploadResult;
  }
};

// ---- Fixture ----------------------------------------------------------------------------

class SheetTest : public ::testing::Test {
 protected:
  SheetTest() : app(clock, prompts, system) {
    std::filesystem::create_directories(dir.native() + "/DailyTask");
    std::filesystem::create_directories(dir.native() + "/stats");
    processLog().open();
    startRunOn(2021, 3, 5);
    app.start.userDataDir = dir.path();
    app.start.defaultUserDataDir = dir.path();
  }
  ~SheetTest() override { processLog().closeOnFailedStart(); }

  // The run started on this day (and the clock reads it).
  void startRunOn(int y, int m, int d, int hour = 9) {
    clock.set(y, m, d, hour, 30);
    app.start.startTime = clock.now();
    app.start.today = DayDate::from(app.start.startTime);
    app.start.displayedSheetDate = app.start.today;
  }

  // The sheet's file in the month folder, in the program's and in the test's form.
  u16 sheetPath(int y, int m, const std::string& name) const {
    return dir.path() + u"\\DailyTask\\" + utf8ToUtf16(std::to_string(y)) + u"\\" +
           utf8ToUtf16(std::to_string(m)) + u"\\" + utf8ToUtf16(name);
  }
  std::string nativeSheet(int y, int m, const std::string& name) const { return nativePath(sheetPath(y, m, name)); }
  void writeSheet(int y, int m, const std::string& name, const std::string& bytes) const {
    std::filesystem::create_directories(std::filesystem::path(nativeSheet(y, m, name)).parent_path());
    writeBytes(nativeSheet(y, m, name), bytes);
  }

  std::string logText() const { return fromLe(readBytes(dir.native() + "/Tirelmo_v2.3.3_log.txt")); }
  bool logHas(const std::string& line) const { return logText().find(line + "\r\n") != std::string::npos; }

  TodoRow& row(int i) { return app.sheet.rows[static_cast<std::size_t>(i)]; }

  TempDir dir;
  FakeClock clock;
  ScriptedPrompts prompts;
  FakeSystem system;
  App app;
};

}  // namespace tirelmo::test
