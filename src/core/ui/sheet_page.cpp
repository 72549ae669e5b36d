#include "ui/sheet_page.h"

#include <algorithm>
#include <array>

#include "app/app.h"
#include "projects/project_store.h"
#include "base/log.h"
#include "sheet/sheet.h"
#include "text/format.h"
#include "ui/bitmap_ids.h"

namespace tirelmo {

namespace {

constexpr Rgb kWhite = rgb(255, 255, 255);
constexpr Rgb kBlack = rgb(0, 0, 0);
constexpr Rgb kScoreLine = rgb(200, 191, 231);
constexpr Rgb kFormGrey = rgb(147, 147, 164);
constexpr Rgb kTotalsBlue = rgb(108, 119, 210);
constexpr Rgb kInfoGrey = rgb(148, 159, 177);
constexpr Rgb kRepeatRed = rgb(113, 0, 0);
constexpr Rgb kProjectGreen = rgb(0, 166, 60);
constexpr Rgb kProjectGreenReadOnly = rgb(92, 163, 105);
constexpr Rgb kRowText = rgb(62, 72, 142);
constexpr Rgb kRowTextReadOnly = rgb(134, 134, 134);
constexpr Rgb kDoneText = rgb(177, 181, 207);
constexpr Rgb kDoneTextReadOnly = rgb(180, 180, 180);
constexpr Rgb kSelection = rgb(255, 255, 130);

constexpr int kMaxCategory = 12;
constexpr int kCategoryCell = 18;

// ---- Paper -------------------------------------------------------------------------------

// How far a skin's row lines reach.
enum class Reach { Margins, ToSurfaceEdge, WholeWidth };

struct Paper {
  bool fill = false;
  Rgb fillColor;
  bool fillWholeWidth = false;
  bool fine = false;
  Rgb fineColor;
  bool rows = false;
  Rgb rowColor;
  int rowPen = 1;
  Reach reach = Reach::Margins;
  bool margins = false;
  bool vintageMargins = false;
  bool headerStrip = false;
  bool classicPicture = false;
  BitmapId paperBitmap = 0;
  bool headerForm = true;
};

Paper paperOf(Skin skin) {
  Paper p;
  switch (skin) {
    case Skin::CompactWhite:
      p.rows = true, p.rowColor = rgb(225, 225, 225), p.margins = true;
      break;
    case Skin::White:
      p.rows = true, p.rowColor = rgb(225, 225, 225), p.margins = true, p.headerStrip = true;
      break;
    case Skin::Classic:
      p.fill = true, p.fillColor = rgb(252, 255, 232);
      p.fine = true, p.fineColor = rgb(225, 225, 225);
      p.rows = true, p.rowColor = rgb(210, 210, 210), p.margins = true;
      p.classicPicture = true;
      break;
    case Skin::SmallCervino:
      p.fill = true, p.fillColor = rgb(242, 242, 236);
      p.fine = true, p.fineColor = rgb(223, 223, 223);
      p.rows = true, p.rowColor = rgb(157, 182, 247), p.margins = true;
      break;
    case Skin::Vintage:
      p.fill = true, p.fillColor = rgb(254, 255, 240), p.fillWholeWidth = true;
      p.rows = true, p.rowColor = rgb(220, 214, 201), p.reach = Reach::WholeWidth;
      p.vintageMargins = true;
      break;
    case Skin::Cervino:
      p.fill = true, p.fillColor = rgb(242, 242, 236);
      p.fine = true, p.fineColor = rgb(199, 213, 250);
      p.rows = true, p.rowColor = rgb(157, 182, 247), p.margins = true, p.headerStrip = true;
      break;
    case Skin::Cyan:
      p.fill = true, p.fillColor = rgb(231, 238, 241);
      p.fine = true, p.fineColor = rgb(208, 218, 234);
      p.rows = true, p.rowColor = rgb(189, 203, 223), p.reach = Reach::ToSurfaceEdge;
      p.margins = true, p.headerStrip = true;
      break;
    case Skin::Pink:
      p.fine = true, p.fineColor = rgb(233, 218, 241);
      p.rows = true, p.rowColor = rgb(200, 191, 231), p.reach = Reach::ToSurfaceEdge;
      p.margins = true, p.headerStrip = true;
      break;
    case Skin::Crumpled:
      p.paperBitmap = kBmpCrumpledPaper;
      p.rows = true, p.rowColor = rgb(225, 225, 225), p.reach = Reach::WholeWidth;
      break;
    case Skin::CleanWhite:
      p.fine = true, p.fineColor = rgb(225, 225, 225);
      p.rows = true, p.rowColor = rgb(225, 225, 225), p.rowPen = 2, p.reach = Reach::ToSurfaceEdge;
      p.margins = true, p.headerStrip = true;
      break;
    case Skin::Parchment:
      p.paperBitmap = kBmpParchmentPaper;
      p.rows = true, p.rowColor = rgb(220, 220, 209), p.reach = Reach::WholeWidth;
      break;
    case Skin::LightGold:
      p.rows = true, p.rowColor = rgb(211, 213, 174), p.margins = true, p.headerStrip = true;
      break;
    case Skin::Other:
      p.headerForm = false;
      break;
  }
  return p;
}

// The paper for page rows y..y+h: horizontal lines outside them are not drawn at all (a
// row editor repaints a band 30 pixels high, and each line drawn costs a call).
void drawPaper(Surface& s, const SheetGeometry& g, const Paper& p, int bandY, int bandH) {
  const auto inBand = [&](int lineY) { return lineY >= bandY - 4 && lineY <= bandY + bandH + 4; };
  const int width = g.windowWidth;
  const int rowsBottom = g.rowsTop + kSheetRows * g.rowHeight;
  if (p.paperBitmap) {
    // The paper pictures are shorter than the sheet: their top rows fill the bottom again.
    if (!s.drawBitmap(0, 0, 1400, 1300, p.paperBitmap, 0, 0))
      logLine(u"drawSheetBackground() bitmap %d missing", p.paperBitmap);
    s.drawBitmap(0, g.rowsTop + 18 * g.rowHeight, 1400, 7 * g.rowHeight, p.paperBitmap, 0, 0);
  }
  if (p.fill) {
    const int left = p.fillWholeWidth ? 0 : 41;
    const int right = p.fillWholeWidth ? kPageWidth : 1309;
    s.fillRect(left, g.rowsTop, right - left, g.contentHeight - g.rowsTop, p.fillColor);
  }
  if (p.fine) {
    // Graph paper: three squares to a row.
    for (int i = 0; i < 3 * kSheetRows; ++i) {
      const int y = g.rowsTop + i * g.rowHeight / 3;
      if (inBand(y)) s.line(41, y, width + 41, y, p.fineColor);
    }
    for (int i = 0; i < 100; ++i) {
      const int x = 41 + i * g.rowHeight / 3;
      if (x >= kPageWidth) break;  // never on the screen
      s.line(x, g.rowsTop, x, rowsBottom, p.fineColor);
    }
  }
  if (p.rows) {
    int left = 41, right = width - 41;
    if (p.reach == Reach::ToSurfaceEdge) right = kPageWidth;
    if (p.reach == Reach::WholeWidth) left = 0, right = kPageWidth;
    for (int i = 0; i <= kSheetRows; ++i) {
      const int y = g.rowsTop + i * g.rowHeight;
      if (inBand(y)) s.line(left, y, right, y, p.rowColor, p.rowPen);
    }
  }
  if (p.margins) {
    s.line(41, g.rowsTop, 41, g.contentHeight, p.rowColor, p.rowPen);
    s.line(width - 41, g.rowsTop, width - 41, g.contentHeight, p.rowColor, p.rowPen);
  }
  if (p.vintageMargins) {
    for (int x : {41, 43, 45}) s.line(x, g.rowsTop, x, g.contentHeight, rgb(247, 203, 163));
  }
  if (p.headerStrip) {
    if (!s.drawBitmap((width - 1460) / 2, 84, 1460, 139, kBmpHeaderStrip, 0, 0))
      logLine(u"drawSheetBackground() bitmap %d missing", kBmpHeaderStrip);
  }
  if (p.classicPicture) {
    if (!s.drawBitmap(471, 364, 250, 189, kBmpClassicPicture, 0, 0))
      logLine(u"drawSheetBackground() bitmap %d missing", kBmpClassicPicture);
  }
}

// ---- Header form -------------------------------------------------------------------------

struct FormField {
  Txt label;
  int x, y;
};

std::array<FormField, 3> formFields(const SheetGeometry& g) {
  if (g.layoutKind == kLayoutLargeRows) {
    const int y = g.rowsTop - g.textOffset - 20;
    return {{{Txt::SheetFormDate, g.textLeft - 23, y},
             {Txt::SheetFormScore, g.scoreLeft + 91, y},
             {Txt::SheetFormWorkTime, g.textLeft - 23, g.rowsTop - g.textOffset + 14}}};
  }
  return {{{Txt::SheetFormDate, g.textLeft - 23, 94},
           {Txt::SheetFormScore, g.scoreLeft - 157, 94},
           {Txt::SheetFormWorkTime, g.windowWidth / 2 - 170, 94}}};
}

bool hasHeaderForm(const App& app) { return paperOf(skinFromName(app.settings.skin)).headerForm; }

// The label part of a form field ("Score:") without its blank line.
u16v fieldLabel(u16v field) {
  const auto blank = field.find_first_of(u"_");
  return blank == u16v::npos ? field : field.substr(0, blank);
}

// ---- Scores ------------------------------------------------------------------------------

struct ScoreColumn {
  int cell;
  int firstX, step, iconY;
  int compactFrom;
  int textX, textY;
};

// Drawn in this order: the estimate boxes lie under the pomodoros.
constexpr ScoreColumn kEstimatedColumn{kCellEstimated, 15, 22, 0, 8, 37, 14};
constexpr ScoreColumn kPomodoroColumn{kCellPomodoro, 14, 24, -5, 4, 38, 1};
constexpr ScoreColumn kAbandonedColumn{kCellAbandoned, 108, 22, -2, 4, 130, 1};
constexpr ScoreColumn kInternalColumn{kCellInternal, 100, 8, -9, 4, 116, -9};
constexpr ScoreColumn kExternalColumn{kCellExternal, 142, 12, -15, 4, 162, -9};

void drawScoreColumn(Surface& s, const PageSet& pages, const ScoreColumn& c, int count,
                     int originY) {
  if (count <= 0) return;
  const int x0 = pages.sheet.scoreLeft;
  const int shown = count < c.compactFrom ? count : 1;
  for (int i = 0; i < shown; ++i)
    s.drawSprite(x0 + c.firstX + i * c.step, originY + c.iconY, kCellSize, kCellSize,
                 kBmpScoreSprite, c.cell, 0);
  if (count >= c.compactFrom) {
    FontScope f(s, pages.fonts.scoreCount);
    s.drawText(x0 + c.textX, originY + c.textY, fmt(u" x%d", count), kInfoGrey);
  }
}

bool isReadOnly(const App& app) { return app.sheet.readOnly; }

// Keeps a text inside its row's strip, which is all a row redraw restores.
int insideStrip(int y, int height, int top, int rowHeight) {
  return std::max(top, std::min(y, top + rowHeight - height));
}

void drawRowInformation(const App& app, const PageSet& pages, Surface& s, int row, int top) {
  const SheetGeometry& g = pages.sheet;
  const TodoRow& r = app.sheet.rows[static_cast<std::size_t>(row)];
  if (r.isFree() || isSeparatorText(r.text)) return;
  const bool readOnly = isReadOnly(app);
  const int noteY = top + 4 * (g.rowHeight / 6);

  if (r.hasFlag(rowflag::kRepeat)) {
    FontScope f(s, pages.fonts.rowNote);
    s.drawText(15, insideStrip(noteY + 3, s.textHeight(u"R"), top, g.rowHeight), u"R", kRepeatRed);
  } else if (g.layoutKind == kLayoutLargeRows && r.info.ageDays >= 1) {
    FontScope f(s, pages.fonts.rowNote);
    const int y = noteY + 4;
    int x = g.textLeft;
    if (r.info.pastMinutes == 0 && r.info.minutesToday == 0) {
      const u16v text = app.tr(Txt::RowNotYetStarted);
      x += s.textWidth(text);
      s.drawText(g.textLeft, y, text, kInfoGrey);
      x += 4;
      s.drawBitmap(x, insideStrip(y - 6, 24, top, g.rowHeight), 24, 24, kBmpNotStarted, 0, 0);
      x += 24;
    } else {
      const int past = std::max(0, static_cast<int>(r.info.pastMinutes));
      const u16 text = fmt(app.tr(Txt::RowAlreadyWorked), past / 60, past % 60);
      s.drawText(x, y, text, kInfoGrey);
      x += s.textWidth(text);
    }
    if (r.pastPomodoros > 0)
      s.drawText(x + 30, y, fmt(app.tr(Txt::RowPastPomos), r.pastPomodoros), kBlack);
  }

  if (r.info.category >= 1 && r.info.category <= kMaxCategory)
    s.drawBitmap(8, top + g.textOffset + 4, kCategoryCell, kCategoryCell, kBmpCategorySquares,
                 r.info.category * kCategoryCell, 0);

  FontScope info(s, pages.fonts.info);
  const int lift = g.layoutKind == kLayoutLinedPaper ? 8 : g.layoutKind == kLayoutCompact ? 6 : 0;
  const int infoY = insideStrip(top + g.rowHeight / 6 - lift, s.textHeight(u"Wf"), top, g.rowHeight);
  int labelX = g.textLeft;
  const bool showProject = g.layoutKind != kLayoutCompact || app.settings.displayProjectNames;
  if (r.info.projectId != 0 && showProject) {
    u16 name;
    if (projectNameById(app, r.info.projectId, name) == 1 && !name.empty()) {
      s.drawText(g.textLeft, infoY, name, readOnly ? kProjectGreenReadOnly : kProjectGreen);
      labelX = g.textLeft + s.textWidth(name) + 30;
    }
  }
  if (r.hasFlag(rowflag::kDeadline)) {
    const DayDate& today = app.start.today;
    const DeadlineLabel label =
        makeDeadlineLabel(2000 + r.info.deadlineYear, r.info.deadlineMonth, r.info.deadlineDay,
                          today.year, today.month, today.day(), app.language());
    if (!label.text.empty()) {
      const int w = s.textWidth(label.text);
      s.fillRect(labelX, infoY, w + 12, s.textHeight(label.text), label.fill);
      s.drawText(labelX + 6, infoY, label.text, label.textColor);
    }
  }
  if (r.info.minutesToday > 0) {
    const int m = r.info.minutesToday;
    s.drawText(g.scoreLeft + 194, top + g.textOffset + 2, fmt(u"(%d:%02d')", m / 60, m % 60),
               kInfoGrey);
  }
}

}  // namespace

void drawSheetRowContent(const App& app, const PageSet& pages, Surface& s, int row) {
  if (!app.sheet.validRow(row) || row >= kSheetRows) return;
  const SheetGeometry& g = pages.sheet;
  const TodoRow& r = app.sheet.rows[static_cast<std::size_t>(row)];
  const int top = rowTopOf(g, row);
  const int originY = top + g.textOffset;
  drawScoreColumn(s, pages, kEstimatedColumn, r.estimated, originY);
  drawScoreColumn(s, pages, kPomodoroColumn, r.pomodoros, originY);
  drawScoreColumn(s, pages, kAbandonedColumn, r.abandoned, originY);
  drawScoreColumn(s, pages, kInternalColumn, r.internalInterruptions, originY);
  drawScoreColumn(s, pages, kExternalColumn, r.externalInterruptions, originY);
  if (r.done == 1) {
    const int x = g.layoutKind == kLayoutCompact ? g.scoreLeft - 4 : 41;
    s.drawSprite(x, originY - 5, kCellSize, kCellSize, kBmpScoreSprite, kCellDone, 0);
  }
  drawRowInformation(app, pages, s, row, top);
}

namespace {

// The gauge's box: the strip and the centred text with room for "abandoned: 100%".
struct GaugeBox {
  int x, y, w, h;
};

GaugeBox gaugeBox(const PageSet& pages, int textWidth, int textHeight) {
  const int x0 = pages.sheet.scoreLeft;
  const int y = pages.sheet.layoutKind == kLayoutLargeRows ? 196 : 92;
  const int half = std::max(110, textWidth / 2 + 4);
  return {x0 + 190 - half, y, 2 * half, 4 + textHeight + 2};
}

}  // namespace

// ---- Page drawing ------------------------------------------------------------------------

namespace {

void drawSheetPaper(const App& app, const PageSet& pages, Surface& s, int y, int h) {
  const SheetGeometry& g = pages.sheet;
  const Paper paper = paperOf(skinFromName(app.settings.skin));
  drawPaper(s, g, paper, y, h);
  if (paper.headerForm) {
    FontScope f(s, pages.fonts.headerForm);
    for (const FormField& field : formFields(g)) s.drawText(field.x, field.y, app.tr(field.label), kFormGrey);
  }
  s.line(g.scoreLeft - 3, g.rowsTop, g.scoreLeft - 3, g.rowsTop + kSheetRows * g.rowHeight, kScoreLine);
}

void drawDayTotals(const App& app, const PageSet& pages, Surface& s) {
  if (!hasHeaderForm(app)) return;
  const SheetGeometry& g = pages.sheet;
  const DayStats& t = app.sheet.dayTotals;
  const DayDate& d = app.start.displayedSheetDate;
  const bool chinese = app.language() == Language::ChineseSimplified;

  u16 values[3];
  if (d.year > 0 && d.month >= 1 && d.month <= 12)
    values[0] = chinese ? fmt(u"%d年%d月%d日", d.year, d.month, d.day())
                        : fmt(u"%s %d, %d", shortMonthName(d.month), d.day(), d.year);
  values[1] = fmt(u"%d", t.pomodoros);
  values[2] = fmt(u"%d:%02d", t.workedHours, t.workedMinutes);

  const auto fields = formFields(g);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (values[i].empty()) continue;
    const u16v form = app.tr(fields[i].label);
    int labelW, formH;
    {
      FontScope f(s, pages.fonts.headerForm);
      labelW = s.textWidth(fieldLabel(form));
      formH = s.textHeight(form);
    }
    FontScope f(s, pages.fonts.segoePrintTotals);
    // The value sits on the form's blank line, bottoms aligned.
    s.drawText(fields[i].x + labelW + 4, fields[i].y + formH - s.textHeight(values[i]), values[i],
               kTotalsBlue);
  }
}

void drawAbandonedGauge(const App& app, const PageSet& pages, Surface& s) {
  const DayStats& t = app.sheet.dayTotals;
  const int percentage = abandonedPercentage(t.pomodoros, t.abandoned);
  const u16 text = fmt(app.tr(Txt::AbandonedGaugeText), percentage);
  FontScope f(s, pages.fonts.gauge);
  const int w = s.textWidth(text);
  const GaugeBox box = gaugeBox(pages, w, s.textHeight(text));
  const int x0 = pages.sheet.scoreLeft;
  s.drawBitmap(x0 + 140, box.y, 100, 6, kBmpGaugeStrip, 100 - percentage, 0);
  s.drawText(x0 + 190 - w / 2, box.y + 4, text, kTotalsBlue);
}

// The blinking marker of the running pomodoro's row: a short bar left of the row text,
// switching between a strong and a faint red each second, inside the row's lines, which
// the paper draws and the marker must not cover.
constexpr int kBlinkMarkerX = 41;
constexpr int kBlinkMarkerWidth = 2;
constexpr Rgb kBlinkOn = rgb(0xD8, 0x2A, 0x1A);
constexpr Rgb kBlinkOff = rgb(0xF4, 0xB8, 0xB0);

void drawBlinkMarker(const PageSet& pages, Surface& s) {
  const int row = pages.blinkRow;
  if (row < 0 || row >= kSheetRows) return;
  const SheetGeometry& g = pages.sheet;
  s.fillRect(kBlinkMarkerX, rowTopOf(g, row) + 3, kBlinkMarkerWidth, g.rowHeight - 5,
             pages.blinkOn ? kBlinkOn : kBlinkOff);
}

// What a row's editor shows while nobody edits it: the text 3 pixels in, cut at the editor's
// edges; nothing for a row whose editor is hidden under the header.
void drawRowText(const App& app, const PageSet& pages, Surface& s, int row) {
  const u16& text = app.sheet.rows[static_cast<std::size_t>(row)].text;
  if (text.empty()) return;
  const RowEditorRect e = rowEditorRect(pages, row);
  if (e.y - pages.scrollOffset[kPageTodoToday] < headerHeight(pages, kPageTodoToday)) return;
  const RowEditorStyle style = rowEditorStyle(app, pages, row);
  FontScope f(s, style.font);
  s.drawTextClipped(e.x + 3, e.y, text, style.color, e.x, e.y, e.w, e.h);
}

}  // namespace

