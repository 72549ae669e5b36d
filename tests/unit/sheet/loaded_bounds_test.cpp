// Numbers a sheet file can hold at their extremes: the readers bring them into range, and
// what consumes the loaded rows (the recount, the page drawing) works on them without
// overflow. Run under -fsanitize=undefined to see that nothing on the way wraps.
#include <gtest/gtest.h>

#include <string>

#include "app/day_start.h"
#include "app/sheet_io.h"
#include "sheet/legacy_formats.h"
#include "sheet/sheet_files.h"
#include "support/recording_canvas.h"
#include "ui/page_view.h"
#include "ui/pages.h"
#include "ui/sheet_page.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

using test::put32;
using test::Rec;

class LoadedBoundsTest : public test::SheetTest {
 protected:
  LoadedBoundsTest() : pages(graphics) {}
  test::RecordingGraphics graphics;
  PageSet pages;
};

TEST_F(LoadedBoundsTest, ExtremeRowValuesLoadRecountAndDrawWithinRange) {
  std::string bytes = test::header();
  for (int i = 0; i < kSheetRows; ++i) {
    Rec r;
    r.index = i;
    r.text = "Task " + std::to_string(i);
    r.pomodoros = r.abandoned = r.internal = r.external = r.estimated = 255;
    r.pastPomodoros = r.pastAbandoned = r.pastInternal = r.pastExternal = 255;
    r.age = 255;
    r.category = 255;
    r.flags = 0xF8;  // only bits the format does not know
    r.minutesToday = r.pastMinutes = 0x7FFFFFFF;
    bytes += test::record(r);
  }
  const std::string name = "DailyTask_2021-3-5-5.pm6";
  writeSheet(2021, 3, name, bytes);
  ASSERT_TRUE(DisplayToDoSheet(app, sheetPath(2021, 3, name)));

  for (const TodoRow& r : app.sheet.rows) {
    EXPECT_EQ(r.info.minutesToday, kMaxMinutesToday);
    EXPECT_EQ(r.info.pastMinutes, kMaxPastMinutes);
    EXPECT_EQ(r.info.category, 0);
    EXPECT_EQ(r.info.flags, 0);
    EXPECT_EQ(r.pomodoros, 255);
    EXPECT_EQ(r.pastExternal, 255);
  }
  EXPECT_TRUE(logHas("Row values out of range set within range: Task 24"));
  // 25 rows of a whole day each: the day's hours stop at 255 instead of wrapping; the
  // counters wrap as single bytes.
  EXPECT_EQ(app.sheet.dayTotals.workedHours, 255);
  EXPECT_EQ(app.sheet.dayTotals.workedMinutes, 59);
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, static_cast<std::uint8_t>(25 * 255));

  preparePages(pages, app);
  test::RecordingSurface page(graphics, kPageWidth, 3310);
  drawPageView(app, pages, page, 0, 0, 0, kPageWidth, 3310);
  EXPECT_EQ(page.textsContaining(u"(24:00')").size(), 25u);
  EXPECT_EQ(page.textsContaining(u"Already worked: 16666h:40'").size(), 25u);
  EXPECT_NE(page.findText(u"255:59"), nullptr);

  // The older formats go through the same bounds: a .pm5 row with a done byte of 255,
  // minutes beyond a day and negative past minutes.
  std::string pm5(kPm5FileBytes, '\0');
  pm5[0] = 'A';
  for (int b = 0; b < 10; ++b) pm5[kPm5TextBytes + b] = static_cast<char>(255);
  const std::size_t info = kPm5TextBytes + kPm5ScoreBytes;
  pm5[info] = static_cast<char>(200);
  put32(pm5, info + 4, 0x7FFFFFFF);
  put32(pm5, info + 16, 0x80000000u);
  TodoSheet sheet;
  parsePm5(pm5, sheet, false);
  const TodoRow& r = sheet.rows[0];
  EXPECT_EQ(r.text, u"A");
  EXPECT_EQ(r.done, 1);
  EXPECT_EQ(r.pomodoros, 255);
  EXPECT_EQ(r.info.minutesToday, kMaxMinutesToday);
  EXPECT_EQ(r.info.pastMinutes, 0);
  EXPECT_EQ(r.info.category, 0);
}

TEST_F(LoadedBoundsTest, AFileNameWithAnImpossibleDateDatesNothing) {
  const std::string name = "DailyTask_2021-3--2147483648-2147483647.pm6";
  Rec r;
  r.text = "Kept";
  writeSheet(2021, 3, name, test::header() + test::record(r));
  const DayDate today = app.start.today;
  ASSERT_TRUE(DisplayToDoSheet(app, sheetPath(2021, 3, name)));
  EXPECT_EQ(row(0).text, u"Kept");
  EXPECT_TRUE(app.start.displayedSheetDate.sameDay(today));
  EXPECT_TRUE(app.sheet.readOnly);

  // Carried over, it dates the archives today instead.
  app.settings.last2dofilename = sheetPath(2021, 3, name);
  ASSERT_EQ(startDay(app), DayStartOutcome::Done);
  EXPECT_TRUE(app.start.previousSheetDate.sameDay(today));
  EXPECT_EQ(row(0).text, u"Kept");
  EXPECT_EQ(row(0).info.ageDays, 1);
}

}  // namespace
}  // namespace tirelmo
