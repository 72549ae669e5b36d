#include "app/todolists.h"

#include <algorithm>
#include <string>

#include "todolists/todolist_registry.h"
#include "app/app.h"
#include "app/damaged_sheet.h"
#include "base/log.h"
#include "sheet/sheet_files.h"
#include "stats/done_archive.h"
#include "stats/month_stats.h"
#include "stats/yesterday_archive.h"
#include "storage/file_ops.h"
#include "storage/scrambler.h"
#include "text/format.h"

namespace tirelmo {

namespace {

constexpr char16_t kInventoryTitle[] = u"Activity Inventory";

void addSaturating(std::uint8_t& to, int add) { to = static_cast<std::uint8_t>(std::clamp(int{to} + add, 0, 255)); }

TodolistEntry* currentEntry(App& app) {
  TodolistRegistry& reg = app.todolists;
  return reg.valid(reg.current) ? &reg.entries[static_cast<std::size_t>(reg.current)] : nullptr;
}

void clearList(TodoSheet& list) {
  for (TodoRow& r : list.rows) r.clear();
  for (RowLook& l : list.look) l = RowLook::Normal;
  list.modified = false;
  list.readOnly = false;
  list.readWithDamage = false;
}

// Row texts of a fixed-slot block: each slot ends at its first NUL.
u16 slotText(const std::string& bytes, std::size_t slot, std::size_t units) {
  u16 text;
  for (std::size_t i = 0; i < units; ++i) {
    const std::size_t at = (slot * units + i) * 2;
    if (at + 1 >= bytes.size()) break;
    const char16_t c = static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) |
                                             (static_cast<unsigned char>(bytes[at + 1]) << 8));
    if (c == 0) break;
    text.push_back(c);
  }
  return cutToCapacity(text, kRowTextCapacity);
}

// The single inventory list the program kept before there were Todolists.
void loadInventoryList(App& app) {
  TodoSheet& list = app.todolist;
  clearList(list);
  const u16& dir = app.start.userDataDir;
  std::string bytes;
  const u16 il2 = joinPath(dir, u"InvList.il2");
  logPiece(u"load Inv list: ");
  logLine(u"%s", il2);
  if (readFileBytes(il2, bytes, 18000)) {
    logLine(u"found, read inv list..");
    for (int i = 0; i < kTodolistRows; ++i) list.rows[static_cast<std::size_t>(i)].text = slotText(bytes, i, 180);
    return;
  }
  const u16 il1 = joinPath(dir, u"InvList.il1");
  if (readFileBytes(il1, bytes, 6000)) {
    logLine(u"found %s", il1);
    descrambleBytes(bytes.data(), bytes.data(), bytes.size());
    for (int i = 0; i < kTodolistRows; ++i) list.rows[static_cast<std::size_t>(i)].text = slotText(bytes, i, 60);
    return;
  }
  const u16 txt = joinPath(dir, u"InvList.txt");
  if (readFileBytes(txt, bytes, 50 * 180)) {
    logLine(u"found %s", txt);
    for (std::size_t i = 0; i < static_cast<std::size_t>(kTodolistRows) && i * 180 < bytes.size(); ++i) {
      std::string slot = bytes.substr(i * 180, 180);
      slot = slot.substr(0, std::min(slot.find('\0'), slot.size()));
      list.rows[i].text = cutToCapacity(utf8ToUtf16(slot), kRowTextCapacity);
    }
    list.modified = true;
    return;
  }
  logLine(u"No Inv lst file exist.");
  logLine(u"Inventory List file missing!");
}

void tell(App& app, Txt id, u16v title, MsgIcon icon = MsgIcon::Exclamation) {
  app.prompts.show(fmt(app.tr(id), title), app.tr(Txt::CaptionError), MsgButtons::Ok, icon);
}

