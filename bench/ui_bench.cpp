// What drawing the ToDo page costs in the core, on the recording canvas: the whole page
// (after a skin or size change) and one row (after every score change). The platform's
// pixel work comes on top; this measures the layout and the calls the core makes.
#include <benchmark/benchmark.h>

#include "../tests/support/recording_canvas.h"
#include "app/app.h"
#include "ui/page_view.h"
#include "ui/pages.h"
#include "ui/projects_page.h"
#include "ui/sheet_page.h"
#include "ui/statistics_pages.h"

namespace tirelmo {
namespace {

struct QuietClock : Clock {
  LocalTime now() const override { return LocalTime{2021, 3, 5, 5, 9, 30, 0, 0}; }
};
struct QuietPrompts : Prompts {
  MsgAnswer show(u16v, u16v, MsgButtons, MsgIcon) override { return MsgAnswer::Ok; }
};
struct QuietSystem : SystemInfo {
  u16 executablePath() override { return u"C:\\Tirelmo\\bin\\Tirelmo.exe"; }
  bool appDataFolder(u16&) override { return false; }
  bool computerName(u16&) override { return false; }
  bool userName(u16&) override { return false; }
  std::optional<OsVersion> osVersion() override { return std::nullopt; }
  std::uint16_t uiLanguageId() override { return 0x0409; }
  std::uint16_t keyboardLayoutId() override { return 0x0409; }
  u16 languageName() override { return u"English"; }
  int screenWidth() override { return 1920; }
  int screenHeight() override { return 1080; }
  u16 ansiToUtf16(std::string_view b) override { return widenLatin1(b); }
  std::string utf16ToAnsi(u16v) override { return {}; }
};

// A busy day: every row holds a task with scores, a category, a project and a deadline.
struct BusyDay {
  QuietClock clock;
  QuietPrompts prompts;
  QuietSystem system;
  App app{clock, prompts, system};
  test::RecordingGraphics graphics;
  PageSet pages{graphics};

