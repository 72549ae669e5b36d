// The usage delete dialog "APPUSAGEDELDLG" (command 1541). Control ids shared with
// usage_dialog.rc.
#pragma once

#define IDC_USAGE_LIST 1029

#ifndef RC_INVOKED

namespace tirelmo {

struct MainWindow;

// Modeless, one at a time; Delete removes the entry the selected line shows (by name) and
// sends command 1547 (redraw the page) to the main window.
void showUsageDeleteDialog(MainWindow& w);

}  // namespace tirelmo

#endif  // RC_INVOKED
