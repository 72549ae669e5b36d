#include "app/day_cycle.h"

#include <gtest/gtest.h>

#include "posix/file_faults.h"
#include "app/scores.h"
#include "app/sheet_io.h"
#include "sheet/sheet_files.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

using test::header;
using test::readBytes;
using test::Rec;
using test::record;

constexpr char kToday[] = "DailyTask_2021-3-5-5.pm6";
constexpr char kYesterday[] = "DailyTask_2021-3-4-4.pm6";

class SheetCommandsTest : public test::SheetTest {
 protected:
  SheetCommandsTest() {
    app.sheet.sheetFileName = utf8ToUtf16(kToday);
    app.hooks.sheetDisplayed = [this] { ++displayed; };
    app.hooks.refreshTitle = [this] { ++titles; };
  }
  // A chooser that records where it was started and answers with the path (or cancels).
  ChooseSheetFile chooser(std::optional<u16> answer) {
    return [this, answer](u16v folder, u16& path) {
      dialogFolder = folder;
      if (!answer) return false;
      path = *answer;
      return true;
    };
  }
  int displayed = 0;
  int titles = 0;
  u16 dialogFolder;
};

TEST_F(SheetCommandsTest, CancellingTheDialogKeepsTheSheetAndItsName) {
  row(0).text = u"Today's task";
  EXPECT_FALSE(viewOldSheet(app, chooser(std::nullopt)));
  EXPECT_EQ(dialogFolder, dir.path() + u"\\dailytask");
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(kToday));
  EXPECT_EQ(row(0).text, u"Today's task");
  EXPECT_TRUE(logHas("Open File Cancel"));
  EXPECT_EQ(displayed, 0);
}

TEST_F(SheetCommandsTest, AChosenEarlierSheetIsShownReadOnly) {
  Rec old;
  old.index = 2;
  old.pomodoros = 3;
  old.text = "Yesterday's report";
  writeSheet(2021, 3, kYesterday, header() + record(old));

  ASSERT_TRUE(viewOldSheet(app, chooser(sheetPath(2021, 3, kYesterday))));
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(kYesterday));
  EXPECT_TRUE(app.sheet.readOnly);
  EXPECT_EQ(row(2).text, u"Yesterday's report");
  EXPECT_EQ(row(2).pomodoros, 3);
  EXPECT_EQ(displayed, 1);
  EXPECT_GE(titles, 1);
}

TEST_F(SheetCommandsTest, AModifiedSheetIsOfferedForSavingFirst) {
  row(1).text = u"Unsaved work";
  app.sheet.modified = true;
  prompts.answers = {MsgAnswer::Yes};

  viewOldSheet(app, chooser(std::nullopt));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Some page was modified.\nSave your changes?");
  Rec saved;
  saved.index = 1;
  saved.text = "Unsaved work";
  EXPECT_EQ(readBytes(nativeSheet(2021, 3, kToday)), header() + record(saved));
}

TEST_F(SheetCommandsTest, NoSheetIsOpenedWhileAPomodoroRuns) {
  app.timer.running = true;
  app.timer.row = 0;
  bool asked = false;
  EXPECT_FALSE(viewOldSheet(app, [&](u16v, u16&) { return asked = true; }));
  EXPECT_FALSE(asked);
}

TEST_F(SheetCommandsTest, NewSheetNeedsTheConfirmation) {
  row(0).text = u"Keep me";
  prompts.answers = {MsgAnswer::No};
  EXPECT_FALSE(newTodoSheet(app));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Confirm to clean-up ToDo list?\nAll Tasks will be discarded!");
  EXPECT_EQ(prompts.shown[0].caption, u"Tirelmo - v2.3.3.0");
  EXPECT_EQ(row(0).text, u"Keep me");
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(kToday));
}

