#include "storage/record_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "storage/cfile.h"
#include "storage/csv.h"
#include "storage/scrambler.h"
#include "scrambled_names.h"
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
    readRecordFile(utf8ToUtf16(path(name)), scrambled, u"test", [&](u16& line) {
      lines.push_back(line);
      return LineVerdict::Accept;
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
  const std::uint32_t read = readRecordFile(u"s.p01", true, u"test", [&](u16& line) {
    seen.push_back(line);
    return seen.size() < 2 ? LineVerdict::Accept : LineVerdict::Stop;
  });
  EXPECT_EQ(read, 3u);  // the header and the two lines taken
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

// The record files still to come (the Todolist registry "TdlInfo.p01", the usage file
// "todayAppUsage.txt") read through readRecordFile like this stand-in: rows of the
// registry's layout (identifier, title, path, free rows) and of the usage file's (the name
// first, at the very start of the line). Their texts are ideographs found to scramble into
// CR LF, a lone CR, a lone LF or NUL.
TEST_F(RecordFileTest, RowsWhoseScrambledTextHoldsLineEndsOrNulSurviveSaveAndLoad) {
  struct Row {
    std::int32_t number;
    u16 text;
    bool operator==(const Row&) const = default;
  };
  const u16v kinds[] = {u"\r\n", u"\r", u"\n", u16v(u"\0", 1), u"\r\n\n\r\n"};
  // `tdl`: "%d",title,"path","%d"; otherwise name,"%d","0".
  const auto rowText = [](bool tdl, const Row& r) {
    u16 quoted;
    csvQuote(r.text, 128, quoted);
    return tdl ? fmt(u"\"%d\",%s,\"NextThings\\%s.pm6\",\"50\"", r.number, quoted, r.text)
               : fmt(u"%s,\"%d\",\"0\"", quoted, r.number);
  };
  const auto save = [&](const std::string& name, bool tdl, const std::vector<Row>& rows) {
    AtomicFileWriter w(utf8ToUtf16(path(name)));
    ASSERT_TRUE(writeRecordLine(w, tdl ? u"\"ID\",\"Title\",\"Path\",\"FreeRows\"" : u"\"Name\",\"Secs\",\"isUrl\""));
    for (const Row& r : rows) ASSERT_TRUE(writeRecordLine(w, rowText(tdl, r)));
    ASSERT_TRUE(w.commit());
  };
  const auto load = [&](const std::string& name, bool tdl) {
    std::vector<Row> rows;
    readRecordFile(utf8ToUtf16(path(name)), true, u"load", [&](u16& line) {
      Row r;
      u16 scratch;
      if (csvGetNthToken(tdl ? 1 : 0, line, r.text) != 0 || r.text.empty()) return LineVerdict::Unparsed;
      if (bStoi(tdl ? 0 : 1, line, scratch, r.number) != 0) return LineVerdict::Unparsed;
      if (csvGetNthToken(2, line, scratch) != 0) return LineVerdict::Unparsed;
      rows.push_back(std::move(r));
      return LineVerdict::Accept;
    });
    return rows;
  };

  for (const bool tdl : {true, false}) {
    std::vector<Row> rows;
    for (const u16v kind : kinds) {
      Row r{static_cast<std::int32_t>(rows.size() + 1), u"清单"};
      const u16 before = tdl ? fmt(u"\"%d\",\"清单", r.number) : u16(u"\"清单");
      const u16 found = test::ideographsScramblingTo(before, kind);
      ASSERT_EQ(found.size(), kind.size());
      r.text += found;
      rows.push_back(std::move(r));
    }
    rows.push_back(Row{9, u"plain"});
    const u16 all = [&] {
      u16 units;
      for (const Row& r : rows) units += test::scrambledUnits(rowText(tdl, r)) + u"|";
      return units;
    }();
    ASSERT_TRUE(test::holdsCrLf(all) && test::holdsLoneCr(all) && test::holdsLoneLf(all) && test::holdsNul(all));

    const std::string name = tdl ? "TdlInfo.p01" : "todayAppUsage.txt";
    save(name, tdl, rows);
    const std::string bytes = readBytes(path(name));
    EXPECT_EQ(load(name, tdl), rows) << tdl;
    save(name, tdl, load(name, tdl));
    EXPECT_EQ(readBytes(path(name)), bytes) << tdl;
  }
}

// A line that never parses costs only itself, and the joining stays bounded: at most
// kMaxRecordJoins joins, never a line longer than CFile hands out.
TEST_F(RecordFileTest, AnUnparsedLineIsJoinedAFewTimesAtMostAndTakesNoRecordAlong) {
  const u16 tooSplit = u"\"" + test::ideographsScramblingTo(u"\"", u"\r\n\r\n\r\n\r\n\r\n") + u"\",\"1\"";
  const u16 split = u"\"" + test::ideographsScramblingTo(u"\"", u"\r\n") + u"\",\"3\"";
  const std::string garbage = bytes({0x41, 0x42, 0x43, 0x44}) + kCrLf;  // no quote once decoded
  const std::string longGarbage = std::string(2 * 400, 'z') + kCrLf;
  writeBytes(path("j.p01"), scrambledLe(u"\"Name\",\"Count\"") + kCrLf + scrambledLe(tooSplit) + kCrLf +
                                 scrambledLe(u"\"after\",\"2\"") + kCrLf + garbage + garbage + longGarbage +
                                 longGarbage + scrambledLe(split) + kCrLf);
  std::vector<u16> taken;
  int calls = 0;
  std::size_t longest = 0;
  const std::uint32_t read = readRecordFile(utf8ToUtf16(path("j.p01")), true, u"load", [&](u16& line) {
    ++calls;
    longest = std::max(longest, line.size());
    u16 count;
    if (csvGetNthToken(1, line, count) != 0) return LineVerdict::Unparsed;
    taken.push_back(line.substr(0, line.size() - 1));
    return LineVerdict::Accept;
  });
  EXPECT_EQ(taken, (std::vector<u16>{u"\"after\",\"2\"", split}));
  EXPECT_EQ(read, 14u);  // the header, six pieces of the row split too often, seven more lines
  EXPECT_LE(longest, CFile::kMaxLineUnits);
  // Each start tries itself and its joins once: 6 pieces + 4 garbage lines + 2 records.
  EXPECT_LE(calls, 12 * (kMaxRecordJoins + 1));
  const std::vector<std::string> log = logLines();
  EXPECT_EQ(std::count(log.begin(), log.end(), "load() err reading row ##1"), 1);
  EXPECT_NE(std::find(log.begin(), log.end(), "load() row ##12 was split in 2 lines, joined"), log.end());
}

}  // namespace
}  // namespace tirelmo
