#include "win32_ports.h"

#include <shellapi.h>
#include <algorithm>
#include <shlobj.h>

#include "base/log.h"
#include "wide.h"

namespace tirelmo {

LocalTime Win32Clock::now() const {
  SYSTEMTIME st;
  GetLocalTime(&st);
  LocalTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.dayOfWeek = st.wDayOfWeek;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  t.milliseconds = st.wMilliseconds;
  return t;
}

MsgAnswer Win32Prompts::show(u16v text, u16v caption, MsgButtons buttons, MsgIcon icon) {
  UINT flags = 0;
  switch (buttons) {
    case MsgButtons::Ok: flags |= MB_OK; break;
    case MsgButtons::OkCancel: flags |= MB_OKCANCEL; break;
    case MsgButtons::YesNo: flags |= MB_YESNO; break;
    case MsgButtons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
    case MsgButtons::AbortRetryIgnore: flags |= MB_ABORTRETRYIGNORE; break;
    case MsgButtons::RetryCancel: flags |= MB_RETRYCANCEL; break;
  }
  switch (icon) {
    case MsgIcon::None: break;
    case MsgIcon::Information: flags |= MB_ICONINFORMATION; break;
    case MsgIcon::Warning: flags |= MB_ICONWARNING; break;
    case MsgIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
    case MsgIcon::Error: flags |= MB_ICONERROR; break;
    case MsgIcon::Question: flags |= MB_ICONQUESTION; break;
  }
  HWND parent = (owner && IsWindow(owner)) ? owner : nullptr;
  if (!parent) flags |= MB_SETFOREGROUND | MB_TOPMOST;
  switch (MessageBoxW(parent, Wstr(text).c_str(), Wstr(caption).c_str(), flags)) {
    case IDOK: return MsgAnswer::Ok;
    case IDYES: return MsgAnswer::Yes;
    case IDNO: return MsgAnswer::No;
    case IDABORT: return MsgAnswer::Abort;
    case IDRETRY: return MsgAnswer::Retry;
    case IDIGNORE: return MsgAnswer::Ignore;
    default: return MsgAnswer::Cancel;
  }
}

u16 Win32System::executablePath() {
  wchar_t buf[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(sizeof buf / sizeof buf[0]));
  return U(std::wstring(buf, n));
}

bool Win32System::appDataFolder(u16& folder) {
  wchar_t buf[MAX_PATH];
  if (!SHGetSpecialFolderPathW(nullptr, buf, CSIDL_APPDATA, TRUE)) return false;
  folder = U(buf);
  return true;
}

bool Win32System::computerName(u16& name) {
  wchar_t buf[64];
  DWORD n = 64;
  if (!GetComputerNameW(buf, &n)) return false;
  name = U(std::wstring(buf, n));
  return true;
}

bool Win32System::userName(u16& name) {
  wchar_t buf[64];
  DWORD n = 64;
  if (!GetUserNameW(buf, &n)) return false;
  name = U(buf);
  return true;
}

std::optional<OsVersion> Win32System::osVersion() {
  // GetVersionEx answers what the manifest claims to support; the kernel's own answer is
  // the true version, so it is asked first.
  OSVERSIONINFOW vi{};
  vi.dwOSVersionInfoSize = sizeof vi;
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  bool ok = false;
  if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
    auto fn = reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    ok = fn && fn(&vi) == 0;
  }
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!ok) ok = GetVersionExW(&vi) != 0;
#pragma GCC diagnostic pop
  if (!ok) return std::nullopt;
  OsVersion v;
  v.platformId = vi.dwPlatformId;
  v.major = vi.dwMajorVersion;
  v.minor = vi.dwMinorVersion;
  v.build = vi.dwBuildNumber;
  v.servicePack = U(vi.szCSDVersion);
  return v;
}

std::uint16_t Win32System::uiLanguageId() { return GetSystemDefaultUILanguage(); }

std::uint16_t Win32System::keyboardLayoutId() {
  return LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0)));
}

u16 Win32System::languageName() {
  wchar_t buf[160];
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, buf, 160);
  return n > 0 ? U(buf) : u16();
}

int Win32System::screenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int Win32System::screenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

