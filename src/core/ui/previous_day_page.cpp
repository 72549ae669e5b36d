// The Previous Day page: what was completed and worked on the previous day, with the time
// per category and per project; or, without an archive file, the old summary text lines.
#include <algorithm>

#include "app/app.h"
#include "base/dates.h"
#include "base/log.h"
#include "projects/project_store.h"
#include "stats/yesterday_tasks.h"
#include "text/format.h"
#include "ui/bitmap_ids.h"
#include "ui/statistics_common.h"
#include "ui/pages.h"
#include "ui/statistics_pages.h"

namespace tirelmo {

using namespace statpage;

namespace {

constexpr int kCompletedTop = 544;
constexpr int kLineHeight = 44;
constexpr int kCategoryCell = 18;

constexpr Rgb kDoneColour = rgb(95, 104, 194);
constexpr Rgb kWorkedColour = rgb(117, 162, 135);
constexpr Rgb kMinutesGrey = rgb(148, 159, 177);
constexpr Rgb kProjectGreen = rgb(0, 166, 60);
constexpr Rgb kAgeColour = rgb(113, 0, 0);
constexpr Rgb kLegacyText = rgb(0, 0, 58);

const FontSpec kTaskFont{u"Segoe Print", 30};
const FontSpec kProjectFont{u"Microsoft YaHei", 18};

bool isCompleted(const YesterdayTask& t) { return t.done != 0; }
bool isWorkedOnly(const YesterdayTask& t) { return t.done == 0 && (t.pomodoros != 0 || t.abandoned != 0); }

FontSpec headingFont(const App& app) {
  return app.language() == Language::ChineseSimplified ? FontSpec{u"PMingLiU", 28, true}
                                                       : FontSpec{u"Segoe Print", 42, true};
}

// Where the two task groups lie. A record with a category outside the known ones is left
// out of both (its line, its count and its time).
struct Layout {
  int completed = 0;
  int worked = 0;
  int completedEnd() const { return kCompletedTop + completed * kLineHeight; }
  int workedTop() const { return completedEnd() + 66; }
  int workedEnd() const { return workedTop() + worked * kLineHeight; }
};

Layout layOut(const App& app, Tallies* tallies) {
  Layout l;
  for (const YesterdayTask& t : app.yesterday.tasks) {
    if (!isKnownCategory(t.category)) continue;
    if (isCompleted(t)) ++l.completed;
    else if (isWorkedOnly(t)) ++l.worked;
    else continue;
    if (tallies) tallies->add(t.category, t.projectId, t.minutesWorked);
  }
  return l;
}

u16 plural(int n, int from) { return n >= from ? u16(u"s") : u16(); }

void drawTaskLine(const App& app, const PageSet& pages, Surface& s, int y, const YesterdayTask& t) {
  const bool done = isCompleted(t);
  const Rgb colour = done ? kDoneColour : kWorkedColour;
  const int minutes = nonNegative(t.minutesWorked);
  if (minutes > 0) {
    FontScope font(s, pages.fonts.small17);
    s.drawText(58, y + 8, minutes >= 60 ? fmt(u"%dh:%02d'", minutes / 60, minutes % 60) : fmt(u"%d'", minutes),
               kMinutesGrey);
  }
  if (done) s.drawSprite(30, y, kCellSize, kCellSize, kBmpScoreSprite, kCellDone, 0);
  int x = 100;
  {
    FontScope font(s, kTaskFont);
    s.drawText(x, y, t.text, colour);
    x += s.textWidth(t.text) + 40;
  }
  if (t.projectId != 0) {
    u16 name;
    if (projectNameById(app, t.projectId, name) == 1 && !name.empty()) {
      FontScope font(s, kProjectFont);
      s.drawText(x, y + 8, name, kProjectGreen);
      x += s.textWidth(name) + 30;
    }
  }
  if (t.category != 0) {
    s.drawBitmap(x, y + 7, kCategoryCell, kCategoryCell, kBmpCategorySquares, t.category * kCategoryCell, 0);
    x += 50;
  }
  if (done) {
    const int age = nonNegative(t.age);
    const u16 label = fmt(app.tr(Txt::PrevDayInDays), age, plural(age, 2));
    FontScope font(s, pages.fonts.small17);
    s.drawText(x, y + 8, label, kAgeColour);
    x += s.textWidth(label) + 30;
  }
  const int pomodoros = nonNegative(t.pomodoros);
  if (pomodoros >= 4) {
    const u16 count = fmt(u"%d", pomodoros);
    FontScope font(s, kTaskFont);
    s.drawText(x, y, count, colour);
    x += s.textWidth(count);
    s.drawSprite(x, y, kCellSize, kCellSize, kBmpScoreSprite, kCellPomodoro, 0);
  } else {
    for (int i = 0; i < pomodoros; ++i)
      s.drawSprite(x + i * 24, y, kCellSize, kCellSize, kBmpScoreSprite, kCellPomodoro, 0);
  }
}

u16 noTasksLine(const App& app) {
  const YesterdayArchive& ya = app.yesterday;
  if (!app.start.firstRunToday) {
    if (!ya.heading.empty()) return fmt(app.tr(Txt::PrevDayHeadingNoTasks), ya.heading);
    return app.tr(Txt::PrevDayStartedNoTasks);
  }
  if (ya.month == 0) return app.tr(Txt::PrevDayStartedNoTasks);
  if (app.language() == Language::ChineseSimplified)
    return fmt(app.tr(Txt::PrevDayDateNoTasks), dayNameChinese(ya.dayOfWeek), ya.month, ya.day, ya.year);
  return fmt(app.tr(Txt::PrevDayDateNoTasks), dayNameEnglish(ya.dayOfWeek), monthNameEnglish(ya.month), ya.day,
             ya.year);
}

u16 heading(const App& app) {
  const YesterdayArchive& ya = app.yesterday;
  // A later run of the day has only the stored heading; the first run still knows the
  // sheet's date and says it in the language of now.
  if (!app.start.firstRunToday || ya.month == 0) return ya.heading;
  if (app.language() == Language::ChineseSimplified)
    return fmt(u"您在%s(%d月%d日, %d年)", dayNameChinese(ya.dayOfWeek), ya.month, ya.day, ya.year);
  return fmt(u"On %s (%s %d, %d) you did", dayNameEnglish(ya.dayOfWeek), monthNameEnglish(ya.month), ya.day,
             ya.year);
}

// The old summary: the heading line, the completed lines, then the worked ones. Returns
// the y below the last line.
int drawLegacy(const App& app, Surface* s, int y, int h) {
  const YesterdayArchive& ya = app.yesterday;
  const FontSpec headingFont{u"Arial", 20, true};
  const FontSpec lineFont{u"Arial", 20};
  const auto draw = [&](int x, int top, u16v text, const FontSpec& f) {
    if (!s || !reachesBand(top, top + 40, y, h)) return;
    FontScope font(*s, f);
    s->drawText(x, top, text, kLegacyText);
  };
  if (!ya.completedLines.empty()) draw(70, 85, ya.completedLines.front(), headingFont);
  int top = 125;
  if (ya.completedLines.size() <= 1) {
    draw(50, top, u"-", lineFont);
    top += 40;
  }
  for (std::size_t i = 1; i < ya.completedLines.size(); ++i, top += 40) draw(50, top, ya.completedLines[i], lineFont);
  if (!ya.workedLines.empty()) {
    draw(70, top, app.tr(Txt::PrevDayLegacyAlsoWorked), headingFont);
    top += 40;
    for (const u16& line : ya.workedLines) {
      draw(50, top, line, lineFont);
      top += 40;
    }
  }
  return top;
}

}  // namespace

void drawPreviousDayView(const App& app, const PageSet& pages, Surface& s, int y, int h) {
  const YesterdayArchive& ya = app.yesterday;
  if (!ya.fromArchiveFile) {
    drawLegacy(app, &s, y, h);
    return;
  }
  const FontSpec bigFont = headingFont(app);
  if (ya.tasks.empty()) {
    FontScope font(s, bigFont);
    s.drawText(90, 90, noTasksLine(app), kDoneColour);
    return;
  }
  const bool chinese = app.language() == Language::ChineseSimplified;
  {
    const u16 text = heading(app);
    FontScope font(s, bigFont);
    const int width = std::min(pages.windowWidth, kPageWidth);
    s.drawText((width - s.textWidth(text)) / 2, chinese ? 102 : 90, text, kDoneColour);
  }

  Tallies tallies;
  const Layout l = layOut(app, &tallies);
  drawTallyPies(app, s, tallies, y, h);

  {
    FontScope font(s, bigFont);
    s.drawText(22, 500,
               l.completed > 0 ? fmt(app.tr(Txt::PrevDayCompleted), l.completed, plural(l.completed, 2))
                               : u16(app.tr(Txt::PrevDayCompletedNone)),
               kDoneColour);
    s.drawText(22, l.completedEnd() + 22,
               l.worked > 0 ? fmt(app.tr(Txt::PrevDayAlsoWorked), l.worked, plural(l.worked, 2))
                            : u16(app.tr(Txt::PrevDayAlsoWorkedNone)),
               kWorkedColour);
  }

  // Lines wholly outside the band are passed over without measuring anything.
  int completedTop = kCompletedTop;
  int workedTop = l.workedTop();
  for (const YesterdayTask& t : ya.tasks) {
    if (!isKnownCategory(t.category)) continue;
    int* top = isCompleted(t) ? &completedTop : isWorkedOnly(t) ? &workedTop : nullptr;
    if (!top) continue;
    if (reachesBand(*top - 10, *top + kLineHeight + 10, y, h)) drawTaskLine(app, pages, s, *top, t);
    *top += kLineHeight;
  }
}

int previousDayPageHeight(const App& app) {
  const YesterdayArchive& ya = app.yesterday;
  if (!ya.fromArchiveFile) return std::max(kMinPageHeight, drawLegacy(app, nullptr, 0, 0) + kBottomMargin);
  if (ya.tasks.empty()) {
    logLine(u"vYesterdayTaskList empty, size:%d", 0);
    return kMinPageHeight;
  }
  logLine(app.start.firstRunToday ? u"1st run today, make heading from last todo file." : u"Get heading from Archive");
  // The height is worked out when the list or the window changes, not at every paint: the
  // place to say which records the page leaves out. (The loading logs every record.)
  for (const YesterdayTask& t : ya.tasks)
    if ((isCompleted(t) || isWorkedOnly(t)) && !isKnownCategory(t.category))
      logLine(u"vYesterdayTaskList: Discarding corrupted element!");
  Tallies tallies;
  const Layout l = layOut(app, &tallies);
  return std::max({kMinPageHeight, l.workedEnd() + kBottomMargin, tallyPiesBottom(app, tallies) + kBottomMargin});
}

}  // namespace tirelmo
