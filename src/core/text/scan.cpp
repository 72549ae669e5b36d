#include "text/scan.h"

#include <climits>

namespace tirelmo {

int scanInts(u16v input, u16v format, int* out, int maxOut) {
  std::size_t i = 0, f = 0;
  int count = 0;
  auto isBlank = [](char16_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (f < format.size()) {
    const char16_t c = format[f];
    if (c == '%' && f + 1 < format.size() && format[f + 1] == 'd') {
      f += 2;
      while (i < input.size() && isBlank(input[i])) ++i;
      bool negative = false;
      std::size_t start = i;
      if (i < input.size() && (input[i] == '-' || input[i] == '+')) {
        negative = input[i] == '-';
        ++i;
      }
      long long v = 0;
      std::size_t digits = 0;
      while (i < input.size() && input[i] >= '0' && input[i] <= '9') {
        if (v < static_cast<long long>(INT_MAX) + 1) v = v * 10 + (input[i] - '0');
        ++i;
        ++digits;
      }
      if (digits == 0) {
        i = start;
        return count;
      }
      if (negative) v = -v;
      if (v > INT_MAX) v = INT_MAX;
      if (v < INT_MIN) v = INT_MIN;
      if (count < maxOut) out[count] = static_cast<int>(v);
      ++count;
    } else if (isBlank(c)) {
      ++f;
      while (i < input.size() && isBlank(input[i])) ++i;
    } else {
      if (i >= input.size() || input[i] != c) return count;
      ++i;
      ++f;
    }
  }
  return count;
}

}  // namespace tirelmo