// Loads the current entry's file into the model. A list that cannot be read, or a damaged
// one whose bytes could not be kept elsewhere, is read-only: what is in memory is less than
// the file holds. `tellUser` is false for the lists that start-up only passes through.
ListFileLoad loadCurrentList(App& app, bool tellUser) {
  TodolistEntry* entry = currentEntry(app);
  if (!entry) {
    clearList(app.todolist);
    return ListFileLoad::Loaded;
  }
  logLine(u"Load Tdl %s", entry->path);
  const ListFileLoad result = loadTodolistFile(entry->path, app.todolist, app.start.today, *entry);
  if (result == ListFileLoad::Unreadable) {
    app.todolist.readOnly = true;
    logLine(u"Tdl %s could not be read, it is not saved over", entry->path);
    if (tellUser) tell(app, Txt::TodolistUnreadable, entry->title);
  } else if (result == ListFileLoad::Damaged) {
    u16 copy;
    switch (copyDamagedFile(entry->path, copy)) {
      case CopyOutcome::Made:
        logLine(u"Damaged Tdl %s kept as %s", entry->path, copy);
        app.prompts.show(fmt(app.tr(Txt::TodolistDamagedCopyKept), entry->title, baseName(copy)),
                         app.tr(Txt::CaptionError), MsgButtons::Ok, MsgIcon::Exclamation);
        break;
      case CopyOutcome::KeptBefore:
        logLine(u"Damaged Tdl %s kept before as %s", entry->path, copy);
        break;
      case CopyOutcome::NoFile: break;
      case CopyOutcome::Failed:
        logLastError(u"CopyFile");
        logLine(u"No copy of the damaged Tdl %s, it is not saved over", entry->path);
        app.todolist.readOnly = true;
        if (tellUser) tell(app, Txt::TodolistDamagedNoCopy, entry->title);
        break;
    }
  }
  return result;
}

// Writes the list in the model to the current entry's file; a read-only list is left as
// its file is.
bool writeCurrentList(App& app) {
  TodolistEntry* entry = currentEntry(app);
  if (!entry) return true;
  countTodolistRows(app.todolist, app.start.today, *entry);
  if (app.todolist.readOnly) {
    logLine(u"Tdl %s is read-only, not saved", entry->path);
    return true;
  }
  if (writeTodolistFile(entry->path, app.todolist)) return true;
  logLine(u"Tdl %s not saved", entry->path);
  // Flagged so that the day restart sees unsaved rows.
  app.todolist.modified = true;
  return false;
}

// The first run of a day: yesterday's work on the list goes to the archives, today's counts
// become past counts, done rows leave the list (a repeat row comes back fresh).
void runListDayStart(App& app, bool yesterdayOpen, bool& doneArchiveOpen) {
  TodoSheet& list = app.todolist;
  for (int i = 0; i < list.rowCount(); ++i) {
    TodoRow& row = list.rows[static_cast<std::size_t>(i)];
    if (row.isFree()) continue;
    RowInfo& info = row.info;
    const bool done = row.isDone();
    if (yesterdayOpen && (info.minutesToday != 0 || done)) {
      YesterdayTask t;  // undated: the archive's date
      t.text = row.text;
      t.age = info.ageDays + 1;
      t.done = row.done;
      t.pomodoros = row.pomodoros;
      t.abandoned = row.abandoned;
      t.estimated = row.estimated;
      t.internalInterruptions = row.internalInterruptions;
      t.externalInterruptions = row.externalInterruptions;
      t.minutesWorked = info.minutesToday;
      t.totalMinutes = info.pastMinutes;
      t.projectId = info.projectId;
      t.category = info.category;
      writeYesterdayRecord(app, t);
    }
    addSaturating(row.pastPomodoros, row.pomodoros);
    addSaturating(row.pastAbandoned, row.abandoned);
    addSaturating(row.pastInternal, row.internalInterruptions);
    addSaturating(row.pastExternal, row.externalInterruptions);
    row.pomodoros = row.abandoned = row.internalInterruptions = row.externalInterruptions = 0;
    info.pastMinutes = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{info.pastMinutes} + info.minutesToday, 0, kMaxPastMinutes));
    info.minutesToday = 0;
    if (done) {
      // Opened for the first done row only: opening it heads the weekly list with today,
      // which a day without a done list row must not get.
      if (!doneArchiveOpen) {
        const DayDate& d = app.start.today;
        openDoneArchive(app, d.year, d.month, d.day(), d.dayOfWeek);
        doneArchiveOpen = true;
      }
      appendDoneTaskRow(app, row, false, 0);
      if (row.hasFlag(rowflag::kRepeat)) {
        const std::uint8_t category = info.category;
        row.clearScoresAndInfo();
        row.info.category = category;
        row.info.flags = rowflag::kRepeat;
      } else {
        row.clear();
      }
    }
    list.look[static_cast<std::size_t>(i)] = RowLook::Normal;
  }
  list.modified = true;
}

