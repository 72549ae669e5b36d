// The skins' large pictures: two paper textures, the header strip and the
// picture of the "classic" skin.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "art_common.h"
#include "artwork.h"
#include "image_files.h"
#include "noise.h"

namespace artgen {

namespace {

constexpr double kPi = std::numbers::pi;

double smoothstep(double e0, double e1, double x) {
  const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// A ramp of colours one or two steps apart: quantizing to it without dither
// leaves no visible bands, and areas of one level become long RLE runs.
std::vector<Rgba> ramp(Rgba dark, Rgba light, int levels) {
  std::vector<Rgba> out;
  for (int i = 0; i < levels; ++i) out.push_back(mix(dark, light, double(i) / (levels - 1)));
  return out;
}

IndexedImage quantize(const std::vector<float>& value, int width, int height, std::vector<Rgba> palette) {
  IndexedImage img;
  img.width = width;
  img.height = height;
  const int top = static_cast<int>(palette.size()) - 1;
  img.palette = std::move(palette);
  img.indices.resize(value.size());
  for (std::size_t i = 0; i < value.size(); ++i)
    img.indices[i] =
        static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(value[i] * top)), 0, top));
  return img;
}

}  // namespace

IndexedImage drawCrumpledPaper() {
  const int w = kPaperWidth, h = kPaperHeight;
  // Every fold tilts the paper on each side of a straight crease, so the
  // shading is flat between creases: facets, as on paper that was balled up
  // and smoothed out again. Folds fade out along and across their crease.
  std::vector<float> gx(static_cast<std::size_t>(w) * h, 0.f), gy(gx.size(), 0.f);
  Rng rng(0x7C0FFEEu);
  // A few long folds from the first squeeze, then many short ones.
  constexpr int kLongFolds = 18, kFolds = 240;
  for (int k = 0; k < kFolds; ++k) {
    const bool longFold = k < kLongFolds;
    const double cx = rng.uniform(-100, w + 100), cy = rng.uniform(-100, h + 100);
    const double angle = rng.uniform(0, kPi);
    const double dx = std::cos(angle), dy = std::sin(angle);
    const double along = longFold ? rng.uniform(400, 900) : rng.uniform(70, 320);
    const double across = longFold ? rng.uniform(200, 500) : rng.uniform(50, 200);
    const double strength = longFold ? rng.uniform(0.5, 1.0) : rng.uniform(0.25, 0.8);
    const double reach = std::hypot(along, across);
    const int x0 = std::max(0, int(cx - reach)), x1 = std::min(w, int(cx + reach) + 1);
    const int y0 = std::max(0, int(cy - reach)), y1 = std::min(h, int(cy + reach) + 1);
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        const double px = x + 0.5 - cx, py = y + 0.5 - cy;
        const double t = px * dx + py * dy;   // along the crease
        const double d = -px * dy + py * dx;  // across it
        if (std::abs(t) >= along || std::abs(d) >= across) continue;
        const double fade = (1 - smoothstep(0.7 * along, along, std::abs(t))) *
                            (1 - smoothstep(0.75 * across, across, std::abs(d)));
        // The slope changes sign at the crease, over about one pixel.
        const double side = std::clamp(d / 0.9, -1.0, 1.0);
        const double s = strength * side * fade;
        const std::size_t i = static_cast<std::size_t>(y) * w + x;
        gx[i] += static_cast<float>(-dy * s);
        gy[i] += static_cast<float>(dx * s);
      }
  }
  // Light from the upper left.
  const double lx = -0.6, ly = -0.8;
  std::vector<float> value(gx.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * w + x;
      const double shade = (gx[i] * lx + gy[i] * ly) / 1.5;
      const double broad = valueNoise(x / 420.0, y / 420.0, 77) - 0.5;
      value[i] = static_cast<float>(0.66 + 0.28 * std::tanh(shade) + 0.08 * broad);
    }
  return quantize(value, w, h, ramp(rgb(0xD8D7D0), rgb(0xFFFFFC), 28));
}

