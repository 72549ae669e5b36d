// UTF-16 text helpers shared by the whole core.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tirelmo {

using u16 = std::u16string;
using u16v = std::u16string_view;

// UTF-8 <-> UTF-16. Malformed input never throws: bad UTF-8 sequences become U+FFFD and
// unpaired surrogates are written as U+FFFD, so a damaged file cannot stop a load.
u16 utf8ToUtf16(std::string_view in);
std::string utf16ToUtf8(u16v in);

// ASCII/Latin-1 widening for literals and byte strings from the platform.
u16 widenLatin1(std::string_view in);

// Copies at most maxUnits - 1 units (the capacity counts the terminating NUL, as the
// fixed buffers of the stored records do).
u16 cutToCapacity(u16v in, std::size_t capacityWithNul);

// Decimal conversion as the settings reader and similar loose parsers want it: optional
// blanks, optional sign, leading digits; no digits gives 0; saturates instead of overflowing.
std::int32_t looseToInt(u16v in);
std::int32_t looseToInt(std::string_view in);

bool startsWith(u16v text, u16v prefix);
bool endsWith(u16v text, u16v suffix);

// Case-insensitive (ASCII letters only) equality, as file-system names compare on Windows.
bool equalsNoCase(u16v a, u16v b);
bool endsWithNoCase(u16v text, u16v suffix);

// Wildcard match of a file name against a pattern with '*' and '?', ASCII case-insensitive,
// with the Windows rule that "*.*" matches every name.
bool wildcardMatch(u16v pattern, u16v name);

}  // namespace tirelmo
