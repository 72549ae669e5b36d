#include "ui/pages.h"

#include <algorithm>

#include "app/app.h"
#include "base/log.h"
#include "ui/projects_page.h"
#include "ui/statistics_pages.h"
#include "ui/usage_page.h"

namespace tirelmo {

int pageContentHeight(const App& app, const PageSet& pages, int page) {
  switch (page) {
    case kPageTodoToday: return pages.sheet.contentHeight;
    case kPageNextThings: return 2855;
    case kPagePreviousDay: return previousDayPageHeight(app);
    case kPagePerformance: return 2000;
    case kPageHistory: return historyPageHeight(app);
    case kPageProjects: return projectsPageHeight(app);
    case kPageUsage: return usagePageHeight(app);
    default: return 0;
  }
}

void updateMaxScrollOffsets(PageSet& pages, const App& app) {
  for (int p = 0; p < kPageCount; ++p) {
    pages.maxScrollOffset[p] = std::max(0, pageContentHeight(app, pages, p) - pages.windowHeight);
    pages.scrollOffset[p] = std::clamp(pages.scrollOffset[p], 0, pages.maxScrollOffset[p]);
  }
}

int headerHeight(const PageSet& pages, int page) {
  switch (page) {
    case kPageTodoToday: return pages.sheet.layoutKind == kLayoutLargeRows ? 231 : 126;
    case kPageNextThings: return 130;
    case kPagePreviousDay:
    case kPageHistory: return 470;
    default: return 83;
  }
}

std::vector<ViewBand> viewBands(const PageSet& pages, int page, int clientHeight) {
  std::vector<ViewBand> bands;
  if (page < 0 || page >= kPageCount || clientHeight <= 0) return bands;
  const int header = std::min(headerHeight(pages, page), clientHeight);
  if (header > 0) bands.push_back({0, header, 0});
  // A stale offset (the page shrank) is never below 0.
  if (clientHeight > header)
    bands.push_back({header, clientHeight - header, header + std::max(0, pages.scrollOffset[page])});
  return bands;
}

void invalidatePageRect(PageSet& pages, int page, int x, int y, int w, int h) {
  if (!pages.invalidate || page != pages.currentPage || w <= 0 || h <= 0) return;
  const int header = headerHeight(pages, page);
  const int scroll = pages.scrollOffset[page];
  // The header never scrolls; the body scrolls and disappears under the header.
  if (y < header) {
    const int bottom = std::min(y + h, header);
    pages.invalidate(x, y, w, bottom - y);
  }
  const int bodyTop = std::max(y, header) - scroll;
  const int bodyBottom = std::min(y + h - scroll, pages.windowHeight);
  const int visibleTop = std::max(bodyTop, header);
  if (y + h > header && bodyBottom > visibleTop)
    pages.invalidate(x, visibleTop, w, bodyBottom - visibleTop);
}

void repaintPage(PageSet& pages, int page) {
  if (pages.invalidate && page == pages.currentPage)
    pages.invalidate(0, 0, std::max(pages.windowWidth, 1), std::max(pages.windowHeight, 1));
}

}  // namespace tirelmo
