// Vornel: starts the main program from the "bin" folder below the current
// folder and ends at once. The window exists only so that the start happens
// from a normal window's creation; it is never shown.
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>

#include "resource.h"

namespace {

constexpr int kMaxLoadString = 100;

HINSTANCE g_instance = nullptr;

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

LRESULT CALLBACK vornelWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        // Relative on purpose: an installation keeps Vornel at the top of its
        // folder and the program in "bin". Whatever the shell answers, the
        // launcher's job ends here; a missing program is reported by the shell.
        ShellExecuteW(window, L"open", L".\\bin\\Tirelmo.exe", nullptr, nullptr, SW_SHOWNORMAL);
        DestroyWindow(window);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_ABOUT:
            DialogBoxW(g_instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), window, aboutProc);
            return 0;
        case IDM_EXIT:
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

ATOM registerVornelClass(HINSTANCE instance, const wchar_t* className)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = vornelWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_VORNEL));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDC_VORNEL);
    wc.lpszClassName = className;
    wc.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SMALL));
    return RegisterClassExW(&wc);
}

} // namespace

int APIENTRY wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    g_instance = instance;
    wchar_t title[kMaxLoadString] = L"";
    wchar_t className[kMaxLoadString] = L"";
    LoadStringW(instance, IDS_APP_TITLE, title, kMaxLoadString);
    LoadStringW(instance, IDC_VORNEL, className, kMaxLoadString);
    registerVornelClass(instance, className);

    // Creation starts the program and destroys the window again, so the
    // usual outcome is no window at all.
    HWND window = CreateWindowW(className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr,
                                nullptr, instance, nullptr);
    if (!window) return 0;

    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDC_VORNEL));
    MSG msg = {};
    BOOL got;
    // GetMessage returns -1 on failure; looping on "non-zero" would spin forever.
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        if (!TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return got == 0 ? static_cast<int>(msg.wParam) : 1;
}
