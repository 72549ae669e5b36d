// Pieces the Previous Day and History pages share: values from files brought into range,
// the category and project tallies, and the two pie charts drawn from them.
#pragma once

#include <algorithm>
#include <cstdint>

#include "ui/charts.h"
#include "platform/canvas.h"
#include "text/ustring.h"

namespace tirelmo {

struct App;

namespace statpage {

inline constexpr int kPieCentreY = 280;
inline constexpr int kCategoryPieX = 155;
inline constexpr int kProjectPieX = 680;
inline constexpr int kPieRadius = 100;
// Room kept below the last thing drawn, so it can be scrolled into full view.
inline constexpr int kBottomMargin = 100;
inline constexpr int kMinPageHeight = 2000;

// A category number read from a file; anything outside the 13 known ones counts as none.
inline int categoryOrNone(std::int32_t c) { return c >= 0 && c <= 12 ? c : 0; }
inline bool isKnownCategory(std::int32_t c) { return c >= 0 && c <= 12; }
inline int nonNegative(std::int32_t v) { return std::max<std::int32_t>(v, 0); }

// The category's name as the legend shows it (at most 16 characters).
u16 categoryLabel(const App& app, int category);

// The time per category and per project, summed entry by entry.
struct Tallies {
  CMap byCategory;
  CMap byProject;
  void add(const App& app, std::int32_t category, std::int32_t projectId, int minutes);
};

PieRequest categoryPie(const App& app);
PieRequest projectPie(const App& app);
void drawTallyPies(const App& app, Surface& s, Tallies& t);
// The lowest point the two charts reach; 0 when both are empty.
int tallyPiesBottom(const App& app, const Tallies& t);

// "Sun" .. "Sat" (or the Chinese twins); "" out of range.
u16 shortDayName(const App& app, int dayOfWeek);

// Does the stretch top..bottom (bottom exclusive) reach into the band y..y+h?
inline bool reachesBand(int top, int bottom, int y, int h) { return bottom > y && top < y + h; }

}  // namespace statpage
}  // namespace tirelmo
