#include "web/cloud_client.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/sheet_io.h"
#include "projects/project_store.h"
#include "support/fake_http.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

namespace fs = std::filesystem;

const std::string kStampToday = "2021,3,5,5,8,0,0,0,2021,3,4,4,\n";

std::string marked(const std::string& body) {
  return "<html>___210___BEGIN___210___" + body + "___210___END___210___</html>";
}

std::string repeat(const std::string& piece, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += piece;
  return s;
}

class CloudTest : public test::SheetTest {
 protected:
  CloudTest() : sync(http, config) {
    config.serviceBase = "https://svc.test";
    config.token = "tok";
    installCloudSync(app, sync);
    app.settings.cloudEna = true;
    app.settings.cloudLogin = u"me you";
  }
  std::string url(std::size_t i) const { return http.requests.at(i).url; }

  test::FakeHttp http;
  WebConfig config;
  WebCloudSync sync;
};

TEST_F(CloudTest, RowUploadSendsEveryFieldInOrderWithTheWholeTextEncoded) {
  TodoRow& r = row(2);
  r.text = u"a b&c=d#e%f";
  r.done = 1, r.pomodoros = 2, r.abandoned = 1, r.internalInterruptions = 3, r.externalInterruptions = 4;
  r.pastPomodoros = 5, r.pastAbandoned = 6, r.pastInternal = 7, r.pastExternal = 8, r.estimated = 4;
  r.info.ageDays = 9, r.info.category = 10, r.info.projectId = 11, r.info.minutesToday = 75;
  r.info.pastMinutes = 125, r.info.flags = rowflag::kRepeat;
  http.queueBody("", "OK");
  ASSERT_EQ(sync.uploadRow(app, 2), 0);
  EXPECT_EQ(url(0),
            "https://svc.test/xt/tdl.php?upd=1&n=3&id=me%20you&usr=pc&yy=2021&mm=3&dd=5&hr=9&min=30&sec=0&msec=0"
            "&t=a%20b%26c%3Dd%23e%25f&d=1&p=2&a=1&i=3&e=4&pt=5&at=6&it=7&et=8&age=9&cat=10&prj=11&wkh=1&wkm=15"
            "&wkhp=2&wkmp=5&est=4&rep=1");
  EXPECT_EQ(http.requests[0].token, "tok");
  EXPECT_EQ(http.requests[0].userAgent, kWebUserAgent);

  // The longest row a sheet holds, in Chinese, goes up whole.
  r.text = u16(179, u'\u4E2D');
  http.queueBody("", "OK");
  ASSERT_EQ(sync.uploadRow(app, 2), 0);
  EXPECT_NE(url(1).find("&t=" + repeat("%E4%B8%AD", 179) + "&d=1"), std::string::npos);

  // An address no server takes is refused whole, never sent with its text cut.
  config.serviceBase = "https://svc.test/" + std::string(600, 'x');
  EXPECT_EQ(sync.uploadRow(app, 2), kWebUrlFailed);
  EXPECT_EQ(http.requests.size(), 2u);
  EXPECT_TRUE(logHas("Upl row 3 failed, err: -2"));

  // A status other than 2xx is an error, not an upload.
  http.queueBody("", "no", 500);
  config.serviceBase = "https://svc.test";
  EXPECT_EQ(sync.uploadRow(app, 2), kWebUrlFailed);
}

TEST_F(CloudTest, SheetDownloadTakesValidRowsAndKeepsTheOthers) {
  row(5).text = u"kept";
  row(0).info.flags = rowflag::kDeadline;
  http.queueBody("https://svc.test/xt/tdl.php?id=me%20you&usr=pc&raw=1&yy=2021&mm=3&dd=5&hr=9&min=30",
                 marked("\n" + kStampToday + "Write\xE2\x80\x99s, report\n0,2,1,3,4,5,6,7,8,9,10,11,1,15,2,5,4,1\n" +
                        "\n0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n"));
  row(1).text = u"replaced by a free row";
  ASSERT_EQ(sync.WebDownloadTodoList(app), 0);
  const TodoRow& r = row(0);
  EXPECT_EQ(r.text, u"Write\u2019s, report");
  EXPECT_EQ(r.pomodoros, 2);
  EXPECT_EQ(r.pastExternal, 8);
  EXPECT_EQ(r.info.ageDays, 9);
  EXPECT_EQ(r.info.category, 10);
  EXPECT_EQ(r.info.projectId, 11);
  EXPECT_EQ(r.info.minutesToday, 75);
  EXPECT_EQ(r.info.pastMinutes, 125);
  EXPECT_EQ(r.estimated, 4);
  EXPECT_EQ(r.info.flags, rowflag::kDeadline | rowflag::kRepeat);  // other flags stay
  EXPECT_TRUE(row(1).isFree());
  EXPECT_EQ(row(5).text, u"kept");
  EXPECT_EQ(sync.stamp().prevDay, 4);
  EXPECT_EQ(sync.stamp().hour, 8);
  EXPECT_TRUE(logHas("Cloud ts: 2021,3,5,5,"));
  EXPECT_TRUE(logHas("Dwl done. Written 183"));
}

