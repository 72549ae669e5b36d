#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/log.h"
#include "support/fakes.h"

namespace tirelmo {
namespace {

namespace fs = std::filesystem;
using test::fromLe;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() : app(clock, prompts, system) {
    system.appData = dir.path() + u"\\Roaming";
    clock.set(2021, 3, 5, 9, 7);
  }
  void TearDown() override { processLog().closeOnFailedStart(); }

  std::string nativeOf(u16v p) const {
    std::string s = utf16ToUtf8(p);
    for (char& c : s)
      if (c == '\\') c = '/';
    return s;
  }
  std::string defaultDir() const { return dir.native() + "/Roaming/Tirelmo"; }
  std::string logText() {
    return fromLe(readBytes(defaultDir() + "/Tirelmo_v2.3.3_log.txt"));
  }

  TempDir dir;
  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app;
};

TEST_F(StartupTest, FirstStartPreparesBothFoldersAndLogsTheBanner) {
  ASSERT_EQ(runStartPhases(app), kStartContinue);
  processLog().closeWithTimestamp(clock.now());

  EXPECT_EQ(app.start.defaultUserDataDir, dir.path() + u"\\Roaming\\Tirelmo");
  EXPECT_EQ(app.start.userDataDir, app.start.defaultUserDataDir);
  EXPECT_EQ(app.start.programFolder, u"C:\\Program Files\\Tirelmo\\bin");
  EXPECT_EQ(app.start.today.day0, 4);
  EXPECT_EQ(app.start.today.dayOfWeek, 5);
  EXPECT_TRUE(app.start.displayedSheetDate.sameDay(app.start.today));
  EXPECT_EQ(app.timer.currentMinutes, 25);
  EXPECT_TRUE(prompts.shown.empty());

  for (const char* sub : {"DailyTask", "stats", "Projects", "AppUsage"})
    EXPECT_TRUE(fs::is_directory(defaultDir() + "/" + sub)) << sub;
  EXPECT_TRUE(fs::exists(defaultDir() + "/dummy.txt"));
  EXPECT_EQ(fs::file_size(defaultDir() + "/dummy.txt"), 0u);
  EXPECT_TRUE(fs::exists(defaultDir() + "/tirelmo.i00"));
  EXPECT_EQ(fs::current_path().string(), defaultDir());

  const std::string log = logText();
  const std::string folder = utf16ToUtf8(app.start.defaultUserDataDir);
  const std::string head = "\n ----   2021-3-5, ore 09:07   ----\r\n"
                           "Tirelmo v2.3.3 0 (32-bit) built on May 14 2021 19:36:34\r\n"
                           "Default User-data dir:  " + folder + "\r\n"
                           "ok can write into:  " + folder + "\r\n"
                           "Host TESTHOST\r\nUser tester\r\n"
                           "Windows NT ver 6.2 - Service Pack 0(Build 9200) \r\n"
                           "Lang: English\r\n";
  EXPECT_EQ(log.substr(0, head.size()), head);
  // The data phase probes the user-data folder again before entering it.
  EXPECT_NE(log.find("ok can write into:  " + folder + "\r\n", head.size()), std::string::npos);
  const std::string closing = "[2021-3-5 09:07] Closing..\r\n\r\n\r\n";
  ASSERT_GE(log.size(), closing.size());
  EXPECT_EQ(log.substr(log.size() - closing.size()), closing);
}

TEST_F(StartupTest, MissingApplicationDataFolderEndsTheStartWithAMessage) {
  system.appData.clear();
  EXPECT_EQ(runStartPhases(app), kExitEnvironmentFailed);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"ERROR creating Default User-data directory");
  EXPECT_EQ(prompts.shown[0].caption, u"Tirelmo - v2.3.3.0");
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Information);
}

