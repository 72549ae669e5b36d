// The usage delete dialog "APPUSAGEDELDLG" (command 1541). Control ids shared with
// usage_dialog.rc.
#pragma once

#define IDC_USAGE_LIST 1029
#define IDC_USAGE_LIST_LABEL 1940  // an id only so that the Chinese text can replace it

#ifndef RC_INVOKED

#include <windows.h>

namespace tirelmo {

struct MainWindow;

// Modeless, one at a time; Delete removes the entry the selected line shows (by name) and
// sends command 1547 (redraw the page) to the main window.
void showUsageDeleteDialog(MainWindow& w);

// True when the message belonged to the open delete dialog and was handled; the message
// loop then skips the accelerators and TranslateMessage/DispatchMessage for it.
bool handleUsageDialogMessage(MSG& msg);

}  // namespace tirelmo

#endif  // RC_INVOKED
