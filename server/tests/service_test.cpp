#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "sheet_logic.h"
#include "sqlite_store.h"
#include "sync_service.h"

namespace tirelmo::sync {
namespace {

// Percent-encodes every byte outside the unreserved set, as the clients do.
std::string encode(const std::string& text) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string when(int day, int hour = 9) {
  return "&yy=2024&mm=5&dd=" + std::to_string(day) + "&hr=" + std::to_string(hour) +
         "&min=0&sec=0&msec=0";
}

std::string rowQuery(int n, const std::string& text, int day, const std::string& scores) {
  return "/xt/tdl.php?upd=1&n=" + std::to_string(n) + "&id=anna&usr=pc" + when(day) +
         "&t=" + encode(text) + "&" + scores;
}

const std::string kScores =
    "d=0&p=2&a=1&i=3&e=4&pt=5&at=6&it=7&et=8&age=2&cat=12&prj=77&wkh=1&wkm=5&wkhp=2&wkmp=30"
    "&est=9&rep=1";

class SyncServiceTest : public ::testing::Test {
 protected:
  void start(ServiceOptions options = {}) {
    char pattern[] = "/tmp/tirelmo-sync-test-XXXXXX";
    dir_ = mkdtemp(pattern);
    store_ = std::make_unique<SqliteStore>((dir_ / "sync.db").string());
    options.port = 0;
    options.testMode = true;
    options.logRequests = false;
    service_ = std::make_unique<SyncService>(*store_, options);
    int port = service_->startInBackground();
    ASSERT_GT(port, 0);
    client_ = std::make_unique<httplib::Client>("127.0.0.1", port);
  }
  void TearDown() override {
    client_.reset();
    service_.reset();
    store_.reset();
    std::filesystem::remove_all(dir_);
  }
  // Status and body of a GET; status 0 when the request failed.
  std::pair<int, std::string> get(const std::string& target) {
    auto res = client_->Get(target);
    return res ? std::pair(res->status, res->body) : std::pair(0, std::string());
  }

