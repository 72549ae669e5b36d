#include "recording_canvas.h"

#include <algorithm>

namespace tirelmo::test {

int recordedTextWidth(u16v text, int fontHeight) {
  return static_cast<int>(text.size()) * (fontHeight / 2);
}

void RecordingSurface::fillRect(int x, int y, int w, int h, Rgb color) {
  DrawOp op;
  op.kind = OpKind::Fill, op.x = x, op.y = y, op.w = w, op.h = h, op.color = color;
  op.font = font_;
  ops.push_back(op);
}

void RecordingSurface::line(int x0, int y0, int x1, int y1, Rgb color, int penWidth) {
  DrawOp op;
  op.kind = OpKind::Line, op.x = x0, op.y = y0, op.x2 = x1, op.y2 = y1, op.color = color;
  op.penWidth = penWidth, op.font = font_;
  ops.push_back(op);
}

void RecordingSurface::dottedLine(int x0, int y0, int x1, int y1, Rgb color) {
  line(x0, y0, x1, y1, color, 1);
  ops.back().dotted = true;
}

int RecordingSurface::textWidth(u16v text) { return recordedTextWidth(text, font_.height); }

int RecordingSurface::textHeight(u16v) { return font_.height; }

void RecordingSurface::drawText(int x, int y, u16v text, Rgb color) {
  DrawOp op;
  op.kind = OpKind::Text, op.x = x, op.y = y, op.w = textWidth(text), op.h = font_.height;
  op.color = color, op.font = font_, op.text = u16(text);
  ops.push_back(op);
}

void RecordingSurface::drawTextClipped(int x, int y, u16v text, Rgb color, int clipX, int clipY,
                                       int clipW, int clipH) {
  drawText(x, y, text, color);
  DrawOp& op = ops.back();
  op.clipped = true, op.cx = clipX, op.cy = clipY, op.cw = clipW, op.ch = clipH;
}

bool RecordingSurface::drawBitmap(int dx, int dy, int w, int h, BitmapId bitmap, int sx, int sy) {
  DrawOp op;
  op.kind = OpKind::Bitmap, op.x = dx, op.y = dy, op.w = w, op.h = h, op.bitmap = bitmap;
  op.sx = sx, op.sy = sy, op.font = font_;
  ops.push_back(op);
  return graphics_.missingBitmaps.count(bitmap) == 0;
}

bool RecordingSurface::drawSprite(int dx, int dy, int w, int h, BitmapId bitmap, int sx, int sy) {
  DrawOp op;
  op.kind = OpKind::Sprite, op.x = dx, op.y = dy, op.w = w, op.h = h, op.bitmap = bitmap;
  op.sx = sx, op.sy = sy, op.font = font_;
  ops.push_back(op);
  return graphics_.missingBitmaps.count(bitmap) == 0;
}

void RecordingSurface::pie(int left, int top, int right, int bottom, double startDegrees,
                           double sweepDegrees, Rgb fill, Rgb outline, int penWidth) {
  DrawOp op;
  op.kind = OpKind::Pie, op.x = left, op.y = top, op.w = right - left, op.h = bottom - top;
  op.startDegrees = startDegrees, op.sweepDegrees = sweepDegrees, op.color = fill;
  op.outline = outline, op.penWidth = penWidth, op.font = font_;
  ops.push_back(op);
}

void RecordingSurface::pieOutline(int left, int top, int right, int bottom, double startDegrees,
                                  double sweepDegrees, Rgb outline, int penWidth) {
  pie(left, top, right, bottom, startDegrees, sweepDegrees, Rgb{}, outline, penWidth);
  ops.back().filled = false;
}

void RecordingSurface::ellipse(int left, int top, int right, int bottom, Rgb fill, Rgb outline,
                               int penWidth) {
  DrawOp op;
  op.kind = OpKind::Ellipse, op.x = left, op.y = top, op.w = right - left, op.h = bottom - top;
  op.color = fill, op.outline = outline, op.penWidth = penWidth, op.font = font_;
  ops.push_back(op);
}

std::vector<DrawOp> RecordingSurface::ofKind(OpKind kind) const {
  std::vector<DrawOp> out;
  for (const auto& op : ops)
    if (op.kind == kind) out.push_back(op);
  return out;
}

std::vector<DrawOp> RecordingSurface::spritesIn(int x, int y, int w, int h, int cellX) const {
  std::vector<DrawOp> out;
  for (const auto& op : ops)
    if (op.kind == OpKind::Sprite && op.x >= x && op.x < x + w && op.y >= y && op.y < y + h &&
        (cellX < 0 || op.sx == cellX))
      out.push_back(op);
  return out;
}

const DrawOp* RecordingSurface::findText(u16v text) const {
  for (const auto& op : ops)
    if (op.kind == OpKind::Text && op.text == text) return &op;
  return nullptr;
}

std::vector<DrawOp> RecordingSurface::textsContaining(u16v part) const {
  std::vector<DrawOp> out;
  for (const auto& op : ops)
    if (op.kind == OpKind::Text && op.text.find(part) != u16::npos) out.push_back(op);
  return out;
}

std::vector<DrawOp> RecordingSurface::horizontalLinesAt(int y) const {
  std::vector<DrawOp> out;
  for (const auto& op : ops)
    if (op.kind == OpKind::Line && op.y == y && op.y2 == y && op.x != op.x2) out.push_back(op);
  return out;
}

std::vector<DrawOp> RecordingSurface::verticalLinesAt(int x) const {
  std::vector<DrawOp> out;
  for (const auto& op : ops)
    if (op.kind == OpKind::Line && op.x == x && op.x2 == x && op.y != op.y2) out.push_back(op);
  return out;
}

std::vector<DrawOp> RecordingSurface::bitmaps(BitmapId id) const {
  std::vector<DrawOp> out;
  for (const auto& op : ops)
    if (op.kind == OpKind::Bitmap && op.bitmap == id) out.push_back(op);
  return out;
}

RecordingSurface::Box RecordingSurface::verticalExtent() const {
  Box box;
  for (const auto& op : ops) {
    int top = op.y, bottom = op.y + op.h;
    if (op.kind == OpKind::Line) {
      top = std::min(op.y, op.y2) - op.penWidth / 2;
      bottom = std::max(op.y, op.y2) + op.penWidth;
    }
    if (box.empty) {
      box = {top, bottom, false};
    } else {
      box.top = std::min(box.top, top);
      box.bottom = std::max(box.bottom, bottom);
    }
  }
  return box;
}

std::unique_ptr<Surface> RecordingGraphics::createSurface(int width, int height) {
  if (refuseSurfaces) return nullptr;
  ++surfacesCreated;
  return std::make_unique<RecordingSurface>(*this, width, height);
}

}  // namespace tirelmo::test
