#include "sheet/sheet_list.h"

#include <algorithm>
#include <system_error>

#include "base/log.h"
#include "platform/file.h"
#include "sheet/sheet_names.h"
#include "storage/file_ops.h"

namespace tirelmo {

namespace {

constexpr unsigned char kWideUnit = 0xFF;  // the next two bytes are a unit, low byte first

// The units of a name stored from `at`, `length` bytes long.
u16 storedUnits(const std::string& names, std::size_t at, std::size_t length) {
  u16 out;
  out.reserve(length);
  for (std::size_t k = at, end = at + length; k < end; ++k) {
    const auto b = static_cast<unsigned char>(names[k]);
    if (b != kWideUnit) {
      out.push_back(b);
    } else if (k + 2 < end) {
      out.push_back(static_cast<char16_t>(static_cast<unsigned char>(names[k + 1]) |
                                          (static_cast<unsigned char>(names[k + 2]) << 8)));
      k += 2;
    }
  }
  return out;
}

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

std::size_t SheetListing::storedSize(u16v relativePath) {
  std::size_t bytes = 0;
  for (char16_t c : relativePath) bytes += c < kWideUnit ? 1 : 3;
  return bytes;
}

void SheetListing::add(u16v relativePath, std::int64_t created) {
  const std::size_t at = names_.size();
  for (char16_t c : relativePath) {
    if (c < kWideUnit) {
      names_.push_back(static_cast<char>(c));
    } else {
      names_.push_back(static_cast<char>(kWideUnit));
      names_.push_back(static_cast<char>(c & 0xFF));
      names_.push_back(static_cast<char>(c >> 8));
    }
  }
  entries_.push_back({created, static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(names_.size() - at)});
}

u16 SheetListing::relativePath(std::size_t i) const {
  return storedUnits(names_, entries_[i].at, entries_[i].length);
}

void SheetListing::sortByCreation() {
  std::stable_sort(entries_.begin(), entries_.end(), [this](const Entry& a, const Entry& b) {
    if (a.created != b.created) return a.created < b.created;
    // Compared as units: the stored bytes of a unit from 0xFF up do not sort like it.
    return storedUnits(names_, a.at, a.length) < storedUnits(names_, b.at, b.length);
  });
}

std::size_t SheetListing::bytesHeld() const {
  return names_.capacity() + entries_.capacity() * sizeof(Entry);
}

u16 SheetListing::path(std::size_t i) const { return joinPath(folder_, relativePath(i)); }

SheetListing buildSheetList(u16v dailyTaskFolder) {
  SheetListing out(dailyTaskFolder);
  const u16 folder(dailyTaskFolder);
  // Counted first, so the listing is made at its size at once: grown by doubling, it would
  // leave the blocks it outgrew as free heap that the process keeps for the whole run.
  std::size_t entries = 0, bytes = 0;
  walk(folder, u16(), [&](const u16& path, std::int64_t) { ++entries, bytes += SheetListing::storedSize(path); }, 0);
  out.reserve(entries, bytes);
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
