#include "sheet/sheet_load.h"

#include "app/app.h"
#include "app/log.h"

namespace tirelmo {

namespace {

void creditProjectMinutes(App& app, std::int32_t projectId, std::int32_t minutes) {
  for (Project& p : app.projects.active) {
    if (p.id == projectId) {
      p.minutesToday = static_cast<std::uint16_t>(p.minutesToday + static_cast<std::uint32_t>(minutes));
      return;
    }
  }
}

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

void visitLoadedRows(App& app, const RowCarryOver* carryOver, ProjectCredit credit) {
  TodoSheet& sheet = app.sheet;
  for (int i = 0; i < sheet.rowCount(); ++i) {
    TodoRow& row = sheet.rows[static_cast<std::size_t>(i)];
    if (isSeparatorText(row.text)) {
      if (sheet.separatorIndex == -1) {
        sheet.separatorIndex = i;
        row.clearScoresAndInfo();
      } else {
        row.clear();
      }
      sheet.look[static_cast<std::size_t>(i)] = RowLook::Normal;
    } else if (row.isFree()) {
      row.clear();
      sheet.look[static_cast<std::size_t>(i)] = RowLook::Normal;
    } else if (!carryOver) {
      setRowLook(sheet, i);
      if (credit == ProjectCredit::Credit && row.info.projectId != 0 && row.info.minutesToday != 0)
        creditProjectMinutes(app, row.info.projectId, row.info.minutesToday);
    } else {
      carryOver->row(i);
    }
  }
}

}  // namespace tirelmo
