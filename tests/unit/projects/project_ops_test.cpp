#include "projects/project_ops.h"

#include <gtest/gtest.h>

#include "app/sheet_io.h"
#include "storage/settings.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

using test::header;
using test::readBytes;
using test::Rec;
using test::record;

class ProjectOpsTest : public test::SheetTest {
 protected:
  ProjectOpsTest() {
    app.sheet.sheetFileName = u"DailyTask_2021-3-5-5.pm6";
    app.settings.wkdir = dir.path();
    app.hooks.redrawRow = [this](int r) { redrawn.push_back(r); };
    app.hooks.pageContentChanged = [this](int p) { pagesChanged.push_back(p); };
  }
  Project& add(std::int32_t id, u16v name, std::uint32_t hours = 0, std::uint32_t minutes = 0) {
    Project p;
    p.id = id, p.name = u16(name), p.workedHours = hours, p.workedMinutes = minutes;
    app.projects.active.push_back(p);
    return app.projects.active.back();
  }
  const Project* active(std::int32_t id) const {
    for (const Project& p : app.projects.active)
      if (p.id == id) return &p;
    return nullptr;
  }
  static int minutes(const Project* p) { return p ? static_cast<int>(p->workedHours * 60 + p->workedMinutes) : -1; }

  std::vector<int> redrawn;
  std::vector<int> pagesChanged;
};

TEST_F(ProjectOpsTest, LinkingMovesTheRowsWorkedTimeOnlyWhereItCanGo) {
  add(1, u"A", 3, 0);
  add(2, u"B");
  row(3).text = u"Write report";
  row(3).info.minutesToday = 50, row(3).info.pastMinutes = 70, row(3).info.projectId = 1;
  app.ui.currentRow = 7;  // the row current at OK is not the one the dialog was opened for

  ASSERT_TRUE(linkRowToProject(app, RowRef{0, 3}, 2, u"B"));
  EXPECT_EQ(minutes(active(1)), 60);
  EXPECT_EQ(minutes(active(2)), 120);
  EXPECT_EQ(row(3).info.projectId, 2);
  EXPECT_EQ(row(7).info.projectId, 0);
  EXPECT_EQ(app.lastUsedProjectId, 2);
  EXPECT_TRUE(app.sheet.modified);
  EXPECT_EQ(redrawn, std::vector<int>{3});
  EXPECT_TRUE(logHas("Dec 120' from prev Prj ID 1"));
  EXPECT_TRUE(logHas("Inc 120' to Prj ID 2"));

  // The same project again changes nothing.
  ASSERT_TRUE(linkRowToProject(app, RowRef{0, 3}, 2, u"B"));
  EXPECT_EQ(minutes(active(2)), 120);

  // The target closed while the dialog was open: nothing moves, the row keeps its project.
  app.projects.closed.push_back(*active(1));
  app.projects.active.erase(app.projects.active.begin());
  EXPECT_FALSE(linkRowToProject(app, RowRef{0, 3}, 1, u"A"));
  EXPECT_EQ(minutes(active(2)), 120);
  EXPECT_EQ(row(3).info.projectId, 2);
  ASSERT_EQ(prompts.shown.size(), 1u);

  // No project: the time only leaves.
  ASSERT_TRUE(linkRowToProject(app, RowRef{0, 3}, 0, u"<No project>"));
  EXPECT_EQ(minutes(active(2)), 0);
  EXPECT_EQ(row(3).info.projectId, 0);
  EXPECT_EQ(app.lastUsedProjectId, 2);

  // And back through "Link to %s".
  ASSERT_TRUE(linkRowToLastUsedProject(app, RowRef{0, 3}));
  EXPECT_EQ(minutes(active(2)), 120);
  EXPECT_FALSE(linkRowToLastUsedProject(app, RowRef{0, 3}));
}

TEST_F(ProjectOpsTest, LinkingIsRefusedOnAnEarlierSheetAndOnAFreeRow) {
  add(1, u"A");
  row(2).text = u"Old task";
  row(2).info.minutesToday = 30;
  app.sheet.sheetFileName = u"DailyTask_2021-3-4-4.pm6";
  EXPECT_FALSE(linkRowToProject(app, RowRef{0, 2}, 1, u"A"));
  EXPECT_EQ(row(2).info.projectId, 0);
  EXPECT_EQ(minutes(active(1)), 0);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Please open the ToDo list of today first.\nOperation aborted.");

  app.sheet.sheetFileName = u"DailyTask_2021-3-5-5.pm6";
  EXPECT_FALSE(linkRowToProject(app, RowRef{0, 4}, 1, u"A"));
  EXPECT_FALSE(app.sheet.modified);
}

