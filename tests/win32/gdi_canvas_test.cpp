// The GDI canvas drawn into real DIB sections and read back pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gdi_canvas.h"
#include "ui/charts.h"

namespace tirelmo {
namespace {

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;
constexpr std::uint32_t kYellow = 0xFFFF00, kWhite = 0xFFFFFF, kBlack = 0x000000;

class GdiCanvasTest : public ::testing::Test {
 protected:
  GdiCanvasTest() : graphics(GetModuleHandleW(nullptr)) {}

  std::unique_ptr<Surface> make(int w, int h) {
    auto s = graphics.createSurface(w, h);
    EXPECT_NE(s, nullptr);
    return s;
  }
  static std::uint32_t at(const Surface& s, int x, int y) {
    GdiFlush();
    const auto& g = static_cast<const GdiSurface&>(s);
    return g.pixels()[y * g.width() + x] & 0xFFFFFF;
  }

  GdiGraphics graphics;
};

TEST_F(GdiCanvasTest, FillsAndLinesLandOnTheirPixels) {
  auto s = make(64, 48);
  ASSERT_TRUE(s);
  EXPECT_NE(static_cast<GdiSurface&>(*s).dc(), nullptr);
  s->fillRect(0, 0, 64, 48, rgb(10, 20, 30));
  EXPECT_EQ(at(*s, 0, 0), 0x0A141Eu);
  EXPECT_EQ(at(*s, 63, 47), 0x0A141Eu);

  s->fillRect(5, 6, 10, 4, rgb(255, 0, 0));
  EXPECT_EQ(at(*s, 5, 6), kRed);
  EXPECT_EQ(at(*s, 14, 9), kRed);
  EXPECT_NE(at(*s, 15, 6), kRed);
  EXPECT_NE(at(*s, 5, 10), kRed);

  // The end point of a line is not painted.
  s->line(2, 20, 30, 20, rgb(0, 0, 255));
  EXPECT_EQ(at(*s, 2, 20), kBlue);
  EXPECT_EQ(at(*s, 29, 20), kBlue);
  EXPECT_NE(at(*s, 30, 20), kBlue);
  EXPECT_NE(at(*s, 16, 21), kBlue);
  s->line(40, 10, 40, 30, rgb(0, 255, 0));
  EXPECT_EQ(at(*s, 40, 10), kGreen);
  EXPECT_EQ(at(*s, 40, 29), kGreen);
  EXPECT_NE(at(*s, 40, 30), kGreen);
}

TEST_F(GdiCanvasTest, OriginAndClipPlaceAPageRectangleOnTheSurface) {
  auto s = make(64, 48);
  ASSERT_TRUE(s);
  s->fillRect(0, 0, 64, 48, rgb(255, 255, 255));
  // The surface shows the page from (100, 200); only page (105..114, 205..214) may change.
  s->setOrigin(100, 200);
  s->setClip(105, 205, 10, 10);
  s->fillRect(100, 200, 64, 48, rgb(255, 0, 0));
  EXPECT_EQ(at(*s, 5, 5), kRed);
  EXPECT_EQ(at(*s, 14, 14), kRed);
  EXPECT_EQ(at(*s, 4, 5), kWhite);
  EXPECT_EQ(at(*s, 15, 14), kWhite);
  EXPECT_EQ(at(*s, 5, 15), kWhite);
  s->line(100, 230, 160, 230, rgb(0, 0, 255));  // below the clip
  EXPECT_EQ(at(*s, 8, 30), kWhite);
  // Cleared, everything may change again.
  s->clearClip();
  s->line(100, 230, 160, 230, rgb(0, 0, 255));
  EXPECT_EQ(at(*s, 8, 30), kBlue);
  s->setOrigin(0, 0);
  s->fillRect(60, 0, 4, 4, rgb(0, 255, 0));
  EXPECT_EQ(at(*s, 63, 3), kGreen);
}

TEST_F(GdiCanvasTest, SpritesShowThePageAroundThePicture) {
  // Two 8 x 8 cells side by side; masks in the row below. Cell 1 holds a 4 x 4 red square.
  const int w = 16, h = 16;
  std::vector<std::uint32_t> px(w * h, 0);
  for (int y = 8; y < 16; ++y)
    for (int x = 0; x < 16; ++x) px[y * w + x] = kWhite;  // masks: keep the page
  for (int y = 2; y < 6; ++y)
    for (int x = 10; x < 14; ++x) {
      px[y * w + x] = kRed;
      px[(y + 8) * w + x] = kBlack;
    }
  ASSERT_TRUE(graphics.registerBitmap(900, w, h, px.data()));

  auto s = make(32, 32);
  ASSERT_TRUE(s);
  s->fillRect(0, 0, 32, 32, rgb(255, 255, 0));
  ASSERT_TRUE(s->drawSprite(10, 10, 8, 8, 900, 8, 0));
  EXPECT_EQ(at(*s, 12, 12), kRed);
  EXPECT_EQ(at(*s, 15, 15), kRed);
  EXPECT_EQ(at(*s, 10, 10), kYellow);
  EXPECT_EQ(at(*s, 16, 12), kYellow);
  EXPECT_EQ(at(*s, 17, 17), kYellow);

  // A plain copy takes the cell as it is, black included.
  ASSERT_TRUE(s->drawBitmap(0, 20, 8, 8, 900, 8, 0));
  EXPECT_EQ(at(*s, 0, 20), kBlack);
  EXPECT_EQ(at(*s, 2, 22), kRed);

  // A bitmap that exists nowhere draws nothing and says so.
  EXPECT_FALSE(s->drawBitmap(0, 0, 8, 8, 31999, 0, 0));
  EXPECT_FALSE(s->drawSprite(0, 0, 8, 8, 31999, 0, 0));
  EXPECT_EQ(at(*s, 0, 0), kYellow);
}

TEST_F(GdiCanvasTest, TextIsMeasuredAndDrawnTransparently) {
  auto s = make(200, 60);
  ASSERT_TRUE(s);
  s->fillRect(0, 0, 200, 60, rgb(255, 255, 0));
  s->setFont(FontSpec{u"Arial", 20});
  EXPECT_EQ(s->font(), (FontSpec{u"Arial", 20}));
  const int w = s->textWidth(u"Hello");
  const int h = s->textHeight(u"Wf\\p");
  EXPECT_GT(w, 0);
  EXPECT_GT(h, 0);
  EXPECT_LT(w, s->textWidth(u"Hello, world"));
  EXPECT_EQ(s->textWidth(u""), 0);
  s->drawText(10, 10, u"HHHH", rgb(0, 0, 0));
  int dark = 0, yellow = 0;
  for (int y = 10; y < 10 + h; ++y)
    for (int x = 10; x < 10 + s->textWidth(u"HHHH"); ++x) {
      const auto p = at(*s, x, y);
      if (p == kBlack) ++dark;
      if (p == kYellow) ++yellow;
    }
  EXPECT_GT(dark, 0);
  EXPECT_GT(yellow, 0);  // transparent: the background stays between the strokes
  // A bold font is wider than the plain one.
  s->setFont(FontSpec{u"Arial", 20, true});
  EXPECT_GE(s->textWidth(u"Hello"), w);
}

TEST_F(GdiCanvasTest, PieFillsItsSliceOnly) {
  auto s = make(40, 40);
  ASSERT_TRUE(s);
  s->fillRect(0, 0, 40, 40, rgb(255, 255, 255));
  // A quarter from 3 o'clock counter-clockwise to 12 o'clock: the upper right.
  s->pie(0, 0, 40, 40, 0, 90, rgb(255, 0, 0), rgb(255, 0, 0));
  EXPECT_EQ(at(*s, 28, 12), kRed);
  EXPECT_EQ(at(*s, 12, 28), kWhite);
  EXPECT_EQ(at(*s, 12, 12), kWhite);
  EXPECT_EQ(at(*s, 28, 28), kWhite);
}

// Everything a page draws, much of it across the 128-row strips a window is painted through.
void drawScene(Surface& s) {
  s.fillRect(0, 0, 420, 400, rgb(240, 238, 226));
  CMap map;
  map.add(1, u"Learning", 300);
  map.add(2, u"Finance", 200);
  map.add(5, u"Testing", 120);
  map.add(7, u"Logistics", 60);
  map.add(9, u"a sliver", 1);  // too thin to fill: an outline only
  PieRequest pie;
  pie.title = u"Time Spent per Category";
  pie.centreX = 130;
  pie.centreY = 140;
  pie.radius = 90;
  pie.titleFont = FontSpec{u"Arial", 22, true};
  pie.legendFont = FontSpec{u"Arial", 17};
  drawPieChart(s, map, pie);
  for (int i = 0; i < 40; ++i) s.line(20 + i * 9, 240 + (i % 5) * 7, 29 + i * 9, 262 - (i % 3) * 9, rgb(30, 90, 200), 1 + i % 3);
  s.dottedLine(10, 250, 410, 262, rgb(0, 0, 0));
  s.setFont(FontSpec{u"Segoe Print", 26});
  s.drawText(40, 118, u"Write slides \u5de5\u4f5c for Monday", rgb(0, 0, 80));
  s.setFont(FontSpec{u"Arial", 18, false, true});
  s.drawText(200, 247, u"Draft the backup script", rgb(90, 90, 90));
  s.drawTextClipped(230, 370, u"cut at the strip's edge", rgb(200, 0, 0), 230, 375, 120, 20);
  s.setFont(FontSpec{u"Arial", 16, false, false, 450});
  s.drawText(300, 300, u"tilted label", rgb(0, 120, 0));
  s.ellipse(300, 200, 401, 291, rgb(250, 220, 120), rgb(120, 60, 0), 3);
}

TEST_F(GdiCanvasTest, APaintThroughStripsEqualsThePaintAtOnce) {
  const RECT area{20, 10, 420, 400};
  const int w = area.right - area.left, h = area.bottom - area.top;
  auto whole = make(w, h);
  auto strip = make(w, 128);
  ASSERT_TRUE(whole && strip);
  auto& wholeGdi = static_cast<GdiSurface&>(*whole);
  auto& stripGdi = static_cast<GdiSurface&>(*strip);
  int passes = 0;
  paintThrough(wholeGdi, area, [&](int, int) { drawScene(wholeGdi); }, [&](int, int) { ++passes; });
  EXPECT_EQ(passes, 1);

  std::vector<std::uint32_t> composed(static_cast<std::size_t>(w) * h, 0x123456);
  paintThrough(stripGdi, area, [&](int, int) { drawScene(stripGdi); }, [&](int top, int bottom) {
    GdiFlush();
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < w; ++x)
        composed[static_cast<std::size_t>(y - area.top) * w + x] = stripGdi.pixels()[(y - top) * w + x] & 0xFFFFFF;
    ++passes;
  });
  EXPECT_EQ(passes, 1 + 4);

