#include "app/export_command.h"

#include <gtest/gtest.h>

#include "storage/file_tools.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

class ExportCommandTest : public test::SheetTest {};

TEST_F(ExportCommandTest, SavesTheOpenSheetFirstAndRefusesAFolderInsideTheData) {
  startRunOn(2021, 3, 5);
  app.sheet.sheetFileName = u"DailyTask_2021-3-5-5.pm6";
  app.sheet.rows[0].text = u"Unsaved task";
  app.sheet.modified = true;
  const u16 out = dir.path() + u"\\..\\" + baseName(dir.path()) + u"-export";
  EXPECT_TRUE(runExportCommand(app, [&](u16& f) { return f = out, true; }));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_NE(prompts.shown[0].text.find(u"ToDo sheets: 1 (1 tasks)"), u16::npos) << utf16ToUtf8(prompts.shown[0].text);
  // Each export gets its own folder of the day; a second one does not replace the first.
  EXPECT_TRUE(std::filesystem::exists(test::nativePath(out + u"\\Tirelmo export 2021-03-05\\sheets.csv")));
  EXPECT_TRUE(runExportCommand(app, [&](u16& f) { return f = out, true; }));
  EXPECT_TRUE(std::filesystem::exists(test::nativePath(out + u"\\Tirelmo export 2021-03-05 (2)\\sheets.csv")));
  prompts.shown.pop_back();
  std::filesystem::remove_all(test::nativePath(out));

  EXPECT_FALSE(runExportCommand(app, [&](u16& f) { return f = dir.path() + u"\\stats", true; }));
  EXPECT_EQ(prompts.shown.back().icon, MsgIcon::Exclamation);
  EXPECT_FALSE(runExportCommand(app, [](u16&) { return false; })) << "cancelled";
  EXPECT_EQ(prompts.shown.size(), 2u);
}

}  // namespace
}  // namespace tirelmo
