#include <gtest/gtest.h>

#include <optional>

#include "storage/settings.h"
#include "ui/fonts.h"
#include "ui/sheet_geometry.h"
#include "unit/ui/sheet_draw_support.h"

namespace tirelmo {
namespace {

using test::DrawOp;
using test::OpKind;

// ---- Geometry per skin ------------------------------------------------------------------

TEST(SkinGeometryTest, LayoutOfEveryNamedSkin) {
  struct Case {
    const char16_t* skin;
    int kind, rowHeight, rowsTop, contentHeight, markerLeft;
  };
  const Case cases[] = {
      {u"compact white", 0, 34, 124, 974, 29}, {u"classic", 1, 63, 124, 1699, 8},
      {u"parchment", 1, 63, 124, 1699, 8},     {u"crumpled", 1, 63, 124, 1699, 8},
      {u"Vintage", 1, 63, 124, 1699, 8},       {u"SmallCervino", 1, 63, 124, 1699, 8},
      {u"white", 2, 105, 230, 2855, 8},        {u"pink", 2, 105, 230, 2855, 8},
      {u"cyan", 2, 105, 230, 2855, 8},         {u"cleanwhite", 2, 105, 230, 2855, 8},
      {u"light gold", 2, 105, 230, 2855, 8},   {u"Cervino", 2, 105, 230, 2855, 8},
      {u"Parchment", 2, 105, 230, 2855, 8},    {u"", 2, 105, 230, 2855, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c.skin));
    const SheetGeometry g = applySkinGeometry(c.skin, false, 1000);
    EXPECT_EQ(g.layoutKind, c.kind);
    EXPECT_EQ(g.rowHeight, c.rowHeight);
    EXPECT_EQ(g.rowsTop, c.rowsTop);
    EXPECT_EQ(g.contentHeight, c.contentHeight);
    EXPECT_EQ(g.markerLeft, c.markerLeft);
    EXPECT_EQ(g.textLeft, 64);
    EXPECT_EQ(g.scoreLeft, 718);
  }
  const SheetGeometry named = applySkinGeometry(u"compact white", true, 1000);
  EXPECT_EQ(named.rowHeight, 48);
  EXPECT_EQ(named.contentHeight, 1324);
  // Project names only change the compact rows.
  EXPECT_EQ(applySkinGeometry(u"classic", true, 1000).rowHeight, 63);
}

TEST(SkinGeometryTest, TextOffsetCentresTheRowFont) {
  test::RecordingGraphics graphics;
  auto surface = graphics.createSurface(100, 100);
  surface->setFont(FontSpec{u"Buxton Sketch", 26});
  struct Case {
    const char16_t* skin;
    int offset;
  };
  for (const Case& c : {Case{u"compact white", 6}, Case{u"classic", 18}, Case{u"pink", 41}}) {
    SheetGeometry g = applySkinGeometry(c.skin, false, 1000);
    measureTextOffset(g, *surface);
    EXPECT_EQ(g.textHeight, 26);
    EXPECT_EQ(g.textOffset, c.offset) << utf16ToUtf8(c.skin);
  }
}

TEST(SkinFontsTest, RowInfoAndFixedFonts) {
  Settings s;
  s.font = u"Bradley Hand ITC";
  s.fontsize = 30;
  UiFonts f = makeUiFonts(s, kLayoutLargeRows, Language::English);
  EXPECT_EQ(f.row, (FontSpec{u"Bradley Hand ITC", 30, true, false}));
  EXPECT_EQ(f.doneRow, (FontSpec{u"Bradley Hand ITC", 30, false, true}));
  EXPECT_EQ(f.small17.height, 17);
  EXPECT_EQ(f.small12.height, 12);
  EXPECT_EQ(f.info, (FontSpec{u"Bradley Hand ITC", 20}));
  EXPECT_EQ(f.rowNote, (FontSpec{u"Verdana", 12}));
  EXPECT_EQ(f.headerForm, (FontSpec{u"Courier New", 17, true}));
  EXPECT_EQ(f.scoreCount, (FontSpec{u"Microsoft YaHei", 16}));

  s.font = u"Segoe Print";
  EXPECT_EQ(makeUiFonts(s, kLayoutLargeRows, Language::English).info.height, 24);
  EXPECT_FALSE(makeUiFonts(s, kLayoutLargeRows, Language::English).row.bold);
  s.font = u"Comic Sans MS";
  EXPECT_EQ(makeUiFonts(s, kLayoutLargeRows, Language::English).info.height, 16);
  EXPECT_EQ(makeUiFonts(s, kLayoutLinedPaper, Language::English).info,
            (FontSpec{u"Microsoft YaHei", 18}));
  EXPECT_EQ(makeUiFonts(s, kLayoutCompact, Language::English).info, (FontSpec{u"Arial", 14}));

  f = makeUiFonts(s, kLayoutCompact, Language::ChineseSimplified);
  EXPECT_EQ(f.rowNote.height, 14);
  EXPECT_EQ(f.headerForm, (FontSpec{u"Microsoft YaHei", 20, false}));
}

TEST(SkinFontsTest, DamagedFontSettingsStillGiveAUsableRowFont) {
  Settings s;
  s.font.clear();
  s.fontsize = 0;
  UiFonts f = makeUiFonts(s, kLayoutLargeRows, Language::English);
  EXPECT_EQ(f.row.face, u"Buxton Sketch");
  EXPECT_GE(f.row.height, 8);
  s.fontsize = 5000;
  EXPECT_LE(makeUiFonts(s, kLayoutLargeRows, Language::English).row.height, 72);
}

// ---- The twelve papers ------------------------------------------------------------------

enum class Reach { None, Margins, ToEdge, Whole };

struct PaperCase {
  const char16_t* skin;
  Rgb rowColor;
  Reach reach;
  int rowPen;
  std::optional<Rgb> fine;
  std::optional<Rgb> fill;
  int fillLeft, fillRight;
  bool margins;
  bool headerStrip;
  BitmapId paper;   // 147, 154 or 0
  bool picture;     // bitmap 166 of "classic"
  bool vintageMargins;
};

class SkinPaperTest : public test::SheetPageFixture,
                      public ::testing::WithParamInterface<PaperCase> {};

TEST_P(SkinPaperTest, DrawsTheDocumentedPaper) {
  const PaperCase& c = GetParam();
  useSkin(c.skin);
  drawPage();
  const auto& g = pages.sheet;
  const auto& bg = drawn();

  ASSERT_FALSE(bg.ops.empty());
  const DrawOp& first = bg.ops.front();
  EXPECT_EQ(first.kind, OpKind::Fill);
  EXPECT_EQ(std::tie(first.x, first.y, first.w, first.h), std::make_tuple(0, 0, 1350, 3310));
  EXPECT_EQ(first.color, rgb(255, 255, 255));

  // Row lines: 26 of them, one per row boundary.
  for (int i : {0, 1, 25}) {
    const auto lines = bg.horizontalLinesAt(g.rowsTop + i * g.rowHeight);
    const DrawOp* rowLine = nullptr;
    for (const auto& l : lines)
      if (l.color == c.rowColor) rowLine = &l;
    if (c.reach == Reach::None) {
      EXPECT_TRUE(lines.empty()) << i;
      continue;
    }
    ASSERT_NE(rowLine, nullptr) << i;
    const int left = c.reach == Reach::Whole ? 0 : 41;
    const int right = c.reach == Reach::Margins ? 1000 - 41 : 1350;
    EXPECT_EQ(rowLine->x, left);
    EXPECT_EQ(rowLine->x2, right);
    EXPECT_EQ(rowLine->penWidth, c.rowPen);
  }
  EXPECT_TRUE(bg.horizontalLinesAt(g.rowsTop + 26 * g.rowHeight).empty());

  // Graph paper: a line a third of a row below the first row line, 100 vertical ones.
  const auto third = bg.horizontalLinesAt(g.rowsTop + g.rowHeight / 3);
  if (c.fine) {
    ASSERT_EQ(third.size(), 1u);
    EXPECT_EQ(third[0].color, *c.fine);
    EXPECT_EQ(std::tie(third[0].x, third[0].x2), std::make_tuple(41, 1041));
    EXPECT_EQ(bg.verticalLinesAt(41 + g.rowHeight / 3).size(), 1u);
  } else {
    EXPECT_TRUE(third.empty());
  }

  const auto fills = bg.ofKind(OpKind::Fill);
  if (c.fill) {
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[1].color, *c.fill);
    EXPECT_EQ(std::tie(fills[1].x, fills[1].y), std::make_tuple(c.fillLeft, g.rowsTop));
    EXPECT_EQ(fills[1].w, c.fillRight - c.fillLeft);
    EXPECT_EQ(fills[1].y + fills[1].h, g.contentHeight);
  } else {
    EXPECT_EQ(fills.size(), 1u);
  }