  explicit BusyDay(const char16_t* skin) {
    app.settings.skin = skin;
    app.start.today = DayDate{2021, 3, 5, 4};
    app.start.displayedSheetDate = app.start.today;
    app.projects.active.push_back(Project{1, u"Website relaunch"});
    for (int r = 0; r < kSheetRows; ++r) {
      TodoRow& row = app.sheet.rows[static_cast<std::size_t>(r)];
      row.text = u"Write the quarterly report for the board";
      row.pomodoros = static_cast<std::uint8_t>(r % 6);
      row.estimated = static_cast<std::uint8_t>(r % 9);
      row.internalInterruptions = static_cast<std::uint8_t>(r % 5);
      row.info.category = static_cast<std::uint8_t>(r % 13);
      row.info.projectId = 1;
      row.info.ageDays = static_cast<std::uint8_t>(r % 3);
      row.info.pastMinutes = 30 * r;
      row.info.minutesToday = 25 * (r % 4);
      row.info.flags = rowflag::kDeadline;
      row.info.deadlineYear = 21, row.info.deadlineMonth = 3, row.info.deadlineDay = 20;
    }
    // The Todolist in view: all 50 rows hold tasks like the sheet's.
    for (int r = 0; r < kTodolistRows; ++r)
      app.todolist.rows[static_cast<std::size_t>(r)] = app.sheet.rows[static_cast<std::size_t>(r % kSheetRows)];
    preparePages(pages, app);
  }
  test::RecordingSurface view{graphics, kPageWidth, 1000};
  // The recording surface keeps every call: empty it so memory stays flat.
  void forget() { view.clear(); }
};

// One paint of a 1000 x 1000 window at the top of the page.
void BM_DrawSheetView(benchmark::State& state) {
  BusyDay day(state.range(0) == 0 ? u"compact white" : u"cleanwhite");
  for (auto _ : state) {
    drawPageView(day.app, day.pages, day.view, 0, 0, 0, 1000, 1000);
    state.PauseTiming();
    day.forget();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DrawSheetView)->Arg(0)->Arg(2);

// One paint of a 1000 x 1000 window of Next Things, as after a list switch.
void BM_DrawListView(benchmark::State& state) {
  BusyDay day(u"cleanwhite");
  for (auto _ : state) {
    drawPageView(day.app, day.pages, day.view, kPageNextThings, 0, 0, 1000, 1000);
    state.PauseTiming();
    day.forget();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DrawListView);

// One row's strip, as a row change repaints it.
void BM_DrawSheetRow(benchmark::State& state) {
  BusyDay day(u"cleanwhite");
  int row = 0;
  for (auto _ : state) {
    const int top = rowTopOf(day.pages.sheet, row);
    drawPageView(day.app, day.pages, day.view, 0, 0, top, 1000, day.pages.sheet.rowHeight);
    row = (row + 1) % kSheetRows;
    if (row == 0) {
      state.PauseTiming();
      day.forget();
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_DrawSheetRow);

// What a row editor's paint draws behind its text: every call is one the platform must clip.
void BM_PaintRowEditor(benchmark::State& state) {
  BusyDay day(state.range(0) == 0 ? u"compact white" : u"cleanwhite");
  const RowEditorRect r = rowEditorRect(day.pages, 3);
  test::RecordingSurface editor{day.graphics, r.w, r.h};
  const RowEditorStyle style = rowEditorStyle(day.app, day.pages, 3);
  std::size_t calls = 0;
  for (auto _ : state) {
    paintRowEditor(day.app, day.pages, editor, 3, u"Write the quarterly report", 0, 0, style);
    calls = editor.ops.size();
    editor.clear();
  }
  state.counters["calls"] = static_cast<double>(calls);
}
BENCHMARK(BM_PaintRowEditor)->Arg(0)->Arg(2);

// One paint of the Performance page at its full height, a month of busy days behind it.
void BM_DrawPerformanceView(benchmark::State& state) {
  BusyDay day(u"cleanwhite");
  day.app.start.today = DayDate{2021, 3, 3, 30};
  day.pages.windowWidth = kPageWidth;
  for (int d = 0; d < kMonthDays; ++d) {
    DayStats& s = day.app.month.days[static_cast<std::size_t>(d)];
    s.used = 1;
    s.pomodoros = static_cast<std::uint8_t>(d % 11);
    s.abandoned = static_cast<std::uint8_t>(d % 3);
    s.internalInterruptions = static_cast<std::uint8_t>(d % 7);
    s.externalInterruptions = static_cast<std::uint8_t>(d % 4);
    s.setWorkedTime(37 * d);
  }
  for (auto _ : state) {
    drawPerformanceView(day.app, day.pages, day.view, 0, 1200);
    state.PauseTiming();
    day.forget();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DrawPerformanceView);

// One paint of a 1000-pixel band of the History page of a busy month (600 archived tasks):
// at the top, with the title and the charts, and deep down among the rows.
void BM_DrawHistoryView(benchmark::State& state) {
  BusyDay day(u"cleanwhite");
  for (int i = 0; i < 600; ++i) {
    DoneTaskEntry e;
    e.year = 2021, e.month = 3, e.day = 1 + i / 20, e.description = u"Write the quarterly report for the board";
    e.inProgress = i % 3 == 0 ? 1 : 0;
    e.minutesWorked = 25 + i % 90, e.totalMinutes = 40 + i % 200;
    e.projectId = i % 4 == 0 ? 0 : 1, e.category = i % 13;
    day.app.doneArchive.currentMonth.push_back(e);
  }
  const int top = state.range(0) == 0 ? 0 : historyPageHeight(day.app) / 2;
  for (auto _ : state) {
    drawHistoryView(day.app, day.pages, day.view, top, 1000);
    state.PauseTiming();
    day.forget();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DrawHistoryView)->Arg(0)->Arg(1);

// One paint of a 1000-pixel band of the Projects page with ten active projects and a report
// over the last 30 days (the archive query included): at the top with the pie chart and the
// report, and lower down among twenty closed projects.
void BM_DrawProjectsView(benchmark::State& state) {
  BusyDay day(u"cleanwhite");
  day.app.projects.active.clear();
  for (int i = 1; i <= 10; ++i) {
    Project p;
    p.id = i, p.name = u"Website relaunch", p.workedHours = static_cast<std::uint32_t>(3 * i);
    p.workedMinutes = static_cast<std::uint32_t>(7 * i % 60), p.minutesToday = static_cast<std::uint16_t>(25 * (i % 3));
    day.app.projects.active.push_back(p);
  }
  for (int i = 0; i < 20; ++i) day.app.projects.closed.push_back(Project{100 + i, u"Migration to the new server", 40});
  const int top = state.range(0) == 0 ? 0 : 1000;
  for (auto _ : state) {
    drawProjectsView(day.app, day.pages, day.view, top, 1000);
    state.PauseTiming();
    day.forget();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DrawProjectsView)->Arg(0)->Arg(1);

}  // namespace
}  // namespace tirelmo
