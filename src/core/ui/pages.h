// The seven pages as off-screen surfaces: each page has a background, drawn once per skin or
// size change, and a composed surface where rows and texts go over a copy of it. The window
// only copies rectangles of the composed surface of the page on display.
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
inline constexpr int kPageSurfaceWidth = 1350;
inline constexpr int kMinPageSurfaceHeight = 1100;
inline constexpr int kSheetPageSurfaceHeight = 3310;
inline constexpr int kPaintBodyHeight = 1100;  // body pixels copied per paint

// The page indices (kPageTodoToday ... kPageUsage) live in app/app.h.

struct PageSet {
  explicit PageSet(Graphics& g) : graphics(g) {}

  Graphics& graphics;
  std::unique_ptr<Surface> background[kPageCount];
  std::unique_ptr<Surface> composed[kPageCount];
  int scrollOffset[kPageCount]{};
  int maxScrollOffset[kPageCount]{};
  int currentPage = 0;
  int windowWidth = 1000;   // client width
  int windowHeight = 700;   // client height
  SheetGeometry sheet;      // page 0
  UiFonts fonts;
  // Asks the window to repaint a client rectangle; may be empty (tests, before the window).
  std::function<void(int x, int y, int w, int h)> invalidate;
};

// The scroll height of a page: page 0 follows the skin, pages 2, 4 and 5 their data.
int pageContentHeight(const App& app, const PageSet& pages, int page);
// The surface height of a page: at least 1100, page 0 always 3310.
int pageSurfaceHeight(const App& app, const PageSet& pages, int page);

// Creates the two surfaces (1350 wide) of the ToDo Today page and sets each page's largest
// scroll offset. Page 0's geometry and fonts are set up as by updateSheetLook. The other
// pages get theirs from ensurePageSurfaces when they are first drawn: the two surfaces of a
// page cost 20 to 30 MB, which a user who never opens that page should not pay.
void createPageSurfaces(PageSet& pages, const App& app);
// Creates a page's surfaces at its surface height when it has none yet. False when a
// surface could not be created.
bool ensurePageSurfaces(PageSet& pages, const App& app, int page);
// Makes a page's surfaces at least this high (pages whose content grows with their data);
// the old pixels are kept. False when a surface could not be created (the old one stays).
bool ensurePageSurfaceHeight(PageSet& pages, int page, int height);

// After a skin, font, language or window width change: page 0's geometry and the fonts, the
// row font selected into every page surface, and the text offset measured. Does not draw.
void updateSheetLook(PageSet& pages, const App& app);

// The largest scroll offset of a page: its scroll height minus the window height, not below 0.
void updateMaxScrollOffsets(PageSet& pages, const App& app);

// Page header heights: 126 (231 in layout kind 2), 130, 470, 83, 470, 83, 83.
int headerHeight(const PageSet& pages, int page);

// One copy from the current page's composed surface (sx, sy) to the client area (dx, dy).
struct BlitRect {
  int dx, dy, w, h, sx, sy;
  friend bool operator==(const BlitRect&, const BlitRect&) = default;
};
// The header from (0,0), then 1100 pixels of body taken at header + scroll offset and put at
// y = header; cut to the surface so nothing below it is ever read.
std::vector<BlitRect> paintRects(const PageSet& pages, int clientWidth);

// Asks the window to repaint the part of a page rectangle (page coordinates) that is on the
// screen; nothing when the page is not on display.
void invalidatePageRect(PageSet& pages, int page, int x, int y, int w, int h);

// Writes text on a page over its background: the text's rectangle is restored from the
// background first. Measures with the font selected in the page's composed surface and
// returns the width; an empty text draws nothing and returns 0.
int pageText(PageSet& pages, u16v text, int x, int y, int page);
// The same colour-explicit variant (pageText draws black).
int pageText(PageSet& pages, u16v text, int x, int y, int page, Rgb color);
// Draws text on any surface without restoring anything and asks for a repaint of the text's
// rectangle of the page on display; returns the width (0 for an empty text).
int pageTextNoErase(PageSet& pages, Surface& surface, u16v text, int x, int y);
int pageTextNoErase(PageSet& pages, Surface& surface, u16v text, int x, int y, Rgb color);

}  // namespace tirelmo
