#include "web/web_client.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/app.h"
#include "support/fake_http.h"
#include "unit/web/web_test_support.h"
#include "web/url_query.h"

namespace tirelmo {
namespace {

using test::FakeHttp;
using test::RecordedActions;

const char kBase[] = "http://127.0.0.1:8080";

class WebClientTest : public test::WebLogTest {
 protected:
  WebClientTest() {
    s.config.serviceBase = kBase;
    s.config.userId = "ab12cd34";
    s.config.token = "t0ken";
    s.country = u"A&B=C#D%E";
    s.region = u"北京";
    s.osDescription = u"Windows 10 (build 19045)";
    s.useCount = 25;
    s.activeProjects = 3;
    s.todolists = 2;
    s.uiLanguageId = 0x804;
    s.languageName = u"Chinese (Simplified)";
    s.skin = u"cleanwhite";
    s.font = u"Segoe UI 😀";
    s.fontSize = 26;
  }
  WebSnapshot s;
  FakeHttp http;
  RecordedActions actions;
};

TEST_F(WebClientTest, QueriesKeepTheirFieldOrderAndEncodeEveryValueAsUtf8) {
  const std::string common =
      "&Country=A%26B%3DC%23D%25E&Region=%E5%8C%97%E4%BA%AC&OS=Windows%2010%20%28build%2019045%29"
      "&usg=25&Id=ab12cd34";
  EXPECT_EQ(buildPingUrl(s), std::string(kBase) + "/ping.php?ver=v2.3.3&build=0&rtl=Y" + common +
                                 "&prj=3&tdl=2&langid=0x0804&lang=Chinese%20%28Simplified%29"
                                 "&sk=cleanwhite&fn=Segoe%20UI%20%F0%9F%98%80&sz=26");
  EXPECT_EQ(buildVersionUrl(s), std::string(kBase) + "/curver.php?ver=v2.3.3" + common);
  EXPECT_EQ(percentEncode(u"a-._~z\xD800"), "a-._~z%EF%BF%BD");
}

TEST_F(WebClientTest, AnAddressOf512UnitsOrMoreIsNotSent) {
  s.osDescription.clear();
  const std::size_t bare = buildPingUrl(s).size();
  s.osDescription = u16(511 - bare, u'x');
  EXPECT_EQ(buildPingUrl(s).size(), 511u);
  s.osDescription += u'x';
  EXPECT_EQ(buildPingUrl(s), "");
  EXPECT_TRUE(logged("Warning: Ping() url required 512 chars!"));
  // One Chinese character is nine units once encoded.
  s.osDescription = u16(60, u'中');
  EXPECT_EQ(buildVersionUrl(s), "");
  EXPECT_NE(logText().find("Warning: url required "), std::string::npos);
  runPingWorker(http, s, actions);
  EXPECT_TRUE(http.requests.empty());
}

TEST_F(WebClientTest, LocationIsTakenFromThePageAndCutOnCharacterBoundaries) {
  LocationResult r = parseLocationReply("<p>Country: <b>Germany</b><br>Region: <b>Bavaria</b></p>");
  EXPECT_EQ(r.country, "Germany");
  EXPECT_EQ(r.region, "Bavaria");

  r = parseLocationReply("Country: <b>Germany</b> and nothing else");
  EXPECT_EQ(r.country, "Germany");
  EXPECT_EQ(r.region, "");
  EXPECT_TRUE(logged("Region search failed!"));

  // 15 characters of 3 bytes: 31 bytes would split the eleventh.
  r = parseLocationReply("Country: <b>中华人民共和国中华人民共和国中</b>Region: <b>" +
                         std::string(70, 'r') + "</b>");
  EXPECT_EQ(r.country, "中华人民共和国中华人");
  EXPECT_EQ(r.region, std::string(63, 'r'));

  http.queueBody(s.config.geoUrl, "Country: <b>Germany</b>Region: <b>Bavaria</b>", 404);
  EXPECT_EQ(runLocationWorker(http, s.config).country, "");
  EXPECT_EQ(http.requests.at(0).userAgent, kWebUserAgent);
}

TEST_F(WebClientTest, WebOpenSendsTheTokenAndTreatsErrorStatusAndOversizeAsFailures) {
  std::string body;
  EXPECT_EQ(WebOpen(http, s.config, "http://127.0.0.1:8080/x", 100, &body), kWebOpenFailed);
  http.queueBody("", "OK");
  EXPECT_EQ(WebOpen(http, s.config, "http://127.0.0.1:8080/x", 100, &body), 0);
  EXPECT_EQ(body, "OK");
  EXPECT_EQ(http.requests[1].token, "t0ken");
  http.queueBody("", "___210___BEGIN___210___", 500);
  EXPECT_EQ(WebOpen(http, s.config, "http://127.0.0.1:8080/x", 100, &body), kWebUrlFailed);
  EXPECT_TRUE(logged("InternetOpenUrl: HTTP status 500 for http://127.0.0.1:8080/x"));
  http.queueBody("", std::string(101, 'a'));
  EXPECT_EQ(WebOpen(http, s.config, "http://127.0.0.1:8080/x", 100, &body), kWebReadFailed);
}

TEST_F(WebClientTest, ThePingHandsShortRepliesToTheCommandsAndRefusesLongOnes) {
  http.queueBody("", "001ab12cd34Hello");
  runPingWorker(http, s, actions);
  EXPECT_EQ(actions.errors, std::vector<u16>{u"Hello"});
  EXPECT_TRUE(logged("48.. read 16 bytes. "));
  EXPECT_EQ(http.requests[0].cap, 512u);

  const std::string command = "001everyoneHello";
  http.queueBody("", command + std::string(510 - command.size(), ' '));
  runPingWorker(http, s, actions);
  EXPECT_EQ(actions.errors.size(), 2u);

  actions = RecordedActions{};
  http.queueBody("", command + std::string(511 - command.size(), ' '));
  runPingWorker(http, s, actions);
  http.queueBody("", command + std::string(900, ' '));
  runPingWorker(http, s, actions);
  http.queueBody("", command, 404);
  runPingWorker(http, s, actions);
  EXPECT_TRUE(actions.nothing());
  EXPECT_TRUE(logged("Buffer size too small: read 511 bytes!"));
  EXPECT_TRUE(logged("Buffer size too small: read 512 bytes!"));
}

TEST(WebVersions, PartsCompareAsNumbers) {
  EXPECT_GT(compareVersions("v2.3.10", "v2.3.9"), 0);
  EXPECT_LT(compareVersions("v2.3.3", "v2.4"), 0);
  EXPECT_EQ(compareVersions("v2.3", "v2.3.0"), 0);
}

TEST_F(WebClientTest, ANewerVersionIsOfferedOncePerRun) {
  WebState state;
  http.queueBody("", "<p>Current Version is v2.3.10</p>");
  VersionCheckResult r = runVersionCheck(http, s, state);
  EXPECT_TRUE(r.found);
  EXPECT_EQ(r.latest, "v2.3.10");
  EXPECT_TRUE(r.askToDownload);
  EXPECT_TRUE(state.versionCheckRunning) << "page switching stays off until the caller's question is over";

  http.queueBody("", "Current Version is v2.4.0\r\n");
  r = runVersionCheck(http, s, state);
  EXPECT_EQ(r.latest, "v2.4.0");
  EXPECT_FALSE(r.askToDownload);

  WebState fresh;
  http.queueBody("", "Current Version is v2.3.3");
  EXPECT_FALSE(runVersionCheck(http, s, fresh).askToDownload);
  http.queueBody("", "Not found");
  EXPECT_FALSE(runVersionCheck(http, s, fresh).found);
  EXPECT_TRUE(logged("cur ver search failed!"));
  EXPECT_FALSE(fresh.newerVersionAsked);
}

class WebNoticesTest : public test::WebLogTest {
 protected:
  WebNoticesTest() : app(clock, prompts, system) {
    app.shell = &shell;
    app.start.programFolder = dir.path() + u"\\bin";
    std::filesystem::create_directories(dir.native() + "/bin/help");
    test::writeBytes(dir.native() + "/bin/help/projects.html", "<!DOCTYPE html>");
  }
  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  test::RecordingShell shell;
  App app;
};

TEST_F(WebNoticesTest, EveryFifthUseChecksTheVersionAndEarlyOnesAskAboutProjects) {
  app.settings.sgcn230 = 4;
  EXPECT_TRUE(runStartOfDayNotices(app));
  EXPECT_TRUE(logged("Prog used 5 times"));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].buttons, MsgButtons::OkCancel);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_NE(shell.calls[0].target.find(u"projects.html"), u16::npos);
  EXPECT_EQ(takeWebSnapshot(app).useCount, 5);

  prompts.answers.push_back(MsgAnswer::Cancel);
  app.settings.sgcn230 = 9;
  EXPECT_TRUE(runStartOfDayNotices(app));
  EXPECT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(shell.calls.size(), 1u);

  app.settings.sgcn230 = 5;
  EXPECT_FALSE(runStartOfDayNotices(app));
  app.settings.sgcn230 = 19;
  EXPECT_TRUE(runStartOfDayNotices(app));
  app.projects.active.push_back(Project{});
  app.settings.sgcn230 = 14;
  EXPECT_TRUE(runStartOfDayNotices(app));
  EXPECT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(takeWebSnapshot(app).activeProjects, 1);

  acceptLocation(app, {"中国", ""});
  EXPECT_EQ(takeWebSnapshot(app).country, u"中国");
  EXPECT_TRUE(logged("Location Country: 中国  Region: "));
}

}  // namespace
}  // namespace tirelmo
