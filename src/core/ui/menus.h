// The main window's menus as plain data. Each menu is built at the moment it opens, from
// the state of that moment (the sheet on display, the current row, the timer, the language),
// so the window side only turns the data into a native menu and tracks it.
#pragma once

#include <vector>

#include "text/ustring.h"

namespace tirelmo {

struct App;

struct MenuItem {
  int command = 0;
  u16 label;
  bool separator = false;
  bool checked = false;
  bool grayed = false;
  std::vector<MenuItem> submenu;  // not empty: the item opens this submenu
};
using Menu = std::vector<MenuItem>;

// Labels are plain text: no mnemonic markers; a '\t' separates the shortcut shown on the right.
// They follow the Language setting (English or Chinese).
//
// The menus that offer "Move Current Row to.." list the Todolists by title, in tab order; the
// caller passes the titles (list n gets command kCmdTodolistFirst + n, at most
// kMaxTodolistItems of them). Without titles only "Todo Today" is offered.
Menu buildPageMenu(const App& app, const std::vector<u16>& todolistTitles = {});
Menu buildHelpMenu(const App& app);
Menu buildShareMenu(const App& app);
Menu buildTrayMenu(const App& app);
Menu buildEstimateMenu(const App& app);
Menu buildProjectButtonMenu(const App& app);
Menu buildDeleteEntriesMenu(const App& app);
// The right-click menu of a row of the ToDo sheet (the current row, app.ui.currentRow).
Menu buildRowContextMenu(const App& app, bool timerRunning,
                         const std::vector<u16>& todolistTitles = {});
// The right-click menu of a row on the Next Things page (Todolists).
Menu buildTodolistRowMenu(const App& app, const std::vector<u16>& todolistTitles = {});

// Category n (1..12) is set by command kCmdCategoryFirst + n - 1; category 0 by kCmdNoCategory.
inline constexpr int kCmdCategoryFirst = 1147;
inline constexpr int kCmdNoCategory = 1159;
// Todolist n (0-based, tab order) is the target of command kCmdTodolistFirst + n.
inline constexpr int kCmdTodolistFirst = 1550;
inline constexpr int kCmdTodoToday = 1614;
// The Todolist commands end where "Todo Today" begins.
inline constexpr int kMaxTodolistItems = kCmdTodoToday - kCmdTodolistFirst;

}  // namespace tirelmo
