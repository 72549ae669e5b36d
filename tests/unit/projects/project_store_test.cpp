#include "projects/project_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "base/log.h"
#include "support/fakes.h"
#include "unit/storage/scrambled_names.h"

namespace tirelmo {
namespace {

using test::fromLe;
using test::le;
using test::readBytes;
using test::writeBytes;

const std::string kCrLf("\x0D\x00\x0A\x00", 4);

// The record-line scrambler worked from its description (key "marbella", carry from 1,
// rotate left by 3, next carry = low two bits of the output), kept apart from the
// program's own so the two check each other.
std::string handScramble(const std::string& plain) {
  static const char key[] = "marbella";
  std::string out(plain.size(), '\0');
  unsigned k = 1;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    unsigned t = (static_cast<unsigned char>(key[i % 8]) ^ static_cast<unsigned char>(plain[i]));
    t = (t + k) & 0xFF;
    t = ((t << 3) | (t >> 5)) & 0xFF;
    out[i] = static_cast<char>(t);
    k = t & 3;
  }
  return out;
}

// One scrambled record line: the text scrambled on its own, then a plain CR LF.
std::string recordLine(const std::string& utf8) { return handScramble(le(utf8)) + kCrLf; }

class ProjectStoreTest : public ::testing::Test {
 protected:
  ProjectStoreTest() : app(clock, prompts, system) {
    app.start.userDataDir = dir.path();
    std::filesystem::create_directory(dir.native() + "/Projects");
    processLog().open();
  }
  ~ProjectStoreTest() override { processLog().closeOnFailedStart(); }

  std::string projects(const std::string& name) const { return dir.native() + "/Projects/" + name; }
  std::string log() const { return fromLe(readBytes(dir.native() + "/Tirelmo_v2.3.3_log.txt")); }
  bool logged(const std::string& line) const { return log().find(line + "\r\n") != std::string::npos; }

  static Project project(std::int32_t id, u16 name, std::uint32_t h, std::uint32_t m,
                         std::uint32_t status, std::int32_t y = 0, std::int32_t mo = 0, std::int32_t d = 0) {
    Project p;
    p.id = id;
    p.name = std::move(name);
    p.workedHours = h;
    p.workedMinutes = m;
    p.status = status;
    p.deadlineYear = y;
    p.deadlineMonth = mo;
    p.deadlineDay = d;
    return p;
  }

