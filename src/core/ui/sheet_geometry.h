// Where things sit on the ToDo Today page (page 0): the row grid for the chosen skin and the
// score column, which follows the window width.
#pragma once

#include "platform/canvas.h"
#include "text/ustring.h"

namespace tirelmo {

inline constexpr int kLayoutCompact = 0;
inline constexpr int kLayoutLinedPaper = 1;
inline constexpr int kLayoutLargeRows = 2;

// The skins the settings dialog offers; Other stands for any name outside the list.
enum class Skin {
  CompactWhite,
  Classic,
  White,
  Pink,
  Crumpled,
  Cyan,
  CleanWhite,
  Parchment,
  LightGold,
  SmallCervino,
  Cervino,
  Vintage,
  Other,
};
inline constexpr int kNamedSkinCount = 12;

// Exact (case-sensitive) name match, as the settings store them.
Skin skinFromName(u16v name);
// The settings name of a named skin; u"" for Other.
const char16_t* skinName(Skin skin);

struct SheetGeometry {
  int layoutKind = kLayoutLargeRows;
  int rowHeight = 105;       // from one row line to the next
  int rowsTop = 230;         // y of the first row line
  int contentHeight = 2855;  // rowsTop + 25 row heights
  int textLeft = 64;         // x of the row editors
  int markerLeft = 8;        // x of the row marker button
  int scoreLeft = 718;       // left edge of the score column: window width - 282
  int textOffset = 0;        // text inside a row: (rowHeight - textHeight) / 2 (+2 in kinds 0, 2)
  int textHeight = 0;        // height of "Wf\p" in the row font
  int windowWidth = 1000;    // the width the score column was computed for
};

inline constexpr int kScoreColumnFromRight = 282;

// The grid of the skin; text offset and height stay 0 until measureTextOffset.
SheetGeometry applySkinGeometry(u16v skin, bool displayProjectNames, int windowWidth);
// Measures the row font (selected in the surface) and sets textHeight and textOffset.
void measureTextOffset(SheetGeometry& g, Surface& withRowFontSelected);

// y of the top line of a row (0..24), in page coordinates (before scrolling).
inline int rowTopOf(const SheetGeometry& g, int row) { return g.rowsTop + row * g.rowHeight; }

}  // namespace tirelmo
