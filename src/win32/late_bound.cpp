#include "late_bound.h"

#include "base/log.h"

namespace tirelmo {

namespace {

// The address of a function of a library loaded on first use; null (logged once per
// library) when either is missing. The library stays loaded for the rest of the run.
FARPROC lateFunction(HMODULE& module, bool& failed, const wchar_t* library, const char* name) {
  if (!module && !failed) {
    module = LoadLibraryW(library);
    if (!module) {
      failed = true;
      logLastError(u"LoadLibraryW");
    }
  }
  return module ? GetProcAddress(module, name) : nullptr;
}

template <typename F>
F as(FARPROC p) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(p));
}

HMODULE winmm = nullptr;
bool winmmFailed = false;
HMODULE comdlg = nullptr;
bool comdlgFailed = false;
HMODULE ole32 = nullptr;
bool ole32Failed = false;
HMODULE oleaut32 = nullptr;
bool oleaut32Failed = false;

}  // namespace

BOOL playSoundLate(LPCWSTR sound, DWORD flags) {
  auto play = as<BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD)>(
      lateFunction(winmm, winmmFailed, L"winmm.dll", "PlaySoundW"));
  return play ? play(sound, nullptr, flags) : FALSE;
}

void stopSoundLate() {
  if (winmm) playSoundLate(nullptr, 0);
}

BOOL getOpenFileNameLate(OPENFILENAMEW* ofn) {
  auto open = as<BOOL(WINAPI*)(OPENFILENAMEW*)>(
      lateFunction(comdlg, comdlgFailed, L"comdlg32.dll", "GetOpenFileNameW"));
  return open ? open(ofn) : FALSE;
}

DWORD commDlgExtendedErrorLate() {
  auto error = as<DWORD(WINAPI*)()>(
      lateFunction(comdlg, comdlgFailed, L"comdlg32.dll", "CommDlgExtendedError"));
  return error ? error() : CDERR_INITIALIZATION;
}

HRESULT coInitializeExLate(DWORD flags) {
  auto init = as<HRESULT(WINAPI*)(LPVOID, DWORD)>(lateFunction(ole32, ole32Failed, L"ole32.dll", "CoInitializeEx"));
  return init ? init(nullptr, flags) : E_FAIL;
}

void coUninitializeLate() {
  auto done = as<void(WINAPI*)()>(lateFunction(ole32, ole32Failed, L"ole32.dll", "CoUninitialize"));
  if (done) done();
}

void coTaskMemFreeLate(void* memory) {
  if (!memory) return;
  auto release = as<void(WINAPI*)(LPVOID)>(lateFunction(ole32, ole32Failed, L"ole32.dll", "CoTaskMemFree"));
  if (release) release(memory);
}

HRESULT coCreateInstanceLate(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object) {
  auto create = as<HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**)>(
      lateFunction(ole32, ole32Failed, L"ole32.dll", "CoCreateInstance"));
  return create ? create(clsid, outer, context, iid, object) : E_FAIL;
}

BSTR sysAllocStringLate(const OLECHAR* text) {
  auto alloc = as<BSTR(WINAPI*)(const OLECHAR*)>(
      lateFunction(oleaut32, oleaut32Failed, L"oleaut32.dll", "SysAllocString"));
  return alloc ? alloc(text) : nullptr;
}

void sysFreeStringLate(BSTR text) {
  if (!text) return;
  auto release = as<void(WINAPI*)(BSTR)>(lateFunction(oleaut32, oleaut32Failed, L"oleaut32.dll", "SysFreeString"));
  if (release) release(text);
}

HRESULT variantClearLate(VARIANT* v) {
  auto clear = as<HRESULT(WINAPI*)(VARIANT*)>(lateFunction(oleaut32, oleaut32Failed, L"oleaut32.dll", "VariantClear"));
  return clear ? clear(v) : E_FAIL;
}

}  // namespace tirelmo