void drawSheetView(const App& app, const PageSet& pages, Surface& s, int y, int h) {
  const SheetGeometry& g = pages.sheet;
  drawSheetPaper(app, pages, s, y, h);
  // A row's icons reach a little into its neighbours' strips: the rows next to the band are
  // drawn too, in order, as a drawing of the whole page would.
  const int rowHeight = std::max(g.rowHeight, 1);
  const int first = std::max(0, (y - g.rowsTop) / rowHeight - 1);
  const int last = std::min({kSheetRows, app.sheet.rowCount(), (y + h - g.rowsTop) / rowHeight + 2});
  for (int row = first; row < last; ++row) drawSheetRowContent(app, pages, s, row);
  if (y < g.rowsTop) {
    drawDayTotals(app, pages, s);
    drawAbandonedGauge(app, pages, s);
  }
  drawBlinkMarker(pages, s);
  if (pages.drawRowTexts)
    for (int row = first; row < last; ++row) drawRowText(app, pages, s, row);
}

void repaintSheetRow(PageSet& pages, int row) {
  if (row < 0 || row >= kSheetRows) return;
  invalidatePageRect(pages, kPageTodoToday, 0, rowTopOf(pages.sheet, row), kPageWidth,
                     pages.sheet.rowHeight);
}

void repaintDayTotals(PageSet& pages) {
  // The totals and the gauge live in the header, above the first row line.
  invalidatePageRect(pages, kPageTodoToday, 0, 0, kPageWidth, pages.sheet.rowsTop);
}

