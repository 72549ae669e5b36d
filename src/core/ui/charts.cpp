#include "ui/charts.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/log.h"
#include "text/format.h"

namespace tirelmo {

namespace {

constexpr int kColours = 13;

constexpr Rgb kCategoryFill[kColours] = {
    rgb(230, 230, 230), rgb(219, 11, 27),   rgb(245, 220, 75), rgb(164, 222, 120), rgb(201, 226, 255),
    rgb(245, 213, 245), rgb(35, 35, 244),   rgb(252, 138, 80), rgb(0, 108, 0),     rgb(157, 0, 235),
    rgb(181, 181, 181), rgb(40, 40, 40),    rgb(255, 78, 255)};
constexpr Rgb kCategoryText[kColours] = {
    rgb(170, 170, 170), rgb(219, 11, 27),   rgb(219, 187, 42), rgb(137, 198, 85), rgb(151, 166, 195),
    rgb(195, 163, 195), rgb(35, 35, 244),   rgb(222, 108, 50), rgb(0, 108, 0),    rgb(127, 0, 205),
    rgb(151, 151, 151), rgb(12, 12, 12),    rgb(225, 48, 225)};
constexpr Rgb kProjectColour[kColours] = {
    rgb(31, 119, 180),  rgb(174, 199, 232), rgb(255, 127, 14), rgb(255, 187, 120), rgb(44, 160, 44),
    rgb(152, 223, 138), rgb(214, 39, 40),   rgb(255, 152, 150), rgb(51, 51, 153),  rgb(239, 224, 118),
    rgb(192, 171, 22),  rgb(141, 90, 22),   rgb(44, 44, 44)};
constexpr Rgb kNoProjectFill = rgb(230, 230, 230);
constexpr Rgb kNoProjectText = rgb(90, 90, 90);

constexpr Rgb kWhite = rgb(255, 255, 255);
constexpr Rgb kDiscOutline = rgb(250, 250, 250);
constexpr Rgb kLegendTime = rgb(148, 159, 177);
constexpr Rgb kTitle = rgb(120, 120, 160);

constexpr int kDiscRadius = 100;
// A slice this thin (degrees) is only outlined: a fill, a square and a percentage would
// not be readable.
constexpr double kThinSlice = 10.0;
constexpr int kLegendDx = 145;
constexpr int kLegendDy = -130;
constexpr int kLegendStep = 20;
constexpr int kLegendSquare = 11;
constexpr std::size_t kLegendLabelMax = 26;
constexpr int kTitleGap = 45;

std::uint32_t addSaturated(std::uint32_t a, std::uint32_t b) {
  return b > std::numeric_limits<std::uint32_t>::max() - a ? std::numeric_limits<std::uint32_t>::max()
                                                           : a + b;
}

struct SliceColours {
  Rgb fill;
  Rgb text;
};

SliceColours coloursOf(PieColouring mode, std::int32_t id, int position) {
  if (mode == PieColouring::ByPosition) {
    if (id == 0) return {kNoProjectFill, kNoProjectText};
    const Rgb c = kProjectColour[position % kColours];
    return {c, c};
  }
  // A category the table does not know (a damaged file) is shown as no category.
  const int index = (id >= 0 && id < kColours) ? id : 0;
  return {kCategoryFill[index], kCategoryText[index]};
}

// The sum the slices share, in 64 bits so a saturated running total cannot make the
// slices add up to more than the whole disc.
std::uint64_t sumOfValues(const CMap& map) {
  std::uint64_t sum = 0;
  for (const auto& item : map.items()) sum += item.value;
  return sum;
}

int legendItemCount(const CMap& map) {
  return static_cast<int>(
      std::count_if(map.items().begin(), map.items().end(), [](const CMap::Item& i) { return i.value > 0; }));
}

}  // namespace

CMap::CMap() {
  logLine(u"%s()", u"CMap::CMap");
  logLine(u"%s()", u"CMap::init");
}

CMap::~CMap() { logLine(u"%s() - goodbye", u"CMap::~CMap"); }

void CMap::add(std::int32_t id, u16v label, std::uint32_t value) {
  int index = -1;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].id == id) {
      index = static_cast<int>(i);
      break;
    }
  }
  logLine(u"    CMap Add() to idx %d : id %d  val %d", index, id, value);
  total_ = addSaturated(total_, value);
  if (index >= 0) {
    auto& item = items_[static_cast<std::size_t>(index)];
    item.value = addSaturated(item.value, value);
  } else {
    items_.push_back(Item{id, u16(label), value, false});
  }
}

