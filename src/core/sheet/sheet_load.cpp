#include "sheet/sheet_load.h"

#include "base/log.h"

namespace tirelmo {

namespace {

}  // namespace

std::string readOpenFile(FileHandle h, std::uint32_t maxBytes) {
  std::string out;
  if (h == kInvalidFile) return out;
  out.resize(maxBytes);
  std::uint32_t total = 0;
  while (total < maxBytes) {
    std::uint32_t got = 0;
    if (!fileRead(h, out.data() + total, maxBytes - total, got)) {
      logLastError(u"ReadFile");
      break;
    }
    if (got == 0) break;
    total += got;
  }
  out.resize(total);
  return out;
}

}  // namespace tirelmo
