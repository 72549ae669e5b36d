#include "base/log.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/prompts.h"
#include "support/fakes.h"

namespace tirelmo {
namespace {

using test::fromLe;
using test::le;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

LocalTime at(int y, int mo, int d, int h, int mi) {
  LocalTime t;
  t.year = y;
  t.month = mo;
  t.day = d;
  t.hour = h;
  t.minute = mi;
  return t;
}

class LogTest : public ::testing::Test {
 protected:
  void TearDown() override { processLog().closeOnFailedStart(); }
  TempDir dir;
  std::string logPath() const { return dir.native() + "/Tirelmo_v2.3.3_log.txt"; }
};

TEST_F(LogTest, BannerIsByteExact) {
  processLog().open();
  logStartBanner(at(2021, 3, 5, 9, 7), u"C:\\Users\\me\\AppData\\Roaming\\Tirelmo");
  processLog().closeWithTimestamp(at(2021, 3, 5, 18, 4));

  std::string expected;
  expected += le("\n ----   2021-3-5, ore 09:07   ----\r\n");
  expected += le("Tirelmo v2.3.3 0 (32-bit) built on May 14 2021 19:36:34\r\n");
  expected += le("Default User-data dir:  C:\\Users\\me\\AppData\\Roaming\\Tirelmo\r\n");
  expected += le("[2021-3-5 18:04] Closing..\r\n\r\n\r\n");
  const std::string got = readBytes(logPath());
  EXPECT_EQ(got, expected) << fromLe(got);
  // No byte-order mark: the first unit is the bare line feed.
  ASSERT_GE(got.size(), 2u);
  EXPECT_EQ(got.substr(0, 2), std::string("\x0A\x00", 2));
}

TEST_F(LogTest, PiecesJoinWithOneBlankAndPercentIsVerbatim) {
  processLog().open();
  logPiece(u"ok can write into: ");
  logLine(u"%s", u"D:\\100% data\\%d");
  processLog().closeOnFailedStart();
  EXPECT_EQ(readBytes(logPath()), le("ok can write into:  D:\\100% data\\%d\r\nClosing\r\n\r\n"));
}

TEST_F(LogTest, SecondRunAppendsAndLongLinesAreCut) {
  processLog().open();
  logLine(u"first run");
  processLog().closeWithTimestamp(at(2021, 3, 5, 10, 0));
  processLog().open();
  logLine(u"%s", u16(1500, u'x'));
  processLog().closeOnFailedStart();
  const std::string expected = le("first run\r\n[2021-3-5 10:00] Closing..\r\n\r\n\r\n") +
                               le(std::string(1023, 'x') + "\r\n") + le("Closing\r\n\r\n");
  EXPECT_EQ(readBytes(logPath()), expected);
}

TEST_F(LogTest, WritesWhileClosedAreDropped) {
  logLine(u"nobody hears this");
  EXPECT_FALSE(test::fileExists(logPath()));
  processLog().open();
  processLog().closeWithTimestamp(at(2021, 1, 1, 0, 0));
  logLine(u"after close");
  EXPECT_EQ(fromLe(readBytes(logPath())), "[2021-1-1 00:00] Closing..\r\n\r\n\r\n");
}

TEST_F(LogTest, LastErrorLineCarriesCodeAndSystemText) {
  processLog().open();
  setLastErrorCode(winerr::kAccessDenied);
  logLastError(u"CanWriteIntoDir");
  processLog().closeOnFailedStart();
  const std::string text = fromLe(readBytes(logPath()));
  EXPECT_EQ(text.rfind("CanWriteIntoDir last error 5: Access is denied.\r\n\r\n", 0), 0u) << text;
}

TEST_F(LogTest, ShowLastErrorShowsTheSameTextAndLogsNothing) {
  processLog().open();
  test::ScriptedPrompts prompts;
  setLastErrorCode(winerr::kFileNotFound);
  showLastError(prompts, u"CreateWindowEx");
  processLog().closeOnFailedStart();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].caption, u"Error");
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Warning);
  EXPECT_TRUE(startsWith(prompts.shown[0].text, u"CreateWindowEx last error 2: "));
  EXPECT_EQ(fromLe(readBytes(logPath())), "Closing\r\n\r\n");
}

