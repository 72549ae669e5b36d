// Rows moving between today's sheet and the Todolists, each list in its own file. A task
// must end up in exactly one file: the rows leave the source, the source is saved, they
// are placed and the destination is saved, and whatever found no place (or could not be
// saved there) goes back into the source, which is saved again.
#include <algorithm>

#include "app/app.h"
#include "app/row_editing.h"
#include "app/row_ops.h"
#include "app/scores.h"
#include "app/sheet_io.h"
#include "app/todolists.h"
#include "base/log.h"

namespace tirelmo {

using namespace rowops;

namespace {

constexpr std::size_t kMaxTransferRows = 50;

struct Pending {
  int from;  // the row it left in the source
  TodoRow row;
  RowLook look;
};

// Puts rows into free rows of the model, in order: a row that comes back home takes its
// own row when that is still free, any other the first free row. Returns where each went
// (with where it came from) and leaves in `rows` what found no place.
struct Placed {
  int at;
  int from;
};
std::vector<Placed> placeRows(TodoSheet& model, std::vector<Pending>& rows, bool home) {
  std::vector<Placed> placed;
  std::size_t n = 0;
  for (; n < rows.size(); ++n) {
    const int from = rows[n].from;
    const int at = home && model.validRow(from) && model.rows[static_cast<std::size_t>(from)].isFree()
                       ? from
                       : firstFreeRow(model);
    if (at < 0) break;
    model.rows[static_cast<std::size_t>(at)] = std::move(rows[n].row);
    model.look[static_cast<std::size_t>(at)] = rows[n].look;
    placed.push_back({at, from});
  }
  rows.erase(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(n));
  if (!placed.empty()) model.modified = true;
  return placed;
}

// Takes placed rows back out of the model (a save that failed).
void unplaceRows(TodoSheet& model, const std::vector<Placed>& placed, std::vector<Pending>& into) {
  std::vector<Pending> back;
  for (const Placed& p : placed) {
    back.push_back({p.from, std::move(model.rows[static_cast<std::size_t>(p.at)]), model.look[static_cast<std::size_t>(p.at)]});
    emptyRow(model, p.at);
  }
  into.insert(into.begin(), std::make_move_iterator(back.begin()), std::make_move_iterator(back.end()));
}

bool saveList(App& app) {
  recountListInView(app);
  App::call(app.hooks.pageRowsChanged, kPageNextThings);
  return saveTodolistInView(app);
}

// Rows leaving today's sheet for a list: a done task first loses its done mark (the day
// has counted it), and today's work is erased after the question.
bool mayLeaveTodaySheet(App& app, const std::vector<int>& taken) {
  const auto done = std::find_if(taken.begin(), taken.end(),
                                 [&](int i) { return app.sheet.rows[static_cast<std::size_t>(i)].isDone(); });
  if (done != taken.end()) {
    if (taken.size() == 1 && *done == app.ui.currentRow) {
      if (app.prompts.show(app.tr(Txt::MoveDoneTask), app.tr(Txt::CaptionApp), MsgButtons::YesNo,
                           MsgIcon::Question) == MsgAnswer::Yes)
        App::call(app.hooks.sendCommand, kCmdRemoveDoneScore);
    } else {
      app.prompts.show(app.tr(Txt::MoveDoneTasks), app.tr(Txt::CaptionApp), MsgButtons::Ok, MsgIcon::Information);
    }
    return false;
  }
  const bool work = std::any_of(taken.begin(), taken.end(),
                                [&](int i) { return hasTodayWork(app.sheet.rows[static_cast<std::size_t>(i)]); });
  if (!work) return true;
  if (app.prompts.show(app.tr(Txt::MoveErasesScores), app.tr(Txt::CaptionApp), MsgButtons::YesNo,
                       MsgIcon::Question) != MsgAnswer::Yes)
    return false;
  for (int i : taken)
    if (hasTodayWork(app.sheet.rows[static_cast<std::size_t>(i)])) eraseTodayWork(app, i);
  return true;
}

}  // namespace

int transferRows(App& app, int sourcePage, const std::vector<int>& rows, int destination) {
  if (sourcePage != kPageTodoToday && sourcePage != kPageNextThings) return 0;
  const bool toToday = destination == kTransferToToday;
  if (!toToday && !app.todolists.valid(destination)) return 0;
  if ((toToday && sourcePage == kPageTodoToday) ||
      (!toToday && sourcePage == kPageNextThings && destination == app.todolists.current)) {
    logLine(u"Move Rows: source and destination are the same list");
    return 0;
  }
  if (dayChangedStop(app)) return 0;
  if (!pageEditable(app, sourcePage)) return 0;
  if (toToday && !pageEditable(app, kPageTodoToday)) return 0;

  TodoSheet& source = pageModel(app, sourcePage);
  std::vector<int> taken;
  for (int i : rows) {
    if (taken.size() == kMaxTransferRows) break;
    if (!source.validRow(i) || source.rows[static_cast<std::size_t>(i)].isFree()) continue;
    if (std::find(taken.begin(), taken.end(), i) != taken.end()) continue;
    if (sourcePage == kPageTodoToday && (i == app.sheet.separatorIndex || isTimerRow(app, i))) {
      logLine(u"Move Rows: row %d stays", i);
      continue;
    }
    taken.push_back(i);
  }
  if (taken.empty()) return 0;
  if (sourcePage == kPageTodoToday && !mayLeaveTodaySheet(app, taken)) return 0;

  // 1. The rows leave the source, which is saved without them.
  std::vector<Pending> pending;
  for (int i : taken) {
    pending.push_back({i, std::move(source.rows[static_cast<std::size_t>(i)]), source.look[static_cast<std::size_t>(i)]});
    emptyRow(source, i);
  }
  source.modified = true;
  const int listBefore = app.todolists.current;
  App::call(app.hooks.pageRowsChanged, sourcePage);
  const bool sourceSaved = sourcePage == kPageTodoToday ? saveTodoSheet(app, true) : saveList(app);
  if (!sourceSaved) {
    // Nothing has moved on disk: the rows go back where they were.
    for (Pending& p : pending) {
      source.rows[static_cast<std::size_t>(p.from)] = std::move(p.row);
      source.look[static_cast<std::size_t>(p.from)] = p.look;
    }
    if (sourcePage == kPageNextThings) recountListInView(app);
    App::call(app.hooks.pageRowsChanged, sourcePage);
    logLine(u"Move Rows: the source could not be saved, nothing moved");
    return 0;
  }
  const std::size_t total = pending.size();
  logLine(u"Move Rows: %d rows to %d", static_cast<int>(total), destination);

  // 2. Into the destination, saved there.
  bool noRoom = false;
  if (toToday) {
    const std::vector<Placed> placed = placeRows(app.sheet, pending, false);
    noRoom = !pending.empty();
    if (!placed.empty() && !saveTodoSheet(app, true)) unplaceRows(app.sheet, placed, pending);
    App::call(app.hooks.pageRowsChanged, kPageTodoToday);
  } else {
    const bool inView = destination == app.todolists.current || switchTodolist(app, destination);
    if (inView && !app.todolist.readOnly) {
      const std::vector<Placed> placed = placeRows(app.todolist, pending, false);
      noRoom = !pending.empty();
      if (!placed.empty() && !saveList(app)) {
        unplaceRows(app.todolist, placed, pending);
        // The list is again what its file holds.
        app.todolist.modified = false;
        recountListInView(app);
      }
    }
  }
  if (noRoom)
    app.prompts.show(app.tr(Txt::NoFreeRowsOnDestination), app.tr(Txt::CaptionVersion), MsgButtons::Ok,
                     MsgIcon::Information);

  // 3. What found no place goes back into the source, saved again.
  const std::size_t moved = total - pending.size();
  if (!pending.empty()) {
    logLine(u"Move Rows: %d rows back to the source", static_cast<int>(pending.size()));
    if (sourcePage == kPageTodoToday) {
      placeRows(app.sheet, pending, true);
      if (!saveTodoSheet(app, true)) logLine(u"Move Rows: the rows are back on the sheet, not yet saved");
    } else {
      if (app.todolists.current != listBefore && !switchTodolist(app, listBefore))
        logLine(u"Move Rows: the rows stay in the list in view, not yet saved");
      placeRows(app.todolist, pending, true);
      if (!saveList(app)) logLine(u"Move Rows: the rows are back in the list, not yet saved");
    }
    // Only a model without room for its own rows back could keep any; it had them a moment ago.
    if (!pending.empty()) logLine(u"Move Rows: %d rows found no row to go back to", static_cast<int>(pending.size()));
  }

  // 4. The list that was in view comes back.
  if (app.todolists.current != listBefore && app.todolists.valid(listBefore)) switchTodolist(app, listBefore);
  if (sourcePage == kPageTodoToday || toToday) {
    App::call(app.hooks.pageRowsChanged, kPageTodoToday);
    App::call(app.hooks.redrawTotals);
  }
  if (sourcePage == kPageNextThings || !toToday) App::call(app.hooks.listDisplayed);
  return static_cast<int>(moved);
}

bool moveCurrentRowToList(App& app, int destination) {
  const int page = app.ui.currentPage;
  if (page != kPageTodoToday && page != kPageNextThings) return false;
  const int row = app.ui.currentRow;
  const TodoSheet& source = pageModel(app, page);
  if (!source.validRow(row) || source.rows[static_cast<std::size_t>(row)].isFree()) return false;
  if (!pageEditable(app, page)) return false;
  if (page == kPageTodoToday) {
    // Move Rows passes over these quietly; asked for one by one they get a reason.
    if (row == app.sheet.separatorIndex) {
      app.prompts.show(app.tr(Txt::SeparatorRowFixed), app.tr(Txt::CaptionApp), MsgButtons::Ok, MsgIcon::Exclamation);
      return false;
    }
    if (isTimerRow(app, row)) {
      app.prompts.show(app.tr(Txt::TimerRowLocked), app.tr(Txt::CaptionApp), MsgButtons::Ok, MsgIcon::Exclamation);
      return false;
    }
  }
  return transferRows(app, page, {row}, destination) == 1;
}

}  // namespace tirelmo
