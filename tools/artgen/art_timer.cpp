// The timer's pictures: the digit strip of the timer window, the countdown
// icons of the main window and the abandoned gauge of the ToDo page.
#include <array>
#include <string>

#include "art_common.h"
#include "artwork.h"
#include "glyphs.h"

namespace artgen {

namespace {

struct DigitStyle {
  std::uint32_t top, bottom, ink;
};

// In the order of the `Timer Type` setting: Classic, Grey, Light Grey, Yellow, Blue.
constexpr std::array<DigitStyle, kDigitStyles> kStyles = {{
    {0xEA4A2F, 0xB0200F, 0xFFFFFF},
    {0x5C5F66, 0x393B40, 0xF4F4F4},
    {0xE6E8EC, 0xC6C9D0, 0x363B46},
    {0xFFE55E, 0xF3BE26, 0x4E3305},
    {0x5092E2, 0x1D58AE, 0xFFFFFF},
}};

// The digit box inside its 28 x 56 image: the lower part stays free for the
// word the break writes there.
constexpr double kDigitX = 4.5, kDigitY = 7, kDigitW = 19, kDigitH = 40, kStroke = 5.4, kSlant = 0.05;

Canvas digitImage(const DigitStyle& style, int digit) {
  Canvas c(kDigitWidth, kDigitHeight);
  c.fill(rect(0, 0, kDigitWidth, kDigitHeight),
         linearGradient(Point{0, 0}, rgb(style.top), Point{0, double(kDigitHeight)}, rgb(style.bottom)));
  // Unlit segments show faintly, as on a real display, so the blank tens
  // image still looks like part of the clock.
  drawSegmentDigit(c, 8, kDigitX, kDigitY, kDigitW, kDigitH, kStroke, solid(rgb(style.ink, 26)), kSlant);
  if (digit >= 0) {
    drawSegmentDigit(c, digit, kDigitX + 0.8, kDigitY + 1, kDigitW, kDigitH, kStroke, solid(rgb(0x000000, 60)),
                     kSlant);
    drawSegmentDigit(c, digit, kDigitX, kDigitY, kDigitW, kDigitH, kStroke, solid(rgb(style.ink)), kSlant);
  }
  return c;
}

}  // namespace

Canvas drawDigitStrip() {
  std::vector<Canvas> cells;
  for (const DigitStyle& style : kStyles) {
    for (int d = 0; d <= 9; ++d) cells.push_back(digitImage(style, d));
    cells.push_back(digitImage(style, -1));
  }
  return composeGrid(cells, kDigitColumns);
}

Canvas drawGaugeStrip() {
  // The page shows 100 pixels starting at x = 100 - percentage: the red left
  // half slides in from the left as the share of abandoned pomodoros grows,
  // over the green right half.
  Canvas c(kGaugeWidth, kGaugeHeight);
  const std::array<std::uint32_t, kGaugeHeight> red = {0xF98E7E, 0xF0604C, 0xE23B2A,
                                                       0xD42F21, 0xC0261B, 0x9E1E15};
  const std::array<std::uint32_t, kGaugeHeight> green = {0xC8F0B8, 0xA9E493, 0x8ED676,
                                                         0x7CC964, 0x6AB754, 0x509A3E};
  for (int y = 0; y < kGaugeHeight; ++y)
    for (int x = 0; x < kGaugeWidth; ++x) c.at(x, y) = rgb(x < kGaugeWidth / 2 ? red[y] : green[y]);
  return c;
}

Canvas drawCountdownIcon(int minutes, int size) {
  Canvas c(size, size);
  paintTomato(c, Frame{0, 0, double(size)}, TomatoLook{.gloss = false});
  const std::string text = std::to_string(minutes);
  // Whole dots on whole pixels: at 16 pixels any blur makes "18" and "19" alike.
  const int dot = size >= 32 ? size / 16 : 1;
  const int w = static_cast<int>(textWidth5x7(text, dot));
  const int x = (size - w) / 2;
  const int y = size * 7 / 16;
  const Rgba edge = rgb(0x4A0803);
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (dx || dy) drawText5x7(c, text, x + dx, y + dy, dot, solid(edge));
  drawText5x7(c, text, x, y, dot, solid(rgb(0xFFFFFF)));
  return c;
}

}  // namespace artgen
