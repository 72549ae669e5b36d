#include "ui/charts.h"

#include <gtest/gtest.h>

#include "support/recording_canvas.h"

namespace tirelmo::test {
namespace {

PieRequest categoryPie() {
  PieRequest r;
  r.title = u"Time Spent per Category";
  r.centreX = 155;
  r.centreY = 280;
  r.radius = 100;
  r.titleFont = FontSpec{u"Segoe Print", 26, true};
  r.legendFont = FontSpec{u"Microsoft YaHei", 19};
  return r;
}

TEST(CMapTest, SumsByIdKeepsFirstLabelAndPicksLargestFirst) {
  CMap map;
  map.add(3, u"Work", 30);
  map.add(5, u"Home", 50);
  map.add(3, u"Renamed", 25);
  map.add(7, u"Idle", 0);
  map.add(9, u"Tie", 55);
  EXPECT_EQ(map.total(), 160u);
  ASSERT_EQ(map.items().size(), 4u);
  EXPECT_EQ(map.items()[0].label, u"Work");

  auto a = map.nextLargest();
  auto b = map.nextLargest();
  auto c = map.nextLargest();
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(a->id, 3);  // first of the tie at 55
  EXPECT_EQ(b->id, 9);
  EXPECT_EQ(c->id, 5);
  EXPECT_FALSE(map.nextLargest());  // the item of 0 is never picked
  map.resetMarks();
  EXPECT_EQ(map.nextLargest()->id, 3);
}

TEST(PieChartTest, ZeroItemIsSkippedSliverIsOutlinedOnly) {
  RecordingGraphics g;
  RecordingSurface s(g, 1350, 800);
  CMap map;
  map.add(0, u"None", 0);
  map.add(2, u"Sliver", 10);   // 10 of 500 minutes: 7.2 degrees
  map.add(4, u"Most", 490);
  drawPieChart(s, map, categoryPie());

  const auto pies = s.ofKind(OpKind::Pie);
  ASSERT_EQ(pies.size(), 2u);
  EXPECT_TRUE(pies[0].filled);
  EXPECT_EQ(pies[0].color, rgb(201, 226, 255));
  EXPECT_DOUBLE_EQ(pies[0].startDegrees, 0.0);
  EXPECT_NEAR(pies[0].sweepDegrees, 352.8, 1e-9);
  EXPECT_FALSE(pies[1].filled);
  EXPECT_NEAR(pies[1].startDegrees, 352.8, 1e-9);

  // One colour square (the big slice's), one percentage, and no legend line for "None".
  EXPECT_EQ(s.ofKind(OpKind::Fill).size(), 1u);
  EXPECT_NE(s.findText(u"98%"), nullptr);
  EXPECT_EQ(s.textsContaining(u"%").size(), 1u);
  EXPECT_NE(s.findText(u"Sliver"), nullptr);
  EXPECT_NE(s.findText(u"0h:10'"), nullptr);
  EXPECT_EQ(s.findText(u"None"), nullptr);
  EXPECT_LE(s.verticalExtent().bottom, pieChartBottom(map, categoryPie()));
}

TEST(PieChartTest, NothingForAnEmptyOrZeroTallyAndUnknownCategoriesAreGrey) {
  RecordingGraphics g;
  RecordingSurface s(g, 1350, 800);
  CMap empty;
  drawPieChart(s, empty, categoryPie());
  CMap zeros;
  zeros.add(1, u"A", 0);
  drawPieChart(s, zeros, categoryPie());
  EXPECT_TRUE(s.ops.empty());

  CMap odd;
  odd.add(-4, u"Broken", 60);
  odd.add(4000, u"Broken too", 60);
  drawPieChart(s, odd, categoryPie());
  for (const auto& p : s.ofKind(OpKind::Pie)) EXPECT_EQ(p.color, rgb(230, 230, 230));
}

}  // namespace
}  // namespace tirelmo::test