void setBlinkMarker(PageSet& pages, int row, bool on) {
  const int previous = pages.blinkRow;
  pages.blinkRow = row;
  pages.blinkOn = on;
  for (int r : {previous, row})
    if (r >= 0 && r < kSheetRows)
      invalidatePageRect(pages, kPageTodoToday, kBlinkMarkerX, rowTopOf(pages.sheet, r),
                         kBlinkMarkerWidth, pages.sheet.rowHeight);
}

int abandonedPercentage(int pomodoros, int abandoned) {
  const int started = pomodoros + abandoned;
  if (started <= 0 || abandoned <= 0) return 0;
  return std::min(100, abandoned * 100 / started);
}

void releaseUnusedSkinPictures(const App& app, PageSet& pages) {
  const Paper paper = paperOf(skinFromName(app.settings.skin));
  const std::pair<BitmapId, bool> pictures[] = {
      {kBmpCrumpledPaper, paper.paperBitmap == kBmpCrumpledPaper},
      {kBmpParchmentPaper, paper.paperBitmap == kBmpParchmentPaper},
      {kBmpClassicPicture, paper.classicPicture},
      {kBmpHeaderStrip, paper.headerStrip}};
  for (const auto& [id, used] : pictures)
    if (!used) pages.graphics.releaseBitmap(id);
}

