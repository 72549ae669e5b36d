// The statistics pages: Previous Day (page 2), Performance (page 3) and History (page 4).
// Each draws the band y..y+h of its page, in page coordinates, into the surface (whose clip
// and origin the caller has set), and knows how tall its content is.
#pragma once

#include "platform/canvas.h"

namespace tirelmo {

struct App;
struct PageSet;

void drawPreviousDayView(const App& app, const PageSet& pages, Surface& s, int y, int h);
void drawPerformanceView(const App& app, const PageSet& pages, Surface& s, int y, int h);
void drawHistoryView(const App& app, const PageSet& pages, Surface& s, int y, int h);

// Content heights: at least what is drawn plus a margin, so the last line can be scrolled to.
int previousDayPageHeight(const App& app);
int historyPageHeight(const App& app);

}  // namespace tirelmo
