// The modal Settings dialog (DLG_SETTINGS): timer, look, language, behaviour and the data
// folder. Control ids are shared with settings_dialog.rc.
#pragma once

#define IDC_SET_RING 1004
#define IDC_SET_TICK 1005
#define IDC_SET_POMODORO 1006
#define IDC_SET_SKIN 1007
#define IDC_SET_FONT 1008
#define IDC_SET_BREAK 1009
#define IDC_SET_SIZE 1011
#define IDC_SET_TIMER_TYPE 1012
#define IDC_SET_MINIMIZE 1013
#define IDC_SET_DATA_DIR 1015
#define IDC_SET_BROWSE 1016
#define IDC_SET_LANGUAGE 1018
#define IDC_SET_PROJECT_NAMES 1022
#define IDC_SET_RUN_AT_STARTUP 1023

#ifndef RC_INVOKED

namespace tirelmo {

struct MainWindow;

// Command 4026 and the toolbar's settings button.
void runSettingsDialog(MainWindow& w);

}  // namespace tirelmo

#endif  // RC_INVOKED
