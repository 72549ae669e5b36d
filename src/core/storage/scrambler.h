// The byte scrambler of the record files and of the row texts in the sheet files.
//
// It only keeps the data from being read as plain text; it is not encryption. The key and
// the carry rule are fixed by the files users already have, so they never change.
#pragma once

#include <cstddef>

namespace tirelmo {

// Same key for every file and every user.
inline constexpr unsigned char kScramblerKey[8] = {'m', 'a', 'r', 'b', 'e', 'l', 'l', 'a'};

// Scrambles n bytes; the key position and the carry start afresh at src[0]. Each byte is
// read before its result is stored, so src and dst may also be the same buffer.
void scrambleBytes(const void* src, void* dst, std::size_t n);

// The inverse of scrambleBytes from the same starting position. Returns 0. In place works
// too.
int descrambleBytes(const void* src, void* dst, std::size_t n);

}  // namespace tirelmo