TEST_F(CloudTest, BadSheetRepliesAreErrorsAndLeaveTheSheetAlone) {
  row(3).text = u"mine";
  const TodoSheet before = app.sheet;
  const std::string good = "task\n0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n";
  struct Case {
    std::string body;
    int status;
    int expected;
  };
  const Case cases[] = {
      {"no markers at all", 200, -4},
      {"___210___BEGIN___210___\n" + kStampToday + good, 200, -5},  // cut: no END
      {marked("\n" + kStampToday + good), 404, kWebUrlFailed},
      {marked("\n" + kStampToday + good + "half a row\n"), 200, -6},
      {marked("\n" + kStampToday + "task\n0,1,0,0,0,0,0,0,0,0,13,0,0,0,0,0,0,0\n"), 200, -6},  // category
      {marked("\n" + kStampToday + "task\n0,256,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n"), 200, -6},  // byte
      {marked("\n" + kStampToday + "task\n2,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n"), 200, -6},    // done
      {marked("\n" + kStampToday + "task\n0,1,0,0,0,0,0,0,0,0,0,0,0,-5,0,0,0,0\n"), 200, -6},   // minutes
      {marked("\n" + kStampToday + "task\n0,1,0,0,0,0,0,0,0,0,0,0\n"), 200, -6},  // numbers short
      {marked("\n" + kStampToday + std::string(180, 'x') + "\n0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n"), 200, -6},
      {marked("\n" + kStampToday + repeat(good, 26)), 200, -6},  // more rows than the sheet
      {marked("\n2021,3,5,5,8,0,\n" + good), 200, -6},            // stamp short
      // Longer than the buffer: the END is past what was read.
      {marked("\n" + kStampToday + good + std::string(17000, ' ')), 200, -5},
  };
  for (const Case& c : cases) {
    http.queueBody("", c.body, c.status);
    EXPECT_EQ(sync.WebDownloadTodoList(app), c.expected) << c.body.substr(0, 60);
    EXPECT_EQ(app.sheet.rows, before.rows) << c.body.substr(0, 60);
  }
  EXPECT_EQ(sync.stamp().year, 0);
  EXPECT_TRUE(logHas("Err missing tdl begin!"));
  EXPECT_TRUE(logHas("Err missing tdl end!"));
  EXPECT_TRUE(logHas("Err tdl end exceeded boundaries."));
  EXPECT_TRUE(logHas("WebLoadTodoList() Err: no \\n in dwl data"));
}

