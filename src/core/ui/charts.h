// The charts the statistics pages share: the tally map that sums minutes by category or
// project, and the pie chart drawn from it with its legend.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/canvas.h"
#include "text/strings.h"
#include "text/ustring.h"

namespace tirelmo {

// Items in insertion order and their running total (CMap).
class CMap {
 public:
  struct Item {
    std::int32_t id = 0;
    u16 label;
    std::uint32_t value = 0;
    bool picked = false;
  };
  CMap();
  ~CMap();
  CMap(const CMap&) = delete;
  CMap& operator=(const CMap&) = delete;

  // Adds the value to the item of that id (its label stays), or appends a new item.
  void add(std::int32_t id, u16v label, std::uint32_t value);
  void resetMarks();
  // The unpicked item with the largest value above 0 (the first on a tie), now picked.
  std::optional<Item> nextLargest();

  const std::vector<Item>& items() const { return items_; }
  std::uint32_t total() const { return total_; }
  bool empty() const { return items_.empty(); }

 private:
  std::vector<Item> items_;
  std::uint32_t total_ = 0;
};

enum class PieColouring { ByCategory = 0, ByPosition = 1 };

struct PieRequest {
  u16 title;
  int centreX = 0;
  int centreY = 0;
  int radius = 100;
  PieColouring colouring = PieColouring::ByCategory;
  FontSpec titleFont;
  FontSpec legendFont;
};

// Draws the pie, its percentages, its legend and its title; nothing for an empty map. The
// map's marks are reset first and used up by the drawing.
void drawPieChart(Surface& s, CMap& map, const PieRequest& request);

// The bottom of everything a pie chart draws (legend included), for page heights; 0 when
// it draws nothing.
int pieChartBottom(const CMap& map, const PieRequest& request);

}  // namespace tirelmo
