#include "sheet/sheet_names.h"

namespace tirelmo {

SheetFormat sheetFormatOfName(u16v name) {
  static const struct {
    const char16_t* ext;
    SheetFormat format;
  } kinds[] = {{u".pom", SheetFormat::Pom}, {u".pm1", SheetFormat::Pm1}, {u".pm2", SheetFormat::Pm2},
               {u".pm3", SheetFormat::Pm3}, {u".pm4", SheetFormat::Pm4}, {u".pm5", SheetFormat::Pm5},
               {u".pm6", SheetFormat::Pm6}};
  for (const auto& k : kinds)
    if (endsWithNoCase(name, k.ext)) return k.format;
  return SheetFormat::Unknown;
}

bool isListedSheetName(u16v name) {
  const SheetFormat format = sheetFormatOfName(name);
  if (format != SheetFormat::Pm6 && format != SheetFormat::Pm5) return false;
  return !endsWithNoCase(name.substr(0, name.size() - 4), u"_dbg");
}

}  // namespace tirelmo
