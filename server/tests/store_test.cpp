#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "sheet_logic.h"
#include "sqlite_store.h"

namespace tirelmo::sync {
namespace {

struct TempDb {
  std::filesystem::path dir;
  TempDb() {
    char pattern[] = "/tmp/tirelmo-sync-test-XXXXXX";
    dir = mkdtemp(pattern);
  }
  ~TempDb() { std::filesystem::remove_all(dir); }
  std::string path() const { return (dir / "sync.db").string(); }
};

SheetRow row(const std::string& text, int done, int pomodoros, int minutes) {
  SheetRow r;
  r.text = text;
  r.done = done;
  r.pomodoros = pomodoros;
  r.pastPomodoros = 2;
  r.minutesToday = minutes;
  r.pastMinutes = 100;
  r.age = 3;
  r.category = 4;
  r.project = 7;
  r.estimated = 5;
  return r;
}

TEST(SqliteStore, KeepsEverythingAcrossReopen) {
  TempDb temp;
  Sheet sheet;
  sheet.stamp = {2024, 5, 6, 10, 20, 30, 400};
  sheet.previous = {2024, 5, 3};
  sheet.lockHolder = "2024,5,6,9,0,0,0";
  {
    SqliteStore store(temp.path());
    store.transaction([&] {
      store.writeSheetMeta("anna", sheet);
      store.writeRow("anna", 0, row("first", 0, 1, 30));
      store.writeRow("anna", 24, row("学习", 1, 2, 61));
    });
    store.writeRow("anna", 0, row("first, again", 0, 3, 45));  // a row upsert replaces
    store.replaceList("anna", ListKind::Done, {{"a", {1, 2}}, {"b", {3}}});
    store.replaceList("anna", ListKind::Done, {{"c", {4, 5, 6}}});
    store.replaceList("anna", ListKind::Worked, {{"w", {7}}});
    store.upsertProject("anna", {9, 1, 1, 2, 3, "old name"});
    store.upsertProject("anna", {4, 0, 0, 0, 0, "first, by position"});
    store.upsertProject("anna", {9, 1, 1, 5, 6, "new, name"});
    store.setCategory("anna", {3, "Home"});
    store.setCategory("anna", {3, "Haus"});
    store.setCategory("anna", {1, "Work"});
    EXPECT_EQ(store.countPing(), 1);
    EXPECT_EQ(store.countPing(), 2);
  }
  SqliteStore store(temp.path());
  Sheet back = store.sheet("anna");
  EXPECT_EQ(back.stamp.msec, 400);
  EXPECT_EQ(back.previous.day, 3);
  EXPECT_EQ(back.lockHolder, sheet.lockHolder);
  EXPECT_EQ(back.rows[0], row("first, again", 0, 3, 45));
  EXPECT_EQ(back.rows[24], row("学习", 1, 2, 61));
  EXPECT_TRUE(back.rows[1].text.empty());
  EXPECT_EQ(store.list("anna", ListKind::Done), (std::vector<ListEntry>{{"c", {4, 5, 6}}}));
  EXPECT_EQ(store.list("anna", ListKind::Worked), (std::vector<ListEntry>{{"w", {7}}}));
  EXPECT_EQ(store.projects("anna"), (std::vector<ProjectEntry>{{4, 0, 0, 0, 0, "first, by position"},
                                                               {9, 1, 1, 5, 6, "new, name"}}));
  EXPECT_EQ(store.categories("anna"), (std::vector<CategoryEntry>{{1, "Work"}, {3, "Haus"}}));
  EXPECT_EQ(store.countPing(), 3);
  EXPECT_FALSE(store.sheet("bert").exists());
  EXPECT_TRUE(store.projects("bert").empty());

  store.clearAll();
  EXPECT_FALSE(store.sheet("anna").exists());
  EXPECT_TRUE(store.list("anna", ListKind::Done).empty());
}

TEST(SqliteStore, AFailedTransactionKeepsNothing) {
  TempDb temp;
  SqliteStore store(temp.path());
  store.writeRow("anna", 2, row("kept", 0, 0, 0));
  EXPECT_THROW(store.transaction([&] {
    store.writeRow("anna", 2, row("lost", 0, 0, 0));
    store.replaceList("anna", ListKind::Done, {{"lost", {1}}});  // nested: joins the outer one
    throw std::runtime_error("midway");
  }),
               std::runtime_error);
  EXPECT_EQ(store.sheet("anna").rows[2].text, "kept");
  EXPECT_TRUE(store.list("anna", ListKind::Done).empty());
}

TEST(SqliteStore, AnUnopenableFileIsAClearError) {
  EXPECT_THROW(SqliteStore("/nonexistent-folder/x/sync.db"), StoreError);
}

TEST(DayRoll, FoldsTheDayAndFillsTheLists) {
  Sheet sheet;
  sheet.stamp = {2024, 5, 3, 18, 0, 0, 0};  // a Friday
  sheet.rows[0] = row("done once", 1, 1, 25);
  sheet.rows[1] = row("done daily", 1, 2, 50);
  sheet.rows[1].repeat = 1;
  sheet.rows[2] = row("worked on", 0, 2, 50);
  sheet.rows[3] = row("untouched", 0, 0, 0);
  sheet.rows[3].age = 254;
  const Moment monday{2024, 5, 6, 8, 1, 2, 3};
  RollLists lists = rollSheet(sheet, monday);

  EXPECT_EQ(sheet.previous.day, 3);
  EXPECT_EQ(sheet.stamp.day, 6);
  EXPECT_EQ(sheet.rows[0], SheetRow{});  // a free row in place
  EXPECT_EQ(sheet.rows[1], (SheetRow{.text = "done daily", .category = 4, .project = 7, .repeat = 1}));
  const SheetRow& worked = sheet.rows[2];
  EXPECT_EQ(worked.pomodoros, 0);
  EXPECT_EQ(worked.pastPomodoros, 4);
  EXPECT_EQ(worked.minutesToday, 0);
  EXPECT_EQ(worked.pastMinutes, 150);
  EXPECT_EQ(worked.age, 6);  // three days passed
  EXPECT_EQ(worked.estimated, 5);
  EXPECT_EQ(sheet.rows[3].age, 255);  // stays within its byte

  ASSERT_EQ(lists.done.size(), 2u);
  EXPECT_EQ(lists.done[0].text, "done once");
  EXPECT_EQ(lists.done[0].numbers, (std::vector<int>{1, 5, 0, 0, 0, 3, 0, 0, 0, 4, 4, 7, 0, 0, 2,
                                                     5, 0, 0, 2024, 5, 3, 5}));
  ASSERT_EQ(lists.worked.size(), 3u);
  EXPECT_EQ(lists.worked[2].text, "worked on");
  EXPECT_EQ(lists.worked[2].numbers, (std::vector<int>{0, 2, 0, 0, 0, 2, 0, 0, 0, 3, 4, 7, 0, 50,
                                                       2, 30, 5, 0}));
}

TEST(CleanText, KeepsUtf8WholeAndLinesSingle) {
  EXPECT_EQ(cleanText("a\r\nb\tc\x01", 179), "ab\tc");
  EXPECT_FALSE(cleanText("\xFF", 179));
  EXPECT_FALSE(cleanText("\xC0\xAF", 179));   // an overlong '/'
  EXPECT_FALSE(cleanText("\xE5\xAD", 179));   // a character cut off
  std::string chinese;
  for (int k = 0; k < 200; ++k) chinese += "学";
  EXPECT_EQ(cleanText(chinese, 179)->size(), 179u * 3);
  // A character outside the BMP takes two units and is not split.
  EXPECT_EQ(cleanText(std::string(178, 'a') + "\xF0\x9F\x98\x80", 179), std::string(178, 'a'));
}

TEST(Accounts, StayInsideTheirFolder) {
  EXPECT_TRUE(isValidAccount("anna.b_c-d@x"));
  EXPECT_TRUE(isValidAccount(std::string(17, 'a')));
  for (const char* bad : {"", "..", ".", "a/b", "a b", "a%2e", "aaaaaaaaaaaaaaaaaa", "ä"})
    EXPECT_FALSE(isValidAccount(bad)) << bad;
}

}  // namespace
}  // namespace tirelmo::sync