  test::TempDir dir;
  test::FakeClock clock;
  test::ScriptedPrompts prompts;
  test::FakeSystem system;
  App app;
};

TEST_F(ProjectStoreTest, ShortRowsTakeTheirStatusFromTheTimeAndHaveNoDeadline) {
  writeBytes(projects("active_prj.p01"), recordLine("\"ID\",\"Name\"") +
                                             recordLine("\"5\",\"Report\",\"2\",\"0\"") +
                                             recordLine("\"6\",\"Idea\",\"0\",\"0\"") +
                                             recordLine("\"8\",\"Paused\",\"0\",\"40\",\"2\",\"2021\",\"7\""));
  EXPECT_EQ(LoadActiveProjects(app), 4);  // lines, the header included
  ASSERT_EQ(app.projects.active.size(), 3u);
  EXPECT_EQ(app.projects.active[0], project(5, u"Report", 2, 0, kProjectInProgress));
  EXPECT_EQ(app.projects.active[1], project(6, u"Idea", 0, 0, kProjectNotStarted));
  EXPECT_EQ(app.projects.active[2], project(8, u"Paused", 0, 40, kProjectSuspended, 2021, 7, 0));
  EXPECT_TRUE(logged("Opening " + dir.native() + "\\Projects\\active_prj.p01"));
}

TEST_F(ProjectStoreTest, TimeIsCarriedIntoHoursAndClampedAtZero) {
  app.projects.active = {project(3, u"Other", 0, 0, kProjectNotStarted), project(7, u"Book", 1, 30, kProjectInProgress)};
  app.projects.reportProjectId = 7;

  EXPECT_EQ(addProjectMinutes(app, 7, 45), 1);
  const Project& p = app.projects.active[1];
  EXPECT_EQ(p.workedHours, 2u);
  EXPECT_EQ(p.workedMinutes, 15u);
  EXPECT_EQ(p.minutesToday, 45);
  EXPECT_EQ(app.projects.reportMinutesToday, 45);

  EXPECT_EQ(subtractProjectMinutes(app, 7, 200), 0);
  EXPECT_TRUE(logged("Warn: Prj id 7 has 2:15. Trying to dec 200"));
  EXPECT_EQ(p.workedHours, 0u);
  EXPECT_EQ(p.workedMinutes, 0u);
  // Only the time is clamped; the rest stays as it was.
  EXPECT_EQ(p.status, kProjectInProgress);
  EXPECT_EQ(p.minutesToday, 45);

  // A first pomodoro starts a project; no project and unknown projects.
  EXPECT_EQ(addProjectMinutes(app, 3, 25), 1);
  EXPECT_EQ(app.projects.active[0].status, kProjectInProgress);
  EXPECT_EQ(addProjectMinutes(app, 0, 25), 1);
  EXPECT_EQ(subtractProjectMinutes(app, 0, 25), 1);
  EXPECT_EQ(addProjectMinutes(app, 99, 25), 0);
  EXPECT_EQ(subtractProjectMinutes(app, 99, 25), 0);
  EXPECT_EQ(app.projects.active[0].workedMinutes, 25u);
}

TEST_F(ProjectStoreTest, TimeAndDeadlineFromAFileStayInRange) {
  writeBytes(projects("active_prj.p01"),
             recordLine("\"ID\",\"Name\"") +
                 recordLine("\"5\",\"Huge\",\"2147483647\",\"2147483647\",\"1\",\"99999\",\"13\",\"40\"") +
                 recordLine("\"6\",\"Carry\",\"1\",\"125\",\"1\",\"2021\",\"7\",\"4\"") +
                 recordLine(std::string("\"7\",\"Cut\0here\",\"0\",\"5\"", 22)));
  EXPECT_EQ(LoadActiveProjects(app), 4);
  ASSERT_EQ(app.projects.active.size(), 3u);
  EXPECT_EQ(app.projects.active[0], project(5, u"Huge", 1000000, 59, kProjectInProgress));
  EXPECT_EQ(app.projects.active[1], project(6, u"Carry", 3, 5, kProjectInProgress, 2021, 7, 4));
  // A name ends at a NUL, as it is saved.
  EXPECT_EQ(app.projects.active[2].name, u"Cut");
  // A project at the bound takes more minutes without overflow and stays there.
  EXPECT_EQ(addProjectMinutes(app, 5, 25), 1);
  EXPECT_EQ(app.projects.active[0].workedHours, 1000000u);
  EXPECT_EQ(app.projects.active[0].workedMinutes, 59u);
}

TEST_F(ProjectStoreTest, TakingAllTheTimeResetsTheStatusUnlessClosed) {
  app.projects.active = {project(1, u"Done one", 0, 30, kProjectClosed), project(2, u"Paused", 0, 30, kProjectSuspended)};
  app.projects.active[1].minutesToday = 10;
  app.projects.reportProjectId = 2;
  app.projects.reportMinutesToday = 10;

  EXPECT_EQ(subtractProjectMinutes(app, 2, 30), 1);
  EXPECT_EQ(app.projects.active[1].status, kProjectNotStarted);
  EXPECT_TRUE(logged("Force sts of prj 1 to Not Started."));  // its place in the list
  EXPECT_EQ(app.projects.active[1].minutesToday, 0);  // never below zero
  EXPECT_EQ(app.projects.reportMinutesToday, 0);

  EXPECT_EQ(subtractProjectMinutes(app, 1, 30), 1);
  EXPECT_EQ(app.projects.active[0].status, kProjectClosed);
}

TEST_F(ProjectStoreTest, SavedRowsMatchTheLayoutAndAQuoteRoundTrips) {
  app.projects.active = {project(3, u"Say \"hi\"", 1, 5, kProjectInProgress, 2021, 6, 30),
                         project(12, u"写周报", 0, 0, kProjectNotStarted)};
  ASSERT_TRUE(SaveActiveProjects(app));
  EXPECT_EQ(readBytes(projects("active_prj.p01")),
            recordLine("\"ID\",\"Name\"") +
                recordLine("\"3\",\"Say \"\"hi\"\"\",\"1\",\"5\",\"1\",\"2021\",\"6\",\"30\"") +
                recordLine("\"12\",\"写周报\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\""));
  EXPECT_TRUE(logged("Saving prjs into " + dir.native() + "\\Projects\\active_prj.p01"));

  const std::vector<Project> saved = app.projects.active;
  EXPECT_EQ(LoadActiveProjects(app), 3);
  EXPECT_EQ(app.projects.active, saved);
}

TEST_F(ProjectStoreTest, TheClosedFileCarriesAnInnerCrLf) {
  const std::string file = recordLine("\"ID\",\"Name\"\r\n") +
                           recordLine("\"4\",\"Old site\",\"10\",\"59\",\"3\",\"2020\",\"12\",\"1\"\r\n") +
                           recordLine("\"9\",\"Trip\",\"0\",\"25\",\"3\",\"0\",\"0\",\"0\"\r\n");
  writeBytes(projects("closed_prj.p01"), file);
  loadProjectsAtStart(app);
  ASSERT_EQ(app.projects.closed.size(), 2u);
  EXPECT_EQ(app.projects.closed[0], project(4, u"Old site", 10, 59, kProjectClosed, 2020, 12, 1));
  EXPECT_EQ(app.projects.closed[1], project(9, u"Trip", 0, 25, kProjectClosed));

  std::filesystem::remove(projects("closed_prj.p01"));
  ASSERT_TRUE(SaveClosedProjects(app));
  EXPECT_EQ(readBytes(projects("closed_prj.p01")), file);
  EXPECT_TRUE(logged("Saving closed prjs into " + dir.native() + "\\Projects\\closed_prj.p01"));

  // The day restart loads again: the closed projects are listed once, not twice.
  loadProjectsAtStart(app);
  EXPECT_EQ(app.projects.closed.size(), 2u);
}

// A name's scrambled units can hold CR LF (where the line reader splits), a lone CR or LF,
// or NUL. Each name below is "项目" and ideographs found by brute force to scramble into
// such units in its own row (see ideographsScramblingTo).
TEST_F(ProjectStoreTest, NamesWhoseScrambledRowsHoldLineEndsOrNulSurviveSaveAndLoad) {
  struct Case {
    std::int32_t id;
    u16v wanted;
    bool (*holds)(u16v);
  };
  const Case cases[] = {{21, u"\r\n", test::holdsCrLf},
                        {22, u"\r", test::holdsLoneCr},
                        {23, u"\n", test::holdsLoneLf},
                        {24, u16v(u"\0", 1), test::holdsNul},
                        {25, u"\r\n\r\n", test::holdsCrLf}};
  std::vector<Project> active;
  for (const Case& c : cases) {
    const u16 before = fmt(u"\"%d\",\"项目", c.id);
    const u16 found = test::ideographsScramblingTo(before, c.wanted);
    ASSERT_EQ(found.size(), c.wanted.size()) << c.id;
    Project p = project(c.id, u"项目" + found, 3, 20, kProjectInProgress, 2024, 5, 1);
    u16 row = fmt(u"\"%d\",\"%s\",\"3\",\"20\",\"1\",\"2024\",\"5\",\"1\"", p.id, p.name);
    ASSERT_TRUE(c.holds(test::scrambledUnits(row))) << c.id;
    active.push_back(std::move(p));
  }
  active.push_back(project(26, u"After them", 0, 5, kProjectInProgress));
  app.projects.active = active;
  // The closed file's rows end in an inner CR LF, so its split falls elsewhere on the line.
  const u16 closedName = u"项目" + test::ideographsScramblingTo(u"\"31\",\"项目", u"\r\n");
  app.projects.closed = {project(31, closedName, 1, 0, kProjectClosed), project(32, u"Old", 2, 0, kProjectClosed)};
  const std::vector<Project> closed = app.projects.closed;
  ASSERT_TRUE(SaveActiveProjects(app));
  ASSERT_TRUE(SaveClosedProjects(app));
  const std::string activeBytes = readBytes(projects("active_prj.p01"));
  const std::string closedBytes = readBytes(projects("closed_prj.p01"));

  loadProjectsAtStart(app);
  EXPECT_EQ(app.projects.active, active);
  EXPECT_EQ(app.projects.closed, closed);
  EXPECT_TRUE(logged("LoadActiveProjects_p01() row ##1 was split in 2 lines, joined"));
  EXPECT_TRUE(logged("LoadActiveProjects_p01() row ##6 was split in 3 lines, joined"));
  EXPECT_EQ(log().find("err reading row"), std::string::npos);

  ASSERT_TRUE(SaveActiveProjects(app));
  ASSERT_TRUE(SaveClosedProjects(app));
  EXPECT_EQ(readBytes(projects("active_prj.p01")), activeBytes);
  EXPECT_EQ(readBytes(projects("closed_prj.p01")), closedBytes);
}

TEST_F(ProjectStoreTest, NamesAreFoundAmongActiveAndClosedProjects) {
  app.projects.active = {project(2, u"Live", 0, 0, 0)};
  app.projects.closed = {project(5, u"Archived", 0, 0, 3)};
  u16 name = u"unchanged";
  EXPECT_EQ(projectNameById(app, 5, name), 1);
  EXPECT_EQ(name, u"Archived");
  EXPECT_EQ(projectNameById(app, 2, name), 1);
  EXPECT_EQ(name, u"Live");
  name = u"unchanged";
  EXPECT_EQ(projectNameById(app, 77, name), 0);
  EXPECT_EQ(name, u"unchanged");
  EXPECT_EQ(projectNameById(app, 0, name), 1);
  EXPECT_EQ(name, u"<Not linked to a Project>");
  app.settings.language = u"Chinese (Simplified)";
  EXPECT_EQ(projectNameById(app, 0, name), 1);
  EXPECT_EQ(name, u"<没有链接到项目>");
}

TEST_F(ProjectStoreTest, AnOlderP00FileIsReadAndTheNextSaveWritesP01) {
  // Plain UTF-16LE record lines.
  writeBytes(projects("active_prj.p00"), le("\"ID\",\"Name\"\r\n"
                                            "\"4\",\"Old\",\"3\",\"7\",\"1\",\"0\",\"0\",\"0\"\r\n"
                                            "\"5\",\"Older\",\"0\",\"0\"\r\n"));
  writeBytes(projects("active_prj.csv"), "\"ID\",\"Name\",\"Hours\",\"Minutes\"\n\"1\",\"csv\",\"0\",\"1\"\n");
  EXPECT_EQ(LoadActiveProjects(app), 2);
  ASSERT_EQ(app.projects.active.size(), 2u);
  EXPECT_EQ(app.projects.active[0], project(4, u"Old", 3, 7, kProjectInProgress));
  EXPECT_EQ(app.projects.active[1], project(5, u"Older", 0, 0, kProjectNotStarted));
  EXPECT_TRUE(logged("1) Prj 4: Old - Time spent: 3:7'"));
  EXPECT_TRUE(logged("2) Prj 5: Older - Time spent: 0:0'"));

  const std::string p00 = readBytes(projects("active_prj.p00"));
  ASSERT_TRUE(SaveActiveProjects(app));
  EXPECT_EQ(readBytes(projects("active_prj.p00")), p00);
  EXPECT_EQ(LoadActiveProjects(app), 3);  // now the .p01 file
  EXPECT_EQ(app.projects.active.size(), 2u);
}

TEST_F(ProjectStoreTest, TheOldestCsvFormIsUtf8WithFourColumns) {
  writeBytes(projects("active_prj.csv"),
             "\"ID\",\"Name\",\"Hours\",\"Minutes\"\r\n\"3\",\"周报\",\"1\",\"20\",\"9\"\r\n\"4\",\"Plan\",\"0\",\"0\"\r\n");
  EXPECT_EQ(LoadActiveProjects(app), 2);
  ASSERT_EQ(app.projects.active.size(), 2u);
  // Only four columns exist there: the status waits for the start-up fix-up.
  EXPECT_EQ(app.projects.active[0], project(3, u"周报", 1, 20, kProjectNotStarted));
  EXPECT_TRUE(logged("Read 2 rows"));
  fixUpProjectStatuses(app.projects);
  EXPECT_EQ(app.projects.active[0].status, kProjectInProgress);
  EXPECT_EQ(app.projects.active[1].status, kProjectNotStarted);
}

TEST_F(ProjectStoreTest, EachRowIsJudgedOnItsOwn) {
  writeBytes(projects("active_prj.p01"),
             recordLine("\"ID\",\"Name\"") + recordLine("\"1\",\"First\",\"0\",\"5\"") +
                 recordLine("\"x\",\"Bad id\",\"0\",\"5\"") + recordLine("\"2\",\"Second\",\"1\",\"0\"") +
                 recordLine("\"3\",\"Huge\",\"99999999999\",\"0\"") +  // beyond 32 bits
                 recordLine("\"4294967297\",\"Wrapped id\",\"0\",\"0\"") + recordLine("\"5\",\"\",\"0\",\"0\"") +
                 recordLine("\"6\",\"No time\"") +
                 recordLine("\"7\",\"Odd tail\",\"0\",\"9\",\"7\",\"99999999999\",\"x\",\"3\""));
  EXPECT_EQ(LoadActiveProjects(app), 9);
  ASSERT_EQ(app.projects.active.size(), 3u);
  EXPECT_EQ(app.projects.active[0].id, 1);
  EXPECT_EQ(app.projects.active[1].id, 2);
  // Damaged optional fields fall back to what a row without them means.
  EXPECT_EQ(app.projects.active[2], project(7, u"Odd tail", 0, 9, kProjectInProgress, 0, 0, 3));
  auto fmtLine = [](int row) { return "LoadActiveProjects_p01() err reading row ##" + std::to_string(row); };
  for (int row : {2, 4, 5, 6, 7}) EXPECT_TRUE(logged(fmtLine(row))) << row;
  EXPECT_FALSE(logged(fmtLine(3)));
  EXPECT_FALSE(logged(fmtLine(8)));

  // The same for the older form, which reports the rejection with -1.
  std::filesystem::remove(projects("active_prj.p01"));
  writeBytes(projects("active_prj.p00"),
             le("\"ID\",\"Name\"\r\n\"1\",\"A\",\"0\",\"0\"\r\n\"2\",\"B\",\"-1\",\"0\"\r\n\"3\",\"C\",\"0\",\"0\"\r\n"));
  EXPECT_EQ(LoadActiveProjects(app), -1);
  ASSERT_EQ(app.projects.active.size(), 2u);
  EXPECT_EQ(app.projects.active[1].name, u"C");
  EXPECT_TRUE(logged("LoadActiveProjects_p00() err reading row ##2"));
}

TEST_F(ProjectStoreTest, AP00RowCutByTheReadLimitIsNotLoadedHalfWay) {
  // Filler rows of 50 units, then a row whose first four fields end exactly at byte 85600.
  std::string file = le("\"ID\",\"Name\"\r\n");
  const std::string filler = le("\"1\",\"" + std::string(34, 'f') + "\",\"0\",\"0\"\r\n");
  ASSERT_EQ(filler.size(), 100u);
  while (85600 - file.size() > 300) file += filler;
  const std::size_t nameUnits = (85600 - file.size()) / 2 - 16;
  file += le("\"999\",\"" + std::string(nameUnits, 'c') + "\",\"1\",\"2\"");
  ASSERT_EQ(file.size(), 85600u);
  file += le(",\"3\",\"2030\",\"1\",\"1\"\r\n\"1000\",\"After\",\"0\",\"0\"\r\n");
  writeBytes(projects("active_prj.p00"), file);

  const int rows = LoadActiveProjects(app);
  ASSERT_FALSE(app.projects.active.empty());
  EXPECT_EQ(rows, static_cast<int>(app.projects.active.size()));
  for (const Project& p : app.projects.active) EXPECT_EQ(p.id, 1);
  EXPECT_TRUE(logged("LoadActiveProjects_p00() only the first 85600 bytes are read"));
}

TEST_F(ProjectStoreTest, AnEmptyActiveListIsSavedAsTheHeaderAlone) {
  app.projects.active = {project(1, u"Last one", 2, 0, kProjectInProgress)};
  ASSERT_TRUE(SaveActiveProjects(app));
  // Closing it moves it to the closed list; the old file must not bring it back.
  Project closed = app.projects.active[0];
  closed.status = kProjectClosed;
  app.projects.active.clear();
  app.projects.closed.push_back(closed);
  ASSERT_TRUE(SaveActiveProjects(app));
  ASSERT_TRUE(SaveClosedProjects(app));
  EXPECT_EQ(readBytes(projects("active_prj.p01")), recordLine("\"ID\",\"Name\""));

  loadProjectsAtStart(app);
  EXPECT_TRUE(app.projects.active.empty());
  ASSERT_EQ(app.projects.closed.size(), 1u);
  EXPECT_EQ(app.projects.closed[0].name, u"Last one");
}

TEST_F(ProjectStoreTest, AFileThatCouldNotBeReadIsNotReplacedByNothing) {
  const std::string file = recordLine("\"ID\",\"Name\"") + recordLine("\"1\",\"Kept\",\"0\",\"0\"");
  writeBytes(projects("active_prj.p01"), file);
  app.projects.activeFileUnreadable = true;  // as left by a load that could not open it
  EXPECT_FALSE(SaveActiveProjects(app));
  EXPECT_EQ(readBytes(projects("active_prj.p01")), file);
  // Projects made during the run are written, and the file is ours again.
  app.projects.active = {project(2, u"New", 0, 0, 0)};
  EXPECT_TRUE(SaveActiveProjects(app));
  EXPECT_FALSE(app.projects.activeFileUnreadable);
}

TEST_F(ProjectStoreTest, AFailedSaveKeepsTheOldFileAndTheLists) {
  std::filesystem::remove_all(dir.native() + "/Projects");
  app.projects.active = {project(1, u"A", 0, 0, 0)};
  app.projects.closed = {project(2, u"B", 0, 0, 3)};
  EXPECT_FALSE(SaveActiveProjects(app));
  EXPECT_FALSE(SaveClosedProjects(app));
  EXPECT_NE(log().find("CreateFile last error"), std::string::npos);
  EXPECT_EQ(app.projects.active.size(), 1u);
  EXPECT_EQ(app.projects.closed.size(), 1u);
}

TEST_F(ProjectStoreTest, StartUpLoadingSkipsAFolderAndFixesStatuses) {
  writeBytes(projects("active_prj.p01"), recordLine("\"ID\",\"Name\"") +
                                             recordLine("\"1\",\"Worked\",\"0\",\"5\",\"0\",\"0\",\"0\",\"0\"") +
                                             recordLine("\"2\",\"Fresh\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\""));
  std::filesystem::create_directory(projects("closed_prj.p01"));
  app.projects.closed = {project(9, u"stale", 0, 0, 3)};
  loadProjectsAtStart(app);
  ASSERT_EQ(app.projects.active.size(), 2u);
  EXPECT_EQ(app.projects.active[0].status, kProjectInProgress);
  EXPECT_EQ(app.projects.active[1].status, kProjectNotStarted);
  EXPECT_TRUE(app.projects.closed.empty());
}

class RecordingCloud : public NoCloudSync {
 public:
  bool available() const override { return true; }
};

TEST_F(ProjectStoreTest, TheCloudCopyFollowsEveryChangeOnlyWhenEnabled) {
  RecordingCloud cloud;
  app.cloud = &cloud;
  std::vector<std::pair<std::int32_t, std::uint32_t>> sent;  // id, worked minutes
  app.projects.uploadToCloud = [&](App&, const Project& p) { sent.emplace_back(p.id, p.workedHours * 60 + p.workedMinutes); };
  app.projects.active = {project(1, u"A", 0, 10, 1), project(2, u"B", 1, 0, 1)};

  addProjectMinutes(app, 1, 5);
  EXPECT_TRUE(sent.empty());  // "Cloud ena" is off

  app.settings.cloudEna = true;
  addProjectMinutes(app, 1, 5);
  subtractProjectMinutes(app, 2, 30);
  subtractProjectMinutes(app, 2, 500);  // clamped: nothing new to tell
  ASSERT_TRUE(SaveActiveProjects(app));
  using Sent = std::vector<std::pair<std::int32_t, std::uint32_t>>;
  EXPECT_EQ(sent, (Sent{{1, 20}, {2, 30}, {1, 20}, {2, 0}}));

  NoCloudSync none;
  app.cloud = &none;
  sent.clear();
  addProjectMinutes(app, 1, 5);
  EXPECT_TRUE(sent.empty());
}

}  // namespace
}  // namespace tirelmo
