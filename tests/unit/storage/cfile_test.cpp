#include "storage/cfile.h"

#include <gtest/gtest.h>

#include <random>

#include "storage_fixture.h"

namespace tirelmo {
namespace {

using test::le;
using test::lvRecord;
using test::writeBytes;

std::string leUnits(u16v text) {
  std::string b;
  for (char16_t c : text) {
    b.push_back(static_cast<char>(c & 0xFF));
    b.push_back(static_cast<char>(c >> 8));
  }
  return b;
}

// A text of n units, different for every seed.
u16 textOf(std::size_t n, char16_t seed) {
  u16 t;
  for (std::size_t i = 0; i < n; ++i) t.push_back(static_cast<char16_t>(u'A' + (seed + i) % 26));
  return t;
}

class CFileTest : public test::LoggedDirTest {
 protected:
  u16 name(const std::string& n) const { return utf8ToUtf16(path(n)); }

  std::vector<u16> allLines(CFile& f) {
    std::vector<u16> lines;
    u16 line;
    while (f.gets(line) != 0) lines.push_back(line);
    EXPECT_EQ(line, u"");
    return lines;
  }
};

TEST_F(CFileTest, MissingFileReadsAsEmptyAndSaysWhy) {
  {
    CFile text(u"missing.p01", kCFileTextLines);
    u16 line = u"stale";
    EXPECT_EQ(text.gets(line), 0u);
    EXPECT_EQ(line, u"");
    EXPECT_EQ(text.fileSize(), 0u);
    CFile records(u"missing.pm6", kCFileLvRecords);
    unsigned char dest[64];
    EXPECT_EQ(records.getLvRecord(dest, sizeof dest), 0u);
  }
  EXPECT_EQ(logLines(), (std::vector<std::string>{
                            "File size: 0. Req heap block: 1024",
                            "CFile::gets() _pRow null.",
                            "File size: 0. Req heap block: 1024",
                            "CFile::getLvRecord() _pLvRec null.",
                        }));
}

TEST_F(CFileTest, OneFullBufferOfLinesTakesOneRefillThenAnEmptyOne) {
  // 7 lines of 71 characters + CR LF = 511 units = exactly 1022 bytes.
  std::string file;
  std::vector<u16> texts;
  for (int i = 0; i < 7; ++i) {
    texts.push_back(textOf(71, static_cast<char16_t>(i)));
    file += leUnits(texts.back() + u"\r\n");
  }
  ASSERT_EQ(file.size(), 1022u);
  writeBytes(path("full.txt"), file);

  CFile f(name("full.txt"), kCFileTextLines);
  EXPECT_EQ(f.fileSize(), 1022u);
  u16 line;
  for (int i = 0; i < 6; ++i) {
    ASSERT_EQ(f.gets(line), 72u);
    EXPECT_EQ(line, texts[i] + u"\r");
  }
  EXPECT_EQ(f.refillCount(), 1u);
  EXPECT_EQ(f.bytesRead(), 1022u);
  ASSERT_EQ(f.gets(line), 72u);
  EXPECT_EQ(line, texts[6] + u"\r");
  EXPECT_EQ(f.refillCount(), 2u);
  EXPECT_EQ(f.bytesRead(), 0u);
  EXPECT_EQ(f.gets(line), 0u);
  EXPECT_EQ(logLines(), std::vector<std::string>{"File size: 1022. Req heap block: 1024"});
}

TEST_F(CFileTest, LinesAcrossBufferEdgesComeBackWhole) {
  // Lengths put lines of the longest size that fits (509) across refill edges, next to
  // empty and one-unit lines. Units include lone CR, lone LF and NUL: only the pair CR LF
  // ends a line.
  const std::size_t lengths[] = {100, 508, 3, 0, 509, 250, 1, 509, 17, 508, 0, 0, 509, 77, 400, 509};
  std::mt19937 rng(42);
  const char16_t alphabet[] = {u'a', u'"', u',', u'中', u'文', 0x0000, 0x000A, 0x000D, 0xFFFF, 0xD83D};
  std::vector<u16> texts;
  std::string file;
  for (std::size_t n : lengths) {
    u16 t;
    for (std::size_t i = 0; i < n; ++i) {
      char16_t c = alphabet[rng() % std::size(alphabet)];
      if (c == 0x000A && !t.empty() && t.back() == 0x000D) c = u'x';
      t.push_back(c);
    }
    texts.push_back(t);
    file += leUnits(t + u"\r\n");
  }
  writeBytes(path("mixed.txt"), file);

  CFile f(name("mixed.txt"), kCFileTextLines);
  u16 first, second;
  ASSERT_EQ(f.gets(first), 101u);
  ASSERT_EQ(f.gets(second), 509u);
  // The second line (510 units with CR LF) began 102 units in: its 409 buffered units
  // moved to the start and the refill read the 204 bytes up to the 1022-byte mark.
  EXPECT_EQ(f.refillCount(), 2u);
  EXPECT_EQ(f.bytesRead(), 204u);
  std::vector<u16> lines = allLines(f);
  lines.insert(lines.begin(), {first, second});
  ASSERT_EQ(lines.size(), texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(lines[i], texts[i] + u"\r") << "line " << i;
}

TEST_F(CFileTest, LineTooLongForTheBufferEndsTheRead) {
  writeBytes(path("long.txt"), le("first\r\nsecond\r\n") + leUnits(textOf(510, 0) + u"\r\n") + le("after\r\n"));
  CFile f(name("long.txt"), kCFileTextLines);
  EXPECT_EQ(allLines(f), (std::vector<u16>{u"first\r", u"second\r"}));

  // 509 characters is the most that fits, also as the very first line.
  writeBytes(path("max.txt"), leUnits(textOf(509, 3) + u"\r\n") + le("next\r\n"));
  CFile g(name("max.txt"), kCFileTextLines);
  EXPECT_EQ(allLines(g), (std::vector<u16>{textOf(509, 3) + u"\r", u"next\r"}));
}

TEST_F(CFileTest, OnlyCrLfEndsALine) {
  const struct {
    const char* what;
    std::string bytes;
    std::vector<u16> lines;
  } cases[] = {
      {"last line without line end", le("one\r\ntwo"), {u"one\r"}},
      {"last line ending in CR only", le("one\r\ntwo\r"), {u"one\r"}},
      {"last line ending in LF only", le("one\r\ntwo\n"), {u"one\r"}},
      {"lone LF inside a line", le("a\nb\r\nc\r\n"), {u"a\nb\r", u"c\r"}},
      {"NUL inside a line", leUnits(u16(u"a") + char16_t(0) + u"b\r\n"), {u16(u"a") + char16_t(0) + u"b\r"}},
      {"empty lines", le("\r\n\r\n"), {u"\r", u"\r"}},
      {"empty file", "", {}},
  };
  for (const auto& c : cases) {
    writeBytes(path("c.txt"), c.bytes);
    CFile f(name("c.txt"), kCFileTextLines);
    EXPECT_EQ(allLines(f), c.lines) << c.what;
  }
}

TEST_F(CFileTest, OddByteCountNeverReachesPastTheData) {
  const struct {
    const char* what;
    std::string bytes;
    std::vector<u16> lines;
  } cases[] = {
      {"one stray byte", "X", {}},
      {"stray byte after a line", le("ab\r\n") + "X", {u"ab\r"}},
      // The 0A of LF without its high byte is not a line end.
      {"half an LF", le("ab\r") + "\x0A", {}},
      {"stray byte after a full buffer", leUnits(textOf(509, 1) + u"\r\n") + "X", {textOf(509, 1) + u"\r"}},
  };
  for (const auto& c : cases) {
    writeBytes(path("odd.txt"), c.bytes);
    CFile f(name("odd.txt"), kCFileTextLines);
    EXPECT_EQ(allLines(f), c.lines) << c.what;
  }
  // A half unit at the end is simply no data: the reader does not retry over it.
  for (const std::string& line : logLines()) EXPECT_EQ(line.rfind("File size: ", 0), 0u) << line;
}

class CFileRecordsTest : public CFileTest {
 protected:
  std::vector<std::string> allRecords(CFile& f, std::size_t capacity) {
    std::vector<std::string> records;
    std::string dest(capacity, '\0');
    while (const std::uint32_t len = f.getLvRecord(dest.data(), capacity)) records.push_back(dest.substr(0, len));
    return records;
  }
};

TEST_F(CFileRecordsTest, RecordsAcrossBufferEdgesComeBackWhole) {
  // A 40-byte header record, then row records of .pm6 sizes; 426 is the largest row and
  // several of them straddle a 1022-byte edge.
  std::vector<std::string> records = {lvRecord(40)};
  const std::uint32_t lengths[] = {70, 426, 126, 426, 426, 4, 300, 426, 68, 426, 200};
  for (std::size_t i = 0; i < std::size(lengths); ++i)
    records.push_back(lvRecord(lengths[i], static_cast<unsigned char>(i * 31)));
  std::string file;
  for (const std::string& r : records) file += r;
  writeBytes(path("s.pm6"), file);

  CFile f(name("s.pm6"), kCFileLvRecords);
  std::string dest(426, '\0');
  for (int i = 0; i < 5; ++i) ASSERT_EQ(f.getLvRecord(dest.data(), dest.size()), records[i].size());
  // The fifth record (426 bytes from byte 662) crossed the edge: its 360 buffered bytes
  // moved to the start and the refill read 662 bytes up to the 1022-byte mark.
  EXPECT_EQ(dest, records[4]);
  EXPECT_EQ(f.refillCount(), 2u);
  EXPECT_EQ(f.bytesRead(), 662u);
  std::vector<std::string> rest = allRecords(f, 426);
  rest.insert(rest.begin(), records.begin(), records.begin() + 5);
  EXPECT_EQ(rest, records);
  EXPECT_EQ(logLines(), (std::vector<std::string>{
                            "File size: " + std::to_string(file.size()) + ". Req heap block: 1024",
                            "CFile::getLvRecord() no more bytes",
                        }));
}

TEST_F(CFileRecordsTest, OneFullBufferOfRecordsTakesOneRefillThenAnEmptyOne) {
  const std::vector<std::string> records = {lvRecord(40), lvRecord(426, 1), lvRecord(426, 2), lvRecord(130, 3)};
  writeBytes(path("full.pm6"), records[0] + records[1] + records[2] + records[3]);

  CFile f(name("full.pm6"), kCFileLvRecords);
  std::string dest(426, '\0');
  for (int i = 0; i < 3; ++i) ASSERT_EQ(f.getLvRecord(dest.data(), dest.size()), records[i].size());
  EXPECT_EQ(f.refillCount(), 1u);
  EXPECT_EQ(f.bytesRead(), 1022u);
  ASSERT_EQ(f.getLvRecord(dest.data(), dest.size()), 130u);
  EXPECT_EQ(dest.substr(0, 130), records[3]);
  EXPECT_EQ(f.refillCount(), 2u);
  EXPECT_EQ(f.bytesRead(), 0u);
  EXPECT_EQ(f.getLvRecord(dest.data(), dest.size()), 0u);
}

TEST_F(CFileRecordsTest, DamagedRecordsEndTheReadWithoutOverrunning) {
  const std::string header = lvRecord(40);
  // Room for a record longer than the buffer, so that case meets the buffer limit.
  const std::size_t kRoom = 2048;
  const struct {
    const char* what;
    std::string tail;
    const char* logged;  // the reader's own line, if any
  } cases[] = {
      {"record longer than the buffer", lvRecord(1100), nullptr},
      {"file cut inside a record", lvRecord(200).substr(0, 150), nullptr},
      {"file cut inside a length", "\x05\x01", nullptr},
      {"length beyond the caller's buffer", lvRecord(3000), "CFile::getLvRecord() bad record length 3000 (room for 2048)"},
      {"length of zero", lvRecord(4).replace(0, 4, 4, '\0') + lvRecord(70), "CFile::getLvRecord() bad record length 0 (room for 2048)"},
      {"length shorter than its own field", test::u32le(3) + lvRecord(70), "CFile::getLvRecord() bad record length 3 (room for 2048)"},
  };
  for (const auto& c : cases) {
    writeBytes(path("d.pm6"), header + c.tail);
    const std::size_t logBefore = logLines().size();
    CFile f(name("d.pm6"), kCFileLvRecords);
    // Guard bytes behind the room the reader is told about must stay untouched.
    std::string dest(kRoom + 16, '\x5A');
    ASSERT_EQ(f.getLvRecord(dest.data(), kRoom), 40u) << c.what;
    dest.assign(dest.size(), '\x5A');
    EXPECT_EQ(f.getLvRecord(dest.data(), kRoom), 0u) << c.what;
    EXPECT_EQ(f.getLvRecord(dest.data(), kRoom), 0u) << c.what;
    EXPECT_EQ(dest, std::string(kRoom + 16, '\x5A')) << c.what;

    std::vector<std::string> lines = logLines();
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(logBefore) + 1);
    if (c.logged)
      EXPECT_EQ(lines, (std::vector<std::string>{c.logged, c.logged})) << c.what;
    else
      EXPECT_EQ(lines, std::vector<std::string>{}) << c.what;
  }
}

}  // namespace
}  // namespace tirelmo
