#include "ui/page_view.h"

#include <algorithm>

#include "base/log.h"
#include "app/app.h"
#include "projects/project_store.h"
#include "ui/bitmap_ids.h"
#include "ui/projects_page.h"
#include "ui/sheet_page.h"
#include "ui/statistics_pages.h"
#include "ui/usage_page.h"

namespace tirelmo {

namespace {

constexpr Rgb kWhite = rgb(255, 255, 255);

// Next Things: 50 rows of 52 pixels from y 145, and the current-row mark at their left.
constexpr int kListRowsTop = 145;
constexpr int kListRowHeight = 52;

constexpr int kListTextLeft = 60;
constexpr int kListCategoryCell = 11;
constexpr Rgb kProjectGreen = rgb(0, 166, 60);

int listMarkerTop(int row) { return kListRowsTop + 8 + row * kListRowHeight; }

// One Todolist row's information above its editor: the category square at the left margin,
// the linked project's name and the deadline label.
void drawListRowInformation(const App& app, const PageSet& pages, Surface& s, int row) {
  const TodoRow& r = app.todolist.rows[static_cast<std::size_t>(row)];
  if (r.isFree()) return;
  const int top = kListRowsTop + row * kListRowHeight;
  if (r.info.category >= 1 && r.info.category <= kLastRowCategory)
    s.drawBitmap(13, top + 20, kListCategoryCell, kListCategoryCell, kBmpCategorySmall,
                 r.info.category * kListCategoryCell, 0);
  FontScope font(s, pages.fonts.scoreCount);
  int labelX = kListTextLeft;
  if (r.info.projectId != 0) {
    u16 name;
    if (projectNameById(app, r.info.projectId, name) == 1 && !name.empty()) {
      s.drawText(kListTextLeft, top + 1, name, kProjectGreen);
      labelX = kListTextLeft + s.textWidth(name) + 30;
    }
  }
  if (r.hasFlag(rowflag::kDeadline)) {
    const DayDate& today = app.start.today;
    const DeadlineLabel label =
        makeDeadlineLabel(2000 + r.info.deadlineYear, r.info.deadlineMonth, r.info.deadlineDay,
                          today.year, today.month, today.day(), app.language());
    if (!label.text.empty()) {
      const int w = s.textWidth(label.text);
      s.fillRect(labelX, top + 1, w + 12, s.textHeight(label.text), label.fill);
      s.drawText(labelX + 6, top + 1, label.text, label.textColor);
    }
  }
}

void drawNextThingsView(const App& app, const PageSet& pages, Surface& s, int y, int h) {
  for (int ly = kListRowsTop; ly < 2746; ly += kListRowHeight)
    if (ly >= y - 1 && ly <= y + h) s.line(0, ly, pages.windowWidth, ly, rgb(157, 186, 194));
  for (int x : {30, 36}) s.line(x, 135, x, 2797, rgb(224, 188, 190), 2);
  // Only the rows that reach into the band.
  const int first = std::max(0, (y - kListRowsTop) / kListRowHeight - 1);
  const int last = std::min(app.todolist.rowCount() - 1, (y + h - kListRowsTop) / kListRowHeight + 1);
  for (int row = first; row <= last; ++row) drawListRowInformation(app, pages, s, row);
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
    case kPageNextThings: drawNextThingsView(app, pages, surface, y, h); break;
    case kPagePreviousDay: drawPreviousDayView(app, pages, surface, y, h); break;
    case kPagePerformance: drawPerformanceView(app, pages, surface, y, h); break;
    case kPageHistory: drawHistoryView(app, pages, surface, y, h); break;
    case kPageProjects: drawProjectsView(app, pages, surface, y, h); break;
    case kPageUsage: drawUsageView(app, pages, surface, y, h); break;
    default: break;
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

void repaintListRow(PageSet& pages, int row) {
  if (row >= 0 && row < kTodolistRows)
    invalidatePageRect(pages, kPageNextThings, 0, kListRowsTop + row * kListRowHeight, kPageWidth,
                       kListRowHeight + 1);
}

void moveListRowMarker(PageSet& pages, int row) {
  for (int r : {pages.listMarkerRow, row})
    if (r >= 0) invalidatePageRect(pages, kPageNextThings, 0, listMarkerTop(r), kCellSize, kCellSize);
  pages.listMarkerRow = row;
}

}  // namespace tirelmo
