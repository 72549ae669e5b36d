// The command table of the main window: every menu item, accelerator, toolbar button and
// key reaches its operation through one list of id ranges.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/menus.h"

namespace tirelmo {

struct MainWindow;

struct CommandEntry {
  int first, last;
  void (*run)(MainWindow&, int id);
};

// The commands whose operations exist, in id order.
const std::vector<CommandEntry>& commandTable();

// Runs a command; one without an entry is logged and does nothing. True when it ran.
bool runCommand(MainWindow& w, int id);

// A menu of the core at a screen or client point of the main window; the choice arrives as
// an ordinary command.
void showMenuAtScreen(MainWindow& w, const Menu& menu, POINT screen);
void showMenuAtClient(MainWindow& w, const Menu& menu, int x, int y);

// The context menu of the current row (page 0) or of the Todolist row (page 1).
void showRowMenu(MainWindow& w, int x, int y);

}  // namespace tirelmo
