// Shared by the record-file tests: a fresh current folder with the process log open in
// it, and byte builders for hand-made file contents.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/log.h"
#include "support/fakes.h"

namespace tirelmo::test {

class LoggedDirTest : public ::testing::Test {
 protected:
  LoggedDirTest() { processLog().open(); }
  ~LoggedDirTest() override { processLog().closeOnFailedStart(); }

  std::string path(const std::string& name) const { return dir.native() + "/" + name; }

  // The log so far, one entry per line, without CR LF.
  std::vector<std::string> logLines() const {
    const std::string text = fromLe(readBytes(path("Tirelmo_v2.3.3_log.txt")));
    std::vector<std::string> lines;
    std::size_t pos = 0;
    for (std::size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
      lines.push_back(text.substr(pos, end - pos));
    return lines;
  }

  TempDir dir;
};

inline std::string u32le(std::uint32_t v) {
  return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                     static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
}

// A length-value record of `len` bytes: the length, then filler bytes counting up from
// `first` so a misplaced byte shows.
inline std::string lvRecord(std::uint32_t len, unsigned char first = 0) {
  std::string r = u32le(len);
  for (std::uint32_t i = 4; i < len; ++i) r.push_back(static_cast<char>(first + i));
  return r;
}

inline std::string bytes(std::initializer_list<unsigned char> list) {
  return std::string(list.begin(), list.end());
}

}  // namespace tirelmo::test
