// The notification-area (tray) icon of the main window: minimising into it, the icon's
// mouse callback, and its return after the shell restarted.
#pragma once

#include <windows.h>

namespace tirelmo {

struct MainWindow;

struct Tray {
  bool inTray = false;
  UINT taskbarCreated = 0;  // the registered "TaskbarCreated" message
};

// Registers "TaskbarCreated" (the shell broadcasts it when it starts again).
void initTray(MainWindow& w);

// Escape, command 1001, minimising and the timer start: into the tray with the
// bMinimizeToTray setting, else to the taskbar.
void MinimizeToTray(MainWindow& w);

// Command 1512 and a left click on the icon: icon removed, window restored and in front.
void leaveTray(MainWindow& w);

// Message 1029: lParam is the mouse message on the icon.
void onTrayCallback(MainWindow& w, LPARAM mouseMessage);

// "TaskbarCreated": the icon is added again while the window lives in the tray.
void onTaskbarCreated(MainWindow& w);

// Takes the icon away if there is one (shut-down, restore).
bool removeTrayIcon(MainWindow& w);

}  // namespace tirelmo
