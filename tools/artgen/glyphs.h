// Text for bitmaps: a 5x7 dot-matrix font for small labels and seven-segment
// digits for large numerals (timer digit strips, countdown icons).
#pragma once

#include <string_view>

#include "canvas.h"

namespace artgen {

// True when the 5x7 font has a glyph for c (digits, A-Z, space and : . - / %).
bool hasGlyph5x7(char c);

// Draws text with its top-left at (x,y); each font dot is a dot x dot square
// (fractional sizes anti-alias). Lower case is drawn as upper case; characters
// without a glyph leave a blank cell. Returns the width used.
double drawText5x7(Canvas& canvas, std::string_view text, double x, double y, double dot, const Paint& paint);
double textWidth5x7(std::string_view text, double dot);

// A seven-segment digit (0-9) filling the box (x,y,w,h) with strokes of the
// given thickness; slant shifts the top right by slant * h for an italic look.
void drawSegmentDigit(Canvas& canvas, int digit, double x, double y, double w, double h, double thickness,
                      const Paint& paint, double slant = 0);

}  // namespace artgen
