// The file port's Windows adapter against a real folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/file.h"
#include "storage/file_ops.h"
#include "wide.h"
#include "win32_ports.h"

namespace tirelmo {
namespace {

class Win32Files : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    dir_ = U(tmp) + u"tirelmo-adapter-" + U(std::to_wstring(GetCurrentProcessId())) + u"-" +
           U(std::to_wstring(counter_++));
    ASSERT_EQ(createDirectory(dir_), MkdirResult::Created);
  }
  void TearDown() override { removeTree(dir_); }

  static void removeTree(const u16& path) {
    for (const DirEntry& e : listDirectory(path)) {
      const u16 p = joinPath(path, e.name);
      if (e.isDirectory) removeTree(p);
      else deleteFile(p);
    }
    removeEmptyDirectory(path);
  }

  u16 at(u16v name) const { return joinPath(dir_, name); }

  static bool writeAll(u16v path, const std::string& bytes) {
    FileHandle h = fileOpen(path, OpenMode::CreateAlways);
    if (h == kInvalidFile) return false;
    bool ok = fileWrite(h, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    fileClose(h);
    return ok;
  }

  static std::string readAll(u16v path) {
    std::string b;
    readFileBytes(path, b, 1u << 20);
    return b;
  }

  u16 dir_;
  static inline int counter_ = 0;
};

TEST_F(Win32Files, CreateNewRefusesAnExistingFileWithTheFileExistsError) {
  FileHandle h = fileOpen(at(u"a.txt"), OpenMode::ReadWriteNew);
  ASSERT_NE(h, kInvalidFile);
  ASSERT_TRUE(fileWrite(h, "abc", 3));
  fileClose(h);
  EXPECT_EQ(fileOpen(at(u"a.txt"), OpenMode::ReadWriteNew), kInvalidFile);
  EXPECT_EQ(lastErrorCode(), winerr::kFileExists);

  h = fileOpen(at(u"a.txt"), OpenMode::ReadWriteExisting);
  ASSERT_NE(h, kInvalidFile);
  ASSERT_TRUE(fileSeekToEnd(h));
  ASSERT_TRUE(fileWrite(h, "de", 2));
  EXPECT_EQ(fileSize(h), 5);
  // Cutting leaves the position at the new end, where the next write goes.
  ASSERT_TRUE(fileTruncate(h, 4));
  ASSERT_TRUE(fileWrite(h, "x", 1));
  fileClose(h);
  EXPECT_EQ(readAll(at(u"a.txt")), "abcdx");
}

TEST_F(Win32Files, MissingFilesAndFoldersReportTheirErrors) {
  EXPECT_EQ(fileOpen(at(u"missing.txt"), OpenMode::ReadExisting), kInvalidFile);
  EXPECT_EQ(lastErrorCode(), winerr::kFileNotFound);
  EXPECT_EQ(pathKind(at(u"missing.txt")), PathKind::Missing);
  EXPECT_EQ(createDirectory(at(u"no\\such\\parent")), MkdirResult::Failed);
  EXPECT_EQ(lastErrorCode(), winerr::kPathNotFound);
  EXPECT_EQ(createDirectory(at(u"sub")), MkdirResult::Created);
  EXPECT_EQ(createDirectory(at(u"sub")), MkdirResult::AlreadyExists);
  EXPECT_EQ(pathKind(at(u"sub")), PathKind::Directory);
  const u16 text = errorMessageText(winerr::kAccessDenied);
  ASSERT_GE(text.size(), 3u);
  EXPECT_TRUE(endsWith(text, u"\r\n"));
}

TEST_F(Win32Files, ReplaceSwapsInTheNewFileOrKeepsTheOldOneWhole) {
  ASSERT_TRUE(writeAll(at(u"data.p01"), "old"));
  {
    AtomicFileWriter w(at(u"data.p01"));
    ASSERT_TRUE(w.isOpen());
    ASSERT_TRUE(w.write(std::string("new content")));
    EXPECT_TRUE(w.commit());
  }
  EXPECT_EQ(readAll(at(u"data.p01")), "new content");
  EXPECT_EQ(pathKind(at(u"data.p01.tmp")), PathKind::Missing);

  // Another reader holding the file may make the swap fail (it does under Wine); the
  // result must then say so and leave the old file whole, never half of each.
  FileHandle reader = fileOpen(at(u"data.p01"), OpenMode::ReadExisting);
  ASSERT_NE(reader, kInvalidFile);
  bool committed;
  {
    AtomicFileWriter w(at(u"data.p01"));
    ASSERT_TRUE(w.write(std::string("newer")));
    committed = w.commit();
  }
  fileClose(reader);
  EXPECT_EQ(readAll(at(u"data.p01")), committed ? "newer" : "new content");
  EXPECT_EQ(pathKind(at(u"data.p01.tmp")), PathKind::Missing);
}

TEST_F(Win32Files, AbandonedWriterLeavesTheOldFile) {
  ASSERT_TRUE(writeAll(at(u"keep.txt"), "precious"));
  {
    AtomicFileWriter w(at(u"keep.txt"));
    ASSERT_TRUE(w.write(std::string("half")));
  }
  EXPECT_EQ(readAll(at(u"keep.txt")), "precious");
  EXPECT_EQ(pathKind(at(u"keep.txt.tmp")), PathKind::Missing);
}

TEST_F(Win32Files, ListingCopyAndWildcardDelete) {
  ASSERT_EQ(createDirectory(at(u"src")), MkdirResult::Created);
  ASSERT_EQ(createDirectory(at(u"src\\2021")), MkdirResult::Created);
  ASSERT_TRUE(writeAll(at(u"src\\2021\\a.pm6"), "A"));
  ASSERT_TRUE(writeAll(at(u"src\\b.txt"), "BB"));
  ASSERT_EQ(createDirectory(at(u"dst")), MkdirResult::Created);
  EXPECT_EQ(shellCopy(at(u"src"), at(u"dst")), 0);
  EXPECT_EQ(readAll(at(u"dst\\src\\2021\\a.pm6")), "A");
  EXPECT_EQ(readAll(at(u"dst\\src\\b.txt")), "BB");

  ASSERT_TRUE(writeAll(at(u"Tirelmo_2019_log.txt"), "x"));
  ASSERT_TRUE(writeAll(at(u"Tirelmo_2020_log.txt"), "y"));
  ASSERT_TRUE(writeAll(at(u"Tirelmo_v2.3.3_log.txt"), "z"));
  EXPECT_EQ(shellDelete(at(u"Tirelmo_20*_log.txt")), 0);
  EXPECT_NE(shellDelete(at(u"Tirelmo_20*_log.txt")), 0);  // nothing left to delete
  std::size_t files = 0;
  for (const DirEntry& e : listDirectory(dir_))
    if (!e.isDirectory) {
      ++files;
      EXPECT_EQ(e.name, u"Tirelmo_v2.3.3_log.txt");
      EXPECT_EQ(e.size, 1u);
    }
  EXPECT_EQ(files, 1u);
}

TEST_F(Win32Files, AListingByEndingKeepsEveryNameWithItInAnyCase) {
  for (u16v name : {u"a.TMP", u"b.pm6.tmp", u"tmp", u"d.txt", u"e.tmp.txt"}) ASSERT_TRUE(writeAll(at(name), "x"));
  ASSERT_EQ(createDirectory(at(u"sub.tmp")), MkdirResult::Created);
  std::vector<u16> names;
  for (const DirEntry& e : listDirectory(dir_, u".tmp")) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<u16>{u"a.TMP", u"b.pm6.tmp", u"sub.tmp"}));
  EXPECT_EQ(listDirectory(dir_).size(), 6u);
}

