#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace artgen {

namespace {

std::uint8_t toByte(double v) { return static_cast<std::uint8_t>(std::clamp(std::floor(v + 0.5), 0.0, 255.0)); }

double clamp01(double t) { return std::clamp(t, 0.0, 1.0); }

double distanceToSegment(Point p, Point a, Point b) {
  const double vx = b.x - a.x, vy = b.y - a.y;
  const double len2 = vx * vx + vy * vy;
  double t = 0;
  if (len2 > 0) t = clamp01(((p.x - a.x) * vx + (p.y - a.y) * vy) / len2);
  const double qx = a.x + t * vx - p.x, qy = a.y + t * vy - p.y;
  return std::sqrt(qx * qx + qy * qy);
}

Box boxUnion(const Box& a, const Box& b) {
  return Box{std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

}  // namespace

Rgba mix(Rgba a, Rgba b, double t) {
  t = clamp01(t);
  auto ch = [t](std::uint8_t u, std::uint8_t v) { return toByte(u + (double(v) - u) * t); };
  return Rgba{ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b), ch(a.a, b.a)};
}

Rgba withAlpha(Rgba c, std::uint8_t alpha) {
  c.a = alpha;
  return c;
}

Paint solid(Rgba c) {
  return [c](double, double) { return c; };
}

Paint linearGradient(Point from, Rgba c0, Point to, Rgba c1) {
  const double vx = to.x - from.x, vy = to.y - from.y;
  const double len2 = vx * vx + vy * vy;
  return [=](double x, double y) {
    const double t = len2 > 0 ? ((x - from.x) * vx + (y - from.y) * vy) / len2 : 0.0;
    return mix(c0, c1, t);
  };
}

Paint radialGradient(Point centre, double radius, Rgba inner, Rgba outer) {
  return [=](double x, double y) {
    const double d = std::hypot(x - centre.x, y - centre.y);
    return mix(inner, outer, radius > 0 ? d / radius : 1.0);
  };
}

Shape rect(double x, double y, double w, double h) {
  return Shape{Box{x, y, x + w, y + h},
               [=](double px, double py) { return px >= x && px < x + w && py >= y && py < y + h; }};
}

Shape roundRect(double x, double y, double w, double h, double radius) {
  radius = std::clamp(radius, 0.0, std::min(w, h) / 2);
  return Shape{Box{x, y, x + w, y + h}, [=](double px, double py) {
                 if (px < x || px >= x + w || py < y || py >= y + h) return false;
                 const double cx = std::clamp(px, x + radius, x + w - radius);
                 const double cy = std::clamp(py, y + radius, y + h - radius);
                 const double dx = px - cx, dy = py - cy;
                 return dx * dx + dy * dy <= radius * radius;
               }};
}

Shape circle(Point c, double radius) { return ellipse(c, radius, radius); }

Shape ellipse(Point c, double rx, double ry, double angle) {
  const double cs = std::cos(angle), sn = std::sin(angle);
  const double hx = std::sqrt(rx * rx * cs * cs + ry * ry * sn * sn);
  const double hy = std::sqrt(rx * rx * sn * sn + ry * ry * cs * cs);
  return Shape{Box{c.x - hx, c.y - hy, c.x + hx, c.y + hy}, [=](double px, double py) {
                 if (rx <= 0 || ry <= 0) return false;
                 const double dx = px - c.x, dy = py - c.y;
                 const double u = (dx * cs + dy * sn) / rx;
                 const double v = (-dx * sn + dy * cs) / ry;
                 return u * u + v * v <= 1.0;
               }};
}

Shape polygon(std::vector<Point> pts) {
  Box b{1e300, 1e300, -1e300, -1e300};
  for (const Point& p : pts) b = boxUnion(b, Box{p.x, p.y, p.x, p.y});
  if (pts.size() < 3) b = Box{};
  return Shape{b, [pts = std::move(pts)](double px, double py) {
                 if (pts.size() < 3) return false;
                 int winding = 0;
                 for (std::size_t i = 0; i < pts.size(); ++i) {
                   const Point& a = pts[i];
                   const Point& c = pts[(i + 1) % pts.size()];
                   const double side = (c.x - a.x) * (py - a.y) - (px - a.x) * (c.y - a.y);
                   if (a.y <= py) {
                     if (c.y > py && side > 0) ++winding;
                   } else if (c.y <= py && side < 0) {
                     --winding;
                   }
                 }
                 return winding != 0;
               }};
}

Shape thickLine(Point a, Point b, double width) {
  const double r = width / 2;
  return Shape{
      Box{std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r},
      [=](double px, double py) {
        return distanceToSegment(Point{px, py}, a, b) <= r;
      }};
}

Shape thickPolyline(const std::vector<Point>& pts, double width) {
  if (pts.empty()) return Shape{Box{}, [](double, double) { return false; }};
  if (pts.size() == 1) return circle(pts[0], width / 2);
  Shape s = thickLine(pts[0], pts[1], width);
  for (std::size_t i = 2; i < pts.size(); ++i) s = unite(std::move(s), thickLine(pts[i - 1], pts[i], width));
  return s;
}

Shape unite(Shape a, Shape b) {
  const Box bx = boxUnion(a.bounds, b.bounds);
  return Shape{bx, [a = std::move(a), b = std::move(b)](double x, double y) {
                 return a.contains(x, y) || b.contains(x, y);
               }};
}

Shape subtract(Shape a, Shape b) {
  const Box bx = a.bounds;
  return Shape{bx, [a = std::move(a), b = std::move(b)](double x, double y) {
                 return a.contains(x, y) && !b.contains(x, y);
               }};
}

Shape intersect(Shape a, Shape b) {
  const Box bx{std::max(a.bounds.x0, b.bounds.x0), std::max(a.bounds.y0, b.bounds.y0),
               std::min(a.bounds.x1, b.bounds.x1), std::min(a.bounds.y1, b.bounds.y1)};
  return Shape{bx, [a = std::move(a), b = std::move(b)](double x, double y) {
                 return a.contains(x, y) && b.contains(x, y);
               }};
}

Shape translate(Shape s, double dx, double dy) {
  const Box bx{s.bounds.x0 + dx, s.bounds.y0 + dy, s.bounds.x1 + dx, s.bounds.y1 + dy};
  return Shape{bx, [s = std::move(s), dx, dy](double x, double y) { return s.contains(x - dx, y - dy); }};
}

std::vector<Point> bezier(Point p0, Point p1, Point p2, Point p3, int segments) {
  segments = std::max(segments, 1);
  std::vector<Point> out;
  out.reserve(static_cast<std::size_t>(segments) + 1);
  for (int i = 0; i <= segments; ++i) {
    const double t = double(i) / segments, u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    out.push_back(Point{a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
  }
  return out;
}

Canvas::Canvas(int width, int height, Rgba fill) : width_(width), height_(height) {
  if (width < 0 || height < 0) throw std::invalid_argument("negative canvas size");
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

void Canvas::clear(Rgba c) { std::fill(pixels_.begin(), pixels_.end(), c); }

void Canvas::blend(int x, int y, Rgba c, double coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const double sa = c.a / 255.0 * clamp01(coverage);
  if (sa <= 0) return;
  Rgba& d = at(x, y);
  const double da = d.a / 255.0;
  const double oa = sa + da * (1 - sa);
  auto ch = [&](std::uint8_t s, std::uint8_t t) { return toByte((s * sa + t * da * (1 - sa)) / oa); };
  d = Rgba{ch(c.r, d.r), ch(c.g, d.g), ch(c.b, d.b), toByte(oa * 255.0)};
}

void Canvas::fill(const Shape& shape, const Paint& paint, int n) {
  n = std::max(n, 1);
  const int x0 = std::max(0, static_cast<int>(std::floor(shape.bounds.x0)));
  const int y0 = std::max(0, static_cast<int>(std::floor(shape.bounds.y0)));
  const int x1 = std::min(width_, static_cast<int>(std::ceil(shape.bounds.x1)) + 1);
  const int y1 = std::min(height_, static_cast<int>(std::ceil(shape.bounds.y1)) + 1);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      int inside = 0;
      for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
          if (shape.contains(x + (i + 0.5) / n, y + (j + 0.5) / n)) ++inside;
      if (inside) blend(x, y, paint(x + 0.5, y + 0.5), double(inside) / (n * n));
    }
  }
}

void Canvas::draw(const Canvas& src, int dx, int dy) {
  for (int y = 0; y < src.height(); ++y)
    for (int x = 0; x < src.width(); ++x) blend(x + dx, y + dy, src.at(x, y), 1.0);
}

Canvas Canvas::crop(int x, int y, int w, int h) const {
  Canvas out(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (x + i >= 0 && x + i < width_ && y + j >= 0 && y + j < height_) out.at(i, j) = at(x + i, y + j);
  return out;
}

Canvas Canvas::flattened(Rgba background) const {
  background.a = 255;
  Canvas out(width_, height_, background);
  out.draw(*this, 0, 0);
  return out;
}

Canvas composeGrid(const std::vector<Canvas>& cells, int columns, Rgba background) {
  if (cells.empty() || columns <= 0) return Canvas();
  const int cw = cells.front().width(), ch = cells.front().height();
  for (const Canvas& c : cells)
    if (c.width() != cw || c.height() != ch) throw std::invalid_argument("grid cells differ in size");
  const int count = static_cast<int>(cells.size());
  const int rows = (count + columns - 1) / columns;
  Canvas out(cw * std::min(columns, count), ch * rows, background);
  for (int i = 0; i < count; ++i)
    out.draw(cells[static_cast<std::size_t>(i)], (i % columns) * cw, (i / columns) * ch);
  return out;
}

}  // namespace artgen
