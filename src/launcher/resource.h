// Resource ids of Vornel, shared by vornel.rc and vornel.cpp.
#pragma once

#define IDS_APP_TITLE 103
#define IDD_ABOUTBOX 103
#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDI_VORNEL 107
#define IDI_SMALL 108
// Names the window class string, the menu and the accelerator table.
#define IDC_VORNEL 109

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
