#include "ui/todolist_arrangement.h"

#include <gtest/gtest.h>

namespace tirelmo {
namespace {

using Order = std::vector<int>;

TEST(TodolistArrangement, DroppedItemsLandBeforeTheTargetInTheirOwnOrder) {
  EXPECT_EQ(dropItemsBefore(5, {3}, 1), (Order{0, 3, 1, 2, 4}));
  EXPECT_EQ(dropItemsBefore(5, {0}, 3), (Order{1, 2, 0, 3, 4}));
  // Spread selection reported out of order, target between them.
  EXPECT_EQ(dropItemsBefore(6, {4, 1}, 3), (Order{0, 2, 1, 4, 3, 5}));
  // Below the last item: the end.
  EXPECT_EQ(dropItemsBefore(4, {0, 2}, 4), (Order{1, 3, 0, 2}));
}

TEST(TodolistArrangement, DropsThatChangeNothingOrMakeNoSenseGiveNoOrder) {
  EXPECT_TRUE(dropItemsBefore(4, {1, 2}, 2).empty());  // onto a selected item
  EXPECT_TRUE(dropItemsBefore(4, {}, 2).empty());
  EXPECT_TRUE(dropItemsBefore(4, {4}, 0).empty());
  EXPECT_TRUE(dropItemsBefore(4, {1}, 5).empty());
  EXPECT_TRUE(dropItemsBefore(4, {1}, -1).empty());
}

TodolistRegistry registryOf(std::initializer_list<const char16_t*> titles, int current) {
  TodolistRegistry reg;
  std::int32_t id = 10;
  for (const char16_t* t : titles) {
    TodolistEntry e;
    e.id = id++;
    e.title = t;
    e.path = u16(u"C:\\data\\NextThings\\") + t + u".pm6";
    reg.entries.push_back(e);
  }
  reg.current = current;
  return reg;
}

TEST(TodolistArrangement, ReorderKeepsTheListInViewAndEveryEntryWhole) {
  TodolistRegistry reg = registryOf({u"A", u"B", u"C"}, 1);
  ASSERT_TRUE(reorderTodolists(reg, {2, 0, 1}));
  ASSERT_EQ(reg.count(), 3);
  EXPECT_EQ(reg.entries[0].title, u"C");
  EXPECT_EQ(reg.entries[0].id, 12);
  EXPECT_EQ(reg.entries[0].path, u"C:\\data\\NextThings\\C.pm6");
  EXPECT_EQ(reg.entries[2].title, u"B");
  EXPECT_EQ(reg.current, 2);
}

TEST(TodolistArrangement, ReorderRefusesAnythingButAPermutation) {
  const TodolistRegistry before = registryOf({u"A", u"B", u"C"}, 0);
  for (const Order& bad : {Order{0, 1}, Order{0, 1, 1}, Order{0, 1, 3}, Order{0, 1, 2, 0}}) {
    TodolistRegistry reg = before;
    EXPECT_FALSE(reorderTodolists(reg, bad));
    ASSERT_EQ(reg.count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(reg.entries[i].title, before.entries[i].title);
    EXPECT_EQ(reg.current, 0);
  }
}

TEST(TodolistArrangement, Titles) {
  EXPECT_EQ(checkTodolistTitle(u"Garden"), TodolistTitleProblem::None);
  EXPECT_EQ(checkTodolistTitle(u""), TodolistTitleProblem::Blank);
  EXPECT_EQ(checkTodolistTitle(u"   "), TodolistTitleProblem::Blank);
  EXPECT_EQ(checkTodolistTitle(u16(kTodolistTitleMax, u'x')), TodolistTitleProblem::None);
  EXPECT_EQ(checkTodolistTitle(u16(kTodolistTitleMax + 1, u'x')), TodolistTitleProblem::TooLong);
  EXPECT_EQ(checkTodolistTitle(u"two\r\nlines"), TodolistTitleProblem::ControlCharacter);
  // Characters a file name could not hold are fine: the title never becomes one.
  EXPECT_EQ(checkTodolistTitle(u"Home: a/b?"), TodolistTitleProblem::None);
}

}  // namespace
}  // namespace tirelmo
