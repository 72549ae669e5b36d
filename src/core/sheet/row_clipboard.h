// The row clipboard beside the platform clipboard's text: what Copy and Cut keep of a row
// of today's sheet besides its text.
#pragma once

#include <cstdint>

#include "sheet/todo_row.h"

namespace tirelmo {

// The row clipboard: one row's scores and info block beside the platform clipboard's text.
struct RowClipboard {
  bool full = false;
  bool fromCut = false;
  std::uint8_t scores[10] = {};
  RowInfo info;
};

}  // namespace tirelmo
