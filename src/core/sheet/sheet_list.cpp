#include "sheet/sheet_list.h"

#include <algorithm>
#include <system_error>

#include "base/log.h"
#include "platform/file.h"
#include "sheet/sheet_names.h"
#include "storage/file_ops.h"

namespace tirelmo {

namespace {

// Calls found(relative path, created) for every listed sheet below the folder.
template <typename Found>
void walk(const u16& folder, const u16& relative, const Found& found, int depth) {
  if (depth > 16) return;  // a link loop must not hang the worker
  for (const DirEntry& e : listDirectory(folder)) {
    const u16 inside = relative.empty() ? e.name : joinPath(relative, e.name);
    if (e.isDirectory) walk(joinPath(folder, e.name), inside, found, depth + 1);
    else if (isListedSheetName(e.name)) found(inside, e.created);
  }
}

}  // namespace

void SheetListing::add(u16v relativePath, std::int64_t created) {
  entries_.push_back({created, static_cast<std::uint32_t>(names_.size()),
                      static_cast<std::uint32_t>(relativePath.size())});
  names_.append(relativePath);
}

void SheetListing::sortByCreation() {
  std::stable_sort(entries_.begin(), entries_.end(), [this](const Entry& a, const Entry& b) {
    if (a.created != b.created) return a.created < b.created;
    return u16v(names_).substr(a.at, a.length) < u16v(names_).substr(b.at, b.length);
  });
}

u16v SheetListing::relativePath(std::size_t i) const {
  return u16v(names_).substr(entries_[i].at, entries_[i].length);
}

std::size_t SheetListing::bytesHeld() const {
  return names_.capacity() * sizeof(char16_t) + entries_.capacity() * sizeof(Entry);
}

u16 SheetListing::path(std::size_t i) const { return joinPath(folder_, relativePath(i)); }

SheetListing buildSheetList(u16v dailyTaskFolder) {
  SheetListing out(dailyTaskFolder);
  const u16 folder(dailyTaskFolder);
  // Counted first, so the listing is made at its size at once: grown by doubling, it would
  // leave the blocks it outgrew as free heap that the process keeps for the whole run.
  std::size_t entries = 0, units = 0;
  walk(folder, u16(), [&](const u16& path, std::int64_t) { ++entries, units += path.size(); }, 0);
  out.reserve(entries, units);
  walk(folder, u16(), [&](const u16& path, std::int64_t created) { out.add(path, created); }, 0);
  out.sortByCreation();
  out.shrinkToFit();
  return out;
}

SheetList::~SheetList() { waitForBuild(); }

void SheetList::publish(SheetListing entries) {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_ = std::move(entries);
  cursor_ = entries_.empty() ? 0 : entries_.size() - 1;
}

bool SheetList::previousSheet(u16& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (entries_.empty() || cursor_ == 0) return false;
  --cursor_;
  path = entries_.path(cursor_);
  return true;
}

bool SheetList::nextSheet(u16& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (entries_.empty() || cursor_ >= entries_.size()) return false;
  if (cursor_ + 1 < entries_.size()) ++cursor_;
  path = entries_.path(cursor_);
  return true;
}

bool SheetList::findSheet(u16v path) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_.path(i) == path) {
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

bool SheetList::startBuilding(u16v userDataDir, std::chrono::milliseconds hold) {
  waitForBuild();
  const u16 folder = joinPath(userDataDir, u"DailyTask");
  {
    std::lock_guard<std::mutex> lock(mutex_);
    held_ = hold.count() > 0;
  }
  try {
    worker_ = std::thread([this, folder, hold] {
      {
        std::unique_lock<std::mutex> lock(mutex_);
        released_.wait_for(lock, hold, [this] { return !held_; });
        held_ = false;
      }
      publish(buildSheetList(folder));
    });
  } catch (const std::system_error&) {
    held_ = false;
    return false;
  }
  return true;
}

void SheetList::release() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    held_ = false;
  }
  released_.notify_all();
}

void SheetList::waitForBuild() {
  release();
  if (worker_.joinable()) worker_.join();
}

}  // namespace tirelmo
