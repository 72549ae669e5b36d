// What the sync service keeps, per account: the day's sheet of 25 rows with its time stamp,
// previous day and lock holder, the done and worked lists of the latest day roll, the
// projects and the category names; and one counter of pings. SqliteStore is the one backend
// today; a server database can come in behind the same class.
#pragma once

#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tirelmo::sync {

inline constexpr int kSheetRows = 25;

// A moment as the clients send it (their local time).
struct Moment {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
};

struct Date {
  int year = 0, month = 0, day = 0;
};

struct SheetRow {
  std::string text;  // UTF-8, no CR/LF; empty: a free row
  int done = 0, pomodoros = 0, abandoned = 0, internal = 0, external = 0;
  int pastPomodoros = 0, pastAbandoned = 0, pastInternal = 0, pastExternal = 0;
  int age = 0, category = 0, project = 0;
  int minutesToday = 0, pastMinutes = 0;
  int estimated = 0, repeat = 0;
  bool operator==(const SheetRow&) const = default;
};

struct Sheet {
  Moment stamp;   // last update; year 0 while the account has no sheet
  Date previous;  // the date of the sheet before the latest roll; year 0 before any roll
  std::string lockHolder;  // start time of the run that downloaded last; empty: free
  std::array<SheetRow, kSheetRows> rows;
  bool exists() const { return stamp.year != 0; }
};

// One task of a done or worked list: its text and the numbers line the clients read.
struct ListEntry {
  std::string text;
  std::vector<int> numbers;
  bool operator==(const ListEntry&) const = default;
};

enum class ListKind { Done = 0, Worked = 1 };

struct ProjectEntry {
  int pid = 0, position = 0, status = 0, hours = 0, minutes = 0;
  std::string name;
  bool operator==(const ProjectEntry&) const = default;
};

struct CategoryEntry {
  int number = 0;
  std::string name;
  bool operator==(const CategoryEntry&) const = default;
};

// Any failure of the backend (disk full, corrupt file): the service answers 500 and logs it.
struct StoreError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class SyncStore {
 public:
  virtual ~SyncStore() = default;

  // Runs `work` as one transaction that no other request interleaves with; the day roll and
  // each upload read, change and write the sheet inside one. Nested calls join the outer
  // one. When `work` throws, nothing of it is kept.
  virtual void transaction(const std::function<void()>& work) = 0;

  virtual Sheet sheet(const std::string& account) = 0;
  // The time stamp, previous day and lock holder; the rows are written one by one.
  virtual void writeSheetMeta(const std::string& account, const Sheet& sheet) = 0;
  virtual void writeRow(const std::string& account, int index, const SheetRow& row) = 0;

  virtual void replaceList(const std::string& account, ListKind kind,
                           const std::vector<ListEntry>& entries) = 0;
  virtual std::vector<ListEntry> list(const std::string& account, ListKind kind) = 0;

  // Inserts, or replaces the project with the same pid.
  virtual void upsertProject(const std::string& account, const ProjectEntry& project) = 0;
  virtual std::vector<ProjectEntry> projects(const std::string& account) = 0;  // by position
  virtual void setCategory(const std::string& account, const CategoryEntry& category) = 0;
  virtual std::vector<CategoryEntry> categories(const std::string& account) = 0;  // by number

  // Counts one ping and returns the count so far.
  virtual long long countPing() = 0;

  // Forgets everything (the test mode's reset).
  virtual void clearAll() = 0;
};

}  // namespace tirelmo::sync