  const auto leftMargin = bg.verticalLinesAt(41);
  const auto rightMargin = bg.verticalLinesAt(1000 - 41);
  const auto isMargin = [&](const DrawOp& l) {
    return l.y == g.rowsTop && l.y2 == g.contentHeight && l.color == c.rowColor &&
           l.penWidth == c.rowPen;
  };
  EXPECT_EQ(std::count_if(leftMargin.begin(), leftMargin.end(), isMargin), c.margins ? 1 : 0);
  EXPECT_EQ(std::count_if(rightMargin.begin(), rightMargin.end(), isMargin), c.margins ? 1 : 0);
  if (c.vintageMargins) {
    for (int x : {41, 43, 45}) {
      const auto v = bg.verticalLinesAt(x);
      ASSERT_EQ(v.size(), 1u) << x;
      EXPECT_EQ(v[0].color, rgb(247, 203, 163));
    }
  }

  const auto strip = bg.bitmaps(167);
  ASSERT_EQ(strip.size(), c.headerStrip ? 1u : 0u);
  if (c.headerStrip) {
    EXPECT_EQ(std::tie(strip[0].x, strip[0].y, strip[0].w, strip[0].h),
              std::make_tuple((1000 - 1460) / 2, 84, 1460, 139));
  }
  for (BitmapId paper : {147, 154}) {
    const auto p = bg.bitmaps(paper);
    if (paper != c.paper) {
      EXPECT_TRUE(p.empty());
      continue;
    }
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(std::tie(p[0].x, p[0].y, p[0].w, p[0].h), std::make_tuple(0, 0, 1400, 1300));
    // The top seven rows again below the picture's end.
    EXPECT_EQ(std::tie(p[1].x, p[1].y, p[1].h, p[1].sx, p[1].sy),
              std::make_tuple(0, g.rowsTop + 18 * g.rowHeight, 7 * g.rowHeight, 0, 0));
  }
  const auto picture = bg.bitmaps(166);
  ASSERT_EQ(picture.size(), c.picture ? 1u : 0u);
  if (c.picture) {
    EXPECT_EQ(std::tie(picture[0].x, picture[0].y, picture[0].w, picture[0].h),
              std::make_tuple(471, 364, 250, 189));
  }
  // Only the skin's own large pictures stay loaded.
  for (BitmapId id : {147, 154, 166, 167}) {
    const bool used = id == c.paper || (id == 166 && c.picture) || (id == 167 && c.headerStrip);
    const bool released =
        std::find(graphics.released.begin(), graphics.released.end(), id) != graphics.released.end();
    EXPECT_NE(released, used) << id;
  }

