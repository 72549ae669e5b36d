// A canvas that draws nothing and remembers every operation, with text metrics that a test
// can compute by hand: a text is (UTF-16 units x font height / 2) wide and font height high.
#pragma once

#include <memory>
#include <set>
#include <vector>

#include "platform/canvas.h"
#include "text/ustring.h"

namespace tirelmo::test {

enum class OpKind { Fill, Line, Text, Bitmap, Sprite, Pie, Ellipse };

struct DrawOp {
  OpKind kind = OpKind::Fill;
  // Operations are recorded in drawing coordinates, whatever the origin.
  // Fill, Text, Bitmap, Sprite: the destination rectangle (a text's is its measured
  // box). Line: from (x, y) to (x2, y2). Pie: the ellipse's box.
  int x = 0, y = 0, w = 0, h = 0;
  int x2 = 0, y2 = 0;
  Rgb color;     // fill, line, text colour; the pie's fill
  Rgb outline;   // the pie's outline
  int penWidth = 0;
  FontSpec font;  // the font selected when the operation ran
  u16 text;
  BitmapId bitmap = 0;
  int sx = 0, sy = 0;  // source cell of a bitmap or sprite
  bool clipped = false;  // a text cut at (cx, cy, cw, ch)
  int cx = 0, cy = 0, cw = 0, ch = 0;
  double startDegrees = 0, sweepDegrees = 0;
  bool dotted = false;  // a line drawn with the dotted pen
  bool filled = true;   // a pie slice with its fill (false: the outline alone)
};

class RecordingGraphics;

class RecordingSurface : public Surface {
 public:
  RecordingSurface(RecordingGraphics& graphics, int width, int height)
      : graphics_(graphics), width_(width), height_(height) {}

  int width() const override { return width_; }
  int height() const override { return height_; }
  void fillRect(int x, int y, int w, int h, Rgb color) override;
  void line(int x0, int y0, int x1, int y1, Rgb color, int penWidth = 1) override;
  void dottedLine(int x0, int y0, int x1, int y1, Rgb color) override;
  void setFont(const FontSpec& font) override { font_ = font; }
  const FontSpec& font() const override { return font_; }
  int textWidth(u16v text) override;
  int textHeight(u16v text) override;
  void drawText(int x, int y, u16v text, Rgb color) override;
  void drawTextClipped(int x, int y, u16v text, Rgb color, int clipX, int clipY, int clipW,
                       int clipH) override;
  void setOrigin(int originX, int originY) override { originX_ = originX, originY_ = originY; }
  void setClip(int x, int y, int w, int h) override { clip_ = {x, y, w, h, true}; }
  void clearClip() override { clip_ = {}; }
  bool drawBitmap(int dx, int dy, int w, int h, BitmapId bitmap, int sx, int sy) override;
  bool drawSprite(int dx, int dy, int w, int h, BitmapId bitmap, int sx, int sy) override;
  void pie(int left, int top, int right, int bottom, double startDegrees, double sweepDegrees,
           Rgb fill, Rgb outline, int penWidth = 1) override;
  void pieOutline(int left, int top, int right, int bottom, double startDegrees, double sweepDegrees,
                  Rgb outline, int penWidth = 1) override;
  void ellipse(int left, int top, int right, int bottom, Rgb fill, Rgb outline, int penWidth = 1) override;

  // ---- What was drawn ----
  std::vector<DrawOp> ops;
  void clear() { ops.clear(); }
  struct Clip {
    int x = 0, y = 0, w = 0, h = 0;
    bool set = false;
  };
  const Clip& clip() const { return clip_; }
  int originX() const { return originX_; }
  int originY() const { return originY_; }

  std::vector<DrawOp> ofKind(OpKind kind) const;
  // Sprites (optionally only of one source cell x) whose top-left corner lies in the rectangle.
  std::vector<DrawOp> spritesIn(int x, int y, int w, int h, int cellX = -1) const;
  std::vector<DrawOp> texts() const { return ofKind(OpKind::Text); }
  // The first text operation with exactly this text; null when none.
  const DrawOp* findText(u16v text) const;
  // Every text operation whose text contains the part.
  std::vector<DrawOp> textsContaining(u16v part) const;
  // Horizontal lines at y (pen of any width), and vertical lines at x.
  std::vector<DrawOp> horizontalLinesAt(int y) const;
  std::vector<DrawOp> verticalLinesAt(int x) const;
  std::vector<DrawOp> bitmaps(BitmapId id) const;
  // The smallest box around everything drawn; empty when nothing was.
  struct Box {
    int top = 0, bottom = 0;  // bottom exclusive
    bool empty = true;
  };
  Box verticalExtent() const;

 private:
  RecordingGraphics& graphics_;
  int width_, height_;
  FontSpec font_;
  int originX_ = 0, originY_ = 0;
  Clip clip_;
};

class RecordingGraphics : public Graphics {
 public:
  std::unique_ptr<Surface> createSurface(int width, int height) override;
  void releaseBitmap(BitmapId id) override { released.push_back(id); }

  std::vector<BitmapId> released;
  // drawBitmap and drawSprite answer false for these ids (a missing resource).
  std::set<BitmapId> missingBitmaps;
  // createSurface answers null (the platform refused) while set.
  bool refuseSurfaces = false;
  int surfacesCreated = 0;
};

// Text metrics of the recording canvas.
int recordedTextWidth(u16v text, int fontHeight);

}  // namespace tirelmo::test
