// The list of all sheet files under "DailyTask", oldest first, with the ring cursor that the
// previous/next commands move. A worker thread builds it at start-up and publishes it
// whole; until then the list reads as empty.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "text/ustring.h"

namespace tirelmo {

struct SheetListEntry {
  u16 path;
  std::int64_t created = 0;  // creation time of the file (any monotonic scale)
};

class SheetList {
 public:
  SheetList() = default;
  ~SheetList();
  SheetList(const SheetList&) = delete;
  SheetList& operator=(const SheetList&) = delete;

  // Replaces the list in one step; the cursor goes to the newest entry.
  void publish(std::vector<SheetListEntry> entries);
  // previousSheet / nextSheet / findSheet / resetCursor as the navigation needs them.
  bool previousSheet(u16& path);
  bool nextSheet(u16& path);
  bool findSheet(u16v path);
  void resetCursor();     // the end position
  void cursorToNewest();
  std::size_t size() const;

  // Starts the worker that walks "<userDataDir>\DailyTask" and publishes the result.
  bool startBuilding(u16v userDataDir);
  // Waits for a running worker (shut-down, tests, the day restart).
  void waitForBuild();

 private:
  mutable std::mutex mutex_;
  std::vector<SheetListEntry> entries_;
  std::size_t cursor_ = 0;  // == entries_.size(): the end position
  std::thread worker_;
};

// Walks the folder tree and returns the sheet files (names ending in ".pm6"/".pm5", not
// "_dbg"), sorted by creation time, oldest first.
std::vector<SheetListEntry> buildSheetList(u16v dailyTaskFolder);

}  // namespace tirelmo
