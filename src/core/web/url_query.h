// Building request addresses: every value percent-encoded as UTF-8, so no value can add a
// field or end the query.
#pragma once

#include <string>
#include <string_view>

#include "text/ustring.h"

namespace tirelmo {

// UTF-8 of the text with every byte outside the unreserved set (A-Z a-z 0-9 - . _ ~)
// written as %XX (upper-case hex). An unpaired surrogate becomes U+FFFD.
std::string percentEncode(u16v text);
std::string percentEncodeUtf8(std::string_view utf8);

// Appends "&key=value" (or "?key=value" when the address has no '?' yet).
void appendField(std::string& url, std::string_view key, std::string_view encodedValue);
void appendField(std::string& url, std::string_view key, long long value);
void appendTextField(std::string& url, std::string_view key, u16v text);

// UTF-8 to UTF-16 (utf8ToUtf16: an invalid sequence becomes U+FFFD), cut to at most
// maxUnits code units without splitting a surrogate pair.
u16 utf8ToU16Cut(std::string_view utf8, std::size_t maxUnits);

// Cuts a UTF-8 text to at most maxBytes bytes on a character boundary.
std::string_view cutUtf8(std::string_view utf8, std::size_t maxBytes);

}  // namespace tirelmo