IndexedImage drawParchment() {
  const int w = kPaperWidth, h = kPaperHeight;
  std::vector<float> value(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double clouds = fractalNoise(x / 340.0, y / 340.0, 3, 0.5, 11);
      const double mottle = valueNoise(x / 55.0, y / 45.0, 23);
      // Darker towards the left and right edges, as old paper ages from
      // its sides. Top and bottom stay even: the page repeats its top
      // part further down.
      const double edge = std::min(x, w - 1 - x);
      const double burn = 1 - smoothstep(0, 110, edge);
      value[static_cast<std::size_t>(y) * w + x] =
          static_cast<float>(0.30 + 0.62 * clouds + 0.10 * mottle - 0.45 * burn * burn);
    }
  Rng rng(0x9A4C3E1u);
  // A few faint water stains, darker at their rims.
  for (int k = 0; k < 5; ++k) {
    const double cx = rng.uniform(60, w - 60), cy = rng.uniform(60, h - 60), r = rng.uniform(35, 95);
    for (int y = std::max(0, int(cy - r - 4)); y < std::min(h, int(cy + r + 4)); ++y)
      for (int x = std::max(0, int(cx - r - 4)); x < std::min(w, int(cx + r + 4)); ++x) {
        const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / r;
        const double wobble = 0.22 * (fractalNoise(x / 40.0, y / 40.0, 2, 0.5, 31 + k) - 0.5);
        const double inside = 1 - smoothstep(0.97, 1.0, d + wobble);
        const double rim = std::exp(-std::pow((d + wobble - 0.97) / 0.025, 2));
        value[static_cast<std::size_t>(y) * w + x] -= static_cast<float>(0.06 * inside + 0.10 * rim);
      }
  }
  // Fibres: short faint strokes, mostly lengthwise.
  for (int k = 0; k < 500; ++k) {
    double x = rng.uniform(0, w), y = rng.uniform(0, h);
    double angle = rng.uniform(-0.5, 0.5) + (rng.below(3) == 0 ? kPi / 2 : 0);
    const int steps = 12 + rng.below(40);
    const float depth = static_cast<float>(rng.uniform(0.05, 0.1));
    for (int s = 0; s < steps; ++s) {
      const int ix = int(x), iy = int(y);
      if (ix >= 0 && ix < w && iy >= 0 && iy < h) value[static_cast<std::size_t>(iy) * w + ix] -= depth;
      angle += rng.uniform(-0.15, 0.15);
      x += std::cos(angle);
      y += std::sin(angle);
    }
  }
  return quantize(value, w, h, ramp(rgb(0xD6BE8E), rgb(0xFBF1D9), 36));
}

