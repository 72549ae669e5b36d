// Canned windows for the usage sampling: windows by id with a class, a title and a parent,
// and an address bar that answers with a scripted text or fails.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "platform/window_inspector.h"
#include "text/ustring.h"

namespace tirelmo::test {

class FakeWindows : public WindowInspector {
 public:
  struct Window {
    u16 className;
    u16 title;
    WindowId parent = 0;
    bool visible = true;
    u16 image;
  };

  std::map<WindowId, Window> windows;
  WindowId front = 0;
  // What the address bar shows (not yet reduced); nothing makes the capture fail.
  std::optional<u16> address;
  // The browser names the capture was asked with, in order.
  std::vector<u16> addressAsks;

  // Adds a window and puts it in front; returns its id.
  WindowId show(u16v cls, u16v title, WindowId parent = 0) {
    WindowId id = windows.size() + 1;
    windows[id] = Window{u16(cls), u16(title), parent, true, u16()};
    front = id;
    return id;
  }

  WindowId foreground() override { return front; }
  u16 className(WindowId w) override { return find(w) ? find(w)->className : u16(); }
  u16 title(WindowId w) override { return find(w) ? find(w)->title : u16(); }
  WindowId parent(WindowId w) override { return find(w) ? find(w)->parent : 0; }
  bool visible(WindowId w) override { return find(w) && find(w)->visible; }
  u16 processImageName(WindowId w) override { return find(w) ? find(w)->image : u16(); }
  bool addressBarText(WindowId w, u16v browserName, u16& value) override {
    addressAsks.emplace_back(browserName);
    if (!find(w) || !address) return false;
    value = *address;
    return true;
  }

 private:
  const Window* find(WindowId w) const {
    auto it = windows.find(w);
    return it == windows.end() ? nullptr : &it->second;
  }
};

}  // namespace tirelmo::test