TEST_F(CloudTest, ProjectAndCategoryNamesArriveAfterTheSheet) {
  fs::create_directories(dir.native() + "/Projects");
  app.projects.active.push_back(Project{7, u"Old name"});
  app.projects.closed.push_back(Project{3, u"Done project", 0, 0, kProjectClosed});
  http.queueBody("https://svc.test/xt/tdl.php", marked("\n" + kStampToday));
  http.queueBody("https://svc.test/xt/prj.php?id=me%20you",
                 marked("\n7,1,5,0,0,New, better name\n9,0,3,20,1,Brand new\n3,3,0,0,0,Done project\nbad line\n"));
  http.queueBody("https://svc.test/xt/cats.php?id=me%20you", marked("\n2,Errands\n13,Nope\n"));
  ASSERT_EQ(sync.WebDownloadTodoList(app), 0);
  ASSERT_EQ(app.projects.active.size(), 2u);
  EXPECT_EQ(app.projects.active[0].name, u"New, better name");
  EXPECT_EQ(app.projects.active[1].id, 9);
  EXPECT_EQ(app.projects.active[1].name, u"Brand new");
  EXPECT_EQ(app.projects.active[1].workedHours, 0u);  // the other computer's time is not ours
  EXPECT_EQ(app.settings.categories.at(2), u"Errands");
  EXPECT_TRUE(logHas("Prj 7 renamed from cloud: New, better name"));
  EXPECT_TRUE(fs::exists(dir.native() + "/Projects/active_prj.p01"));
  EXPECT_FALSE(fs::exists(dir.native() + "/Projects/closed_prj.p01"));  // nothing changed there

  // A projects list that cannot be had changes nothing and the sheet still stands.
  http.queueBody("https://svc.test/xt/tdl.php", marked("\n" + kStampToday));
  http.queueBody("https://svc.test/xt/prj.php", "gone", 404);
  EXPECT_EQ(sync.WebDownloadTodoList(app), 0);
  EXPECT_EQ(app.projects.active.size(), 2u);
}

TEST_F(CloudTest, CloudSheetIsNewerOnlyWhenStrictlyLater) {
  http.setDefault(HttpReply{0, 200, marked("\n2021,3,5,5,8,0,0,0,2021,3,4,4,\n"), false});
  ASSERT_EQ(sync.WebDownloadTodoList(app), 0);
  app.settings.tdlSavedOn.clear();
  EXPECT_TRUE(sync.CloudTdlIsMoreRecent(app));
  EXPECT_TRUE(logHas("Workaround: szTdlSavedOn is empty"));
  app.settings.tdlSavedOn = u"2021,3,5,8,0,0,0";
  EXPECT_FALSE(sync.CloudTdlIsMoreRecent(app));  // equal moments count as local
  app.settings.tdlSavedOn = u"2021,3,5,7,59,59,999";
  EXPECT_TRUE(sync.CloudTdlIsMoreRecent(app));
  EXPECT_TRUE(logHas("CloudTdlIsMoreRecent() - Cloud tdl is newer."));
  app.settings.tdlSavedOn = u"2021,3,5,8,0,0,1";
  EXPECT_FALSE(sync.CloudTdlIsMoreRecent(app));
  EXPECT_TRUE(logHas("Local Tdl ts 2021-3-5 (dow 5) 8:0:0"));
  EXPECT_TRUE(logHas("CloudTdlIsMoreRecent() - Local tdl is newer."));

  // An account without a sheet (a stamp of zeros) never stands for today, not even against
  // an empty "Tdl saved on".
  http.setDefault(HttpReply{0, 200, marked("\n0,0,0,0,0,0,0,0,0,0,0,0,\n"), false});
  ASSERT_EQ(sync.WebDownloadTodoList(app), 0);
  app.settings.tdlSavedOn.clear();
  EXPECT_FALSE(sync.CloudTdlIsMoreRecent(app));
}

