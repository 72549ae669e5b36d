#include "web/web_config.h"

#include <gtest/gtest.h>

#include <string>

#include "unit/web/web_test_support.h"

namespace tirelmo {
namespace {

using WebConfigTest = test::WebLogTest;

TEST(WebConfigRule, HttpsAnywherePlainHttpOnlyToThisComputer) {
  for (const char* good :
       {"https://sync.example.org", "HTTPS://sync.example.org:8443/base", "http://127.0.0.1:8080",
        "Http://127.45.3.2", "http://localhost:9000", "http://LOCALHOST", "http://[::1]:8080/x"})
    EXPECT_TRUE(isAllowedServiceUrl(good)) << good;
  for (const char* bad :
       {"http://sync.example.org", "http://127.0.0.1@evil.com", "http://localhost@evil.com/",
        "https://user:pw@sync.example.org", "http://127.0.0.1.evil.com", "http://128.0.0.1",
        "http://127.0.0.256", "http://0x7f.0.0.1", "http://127.1", "http://localhost.evil.com",
        "http://[::2]", "http://127.0.0.1:80ab", "ftp://127.0.0.1", "file:///C:/x", "https://",
        "https://a b.example", "https://sync.example.org/\r\nX-Header: 1", "127.0.0.1:8080",
        "https://evil.example\\@good.example", ""})
    EXPECT_FALSE(isAllowedServiceUrl(bad)) << bad;
}

TEST_F(WebConfigTest, KeysCommentsAndLineEndsAreRead) {
  const WebConfig c = parseWebConfig(
      "\xEF\xBB\xBF# my own service\r\n"
      "service = http://127.0.0.1:8080/\r\n"
      "geo=https://geo.example.org/ib1\r\n"
      "unknown=whatever\r\n"
      "id=ab12cd34\r\n"
      "token=s3cr3t-t0ken\n");
  EXPECT_EQ(c.serviceBase, "http://127.0.0.1:8080");
  EXPECT_EQ(c.geoUrl, "https://geo.example.org/ib1");
  EXPECT_EQ(c.userId, "ab12cd34");
  EXPECT_EQ(c.token, "s3cr3t-t0ken");
}

TEST_F(WebConfigTest, RefusedValuesKeepTheDefaultsAndAreLogged) {
  const WebConfig c = parseWebConfig(
      "service=http://sync.example.org\n"
      "geo=http://127.0.0.1@evil.com/ib1\n"
      "id=用户标识一二三四五六\n"
      "token=abc def\n");
  EXPECT_EQ(c.serviceBase, kDefaultServiceBase);
  EXPECT_EQ(c.geoUrl, kDefaultGeoUrl);
  EXPECT_EQ(c.userId, "用户标识一二三四");  // eight characters, not eight bytes
  EXPECT_EQ(c.token, "");
  const std::string log = logText();
  EXPECT_NE(log.find("web.cfg: service=http://sync.example.org is not allowed"), std::string::npos);
  EXPECT_NE(log.find("web.cfg: geo=http://127.0.0.1@evil.com/ib1 is not allowed"), std::string::npos);
  EXPECT_NE(log.find("token with blanks"), std::string::npos);
}

TEST_F(WebConfigTest, TheFileBesideTheProgramIsReadAndAMissingOneGivesTheDefaults) {
  const WebConfig missing = readWebConfig(dir.path());
  EXPECT_EQ(missing.serviceBase, kDefaultServiceBase);
  EXPECT_EQ(missing.userId, "");
  EXPECT_NE(logText().find("web.cfg not found, using the built-in web services"), std::string::npos);

  test::writeBytes(dir.native() + "/web.cfg", "service=https://sync.example.org\nid=ab12cd34\n");
  const WebConfig read = readWebConfig(dir.path());
  EXPECT_EQ(read.serviceBase, "https://sync.example.org");
  EXPECT_EQ(read.userId, "ab12cd34");
}

}  // namespace
}  // namespace tirelmo
