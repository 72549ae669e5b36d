#include "web/web_config.h"

#include <gtest/gtest.h>

#include "unit/web/web_test_support.h"

namespace tirelmo {
namespace {

using WebConfigTest = test::WebLogTest;

TEST(WebConfigRule, HttpsAnywherePlainHttpOnlyToThisComputer) {
  for (const char* good : {"HTTPS://sync.example.org:8443/base", "http://127.45.3.2:8080",
                           "Http://LOCALHOST", "http://[::1]:8080/x"})
    EXPECT_TRUE(isAllowedServiceUrl(good)) << good;
  for (const char* bad :
       {"http://sync.example.org", "http://127.0.0.1@evil.com", "https://user:pw@sync.example.org",
        "http://127.0.0.1.evil.com", "http://127.0.0.256", "http://0x7f.0.0.1", "http://127.1",
        "http://localhost.evil.com", "http://[::2]", "ftp://127.0.0.1", "https://",
        "https://a b.example", "https://sync.example.org/\r\nX-Header: 1",
        "https://evil.example\\@good.example"})
    EXPECT_FALSE(isAllowedServiceUrl(bad)) << bad;
}

TEST_F(WebConfigTest, GoodValuesAreTakenAndRefusedOnesKeepTheDefaults) {
  WebConfig c = parseWebConfig(
      "\xEF\xBB\xBF# my own service\r\nservice = http://127.0.0.1:8080/\r\n"
      "geo=https://geo.example.org/ib1\r\nunknown=x\r\nid=ab12cd34\r\ntoken=s3cr3t\n");
  EXPECT_EQ(c.serviceBase, "http://127.0.0.1:8080");
  EXPECT_EQ(c.geoUrl, "https://geo.example.org/ib1");
  EXPECT_EQ(c.userId, "ab12cd34");
  EXPECT_EQ(c.token, "s3cr3t");

  c = parseWebConfig("service=http://sync.example.org\nid=用户标识一二三四五六\ntoken=abc def\n");
  EXPECT_EQ(c.serviceBase, kDefaultServiceBase);
  EXPECT_EQ(c.userId, "用户标识一二三四");  // eight characters, not eight bytes
  EXPECT_EQ(c.token, "");
  EXPECT_NE(logText().find("web.cfg: service=http://sync.example.org is not allowed"), std::string::npos);

  EXPECT_EQ(readWebConfig(dir.path()).serviceBase, kDefaultServiceBase);
  EXPECT_NE(logText().find("web.cfg not found, using the built-in web services"), std::string::npos);
  test::writeBytes(dir.native() + "/web.cfg", "service=https://sync.example.org\n");
  EXPECT_EQ(readWebConfig(dir.path()).serviceBase, "https://sync.example.org");
}

}  // namespace
}  // namespace tirelmo
