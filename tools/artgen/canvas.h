// A small RGBA raster library for drawing the program's art procedurally.
//
// Coordinates are in pixels with (0,0) at the top-left corner of the top-left
// pixel; pixel (x,y) covers [x,x+1) x [y,y+1). Shapes are point-in-shape tests
// with a bounding box, and fill() anti-aliases them by supersampling, which
// keeps every primitive trivially correct and the output bit-for-bit repeatable.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace artgen {

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

// 0xRRGGBB, as colours are usually written down.
constexpr Rgba rgb(std::uint32_t hex, std::uint8_t alpha = 255) {
  return Rgba{static_cast<std::uint8_t>((hex >> 16) & 0xFF), static_cast<std::uint8_t>((hex >> 8) & 0xFF),
              static_cast<std::uint8_t>(hex & 0xFF), alpha};
}

constexpr Rgba kTransparent{0, 0, 0, 0};

// Linear mix of two colours (t = 0 gives a, t = 1 gives b), alpha included.
Rgba mix(Rgba a, Rgba b, double t);
Rgba withAlpha(Rgba c, std::uint8_t alpha);

struct Point {
  double x = 0, y = 0;
};

struct Box {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

struct Shape {
  Box bounds;
  std::function<bool(double x, double y)> contains;
};

// Colour as a function of position, evaluated at pixel centres.
using Paint = std::function<Rgba(double x, double y)>;

Paint solid(Rgba c);
Paint linearGradient(Point from, Rgba c0, Point to, Rgba c1);
Paint radialGradient(Point centre, double radius, Rgba inner, Rgba outer);

// Primitive shapes.
Shape rect(double x, double y, double w, double h);
Shape roundRect(double x, double y, double w, double h, double radius);
Shape circle(Point centre, double radius);
Shape ellipse(Point centre, double rx, double ry, double angleRadians = 0);
Shape polygon(std::vector<Point> points);         // non-zero winding
Shape thickLine(Point a, Point b, double width);  // round caps
Shape thickPolyline(const std::vector<Point>& points, double width);

// Shape algebra, enough for rings, outlines and cut-outs.
Shape unite(Shape a, Shape b);
Shape subtract(Shape a, Shape b);
Shape intersect(Shape a, Shape b);
Shape translate(Shape s, double dx, double dy);

// Points along a cubic Bezier curve, both ends included.
std::vector<Point> bezier(Point p0, Point p1, Point p2, Point p3, int segments);

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height, Rgba fill = kTransparent);

  int width() const { return width_; }
  int height() const { return height_; }
  Rgba& at(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  const Rgba& at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  const std::vector<Rgba>& pixels() const { return pixels_; }

  void clear(Rgba c);
  // Source-over compositing of one colour with a coverage in [0,1].
  void blend(int x, int y, Rgba c, double coverage);

  // samplesPerAxis^2 samples a pixel; 8 gives 65 coverage levels.
  void fill(const Shape& shape, const Paint& paint, int samplesPerAxis = 8);
  void fill(const Shape& shape, Rgba c, int samplesPerAxis = 8) { fill(shape, solid(c), samplesPerAxis); }

  // Composites src over this canvas with its top-left at (dx,dy); parts
  // outside are clipped.
  void draw(const Canvas& src, int dx, int dy);
  Canvas crop(int x, int y, int w, int h) const;
  // Every pixel composited over an opaque background, for formats without alpha.
  Canvas flattened(Rgba background) const;

 private:
  int width_ = 0, height_ = 0;
  std::vector<Rgba> pixels_;
};

// Lays equally sized cells out left to right, top to bottom: toolbars, sprite
// sheets and digit strips are all built this way.
Canvas composeGrid(const std::vector<Canvas>& cells, int columns, Rgba background = kTransparent);

}  // namespace artgen
