// The SQLite backend of SyncStore: one database file, created on first open, in WAL mode.
// One connection behind a mutex: SQLite writes one transaction at a time anyway, and the
// requests are short.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "sync_store.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tirelmo::sync {

class SqliteStore : public SyncStore {
 public:
  // Opens (creating) the database; throws StoreError with SQLite's message when it cannot.
  explicit SqliteStore(const std::string& path);
  ~SqliteStore() override;
  SqliteStore(const SqliteStore&) = delete;
  SqliteStore& operator=(const SqliteStore&) = delete;

  void transaction(const std::function<void()>& work) override;
  Sheet sheet(const std::string& account) override;
  void writeSheetMeta(const std::string& account, const Sheet& sheet) override;
  void writeRow(const std::string& account, int index, const SheetRow& row) override;
  void replaceList(const std::string& account, ListKind kind,
                   const std::vector<ListEntry>& entries) override;
  std::vector<ListEntry> list(const std::string& account, ListKind kind) override;
  void upsertProject(const std::string& account, const ProjectEntry& project) override;
  std::vector<ProjectEntry> projects(const std::string& account) override;
  void setCategory(const std::string& account, const CategoryEntry& category) override;
  std::vector<CategoryEntry> categories(const std::string& account) override;
  long long countPing() override;
  void clearAll() override;

 private:
  class Statement;
  Statement prepare(const char* sql);
  void exec(const char* sql);
  [[noreturn]] void fail(const char* what);

  std::recursive_mutex mutex_;
  sqlite3* db_ = nullptr;
  int depth_ = 0;  // nesting of transaction()
  std::map<const char*, sqlite3_stmt*> statements_;  // keyed by the SQL literal
};

}  // namespace tirelmo::sync
