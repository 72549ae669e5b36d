#include "storage/record_file.h"

#include <bit>
#include <deque>
#include <limits>

#include "base/log.h"
#include "storage/cfile.h"
#include "storage/scrambler.h"

namespace tirelmo {

namespace {

constexpr char kCrLfBytes[4] = {0x0D, 0x00, 0x0A, 0x00};

bool fitsOneWrite(u16v text) {
  return text.size() <= (std::numeric_limits<std::uint32_t>::max() - sizeof kCrLfBytes) / 2;
}

}  // namespace

bool writeRecordLine(AtomicFileWriter& file, u16v text) {
  if (!fitsOneWrite(text)) return false;
  std::string bytes;
  bytes.reserve(2 * text.size() + sizeof kCrLfBytes);
  appendUtf16Le(bytes, text);
  scrambleBytes(bytes.data(), bytes.data(), bytes.size());
  bytes.append(kCrLfBytes, sizeof kCrLfBytes);
  return file.write(bytes);
}

bool writePlainLine(AtomicFileWriter& file, u16v text) {
  if (!fitsOneWrite(text)) return false;
  std::string bytes;
  bytes.reserve(2 * text.size() + sizeof kCrLfBytes);
  appendUtf16Le(bytes, text);
  bytes.append(kCrLfBytes, sizeof kCrLfBytes);
  return file.write(bytes);
}

void decodeRecordLine(u16& line) {
  if (line.size() <= 1) return;
  const std::size_t units = line.size() - 1;
  if constexpr (std::endian::native == std::endian::little) {
    // The units already sit in memory as the file's little-endian bytes.
    descrambleBytes(line.data(), line.data(), 2 * units);
  } else {
    std::string bytes;
    bytes.reserve(2 * units);
    appendUtf16Le(bytes, u16v(line).substr(0, units));
    descrambleBytes(bytes.data(), bytes.data(), bytes.size());
    for (std::size_t j = 0; j < units; ++j)
      line[j] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * j]) |
                                      (static_cast<unsigned char>(bytes[2 * j + 1]) << 8));
  }
}

std::uint32_t readRecordFile(u16v path, bool scrambled, u16v who,
                             const std::function<LineVerdict(u16& line)>& onLine) {
  CFile file(path, kCFileTextLines);
  u16 line;
  // The header only names the columns; old files may carry anything there.
  if (file.gets(line) == 0) return 0;

  // Lines read ahead for joining, not yet taken, and the number of the first one.
  std::deque<u16> ahead;
  std::uint32_t firstNo = 1;
  const auto have = [&](std::size_t count) {
    while (ahead.size() < count) {
      if (file.gets(line) == 0) return false;
      ahead.push_back(std::move(line));
    }
    return true;
  };
  const auto hand = [&](const u16& raw) {
    u16 text = raw;
    if (scrambled) decodeRecordLine(text);
    return onLine(text);
  };

  while (have(1)) {
    u16 raw = ahead.front();
    std::size_t pieces = 1;
    LineVerdict verdict = hand(raw);
    while (verdict == LineVerdict::Unparsed && pieces <= static_cast<std::size_t>(kMaxRecordJoins) &&
           have(pieces + 1) && raw.size() + 1 + ahead[pieces].size() <= CFile::kMaxLineUnits) {
      raw.push_back(u'\n');
      raw += ahead[pieces];
      ++pieces;
      verdict = hand(raw);
    }
    if (verdict == LineVerdict::Unparsed) {
      // Only the first piece goes: the next one may be a record of its own.
      logLine(u"%s() err reading row ##%d", who, firstNo);
      pieces = 1;
    } else if (pieces > 1) {
      logLine(u"%s() row ##%d was split in %d lines, joined", who, firstNo, pieces);
    }
    ahead.erase(ahead.begin(), ahead.begin() + static_cast<std::ptrdiff_t>(pieces));
    firstNo += static_cast<std::uint32_t>(pieces);
    if (verdict == LineVerdict::Stop) break;
  }
  return firstNo;
}

}  // namespace tirelmo
