// Drawing a page into the view: the page in view (page 0's sheet, page 1's list, the paper of
// the pages still to come) drawn for one rectangle of it, and the look every page shares.
#pragma once

#include "app/app.h"
#include "platform/canvas.h"
#include "ui/pages.h"

namespace tirelmo {

// Makes the measuring surface and sets up page 0's geometry and the fonts
// (updateSheetLook). False when the platform gave no surface; drawing still works, only
// the text offset of the rows stays unmeasured.
bool preparePages(PageSet& pages, const App& app);

// After a skin, font, language or window width change: page 0's geometry and the fonts, and
// the text offset measured. Does not draw.
void updateSheetLook(PageSet& pages, const App& app);

// Draws the part (x, y, w, h) of a page, in page coordinates, into a surface whose origin
// already maps the page onto it: clipped to the rectangle, white first, then the page.
// The toolbar is the window's and is drawn over it by the caller.
void drawPageView(const App& app, PageSet& pages, Surface& surface, int page, int x, int y,
                  int w, int h);

// One Todolist row's strip on Next Things is repainted (its information changed).
void repaintListRow(PageSet& pages, int row);

// The current-row mark of Next Things moves to a row (-1: none); both places are repainted.
void moveListRowMarker(PageSet& pages, int row);

}  // namespace tirelmo
