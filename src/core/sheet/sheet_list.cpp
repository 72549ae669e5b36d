#include "sheet/sheet_list.h"

#include <algorithm>
#include <system_error>

#include "base/log.h"
#include "platform/file.h"
#include "sheet/sheet_names.h"
#include "storage/file_ops.h"

namespace tirelmo {

namespace {

void walk(const u16& folder, std::vector<SheetListEntry>& out, int depth) {
  if (depth > 16) return;  // a link loop must not hang the worker
  for (const DirEntry& e : listDirectory(folder)) {
    const u16 path = joinPath(folder, e.name);
    if (e.isDirectory) walk(path, out, depth + 1);
    else if (isListedSheetName(e.name)) out.push_back({path, e.created});
  }
}

}  // namespace

std::vector<SheetListEntry> buildSheetList(u16v dailyTaskFolder) {
  std::vector<SheetListEntry> out;
  walk(u16(dailyTaskFolder), out, 0);
  std::stable_sort(out.begin(), out.end(), [](const SheetListEntry& a, const SheetListEntry& b) {
    return a.created != b.created ? a.created < b.created : a.path < b.path;
  });
  return out;
}

SheetList::~SheetList() { waitForBuild(); }

void SheetList::publish(std::vector<SheetListEntry> entries) {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_ = std::move(entries);
  cursor_ = entries_.empty() ? 0 : entries_.size() - 1;
}

bool SheetList::previousSheet(u16& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (entries_.empty() || cursor_ == 0) return false;
  --cursor_;
  path = entries_[cursor_].path;
  return true;
}

bool SheetList::nextSheet(u16& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (entries_.empty() || cursor_ >= entries_.size()) return false;
  if (cursor_ + 1 < entries_.size()) ++cursor_;
  path = entries_[cursor_].path;
  return true;
}

bool SheetList::findSheet(u16v path) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].path == path) {
      cursor_ = i;
      return true;
    }
  }
  cursor_ = entries_.size();
  return false;
}

void SheetList::resetCursor() {
  std::lock_guard<std::mutex> lock(mutex_);
  cursor_ = entries_.size();
}

void SheetList::cursorToNewest() {
  std::lock_guard<std::mutex> lock(mutex_);
  cursor_ = entries_.empty() ? 0 : entries_.size() - 1;
}

std::size_t SheetList::size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return entries_.size();
}

bool SheetList::startBuilding(u16v userDataDir) {
  waitForBuild();
  const u16 folder = joinPath(userDataDir, u"DailyTask");
  try {
    worker_ = std::thread([this, folder] { publish(buildSheetList(folder)); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void SheetList::waitForBuild() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace tirelmo
