#include "app/todolists.h"
#include "todolists/todolist_registry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/scores.h"
#include "app/sheet_io.h"
#include "stats/month_stats.h"
#include "stats/yesterday_archive.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

namespace fs = std::filesystem;
using test::header;
using test::Rec;
using test::record;
using test::readBytes;
using test::writeBytes;

// One record line as the registry writer puts it: the UTF-16LE text scrambled on its own,
// then a plain CR LF.
std::string recordLine(const std::string& utf8) { return test::scrambled(test::le(utf8)) + std::string("\r\0\n\0", 4); }

const std::string kRegistryHeader = "\"ID\",\"Title\",\"Path\",\"FreeRows\"";

class TodolistTest : public test::SheetTest {
 protected:
  TodolistTest() { fs::create_directories(dir.native() + "/NextThings"); }
  u16 listPath(const std::string& name) const { return dir.path() + u"\\NextThings\\" + utf8ToUtf16(name) + u".pm6"; }
  std::string nativeList(const std::string& name) const { return test::nativePath(listPath(name)); }
  std::string registryNative() const { return dir.native() + "/TdlInfo.p01"; }
  // A registry naming the given lists, in order, with ids 1, 2, ...
  void writeRegistry(const std::vector<std::string>& names) {
    std::string bytes = recordLine(kRegistryHeader);
    int id = 1;
    for (const std::string& n : names)
      bytes += recordLine("\"" + std::to_string(id++) + "\",\"" + n + "\",\"" + utf16ToUtf8(listPath(n)) + "\",\"50\"");
    writeBytes(registryNative(), bytes);
  }
  TodoRow& listRow(int i) { return app.todolist.rows[static_cast<std::size_t>(i)]; }
  TodolistEntry entryFor(const std::string& name) {
    TodolistEntry e;
    e.title = utf8ToUtf16(name);
    e.path = listPath(name);
    return e;
  }
};

TEST_F(TodolistTest, RegistryRowsStandOnTheirOwnAndAreWrittenBack) {
  writeBytes(nativeList("Home"), "");
  writeBytes(nativeList("Work"), "");
  const std::string home = utf16ToUtf8(listPath("Home"));
  const std::string work = utf16ToUtf8(listPath("Work"));
  writeBytes(registryNative(), recordLine(kRegistryHeader) + recordLine("\"3\",\"Home\",\"" + home + "\",\"50\"") +
                                   recordLine("\"x4\",\"Broken\",\"" + home + "\",\"50\"") +
                                   recordLine("\"5\",\"\",\"" + work + "\",\"50\"") +
                                   recordLine("\"6\",\"Work \"\"B\"\"\",\"" + work + "\",\"50\"") +
                                   recordLine("\"7\",\"Gone\",\"" + utf16ToUtf8(listPath("Gone")) + "\",\"50\""));
  TodolistRegistry reg;
  LoadTdlInfo_p01(utf8ToUtf16(registryNative()), reg);
  ASSERT_EQ(reg.count(), 2);
  EXPECT_EQ(reg.entries[0].id, 3);
  EXPECT_EQ(reg.entries[0].title, u"Home");
  EXPECT_EQ(reg.entries[1].id, 6);
  EXPECT_EQ(reg.entries[1].title, u"Work \"B\"");
  EXPECT_EQ(reg.entries[1].path, listPath("Work"));
  EXPECT_TRUE(logHas("LoadTdlInfo_p01() err reading row ##2"));
  EXPECT_TRUE(logHas("LoadTdlInfo_p01() err reading row ##3"));
  EXPECT_TRUE(logHas("Tdl missing: " + utf16ToUtf8(listPath("Gone"))));

  reg.entries[0].freeRows = 48;
  reg.entries[1].freeRows = 50;
  ASSERT_TRUE(saveTodolistRegistryFile(utf8ToUtf16(registryNative()), reg));
  EXPECT_EQ(readBytes(registryNative()), recordLine(kRegistryHeader) +
                                             recordLine("\"3\",\"Home\",\"" + home + "\",\"48\"") +
                                             recordLine("\"6\",\"Work \"\"B\"\"\",\"" + work + "\",\"50\""));
}