Canvas drawHeaderStrip() {
  const int w = kHeaderWidth, h = kHeaderHeight;
  Canvas c(w, h, rgb(0xFFFFFF));
  // A faint wash along the top, a double rule along the bottom.
  c.fill(rect(0, 0, w, 16), linearGradient(Point{0, 0}, rgb(0xEAF2E4), Point{0, 16}, rgb(0xFFFFFF)));
  c.fill(rect(0, h - 9, w, 1), rgb(0xDCE3D6));
  c.fill(rect(0, h - 6, w, 2), rgb(0xEBF0E7));
  // A dotted line across the middle part, just under the wash.
  for (int x = 300; x < w - 300; x += 9) c.fill(circle(Point{x + 0.5, 21.5}, 1.1), rgb(0xD9E3D2));

  // The ends carry a tomato vine; the window shows them only when it is wide,
  // and they never reach the middle, where the header form is written.
  Canvas vine(300, h);
  const Rgba stemColor = rgb(0x4F8A2B);
  const std::vector<Point> stem = bezier(Point{-10, 92}, Point{70, 40}, Point{150, 118}, Point{262, 50}, 60);
  // Hanging fruit first, so the stem and leaves lie over their stalks.
  struct Fruit {
    int at;
    double size, drop;
  };
  for (const Fruit& f : {Fruit{22, 40, 10}, Fruit{40, 32, 4}, Fruit{48, 24, 22}}) {
    const Point from = stem[static_cast<std::size_t>(f.at)];
    const Point top{from.x + 2, from.y + f.drop};
    vine.fill(thickPolyline(
                  bezier(from, Point{from.x + 1, from.y + f.drop * 0.4}, Point{top.x, top.y - 3}, top, 8), 2),
              stemColor);
    paintTomato(vine, Frame{top.x - f.size / 2, top.y - f.size * 0.12, f.size});
  }
  vine.fill(thickPolyline(stem, 4.5), stemColor);
  // Leaves sit on the stem, alternating sides, with a tendril here and there.
  for (int i = 4; i < 58; i += 7) {
    const Point base = stem[static_cast<std::size_t>(i)];
    const Point next = stem[static_cast<std::size_t>(i + 1)];
    const double heading = std::atan2(next.y - base.y, next.x - base.x);
    const bool up = (i / 7) % 2 == 0;
    const double angle = heading + (up ? -0.9 : 0.9);
    const double length = 24 + (i % 3) * 4;
    vine.fill(leaf(base, angle, length, length * 0.5), rgb(0x2F6B22));
    vine.fill(leaf(base, angle, length - 2, length * 0.42),
              linearGradient(base, rgb(0x8CD05F),
                             Point{base.x + length * std::cos(angle), base.y + length * std::sin(angle)},
                             rgb(0x4E9A33)));
    if ((i / 7) % 3 == 1) {
      std::vector<Point> curl;
      const double a0 = heading + (up ? 0.9 : -0.9);
      Point p = base;
      double a = a0;
      for (int k = 0; k < 36; ++k) {
        curl.push_back(p);
        a += (up ? -1 : 1) * 0.012 * k;
        p = Point{p.x + 0.9 * std::cos(a), p.y + 0.9 * std::sin(a)};
      }
      vine.fill(thickPolyline(curl, 1.5), rgb(0x6AA843));
    }
  }
  // Softened, so the ends decorate without shouting.
  Canvas soft = vine;
  for (int y = 0; y < soft.height(); ++y)
    for (int x = 0; x < soft.width(); ++x) soft.at(x, y).a = static_cast<std::uint8_t>(soft.at(x, y).a * 0.8);
  c.draw(soft, 0, 0);
  Canvas mirrored(soft.width(), soft.height());
  for (int y = 0; y < soft.height(); ++y)
    for (int x = 0; x < soft.width(); ++x) mirrored.at(soft.width() - 1 - x, y) = soft.at(x, y);
  c.draw(mirrored, w - soft.width(), 0);
  return c;
}

