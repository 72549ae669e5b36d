#include "projects/categories.h"

#include <gtest/gtest.h>

#include "app/sheet_io.h"
#include "sheet/sheet_files.h"
#include "storage/settings.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

using test::header;
using test::readBytes;
using test::Rec;
using test::record;

class CategoriesTest : public test::SheetTest {
 protected:
  CategoriesTest() {
    app.sheet.sheetFileName = u"DailyTask_2021-3-5-5.pm6";
    app.hooks.redrawRow = [this](int r) { redrawn.push_back(r); };
    app.hooks.takeEditorTexts = [this] { ++textsTaken; };
  }
  std::vector<int> redrawn;
  int textsTaken = 0;
};

TEST_F(CategoriesTest, CommandIdsMapToCategories) {
  EXPECT_EQ(categoryOfCommand(1147), 1);
  EXPECT_EQ(categoryOfCommand(1152), 6);
  EXPECT_EQ(categoryOfCommand(1158), 12);
  EXPECT_EQ(categoryOfCommand(1159), 0);
  EXPECT_EQ(categoryOfCommand(1146), -1);
  EXPECT_EQ(categoryOfCommand(1160), -1);
  EXPECT_EQ(categoryOfCommand(1103), -1);
}

TEST_F(CategoriesTest, ACommandSetsTheCurrentRowAndTheSavedFileKeepsIt) {
  row(3).text = u"Call the bank";
  app.ui.currentRow = 3;

  ASSERT_TRUE(runCategoryCommand(app, 1152));  // Alt+B
  EXPECT_EQ(row(3).info.category, 6);
  EXPECT_TRUE(app.sheet.modified);
  EXPECT_EQ(redrawn, std::vector<int>{3});
  EXPECT_EQ(textsTaken, 1);
  EXPECT_TRUE(prompts.shown.empty());

  ASSERT_TRUE(saveTodoSheet(app, false));
  Rec expected;
  expected.index = 3;
  expected.category = 6;
  expected.text = "Call the bank";
  EXPECT_EQ(readBytes(nativeSheet(2021, 3, "DailyTask_2021-3-5-5.pm6")), header() + record(expected));

  ASSERT_TRUE(runCategoryCommand(app, 1159));
  EXPECT_EQ(row(3).info.category, 0);
}

TEST_F(CategoriesTest, SettingTheSameCategoryAgainDoesNotMarkTheSheet) {
  row(2).text = u"Gym";
  row(2).info.category = 7;
  EXPECT_TRUE(setRowCategory(app, 2, 7));
  EXPECT_FALSE(app.sheet.modified);
}

TEST_F(CategoriesTest, AnEarlierSheetIsReadOnly) {
  app.sheet.sheetFileName = u"DailyTask_2021-3-4-4.pm6";
  row(3).text = u"Old task";
  row(3).info.category = 2;
  app.ui.currentRow = 3;

  EXPECT_FALSE(runCategoryCommand(app, 1147));
  EXPECT_EQ(row(3).info.category, 2);
  EXPECT_FALSE(app.sheet.modified);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Please open the ToDo list of today first.\nOperation aborted.");
  EXPECT_EQ(prompts.shown[0].caption, u"Tirelmo");
  EXPECT_TRUE(redrawn.empty());
}

TEST_F(CategoriesTest, RowsWithoutATaskAndOtherPagesTakeNoCategory) {
  app.sheet.separatorIndex = 12;
  row(12).text = kSeparatorText;
  app.ui.currentRow = 12;
  EXPECT_FALSE(runCategoryCommand(app, 1148));
  EXPECT_EQ(row(12).info.category, 0);

  app.ui.currentRow = 4;  // free row
  EXPECT_FALSE(runCategoryCommand(app, 1148));
  EXPECT_EQ(row(4).info.category, 0);

  row(4).text = u"Task";
  app.ui.currentPage = 1;  // the selected row is a Todolist row
  EXPECT_FALSE(runCategoryCommand(app, 1148));
  EXPECT_EQ(row(4).info.category, 0);

  app.ui.currentPage = 0;
  EXPECT_FALSE(setRowCategory(app, 4, 13));
  EXPECT_FALSE(setRowCategory(app, 25, 1));
  EXPECT_FALSE(app.sheet.modified);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_TRUE(logHas("Category 2 not set: row 12 holds no task"));
}

class CategoryCloud : public test::FakeCloud {
 public:
  std::vector<u16> names;
  int uploadCategory(App&, int number, u16v name) override {
    if (number == static_cast<int>(names.size())) names.emplace_back(name);
    return 0;
  }
};

TEST_F(CategoriesTest, NamesLoseLineBreaksBeforeTheSettingsFileAndTheCloudGetThem) {
  setDefaultSettings(app.settings, dir.path());
  app.settings.cloudEna = true;
  CategoryCloud cloud;
  app.cloud = &cloud;
  int previousDayRedrawn = 0;
  app.hooks.pageContentChanged = [&](int page) { previousDayRedrawn += page == 2; };
  std::vector<u16> names(12);
  names[0] = u"Bugs\r\nnext_prj_ID=99";
  names[2] = u16(200, u'd');

  ASSERT_TRUE(setCategoryNames(app, names));
  EXPECT_EQ(app.settings.categories[0], u"--");
  EXPECT_EQ(app.settings.categories[1], u"Bugsnext_prj_ID=99");
  EXPECT_EQ(app.settings.categories[2], u"");
  EXPECT_EQ(app.settings.categories[3].size(), 127u);
  ASSERT_EQ(cloud.names.size(), 13u);
  EXPECT_EQ(cloud.names[1], u"Bugsnext_prj_ID=99");
  EXPECT_EQ(previousDayRedrawn, 1);

  const std::string file = test::fromLe(readBytes(dir.native() + "/tirelmo.i00"));
  EXPECT_NE(file.find("\r\ncat_RED=Bugsnext_prj_ID=99\r\n"), std::string::npos);
  EXPECT_EQ(file.find("\nnext_prj_ID=99"), std::string::npos);
}

TEST_F(CategoriesTest, RepeatGoesOnAndOffButNotOnAnEarlierSheet) {
  row(3).text = u"Stand-up";
  app.ui.currentRow = 3;
  ASSERT_TRUE(runRepeatCommand(app, kCmdRepeatOn));
  EXPECT_TRUE(row(3).hasFlag(rowflag::kRepeat));
  EXPECT_TRUE(app.sheet.modified);
  EXPECT_EQ(redrawn, std::vector<int>{3});
  ASSERT_TRUE(runRepeatCommand(app, kCmdRepeatOff));
  EXPECT_FALSE(row(3).hasFlag(rowflag::kRepeat));

  app.ui.currentRow = 4;  // free row
  EXPECT_FALSE(runRepeatCommand(app, kCmdRepeatOn));
  EXPECT_FALSE(row(4).hasFlag(rowflag::kRepeat));

  app.sheet.sheetFileName = u"DailyTask_2021-3-4-4.pm6";
  app.ui.currentRow = 3;
  EXPECT_FALSE(runRepeatCommand(app, kCmdRepeatOn));
  EXPECT_FALSE(row(3).hasFlag(rowflag::kRepeat));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Please open the ToDo list of today first.\nOperation aborted.");
}

}  // namespace
}  // namespace tirelmo
