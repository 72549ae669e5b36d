// The main window's small dialogs (Help, About), the bug-report hint and the
// run-at-start-up entry. The control ids are shared with dialogs.rc.
#pragma once

// Help dialog "HELPDLG".
#define IDC_HELP_WRITE_ME 1003
#define IDC_HELP_SCORE_LINE_FIRST 1610  // 1610..1615: the score keys, drawn in a fixed-pitch font
// The labels below carry ids only so that the Chinese texts can replace them.
#define IDC_HELP_GROUP_KEYS 1900
#define IDC_HELP_KEY_FIRST 1901  // 1901..1907: the shortcut keys
#define IDC_HELP_GROUP_SCORES 1908
#define IDC_HELP_GROUP_SUPPORT 1909
#define IDC_HELP_REQUEST 1910

// About dialog "AboutDlg".
#define IDC_ABOUT_DONATE 1516
#define IDC_ABOUT_RELEASE 1601
#define IDC_ABOUT_BUILD 1602
#define IDC_ABOUT_LINK 1603
#define IDC_ABOUT_LINE_FIRST 1911  // 1911..1914: the four lines asking for a donation

#ifndef RC_INVOKED

#include <windows.h>

#include <string>

#include "text/strings.h"

namespace tirelmo {

struct App;

// Modal "HELPDLG": the shortcut keys, the score keys and the support contact. "Write me!"
// closes it and sends command 1113 (comment page) to the owner.
void showHelpDialog(HWND owner, Language lang);

// "AboutDlg": modal for command 1101, modeless for command 1000. "Donate" posts command
// 1120 to the owner and closes; the web-site link posts 1142. The modeless box is a single
// window: asking again brings it forward.
void showAboutDialog(HWND owner, bool modal, Language lang);

// The modeless About box when one is open, else null.
HWND modelessAboutDialog();

// True when the message belonged to a modeless dialog of this file and was handled; the
// message loop then skips TranslateMessage/DispatchMessage for it.
bool handleModelessDialogMessage(MSG& msg);

// Commands 1511 and F7: explains how to send the log; OK opens the default user-data folder
// (where the log is) in the file manager.
void reportBug(App& app, HWND owner);

// Adds or removes the "Tirelmo" value of the current user's Run key for this executable.
void setRunAtStartup(App& app, bool on);

// The shell's folder picker with the title; true and the chosen folder's path, or false
// when the person cancelled or chose something without a file-system path.
bool browseForFolder(HWND owner, const std::u16string& title, std::u16string& path);

}  // namespace tirelmo

#endif  // RC_INVOKED
