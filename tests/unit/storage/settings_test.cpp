#include "storage/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/log.h"
#include "platform/file.h"
#include "platform/prompts.h"
#include "support/fakes.h"

namespace tirelmo {
namespace {

using test::fileExists;
using test::fromLe;
using test::le;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

using Lines = std::vector<std::string>;

// The settings lines of a first start, spelled out by hand in file order.
Lines defaultLines(const std::string& folder, const std::string& language = "English") {
  return {"breaktimerminutes=5",
          "caretblink=1",
          "Vert_ScrollBar=1",
          "font=Buxton Sketch",
          "fontsize=26",
          "bPlayAlarm=1",
          "playticking=0",
          "pomtimerminutes=25",
          "skin=cleanwhite",
          "tmrwndx=0",
          "tmrwndy=0",
          "Wind_hth=1100",
          "Wind_wth=1000",
          "Wind_x=60",
          "Wind_y=0",
          "last2dofilename=",
          "sgcn230=0",
          "next_prj_ID=1",
          "Timer Type=0",
          "wkdir=" + folder,
          "bMinimizeToTray=0",
          "User Data dir=" + folder,
          "Display Project Names=0",
          "Cloud ena=0",
          "Cloud Login=",
          "Tdl saved on=",
          "Language=" + language,
          "cat_NONE=--",
          "cat_RED=Bug Fixing",
          "cat_YELLOW=Testing",
          "cat_GREEN=Development",
          "cat_CYAN=Learning",
          "cat_PINK=Finance",
          "cat_BLUE=Customer Support",
          "cat_ORANGE=Fitness",
          "cat_DARKGREEN=Logistics",
          "cat_VIOLET=Design/White-boarding",
          "cat_GREY=House Chores",
          "cat_BLACK=Networking/Get new Customers",
          "cat_FUCSIA=Write Articles/Web Content"};
}

Lines headerLines() {
  return {std::string(49, '#'), "#" + std::string(13, ' ') + "DO NOT CHANGE THIS FILE!!!", "#",
          "#" + std::string(2, ' ') + "This file is generated automatically", std::string(49, '#')};
}

// Replaces the value of one key in a list of lines.
Lines with(Lines lines, const std::string& key, const std::string& value) {
  for (std::string& l : lines)
    if (l.rfind(key + "=", 0) == 0) l = key + "=" + value;
  return lines;
}

std::string joinCrLf(const Lines& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

// A whole "tirelmo.i00" as the program writes it.
std::string i00File(const Lines& settings) { return le(joinCrLf(headerLines()) + joinCrLf(settings)); }

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { processLog().open(); }
  void TearDown() override { processLog().closeOnFailedStart(); }

  std::string folder() const { return dir.native(); }
  std::string i00Path() const { return folder() + "/tirelmo.i00"; }
  std::string iniPath() const { return folder() + "/tirelmo.ini"; }
  // The path as the program builds and logs it.
  std::string loggedPath(const std::string& name) const { return folder() + "\\" + name; }
  std::string logText() const { return fromLe(readBytes(folder() + "/Tirelmo_v2.3.3_log.txt")); }
  bool logHas(const std::string& line) const {
    return logText().find(line + "\r\n") != std::string::npos;
  }
  void load() { LoadSettings(s, dir.path(), sys, prompts); }
  // A loaded record holding the defaults, for tests that start from memory.
  Settings defaults() const {
    Settings d;
    setDefaultSettings(d, dir.path());
    d.language = u"English";
    return d;
  }

  TempDir dir;
  test::FakeSystem sys;
  test::ScriptedPrompts prompts;
  Settings s;
};

// --- The file of a first start and the round trip ---

TEST_F(SettingsTest, FirstStartWritesTheDefaultsByteForByte) {
  load();

  EXPECT_EQ(readBytes(i00Path()), i00File(defaultLines(folder()))) << fromLe(readBytes(i00Path()));
  EXPECT_FALSE(fileExists(i00Path() + ".tmp"));
  EXPECT_FALSE(fileExists(iniPath()));
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(s.language, u"English");
  EXPECT_EQ(s.wkdir, dir.path());
  EXPECT_EQ(s.userDataDir, dir.path());
  ASSERT_EQ(s.categories.size(), 13u);
  EXPECT_EQ(s.categories[12], u"Write Articles/Web Content");
  EXPECT_EQ(s.secondFontHeight, 21);

  EXPECT_EQ(logText(), "Set default language to English\r\n"
                       "Saving settings " + loggedPath("tirelmo.i00") + "\r\n"
                       "last2dofilename: \r\n"
                       "Def userdata dir: " + folder() + "\r\n"
                       "userdata dir: " + folder() + "\r\n"
                       "ini file saved ok\r\n");
}

TEST_F(SettingsTest, EverySettingSurvivesASaveAndALoad) {
  Settings saved = defaults();
  saved.breaktimerminutes = 7;
  saved.caretblink = 0;
  saved.font = u"Segoe Print";
  saved.fontsize = 33;
  saved.bPlayAlarm = false;
  saved.playticking = true;
  saved.pomtimerminutes = 45;
  saved.skin = u"parchment";
  saved.tmrwndx = 1500;
  saved.tmrwndy = 900;
  saved.Wind_hth = 800;
  saved.Wind_wth = 1280;
  saved.Wind_x = 0;
  saved.Wind_y = 20;
  saved.last2dofilename = u"DailyTask\\2021\\3\\DailyTask_2021-3-5-5.pm6";
  saved.sgcn230 = 1234;
  saved.next_prj_ID = 42;
  saved.timerType = 4;
  saved.bMinimizeToTray = true;
  saved.userDataDir = u"D:\\Daten=Work\\Tirelmo";
  saved.displayProjectNames = true;
  saved.cloudEna = true;
  saved.cloudLogin = u"ann@x";
  saved.tdlSavedOn = u"2021,3,5,9,30,12,345";
  saved.language = u"Chinese (Simplified)";
  saved.categories[0] = u"无";
  saved.categories[5] = u"Geld & Steuern";
  saved.categories[12] = u"";
  saved.secondFontHeight = 24;  // follows the face when the file is read
  ASSERT_TRUE(SaveSettingsToFile(saved, prompts));

  const std::string written = readBytes(i00Path());
  load();
  EXPECT_EQ(s, saved);
  EXPECT_EQ(readBytes(i00Path()), written);  // nothing to adjust, nothing rewritten
}

TEST_F(SettingsTest, LoadingLogsTheFileAndTheValuesItSets) {
  writeBytes(i00Path(), le("font=Arial\r\nskin=pink\r\nwkdir=" + folder() + "\r\nLanguage=English\r\n"));
  load();
  EXPECT_EQ(logText(), "Opening ini file: " + loggedPath("tirelmo.i00") + "\r\n"
                       "Read settings from ini  " + loggedPath("tirelmo.i00") + "\r\n"
                       "font= Arial\r\n"
                       "pink\r\n" +
                       folder() + "\r\n"
                       "closing ini file\r\n");
}

// --- Reading key=value lines ---

TEST_F(SettingsTest, KeyValueLinesAreMatchedExactly) {
  const std::string content = joinCrLf({"# font=Verdana", "[Tirelmo]", "no equals sign here",
                                        " font=Times New Roman", "Font=Segoe Print", "font=Arial",
                                        "Cloud Login=a=b=c", "cat_green=never", "cat_GREEN=Coding",
                                        "Language=English"}) +
                              "skin=pink";  // no CR LF: an unfinished line
  writeBytes(i00Path(), le(content));
  load();

  EXPECT_EQ(s.font, u"Arial");
  EXPECT_EQ(s.secondFontHeight, 16);
  EXPECT_EQ(s.cloudLogin, u"a=b=c");
  EXPECT_EQ(s.categories[3], u"Coding");
  EXPECT_EQ(s.categories[2], u"Testing");
  EXPECT_EQ(s.skin, u"cleanwhite");
  EXPECT_EQ(readBytes(i00Path()), le(content));
}

TEST_F(SettingsTest, NumbersAndSwitchesAreReadLoosely) {
  const Lines lines = with(with(with(with(with(with(with(defaultLines(folder()), "bPlayAlarm", "0"),
                                                          "playticking", "7"),
                                                     "bMinimizeToTray", "-1"),
                                                "fontsize", "big"),
                                           "pomtimerminutes", "30min"),
                                      "Vert_ScrollBar", "0"),
                                 "sgcn230", "-12");
  writeBytes(i00Path(), i00File(lines));
  load();

  EXPECT_FALSE(s.bPlayAlarm);
  EXPECT_TRUE(s.playticking);
  EXPECT_TRUE(s.bMinimizeToTray);
  EXPECT_EQ(s.fontsize, 0);
  EXPECT_EQ(s.pomtimerminutes, 30);
  EXPECT_EQ(s.Vert_ScrollBar, 1);
  EXPECT_EQ(s.sgcn230, -12);
  // None of these is a reason to rewrite the file.
  EXPECT_EQ(readBytes(i00Path()), i00File(lines));
}

TEST_F(SettingsTest, AFileWithoutPairsIsReplacedByTheDefaults) {
  const std::string onlyComments = i00File({});
  writeBytes(i00Path(), onlyComments);
  load();
  EXPECT_TRUE(logHas("LoadSettings - no i00 file, save default vals."));
  // Saved before the adjustment settles the language, so its line is still empty.
  EXPECT_EQ(readBytes(i00Path()), i00File(defaultLines(folder(), "")));
  EXPECT_EQ(s.language, u"English");
}

// --- Adjustments after loading ---

TEST_F(SettingsTest, NarrowWindowIsWidenedWithoutRewritingTheFile) {
  const std::string file = i00File(with(defaultLines(folder()), "Wind_wth", "640"));
  writeBytes(i00Path(), file);
  load();
  EXPECT_EQ(s.Wind_wth, 1005);
  EXPECT_EQ(readBytes(i00Path()), file);
  EXPECT_FALSE(logHas("Adjusted Settings, need to save"));
  EXPECT_EQ(logText().find("Saving settings"), std::string::npos);
}

TEST_F(SettingsTest, OffScreenWindowsAreResetAndSavedAtOnce) {
  struct Case {
    const char* key;
    const char* stored;
    const char* fixed;
  };
  for (const Case& c : {Case{"Wind_hth", "1200", "1100"}, Case{"Wind_x", "-8", "0"},
                        Case{"Wind_y", "1081", "0"}, Case{"tmrwndx", "4000", "0"},
                        Case{"tmrwndy", "-1", "0"}}) {
    SCOPED_TRACE(c.key);
    writeBytes(i00Path(), i00File(with(defaultLines(folder()), c.key, c.stored)));
    load();
    EXPECT_EQ(readBytes(i00Path()), i00File(with(defaultLines(folder()), c.key, c.fixed)));
    EXPECT_TRUE(logHas("Adjusted Settings, need to save"));
  }
}

TEST_F(SettingsTest, AdjustmentBoundariesCompareUnsigned) {
  sys.width = 1920;
  sys.height = 1080;
  Settings a = defaults();
  a.Wind_x = 1920;
  a.Wind_y = 1080;
  a.tmrwndx = 1920;
  a.tmrwndy = 1080;
  a.Wind_wth = 641;
  a.Wind_hth = 1100;
  Settings untouched = a;
  EXPECT_FALSE(adjustSettings(a, sys));
  EXPECT_EQ(a, untouched);

  a.Wind_wth = -5;  // counts as very wide
  EXPECT_FALSE(adjustSettings(a, sys));
  EXPECT_EQ(a.Wind_wth, -5);

  a.Wind_hth = -1;  // counts as very tall
  a.Wind_x = 1921;
  EXPECT_TRUE(adjustSettings(a, sys));
  EXPECT_EQ(a.Wind_hth, 1100);
  EXPECT_EQ(a.Wind_x, 0);
}

TEST_F(SettingsTest, EmptyNamesGetTheirDefaults) {
  sys.appData = dir.path() + u"/AppData";
  Settings a = defaults();
  a.wkdir.clear();
  a.userDataDir.clear();
  a.font.clear();
  a.secondFontHeight = 16;
  a.skin.clear();
  a.language.clear();
  a.categories[0].clear();
  EXPECT_TRUE(adjustSettings(a, sys));

  const u16 defaultFolder = sys.appData + u"\\Tirelmo";
  EXPECT_EQ(a.wkdir, defaultFolder);
  EXPECT_EQ(pathKind(defaultFolder), PathKind::Directory);
  EXPECT_EQ(a.userDataDir, defaultFolder);
  EXPECT_EQ(a.font, u"Buxton Sketch");
  EXPECT_EQ(a.fontsize, 19);
  EXPECT_EQ(a.secondFontHeight, 21);
  EXPECT_EQ(a.skin, u"cleanwhite");
  EXPECT_EQ(a.language, u"English");
  EXPECT_EQ(a.categories[0], u"--");
  EXPECT_TRUE(logHas("Set default language to English"));
  EXPECT_TRUE(logHas("Cat #0 empty, set to '--'"));
  EXPECT_TRUE(logHas("Adjusted Settings, need to save"));

  // The language and the first category alone are settled without a save.
  Settings b = defaults();
  b.language.clear();
  b.categories[0].clear();
  EXPECT_FALSE(adjustSettings(b, sys));
  EXPECT_EQ(b.categories[0], u"--");
}

// --- The legacy 8-bit file ---

TEST_F(SettingsTest, LegacyIniIsReadAndLeftAloneWhenNothingNeedsAdjusting) {
  const std::string ini = "[Settings]\r\n"
                          "breaktimerminutes=10\r\n"
                          "font=Segoe Print\r\n"
                          "skin=pink\r\n"
                          "bMinimizeToTray=1\r\n"
                          "last2dofilename=C:\\Users\\Ren\xE9" "e\\x.pm5\r\n"
                          "wkdir=" + folder() + "\r\n"
                          "User Data dir=D:\\Donn\xE9" "es\r\n"
                          "cat_RED=Caf\xC3\xA9 \xE6\x97\xA5\r\n"
                          "Timer Type=3\r\n"
                          "Cloud ena=1\r\n"
                          "Language=Chinese (Simplified)\r\n";
  writeBytes(iniPath(), ini);
  load();

  EXPECT_EQ(s.breaktimerminutes, 10);
  EXPECT_EQ(s.font, u"Segoe Print");
  EXPECT_EQ(s.secondFontHeight, 24);
  EXPECT_EQ(s.skin, u"pink");
  EXPECT_TRUE(s.bMinimizeToTray);
  EXPECT_EQ(s.last2dofilename, u"C:\\Users\\Renée\\x.pm5");  // from the ANSI code page
  EXPECT_EQ(s.userDataDir, u"D:\\Données");
  EXPECT_EQ(s.categories[1], u"Café 日");  // names were UTF-8
  EXPECT_EQ(s.timerType, 0);            // keys the old file never had are ignored
  EXPECT_FALSE(s.cloudEna);
  EXPECT_EQ(s.language, u"English");
  EXPECT_FALSE(fileExists(i00Path()));
  EXPECT_EQ(readBytes(iniPath()), ini);
  EXPECT_TRUE(logHas("Opening ini file: " + loggedPath("tirelmo.ini")));
}

TEST_F(SettingsTest, LegacyIniNeedingAdjustmentIsCarriedIntoI00) {
  writeBytes(iniPath(), "skin=pink\r\nWind_hth=1500\r\n");
  load();
  EXPECT_EQ(readBytes(i00Path()),
            i00File(with(with(defaultLines(folder()), "skin", "pink"), "Wind_hth", "1100")));

  // From now on the new file wins over the old one.
  writeBytes(iniPath(), "skin=classic\r\n");
  load();
  EXPECT_EQ(s.skin, u"pink");
}

TEST_F(SettingsTest, LegacyIniWithoutPairsSavesTheDefaults) {
  writeBytes(iniPath(), "[Settings]\r\n");
  load();
  EXPECT_TRUE(logHas("LoadSettings - no ini file, rd from Reg"));
  EXPECT_EQ(readBytes(i00Path()), i00File(defaultLines(folder(), "")));
}

// --- Damaged or oversized input ---

TEST_F(SettingsTest, OverLongValuesAreCutToTheirCapacity) {
  const std::string longName(200, 'n');
  Lines lines = defaultLines(folder());
  lines = with(lines, "font", std::string(40, 'F'));
  lines = with(lines, "skin", std::string(40, 'S'));
  lines = with(lines, "last2dofilename", std::string(300, 'p'));
  lines = with(lines, "User Data dir", std::string(300, 'u'));
  lines = with(lines, "Cloud Login", std::string(30, 'c'));
  lines = with(lines, "Tdl saved on", std::string(70, '9'));
  lines = with(lines, "Language", std::string(40, 'L'));
  lines = with(lines, "cat_RED", longName);
  writeBytes(i00Path(), i00File(lines));
  load();

  EXPECT_EQ(s.font, u16(31, u'F'));
  EXPECT_EQ(s.skin, u16(31, u'S'));
  EXPECT_EQ(s.last2dofilename, u16(255, u'p'));
  EXPECT_EQ(s.userDataDir, u16(255, u'u'));
  EXPECT_EQ(s.cloudLogin, u16(17, u'c'));
  EXPECT_EQ(s.tdlSavedOn, u16(63, u'9'));
  EXPECT_EQ(s.language, u16(31, u'L'));
  EXPECT_EQ(s.categories[1], u16(127, u'n'));
  EXPECT_TRUE(logHas("font= " + std::string(31, 'F')));

  // The old format cuts the same way, also in the middle of multi-byte UTF-8.
  std::filesystem::remove(i00Path());
  std::string wideFont;
  for (int i = 0; i < 40; ++i) wideFont += "\xE6\x97\xA5";
  writeBytes(iniPath(), "font=" + wideFont + "\r\ncat_RED=" + longName + "\r\n");
  load();
  EXPECT_EQ(s.font, u16(31, u'日'));
  EXPECT_EQ(s.categories[1], u16(127, u'n'));
}

TEST_F(SettingsTest, PastedLineBreaksCannotAddAKey) {
  Settings in = defaults();
  in.categories[1] = u"Bugs\r\nUser Data dir=C:\\evil";
  in.skin = u"pink\nWind_x=9999";
  in.cloudLogin = u16(u"me") + u'\0' + u"sgcn230=7";
  ASSERT_TRUE(SaveSettingsToFile(in, prompts));

  const Lines expected = with(with(with(defaultLines(folder()), "cat_RED", "BugsUser Data dir=C:\\evil"), "skin",
                                   "pinkWind_x=9999"),
                              "Cloud Login", "mesgcn230=7");
  EXPECT_EQ(readBytes(i00Path()), i00File(expected)) << fromLe(readBytes(i00Path()));

  load();
  EXPECT_EQ(s.userDataDir, dir.path());
  EXPECT_EQ(s.Wind_x, 60);
  EXPECT_EQ(s.sgcn230, 0);
  EXPECT_EQ(s.categories[1], u"BugsUser Data dir=C:\\evil");
}

// A file larger than the read buffer in which the CR ending "skin=pink" is the unit at
// crIndex; more lines follow.
std::string oversizedI00(std::size_t crIndex) {
  const std::string head = joinCrLf(headerLines()) + "Language=English\r\n";
  const std::size_t padding = crIndex - head.size() - 9;  // 9 units of "skin=pink"
  const std::string pad = "#" + std::string(padding - 3, 'x') + "\r\n";
  return le(head + pad + "skin=pink\r\nfont=Arial\r\nCloud Login=late\r\n" + std::string(2000, '#'));
}

TEST_F(SettingsTest, OnlyTheFirst41600BytesAreRead) {
  const std::size_t bufferUnits = kSettingsReadBytes / 2;

  // The CR of "skin=pink" is the buffer's last unit: the line is complete.
  std::string file = oversizedI00(bufferUnits - 1);
  ASSERT_GT(file.size(), kSettingsReadBytes);
  ASSERT_EQ(file.substr(kSettingsReadBytes - 20, 20), le("skin=pink\r"));
  writeBytes(i00Path(), file);
  load();
  EXPECT_EQ(s.skin, u"pink");
  EXPECT_EQ(s.font, u"Buxton Sketch");
  EXPECT_EQ(s.cloudLogin, u"");
  EXPECT_EQ(readBytes(i00Path()), file);

  // One unit later the CR lies beyond the buffer: the cut line is not used.
  file = oversizedI00(bufferUnits);
  ASSERT_EQ(file.substr(kSettingsReadBytes - 18, 20), le("skin=pink\r"));
  writeBytes(i00Path(), file);
  load();
  EXPECT_EQ(s.skin, u"cleanwhite");
}

TEST_F(SettingsTest, TheTextEndsWithTheLastWholeUnitOrAtANul) {
  // A lone 0D byte must not pass for a CR unit and complete the last line.
  writeBytes(i00Path(), le("Language=English\r\nfont=Arial\r\nskin=pink") + std::string("\x0D", 1));
  load();
  EXPECT_EQ(s.font, u"Arial");
  EXPECT_EQ(s.skin, u"cleanwhite");

  // Zeros (a block a crash left unwritten) end the text like the end of the data does.
  writeBytes(i00Path(), le("font=Arial\r\n") + std::string(8, '\0') + le("\r\nskin=pink\r\n"));
  load();
  EXPECT_EQ(s.font, u"Arial");
  EXPECT_EQ(s.skin, u"cleanwhite");
}

// --- Saving that fails ---

TEST_F(SettingsTest, UnwritableFolderShowsTheErrorAndKeepsTheValues) {
  writeBytes(folder() + "/blocker", "a file where a folder should be");
  const u16 unusable = dir.path() + u"/blocker/Tirelmo";
  LoadSettings(s, unusable, sys, prompts);

  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Error: settings not saved into file!");
  EXPECT_EQ(prompts.shown[0].caption, u"Error");
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Warning);
  EXPECT_EQ(prompts.shown[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(s.language, u"English");
  EXPECT_EQ(s.wkdir, unusable);
  EXPECT_TRUE(logHas("SaveSettingsToFile last error 3: The system cannot find the path specified.\r\n"));
  EXPECT_EQ(logText().find("ini file saved ok"), std::string::npos);
}

TEST_F(SettingsTest, FailedSaveLeavesTheOldFileAndSpeaksChinese) {
  const std::string old = i00File(defaultLines(folder()));
  writeBytes(i00Path(), old);
  std::filesystem::create_directory(i00Path() + ".tmp");  // the new file cannot be created

  Settings changed = defaults();
  changed.language = u"Chinese (Simplified)";
  changed.pomtimerminutes = 50;
  EXPECT_FALSE(SaveSettingsToFile(changed, prompts));

  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"错误：设置未保存到文件！");
  EXPECT_EQ(prompts.shown[0].caption, u"Error");
  EXPECT_EQ(readBytes(i00Path()), old);
}

TEST_F(SettingsTest, DiskFullHalfwayKeepsTheOldFileWhole) {
  if (!fileExists("/dev/full")) GTEST_SKIP() << "no /dev/full to fill";
  const std::string old = i00File(defaultLines(folder()));
  writeBytes(i00Path(), old);
  std::filesystem::create_symlink("/dev/full", i00Path() + ".tmp");

  Settings changed = defaults();
  changed.skin = u"Vintage";
  EXPECT_FALSE(SaveSettingsToFile(changed, prompts));

  EXPECT_EQ(readBytes(i00Path()), old);
  EXPECT_FALSE(std::filesystem::is_symlink(i00Path() + ".tmp"));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, u"Error: settings not saved into file!");
  EXPECT_EQ(logText().find("ini file saved ok"), std::string::npos);
}

}  // namespace
}  // namespace tirelmo
