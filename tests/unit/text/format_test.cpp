#include "text/format.h"

#include <gtest/gtest.h>

#include "text/strings.h"
#include "text/ustring.h"

namespace tirelmo {
namespace {

TEST(Format, LogFormatsOfTheProgram) {
  EXPECT_EQ(fmt(u"%s() err reading row ##%d", u"LoadTodo", 7), u"LoadTodo() err reading row ##7");
  EXPECT_EQ(fmt(u"[%d-%d-%d %02d:%02d] Closing..", 2021, 3, 5, 9, 7), u"[2021-3-5 09:07] Closing..");
  EXPECT_EQ(fmt(u"* Break * %2d min ", 5), u"* Break *  5 min ");
  EXPECT_EQ(fmt(u"%4d|%-4d|%04X|%X|%x", 42, 42, 0xAB, 255u, 255), u"  42|42  |00AB|FF|ff");
  EXPECT_EQ(fmt(u"100%% done"), u"100% done");
  EXPECT_EQ(fmt(u"\"%d\",%s,\"%s\",\"%d\"", 3, u"\"a\"", u"b", 0), u"\"3\",\"a\",\"b\",\"0\"");
}

TEST(Format, PercentInsideArgumentIsNeverInterpreted) {
  EXPECT_EQ(fmt(u"Cur Dir: %s", u"C:\\100%s\\%d%n"), u"Cur Dir: C:\\100%s\\%d%n");
}

TEST(Format, MismatchedOrMissingArgumentsAreSafe) {
  EXPECT_EQ(fmt(u"%d and %s", u"text", 12), u"text and 12");
  EXPECT_EQ(fmt(u"%d %d", 1), u"1 ");
  EXPECT_EQ(fmt(u"%u", -1), u"4294967295");
  EXPECT_EQ(fmt(u"%X", -1), u"FFFFFFFF");
  EXPECT_EQ(fmt(u"end %"), u"end %");
  EXPECT_EQ(fmt(u"%q"), u"%q");
}

TEST(Format, PointerIsUpperHexOfPointerWidth) {
  const void* p = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(0xBEEF));
  u16 s = fmt(u"%p", p);
  EXPECT_EQ(s.size(), sizeof(void*) * 2);
  EXPECT_TRUE(endsWith(s, u"BEEF"));
  EXPECT_EQ(s.find_first_not_of(u'0'), s.size() - 4);
}

TEST(Format, RealsAndPrecision) {
  EXPECT_EQ(fmt(u"%.1f%%", 25.0), u"25.0%");
  EXPECT_EQ(fmt(u"%.3s", u"abcdef"), u"abc");
  EXPECT_EQ(fmt(u"%ld %lu %I64d", 5L, 6UL, 7LL), u"5 6 7");
  EXPECT_EQ(fmt(u"%c%c", u'O', u"K"), u"OK");
}

TEST(Utf, RoundTripsAndRepairsBadInput) {
  const std::string zh = "\xE4\xBB\xBB\xE5\x8A\xA1 task \xF0\x9F\x8D\x85";  // 任务 task 🍅
  u16 w = utf8ToUtf16(zh);
  EXPECT_EQ(w.size(), 2u + 6u + 2u);  // the tomato needs a surrogate pair
  EXPECT_EQ(utf16ToUtf8(w), zh);
  EXPECT_EQ(utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(utf8ToUtf16("\xE4\xBB"), u"\uFFFD\uFFFD");  // cut sequence
  EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong '/'
  const char16_t lone[] = {u'x', 0xD800, 0};
  EXPECT_EQ(utf16ToUtf8(lone), "x\xEF\xBF\xBD");
}

TEST(Text, LooseNumbersWildcardsAndCapacity) {
  EXPECT_EQ(looseToInt(u"  -8"), -8);
  EXPECT_EQ(looseToInt(u"12abc"), 12);
  EXPECT_EQ(looseToInt(u"abc"), 0);
  EXPECT_EQ(looseToInt(u"99999999999"), 2147483647);
  EXPECT_EQ(looseToInt(u"-99999999999"), -2147483647 - 1);
  EXPECT_TRUE(wildcardMatch(u"Tirelmo_20*_log.txt", u"Tirelmo_2019_05_log.txt"));
  EXPECT_FALSE(wildcardMatch(u"Tirelmo_20*_log.txt", u"Tirelmo_v2.3.3_log.txt"));
  EXPECT_TRUE(wildcardMatch(u"InvList*.*", u"invlist3.txt"));
  EXPECT_TRUE(wildcardMatch(u"InvList*.*", u"InvList"));
  EXPECT_FALSE(wildcardMatch(u"InvList*.*", u"Inv.txt"));
  EXPECT_EQ(cutToCapacity(u"abcdef", 4), u"abc");
  EXPECT_EQ(cutToCapacity(u"abc", 4), u"abc");
}

TEST(Strings, ChineseTwinFollowsTheLanguageSetting) {
  EXPECT_EQ(languageFromSetting(u"Chinese (Simplified)"), Language::ChineseSimplified);
  EXPECT_EQ(languageFromSetting(u"English"), Language::English);
  EXPECT_EQ(languageFromSetting(u"chinese (simplified)"), Language::English);
  EXPECT_EQ(u16v(text(Txt::ErrSettingsNotSaved, Language::English)), u"Error: settings not saved into file!");
  EXPECT_NE(u16v(text(Txt::ErrSettingsNotSaved, Language::ChineseSimplified)),
            u16v(text(Txt::ErrSettingsNotSaved, Language::English)));
}

}  // namespace
}  // namespace tirelmo
