// The fonts of the ToDo page, chosen from the font settings, the layout kind and the
// language. Only descriptions: the platform side turns them into real fonts and caches them.
#pragma once

#include "platform/canvas.h"
#include "text/strings.h"

namespace tirelmo {

struct Settings;

struct UiFonts {
  FontSpec row;               // the "font" setting at "fontsize" (Bradley Hand ITC bold)
  FontSpec doneRow;           // the same, normal weight, struck out
  FontSpec small17;           // same face at 17
  FontSpec small12;           // same face at 12
  FontSpec info;              // project names, deadline labels, today's worked time
  FontSpec rowNote;           // the repeat mark and the earlier-days information
  FontSpec label9;            // Verdana 9
  FontSpec label13;           // Verdana 13
  FontSpec scoreCount;        // the " x%d" counts: Microsoft YaHei 16
  FontSpec headerForm;        // the blank form fields of the sheet header
  FontSpec segoePrintTotals;  // the day's totals written over the form
  FontSpec gauge;             // "abandoned: %d%%"
};

UiFonts makeUiFonts(const Settings& settings, int layoutKind, Language language);

// The info font height in the large-rows layout, by face name (16 for an unlisted face).
int largeRowsInfoFontHeight(u16v face);

}  // namespace tirelmo
