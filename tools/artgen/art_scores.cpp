// The score marks: the sprite the score column is drawn from, the category
// squares, and the small pictures drawn beside rows.
#include <algorithm>
#include <array>
#include <cmath>

#include "art_common.h"
#include "artwork.h"

namespace artgen {

namespace {

void paintApostrophe(Canvas& c, const Frame& u) {
  // A written apostrophe: a round head with a tail curling down-left.
  const Shape mark =
      unite(circle(u.p(0.56, 0.27), u.len(0.22)),
            polygon({u.p(0.35, 0.32), u.p(0.78, 0.36), u.p(0.54, 0.72), u.p(0.28, 0.95), u.p(0.38, 0.62)}));
  c.fill(mark, rgb(0x2E3A86));
}

void paintBolt(Canvas& c, const Frame& u) {
  const std::vector<Point> bolt = {u.p(0.60, 0.02), u.p(0.20, 0.56), u.p(0.46, 0.56), u.p(0.34, 0.98),
                                   u.p(0.82, 0.40), u.p(0.56, 0.40), u.p(0.74, 0.02)};
  const double outline = std::max(1.0, u.len(0.07));
  std::vector<Point> closed = bolt;
  closed.push_back(bolt.front());
  c.fill(unite(polygon(bolt), thickPolyline(closed, 2 * outline)), rgb(0x8A3A06));
  c.fill(polygon(bolt), linearGradient(u.p(0.5, 0), rgb(0xFFC93C), u.p(0.5, 1), rgb(0xF07A12)));
}

void paintCheck(Canvas& c, const Frame& u) {
  const std::vector<Point> tick = {u.p(0.15, 0.53), u.p(0.40, 0.77), u.p(0.86, 0.22)};
  const double width = u.len(0.17);
  const double outline = std::max(1.0, u.len(0.04));
  c.fill(thickPolyline(tick, width + 2 * outline), rgb(0x135A1E));
  c.fill(thickPolyline(tick, width),
         linearGradient(u.p(0.2, 0.2), rgb(0x63D15A), u.p(0.7, 0.9), rgb(0x22992E)));
}

void paintCross(Canvas& c, const Frame& u) {
  const double w = std::max(2.0, u.len(0.12));
  const double rim = std::max(1.0, u.len(0.04));
  auto strokes = [&](double width) {
    return unite(thickLine(u.p(0.22, 0.34), u.p(0.78, 0.88), width),
                 thickLine(u.p(0.78, 0.34), u.p(0.22, 0.88), width));
  };
  c.fill(strokes(w + 2 * rim), rgb(0xFFFFFF, 200));
  c.fill(strokes(w), rgb(0x2A1412));
}

void paintRowMark(Canvas& c, const Frame& u) {
  const std::vector<Point> tri = {u.p(0.28, 0.22), u.p(0.80, 0.50), u.p(0.28, 0.78)};
  const double round = u.len(0.1);
  const double outline = std::max(1.0, u.len(0.04));
  const Shape body = unite(polygon(tri), thickPolyline({tri[0], tri[1], tri[2], tri[0]}, round));
  const Shape edge = unite(polygon(tri), thickPolyline({tri[0], tri[1], tri[2], tri[0]}, round + 2 * outline));
  c.fill(edge, rgb(0x8A2410));
  c.fill(body, linearGradient(u.p(0.3, 0.2), rgb(0xFF8A5C), u.p(0.5, 0.8), rgb(0xD9391C)));
}

// Transparent pixels of the sprite's picture must be black (the picture is
// ORed onto the page) and its mask black exactly where the picture has ink.
// Pixels at least this opaque become ink.
constexpr std::uint8_t kInkAlpha = 90;
// Edges are smoothed against the light paper every skin uses.
constexpr Rgba kPaper = rgb(0xF8F8F4);

}  // namespace

void paintScoreGlyph(Canvas& c, ScoreGlyph glyph, const Frame& u) {
  switch (glyph) {
    case ScoreGlyph::Pomodoro: paintTomato(c, u); break;
    case ScoreGlyph::Estimated: {
      TomatoLook look;
      look.hollow = true;
      look.gloss = false;
      look.outline = std::max(1.0, u.len(0.05));
      paintTomato(c, u, look);
      break;
    }
    case ScoreGlyph::Abandoned: {
      TomatoLook look;
      look.faded = 0.45;
      look.gloss = false;
      paintTomato(c, u, look);
      paintCross(c, u);
      break;
    }
    case ScoreGlyph::InternalInterruption: paintApostrophe(c, u); break;
    case ScoreGlyph::ExternalInterruption: paintBolt(c, u); break;
    case ScoreGlyph::Done: paintCheck(c, u); break;
    case ScoreGlyph::RowMark: paintRowMark(c, u); break;
  }
}

Rgba categoryColor(int category) {
  static constexpr std::array<std::uint32_t, 13> kFill = {0xE6E6E6, 0xDB0B1B, 0xF5DC4B, 0xA4DE78, 0xC9E2FF,
                                                          0xF5D5F5, 0x2323F4, 0xFC8A50, 0x006C00, 0x9D00EB,
                                                          0xB5B5B5, 0x282828, 0xFF4EFF};
  return rgb(kFill[static_cast<std::size_t>(std::clamp(category, 0, 12))]);
}

Canvas drawScoreSprite() {
  constexpr int kCell = kScoreSpriteCell;
  // Where each mark sits in its cell follows the score column: the
  // interruption marks are drawn 8 and 12 pixels apart and beside their
  // counts, so they stay narrow and keep to the left of the cell.
  struct Placement {
    ScoreGlyph glyph;
    Frame frame;  // inside the cell
  };
  const std::array<Placement, 7> cells = {{
      {ScoreGlyph::Pomodoro, Frame{0, 2, 24}},
      {ScoreGlyph::InternalInterruption, Frame{-1, 1, 14}},
      {ScoreGlyph::Done, Frame{0, 0, 28}},
      {ScoreGlyph::ExternalInterruption, Frame{-2, 6, 16}},
      {ScoreGlyph::Abandoned, Frame{0, 3, 21}},
      {ScoreGlyph::Estimated, Frame{0, 0, 21}},
      {ScoreGlyph::RowMark, Frame{0, 0, 28}},
  }};
  Canvas sheet(kCell * 8, kCell * 2, rgb(0x000000));
  for (std::size_t i = 0; i < cells.size(); ++i) {
    Canvas art(kCell, kCell);
    paintScoreGlyph(art, cells[i].glyph, cells[i].frame);
    const int x0 = kCell * static_cast<int>(i + 1);
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x) {
        Rgba ink = art.at(x, y);
        Rgba& picture = sheet.at(x0 + x, y);
        Rgba& mask = sheet.at(x0 + x, y + kCell);
        if (ink.a < kInkAlpha) {
          picture = rgb(0x000000);
          mask = rgb(0xFFFFFF);
          continue;
        }
        Canvas px(1, 1, kPaper);
        px.blend(0, 0, ink, 1.0);
        picture = px.at(0, 0);
        // Pure black would read as "transparent" once ORed.
        if (picture.r == 0 && picture.g == 0 && picture.b == 0) picture = rgb(0x010101);
        mask = rgb(0x000000);
      }
  }
  // Cell 0 is never drawn: a clear picture over a mask that keeps the page.
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) sheet.at(x, y + kCell) = rgb(0xFFFFFF);
  return sheet;
}

