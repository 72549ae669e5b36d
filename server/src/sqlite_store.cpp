#include "sqlite_store.h"

#include <sqlite3.h>

#include <charconv>

namespace tirelmo::sync {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS sheets (
  account TEXT PRIMARY KEY,
  yy INTEGER, mm INTEGER, dd INTEGER, hr INTEGER, mi INTEGER, se INTEGER, ms INTEGER,
  pyy INTEGER, pmm INTEGER, pdd INTEGER,
  lock_holder TEXT NOT NULL DEFAULT '');
CREATE TABLE IF NOT EXISTS rows (
  account TEXT, n INTEGER, text TEXT,
  d INTEGER, p INTEGER, a INTEGER, i INTEGER, e INTEGER,
  pt INTEGER, at INTEGER, it INTEGER, et INTEGER,
  age INTEGER, cat INTEGER, prj INTEGER, wk INTEGER, wkp INTEGER, est INTEGER, rep INTEGER,
  PRIMARY KEY (account, n));
CREATE TABLE IF NOT EXISTS lists (
  account TEXT, kind INTEGER, seq INTEGER, text TEXT, numbers TEXT,
  PRIMARY KEY (account, kind, seq));
CREATE TABLE IF NOT EXISTS projects (
  account TEXT, pid INTEGER, n INTEGER, act INTEGER, wkh INTEGER, wkm INTEGER, name TEXT,
  PRIMARY KEY (account, pid));
CREATE TABLE IF NOT EXISTS categories (
  account TEXT, n INTEGER, name TEXT, PRIMARY KEY (account, n));
CREATE TABLE IF NOT EXISTS counters (name TEXT PRIMARY KEY, value INTEGER);
)sql";

std::string joinNumbers(const std::vector<int>& numbers) {
  std::string out;
  for (size_t k = 0; k < numbers.size(); ++k) {
    if (k) out += ',';
    out += std::to_string(numbers[k]);
  }
  return out;
}

std::vector<int> splitNumbers(const std::string& text) {
  std::vector<int> out;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    int value = 0;
    auto [next, ec] = std::from_chars(p, end, value);
    out.push_back(ec == std::errc() ? value : 0);
    p = next;
    while (p < end && *p != ',') ++p;
    if (p < end) ++p;
  }
  return out;
}

}  // namespace

// A cached prepared statement in use: bound, stepped, and reset when it goes out of scope
// so the next user finds it clean.
class SqliteStore::Statement {
 public:
  Statement(SqliteStore& store, sqlite3_stmt* stmt) : store_(store), stmt_(stmt) {}
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  Statement& bind(int index, int value) {
    sqlite3_bind_int(stmt_, index, value);
    return *this;
  }
  Statement& bind(int index, const std::string& value) {
    sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    return *this;
  }
  // True while a row is there to read.
  bool step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    store_.fail("step");
  }
  void run() {
    while (step()) {
    }
  }
  int integer(int column) { return sqlite3_column_int(stmt_, column); }
  long long integer64(int column) { return sqlite3_column_int64(stmt_, column); }
  std::string text(int column) {
    const unsigned char* p = sqlite3_column_text(stmt_, column);
    return p ? std::string(reinterpret_cast<const char*>(p), sqlite3_column_bytes(stmt_, column))
             : std::string();
  }

 private:
  SqliteStore& store_;
  sqlite3_stmt* stmt_;
};

SqliteStore::SqliteStore(const std::string& path) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw StoreError("cannot open the database " + path + ": " + message);
  }
  try {
    sqlite3_busy_timeout(db_, 5000);
    exec("PRAGMA journal_mode=WAL");
    // WAL with NORMAL loses at most the last commits on a power cut, never the file.
    exec("PRAGMA synchronous=NORMAL");
    exec(kSchema);
  } catch (...) {
    sqlite3_close(db_);
    db_ = nullptr;
    throw;
  }
}