// First use: the folder, and the old inventory list as the first Todolist.
bool setUpTodolists(App& app, const u16& folder) {
  logLine(u"Dir %s does not exists", folder);
  if (createDirectory(folder) == MkdirResult::Failed) {
    logLastError(u"CreateDirectory");
    return false;
  }
  loadInventoryList(app);
  const u16 path = joinPath(folder, u16(kInventoryTitle) + u".pm6");
  if (!writeTodolistFile(path, app.todolist)) return true;
  TodolistEntry entry;
  entry.id = app.settings.next_prj_ID++;
  entry.title = kInventoryTitle;
  entry.path = path;
  countTodolistRows(app.todolist, app.start.today, entry);
  app.todolists.entries.push_back(std::move(entry));
  saveTodolistRegistry(app);
  return true;
}

void readRegistry(App& app) {
  TodolistRegistry& reg = app.todolists;
  reg.entries.clear();
  reg.current = 0;
  reg.fileUnreadable = false;
  const u16 path = todolistRegistryPath(app.start.userDataDir);
  if (pathKind(path) != PathKind::File) return;
  const FileHandle probe = fileOpen(path, OpenMode::ReadExisting);
  if (probe == kInvalidFile) {
    logLastError(u"CreateFile");
    logLine(u"%s could not be read, it is not saved over", path);
    reg.fileUnreadable = true;
    return;
  }
  fileClose(probe);
  LoadTdlInfo_p01(path, reg);
}

u16 refusalText(App& app, TodolistNameProblem problem, u16v name) {
  switch (problem) {
    case TodolistNameProblem::None: break;
    case TodolistNameProblem::Blank: return app.tr(Txt::TodolistNameBlank);
    case TodolistNameProblem::TooLong: return app.tr(Txt::TodolistNameTooLong);
    case TodolistNameProblem::BadCharacter: return app.tr(Txt::TodolistNameBadCharacter);
    case TodolistNameProblem::TrailingDotOrSpace: return app.tr(Txt::TodolistNameTrailingDotOrSpace);
    case TodolistNameProblem::DeviceName: return fmt(app.tr(Txt::TodolistNameDevice), name);
    case TodolistNameProblem::Exists: return fmt(app.tr(Txt::TodolistNameExists), name);
  }
  return u16();
}

}  // namespace

void loadTodolists(App& app) {
  logLine(u"Load NextThings Tdls");
  const u16 folder = todolistFolder(app.start.userDataDir);
  TodolistRegistry& reg = app.todolists;
  if (pathKind(folder) != PathKind::Directory) {
    reg.entries.clear();
    reg.fileUnreadable = false;
    if (!setUpTodolists(app, folder)) {
      reg.current = 0;
      clearList(app.todolist);
      return;
    }
  }
  readRegistry(app);

  const bool firstRun = app.start.firstRunToday;
  bool yesterdayOpen = false;
  bool doneArchiveOpen = false;
  if (firstRun) {
    // Only an archive the sheet's day start made this run is dated for these records.
    yesterdayOpen = app.yesterday.month >= 1 && openYesterdayArchiveForAppend(app) == 0;
  }
  for (int i = reg.count() - 1; i >= 0; --i) {
    reg.current = i;
    const ListFileLoad loaded = loadCurrentList(app, i == 0);
    TodolistEntry& entry = reg.entries[static_cast<std::size_t>(i)];
    if (loaded == ListFileLoad::Unreadable) continue;
    // A damaged list without a copy keeps its file as it is: its day start waits too.
    if (firstRun && !app.todolist.readOnly) runListDayStart(app, yesterdayOpen, doneArchiveOpen);
    writeCurrentList(app);
    addSaturating(todayTotals(app).done, entry.doneRows);
  }
  if (firstRun) {
    if (doneArchiveOpen) closeDoneArchive(app);
    if (yesterdayOpen) closeYesterdayArchive(app);
  }
  reg.current = 0;
  if (reg.count() == 0) clearList(app.todolist);
}

bool loadTodolistInView(App& app) {
  const ListFileLoad result = loadCurrentList(app, true);
  App::call(app.hooks.listDisplayed);
  return result != ListFileLoad::Unreadable && currentEntry(app) != nullptr;
}

bool saveTodolistInView(App& app) {
  if (!currentEntry(app)) return true;
  App::call(app.hooks.takeEditorTexts);
  for (TodoRow& r : app.todolist.rows)
    if (r.text.size() > kRowTextMax) r.text = cutToCapacity(r.text, kRowTextCapacity);
  return writeCurrentList(app);
}