Canvas drawDeskPicture() {
  const int w = kDeskPictureWidth, h = kDeskPictureHeight;
  // The "classic" skin lays this at (471, 364) over its graph paper: the
  // same paper, fine lines and row lines continue through the picture, so
  // only the drawing stands out. Fine lines are every 21 pixels (a third of
  // the 63-pixel row) from x 41 and y 124; row lines every 63 from y 124.
  Canvas c(w, h, rgb(0xFCFFE8));
  constexpr int kLeft = 471, kTop = 364;
  for (int x = 0; x < w; ++x)
    if ((kLeft + x - 41) % 21 == 0) c.fill(rect(x, 0, 1, h), rgb(0xE1E1E1));
  for (int y = 0; y < h; ++y) {
    if ((kTop + y - 124) % 21 == 0) c.fill(rect(0, y, w, 1), rgb(0xE1E1E1));
    if ((kTop + y - 124) % 63 == 0) c.fill(rect(0, y, w, 1), rgb(0xD2D2D2));
  }

  // The desk.
  c.fill(ellipse(Point{125, 184}, 108, 5), rgb(0x5A4A3A, 50));
  const Rgba woodEdge = rgb(0x6B4526);
  for (double lx : {40.0, 202.0}) {
    c.fill(roundRect(lx - 1, 150, 10, 35, 2), woodEdge);
    c.fill(rect(lx, 150, 8, 34), linearGradient(Point{lx, 0}, rgb(0xB07B4C), Point{lx + 8, 0}, rgb(0x8A5A33)));
  }
  const std::vector<Point> top = {Point{30, 134}, Point{220, 134}, Point{236, 150}, Point{14, 150}};
  c.fill(unite(polygon(top), thickPolyline({top[0], top[1], top[2], top[3], top[0]}, 2)), woodEdge);
  c.fill(polygon(top), linearGradient(Point{0, 134}, rgb(0xE2B27E), Point{0, 150}, rgb(0xC98F58)));
  c.fill(rect(13, 150, 224, 9), woodEdge);
  c.fill(rect(14, 151, 222, 7), linearGradient(Point{0, 151}, rgb(0xB47A45), Point{0, 158}, rgb(0x93602F)));
  for (double gx : {60.0, 118.0, 176.0})
    c.fill(thickLine(Point{gx, 138}, Point{gx + 22, 138}, 0.8), rgb(0xB88450, 120));

  // The tomato timer, with its dial round the middle.
  c.fill(ellipse(Point{86, 142}, 44, 5), rgb(0x5A3A1A, 70));
  const Frame timer{36, 45, 100};
  paintTomato(c, timer);
  for (int i = -6; i <= 6; ++i) {
    const double a = i * 0.2;
    const double x = 86 + 40 * std::sin(a);
    const double y = 107 + 7 * std::cos(a);
    const double len = (i % 3 == 0) ? 7 : 4;
    c.fill(thickLine(Point{x, y - len / 2}, Point{x, y + len / 2}, i % 3 == 0 ? 1.8 : 1.2), rgb(0xFFFFFF, 220));
  }
  c.fill(polygon({Point{86, 117}, Point{81, 125}, Point{91, 125}}), rgb(0x2B2B2B));

  // A notepad with a ticked list and a pencil.
  const std::vector<Point> pad = {Point{150, 122}, Point{206, 118}, Point{214, 140}, Point{156, 145}};
  c.fill(translate(polygon(pad), 1.5, 2), rgb(0x5A4A3A, 60));
  c.fill(unite(polygon(pad), thickPolyline({pad[0], pad[1], pad[2], pad[3], pad[0]}, 1.4)), rgb(0x9AA3B5));
  c.fill(polygon(pad), rgb(0xFFFFFF));
  for (int i = 0; i < 3; ++i) {
    const double t = 0.25 + 0.25 * i;
    const Point a{150 + 6 * t + 14, 122 + 23 * t - 1}, b{150 + 6 * t + 46, 122 + 20 * t - 3.5};
    c.fill(thickLine(a, b, 1.2), rgb(0x8A93C8));
    c.fill(
        thickPolyline({Point{a.x - 9, a.y - 1}, Point{a.x - 6.5, a.y + 1.5}, Point{a.x - 2.5, a.y - 3.5}}, 1.4),
        i < 2 ? rgb(0x2E9A3A) : rgb(0xC8C8C8));
  }
  // The pencil, tip to the left.
  const Point tip{160, 146}, end{204, 131};
  const double len = std::hypot(end.x - tip.x, end.y - tip.y);
  const double ux = (end.x - tip.x) / len, uy = (end.y - tip.y) / len;
  auto along = [&](double d) { return Point{tip.x + ux * d, tip.y + uy * d}; };
  c.fill(thickLine(along(6), end, 5.5), rgb(0x7A5A10));
  c.fill(thickLine(along(7), along(len - 6), 4), rgb(0xF4C430));
  c.fill(thickLine(along(len - 5), end, 4.4), rgb(0xE8A0A0));
  c.fill(polygon({tip, Point{along(7).x - uy * 2.4, along(7).y + ux * 2.4},
                  Point{along(7).x + uy * 2.4, along(7).y - ux * 2.4}}),
         rgb(0xE9C9A0));
  c.fill(circle(along(1.2), 1.1), rgb(0x3A3A3A));

  // A mug with a little steam.
  c.fill(ellipse(Point{216, 132}, 15, 3), rgb(0x5A3A1A, 60));
  c.fill(subtract(circle(Point{228, 112}, 8.5), circle(Point{228, 112}, 5)), rgb(0x3E6FB0));
  c.fill(roundRect(200, 92, 28, 40, 5), rgb(0x2D5A96));
  c.fill(roundRect(201.5, 93.5, 25, 37, 4),
         linearGradient(Point{201, 0}, rgb(0x6FA3E6), Point{226, 0}, rgb(0x3E6FB0)));
  c.fill(ellipse(Point{214, 94}, 12.5, 3), rgb(0x6B3E1E));
  for (double sx : {208.0, 219.0}) {
    const std::vector<Point> steam =
        bezier(Point{sx, 86}, Point{sx - 6, 78}, Point{sx + 6, 72}, Point{sx, 62}, 16);
    c.fill(thickPolyline(steam, 1.6), rgb(0xB8C2D6, 200));
  }
  return c;
}

}  // namespace artgen
