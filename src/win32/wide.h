// wchar_t is 16 bits on Windows, so the core's UTF-16 strings cross the boundary as they are.
#pragma once

#include <string>

#include "text/ustring.h"

namespace tirelmo {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16");

inline const wchar_t* W(const u16& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline std::wstring Wstr(u16v s) { return std::wstring(reinterpret_cast<const wchar_t*>(s.data()), s.size()); }
inline u16 U(const wchar_t* s) { return s ? u16(reinterpret_cast<const char16_t*>(s)) : u16(); }
inline u16 U(const std::wstring& s) { return u16(reinterpret_cast<const char16_t*>(s.data()), s.size()); }

}  // namespace tirelmo