TEST_F(SheetCommandsTest, NewSheetStartsOverWithItsSeparatorAndKeepsTheDayTotals) {
  row(0).text = u"Old task";
  row(0).pomodoros = 2;
  row(0).info.category = 3;
  row(20).text = u"Unplanned";
  app.sheet.dayTotals.pomodoros = 2;
  app.sheet.dayTotals.used = 1;
  prompts.answers = {MsgAnswer::Yes};

  ASSERT_TRUE(newTodoSheet(app));
  EXPECT_TRUE(logHas("New ToDo sheet"));
  EXPECT_TRUE(app.sheet.sheetFileName.empty());
  EXPECT_TRUE(row(0).isFree());
  EXPECT_EQ(row(0).pomodoros, 0);
  EXPECT_TRUE(row(20).isFree());
  EXPECT_EQ(app.sheet.separatorIndex, 12);
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 2);
  EXPECT_TRUE(app.sheet.modified);
  EXPECT_EQ(displayed, 1);

  // The next save replaces today's file with the empty sheet.
  ASSERT_TRUE(saveTodoSheet(app, false));
  Rec sep;
  sep.index = 12;
  sep.text = "   --- Unplanned & Urgent ---";
  EXPECT_EQ(readBytes(nativeSheet(2021, 3, kToday)), header() + record(sep));
}

TEST_F(SheetCommandsTest, NewSheetRefusesAnEarlierSheetAndAChangedDay) {
  app.sheet.sheetFileName = utf8ToUtf16(kYesterday);
  row(0).text = u"Old";
  prompts.answers = {MsgAnswer::Yes};
  EXPECT_FALSE(newTodoSheet(app));
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[1].text, u"Please open the ToDo list of today first.\nOperation aborted.");
  EXPECT_EQ(row(0).text, u"Old");
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(kYesterday));
}

class SheetNavigationTest : public test::SheetTest {
 protected:
  SheetNavigationTest() {
    for (int d : {3, 4}) {
      Rec t;
      t.index = 0, t.text = "task of day " + std::to_string(d);
      writeSheet(2021, 3, name(d), header() + record(t));
    }
    // Today's sheet is the one in memory.
    row(0).text = u"today, typed";
    app.hooks.takeEditorTexts = [&] { row(1).text = u"typed, not yet in the model"; };
    SheetListing listed;
    for (int d : {3, 4, 5}) listed.add(sheetPath(2021, 3, name(d)), d - 2);
    app.sheetList.publish(std::move(listed));
  }
  static std::string name(int day) {
    return "DailyTask_2021-3-" + std::to_string(day) + "-" + std::to_string(day) + ".pm6";
  }
};

TEST_F(SheetNavigationTest, PreviousSavesTodayAndWalksBack) {
  showPreviousSheet(app);
  // Today's sheet went to disk first, with what the editors held.
  EXPECT_NE(readBytes(nativeSheet(2021, 3, name(5))).find(test::scrambled(test::le("typed, not yet in the model"))),
            std::string::npos);
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(name(4)));
  EXPECT_TRUE(app.sheet.readOnly);
  EXPECT_EQ(row(0).text, u"task of day 4");
  EXPECT_TRUE(logHas("Prev Todo"));

  showPreviousSheet(app);
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(name(3)));
  // The oldest: the message, and the sheet on display keeps its name (and stays read-only
  // instead of passing for today's sheet).
  showPreviousSheet(app);
  ASSERT_FALSE(prompts.shown.empty());
  EXPECT_EQ(prompts.shown.back().text, u"No previous ToDo sheet was found");
  EXPECT_EQ(prompts.shown.back().caption, u"Tirelmo - v2.3.3.0");
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(name(3)));
  EXPECT_FALSE(SaveAllSheets(app));
}

TEST_F(SheetNavigationTest, NextStopsOnTheNewestAndBackToTodayResetsTheCursor) {
  ASSERT_TRUE(saveTodoSheet(app, false));
  showNextSheet(app);  // the cursor is on the newest entry: that entry again
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(name(5)));
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_TRUE(logHas("Next Todo"));

  showPreviousSheet(app);
  showPreviousSheet(app);
  showNextSheet(app);
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(name(4)));

  backToTodaySheet(app);
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(name(5)));
  EXPECT_FALSE(app.sheet.readOnly);
  EXPECT_EQ(row(0).text, u"today, typed");
  showNextSheet(app);
  ASSERT_FALSE(prompts.shown.empty());
  EXPECT_EQ(prompts.shown.back().text, u"That's the latest ToDo sheet.");
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(name(5)));

  // A running pomodoro blocks the commands.
  app.timer.running = true;
  showPreviousSheet(app);
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(name(5)));
}

// The disk refuses every write below DailyTask while it lives.
struct RefusedSheetWrites {
  RefusedSheetWrites() { refuseWritesTo("DailyTask"); }
  ~RefusedSheetWrites() { refuseWritesTo(""); }
};

