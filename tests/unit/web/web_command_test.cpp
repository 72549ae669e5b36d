#include "web/web_command.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "unit/web/web_test_support.h"

namespace tirelmo {
namespace {

using test::RecordedActions;

class WebCommandTest : public test::WebLogTest {
 protected:
  void run(const std::string& reply, u16v userId = u"") {
    execWebCmd(reply.data(), reply.size(), userId, actions);
  }
  RecordedActions actions;
};

TEST_F(WebCommandTest, MessagesForEveryoneOrForThisInstallationAreShown) {
  run("001everyoneThe service moves on Monday.");
  run("001ab12cd34Your licence renews today.", u"ab12cd34");
  // Our service sends UTF-8.
  run("001everyone服务器将于周一迁移。");
  ASSERT_EQ(actions.errors.size(), 3u);
  EXPECT_EQ(actions.errors[0], u"The service moves on Monday.");
  EXPECT_EQ(actions.errors[1], u"Your licence renews today.");
  EXPECT_EQ(actions.errors[2], u"服务器将于周一迁移。");
  EXPECT_TRUE(actions.questions.empty());
  EXPECT_TRUE(logged("001 The service moves on Monday."));
}

TEST_F(WebCommandTest, CommandsForOthersAndUnknownCommandsDoNothing) {
  run("001zz99yy88Not for you.", u"ab12cd34");
  run("001ab12cd34Not for an installation without id.");
  run("005everyoneSomething new.");
  run("005zz99yy88Something new.", u"ab12cd34");
  EXPECT_TRUE(actions.nothing());
  const std::string log = logText();
  EXPECT_NE(log.find("to zz99yy88\r\n"), std::string::npos);
  EXPECT_NE(log.find("to ab12cd34\r\n"), std::string::npos);
  // "005" for someone else is only "to": the target is looked at first.
  EXPECT_EQ(log.find("Wrong cmd!\r\n"), log.rfind("Wrong cmd!\r\n"));
  EXPECT_NE(log.find("Wrong cmd!\r\n"), std::string::npos);
}

TEST_F(WebCommandTest, AnAddressIsOfferedWithTheQuestionAndOpenedOnYesOnly) {
  run("001everyoneA new manual is out.__URL__https://tirelmo.example/manual\r\n");
  ASSERT_EQ(actions.questions.size(), 1u);
  EXPECT_NE(actions.questions[0].find(u"A new manual is out."), u16::npos);
  EXPECT_NE(actions.questions[0].find(u"https://tirelmo.example/manual"), u16::npos);
  ASSERT_EQ(actions.opened.size(), 1u);
  EXPECT_EQ(actions.opened[0], u"https://tirelmo.example/manual");

  actions.answerYes = false;
  run("001everyoneAgain.__URL__http://tirelmo.example/");
  EXPECT_EQ(actions.questions.size(), 2u);
  EXPECT_EQ(actions.opened.size(), 1u);
  EXPECT_TRUE(actions.errors.empty());
}

TEST_F(WebCommandTest, AnAddressThatIsNotAWebPageIsRefusedAndTheTextShownPlainly) {
  for (const char* address : {"file:///C:/Windows/System32/calc.exe", "\\\\evil\\share\\setup.exe",
                              "javascript:alert(1)", "calc.exe", "/relative/page",
                              "https://evil.example\\..\\x", "http://tirelmo.example@evil.com/"}) {
    actions = RecordedActions{};
    run(std::string("001everyoneRead this.__URL__") + address);
    EXPECT_TRUE(actions.opened.empty()) << address;
    EXPECT_TRUE(actions.questions.empty()) << address;
    ASSERT_EQ(actions.errors.size(), 1u) << address;
    EXPECT_EQ(actions.errors[0], u"Read this.");
  }
  EXPECT_NE(logText().find("file:///C:/Windows/System32/calc.exe refused"), std::string::npos);
}

TEST_F(WebCommandTest, ShortRepliesAreNeverReadPastTheirEnd) {
  execWebCmd("", 0, u"", actions);
  EXPECT_TRUE(logged("execWebCmd datalen: 0"));
  // Each reply is copied into a buffer of exactly its length; the bytes that would follow
  // in the full text must not count.
  for (std::size_t length : {1u, 3u, 7u, 10u, 11u}) {
    const std::string full = "001everyoneHello";
    std::unique_ptr<char[]> exact(new char[length]);
    full.copy(exact.get(), length);
    execWebCmd(exact.get(), length, u"", actions);
    if (length == 11) {
      ASSERT_EQ(actions.errors.size(), 1u);
      EXPECT_EQ(actions.errors[0], u"");
    } else {
      EXPECT_TRUE(actions.nothing()) << length;
    }
  }
  // A zero byte ends the reply.
  const std::string withNul("001everyoneHi\0__URL__file:///x", 30);
  actions = RecordedActions{};
  run(withNul);
  EXPECT_EQ(actions.errors, std::vector<u16>{u"Hi"});
}

TEST_F(WebCommandTest, OnlyAbsoluteWebAddressesWithAHostAreOpenable) {
  for (u16v good : {u"https://tirelmo.example", u"HTTP://tirelmo.example:8080/a?b=c#d",
                    u"https://[2001:db8::1]/x", u"https://例子.测试/页面"})
    EXPECT_TRUE(isOpenableWebAddress(good)) << utf16ToUtf8(good);
  for (u16v bad : {u"", u"https://", u"http:///path", u"ftp://host/", u"mailto:a@b.c",
                   u"https://host/a b", u"https://host/\tx", u"https://host/\u202Eexe.txt",
                   u"https://host:port/", u"https://user:pw@host/", u"file://host/share"})
    EXPECT_FALSE(isOpenableWebAddress(bad)) << utf16ToUtf8(bad);
}

}  // namespace
}  // namespace tirelmo