  // The header form on every named paper, nothing on an unknown one.
  const bool named = c.reach != Reach::None;
  EXPECT_EQ(bg.findText(u"Date:_________________") != nullptr, named);
  EXPECT_EQ(bg.findText(u"Score:___________") != nullptr, named);
  EXPECT_EQ(bg.findText(u"Work Time:_______") != nullptr, named);

  // The score column line on every paper.
  const auto score = bg.verticalLinesAt(718 - 3);
  ASSERT_EQ(score.size(), 1u);
  EXPECT_EQ(score[0].color, rgb(200, 191, 231));
  EXPECT_EQ(std::tie(score[0].y, score[0].y2), std::make_tuple(g.rowsTop, g.rowsTop + 25 * g.rowHeight));
}

constexpr Rgb kGrey225 = rgb(225, 225, 225);
constexpr Rgb kCervinoRows = rgb(157, 182, 247);

INSTANTIATE_TEST_SUITE_P(
    AllSkins, SkinPaperTest,
    ::testing::Values(
        PaperCase{u"compact white", kGrey225, Reach::Margins, 1, {}, {}, 0, 0, true, false, 0, false, false},
        PaperCase{u"white", kGrey225, Reach::Margins, 1, {}, {}, 0, 0, true, true, 0, false, false},
        PaperCase{u"classic", rgb(210, 210, 210), Reach::Margins, 1, kGrey225, rgb(252, 255, 232), 41, 1309, true, false, 0, true, false},
        PaperCase{u"SmallCervino", kCervinoRows, Reach::Margins, 1, rgb(223, 223, 223), rgb(242, 242, 236), 41, 1309, true, false, 0, false, false},
        PaperCase{u"Vintage", rgb(220, 214, 201), Reach::Whole, 1, {}, rgb(254, 255, 240), 0, 1350, false, false, 0, false, true},
        PaperCase{u"Cervino", kCervinoRows, Reach::Margins, 1, rgb(199, 213, 250), rgb(242, 242, 236), 41, 1309, true, true, 0, false, false},
        PaperCase{u"cyan", rgb(189, 203, 223), Reach::ToEdge, 1, rgb(208, 218, 234), rgb(231, 238, 241), 41, 1309, true, true, 0, false, false},
        PaperCase{u"pink", rgb(200, 191, 231), Reach::ToEdge, 1, rgb(233, 218, 241), {}, 0, 0, true, true, 0, false, false},
        PaperCase{u"crumpled", kGrey225, Reach::Whole, 1, {}, {}, 0, 0, false, false, 147, false, false},
        PaperCase{u"cleanwhite", kGrey225, Reach::ToEdge, 2, kGrey225, {}, 0, 0, true, true, 0, false, false},
        PaperCase{u"parchment", rgb(220, 220, 209), Reach::Whole, 1, {}, {}, 0, 0, false, false, 154, false, false},
        PaperCase{u"light gold", rgb(211, 213, 174), Reach::Margins, 1, {}, {}, 0, 0, true, true, 0, false, false},
        PaperCase{u"no such skin", rgb(0, 0, 0), Reach::None, 1, {}, {}, 0, 0, false, false, 0, false, false}),
    [](const ::testing::TestParamInfo<PaperCase>& info) {
      std::string name;
      for (char c : utf16ToUtf8(info.param.skin))
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
      return name;
    });

