// Pieces the Previous Day and History pages share: values from files brought into range,
// the category and project tallies, and the two pie charts drawn from them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

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

// The width the drawn pages are laid out on: the window's, as the settings hold it (titles
// are centred on it, bars never run past it), at most the widest page.
int windowPageWidth(const App& app);

// A category number read from a file; anything outside the 13 known ones counts as none.
inline int categoryOrNone(std::int32_t c) { return c >= 0 && c <= 12 ? c : 0; }
inline bool isKnownCategory(std::int32_t c) { return c >= 0 && c <= 12; }
inline int nonNegative(std::int32_t v) { return std::max<std::int32_t>(v, 0); }

// The category's name as the legend shows it (at most 16 characters).
u16 categoryLabel(const App& app, int category);

// The time per category and per project, summed entry by entry. The sums are kept here
// and handed to the charts' tally maps only when a chart is drawn or measured: the maps log
// every addition, and a paint far below the charts should neither log nor pay for them.
struct Tallies {
  struct Sum {
    std::int32_t id = 0;
    std::uint32_t minutes = 0;
  };
  std::vector<Sum> byCategory;  // in order of first appearance, as the maps keep them
  std::vector<Sum> byProject;
  void add(std::int32_t category, std::int32_t projectId, int minutes);
  // A point no chart of these sums reaches below (a cheap bound, without the maps).
  int boundBelowPies() const;
};

PieRequest categoryPie(const App& app);
PieRequest projectPie(const App& app);
// Draws both charts when they reach into the band y..y+h.
void drawTallyPies(const App& app, Surface& s, const Tallies& t, int y, int h);
// The lowest point the two charts reach; 0 when both are empty.
int tallyPiesBottom(const App& app, const Tallies& t);

// "Sun" .. "Sat" (or the Chinese twins); "" out of range.
u16 shortDayName(const App& app, int dayOfWeek);

// Does the stretch top..bottom (bottom exclusive) reach into the band y..y+h?
inline bool reachesBand(int top, int bottom, int y, int h) { return bottom > y && top < y + h; }

}  // namespace statpage
}  // namespace tirelmo
