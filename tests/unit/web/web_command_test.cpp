#include "web/web_command.h"

#include <gtest/gtest.h>

#include <memory>

#include "unit/web/web_test_support.h"

namespace tirelmo {
namespace {

class WebCommandTest : public test::WebLogTest {
 protected:
  void run(const std::string& reply, u16v userId = u"ab12cd34") {
    execWebCmd(reply.data(), reply.size(), userId, actions);
  }
  test::RecordedActions actions;
};

TEST_F(WebCommandTest, OnlyMessagesForEveryoneOrForUsAreShown) {
  run("001everyone服务器将于周一迁移。");  // our service sends UTF-8
  run("001ab12cd34Your licence renews today.");
  run("001zz99yy88Not for you.");
  run("001ab12cd34Not for an installation without id.", u"");
  run("005everyoneSomething new.");
  run("005zz99yy88Something new.");
  EXPECT_EQ(actions.errors, (std::vector<u16>{u"服务器将于周一迁移。", u"Your licence renews today."}));
  EXPECT_TRUE(actions.questions.empty());
  const std::string log = logText();
  EXPECT_NE(log.find("001 Your licence renews today.\r\n"), std::string::npos);
  EXPECT_NE(log.find("to zz99yy88\r\nto ab12cd34\r\nWrong cmd!\r\nto zz99yy88\r\n"), std::string::npos);
}

TEST_F(WebCommandTest, OnlyWebPagesAreOfferedAndOpenedOnYes) {
  run("001everyoneA new manual.__URL__https://tirelmo.example/manual\r\n");
  ASSERT_EQ(actions.questions.size(), 1u);
  EXPECT_EQ(actions.questions[0], u"A new manual.\n\nhttps://tirelmo.example/manual");
  EXPECT_EQ(actions.opened, std::vector<u16>{u"https://tirelmo.example/manual"});
  actions.answerYes = false;
  run("001everyoneAgain.__URL__http://tirelmo.example/");
  EXPECT_EQ(actions.opened.size(), 1u);

  for (const char* address : {"file:///C:/Windows/System32/calc.exe", "\\\\evil\\share\\setup.exe",
                              "javascript:alert(1)", "calc.exe", "/relative/page", "http:///x",
                              "https://evil.example\\..\\x", "http://tirelmo.example@evil.com/",
                              "https://host/a b", "https://host/\xE2\x80\xAE" "exe.txt"}) {
    actions = test::RecordedActions{};
    run(std::string("001everyoneRead this.__URL__") + address);
    EXPECT_TRUE(actions.opened.empty() && actions.questions.empty()) << address;
    EXPECT_EQ(actions.errors, std::vector<u16>{u"Read this."}) << address;
  }
  EXPECT_NE(logText().find("file:///C:/Windows/System32/calc.exe refused"), std::string::npos);
  EXPECT_TRUE(isOpenableWebAddress(u"HTTPS://例子.测试:8080/页面?a=b#c"));
}

TEST_F(WebCommandTest, ShortRepliesAreNeverReadPastTheirEnd) {
  execWebCmd("", 0, u"", actions);
  EXPECT_TRUE(logged("execWebCmd datalen: 0"));
  // Each reply sits in a buffer of exactly its length (a sanitizer sees any read past it).
  const std::string full = "001everyoneHello";
  for (std::size_t length : {1u, 3u, 10u}) {
    std::unique_ptr<char[]> exact(new char[length]);
    full.copy(exact.get(), length);
    execWebCmd(exact.get(), length, u"", actions);
  }
  EXPECT_TRUE(actions.nothing());
  run(std::string("001everyoneHi\0__URL__file:///x", 30));  // a zero byte ends the reply
  EXPECT_EQ(actions.errors, std::vector<u16>{u"Hi"});
}

}  // namespace
}  // namespace tirelmo
