// The Todolists of the run: loading them at start-up (first use, the migration of the old
// inventory list, the day start of every list), the list in view on the Next Things page
// (load, save, switch), the creation of a new list and the registry's save. The list in
// view lives in app.todolist, the registry in app.todolists.
#pragma once

#include <vector>

#include "text/strings.h"
#include "text/ustring.h"

namespace tirelmo {

struct App;

inline constexpr int kCmdNewTodolist = 1544;
inline constexpr int kCmdManageTodolists = 1545;

// Data phase step: "Load NextThings Tdls". Sets up "NextThings" on first use, reads the
// registry, runs the day start of every list on the first run of a day and leaves the
// first Todolist in view.
void loadTodolists(App& app);

// Reads the current entry's file into app.todolist. A file that cannot be read leaves the
// list read-only (app.todolist.readOnly) with a message: it is never saved over.
bool loadTodolistInView(App& app);
// Editor texts into the model, free rows refreshed, file written. True when written or when
// there was nothing to write (no list, a read-only list); false when the write failed.
bool saveTodolistInView(App& app);
// Writes "TdlInfo.p01" (shut-down and day change).
bool saveTodolistRegistry(App& app);

// Makes list `index` the list in view: the open list is saved first; when that save fails
// the open list stays, with a message, and the result is false.
bool switchTodolist(App& app, int index);

// Shows "Maximum number of Todolists was reached." and answers true when no list can be
// added; the window asks before it opens the New Todolist dialog.
bool refuseNewTodolistWhenFull(App& app);

// Creates a new empty list file (never over an existing file) and appends its entry with
// the next identifier; the list in view stays. Every refusal and failure is shown as a
// message box, and *problem gets its text too (the dialog stays open). The registry is
// saved at once; todolistsChanged follows a creation (and listDisplayed when it is the
// first list, which becomes the list in view).
enum class NewTodolistResult { Created, Refused, Failed };
NewTodolistResult createTodolist(App& app, u16v name, u16* problem = nullptr);

// A done mark changed on Next Things: the list in view is saved (its counts refreshed),
// then the page is rebuilt through the todolistDoneChanged hook.
void todolistDoneMarkChanged(App& app);

// The titles in tab order (the "Move Current Row to.." menus).
std::vector<u16> todolistTitles(const App& app);

}  // namespace tirelmo
