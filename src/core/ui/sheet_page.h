// Drawing of the ToDo Today page (page 0): the skin's paper and header form, each row's
// scores and information, the day's totals and the abandoned gauge, and what the row
// editors need to paint themselves.
#pragma once

#include "platform/canvas.h"
#include "text/strings.h"
#include "text/ustring.h"
#include "ui/pages.h"

namespace tirelmo {

struct App;

// Page 0 for a band of page rows y..y+h (the surface clips to it): the skin's paper and
// header form, the rows that reach into the band, the day's totals, the abandoned gauge
// and the blink marker.
void drawSheetView(const App& app, const PageSet& pages, Surface& s, int y, int h);
// One row's scores and information, without the paper under them.
void drawSheetRowContent(const App& app, const PageSet& pages, Surface& s, int row);

// Repaint requests after a change of the model: one row's strip, the header with the day's
// totals and the gauge.
void repaintSheetRow(PageSet& pages, int row);
void repaintDayTotals(PageSet& pages);
// The blink marker beside a row (-1: none), on or off; old and new place are repainted.
void setBlinkMarker(PageSet& pages, int row, bool on);

// A skin's large pictures stay loaded while it is in use; the others are given back.
void releaseUnusedSkinPictures(const App& app, PageSet& pages);

// Percentage of abandoned pomodoros among started ones (0 when none was started).
int abandonedPercentage(int pomodoros, int abandoned);

// Look of a row editor: colour and font by done mark and read-only state.
struct RowEditorStyle {
  Rgb color;
  FontSpec font;
  bool done = false;
};
RowEditorStyle rowEditorStyle(const App& app, const PageSet& pages, int row);

// Row editor rectangle in page coordinates (before scrolling).
struct RowEditorRect {
  int x, y, w, h;
  friend bool operator==(const RowEditorRect&, const RowEditorRect&) = default;
};
RowEditorRect rowEditorRect(const PageSet& pages, int row);

// The row marker button's y on the client area for the row (row top - scroll offset); the
// window shows it by markerVisible (window_rules.h).
int markerButtonY(const PageSet& pages, int row);

// Paints a row editor into a surface of the editor's size: the page behind it, the selection
// highlight (units selFrom..selTo, empty when equal), and the text at (3, 0) in the
// editor's style.
void paintRowEditor(const App& app, const PageSet& pages, Surface& target, int row, u16v text,
                    int selFrom, int selTo, const RowEditorStyle& style);

// Deadline label of a row (drawn after the project name).
struct DeadlineLabel {
  int level = 0;  // 0 (31 days or more) .. 5 (today or overdue)
  int daysLeft = 0;
  u16 text;
  Rgb fill;
  Rgb textColor;
};
// Days are counted between calendar dates at midnight; years are full years. A date that
// is not a calendar date gives an empty text (nothing is drawn).
DeadlineLabel makeDeadlineLabel(int year, int month, int day, int todayYear, int todayMonth,
                                int todayDay, Language language);

}  // namespace tirelmo
