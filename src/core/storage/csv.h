// CSV fields of the record lines: every field in double quotes, a quote inside written
// twice. Readers find fields by their quotes and never look at the separators.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/ustring.h"

namespace tirelmo {

// dest = the quoted field of at most maxChars source characters (a doubled quote counts
// as one). The text ends at its end or at a NUL, as it does in the fixed-size buffers of
// the records. Returns 0.
int csvQuote(u16v source, std::size_t maxChars, u16& dest);

// token = field n (from 0) with doubled quotes made single; a negative n takes the whole
// row. Returns 0, or 1 with a log line and token unchanged.
int csvGetNthToken(int n, u16v row, u16& token);

// Reads field n (through scratch) as a decimal number of plain digits. Returns 0, or -1:
// a missing or empty field leaves value unchanged; anything else that is not a number in
// the signed 32-bit range logs a line and sets value to -1.
int bStoi(int n, u16v row, u16& scratch, std::int32_t& value);

// Each number as a quoted field followed by a comma: "1","2",
u16 quotedNumbers(std::initializer_list<std::int64_t> values);

}  // namespace tirelmo
