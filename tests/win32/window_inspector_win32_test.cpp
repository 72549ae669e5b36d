#include "window_inspector_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "text/ustring.h"

namespace tirelmo {
namespace {

// A hidden top-level window of its own class with a child, removed again by the test.
struct ProbeWindows {
  std::wstring className;
  HWND top = nullptr;
  HWND child = nullptr;

  ProbeWindows(std::wstring cls, const wchar_t* title) : className(std::move(cls)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className.c_str();
    RegisterClassExW(&wc);
    top = CreateWindowExW(0, className.c_str(), title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                          wc.hInstance, nullptr);
    child = CreateWindowExW(0, L"STATIC", L"inner", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, top, nullptr, wc.hInstance,
                            nullptr);
  }
  ~ProbeWindows() {
    DestroyWindow(top);
    UnregisterClassW(className.c_str(), GetModuleHandleW(nullptr));
  }
  WindowId id(HWND h) const { return reinterpret_cast<WindowId>(h); }
};

// Under Wine a window needs an X display; the test command runs these tests without one (the
// end-to-end tests read real windows through the same adapter on their own display).
#define SKIP_WITHOUT_WINDOWS(probe)                                                       \
  if (!(probe).top) GTEST_SKIP() << "no window could be created (no display): " << GetLastError()

TEST(Win32WindowInspector, ReadsClassTitleParentAndVisibilityWithinTheirBuffers) {
  // Class names up to 126 units and titles up to 253 units come through; longer ones are cut
  // by the platform's buffers, never overrun.
  const std::wstring longClass = L"TirelmoProbe" + std::wstring(140, L'c');
  const std::wstring longTitle = L"Caf\u00e9 \u4e2d " + std::wstring(300, L't');
  ProbeWindows probe(longClass, longTitle.c_str());
  SKIP_WITHOUT_WINDOWS(probe);
  ASSERT_NE(probe.child, nullptr);
  Win32WindowInspector inspector;

  const u16 cls = inspector.className(probe.id(probe.top));
  EXPECT_EQ(cls.size(), 126u);
  EXPECT_TRUE(startsWith(cls, u"TirelmoProbeccc"));
  const u16 title = inspector.title(probe.id(probe.top));
  EXPECT_EQ(title.size(), 253u);
  EXPECT_TRUE(startsWith(title, u"Caf\u00e9 \u4e2d ttt"));

  EXPECT_EQ(inspector.parent(probe.id(probe.child)), probe.id(probe.top));
  EXPECT_EQ(inspector.parent(probe.id(probe.top)), 0u);
  EXPECT_EQ(inspector.className(probe.id(probe.child)), u"Static");
  EXPECT_FALSE(inspector.visible(probe.id(probe.top)));
  ShowWindow(probe.top, SW_SHOWNOACTIVATE);
  EXPECT_TRUE(inspector.visible(probe.id(probe.top)));

  // A window that is gone reads as empty.
  HWND gone = probe.child;
  DestroyWindow(probe.child);
  EXPECT_EQ(inspector.className(probe.id(gone)), u"");
  EXPECT_EQ(inspector.title(probe.id(gone)), u"");
  EXPECT_EQ(inspector.processImageName(probe.id(gone)), u"");
}

TEST(Win32WindowInspector, ProcessImageNameIsTheBareFileName) {
  ProbeWindows probe(L"TirelmoProbeProcess", L"probe");
  SKIP_WITHOUT_WINDOWS(probe);
  Win32WindowInspector inspector;
  EXPECT_TRUE(equalsNoCase(inspector.processImageName(probe.id(probe.top)), u"win32_adapter_tests.exe"));
}

TEST(Win32WindowInspector, AWindowWithoutAnAddressBarLeavesTheValueAlone) {
  // No address-bar container in this window (and under Wine no UI Automation at all): the
  // capture fails and the caller's text is untouched, on every call.
  ProbeWindows probe(L"TirelmoProbeBrowser", L"Page - Google Chrome");
  Win32WindowInspector inspector;
  u16 value = u"before";
  EXPECT_FALSE(inspector.addressBarText(probe.id(probe.top), u"Google Chrome", value));
  EXPECT_FALSE(inspector.addressBarText(probe.id(probe.top), u"Edge", value));
  EXPECT_EQ(value, u"before");
}

}  // namespace
}  // namespace tirelmo
