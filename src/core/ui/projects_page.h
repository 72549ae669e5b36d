// The Projects page (page 5): the time per active project as a pie chart, the report of one
// project's time per day, and the list of closed projects. Draws the band y..y+h of the
// page, in page coordinates, into a surface whose clip and origin the caller has set.
#pragma once

#include "platform/canvas.h"

namespace tirelmo {

struct App;
struct PageSet;

// Draws only what reaches the band; with no report yet the caller has run
// ensureDefaultProjectReport before (drawing never changes the model).
void drawProjectsView(const App& app, const PageSet& pages, Surface& s, int y, int h);

// At least 40 x (active + closed) + 500 and 2000, and always below the last closed project.
int projectsPageHeight(const App& app);

}  // namespace tirelmo
