#include "app/row_editing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "app/app.h"
#include "base/log.h"
#include "support/fakes.h"

namespace tirelmo {
namespace {

class RowEditingTest : public ::testing::Test {
 protected:
  RowEditingTest() : app(clock, prompts, system) {
    clock.set(2021, 5, 14, 10, 0);
    app.start.startTime = clock.now();
    app.start.today = DayDate::from(clock.now());
    app.start.userDataDir = dir.path();
    std::filesystem::create_directory(dir.native() + "/stats");
    app.sheet.sheetFileName = u"DailyTask_2021-5-14-5.pm6";
    app.settings.pomtimerminutes = 25;
    app.shell = &shell;
    app.sheet.rows[4].text = kSeparatorText;
    app.sheet.separatorIndex = 4;
    app.todolists.entries.push_back(TodolistEntry{1, u"Next", dir.path() + u"/Next.pm6"});
    app.hooks.pageRowsChanged = [this](int page) { changedPages.push_back(page); };
    processLog().open();
  }
  ~RowEditingTest() override { processLog().closeOnFailedStart(); }

  TodoRow& row(int i) { return app.sheet.rows[static_cast<std::size_t>(i)]; }
  TodoRow& task(int i, u16 text, int pomodoros = 0) {
    row(i).text = std::move(text);
    row(i).pomodoros = static_cast<std::uint8_t>(pomodoros);
    return row(i);
  }
  void select(int page, int r) {
    app.ui.currentPage = page;
    app.ui.currentRow = r;
  }
  void runPomodoroOn(int r) {
    app.timer.running = true;
    app.timer.isBreak = false;
    app.timer.row = r;
  }
  u16 lastMessage() const { return prompts.shown.empty() ? u16() : prompts.shown.back().text; }
  std::vector<u16> texts(int n) {
    std::vector<u16> t;
    for (int i = 0; i < n; ++i) t.push_back(row(i).text);
    return t;
  }

