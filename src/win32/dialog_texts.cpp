#include "dialog_texts.h"

#include "base/log.h"
#include "wide.h"

namespace tirelmo {

void translateDialog(HWND dlg, Language lang, Txt caption, std::initializer_list<ControlText> texts) {
  if (lang != Language::ChineseSimplified) return;
  SetWindowTextW(dlg, Wstr(text(caption, lang)).c_str());
  for (const ControlText& t : texts) {
    // A missing control means the template and this list went apart: say so rather than
    // leave an English text nobody notices.
    if (!SetDlgItemTextW(dlg, t.id, Wstr(text(t.text, lang)).c_str()))
      logLine(u"Dialog text: no control %d to translate", t.id);
  }
}

}  // namespace tirelmo
