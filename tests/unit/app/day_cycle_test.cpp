#include "ui/sheet_commands.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tirelmo
