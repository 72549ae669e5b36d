// The window inspector on Win32: the foreground window's class, title, parent and process,
// and the address bar of a browser read through UI Automation.
#pragma once

#include "platform/window_inspector.h"

namespace tirelmo {

class Win32WindowInspector : public WindowInspector {
 public:
  ~Win32WindowInspector() override;
  WindowId foreground() override;
  u16 className(WindowId w) override;
  u16 title(WindowId w) override;
  WindowId parent(WindowId w) override;
  bool visible(WindowId w) override;
  u16 processImageName(WindowId w) override;
  bool addressBarText(WindowId w, u16v browserName, u16& value) override;

 private:
  bool comTried_ = false;    // the first capture initialises COM on the UI thread
  bool comStarted_ = false;  // ... and it is ours to end
};

}  // namespace tirelmo