TEST_F(TodolistTest, ListFileRowsCountsAndWriteBack) {
  Rec done;
  done.index = 0, done.flags = 1 | 4, done.deadlineYear = 21, done.deadlineMonth = 3, done.deadlineDay = 5;
  done.text = "Done with deadline";
  Rec dueToday;
  dueToday.index = 7, dueToday.flags = 4, dueToday.deadlineYear = 21, dueToday.deadlineMonth = 3;
  dueToday.deadlineDay = 5, dueToday.category = 2, dueToday.pastMinutes = 90, dueToday.text = "Due today";
  Rec inTenDays;
  inTenDays.index = 49, inTenDays.flags = 4, inTenDays.deadlineYear = 21, inTenDays.deadlineMonth = 3;
  inTenDays.deadlineDay = 15, inTenDays.text = "Later 工作";
  const std::string bytes = header() + record(done) + record(dueToday) + record(inTenDays);
  writeBytes(nativeList("L"), bytes);

  TodolistEntry entry;
  ASSERT_EQ(loadTodolistFile(listPath("L"), app.todolist, app.start.today, entry), ListFileLoad::Loaded);
  EXPECT_EQ(listRow(7).text, u"Due today");
  EXPECT_EQ(listRow(7).info.pastMinutes, 90);
  EXPECT_EQ(listRow(49).text, u"Later 工作");
  EXPECT_EQ(app.todolist.look[0], RowLook::Done);
  EXPECT_EQ(entry.freeRows, 47);
  EXPECT_EQ(entry.doneRows, 1);
  EXPECT_EQ(entry.deadlineCount[5], 1);  // the done row's deadline is not counted
  EXPECT_EQ(entry.deadlineCount[2], 1);
  EXPECT_EQ(entry.mostUrgentDeadline(), 5);

  app.todolist.modified = true;
  fs::remove(nativeList("L"));
  ASSERT_TRUE(writeTodolistFile(listPath("L"), app.todolist));
  EXPECT_EQ(readBytes(nativeList("L")), bytes);
  EXPECT_FALSE(app.todolist.modified);
}

TEST_F(TodolistTest, NamesThatCannotBecomeFileNamesAreRefused) {
  const u16 folder = dir.path() + u"\\NextThings";
  writeBytes(nativeList("Work"), "keep");
  TodolistRegistry reg;
  reg.entries.push_back(entryFor("Home"));
  using P = TodolistNameProblem;
  const std::vector<std::pair<u16, P>> cases = {
      {u"", P::Blank},          {u"   ", P::Blank},        {u"a\\b", P::BadCharacter}, {u"a/b", P::BadCharacter},
      {u"a:b", P::BadCharacter}, {u"a*", P::BadCharacter}, {u"a?", P::BadCharacter},   {u"a\"b", P::BadCharacter},
      {u"<a>", P::BadCharacter}, {u"a|b", P::BadCharacter}, {u"a\tb", P::BadCharacter}, {u"..", P::BadCharacter},
      {u"a.", P::TrailingDotOrSpace}, {u"a ", P::TrailingDotOrSpace}, {u"CON", P::DeviceName},
      {u"nul.txt", P::DeviceName}, {u"com1", P::DeviceName}, {u"LPT9", P::DeviceName},
      {u16(64, u'x'), P::TooLong}, {u"work", P::Exists},   {u"HOME", P::Exists},
  };
  for (const auto& [name, expected] : cases)
    EXPECT_EQ(checkTodolistName(name, folder, reg), expected) << utf16ToUtf8(name);
  EXPECT_EQ(checkTodolistName(u"short", u16(250, u'f'), reg), P::TooLong);
  EXPECT_EQ(checkTodolistName(u"工作 🚀 COM10 ..plan", folder, reg), P::None);
}

TEST_F(TodolistTest, FirstUseMakesActivityInventoryFromTheOldList) {
  fs::remove_all(dir.native() + "/NextThings");
  std::string il2(18000, '\0');
  const std::string first = test::le("Call the bank"), last = test::le("Last slot 最后");
  il2.replace(0, first.size(), first);
  il2.replace(49 * 360, last.size(), last);
  writeBytes(dir.native() + "/InvList.il2", il2);
  app.settings.next_prj_ID = 7;

  loadTodolists(app);

  EXPECT_TRUE(fs::is_directory(dir.native() + "/NextThings"));
  TodolistRegistry reg;
  LoadTdlInfo_p01(utf8ToUtf16(registryNative()), reg);
  ASSERT_EQ(reg.count(), 1);
  EXPECT_EQ(reg.entries[0].id, 7);
  EXPECT_EQ(reg.entries[0].title, u"Activity Inventory");
  EXPECT_EQ(app.settings.next_prj_ID, 8);
  TodoSheet stored(kTodolistRows);
  TodolistEntry entry;
  ASSERT_EQ(loadTodolistFile(listPath("Activity Inventory"), stored, app.start.today, entry), ListFileLoad::Loaded);
  EXPECT_EQ(stored.rows[0].text, u"Call the bank");
  EXPECT_EQ(stored.rows[49].text, u"Last slot 最后");
  EXPECT_EQ(entry.freeRows, 48);
  EXPECT_EQ(listRow(0).text, u"Call the bank");  // the first list is in view
}

