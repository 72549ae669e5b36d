#include "app/startup.h"

#include "base/log.h"
#include "app/stale_temporaries.h"
#include "platform/file.h"
#include "projects/project_store.h"
#include "app/day_start.h"
#include "app/sheet_io.h"
#include "app/todolists.h"
#include "sheet/sheet_files.h"
#include "stats/month_stats.h"
#include "stats/yesterday_archive.h"
#include "usage/usage_table.h"
#include "storage/file_ops.h"

namespace tirelmo {

bool CanWriteIntoDir(u16v folder) {
  const u16 probe = fmt(u"%s\\dummy.txt", folder);
  const FileHandle h = fileOpen(probe, OpenMode::CreateAlways);
  if (h == kInvalidFile) {
    logLastError(u"CanWriteIntoDir");
    logPiece(u"no write in dir: ");
    logLine(u"%s", folder);
    return false;
  }
  fileClose(h);
  logPiece(u"ok can write into: ");
  logLine(u"%s", folder);
  return true;
}

void ForceUserDataDirToDefault(App& app) {
  StartupState& s = app.start;
  logPiece(u"ForceUserDataDirToDefault - userdata_dir:");
  logLine(u"%s", s.userDataDir);
  logPiece(u"Change to Default dir: ");
  logLine(u"%s", s.defaultUserDataDir);
  for (const char16_t* item : {u"%s\\DailyTask", u"%s\\stats", u"%s\\InvList*.*"}) {
    const u16 from = fmt(item, s.userDataDir);
    logPiece(u"Copying:");
    logLine(u"%s", from);
    logPiece(u"To:");
    logLine(u"%s", s.defaultUserDataDir);
    // The default folder may already hold newer versions of the same files (an earlier
    // fallback, or data from before a folder move): never replace them by older copies.
    const int r = shellCopy(from, s.defaultUserDataDir, CopyPolicy::KeepNewer);
    if (r != 0) logLine(u"Copy result %d", r);
  }
  s.userDataDir = s.defaultUserDataDir;
}

u16 programFolderFromExePath(u16v exePath) {
  const std::size_t k = exePath.find(kProgramFileName);
  if (k == u16v::npos) return u16(exePath);
  // Cut at the backslash just before the name.
  return u16(exePath.substr(0, k > 0 ? k - 1 : 0));
}

namespace {

u16 describeOs(const OsVersion& v) {
  u16 d;
  switch (v.platformId) {
    case 0: d = u"Windows 3.1"; break;
    case 1: d = u"Windows 95"; break;
    case 2: d = u"Windows NT"; break;
    default: d = fmt(u"OS PlatformId: %d", v.platformId); break;
  }
  d += fmt(u" ver %d.%d - ", v.major, v.minor);
  d += v.servicePack;
  d += fmt(u"(Build %d) ", v.build);
  return cutToCapacity(d, 954);
}

}  // namespace

bool runEnvironmentPhase(App& app) {
  StartupState& s = app.start;
  s.startTime = app.clock.now();
  s.today = DayDate::from(s.startTime);
  s.displayedSheetDate = s.today;

  s.programFolder = programFolderFromExePath(cutToCapacity(app.system.executablePath(), 257));

  u16 appData;
  bool haveDefault = app.system.appDataFolder(appData);
  if (haveDefault) {
    s.defaultUserDataDir = cutToCapacity(appData + u"\\Tirelmo", 260);
    haveDefault = createDirectory(s.defaultUserDataDir) != MkdirResult::Failed;
  }
  if (!haveDefault) {
    app.prompts.show(app.tr(Txt::ErrCreatingDefaultDir), app.tr(Txt::CaptionVersion), MsgButtons::Ok,
                     MsgIcon::Information);
    return false;
  }
  setCurrentDirectory(s.defaultUserDataDir);

  processLog().open();
  logStartBanner(s.startTime, s.defaultUserDataDir);

  if (!CanWriteIntoDir(s.defaultUserDataDir)) return false;

  bool namesOk = true;
  u16 name;
  if (app.system.computerName(name)) {
    s.computerName = cutToCapacity(name, 64);
    logLine(u"Host %s", s.computerName);
  } else {
    logLastError(u"GetComputerName");
    namesOk = false;
  }
  if (app.system.userName(name)) {
    s.userName = cutToCapacity(name, 64);
    logLine(u"User %s", s.userName);
  } else {
    logLastError(u"GetUserName");
    namesOk = false;
  }

  if (const std::optional<OsVersion> os = app.system.osVersion()) {
    s.osDescription = describeOs(*os);
    logLine(u"%s", s.osDescription);
  } else {
    logLine(u"NO Info su OS!");
  }

  s.uiLanguageId = app.system.uiLanguageId();
  s.keyboardLayoutId = app.system.keyboardLayoutId();
  s.languageName = cutToCapacity(app.system.languageName(), 160);
  logLine(u"Lang: %s", s.languageName);

  app.settings.categories.clear();
  LoadSettings(app.settings, s.defaultUserDataDir, app.system, app.prompts);

  // The settings file was read from the default folder, so that is where it must be written
  // back; a "wkdir" naming another folder (a moved profile) would send every later save
  // somewhere the next start never looks.
  if (app.settings.wkdir != s.defaultUserDataDir) {
    logPiece(u"wkdir differs from the default folder, using:");
    logLine(u"%s", s.defaultUserDataDir);
    app.settings.wkdir = s.defaultUserDataDir;
  }
  s.userDataDir = app.settings.userDataDir.empty() ? s.defaultUserDataDir : app.settings.userDataDir;
  return namesOk;
}

namespace {

StepOutcome takeTimerLength(App& app) {
  app.timer.currentMinutes = pomodoroLength(app.settings);
  // Nothing of a pomodoro is used up yet, so an abandoned score given by hand adds no minutes.
  if (!app.timer.running) app.timer.remainingMinutes = pomodoroLength(app.settings);
  return StepOutcome::Next;
}

StepOutcome enterUserDataDir(App& app) {
  if (!CanWriteIntoDir(app.start.userDataDir)) ForceUserDataDirToDefault(app);
  setCurrentDirectory(app.start.userDataDir);
  for (const char16_t* folder : {u".\\DailyTask", u".\\stats", u"Projects", u"AppUsage"})
    createDirectory(folder);
  return StepOutcome::Next;
}

// Before anything is read: a new version a crash left half-written is never data.
StepOutcome removeStaleTemporaryFiles(App& app) {
  removeStaleTemporaries(app);
  return StepOutcome::Next;
}

StepOutcome loadProjects(App& app) {
  loadProjectsAtStart(app);
  return StepOutcome::Next;
}

StepOutcome loadTodaySheet(App& app) {
  switch (startDay(app)) {
    case DayStartOutcome::Retry: return StepOutcome::Retry;
    case DayStartOutcome::Abort: return StepOutcome::Abort;
    case DayStartOutcome::Done: break;
  }
  return StepOutcome::Next;
}

// After the sheet: its day start made the archives that the lists' day start adds to.
StepOutcome loadTodolistsStep(App& app) {
  loadTodolists(app);
  return StepOutcome::Next;
}

StepOutcome loadMonthStats(App& app) {
  // The logged name ends with a blank; the file itself does not.
  logPiece(u"Month Stats file: ");
  logLine(u"%s", fmt(u"%s\\stats\\%d-%d.ats ", app.start.userDataDir, app.start.today.year, app.start.today.month));
  LoadMonthStatData(app);
  return StepOutcome::Next;
}

StepOutcome loadYesterday(App& app) {
  if (!app.start.firstRunToday) loadYesterdayArchiveAtStart(app);
  return StepOutcome::Next;
}

StepOutcome loadUsage(App& app) {
  loadUsageAtStart(app);
  return StepOutcome::Next;
}

StepOutcome startSheetList(App& app) {
  // A worker that cannot start only leaves the navigation without a list. It walks once
  // the main window's first frame is on the screen (the window releases it), or after a
  // few seconds if no frame comes, as when the program starts minimised.
  app.sheetList.startBuilding(app.start.userDataDir, std::chrono::seconds(3));
  return StepOutcome::Next;
}

}  // namespace

const std::vector<DataPhaseStep>& dataPhaseSteps() {
  // The order matters: each loader may rely on what the steps before it loaded.
  static const std::vector<DataPhaseStep> steps = {
      {u"timer length", takeTimerLength},
      {u"user-data folder", enterUserDataDir},
      {u"stale temporary files", removeStaleTemporaryFiles},
      {u"projects", loadProjects},
      {u"today's sheet", loadTodaySheet},
      {u"Todolists", loadTodolistsStep},
      {u"month statistics", loadMonthStats},
      {u"yesterday archive", loadYesterday},
      {u"app usage", loadUsage},
      {u"sheet list", startSheetList},
  };
  return steps;
}

bool runDataPhase(App& app) { return runDataPhaseSteps(app, dataPhaseSteps()); }

bool runDataPhaseSteps(App& app, const std::vector<DataPhaseStep>& steps) {
  for (const DataPhaseStep& step : steps) {
    for (;;) {
      const StepOutcome r = step.run(app);
      if (r == StepOutcome::Abort) return false;
      if (r == StepOutcome::Next) break;
    }
  }
  return true;
}

const std::vector<ShutdownSaver>& shutdownSavers() {
  static const std::vector<ShutdownSaver> savers = {
      {u"sheets", [](App& app) { SaveAllSheets(app); }},
      {u"month statistics", [](App& app) { SaveMonthStatData(app); }},
      {u"app usage", [](App& app) { SaveAppUsageStats(app); }},
      {u"projects",
       [](App& app) {
         SaveActiveProjects(app);
         SaveClosedProjects(app);
       }},
      {u"Todolists", [](App& app) { saveTodolistRegistry(app); }},
      {u"cloud",
       [](App& app) {
         if (app.settings.cloudEna && app.cloud->available()) app.cloud->uploadAtExit(app);
       }},
  };
  return savers;
}

void saveEverything(App& app) {
  SaveSettingsToFile(app.settings, app.prompts);
  const u16 lastSheet = app.settings.last2dofilename;
  for (const ShutdownSaver& saver : shutdownSavers()) saver.run(app);
  // Saving the sheet may name it for the first time (the first day of use): without a second
  // settings save the next day would find no previous sheet and carry nothing over.
  if (app.settings.last2dofilename != lastSheet) SaveSettingsToFile(app.settings, app.prompts);
}

int runStartPhases(App& app, void (*afterEnvironment)(App& app)) {
  if (!runEnvironmentPhase(app)) return kExitEnvironmentFailed;
  if (afterEnvironment) afterEnvironment(app);
  if (!runDataPhase(app)) {
    processLog().closeOnFailedStart();
    return kExitDataFailed;
  }
  return kStartContinue;
}

}  // namespace tirelmo
