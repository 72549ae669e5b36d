#include "projects/categories.h"

#include "app/app.h"
#include "base/log.h"
#include "app/day_cycle.h"

namespace tirelmo {

int categoryOfCommand(int command) {
  if (command >= kCmdCategoryRed && command <= kCmdCategoryLast) return (command & 255) - 122;
  if (command == kCmdCategoryNone) return 0;
  return -1;
}

bool setRowCategory(App& app, int row, int category) {
  if (category < 0 || category > kMaxCategory) {
    logLine(u"Category %d out of range, not set", category);
    return false;
  }
  // The row must be today's: after midnight the new day's sheet is made first, as for scores.
  if (isDayChanged(app)) {
    logLine(u"Started on a previous day, category set on the new sheet.");
    if (!CloseAppStartedYesterday(app)) return false;
  }
  TodoSheet& sheet = app.sheet;
  if (!isTodaySheet(sheet, app.start.today)) {
    app.prompts.show(app.tr(Txt::OpenTodayListFirst), app.tr(Txt::CaptionApp), MsgButtons::Ok, MsgIcon::Warning);
    return false;
  }
  if (!sheet.validRow(row)) {
    logLine(u"Category %d: no row %d", category, row);
    return false;
  }
  // The editor may hold text the model has not seen yet.
  App::call(app.hooks.takeEditorTexts);
  TodoRow& r = sheet.rows[static_cast<std::size_t>(row)];
  if (r.isFree() || row == sheet.separatorIndex || isSeparatorText(r.text)) {
    logLine(u"Category %d not set: row %d holds no task", category, row);
    return false;
  }
  if (r.info.category != category) {
    r.info.category = static_cast<std::uint8_t>(category);
    sheet.modified = true;
  }
  App::call(app.hooks.redrawRow, row);
  return true;
}

bool runCategoryCommand(App& app, int command) {
  const int category = categoryOfCommand(command);
  if (category < 0) return false;
  if (app.ui.currentPage != 0) {
    logLine(u"Category %d: only rows of the ToDo Today page take a category", category);
    return false;
  }
  return setRowCategory(app, app.ui.currentRow, category);
}

}  // namespace tirelmo