  GdiFlush();
  int differing = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((wholeGdi.pixels()[y * w + x] & 0xFFFFFF) != composed[static_cast<std::size_t>(y) * w + x] && differing++ == 0)
        firstX = x, firstY = y;
  EXPECT_EQ(differing, 0) << "first at " << firstX << "," << firstY;
  // The scene is there at all: the pie's largest slice, right of the centre.
  EXPECT_NE(at(*whole, 130 + 45 - area.left, 140 - 5 - area.top), at(*whole, 5, 385));
}

TEST_F(GdiCanvasTest, AWidePenEllipseHasGdisOwnPixels) {
  struct Case {
    RECT box;
    Rgb fill, outline;
    int pen;
  };
  // Odd and even sizes, a black fill (black is also the picture's "nothing"), drawn twice.
  const Case cases[] = {{{10, 12, 101, 95}, rgb(250, 250, 250), rgb(200, 200, 200), 3},
                        {{60, 40, 118, 118}, rgb(0, 0, 0), rgb(255, 0, 0), 5},
                        {{-20, 70, 50, 130}, rgb(250, 250, 250), rgb(200, 200, 200), 3}};
  auto ours = make(120, 120);
  auto gdis = make(120, 120);
  ASSERT_TRUE(ours && gdis);
  for (Surface* s : {ours.get(), gdis.get()}) {
    s->fillRect(0, 0, 60, 120, rgb(200, 30, 30));
    s->fillRect(60, 0, 60, 120, rgb(30, 30, 200));
  }
  HDC dc = static_cast<GdiSurface&>(*gdis).dc();
  for (const Case& c : cases) {
    ours->ellipse(c.box.left, c.box.top, c.box.right, c.box.bottom, c.fill, c.outline, c.pen);
    HBRUSH brush = CreateSolidBrush(RGB(c.fill.r, c.fill.g, c.fill.b));
    HPEN pen = CreatePen(PS_SOLID, c.pen, RGB(c.outline.r, c.outline.g, c.outline.b));
    HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
    Ellipse(dc, c.box.left, c.box.top, c.box.right, c.box.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
  }
  int differing = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 120; ++x) differing += at(*ours, x, y) != at(*gdis, x, y);
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(at(*ours, 89, 79), kBlack);  // inside the black one
  EXPECT_EQ(at(*ours, 2, 2), 0xC81E1Eu);  // the page around them
}

TEST_F(GdiCanvasTest, RefusedSizesGiveNoSurface) {
  EXPECT_EQ(graphics.createSurface(0, 10), nullptr);
  EXPECT_EQ(graphics.createSurface(10, -1), nullptr);
}

}  // namespace
}  // namespace tirelmo

