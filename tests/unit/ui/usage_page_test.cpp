#include "ui/usage_page.h"

#include <gtest/gtest.h>

#include "text/format.h"
#include "unit/ui/sheet_draw_support.h"

namespace tirelmo {
namespace {

using test::DrawOp;
using test::OpKind;

constexpr Rgb kInk = rgb(70, 80, 120);

class UsagePageTest : public test::SheetPageFixture {
 protected:
  void SetUp() override { useSkin(u"cleanwhite"); }
  void add(u16v name, std::uint32_t seconds) {
    UsageEntry e;
    e.name = u16(name);
    e.seconds = seconds;
    app.usage.entries.push_back(e);
  }
  void draw(int y, int h) {
    view.clear();
    drawUsageView(app, pages, view, y, h);
  }
  std::vector<DrawOp> bars() const {
    std::vector<DrawOp> out;
    for (const DrawOp& op : view.ofKind(OpKind::Fill))
      if (op.color == kInk) out.push_back(op);
    return out;
  }
};

TEST_F(UsagePageTest, EveryListedEntryFitsThePageLongestFirst) {
  add(u"Too short", 59);
  for (int i = 0; i < 80; ++i) add(fmt(u"site%d.example", i), 400 + static_cast<std::uint32_t>(i));
  add(u"Editor", 3600);
  const int height = usagePageHeight(app);
  draw(0, height);

  const std::vector<DrawOp> texts = view.textsContaining(u"     [");
  ASSERT_EQ(texts.size(), 81u);
  EXPECT_EQ(texts[0].text, u"Editor     [1h : 0min]");
  EXPECT_EQ(texts[0].y, 160);
  EXPECT_EQ(texts[1].text, u"site79.example     [7min]");
  EXPECT_EQ(texts[1].y, 160 + 56);
  EXPECT_EQ(view.textsContaining(u"Too short").size(), 0u);
  const std::vector<DrawOp> drawnBars = bars();
  ASSERT_EQ(drawnBars.size(), 81u);
  EXPECT_LE(drawnBars.back().y + drawnBars.back().h, height);

  // A band far down draws only the rows that reach it.
  draw(3000, 200);
  for (const DrawOp& t : view.texts()) EXPECT_TRUE(t.y + 30 > 3000 && t.y < 3200) << t.y;
  EXPECT_FALSE(view.texts().empty());
}

TEST_F(UsagePageTest, BarsStartAboveFiveMinutesAndScaleByTheLongestEntry) {
  add(u"a", 301);
  add(u"b", 300);
  add(u"c", 599);
  draw(0, 2400);
  // The longest is below ten minutes: its bar is a 32nd of the page.
  std::vector<DrawOp> b = bars();
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0].w, 1000 / 32);
  EXPECT_EQ(b[1].w, 301 * (1000 / 32) / 599);
  EXPECT_EQ(b[1].y, 160 + 56 + 20);
  EXPECT_EQ(view.findText(u"b     [5min]")->y, 160 + 56 + 56);

  app.usage.entries[2].seconds = 600;
  draw(0, 2400);
  b = bars();
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0].w, 1000 / 8);
}

}  // namespace
}  // namespace tirelmo
