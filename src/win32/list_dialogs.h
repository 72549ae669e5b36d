// (placeholder until the dialogs land; replaced by the dialogs' own header)
#pragma once
#include <windows.h>
namespace tirelmo {
struct MainWindow;
void showNewTodolistDialog(MainWindow& w);
bool runManageTodolistsDialog(MainWindow& w);
void showMoveRowsDialog(MainWindow& w);
void showDeadlineDialog(MainWindow& w);
bool handleListDialogMessage(MSG& msg);
}  // namespace tirelmo
