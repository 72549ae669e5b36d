// The main window: class registration, creation and the window procedure.
#pragma once

#include <windows.h>

#include "app/app.h"

namespace tirelmo {

inline constexpr wchar_t kMainWindowClass[] = L"Tirelmo";
inline constexpr wchar_t kMainWindowTitle[] = L"Tirelmo - v2.3.3.0";

ATOM registerMainWindowClass(HINSTANCE instance);
// Creates the window at the stored position and size; nullptr on failure.
HWND createMainWindow(HINSTANCE instance, App& app);

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace tirelmo