TEST_F(StartupTest, UnwritableDefaultFolderEndsTheStartSilently) {
  // A "Tirelmo" that is a file: the folder "exists" as far as creation goes, but nothing
  // can be written below it.
  fs::create_directories(dir.native() + "/Roaming");
  writeBytes(dir.native() + "/Roaming/Tirelmo", "not a folder");
  EXPECT_EQ(runStartPhases(app), kExitEnvironmentFailed);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(StartupTest, UnreadableNamesFailThePhaseOnlyAfterEverythingRan) {
  system.computerNameOk = false;
  system.osOk = false;
  EXPECT_FALSE(runEnvironmentPhase(app));
  processLog().closeOnFailedStart();
  const std::string log = logText();
  EXPECT_NE(log.find("GetComputerName last error 5: "), std::string::npos);
  EXPECT_NE(log.find("User tester\r\n"), std::string::npos);
  EXPECT_NE(log.find("NO Info su OS!\r\n"), std::string::npos);
  EXPECT_NE(log.find("Lang: English\r\n"), std::string::npos);
  EXPECT_TRUE(fs::exists(defaultDir() + "/tirelmo.i00"));  // the settings were still loaded
}

TEST_F(StartupTest, MissingUserDataFolderFallsBackToTheDefault) {
  ASSERT_TRUE(runEnvironmentPhase(app));
  app.start.userDataDir = dir.path() + u"\\gone\\data";
  ASSERT_TRUE(runDataPhase(app));
  processLog().closeOnFailedStart();
  EXPECT_EQ(app.start.userDataDir, app.start.defaultUserDataDir);
  EXPECT_TRUE(fs::is_directory(defaultDir() + "/DailyTask"));
  const std::string log = logText();
  EXPECT_NE(log.find("no write in dir:  " + utf16ToUtf8(dir.path()) + "\\gone\\data\r\n"), std::string::npos)
      << log;
  EXPECT_NE(log.find("ForceUserDataDirToDefault - userdata_dir: " + utf16ToUtf8(dir.path()) + "\\gone\\data\r\n"),
            std::string::npos);
  EXPECT_NE(log.find("Change to Default dir:  " + utf16ToUtf8(app.start.defaultUserDataDir) + "\r\n"),
            std::string::npos);
}

TEST_F(StartupTest, UnwritableUserDataFolderIsCopiedWithoutReplacingNewerFiles) {
  ASSERT_TRUE(runEnvironmentPhase(app));
  // The write probe fails when "dummy.txt" cannot be created: here it is a folder.
  const std::string old = dir.native() + "/old";
  fs::create_directories(old + "/dummy.txt");
  fs::create_directories(old + "/DailyTask/2021/3");
  writeBytes(old + "/DailyTask/2021/3/DailyTask_2021-3-4-4.pm6", "sheet of the 4th");
  fs::create_directories(old + "/stats");
  writeBytes(old + "/stats/2021-3.ats", "old stats");
  writeBytes(old + "/stats/2021-2.ats", "february");
  writeBytes(old + "/InvList1.txt", "list one");
  writeBytes(old + "/Other.txt", "not copied");
  // The default folder already holds a more recent month file from an earlier fallback.
  fs::create_directories(defaultDir() + "/stats");
  writeBytes(defaultDir() + "/stats/2021-3.ats", "newer stats");
  fs::last_write_time(old + "/stats/2021-3.ats", fs::file_time_type::clock::now() - std::chrono::hours(24));

  app.start.userDataDir = dir.path() + u"\\old";
  ASSERT_TRUE(runDataPhase(app));
  EXPECT_EQ(app.start.userDataDir, app.start.defaultUserDataDir);
  EXPECT_EQ(readBytes(defaultDir() + "/DailyTask/2021/3/DailyTask_2021-3-4-4.pm6"), "sheet of the 4th");
  EXPECT_EQ(readBytes(defaultDir() + "/stats/2021-2.ats"), "february");
  EXPECT_EQ(readBytes(defaultDir() + "/stats/2021-3.ats"), "newer stats");
  EXPECT_EQ(readBytes(defaultDir() + "/InvList1.txt"), "list one");
  EXPECT_FALSE(fs::exists(defaultDir() + "/Other.txt"));
  processLog().closeOnFailedStart();
  const std::string log = logText();
  EXPECT_NE(log.find("Copying: " + utf16ToUtf8(dir.path()) + "\\old\\InvList*.*\r\nTo: "), std::string::npos) << log;
}

TEST_F(StartupTest, SettingsNameTheUserDataFolderAndThePomodoroLength) {
  fs::create_directories(defaultDir());
  const std::string data = dir.native() + "/elsewhere";
  fs::create_directories(data);
  writeBytes(defaultDir() + "/tirelmo.i00",
             test::le("pomtimerminutes=1\r\nUser Data dir=" + data + "\r\nwkdir=C:\\old\\profile\r\n"));
  ASSERT_EQ(runStartPhases(app), kStartContinue);
  EXPECT_EQ(app.timer.currentMinutes, 1);
  EXPECT_EQ(utf16ToUtf8(app.start.userDataDir), data);
  EXPECT_TRUE(fs::is_directory(data + "/DailyTask"));
  EXPECT_EQ(fs::current_path().string(), data);
  // A stale wkdir must not redirect later saves away from where the file was found.
  EXPECT_EQ(app.settings.wkdir, app.start.defaultUserDataDir);
}

TEST(ProgramFolder, CutOnlyBeforeTheProgramName) {
  EXPECT_EQ(programFolderFromExePath(u"C:\\Apps\\Tirelmo\\bin\\Tirelmo.exe"), u"C:\\Apps\\Tirelmo\\bin");
  EXPECT_EQ(programFolderFromExePath(u"C:\\Apps\\Tirelmo\\bin\\Tirelmo-dev.exe"),
            u"C:\\Apps\\Tirelmo\\bin\\Tirelmo-dev.exe");
}

TEST(DataPhaseSteps, RetryRunsTheStepAgainAndAbortStopsEverything) {
  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app(clock, prompts, system);
  static int calls[3];
  calls[0] = calls[1] = calls[2] = 0;
  const std::vector<DataPhaseStep> retrying = {
      {u"a", [](App&) { ++calls[0]; return StepOutcome::Next; }},
      {u"b", [](App&) { return ++calls[1] < 3 ? StepOutcome::Retry : StepOutcome::Next; }},
      {u"c", [](App&) { ++calls[2]; return StepOutcome::Next; }},
  };
  EXPECT_TRUE(runDataPhaseSteps(app, retrying));
  EXPECT_EQ(calls[0], 1);
  EXPECT_EQ(calls[1], 3);
  EXPECT_EQ(calls[2], 1);

  calls[0] = calls[2] = 0;
  const std::vector<DataPhaseStep> aborting = {
      {u"a", [](App&) { ++calls[0]; return StepOutcome::Abort; }},
      {u"c", [](App&) { ++calls[2]; return StepOutcome::Next; }},
  };
  EXPECT_FALSE(runDataPhaseSteps(app, aborting));
  EXPECT_EQ(calls[0], 1);
  EXPECT_EQ(calls[2], 0);
}

}  // namespace
}  // namespace tirelmo