TEST_F(TodolistTest, DayStartArchivesDoneRowsKeepsRepeatRowsAndMovesMinutes) {
  Rec done;
  done.index = 0, done.flags = 1, done.pomodoros = 2, done.minutesToday = 50, done.category = 3, done.text = "Shipped";
  Rec repeat;
  repeat.index = 1, repeat.flags = 1 | 2 | 4, repeat.category = 4, repeat.projectId = 9, repeat.age = 5;
  repeat.pastPomodoros = 3, repeat.pastMinutes = 40, repeat.deadlineYear = 21, repeat.deadlineMonth = 3;
  repeat.deadlineDay = 9, repeat.text = "Water plants";
  Rec worked;
  worked.index = 2, worked.pomodoros = 1, worked.pastPomodoros = 2, worked.minutesToday = 25;
  worked.pastMinutes = 10, worked.age = 1, worked.text = "Draft";
  Rec idle;
  idle.index = 3, idle.estimated = 2, idle.text = "Someday";
  writeBytes(nativeList("Chores"), header() + record(done) + record(repeat) + record(worked) + record(idle));
  writeRegistry({"Chores"});
  // The sheet's day start made the archive of the previous day.
  ASSERT_EQ(createYesterdayArchive(app, 2021, 3, 4, 4), 0);
  closeYesterdayArchive(app);
  app.start.firstRunToday = true;

  loadTodolists(app);

  EXPECT_TRUE(listRow(0).isFree());
  EXPECT_EQ(listRow(1).text, u"Water plants");
  EXPECT_EQ(listRow(1).info.category, 4);
  EXPECT_EQ(listRow(1).info.flags, rowflag::kRepeat);
  EXPECT_EQ(listRow(1).info.projectId, 0);
  EXPECT_EQ(listRow(1).info.ageDays, 0);
  EXPECT_EQ(listRow(1).pastPomodoros, 0);
  EXPECT_FALSE(listRow(1).isDone());
  EXPECT_EQ(listRow(2).pomodoros, 0);
  EXPECT_EQ(listRow(2).pastPomodoros, 3);
  EXPECT_EQ(listRow(2).info.minutesToday, 0);
  EXPECT_EQ(listRow(2).info.pastMinutes, 35);
  EXPECT_EQ(listRow(3).text, u"Someday");
  EXPECT_EQ(todayTotals(app).done, 0);

  // What the model shows is what the file holds.
  TodoSheet stored(kTodolistRows);
  TodolistEntry entry;
  loadTodolistFile(listPath("Chores"), stored, app.start.today, entry);
  EXPECT_EQ(stored.rows, app.todolist.rows);

  std::string archive;
  for (const auto& e : fs::directory_iterator(dir.native() + "/stats"))
    if (e.path().extension() == ".m00") archive = test::fromLe(readBytes(e.path().string()));
  EXPECT_NE(archive.find("\"Shipped\""), std::string::npos);
  EXPECT_NE(archive.find("\"Water plants\""), std::string::npos);
  EXPECT_EQ(archive.find("\"Draft\""), std::string::npos);

  const std::string yesterday = test::fromLe(readBytes(dir.native() + "/YesterdayArchive.y00"));
  for (const char* text : {"\"Shipped\"", "\"Water plants\"", "\"Draft\""})
    EXPECT_NE(yesterday.find(text), std::string::npos) << text;
  EXPECT_EQ(yesterday.find("\"Someday\""), std::string::npos);
  ASSERT_EQ(app.yesterday.tasks.size(), 3u);
  EXPECT_EQ(app.yesterday.tasks[2].text, u"Draft");
  EXPECT_EQ(app.yesterday.tasks[2].minutesWorked, 25);
  EXPECT_EQ(app.yesterday.tasks[2].age, 2);
}

