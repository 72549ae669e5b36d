// The History page: the tasks archived this month, in file order under day separators, and
// the time they took per category and per project.
#include <algorithm>

#include "app/app.h"
#include "base/dates.h"
#include "projects/project_store.h"
#include "stats/done_tasks.h"
#include "text/format.h"
#include "ui/bitmap_ids.h"
#include "ui/statistics_common.h"
#include "ui/pages.h"
#include "ui/statistics_pages.h"

namespace tirelmo {

using namespace statpage;

namespace {

constexpr int kRowsTop = 460;
constexpr int kRowHeight = 30;
constexpr int kThinSeparator = 38;
constexpr int kDaySeparator = 60;
constexpr int kSeparatorWidth = 95;
constexpr int kMaxDay = 31;
constexpr int kCategoryCell = 18;

constexpr Rgb kThinSeparatorColour = rgb(205, 193, 175);
constexpr Rgb kDaySeparatorColour = rgb(221, 166, 0);
constexpr Rgb kMinutesGrey = rgb(148, 159, 177);
constexpr Rgb kDoneText = rgb(106, 106, 130);
constexpr Rgb kOpenText = rgb(0, 0, 58);
constexpr Rgb kProjectGreen = rgb(0, 166, 60);
constexpr Rgb kBlack = rgb(0, 0, 0);

const FontSpec kSmallArial{u"Arial", 16};
const FontSpec kProjectFont{u"Arial", 14};

// Walks the list as it is laid out, handing each separator and row its top; returns the
// y below the last row. Separators only go forward through real days (1..31): an entry
// whose day goes back, or names no day, joins the day shown above it. Nothing is measured
// here, so the walk over a busy month stays cheap.
template <class OnSeparator, class OnRow>
int walkHistory(const std::vector<DoneTaskEntry>& list, OnSeparator&& onSeparator, OnRow&& onRow) {
  int y = kRowsTop;
  int lastDay = 0;
  for (const DoneTaskEntry& e : list) {
    if (e.day > lastDay && e.day <= kMaxDay) {
      for (int d = lastDay + 1; d < e.day; ++d) {
        onSeparator(y, e, d, false);
        y += kThinSeparator;
      }
      onSeparator(y, e, e.day, true);
      y += kDaySeparator;
      lastDay = e.day;
    }
    onRow(y, e);
    y += kRowHeight;
  }
  return y;
}

u16 minutesLabel(int minutes) {
  return minutes < 60 ? fmt(u"%d'", minutes) : fmt(u"%d:%02d'", minutes / 60, minutes % 60);
}

void drawSeparator(const App& app, Surface& s, int y, const DoneTaskEntry& e, int day, bool highlighted) {
  const Rgb colour = highlighted ? kDaySeparatorColour : kThinSeparatorColour;
  s.line(0, y, kSeparatorWidth, y, colour);
  // The day names come from the entry's own month (the list is of one month).
  const int dow = isCalendarDate(e.year, e.month, day) ? dayOfWeekOf(e.year, e.month, day) : -1;
  FontScope font(s, kSmallArial);
  s.drawText(6, y + 4, fmt(u"%s %d", shortDayName(app, dow), day), colour);
}

void drawEntry(const App& app, Surface& s, int y, const DoneTaskEntry& e) {
  const int minutes = nonNegative(e.minutesWorked);
  if (minutes > 0) {
    FontScope font(s, kSmallArial);
    s.drawText(75, y + 7, minutesLabel(minutes), kMinutesGrey);
  }
  const bool done = e.inProgress == 0;
  int x = 117;
  {
    FontScope font(s, FontSpec{u"Segoe Print", 28, false, done});
    s.drawText(x, y, e.description, done ? kDoneText : kOpenText);
    x += s.textWidth(e.description) + 30;
  }
  if (e.projectId != 0) {
    u16 name;
    if (projectNameById(app, e.projectId, name) == 1 && !name.empty()) {
      FontScope font(s, kProjectFont);
      s.drawText(x, y + 8, name, kProjectGreen);
      x += s.textWidth(name) + 30;
    }
  }
  const int category = categoryOrNone(e.category);
  if (category != 0) {
    s.drawBitmap(x, y + 7, kCategoryCell, kCategoryCell, kBmpCategorySquares, category * kCategoryCell, 0);
    x += 50;
  }
  if (done) {
    s.drawSprite(x, y, kCellSize, kCellSize, kBmpScoreSprite, kCellDone, 0);
    x += kCellSize + 6;
    const int total = nonNegative(e.totalMinutes);
    if (total != 0) {
      const u16 label = total < 60 ? fmt(app.tr(Txt::HistoryDoneIn), total)
                                   : fmt(app.tr(Txt::HistoryDoneInHours), total / 60, total % 60);
      FontScope font(s, kSmallArial);
      s.drawText(x, y + 7, label, kMinutesGrey);
    }
  }
}

void tallyMonth(const App& app, Tallies& t) {
  for (const DoneTaskEntry& e : app.doneArchive.currentMonth) t.add(e.category, e.projectId, e.minutesWorked);
}

void drawTitle(const App& app, const PageSet& pages, Surface& s) {
  const bool chinese = app.language() == Language::ChineseSimplified;
  const DayDate& today = app.start.today;
  const u16 title = chinese ? fmt(app.tr(Txt::HistoryTitle), today.year, today.month)
                            : fmt(app.tr(Txt::HistoryTitle), monthNameEnglish(today.month), today.year);
  FontScope font(s, chinese ? FontSpec{u"PMingLiU", 28, true} : FontSpec{u"Segoe Print", 42, true});
  const int width = std::min(pages.windowWidth, kPageWidth);
  s.drawText((width - s.textWidth(title)) / 2, chinese ? 105 : 93, title, rgb(95, 104, 194));
}

}  // namespace

void drawHistoryView(const App& app, const PageSet& pages, Surface& s, int y, int h) {
  const std::vector<DoneTaskEntry>& list = app.doneArchive.currentMonth;
  if (list.empty()) {
    FontScope font(s, FontSpec{u"Segoe Print", 28});
    s.drawText(50, kRowsTop, app.tr(Txt::HistoryNoRecord), kOpenText);
    return;
  }
  if (reachesBand(0, 200, y, h)) drawTitle(app, pages, s);
  Tallies tallies;
  tallyMonth(app, tallies);
  drawTallyPies(app, s, tallies, y, h);

  // Rows are skipped when they lie wholly outside the band; their text may stand a little
  // above and below their 30 pixels.
  walkHistory(
      list,
      [&](int top, const DoneTaskEntry& e, int day, bool highlighted) {
        if (reachesBand(top - 4, top + kDaySeparator, y, h)) drawSeparator(app, s, top, e, day, highlighted);
      },
      [&](int top, const DoneTaskEntry& e) {
        if (reachesBand(top - 10, top + kRowHeight + 20, y, h)) drawEntry(app, s, top, e);
      });
}

int historyPageHeight(const App& app) {
  const std::vector<DoneTaskEntry>& list = app.doneArchive.currentMonth;
  if (list.empty()) return kMinPageHeight;
  Tallies tallies;
  tallyMonth(app, tallies);
  const int rowsEnd = walkHistory(list, [](int, const DoneTaskEntry&, int, bool) {}, [](int, const DoneTaskEntry&) {});
  return std::max({kMinPageHeight, rowsEnd + kBottomMargin, tallyPiesBottom(app, tallies) + kBottomMargin});
}

}  // namespace tirelmo
