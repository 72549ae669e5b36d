// An App with fake clock, prompts and system in one private user-data folder, for the
// fuzz targets that drive the program's own load, save and draw operations.
#pragma once

#include "app/app.h"
#include "support/fakes.h"

namespace tirelmo::fuzz {

// The user-data folder, shared by every run of one fuzzing process.
inline const tirelmo::test::TempDir& dataDir() {
  static const tirelmo::test::TempDir dir;
  return dir;
}

// 5 March 2021, a Friday, 10:00.
struct Run {
  tirelmo::test::FakeClock clock;
  tirelmo::test::ScriptedPrompts prompts;
  tirelmo::test::FakeSystem system;
  App app;
  Run() : app(clock, prompts, system) {
    clock.set(2021, 3, 5, 10, 0);
    app.start.startTime = clock.now();
    app.start.today = DayDate::from(clock.now());
    app.start.displayedSheetDate = app.start.today;
    app.start.userDataDir = dataDir().path();
    app.start.defaultUserDataDir = dataDir().path();
    app.settings.wkdir = dataDir().path();
  }
};

}  // namespace tirelmo::fuzz
