// Start-up of the program: the environment phase (clock, folders, log, system facts,
// settings) and the data phase (user-data folder and the day's data), and the ordered
// savers of the shut-down. The Win32 entry point and the day restart both run these.
#pragma once

#include <vector>

#include "app/app.h"

namespace tirelmo {

// Exit codes of a start that ends early.
inline constexpr int kExitAnotherInstance = 0;
inline constexpr int kExitEnvironmentFailed = -1;
inline constexpr int kExitDataFailed = 1;

inline constexpr char16_t kProgramFileName[] = u"Tirelmo.exe";

// True when "<folder>\dummy.txt" can be created; logs the outcome.
bool CanWriteIntoDir(u16v folder);

// Copies the data of an unusable user-data folder into the default one and switches to it.
void ForceUserDataDirToDefault(App& app);

// The program folder: the executable's path cut at the backslash before "Tirelmo.exe";
// a path without that name stays whole.
u16 programFolderFromExePath(u16v exePath);

bool runEnvironmentPhase(App& app);
bool runDataPhase(App& app);

// One step of the data phase. Steps run in list order; Retry runs the same step again,
// Abort ends the data phase with false.
enum class StepOutcome { Next, Retry, Abort };
struct DataPhaseStep {
  const char16_t* name;
  StepOutcome (*run)(App& app);
};
const std::vector<DataPhaseStep>& dataPhaseSteps();
// Runs the steps in order with the Retry and Abort rules; false when a step aborted.
bool runDataPhaseSteps(App& app, const std::vector<DataPhaseStep>& steps);

// One saver of the shut-down (and of the day restart), run in list order after the window
// position and the settings are stored.
struct ShutdownSaver {
  const char16_t* name;
  void (*run)(App& app);
};
const std::vector<ShutdownSaver>& shutdownSavers();

// Saves the settings, then runs every saver in order. Used by the destroy handling of the
// main window and by the day restart.
void saveEverything(App& app);

// Both phases as the process entry runs them: nullopt-like -2 means "go on and create the
// window"; any other value is the exit code of a start that ended here. afterEnvironment,
// when given, runs between the phases: the program folder and the log are known then, and
// the day start of the data phase may already need what it installs (the web services).
inline constexpr int kStartContinue = -2;
int runStartPhases(App& app, void (*afterEnvironment)(App& app) = nullptr);

}  // namespace tirelmo