bool saveTodolistRegistry(App& app) {
  const u16 path = todolistRegistryPath(app.start.userDataDir);
  if (app.todolists.fileUnreadable) {
    logLine(u"%s was not readable, it is not saved over", path);
    return false;
  }
  return saveTodolistRegistryFile(path, app.todolists);
}

bool switchTodolist(App& app, int index) {
  TodolistRegistry& reg = app.todolists;
  if (!reg.valid(index)) return false;
  if (index == reg.current && currentEntry(app)) return true;
  if (!saveTodolistInView(app)) {
    const TodolistEntry* open = currentEntry(app);
    app.prompts.show(fmt(app.tr(Txt::TodolistStaysOpen), open ? open->title : u16()), app.tr(Txt::CaptionError),
                     MsgButtons::Ok, MsgIcon::Exclamation);
    // The tab strip moved already: it goes back to the open list.
    App::call(app.hooks.listDisplayed);
    return false;
  }
  reg.current = index;
  loadTodolistInView(app);
  return true;
}

bool refuseNewTodolistWhenFull(App& app) {
  if (app.todolists.count() < kMaxTodolists) return false;
  logLine(u"Max number of Tdls reached");
  app.prompts.show(app.tr(Txt::TodolistsMaximum), app.tr(Txt::CaptionOperationAborted), MsgButtons::Ok,
                   MsgIcon::Warning);
  return true;
}

NewTodolistResult createTodolist(App& app, u16v name, u16* problem) {
  if (refuseNewTodolistWhenFull(app)) {
    if (problem) *problem = app.tr(Txt::TodolistsMaximum);
    return NewTodolistResult::Refused;
  }
  logLine(u"Create new Tdl %s", name);
  const u16 folder = todolistFolder(app.start.userDataDir);
  const auto refuse = [&](TodolistNameProblem why) {
    const u16 text = refusalText(app, why, name);
    logLine(u"Tdl name refused: %s", name);
    if (problem) *problem = text;
    app.prompts.show(text, app.tr(Txt::CaptionApp), MsgButtons::Ok, MsgIcon::Exclamation);
    return NewTodolistResult::Refused;
  };
  const TodolistNameProblem why = checkTodolistName(name, folder, app.todolists);
  if (why != TodolistNameProblem::None) return refuse(why);

  if (createDirectory(folder) == MkdirResult::Failed) logLastError(u"CreateDirectory");
  const u16 path = joinPath(folder, u16(name) + u".pm6");
  // Never over a file that is there: it may be a list of its own, or anything else.
  const FileHandle h = fileOpen(path, OpenMode::ReadWriteNew);
  if (h == kInvalidFile) {
    const std::uint32_t error = lastErrorCode();
    logLastError(u"CreateFile");
    if (error == winerr::kFileExists || error == winerr::kAlreadyExists) return refuse(TodolistNameProblem::Exists);
    if (problem) *problem = app.tr(Txt::TodolistCreateFailed);
    app.prompts.show(app.tr(Txt::TodolistCreateFailed), app.tr(Txt::CaptionError), MsgButtons::Ok, MsgIcon::Error);
    return NewTodolistResult::Failed;
  }
  fileClose(h);

  TodolistEntry entry;
  entry.id = app.settings.next_prj_ID++;
  entry.title = u16(name);
  entry.path = path;
  entry.freeRows = kTodolistRows;
  const bool wasEmpty = app.todolists.entries.empty();
  app.todolists.entries.push_back(std::move(entry));
  // Registered at once: a run that ends without its shut-down would leave the file unlisted.
  saveTodolistRegistry(app);
  if (wasEmpty) {
    app.todolists.current = 0;
    clearList(app.todolist);
  }
  App::call(app.hooks.todolistsChanged);
  if (wasEmpty) App::call(app.hooks.listDisplayed);
  return NewTodolistResult::Created;
}

void todolistDoneMarkChanged(App& app) {
  if (!saveTodolistInView(app)) {
    const TodolistEntry* open = currentEntry(app);
    tell(app, Txt::TodolistSaveFailed, open ? open->title : u16());
  }
  App::call(app.hooks.todolistDoneChanged);
}

std::vector<u16> todolistTitles(const App& app) {
  std::vector<u16> titles;
  titles.reserve(app.todolists.entries.size());
  for (const TodolistEntry& e : app.todolists.entries) titles.push_back(e.title);
  return titles;
}

}  // namespace tirelmo
