#include "ui/menus.h"

#include <algorithm>

#include "app/app.h"
#include "text/format.h"
#include "ui/toolbar.h"

namespace tirelmo {

namespace {

MenuItem item(const App& app, Txt label, int command) {
  MenuItem m;
  m.command = command;
  m.label = app.tr(label);
  return m;
}

MenuItem plainItem(u16 label, int command) {
  MenuItem m;
  m.command = command;
  m.label = std::move(label);
  return m;
}

MenuItem separator() {
  MenuItem m;
  m.separator = true;
  return m;
}

MenuItem submenu(const App& app, Txt label, Menu items) {
  MenuItem m;
  m.label = app.tr(label);
  m.submenu = std::move(items);
  return m;
}

// The row the menus act on. Pages other than the Todolist page work on the ToDo sheet,
// as the row commands do.
const TodoSheet& sheetOfPage(const App& app, int page) {
  return page == 1 ? app.todolist : app.sheet;
}

const TodoRow* currentRowOf(const TodoSheet& sheet, int row) {
  return sheet.validRow(row) ? &sheet.rows[static_cast<std::size_t>(row)] : nullptr;
}

// A task the row commands may act on. The "Unplanned & Urgent" separator has text too, but
// moving or categorising it would take the sheet's separator away.
bool isTaskRow(const TodoSheet& sheet, int row, bool isTodoSheet) {
  const TodoRow* r = currentRowOf(sheet, row);
  if (!r || r->isFree()) return false;
  if (isTodoSheet && (row == sheet.separatorIndex || isSeparatorText(r->text))) return false;
  return true;
}

Menu moveRowToSubmenu(const App& app, const std::vector<u16>& todolistTitles) {
  Menu m;
  m.push_back(item(app, Txt::MenuTodoToday, kCmdTodoToday));
  m.push_back(separator());
  // Beyond the last Todolist command the ids would run into "Todo Today" and the commands
  // after it; such lists are left out of the menu rather than offered under a wrong id.
  const std::size_t n = std::min<std::size_t>(todolistTitles.size(), kMaxTodolistItems);
  for (std::size_t i = 0; i < n; ++i)
    m.push_back(plainItem(todolistTitles[i], kCmdTodolistFirst + static_cast<int>(i)));
  return m;
}

Menu categorizeSubmenu(const App& app, const TodoRow& row) {
  Menu m;
  const bool repeats = row.hasFlag(rowflag::kRepeat);
  MenuItem repeat = item(app, Txt::MenuRepeatEveryday, repeats ? 1144 : 1143);
  repeat.checked = repeats;
  m.push_back(std::move(repeat));
  m.push_back(separator());
  const auto& names = app.settings.categories;
  for (std::size_t n = 1; n <= 12 && n < names.size(); ++n) {
    if (names[n].empty()) continue;  // an unnamed colour is not offered
    m.push_back(plainItem(names[n], kCmdCategoryFirst + static_cast<int>(n) - 1));
  }
  m.push_back(item(app, Txt::MenuNoLabel, kCmdNoCategory));
  m.push_back(separator());
  m.push_back(item(app, Txt::MenuCustomize, 1521));
  return m;
}

Menu projectsSubmenu(const App& app, const TodoRow* row, bool rowHasText) {
  Menu m;
  m.push_back(item(app, Txt::MenuNew, 1525));
  if (rowHasText && !app.projects.active.empty()) m.push_back(item(app, Txt::MenuEdit, 1526));
  m.push_back(separator());
  const std::int32_t rowProject = row ? row->info.projectId : 0;
  if (app.lastUsedProjectId != 0 && app.lastUsedProjectId != rowProject) {
    MenuItem link = plainItem(fmt(app.tr(Txt::MenuLinkToLast), app.lastUsedProjectName), 1546);
    // Linking needs a task; an empty row keeps the item visible but inert.
    link.grayed = !rowHasText;
    m.push_back(std::move(link));
  }
  m.push_back(item(app, Txt::MenuLinkTo, 1527));
  return m;
}

Menu scoresSubmenu(const App& app) {
  Menu add;
  add.push_back(item(app, Txt::MenuPomodoro, 1103));
  add.push_back(item(app, Txt::MenuEstimatedPomo, 1138));
  add.push_back(item(app, Txt::MenuInterruption, 1105));
  add.push_back(item(app, Txt::MenuExternalInterruption, 1131));
  add.push_back(item(app, Txt::MenuTaskDone, 1112));
  // The removals show their own keys (Ctrl+Shift+...): the adding keys beside a removal
  // would teach the user to add the very score they meant to take away.
  Menu remove;
  remove.push_back(item(app, Txt::MenuRemovePomodoro, 1132));
  remove.push_back(item(app, Txt::MenuRemoveEstimatedPomo, 1136));
  remove.push_back(item(app, Txt::MenuRemoveInterruption, 1134));
  remove.push_back(item(app, Txt::MenuRemoveExternalInterruption, 1135));
  remove.push_back(item(app, Txt::MenuRemoveTaskDone, 1137));
  Menu m;
  m.push_back(submenu(app, Txt::MenuAdd, std::move(add)));
  m.push_back(submenu(app, Txt::MenuDelete, std::move(remove)));
  return m;
}

}  // namespace

Menu buildPageMenu(const App& app, const std::vector<u16>& todolistTitles) {
  Menu m;
  const int page = app.ui.currentPage;
  if (page == 1) {
    m.push_back(item(app, Txt::MenuNewTodolist, 1544));
    m.push_back(item(app, Txt::MenuManageTodolists, 1545));
  } else {
    m.push_back(item(app, Txt::MenuViewOldLists, 1107));
    m.push_back(item(app, Txt::MenuBackToToday, 1513));
    // Beside the old sheets, where the person is already looking for their history.
    m.push_back(item(app, Txt::MenuExportData, kCmdExportData));
    // Only today's sheet may be emptied; an older one is read-only history.
    if (isTodaySheet(app.sheet, app.start.today))
      m.push_back(item(app, Txt::MenuNewTodoList, 1125));
    m.push_back(separator());
    m.push_back(item(app, Txt::MenuUndoneFirst, 1139));
    m.push_back(item(app, Txt::MenuSortAZ, 1140));
  }
  m.push_back(separator());
  if (isTaskRow(sheetOfPage(app, page), app.ui.currentRow, page != 1))
    m.push_back(submenu(app, Txt::MenuMoveRowTo, moveRowToSubmenu(app, todolistTitles)));
  m.push_back(item(app, Txt::MenuMoveRows, 1549));
  m.push_back(separator());
  m.push_back(item(app, Txt::MenuDeadline, 4000));
  m.push_back(separator());
  m.push_back(item(app, Txt::MenuWatchTodolistsVideo, 1548));
  return m;
}

Menu buildHelpMenu(const App& app) {
  Menu howDoI;
  howDoI.push_back(item(app, Txt::MenuReportBugQ, 1511));
  howDoI.push_back(separator());
  howDoI.push_back(item(app, Txt::MenuCreateTodolistsVideo, 1548));
  howDoI.push_back(item(app, Txt::MenuEnableAlarm, 1122));
  howDoI.push_back(item(app, Txt::MenuDeleteScoreQ, 1121));
  howDoI.push_back(item(app, Txt::MenuChangeSkin, 1122));
  howDoI.push_back(item(app, Txt::MenuTrackInterruptions, 1522));
  howDoI.push_back(item(app, Txt::MenuTrackProjects, 1528));
  howDoI.push_back(separator());
  howDoI.push_back(item(app, Txt::MenuManualsOnline, 1145));
  howDoI.push_back(item(app, Txt::MenuShortcuts, 1119));

  Menu m;
  m.push_back(item(app, Txt::MenuLearnIn3Minutes, 1145));
  m.push_back(submenu(app, Txt::MenuHowDoI, std::move(howDoI)));
  m.push_back(separator());
  m.push_back(item(app, Txt::MenuComingSoon, 1124));
  m.push_back(item(app, Txt::MenuYouTubeChannel, 1023));
  m.push_back(item(app, Txt::MenuMakerWebsite, 1142));
  m.push_back(separator());
  m.push_back(item(app, Txt::MenuAbout, 1101));
  return m;
}

Menu buildShareMenu(const App& app) {
  Menu twitter;
  twitter.push_back(item(app, Txt::MenuShare, 1514));
  twitter.push_back(item(app, Txt::MenuFollow, 1510));
  Menu m;
  m.push_back(submenu(app, Txt::MenuTwitter, std::move(twitter)));
  m.push_back(item(app, Txt::MenuLinkedIn, 1523));
  m.push_back(item(app, Txt::MenuFacebook, 1524));
  return m;
}

Menu buildTrayMenu(const App& app) {
  return {item(app, Txt::MenuExit, 1111), item(app, Txt::MenuHelp, 1119),
          item(app, Txt::MenuAbout, 1000)};
}

Menu buildEstimateMenu(const App& app) {
  Menu m;
  m.push_back(item(app, Txt::MenuAddEstimated1, 1502));
  for (int n = 2; n <= 5; ++n) m.push_back(plainItem(fmt(app.tr(Txt::MenuAddN), n), 1501 + n));
  return m;
}

Menu buildProjectButtonMenu(const App& app) {
  Menu m;
  m.push_back(item(app, Txt::MenuNew, 1525));
  if (!app.projects.active.empty()) m.push_back(item(app, Txt::MenuEdit, 1526));
  return m;
}

Menu buildDeleteEntriesMenu(const App& app) { return {item(app, Txt::MenuDelete, 1541)}; }

Menu buildRowContextMenu(const App& app, bool timerRunning,
                         const std::vector<u16>& todolistTitles) {
  const int rowIndex = app.ui.currentRow;
  const TodoRow* row = currentRowOf(app.sheet, rowIndex);
  const bool isTask = isTaskRow(app.sheet, rowIndex, true);

  Menu m;
  m.push_back(timerRunning ? item(app, Txt::MenuStopTimer, 1110)
                           : item(app, Txt::MenuStartTimer, 1100));
  m.push_back(separator());
  if (isTask) m.push_back(submenu(app, Txt::MenuCategorize, categorizeSubmenu(app, *row)));
  m.push_back(submenu(app, Txt::MenuProjects, projectsSubmenu(app, row, isTask)));
  m.push_back(submenu(app, Txt::MenuScores, scoresSubmenu(app)));
  m.push_back(separator());
  if (isTask) m.push_back(submenu(app, Txt::MenuMoveRowTo, moveRowToSubmenu(app, todolistTitles)));
  m.push_back(item(app, Txt::MenuMoveRows, 1549));
  m.push_back(separator());
  m.push_back(item(app, Txt::MenuStats, 4006));
  return m;
}

Menu buildTodolistRowMenu(const App& app, const std::vector<u16>& todolistTitles) {
  Menu m;
  if (isTaskRow(app.todolist, app.ui.currentRow, false))
    m.push_back(submenu(app, Txt::MenuMoveRowTo, moveRowToSubmenu(app, todolistTitles)));
  m.push_back(item(app, Txt::MenuMoveRows, 1549));
  m.push_back(separator());
  m.push_back(item(app, Txt::MenuMarkTodoDone, 1112));
  return m;
}

}  // namespace tirelmo
