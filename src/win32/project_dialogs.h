// The project dialogs of the main window: link a row to a project (LINKTOPRJDLG), create
// (NEWPRJDLG, NEWPRJDLG_CN), edit or close (EDITPRJDLG) a project and choose the report
// (REPORT_ON_PRJ); and the modal categories dialog (CATEGORIESIDDLG). Control ids are shared
// with project_dialogs.rc.
#pragma once

#define IDC_PRJ_NAME_NEW 1028
#define IDC_PRJ_LIST 1029
#define IDC_PRJ_TASK_TEXT 1034
#define IDC_PRJ_CURRENT 1035
#define IDC_PRJ_NAME_EDIT 1036
#define IDC_PRJ_STATE 1037
#define IDC_PRJ_DATE_FROM 1038  // the deadline picker of NEWPRJDLG and EDITPRJDLG too
#define IDC_PRJ_DATE_TO 1023
// Labels with ids only so that the Chinese texts can replace them.
#define IDC_PRJ_CURRENT_LABEL 1930
#define IDC_PRJ_LIST_LABEL 1931
#define IDC_PRJ_NAME_LABEL 1932
#define IDC_PRJ_STATE_LABEL 1933
#define IDC_PRJ_DEADLINE_LABEL 1934
#define IDC_PRJ_FROM_LABEL 1935
#define IDC_PRJ_TO_LABEL 1936
#define IDC_CATEGORY_FIRST 1147  // 1147..1158: categories 1..12

#ifndef RC_INVOKED

#include <windows.h>

namespace tirelmo {

struct MainWindow;

// Modeless, one of each at a time (asking again brings it forward). The link dialog keeps
// the row it was opened for.
void showLinkProjectDialog(MainWindow& w);
void showNewProjectDialog(MainWindow& w);
void showEditProjectDialog(MainWindow& w);
void showProjectReportDialog(MainWindow& w);

// Modal; on OK the names are stored and saved.
void runCategoriesDialog(MainWindow& w);

// True when the message belonged to one of the modeless dialogs above and was handled; the
// message loop then skips the accelerators and TranslateMessage/DispatchMessage for it.
bool handleProjectDialogMessage(MSG& msg);

}  // namespace tirelmo

#endif  // RC_INVOKED
