// Operations on whole rows of the ToDo sheet and of the Todolist in view: delete, copy,
// cut and paste with the row clipboard, moving rows up and down around the separator,
// moving rows between today's sheet and the Todolists, the two sorts and the deadline of a
// row. They act on the current row of the current page (app.ui) and tell the window side
// through app.hooks.pageRowsChanged / listDisplayed.
#pragma once

#include <cstdint>
#include <vector>

#include "sheet/row_clipboard.h"
#include "sheet/todo_row.h"
#include "text/ustring.h"

namespace tirelmo {

struct App;

inline constexpr int kCmdDeleteLine = 1104;
inline constexpr int kCmdPaste = 1128;
inline constexpr int kCmdCopy = 1129;
inline constexpr int kCmdCut = 1130;
inline constexpr int kCmdSortUndoneFirst = 1139;
inline constexpr int kCmdSortByText = 1140;
inline constexpr int kCmdMoveRowUp = 1500;
inline constexpr int kCmdMoveRowDown = 1501;
inline constexpr int kCmdMoveRows = 1549;
inline constexpr int kCmdDeadline = 4000;
// "Move Current Row to..": Todolist n is 1550 + n (menus.h kCmdTodolistFirst), today 1614.
inline constexpr int kTransferToToday = 64;  // transferRows destination "Todo Today"

bool deleteLine(App& app);
bool copyRow(App& app);
bool cutRow(App& app);
// The platform clipboard's text goes into the current row at the editor's selection
// (units selFrom..selTo of the row text); line feeds are dropped and the text is cut to
// the room left. *caret gets the caret position after the pasted text.
bool pasteRow(App& app, int selFrom, int selTo, int* caret = nullptr);

bool swapRows(App& app, int target);
bool moveRowUp(App& app);
bool moveRowDown(App& app);
// Pages 0 (ToDo Today) and 1 (the Todolist in view).
bool moveRowToPage(App& app, int sourcePage, int destinationPage);
// Commands 1550..1614: the current row to Todolist n (0..63) or to today (kTransferToToday).
bool moveCurrentRowToList(App& app, int destination);
// The Move Rows dialog's OK: the rows of the source page to Todolist 0..63 or today.
// Returns how many rows moved; every row ends up in exactly one saved file.
int transferRows(App& app, int sourcePage, const std::vector<int>& rows, int destination);

bool sortRows(App& app, bool undoneFirst);

// The deadline of the current row: set (refused for dates a row cannot hold) or removed.
bool setRowDeadline(App& app, int year, int month, int day);
bool removeRowDeadline(App& app);

// Refusal shared by every command here: the current page must be editable (page 0 showing
// today's sheet, or page 1 with a readable list). Shows the message and returns false.
bool rowsEditable(App& app);

}  // namespace tirelmo
