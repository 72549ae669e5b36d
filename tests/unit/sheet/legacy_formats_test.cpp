#include "app/sheet_io.h"
#include "sheet/legacy_formats.h"

#include <gtest/gtest.h>

#include "sheet/sheet_files.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

using test::le;
using test::put32;
using test::scrambled;

const std::string kSeparator = "   --- Unplanned & Urgent ---";

// A zero-padded field of `size` bytes.
std::string field(const std::string& bytes, std::size_t size) {
  std::string f = bytes.substr(0, size);
  f.resize(size, '\0');
  return f;
}

std::string scoreBytes(std::initializer_list<int> v) {
  std::string s;
  for (int b : v) s.push_back(static_cast<char>(b));
  s.resize(10, '\0');
  return s;
}

std::string dayRecord(int used, int pomodoros, int done) {
  std::string r(16, '\0');
  r[0] = static_cast<char>(used);
  r[1] = static_cast<char>(pomodoros);
  r[4] = static_cast<char>(done);
  r[15] = 0x5A;
  return r;
}

class LegacyFormatsTest : public test::SheetTest {
 protected:
  // Files of the older formats are opened through the display, which picks the reader.
  void display(const std::string& name, const std::string& bytes, int y = 2009, int m = 1) {
    writeSheet(y, m, name, bytes);
    ASSERT_TRUE(DisplayToDoSheet(app, sheetPath(y, m, name)));
  }
};

std::string pm5File() {
  std::string texts, scores, infos;
  for (int i = 0; i < 25; ++i) {
    std::string t;
    if (i == 0) t = "Report";
    if (i == 1) t = "Done one";
    if (i == 2) t = std::string(200, 'L');  // no terminator inside the field
    if (i == 20) t = "Urgent call";
    texts += field(le(t), 360);
    scores += i == 0   ? scoreBytes({2, 1, 3, 4, 5, 0, 6, 7, 8, 9})
              : i == 1 ? scoreBytes({1, 0, 0, 0, 1, 1})
              : i == 7 ? scoreBytes({9, 9, 9})  // scores on a free row mean nothing
                       : scoreBytes({});
    std::string info(80, '\0');
    if (i == 0) {
      info[0] = 4;
      put32(info, 4, 55);
      info[8] = 21, info[9] = 5, info[10] = 6;                 // deadline bytes: no meaning here
      info[11] = static_cast<char>(rowflag::kRepeat | rowflag::kDeadline | 0x80);
      info[12] = 1, info[13] = 2, info[14] = 3;                 // insert date: cleared too
      info[15] = 6;
      put32(info, 16, 300);
      put32(info, 20, 42);
      for (int k = 24; k < 80; ++k) info[static_cast<std::size_t>(k)] = 0x77;
    }
    if (i == 7) put32(info, 4, 99);
    infos += info;
  }
  return texts + scores + infos + dayRecord(1, 3, 1);
}

TEST_F(LegacyFormatsTest, Pm5IsTheRawModel) {
  startRunOn(2020, 3, 2);
  display("DailyTask_2020-3-2-1.pm5", pm5File(), 2020, 3);

  EXPECT_TRUE(logHas("load .pm5 todotoday."));
  const TodoRow& r = row(0);
  EXPECT_EQ(r.text, u"Report");
  EXPECT_EQ(r.pomodoros, 2);
  EXPECT_EQ(r.abandoned, 1);
  EXPECT_EQ(r.internalInterruptions, 3);
  EXPECT_EQ(r.externalInterruptions, 4);
  EXPECT_EQ(r.estimated, 5);
  EXPECT_EQ(r.done, 0);
  EXPECT_EQ(r.pastPomodoros, 6);
  EXPECT_EQ(r.pastExternal, 9);
  EXPECT_EQ(r.info.category, 4);
  EXPECT_EQ(r.info.minutesToday, 55);
  EXPECT_EQ(r.info.ageDays, 6);
  EXPECT_EQ(r.info.pastMinutes, 300);
  EXPECT_EQ(r.info.projectId, 42);
  EXPECT_EQ(r.info.flags, rowflag::kRepeat);
  EXPECT_EQ(r.info.deadlineYear, 0);
  EXPECT_EQ(r.info.deadlineMonth, 0);
  EXPECT_EQ(r.info.deadlineDay, 0);
  EXPECT_EQ(r.info.insertDate[0], 0);
  EXPECT_EQ(r.info.reserved1, 0);
  EXPECT_EQ(r.info.reserved4, 0);
  EXPECT_EQ(row(1).done, 1);
  EXPECT_EQ(app.sheet.look[1], RowLook::Done);
  EXPECT_EQ(row(2).text, u16(179, u'L'));
  EXPECT_EQ(row(7), TodoRow());
  EXPECT_EQ(row(20).text, u"Urgent call");
  // The file's day record is kept (the display then marks today's as used).
  EXPECT_EQ(app.sheet.dayTotals.pomodoros, 3);
  EXPECT_EQ(app.sheet.dayTotals.reserved[6], 0x5A);
  EXPECT_EQ(app.month.days[1].pomodoros, 3);
  EXPECT_EQ(app.sheet.separatorIndex, 12);
  EXPECT_FALSE(app.sheet.readOnly);
}