Canvas drawCategorySquares(int cell) {
  Canvas strip(cell * 13, cell);
  for (int n = 0; n < 13; ++n) {
    const Rgba fill = categoryColor(n);
    // A darker rim keeps pale colours (none, cyan, pink) visible on white paper.
    strip.fill(rect(n * cell, 0, cell, cell), mix(fill, rgb(0x000000), n == 0 ? 0.3 : 0.35));
    strip.fill(rect(n * cell + 1, 1, cell - 2, cell - 2), fill);
  }
  return strip;
}

Canvas drawNotStartedIcon() {
  // An hourglass with all its sand still on top.
  Canvas c(kSmallIconSize, kSmallIconSize, rgb(0xFFFFFF));
  const Frame u{0, 0, double(kSmallIconSize)};
  const Rgba wood = rgb(0x8C6B4F);
  const Rgba glassEdge = rgb(0x7A869E);
  auto bulbs = [&](double grow) {
    return polygon({u.p(0.27 - grow, 0.14), u.p(0.73 + grow, 0.14), u.p(0.72 + grow, 0.27),
                    u.p(0.54 + grow, 0.5), u.p(0.72 + grow, 0.73), u.p(0.73 + grow, 0.86),
                    u.p(0.27 - grow, 0.86), u.p(0.28 - grow, 0.73), u.p(0.46 - grow, 0.5),
                    u.p(0.28 - grow, 0.27)});
  };
  c.fill(bulbs(0.05), glassEdge);
  c.fill(bulbs(0), rgb(0xEEF2F8));
  // Sand fills the upper bulb; a thin thread has not started to fall.
  c.fill(intersect(bulbs(0), u.box(0, 0.22, 1, 0.27)), rgb(0xE2B15B));
  c.fill(u.box(0.2, 0.04, 0.6, 0.11), wood);
  c.fill(u.box(0.2, 0.85, 0.6, 0.11), wood);
  return c;
}

Canvas drawRowMarkerButton() {
  // The push button draws its own frame around this, so the arrow keeps to the middle.
  Canvas c(kSmallIconSize, kSmallIconSize, rgb(0xF0F0F0));
  const Frame u{0, 0, double(kSmallIconSize)};
  const std::vector<Point> tri = {u.p(0.37, 0.27), u.p(0.71, 0.50), u.p(0.37, 0.73)};
  c.fill(unite(polygon(tri), thickPolyline({tri[0], tri[1], tri[2], tri[0]}, u.len(0.1))), rgb(0x3E488E));
  return c;
}

}  // namespace artgen
