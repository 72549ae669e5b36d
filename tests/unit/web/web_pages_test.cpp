#include "web/web_pages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "app/app.h"
#include "base/log.h"
#include "support/fakes.h"

namespace tirelmo {
namespace {

namespace fs = std::filesystem;
using test::fromLe;
using test::readBytes;
using test::RecordingShell;
using test::TempDir;
using test::writeBytes;

// The manual as it ships: help/ at the top of the source tree.
fs::path sourceHelpFolder() {
  return fs::path(__FILE__).parent_path().parent_path().parent_path().parent_path() / "help";
}

class WebPageTest : public ::testing::Test {
 protected:
  WebPageTest() : app(clock, prompts, system) {
    app.shell = &shell;
    app.start.programFolder = dir.path() + u"\\Tirelmo\\bin";
    app.start.defaultUserDataDir = dir.path() + u"\\Roaming\\Tirelmo";
    fs::create_directories(dir.native() + "/Tirelmo/bin/help");
    processLog().openIn(dir.path());
  }
  void TearDown() override { processLog().closeOnFailedStart(); }

  void installPage(const std::string& name) {
    writeBytes(dir.native() + "/Tirelmo/bin/help/" + name, "<!DOCTYPE html>");
  }
  u16 helpPath(u16v page) const { return dir.path() + u"\\Tirelmo\\bin\\help\\" + u16(page); }
  std::string logText() { return fromLe(readBytes(dir.native() + "/Tirelmo_v2.3.3_log.txt")); }

  TempDir dir;
  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  RecordingShell shell;
  App app;
};

const int kWebCommands[] = {1023, 1113, 1120, 1142, 1510, 1514, 1523, 1524};
const int kManualCommands[] = {1121, 1122, 1124, 1145, 1522, 1528, 1548};

TEST_F(WebPageTest, WebCommandsOpenTheMakersAddressesInTheBrowser) {
  std::set<u16> seen;
  for (int command : kWebCommands) {
    shell.calls.clear();
    ASSERT_TRUE(runWebPageCommand(app, command)) << command;
    ASSERT_EQ(shell.calls.size(), 1u) << command;
    EXPECT_EQ(shell.calls[0].what, "openUrl");
    EXPECT_TRUE(startsWith(shell.calls[0].target, u"https://tirelmo.example/")) << command;
    seen.insert(shell.calls[0].target);
  }
  // Home, video channel, comment, donation, follow and three shares are eight pages.
  EXPECT_EQ(seen.size(), std::size(kWebCommands));
  EXPECT_EQ(webAddressOf(1142), u"https://tirelmo.example/");
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_NE(logText().find("Open web page https://tirelmo.example/donate"), std::string::npos);
}

TEST_F(WebPageTest, ManualCommandsOpenTheInstalledPages) {
  const std::pair<int, const char16_t*> expected[] = {
      {1121, u"removing-a-score.html"}, {1122, u"settings.html"}, {1124, u"coming-soon.html"},
      {1145, u"index.html"},            {1522, u"scores.html"},   {1528, u"projects.html"},
      {1548, u"todolists.html"}};
  for (const auto& [command, page] : expected) installPage(utf16ToUtf8(page));
  for (const auto& [command, page] : expected) {
    shell.calls.clear();
    ASSERT_TRUE(runWebPageCommand(app, command)) << command;
    ASSERT_EQ(shell.calls.size(), 1u) << command;
    EXPECT_EQ(shell.calls[0].what, "openFile");
    EXPECT_EQ(shell.calls[0].target, helpPath(page)) << command;
  }
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(WebPageTest, MissingManualPageFallsBackToTheIndex) {
  installPage("index.html");
  ASSERT_TRUE(runWebPageCommand(app, 1528));
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].target, helpPath(u"index.html"));
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_NE(logText().find("Help page " + utf16ToUtf8(helpPath(u"projects.html")) + " is missing"),
            std::string::npos)
      << logText();
}

TEST_F(WebPageTest, MissingManualIsReportedNotSilentlyIgnored) {
  for (int command : {1528, 1145}) {
    prompts.shown.clear();
    ASSERT_TRUE(runWebPageCommand(app, command));
    EXPECT_TRUE(shell.calls.empty()) << "nothing to open";
    ASSERT_EQ(prompts.shown.size(), 1u) << command;
    EXPECT_EQ(prompts.shown[0].caption, u"Tirelmo");
    EXPECT_NE(prompts.shown[0].text.find(helpPath(manualPageOf(command))), u16::npos);
  }
  EXPECT_NE(logText().find("help\\index.html is missing"), std::string::npos) << logText();
  // A program folder that is a file, not a folder, is just as missing.
  app.start.programFolder = dir.path() + u"\\Tirelmo\\bin\\help\\x";
  installPage("x");
  prompts.shown.clear();
  EXPECT_TRUE(runWebPageCommand(app, 1145));
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_EQ(prompts.shown.size(), 1u);
}

TEST_F(WebPageTest, ShellRefusalIsToldToTheUserInTheirLanguage) {
  shell.succeed = false;
  app.settings.language = u"Chinese (Simplified)";
  installPage("settings.html");
  EXPECT_TRUE(runWebPageCommand(app, 1122));
  EXPECT_TRUE(runWebPageCommand(app, 1120));
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[0].text, u"无法打开帮助页面：\n" + helpPath(u"settings.html"));
  EXPECT_EQ(prompts.shown[1].text, u"无法打开网页：\nhttps://tirelmo.example/donate");
  EXPECT_NE(logText().find("Error: web page https://tirelmo.example/donate not opened"),
            std::string::npos);
}

