#include "export/data_export.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fakes.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

using test::header;
using test::TempDir;
using test::le;
using test::put32;
using test::readBytes;
using test::Rec;
using test::record;
using test::scrambled;
using test::writeBytes;

// A line of the scrambled record files (projects, usage): the UTF-16LE text scrambled on
// its own, then a plain CR LF.
std::string recordLine(const std::string& utf8) { return scrambled(le(utf8)) + std::string("\r\0\n\0", 4); }

class DataExportTest : public ::testing::Test {
 protected:
  std::string data() const { return dir.native() + "/data"; }
  void put(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path p = data() + "/" + relative;
    std::filesystem::create_directories(p.parent_path());
    writeBytes(p.string(), bytes);
  }
  std::string out(const std::string& name) const { return readBytes(dir.native() + "/out/" + name); }
  ExportResult run(u16v outDir) {
    ExportRequest rq;
    rq.dataDir = dir.path() + u"\\data";
    rq.outDir = u16(outDir);
    rq.onProblem = [&](u16v p) { problems.push_back(utf16ToUtf8(p)); };
    return exportUserData(rq);
  }

  TempDir dir;
  std::vector<std::string> problems;
};

TEST_F(DataExportTest, EveryKindOfAHandMadeFolderComesOutAsCsvAndJson) {
  // Today's format: a task with a deadline, the separator, a done repeat task below it.
  Rec a;
  a.index = 0, a.text = "Write \"report\", part 1", a.pomodoros = 2, a.estimated = 3, a.category = 2;
  a.projectId = 7, a.minutesToday = 50, a.age = 3, a.flags = 4, a.deadlineYear = 21, a.deadlineMonth = 4;
  a.deadlineDay = 1;
  Rec sep;
  sep.index = 12, sep.text = "   --- Unplanned & Urgent ---";
  Rec b;
  b.index = 13, b.text = "Urgent call", b.flags = 1 | 2;
  put("DailyTask/2021/3/DailyTask_2021-3-5-5.pm6", header() + record(a) + record(sep) + record(b));
  put("DailyTask/2021/3/DailyTask_2021-3-6-6.pm6", "");  // nothing to read: told, left out

  // A .pm5 of 2019: texts, score bytes, info blocks, day record, nothing scrambled.
  std::string pm5(9000 + 250 + 2000 + 16, '\0');
  const std::string text = le("Old 中文 task");
  pm5.replace(0, text.size(), text);
  pm5[9000] = 1;      // pomodoros
  pm5[9000 + 5] = 1;  // done
  pm5[9250] = 1;      // category
  put32(pm5, 9250 + 4, 25);
  put32(pm5, 9250 + 20, 99);
  put("DailyTask/2019/1/DailyTask_2019-1-2-3.pm5", pm5);

  std::string month(496, '\0');
  const char day5[16] = {1, 4, 1, 2, 3, 1, 5, 1, 40};
  month.replace(16 * 4, 16, day5, 16);
  put("stats/2021-3.ats", scrambled(month));

  const std::string archiveHeader =
      "\"DayOfWeek\",\"DoneYY\",\"DoneMM\",\"DoneDD\",\"Descr\",\"StartYear\",\"StartMM\",\"StartDD\",\"InsertYY\","
      "\"InsertMM\",\"InsertDD\",\"Age\",\"Pomo\",\"Abandoned\",\"Int Interrupt\",\"Ext Interrupt\",\"UnplanUrg\","
      "\"Label ID\",\"Week Nr\",\"Estimated\",\"Tot Minutes\",\"Prj ID\",\"In Progress\",\"Min Worked\",\n";
  const std::string doneLine =
      "\"5\",\"21\",\"3\",\"5\",\"Ship it, now\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"2\",\"4\",\"0\",\"1\",\"0\","
      "\"Y\",\"2\",\"10\",\"3\",\"100\",\"7\",\"0\",\"45\"\n";
  put("stats/DoneTasks_2021_3.m00", le(archiveHeader + doneLine + "\"5\",\"21\"\n"));
  put("stats/DoneTasks_2020_12.csv",
      archiveHeader + "\"2\",\"20\",\"12\",\"1\",\"Old form\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"1\",\"1\",\"0\","
                      "\"0\",\"0\",\"N\",\"0\",\"49\",\"0\",\"25\",\"0\",\"0\",\"0\"\n");

  put("Projects/active_prj.p01", recordLine("\"ID\",\"Name\"") +
                                     recordLine("\"7\",\"Garden\",\"3\",\"15\",\"1\",\"2021\",\"6\",\"30\""));
  put("Projects/closed_prj.p01", recordLine("\"ID\",\"Name\"") +
                                     recordLine("\"99\",\"Old job\",\"10\",\"0\",\"3\",\"0\",\"0\",\"0\""));
  put("AppUsage/todayAppUsage.txt",
      recordLine("\"Name\",\"Secs\",\"isUrl\"") + recordLine("\"Editor, \"\"main\"\"\",\"600\",\"0\""));

  const ExportResult r = run(dir.path() + u"\\out");
  EXPECT_EQ(r.status, ExportStatus::Ok);
  EXPECT_EQ(r.counts.sheets, 2);
  EXPECT_EQ(r.counts.sheetRows, 3);
  EXPECT_EQ(r.counts.archiveRows, 2);
  EXPECT_EQ(r.counts.monthDays, 1);
  EXPECT_EQ(r.counts.projects, 2);
  EXPECT_EQ(r.counts.usageEntries, 1);
  EXPECT_EQ(r.counts.damagedFiles, 2) << "the empty sheet and the archive with a broken line";
  EXPECT_EQ(problems.size(), 2u);

  const std::string sheets = out("sheets.csv");
  EXPECT_EQ(sheets.substr(0, sheets.find("\r\n")),
            "file,date,row,text,pomodoros,abandoned,internal_interruptions,external_interruptions,estimated,done,"
            "past_pomodoros,past_abandoned,past_internal_interruptions,past_external_interruptions,category,"
            "category_name,project_id,project_name,minutes_today,past_minutes,deadline,age_days,repeat,unplanned");
  // Oldest first; the separator is no task.
  EXPECT_NE(sheets.find("\r\nDailyTask_2019-1-2-3.pm5,2019-01-02,0,Old 中文 task,1,0,0,0,0,1,0,0,0,0,1,Bug Fixing,"
                        "99,Old job,25,0,,0,0,0\r\n"
                        "DailyTask_2021-3-5-5.pm6,2021-03-05,0,\"Write \"\"report\"\", part 1\",2,0,0,0,3,0,0,0,0,0,"
                        "2,Testing,7,Garden,50,0,2021-04-01,3,0,0\r\n"
                        "DailyTask_2021-3-5-5.pm6,2021-03-05,13,Urgent call,0,0,0,0,0,1,0,0,0,0,0,,0,,0,0,,0,1,1\r\n"),
            std::string::npos)
      << sheets;
  EXPECT_NE(out("sheets.json").find("\"text\":\"Write \\\"report\\\", part 1\""), std::string::npos);

  const std::string done = out("done_tasks.csv");
  EXPECT_NE(done.find("\r\nDoneTasks_2020_12.csv,2,2020-12-01,2,20,12,1,Old form,"), std::string::npos) << done;
  EXPECT_NE(done.find("\r\nDoneTasks_2021_3.m00,2,2021-03-05,5,21,3,5,\"Ship it, now\",0,0,0,0,0,0,2,4,0,1,0,Y,2,"
                      "10,3,100,7,0,45,Testing,Garden\r\n"),
            std::string::npos)
      << done;
  EXPECT_NE(out("month_stats.csv").find("\r\n2021-3.ats,2021-03-05,1,4,1,2,1,3,5,100\r\n"), std::string::npos);
  EXPECT_NE(out("projects.json").find("{\"list\":\"closed\",\"id\":99,\"name\":\"Old job\",\"status\":3,"
                                      "\"status_name\":\"Closed\",\"worked_hours\":10,\"worked_minutes\":0,"
                                      "\"total_minutes\":600,\"deadline\":null}"),
            std::string::npos);
  EXPECT_EQ(out("usage.csv"), "name,seconds,kind,kind_name\r\n\"Editor, \"\"main\"\"\",600,0,app\r\n");
}

TEST_F(DataExportTest, TheDataFolderIsNeverTheDestination) {
  put("stats/2021-3.ats", scrambled(std::string(496, '\0')));
  for (const u16& target : {dir.path() + u"\\data", dir.path() + u"/DATA/stats", dir.path() + u"\\out\\..\\data\\new"}) {
    EXPECT_EQ(run(target).status, ExportStatus::OutputInsideData) << utf16ToUtf8(target);
  }
  EXPECT_FALSE(std::filesystem::exists(data() + "/new"));
  EXPECT_FALSE(isSameOrInside(dir.path() + u"\\data2", dir.path() + u"\\data"));
  EXPECT_EQ(run(dir.path() + u"\\elsewhere").status, ExportStatus::NothingToExport)
      << "a month file with no day in it is no data";
  ExportRequest missing;
  missing.dataDir = dir.path() + u"\\nothing";
  missing.outDir = dir.path() + u"\\out";
  EXPECT_EQ(exportUserData(missing).status, ExportStatus::NoDataFolder);
}

}  // namespace
}  // namespace tirelmo
