#include "ui/pages.h"

#include <algorithm>

#include "app/app.h"
#include "base/log.h"

namespace tirelmo {

namespace {

constexpr Rgb kBlack = rgb(0, 0, 0);

int countOf(std::size_t n) { return static_cast<int>(std::min<std::size_t>(n, 1'000'000)); }

}  // namespace

int pageContentHeight(const App& app, const PageSet& pages, int page) {
  switch (page) {
    case kPageTodoToday: return pages.sheet.contentHeight;
    case kPageNextThings: return 2855;
    case kPagePreviousDay: {
      const auto& y = app.yesterday;
      const int listed = y.fromArchiveFile ? countOf(y.tasks.size())
                                           : countOf(y.completedLines.size() + y.workedLines.size());
      return std::max(40 * listed + 335, 2000);
    }
    case kPagePerformance: return 2000;
    case kPageHistory:
      return std::max(30 * countOf(app.doneArchive.currentMonth.size()) + 2320, 2000);
    case kPageProjects:
      return std::max(40 * countOf(app.projects.active.size() + app.projects.closed.size()) + 500,
                      2000);
    case kPageUsage: return 2400;
    default: return kMinPageSurfaceHeight;
  }
}

int pageSurfaceHeight(const App& app, const PageSet& pages, int page) {
  if (page == kPageTodoToday) return std::max(kSheetPageSurfaceHeight, pages.sheet.contentHeight);
  return std::max(pageContentHeight(app, pages, page), kMinPageSurfaceHeight);
}

void createPageSurfaces(PageSet& pages, const App& app) {
  // Page 0's geometry first: its content height decides nothing about the surface (always
  // 3310) but the scroll limits below need it.
  pages.sheet = applySkinGeometry(app.settings.skin, app.settings.displayProjectNames,
                                  pages.windowWidth);
  for (int p : {kPageTodoToday}) {
    const int h = pageSurfaceHeight(app, pages, p);
    pages.background[p] = pages.graphics.createSurface(kPageSurfaceWidth, h);
    pages.composed[p] = pages.graphics.createSurface(kPageSurfaceWidth, h);
    if (!pages.background[p] || !pages.composed[p])
      logLine(u"createPageSurfaces() page %d: no surface %dx%d", p, kPageSurfaceWidth, h);
  }
  updateSheetLook(pages, app);
}

bool ensurePageSurfaces(PageSet& pages, const App& app, int page) {
  if (page < 0 || page >= kPageCount) return false;
  if (pages.background[page] && pages.composed[page]) return true;
  // New surfaces get the row font, like every page surface.
  return ensurePageSurfaceHeight(pages, page, pageSurfaceHeight(app, pages, page));
}

bool ensurePageSurfaceHeight(PageSet& pages, int page, int height) {
  if (page < 0 || page >= kPageCount) return false;
  for (auto* slot : {&pages.background[page], &pages.composed[page]}) {
    auto& old = *slot;
    if (old && old->height() >= height) continue;
    auto grown = pages.graphics.createSurface(kPageSurfaceWidth, height);
    if (!grown) {
      logLine(u"ensurePageSurfaceHeight() page %d: no surface %dx%d", page, kPageSurfaceWidth,
              height);
      return false;
    }
    if (old) {
      grown->copyFrom(0, 0, old->width(), old->height(), *old, 0, 0);
      grown->setFont(old->font());
    } else {
      grown->setFont(pages.fonts.row);
    }
    old = std::move(grown);
  }
  return true;
}

void updateSheetLook(PageSet& pages, const App& app) {
  pages.sheet = applySkinGeometry(app.settings.skin, app.settings.displayProjectNames,
                                  pages.windowWidth);
  pages.fonts = makeUiFonts(app.settings, pages.sheet.layoutKind, app.language());
  for (int p = 0; p < kPageCount; ++p) {
    if (pages.background[p]) pages.background[p]->setFont(pages.fonts.row);
    if (pages.composed[p]) pages.composed[p]->setFont(pages.fonts.row);
  }
  if (pages.composed[kPageTodoToday]) measureTextOffset(pages.sheet, *pages.composed[kPageTodoToday]);
  updateMaxScrollOffsets(pages, app);
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

std::vector<BlitRect> paintRects(const PageSet& pages, int clientWidth) {
  std::vector<BlitRect> rects;
  const int page = pages.currentPage;
  if (page < 0 || page >= kPageCount || !pages.composed[page]) return rects;
  const Surface& s = *pages.composed[page];
  const int w = std::min(clientWidth, s.width());
  if (w <= 0) return rects;
  const int header = std::min(headerHeight(pages, page), s.height());
  if (header > 0) rects.push_back({0, 0, w, header, 0, 0});
  // A stale offset (the page shrank) must never read below the surface.
  const int top = header + std::max(0, pages.scrollOffset[page]);
  const int h = std::min(kPaintBodyHeight, s.height() - top);
  if (h > 0) rects.push_back({0, header, w, h, 0, top});
  return rects;
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
  const int bodyBottom = std::min(y + h - scroll, header + kPaintBodyHeight);
  const int visibleTop = std::max(bodyTop, header);
  if (y + h > header && bodyBottom > visibleTop)
    pages.invalidate(x, visibleTop, w, bodyBottom - visibleTop);
}

int pageText(PageSet& pages, u16v text, int x, int y, int page) {
  return pageText(pages, text, x, y, page, kBlack);
}

int pageText(PageSet& pages, u16v text, int x, int y, int page, Rgb color) {
  if (text.empty() || page < 0 || page >= kPageCount) return 0;
  Surface* composed = pages.composed[page].get();
  Surface* background = pages.background[page].get();
  if (!composed || !background) return 0;
  const int w = composed->textWidth(text);
  const int h = composed->textHeight(text);
  composed->copyFrom(x, y, w, h, *background, x, y);
  composed->drawText(x, y, text, color);
  invalidatePageRect(pages, page, x, y, w, h);
  return w;
}

int pageTextNoErase(PageSet& pages, Surface& surface, u16v text, int x, int y) {
  return pageTextNoErase(pages, surface, text, x, y, kBlack);
}

int pageTextNoErase(PageSet& pages, Surface& surface, u16v text, int x, int y, Rgb color) {
  if (text.empty()) return 0;
  const int w = surface.textWidth(text);
  const int h = surface.textHeight(text);
  surface.drawText(x, y, text, color);
  invalidatePageRect(pages, pages.currentPage, x, y, w, h);
  return w;
}

}  // namespace tirelmo
