// Little-endian numbers and UTF-16LE text in byte buffers: every binary file of the program
// (sheets, the month table, LV records) stores them this way, whatever the machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "text/ustring.h"

namespace tirelmo {

inline std::uint16_t getLe16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t getLe32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline void putLe16(unsigned char* p, std::uint16_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}

inline void putLe32(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
}

// Appends the UTF-16LE bytes of text.
inline void appendUtf16Le(std::string& out, u16v text) {
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
}

inline std::string utf16LeBytes(u16v text) {
  std::string bytes;
  appendUtf16Le(bytes, text);
  return bytes;
}

// The units of UTF-16LE bytes up to the first NUL unit (or the end); an odd last byte is
// no unit.
inline u16 unitsFromLe(const unsigned char* p, std::size_t bytes) {
  u16 out;
  for (std::size_t i = 0; i + 1 < bytes; i += 2) {
    const char16_t unit = static_cast<char16_t>(p[i] | (p[i + 1] << 8));
    if (unit == 0) break;
    out.push_back(unit);
  }
  return out;
}

}  // namespace tirelmo