TEST_F(WebPageTest, OtherCommandsAreNotPageCommands) {
  for (int command : {0, 1000, 1100, 1101, 1111, 1119, 1511, 1125, 1549, 1614, 4006, -1})
    EXPECT_FALSE(runWebPageCommand(app, command)) << command;
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(WebPageTest, TheShippedManualHasEveryPageTheCommandsOpen) {
  const fs::path help = sourceHelpFolder();
  ASSERT_TRUE(fs::is_directory(help)) << help;
  for (int command : kManualCommands)
    EXPECT_TRUE(fs::is_regular_file(help / utf16ToUtf8(manualPageOf(command)))) << command;
}

TEST_F(WebPageTest, TheShippedManualHasNoBrokenLinks) {
  const fs::path help = sourceHelpFolder();
  const std::regex link(R"re((?:href|src)="([^"#:]+)(#[^"]*)?")re");
  int pages = 0;
  for (const auto& entry : fs::directory_iterator(help)) {
    if (entry.path().extension() != ".html") continue;
    ++pages;
    const std::string html = readBytes(entry.path().string());
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos) << entry.path();
    EXPECT_NE(html.find("href=\"index.html\""), std::string::npos)
        << entry.path() << " does not lead back to the contents";
    for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it)
      EXPECT_TRUE(fs::is_regular_file(help / (*it)[1].str()))
          << entry.path().filename() << " links to missing " << (*it)[1];
  }
  EXPECT_GE(pages, 8);
}

TEST_F(WebPageTest, ReportBugShowsTheLogFolderOnOk) {
  prompts.answers = {MsgAnswer::Cancel};
  EXPECT_FALSE(runReportBug(app));
  EXPECT_TRUE(shell.calls.empty());

  prompts.answers = {MsgAnswer::Ok};
  EXPECT_TRUE(runReportBug(app));
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].what, "exploreFolder");
  EXPECT_EQ(shell.calls[0].target, app.start.defaultUserDataDir);

  ASSERT_EQ(prompts.shown.size(), 2u);
  const auto& shown = prompts.shown[1];
  EXPECT_EQ(shown.caption, u"How to Report a Bug");
  EXPECT_EQ(shown.buttons, MsgButtons::OkCancel);
  for (const char16_t* file : {u"tirelmo.i00", u"Tirelmo_v2.3.3_log.txt",
                               u"Tirelmo_v2.3.3_log_prev.txt", u"Tirelmo_v2.3.3_log_prev2.txt"})
    EXPECT_NE(shown.text.find(file), u16::npos) << utf16ToUtf8(file);
}

TEST_F(WebPageTest, ReportBugInChineseAndWhenTheFolderCannotOpen) {
  app.settings.language = u"Chinese (Simplified)";
  shell.succeed = false;
  prompts.answers = {MsgAnswer::Ok};
  EXPECT_FALSE(runReportBug(app));
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[0].caption, u"如何报告错误");
  EXPECT_NE(prompts.shown[0].text.find(u"Tirelmo_v2.3.3_log_prev2.txt（如果存在）"), u16::npos);
  EXPECT_EQ(prompts.shown[1].text, u"无法打开文件夹：\n" + app.start.defaultUserDataDir);
}

TEST_F(WebPageTest, RunAtStartupHandsTheExecutableToTheShellAndLogs) {
  EXPECT_TRUE(applyRunAtStartup(app, true));
  EXPECT_TRUE(applyRunAtStartup(app, false));
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[0].what, "runAtStartupOn");
  EXPECT_EQ(shell.calls[0].target, system.exePath);
  EXPECT_EQ(shell.calls[1].what, "runAtStartupOff");
  EXPECT_EQ(logText(),
            "exe path is C:\\Program Files\\Tirelmo\\bin\\Tirelmo.exe\r\nRun at startup\r\n"
            "exe path is C:\\Program Files\\Tirelmo\\bin\\Tirelmo.exe\r\ndont run at startup\r\n");

  shell.succeed = false;
  EXPECT_FALSE(applyRunAtStartup(app, true));
  EXPECT_EQ(logText().find("Run at startup", logText().rfind("exe path")), std::string::npos)
      << "a failed registration is not logged as done";
}

}  // namespace
}  // namespace tirelmo
