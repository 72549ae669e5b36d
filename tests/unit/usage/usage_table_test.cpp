#include "usage/usage_table.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "posix/file_faults.h"
#include "support/fake_windows.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

using test::le;
using test::readBytes;
using test::scrambled;
using test::writeBytes;

// One line of the usage file as its layout says: the UTF-16LE text scrambled on its own,
// then a plain CR LF.
std::string line(const std::string& utf8) { return scrambled(le(utf8)) + std::string("\r\0\n\0", 4); }
const std::string kHeaderLine = line("\"Name\",\"Secs\",\"isUrl\"");

class UsageTableTest : public test::SheetTest {
 protected:
  UsageTableTest() { std::filesystem::create_directories(dir.native() + "/AppUsage"); }
  std::string usageFile() const { return dir.native() + "/AppUsage/todayAppUsage.txt"; }
  void credit(u16v name, int times, std::int32_t kind = kUsageApp) {
    for (int i = 0; i < times; ++i) addUsageTime(app.usage, name, kind);
  }
  const UsageEntry* entry(u16v name) const {
    const auto i = findUsage(app.usage, name);
    return i ? &app.usage.entries[*i] : nullptr;
  }
};

TEST_F(UsageTableTest, CreditsAddUpAndOnlyShortIdleEntriesArePruned) {
  credit(u"Editor", 3);
  credit(u"Browser", 12, kUsageApp);
  credit(u"Browser", 1, kUsageWeb);  // the kind follows the last sample
  ASSERT_EQ(app.usage.entries.size(), 2u);
  EXPECT_EQ(entry(u"Editor")->seconds, 15u);
  EXPECT_EQ(entry(u"Browser")->seconds, 65u);
  EXPECT_EQ(entry(u"Browser")->kind, kUsageWeb);

  credit(u"Blip", 1);
  for (int pass = 1; pass <= 12; ++pass) pruneUsage(app.usage);
  ASSERT_NE(entry(u"Blip"), nullptr) << "twelve idle passes are allowed";
  credit(u"Editor", 1);  // a credit starts the count again
  pruneUsage(app.usage);
  EXPECT_EQ(entry(u"Blip"), nullptr) << "the thirteenth pass removes it";
  EXPECT_NE(entry(u"Editor"), nullptr);
  for (int pass = 0; pass < 100; ++pass) pruneUsage(app.usage);
  EXPECT_EQ(entry(u"Editor"), nullptr);
  EXPECT_NE(entry(u"Browser"), nullptr) << "a minute or more is never pruned";
}

TEST_F(UsageTableTest, NamesAreNeverEmptyNorCutInsideASurrogatePair) {
  credit(u"", 5);
  EXPECT_TRUE(app.usage.entries.empty());

  // The 255th unit would be the first half of an emoji.
  const u16 longName = u16(254, u'w') + u"\U0001F600tail";
  credit(longName, 2);
  ASSERT_EQ(app.usage.entries.size(), 1u);
  EXPECT_EQ(app.usage.entries[0].name, u16(254, u'w'));
  EXPECT_EQ(app.usage.entries[0].seconds, 10u);

  EXPECT_TRUE(deleteUsageEntry(app.usage, u16(254, u'w')));
  EXPECT_FALSE(deleteUsageEntry(app.usage, u16(254, u'w')));
}

TEST_F(UsageTableTest, TicksCreditTheWindowInFrontAndEveryThirdPrunes) {
  credit(u"Blip", 1);
  app.usage.entries[0].idlePasses = 12;
  test::FakeWindows windows;
  app.windows = &windows;
  windows.show(u"Notepad", u"plan.txt - Notepad");
  EXPECT_FALSE(usageTick(app));
  EXPECT_FALSE(usageTick(app));
  EXPECT_NE(entry(u"Blip"), nullptr);
  EXPECT_TRUE(usageTick(app));
  EXPECT_EQ(entry(u"Blip"), nullptr);
  ASSERT_EQ(app.usage.entries.size(), 1u);
  EXPECT_EQ(app.usage.entries[0].seconds, 15u);

  windows.front = 0;  // a locked screen credits nothing
  EXPECT_FALSE(usageTick(app));
  EXPECT_EQ(app.usage.entries[0].seconds, 15u);
}

