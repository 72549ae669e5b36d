// A type-safe printf-style formatter for UTF-16 text.
//
// The program's log lines, messages and file lines are written with C-style formats
// ("%s() err reading row ##%d", "\"%d\",%s,\"%s\""). Every argument carries its own type,
// so a wrong conversion never reads garbage, and a '%' inside an argument is just a
// character. Supported: flags "-+ 0#", width, precision, the length modifiers h, hh, l, ll,
// I64, z, j, t (ignored), and the conversions d i u x X o c s S p f F e E g G %.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

#include "text/ustring.h"

namespace tirelmo {

class FmtArg {
 public:
  enum class Kind { Signed, Unsigned, Text, Pointer, Real };

  FmtArg(bool v) : kind_(Kind::Signed), i_(v ? 1 : 0) {}
  FmtArg(char16_t v) : kind_(Kind::Unsigned), u_(v) {}
  template <class T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T>, int> = 0>
  FmtArg(T v) : kind_(Kind::Signed), i_(static_cast<std::int64_t>(v)) {}
  template <class T, std::enable_if_t<std::is_integral_v<T> && std::is_unsigned_v<T> &&
                                          !std::is_same_v<T, bool> && !std::is_same_v<T, char16_t>,
                                      int> = 0>
  FmtArg(T v) : kind_(Kind::Unsigned), u_(static_cast<std::uint64_t>(v)) {}
  template <class T, std::enable_if_t<std::is_enum_v<T>, int> = 0>
  FmtArg(T v) : kind_(Kind::Signed), i_(static_cast<std::int64_t>(v)) {}
  FmtArg(double v) : kind_(Kind::Real), d_(v) {}
  FmtArg(float v) : kind_(Kind::Real), d_(v) {}
  FmtArg(const char16_t* s) : kind_(Kind::Text), s_(s ? u16v(s) : u16v(u"(null)")) {}
  FmtArg(char16_t* s) : FmtArg(static_cast<const char16_t*>(s)) {}
  FmtArg(u16v s) : kind_(Kind::Text), s_(s) {}
  FmtArg(const u16& s) : kind_(Kind::Text), s_(s) {}
  FmtArg(const void* p) : kind_(Kind::Pointer), u_(reinterpret_cast<std::uintptr_t>(p)) {}

  Kind kind() const { return kind_; }
  std::int64_t asSigned() const;
  std::uint64_t asUnsigned() const;
  double asReal() const;
  u16v text() const { return s_; }

 private:
  Kind kind_;
  std::int64_t i_ = 0;
  std::uint64_t u_ = 0;
  double d_ = 0;
  u16v s_;
};

// Formats into a new string. Missing arguments format as nothing; surplus ones are ignored.
u16 formatArgs(u16v format, std::initializer_list<FmtArg> args);

template <class... A>
u16 fmt(u16v format, const A&... args) {
  return formatArgs(format, {FmtArg(args)...});
}

}  // namespace tirelmo