TEST_F(ProjectOpsTest, NewProjectsGetAnIdAboveEveryIdInUseAndAnEmptyNameIsRefused) {
  add(5, u"Five");
  app.projects.closed.push_back(Project{9, u"Nine"});
  app.settings.next_prj_ID = 1;  // the settings file was lost

  EXPECT_EQ(createProject(app, u"\r\n", ArchiveDate{}), std::nullopt);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Insert a name for the Project");
  EXPECT_EQ(prompts.shown[0].caption, u"");
  EXPECT_EQ(app.projects.active.size(), 1u);

  // 126 units and a surrogate pair that the 127-unit cut would split.
  const u16 longName = u16(126, u'x') + u"\U0001F600";
  const std::optional<std::int32_t> id = createProject(app, longName, ArchiveDate{2021, 6, 30});
  ASSERT_EQ(id, 10);
  const Project& p = app.projects.active.back();
  EXPECT_EQ(p.name, u16(126, u'x'));
  EXPECT_EQ(p.deadlineYear, 2021);
  EXPECT_EQ(app.settings.next_prj_ID, 11);
  EXPECT_NE(test::fromLe(readBytes(dir.native() + "/tirelmo.i00")).find("next_prj_ID=11\r\n"), std::string::npos);
  EXPECT_EQ(pagesChanged, std::vector<int>{kPageProjects});
}

TEST_F(ProjectOpsTest, ClosingMovesTheProjectAndKeepsTheOthersInOrder) {
  add(1, u"One");
  add(2, u"Two");
  add(3, u"Three");
  app.lastUsedProjectId = 2;
  bool closed = false;
  ASSERT_TRUE(editProject(app, 2, u"", kProjectClosed, ArchiveDate{}, closed));
  EXPECT_TRUE(closed);
  ASSERT_EQ(app.projects.active.size(), 2u);
  EXPECT_EQ(app.projects.active[0].id, 1);
  EXPECT_EQ(app.projects.active[1].id, 3);
  ASSERT_EQ(app.projects.closed.size(), 1u);
  EXPECT_EQ(app.projects.closed[0].name, u"Two");
  EXPECT_EQ(app.lastUsedProjectId, 0);
  EXPECT_FALSE(editProject(app, 2, u"Again", kProjectInProgress, ArchiveDate{}, closed));
}

TEST_F(ProjectOpsTest, ClosingMarksOnlyTodaysOpenRowsOfTheProject) {
  add(7, u"Seven");
  row(2).text = u"Open, linked", row(2).info.projectId = 7;
  row(4).text = u"Done, linked", row(4).info.projectId = 7, row(4).done = 1;
  row(5).text = u"Other project", row(5).info.projectId = 8;
  EXPECT_EQ(markClosedProjectRowsDone(app, 7), 1);
  EXPECT_TRUE(row(2).isDone());
  EXPECT_FALSE(row(5).isDone());
  EXPECT_EQ(app.sheet.dayTotals.done, 1);

  // An earlier sheet on display keeps its rows; today's file gets the mark.
  Rec open;
  open.index = 6, open.projectId = 7, open.text = "Today's task";
  writeSheet(2021, 3, "DailyTask_2021-3-5-5.pm6", header() + record(open));
  for (TodoRow& r : app.sheet.rows) r.clear();
  app.sheet.sheetFileName = u"DailyTask_2021-3-1-1.pm6";
  app.sheet.readOnly = true;
  row(6).text = u"Earlier task", row(6).info.projectId = 7;
  EXPECT_EQ(markClosedProjectRowsDone(app, 7), 1);
  EXPECT_FALSE(row(6).isDone());
  Rec done = open;
  done.flags = 1;
  EXPECT_EQ(readBytes(nativeSheet(2021, 3, "DailyTask_2021-3-5-5.pm6")), header() + record(done));
}

TEST_F(ProjectOpsTest, AReportNeedsFromBeforeTo) {
  add(1, u"A");
  EXPECT_FALSE(setProjectReport(app, 1, ArchiveDate{2021, 3, 1}, ArchiveDate{2021, 3, 1}));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Date interval is not correctly set.");
  EXPECT_EQ(prompts.shown[0].caption, u"Date error");
  EXPECT_EQ(app.projects.reportProjectId, 0);

  ASSERT_TRUE(setProjectReport(app, 1, ArchiveDate{2021, 2, 1}, ArchiveDate{2021, 3, 5}));
  EXPECT_EQ(app.projects.reportFrom, (ArchiveDate{2021, 2, 1}));
}

}  // namespace
}  // namespace tirelmo
