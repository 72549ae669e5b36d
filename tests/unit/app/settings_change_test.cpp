#include "app/settings_change.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/file.h"
#include "posix/file_faults.h"
#include "todolists/todolist_registry.h"
#include "unit/sheet/sheet_test_support.h"

namespace tirelmo {
namespace {

namespace fs = std::filesystem;
using test::header;
using test::nativePath;
using test::readBytes;
using test::record;
using test::writeBytes;

class SettingsChangeTest : public test::SheetTest {
 protected:
  SettingsChangeTest() {
    setDefaultSettings(app.settings, dir.path());
    app.settings.language = u"English";
    app.settings.userDataDir = oldDir;
    app.start.userDataDir = oldDir;
    fs::create_directories(nativePath(oldDir));
    app.hooks.rebuildLook = [this] { ++lookRebuilt; };
    app.hooks.dataFolderMoved = [this] { ++folderMoved; };
  }

  SettingsDialogValues unchangedDialog() const {
    SettingsDialogValues v;
    v.pomodoroMinutes = u"25";
    v.breakMinutes = u"5";
    v.dataFolder = app.settings.userDataDir;
    return v;
  }
  std::string settingsFile() const { return dir.native() + "/tirelmo.i00"; }
  std::vector<std::string> settingsLines() const {
    const std::string text = test::fromLe(readBytes(settingsFile()));
    std::vector<std::string> lines;
    for (std::size_t pos = 0, end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
      lines.push_back(text.substr(pos, end - pos));
    return lines;
  }

  const u16 oldDir = dir.path() + u"\\old";
  const u16 newDir = dir.path() + u"\\new\\data";
  int lookRebuilt = 0;
  int folderMoved = 0;
};

TEST_F(SettingsChangeTest, UnsafeDestinationsAreRefused) {
  const u16 old = u"C:\\Users\\me\\Tirelmo";
  struct Case {
    u16 folder;
    DataFolderProblem expected;
  };
  using P = DataFolderProblem;
  const Case cases[] = {
      {old, P::None},  // unchanged: nothing to move
      {u"C:\\Users\\me\\Tirelmo\\", P::SameFolder},        {u"c:\\USERS\\me\\tirelmo", P::SameFolder},
      {u"C:\\Users\\.\\me\\Tirelmo", P::SameFolder},       {u"C:/Users/me/x/../Tirelmo. ", P::SameFolder},
      {u"C:\\Users\\me\\Tirelmo\\Backup", P::InsideDataFolder}, {u"c:\\users\\me\\.\\tirelmo\\b", P::InsideDataFolder},
      {u"", P::Empty},   {u"   ", P::Empty},  {u"Tirelmo2", P::Relative}, {u"\\Tirelmo2", P::Relative},
      {u"C:Tirelmo2", P::Relative},  {u"\\\\server", P::Relative},  {u"D:\\Data*", P::BadCharacter},
      {u"C:\\Users\\me\\Tirelmo2", P::None},  {u"D:\\", P::None},  {u"\\\\server\\share\\Tirelmo", P::None},
  };
  for (const Case& c : cases)
    EXPECT_EQ(checkNewDataFolder(app, old, c.folder), c.expected) << utf16ToUtf8(c.folder);

  // A Todolist of a 60-character title needs 76 units below the folder; a sheet 45.
  TodolistEntry list;
  list.title = u16(60, u'L');
  list.path = old + u"\\NextThings\\" + list.title + u".pm6";
  app.todolists.entries.push_back(list);
  const u16 fits = u"D:\\" + u16(176, u'x');  // 179 units: 255 with the list
  EXPECT_EQ(checkNewDataFolder(app, old, fits), DataFolderProblem::None);
  EXPECT_EQ(checkNewDataFolder(app, old, fits + u"y"), DataFolderProblem::PathTooLong);
  app.todolists.entries.clear();
  EXPECT_EQ(checkNewDataFolder(app, old, fits + u"y"), DataFolderProblem::None);
}

TEST_F(SettingsChangeTest, OutOfRangeMinutesKeepTheDialogOpen) {
  const auto check = [&](const char16_t* pomodoro, const char16_t* brk) {
    SettingsDialogValues v = unchangedDialog();
    v.pomodoroMinutes = pomodoro;
    v.breakMinutes = brk;
    return checkSettingsDialog(app, v);
  };
  for (const char16_t* bad : {u"4", u"91", u"", u"2x"}) {
    const SettingsCheck r = check(bad, u"5");
    EXPECT_EQ(r.field, SettingsField::PomodoroMinutes);
    EXPECT_EQ(r.resetValue, 25);
  }
  for (const char16_t* bad : {u"-1", u"21", u"abc", u""}) {
    const SettingsCheck r = check(u"25", bad);
    EXPECT_EQ(r.field, SettingsField::BreakMinutes) << utf16ToUtf8(bad);
    EXPECT_EQ(r.resetValue, 5);
  }
  ASSERT_EQ(prompts.shown.size(), 8u);
  EXPECT_EQ(prompts.shown[7].text, u"Minutes for Break-Time\nmust be less than 20");
  EXPECT_EQ(prompts.shown[7].caption, u"Value entered out of range");

  for (const auto& [pomodoro, brk] : {std::pair{u"5", u"0"}, std::pair{u"90", u"20"}})
    EXPECT_EQ(check(pomodoro, brk).field, SettingsField::None);

  app.settings.userDataDir = u"C:\\Tirelmo";
  SettingsDialogValues v = unchangedDialog();
  v.dataFolder = u"C:\\Tirelmo\\inside";
  EXPECT_EQ(checkSettingsDialog(app, v).field, SettingsField::DataFolder);
  EXPECT_EQ(prompts.shown.back().text, u16(text(Txt::DataFolderInside, Language::English)));
  EXPECT_FALSE(fs::exists(settingsFile()));
}

TEST_F(SettingsChangeTest, AFontOrSizeNotOfferedIsKeptWhenNothingIsChosen) {
  EXPECT_EQ(dropDownSelection(fontEntries(), u"arial"), 1);
  EXPECT_EQ(dropDownSelection(fontSizeEntries(), fontSizeText(26)), 12);
  EXPECT_EQ(dropDownSelection(fontEntries(), u"Comic Sans MS"), -1);
  EXPECT_EQ(dropDownSelection(fontSizeEntries(), fontSizeText(9)), -1);

  Settings before = app.settings;
  before.font = u"Comic Sans MS";
  before.fontsize = 9;
  before.timerType = 3;
  SettingsDialogValues v = unchangedDialog();  // drop-downs showing no choice
  v.ring = before.bPlayAlarm;
  EXPECT_EQ(settingsFromDialog(before, v), before);
}

TEST_F(SettingsChangeTest, OnlyAChangedRecordIsWritten) {
  const Settings before = app.settings;
  EXPECT_FALSE(applyChangedSettings(app, before));
  EXPECT_FALSE(fs::exists(settingsFile()));

  ASSERT_TRUE(SaveSettingsToFile(app.settings, prompts));
  std::vector<std::string> expected = settingsLines();
  app.settings.bPlayAlarm = false;
  EXPECT_TRUE(applyChangedSettings(app, before));
  for (std::string& line : expected)
    if (line == "bPlayAlarm=1") line = "bPlayAlarm=0";
  EXPECT_EQ(settingsLines(), expected);
  EXPECT_EQ(lookRebuilt, 0);
  EXPECT_EQ(folderMoved, 0);
}

// ---- The move over a real folder tree ---------------------------------------------------

class DataFolderMoveTest : public SettingsChangeTest {
 protected:
  DataFolderMoveTest() {
    put("DailyTask/2021/3/DailyTask_2021-3-4-4.pm6", header() + record({.index = 2, .text = "Thursday"}));
    put("stats/2021-3.ats", std::string("\x01\0\x02\xFF", 4));
    put("stats/DoneTasks_2021_3.m00", "done archive");
    put("Projects/active_prj.p01", "active");
    put("Projects/closed_prj.p01", "closed");
    put("YesterdayArchive.y00", "yesterday");
    put("AppUsage/todayAppUsage.txt", "usage");
    for (const char* name : {"Home", "Work"}) {
      put(std::string("NextThings/") + name + ".pm6", header() + record({.text = name}));
      TodolistEntry e;
      e.id = static_cast<std::int32_t>(app.todolists.entries.size() + 1);
      e.title = utf8ToUtf16(name);
      e.path = oldDir + u"\\NextThings\\" + e.title + u".pm6";
      app.todolists.entries.push_back(e);
    }
    EXPECT_TRUE(saveTodolistRegistryFile(oldDir + u"\\TdlInfo.p01", app.todolists));
    app.todolist.rows[0].text = u"Milk";
    app.sheet.sheetFileName = u"DailyTask_2021-3-5-5.pm6";
    app.hooks.takeEditorTexts = [this] { row(0).text = u"Typed but unsaved"; };
  }

