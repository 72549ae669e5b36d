// The canvas port: off-screen drawing surfaces. A page draws in its own coordinates into
// whatever surface shows part of it (the window's view-sized back buffer, a row editor):
// the surface's origin says which page point is its top-left pixel and its clip which part
// may change. The Win32 side backs a surface with a DIB section, tests with a recording
// surface that has deterministic text metrics.
#pragma once

#include <cstdint>
#include <memory>

#include "text/ustring.h"

namespace tirelmo {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb rgb(int r, int g, int b) {
  return Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
}

// A font by face name and pixel height (the cell height, as fonts are asked for by height).
struct FontSpec {
  u16 face;
  int height = 0;
  bool bold = false;
  bool strikeOut = false;
  // The text's baseline tilted counter-clockwise, in tenths of a degree (a chart's labels).
  int angleTenths = 0;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Bitmap resources are named by their resource ids (106 the score sprite, 202 the category
// squares, 147 and 154 the skin papers, ...).
using BitmapId = int;

class Surface {
 public:
  virtual ~Surface() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;

  virtual void fillRect(int x, int y, int w, int h, Rgb color) = 0;
  // A straight line from (x0, y0) to (x1, y1); like a pen moved and drawn to, the end point
  // itself is not painted.
  virtual void line(int x0, int y0, int x1, int y1, Rgb color, int penWidth = 1) = 0;
  // The same with a 1-pixel dotted pen (the started pomodoros of a chart).
  virtual void dottedLine(int x0, int y0, int x1, int y1, Rgb color) = 0;

  // Text is always drawn with a transparent background in the selected font.
  virtual void setFont(const FontSpec& font) = 0;
  virtual const FontSpec& font() const = 0;
  virtual int textWidth(u16v text) = 0;
  virtual int textHeight(u16v text) = 0;
  virtual void drawText(int x, int y, u16v text, Rgb color) = 0;
  // Text cut at a rectangle, as an edit field cuts a text longer than itself.
  virtual void drawTextClipped(int x, int y, u16v text, Rgb color, int clipX, int clipY, int clipW,
                               int clipH) = 0;

  // What is drawn at (x, y) from now on lands on the surface's pixel (x - originX,
  // y - originY). A new surface has its origin at (0, 0) and no clip.
  virtual void setOrigin(int originX, int originY) = 0;
  // Only this rectangle, in drawing coordinates (the origin applied), can change until the
  // next setClip or clearClip; an empty rectangle lets nothing through.
  virtual void setClip(int x, int y, int w, int h) = 0;
  virtual void clearClip() = 0;
  // Plain copy of a rectangle of a bitmap resource; false when the bitmap is missing.
  virtual bool drawBitmap(int dx, int dy, int w, int h, BitmapId bitmap, int sx, int sy) = 0;
  // A sprite cell drawn transparently: the mask cell (h pixels below the picture cell) is
  // combined with AND, then the picture cell with OR.
  virtual bool drawSprite(int dx, int dy, int w, int h, BitmapId bitmap, int sx, int sy) = 0;
  // A filled pie slice of the ellipse in the box, from startDegrees sweeping counter-clockwise,
  // outlined with a pen of penWidth pixels.
  virtual void pie(int left, int top, int right, int bottom, double startDegrees,
                   double sweepDegrees, Rgb fill, Rgb outline, int penWidth = 1) = 0;
  // The slice's outline alone: what stays of a slice too thin to fill.
  virtual void pieOutline(int left, int top, int right, int bottom, double startDegrees,
                          double sweepDegrees, Rgb outline, int penWidth = 1) = 0;
  // A filled ellipse in the box with its outline.
  virtual void ellipse(int left, int top, int right, int bottom, Rgb fill, Rgb outline,
                       int penWidth = 1) = 0;
};

class Graphics {
 public:
  virtual ~Graphics() = default;
  virtual std::unique_ptr<Surface> createSurface(int width, int height) = 0;
  // A bitmap that is not needed again soon (a skin's paper once the background is drawn)
  // may give its memory back; the next use loads it again.
  virtual void releaseBitmap(BitmapId) {}
};

// Selects a font for a few drawing calls and puts the previous one back: a page is drawn
// with the row font selected, and the rows measure their texts with it.
class FontScope {
 public:
  FontScope(Surface& s, const FontSpec& f) : s_(s), previous_(s.font()) { s_.setFont(f); }
  ~FontScope() { s_.setFont(previous_); }
  FontScope(const FontScope&) = delete;
  FontScope& operator=(const FontScope&) = delete;

 private:
  Surface& s_;
  FontSpec previous_;
};

}  // namespace tirelmo
