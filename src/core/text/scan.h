// A small, safe stand-in for sscanf with "%d" conversions, for the dates the program reads
// out of its own file names ("DailyTask_%d-%d-%d-%d").
#pragma once

#include <cstdint>

#include "text/ustring.h"

namespace tirelmo {

// Matches input against format: literal units must match exactly, "%d" reads an optional
// sign and decimal digits (after blanks), a blank in the format matches any run of blanks.
// Stores at most maxOut numbers and returns how many were converted before the first
// mismatch, like sscanf.
int scanInts(u16v input, u16v format, int* out, int maxOut);

}  // namespace tirelmo
