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
// The group boxes and labels, texted in the language in use when the dialog opens.
#define IDC_SET_GROUP_TIMER 1800
#define IDC_SET_GROUP_LOOK 1801
#define IDC_SET_GROUP_BEHAVIOUR 1802
#define IDC_SET_POMODORO_LABEL 1803
#define IDC_SET_BREAK_LABEL 1804
#define IDC_SET_TIMER_TYPE_LABEL 1805
#define IDC_SET_SKIN_LABEL 1806
#define IDC_SET_FONT_LABEL 1807
#define IDC_SET_SIZE_LABEL 1808
#define IDC_SET_LANGUAGE_LABEL 1809
#define IDC_SET_DATA_DIR_LABEL 1810

#ifndef RC_INVOKED

namespace tirelmo {

struct MainWindow;

// Command 4026 and the toolbar's settings button.
void runSettingsDialog(MainWindow& w);

}  // namespace tirelmo

#endif  // RC_INVOKED
