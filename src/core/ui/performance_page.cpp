// The Performance page: the month's worked hours, pomodoros and interruptions per day.
#include <algorithm>

#include "app/app.h"
#include "base/dates.h"
#include "base/log.h"
#include "stats/day_stats.h"
#include "text/format.h"
#include "ui/pages.h"
#include "ui/statistics_pages.h"

namespace tirelmo {

namespace {

constexpr Rgb kWhite = rgb(255, 255, 255);
constexpr Rgb kGrid = rgb(244, 219, 219);
constexpr Rgb kFrame = rgb(200, 200, 200);
constexpr Rgb kBlue = rgb(108, 119, 210);
constexpr Rgb kWeekend = rgb(228, 105, 136);
constexpr Rgb kFormGrey = rgb(147, 147, 164);
constexpr Rgb kStartedPen = rgb(50, 20, 20);
constexpr Rgb kCompletedPen = rgb(110, 190, 80);
constexpr Rgb kInternalPen = rgb(255, 255, 40);
constexpr Rgb kExternalPen = rgb(240, 90, 90);
constexpr Rgb kWorkedPen = rgb(164, 217, 242);

constexpr int kGridStep = 4;
constexpr int kGridTop = 101;
constexpr int kGridMargin = 18;
constexpr int kFrameLeft = 50;
constexpr int kFrameHeight = 240;
constexpr int kWorkedBottom = 445;
constexpr int kPomBottom = 805;
constexpr int kInterrBottom = 1165;
// Narrower than this the frames would turn inside out.
constexpr int kMinWidth = 400;

struct Diagram {
  int width;   // page width W
  int bottom;  // the frame's bottom line
  int ymax;

