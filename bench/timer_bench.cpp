// What the pomodoro timer costs between two ticks: the 1,500 ticks of a 25-minute pomodoro,
// from the start command to the recorded score, with a window side that does nothing.
#include <benchmark/benchmark.h>

#include "app/app.h"
#include "support/fakes.h"
#include "timer/pomodoro_timer.h"

namespace tirelmo {
namespace {

class SilentTimerUi : public TimerUi {
 public:
  void startTicking() override {}
  void stopTicking() override {}
  void nudgeInput() override {}
  void setTitle(u16v t) override { benchmark::DoNotOptimize(t.data()); }
  void setWindowIcon(int) override {}
  void drawBlinkMarker(int, bool) override {}
  void eraseBlinkMarker(int) override {}
  void showStopButton(bool) override {}
  void setBusyCursor(bool) override {}
  void minimizeMainWindow() override {}
  void restoreMainWindow() override {}
  void flashMainWindow() override {}
  void bringToForeground() override {}
  void redrawPage() override {}
  void selectRow(int) override {}
  void playSound(u16v, bool) override {}
  void stopSound() override {}
  void drawTimerPicture(const TimerPicture& p) override { benchmark::DoNotOptimize(p.units.x); }
  void openTimerWindow(const TimerWindowSetup&) override {}
  void closeTimerWindow() override {}
  PomodoroOutcome askPomodoroEnd(const TimeElapsedPicture&) override { return PomodoroOutcome::Ok; }
  void showBreakEnd(const BreakElapsedPicture&) override {}
};

void BM_WholePomodoroTicks(benchmark::State& state) {
  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app(clock, prompts, system);
  clock.set(2021, 5, 14, 10, 0);
  app.start.today = DayDate::from(clock.now());
  app.sheet.sheetFileName = u"DailyTask_2021-5-14-5.pm6";
  app.sheet.rows[4].text = u"Benchmark the timer";
  app.ui.currentRow = 4;
  app.settings.breaktimerminutes = 0;  // one period per iteration
  SilentTimerUi ui;
  for (auto _ : state) {
    app.sheet.rows[4].pomodoros = 0;  // the counters stay far from their caps
    app.sheet.rows[4].info.minutesToday = 0;
    startTimer(app, ui);
    for (int i = 0; i < 1500; ++i) onTimerTick(app, ui);
    benchmark::DoNotOptimize(app.sheet.rows[4].pomodoros);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 1500);
}
BENCHMARK(BM_WholePomodoroTicks);

}  // namespace
}  // namespace tirelmo
