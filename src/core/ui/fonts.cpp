#include "ui/fonts.h"

#include <algorithm>

#include "storage/settings.h"
#include "ui/sheet_geometry.h"

namespace tirelmo {

namespace {

// A damaged settings file must not give a font that cannot be made or that overflows rows.
constexpr int kMinRowFontHeight = 8;
constexpr int kMaxRowFontHeight = 72;

FontSpec fontOf(u16v face, int height, bool bold = false, bool strikeOut = false) {
  return FontSpec{u16(face), height, bold, strikeOut};
}

}  // namespace

int largeRowsInfoFontHeight(u16v face) {
  struct Entry {
    const char16_t* face;
    int height;
  };
  static constexpr Entry kHeights[] = {
      {u"Verdana", 16},          {u"Buxton Sketch", 21},  {u"Microsoft YaHei", 20},
      {u"PMingLiU", 18},         {u"Arial", 16},          {u"Segoe Print", 24},
      {u"Trebuchet MS", 19},     {u"Times New Roman", 20}, {u"Bradley Hand ITC", 20},
  };
  for (const auto& e : kHeights)
    if (face == e.face) return e.height;
  return 16;
}

UiFonts makeUiFonts(const Settings& settings, int layoutKind, Language language) {
  const u16 face = settings.font.empty() ? u16(kDefaultFontName) : settings.font;
  const int height = std::clamp<int>(settings.fontsize, kMinRowFontHeight, kMaxRowFontHeight);
  const bool chinese = language == Language::ChineseSimplified;

  UiFonts f;
  // This hand-writing face is too thin to read at normal weight.
  f.row = fontOf(face, height, face == u"Bradley Hand ITC");
  f.doneRow = fontOf(face, height, false, true);
  f.small17 = fontOf(face, 17);
  f.small12 = fontOf(face, 12);
  switch (layoutKind) {
    case kLayoutCompact: f.info = fontOf(u"Arial", 14); break;
    case kLayoutLinedPaper: f.info = fontOf(u"Microsoft YaHei", 18); break;
    default: f.info = fontOf(face, largeRowsInfoFontHeight(face)); break;
  }
  f.rowNote = fontOf(u"Verdana", chinese ? 14 : 12);
  f.label9 = fontOf(u"Verdana", 9);
  f.label13 = fontOf(u"Verdana", 13);
  f.scoreCount = fontOf(u"Microsoft YaHei", 16);
  f.headerForm = chinese ? fontOf(u"Microsoft YaHei", 20) : fontOf(u"Courier New", 17, true);
  f.segoePrintTotals = fontOf(u"Segoe Print", 24, true);
  f.gauge = fontOf(u"Segoe Print", 22, true);
  return f;
}

}  // namespace tirelmo