  int top() const { return bottom - kFrameHeight; }
  int right() const { return width - 70; }
  int slotX(int day0, int offset) const { return (width - 120) * day0 / kMonthDays + offset; }
  // A value's height, never past the frame's top however large the value.
  int barHeight(int value) const { return std::clamp(value * kFrameHeight / ymax, 0, kFrameHeight); }
};

// The scale above the largest value: one more, and even.
int evenScaleAbove(int largest) { return largest + 1 + largest % 2; }

int workedTimeYmax(int largestHours) {
  const int m = largestHours + 1;
  return m < 4 ? 5 : evenScaleAbove(m);
}
int pomodoroYmax(int largest) { return largest < 4 ? 12 : evenScaleAbove(largest); }
// Above 100 interruptions a fixed scale of 12 would send the bars far past the frame, so
// the scale follows the largest day as the other diagrams' do.
int interruptionYmax(int largest) { return evenScaleAbove(largest); }

FontSpec font(u16v face, int height, bool bold = false, int angleTenths = 0) {
  FontSpec f;
  f.face = u16(face);
  f.height = height;
  f.bold = bold;
  f.angleTenths = angleTenths;
  return f;
}

bool isWeekend(int year, int month, int day) {
  const int dow = dayOfWeekOf(year, month, day);
  return dow == 0 || dow == 6;
}

void drawFrame(Surface& s, const Diagram& d) {
  s.line(kFrameLeft, d.top(), d.right(), d.top(), kFrame);
  s.line(kFrameLeft, d.bottom, d.right(), d.bottom, kFrame);
  s.line(kFrameLeft, d.top(), kFrameLeft, d.bottom, kFrame);
  s.line(d.right(), d.top(), d.right(), d.bottom + 1, kFrame);
}

// Day labels and ticks from day 1 to today, then the value ticks up the left side.
void drawAxes(Surface& s, const Diagram& d, const DayDate& today) {
  FontScope scope(s, font(u"Arial", 13));
  const int lastDay = std::clamp(today.day0 + 1, 1, kMonthDays);
  for (int day = 1; day <= lastDay; ++day) {
    const int x = d.slotX(day - 1, 0);
    const Rgb colour = isWeekend(today.year, today.month, day) ? kWeekend : kBlue;
    s.drawText(x + 49, d.bottom + 5, fmt(u"%2d", day), colour);
    s.line(x + 55, d.bottom, x + 55, d.bottom + 3, kFrame);
  }
  const int step = d.ymax >= 21 ? 5 : d.ymax >= 13 ? 3 : 2;
  for (int v = 0; v <= d.ymax; v += step) {
    const int y = d.bottom - v * kFrameHeight / d.ymax;
    s.line(kFrameLeft, y, kFrameLeft - 4, y, kFrame);
    s.drawText(30, y - 8, fmt(u"%2d", v), kBlue);
  }
}

void bar(Surface& s, int x, int bottom, int height, Rgb pen, int penWidth) {
  if (height > 0) s.line(x, bottom, x, bottom - height, pen, penWidth);
}

void drawGrid(Surface& s, int width, int pageHeight, int y, int h) {
  const int bottom = pageHeight - kGridMargin;
  const int right = width - kGridMargin;
  const int bandTop = std::max(y, kGridTop);
  const int bandBottom = std::min(y + h, bottom + 1);
  if (bandTop >= bandBottom) return;
  for (int x = kGridMargin; x <= right; x += kGridStep) s.line(x, bandTop, x, bandBottom, kGrid);
  // Only the horizontal lines inside the band: the page is far taller than a paint.
  int first = kGridTop + std::max(0, (bandTop - kGridTop + kGridStep - 1) / kGridStep) * kGridStep;
  for (int gy = first; gy < bandBottom; gy += kGridStep) s.line(kGridMargin, gy, right + 1, gy, kGrid);
}

// One legend entry: a 20-pixel sample of the bar's pen and its word; returns where the next
// entry may start.
int drawLegendItem(Surface& s, int x, int lineY, int textY, Rgb pen, int penWidth, bool dotted, u16v word) {
  if (dotted) {
    s.dottedLine(x, lineY, x + 20, lineY, pen);
  } else {
    s.line(x, lineY, x + 20, lineY, pen, penWidth);
  }
  s.drawText(x + 25, textY, word, kBlue);
  return x + 25 + s.textWidth(word) + 25;
}

}  // namespace

void drawPerformanceView(const App& app, const PageSet& pages, Surface& s, int y, int h) {
  const int width = std::clamp(pages.windowWidth, kMinWidth, kPageWidth);
  const bool chinese = app.language() == Language::ChineseSimplified;
  const DayDate& today = app.start.today;
  const auto& days = app.month.days;

  s.fillRect(0, y, std::max(width, s.width()), h, kWhite);
  drawGrid(s, width, pageContentHeight(app, pages, kPagePerformance), y, h);

  int largestHours = 0, largestStarted = 0, largestInterruptions = 0;
  std::int64_t monthMinutes = 0;
  for (const DayStats& d : days) {
    if (d.used != 1) continue;
    largestHours = std::max<int>(largestHours, d.workedHours);
    largestStarted = std::max(largestStarted, d.pomodoros + d.abandoned);
    largestInterruptions = std::max({largestInterruptions, int{d.internalInterruptions},
                                     int{d.externalInterruptions}});
    monthMinutes += d.workedTime();
  }

  // Header.
  {
    FontScope scope(s, chinese ? font(u"PMingLiU", 28, true) : font(u"Segoe Print", 42, true));
    const u16 header = chinese ? fmt(app.tr(Txt::PerfHeader), today.year, today.month)
                               : fmt(app.tr(Txt::PerfHeader), monthNameEnglish(today.month), today.year);
    // Below the toolbar, which the window draws over the page's top, and above the first
    // diagram's heading.
    s.drawText((width - s.textWidth(header)) / 2, chinese ? 115 : 105, header, kBlue);
  }

  // Worked time.
  const Diagram worked{width, kWorkedBottom, workedTimeYmax(largestHours)};
  logLine(u"Worked Time Diag: Ymax %d", worked.ymax);
  int totalX = chinese ? 116 : 170;
  {
    FontScope scope(s, font(u"Courier New", 17, true));
    s.drawText(50, 179, app.tr(Txt::PerfHoursWorked), kFormGrey);
    // A wider face than planned must not run into the total.
    totalX = std::max(totalX, 50 + s.textWidth(app.tr(Txt::PerfHoursWorked)) + 10);
  }
  {
    FontScope scope(s, font(u"Segoe Print", 30, true));
    s.drawText(totalX, chinese ? 171 : 169,
               fmt(app.tr(Txt::PerfMonthTotal), monthMinutes / 60, monthMinutes % 60), kBlue);
  }
  drawFrame(s, worked);
  drawAxes(s, worked, today);
  {
    FontScope scope(s, font(u"Segoe Print", 23, true, 120));
    for (int i = 0; i < kMonthDays; ++i) {
      const DayStats& d = days[static_cast<std::size_t>(i)];
      if (d.used != 1) continue;
      const int hours = d.workedHours + (d.workedMinutes >= 31 ? 1 : 0);
      const int height = worked.barHeight(hours);
      bar(s, worked.slotX(i, 56), worked.bottom, height, kWorkedPen, 6);
      if (d.workedTime() > 0) {
        s.drawText(worked.slotX(i, 45), 423 - height, fmt(u"%d:%02d", d.workedHours, d.workedMinutes), kBlue);
      }
    }
  }

  // Section titles and the legend. The two entries of a diagram stand side by side after
  // its title: stacked 15 pixels apart their words would run into each other, and a title
  // font wider than planned would run into the first one.
  int pomLegendX = 165, interruptionLegendX = 165;
  {
    FontScope scope(s, font(u"Buxton Sketch", 24, true));
    s.drawText(50, 539, app.tr(Txt::PerfPomodoros), kBlue);
    s.drawText(50, 899, app.tr(Txt::PerfInterruptions), kBlue);
    pomLegendX = std::max(pomLegendX, 50 + s.textWidth(app.tr(Txt::PerfPomodoros)) + 20);
    interruptionLegendX = std::max(interruptionLegendX, 50 + s.textWidth(app.tr(Txt::PerfInterruptions)) + 20);
  }
  {
    FontScope scope(s, chinese ? font(u"Microsoft YaHei", 18) : font(u"Segoe Print", 22, true));
    int x = drawLegendItem(s, pomLegendX, 547, 537, kStartedPen, 1, true, app.tr(Txt::PerfStarted));
    drawLegendItem(s, x, 547, 537, kCompletedPen, 5, false, app.tr(Txt::PerfCompleted));
    x = drawLegendItem(s, interruptionLegendX, 907, 897, kInternalPen, 5, false, app.tr(Txt::PerfInternal));
    drawLegendItem(s, x, 907, 897, kExternalPen, 5, false, app.tr(Txt::PerfExternal));
  }

  // Pomodoros: started (completed and abandoned) behind the completed ones.
  const Diagram pom{width, kPomBottom, pomodoroYmax(largestStarted)};
  logLine(u"Pom Diag: Ymax %d", pom.ymax);
  drawFrame(s, pom);
  drawAxes(s, pom, today);
  for (int i = 0; i < kMonthDays; ++i) {
    const DayStats& d = days[static_cast<std::size_t>(i)];
    if (d.used != 1) continue;
    const int started = pom.barHeight(d.pomodoros + d.abandoned);
    if (started > 0) s.dottedLine(pom.slotX(i, 58), pom.bottom, pom.slotX(i, 58), pom.bottom - started, kStartedPen);
    bar(s, pom.slotX(i, 54), pom.bottom, pom.barHeight(d.pomodoros), kCompletedPen, 5);
  }

  // Interruptions.
  const Diagram interr{width, kInterrBottom, interruptionYmax(largestInterruptions)};
  logLine(u"InterrDiag Ymax %d", interr.ymax);
  drawFrame(s, interr);
  drawAxes(s, interr, today);
  for (int i = 0; i < kMonthDays; ++i) {
    const DayStats& d = days[static_cast<std::size_t>(i)];
    if (d.used != 1) continue;
    bar(s, interr.slotX(i, 52), interr.bottom, interr.barHeight(d.externalInterruptions), kExternalPen, 5);
    bar(s, interr.slotX(i, 57), interr.bottom, interr.barHeight(d.internalInterruptions), kInternalPen, 5);
  }
}

}  // namespace tirelmo
