#include "ui/page_view.h"

#include <algorithm>

#include "base/log.h"
#include "ui/bitmap_ids.h"
#include "ui/sheet_page.h"

namespace tirelmo {

namespace {

constexpr Rgb kWhite = rgb(255, 255, 255);

// Next Things: 50 rows of 52 pixels from y 145, and the current-row mark at their left.
constexpr int kListRowsTop = 145;
constexpr int kListRowHeight = 52;

int listMarkerTop(int row) { return kListRowsTop + 8 + row * kListRowHeight; }

void drawNextThingsView(const PageSet& pages, Surface& s) {
  for (int y = kListRowsTop; y < 2746; y += kListRowHeight)
    s.line(0, y, pages.windowWidth, y, rgb(157, 186, 194));
  for (int x : {30, 36}) s.line(x, 135, x, 2797, rgb(224, 188, 190), 2);
  if (pages.listMarkerRow >= 0)
    s.drawSprite(0, listMarkerTop(pages.listMarkerRow), kCellSize, kCellSize, kBmpScoreSprite,
                 kCellCurrentRow, 0);
}

}  // namespace

void drawPageView(const App& app, PageSet& pages, Surface& surface, int page, int x, int y, int w,
                  int h) {
  w = std::min(w, kPageWidth - x);
  if (w <= 0 || h <= 0) return;
  surface.setClip(x, y, w, h);
  surface.fillRect(x, y, w, h, kWhite);
  surface.setFont(pages.fonts.row);
  switch (page) {
    case kPageTodoToday: drawSheetView(app, pages, surface, y, h); break;
    case kPageNextThings: drawNextThingsView(pages, surface); break;
    default: break;  // the pages still to come show their paper and toolbar
  }
}

bool preparePages(PageSet& pages, const App& app) {
  if (!pages.measure) pages.measure = pages.graphics.createSurface(1, 1);
  if (!pages.measure) logLine(u"preparePages() no surface to measure text with");
  updateSheetLook(pages, app);
  return pages.measure != nullptr;
}

void updateSheetLook(PageSet& pages, const App& app) {
  pages.sheet = applySkinGeometry(app.settings.skin, app.settings.displayProjectNames,
                                  pages.windowWidth);
  pages.fonts = makeUiFonts(app.settings, pages.sheet.layoutKind, app.language());
  if (pages.measure) {
    pages.measure->setFont(pages.fonts.row);
    measureTextOffset(pages.sheet, *pages.measure);
  }
  // The skin papers stay loaded while they are drawn; a new look loads only its own again.
  releaseUnusedSkinPictures(app, pages);
  updateMaxScrollOffsets(pages, app);
}

void moveListRowMarker(PageSet& pages, int row) {
  for (int r : {pages.listMarkerRow, row})
    if (r >= 0) invalidatePageRect(pages, kPageNextThings, 0, listMarkerTop(r), kCellSize, kCellSize);
  pages.listMarkerRow = row;
}

}  // namespace tirelmo
