#include "storage/csv.h"

#include <limits>

#include "base/log.h"

namespace tirelmo {

int csvQuote(u16v source, std::size_t maxChars, u16& dest) {
  dest.clear();
  dest.push_back(u'"');
  for (std::size_t i = 0; i < source.size() && i < maxChars && source[i] != 0; ++i) {
    if (source[i] == u'"') dest.push_back(u'"');
    dest.push_back(source[i]);
  }
  dest.push_back(u'"');
  return 0;
}

int csvGetNthToken(int n, u16v row, u16& token) {
  if (row.empty()) {
    logLine(u"%s() Row empty", u"csvGetNthToken");
    return 1;
  }
  u16v field = row;
  if (n >= 0) {
    std::size_t start = 0;
    std::size_t end = u16v::npos;
    for (int t = 0; t <= n; ++t) {
      const std::size_t begin = row.find(u'"', end == u16v::npos ? 0 : end + 1);
      if (begin == u16v::npos) {
        logLine(u"Begin of tkn %d not found.", n);
        return 1;
      }
      start = begin + 1;
      end = row.find(u'"', start);
      while (end != u16v::npos && end + 1 < row.size() && row[end + 1] == u'"')
        end = row.find(u'"', end + 2);
      if (end == u16v::npos) {
        logLine(u"End of tkn %d not found.", n);
        return 1;
      }
    }
    field = row.substr(start, end - start);
  }
  u16 out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    out.push_back(field[i]);
    if (field[i] == u'"' && i + 1 < field.size() && field[i + 1] == u'"') ++i;
  }
  token = std::move(out);
  return 0;
}

int bStoi(int n, u16v row, u16& scratch, std::int32_t& value) {
  if (csvGetNthToken(n, row, scratch) != 0 || scratch.empty()) return -1;
  std::int64_t v = 0;
  for (char16_t c : scratch) {
    // Digits beyond the 32-bit range are as unusable as letters: a count or an id that
    // wrapped around would be silently wrong.
    if (c < u'0' || c > u'9' || (v = v * 10 + (c - u'0')) > std::numeric_limits<std::int32_t>::max()) {
      logLine(u"%s() %s not a number", u"bStoi", scratch);
      value = -1;
      return -1;
    }
  }
  value = static_cast<std::int32_t>(v);
  return 0;
}

u16 quotedNumbers(std::initializer_list<std::int64_t> values) {
  u16 out;
  for (std::int64_t v : values) {
    out += fmt(u"\"%d\"", v);
    out.push_back(u',');
  }
  return out;
}

}  // namespace tirelmo
