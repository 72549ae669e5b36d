#include "ui/todolist_arrangement.h"

#include <algorithm>

namespace tirelmo {

std::vector<int> dropItemsBefore(int count, const std::vector<int>& selected, int target) {
  if (selected.empty() || target < 0 || target > count) return {};
  std::vector<bool> isSelected(static_cast<std::size_t>(count), false);
  for (int s : selected) {
    if (s < 0 || s >= count) return {};
    isSelected[static_cast<std::size_t>(s)] = true;
  }
  if (target < count && isSelected[static_cast<std::size_t>(target)]) return {};

  // The selected items keep their order among themselves, whatever order the selection
  // was reported in.
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(count));
  auto appendSelected = [&] {
    for (int i = 0; i < count; ++i)
      if (isSelected[static_cast<std::size_t>(i)]) order.push_back(i);
  };
  for (int i = 0; i < count; ++i) {
    if (i == target) appendSelected();
    if (!isSelected[static_cast<std::size_t>(i)]) order.push_back(i);
  }
  if (target == count) appendSelected();
  return order;
}

bool reorderTodolists(TodolistRegistry& reg, const std::vector<int>& order) {
  const int n = reg.count();
  if (static_cast<int>(order.size()) != n) return false;
  std::vector<bool> seen(static_cast<std::size_t>(n), false);
  for (int i : order) {
    if (i < 0 || i >= n || seen[static_cast<std::size_t>(i)]) return false;
    seen[static_cast<std::size_t>(i)] = true;
  }
  std::vector<TodolistEntry> entries;
  entries.reserve(static_cast<std::size_t>(n));
  int current = reg.current;
  for (int pos = 0; pos < n; ++pos) {
    const int old = order[static_cast<std::size_t>(pos)];
    entries.push_back(std::move(reg.entries[static_cast<std::size_t>(old)]));
    if (old == reg.current) current = pos;
  }
  reg.entries = std::move(entries);
  reg.current = current;
  return true;
}

TodolistTitleProblem checkTodolistTitle(u16v title) {
  if (std::all_of(title.begin(), title.end(), [](char16_t c) { return c == u' ' || c == u'\t'; }))
    return TodolistTitleProblem::Blank;
  if (title.size() > kTodolistTitleMax) return TodolistTitleProblem::TooLong;
  // A line break would split the title's record line in the registry file.
  if (std::any_of(title.begin(), title.end(), [](char16_t c) { return c < 0x20 || c == 0x7f; }))
    return TodolistTitleProblem::ControlCharacter;
  return TodolistTitleProblem::None;
}

}  // namespace tirelmo
