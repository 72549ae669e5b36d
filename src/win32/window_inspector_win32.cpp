#include "window_inspector_win32.h"

#include "late_bound.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>

#include "base/log.h"
#include "wide.h"

namespace tirelmo {

namespace {

// ---- UI Automation, as far as the address bar needs it ----------------------------------
// MinGW-w64 ships no usable client interfaces (its uiautomation.h does not even compile as
// C++), so the few we call are declared here. Only the leading part of each vtable is
// declared: every slot up to the last method we call, in the order of the published
// interfaces; the methods after it are never reached through these declarations.

using PropertyId = int;
using PatternId = int;
using ControlTypeId = int;

enum UiaTreeScope { kTreeScopeDescendants = 0x04 };

constexpr PropertyId kUiaControlTypeProperty = 30003;
constexpr PropertyId kUiaNameProperty = 30005;
constexpr PropertyId kUiaClassNameProperty = 30012;
constexpr ControlTypeId kUiaEditControl = 50004;
constexpr ControlTypeId kUiaGroupControl = 50026;
constexpr ControlTypeId kUiaPaneControl = 50033;
constexpr PatternId kUiaValuePattern = 10002;

// {ff48dba4-60ef-4201-aa87-54103eef594e}
constexpr CLSID kClsidCUIAutomation = {0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
// {30cbe57d-d9d0-452a-ab13-7ac5ac4825ee}
constexpr IID kIidIUIAutomation = {0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
// {a94cd8b1-0844-4cd6-9d2d-640537ab39e9}
constexpr IID kIidIUIAutomationValuePattern = {0xa94cd8b1, 0x0844, 0x4cd6, {0x9d, 0x2d, 0x64, 0x05, 0x37, 0xab, 0x39, 0xe9}};

}  // namespace

// The interfaces live outside the anonymous namespace on purpose: for a class in it, the
// compiler knows every class derived from it, finds none that implements these methods, and
// drops every call through them as unreachable. The objects come from the system.
namespace uia {

struct UiaCondition : IUnknown {};

struct UiaElement : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRuntimeId(void** runtimeId) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFirst(UiaTreeScope scope, UiaCondition* condition, UiaElement** found) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAll(UiaTreeScope, UiaCondition*, void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFirstBuildCache(UiaTreeScope, UiaCondition*, void*, UiaElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAllBuildCache(UiaTreeScope, UiaCondition*, void*, void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE BuildUpdatedCache(void*, UiaElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue(PropertyId, VARIANT*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValueEx(PropertyId, BOOL, VARIANT*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValue(PropertyId, VARIANT*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValueEx(PropertyId, BOOL, VARIANT*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPatternAs(PatternId, REFIID, void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCachedPatternAs(PatternId, REFIID, void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPattern(PatternId pattern, IUnknown** object) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCachedPattern(PatternId, IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCachedParent(UiaElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCachedChildren(void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurrentProcessId(int*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurrentControlType(ControlTypeId*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurrentLocalizedControlType(BSTR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurrentName(BSTR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurrentAcceleratorKey(BSTR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurrentAccessKey(BSTR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurrentHasKeyboardFocus(BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurrentIsKeyboardFocusable(BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurrentIsEnabled(BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurrentAutomationId(BSTR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurrentClassName(BSTR* name) = 0;
};

struct UiaValuePattern : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetValue(BSTR) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurrentValue(BSTR* value) = 0;
};

struct UiaAutomation : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CompareElements(UiaElement*, UiaElement*, BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompareRuntimeIds(void*, void*, BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRootElement(UiaElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(void* hwnd, UiaElement** element) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromPoint(POINT, UiaElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFocusedElement(UiaElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRootElementBuildCache(void*, UiaElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromHandleBuildCache(void*, void*, UiaElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromPointBuildCache(POINT, void*, UiaElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFocusedElementBuildCache(void*, UiaElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateTreeWalker(UiaCondition*, void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ControlViewWalker(void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ContentViewWalker(void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RawViewWalker(void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RawViewCondition(UiaCondition**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ControlViewCondition(UiaCondition**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ContentViewCondition(UiaCondition**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateCacheRequest(void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateTrueCondition(UiaCondition**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateFalseCondition(UiaCondition**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreatePropertyCondition(PropertyId property, VARIANT value, UiaCondition** condition) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreatePropertyConditionEx(PropertyId, VARIANT, int, UiaCondition**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateAndCondition(UiaCondition* a, UiaCondition* b, UiaCondition** condition) = 0;
};

}  // namespace uia

namespace {

using uia::UiaAutomation;
using uia::UiaCondition;
using uia::UiaElement;
using uia::UiaValuePattern;

// Owns one COM reference; released on every path out of the capture.
template <class T>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (p_) p_->Release();
  }
  T** out() { return &p_; }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const wchar_t* text) : s_(sysAllocStringLate(text)) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { sysFreeStringLate(s_); }
  BSTR* out() { return &s_; }
  BSTR get() const { return s_; }

 private:
  BSTR s_ = nullptr;
};

class Variant {
 public:
  Variant() { v_.vt = VT_EMPTY; }  // what VariantInit does, without loading its library
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { variantClearLate(&v_); }
  static void int32(Variant& v, int value) {
    v.v_.vt = VT_I4;
    v.v_.lVal = value;
  }
  // The variant owns the string from here on (VariantClear frees it).
  static bool text(Variant& v, const wchar_t* value) {
    v.v_.bstrVal = sysAllocStringLate(value);
    if (!v.v_.bstrVal) return false;
    v.v_.vt = VT_BSTR;
    return true;
  }
  const VARIANT& get() const { return v_; }

 private:
  VARIANT v_;
};

// The logged code is the failing call's HRESULT: COM reports through it, and the thread's
// last-error value says nothing about these calls (it is usually 0). A search that finds
// nothing succeeds with no element: it logs 0.
void logFailure(u16v format, HRESULT hr) { logLine(format, static_cast<int>(hr)); }

bool makePropertyCondition(UiaAutomation& uia, PropertyId property, const Variant& value, ComRef<UiaCondition>& out) {
  const HRESULT hr = uia.CreatePropertyCondition(property, value.get(), out.out());
  if (FAILED(hr) || !out) {
    logFailure(u"CreatePropertyCondition error: %d\n", hr);
    return false;
  }
  return true;
}

// The address-bar container: Edge names it by class and group, the others by the browser
// name on a pane.
bool makeContainerCondition(UiaAutomation& uia, u16v browserName, ComRef<UiaCondition>& out) {
  ComRef<UiaCondition> first;
  ComRef<UiaCondition> second;
  Variant firstValue;
  Variant secondValue;
  const bool edge = browserName == u"Edge";
  const std::wstring name = Wstr(browserName);
  const bool texted = Variant::text(firstValue, edge ? L"LocationBarView" : name.c_str());
  if (!texted) {
    logFailure(u"CreatePropertyCondition error: %d\n", E_OUTOFMEMORY);
    return false;
  }
  Variant::int32(secondValue, edge ? kUiaGroupControl : kUiaPaneControl);
  if (!makePropertyCondition(uia, edge ? kUiaClassNameProperty : kUiaNameProperty, firstValue, first)) return false;
  if (!makePropertyCondition(uia, kUiaControlTypeProperty, secondValue, second)) return false;
  const HRESULT hr = uia.CreateAndCondition(first.get(), second.get(), out.out());
  if (FAILED(hr) || !out) {
    logFailure(u"CreatePropertyCondition error: %d\n", hr);
    return false;
  }
  return true;
}

bool findFirst(UiaElement& from, UiaCondition& condition, ComRef<UiaElement>& found) {
  const HRESULT hr = from.FindFirst(kTreeScopeDescendants, &condition, found.out());
  if (FAILED(hr) || !found) {
    logFailure(u"FindFirst error: %d\n", hr);
    return false;
  }
  return true;
}

bool readAddressBar(HWND window, u16v browserName, u16& value) {
  ComRef<UiaAutomation> uia;
  HRESULT hr = coCreateInstanceLate(kClsidCUIAutomation, nullptr, CLSCTX_INPROC_SERVER, kIidIUIAutomation,
                                reinterpret_cast<void**>(uia.out()));
  if (FAILED(hr) || !uia) {
    logFailure(u"CoCreateInstance error: %d\n", hr);
    return false;
  }
  ComRef<UiaElement> root;
  hr = uia->ElementFromHandle(window, root.out());
  if (FAILED(hr) || !root) {
    logFailure(u"ElementFromHandle error: %d\n", hr);
    return false;
  }
  // Asking for the class proves the element answers before the longer searches begin.
  Bstr rootClass;
  hr = root->get_CurrentClassName(rootClass.out());
  if (FAILED(hr)) {
    logFailure(u"get_CurrentClassName error: %d\n", hr);
    return false;
  }
  ComRef<UiaCondition> containerCondition;
  if (!makeContainerCondition(*uia.get(), browserName, containerCondition)) return false;
  ComRef<UiaElement> container;
  if (!findFirst(*root.get(), *containerCondition.get(), container)) return false;

  Variant editType;
  Variant::int32(editType, kUiaEditControl);
  ComRef<UiaCondition> editCondition;
  if (!makePropertyCondition(*uia.get(), kUiaControlTypeProperty, editType, editCondition)) return false;
  ComRef<UiaElement> edit;
  if (!findFirst(*container.get(), *editCondition.get(), edit)) return false;

  ComRef<IUnknown> pattern;
  hr = edit->GetCurrentPattern(kUiaValuePattern, pattern.out());
  ComRef<UiaValuePattern> valuePattern;
  if (SUCCEEDED(hr) && pattern)
    hr = pattern->QueryInterface(kIidIUIAutomationValuePattern, reinterpret_cast<void**>(valuePattern.out()));
  if (FAILED(hr) || !valuePattern) {
    logFailure(u"GetCurrentPattern error: %d\n", hr);
    return false;
  }
  // An address bar that cannot be read counts as an empty one.
  Bstr text;
  value.clear();
  if (SUCCEEDED(valuePattern->get_CurrentValue(text.out())) && text.get())
    // A BSTR carries its length in bytes just before its first character (SysStringLen).
    value.assign(reinterpret_cast<const char16_t*>(text.get()), reinterpret_cast<const UINT*>(text.get())[-1] / 2);
  return true;
}

}  // namespace

Win32WindowInspector::~Win32WindowInspector() {
  if (comStarted_) coUninitializeLate();
}

WindowId Win32WindowInspector::foreground() { return reinterpret_cast<WindowId>(GetForegroundWindow()); }

u16 Win32WindowInspector::className(WindowId w) {
  wchar_t buf[127];
  const int n = GetClassNameW(reinterpret_cast<HWND>(w), buf, 127);
  return n > 0 ? u16(reinterpret_cast<const char16_t*>(buf), static_cast<std::size_t>(n)) : u16();
}

u16 Win32WindowInspector::title(WindowId w) {
  wchar_t buf[254];
  const int n = GetWindowTextW(reinterpret_cast<HWND>(w), buf, 254);
  return n > 0 ? u16(reinterpret_cast<const char16_t*>(buf), static_cast<std::size_t>(n)) : u16();
}

WindowId Win32WindowInspector::parent(WindowId w) { return reinterpret_cast<WindowId>(GetParent(reinterpret_cast<HWND>(w))); }

bool Win32WindowInspector::visible(WindowId w) { return IsWindowVisible(reinterpret_cast<HWND>(w)) != FALSE; }

u16 Win32WindowInspector::processImageName(WindowId w) {
  DWORD pid = 0;
  if (!GetWindowThreadProcessId(reinterpret_cast<HWND>(w), &pid) || pid == 0) return {};
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return {};
  wchar_t path[MAX_PATH];
  DWORD size = MAX_PATH;
  const BOOL ok = QueryFullProcessImageNameW(process, 0, path, &size);
  CloseHandle(process);
  if (!ok) return {};
  const std::wstring full(path, size);
  const std::size_t slash = full.find_last_of(L"\\/");
  return U(slash == std::wstring::npos ? full : full.substr(slash + 1));
}

bool Win32WindowInspector::addressBarText(WindowId w, u16v browserName, u16& value) {
  if (!comTried_) {
    comTried_ = true;
    // Once per run, on the thread that samples (the UI thread). A thread already in another
    // apartment mode still lets us create in-process objects; it is just not ours to end.
    const HRESULT hr = coInitializeExLate(COINIT_APARTMENTTHREADED);
    comStarted_ = SUCCEEDED(hr);
  }
  u16 read;
  if (!readAddressBar(reinterpret_cast<HWND>(w), browserName, read)) return false;
  value = std::move(read);
  return true;
}

}  // namespace tirelmo
