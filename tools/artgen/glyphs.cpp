#include "glyphs.h"

#include <array>
#include <cctype>

namespace artgen {

namespace {

struct Glyph {
  char ch;
  std::array<const char*, 7> rows;
};

// '#' marks a dot.
constexpr Glyph kFont[] = {
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
    {'D', {"###  ", "#  # ", "#   #", "#   #", "#   #", "#  # ", "###  "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'J', {"  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "}},
    {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "#   #", "##  #", "# # #", "#  ##", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
    {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "# # #", " # # "}},
    {'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
    {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'Z', {"#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"}},
    {' ', {"     ", "     ", "     ", "     ", "     ", "     ", "     "}},
    {':', {"     ", "  #  ", "  #  ", "     ", "  #  ", "  #  ", "     "}},
    {'.', {"     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "}},
    {'-', {"     ", "     ", "     ", "#####", "     ", "     ", "     "}},
    {'/', {"     ", "    #", "   # ", "  #  ", " #   ", "#    ", "     "}},
    {'%', {"##   ", "##  #", "   # ", "  #  ", " #   ", "#  ##", "   ##"}},
};

const Glyph* findGlyph(char c) {
  const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const Glyph& g : kFont)
    if (g.ch == up) return &g;
  return nullptr;
}

// Cells are 5 dots wide plus one dot of spacing.
constexpr double kAdvanceDots = 6;

}  // namespace

bool hasGlyph5x7(char c) { return findGlyph(c) != nullptr; }

double textWidth5x7(std::string_view text, double dot) {
  if (text.empty()) return 0;
  return (kAdvanceDots * static_cast<double>(text.size()) - 1) * dot;
}

double drawText5x7(Canvas& canvas, std::string_view text, double x, double y, double dot, const Paint& paint) {
  double penX = x;
  for (char c : text) {
    if (const Glyph* g = findGlyph(c)) {
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
          if (g->rows[static_cast<std::size_t>(row)][col] == '#')
            canvas.fill(rect(penX + col * dot, y + row * dot, dot, dot), paint);
    }
    penX += kAdvanceDots * dot;
  }
  return textWidth5x7(text, dot);
}

void drawSegmentDigit(Canvas& canvas, int digit, double x, double y, double w, double h, double t,
                      const Paint& paint, double slant) {
  // Segments a..g as bits 0..6: top, top-right, bottom-right, bottom,
  // bottom-left, top-left, middle.
  static constexpr std::array<unsigned, 10> kSegments = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                         0x6D, 0x7D, 0x07, 0x7F, 0x6F};
  if (digit < 0 || digit > 9) return;
  const unsigned on = kSegments[static_cast<std::size_t>(digit)];
  const double half = t / 2, gap = t * 0.12;
  const double left = x + half, right = x + w - half;
  const double top = y + half, mid = y + h / 2, bottom = y + h - half;
  // Shear so that the top leans right by slant * h.
  auto sk = [&](double px, double py) { return Point{px + slant * (y + h - py), py}; };
  auto horizontal = [&](double cy) {
    return polygon({sk(left + gap, cy), sk(left + half + gap, cy - half), sk(right - half - gap, cy - half),
                    sk(right - gap, cy), sk(right - half - gap, cy + half), sk(left + half + gap, cy + half)});
  };
  auto vertical = [&](double cx, double y0, double y1) {
    return polygon({sk(cx, y0 + gap), sk(cx + half, y0 + half + gap), sk(cx + half, y1 - half - gap),
                    sk(cx, y1 - gap), sk(cx - half, y1 - half - gap), sk(cx - half, y0 + half + gap)});
  };
  if (on & 0x01) canvas.fill(horizontal(top), paint);
  if (on & 0x02) canvas.fill(vertical(right, top, mid), paint);
  if (on & 0x04) canvas.fill(vertical(right, mid, bottom), paint);
  if (on & 0x08) canvas.fill(horizontal(bottom), paint);
  if (on & 0x10) canvas.fill(vertical(left, mid, bottom), paint);
  if (on & 0x20) canvas.fill(vertical(left, top, mid), paint);
  if (on & 0x40) canvas.fill(horizontal(mid), paint);
}

}  // namespace artgen