SqliteStore::~SqliteStore() {
  for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
  sqlite3_close(db_);
}

void SqliteStore::fail(const char* what) {
  throw StoreError(std::string("database ") + what + ": " + sqlite3_errmsg(db_));
}

void SqliteStore::exec(const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    throw StoreError(std::string("database: ") + message);
  }
}

SqliteStore::Statement SqliteStore::prepare(const char* sql) {
  auto found = statements_.find(sql);
  if (found == statements_.end()) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK) fail("prepare");
    found = statements_.emplace(sql, stmt).first;
  }
  return Statement(*this, found->second);
}

void SqliteStore::transaction(const std::function<void()>& work) {
  std::lock_guard lock(mutex_);
  if (depth_ > 0) {
    work();
    return;
  }
  exec("BEGIN IMMEDIATE");
  ++depth_;
  try {
    work();
    exec("COMMIT");
  } catch (...) {
    --depth_;
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
  --depth_;
}

Sheet SqliteStore::sheet(const std::string& account) {
  std::lock_guard lock(mutex_);
  Sheet sheet;
  {
    auto q = prepare(
        "SELECT yy, mm, dd, hr, mi, se, ms, pyy, pmm, pdd, lock_holder FROM sheets "
        "WHERE account = ?");
    q.bind(1, account);
    if (q.step()) {
      sheet.stamp = {q.integer(0), q.integer(1), q.integer(2), q.integer(3),
                     q.integer(4), q.integer(5), q.integer(6)};
      sheet.previous = {q.integer(7), q.integer(8), q.integer(9)};
      sheet.lockHolder = q.text(10);
    }
  }
  auto q = prepare(
      "SELECT n, text, d, p, a, i, e, pt, at, it, et, age, cat, prj, wk, wkp, est, rep "
      "FROM rows WHERE account = ?");
  q.bind(1, account);
  while (q.step()) {
    int n = q.integer(0);
    if (n < 0 || n >= kSheetRows) continue;
    SheetRow& r = sheet.rows[n];
    r.text = q.text(1);
    int* fields[] = {&r.done,         &r.pomodoros,    &r.abandoned, &r.internal,
                     &r.external,     &r.pastPomodoros, &r.pastAbandoned, &r.pastInternal,
                     &r.pastExternal, &r.age,           &r.category,  &r.project,
                     &r.minutesToday, &r.pastMinutes,   &r.estimated, &r.repeat};
    for (int k = 0; k < 16; ++k) *fields[k] = q.integer(2 + k);
  }
  return sheet;
}

void SqliteStore::writeSheetMeta(const std::string& account, const Sheet& sheet) {
  std::lock_guard lock(mutex_);
  auto q = prepare(
      "INSERT OR REPLACE INTO sheets (account, yy, mm, dd, hr, mi, se, ms, pyy, pmm, pdd, "
      "lock_holder) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  const Moment& m = sheet.stamp;
  q.bind(1, account).bind(2, m.year).bind(3, m.month).bind(4, m.day).bind(5, m.hour);
  q.bind(6, m.minute).bind(7, m.second).bind(8, m.msec);
  q.bind(9, sheet.previous.year).bind(10, sheet.previous.month).bind(11, sheet.previous.day);
  q.bind(12, sheet.lockHolder);
  q.run();
}

void SqliteStore::writeRow(const std::string& account, int index, const SheetRow& r) {
  std::lock_guard lock(mutex_);
  auto q = prepare(
      "INSERT OR REPLACE INTO rows (account, n, text, d, p, a, i, e, pt, at, it, et, age, cat, "
      "prj, wk, wkp, est, rep) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  q.bind(1, account).bind(2, index).bind(3, r.text);
  const int fields[] = {r.done,         r.pomodoros,     r.abandoned,     r.internal,
                        r.external,     r.pastPomodoros, r.pastAbandoned, r.pastInternal,
                        r.pastExternal, r.age,           r.category,      r.project,
                        r.minutesToday, r.pastMinutes,   r.estimated,     r.repeat};
  for (int k = 0; k < 16; ++k) q.bind(4 + k, fields[k]);
  q.run();
}

void SqliteStore::replaceList(const std::string& account, ListKind kind,
                              const std::vector<ListEntry>& entries) {
  transaction([&] {
    prepare("DELETE FROM lists WHERE account = ? AND kind = ?")
        .bind(1, account)
        .bind(2, static_cast<int>(kind))
        .run();
    for (size_t k = 0; k < entries.size(); ++k) {
      auto q = prepare("INSERT INTO lists (account, kind, seq, text, numbers) VALUES (?, ?, ?, ?, ?)");
      q.bind(1, account).bind(2, static_cast<int>(kind)).bind(3, static_cast<int>(k));
      q.bind(4, entries[k].text).bind(5, joinNumbers(entries[k].numbers));
      q.run();
    }
  });
}

std::vector<ListEntry> SqliteStore::list(const std::string& account, ListKind kind) {
  std::lock_guard lock(mutex_);
  std::vector<ListEntry> out;
  auto q = prepare("SELECT text, numbers FROM lists WHERE account = ? AND kind = ? ORDER BY seq");
  q.bind(1, account).bind(2, static_cast<int>(kind));
  while (q.step()) out.push_back({q.text(0), splitNumbers(q.text(1))});
  return out;
}

void SqliteStore::upsertProject(const std::string& account, const ProjectEntry& p) {
  std::lock_guard lock(mutex_);
  auto q = prepare(
      "INSERT OR REPLACE INTO projects (account, pid, n, act, wkh, wkm, name) "
      "VALUES (?, ?, ?, ?, ?, ?, ?)");
  q.bind(1, account).bind(2, p.pid).bind(3, p.position).bind(4, p.status);
  q.bind(5, p.hours).bind(6, p.minutes).bind(7, p.name);
  q.run();
}

std::vector<ProjectEntry> SqliteStore::projects(const std::string& account) {
  std::lock_guard lock(mutex_);
  std::vector<ProjectEntry> out;
  auto q = prepare(
      "SELECT pid, n, act, wkh, wkm, name FROM projects WHERE account = ? ORDER BY n, pid");
  q.bind(1, account);
  while (q.step())
    out.push_back({q.integer(0), q.integer(1), q.integer(2), q.integer(3), q.integer(4), q.text(5)});
  return out;
}

void SqliteStore::setCategory(const std::string& account, const CategoryEntry& c) {
  std::lock_guard lock(mutex_);
  prepare("INSERT OR REPLACE INTO categories (account, n, name) VALUES (?, ?, ?)")
      .bind(1, account)
      .bind(2, c.number)
      .bind(3, c.name)
      .run();
}

std::vector<CategoryEntry> SqliteStore::categories(const std::string& account) {
  std::lock_guard lock(mutex_);
  std::vector<CategoryEntry> out;
  auto q = prepare("SELECT n, name FROM categories WHERE account = ? ORDER BY n");
  q.bind(1, account);
  while (q.step()) out.push_back({q.integer(0), q.text(1)});
  return out;
}

long long SqliteStore::countPing() {
  long long count = 0;
  transaction([&] {
    prepare(
        "INSERT INTO counters (name, value) VALUES ('ping', 1) "
        "ON CONFLICT(name) DO UPDATE SET value = value + 1")
        .run();
    auto q = prepare("SELECT value FROM counters WHERE name = 'ping'");
    if (q.step()) count = q.integer64(0);
  });
  return count;
}

void SqliteStore::clearAll() {
  transaction([&] {
    for (const char* sql : {"DELETE FROM sheets", "DELETE FROM rows", "DELETE FROM lists",
                            "DELETE FROM projects", "DELETE FROM categories",
                            "DELETE FROM counters"})
      exec(sql);
  });
}

}  // namespace tirelmo::sync
