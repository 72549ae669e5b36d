#include "storage/cfile.h"

#include <bit>
#include <cstring>
#include <new>

#include "storage/le_bytes.h"
#include "base/log.h"

namespace tirelmo {

namespace {

constexpr std::uint32_t kNotEnoughMemory = 8;  // ERROR_NOT_ENOUGH_MEMORY

}  // namespace

CFile::CFile(u16v path, std::uint32_t mode) : _mode(mode) {
  _hFile = fileOpen(path, OpenMode::ReadExisting);
  if (_hFile != kInvalidFile) {
    const std::int64_t size = ::tirelmo::fileSize(_hFile);
    _fileSize = size < 0 ? 0u : static_cast<std::uint32_t>(size);
  }
  logLine(u"File size: %d. Req heap block: %d", _fileSize, kBufferBytes);
  if (_hFile == kInvalidFile) return;

  _buffer.reset(new (std::nothrow) char16_t[kBufferBytes / 2]());
  if (!_buffer) {
    setLastErrorCode(kNotEnoughMemory);
    logLastError(u"HeapAlloc");
    _fileSize = 0;
    return;
  }
  _pHeapBuf = reinterpret_cast<unsigned char*>(_buffer.get());
  if (_mode == kCFileTextLines)
    refillText(units());
  else
    refillRecords(_pHeapBuf);
}

CFile::~CFile() { fileClose(_hFile); }

// Fills the buffer from `at` up to the 1022-byte mark, or to the end of the file. A short
// read is not taken for the end: only a read of nothing is.
std::uint32_t CFile::readInto(unsigned char* at) {
  const std::uint32_t want = static_cast<std::uint32_t>(_pHeapBuf + kRefillBytes - at);
  std::uint32_t total = 0;
  while (total < want) {
    std::uint32_t got = 0;
    if (!fileRead(_hFile, at + total, want - total, got)) {
      logLastError(u"ReadFile");
      break;
    }
    if (got == 0) break;
    total += got;
  }
  ++_refills;
  return total;
}

std::uint32_t CFile::refillText(char16_t* writePos) {
  // Whole units only: an odd byte can only be the last one of a damaged file, and half a
  // unit is no text. The request is always even, so nothing after it is shifted.
  const std::uint32_t got = readInto(reinterpret_cast<unsigned char*>(writePos)) & ~1u;
  if constexpr (std::endian::native == std::endian::big) {
    for (char16_t* p = writePos; p < writePos + got / 2; ++p)
      *p = static_cast<char16_t>((*p >> 8) | (*p << 8));
  }
  _pEnd = writePos + got / 2;
  *_pEnd = 0;
  _pRow = units();
  _bytesRead = got;
  return got;
}

std::uint32_t CFile::refillRecords(unsigned char* writePos) {
  const std::uint32_t got = readInto(writePos);
  _pRecEnd = writePos + got;
  _pLvRec = _pHeapBuf;
  _bytesRead = got;
  return got;
}

std::uint32_t CFile::gets(u16& line) {
  if (_pRow == nullptr) {
    logLine(u"%s() _pRow null.", u"CFile::gets");
    line.clear();
    return 0;
  }
  int cntFail = 0;
  try {
    for (;;) {
      if (cntFail >= 2) {
        logLine(u"*** Max cntFail %d ***", cntFail);
        line.clear();
        return 0;
      }
      // Bounded by _pEnd, not by a NUL: scrambled text may hold NUL units, and a lone
      // LF unit inside it is no line end either.
      const u16v rest(_pRow, static_cast<std::size_t>(_pEnd - _pRow));
      const std::size_t cr = rest.find(u"\r\n");
      if (cr != u16v::npos) {
        line.assign(_pRow, cr + 1);
        _pRow += cr + 2;
        if (_pRow >= _pEnd) refillText(units());
        return static_cast<std::uint32_t>(line.size());
      }
      ++cntFail;
      const std::size_t left = rest.size();
      if (left == 0) {
        line.clear();
        return 0;
      }
      std::memmove(units(), _pRow, left * sizeof(char16_t));
      if (refillText(units() + left) == 0) {
        line.clear();
        return 0;
      }
    }
  } catch (...) {
    logLine(u"*** CFile::gets() error ***");
    logLine(u"_pHeapBuf:%p _pRow:%p", static_cast<const void*>(_pHeapBuf), static_cast<const void*>(_pRow));
    logLine(u"_pEnd:%p", static_cast<const void*>(_pEnd));
    logLine(u"cntFail:%d", cntFail);
    line.clear();
    return 0;
  }
}

std::uint32_t CFile::getLvRecord(void* dest, std::size_t destCapacity) {
  if (_pLvRec == nullptr) {
    logLine(u"%s() _pLvRec null.", u"CFile::getLvRecord");
    return 0;
  }
  if (_pLvRec == _pRecEnd) {
    logLine(u"%s() no more bytes", u"CFile::getLvRecord");
    return 0;
  }
  for (int attempt = 0; attempt < 2; ++attempt) {
    const std::size_t avail = static_cast<std::size_t>(_pRecEnd - _pLvRec);
    // Fewer than 4 bytes hold no length yet: that is a cut record like any other.
    if (avail >= 4) {
      const std::uint32_t len = getLe32(_pLvRec);
      // A length that cannot include its own field would never advance; one beyond the
      // caller's buffer would overrun it. Both mean a damaged file.
      if (len < 4 || len > destCapacity) {
        logLine(u"%s() bad record length %u (room for %u)", u"CFile::getLvRecord", len, destCapacity);
        return 0;
      }
      if (len <= avail) {
        std::memcpy(dest, _pLvRec, len);
        _pLvRec += len;
        if (_pLvRec >= _pRecEnd) refillRecords(_pHeapBuf);
        return len;
      }
    }
    if (avail == 0) return 0;
    std::memmove(_pHeapBuf, _pLvRec, avail);
    if (refillRecords(_pHeapBuf + avail) == 0) return 0;
  }
  logLine(u"*** Max cntFail %d ***", 2);
  return 0;
}

}  // namespace tirelmo
