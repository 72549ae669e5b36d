#include "ui/statistics_common.h"

#include "app/app.h"
#include "projects/project_store.h"
#include "storage/settings.h"
#include "text/format.h"

namespace tirelmo::statpage {

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

void Tallies::add(const App& app, std::int32_t category, std::int32_t projectId, int minutes) {
  const auto value = static_cast<std::uint32_t>(nonNegative(minutes));
  const int c = categoryOrNone(category);
  byCategory.add(c, categoryLabel(app, c), value);
  // The label only matters for an id the map has not seen: skip the project lookup then.
  const auto& items = byProject.items();
  const bool known = std::any_of(items.begin(), items.end(), [&](const CMap::Item& i) { return i.id == projectId; });
  u16 name;
  if (!known && projectNameById(app, projectId, name) != 1) name = fmt(u"#%d", projectId);
  byProject.add(projectId, name, value);
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

void drawTallyPies(const App& app, Surface& s, Tallies& t) {
  drawPieChart(s, t.byCategory, categoryPie(app));
  drawPieChart(s, t.byProject, projectPie(app));
}

int tallyPiesBottom(const App& app, const Tallies& t) {
  return std::max(t.byCategory.empty() ? 0 : pieChartBottom(t.byCategory, categoryPie(app)),
                  t.byProject.empty() ? 0 : pieChartBottom(t.byProject, projectPie(app)));
}

u16 shortDayName(const App& app, int dayOfWeek) {
  if (dayOfWeek < 0 || dayOfWeek > 6) return {};
  return app.tr(static_cast<Txt>(static_cast<int>(Txt::DayShortSun) + dayOfWeek));
}

}  // namespace tirelmo::statpage
