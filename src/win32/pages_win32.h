// The seven pages on the screen: the page tabs (and the Todolist tab strip of Next Things),
// the page switch, scrolling, and the paint that copies the page on display from its
// off-screen surface.
#pragma once

#include <windows.h>

namespace tirelmo {

struct MainWindow;

struct PageTabs {
  HWND pageTabs = nullptr;      // "ToDo Today" .. "Apps + Websites"; null when it failed
  HWND todolistTabs = nullptr;  // the Todolist tab strip of page 1
};

void createPageTabs(MainWindow& w);
void createTodolistTabs(MainWindow& w);
// One tab per Todolist of the registry and the "+" tab; the list in view's tab selected.
void rebuildTodolistTabs(MainWindow& w);
void selectTodolistTab(MainWindow& w);
void resizePageTabs(MainWindow& w);
// WM_NOTIFY from either tab control; returns the message's answer.
LRESULT onTabNotify(MainWindow& w, const NMHDR& hdr);
// WM_DRAWITEM of the owner-drawn Todolist tabs.
bool drawTodolistTab(MainWindow& w, const DRAWITEMSTRUCT& item);

// The page switch (nothing when the page is already on display).
void showPage(MainWindow& w, int page);
// A page changed as a whole: repainted when it is on display.
void drawPage(MainWindow& w, int page);
// The page the core asked for (app.ui.currentPage) comes on display.
void followModelPage(MainWindow& w);

// The current page's scroll offset, clamped; editors follow, the window repaints.
void scrollCurrentPage(MainWindow& w, int offset);
void updateScrollBar(MainWindow& w);

// The client area changed size: geometry, editors, tabs, scroll limits, drawings.
void onClientResized(MainWindow& w, int width, int height);

// WM_PAINT: the header and the scrolled body of the page on display, as far as invalid.
void paintMainWindow(MainWindow& w);

// Rows of the pages with rows (0 and 1).
void selectRow(MainWindow& w, int row);       // current row, focus, into view
void onRowFocus(MainWindow& w, int page, int row);  // message 1532
void scrollRowIntoView(MainWindow& w, int row);
// A click (client point) on a row of page 0 or 1 selects it; false when no row is there.
bool selectRowAtPoint(MainWindow& w, int x, int y);

// Repaints the whole client area, children included.
void repaintAll(MainWindow& w);

// After a settings change: skin, project names, font, size or language. Page geometry and
// fonts, the row editors' fonts and places, the tab labels and fonts, the tooltips, the day
// statistics, everything repainted.
void rebuildLook(MainWindow& w);
// The data now lives in another folder: the title and the page in view follow.
void followDataFolder(MainWindow& w);

}  // namespace tirelmo
