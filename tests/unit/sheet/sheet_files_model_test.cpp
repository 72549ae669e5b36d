// Long random runs of edits, saves, loads and day starts against a simple model of what
// the sheet must keep: no task is ever lost, and the loaded sheet always satisfies the
// sheet's invariants.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "app/day_start.h"
#include "app/sheet_io.h"
#include "sheet/sheet_files.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

class SheetFilesModelTest : public test::SheetTest, public ::testing::WithParamInterface<unsigned> {
 protected:
  std::mt19937 rng{GetParam()};
  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  bool coin(int percent) { return pick(1, 100) <= percent; }

  u16 randomText() {
    static const char16_t alphabet[] = u"abc XYZ-'\"%,äß€中文\x0A";
    const int len = coin(10) ? pick(170, 200) : pick(1, 40);
    u16 t;
    for (int i = 0; i < len; ++i) t.push_back(alphabet[pick(0, static_cast<int>(std::size(alphabet)) - 2)]);
    return t;
  }

  // An edit as the scores and row commands would leave it: any counters, flags and minutes.
  void editRandomRow() {
    TodoRow& r = row(pick(0, 24));
    if (isSeparatorText(r.text)) return;
    if (coin(15)) {
      r.clear();
      return;
    }
    r.text = randomText();
    r.pomodoros = static_cast<std::uint8_t>(pick(0, 255));
    r.abandoned = static_cast<std::uint8_t>(pick(0, 3));
    r.internalInterruptions = static_cast<std::uint8_t>(pick(0, 255));
    r.externalInterruptions = static_cast<std::uint8_t>(pick(0, 5));
    r.estimated = static_cast<std::uint8_t>(pick(0, 9));
    r.done = coin(30) ? 1 : 0;
    r.pastPomodoros = static_cast<std::uint8_t>(pick(0, 255));
    r.pastAbandoned = static_cast<std::uint8_t>(pick(0, 255));
    r.info.category = static_cast<std::uint8_t>(pick(0, 12));
    r.info.minutesToday = pick(0, 600);
    r.info.pastMinutes = pick(0, 100000);
    r.info.projectId = pick(0, 3);
    r.info.flags = static_cast<std::uint8_t>(pick(0, 7));
    r.info.ageDays = static_cast<std::uint8_t>(pick(0, 255));
    r.info.deadlineYear = static_cast<std::uint8_t>(pick(0, 30));
    r.info.reserved2 = pick(-5, 5);
  }

  // What a stored and reloaded task row must be.
  static TodoRow stored(TodoRow r) {
    r.text = r.text.substr(0, kRowTextMax);
    r.info.flags &= rowflag::kRepeat | rowflag::kDeadline;
    std::fill(std::begin(r.info.insertDate), std::end(r.info.insertDate), 0);
    return r;
  }

  // What the next day must make of a task row.
  static TodoRow carried(TodoRow r) {
    if (r.isDone()) {
      if (!r.hasFlag(rowflag::kRepeat)) return TodoRow();
      TodoRow back;
      back.text = r.text;
      back.info.category = r.info.category;
      back.info.projectId = r.info.projectId;
      back.info.flags = rowflag::kRepeat;
      return back;
    }
    r.pastPomodoros = static_cast<std::uint8_t>(r.pastPomodoros + r.pomodoros);
    r.pastAbandoned = static_cast<std::uint8_t>(r.pastAbandoned + r.abandoned);
    r.pastInternal = static_cast<std::uint8_t>(r.pastInternal + r.internalInterruptions);
    r.pastExternal = static_cast<std::uint8_t>(r.pastExternal + r.externalInterruptions);
    r.info.pastMinutes += r.info.minutesToday;
    r.pomodoros = r.abandoned = r.internalInterruptions = r.externalInterruptions = 0;
    r.info.minutesToday = 0;
    if (r.info.ageDays < 255) ++r.info.ageDays;
    return r;
  }

  std::vector<TodoRow> tasks() {
    std::vector<TodoRow> out;
    for (const TodoRow& r : app.sheet.rows)
      if (!r.isFree() && !isSeparatorText(r.text)) out.push_back(r);
    return out;
  }

  static std::vector<TodoRow> sorted(std::vector<TodoRow> v) {
    std::sort(v.begin(), v.end(), [](const TodoRow& a, const TodoRow& b) { return a.text < b.text; });
    return v;
  }

