// The dialogs of the Todolists and of whole rows: a new Todolist, renaming and reordering
// the Todolists, moving several rows to another list, and the deadline of a row. The
// control ids are shared with list_dialogs.rc.
#pragma once

// New Todolist "NEWTDLACTINVDLG".
#define IDC_NEWLIST_NAME 1542

// Manage Todolists "ACTINVTDLDLG".
#define IDC_MANAGE_LISTS 1543

// Move Rows "MOVEROWSDLG".
#define IDC_MOVEROWS_ROWS 1731
#define IDC_MOVEROWS_DESTINATION 1732

// Deadline, dialog 188.
#define IDD_DEADLINE 188
#define IDC_DEADLINE_REMOVE 1741
#define IDC_DEADLINE_CALENDAR 1742
#define IDC_DEADLINE_TASK 1743
#define IDC_DEADLINE_STATE 1744
// Labels with ids only so that the Chinese texts can replace them.
#define IDC_MOVEROWS_DESTINATION_LABEL 1920
#define IDC_DEADLINE_TODO_LABEL 1921

#ifndef RC_INVOKED

#include <windows.h>

#include <functional>

namespace tirelmo {

struct MainWindow;

// Modeless: a name field, "&Create" and Cancel. A refused name is explained and stays
// selected for correcting; a list that could not be written keeps the dialog open. Asking
// again while it is open brings it forward. onClosed runs whenever the dialog ends
// (created or cancelled), so the caller can select its tab again. With 64 Todolists the
// dialog does not open.
void showNewTodolistDialog(MainWindow& w, std::function<void()> onClosed = {});

// Modal: renaming (click a selected item) and reordering (drag) the Todolists. Ok puts the
// registry into the shown order and reloads the list in view; Cancel restores the registry
// as it was. True when Ok changed the registry.
bool runManageTodolistsDialog(MainWindow& w);

// Modeless: several rows of the current page (ToDo Today or the Todolist in view) to a
// Todolist or to today's sheet.
void showMoveRowsDialog(MainWindow& w);

// Modeless: the deadline of the current row of the current page; it acts on the row it was
// opened for.
void showDeadlineDialog(MainWindow& w);

// True when the message belonged to one of the modeless dialogs above and was handled; the
// message loop then skips TranslateMessage/DispatchMessage for it.
bool handleListDialogMessage(MSG& msg);

}  // namespace tirelmo

#endif  // RC_INVOKED
