// The start-up worker of the sheet list: held back until the first frame, never for good.
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

}  // namespace
}  // namespace tirelmo
