// The sheet list: its names stored compactly yet given back unit for unit, and the start-up
// worker, held back until the first frame, never for good.
#include "sheet/sheet_list.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

using namespace std::chrono_literals;

class SheetListWorkerTest : public test::SheetTest {};

TEST_F(SheetListWorkerTest, AHeldWorkerWalksOnReleaseOrOnceItsHoldRunsOut) {
  const std::string sheet = nativeSheet(2021, 3, "DailyTask_2021-3-4-4.pm6");
  std::filesystem::create_directories(std::filesystem::path(sheet).parent_path());
  test::writeBytes(sheet, "x");

  SheetList list;
  ASSERT_TRUE(list.startBuilding(dir.path(), 1h));
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(list.size(), 0u);  // still held: nothing walked, nothing published
  list.waitForBuild();         // shut-down releases it rather than wait out the hour
  EXPECT_EQ(list.size(), 1u);

  // Nobody releases (a window that never paints): the worker walks by itself.
  SheetList alone;
  ASSERT_TRUE(alone.startBuilding(dir.path(), 20ms));
  for (int i = 0; i < 1000 && alone.size() == 0; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(alone.size(), 1u);
}

// Whatever units a name holds, the listing gives the same back, sorts equal times by the
// units themselves and finds the sheet by its path.
TEST(SheetListing, NamesComeBackUnitForUnitAndSortAsUnits) {
  const std::u16string names[] = {
      u"2021\\3\\DailyTask_2021-3-4-4.pm6",
      std::u16string(u"\u007F\u0080\u00FF\u0100\uFFFF.pm6"),
      u"\u8CB7\u3044\u7269 \U0001F6D2 \"list\".pm6",   // CJK, a surrogate pair, quotes
      std::u16string(1, char16_t(0xD800)) + u"x.pm6",  // a lone surrogate, as NTFS allows
      std::u16string(u"\u00FF\u00FF.pm6"),           // units whose bytes are the escape byte
  };
  SheetListing listing(u"C:\\data\\DailyTask");
  for (const auto& n : names) listing.add(n, 7);
  for (std::size_t i = 0; i < std::size(names); ++i) EXPECT_EQ(listing.relativePath(i), names[i]) << i;
  EXPECT_EQ(listing.path(0), u"C:\\data\\DailyTask\\2021\\3\\DailyTask_2021-3-4-4.pm6");

  // Equal times sort by units: U+00FF before U+0100, though their stored bytes sort the
  // other way.
  SheetListing tie;
  tie.add(u"\u0100.pm6", 1);
  tie.add(u"\u00FF.pm6", 1);
  tie.add(u"a.pm6", 0);
  tie.sortByCreation();
  EXPECT_EQ(tie.relativePath(0), u"a.pm6");
  EXPECT_EQ(tie.relativePath(1), u"\u00FF.pm6");
  EXPECT_EQ(tie.relativePath(2), u"\u0100.pm6");

  SheetList list;
  list.publish(std::move(listing));
  EXPECT_TRUE(list.findSheet(u"C:\\data\\DailyTask\\" + names[2]));
  EXPECT_FALSE(list.findSheet(u"C:\\data\\DailyTask\\" + names[2].substr(1)));
}

}  // namespace
}  // namespace tirelmo
