// Scores on task rows: adding and removing each kind on the current row, with the refusals,
// the worked minutes, the project time, today's statistics record and the month table; and
// the removal of the done rows of today's sheet into the done-task archive.
#pragma once

#include "sheet/todo_row.h"

namespace tirelmo {

struct App;

// Commands of the main window.
inline constexpr int kCmdRemoveDoneScore = 1137;
inline constexpr int kCmdAddEstimatesBase = 1501;  // 1501 + n adds n estimates (1502..1506)

// Where a score goes.
enum class ScoreTarget {
  CurrentPage,  // the row of the page on display: ToDo Today or Next Things, else refused
  TodaySheet,   // today's ToDo sheet whatever page is on display: the timer's row lives there
};

// The whole add operation; true when the score was added. byUser is false only for the
// scores the timer records when a pomodoro started before midnight ends after it.
bool addScore(App& app, int row, ScoreKind kind, bool byUser,
              ScoreTarget target = ScoreTarget::CurrentPage);

// addScore, then on success the row is redrawn.
bool addScoreAndRedraw(App& app, int row, ScoreKind kind, bool byUser,
                       ScoreTarget target = ScoreTarget::CurrentPage);

// The add commands: the current row, except that interruptions go to the timer's row while
// a pomodoro runs. On success the row and the totals are redrawn and the sheet is modified.
bool scoreCommandAdd(App& app, ScoreKind kind);

// Commands 1502..1506: n estimates, one by one; stops at the first refusal. Returns how
// many were added.
int addEstimates(App& app, int n);

// The remove commands 1132..1137 on the current row; true when a score was removed.
bool removeScore(App& app, ScoreKind kind);

// Command 1507: every done row of today's sheet goes to the done-task archive and leaves
// the sheet (a repeat-everyday row stays with its text).
void RemoveDoneTasks(App& app);

}  // namespace tirelmo
