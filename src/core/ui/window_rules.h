// The main window's own rules, kept apart from the window so they can be tested: the size
// limits, scrolling, the row selection with the arrow keys and the mouse, and the page
// switch bookkeeping.
#pragma once

#include <array>

namespace tirelmo {

inline constexpr int kPages = 7;

// ---- Size -------------------------------------------------------------------------------

inline constexpr int kMinWindowWidth = 600;
inline constexpr int kMaxWindowWidth = 1355;
inline constexpr int kMaxWindowHeight = 1066;
inline constexpr int kMaximisedHeight = 1100;

struct WindowSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const WindowSize&, const WindowSize&) = default;
};

// A restored window: width within 600..1355, height at most 1066.
WindowSize clampRestoredSize(WindowSize size);
// The window is never shown maximised: it keeps its stored width at a height of 1100.
WindowSize maximisedReplacement(int storedWidth);

// ---- Scrolling --------------------------------------------------------------------------

inline constexpr int kScrollLine = 30;
inline constexpr int kScrollPage = 150;
inline constexpr int kWheelNotchPixels = 50;
inline constexpr int kWheelDelta = 120;

enum class ScrollAction { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Other };

// The offset a scroll-bar action asks for; the caller clamps it.
int scrollBarTarget(int offset, ScrollAction action, int thumbPosition);
// The offset the wheel asks for: 50 pixels a notch.
int wheelTarget(int offset, int wheelDelta);
// An offset within 0..largest (a negative largest, a page shorter than the window, is 0).
int clampScrollOffset(int offset, int largest);
// The largest offset of a page: what does not fit in the window.
int largestScrollOffset(int pageHeight, int windowHeight);

// The offset that brings a row (its top and height in page pixels) into the visible body:
// between the header, which never scrolls, and the bottom of the client area. An offset
// that already shows it is kept.
int offsetShowingRow(int offset, int rowTop, int rowHeight, int headerHeight, int clientHeight);

// ---- Rows -------------------------------------------------------------------------------

// The rows of a page with editable rows, as the selection needs them.
struct RowLayout {
  int rowCount = 0;
  int rowsTop = 0;
  int rowHeight = 1;
  int separatorIndex = -1;  // the row the selection never lands on (page 0), -1 for none

  int rowTop(int row) const { return rowsTop + row * rowHeight; }
};

// Up and Down: the row above or below, jumping over the separator. -1 when there is none
// (Up on the first row scrolls to the top instead; Down on the last row does nothing).
int rowAbove(const RowLayout& rows, int current);
int rowBelow(const RowLayout& rows, int current);

// The row under a click at page y (client y + scroll offset); -1 above the rows, below them,
// or on the separator.
int rowAtPageY(const RowLayout& rows, int pageY);

// The Next Things page has fixed rows.
RowLayout todolistRowLayout();

// ---- The row marker button of page 0 -------------------------------------------------------

inline constexpr int kToolbarBottom = 83;

// The marker sits at (marker left, row top - scroll offset) and is shown only below the
// toolbar, and never on a read-only sheet.
bool markerVisible(int markerTop, bool readOnly);

// Where command 173 opens the row menu (client coordinates).
struct ClientPoint {
  int x, y;
};
ClientPoint rowMenuPoint(const RowLayout& rows, int row, int scrollOffset);

// ---- Pages ------------------------------------------------------------------------------

// Ctrl+Tab: the next page, round to the first after the last.
int nextPageIndex(int page);

// The selection of a page with rows, kept while another page is shown.
struct SavedRowState {
  int row = 0;
  int caret = 0;
};

// The page switch bookkeeping. Pages 0 and 1 remember their row and caret when they are
// left and get them back when shown again.
class PageBook {
 public:
  int currentPage() const { return current_; }
  bool switching() const { return switching_; }
  SavedRowState saved(int page) const {
    return page == 0 || page == 1 ? saved_[static_cast<std::size_t>(page)] : SavedRowState{};
  }

  // Starts a switch: false when the page is the current one or out of range, or a switch is
  // still running (Ctrl+Tab pressed again while the first one redraws). The leaving page's
  // row state is stored.
  bool begin(int page, SavedRowState leaving);
  // The state to restore on the page being entered (pages 0 and 1; others have none).
  SavedRowState entered() const { return saved(current_); }
  void end() { switching_ = false; }

  // Forget the saved rows (window set-up, a new sheet).
  void resetRows() { saved_ = {}; }
  void setSaved(int page, SavedRowState s) {
    if (page == 0 || page == 1) saved_[static_cast<std::size_t>(page)] = s;
  }

 private:
  int current_ = 0;
  bool switching_ = false;
  std::array<SavedRowState, 2> saved_{};
};

// ---- Window icon ------------------------------------------------------------------------

inline constexpr int kProgramIcon = 149;
inline constexpr int kFirstCountdownIcon = 175;
inline constexpr int kCountdownIconMinutes = 25;

// The icon resource for the window icon operation: -1 the program icon, 0..25 the countdown
// icon of that many minutes; 0 for any other value, which leaves the icon as it is (a
// pomodoro longer than 25 minutes shows the countdown only from minute 25 on).
int windowIconId(int minutes);

}  // namespace tirelmo
