#include "text/format.h"

#include <cmath>
#include <cstdio>

namespace tirelmo {

std::int64_t FmtArg::asSigned() const {
  switch (kind_) {
    case Kind::Signed: return i_;
    case Kind::Unsigned:
    case Kind::Pointer: return static_cast<std::int64_t>(u_);
    case Kind::Real: return static_cast<std::int64_t>(d_);
    case Kind::Text: return 0;
  }
  return 0;
}

std::uint64_t FmtArg::asUnsigned() const {
  switch (kind_) {
    case Kind::Signed: return static_cast<std::uint64_t>(i_);
    case Kind::Unsigned:
    case Kind::Pointer: return u_;
    case Kind::Real: return static_cast<std::uint64_t>(d_);
    case Kind::Text: return 0;
  }
  return 0;
}

double FmtArg::asReal() const {
  switch (kind_) {
    case Kind::Signed: return static_cast<double>(i_);
    case Kind::Unsigned:
    case Kind::Pointer: return static_cast<double>(u_);
    case Kind::Real: return d_;
    case Kind::Text: return 0;
  }
  return 0;
}

namespace {

struct Conversion {
  bool left = false, plus = false, space = false, zero = false, alt = false;
  int width = -1;
  int precision = -1;
};

void pad(u16& out, u16v body, const Conversion& sp, bool numeric) {
  const int len = static_cast<int>(body.size());
  if (sp.width <= len) {
    out.append(body);
    return;
  }
  const std::size_t fill = static_cast<std::size_t>(sp.width - len);
  if (sp.left) {
    out.append(body);
    out.append(fill, u' ');
  } else if (sp.zero && numeric) {
    // Zeros go between the sign (or 0x prefix) and the digits.
    std::size_t prefix = 0;
    if (!body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' ')) prefix = 1;
    if (body.size() >= prefix + 2 && body[prefix] == '0' &&
        (body[prefix + 1] == 'x' || body[prefix + 1] == 'X'))
      prefix += 2;
    out.append(body.substr(0, prefix));
    out.append(fill, u'0');
    out.append(body.substr(prefix));
  } else {
    out.append(fill, u' ');
    out.append(body);
  }
}

u16 digits(std::uint64_t v, unsigned base, bool upper) {
  const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  u16 s;
  do {
    s.insert(s.begin(), static_cast<char16_t>(set[v % base]));
    v /= base;
  } while (v);
  return s;
}

void formatInteger(u16& out, const FmtArg& a, char16_t conv, Conversion sp) {
  u16 body;
  bool negative = false;
  std::uint64_t mag;
  if (conv == 'd' || conv == 'i') {
    if (a.kind() == FmtArg::Kind::Text) {
      pad(out, a.text(), sp, false);
      return;
    }
    std::int64_t v = a.asSigned();
    negative = v < 0;
    mag = negative ? (~static_cast<std::uint64_t>(v) + 1) : static_cast<std::uint64_t>(v);
  } else {
    if (a.kind() == FmtArg::Kind::Text) {
      pad(out, a.text(), sp, false);
      return;
    }
    // Like the C library on a 32-bit target: a negative int shown with %u or %X is its
    // two's complement in 32 bits.
    if (a.kind() == FmtArg::Kind::Signed && a.asSigned() < 0 && a.asSigned() >= INT32_MIN)
      mag = static_cast<std::uint32_t>(static_cast<std::int32_t>(a.asSigned()));
    else
      mag = a.asUnsigned();
  }
  unsigned base = 10;
  if (conv == 'x' || conv == 'X') base = 16;
  if (conv == 'o') base = 8;
  body = (sp.precision == 0 && mag == 0) ? u16() : digits(mag, base, conv == 'X');
  if (sp.precision > 0 && static_cast<int>(body.size()) < sp.precision)
    body.insert(0, static_cast<std::size_t>(sp.precision - static_cast<int>(body.size())), u'0');
  if (sp.alt && mag != 0) {
    if (base == 16) body.insert(0, conv == 'X' ? u"0X" : u"0x");
    if (base == 8 && (body.empty() || body[0] != '0')) body.insert(0, u"0");
  }
  if (negative)
    body.insert(0, u"-");
  else if ((conv == 'd' || conv == 'i') && sp.plus)
    body.insert(0, u"+");
  else if ((conv == 'd' || conv == 'i') && sp.space)
    body.insert(0, u" ");
  if (sp.precision >= 0) sp.zero = false;
  pad(out, body, sp, true);
}

void formatReal(u16& out, const FmtArg& a, char16_t conv, const Conversion& sp) {
  char f[32];
  int k = 0;
  f[k++] = '%';
  if (sp.left) f[k++] = '-';
  if (sp.plus) f[k++] = '+';
  if (sp.space) f[k++] = ' ';
  if (sp.alt) f[k++] = '#';
  if (sp.zero) f[k++] = '0';
  f[k] = 0;
  std::string printfFormat = f;
  if (sp.width >= 0) printfFormat += std::to_string(sp.width > 200 ? 200 : sp.width);
  if (sp.precision >= 0) printfFormat += "." + std::to_string(sp.precision > 60 ? 60 : sp.precision);
  printfFormat.push_back(static_cast<char>(conv));
  char buf[512];
  std::snprintf(buf, sizeof buf, printfFormat.c_str(), a.asReal());
  out.append(widenLatin1(buf));
}

}  // namespace

