// The seven pages, drawn into the view: nothing keeps a picture of a page. A page draws in
// its own coordinates (x from 0 at the left, y from 0 at its top, before scrolling) into
// whatever surface shows part of it, and a change asks the window to repaint the rectangle
// of the page that changed. The window keeps one back buffer the size of its client area.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "app/app.h"
#include "platform/canvas.h"
#include "text/ustring.h"
#include "ui/fonts.h"
#include "ui/sheet_geometry.h"

namespace tirelmo {

struct App;

inline constexpr int kPageCount = 7;
// Pages are drawn this wide at most; a wider window shows white beside them.
inline constexpr int kPageWidth = 1350;

// The page indices (kPageTodoToday ... kPageUsage) live in app/app.h.

struct PageSet {
  explicit PageSet(Graphics& g) : graphics(g) {}

  Graphics& graphics;
  int scrollOffset[kPageCount]{};
  int maxScrollOffset[kPageCount]{};
  int currentPage = 0;
  int windowWidth = 1000;   // client width
  int windowHeight = 700;   // client height
  SheetGeometry sheet;      // page 0
  UiFonts fonts;
  // Marks drawn over the rows: the blinking marker beside the row whose pomodoro runs
  // (page 0) and the current-row mark of Next Things (page 1); -1 when none.
  int blinkRow = -1;
  bool blinkOn = false;
  int listMarkerRow = -1;
  // Until the window has made its row editors, page 0 draws the texts they will show, so
  // the first frame needs none of them.
  bool drawRowTexts = false;
  // A one-pixel surface for measuring text outside a paint.
  std::unique_ptr<Surface> measure;
  // Asks the window to repaint a client rectangle; may be empty (tests, before the window).
  std::function<void(int x, int y, int w, int h)> invalidate;
};

// The scroll height of a page: page 0 follows the skin, pages 2, 4, 5 and 6 their data.
int pageContentHeight(const App& app, const PageSet& pages, int page);

// The largest scroll offset of a page: its scroll height minus the window height, not below 0.
void updateMaxScrollOffsets(PageSet& pages, const App& app);

// Page header heights: 126 (231 in layout kind 2), 130, 470, 83, 470, 83, 83.
int headerHeight(const PageSet& pages, int page);

// A part of the client area and the page rectangle it shows: the header from the page's
// top, the body below it at the scroll offset (the body scrolls under the header).
struct ViewBand {
  int clientY = 0;
  int height = 0;
  int pageY = 0;
  friend bool operator==(const ViewBand&, const ViewBand&) = default;
};
std::vector<ViewBand> viewBands(const PageSet& pages, int page, int clientHeight);

// Asks the window to repaint the part of a page rectangle (page coordinates) that is on the
// screen; nothing when the page is not on display.
void invalidatePageRect(PageSet& pages, int page, int x, int y, int w, int h);
// The whole page on display is repainted when it is this page.
void repaintPage(PageSet& pages, int page);

}  // namespace tirelmo
