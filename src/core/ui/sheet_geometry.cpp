#include "ui/sheet_geometry.h"

#include <array>

#include "sheet/sheet.h"

namespace tirelmo {

namespace {

struct SkinName {
  Skin skin;
  const char16_t* name;
};

constexpr std::array<SkinName, kNamedSkinCount> kSkinNames = {{
    {Skin::CompactWhite, u"compact white"},
    {Skin::Classic, u"classic"},
    {Skin::White, u"white"},
    {Skin::Pink, u"pink"},
    {Skin::Crumpled, u"crumpled"},
    {Skin::Cyan, u"cyan"},
    {Skin::CleanWhite, u"cleanwhite"},
    {Skin::Parchment, u"parchment"},
    {Skin::LightGold, u"light gold"},
    {Skin::SmallCervino, u"SmallCervino"},
    {Skin::Cervino, u"Cervino"},
    {Skin::Vintage, u"Vintage"},
}};

}  // namespace

Skin skinFromName(u16v name) {
  for (const auto& s : kSkinNames)
    if (name == s.name) return s.skin;
  return Skin::Other;
}

const char16_t* skinName(Skin skin) {
  for (const auto& s : kSkinNames)
    if (s.skin == skin) return s.name;
  return u"";
}

SheetGeometry applySkinGeometry(u16v skin, bool displayProjectNames, int windowWidth) {
  SheetGeometry g;
  switch (skinFromName(skin)) {
    case Skin::CompactWhite:
      g.layoutKind = kLayoutCompact;
      // Project names need a line of their own above the task text.
      g.rowHeight = displayProjectNames ? 48 : 34;
      g.rowsTop = 124;
      g.markerLeft = 29;
      break;
    case Skin::Classic:
    case Skin::Parchment:
    case Skin::Crumpled:
    case Skin::Vintage:
    case Skin::SmallCervino:
      g.layoutKind = kLayoutLinedPaper;
      g.rowHeight = 63;
      g.rowsTop = 124;
      g.markerLeft = 8;
      break;
    default:
      g.layoutKind = kLayoutLargeRows;
      g.rowHeight = 105;
      g.rowsTop = 230;
      g.markerLeft = 8;
      break;
  }
  g.contentHeight = g.rowsTop + kSheetRows * g.rowHeight;
  g.windowWidth = windowWidth;
  g.scoreLeft = windowWidth - kScoreColumnFromRight;
  return g;
}

void measureTextOffset(SheetGeometry& g, Surface& withRowFontSelected) {
  g.textHeight = withRowFontSelected.textHeight(u"Wf\\p");
  g.textOffset = (g.rowHeight - g.textHeight) / 2;
  if (g.layoutKind == kLayoutCompact || g.layoutKind == kLayoutLargeRows) g.textOffset += 2;
}

}  // namespace tirelmo
