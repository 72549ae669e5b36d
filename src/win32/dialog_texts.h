// The dialog templates carry the English texts; in Chinese a dialog takes its caption and the
// texts of its controls from the string table instead.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "text/strings.h"

namespace tirelmo {

struct ControlText {
  int id;
  Txt text;
};

// Does nothing in English, so the English dialogs stay exactly as their templates draw them.
void translateDialog(HWND dlg, Language lang, Txt caption, std::initializer_list<ControlText> texts);

}  // namespace tirelmo
