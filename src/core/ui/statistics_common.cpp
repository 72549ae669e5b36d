#include "ui/statistics_common.h"

#include <algorithm>

#include "app/app.h"
#include "projects/project_store.h"
#include "storage/settings.h"
#include "text/format.h"

namespace tirelmo::statpage {

int windowPageWidth(const App& app) { return std::clamp(app.settings.Wind_wth, 0, 1350); }

namespace {
constexpr std::size_t kCategoryLabelMax = 16;
}

u16 categoryLabel(const App& app, int category) {
  const auto c = static_cast<std::size_t>(categoryOrNone(category));
  const std::vector<u16>& names = app.settings.categories;
  u16 name = c < names.size() ? names[c] : u16(kDefaultCategoryNames[c]);
  if (name.size() > kCategoryLabelMax) name.resize(kCategoryLabelMax);
  return name;
}

namespace {
void addTo(std::vector<Tallies::Sum>& sums, std::int32_t id, int minutes) {
  const auto value = static_cast<std::uint32_t>(nonNegative(minutes));
  for (Tallies::Sum& sum : sums)
    if (sum.id == id) {
      sum.minutes += value;
      return;
    }
  sums.push_back({id, value});
}

std::size_t shownItems(const std::vector<Tallies::Sum>& sums) {
  return static_cast<std::size_t>(std::count_if(sums.begin(), sums.end(), [](const Tallies::Sum& s) { return s.minutes > 0; }));
}

void fillCategories(const App& app, const Tallies& t, CMap& map) {
  for (const Tallies::Sum& sum : t.byCategory) map.add(sum.id, categoryLabel(app, sum.id), sum.minutes);
}
void fillProjects(const App& app, const Tallies& t, CMap& map) {
  for (const Tallies::Sum& sum : t.byProject) {
    u16 name;
    if (projectNameById(app, sum.id, name) != 1) name = fmt(u"#%d", sum.id);
    map.add(sum.id, name, sum.minutes);
  }
}
}  // namespace

void Tallies::add(std::int32_t category, std::int32_t projectId, int minutes) {
  addTo(byCategory, categoryOrNone(category), minutes);
  addTo(byProject, projectId, minutes);
}

int Tallies::boundBelowPies() const {
  const std::size_t items = std::max(shownItems(byCategory), shownItems(byProject));
  if (items == 0) return 0;
  // The disc and title stay within 200 pixels of the centre; the legend grows by 20 a line.
  return kPieCentreY + 2 * kPieRadius + 40 * static_cast<int>(std::min<std::size_t>(items, 1 << 20)) + 100;
}

namespace {
PieRequest pie(const App& app, Txt title, int x, PieColouring colouring) {
  PieRequest r;
  r.title = app.tr(title);
  r.centreX = x;
  r.centreY = kPieCentreY;
  r.radius = kPieRadius;
  r.colouring = colouring;
  r.titleFont = FontSpec{u"Segoe Print", 26, true};
  r.legendFont = FontSpec{u"Microsoft YaHei", 19};
  return r;
}
}  // namespace

PieRequest categoryPie(const App& app) {
  return pie(app, Txt::PieTimePerCategory, kCategoryPieX, PieColouring::ByCategory);
}
PieRequest projectPie(const App& app) {
  return pie(app, Txt::PieTimePerProject, kProjectPieX, PieColouring::ByPosition);
}

void drawTallyPies(const App& app, Surface& s, const Tallies& t, int y, int h) {
  if (!reachesBand(0, t.boundBelowPies(), y, h)) return;
  CMap categories;
  fillCategories(app, t, categories);
  drawPieChart(s, categories, categoryPie(app));
  CMap projects;
  fillProjects(app, t, projects);
  drawPieChart(s, projects, projectPie(app));
}

int tallyPiesBottom(const App& app, const Tallies& t) {
  if (t.boundBelowPies() == 0) return 0;
  CMap categories;
  fillCategories(app, t, categories);
  CMap projects;
  fillProjects(app, t, projects);
  return std::max(pieChartBottom(categories, categoryPie(app)), pieChartBottom(projects, projectPie(app)));
}

u16 shortDayName(const App& app, int dayOfWeek) {
  if (dayOfWeek < 0 || dayOfWeek > 6) return {};
  return app.tr(static_cast<Txt>(static_cast<int>(Txt::DayShortSun) + dayOfWeek));
}

}  // namespace tirelmo::statpage
