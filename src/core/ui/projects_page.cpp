// The Projects page: the time per active project, the report of one project per day and
// the closed projects. The report chart sits below the pie chart's legend, at least at
// y 500, so that with up to about fifteen projects the closed list starts at y 1000; a
// longer legend moves the chart and the closed list down together.
#include "ui/projects_page.h"

#include <algorithm>

#include "app/app.h"
#include "projects/project_ops.h"
#include "text/format.h"
#include "ui/charts.h"
#include "ui/statistics_common.h"
#include "ui/time_per_day.h"

namespace tirelmo {

using namespace statpage;

namespace {

constexpr int kPieX = 155;
constexpr int kReportTopMin = 500;
constexpr int kReportGap = 40;
constexpr int kClosedTitleY = 1000;
constexpr int kClosedRowsGap = 40;  // from the title to the first closed project
constexpr int kClosedRowHeight = 40;
constexpr int kClosedNameX = 70;
constexpr int kClosedTimeGap = 90;
// What the pie chart draws below its centre: the title 45 below the disc, the legend rows
// of 20 from 130 above the centre.
constexpr int kPieTitleGap = 45;
constexpr int kLegendTop = -130;
constexpr int kLegendStep = 20;

constexpr Rgb kBlack = rgb(0, 0, 0);
constexpr Rgb kTitleColour = rgb(95, 104, 194);
constexpr Rgb kSubtitleColour = rgb(120, 120, 160);
constexpr Rgb kTimeGrey = rgb(148, 159, 177);

const FontSpec kClosedNameFont{u"Segoe Print", 28};
const FontSpec kClosedTimeFont{u"Microsoft YaHei", 19};

std::uint32_t totalMinutes(const Project& p) {
  const std::uint64_t m = std::uint64_t{p.workedHours} * 60 + p.workedMinutes;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(m, 0xFFFFFFFFu));
}

PieRequest projectsPie(const App& app) {
  PieRequest r = projectPie(app);
  r.centreX = kPieX;
  return r;
}

// Where the parts of the page go; the same for drawing and for the page height.
struct Layout {
  int pieBottom = 0;
  int reportTop = 0;
  int closedTitleY = 0;
  int closedTop = 0;
  int bottom = 0;  // below the last closed project
};

Layout layoutOf(const App& app) {
  const PieRequest pie = projectsPie(app);
  const auto shown = static_cast<int>(std::min<std::size_t>(
      std::count_if(app.projects.active.begin(), app.projects.active.end(),
                    [](const Project& p) { return totalMinutes(p) > 0; }),
      1 << 20));
  Layout l;
  l.pieBottom = std::max(pie.centreY + pie.radius + kPieTitleGap + pie.titleFont.height,
                         pie.centreY + kLegendTop + shown * kLegendStep + pie.legendFont.height);
  l.reportTop = std::max(kReportTopMin, l.pieBottom + kReportGap);
  const int shift = std::max(0, l.reportTop + kTimePerDayHeight + kReportGap * 2 - kClosedTitleY);
  l.closedTitleY = kClosedTitleY + shift;
  l.closedTop = l.closedTitleY + kClosedRowsGap;
  const auto closed = static_cast<int>(std::min<std::size_t>(app.projects.closed.size(), 1 << 20));
  l.bottom = l.closedTop + closed * kClosedRowHeight;
  return l;
}

int pageWidth(const App& app) { return statpage::windowPageWidth(app); }

// Draws onto another surface moved by (dx, dy): the report chart draws from (0, 0).
class ShiftedSurface : public Surface {
 public:
  ShiftedSurface(Surface& s, int dx, int dy) : s_(s), dx_(dx), dy_(dy) {}
  int width() const override { return s_.width(); }
  int height() const override { return s_.height(); }
  void fillRect(int x, int y, int w, int h, Rgb c) override { s_.fillRect(x + dx_, y + dy_, w, h, c); }
  void line(int x0, int y0, int x1, int y1, Rgb c, int pen) override {
    s_.line(x0 + dx_, y0 + dy_, x1 + dx_, y1 + dy_, c, pen);
  }
  void dottedLine(int x0, int y0, int x1, int y1, Rgb c) override {
    s_.dottedLine(x0 + dx_, y0 + dy_, x1 + dx_, y1 + dy_, c);
  }
  void setFont(const FontSpec& f) override { s_.setFont(f); }
  const FontSpec& font() const override { return s_.font(); }
  int textWidth(u16v t) override { return s_.textWidth(t); }
  int textHeight(u16v t) override { return s_.textHeight(t); }
  void drawText(int x, int y, u16v t, Rgb c) override { s_.drawText(x + dx_, y + dy_, t, c); }
  void drawTextClipped(int x, int y, u16v t, Rgb c, int cx, int cy, int cw, int ch) override {
    s_.drawTextClipped(x + dx_, y + dy_, t, c, cx + dx_, cy + dy_, cw, ch);
  }
  // The caller's origin and clip stay: they say which band of the page is drawn.
  void setOrigin(int, int) override {}
  void setClip(int, int, int, int) override {}
  void clearClip() override {}
  bool drawBitmap(int x, int y, int w, int h, BitmapId b, int sx, int sy) override {
    return s_.drawBitmap(x + dx_, y + dy_, w, h, b, sx, sy);
  }
  bool drawSprite(int x, int y, int w, int h, BitmapId b, int sx, int sy) override {
    return s_.drawSprite(x + dx_, y + dy_, w, h, b, sx, sy);
  }
  void pie(int l, int t, int r, int b, double start, double sweep, Rgb fill, Rgb outline, int pen) override {
    s_.pie(l + dx_, t + dy_, r + dx_, b + dy_, start, sweep, fill, outline, pen);
  }
  void pieOutline(int l, int t, int r, int b, double start, double sweep, Rgb outline, int pen) override {
    s_.pieOutline(l + dx_, t + dy_, r + dx_, b + dy_, start, sweep, outline, pen);
  }
  void ellipse(int l, int t, int r, int b, Rgb fill, Rgb outline, int pen) override {
    s_.ellipse(l + dx_, t + dy_, r + dx_, b + dy_, fill, outline, pen);
  }

