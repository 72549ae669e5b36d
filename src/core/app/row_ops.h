// Pieces the row commands share between row_editing.cpp and row_transfer.cpp; not for
// the window side.
#pragma once

#include "sheet/sheet.h"

namespace tirelmo {

struct App;

namespace rowops {

// The model behind page 0 (today's sheet) or page 1 (the Todolist in view).
TodoSheet& pageModel(App& app, int page);

// Whether rows of the page may change; shows the refusal when they may not. Page 0 must
// show today's sheet, page 1 a Todolist that could be read.
bool pageEditable(App& app, int page);

// After midnight rows move only on the new day's sheet: true when the command must stop.
bool dayChangedStop(App& app);

// The row holds work of today that a move off today's sheet erases.
bool hasTodayWork(const TodoRow& row);

// Takes today's work off a row of today's sheet through the score removals, so the day
// counters, the worked time and the project drop with it.
void eraseTodayWork(App& app, int row);

// The first row with an empty text, -1 when there is none.
int firstFreeRow(const TodoSheet& sheet);

// The pomodoro runs on this row of today's sheet.
bool isTimerRow(const App& app, int row);

// The counters of the list in view follow its rows (free, done, deadline classes).
void recountListInView(App& app);

// A row that gives up its task: nothing of the task stays behind.
void emptyRow(TodoSheet& sheet, int row);

}  // namespace rowops
}  // namespace tirelmo