TEST_F(LogTest, RotationWithEarlierLogs) {
  writeBytes(dir.native() + "/Tirelmo_v2.3.3_log_prev.txt", le("day before\r\n"));
  writeBytes(dir.native() + "/Tirelmo_2019_log.txt", le("ancient\r\n"));
  processLog().open();
  logLine(u"yesterday's work");
  const RotationResult r = Log_FirstRunToday(at(2021, 3, 6, 8, 5));
  processLog().closeOnFailedStart();

  EXPECT_EQ(r.delOld, 0);
  EXPECT_EQ(r.cpPrevPrev2, 0);
  EXPECT_EQ(r.cpLogPrev, 0);
  EXPECT_EQ(r.delLog, 0);
  EXPECT_FALSE(test::fileExists(dir.native() + "/Tirelmo_2019_log.txt"));
  EXPECT_EQ(fromLe(readBytes(dir.native() + "/Tirelmo_v2.3.3_log_prev2.txt")), "day before\r\n");
  EXPECT_EQ(fromLe(readBytes(dir.native() + "/Tirelmo_v2.3.3_log_prev.txt")),
            "yesterday's work\r\nLog_FirstRunToday(19110)\r\n"
            "1st run of the day. Closing Log file, creating a new one..\r\nClosing\r\n\r\n");
  EXPECT_EQ(fromLe(readBytes(logPath())),
            " ----   2021-3-6, ore 08:05   ----\r\n"
            "log started on previous file\r\n"
            "del old 0   cp prev prev2 0   cp log prev 0   del log 0\r\n"
            "Tasks imported from prev ToDo sheet, save to create a new one\r\n"
            "Closing\r\n\r\n");
}

TEST_F(LogTest, RotationWithoutEarlierLogsStillStartsANewLog) {
  processLog().open();
  logLine(u"only log");
  const RotationResult r = Log_FirstRunToday(at(2021, 3, 6, 8, 5));
  EXPECT_NE(r.delOld, 0);
  EXPECT_NE(r.cpPrevPrev2, 0);
  EXPECT_EQ(r.cpLogPrev, 0);
  EXPECT_EQ(r.delLog, 0);
  EXPECT_TRUE(processLog().isOpen());
  processLog().closeOnFailedStart();
  const std::string text = fromLe(readBytes(logPath()));
  EXPECT_NE(text.find("del old " + std::to_string(r.delOld) + "   cp prev prev2 " +
                      std::to_string(r.cpPrevPrev2) + "   cp log prev 0   del log 0\r\n"),
            std::string::npos)
      << text;
  EXPECT_FALSE(test::fileExists(dir.native() + "/Tirelmo_v2.3.3_log_prev2.txt"));
}

TEST_F(LogTest, RotationStaysInTheLogsFolderWhenTheDataLivesElsewhere) {
  // A chosen user-data folder is the current directory when the day's first run rotates.
  processLog().open();
  logLine(u"banner of the first run");
  ASSERT_EQ(createDirectory(dir.path() + u"\\data"), MkdirResult::Created);
  ASSERT_TRUE(setCurrentDirectory(dir.path() + u"\\data"));
  const RotationResult r = Log_FirstRunToday(at(2021, 3, 6, 8, 5));
  logLine(u"after the rotation");
  processLog().closeOnFailedStart();

  EXPECT_EQ(r.cpLogPrev, 0);
  EXPECT_EQ(r.delLog, 0);
  EXPECT_NE(fromLe(readBytes(dir.native() + "/Tirelmo_v2.3.3_log_prev.txt")).find("banner of the first run"),
            std::string::npos);
  const std::string today = fromLe(readBytes(logPath()));
  EXPECT_EQ(today.find("banner of the first run"), std::string::npos) << today;
  EXPECT_NE(today.find("after the rotation"), std::string::npos) << today;
  EXPECT_FALSE(test::fileExists(dir.native() + "/data/Tirelmo_v2.3.3_log.txt"));
  EXPECT_FALSE(test::fileExists(dir.native() + "/data/Tirelmo_v2.3.3_log_prev.txt"));
}

TEST_F(LogTest, ConcurrentWritersKeepLinesWhole) {
  processLog().open();
  auto writer = [](char16_t c) {
    for (int i = 0; i < 300; ++i) logLine(u"%s", u16(40, c));
  };
  std::thread a(writer, u'a'), b(writer, u'b');
  a.join();
  b.join();
  processLog().closeOnFailedStart();
  std::string text = fromLe(readBytes(logPath()));
  text.resize(text.size() - std::string("Closing\r\n\r\n").size());
  std::size_t lines = 0, pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos);
    const std::string line = text.substr(pos, end - pos);
    ASSERT_TRUE(line == std::string(40, 'a') || line == std::string(40, 'b')) << line;
    ++lines;
    pos = end + 2;
  }
  EXPECT_EQ(lines, 600u);
}

}  // namespace
}  // namespace tirelmo