  void put(const std::string& relative, const std::string& bytes) const {
    const fs::path p = nativePath(oldDir) + "/" + relative;
    fs::create_directories(p.parent_path());
    writeBytes(p.string(), bytes);
  }
  std::vector<std::string> filesBelow(const u16& folder) const {
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(nativePath(folder)))
      if (e.is_regular_file()) files.push_back(fs::relative(e.path(), nativePath(folder)).string());
    return files;
  }
  bool userDataDirLine(const u16& folder) const {
    for (const std::string& l : settingsLines())
      if (l == "User Data dir=" + utf16ToUtf8(folder)) return true;
    return false;
  }
};

TEST_F(DataFolderMoveTest, EveryFileArrivesAndTheProgramWorksThere) {
  const Settings before = app.settings;
  app.settings.userDataDir = newDir;
  ASSERT_TRUE(applyChangedSettings(app, before));

  const std::string todayNative = nativePath(newDir) + "/DailyTask/2021/3/DailyTask_2021-3-5-5.pm6";
  EXPECT_NE(readBytes(todayNative).find(test::scrambled(test::le("Typed but unsaved"))), std::string::npos);
  const std::vector<std::string> files = filesBelow(oldDir);
  EXPECT_EQ(files.size(), 11u);
  for (const std::string& f : files) {
    if (f == "TdlInfo.p01") continue;
    const std::string moved = nativePath(newDir) + "/" + f;
    ASSERT_TRUE(fs::exists(moved)) << f;
    EXPECT_EQ(readBytes(moved), readBytes(nativePath(oldDir) + "/" + f)) << f;
  }

  TodolistRegistry reg;
  LoadTdlInfo_p01(newDir + u"\\TdlInfo.p01", reg);
  ASSERT_EQ(reg.count(), 2);
  EXPECT_EQ(reg.entries[0].path, newDir + u"\\NextThings\\Home.pm6");
  EXPECT_EQ(reg.entries[1].path, newDir + u"\\NextThings\\Work.pm6");

  EXPECT_EQ(app.start.userDataDir, newDir);
  EXPECT_EQ(nativePath(currentDirectory()), nativePath(newDir));
  EXPECT_EQ(app.settings.last2dofilename, newDir + u"\\DailyTask\\2021\\3\\DailyTask_2021-3-5-5.pm6");
  EXPECT_TRUE(userDataDirLine(newDir));
  app.sheetList.waitForBuild();
  EXPECT_EQ(app.sheetList.size(), 2u);
  EXPECT_EQ(folderMoved, 1);
  EXPECT_TRUE(logHas("Nothing to copy: " + utf16ToUtf8(oldDir) + "\\InvList*.*"));
}

TEST_F(DataFolderMoveTest, AFailedCopyNamesTheOldFolderInTheFileAtOnce) {
  app.settings.userDataDir = newDir;
  ASSERT_TRUE(SaveSettingsToFile(app.settings, prompts));
  const std::vector<std::string> before = filesBelow(oldDir);

  refuseWritesTo("new\\data\\stats");
  const bool moved = moveDataFolder(app, oldDir, newDir);
  refuseWritesTo("");

  EXPECT_FALSE(moved);
  EXPECT_EQ(app.settings.userDataDir, oldDir);
  EXPECT_TRUE(userDataDirLine(oldDir));
  EXPECT_EQ(app.start.userDataDir, oldDir);
  EXPECT_EQ(folderMoved, 0);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Copy Failed!");
  EXPECT_FALSE(fs::exists(nativePath(newDir) + "/Projects"));  // stopped at the failing group
  EXPECT_EQ(filesBelow(oldDir).size(), before.size() + 1);  // today's sheet, saved first
}

}  // namespace
}  // namespace tirelmo
