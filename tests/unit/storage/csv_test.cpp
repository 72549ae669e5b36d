#include "storage/csv.h"

#include <gtest/gtest.h>

#include "storage_fixture.h"

namespace tirelmo {
namespace {

class CsvTest : public test::LoggedDirTest {};

TEST_F(CsvTest, QuotingDoublesQuotesAndCutsAtMaxChars) {
  const struct {
    u16 source;
    std::size_t maxChars;
    u16 quoted;
  } cases[] = {
      {u"a\"b", 64, u"\"a\"\"b\""},
      {u"", 64, u"\"\""},
      {u"\"", 64, u"\"\"\"\""},
      {u"Projekt, \"Alpha\"", 128, u"\"Projekt, \"\"Alpha\"\"\""},
      // The cut counts source characters: a doubled quote is one of them.
      {u"ab\"cd", 3, u"\"ab\"\"\""},
      {u"abcdef", 4, u"\"abcd\""},
      // A NUL ends the text, as in the row buffers it comes from.
      {u16(u"ab") + char16_t(0) + u"cd", 64, u"\"ab\""},
  };
  for (const auto& c : cases) {
    u16 dest = u"old";
    EXPECT_EQ(csvQuote(c.source, c.maxChars, dest), 0);
    EXPECT_EQ(dest, c.quoted);
  }
}

TEST_F(CsvTest, FieldsReadBackAsWritten) {
  const struct {
    u16 row;
    int n;
    u16 token;
  } cases[] = {
      {u"\"a\"\"b\"\r", 0, u"a\"b"},
      {u"\"\"\"\"", 0, u"\""},
      {u"\"\"", 0, u""},
      {u"\"\",\"x\"", 1, u"x"},
      {u"\"a\"\"\"", 0, u"a\""},
      {u"\"7\",\"Inbox\",\"NextThings\\7.tdl\",\"50\"\r", 2, u"NextThings\\7.tdl"},
      // Separators are never looked at: anything between fields is skipped.
      {u"\"1\" ;junk; \"2\"", 1, u"2"},
      // A negative n takes the whole row, quotes and all.
      {u"\"a\",\"b\"\"c\"", -1, u"\"a\",\"b\"c\""},
  };
  for (const auto& c : cases) {
    u16 token = u"old";
    EXPECT_EQ(csvGetNthToken(c.n, c.row, token), 0);
    EXPECT_EQ(token, c.token);
  }

  // And what csvQuote writes comes back unchanged.
  for (const u16& text : {u16(u"\"\"\"\""), u16(u"say \"hi\""), u16(u"\"x\",\"y\"")}) {
    u16 quoted, token;
    csvQuote(text, 128, quoted);
    ASSERT_EQ(csvGetNthToken(1, u"\"1\"," + quoted + u",\"0\"", token), 0);
    EXPECT_EQ(token, text);
  }
}

TEST_F(CsvTest, MissingFieldsFailWithOneLogLineAndKeepTheToken) {
  const struct {
    u16 row;
    int n;
    const char* logged;
  } cases[] = {
      {u"", 0, "csvGetNthToken() Row empty"},
      {u"\r", 0, "Begin of tkn 0 not found."},
      {u"\"a\",\"b\"\r", 2, "Begin of tkn 2 not found."},
      {u"\"a\",\"b", 1, "End of tkn 1 not found."},
      {u"\"a\"\"", 0, "End of tkn 0 not found."},
  };
  std::vector<std::string> expected;
  for (const auto& c : cases) {
    u16 token = u"kept";
    EXPECT_EQ(csvGetNthToken(c.n, c.row, token), 1);
    EXPECT_EQ(token, u"kept");
    expected.push_back(c.logged);
  }
  EXPECT_EQ(logLines(), expected);
}

TEST_F(CsvTest, NumbersArePlainDigitsInThe32BitRange) {
  const struct {
    u16 row;
    int ret;
    std::int32_t value;
    const char* logged;
  } cases[] = {
      {u"\"007\"", 0, 7, nullptr},
      {u"\"0\"", 0, 0, nullptr},
      {u"\"2147483647\"", 0, 2147483647, nullptr},
      {u"\"000000000000002147483647\"", 0, 2147483647, nullptr},
      {u"\"-1\"", -1, -1, "bStoi() -1 not a number"},
      {u"\"+1\"", -1, -1, "bStoi() +1 not a number"},
      {u"\" 5\"", -1, -1, "bStoi()  5 not a number"},
      {u"\"12a\"", -1, -1, "bStoi() 12a not a number"},
      {u"\"2147483648\"", -1, -1, "bStoi() 2147483648 not a number"},
      {u"\"99999999999999999999\"", -1, -1, "bStoi() 99999999999999999999 not a number"},
      // Empty or missing: the value stays as it was.
      {u"\"\"", -1, 1234, nullptr},
      {u"\r", -1, 1234, "Begin of tkn 0 not found."},
  };
  std::vector<std::string> expected;
  for (const auto& c : cases) {
    std::int32_t value = 1234;
    u16 scratch;
    EXPECT_EQ(bStoi(0, c.row, scratch, value), c.ret) << utf16ToUtf8(c.row);
    EXPECT_EQ(value, c.value) << utf16ToUtf8(c.row);
    if (c.logged) expected.push_back(c.logged);
  }
  EXPECT_EQ(logLines(), expected);

  std::int32_t value = 0;
  u16 scratch;
  EXPECT_EQ(bStoi(3, u"\"1\",\"x\",\"2\",\"30\"\r", scratch, value), 0);
  EXPECT_EQ(value, 30);
}

}  // namespace
}  // namespace tirelmo
