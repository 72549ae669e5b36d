// The dialog templates carry the English texts; in Chinese a dialog takes its caption and the
// texts of its controls from the string table instead, by the table of its template here.
#pragma once

#include <windows.h>

#include "text/strings.h"

namespace tirelmo {

// Does nothing in English, so the English dialogs stay exactly as their templates draw them.
// templateName: the dialog's resource name, e.g. L"HELPDLG".
void translateDialog(HWND dlg, Language lang, const wchar_t* templateName);

}  // namespace tirelmo
