#include "projects/categories.h"

#include "app/app.h"
#include "app/day_cycle.h"
#include "app/row_ops.h"
#include "app/todolists.h"
#include "base/log.h"
#include "projects/project_ops.h"
#include "storage/settings.h"
#include "text/format.h"

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

bool setCategoryNames(App& app, const std::vector<u16>& names12) {
  std::vector<u16>& names = app.settings.categories;
  // A list short of its 13 entries (a damaged settings file) gets the defaults first.
  for (std::size_t c = names.size(); c < kCategoryCount; ++c) names.emplace_back(kDefaultCategoryNames[c]);
  // Each name becomes one key=value line of the settings file: a pasted line break would
  // start a key of its own there.
  for (std::size_t c = 1; c < kCategoryCount; ++c)
    names[c] = c - 1 < names12.size() ? oneLineName(names12[c - 1], kCategoryNameCapacity - 1) : u16();
  if (app.settings.cloudEna && app.cloud->available()) {
    for (std::size_t c = 0; c < kCategoryCount; ++c) {
      const int err = app.cloud->uploadCategory(app, static_cast<int>(c), names[c]);
      if (err != 0) logLine(u"Upl cat %d failed, err: %d", static_cast<int>(c), err);
    }
  }
  const bool saved = SaveSettingsToFile(app.settings, app.prompts);
  App::call(app.hooks.pageContentChanged, kPagePreviousDay);
  return saved;
}

bool runRepeatCommand(App& app, int command) {
  if (command != kCmdRepeatOn && command != kCmdRepeatOff) return false;
  const bool on = command == kCmdRepeatOn;
  const int page = app.ui.currentPage;
  const int row = app.ui.currentRow;
  if (page != kPageTodoToday && page != kPageNextThings) {
    logLine(u"Repeat: page %d holds no task rows", page);
    return false;
  }
  // After midnight the flag goes on the new day's sheet, as every row change does.
  if (page == kPageTodoToday && !restartIfDayChanged(app, u"Started on a previous day, repeat not set.")) return false;
  if (!rowops::pageEditable(app, page)) return false;
  TodoSheet& sheet = rowops::pageModel(app, page);
  if (!sheet.validRow(row)) return false;
  App::call(app.hooks.takeEditorTexts);
  const TodoRow& r = sheet.rows[static_cast<std::size_t>(row)];
  if (r.isFree() || (page == kPageTodoToday && (row == sheet.separatorIndex || isSeparatorText(r.text)))) {
    logLine(u"Repeat not set: row %d holds no task", row);
    return false;
  }
  if (r.hasFlag(rowflag::kRepeat) == on) return true;
  setRepeat(sheet, row, on);
  sheet.modified = true;
  logLine(u"Row %d repeat %d", row, on ? 1 : 0);
  if (page == kPageNextThings) {
    if (!saveTodolistInView(app)) {
      const TodolistRegistry& reg = app.todolists;
      app.prompts.show(fmt(app.tr(Txt::TodolistSaveFailed), reg.entries[static_cast<std::size_t>(reg.current)].title),
                       app.tr(Txt::CaptionError), MsgButtons::Ok, MsgIcon::Exclamation);
    }
    App::call(app.hooks.pageRowsChanged, kPageNextThings);
  } else {
    App::call(app.hooks.redrawRow, row);
  }
  return true;
}

}  // namespace tirelmo
