// CFile: the buffered reader behind every loader. It holds 1024 bytes of a file at a time,
// whatever the file's size, and hands out either text lines or length-value records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/file.h"
#include "text/ustring.h"

namespace tirelmo {

inline constexpr std::uint32_t kCFileLvRecords = 0;  // 4-byte little-endian length, then the rest
inline constexpr std::uint32_t kCFileTextLines = 1;  // UTF-16LE lines ending CR LF

class CFile {
 public:
  static constexpr std::uint32_t kBufferBytes = 1024;
  // Two bytes stay free behind the data so a NUL unit always fits.
  static constexpr std::uint32_t kRefillBytes = 1022;
  // The longest line gets can hand out, its CR included: with its LF it fills the data.
  static constexpr std::uint32_t kMaxLineUnits = kRefillBytes / 2 - 1;

  // Opens an existing file for shared reading and reads its first 1022 bytes. A file that
  // cannot be opened reads as an empty one.
  CFile(u16v path, std::uint32_t mode);
  ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // The next line, without its LF but with the CR before it; returns its length in units.
  // 0 (and an empty line) at the end of the file, for a line too long for the buffer
  // (more than 509 units before its CR LF) and for a last line without CR LF.
  // Only the pair CR LF ends a line, so the units 0x000A, 0x000D and 0x0000 that scrambled
  // text can contain stay inside their line; a scrambled CR LF pair does end it, and
  // readRecordFile joins such pieces again.
  std::uint32_t gets(u16& line);

  // Copies the next whole record, length field included, into dest and returns its length.
  // 0 at the end, for a cut or damaged record, for one longer than 1022 bytes, and for one
  // that claims fewer than 4 bytes or more than destCapacity (dest is then not written).
  std::uint32_t getLvRecord(void* dest, std::size_t destCapacity);

  // Size of the file at opening; 0 when it could not be opened.
  std::uint32_t fileSize() const { return _fileSize; }
  // Byte count of the last refill, and how many refills there were: they show how the
  // reader walks a file, which the tests look at.
  std::uint32_t bytesRead() const { return _bytesRead; }
  std::uint32_t refillCount() const { return _refills; }

 private:
  char16_t* units() const { return _buffer.get(); }
  std::uint32_t readInto(unsigned char* at);
  std::uint32_t refillText(char16_t* writePos);
  std::uint32_t refillRecords(unsigned char* writePos);

  FileHandle _hFile = kInvalidFile;
  std::uint32_t _fileSize = 0;
  // Held as units so that text mode reads them with their natural alignment.
  std::unique_ptr<char16_t[]> _buffer;
  unsigned char* _pHeapBuf = nullptr;
  std::uint32_t _mode = kCFileTextLines;
  char16_t* _pRow = nullptr;
  char16_t* _pEnd = nullptr;
  unsigned char* _pLvRec = nullptr;
  unsigned char* _pRecEnd = nullptr;
  std::uint32_t _bytesRead = 0;
  std::uint32_t _refills = 0;
};

}  // namespace tirelmo
