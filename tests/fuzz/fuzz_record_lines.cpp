// Random file bytes through the text reader and everything a loader does with a line:
// CFile::gets, decodeRecordLine, csvGetNthToken, bStoi, and csvQuote back again. The same
// bytes, taken as texts, are then saved as record lines and must read back as they were.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input_file.h"
#include "storage/cfile.h"
#include "storage/csv.h"
#include "storage/file_ops.h"
#include "storage/record_file.h"
#include "storage/scrambler.h"
#include "text/format.h"

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

// Aligned CR LF pairs in a row as its record line stores it: each one splits the line.
std::size_t scrambledLineEnds(const u16& row) {
  std::string bytes;
  appendUtf16Le(bytes, row);
  scrambleBytes(bytes.data(), bytes.data(), bytes.size());
  std::size_t count = 0;
  for (std::size_t i = 0; i + 3 < bytes.size(); i += 2)
    if (bytes[i] == 0x0D && bytes[i + 1] == 0 && bytes[i + 2] == 0x0A && bytes[i + 3] == 0) ++count;
  return count;
}

// Rows of the project layout (a number, the quoted text, a number after it) holding texts
// cut from the input: each begins with a length byte, then that many units.
std::vector<u16> rowsFrom(const std::uint8_t* data, std::size_t size) {
  std::vector<u16> rows;
  std::size_t pos = 0;
  while (pos < size && rows.size() < 16) {
    const std::size_t len = data[pos++] % 128;
    u16 text;
    for (; text.size() < len && pos + 1 < size; pos += 2) text.push_back(unitAt(data + pos, 0));
    u16 quoted;
    csvQuote(text, text.size(), quoted);
    rows.push_back(fmt(u"\"%d\",%s,\"%d\"", rows.size(), quoted, text.size()));
  }
  return rows;
}

// What writeRecordLine saved, readRecordFile hands back: every row whose scrambled form the
// reader can join again (at most kMaxRecordJoins splits) comes back unchanged and in order.
void checkRoundTrip(const std::uint8_t* data, std::size_t size, const u16& inputPath) {
  const std::vector<u16> rows = rowsFrom(data, size);
  const u16 saved = inputPath + u".p01";
  {
    AtomicFileWriter file(saved);
    require(file.isOpen() && writeRecordLine(file, u"\"ID\",\"Text\",\"Length\""), "header not written");
    for (const u16& row : rows) require(writeRecordLine(file, row), "row not written");
    require(file.commit(), "record file not saved");
  }
  std::vector<u16> back;
  const std::uint32_t read = readRecordFile(saved, true, u"fuzz", [&](u16& line) {
    u16 scratch;
    std::int32_t value = 0;
    if (bStoi(0, line, scratch, value) != 0 || csvGetNthToken(1, line, scratch) != 0 ||
        bStoi(2, line, scratch, value) != 0)
      return LineVerdict::Unparsed;
    back.push_back(line.substr(0, line.size() - 1));
    return LineVerdict::Accept;
  });
  deleteFile(saved);

  std::size_t lines = 1;
  bool oversplit = false;
  for (const u16& row : rows) {
    const std::size_t splits = scrambledLineEnds(row);
    lines += splits + 1;
    oversplit = oversplit || splits > static_cast<std::size_t>(kMaxRecordJoins);
  }
  require(read == lines, "lines read");
  if (!oversplit) {
    require(back == rows, "saved rows read back differently");
    return;
  }
  // A row split more often is lost; the others still come back in order.
  std::size_t next = 0;
  for (const u16& row : rows) {
    if (scrambledLineEnds(row) > static_cast<std::size_t>(kMaxRecordJoins)) continue;
    while (next < back.size() && back[next] != row) ++next;
    require(next < back.size(), "a row next to one split too often was lost");
    ++next;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const u16& input = inputFile().write(data, size);
  CFile file(input, kCFileTextLines);
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

  checkRoundTrip(data, size, input);
  return 0;
}
