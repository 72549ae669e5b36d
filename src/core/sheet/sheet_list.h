// The list of all sheet files under "DailyTask", oldest first, with the ring cursor that the
// previous/next commands move. A worker thread builds it at start-up and publishes it
// whole; until then the list reads as empty. At start-up the worker waits for the first
// frame before it walks, so that ten years of folders do not compete with the window.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "text/ustring.h"

namespace tirelmo {

// The sheet files found under one folder, oldest first. Their paths are kept relative to
// the folder, in one block of bytes: a unit below 0xFF (all a sheet name normally holds)
// takes one byte, any other unit the escape byte 0xFF and its two bytes, so that every name
// comes back exactly as it went in, a lone surrogate too. Ten years of daily sheets cost some
// 170 KB this way, against 800 KB as one string each, and the list is kept for the whole run.
class SheetListing {
 public:
  SheetListing() = default;
  explicit SheetListing(u16v folder) : folder_(folder) {}

  void add(u16v relativePath, std::int64_t created);
  // Room for this many entries with names of this many bytes in all (see storedSize).
  void reserve(std::size_t entries, std::size_t nameBytes) {
    entries_.reserve(entries);
    names_.reserve(nameBytes);
  }
  static std::size_t storedSize(u16v relativePath);
  // By creation time (any monotonic scale), equal times by path.
  void sortByCreation();
  void shrinkToFit() {
    names_.shrink_to_fit();
    entries_.shrink_to_fit();
  }
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  u16 path(std::size_t i) const;  // the full path
  u16 relativePath(std::size_t i) const;
  // What the listing holds on the heap, in bytes.
  std::size_t bytesHeld() const;

 private:
  struct Entry {
    std::int64_t created;
    std::uint32_t at;
    std::uint32_t length;  // bytes in names_
  };
  u16 folder_;
  std::string names_;
  std::vector<Entry> entries_;
};

class SheetList {
 public:
  SheetList() = default;
  ~SheetList();
  SheetList(const SheetList&) = delete;
  SheetList& operator=(const SheetList&) = delete;

  // Replaces the list in one step; the cursor goes to the newest entry.
  void publish(SheetListing entries);
  // previousSheet / nextSheet / findSheet / resetCursor as the navigation needs them.
  bool previousSheet(u16& path);
  bool nextSheet(u16& path);
  bool findSheet(u16v path);
  void resetCursor();     // the end position
  void cursorToNewest();
  std::size_t size() const;

  // Starts the worker that walks "<userDataDir>\DailyTask" and publishes the result. A
  // held worker waits for release(), or at most `hold`, before it walks.
  bool startBuilding(u16v userDataDir, std::chrono::milliseconds hold = std::chrono::milliseconds(0));
  void release();
  // Releases and waits for a running worker (shut-down, tests, the day restart).
  void waitForBuild();

 private:
  mutable std::mutex mutex_;
  SheetListing entries_;
  std::size_t cursor_ = 0;  // == entries_.size(): the end position
  bool held_ = false;
  std::condition_variable released_;
  std::thread worker_;
};

// Walks the folder tree and returns the sheet files (names ending in ".pm6"/".pm5", not
// "_dbg"), sorted by creation time, oldest first.
SheetListing buildSheetList(u16v dailyTaskFolder);

}  // namespace tirelmo
