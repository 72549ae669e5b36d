#include "timer/timer_window_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "support/fakes.h"

namespace tirelmo {
namespace {

class TimerWindowRulesTest : public ::testing::Test {
 protected:
  TimerWindowRulesTest() : app(clock, prompts, system) {}
  void runPomodoroOn(int row, u16 text) {
    app.sheet.rows[static_cast<std::size_t>(row)].text = std::move(text);
    app.timer.running = true;
    app.timer.isBreak = false;
    app.timer.row = row;
  }

  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app;
};

TEST(TimerPictureTest, DigitsAreCutFromTheStyleRow) {
  // 7 minutes: blank tens image, units 7, Classic row.
  TimerPicture p = timerPicture(7, 0, false, Language::English);
  EXPECT_EQ(p.tens, (DigitImage{280, 0}));
  EXPECT_EQ(p.units, (DigitImage{196, 0}));
  EXPECT_FALSE(p.showBreakWord);
  EXPECT_TRUE(p.breakWord.empty());

  // 10 and 42 minutes show a real tens digit; the style picks the row (y = style x 56).
  p = timerPicture(10, 2, false, Language::English);
  EXPECT_EQ(p.tens, (DigitImage{28, 112}));
  EXPECT_EQ(p.units, (DigitImage{0, 112}));
  p = timerPicture(42, 4, false, Language::English);
  EXPECT_EQ(p.tens, (DigitImage{112, 224}));
  EXPECT_EQ(p.units, (DigitImage{56, 224}));

  // Zero left: blank and 0.
  p = timerPicture(0, 3, false, Language::English);
  EXPECT_EQ(p.tens, (DigitImage{280, 168}));
  EXPECT_EQ(p.units, (DigitImage{0, 168}));

  p = timerPicture(5, 1, true, Language::English);
  EXPECT_TRUE(p.showBreakWord);
  EXPECT_EQ(p.breakWord, u"BREAK");
  EXPECT_EQ(timerPicture(5, 1, true, Language::ChineseSimplified).breakWord, u"休息");
}

TEST(TimerPictureTest, ValuesBeyondTheStripStayInsideIt) {
  // A damaged "Timer Type" draws as Classic rather than cutting below the strip.
  EXPECT_EQ(timerPicture(12, 9, false, Language::English).units.y, 0);
  EXPECT_EQ(timerPicture(12, -1, false, Language::English).tens.y, 0);
  // Minutes that two digits cannot show are held at the ends.
  TimerPicture p = timerPicture(130, 0, false, Language::English);
  EXPECT_EQ(p.tens.x, 9 * 28);
  EXPECT_EQ(p.units.x, 9 * 28);
  p = timerPicture(-1, 0, false, Language::English);
  EXPECT_EQ(p.tens.x, 280);
  EXPECT_EQ(p.units.x, 0);
}

TEST(TimerPictureTest, TransparencyByStyleAndPeriod) {
  struct Case {
    int style;
    std::uint8_t pomodoro, pause;
  };
  const Case cases[] = {{0, 204, 204}, {1, 102, 102}, {2, 127, 102}, {3, 102, 102}, {4, 127, 102}, {7, 204, 204}};
  for (const Case& c : cases) {
    EXPECT_EQ(timerWindowAlpha(c.style, false), c.pomodoro) << c.style;
    EXPECT_EQ(timerWindowAlpha(c.style, true), c.pause) << c.style;
  }
}

TEST_F(TimerWindowRulesTest, TooltipShowsTheTaskCutTo30AndTodaysCounts) {
  // 40 characters: the tip keeps 30 of them and adds the two dots inside the quotes.
  runPomodoroOn(6, u"Prepare the quarterly report for Andrea");
  ASSERT_EQ(app.sheet.rows[6].text.size(), 39u);
  app.sheet.rows[6].text += u"!";
  app.sheet.dayTotals.pomodoros = 3;
  app.sheet.dayTotals.done = 2;
  EXPECT_EQ(timerTooltipText(app), u"Task: 'Prepare the quarterly report f..'\r\rToday: Pomodoro® 3\tTask Done 2\r");

  app.timer.isBreak = true;
  EXPECT_EQ(timerTooltipText(app), u"Today: Pomodoro® 3\tTask Done 2\r");

  // A surrogate pair at the cut is kept whole or not at all.
  EXPECT_EQ(firstUnits(u"ab\U0001F345cd", 3), u"ab");
  EXPECT_EQ(firstUnits(u"ab\U0001F345cd", 4), u"ab\U0001F345");
  EXPECT_EQ(firstUnits(u"short", 30), u"short");
}

TEST_F(TimerWindowRulesTest, OpeningSetupFollowsThePeriodAndTheStoredCorner) {
  runPomodoroOn(2, u"Call the bank");
  app.settings.timerType = 4;
  app.settings.tmrwndx = 1500;
  app.settings.tmrwndy = 700;
  TimerWindowSetup s = timerWindowSetup(app);
  EXPECT_EQ(s.title, u"Timer on: Call the bank");
  EXPECT_EQ(s.alpha, 127);
  EXPECT_EQ(s.position, (ScreenPoint{1500, 700}));
  EXPECT_EQ(s.stopTip, u"Stop Timer");

  // The screen shrank since the position was stored; a negative corner is as far off.
  system.width = 1280;
  system.height = 1024;
  EXPECT_EQ(timerWindowSetup(app).position, (ScreenPoint{0, 700}));
  app.settings.tmrwndx = -20;
  app.settings.tmrwndy = 1024;
  EXPECT_EQ(timerWindowSetup(app).position, (ScreenPoint{0, 1024}));

  app.timer.isBreak = true;
  s = timerWindowSetup(app);
  EXPECT_EQ(s.title, u"*Break-time*");
  EXPECT_EQ(s.alpha, 102);
}

TEST_F(TimerWindowRulesTest, ContextMenuChecksTheCurrentStyle) {
  app.settings.timerType = 2;
  const Menu m = buildTimerWindowMenu(app);
  ASSERT_EQ(m.size(), 9u);
  EXPECT_EQ(m[0].label, u"Stop Timer");
  EXPECT_EQ(m[0].command, 1110);
  EXPECT_TRUE(m[1].separator);
  const std::vector<u16> styles = {u"Classic", u"Grey", u"Light Grey", u"Yellow", u"Blue"};
  for (int i = 0; i < 5; ++i) {
    const MenuItem& item = m[static_cast<std::size_t>(2 + i)];
    EXPECT_EQ(item.label, styles[static_cast<std::size_t>(i)]);
    EXPECT_EQ(item.command, 1536 + i);
    EXPECT_EQ(item.checked, i == 2);
  }
  EXPECT_TRUE(m[7].separator);
  EXPECT_EQ(m[8].label, u"Display Main Window");
  EXPECT_EQ(m[8].command, 1512);

  app.settings.language = u"Chinese (Simplified)";
  EXPECT_EQ(buildTimerWindowMenu(app)[4].label, u"浅灰色");

  // Stop from the menu also brings the main window back.
  EXPECT_EQ(timerMenuCommands(1110), (std::vector<int>{1110, 1512}));
  EXPECT_EQ(timerMenuCommands(1539), (std::vector<int>{1539}));
  EXPECT_TRUE(timerMenuCommands(0).empty());

  Settings s;
  EXPECT_TRUE(setTimerStyleFromCommand(s, 1538));
  EXPECT_EQ(s.timerType, 2);
  EXPECT_FALSE(setTimerStyleFromCommand(s, 1535));
  EXPECT_FALSE(setTimerStyleFromCommand(s, 1541));
  EXPECT_EQ(s.timerType, 2);
}

TEST(TimeElapsedPictureTest, ShowsTheTaskAndItsNonZeroCounts) {
  TodoRow r;
  r.text = u"0123456789012345678901234567890123456789012345678901234";  // 55 units
  r.info.category = 3;
  r.pastPomodoros = 4;
  r.pomodoros = 0;
  r.info.ageDays = 2;
  TimeElapsedPicture p = timeElapsedPicture(r, Language::English);
  EXPECT_EQ(p.caption, u"Time-out!");
  EXPECT_EQ(p.message, u"Time out!");
  EXPECT_EQ(p.taskText, u"012345678901234567890123456789012345678901234");
  EXPECT_EQ(p.category, 3);
  EXPECT_EQ(p.tomatoLines, (std::vector<u16>{u" 4       in the past days", u" 3 times present in ToDo list"}));
  EXPECT_EQ(p.okLabel, u"OK");
  EXPECT_EQ(p.doneLabel, u"Done");
  EXPECT_EQ(p.abandonLabel, u"Abandon");
  EXPECT_EQ(p.cancelLabel, u"Cancel");

  r.pastPomodoros = 0;
  r.pomodoros = 12;
  r.info.ageDays = 0;
  p = timeElapsedPicture(r, Language::English);
  EXPECT_EQ(p.tomatoLines, (std::vector<u16>{u"12       today", u" 1 times present in ToDo list"}));

  const BreakElapsedPicture b = breakElapsedPicture(Language::English);
  EXPECT_EQ(b.caption, u"BreakTime out!");
  EXPECT_EQ(b.message, u"It's time to work!");
}

}  // namespace
}  // namespace tirelmo
