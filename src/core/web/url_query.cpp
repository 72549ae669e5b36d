#include "web/url_query.h"

#include <string>

namespace tirelmo {

namespace {

bool isUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::string percentEncodeUtf8(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(utf8.size() * 3);
  for (unsigned char c : utf8) {
    if (isUnreserved(c)) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

std::string percentEncode(u16v text) { return percentEncodeUtf8(utf16ToUtf8(text)); }

void appendField(std::string& url, std::string_view key, std::string_view encodedValue) {
  url += url.find('?') == std::string::npos ? '?' : '&';
  url += key;
  url += '=';
  url += encodedValue;
}

void appendField(std::string& url, std::string_view key, long long value) {
  appendField(url, key, std::to_string(value));
}

void appendTextField(std::string& url, std::string_view key, u16v text) {
  appendField(url, key, percentEncode(text));
}

u16 utf8ToU16Cut(std::string_view utf8, std::size_t maxUnits) {
  u16 text = utf8ToUtf16(utf8);
  if (text.size() <= maxUnits) return text;
  std::size_t keep = maxUnits;
  if (keep > 0 && isHighSurrogate(text[keep - 1]) && isLowSurrogate(text[keep])) --keep;
  text.resize(keep);
  return text;
}

std::string_view cutUtf8(std::string_view utf8, std::size_t maxBytes) {
  if (utf8.size() <= maxBytes) return utf8;
  std::size_t keep = maxBytes;
  // A continuation byte at the cut means the character it belongs to started before it.
  while (keep > 0 && (static_cast<unsigned char>(utf8[keep]) & 0xC0) == 0x80) --keep;
  return utf8.substr(0, keep);
}

}  // namespace tirelmo