TEST_F(LegacyFormatsTest, Pm4HoldsSixtyUnitTextsInOneScrambledRun) {
  std::string block, scores;
  for (int i = 0; i < 25; ++i) {
    std::string t = i == 0 ? "Sixty units at most" : i == 3 ? kSeparator : i == 4 ? std::string(60, 'w') : "";
    if (i == 9) t = "Later done";
    block += field(le(t), 120);
    scores += i == 0 ? scoreBytes({4, 1, 2, 3, 5}) : i == 9 ? scoreBytes({1, 0, 0, 0, 0, 1, 2}) : scoreBytes({});
  }
  display("DailyTask_2009-1-2.pm4", scrambled(block) + scores);
  EXPECT_TRUE(logHas("bLoadDailyTaskPm4"));
  EXPECT_EQ(row(0).text, u"Sixty units at most");
  EXPECT_EQ(row(0).pomodoros, 4);
  EXPECT_EQ(row(0).estimated, 5);
  EXPECT_EQ(row(4).text, u16(60, u'w'));
  EXPECT_EQ(row(9).done, 1);
  EXPECT_EQ(row(9).pastPomodoros, 2);
  EXPECT_EQ(app.sheet.look[9], RowLook::Done);
  // The file has no separator index: it comes from the texts.
  EXPECT_EQ(app.sheet.separatorIndex, 3);
  EXPECT_TRUE(app.sheet.readOnly);
  EXPECT_EQ(app.start.displayedSheetDate.day(), 2);
  EXPECT_EQ(app.start.displayedSheetDate.dayOfWeek, 5);  // 2 January 2009 was a Friday
}

TEST_F(LegacyFormatsTest, Pm3HasUtf8TextsScoreBytesAndADayRecord) {
  std::string block, scores;
  for (int i = 0; i < 25; ++i) {
    block += field(i == 0 ? "Straße über 10 €" : i == 24 ? "last row" : "", 180);
    scores += i == 0 ? scoreBytes({3, 0, 1, 0, 2, 1}) : scoreBytes({});
  }
  display("DailyTask_2009-1-2.pm3", scrambled(block) + scores + dayRecord(1, 3, 1));
  EXPECT_TRUE(logHas("bLoadDailyTaskPm3"));
  EXPECT_EQ(row(0).text, u"Straße über 10 €");
  EXPECT_EQ(row(0).pomodoros, 3);
  EXPECT_EQ(row(0).done, 1);
  EXPECT_EQ(row(24).text, u"last row");
  EXPECT_EQ(app.sheet.dayTotalsSaved.pomodoros, 3);
  EXPECT_EQ(app.sheet.dayTotalsSaved.used, 1);
  EXPECT_EQ(app.sheet.separatorIndex, -1);
}

TEST_F(LegacyFormatsTest, ScoreCharactersCountMarks) {
  std::string block, scores;
  for (int i = 0; i < 25; ++i) {
    block += field(i == 0 ? "Marked" : i == 1 ? "Done by v" : i == 2 ? "Ignores after NUL" : "", 180);
    scores += field(i == 0 ? "XxX'-?" : i == 1 ? "v" : i == 2 ? std::string("X\0X", 3) : i == 5 ? "XXXX" : "", 10);
  }
  display("DailyTask_2008-6-1.pm2", scrambled(block) + scores + dayRecord(1, 4, 0), 2008, 6);
  EXPECT_EQ(row(0).pomodoros, 3);
  EXPECT_EQ(row(0).internalInterruptions, 1);
  EXPECT_EQ(row(0).externalInterruptions, 1);
  EXPECT_EQ(row(0).done, 0);
  EXPECT_EQ(row(1).done, 1);
  EXPECT_EQ(row(2).pomodoros, 1);
  EXPECT_EQ(row(5), TodoRow());  // marks on a free row are dropped
  EXPECT_TRUE(logHas("Unknown score"));
  EXPECT_TRUE(logHas("bLoadDailyTaskPm2"));
}

