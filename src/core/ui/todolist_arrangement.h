// What the Todolist dialogs decide before the window shows it: the order of the items after
// a drag, the registry put into a new order, and which titles a list may take.
#pragma once

#include <vector>

#include "text/ustring.h"
#include "todolists/todolist_registry.h"

namespace tirelmo {

// The items of a list of `count` after the items at the `selected` positions are dropped
// before position `target` (0..count; count is the end). The result holds the old
// positions in their new order. Empty when the drop does nothing: no item selected, a
// position outside the list, or a target that is itself selected.
std::vector<int> dropItemsBefore(int count, const std::vector<int>& selected, int target);

// Puts the entries into the given order (old indices, each exactly once); the current
// list stays the same list. False, and nothing changes, for anything but a full
// permutation of the entries.
bool reorderTodolists(TodolistRegistry& reg, const std::vector<int>& order);

// A title names a tab and goes into the registry file; the list's file keeps its name.
enum class TodolistTitleProblem { None, Blank, TooLong, ControlCharacter };
TodolistTitleProblem checkTodolistTitle(u16v title);

}  // namespace tirelmo
