// The Apps + Websites page: today's usage, longest first, one text line per entry and a bar
// under those that took more than five minutes.
#include "ui/usage_page.h"

#include <algorithm>
#include <vector>

#include "app/app.h"
#include "text/format.h"
#include "ui/statistics_common.h"

namespace tirelmo {

namespace {

// The page is drawn this wide; its bars and its title are laid out on it, whatever the window
// shows of it.
constexpr int kPageWidth = 1350;

constexpr Rgb kBackground = rgb(230, 230, 255);
constexpr Rgb kTitleColour = rgb(221, 166, 0);
constexpr Rgb kInk = rgb(70, 80, 120);

constexpr int kTitleY = 100;
constexpr int kRowsTop = 160;
constexpr int kLeft = 60;
constexpr int kRowWithBar = 56;
constexpr int kRowWithoutBar = 26;
constexpr int kBarTop = 20;
constexpr int kBarHeight = 10;
// Text stands a little above and below its row; a row is skipped only when it is wholly
// outside the band.
constexpr int kRowSlack = 6;

constexpr std::uint32_t kListedSeconds = 60;
constexpr std::uint32_t kBarSeconds = 300;

constexpr int kMinHeight = 2400;
// Room below the last row, so it can be scrolled into full view.
constexpr int kBottomMargin = 100;

bool reachesBand(int top, int bottom, int y, int h) { return bottom > y && top < y + h; }

// The entries the page lists, longest first (the earlier one on a tie); the short ones are
// left out. Sorting indices keeps the table as the classifier and the dialog see it.
std::vector<std::size_t> listedEntries(const UsageTable& t) {
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < t.entries.size(); ++i)
    if (t.entries[i].seconds >= kListedSeconds) order.push_back(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return t.entries[a].seconds > t.entries[b].seconds; });
  return order;
}

// The width of the longest bar: short days get short bars, so that five minutes never
// looks like a full day.
// Laid out on the window's width, so that the longest bar ends inside the window.
int fullBarWidth(std::uint32_t longest, int width) {
  if (longest < 600) return width / 32;
  if (longest < 3600) return width / 8;
  if (longest < 7200) return width / 4;
  if (longest < 14400) return width / 2;
  return width - 120;
}

int rowAdvance(const UsageEntry& e) { return e.seconds > kBarSeconds ? kRowWithBar : kRowWithoutBar; }

u16 timeText(const App& app, std::uint32_t seconds) {
  const std::uint32_t minutes = seconds / 60;
  if (minutes < 60) return fmt(app.tr(Txt::UsageMinutes), minutes);
  return fmt(app.tr(Txt::UsageHoursMinutes), minutes / 60, minutes % 60);
}

void drawEntry(const App& app, Surface& s, int top, const UsageEntry& e, std::uint32_t longest, int barWidth) {
  s.drawText(kLeft, top, fmt(u"%s     [%s]", e.name, timeText(app, e.seconds)), kInk);
  if (e.seconds <= kBarSeconds) return;
  const auto w = static_cast<int>(std::int64_t{e.seconds} * barWidth / longest);
  s.fillRect(kLeft, top + kBarTop, w, kBarHeight, kInk);
}

}  // namespace

void drawUsageView(const App& app, const PageSet& pages, Surface& s, int y, int h) {
  s.fillRect(0, y, kPageWidth, h, kBackground);
  const UsageTable& table = app.usage;
  if (table.entries.empty()) return;

  if (reachesBand(kTitleY - kRowSlack, kTitleY + 60, y, h)) {
    FontScope font(s, FontSpec{u"Segoe Print", 26, true});
    const u16v title = app.tr(Txt::UsageTitle);
    s.drawText((statpage::windowPageWidth(app) - s.textWidth(title)) / 2, kTitleY, title, kTitleColour);
  }

  std::uint32_t longest = 0;
  for (const UsageEntry& e : table.entries) longest = std::max(longest, e.seconds);
  const int barWidth = fullBarWidth(longest, statpage::windowPageWidth(app));

  FontScope font(s, FontSpec{u"Microsoft YaHei", 19});
  int top = kRowsTop;
  for (std::size_t i : listedEntries(table)) {
    const UsageEntry& e = table.entries[i];
    if (top >= y + h) break;
    if (reachesBand(top - kRowSlack, top + kBarTop + kBarHeight + kRowSlack, y, h)) drawEntry(app, s, top, e, longest, barWidth);
    top += rowAdvance(e);
  }
}

int usagePageHeight(const App& app) {
  int bottom = kRowsTop;
  for (const UsageEntry& e : app.usage.entries)
    if (e.seconds >= kListedSeconds) bottom += rowAdvance(e);
  return std::max(kMinHeight, bottom + kBottomMargin);
}

}  // namespace tirelmo
