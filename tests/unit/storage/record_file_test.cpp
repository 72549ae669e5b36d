#include "storage/record_file.h"

#include <gtest/gtest.h>

#include "storage/csv.h"
#include "storage/scrambler.h"
#include "storage_fixture.h"

namespace tirelmo {
namespace {

using test::bytes;
using test::le;
using test::readBytes;
using test::writeBytes;

const std::string kCrLf("\x0D\x00\x0A\x00", 4);

std::string scrambledLe(u16v text) {
  std::string b;
  appendUtf16Le(b, text);
  scrambleBytes(b.data(), b.data(), b.size());
  return b;
}

// Where the unit (lo, hi) sits at a unit boundary of `run`, or npos.
std::size_t unitAt(const std::string& run, unsigned char lo, unsigned char hi) {
  for (std::size_t i = 0; i + 1 < run.size(); i += 2)
    if (static_cast<unsigned char>(run[i]) == lo && static_cast<unsigned char>(run[i + 1]) == hi) return i;
  return std::string::npos;
}

class RecordFileTest : public test::LoggedDirTest {
 protected:
  std::vector<u16> readAll(const std::string& name, bool scrambled = true) {
    std::vector<u16> lines;
    readRecordFile(utf8ToUtf16(path(name)), scrambled, [&](u16& line) {
      lines.push_back(line);
      return true;
    });
    return lines;
  }
};

TEST_F(RecordFileTest, LinesAreScrambledOneByOneAndEndInPlainCrLf) {
  {
    AtomicFileWriter w(u"a.p01");
    ASSERT_TRUE(writeRecordLine(w, u"A"));
    ASSERT_TRUE(writeRecordLine(w, u"\"1\",\"same\""));
    ASSERT_TRUE(writeRecordLine(w, u""));
    ASSERT_TRUE(writeRecordLine(w, u"\"1\",\"same\""));
    ASSERT_TRUE(w.commit());
  }
  const std::string got = readBytes(path("a.p01"));
  // "A" scrambles to 69 13 (worked out by hand in the scrambler test).
  const std::string a = bytes({0x69, 0x13}) + kCrLf;
  // The scrambler starts afresh on each line, so equal lines give equal bytes wherever
  // they stand.
  const std::string same = scrambledLe(u"\"1\",\"same\"") + kCrLf;
  EXPECT_EQ(got, a + same + kCrLf + same);
}

TEST_F(RecordFileTest, PlainLinesAreTextAndCrLf) {
  {
    AtomicFileWriter w(u"plain.txt");
    ASSERT_TRUE(writePlainLine(w, u"\"ID\",\"Name\""));
    ASSERT_TRUE(writePlainLine(w, u"\"7\",\"写周报\""));
    ASSERT_TRUE(w.commit());
  }
  EXPECT_EQ(readBytes(path("plain.txt")), le("\"ID\",\"Name\"\r\n\"7\",\"写周报\"\r\n"));
  EXPECT_EQ(readAll("plain.txt", false), std::vector<u16>{u"\"7\",\"写周报\"\r"});
}

TEST_F(RecordFileTest, WriteIntoAMissingFolderFails) {
  AtomicFileWriter w(u"no-such-folder\\x.p01");
  EXPECT_FALSE(writeRecordLine(w, u"\"1\""));
  EXPECT_FALSE(writePlainLine(w, u"\"1\""));
}

TEST_F(RecordFileTest, DecodeKeepsTheLastUnitAndLeavesShortLinesAlone) {
  u16 line{char16_t(0x1369), u'\r'};  // "A" scrambled, as gets hands it over
  decodeRecordLine(line);
  EXPECT_EQ(line, u"A\r");

  u16 onlyCr = u"\r";
  decodeRecordLine(onlyCr);
  EXPECT_EQ(onlyCr, u"\r");
  u16 empty;
  decodeRecordLine(empty);
  EXPECT_EQ(empty, u"");

  // A CR LF line decodes to CR and holds no field.
  u16 token = u"kept";
  EXPECT_EQ(csvGetNthToken(0, onlyCr, token), 1);
  EXPECT_EQ(token, u"kept");
}

TEST_F(RecordFileTest, HeaderIsDroppedUnreadEvenWhenItIsNoCsv) {
  // Header: plain, unscrambled, no quote at all; then one real record line.
  writeBytes(path("h.p01"), le("junk header, not even scrambled\r\n") +
                                scrambledLe(u"\"3\",\"Inbox\"") + kCrLf);
  EXPECT_EQ(readAll("h.p01"), std::vector<u16>{u"\"3\",\"Inbox\"\r"});

  // A file of only a header, and a missing file, hand over nothing.
  writeBytes(path("only.p01"), scrambledLe(u"\"ID\",\"Name\"") + kCrLf);
  EXPECT_TRUE(readAll("only.p01").empty());
  EXPECT_TRUE(readAll("missing.p01").empty());
}

TEST_F(RecordFileTest, CallerCanStopEarly) {
  {
    AtomicFileWriter w(u"s.p01");
    for (const char16_t* t : {u"\"ID\"", u"\"1\"", u"\"2\"", u"\"3\""}) ASSERT_TRUE(writeRecordLine(w, t));
    ASSERT_TRUE(w.commit());
  }
  std::vector<u16> seen;
  const std::uint32_t handed = readRecordFile(u"s.p01", true, [&](u16& line) {
    seen.push_back(line);
    return seen.size() < 2;
  });
  EXPECT_EQ(handed, 2u);
  EXPECT_EQ(seen, (std::vector<u16>{u"\"1\"\r", u"\"2\"\r"}));
}

// Real task names whose scrambled line holds a unit that a reader stopping at LF or at NUL
// would take for the end of the line. Found by scrambling task names in a project row:
//   "買鉛筆" (buy pencils) at id 1 scrambles its 7th unit to 0x000A;
//   "開憑證" (issue a voucher) at id 10 scrambles its 8th unit to 0x0000;
//   "记得沛县出差" (remember the Peixian trip) alone scrambles its 3rd unit to 0x0000.
TEST_F(RecordFileTest, ScrambledLfAndNulUnitsStayInsideTheirLine) {
  const u16 lfLine = u"\"1\",\"買鉛筆\",\"0\",\"25\",\"1\",\"0\",\"0\",\"0\"";
  const u16 nulLine = u"\"10\",\"開憑證\",\"0\",\"25\",\"1\",\"0\",\"0\",\"0\"";
  const u16 nulText = u"记得沛县出差";
  ASSERT_EQ(unitAt(scrambledLe(lfLine), 0x0A, 0x00), 12u);
  ASSERT_EQ(unitAt(scrambledLe(nulLine), 0x00, 0x00), 14u);
  ASSERT_EQ(unitAt(scrambledLe(nulText), 0x00, 0x00), 4u);

  const std::vector<u16> lines = {u"\"ID\",\"Name\",\"Hours\",\"Minutes\",\"Status\",\"Year\",\"Month\",\"Day\"",
                                  lfLine, nulLine, nulText, u"\"11\",\"after\""};
  {
    AtomicFileWriter w(u"active_prj.p01");
    for (const u16& l : lines) ASSERT_TRUE(writeRecordLine(w, l));
    ASSERT_TRUE(w.commit());
  }
  // The units really are in the file.
  const std::string file = readBytes(path("active_prj.p01"));
  ASSERT_NE(file.find(scrambledLe(lfLine)), std::string::npos);
  ASSERT_NE(file.find(scrambledLe(nulLine)), std::string::npos);

  const std::vector<u16> got = readAll("active_prj.p01");
  ASSERT_EQ(got.size(), 4u);
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], lines[i + 1] + u"\r") << i;
  u16 name;
  ASSERT_EQ(csvGetNthToken(1, got[0], name), 0);
  EXPECT_EQ(name, u"買鉛筆");
  ASSERT_EQ(csvGetNthToken(1, got[1], name), 0);
  EXPECT_EQ(name, u"開憑證");
}

}  // namespace
}  // namespace tirelmo