 private:
  Surface& s_;
  int dx_;
  int dy_;
};

void drawCentredTitle(const App& app, const PageSet& pages, Surface& s, Txt id, int y, const FontSpec& font,
                      Rgb colour) {
  FontScope scope(s, font);
  const u16v title = app.tr(id);
  s.drawText(pageWidth(app) / 2 - s.textWidth(title) / 2, y, title, colour);
}

void drawPie(const App& app, Surface& s) {
  CMap map;
  for (const Project& p : app.projects.active) map.add(p.id, p.name, totalMinutes(p));
  drawPieChart(s, map, projectsPie(app));
}

void drawReport(const App& app, const PageSet& pages, Surface& s, int top) {
  const std::optional<ProjectReport> report = currentProjectReport(app);
  if (!report || !isChartRange(report->from, report->to)) return;
  ProjectStore::ReportQuery& cache = app.projects.reportQuery;
  const bool fresh = cache.valid && cache.id == report->id && cache.from == report->from &&
                     cache.to == report->to && cache.minutesToday == report->minutesToday &&
                     cache.archiveGeneration == app.doneArchive.generation &&
                     cache.folder == app.start.userDataDir;
  if (!fresh) {
    cache = {true, report->id, report->from, report->to, report->minutesToday,
             app.doneArchive.generation, app.start.userDataDir, queryProjectReport(app)};
  }
  const ArchiveQueryResult& query = cache.result;
  const int left = std::max(0, (pageWidth(app) - kTimePerDayWidth) / 2);
  ShiftedSurface shifted(s, left, top);
  drawTimePerDayChart(shifted, query, report->from, report->to, app.language());
}

void drawClosedProject(Surface& s, const Project& p, int y) {
  int x = kClosedNameX;
  {
    FontScope font(s, kClosedNameFont);
    s.drawText(x, y, p.name, kBlack);
    x += s.textWidth(p.name) + kClosedTimeGap;
  }
  FontScope font(s, kClosedTimeFont);
  s.drawText(x, y + 4, fmt(u"%dh:%02d'", p.workedHours, p.workedMinutes), kTimeGrey);
}

}  // namespace

void drawProjectsView(const App& app, const PageSet& pages, Surface& s, int y, int h) {
  const bool chinese = app.language() == Language::ChineseSimplified;
  if (app.projects.active.empty()) {
    FontScope font(s, FontSpec{u"Segoe Print", 28});
    s.drawText(50, 125, app.tr(Txt::ProjectsNone), kBlack);
    return;
  }
  const Layout l = layoutOf(app);
  if (reachesBand(0, 160, y, h))
    drawCentredTitle(app, pages, s, Txt::ProjectsOverallTitle, chinese ? 102 : 90,
                     chinese ? FontSpec{u"PMingLiU", 28, true} : FontSpec{u"Segoe Print", 42, true}, kTitleColour);
  // The pie's legend names stand a little above the disc; the percentages outside it.
  if (reachesBand(0, l.pieBottom + 10, y, h)) drawPie(app, s);
  if (reachesBand(l.reportTop, l.reportTop + kTimePerDayHeight, y, h)) drawReport(app, pages, s, l.reportTop);

  if (reachesBand(l.closedTitleY - 10, l.closedTitleY + 50, y, h))
    drawCentredTitle(app, pages, s, Txt::ProjectsClosedTitle, l.closedTitleY, FontSpec{u"Segoe Print", 30, true},
                     kSubtitleColour);
  // Only the closed projects whose line reaches the band.
  const std::vector<Project>& closed = app.projects.closed;
  const int count = static_cast<int>(std::min<std::size_t>(closed.size(), 1 << 20));
  if (count == 0) return;
  const int first = std::clamp((y - l.closedTop) / kClosedRowHeight - 1, 0, count - 1);
  const int last = std::clamp((y + h - l.closedTop) / kClosedRowHeight + 1, 0, count - 1);
  for (int i = first; i <= last; ++i) {
    const int top = l.closedTop + i * kClosedRowHeight;
    if (reachesBand(top - 5, top + kClosedRowHeight + 5, y, h)) drawClosedProject(s, closed[static_cast<std::size_t>(i)], top);
  }
}

int projectsPageHeight(const App& app) {
  const auto projects =
      static_cast<int>(std::min<std::size_t>(app.projects.active.size() + app.projects.closed.size(), 1 << 20));
  const int byCount = std::max(40 * projects + 500, kMinPageHeight);
  if (app.projects.active.empty()) return byCount;
  return std::max(byCount, layoutOf(app).bottom + kBottomMargin);
}

}  // namespace tirelmo