TEST_F(Win32Files, PathsBeyondTheClassicLimitWork) {
  u16 deep = dir_;
  while (deep.size() < 300) {
    deep += u"\\a-rather-long-folder-name";
    ASSERT_NE(createDirectory(deep), MkdirResult::Failed) << utf16ToUtf8(deep);
  }
  const u16 file = deep + u"\\sheet.pm6";
  ASSERT_TRUE(writeAll(file, "deep"));
  EXPECT_EQ(readAll(file), "deep");
  EXPECT_EQ(listDirectory(deep).size(), 1u);
}

TEST(Win32System, FactsStartUpNeeds) {
  Win32System sys;
  u16 folder;
  ASSERT_TRUE(sys.appDataFolder(folder));
  EXPECT_EQ(pathKind(folder), PathKind::Directory);
  EXPECT_TRUE(endsWith(sys.executablePath(), u".exe"));
  u16 name;
  EXPECT_TRUE(sys.computerName(name));
  EXPECT_FALSE(name.empty());
  EXPECT_TRUE(sys.userName(name));
  EXPECT_TRUE(sys.osVersion().has_value());
  EXPECT_EQ(sys.ansiToUtf16("abc"), u"abc");
}

TEST(Win32Clock, GivesAPlausibleLocalTime) {
  const LocalTime t = Win32Clock().now();
  EXPECT_GE(t.year, 2020);
  EXPECT_GE(t.month, 1);
  EXPECT_LE(t.month, 12);
  EXPECT_GE(t.day, 1);
  EXPECT_LE(t.day, 31);
  EXPECT_LE(t.dayOfWeek, 6);
}

}  // namespace
}  // namespace tirelmo