u16 formatArgs(u16v format, std::initializer_list<FmtArg> args) {
  u16 out;
  out.reserve(format.size() + 16 * args.size());
  auto next = args.begin();
  std::size_t i = 0;
  const std::size_t n = format.size();
  while (i < n) {
    char16_t c = format[i];
    if (c != '%') {
      out.push_back(c);
      ++i;
      continue;
    }
    std::size_t start = i++;
    if (i < n && format[i] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    Conversion sp;
    for (; i < n; ++i) {
      char16_t f = format[i];
      if (f == '-') sp.left = true;
      else if (f == '+') sp.plus = true;
      else if (f == ' ') sp.space = true;
      else if (f == '0') sp.zero = true;
      else if (f == '#') sp.alt = true;
      else break;
    }
    auto readNumber = [&](int& into) {
      if (i < n && format[i] == '*') {
        ++i;
        into = next != args.end() ? static_cast<int>((next++)->asSigned()) : 0;
        return;
      }
      if (i < n && format[i] >= '0' && format[i] <= '9') {
        into = 0;
        while (i < n && format[i] >= '0' && format[i] <= '9') {
          if (into < 100000) into = into * 10 + (format[i] - '0');
          ++i;
        }
      }
    };
    readNumber(sp.width);
    if (sp.width < -1) {
      sp.left = true;
      sp.width = -sp.width;
    }
    if (i < n && format[i] == '.') {
      ++i;
      sp.precision = 0;
      readNumber(sp.precision);
    }
    // Length modifiers carry no meaning here: every argument knows its own size.
    while (i < n) {
      char16_t m = format[i];
      if (m == 'h' || m == 'l' || m == 'z' || m == 'j' || m == 't' || m == 'L' || m == 'w') {
        ++i;
      } else if (m == 'I' && i + 2 < n && format[i + 1] == '6' && format[i + 2] == '4') {
        i += 3;
      } else if (m == 'I' && i + 2 < n && format[i + 1] == '3' && format[i + 2] == '2') {
        i += 3;
      } else {
        break;
      }
    }
    if (i >= n) {
      out.append(format.substr(start));
      break;
    }
    char16_t conv = format[i++];
    const bool known = u16v(u"diuxXocsSpfFeEgG").find(conv) != u16v::npos;
    if (!known) {
      out.append(format.substr(start, i - start));
      continue;
    }
    if (next == args.end()) continue;  // a missing argument formats as nothing
    const FmtArg& a = *next++;
    switch (conv) {
      case 'd': case 'i': case 'u': case 'x': case 'X': case 'o':
        formatInteger(out, a, conv, sp);
        break;
      case 'c': {
        u16 body;
        if (a.kind() == FmtArg::Kind::Text) body = u16(a.text().substr(0, 1));
        else body.push_back(static_cast<char16_t>(a.asUnsigned()));
        pad(out, body, sp, false);
        break;
      }
      case 's': case 'S': {
        u16 body;
        if (a.kind() == FmtArg::Kind::Text) {
          u16v t = a.text();
          if (sp.precision >= 0 && static_cast<std::size_t>(sp.precision) < t.size())
            t = t.substr(0, static_cast<std::size_t>(sp.precision));
          body = u16(t);
        } else if (a.kind() == FmtArg::Kind::Real) {
          formatReal(body, a, 'g', Conversion{});
        } else {
          Conversion ds;
          formatInteger(body, a, a.kind() == FmtArg::Kind::Signed ? 'd' : 'u', ds);
        }
        pad(out, body, sp, false);
        break;
      }
      case 'p': {
        // Upper-case hex, as wide as a pointer, like the Windows C library prints it.
        u16 body = digits(a.asUnsigned(), 16, true);
        const std::size_t w = sizeof(void*) * 2;
        if (body.size() < w) body.insert(0, w - body.size(), u'0');
        pad(out, body, sp, false);
        break;
      }
      default:
        formatReal(out, a, conv, sp);
        break;
    }
  }
  return out;
}

}  // namespace tirelmo
