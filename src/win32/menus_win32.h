// Native popup menus from the core's menu data.
#pragma once

#include <windows.h>

#include "ui/menus.h"

namespace tirelmo {

// A popup menu holding the items (and their submenus); the caller destroys it with DestroyMenu.
HMENU createPopupMenuFrom(const Menu& menu);

// Shows the menu at the screen point and waits for the choice; the chosen command reaches
// the owner as an ordinary WM_COMMAND.
void trackPopupMenu(HWND owner, const Menu& menu, POINT screenPoint);

}  // namespace tirelmo
