// The window inspector port: what the usage sampling may learn about the window in front —
// its class, title, parent and process — and the text of a browser's address bar.
#pragma once

#include <cstdint>

#include "text/ustring.h"

namespace tirelmo {

// A top-level or child window of any program; 0 is no window.
using WindowId = std::uintptr_t;

class WindowInspector {
 public:
  virtual ~WindowInspector() = default;
  // The window the user works in; 0 when there is none (a locked screen).
  virtual WindowId foreground() = 0;
  // Class name (at most 126 units) and title (at most 253 units); empty when unreadable.
  virtual u16 className(WindowId w) = 0;
  virtual u16 title(WindowId w) = 0;
  // The parent or owner window; 0 for none.
  virtual WindowId parent(WindowId w) = 0;
  virtual bool visible(WindowId w) = 0;
  // File name of the program that owns the window ("chrome.exe"); empty when unknown.
  virtual u16 processImageName(WindowId w) = 0;
  // The text of the browser's address bar, as the accessibility interface shows it (not yet
  // reduced). False on any failure, which the adapter has logged; `value` is then untouched.
  virtual bool addressBarText(WindowId w, u16v browserName, u16& value) = 0;
};

// No windows at all: used until the window side installs the real inspector, and by tests.
class NoWindows : public WindowInspector {
 public:
  WindowId foreground() override { return 0; }
  u16 className(WindowId) override { return {}; }
  u16 title(WindowId) override { return {}; }
  WindowId parent(WindowId) override { return 0; }
  bool visible(WindowId) override { return false; }
  u16 processImageName(WindowId) override { return {}; }
  bool addressBarText(WindowId, u16v, u16&) override { return false; }
};

}  // namespace tirelmo