// ---- Row editors -------------------------------------------------------------------------

RowEditorStyle rowEditorStyle(const App& app, const PageSet& pages, int row) {
  const bool readOnly = isReadOnly(app);
  const bool done = app.sheet.validRow(row) && app.sheet.rows[static_cast<std::size_t>(row)].done == 1;
  if (done) return {readOnly ? kDoneTextReadOnly : kDoneText, pages.fonts.doneRow, true};
  return {readOnly ? kRowTextReadOnly : kRowText, pages.fonts.row, false};
}

RowEditorRect rowEditorRect(const PageSet& pages, int row) {
  const SheetGeometry& g = pages.sheet;
  return {g.textLeft, rowTopOf(g, row) + g.textOffset, pages.windowWidth - 64 - 300,
          g.textHeight + 4};
}

int markerButtonY(const PageSet& pages, int row) {
  return rowTopOf(pages.sheet, row) - pages.scrollOffset[kPageTodoToday];
}

void paintRowEditor(const App& app, const PageSet& pages, Surface& target, int row, u16v text,
                    int selFrom, int selTo, const RowEditorStyle& style) {
  // The paper and the row's marks behind the text, as the page shows them there.
  const RowEditorRect r = rowEditorRect(pages, row);
  const int pageW = std::min(target.width(), kPageWidth - r.x);
  target.setOrigin(r.x, r.y);
  target.setClip(r.x, r.y, target.width(), target.height());
  target.fillRect(r.x, r.y, target.width(), target.height(), kWhite);
  if (pageW > 0) {
    target.setClip(r.x, r.y, pageW, target.height());
    target.setFont(pages.fonts.row);
    drawSheetView(app, pages, target, r.y, target.height());
  }
  target.clearClip();
  target.setOrigin(0, 0);
  target.setFont(style.font);
  const int n = static_cast<int>(text.size());
  const int from = std::clamp(std::min(selFrom, selTo), 0, n);
  const int to = std::clamp(std::max(selFrom, selTo), 0, n);
  if (from < to) {
    const int x0 = 3 + target.textWidth(text.substr(0, static_cast<std::size_t>(from)));
    const int x1 = 3 + target.textWidth(text.substr(0, static_cast<std::size_t>(to)));
    target.fillRect(x0, 2, x1 - x0, 26, kSelection);
  }
  if (!text.empty()) target.drawText(3, 0, text, style.color);
}