namespace tirelmo {
namespace {

// The program's own bitmaps, loaded from Tirelmo.exe as a resource module when it was built.
// Copies (sx, sy, w, h) of a bitmap to (x, y) of a surface through a DC of its own.
void blitBitmap(Surface& to, HBITMAP bitmap, int x, int y, int w, int h, int sx, int sy, DWORD rop) {
  HDC from = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(from, bitmap);
  BitBlt(static_cast<GdiSurface&>(to).dc(), x, y, w, h, from, sx, sy, rop);
  SelectObject(from, old);
  DeleteDC(from);
}

// Pixels that differ between two surfaces of one size.
int differingPixels(Surface& a, Surface& b) {
  GdiFlush();
  const auto* pa = static_cast<GdiSurface&>(a).pixels();
  const auto* pb = static_cast<GdiSurface&>(b).pixels();
  int differing = 0;
  for (int i = 0; i < a.width() * a.height(); ++i) differing += (pa[i] & 0xFFFFFF) != (pb[i] & 0xFFFFFF);
  return differing;
}

class GdiProgramBitmapsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path = path.substr(0, path.find_last_of(L'\\'));
    path += L"\\..\\..\\program\\bin\\Tirelmo.exe";
    module_ = LoadLibraryExW(path.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module_) GTEST_SKIP() << "Tirelmo.exe not built";
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  HMODULE module_ = nullptr;
};

TEST_F(GdiProgramBitmapsTest, SpriteAndCompressedPaperLoad) {
  GdiGraphics graphics(module_);
  auto s = graphics.createSurface(100, 100);
  ASSERT_TRUE(s);
  s->fillRect(0, 0, 100, 100, rgb(255, 255, 0));
  EXPECT_TRUE(s->drawSprite(0, 0, 28, 28, 106, 28, 0));
  EXPECT_TRUE(s->drawBitmap(0, 40, 50, 50, 147, 0, 0));
  EXPECT_TRUE(s->drawBitmap(50, 40, 50, 50, 211, 0, 0));
  GdiFlush();
  const auto* px = static_cast<GdiSurface&>(*s).pixels();
  // The sprite's corner is transparent; the paper is no longer the yellow underneath.
  EXPECT_EQ(px[0] & 0xFFFFFF, 0xFFFF00u);
  EXPECT_NE(px[60 * 100 + 10] & 0xFFFFFF, 0xFFFF00u);
  // Released papers come back on their next use.
  graphics.releaseBitmap(147);
  EXPECT_TRUE(s->drawBitmap(0, 40, 50, 50, 147, 0, 0));

  // Unpacked by hand, a compressed paper keeps a byte a pixel and the pixels LoadImageW gives.
  HDC screen = CreateCompatibleDC(nullptr);
  GdiObject unpacked(loadCompressedBitmap(module_, screen, 147));
  GdiObject loaded(LoadImageW(module_, MAKEINTRESOURCEW(147), IMAGE_BITMAP, 0, 0, 0));
  ASSERT_TRUE(unpacked && loaded);
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectW(unpacked.get(), sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBmih.biBitCount, 8);
  EXPECT_EQ(dib.dsBm.bmWidth, 1400);
  auto a = graphics.createSurface(1400, 1300);
  auto b = graphics.createSurface(1400, 1300);
  ASSERT_TRUE(a && b);
  blitBitmap(*a, static_cast<HBITMAP>(unpacked.get()), 0, 0, 1400, 1300, 0, 0, SRCCOPY);
  blitBitmap(*b, static_cast<HBITMAP>(loaded.get()), 0, 0, 1400, 1300, 0, 0, SRCCOPY);
  EXPECT_EQ(differingPixels(*a, *b), 0);
  EXPECT_EQ(loadCompressedBitmap(module_, screen, 106), nullptr);  // the sprite is not compressed
  DeleteDC(screen);
}

// Uncompressed pictures are drawn straight from the image: the pixels must be the ones a
// bitmap loaded by LoadImageW gives, cut from the same rows (bottom-up files count from
// their last row) and clipped at the picture's edge as BitBlt clips.
TEST_F(GdiProgramBitmapsTest, PicturesDrawnFromTheImageMatchLoadedOnes) {
  GdiGraphics graphics(module_);
  int compared = 0;
  for (BitmapId id : {106, 126, 131, 160, 166, 168, 202, 210, 211}) {
    GdiObject loaded(LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_TRUE(loaded) << id;
    BITMAP size{};
    GetObjectW(loaded.get(), sizeof size, &size);
    const int w = size.bmWidth, h = size.bmHeight;
    // A part of the picture from inside it to past its bottom-right corner.
    const int sx = w / 3, sy = h / 4, cw = w - sx + 5, ch = h - sy + 5;
    auto direct = graphics.createSurface(cw + 4, ch + 4);
    auto reference = graphics.createSurface(cw + 4, ch + 4);
    ASSERT_TRUE(direct && reference);
    for (DWORD rop : {SRCCOPY, SRCPAINT}) {
      direct->fillRect(0, 0, cw + 4, ch + 4, rgb(10, 200, 30));
      reference->fillRect(0, 0, cw + 4, ch + 4, rgb(10, 200, 30));
      if (rop == SRCCOPY) ASSERT_TRUE(direct->drawBitmap(2, 2, cw, ch, id, sx, sy));
      else ASSERT_TRUE(graphics.blit(static_cast<GdiSurface&>(*direct).dc(), 2, 2, cw, ch, id, sx, sy, rop));
      blitBitmap(*reference, static_cast<HBITMAP>(loaded.get()), 2, 2, w - sx, h - sy, sx, sy, rop);
      EXPECT_EQ(differingPixels(*direct, *reference), 0) << "bitmap " << id << " rop " << rop;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 18);
}

}  // namespace
}  // namespace tirelmo
