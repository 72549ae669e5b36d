// What a file name says about a sheet file. Only the name's ending counts (case does not
// matter): "<sheet>.pm6.tmp", the writer's unfinished new version, and "<sheet>.pm6.damaged-1",
// a kept copy of a damaged file, are no sheets.
#pragma once

#include "text/ustring.h"

namespace tirelmo {

enum class SheetFormat { Pom, Pm1, Pm2, Pm3, Pm4, Pm5, Pm6, Unknown };
SheetFormat sheetFormatOfName(u16v name);

// The sheets the previous/next list offers: ".pm6" and ".pm5", not the "_dbg" ones.
bool isListedSheetName(u16v name);

}  // namespace tirelmo
