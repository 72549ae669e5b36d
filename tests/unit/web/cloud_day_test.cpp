#include <gtest/gtest.h>

#include "app/day_start.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

const std::string kToday = "DailyTask_2021-3-5-5.pm6";

class CloudDayTest : public test::SheetTest {
 protected:
  CloudDayTest() {
    app.cloud = &cloud;
    app.settings.cloudEna = true;
    TodoRow fromCloud;
    fromCloud.text = u"from the cloud";
    cloud.cloudRows = {fromCloud};
    cloud.newer = true;
  }
  test::FakeCloud cloud;
};

TEST_F(CloudDayTest, TodaysLocalSheetIsKeptBeforeANewerCloudSheetReplacesIt) {
  test::Rec mine;
  mine.index = 3, mine.pomodoros = 2, mine.text = "today's work here";
  const std::string local = test::header() + test::record(mine);
  writeSheet(2021, 3, kToday, local);

  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_EQ(row(0).text, u"from the cloud");
  EXPECT_TRUE(row(3).isFree());
  const std::string copy = nativeSheet(2021, 3, kToday) + ".local-before-cloud-1";
  ASSERT_TRUE(test::fileExists(copy));
  EXPECT_EQ(test::readBytes(copy), local);
  EXPECT_TRUE(logText().find("kept as") != std::string::npos);
  EXPECT_EQ(cloud.listDownloads, 0);  // not the first run of the day

  // The next start keeps the cloud sheet saved since, as a copy of its own.
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_TRUE(test::fileExists(nativeSheet(2021, 3, kToday) + ".local-before-cloud-2"));
  EXPECT_EQ(test::readBytes(copy), local);
}

}  // namespace
}  // namespace tirelmo
