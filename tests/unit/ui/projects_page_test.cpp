#include "ui/projects_page.h"

#include <gtest/gtest.h>

#include "text/format.h"
#include "unit/ui/sheet_draw_support.h"

namespace tirelmo {
namespace {

class ProjectsPageTest : public test::SheetPageFixture {
 protected:
  void SetUp() override { useSkin(u"cleanwhite"); }
  void draw(int y, int h) {
    view.clear();
    drawProjectsView(app, pages, view, y, h);
  }
};

TEST_F(ProjectsPageTest, EveryClosedProjectLiesInsideThePageAndIsDrawnInItsBand) {
  // The closed list starts at y 1040 whatever the number of active projects.
  for (int i = 1; i <= 3; ++i) app.projects.active.push_back(Project{i, fmt(u"Active %d", i), 1});
  for (int i = 0; i < 80; ++i) app.projects.closed.push_back(Project{100 + i, fmt(u"Closed %d", i), 2, 5});
  const int height = projectsPageHeight(app);
  EXPECT_EQ(pageContentHeight(app, pages, kPageProjects), height);

  const test::DrawOp* last = nullptr;
  for (int y = 0; y < height; y += 700) {
    draw(y, 700);
    if (const test::DrawOp* t = view.findText(u"Closed 79")) last = t;
  }
  ASSERT_NE(last, nullptr);
  EXPECT_LE(last->y + 40, height);
  // The first paint, at the top, reaches none of the closed projects.
  draw(0, 700);
  EXPECT_TRUE(view.textsContaining(u"Closed").empty());
  EXPECT_NE(view.findText(u"Overall Time per Project"), nullptr);
}

TEST_F(ProjectsPageTest, WithoutActiveProjectsOnlyTheNoticeIsDrawn) {
  app.projects.closed.push_back(Project{3, u"Old", 1});
  draw(0, 2000);
  const test::DrawOp* notice = view.findText(u"(No Project)");
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(notice->x, 50);
  EXPECT_EQ(notice->y, 125);
  EXPECT_EQ(view.texts().size(), 1u);
}

}  // namespace
}  // namespace tirelmo