// ---- Deadline label ----------------------------------------------------------------------

DeadlineLabel makeDeadlineLabel(int year, int month, int day, int todayYear, int todayMonth,
                                int todayDay, Language language) {
  DeadlineLabel label;
  if (!isCalendarDate(year, month, day) || !isCalendarDate(todayYear, todayMonth, todayDay))
    return label;
  const int d = static_cast<int>(daysFromCivil(year, month, day) -
                                 daysFromCivil(todayYear, todayMonth, todayDay));
  label.daysLeft = d;
  const bool chinese = language == Language::ChineseSimplified;
  const auto plural = [](int n) { return n < 2 ? u"" : u"s"; };
  const auto dateText = [&] {
    return chinese ? fmt(u"%d年%d月%d日", year, month, day)
                   : fmt(u"%s %d, %d", shortMonthName(month), day, year);
  };
  label.level = deadlineClass(d);
  switch (label.level) {
    case 5:
      label.text = d == 0 ? u16(text(Txt::DeadlineLabelOverdueToday, language))
                          : fmt(text(Txt::DeadlineLabelOverdue, language), -d, plural(-d));
      label.fill = rgb(225, 0, 0), label.textColor = rgb(255, 241, 145);
      break;
    case 4:
      label.text = fmt(text(Txt::DeadlineLabelFewDays, language), d, plural(d));
      label.fill = rgb(255, 153, 0), label.textColor = rgb(40, 40, 40);
      break;
    case 3:
      label.text = fmt(text(Txt::DeadlineLabelDays, language), d);
      label.fill = rgb(255, 255, 0), label.textColor = rgb(70, 70, 70);
      break;
    case 2:
      label.text = fmt(text(Txt::DeadlineLabelDays, language), d);
      label.fill = rgb(255, 255, 183), label.textColor = rgb(70, 70, 70);
      break;
    case 1:
      label.text = dateText();
      label.fill = rgb(217, 253, 194), label.textColor = rgb(100, 40, 40);
      break;
    default:
      label.text = dateText();
      label.fill = rgb(255, 255, 255), label.textColor = rgb(100, 40, 40);
      break;
  }
  return label;
}

}  // namespace tirelmo