  void checkInvariants(const char* after) {
    SCOPED_TRACE(after);
    const TodoSheet& s = app.sheet;
    int separators = 0;
    DayStats sum;
    std::int32_t minutes = 0;
    for (int i = 0; i < 25; ++i) {
      const TodoRow& r = s.rows[static_cast<std::size_t>(i)];
      EXPECT_TRUE(!r.isFree() || r == TodoRow()) << "free row " << i;
      if (isSeparatorText(r.text)) {
        ++separators;
        EXPECT_EQ(i, s.separatorIndex);
        EXPECT_EQ(r.info, RowInfo());
        EXPECT_EQ(r.pomodoros + r.pastPomodoros + r.done + r.estimated, 0);
      }
      EXPECT_LE(r.done, 1);
      EXPECT_LE(r.text.size(), kRowTextMax);
      EXPECT_EQ(r.info.flags & ~(rowflag::kRepeat | rowflag::kDeadline), 0);
      EXPECT_EQ(s.look[static_cast<std::size_t>(i)], r.isDone() ? RowLook::Done : RowLook::Normal);
      sum.pomodoros = static_cast<std::uint8_t>(sum.pomodoros + r.pomodoros);
      sum.abandoned = static_cast<std::uint8_t>(sum.abandoned + r.abandoned);
      sum.internalInterruptions = static_cast<std::uint8_t>(sum.internalInterruptions + r.internalInterruptions);
      sum.externalInterruptions = static_cast<std::uint8_t>(sum.externalInterruptions + r.externalInterruptions);
      sum.estimated = static_cast<std::uint8_t>(sum.estimated + r.estimated);
      sum.done = static_cast<std::uint8_t>(sum.done + r.done);
      minutes += r.info.minutesToday;
    }
    EXPECT_EQ(separators, s.separatorIndex == -1 ? 0 : 1);
    sum.used = s.dayTotals.used;
    sum.workedHours = static_cast<std::uint8_t>(minutes / 60);
    sum.workedMinutes = static_cast<std::uint8_t>(minutes % 60);
    EXPECT_EQ(s.dayTotals, sum);
  }

  void saveAndReload() {
    std::vector<TodoRow> before;
    for (TodoRow r : tasks()) before.push_back(stored(std::move(r)));
    ASSERT_TRUE(saveTodoSheet(app, false));
    resetTodoSheet(app.sheet);
    ASSERT_TRUE(loadTodoSheetPm6(app, app.settings.last2dofilename, nullptr, ProjectCredit::Skip));
    checkInvariants("reload");
    // The separator may take a row's place, but the task moves to a free row: none is lost.
    EXPECT_EQ(sorted(tasks()), sorted(before));
  }

  void nextDay() {
    const std::vector<TodoRow> before = app.sheet.rows;
    const int separator = app.sheet.separatorIndex;
    ASSERT_TRUE(saveTodoSheet(app, false));
    int y = app.start.today.year, m = app.start.today.month, d = app.start.today.day() + 1;
    if (d > 28) d = 1, m = m % 12 + 1, y += m == 1 ? 1 : 0;
    startRunOn(y, m, d);
    ASSERT_EQ(startDay(app), DayStartOutcome::Done);
    ASSERT_TRUE(app.start.firstRunToday);
    checkInvariants("day start");
    for (int i = 0; i < 25; ++i) {
      const TodoRow& was = before[static_cast<std::size_t>(i)];
      const TodoRow& now = row(i);
      if (i == separator) {
        EXPECT_TRUE(isSeparatorText(now.text)) << i;
      } else if (!was.isFree()) {
        EXPECT_EQ(now, carried(stored(was))) << "row " << i;
      } else if (!isSeparatorText(now.text)) {
        EXPECT_TRUE(now.isFree()) << i;
      }
    }
  }
};

TEST_P(SheetFilesModelTest, RandomRunsKeepEveryTaskAndTheInvariants) {
  // Start from a loaded sheet, as every run does.
  row(0).text = u"seed task";
  saveAndReload();
  for (int step = 0; step < 120 && !HasFailure(); ++step) {
    const int op = pick(1, 100);
    if (op <= 55) {
      editRandomRow();
    } else if (op <= 60) {
      // A second separator text typed into a row: the next load keeps only the first.
      row(pick(0, 24)).text = kSeparatorText;
    } else if (op <= 85) {
      saveAndReload();
    } else {
      // The day start reads the saved sheet; edits made after a load must reach it normalized.
      saveAndReload();
      nextDay();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, SheetFilesModelTest, ::testing::Values(1u, 7u, 2024u, 99991u));

}  // namespace
}  // namespace tirelmo
