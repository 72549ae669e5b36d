#include "app/stale_temporaries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/sheet_io.h"
#include "sheet/sheet_files.h"
#include "sheet/sheet_list.h"
#include "storage/settings.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

namespace fs = std::filesystem;

class StaleTemporariesTest : public test::SheetTest {
 protected:
  void put(const std::string& relative, const std::string& bytes = "x") {
    const fs::path p = fs::path(dir.native()) / relative;
    fs::create_directories(p.parent_path());
    test::writeBytes(p.string(), bytes);
  }
  bool has(const std::string& relative) const { return fs::exists(fs::path(dir.native()) / relative); }
};

TEST_F(StaleTemporariesTest, OurTemporariesGoAtStartAndAreNeverSheets) {
  app.start.defaultUserDataDir = dir.path() + u"\\Roaming";
  const std::vector<std::string> ours = {
      "DailyTask/2021/3/DailyTask_2021-3-5-5.pm6.tmp", "DailyTask/2021/2/DailyTask_2021-2-28-0.pm6.TMP",
      "stats/2021-3.ats.tmp",       "stats/DoneTasks_2021_3.m00.tmp",
      "Projects/active_prj.p01.tmp", "Projects/closed_prj.p01.tmp",
      "YesterdayArchive.y00.tmp",   "Roaming/tirelmo.i00.tmp",
      "TdlInfo.p01.tmp",            "NextThings/Groceries & more.pm6.tmp"};
  const std::vector<std::string> others = {
      "DailyTask/2021/3/DailyTask_2021-3-4-4.pm6", "DailyTask/2021/3/DailyTask_2021-3-5-5.pm6.damaged-1",
      "DailyTask/2021/3/notes.pm6.tmp",           "stats/report.tmp",
      "stats/2021-x.ats.tmp",                     "Projects/active_prj.p01.bak.tmp",
      "Roaming/other.i00.tmp",                    "DailyTask/2020/7/DailyTask_2020-7-1-3.pm6.tmp",
      "NextThings/Groceries.pm6",                 "NextThings/notes.txt.tmp"};
  for (const std::string& f : ours) put(f);
  for (const std::string& f : others) put(f);
  put("DailyTask/2021/3/DailyTask_2021-3-3-3.PM6");
  put("DailyTask/2021/3/DailyTask_2021-3-2-2_dbg.pm6");

  EXPECT_EQ(removeStaleTemporaries(app), static_cast<int>(ours.size()));
  for (const std::string& f : ours) EXPECT_FALSE(has(f)) << f;
  for (const std::string& f : others) EXPECT_TRUE(has(f)) << f;
  EXPECT_TRUE(logHas("Removed stale temporary file " + utf16ToUtf8(sheetPath(2021, 3, "DailyTask_2021-3-5-5.pm6.tmp"))));

  // Left in an older month, a temporary is still no sheet: not listed, not shown.
  std::vector<std::string> listed;
  const SheetListing sheets = buildSheetList(dir.path() + u"\\DailyTask");
  for (std::size_t i = 0; i < sheets.size(); ++i) listed.push_back(test::nativePath(sheets.path(i)));
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{dir.native() + "/DailyTask/2021/3/DailyTask_2021-3-3-3.PM6",
                                              dir.native() + "/DailyTask/2021/3/DailyTask_2021-3-4-4.pm6"}));
  EXPECT_FALSE(DisplayToDoSheet(app, dir.path() + u"\\DailyTask\\2020\\7\\DailyTask_2020-7-1-3.pm6.tmp"));
  EXPECT_EQ(sheetFormatOfName(u"DailyTask_2021-3-5-5.pm6.tmp"), SheetFormat::Unknown);
  EXPECT_EQ(sheetFormatOfName(u"x.pm6.damaged-1"), SheetFormat::Unknown);
  EXPECT_EQ(sheetFormatOfName(u"DailyTask_2009-11-30.PM4"), SheetFormat::Pm4);

  // Neither a sheet name nor the settings make last2dofilename name a temporary.
  app.sheet.sheetFileName = u"DailyTask_2021-3-5-5.pm6.tmp";
  row(0).text = u"typed";
  ASSERT_TRUE(saveTodoSheet(app, false));
  EXPECT_EQ(app.settings.last2dofilename, sheetPath(2021, 3, "DailyTask_2021-3-5-5.pm6"));
  Settings s;
  s.last2dofilename = sheetPath(2021, 3, "DailyTask_2021-3-5-5.pm6.tmp");
  EXPECT_TRUE(adjustSettings(s, system));
  EXPECT_EQ(s.last2dofilename, sheetPath(2021, 3, "DailyTask_2021-3-5-5.pm6"));
}

}  // namespace
}  // namespace tirelmo
