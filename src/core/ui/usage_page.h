// The Apps + Websites page (page 6): today's usage as a list of bars, longest first. Draws
// the band y..y+h of the page, in page coordinates, into a surface whose clip and origin the
// caller has set.
#pragma once

#include "platform/canvas.h"

namespace tirelmo {

struct App;
struct PageSet;

void drawUsageView(const App& app, const PageSet& pages, Surface& s, int y, int h);

// At least 2400, and always below the last entry listed.
int usagePageHeight(const App& app);

}  // namespace tirelmo