  test::TempDir dir;
  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  test::RecordingShell shell;
  App app;
  std::vector<int> changedPages;
};

TEST_F(RowEditingTest, SortByTextPutsTheLowerOfEqualTextsFirstAndKeepsTheSeparator) {
  task(0, u"b");
  task(1, u"a", 1);
  task(3, u"a", 3);
  runPomodoroOn(0);
  ASSERT_TRUE(sortRows(app, false));
  EXPECT_EQ(texts(5), (std::vector<u16>{u"a", u"a", u"b", u"", kSeparatorText}));
  EXPECT_EQ(row(0).pomodoros, 3);  // the lower "a" first, with its scores
  EXPECT_EQ(row(1).pomodoros, 1);
  EXPECT_EQ(app.sheet.separatorIndex, 4);
  EXPECT_EQ(app.timer.row, 2);  // the pomodoro stays on "b"
  EXPECT_TRUE(app.sheet.modified);
}

TEST_F(RowEditingTest, UndoneFirstKeepsOrderAndLeavesFreeRowsAboveTheSeparator) {
  task(0, u"done").done = 1;
  task(1, u"u1");
  task(3, u"u2");
  task(6, u"below");
  ASSERT_TRUE(sortRows(app, true));
  EXPECT_EQ(texts(7), (std::vector<u16>{u"u1", u"u2", u"done", u"", kSeparatorText, u"", u"below"}));
  EXPECT_TRUE(row(2).isDone());

  app.sheet.separatorIndex = -1;
  EXPECT_FALSE(sortRows(app, true));
  EXPECT_EQ(lastMessage(), u"Row 'Unplanned And Urgent' is in position -1. Operation canceled.");
}

TEST_F(RowEditingTest, MovesAroundTheSeparatorKeepItsIndexOnItsText) {
  task(3, u"above", 2);
  runPomodoroOn(3);
  select(0, 3);
  ASSERT_TRUE(moveRowDown(app));
  EXPECT_EQ(row(3).text, kSeparatorText);
  EXPECT_EQ(row(3).pomodoros, 0);
  EXPECT_EQ(row(4).text, u"above");
  EXPECT_EQ(row(4).pomodoros, 2);
  EXPECT_EQ(app.sheet.separatorIndex, 3);
  EXPECT_EQ(app.ui.currentRow, 4);
  EXPECT_EQ(app.timer.row, 4);

  // The separator itself moved: the index follows it.
  select(0, 3);
  ASSERT_TRUE(moveRowUp(app));
  EXPECT_EQ(row(2).text, kSeparatorText);
  EXPECT_EQ(app.sheet.separatorIndex, 2);

  select(0, 0);
  EXPECT_FALSE(moveRowUp(app));
}

TEST_F(RowEditingTest, TheSeparatorAndTheRunningTaskCannotBeDeletedCutOrMovedAway) {
  task(1, u"running");
  runPomodoroOn(1);
  select(0, 4);
  EXPECT_FALSE(deleteLine(app));
  EXPECT_FALSE(cutRow(app));
  EXPECT_EQ(row(4).text, kSeparatorText);
  select(0, 1);
  EXPECT_FALSE(deleteLine(app));
  EXPECT_FALSE(cutRow(app));
  EXPECT_FALSE(moveRowToPage(app, 0, 1));
  EXPECT_EQ(row(1).text, u"running");
  EXPECT_FALSE(shell.clipboardHasText);
  ASSERT_EQ(prompts.shown.size(), 5u);
  EXPECT_NE(lastMessage().find(u"timer is running"), u16::npos);

  // A break holds no task: its row is free to go.
  app.timer.isBreak = true;
  task(1, u"after").done = 1;
  EXPECT_TRUE(deleteLine(app));
  EXPECT_EQ(row(1), TodoRow());
}

TEST_F(RowEditingTest, CutKeepsTheTextWhenTheClipboardCannotBeOpened) {
  task(2, u"keep me", 2);
  select(0, 2);
  shell.clipboardOpens = false;
  EXPECT_FALSE(cutRow(app));
  EXPECT_EQ(row(2).text, u"keep me");
  EXPECT_EQ(row(2).pomodoros, 2);
  EXPECT_EQ(lastMessage(), u"The clipboard could not be opened.\nThe row was not cut.");
}

TEST_F(RowEditingTest, PasteDropsLineFeedsReplacesTheSelectionAndCutsWholeCharacters) {
  select(0, 0);
  shell.setClipboardText(u"a\r\nb");
  int caret = -1;
  ASSERT_TRUE(pasteRow(app, 0, 0, &caret));
  EXPECT_EQ(row(0).text, u"a\rb");
  EXPECT_EQ(caret, 3);

  task(1, u"hello world");
  select(0, 1);
  shell.setClipboardText(u"there");
  ASSERT_TRUE(pasteRow(app, 11, 6, &caret));
  EXPECT_EQ(row(1).text, u"hello there");
  EXPECT_EQ(caret, 11);

  // One unit of room left: a surrogate pair does not fit, and the text after the caret stays.
  task(2, u16(176, u'x') + u"yz");
  select(0, 2);
  shell.setClipboardText(u"\U0001F600\U0001F600");
  ASSERT_TRUE(pasteRow(app, 177, 177, &caret));
  EXPECT_EQ(row(2).text, u16(176, u'x') + u"yz");
  EXPECT_EQ(caret, 177);

  // Line feeds only, over the whole text: the row is free, nothing of the task stays.
  task(5, u"gone", 2);
  select(0, 5);
  shell.setClipboardText(u"\n\n");
  ASSERT_TRUE(pasteRow(app, 0, 4, &caret));
  EXPECT_EQ(row(5), TodoRow());

  // A clipboard of a million units fills the row and no more.
  select(0, 3);
  shell.setClipboardText(u16(1000000, u'q'));
  ASSERT_TRUE(pasteRow(app, 0, 0, &caret));
  EXPECT_EQ(row(3).text, u16(kRowTextMax, u'q'));
  EXPECT_EQ(caret, static_cast<int>(kRowTextMax));
}

TEST_F(RowEditingTest, ScoresFollowOnlyACutTaskIntoAFreeRow) {
  task(1, u"cut me", 3).info.category = 5;
  task(2, u"other", 1);
  select(0, 1);
  ASSERT_TRUE(cutRow(app));
  EXPECT_EQ(row(1), TodoRow());
  EXPECT_EQ(shell.clipboard, u"cut me");

  // Into a task: its text changes, its scores stay.
  select(0, 2);
  ASSERT_TRUE(pasteRow(app, 5, 5));
  EXPECT_EQ(row(2).text, u"othercut me");
  EXPECT_EQ(row(2).pomodoros, 1);
  EXPECT_FALSE(app.rowClipboard.full);

  // Cut, then into a free row: the task comes back whole.
  select(0, 2);
  ASSERT_TRUE(cutRow(app));
  select(0, 6);
  ASSERT_TRUE(pasteRow(app, 0, 0));
  EXPECT_EQ(row(6).text, u"othercut me");
  EXPECT_EQ(row(6).pomodoros, 1);

  // A copy carries no scores: they would count twice.
  ASSERT_TRUE(copyRow(app));
  EXPECT_TRUE(app.rowClipboard.full);
  select(0, 7);
  ASSERT_TRUE(pasteRow(app, 0, 0));
  EXPECT_EQ(row(7).pomodoros, 0);
  // Copy on the Todolist page empties the row clipboard.
  ASSERT_TRUE(copyRow(app));
  select(1, 0);
  ASSERT_TRUE(copyRow(app));
  EXPECT_FALSE(app.rowClipboard.full);
}

TEST_F(RowEditingTest, EarlierSheetsAndUnreadableListsStayUnchanged) {
  app.sheet.sheetFileName = u"DailyTask_2021-5-13-4.pm6";
  app.sheet.readOnly = true;
  task(1, u"yesterday");
  task(2, u"b");
  select(0, 1);
  shell.setClipboardText(u"x");
  EXPECT_FALSE(deleteLine(app));
  EXPECT_FALSE(cutRow(app));
  EXPECT_FALSE(pasteRow(app, 0, 0));
  EXPECT_FALSE(sortRows(app, false));
  EXPECT_FALSE(moveRowDown(app));
  EXPECT_FALSE(setRowDeadline(app, 2021, 6, 1));
  EXPECT_EQ(texts(3), (std::vector<u16>{u"", u"yesterday", u"b"}));
  ASSERT_EQ(prompts.shown.size(), 6u);
  for (const auto& s : prompts.shown) EXPECT_EQ(s.text, u"Please open the ToDo list of today first.\nOperation aborted.");
  EXPECT_TRUE(changedPages.empty());

  app.todolist.readOnly = true;
  app.todolist.rows[0].text = u"list";
  select(1, 0);
  EXPECT_FALSE(deleteLine(app));
  EXPECT_EQ(app.todolist.rows[0].text, u"list");
  EXPECT_EQ(lastMessage(), u"This Todolist could not be read, so it cannot be changed.\n\nOperation aborted.");
}

TEST_F(RowEditingTest, DeadlinesOutsideWhatARowHoldsAreRefusedAndListCountsFollow) {
  app.todolist.rows[3].text = u"due";
  select(1, 3);
  EXPECT_FALSE(setRowDeadline(app, 2021, 2, 29));
  EXPECT_FALSE(setRowDeadline(app, 2256, 1, 1));
  EXPECT_FALSE(setRowDeadline(app, 1999, 12, 31));
  EXPECT_EQ(app.todolist.rows[3].info.flags, 0);

  ASSERT_TRUE(setRowDeadline(app, 2021, 5, 14));  // today: the most urgent class
  const RowInfo& info = app.todolist.rows[3].info;
  EXPECT_EQ(info.deadlineYear, 21);
  EXPECT_EQ(app.todolists.entries[0].deadlineCount[5], 1);
  ASSERT_TRUE(removeRowDeadline(app));
  EXPECT_EQ(app.todolists.entries[0].deadlineCount[5], 0);
  EXPECT_EQ(info.deadlineDay, 14);  // the date stays, unflagged
  EXPECT_EQ(changedPages, (std::vector<int>{1, 1}));
}

TEST_F(RowEditingTest, MovingATaskOffTodayTakesItsScoresOutOfTheDayAfterYes) {
  Project p;
  p.id = 7;
  p.name = u"P";
  p.workedHours = 3;
  app.projects.active = {p};
  TodoRow& r = task(2, u"worked", 4);
  r.info.minutesToday = 100;
  r.info.projectId = 7;
  app.sheet.dayTotals.pomodoros = 6;
  app.sheet.dayTotals.setWorkedTime(150);
  select(0, 2);

  prompts.answers = {MsgAnswer::No};
  EXPECT_FALSE(moveRowToPage(app, 0, 1));
  EXPECT_EQ(row(2).pomodoros, 4);
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 6);

  prompts.answers = {MsgAnswer::Yes};
  ASSERT_TRUE(moveRowToPage(app, 0, 1));
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 2);
  EXPECT_EQ(app.sheet.dayTotals.workedTime(), 50);
  EXPECT_EQ(app.projects.active[0].workedHours * 60 + app.projects.active[0].workedMinutes, 80u);
  EXPECT_EQ(row(2), TodoRow());
  EXPECT_EQ(app.todolist.rows[0].text, u"worked");
  EXPECT_EQ(app.todolist.rows[0].pomodoros, 0);
  EXPECT_EQ(app.ui.currentPage, 0);
}

}  // namespace
}  // namespace tirelmo
