// Random file bytes through the text reader and everything a loader does with a line:
// CFile::gets, decodeRecordLine, csvGetNthToken, bStoi, and csvQuote back again.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_input_file.h"
#include "storage/cfile.h"
#include "storage/csv.h"
#include "storage/record_file.h"
#include "storage/scrambler.h"

using namespace tirelmo;
using fuzz::require;

namespace {

fuzz::InputFile& inputFile() {
  static fuzz::InputFile file;
  return file;
}

char16_t unitAt(const std::uint8_t* data, std::size_t j) {
  return static_cast<char16_t>(data[2 * j] | (data[2 * j + 1] << 8));
}

void checkFields(const u16& row) {
  u16 token, scratch;
  for (int n = -1; n < 8; ++n) {
    token = u"unchanged";
    if (csvGetNthToken(n, row, token) != 0) require(token == u"unchanged", "failed token changed");
    std::int32_t value = -7;
    const int r = bStoi(n, row, scratch, value);
    if (r == 0) {
      require(value >= 0, "negative number accepted");
      std::size_t lead = scratch.find_first_not_of(u'0');
      const u16 digits = lead == u16::npos ? u16(u"0") : scratch.substr(lead);
      require(digits == utf8ToUtf16(std::to_string(value)), "number misread");
    } else {
      require(r == -1, "bStoi result");
      require(value == -7 || value == -1, "bStoi value on failure");
    }
  }
  // Whatever text a line holds, quoting it and reading field 0 gives it back (up to a NUL,
  // where a stored text ends).
  u16 quoted, back;
  csvQuote(row, row.size(), quoted);
  require(csvGetNthToken(0, quoted, back) == 0, "quoted field unreadable");
  require(back == row.substr(0, row.find(char16_t(0))), "quoted field changed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CFile file(inputFile().write(data, size), kCFileTextLines);
  u16 line;
  std::size_t unit = 0;  // how far into the file the lines so far reach
  while (const std::uint32_t n = file.gets(line)) {
    require(n == line.size() && n >= 1, "length");
    require(line.back() == u'\r', "line ends in CR");
    require(line.find(u"\r\n") == u16::npos, "line holds a line end");
    // Lines are the file's units in order, each followed by the LF that was dropped.
    require(2 * (unit + n + 1) <= size, "line beyond the data");
    for (std::size_t j = 0; j < n; ++j) require(unitAt(data, unit + j) == line[j], "line differs from the file");
    require(unitAt(data, unit + n) == u'\n', "LF missing");
    unit += n + 1;

    const u16 raw = line;
    decodeRecordLine(line);
    require(line.size() == raw.size() && line.back() == u'\r', "decoding keeps length and CR");
    u16 again = line;
    scrambleBytes(again.data(), again.data(), 2 * (again.size() - 1));
    require(again == raw, "decoding is not the scrambler's inverse");
    checkFields(line);
  }
  require(line.empty(), "line after the end");
  return 0;
}
