#include "menus_win32.h"

#include <string>

#include "base/log.h"
#include "wide.h"

namespace tirelmo {

namespace {

// The core's labels carry no mnemonics, but category, project and Todolist names are the
// user's own text: a single '&' there would underline the next letter and vanish.
std::wstring menuText(u16v label) {
  std::wstring out;
  out.reserve(label.size());
  for (char16_t c : label) {
    if (c == u'&') out.push_back(L'&');
    out.push_back(static_cast<wchar_t>(c));
  }
  return out;
}

}  // namespace

HMENU createPopupMenuFrom(const Menu& menu) {
  HMENU popup = CreatePopupMenu();
  if (!popup) {
    logLastError(u"CreatePopupMenu");
    return nullptr;
  }
  for (const MenuItem& item : menu) {
    if (item.separator) {
      AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const std::wstring text = menuText(item.label);
    UINT flags = MF_STRING;
    if (item.checked) flags |= MF_CHECKED;
    if (item.grayed) flags |= MF_GRAYED;
    if (!item.submenu.empty()) {
      HMENU sub = createPopupMenuFrom(item.submenu);
      if (!sub) continue;
      // Once appended the submenu belongs to the popup and goes with it.
      if (!AppendMenuW(popup, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str())) {
        logLastError(u"AppendMenu");
        DestroyMenu(sub);
      }
    } else if (!AppendMenuW(popup, flags, static_cast<UINT_PTR>(item.command), text.c_str())) {
      logLastError(u"AppendMenu");
    }
  }
  return popup;
}

void trackPopupMenu(HWND owner, const Menu& menu, POINT screenPoint) {
  HMENU popup = createPopupMenuFrom(menu);
  if (!popup) return;
  // A menu of a window that is not in front would stay open when the user clicks elsewhere
  // (the tray menu opens while the window is hidden).
  SetForegroundWindow(owner);
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0,
                 owner, nullptr);
  // Lets the menu close properly the next time it opens from the tray.
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(popup);
}

}  // namespace tirelmo
