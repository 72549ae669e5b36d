// The two modal dialogs at the end of a period: DLG_TIMEELAPSED asks how the pomodoro went,
// DLG_BREAKTIMEELAPSED says the break is over. Both come to the front and flash once a
// second (timer 404) until the user answers. The control ids are shared with timer.rc.
#pragma once

// DLG_TIMEELAPSED. The buttons have ids of their own: the outcome "Done" answers 2, which is
// IDCANCEL, the id Escape and the close box send. With the outcomes as button ids, closing
// the box would record a finished task.
#define IDC_TE_MESSAGE 1701
#define IDC_TE_PICTURE 1702
#define IDC_TE_OK 1711
#define IDC_TE_DONE 1712
#define IDC_TE_ABANDON 1713
#define IDC_TE_CANCEL 1714

// DLG_BREAKTIMEELAPSED.
#define IDC_BE_MESSAGE 1721

#ifndef RC_INVOKED

#include <windows.h>

#include <string>

#include "timer/pomodoro_timer.h"

namespace tirelmo {

// The button of DLG_TIMEELAPSED as an outcome. Escape, the close box and anything else that
// is not one of the four buttons answer Cancel, so nothing is recorded by accident.
PomodoroOutcome outcomeOfTimeElapsedControl(int controlId);

// Splits one line of the dialog's tomato list ("%2d       today") into its count and its
// words, so the count lines up in a column and the tomato sits between the two. A line
// without a leading count comes back whole in `words`.
struct TomatoLineParts {
  std::wstring count;
  std::wstring words;
};
TomatoLineParts splitTomatoLine(u16v line);

// Modal over the owner; returns the answer. A dialog that cannot be shown answers Cancel
// (logged): nothing is recorded rather than a guess.
PomodoroOutcome showTimeElapsedDialog(HWND owner, const TimeElapsedPicture& picture);
void showBreakElapsedDialog(HWND owner, const BreakElapsedPicture& picture);

}  // namespace tirelmo

#endif  // RC_INVOKED
