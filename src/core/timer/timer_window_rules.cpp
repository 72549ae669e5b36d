#include "timer/timer_window_rules.h"

#include <algorithm>

#include "app/app.h"
#include "stats/month_stats.h"
#include "storage/settings.h"
#include "text/format.h"

namespace tirelmo {

namespace {

constexpr Txt kStyleNames[kTimerStyleCount] = {Txt::TimerStyleClassic, Txt::TimerStyleGrey,
                                               Txt::TimerStyleLightGrey, Txt::TimerStyleYellow,
                                               Txt::TimerStyleBlue};

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

const TodoRow* timerRow(const App& app) {
  return app.sheet.validRow(app.timer.row) ? &app.sheet.rows[static_cast<std::size_t>(app.timer.row)] : nullptr;
}

}  // namespace

u16 firstUnits(u16v text, std::size_t n) {
  if (text.size() <= n) return u16(text);
  if (n > 0 && isHighSurrogate(text[n - 1])) --n;
  return u16(text.substr(0, n));
}

int timerStyleIndex(int timerType) {
  return timerType >= 0 && timerType < kTimerStyleCount ? timerType : static_cast<int>(TimerStyle::Classic);
}

TimerPicture timerPicture(int remainingMinutes, int timerType, bool isBreak, Language lang) {
  const int minutes = std::clamp(remainingMinutes, 0, 99);
  const int y = timerStyleIndex(timerType) * kDigitHeight;
  const int tens = minutes / 10;
  TimerPicture p;
  p.tens = {tens == 0 ? kBlankDigitX : tens * kDigitWidth, y};
  p.units = {(minutes % 10) * kDigitWidth, y};
  p.showBreakWord = isBreak;
  if (isBreak) p.breakWord = text(Txt::TimerBreakWord, lang);
  return p;
}

std::uint8_t timerWindowAlpha(int timerType, bool isBreak) {
  switch (static_cast<TimerStyle>(timerStyleIndex(timerType))) {
    case TimerStyle::Classic: return 204;
    case TimerStyle::LightGrey:
    case TimerStyle::Blue: return isBreak ? 102 : 127;
    case TimerStyle::Grey:
    case TimerStyle::Yellow: return 102;
  }
  return 204;
}

ScreenPoint timerWindowPosition(const Settings& settings, int screenWidth, int screenHeight) {
  // Compared as unsigned, as the settings load does: a negative corner counts as beyond the
  // screen too.
  const auto beyond = [](std::int32_t v, int limit) {
    return static_cast<std::uint32_t>(v) > static_cast<std::uint32_t>(std::max(limit, 0));
  };
  return {beyond(settings.tmrwndx, screenWidth) ? 0 : settings.tmrwndx,
          beyond(settings.tmrwndy, screenHeight) ? 0 : settings.tmrwndy};
}

TimerWindowSetup timerWindowSetup(const App& app) {
  TimerWindowSetup s;
  s.position = timerWindowPosition(app.settings, app.system.screenWidth(), app.system.screenHeight());
  s.alpha = timerWindowAlpha(app.settings.timerType, app.timer.isBreak);
  if (app.timer.isBreak) {
    s.title = app.tr(Txt::TimerWindowBreakTitle);
  } else {
    const TodoRow* row = timerRow(app);
    s.title = fmt(app.tr(Txt::TimerWindowTitle), row ? firstUnits(row->text, kRowTextMax) : u16());
  }
  s.stopTip = app.tr(Txt::TimerStopTimer);
  return s;
}

u16 timerTooltipText(const App& app) {
  const DayStats& day = todayTotals(app);
  if (app.timer.isBreak) return fmt(app.tr(Txt::TimerTipBreak), day.pomodoros, day.done);
  const TodoRow* row = timerRow(app);
  return fmt(app.tr(Txt::TimerTipPomodoro), row ? firstUnits(row->text, kTimerTipTaskUnits) : u16(), day.pomodoros,
             day.done);
}

Menu buildTimerWindowMenu(const App& app) {
  Menu menu;
  MenuItem stop;
  stop.command = kCmdTimerStop;
  stop.label = app.tr(Txt::TimerStopTimer);
  menu.push_back(stop);
  MenuItem separator;
  separator.separator = true;
  menu.push_back(separator);
  const int current = timerStyleIndex(app.settings.timerType);
  for (int i = 0; i < kTimerStyleCount; ++i) {
    MenuItem style;
    style.command = kCmdTimerStyleFirst + i;
    style.label = app.tr(kStyleNames[i]);
    style.checked = i == current;
    menu.push_back(style);
  }
  menu.push_back(separator);
  MenuItem show;
  show.command = kCmdShowMainWindow;
  show.label = app.tr(Txt::TimerDisplayMainWindow);
  menu.push_back(show);
  return menu;
}

std::vector<int> timerMenuCommands(int chosenCommand) {
  if (chosenCommand == 0) return {};  // the menu was dismissed
  if (chosenCommand == kCmdTimerStop) return {kCmdTimerStop, kCmdShowMainWindow};
  return {chosenCommand};
}

bool setTimerStyleFromCommand(Settings& settings, int command) {
  if (command < kCmdTimerStyleFirst || command > kCmdTimerStyleLast) return false;
  settings.timerType = command - kCmdTimerStyleFirst;
  return true;
}

TimeElapsedPicture timeElapsedPicture(const TodoRow& row, Language lang) {
  TimeElapsedPicture p;
  p.caption = text(Txt::TimeElapsedCaption, lang);
  p.message = text(Txt::TimeElapsedText, lang);
  p.taskText = firstUnits(row.text, kTimeElapsedTaskUnits);
  p.category = row.info.category;
  const int present = row.info.ageDays + 1;
  if (row.pastPomodoros != 0) p.tomatoLines.push_back(fmt(text(Txt::TimeElapsedPast, lang), row.pastPomodoros));
  if (row.pomodoros != 0) p.tomatoLines.push_back(fmt(text(Txt::TimeElapsedToday, lang), row.pomodoros));
  p.tomatoLines.push_back(fmt(text(Txt::TimeElapsedPresent, lang), present));
  p.okLabel = text(Txt::DialogOk, lang);
  p.doneLabel = text(Txt::TimeElapsedDone, lang);
  p.abandonLabel = text(Txt::TimeElapsedAbandon, lang);
  p.cancelLabel = text(Txt::DialogCancel, lang);
  return p;
}

BreakElapsedPicture breakElapsedPicture(Language lang) {
  return {text(Txt::BreakElapsedCaption, lang), text(Txt::BreakElapsedText, lang), text(Txt::DialogOk, lang)};
}

}  // namespace tirelmo
