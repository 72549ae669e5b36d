#include "ui/menus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "app/app.h"
#include "support/fakes.h"
#include "text/format.h"
#include "web/web_pages.h"

namespace tirelmo {
namespace {

const MenuItem* findCommand(const Menu& menu, int command) {
  for (const MenuItem& m : menu) {
    if (!m.submenu.empty()) {
      if (const MenuItem* inner = findCommand(m.submenu, command)) return inner;
    } else if (!m.separator && m.command == command) {
      return &m;
    }
  }
  return nullptr;
}

const MenuItem* findSubmenu(const Menu& menu, u16v label) {
  for (const MenuItem& m : menu)
    if (!m.submenu.empty() && m.label == label) return &m;
  return nullptr;
}

// The commands of a menu level in order, separators as 0.
std::vector<int> commandsOf(const Menu& menu) {
  std::vector<int> out;
  for (const MenuItem& m : menu) out.push_back(m.separator ? 0 : m.command);
  return out;
}

void collectCommands(const Menu& menu, std::vector<int>& out) {
  for (const MenuItem& m : menu) {
    if (!m.submenu.empty()) collectCommands(m.submenu, out);
    else if (!m.separator) out.push_back(m.command);
  }
}

class MenuTest : public ::testing::Test {
 protected:
  MenuTest() : app(clock, prompts, system) {
    app.start.today = DayDate::from(clock.now());  // Friday 5 March 2021
    app.settings.categories.assign(kDefaultCategoryNames.begin(), kDefaultCategoryNames.end());
    app.sheet.separatorIndex = 12;
    app.sheet.rows[12].text = kSeparatorText;
    app.sheet.rows[3].text = u"Write the quarterly report";
    app.todolist.rows[5].text = u"Renew the passport";
  }
  void onRow(int page, int row) {
    app.ui.currentPage = page;
    app.ui.currentRow = row;
  }
  TodoRow& row3() { return app.sheet.rows[3]; }

  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app;
  const std::vector<u16> lists{u"Activity Inventory", u"Holidays", u"Garden"};
};

TEST_F(MenuTest, PageMenuOffersNewSheetOnlyOnTodaysSheet) {
  onRow(0, 3);
  app.sheet.sheetFileName = u"DailyTask_2021-3-5-5.pm6";
  Menu today = buildPageMenu(app, lists);
  EXPECT_EQ(commandsOf(today),
            (std::vector<int>{1107, 1513, 4030, 1125, 0, 1139, 1140, 0, 0, 1549, 0, 4000, 0, 1548}));
  EXPECT_EQ(today[0].label, u"View old ToDo lists \t[F2]");
  EXPECT_EQ(today[2].label, u"Export data…");
  EXPECT_EQ(today[3].label, u"New ToDo list");

  app.sheet.sheetFileName = u"DailyTask_2021-3-4-4.pm6";
  Menu older = buildPageMenu(app, lists);
  EXPECT_EQ(findCommand(older, 1125), nullptr);
  EXPECT_NE(findCommand(older, 1107), nullptr);
  EXPECT_NE(findCommand(older, 1513), nullptr);
}

TEST_F(MenuTest, PageMenuOnNextThingsManagesTodolists) {
  onRow(1, 5);
  Menu m = buildPageMenu(app, lists);
  EXPECT_EQ(m[0].command, 1544);
  EXPECT_EQ(m[0].label, u"New Todolist..");
  EXPECT_EQ(m[1].command, 1545);
  EXPECT_EQ(m[1].label, u"Manage Todolists..");
  for (int sheetOnly : {1107, 1513, 1125, 1139, 1140}) EXPECT_EQ(findCommand(m, sheetOnly), nullptr);
  // The row that counts is the Todolist's row 5, which has text.
  ASSERT_NE(findSubmenu(m, u"Move Current Row to.."), nullptr);
  onRow(1, 3);  // row 3 has text on the ToDo sheet, not on the Todolist
  EXPECT_EQ(findSubmenu(buildPageMenu(app, lists), u"Move Current Row to.."), nullptr);
}

TEST_F(MenuTest, MoveCurrentRowOnlyForARowWithText) {
  onRow(0, 3);
  const Menu page = buildPageMenu(app, lists);
  const MenuItem* move = findSubmenu(page, u"Move Current Row to..");
  ASSERT_NE(move, nullptr);
  EXPECT_EQ(commandsOf(move->submenu), (std::vector<int>{1614, 0, 1550, 1551, 1552}));
  EXPECT_EQ(move->submenu[0].label, u"Todo Today");
  EXPECT_EQ(move->submenu[3].label, u"Holidays");

  for (int row : {4, 12, -1, 25}) {  // empty, the separator, out of range both ways
    onRow(0, row);
    EXPECT_EQ(findSubmenu(buildPageMenu(app, lists), u"Move Current Row to.."), nullptr) << row;
    EXPECT_EQ(findSubmenu(buildRowContextMenu(app, false, lists), u"Move Current Row to.."), nullptr)
        << row;
    EXPECT_NE(findCommand(buildPageMenu(app, lists), 1549), nullptr) << "Move Rows stays";
  }
}

TEST_F(MenuTest, TodolistItemsNeverReachTheTodoTodayCommand) {
  std::vector<u16> many;
  for (int i = 0; i < 70; ++i) many.push_back(fmt(u"List %d", i));
  onRow(0, 3);
  const Menu page = buildPageMenu(app, many);
  const MenuItem* move = findSubmenu(page, u"Move Current Row to..");
  ASSERT_NE(move, nullptr);
  std::vector<int> ids;
  collectCommands(move->submenu, ids);
  EXPECT_EQ(ids.size(), 65u);  // "Todo Today" and 64 lists
  EXPECT_EQ(std::count(ids.begin(), ids.end(), 1614), 1);
  EXPECT_EQ(ids.back(), 1613);
  EXPECT_EQ(move->submenu.back().label, u"List 63");
}

TEST_F(MenuTest, RowMenuStartsOrStopsTheTimer) {
  onRow(0, 3);
  Menu idle = buildRowContextMenu(app, false, lists);
  EXPECT_EQ(idle[0].command, 1100);
  EXPECT_EQ(idle[0].label, u"Start Timer \t[F5]");
  EXPECT_EQ(findCommand(idle, 1110), nullptr);

  Menu running = buildRowContextMenu(app, true, lists);
  EXPECT_EQ(running[0].command, 1110);
  EXPECT_EQ(running[0].label, u"Stop Timer \t[F6]");
  EXPECT_EQ(findCommand(running, 1100), nullptr);
  EXPECT_TRUE(running[1].separator);
  EXPECT_EQ(running.back().command, 4006);
  EXPECT_EQ(running.back().label, u"Stats");
}

TEST_F(MenuTest, CategorizeOnlyForATaskRow) {
  onRow(0, 3);
  EXPECT_NE(findSubmenu(buildRowContextMenu(app, false), u"Categorize.."), nullptr);
  for (int row : {4, 12}) {
    onRow(0, row);
    Menu m = buildRowContextMenu(app, false);
    EXPECT_EQ(findSubmenu(m, u"Categorize.."), nullptr) << row;
    // The other submenus stay for any row.
    EXPECT_NE(findSubmenu(m, u"Projects"), nullptr);
    EXPECT_NE(findSubmenu(m, u"Scores.."), nullptr);
  }
}

TEST_F(MenuTest, RepeatItemShowsAndTogglesTheFlag) {
  onRow(0, 3);
  const Menu off = findSubmenu(buildRowContextMenu(app, false), u"Categorize..")->submenu;
  EXPECT_EQ(off[0].label, u"Repeat this Task everyday");
  EXPECT_FALSE(off[0].checked);
  EXPECT_EQ(off[0].command, 1143);

  row3().info.flags = rowflag::kRepeat | rowflag::kDeadline;
  const Menu on = findSubmenu(buildRowContextMenu(app, false), u"Categorize..")->submenu;
  EXPECT_TRUE(on[0].checked);
  EXPECT_EQ(on[0].command, 1144);
}

TEST_F(MenuTest, OneItemPerNamedCategory) {
  app.settings.categories[4].clear();   // Learning, unnamed now
  app.settings.categories[12].clear();  // the last one too
  app.settings.categories[0] = u"--";
  onRow(0, 3);
  const Menu cats = findSubmenu(buildRowContextMenu(app, false), u"Categorize..")->submenu;
  std::vector<int> expected{1143, 0};
  for (int n = 1; n <= 12; ++n)
    if (n != 4 && n != 12) expected.push_back(1146 + n);
  expected.insert(expected.end(), {1159, 0, 1521});
  EXPECT_EQ(commandsOf(cats), expected);
  EXPECT_EQ(cats[2].label, u"Bug Fixing");               // category 1
  EXPECT_EQ(findCommand(cats, 1152)->label, u"Customer Support");  // category 6
  EXPECT_EQ(findCommand(cats, 1159)->label, u"No label");
  EXPECT_EQ(findCommand(cats, 1521)->label, u"Customize");
}

TEST_F(MenuTest, CategoriesFromAShortListAreNotInvented) {
  app.settings.categories = {u"--", u"Bug Fixing", u"Testing"};
  onRow(0, 3);
  const Menu cats = findSubmenu(buildRowContextMenu(app, false), u"Categorize..")->submenu;
  EXPECT_EQ(commandsOf(cats), (std::vector<int>{1143, 0, 1147, 1148, 1159, 0, 1521}));
}

TEST_F(MenuTest, LinkToLastProjectOnlyWhenItDiffersFromTheRows) {
  app.projects.active.push_back({7, u"Alpha"});
  app.projects.active.push_back({9, u"Beta"});
  onRow(0, 3);
  auto projectsMenu = [&] { return findSubmenu(buildRowContextMenu(app, false), u"Projects")->submenu; };

  EXPECT_EQ(findCommand(projectsMenu(), 1546), nullptr) << "no project chosen yet";

  app.lastUsedProjectId = 7;
  app.lastUsedProjectName = u"Alpha 100%s";
  row3().info.projectId = 7;
  EXPECT_EQ(findCommand(projectsMenu(), 1546), nullptr) << "already linked to it";

  row3().info.projectId = 9;
  Menu m = projectsMenu();
  ASSERT_NE(findCommand(m, 1546), nullptr);
  EXPECT_EQ(findCommand(m, 1546)->label, u"Link to Alpha 100%s");  // the name is not a format
  EXPECT_FALSE(findCommand(m, 1546)->grayed);
  EXPECT_EQ(commandsOf(m), (std::vector<int>{1525, 1526, 0, 1546, 1527}));

  row3().info.projectId = 0;
  EXPECT_NE(findCommand(projectsMenu(), 1546), nullptr) << "an unlinked row may take it";

  onRow(0, 4);  // empty row: nothing to link
  const Menu onEmptyRow = projectsMenu();
  const MenuItem* onEmpty = findCommand(onEmptyRow, 1546);
  ASSERT_NE(onEmpty, nullptr);
  EXPECT_TRUE(onEmpty->grayed);
}

TEST_F(MenuTest, EditProjectOnlyForATaskRowWhenProjectsExist) {
  auto hasEdit = [&] {
    return findCommand(findSubmenu(buildRowContextMenu(app, false), u"Projects")->submenu, 1526) !=
           nullptr;
  };
  onRow(0, 3);
  EXPECT_FALSE(hasEdit()) << "no project";
  app.projects.closed.push_back({2, u"Old"});
  EXPECT_FALSE(hasEdit()) << "closed projects cannot be edited";
  app.projects.active.push_back({7, u"Alpha"});
  EXPECT_TRUE(hasEdit());
  onRow(0, 4);
  EXPECT_FALSE(hasEdit()) << "empty row";
  EXPECT_EQ(findCommand(findSubmenu(buildRowContextMenu(app, false), u"Projects")->submenu, 1525)->label,
            u"New..");

  EXPECT_EQ(commandsOf(buildProjectButtonMenu(app)), (std::vector<int>{1525, 1526}));
  app.projects.active.clear();
  EXPECT_EQ(commandsOf(buildProjectButtonMenu(app)), (std::vector<int>{1525}));
}

TEST_F(MenuTest, ScoreSubmenusAddAndRemoveTheSameFiveScores) {
  onRow(0, 3);
  const Menu scores = findSubmenu(buildRowContextMenu(app, false), u"Scores..")->submenu;
  const MenuItem* add = findSubmenu(scores, u"Add..");
  const MenuItem* del = findSubmenu(scores, u"Delete..");
  ASSERT_NE(add, nullptr);
  ASSERT_NE(del, nullptr);
  EXPECT_EQ(commandsOf(add->submenu), (std::vector<int>{1103, 1138, 1105, 1131, 1112}));
  EXPECT_EQ(commandsOf(del->submenu), (std::vector<int>{1132, 1136, 1134, 1135, 1137}));
  EXPECT_EQ(add->submenu[0].label, u"Pomodoro \t[Ctrl+T]");
  EXPECT_EQ(add->submenu[4].label, u"Task Done!\t[Ctrl+D]");
  // Each removal names the key bound to it (Ctrl+Shift+T sends 1132, ...), never the adding one.
  EXPECT_EQ(del->submenu[0].label, u"Pomodoro \t[Ctrl+Shift+T]");
  EXPECT_EQ(del->submenu[1].label, u"Estimated Pomo\t[Ctrl+Shift+Y]");
  EXPECT_EQ(del->submenu[4].label, u"Task Done!\t[Ctrl+Shift+D]");
}

TEST_F(MenuTest, TodolistRowMenu) {
  onRow(1, 5);
  Menu m = buildTodolistRowMenu(app, lists);
  ASSERT_EQ(m.size(), 4u);
  EXPECT_EQ(m[0].label, u"Move Current Row to..");
  EXPECT_EQ(commandsOf(m[0].submenu), (std::vector<int>{1614, 0, 1550, 1551, 1552}));
  EXPECT_EQ(commandsOf(m).back(), 1112);
  EXPECT_EQ(m.back().label, u"Mark Todo as Done");

  onRow(1, 6);
  EXPECT_EQ(commandsOf(buildTodolistRowMenu(app, lists)), (std::vector<int>{1549, 0, 1112}));
  // Row 12 of a Todolist is an ordinary row even if its text looks like the sheet separator.
  app.todolist.rows[12].text = kSeparatorText;
  onRow(1, 12);
  EXPECT_EQ(buildTodolistRowMenu(app, lists).size(), 4u);
}

TEST_F(MenuTest, ToolbarMenus) {
  Menu est = buildEstimateMenu(app);
  EXPECT_EQ(commandsOf(est), (std::vector<int>{1502, 1503, 1504, 1505, 1506}));
  EXPECT_EQ(est[0].label, u"Add 1 Estimated");
  EXPECT_EQ(est[1].label, u"Add 2");
  EXPECT_EQ(est[4].label, u"Add 5");

  Menu tray = buildTrayMenu(app);
  EXPECT_EQ(commandsOf(tray), (std::vector<int>{1111, 1119, 1000}));
  EXPECT_EQ(tray[0].label, u"Exit");

  Menu share = buildShareMenu(app);
  ASSERT_EQ(share[0].label, u"Twitter");
  EXPECT_EQ(commandsOf(share[0].submenu), (std::vector<int>{1514, 1510}));
  EXPECT_EQ(share[1].label, u"LinkedIn");
  EXPECT_EQ(share[2].label, u"Facebook");

  Menu del = buildDeleteEntriesMenu(app);
  EXPECT_EQ(commandsOf(del), (std::vector<int>{1541}));
  EXPECT_EQ(del[0].label, u"Delete..");
}

TEST_F(MenuTest, HelpMenuLeadsOnlyToCommandsSomebodyRuns) {
  Menu help = buildHelpMenu(app);
  EXPECT_EQ(help[0].label, u"Learn Tirelmo in 3 minutes!");
  const MenuItem* howDoI = findSubmenu(help, u"How do I..");
  ASSERT_NE(howDoI, nullptr);
  EXPECT_EQ(commandsOf(howDoI->submenu),
            (std::vector<int>{1511, 0, 1548, 1122, 1121, 1122, 1522, 1528, 0, 1145, 1119}));
  EXPECT_EQ(help.back().label, u"About");
  EXPECT_EQ(help.back().command, 1101);

  // Every page command of the help and share menus has a page behind it; the rest are the
  // dialogs of the main window.
  std::vector<int> ids;
  collectCommands(help, ids);
  collectCommands(buildShareMenu(app), ids);
  const std::set<int> dialogs{1511, 1119, 1101};
  for (int id : ids)
    EXPECT_TRUE(dialogs.count(id) || !webAddressOf(id).empty() || !manualPageOf(id).empty()) << id;
}

TEST_F(MenuTest, ChineseLabelsInEveryMenu) {
  row3().info.projectId = 0;
  app.lastUsedProjectId = 7;
  app.lastUsedProjectName = u"Alpha";
  app.projects.active.push_back({7, u"Alpha"});
  onRow(0, 3);
  auto all = [&](int page) {
    app.ui.currentPage = page;
    app.ui.currentRow = page == 1 ? 5 : 3;
    return std::vector<Menu>{buildPageMenu(app, lists), buildHelpMenu(app), buildShareMenu(app),
                             buildTrayMenu(app), buildEstimateMenu(app), buildProjectButtonMenu(app),
                             buildDeleteEntriesMenu(app), buildRowContextMenu(app, false, lists),
                             buildRowContextMenu(app, true, lists), buildTodolistRowMenu(app, lists)};
  };
  app.settings.language = u"English";
  const std::vector<Menu> en0 = all(0), en1 = all(1);
  app.settings.language = u"Chinese (Simplified)";
  const std::vector<Menu> zh0 = all(0), zh1 = all(1);

  // Same items, each label translated, except brand names and the user's own texts.
  const std::set<u16> untranslated{u"Twitter", u"LinkedIn", u"Facebook", u"Activity Inventory",
                                   u"Holidays", u"Garden"};
  std::function<void(const Menu&, const Menu&)> compare = [&](const Menu& en, const Menu& zh) {
    ASSERT_EQ(en.size(), zh.size());
    for (std::size_t i = 0; i < en.size(); ++i) {
      EXPECT_EQ(en[i].command, zh[i].command);
      EXPECT_EQ(en[i].separator, zh[i].separator);
      const bool category = en[i].command >= 1147 && en[i].command <= 1158;
      if (!en[i].separator && !category && !untranslated.count(en[i].label)) {
        EXPECT_NE(en[i].label, zh[i].label) << utf16ToUtf8(en[i].label);
      }
      compare(en[i].submenu, zh[i].submenu);
    }
  };
  for (std::size_t k = 0; k < en0.size(); ++k) {
    compare(en0[k], zh0[k]);
    compare(en1[k], zh1[k]);
  }
  EXPECT_EQ(findCommand(zh0[0], 1513)->label, u"返回今日待办列表");
  EXPECT_EQ(findCommand(zh0[7], 1546)->label, u"链接到 Alpha");
  EXPECT_EQ(findCommand(zh0[7], 1152)->label, u"Customer Support") << "category names are the user's";
  // The shortcut stays after the tab in both languages.
  EXPECT_NE(zh0[7][0].label.find(u"\t[F5]"), u16::npos);
}

}  // namespace
}  // namespace tirelmo
