// A ToDo page drawn on the recording canvas, with an App of fakes and the window's
// repaint requests collected.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "app/app.h"
#include "support/fakes.h"
#include "support/recording_canvas.h"
#include "ui/page_view.h"
#include "ui/pages.h"
#include "ui/sheet_page.h"

namespace tirelmo::test {

struct Repaint {
  int x, y, w, h;
  friend bool operator==(const Repaint&, const Repaint&) = default;
};

class SheetPageFixture : public ::testing::Test {
 protected:
  SheetPageFixture() : app(clock, prompts, system), pages(graphics) {
    app.start.today = DayDate{2021, 3, 5, 4};  // Friday 5 March 2021
    app.start.displayedSheetDate = app.start.today;
    pages.invalidate = [this](int x, int y, int w, int h) { repaints.push_back({x, y, w, h}); };
  }

  // Prepares the pages for a skin (the default font: Buxton Sketch 26).
  void useSkin(u16v skin, bool projectNames = false) {
    app.settings.skin = u16(skin);
    app.settings.displayProjectNames = projectNames;
    preparePages(pages, app);
  }
  // Draws a whole page on a fresh record, as a paint of a window that shows all of it would.
  RecordingSurface& drawPage(int page = 0) {
    view.clear();
    drawPageView(app, pages, view, page, 0, 0, kPageWidth, 3310);
    return view;
  }
  // What the last drawing recorded.
  RecordingSurface& drawn() { return view; }
  TodoRow& row(int i) { return app.sheet.rows[static_cast<std::size_t>(i)]; }
  void task(int i, u16v text) { row(i).text = u16(text); }
  // Draws one row's content on a fresh record, with the repaint its change asks for.
  void drawRow(int i) {
    view.clear();
    repaints.clear();
    repaintSheetRow(pages, i);
    drawSheetRowContent(app, pages, view, i);
  }

  FakeClock clock;
  ScriptedPrompts prompts;
  FakeSystem system;
  App app;
  RecordingGraphics graphics;
  PageSet pages;
  RecordingSurface view{graphics, kPageWidth, 3310};
  std::vector<Repaint> repaints;
};

}  // namespace tirelmo::test
