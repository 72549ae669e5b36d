#include "ui/window_rules.h"

#include <algorithm>

namespace tirelmo {

WindowSize clampRestoredSize(WindowSize size) {
  return {std::clamp(size.width, kMinWindowWidth, kMaxWindowWidth), std::min(size.height, kMaxWindowHeight)};
}

WindowSize maximisedReplacement(int storedWidth) { return {storedWidth, kMaximisedHeight}; }

int scrollBarTarget(int offset, ScrollAction action, int thumbPosition) {
  switch (action) {
    case ScrollAction::LineUp: return offset - kScrollLine;
    case ScrollAction::LineDown: return offset + kScrollLine;
    case ScrollAction::PageUp: return offset - kScrollPage;
    case ScrollAction::PageDown: return offset + kScrollPage;
    case ScrollAction::ThumbPosition:
    case ScrollAction::ThumbTrack: return thumbPosition;
    case ScrollAction::Other: break;
  }
  return offset;
}

int wheelTarget(int offset, int wheelDelta) { return offset - wheelDelta * kWheelNotchPixels / kWheelDelta; }

int clampScrollOffset(int offset, int largest) { return std::clamp(offset, 0, std::max(largest, 0)); }

int largestScrollOffset(int pageHeight, int windowHeight) { return std::max(pageHeight - windowHeight, 0); }

int offsetShowingRow(int offset, int rowTop, int rowHeight, int headerHeight, int clientHeight) {
  const int visibleTop = rowTop - offset;
  if (visibleTop < headerHeight) return rowTop - headerHeight;
  const int visibleBottom = visibleTop + rowHeight;
  // A window too short for a whole row below the header shows the row's top.
  if (visibleBottom > clientHeight && clientHeight - headerHeight >= rowHeight)
    return rowTop + rowHeight - clientHeight;
  return offset;
}

namespace {

bool selectable(const RowLayout& rows, int row) {
  return row >= 0 && row < rows.rowCount && row != rows.separatorIndex;
}

int step(const RowLayout& rows, int current, int direction) {
  int row = current + direction;
  if (row == rows.separatorIndex) row += direction;
  return selectable(rows, row) ? row : -1;
}

}  // namespace

int rowAbove(const RowLayout& rows, int current) { return step(rows, current, -1); }
int rowBelow(const RowLayout& rows, int current) { return step(rows, current, +1); }

int rowAtPageY(const RowLayout& rows, int pageY) {
  if (pageY < rows.rowsTop || rows.rowHeight <= 0) return -1;
  const int row = (pageY - rows.rowsTop) / rows.rowHeight;
  return selectable(rows, row) ? row : -1;
}

RowLayout todolistRowLayout() { return RowLayout{50, 145, 52, -1}; }

bool markerVisible(int markerTop, bool readOnly) { return !readOnly && markerTop > kToolbarBottom; }

ClientPoint rowMenuPoint(const RowLayout& rows, int row, int scrollOffset) {
  return {26, rows.rowsTop + 18 + row * rows.rowHeight - scrollOffset};
}

int nextPageIndex(int page) { return (page + 1) % kPages; }

bool PageBook::begin(int page, SavedRowState leaving) {
  if (switching_ || page == current_ || page < 0 || page >= kPages) return false;
  if (current_ == 0 || current_ == 1) saved_[static_cast<std::size_t>(current_)] = leaving;
  current_ = page;
  switching_ = true;
  return true;
}

int windowIconId(int minutes) {
  if (minutes == -1) return kProgramIcon;
  if (minutes >= 0 && minutes <= kCountdownIconMinutes) return kFirstCountdownIcon + minutes;
  return 0;
}

}  // namespace tirelmo
