#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "app/row_editing.h"
#include "app/sheet_io.h"
#include "posix/file_faults.h"
#include "todolists/todolist_registry.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

class RowTransferTest : public test::SheetTest {
 protected:
  RowTransferTest() {
    app.sheet.sheetFileName = u"DailyTask_2021-3-5-5.pm6";
    app.sheet.rows[12].text = kSeparatorText;
    app.sheet.separatorIndex = 12;
    std::filesystem::create_directories(dir.native() + "/NextThings");
    addList(u"A", 0);
    addList(u"B", 48);
    app.todolists.current = 0;
  }
  ~RowTransferTest() override { refuseWritesTo(""); }

  // A list file whose first `filled` rows hold tasks "B0", "B1", ...
  void addList(const u16& title, int filled) {
    TodoSheet list(kTodolistRows);
    for (int i = 0; i < filled; ++i) list.rows[static_cast<std::size_t>(i)].text = title + utf8ToUtf16(std::to_string(i));
    const u16 path = todolistFolder(dir.path()) + u"\\" + title + u".pm6";
    ASSERT_TRUE(writeTodolistFile(path, list));
    app.todolists.entries.push_back(TodolistEntry{static_cast<std::int32_t>(app.todolists.count() + 1), title, path});
  }

  // How often each text is found in the saved files: today's sheet and every list.
  std::map<u16, int> textsOnDisk() {
    std::map<u16, int> seen;
    test::FakeClock c2;
    test::ScriptedPrompts p2;
    App reader(c2, p2, system);
    reader.start = app.start;
    if (loadTodoSheetPm6(reader, sheetPath(2021, 3, "DailyTask_2021-3-5-5.pm6"), nullptr, ProjectCredit::Skip))
      for (const TodoRow& r : reader.sheet.rows) ++seen[r.text];
    for (TodolistEntry e : app.todolists.entries) {
      TodoSheet list(kTodolistRows);
      EXPECT_EQ(loadTodolistFile(e.path, list, app.start.today, e), ListFileLoad::Loaded);
      for (const TodoRow& r : list.rows) ++seen[r.text];
    }
    seen.erase(u16());
    return seen;
  }
};

TEST_F(RowTransferTest, RowsWithoutRoomInTheTargetGoBackAndEveryTaskIsSavedOnce) {
  row(0).text = u"t0";
  row(1).text = u"t1";
  row(2).text = u"t2";
  row(2).estimated = 2;
  ASSERT_TRUE(saveTodoSheet(app, false));
  int listsShown = 0;
  app.hooks.listDisplayed = [&] { ++listsShown; };

  EXPECT_EQ(transferRows(app, kPageTodoToday, {0, 1, 2, 12}, 1), 2);
  EXPECT_EQ(prompts.shown.back().text, u"Sorry, destination page has no free rows.");
  EXPECT_EQ(row(2).text, u"t2");  // back home, with its scores
  EXPECT_EQ(row(2).estimated, 2);
  EXPECT_TRUE(row(0).isFree());
  EXPECT_EQ(row(12).text, kSeparatorText);
  EXPECT_EQ(app.todolists.current, 0);  // the list in view comes back
  EXPECT_GT(listsShown, 0);

  const std::map<u16, int> disk = textsOnDisk();
  for (const char16_t* t : {u"t0", u"t1", u"t2", kSeparatorText}) EXPECT_EQ(disk.at(t), 1) << utf16ToUtf8(t);
  EXPECT_EQ(disk.size(), 48u + 4u);
}

TEST_F(RowTransferTest, ATargetThatCannotBeSavedLeavesTheRowsInTheSavedSource) {
  app.todolist.rows[3].text = u"listed";
  app.todolist.rows[3].info.category = 4;
  app.ui.currentPage = kPageNextThings;
  app.ui.currentRow = 3;
  {
    refuseWritesTo("DailyTask");
    EXPECT_FALSE(moveCurrentRowToList(app, kTransferToToday));
    refuseWritesTo("");
  }
  EXPECT_EQ(app.todolist.rows[3].text, u"listed");
  EXPECT_EQ(app.todolist.rows[3].info.category, 4);
  for (const TodoRow& r : app.sheet.rows) EXPECT_NE(r.text, u"listed");
  EXPECT_EQ(textsOnDisk().at(u"listed"), 1);
}

TEST_F(RowTransferTest, ATaskWithTodaysWorkLeavesTodayOnlyAfterTheQuestion) {
  row(0).text = u"worked";
  row(0).pomodoros = 2;
  row(0).info.minutesToday = 50;
  app.sheet.dayTotals.pomodoros = 2;
  app.ui.currentRow = 0;

  prompts.answers = {MsgAnswer::No};
  EXPECT_FALSE(moveCurrentRowToList(app, 0));
  EXPECT_EQ(row(0).pomodoros, 2);

  prompts.answers = {MsgAnswer::Yes};
  ASSERT_TRUE(moveCurrentRowToList(app, 0));
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 0);
  EXPECT_EQ(app.todolist.rows[0].text, u"worked");
  EXPECT_EQ(app.todolist.rows[0].pomodoros, 0);
  EXPECT_EQ(app.todolist.rows[0].info.minutesToday, 0);
  EXPECT_TRUE(row(0).isFree());
}

}  // namespace
}  // namespace tirelmo