// .pm1 and .pom predate the 25-row page: their last rows are the unplanned block, which
// goes where the sheet keeps its separator.
TEST_F(LegacyFormatsTest, PomAndPm1PutTheUnplannedBlockAtTheSeparator) {
  auto oldFile = [](int rows, int unplanned) {
    std::string block, scores;
    for (int i = 0; i < rows; ++i) {
      const int planned = rows - unplanned;
      std::string t = i < planned ? "planned " + std::to_string(i)
                      : i == planned ? kSeparator
                                     : "unplanned " + std::to_string(i);
      block += field(t, 180);
      scores += field(i == 1 ? "X" : i == rows - 1 ? "XX" : "", 10);
    }
    return scrambled(block) + scores + dayRecord(1, 3, 0);
  };

  app.sheet.separatorIndex = 15;  // what the sheet on display had
  display("DailyTask_2005-2-1.pom", oldFile(10, 5), 2005, 2);
  EXPECT_TRUE(logHas("Opening old .pom file"));
  EXPECT_EQ(row(4).text, u"planned 4");
  EXPECT_EQ(row(1).pomodoros, 1);
  EXPECT_EQ(row(15).text, utf8ToUtf16(kSeparator));
  EXPECT_EQ(row(19).text, u"unplanned 9");
  EXPECT_EQ(row(19).pomodoros, 2);
  EXPECT_TRUE(row(5).isFree());
  EXPECT_EQ(app.sheet.separatorIndex, 15);

  // No usable separator index (the first start shows no separator): the block goes to 12.
  app.sheet.separatorIndex = -1;
  display("DailyTask_2006-2-1.pm1", oldFile(15, 8), 2006, 2);
  EXPECT_TRUE(logHas("bLoadDailyTaskPm1"));
  EXPECT_EQ(row(6).text, u"planned 6");
  EXPECT_EQ(row(12).text, utf8ToUtf16(kSeparator));
  EXPECT_EQ(row(19).text, u"unplanned 14");
  EXPECT_EQ(app.sheet.separatorIndex, 12);
  for (int i = 20; i < 25; ++i) EXPECT_TRUE(row(i).isFree()) << i;

  // An index that leaves no room for the block at the bottom is not used either.
  app.sheet.separatorIndex = 22;
  display("DailyTask_2006-2-2.pm1", oldFile(15, 8), 2006, 2);
  EXPECT_EQ(app.sheet.separatorIndex, 12);
}

// Short files: what is there loads, nothing past the end is read, the rest is free.
TEST_F(LegacyFormatsTest, ShortFilesLoadWhatTheyHold) {
  const std::string pm5 = pm5File();
  display("DailyTask_2020-3-2-1.pm5", pm5.substr(0, 1000), 2020, 3);
  EXPECT_EQ(row(0).text, u"Report");
  EXPECT_EQ(row(0).pomodoros, 0);  // its scores were cut off
  EXPECT_EQ(row(1).text, u"Done one");
  EXPECT_EQ(row(2).text, u16(140, u'L'));  // the file ends inside this text
  EXPECT_TRUE(logHas("loadTodoSheetPm5() file holds 1000 of 11266 bytes, the rest reads as empty"));
  // A cut file is kept as it was before anything could write over it.
  EXPECT_EQ(test::readBytes(nativeSheet(2020, 3, "DailyTask_2020-3-2-1.pm5") + ".damaged-1"), pm5.substr(0, 1000));

  std::string block;
  for (int i = 0; i < 25; ++i) block += field(i == 0 ? "short" : "", 180);
  display("DailyTask_2009-1-2.pm3", scrambled(block).substr(0, 181));
  EXPECT_EQ(row(0).text, u"short");
  EXPECT_EQ(app.sheet.dayTotalsSaved, DayStats());

  // Seven bytes of the first text: the missing part is empty, not descrambled zeros.
  for (const char* name : {"DailyTask_2009-1-3.pm2", "DailyTask_2009-1-3.pm1", "DailyTask_2009-1-3.pom"}) {
    display(name, scrambled(block).substr(0, 7));
    EXPECT_EQ(row(0).text, u"short") << name;
    EXPECT_EQ(row(0).pomodoros, 0) << name;
    for (int i = 1; i < 25; ++i) EXPECT_TRUE(row(i).isFree()) << name << " " << i;
  }
  std::string units;
  for (int i = 0; i < 25; ++i) units += field(le(i == 0 ? "wide" : ""), 120);
  display("DailyTask_2009-1-3.pm4", scrambled(units).substr(0, 9));
  EXPECT_EQ(row(0).text, u"wide");
  for (int i = 1; i < 25; ++i) EXPECT_TRUE(row(i).isFree()) << i;

  // An empty file reads as nothing, and the display still replaces the sheet.
  row(0).text = u"before";
  display("DailyTask_2009-1-4.pm3", "");
  EXPECT_TRUE(logHas("bLoadDailyTaskPm3() nothing to read"));
  EXPECT_TRUE(row(0).isFree());
}

}  // namespace
}  // namespace tirelmo
