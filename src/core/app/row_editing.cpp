#include "app/row_editing.h"

#include <algorithm>
#include <numeric>

#include "app/app.h"
#include "app/day_cycle.h"
#include "app/row_ops.h"
#include "app/scores.h"
#include "base/log.h"
#include "projects/project_store.h"
#include "stats/month_stats.h"
#include "todolists/todolist_registry.h"

namespace tirelmo {

namespace rowops {

TodoSheet& pageModel(App& app, int page) { return page == kPageNextThings ? app.todolist : app.sheet; }

bool pageEditable(App& app, int page) {
  if (page == kPageTodoToday) {
    // An earlier day's sheet is a record of that day: none of its rows change.
    if (app.sheet.readOnly || !isTodaySheet(app.sheet, app.start.today)) {
      app.prompts.show(app.tr(Txt::OpenTodayListFirst), app.tr(Txt::CaptionApp), MsgButtons::Ok,
                       MsgIcon::Exclamation);
      return false;
    }
    return true;
  }
  if (page == kPageNextThings) {
    if (!app.todolists.valid(app.todolists.current)) {
      logLine(u"No Todolist in view, rows not changed");
      return false;
    }
    // What could not be read is not known: changing it would be saved over the real file.
    if (app.todolist.readOnly) {
      app.prompts.show(app.tr(Txt::TodolistReadOnly), app.tr(Txt::CaptionApp), MsgButtons::Ok,
                       MsgIcon::Exclamation);
      return false;
    }
    return true;
  }
  logLine(u"Rows can be changed on the ToDo pages only (page %d)", page);
  return false;
}

bool dayChangedStop(App& app) {
  if (!isDayChanged(app)) return false;
  logLine(u"wont allow to move row. ");
  CloseAppStartedYesterday(app);
  return true;
}

bool hasTodayWork(const TodoRow& r) {
  return r.info.minutesToday != 0 || r.pomodoros != 0 || r.internalInterruptions != 0 ||
         r.externalInterruptions != 0 || r.abandoned != 0;
}

void eraseTodayWork(App& app, int row) {
  TodoRow& r = app.sheet.rows[static_cast<std::size_t>(row)];
  if (r.info.projectId != 0 && r.info.minutesToday > 0 &&
      !subtractProjectMinutes(app, r.info.projectId, r.info.minutesToday))
    logLine(u"Err: could not dec %d' to prj %d", r.info.minutesToday, r.info.projectId);
  // The removals act on the selected row of the page on display.
  const int page = app.ui.currentPage;
  const int current = app.ui.currentRow;
  app.ui.currentPage = kPageTodoToday;
  app.ui.currentRow = row;
  for (ScoreKind kind : {ScoreKind::Pomodoro, ScoreKind::InternalInterruption, ScoreKind::ExternalInterruption,
                         ScoreKind::Abandoned}) {
    while (r.counter(kind) != 0 && removeScore(app, kind)) {
    }
  }
  app.ui.currentPage = page;
  app.ui.currentRow = current;
  // Abandoned time stays on the row after its score went; the project lost it above, so the
  // day loses it too.
  if (r.info.minutesToday > 0) {
    DayStats& day = todayTotals(app);
    day.setWorkedTime(std::max<std::int64_t>(0, day.workedTime() - r.info.minutesToday));
    r.info.minutesToday = 0;
  }
  copyDayTotalsToMonth(app);
}

int firstFreeRow(const TodoSheet& sheet) {
  for (int i = 0; i < sheet.rowCount(); ++i)
    if (sheet.rows[static_cast<std::size_t>(i)].isFree()) return i;
  return -1;
}

bool isTimerRow(const App& app, int row) { return app.timer.pomodoroRunning() && app.timer.row == row; }

void recountListInView(App& app) {
  if (app.todolists.valid(app.todolists.current))
    countTodolistRows(app.todolist, app.start.today,
                      app.todolists.entries[static_cast<std::size_t>(app.todolists.current)]);
}

void emptyRow(TodoSheet& sheet, int row) {
  sheet.rows[static_cast<std::size_t>(row)].clear();
  sheet.look[static_cast<std::size_t>(row)] = RowLook::Normal;
}

}  // namespace rowops

using namespace rowops;

namespace {

bool isRowPage(int page) { return page == kPageTodoToday || page == kPageNextThings; }

bool isSeparatorRow(const App& app, int page, int row) {
  return page == kPageTodoToday && row == app.sheet.separatorIndex;
}

void refuse(App& app, Txt text) {
  app.prompts.show(app.tr(text), app.tr(Txt::CaptionApp), MsgButtons::Ok, MsgIcon::Exclamation);
}

// The separator and the running pomodoro's task keep their rows: refused with the message.
bool rowMayLeave(App& app, int page, int row) {
  if (isSeparatorRow(app, page, row)) {
    refuse(app, Txt::SeparatorRowFixed);
    return false;
  }
  if (page == kPageTodoToday && isTimerRow(app, row)) {
    refuse(app, Txt::TimerRowLocked);
    return false;
  }
  return true;
}

void rowsChanged(App& app, int page) {
  pageModel(app, page).modified = true;
  if (page == kPageNextThings) recountListInView(app);
  App::call(app.hooks.pageRowsChanged, page);
}

void swapWhole(TodoSheet& s, int a, int b) {
  std::swap(s.rows[static_cast<std::size_t>(a)], s.rows[static_cast<std::size_t>(b)]);
  std::swap(s.look[static_cast<std::size_t>(a)], s.look[static_cast<std::size_t>(b)]);
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

bool rowsEditable(App& app) { return pageEditable(app, app.ui.currentPage); }

bool deleteLine(App& app) {
  const int page = app.ui.currentPage;
  const int row = app.ui.currentRow;
  if (!isRowPage(page) || !pageEditable(app, page)) return false;
  TodoSheet& sheet = pageModel(app, page);
  if (!sheet.validRow(row) || !rowMayLeave(app, page, row)) return false;
  logLine(u"Delete line %d", row);
  emptyRow(sheet, row);
  rowsChanged(app, page);
  return true;
}

bool copyRow(App& app) {
  const int page = app.ui.currentPage;
  const int row = app.ui.currentRow;
  if (!isRowPage(page)) return false;
  TodoSheet& sheet = pageModel(app, page);
  if (!sheet.validRow(row)) return false;
  const TodoRow& r = sheet.rows[static_cast<std::size_t>(row)];
  if (!app.shell->setClipboardText(r.text)) {
    logLine(u"Copy: the clipboard could not be opened");
    return false;
  }
  logLine(u"Copy");
  app.rowClipboard = RowClipboard();
  if (page == kPageTodoToday) {
    app.rowClipboard.full = true;
    r.scoreBytes(app.rowClipboard.scores);
    app.rowClipboard.info = r.info;
  }
  return true;
}

bool cutRow(App& app) {
  const int page = app.ui.currentPage;
  const int row = app.ui.currentRow;
  if (!isRowPage(page) || !pageEditable(app, page)) return false;
  TodoSheet& sheet = pageModel(app, page);
  if (!sheet.validRow(row) || !rowMayLeave(app, page, row)) return false;
  // The row is emptied only once its text is safe on the clipboard.
  if (!copyRow(app)) {
    refuse(app, Txt::ClipboardNotOpened);
    return false;
  }
  app.rowClipboard.fromCut = app.rowClipboard.full;
  logLine(u"Delete line %d", row);
  emptyRow(sheet, row);
  rowsChanged(app, page);
  return true;
}

bool pasteRow(App& app, int selFrom, int selTo, int* caret) {
  const int page = app.ui.currentPage;
  const int row = app.ui.currentRow;
  if (!isRowPage(page) || !pageEditable(app, page)) return false;
  TodoSheet& sheet = pageModel(app, page);
  if (!sheet.validRow(row)) return false;
  if (isSeparatorRow(app, page, row)) {
    refuse(app, Txt::SeparatorRowFixed);
    return false;
  }
  logLine(u"Paste");
  u16 clip;
  if (!app.shell->clipboardText(clip)) {
    logLine(u"pasteTxt: the clipboard holds no text");
    return false;
  }
  logLine(u"PASTE");

  TodoRow& r = sheet.rows[static_cast<std::size_t>(row)];
  const bool wasFree = r.isFree();
  const u16& old = r.text;
  const int len = static_cast<int>(old.size());
  int from = std::clamp(selFrom, 0, len);
  int to = std::clamp(selTo, 0, len);
  if (from > to) std::swap(from, to);
  const std::size_t kept = old.size() - static_cast<std::size_t>(to - from);
  const std::size_t room = kept < kRowTextMax ? kRowTextMax - kept : 0;

  // One pass over the clipboard at most, and it stops once the room is filled: a huge
  // clipboard costs no more than the copy the port already made.
  u16 inserted;
  inserted.reserve(std::min(room, clip.size()));
  bool cutShort = false;
  for (char16_t c : clip) {
    if (c == u'\n') continue;
    if (inserted.size() == room) {
      cutShort = true;
      break;
    }
    inserted.push_back(c);
  }
  // Half a surrogate pair is no character: it goes with its other half.
  if (cutShort && !inserted.empty() && isHighSurrogate(inserted.back())) inserted.pop_back();

  u16 text;
  text.reserve(kept + inserted.size());
  text.append(old, 0, static_cast<std::size_t>(from));
  text.append(inserted);
  text.append(old, static_cast<std::size_t>(to), u16::npos);
  if (text.size() > kRowTextMax) text.resize(kRowTextMax);
  if (caret) *caret = from + static_cast<int>(inserted.size());
  if (text.empty()) {
    // Pasted over its whole text, the task is gone: a free row holds nothing of it.
    emptyRow(sheet, row);
    app.rowClipboard = RowClipboard();
    rowsChanged(app, page);
    return true;
  }
  r.text = std::move(text);

  // Scores travel only with a task that was cut, and only into a free row: a paste into a
  // task changes its text and nothing else.
  if (page == kPageTodoToday && wasFree && app.rowClipboard.full && app.rowClipboard.fromCut) {
    r.setScoreBytes(app.rowClipboard.scores);
    r.info = app.rowClipboard.info;
    setRowLook(sheet, row);
    App::call(app.hooks.redrawTotals);
  }
  app.rowClipboard = RowClipboard();
  rowsChanged(app, page);
  return true;
}

bool swapRows(App& app, int target) {
  const int page = app.ui.currentPage;
  const int current = app.ui.currentRow;
  if (!isRowPage(page) || !pageEditable(app, page)) return false;
  logLine(u"Swap row %d with %d", current, target);
  TodoSheet& sheet = pageModel(app, page);
  if (!sheet.validRow(target) || !sheet.validRow(current)) return false;
  swapWhole(sheet, current, target);
  if (page == kPageTodoToday) {
    // The separator index stays on the separator text.
    if (sheet.separatorIndex == target)
      sheet.separatorIndex = current;
    else if (sheet.separatorIndex == current)
      sheet.separatorIndex = target;
    // The running pomodoro keeps its task.
    if (app.timer.running) {
      if (app.timer.row == current)
        app.timer.row = target;
      else if (app.timer.row == target)
        app.timer.row = current;
    }
  }
  app.ui.currentRow = target;
  rowsChanged(app, page);
  return true;
}

bool moveRowUp(App& app) {
  if (!isRowPage(app.ui.currentPage) || dayChangedStop(app)) return false;
  return swapRows(app, app.ui.currentRow - 1);
}

bool moveRowDown(App& app) {
  if (!isRowPage(app.ui.currentPage) || dayChangedStop(app)) return false;
  return swapRows(app, app.ui.currentRow + 1);
}

bool moveRowToPage(App& app, int sourcePage, int destinationPage) {
  if (!isRowPage(sourcePage) || !isRowPage(destinationPage)) return false;
  if (dayChangedStop(app)) return false;
  if (!pageEditable(app, sourcePage)) return false;
  if (destinationPage != sourcePage && !pageEditable(app, destinationPage)) return false;
  const int row = app.ui.currentRow;
  TodoSheet& source = pageModel(app, sourcePage);
  TodoSheet& dest = pageModel(app, destinationPage);
  if (!source.validRow(row) || source.rows[static_cast<std::size_t>(row)].isFree()) return false;
  if (isSeparatorRow(app, sourcePage, row)) {
    refuse(app, Txt::SeparatorRowFixed);
    return false;
  }
  // Within today's sheet the pomodoro follows its task; off it, the task would lose it.
  const bool sameSheet = sourcePage == destinationPage;
  if (sourcePage == kPageTodoToday && !sameSheet && isTimerRow(app, row)) {
    refuse(app, Txt::TimerRowLocked);
    return false;
  }
  const int target = firstFreeRow(dest);
  if (target < 0) {
    app.prompts.show(app.tr(Txt::NoFreeRowsOnDestination), app.tr(Txt::CaptionVersion), MsgButtons::Ok,
                     MsgIcon::Information);
    return false;
  }

  if (sourcePage == kPageTodoToday && destinationPage == kPageNextThings) {
    const TodoRow& r = source.rows[static_cast<std::size_t>(row)];
    if (r.isDone()) {
      if (app.prompts.show(app.tr(Txt::MoveDoneTask), app.tr(Txt::CaptionApp), MsgButtons::YesNo,
                           MsgIcon::Question) == MsgAnswer::Yes)
        App::call(app.hooks.sendCommand, kCmdRemoveDoneScore);
      return false;
    }
    if (hasTodayWork(r)) {
      if (app.prompts.show(app.tr(Txt::MoveErasesScores), app.tr(Txt::CaptionApp), MsgButtons::YesNo,
                           MsgIcon::Question) != MsgAnswer::Yes)
        return false;
      eraseTodayWork(app, row);
    }
  }

  TodoRow& from = source.rows[static_cast<std::size_t>(row)];
  TodoRow& to = dest.rows[static_cast<std::size_t>(target)];
  if (sameSheet) {
    // A move within a page keeps everything of the task.
    to = std::move(from);
    dest.look[static_cast<std::size_t>(target)] = source.look[static_cast<std::size_t>(row)];
    if (sourcePage == kPageTodoToday && app.timer.running && app.timer.row == row) app.timer.row = target;
    app.ui.currentRow = target;
  } else {
    // Between the pages only the text goes: today's scores were erased above and a list
    // row's are no day's scores on the sheet.
    to.clear();
    to.text = std::move(from.text);
    setRowLook(dest, target);
  }
  emptyRow(source, row);
  rowsChanged(app, sourcePage);
  if (!sameSheet) rowsChanged(app, destinationPage);
  App::call(app.hooks.redrawTotals);
  return true;
}

bool sortRows(App& app, bool undoneFirst) {
  if (app.ui.currentPage != kPageTodoToday) {
    app.prompts.show(app.tr(Txt::SortTodayPageOnly), app.tr(Txt::CaptionVersion), MsgButtons::Ok,
                     MsgIcon::Information);
    return false;
  }
  if (!pageEditable(app, kPageTodoToday)) return false;
  logLine(u"Sort");
  TodoSheet& sheet = app.sheet;
  const int sep = sheet.separatorIndex;
  if (sep < 0 || sep >= sheet.rowCount()) {
    app.prompts.show(app.tr(Txt::SortNoSeparator), app.tr(Txt::CaptionVersion), MsgButtons::Ok,
                     MsgIcon::Exclamation);
    return false;
  }
  auto rowAt = [&](int i) -> const TodoRow& { return sheet.rows[static_cast<std::size_t>(i)]; };
  // order[new position] = old position; only the rows above the separator take part.
  std::vector<int> order;
  std::vector<int> empty;
  for (int i = 0; i < sep; ++i) (rowAt(i).isFree() ? empty : order).push_back(i);
  if (undoneFirst) {
    std::stable_partition(order.begin(), order.end(), [&](int i) { return !rowAt(i).isDone(); });
  } else {
    logLine(u"Order");
    // Equal texts: the lower row comes first.
    std::sort(order.begin(), order.end(), [&](int a, int b) {
      const u16& ta = rowAt(a).text;
      const u16& tb = rowAt(b).text;
      return ta != tb ? ta < tb : a > b;
    });
    for (int i : order) logLine(u"%s", rowAt(i).text);
  }
  order.insert(order.end(), empty.begin(), empty.end());

  std::vector<TodoRow> rows(static_cast<std::size_t>(sep));
  std::vector<RowLook> looks(static_cast<std::size_t>(sep));
  int timerRow = app.timer.running ? app.timer.row : -1;
  int newTimerRow = timerRow;
  for (int n = 0; n < sep; ++n) {
    const auto old = static_cast<std::size_t>(order[static_cast<std::size_t>(n)]);
    rows[static_cast<std::size_t>(n)] = std::move(sheet.rows[old]);
    looks[static_cast<std::size_t>(n)] = sheet.look[old];
    if (static_cast<int>(old) == timerRow) newTimerRow = n;
  }
  std::move(rows.begin(), rows.end(), sheet.rows.begin());
  std::copy(looks.begin(), looks.end(), sheet.look.begin());
  if (app.timer.running) app.timer.row = newTimerRow;
  rowsChanged(app, kPageTodoToday);
  App::call(app.hooks.redrawTotals);
  return true;
}

namespace {

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// The row keeps year - 2000 in one byte, and the deadline classes count days between real
// dates.
bool storableDeadline(int year, int month, int day) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 2000 || year > 2255 || month < 1 || month > 12 || day < 1) return false;
  const int last = kDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
  return day <= last;
}

TodoRow* deadlineRow(App& app) {
  const int page = app.ui.currentPage;
  if (!isRowPage(page) || !pageEditable(app, page)) return nullptr;
  TodoSheet& sheet = pageModel(app, page);
  const int row = app.ui.currentRow;
  if (!sheet.validRow(row) || isSeparatorRow(app, page, row)) return nullptr;
  TodoRow& r = sheet.rows[static_cast<std::size_t>(row)];
  // A free row holds no task to be due.
  if (r.isFree()) return nullptr;
  return &r;
}

}  // namespace

bool setRowDeadline(App& app, int year, int month, int day) {
  TodoRow* r = deadlineRow(app);
  if (!r) return false;
  if (!storableDeadline(year, month, day)) {
    logLine(u"Deadline %d-%d-%d refused", year, month, day);
    app.prompts.show(app.tr(Txt::DeadlineOutOfRange), app.tr(Txt::CaptionApp), MsgButtons::Ok,
                     MsgIcon::Exclamation);
    return false;
  }
  logLine(u"Deadline %d-%d-%d on row %d", year, month, day, app.ui.currentRow);
  r->info.flags = static_cast<std::uint8_t>(r->info.flags | rowflag::kDeadline);
  r->info.deadlineYear = static_cast<std::uint8_t>(year - 2000);
  r->info.deadlineMonth = static_cast<std::uint8_t>(month);
  r->info.deadlineDay = static_cast<std::uint8_t>(day);
  rowsChanged(app, app.ui.currentPage);
  return true;
}

bool removeRowDeadline(App& app) {
  TodoRow* r = deadlineRow(app);
  if (!r) return false;
  logLine(u"Remove deadline on row %d", app.ui.currentRow);
  // The date bytes stay: only the flag says whether they count.
  r->info.flags = static_cast<std::uint8_t>(r->info.flags & ~rowflag::kDeadline);
  rowsChanged(app, app.ui.currentPage);
  return true;
}

}  // namespace tirelmo
