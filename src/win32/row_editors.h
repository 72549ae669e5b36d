// The row editors: one single-line edit field per row of the ToDo sheet (ids 2000..2024,
// painted over the page's paper) and of the Todolist in view (ids 2025..2074), and the row
// marker button of the ToDo page. The editors and the model never disagree: every change
// typed into an editor goes into its row at once.
#pragma once

#include <windows.h>

#include <memory>

#include "gdi_canvas.h"
#include "platform/canvas.h"
#include "sheet/sheet.h"
#include "ui/window_rules.h"

namespace tirelmo {

struct MainWindow;

class RowEditors {
 public:
  static constexpr int kSheetRows = 25;
  static constexpr int kListRows = 50;

  // The row marker button, made with the window; the 25 sheet editors, made after its
  // first frame (every function here works without them); the 50 Todolist editors, made a
  // few at a time while the program is idle after the start (prepareListPart, true once
  // all exist), or all at once when the list is placed on display first (prepareList).
  void createMarker(MainWindow& w);
  void create(MainWindow& w);
  bool prepareListPart(MainWindow& w, int count);
  void prepareList(MainWindow& w);

  HWND sheetEditor(int row) const;
  HWND listEditor(int row) const;
  HWND marker() const { return marker_; }
  // Page 0 or 1 and the row of an editor handle; false for any other window.
  bool rowOf(HWND editor, int& page, int& row) const;

  // Model texts into the editors; the change notifications of this are not typing.
  void fillSheet(MainWindow& w);
  void fillList(MainWindow& w);
  void clearAll();
  // Editor texts into the model (the separator row keeps its own text).
  void takeSheetTexts(MainWindow& w);
  void takeListTexts(MainWindow& w);

  // Position, size, font, enabled state and visibility for the current geometry, scroll
  // offset and page; the marker follows the current row.
  // unpainted: the caller repaints the whole window and its children afterwards, so the
  // moves themselves invalidate nothing (a page switch hides or shows every row at once).
  void placeSheet(MainWindow& w, bool unpainted = false);
  void placeList(MainWindow& w, bool unpainted = false);
  void placeMarker(MainWindow& w);

  // After a width change: each field scrolls its text anew (a wider field shows from the
  // start what a narrow one had to scroll sideways).
  void rescrollSheet();

  // One row changed in the model: text, font and paint follow.
  void refreshSheetRow(MainWindow& w, int row);

  // Focus on a row's editor, with the caret where it was.
  void focusRow(MainWindow& w, int page, int row, int caret);
  int caretOf(int page, int row) const;

  // EN_CHANGE and the other notifications of the editors; true when handled.
  bool onCommand(MainWindow& w, int id, int code);
  // WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC of a sheet editor: the editor's own quick drawing
  // while typing goes straight onto the paper in the row's colour.
  bool ctlColor(MainWindow& w, HDC dc, HWND editor, LRESULT& brush);

  // Paints a sheet editor as the page shows it (never the platform's edit look).
  void paintSheetEditor(MainWindow& w, HWND editor, int row);

 private:
  void applyStyle(MainWindow& w, int row);

  HWND sheet_[kSheetRows]{};
  HWND list_[kListRows]{};
  HWND marker_ = nullptr;
  HFONT sheetFont_[kSheetRows]{};  // the font each sheet editor holds now
  GdiObject markerImage_;  // shown by the marker button, released with the editors
  bool filling_ = false;
  bool listCreated_ = false;
  int listMade_ = 0;
  std::unique_ptr<Surface> scratch_;  // one editor's pixels while painting
};

}  // namespace tirelmo
