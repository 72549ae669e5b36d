// Resource identifiers of Tirelmo.exe, and the ids of the main window's child windows,
// messages and timers (they share the numbering the program has always used).
#pragma once

#define IDI_TIRELMO 149
#define IDR_ACCELERATORS 183

// Custom messages of the main window.
#define WM_TRAY_CALLBACK 1029
#define WM_PROJECT_CLOSED 1030
#define WM_LOCATION_RESULT 1031
#define WM_ROW_EDITOR_FOCUS 1532

// Child windows.
#define IDC_ROW_MARKER 173         // the row marker button; also its command
#define IDC_PAGE_TABS 1300
#define IDC_TODOLIST_TABS 1301
#define IDC_SHEET_EDITOR_FIRST 2000   // 2000..2024, the rows of the ToDo sheet
#define IDC_LIST_EDITOR_FIRST 2025    // 2025..2074, the rows of the Todolist in view

#define IDB_MARKER_BUTTON 172

// The version-check notice DLG_CHKVER: ids only so that the Chinese texts can replace them.
#define IDC_CHKVER_LINE_FIRST 1960  // 1960..1962, its three lines

// The tray icon of the main window.
#define ID_TRAY_ICON 1014

// Platform timers of the main window.
#define TIMER_POMODORO 400
#define TIMER_USAGE_SAMPLE 407
#define TIMER_LIST_EDITORS 408
