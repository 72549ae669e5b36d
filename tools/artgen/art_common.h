// Drawing pieces shared by the icons, the score sprite and the toolbar: every
// picture is laid out on a unit square and placed with a Frame, so the same
// tomato serves a 16-pixel icon and a 40-pixel button.
#pragma once

#include "canvas.h"

namespace artgen {

// Maps the unit square onto the square of edge s at (x, y).
struct Frame {
  double x = 0, y = 0, s = 1;
  Point p(double u, double v) const { return Point{x + u * s, y + v * s}; }
  double len(double v) const { return v * s; }
  // A square part of this frame, given in unit coordinates.
  Frame sub(double u, double v, double size) const { return Frame{x + u * s, y + v * s, size * s}; }
  // A rectangle in unit coordinates, optionally grown by `grow` pixels on every side.
  Shape box(double u, double v, double w, double h, double radius = 0, double grow = 0) const {
    return roundRect(x + u * s - grow, y + v * s - grow, w * s + 2 * grow, h * s + 2 * grow,
                     radius * s + (radius > 0 ? grow : 0));
  }
};

// A pointed leaf from base towards angle (radians, y down), widest a third of the way out.
Shape leaf(Point base, double angle, double length, double width);

struct TomatoLook {
  bool gloss = true;
  // Only the outline of the fruit and the calyx: an estimate, not a pomodoro.
  bool hollow = false;
  // 0 keeps the colours; 1 turns the fruit to a dull brown-grey (abandoned).
  double faded = 0;
  // Outline width in pixels; 0 picks one from the size.
  double outline = 0;
};

void paintTomato(Canvas& canvas, const Frame& frame, const TomatoLook& look = {});

// The body of the tomato alone, grown by `grow` unit lengths: badges and
// cut-outs are placed against it.
Shape tomatoBody(const Frame& frame, double grow = 0);

// The marks of the score column, each filling its frame.
enum class ScoreGlyph {
  Pomodoro,
  InternalInterruption,
  Done,
  ExternalInterruption,
  Abandoned,
  Estimated,
  RowMark
};
void paintScoreGlyph(Canvas& canvas, ScoreGlyph glyph, const Frame& frame);

// The 13 category colours, 0 (no category) first.
Rgba categoryColor(int category);

}  // namespace artgen