TEST_F(UsageTableTest, SavedLinesFollowTheLayoutAndLongNamesAreCutBeforeQuoting) {
  // A quote as the 128th unit must come back whole, and an emoji across the cut not at all.
  const std::string a127(127, 'a');
  credit(utf8ToUtf16(a127 + "\"quoted tail"), 3);
  credit(utf8ToUtf16(a127 + "\xF0\x9F\x98\x80 smile"), 13, kUsageWeb);
  credit(u"Mail \"Inbox\"", 1, kUsageMail);
  ASSERT_TRUE(SaveAppUsageStats(app));
  EXPECT_EQ(readBytes(usageFile()), kHeaderLine + line("\"" + a127 + "\"\"\",\"15\",\"0\"") +
                                        line("\"" + a127 + "\",\"65\",\"1\"") +
                                        line("\"Mail \"\"Inbox\"\"\",\"5\",\"2\""));
  EXPECT_TRUE(logHas("Saving app usage stats into " + utf16ToUtf8(dir.path()) + "\\AppUsage\\todayAppUsage.txt"));

  app.usage.entries.clear();
  EXPECT_EQ(LoadAppUsageStats(app), 3);
  ASSERT_EQ(app.usage.entries.size(), 3u);
  EXPECT_EQ(app.usage.entries[0].name, utf8ToUtf16(a127 + "\""));
  EXPECT_EQ(app.usage.entries[1].name, utf8ToUtf16(a127));
  EXPECT_EQ(app.usage.entries[1].kind, kUsageWeb);
  EXPECT_EQ(app.usage.entries[2].name, u"Mail \"Inbox\"");
  EXPECT_EQ(app.usage.entries[2].seconds, 5u);
}

TEST_F(UsageTableTest, ADamagedLineCostsOnlyItselfAndRepeatedNamesAreMerged) {
  writeBytes(usageFile(), kHeaderLine + line("\"Editor\",\"100\",\"0\"") + line("\"Broken\",\"1x0\",\"0\"") +
                              line("\"\",\"30\",\"0\"") + line("\"news.example\",\"70\",\"1\"") +
                              line("\"Editor\",\"25\",\"0\""));
  EXPECT_EQ(LoadAppUsageStats(app), 3);
  ASSERT_EQ(app.usage.entries.size(), 2u);
  EXPECT_EQ(app.usage.entries[0].name, u"Editor");
  EXPECT_EQ(app.usage.entries[0].seconds, 125u);
  EXPECT_EQ(app.usage.entries[1].name, u"news.example");
  EXPECT_EQ(app.usage.entries[1].kind, kUsageWeb);
  EXPECT_TRUE(logHas("LoadAppUsageStats() err reading row ##2"));
  EXPECT_TRUE(logHas("LoadAppUsageStats() err reading row ##3"));
  EXPECT_FALSE(logHas("LoadAppUsageStats() err reading row ##4"));
}

TEST_F(UsageTableTest, AFailedSaveLeavesTheOldFileWhole) {
  const std::string before = kHeaderLine + line("\"Editor\",\"100\",\"0\"");
  writeBytes(usageFile(), before);
  credit(u"Browser", 20);
  refuseWritesTo("todayAppUsage");
  const bool saved = SaveAppUsageStats(app);
  refuseWritesTo("");
  EXPECT_FALSE(saved);
  EXPECT_EQ(readBytes(usageFile()), before);
  EXPECT_EQ(app.usage.entries.size(), 1u);
}

TEST_F(UsageTableTest, AFileThatCouldNotBeReadIsNeverReplacedByTheLaterCredits) {
  // Something stands where the file is and cannot be opened (here a folder, in life a lock).
  std::filesystem::create_directories(usageFile());
  app.start.firstRunToday = false;
  loadUsageAtStart(app);
  credit(u"Editor", 2);
  EXPECT_FALSE(SaveAppUsageStats(app));
  EXPECT_TRUE(std::filesystem::is_directory(usageFile()));

  // Readable again: the morning's seconds come back and add to the afternoon's.
  std::filesystem::remove(usageFile());
  writeBytes(usageFile(), kHeaderLine + line("\"Editor\",\"600\",\"0\""));
  ASSERT_TRUE(SaveAppUsageStats(app));
  EXPECT_EQ(readBytes(usageFile()), kHeaderLine + line("\"Editor\",\"610\",\"0\""));
}

// The first run of a day is covered with the day restart (the data phase saves at once).
TEST_F(UsageTableTest, ALaterRunOfTheDayTakesTheFileNotWhatMemoryHeld) {
  writeBytes(usageFile(), kHeaderLine + line("\"Editor\",\"600\",\"0\""));
  credit(u"Editor", 1);
  app.start.firstRunToday = false;
  loadUsageAtStart(app);
  ASSERT_EQ(app.usage.entries.size(), 1u);
  EXPECT_EQ(app.usage.entries[0].seconds, 600u);
  EXPECT_TRUE(logHas("Opening app usage stats in " + utf16ToUtf8(dir.path()) + "\\AppUsage\\todayAppUsage.txt"));
}

}  // namespace
}  // namespace tirelmo