  std::filesystem::path dir_;
  std::unique_ptr<SqliteStore> store_;
  std::unique_ptr<SyncService> service_;
  std::unique_ptr<httplib::Client> client_;
};

TEST_F(SyncServiceTest, ARowMakesTheRoundTripWithItsTextIntact) {
  start();
  const std::string text = "学习 a&b=c #1 100% +x";
  EXPECT_EQ(get(rowQuery(3, text, 6, kScores)), std::pair(200, std::string("OK")));
  auto [status, body] = get("/xt/tdl.php?id=anna&usr=pc&raw=1" + when(6, 10));
  ASSERT_EQ(status, 200);
  ASSERT_EQ(body.rfind(std::string(kBeginMarker) + "\n2024,5,6,1,9,0,0,0,0,0,0,0,\n", 0), 0u);
  EXPECT_NE(body.find("\n" + text + "\n0,2,1,3,4,5,6,7,8,2,12,77,1,5,2,30,9,1\n"), std::string::npos);
  EXPECT_EQ(body.size() - body.rfind(kEndMarker), kEndMarker.size());
  // 25 rows of two lines each after the markers' line and line 1.
  EXPECT_EQ(std::count(body.begin(), body.end(), '\n'), 2 + 50);

  // An account without a sheet answers the markers and a line of zeros.
  EXPECT_EQ(get("/xt/tdl.php?id=bert&usr=pc&raw=1" + when(6)).second,
            std::string(kBeginMarker) + "\n0,0,0,0,0,0,0,0,0,0,0,0,\n" + std::string(kEndMarker));
}

TEST_F(SyncServiceTest, TheNextDayRollsTheSheetIntoTheLists) {
  start();
  get(rowQuery(1, "finished", 3, "d=1&p=1&a=0&i=0&e=0&pt=0&at=0&it=0&et=0&age=0&cat=1&prj=0"
                                 "&wkh=0&wkm=25&wkhp=0&wkmp=0&est=1&rep=0"));
  get(rowQuery(2, "going on", 3, kScores.substr(0, kScores.size() - 1) + "0"));
  auto [status, sheet] = get("/xt/tdl.php?id=anna&usr=pc&raw=1" + when(6));
  ASSERT_EQ(status, 200);
  EXPECT_EQ(sheet.rfind(std::string(kBeginMarker) + "\n2024,5,6,1,9,0,0,0,2024,5,3,5,\n\n0,", 0), 0u);
  EXPECT_NE(sheet.find("\ngoing on\n0,0,0,0,0,7,7,10,12,5,12,77,0,0,3,35,9,0\n"), std::string::npos);
  EXPECT_EQ(get("/xt/donelist.php?id=anna&usr=pc").second,
            std::string(kBeginMarker) + "\nfinished\n1,1,0,0,0,1,0,0,0,1,1,0,0,0,0,25,0,0,2024,5,3,5\n" +
                std::string(kEndMarker));
  EXPECT_EQ(get("/xt/anna/worked_tasks.txt").second,
            "finished\n1,1,0,0,0,0,0,0,0,0,1,0,0,25,0,25,1,0\n"
            "going on\n0,2,1,3,4,5,6,7,8,2,12,77,1,5,3,35,9,0\n");
  // The same day again rolls nothing.
  get("/xt/tdl.php?id=anna&usr=pc&raw=1" + when(6, 11));
  EXPECT_EQ(store_->list("anna", ListKind::Worked).size(), 2u);
}

TEST_F(SyncServiceTest, TheLockIsReleasedOnlyByItsHolder) {
  start();
  get(rowQuery(1, "x", 6, kScores));
  get("/xt/tdl.php?id=anna&usr=pc&raw=1" + when(6, 8));
  EXPECT_EQ(get("/xt/tdl.php?id=anna&usr=pc&rls=1" + when(6, 7)).first, 200);
  EXPECT_NE(get("/test/rows?id=anna").second.find("\nlock 2024,5,6,8,0,0,0\n"), std::string::npos);
  get("/xt/tdl.php?id=anna&usr=pc&rls=1" + when(6, 8));
  EXPECT_NE(get("/test/rows?id=anna").second.find("\nlock -\n"), std::string::npos);
}

TEST_F(SyncServiceTest, BadFieldsAreRefusedAndStoreNothing) {
  start();
  for (const std::string& target :
       {rowQuery(0, "x", 6, kScores), rowQuery(26, "x", 6, kScores),
        rowQuery(1, "x", 6, "d=2" + kScores.substr(3)), rowQuery(1, "\xFF", 6, kScores),
        rowQuery(1, "x", 6, "d=0"), rowQuery(1, "x", 31 + 1, kScores),
        rowQuery(1, "x", 6, std::string(kScores).replace(kScores.find("cat=12"), 6, "cat=13")),
        std::string("/xt/tdl.php?upd=1&n=1&id=a%2Fb&usr=pc") + when(6) + "&t=x&" + kScores,
        std::string("/xt/tdl.php?id=aaaaaaaaaaaaaaaaaa&usr=pc&raw=1") + when(6),
        std::string("/xt/tdl.php?id=anna&usr=pc") + when(6),
        std::string("/xt/cats.php?upd=1&id=anna&n=3&t=x&cid=4"),
        std::string("/xt/prj.php?upd=1&id=anna&n=0&t=x&pid=1&act=9&wkh=0&wkm=0"),
        std::string("/xt/%2E%2E/worked_tasks.txt")}) {
    EXPECT_EQ(get(target).first, 400) << target;
  }
  EXPECT_FALSE(store_->sheet("anna").exists());
  EXPECT_TRUE(store_->categories("anna").empty());
}

TEST_F(SyncServiceTest, ProjectsAndCategoriesListWhatWasUploaded) {
  start();
  get("/xt/prj.php?upd=1&id=anna&n=1&t=" + encode("Haus, Garten") + "&pid=5&act=1&wkh=3&wkm=7");
  get("/xt/prj.php?upd=1&id=anna&n=0&t=" + encode("项目") + "&pid=8&act=0&wkh=0&wkm=0");
  get("/xt/prj.php?upd=1&id=anna&n=1&t=" + encode("Haus & Hof") + "&pid=5&act=1&wkh=4&wkm=0");
  get("/xt/cats.php?upd=1&id=anna&n=2&t=" + encode("a+b=c") + "&cid=2");
  EXPECT_EQ(get("/xt/prj.php?id=anna").second, std::string(kBeginMarker) +
                                                   "\n8,0,0,0,0,项目\n5,1,4,0,1,Haus & Hof\n" +
                                                   std::string(kEndMarker));
  EXPECT_EQ(get("/xt/cats.php?id=anna").second,
            std::string(kBeginMarker) + "\n2,a+b=c\n" + std::string(kEndMarker));
}

TEST_F(SyncServiceTest, ATokenIsRequiredWhenConfigured) {
  ServiceOptions options;
  options.token = "s3cret";
  start(options);
  EXPECT_EQ(get("/curver.php?ver=v2.3.3").first, 401);
  client_->set_bearer_token_auth("wrong");
  EXPECT_EQ(get("/curver.php?ver=v2.3.3").first, 401);
  client_->set_bearer_token_auth("s3cret");
  EXPECT_EQ(get("/curver.php?ver=v2.3.3"), std::pair(200, std::string("Current Version is v2.3.3\n")));
}

TEST_F(SyncServiceTest, ScriptedFaultsHitTheNamedPathOnly) {
  ServiceOptions options;
  options.geoCountry = "Ireland";
  options.geoRegion = "<Leinster>";
  start(options);
  const std::string page = get("/ib1").second;
  EXPECT_NE(page.find("Country: <b>Ireland</b>"), std::string::npos);
  EXPECT_NE(page.find("Region: <b>&lt;Leinster&gt;</b>"), std::string::npos);

  EXPECT_EQ(get("/test/fault?path=/ib1&kind=status&value=503&count=2").first, 200);
  EXPECT_EQ(get("/ib1"), std::pair(503, std::string("error")));
  EXPECT_EQ(get("/curver.php").first, 200);
  EXPECT_EQ(get("/ib1").first, 503);
  EXPECT_EQ(get("/ib1").second, page);

  get("/test/fault?path=/ib1&kind=cut");
  EXPECT_EQ(get("/ib1").second, page.substr(0, page.size() / 2));
  get("/test/fault?path=/ib1&kind=chunks");
  EXPECT_EQ(get("/ib1").second, page);
  get("/test/fault?path=/ib1&kind=oversize&value=5000");
  EXPECT_EQ(get("/ib1").second.size(), 5000u);
  EXPECT_EQ(get("/test/fault?path=/ib1&kind=explode").first, 400);
}

}  // namespace
}  // namespace tirelmo::sync
