// Functions of system libraries the program needs only now and then: a sound at the end of a
// pomodoro, the open-file dialog. Their libraries are loaded at the first call, so a start
// pays neither for them nor for what they bring in (the sound library alone pulls in COM).
#pragma once

#include <windows.h>

#include <cderr.h>
#include <commdlg.h>
#include <oleauto.h>

namespace tirelmo {

// PlaySoundW; FALSE when the library or the function is not there (logged once).
BOOL playSoundLate(LPCWSTR sound, DWORD flags);
// Stops a sound; nothing to do when none was ever played.
void stopSoundLate();
// GetOpenFileNameW and CommDlgExtendedError; the error is CDERR_INITIALIZATION when the
// library could not be loaded.
BOOL getOpenFileNameLate(OPENFILENAMEW* ofn);
DWORD commDlgExtendedErrorLate();
// CoInitializeEx, CoUninitialize and CoTaskMemFree, for the folder picker (COM). The
// initialisation answers E_FAIL when the library could not be loaded.
HRESULT coInitializeExLate(DWORD flags);
void coUninitializeLate();
void coTaskMemFreeLate(void* memory);
// CoCreateInstance and the string and variant helpers of the browser address capture (UI
// Automation), which runs only while a browser is in front. E_FAIL / null when the library
// could not be loaded.
HRESULT coCreateInstanceLate(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object);
BSTR sysAllocStringLate(const OLECHAR* text);
void sysFreeStringLate(BSTR text);
HRESULT variantClearLate(VARIANT* v);

}  // namespace tirelmo