void CMap::resetMarks() {
  for (auto& item : items_) item.picked = false;
}

std::optional<CMap::Item> CMap::nextLargest() {
  Item* best = nullptr;
  for (auto& item : items_) {
    if (item.picked || item.value == 0) continue;
    if (!best || item.value > best->value) best = &item;
  }
  if (!best) return std::nullopt;
  best->picked = true;
  return *best;
}

void drawPieChart(Surface& s, CMap& map, const PieRequest& request) {
  const std::uint64_t total = sumOfValues(map);
  if (map.empty() || total == 0) return;
  map.resetMarks();

  const int cx = request.centreX;
  const int cy = request.centreY;
  const int r = request.radius;
  s.ellipse(cx - kDiscRadius, cy - kDiscRadius, cx + kDiscRadius, cy + kDiscRadius, kWhite, kDiscOutline, 3);

  const FontSpec percentFont{u"Arial", 21, true};
  double start = 0.0;
  int position = 0;
  int legendY = cy + kLegendDy;
  const int legendX = cx + kLegendDx;
  while (auto item = map.nextLargest()) {
    const double sweep = static_cast<double>(item->value) * 360.0 / static_cast<double>(total);
    const SliceColours colours = coloursOf(request.colouring, item->id, position);
    const bool filled = sweep > kThinSlice;
    if (filled) {
      s.pie(cx - r, cy - r, cx + r, cy + r, start, sweep, colours.fill, kWhite, 2);
      const auto percent = static_cast<int>(std::uint64_t{item->value} * 100 / total);
      if (percent > 4) {
        FontScope scope(s, percentFont);
        const u16 label = fmt(u"%d%%", percent);
        const double middle = (start + sweep / 2.0) * 3.14159265358979323846 / 180.0;
        const int px = cx + static_cast<int>(std::lround(std::cos(middle) * 1.25 * r));
        const int py = cy - static_cast<int>(std::lround(std::sin(middle) * 1.25 * r));
        s.drawText(px - s.textWidth(label) / 2, py - s.textHeight(label) / 2, label, colours.text);
      }
    } else {
      s.pieOutline(cx - r, cy - r, cx + r, cy + r, start, sweep, kWhite, 2);
    }

    {
      FontScope scope(s, request.legendFont);
      if (filled) s.fillRect(legendX, legendY + 4, kLegendSquare, kLegendSquare, colours.fill);
      const u16 label = item->label.substr(0, kLegendLabelMax);
      const int labelX = legendX + kLegendSquare + 6;
      s.drawText(labelX, legendY, label, colours.text);
      const int timeX = labelX + s.textWidth(label) + 8;
      s.drawText(timeX, legendY, fmt(u"%dh:%02d'", item->value / 60, item->value % 60), kLegendTime);
    }

    logLine(u"%d) id:%d %s [%d]", position, item->id, item->label, item->value);
    start += sweep;
    legendY += kLegendStep;
    ++position;
  }

  FontScope scope(s, request.titleFont);
  s.drawText(cx - s.textWidth(request.title) / 2, cy + r + kTitleGap, request.title, kTitle);
}

int pieChartBottom(const CMap& map, const PieRequest& request) {
  if (map.empty() || sumOfValues(map) == 0) return 0;
  const int titleBottom = request.centreY + request.radius + kTitleGap + request.titleFont.height;
  const int legendBottom = request.centreY + kLegendDy + legendItemCount(map) * kLegendStep +
                           request.legendFont.height;
  return std::max({titleBottom, legendBottom, request.centreY + kDiscRadius});
}

}  // namespace tirelmo