TEST_F(TodolistTest, CreatingRefusesTheSixtyFifthListAndExistingFiles) {
  for (int i = 0; i < kMaxTodolists; ++i) app.todolists.entries.push_back(entryFor("L" + std::to_string(i)));
  EXPECT_EQ(createTodolist(app, u"One more"), NewTodolistResult::Refused);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Maximum number of Todolists was reached.");
  EXPECT_EQ(prompts.shown[0].caption, u"Operation Aborted");
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Warning);
  EXPECT_FALSE(fs::exists(nativeList("One more")));

  app.todolists.entries.resize(1);
  writeBytes(nativeList("Plans"), "existing bytes");
  u16 problem;
  EXPECT_EQ(createTodolist(app, u"plans", &problem), NewTodolistResult::Refused);
  EXPECT_EQ(problem, u"A Todolist named \"plans\" exists already.\nPlease choose another name.");
  EXPECT_EQ(readBytes(nativeList("Plans")), "existing bytes");
  EXPECT_EQ(app.todolists.count(), 1);

  int changed = 0;
  app.hooks.todolistsChanged = [&] { ++changed; };
  app.settings.next_prj_ID = 20;
  EXPECT_EQ(createTodolist(app, u"Trips ✈"), NewTodolistResult::Created);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(readBytes(nativeList("Trips ✈")), "");
  ASSERT_EQ(app.todolists.count(), 2);
  EXPECT_EQ(app.todolists.entries[1].id, 20);
  EXPECT_EQ(app.settings.next_prj_ID, 21);
  EXPECT_EQ(app.todolists.current, 0);
  EXPECT_TRUE(fs::exists(registryNative()));  // listed at once
}

TEST_F(TodolistTest, UnreadableOrDamagedListsAreNeverSavedOver) {
  // A list whose path is a folder cannot be read: shown read-only, never written.
  fs::create_directories(nativeList("Locked"));
  writeBytes(nativeList("Open"), header() + record(Rec{.index = 0, .text = "Keep me"}));
  app.todolists.entries = {entryFor("Locked"), entryFor("Open")};
  app.todolists.current = 0;
  int displayed = 0;
  app.hooks.listDisplayed = [&] { ++displayed; };
  EXPECT_FALSE(loadTodolistInView(app));
  EXPECT_TRUE(app.todolist.readOnly);
  EXPECT_EQ(displayed, 1);
  ASSERT_EQ(prompts.shown.size(), 1u);
  listRow(0).text = u"typed into the empty page";
  EXPECT_TRUE(saveTodolistInView(app));
  EXPECT_TRUE(switchTodolist(app, 1));
  EXPECT_TRUE(fs::is_directory(nativeList("Locked")));
  EXPECT_EQ(listRow(0).text, u"Keep me");
  EXPECT_FALSE(app.todolist.readOnly);

  // A failed save keeps the open list in view.
  fs::remove_all(dir.native() + "/NextThings/Locked.pm6");
  const std::string openBytes = readBytes(nativeList("Open"));
  fs::rename(dir.native() + "/NextThings", dir.native() + "/Elsewhere");
  prompts.shown.clear();
  EXPECT_FALSE(switchTodolist(app, 0));
  EXPECT_EQ(app.todolists.current, 1);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text,
            u"The Todolist \"Open\" could not be saved, so it stays open.\nYour changes are still on the page.");
  fs::rename(dir.native() + "/Elsewhere", dir.native() + "/NextThings");

  // A damaged list keeps a copy of its file before the first save over it.
  const std::string damaged = openBytes + test::rawRecord(9999, 12);
  writeBytes(nativeList("Open"), damaged);
  prompts.shown.clear();
  EXPECT_TRUE(loadTodolistInView(app));
  EXPECT_EQ(listRow(0).text, u"Keep me");
  EXPECT_EQ(readBytes(nativeList("Open") + ".damaged-1"), damaged);
  EXPECT_EQ(prompts.shown.size(), 1u);
  EXPECT_TRUE(saveTodolistInView(app));
  EXPECT_EQ(readBytes(nativeList("Open")), openBytes);
}

TEST_F(TodolistTest, DoneMarkOnNextThingsIsSavedAndCounted) {
  writeBytes(nativeList("Work"), header() + record(Rec{.index = 4, .text = "Report"}));
  app.todolists.entries = {entryFor("Work")};
  ASSERT_TRUE(loadTodolistInView(app));
  int rebuilt = 0;
  app.hooks.todolistDoneChanged = [&] { ++rebuilt; };
  app.ui.currentPage = kPageNextThings;
  ASSERT_TRUE(addScore(app, 4, ScoreKind::Done, true, ScoreTarget::CurrentPage));
  EXPECT_EQ(rebuilt, 1);
  EXPECT_EQ(app.todolists.entries[0].doneRows, 1);
  EXPECT_EQ(readBytes(nativeList("Work")), header() + record(Rec{.index = 4, .flags = 1, .text = "Report"}));
}

}  // namespace
}  // namespace tirelmo