TEST_F(CloudTest, PreviousDayListsLandInTheArchives) {
  http.queueBody("https://svc.test/xt/tdl.php", marked("\n" + kStampToday));
  ASSERT_EQ(sync.WebDownloadTodoList(app), 0);
  // Done on two months: two month files. The last record has no date: the previous day's.
  http.queueBody("https://svc.test/xt/donelist.php?id=me%20you&usr=pc",
                 marked("\nFeb task\n1,2,0,1,0,2,0,0,0,3,4,5,0,0,1,10,0,0,2021,2,28,0\n"
                        "Mar task\n1,1,0,0,0,1,0,0,0,0,0,300,0,0,0,25,0,0,2021,3,4,4\n"
                        "Undated\n1,1,0,0,0,1,0,0,0,0,0,0,0,0,0,25,0,0,0,0,0,0\n"));
  http.queueBody("https://svc.test/xt/me%20you/worked_tasks.txt",
                 "Half way\n0,2,1,0,0,0,0,0,0,4,3,9,1,5,2,0,6,0\n");
  sync.downloadDoneAndWorkedLists(app);
  EXPECT_TRUE(logHas("Prev day is web prev day: 2021-3-4 (4)"));
  EXPECT_EQ(app.start.previousSheetDate.day(), 4);
  const std::string feb = test::fromLe(test::readBytes(dir.native() + "/stats/DoneTasks_2021_2.m00"));
  const std::string mar = test::fromLe(test::readBytes(dir.native() + "/stats/DoneTasks_2021_3.m00"));
  EXPECT_NE(feb.find("Feb task"), std::string::npos);
  EXPECT_EQ(feb.find("Mar task"), std::string::npos);
  EXPECT_NE(mar.find("Mar task"), std::string::npos);
  EXPECT_NE(mar.find("Undated"), std::string::npos);
  EXPECT_NE(mar.find("\"300\"\n"), std::string::npos);  // a project id above 255 stays whole
  ASSERT_EQ(app.yesterday.tasks.size(), 1u);
  const YesterdayTask& t = app.yesterday.tasks[0];
  EXPECT_EQ(t.text, u"Half way");
  EXPECT_EQ(t.minutesWorked, 65);
  EXPECT_EQ(t.totalMinutes, 120);
  EXPECT_EQ(t.age, 5);
  EXPECT_EQ(t.day, 4);
  EXPECT_TRUE(fs::exists(dir.native() + "/YesterdayArchive.y00"));

  // A cloud sheet last written on an earlier day dates the lists with its own date; lists
  // that cannot be had leave the yesterday archive of the last day start alone.
  http.queueBody("https://svc.test/xt/tdl.php", marked("\n2021,3,2,2,8,0,0,0,2021,3,1,1,\n"));
  ASSERT_EQ(sync.WebDownloadTodoList(app), 0);
  http.queueBody("https://svc.test/xt/donelist.php", "___210___BEGIN___210___\nCut\n");
  http.queueBody("https://svc.test/xt/me%20you/worked_tasks.txt", "", 404);
  sync.downloadDoneAndWorkedLists(app);
  EXPECT_TRUE(logHas("Prev day is web last upd day: 2021-3-2 (2)"));
  EXPECT_TRUE(logHas("Web Error -2 with WebDownloadWorkedTsks()"));
  EXPECT_EQ(app.yesterday.tasks.size(), 1u);
  EXPECT_EQ(test::fromLe(test::readBytes(dir.native() + "/stats/DoneTasks_2021_3.m00")), mar);
}

TEST_F(CloudTest, SheetUploadStopsAtTheFirstFailure) {
  std::vector<int> progress;
  app.ui.mainWindowExists = true;
  app.hooks.sheetUploadProgress = [&](int n) { progress.push_back(n); };
  http.queueBody("", "OK");
  http.queueBody("", "OK");
  http.queueBody("", "busy", 503);
  ASSERT_TRUE(saveTodoSheet(app, true));
  EXPECT_EQ(http.requests.size(), 3u);
  EXPECT_EQ(progress, (std::vector<int>{0, 1, 2, 3, -1}));
  EXPECT_TRUE(logHas("Upl failed, err: -2"));
}

TEST_F(CloudTest, ExitSendsCategoriesProjectsThenTheReleaseEachOnce) {
  app.projects.active = {Project{4, u"A"}, Project{2, u"B & C"}};
  sync.uploadAtExit(app);  // nothing answers: every request still goes out once
  ASSERT_EQ(http.requests.size(), 16u);
  for (int c = 0; c < 13; ++c)
    EXPECT_EQ(url(c).rfind("https://svc.test/xt/cats.php?upd=1&id=me%20you&n=" + std::to_string(c) + "&t=", 0), 0u);
  EXPECT_NE(url(12).find("&cid=12"), std::string::npos);
  EXPECT_EQ(url(13), "https://svc.test/xt/prj.php?upd=1&id=me%20you&n=0&t=A&pid=4&act=0&wkh=0&wkm=0");
  EXPECT_EQ(url(14), "https://svc.test/xt/prj.php?upd=1&id=me%20you&n=1&t=B%20%26%20C&pid=2&act=0&wkh=0&wkm=0");
  EXPECT_EQ(url(15),
            "https://svc.test/xt/tdl.php?rls=1&id=me%20you&usr=pc&yy=2021&mm=3&dd=5&hr=9&min=30&sec=0&msec=0");
  EXPECT_TRUE(logHas("Error -1 from WebOpen"));
}

}  // namespace
}  // namespace tirelmo
