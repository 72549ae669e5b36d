// Names whose scrambled record line holds the units CR LF, a lone CR, a lone LF or NUL:
// the units a line reader can take for the end of a line or of the text.
#pragma once

#include <string>

#include "storage/file_ops.h"
#include "storage/scrambler.h"
#include "text/ustring.h"

namespace tirelmo::test {

// The units of a line's text as its record line stores them.
inline u16 scrambledUnits(u16v text) {
  std::string bytes;
  appendUtf16Le(bytes, text);
  scrambleBytes(bytes.data(), bytes.data(), bytes.size());
  u16 units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return units;
}

// Ideographs that, written right behind `before` on a line, scramble to the units `wanted`.
// Found by brute force: for each wanted unit every ideograph from U+4E00 to U+9FFF is tried
// in turn (the scrambler carries from byte to byte, so a unit depends on all before it).
// Every unit has one there: the high byte of a scrambled CR, LF or NUL always comes from a
// high byte between 0x61 and 0x9F. Empty when a unit has none.
inline u16 ideographsScramblingTo(u16v before, u16v wanted) {
  u16 found;
  for (char16_t want : wanted) {
    char16_t c = 0x4E00;
    for (; c <= 0x9FFF; ++c) {
      const u16 units = scrambledUnits(u16(before) + found + c);
      if (units.back() == want) break;
    }
    if (c > 0x9FFF) return u16();
    found.push_back(c);
  }
  return found;
}

// What a scrambled line holds.
inline bool holdsCrLf(u16v s) { return s.find(u"\r\n") != u16v::npos; }
inline bool holdsLoneCr(u16v s) {
  for (std::size_t i = 0; i < s.size(); ++i)
    if (s[i] == u'\r' && (i + 1 == s.size() || s[i + 1] != u'\n')) return true;
  return false;
}
inline bool holdsLoneLf(u16v s) {
  for (std::size_t i = 0; i < s.size(); ++i)
    if (s[i] == u'\n' && (i == 0 || s[i - 1] != u'\r')) return true;
  return false;
}
inline bool holdsNul(u16v s) { return s.find(char16_t(0)) != u16v::npos; }

}  // namespace tirelmo::test