u16 Win32System::ansiToUtf16(std::string_view bytes) {
  if (bytes.empty()) return u16();
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), n);
  return U(w);
}

std::string Win32System::utf16ToAnsi(u16v text) {
  if (text.empty()) return std::string();
  const auto* w = reinterpret_cast<const wchar_t*>(text.data());
  const int len = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(CP_ACP, 0, w, len, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, w, len, out.data(), n, nullptr, nullptr);
  return out;
}

// ---- Shell --------------------------------------------------------------------------------

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Tirelmo";

bool shellExecute(const wchar_t* verb, u16v target) {
  const std::wstring t = Wstr(target);
  SetLastError(ERROR_SUCCESS);
  // ShellExecute answers a number above 32 on success and sets the last error otherwise.
  const auto r = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, verb, t.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (r > 32) return true;
  if (GetLastError() == ERROR_SUCCESS) SetLastError(static_cast<DWORD>(r));
  logLastError(u"ShellExecute");
  return false;
}

// The registry answers with an error number instead of the last error; the log line wants it
// there.
void logRegistryError(u16v call, LONG rc) {
  SetLastError(static_cast<DWORD>(rc));
  logLastError(call);
}

}  // namespace

bool Win32Shell::openUrl(u16v url) { return shellExecute(L"open", url); }
bool Win32Shell::openFile(u16v path) { return shellExecute(L"open", path); }
bool Win32Shell::exploreFolder(u16v folder) { return shellExecute(L"explore", folder); }

bool Win32Shell::setRunAtStartup(bool on, u16v exePath) {
  HKEY key = nullptr;
  // The 64-bit view: on 64-bit Windows that is the list the logon reads.
  LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ | KEY_WRITE | KEY_WOW64_64KEY, &key);
  if (rc != ERROR_SUCCESS) {
    logRegistryError(u"RegOpenKeyEx", rc);
    return false;
  }
  bool ok = true;
  if (on) {
    const std::wstring path = Wstr(exePath);
    const auto bytes = static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t));  // with the NUL
    rc = RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()), bytes);
    if (rc != ERROR_SUCCESS) {
      logRegistryError(u"RegSetValueEx", rc);
      ok = false;
    }
  } else if (RegQueryValueExW(key, kRunValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
    rc = RegDeleteValueW(key, kRunValue);
    if (rc != ERROR_SUCCESS) {
      logRegistryError(u"RegDeleteValue", rc);
      ok = false;
    }
  }
  RegCloseKey(key);
  return ok;
}

bool Win32Shell::runsAtStartup(u16v exePath) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
    return false;
  wchar_t value[MAX_PATH + 1] = {};
  DWORD type = 0;
  DWORD bytes = sizeof(value) - sizeof(wchar_t);  // room for a terminator the value may lack
  const LONG rc = RegQueryValueExW(key, kRunValue, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return false;
  return U(value) == exePath;
}

bool Win32Shell::setClipboardText(u16v text) {
  if (!OpenClipboard(nullptr)) {
    logLastError(u"OpenClipboard");
    return false;
  }
  EmptyClipboard();
  bool ok = false;
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    if (auto* dst = static_cast<char16_t*>(GlobalLock(memory))) {
      std::copy(text.begin(), text.end(), dst);
      dst[text.size()] = u'\0';
      GlobalUnlock(memory);
      // The clipboard owns the memory once SetClipboardData took it.
      ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!ok) {
      logLastError(u"SetClipboardData");
      GlobalFree(memory);
    }
  }
  CloseClipboard();
  return ok;
}

bool Win32Shell::clipboardText(u16& text) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(nullptr)) return false;
  bool ok = false;
  if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* src = static_cast<const char16_t*>(GlobalLock(memory))) {
      // The text ends at its NUL, but never beyond the memory block.
      const SIZE_T units = GlobalSize(memory) / sizeof(char16_t);
      SIZE_T n = 0;
      while (n < units && src[n] != u'\0') ++n;
      text.assign(src, n);
      GlobalUnlock(memory);
      ok = true;
    } else {
      logLastError(u"pasteTxt");
    }
  }
  CloseClipboard();
  return ok;
}

}  // namespace tirelmo
