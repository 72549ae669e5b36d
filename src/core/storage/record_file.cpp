#include "storage/record_file.h"

#include <bit>
#include <limits>

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

std::uint32_t readRecordFile(u16v path, bool scrambled, const std::function<bool(u16& line)>& onLine) {
  CFile file(path, kCFileTextLines);
  u16 line;
  // The header only names the columns; old files may carry anything there.
  if (file.gets(line) == 0) return 0;
  std::uint32_t handed = 0;
  while (file.gets(line) != 0) {
    if (scrambled) decodeRecordLine(line);
    ++handed;
    if (!onLine(line)) break;
  }
  return handed;
}

}  // namespace tirelmo
