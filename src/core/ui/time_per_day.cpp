#include "ui/time_per_day.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "app/app.h"
#include "base/dates.h"
#include "base/log.h"
#include "sheet/sheet.h"
#include "text/format.h"

namespace tirelmo {

namespace {

constexpr Rgb kBackground = rgb(235, 235, 245);
constexpr Rgb kPlotArea = rgb(248, 247, 237);
constexpr Rgb kAxis = rgb(200, 200, 200);
constexpr Rgb kBar = rgb(108, 119, 210);
constexpr Rgb kWeekend = rgb(217, 102, 146);
constexpr Rgb kWeekday = rgb(142, 146, 176);
constexpr Rgb kHeading = rgb(120, 120, 160);
constexpr Rgb kLabel = rgb(90, 90, 130);

constexpr int kMaxBarWidth = 18;
constexpr int kBarLabelRise = 22;
// Room a day number ("31" in the label font) needs so that its neighbours stay readable.
constexpr int kDayLabelRoom = 18;
// Hour labels closer than this would run into each other.
constexpr int kHourLabelRoom = 14;

// The archive's year byte holds 2000..2255: no month file exists outside those years.
constexpr ArchiveDate kArchiveFirst{2000, 1, 1};
constexpr ArchiveDate kArchiveLast{2255, 12, 31};


u16 minutesLabel(int minutes) {
  return minutes >= 60 ? fmt(u"%d:%02d'", minutes / 60, minutes % 60) : fmt(u"%d'", minutes);
}

FontSpec headingFont(Language lang) {
  return lang == Language::ChineseSimplified ? FontSpec{u"Microsoft YaHei", 26, true}
                                             : FontSpec{u"Segoe Print", 26, true};
}

}  // namespace

int dayLabelStep(int plotWidth, long days) {
  const long slots = std::max(days, 0L) + 1;
  const long slot = plotWidth / slots;
  if (slot > 20) return 1;
  if (slot > 10) return 2;
  // Every fourth day, or as many days as one number needs when even that would crowd them.
  long step = 4;
  while (step * plotWidth < kDayLabelRoom * slots) step *= 2;
  return static_cast<int>(std::min<long>(step, 1L << 30));
}

bool isChartRange(ArchiveDate from, ArchiveDate to) {
  return isCalendarDate(from.year, from.month, from.day) && isCalendarDate(to.year, to.month, to.day) &&
         archiveDayNumber(from) <= archiveDayNumber(to);
}

void drawTimePerDayChart(Surface& s, const ArchiveQueryResult& query, ArchiveDate from,
                         ArchiveDate to, Language lang) {
  s.fillRect(0, 0, kTimePerDayWidth, kTimePerDayHeight, kBackground);
  if (!isChartRange(from, to)) return;
  const TimePerDayPlot plot;
  const long first = archiveDayNumber(from);
  const long days = archiveDayNumber(to) - first + 1;

  // The minutes of each day: a day may come in several groups (lines of one day that are
  // not next to each other in the file, today's extra group).
  std::map<long, std::int64_t> dayMinutes;
  for (const DayGroup& g : query.groups) {
    if (g.month == 0 || !isCalendarDate(g.year + 2000, g.month, g.day)) continue;
    const long index = daysFromCivil(g.year + 2000, g.month, g.day) - first;
    if (index < 0 || index >= days || g.minutes == 0) continue;
    dayMinutes[index] += g.minutes;
  }
  std::int64_t largest = 0;
  for (const auto& [index, minutes] : dayMinutes) largest = std::max(largest, minutes);

  const auto title = text(Txt::TimePerDayTitle, lang);
  {
    FontScope font(s, headingFont(lang));
    s.drawText(plot.left, 4, title, kHeading);
  }
  {
    FontScope font(s, FontSpec{u"Arial", 16});
    // Chinese dates put the year first, so the two languages take their numbers in another order.
    const u16 range = lang == Language::ChineseSimplified
                          ? fmt(text(Txt::TimePerDayRangeYmd, lang), from.year, from.month, from.day, to.year,
                                to.month, to.day)
                          : fmt(text(Txt::TimePerDayRange, lang), monthNameEnglish(from.month), from.day,
                                from.year, monthNameEnglish(to.month), to.day, to.year);
    s.drawText(plot.left, 48, range, kHeading);
    const std::int64_t total = std::max<std::int64_t>(query.totalMinutes, 0);
    const u16 totalText = fmt(text(Txt::TimePerDayTotal, lang), total / 60, static_cast<int>(total % 60));
    s.drawText(plot.left + plot.width - s.textWidth(totalText), 48, totalText, kHeading);
  }

  s.fillRect(plot.left, plot.top, plot.width, plot.height, kPlotArea);
  s.line(plot.left, plot.top, plot.left, plot.bottom() + 1, kAxis);
  s.line(plot.left, plot.bottom(), plot.left + plot.width, plot.bottom(), kAxis);

  // Vertical axis: whole hours up to one above the longest day.
  const std::int64_t hours = largest / 60 + 1;
  const std::int64_t usable = plot.height - 30;
  const std::int64_t hourStep = usable / hours;
  // Past about ten days' worth of hours a whole-pixel step would be 0: scale exactly instead.
  auto heightOf = [&](std::int64_t minutes) {
    return static_cast<int>(hourStep > 0 ? minutes * hourStep / 60 : minutes * usable / (hours * 60));
  };
  FontScope labelFont(s, FontSpec{u"Arial", 13});
  {
    FontScope axisFont(s, FontSpec{u"Arial", 14, false, false, 900});
    const u16v axisName = text(Txt::TimePerDayAxis, lang);
    s.drawText(14, plot.top + plot.height / 2 + s.textWidth(axisName) / 2, axisName, kHeading);
  }
  std::int64_t hourLabelEvery = 1;
  while (heightOf(hourLabelEvery * 60) < kHourLabelRoom && hourLabelEvery < hours) hourLabelEvery *= 2;
  for (std::int64_t h = hourLabelEvery; h <= hours; h += hourLabelEvery) {
    const int y = plot.bottom() - heightOf(h * 60);
    s.line(plot.left - 4, y, plot.left + plot.width, y, kAxis);
    const u16 label = fmt(u"%dh", h);
    s.drawText(plot.left - 8 - s.textWidth(label), y - s.textHeight(label) / 2, label, kLabel);
  }

  // Horizontal axis: one slot a day, centred on the slot's right edge.
  const long slots = days + 1;
  auto xOf = [&](long index) {
    return plot.left + static_cast<int>(static_cast<std::int64_t>(index + 1) * plot.width / slots);
  };
  const long slot = plot.width / slots;
  const int firstDayOfWeek = dayOfWeekOf(from.year, from.month, from.day);
  const int step = dayLabelStep(plot.width, days);
  for (long i = 0; i < days; i += step) {
    const ArchiveDate d = archiveDateOfDayNumber(first + i);
    const int dow = static_cast<int>((firstDayOfWeek + i) % 7);
    const u16 label = fmt(u"%2d", d.day);
    s.drawText(xOf(i) - s.textWidth(label) / 2, plot.bottom() + 6, label,
               dow == 0 || dow == 6 ? kWeekend : kWeekday);
  }

  // Bars; where several days share a pixel column the longest stands for them.
  std::vector<std::pair<int, std::int64_t>> columns;
  for (const auto& [index, minutes] : dayMinutes) {
    const int x = xOf(index);
    if (!columns.empty() && columns.back().first == x) {
      columns.back().second = std::max(columns.back().second, minutes);
    } else {
      columns.emplace_back(x, minutes);
    }
  }
  const int barWidth = static_cast<int>(std::clamp<long>(slot - 4, 1, kMaxBarWidth));
  int lastLabelRight = plot.left - 1000;
  for (const auto& [x, minutes] : columns) {
    const int h = std::min(heightOf(minutes), plot.height);
    s.fillRect(x - barWidth / 2, plot.bottom() - h, barWidth, h, kBar);
    const u16 label = minutesLabel(static_cast<int>(std::min<std::int64_t>(minutes, 1 << 30)));
    const int w = s.textWidth(label);
    const int left = x - w / 2;
    // In thin slots the labels of neighbouring days would be drawn over each other.
    if (slot <= 10 && left < lastLabelRight) continue;
    s.drawText(left, plot.bottom() - h - kBarLabelRise, label, kLabel);
    lastLabelRight = left + w;
  }
}

std::optional<ArchiveQueryResult> queryTimePerDay(App& app, ArchiveDate from, ArchiveDate to,
                                                  const TodoRow& row) {
  logLine(u"From: %d %d %d", from.day, from.month, from.year);
  logLine(u"To: %d %d %d", to.day, to.month, to.year);
  if (!isChartRange(from, to)) {
    app.prompts.show(app.tr(Txt::TimePerDayBadInterval), app.tr(Txt::TimePerDayDateError), MsgButtons::Ok,
                     MsgIcon::Error);
    return std::nullopt;
  }
  // Today's minutes of the row reach the archive only at the next day start.
  const DayDate& today = app.start.today;
  const long todayNumber = daysFromCivil(today.year, today.month, today.day());
  const bool todayInRange = todayNumber >= archiveDayNumber(from) && todayNumber <= archiveDayNumber(to);
  DayGroup extra;
  const bool withExtra = todayInRange && isTodaySheet(app.sheet, today) && today.year >= 2000 && today.year <= 2255;
  if (withExtra) {
    extra.year = static_cast<std::uint8_t>(today.year - 2000);
    extra.month = static_cast<std::uint8_t>(today.month);
    extra.day = static_cast<std::uint8_t>(today.day());
    extra.dayOfWeek = static_cast<std::uint8_t>(today.dayOfWeek);
    extra.week = static_cast<std::uint8_t>(weekNumber(today.year, today.month, today.day(), today.dayOfWeek));
    extra.minutes = static_cast<std::uint16_t>(std::clamp(row.info.minutesToday, 0, 0xFFFF));
  }
  // The month files exist only for the archive's years: a picker range of centuries walks
  // just those.
  const ArchiveDate qFrom = archiveDayNumber(from) < archiveDayNumber(kArchiveFirst) ? kArchiveFirst : from;
  const ArchiveDate qTo = archiveDayNumber(to) > archiveDayNumber(kArchiveLast) ? kArchiveLast : to;
  if (archiveDayNumber(qFrom) > archiveDayNumber(qTo)) return ArchiveQueryResult{};
  return queryDoneArchive(qFrom, qTo, ArchiveQueryMode::Text, 0, oneLineText(row.text),
                          withExtra ? &extra : nullptr);
}

}  // namespace tirelmo