// ---- Header form ------------------------------------------------------------------------

class SkinHeaderFormTest : public test::SheetPageFixture {};

TEST_F(SkinHeaderFormTest, FieldPositionsPerLayout) {
  useSkin(u"pink");
  drawPage();
  // Large rows: text offset 41 with the 26-pixel row font.
  const DrawOp* date = drawn().findText(u"Date:_________________");
  ASSERT_NE(date, nullptr);
  EXPECT_EQ(std::tie(date->x, date->y), std::make_tuple(64 - 23, 230 - 41 - 20));
  EXPECT_EQ(date->color, rgb(147, 147, 164));
  EXPECT_EQ(date->font, (FontSpec{u"Courier New", 17, true}));
  const DrawOp* score = drawn().findText(u"Score:___________");
  EXPECT_EQ(std::tie(score->x, score->y), std::make_tuple(718 + 91, 230 - 41 - 20));
  const DrawOp* work = drawn().findText(u"Work Time:_______");
  EXPECT_EQ(std::tie(work->x, work->y), std::make_tuple(64 - 23, 230 - 41 + 14));
  // The row font stays selected for the page's texts.
  EXPECT_EQ(drawn().font(), pages.fonts.row);

  useSkin(u"classic");
  drawPage();
  EXPECT_EQ(drawn().findText(u"Date:_________________")->y, 94);
  EXPECT_EQ(drawn().findText(u"Score:___________")->x, 718 - 157);
  EXPECT_EQ(drawn().findText(u"Work Time:_______")->x, 1000 / 2 - 170);
}

TEST_F(SkinHeaderFormTest, ChineseForm) {
  app.settings.language = u"Chinese (Simplified)";
  useSkin(u"classic");
  drawPage();
  EXPECT_EQ(drawn().findText(u"Date:_________________"), nullptr);
  EXPECT_FALSE(drawn().textsContaining(u"工作时间").empty());
}

}  // namespace
}  // namespace tirelmo
