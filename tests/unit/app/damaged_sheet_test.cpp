#include "app/damaged_sheet.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/day_start.h"
#include "app/sheet_io.h"
#include "sheet/sheet_files.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

namespace fs = std::filesystem;
using test::header;
using test::Rec;
using test::record;
using test::readBytes;

const std::string kToday = "DailyTask_2021-3-5-5.pm6";

class DamagedSheetTest : public test::SheetTest {
 protected:
  // Today's sheet with three whole records and the first 30 bytes of a fourth.
  std::string writeCutSheet() {
    Rec r;
    std::string bytes = header();
    for (int i = 0; i < 4; ++i) {
      r.index = i;
      r.pomodoros = static_cast<std::uint8_t>(i);
      r.text = "task " + std::to_string(i);
      bytes += record(r);
    }
    bytes.resize(bytes.size() - record(r).size() + 30);
    writeSheet(2021, 3, kToday, bytes);
    return bytes;
  }
  std::string copyPath(int n) const { return nativeSheet(2021, 3, kToday) + ".damaged-" + std::to_string(n); }
};

TEST_F(DamagedSheetTest, TodaysDamagedSheetIsKeptBeforeTheFirstSave) {
  const std::string original = writeCutSheet();
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_EQ(row(0).text, u"task 0");
  EXPECT_EQ(row(2).text, u"task 2");
  EXPECT_EQ(row(2).pomodoros, 2);
  EXPECT_TRUE(row(3).isFree());
  EXPECT_EQ(readBytes(copyPath(1)), original);
  EXPECT_TRUE(logHas("Damaged sheet " + utf16ToUtf8(sheetPath(2021, 3, kToday)) + " kept as " +
                     utf16ToUtf8(sheetPath(2021, 3, kToday)) + ".damaged-1"));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"The ToDo sheet " + utf8ToUtf16(kToday) +
                                       u" could not be read whole.\nA copy of the file was kept as " +
                                       utf8ToUtf16(kToday) + u".damaged-1.");

  // The save writes what was read and what was typed; the copy stays as it was.
  row(3).text = u"typed after the start";
  ASSERT_TRUE(saveTodoSheet(app, false));
  EXPECT_EQ(readBytes(copyPath(1)), original);
  TodoSheet& sheet = app.sheet;
  resetTodoSheet(sheet);
  ASSERT_TRUE(loadTodoSheetPm6(app, sheetPath(2021, 3, kToday), nullptr));
  EXPECT_FALSE(sheet.readWithDamage);
  EXPECT_EQ(row(3).text, u"typed after the start");

  // The same damaged bytes shown again (a second start, the sheet shown twice) make no
  // second copy and no second message.
  test::writeBytes(nativeSheet(2021, 3, kToday), original);
  ASSERT_TRUE(DisplayToDoSheet(app, sheetPath(2021, 3, kToday)));
  EXPECT_FALSE(fs::exists(copyPath(2)));
  EXPECT_EQ(prompts.shown.size(), 1u);
  EXPECT_TRUE(logHas("Damaged sheet " + utf16ToUtf8(sheetPath(2021, 3, kToday)) + " kept before as " +
                     utf16ToUtf8(sheetPath(2021, 3, kToday)) + ".damaged-1"));
}

TEST_F(DamagedSheetTest, NoSaveOverADamagedSheetWhileNoCopyCanBeMade) {
  const std::string original = writeCutSheet();
  // Every name a copy could take is held by a folder.
  for (int n = 1; n <= 999; ++n) fs::create_directory(copyPath(n));
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"The ToDo sheet " + utf8ToUtf16(kToday) +
                                       u" could not be read whole, and no copy of it could be made.\n"
                                       u"It will not be saved over.");

  row(3).text = u"typed";
  app.sheet.modified = true;
  EXPECT_FALSE(saveTodoSheet(app, false));
  EXPECT_EQ(readBytes(nativeSheet(2021, 3, kToday)), original);
  EXPECT_TRUE(app.sheet.modified);
  EXPECT_TRUE(logHas("Save ToDo sheet refused, " + utf16ToUtf8(sheetPath(2021, 3, kToday)) + " is kept as it is"));
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[1].text, u"Error Saving To-do Sheet");

  // Once a name is free, the next save keeps the copy first and then writes.
  fs::remove(copyPath(7));
  ASSERT_TRUE(saveTodoSheet(app, false));
  EXPECT_EQ(readBytes(copyPath(7)), original);
  EXPECT_NE(readBytes(nativeSheet(2021, 3, kToday)), original);
  EXPECT_EQ(prompts.shown.size(), 3u);  // the copy's name, told once
}

}  // namespace
}  // namespace tirelmo