TEST_F(SheetNavigationTest, AFailedSaveNeverLetsAnotherSheetReplaceTheEdits) {
  auto expectKept = [&](const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(name(5)));
    EXPECT_FALSE(app.sheet.readOnly);
    EXPECT_TRUE(app.sheet.modified);
    EXPECT_EQ(row(0).text, u"today, typed");
    EXPECT_EQ(row(1).text, u"typed, not yet in the model");
  };
  {
    RefusedSheetWrites refused;
    app.sheet.modified = true;
    showPreviousSheet(app);
    expectKept("previous");
    EXPECT_TRUE(logHas(name(5) + " stays on display: it could not be saved"));
    ASSERT_EQ(prompts.shown.size(), 1u);  // told once, by the save
    EXPECT_EQ(prompts.shown[0].text, u"Error Saving To-do Sheet");

    prompts.answers = {MsgAnswer::Yes};
    showNextSheet(app);
    expectKept("next");
    prompts.answers = {MsgAnswer::Yes};
    backToTodaySheet(app);
    expectKept("back to today");
    prompts.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    EXPECT_FALSE(newTodoSheet(app));
    expectKept("new sheet");
    prompts.answers = {MsgAnswer::Yes};
    EXPECT_FALSE(viewOldSheet(app, [&](u16v, u16& path) {
      path = sheetPath(2021, 3, name(3));
      return true;
    }));
    expectKept("open file");
  }
  // The disk is back: the edits reach it and the sheet may go.
  showPreviousSheet(app);
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(name(4)));
  EXPECT_NE(readBytes(nativeSheet(2021, 3, name(5))).find(test::scrambled(test::le("typed, not yet in the model"))),
            std::string::npos);
}

TEST_F(SheetNavigationTest, AFailedSaveStopsTheDayRestartAndWhatTriggeredIt) {
  app.sheet.modified = true;
  int restarts = 0;
  app.hooks.beforeDayRestart = [&] { ++restarts; };
  clock.set(2021, 3, 6, 0, 5);
  {
    RefusedSheetWrites refused;
    EXPECT_FALSE(CloseAppStartedYesterday(app));
    EXPECT_TRUE(logHas("Day restart stopped: " + name(5) + " could not be saved, its rows stay on display"));
    // A score after midnight is not put on the old day's sheet as if the restart had worked.
    app.ui.currentRow = 0;
    EXPECT_FALSE(scoreCommandAdd(app, ScoreKind::Pomodoro));
    EXPECT_EQ(row(0).pomodoros, 0);
    EXPECT_TRUE(logHas("Started on a previous day, new score wont be added."));
    showPreviousSheet(app);
  }
  EXPECT_EQ(restarts, 0);
  EXPECT_EQ(app.start.today.day(), 5);
  EXPECT_EQ(app.sheet.sheetFileName, utf8ToUtf16(name(5)));
  EXPECT_TRUE(app.sheet.modified);
  EXPECT_EQ(row(0).text, u"today, typed");
  EXPECT_EQ(row(1).text, u"typed, not yet in the model");
}

TEST_F(SheetNavigationTest, ScoresWhileAnEarlierSheetIsShownCountForTodayOnly) {
  Rec busy;
  busy.index = 0, busy.pomodoros = 7, busy.text = "a busy day";
  writeSheet(2021, 3, name(4), header() + record(busy));
  app.ui.currentRow = 0;
  ASSERT_TRUE(scoreCommandAdd(app, ScoreKind::Pomodoro));
  ASSERT_EQ(app.month.days[4].pomodoros, 1);

  showPreviousSheet(app);
  ASSERT_EQ(app.sheet.sheetFileName, utf8ToUtf16(name(4)));
  ASSERT_EQ(app.sheet.dayTotals.pomodoros, 7);
  // A pomodoro on a Todolist row meanwhile is today's: it must neither copy the earlier
  // day's 7 into today's slot nor be added to the earlier day.
  app.ui.currentPage = kPageNextThings;
  app.todolist.rows[0].text = u"list task";
  ASSERT_TRUE(scoreCommandAdd(app, ScoreKind::Pomodoro));
  EXPECT_EQ(app.month.days[4].pomodoros, 2);
  EXPECT_EQ(app.month.days[3].pomodoros, 0);
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 7);

  // Back on today's sheet its totals are today's, the Todolist pomodoro included.
  backToTodaySheet(app);
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 2);
  EXPECT_EQ(app.month.days[4].pomodoros, 2);
}

}  // namespace
}  // namespace tirelmo
