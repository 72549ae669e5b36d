// The toolbar buttons: a 40 x 40 picture on a light button face, the
// released look over the pressed look.
#include <cmath>
#include <numbers>

#include "art_common.h"
#include "artwork.h"

namespace artgen {

namespace {

constexpr double kPi = std::numbers::pi;

// The polygon with a rounded rim `width` wide around it: how the pictures get
// their dark outlines and soft corners.
Shape grown(const std::vector<Point>& pts, double width) {
  std::vector<Point> closed = pts;
  closed.push_back(pts.front());
  return unite(polygon(pts), thickPolyline(closed, width));
}

void outlinedPolygon(Canvas& c, const std::vector<Point>& pts, double outline, Rgba edge, const Paint& paint) {
  c.fill(grown(pts, 2 * outline), edge);
  c.fill(polygon(pts), paint);
}

Paint vertical(const Frame& u, std::uint32_t top, std::uint32_t bottom) {
  return linearGradient(u.p(0.5, 0.1), rgb(top), u.p(0.5, 0.9), rgb(bottom));
}

double outlineOf(const Frame& u) { return std::max(1.0, u.len(0.035)); }

void paintTimerBadge(Canvas& c, const Frame& u, bool start) {
  paintTomato(c, u);
  const Rgba shade = rgb(0x5A0A04, 120);
  if (start) {
    const std::vector<Point> tri = {u.p(0.41, 0.45), u.p(0.69, 0.62), u.p(0.41, 0.79)};
    c.fill(translate(grown(tri, u.len(0.07)), 0.6, 0.8), shade);
    c.fill(grown(tri, u.len(0.07)), rgb(0xFFFFFF));
  } else {
    const Shape square = u.box(0.37, 0.49, 0.26, 0.26, 0.04);
    c.fill(translate(square, 0.6, 0.8), shade);
    c.fill(square, rgb(0xFFFFFF));
  }
}

void paintFloppy(Canvas& c, const Frame& u) {
  const double o = outlineOf(u);
  const std::vector<Point> body = {u.p(0.14, 0.14), u.p(0.76, 0.14), u.p(0.86, 0.24), u.p(0.86, 0.86),
                                   u.p(0.14, 0.86)};
  outlinedPolygon(c, body, o, rgb(0x17305C), vertical(u, 0x4A78C2, 0x2B528F));
  c.fill(u.box(0.30, 0.14, 0.40, 0.25), rgb(0xD5DBE4));
  c.fill(u.box(0.55, 0.17, 0.09, 0.18), rgb(0x2B528F));
  c.fill(u.box(0.24, 0.52, 0.52, 0.34, 0.03), rgb(0xFFFFFF));
  for (double y : {0.62, 0.72}) c.fill(u.box(0.31, y, 0.38, 0.04), rgb(0xA9B3C4));
}

void paintGear(Canvas& c, const Frame& u) {
  constexpr int kTeeth = 8;
  std::vector<Point> pts;
  for (int k = 0; k < kTeeth; ++k) {
    const double a = 2 * kPi * k / kTeeth;
    for (auto [da, r] : {std::pair{-0.36, 0.30}, {-0.2, 0.43}, {0.2, 0.43}, {0.36, 0.30}}) {
      pts.push_back(u.p(0.5 + r * std::cos(a + da), 0.5 + r * std::sin(a + da)));
    }
  }
  const double o = outlineOf(u);
  const Shape hole = circle(u.p(0.5, 0.5), u.len(0.12));
  c.fill(subtract(grown(pts, 2 * o), circle(u.p(0.5, 0.5), u.len(0.12) - o)), rgb(0x3C4350));
  c.fill(subtract(polygon(pts), hole),
         linearGradient(u.p(0.2, 0.15), rgb(0xB4BCC8), u.p(0.8, 0.85), rgb(0x6B7483)));
}

// A bold arrow pointing right; mirrored for left.
void paintSideArrow(Canvas& c, const Frame& u, bool right) {
  auto m = [&](double x, double y) { return right ? u.p(x, y) : u.p(1 - x, y); };
  const std::vector<Point> arrow = {m(0.14, 0.38), m(0.52, 0.38), m(0.52, 0.18), m(0.87, 0.5),
                                    m(0.52, 0.82), m(0.52, 0.62), m(0.14, 0.62)};
  outlinedPolygon(c, arrow, outlineOf(u), rgb(0x1D3F73), vertical(u, 0x62A6EE, 0x2A62B0));
}

// A row (the bar) with an arrow leaving it up or down.
void paintMoveRow(Canvas& c, const Frame& u, bool up) {
  auto m = [&](double x, double y) { return up ? u.p(x, y) : u.p(x, 1 - y); };
  const double o = outlineOf(u);
  const double barTop = up ? 0.72 : 0.14;
  c.fill(u.box(0.12, barTop, 0.76, 0.14, 0.05, o), rgb(0x4A5160));
  c.fill(u.box(0.12, barTop, 0.76, 0.14, 0.05), rgb(0xC9CFDA));
  const std::vector<Point> arrow = {m(0.5, 0.08),  m(0.82, 0.40), m(0.62, 0.40), m(0.62, 0.62),
                                    m(0.38, 0.62), m(0.38, 0.40), m(0.18, 0.40)};
  outlinedPolygon(c, arrow, o, rgb(0x1F5E22),
                  up ? vertical(u, 0x7DD36F, 0x2E8B34) : vertical(u, 0x2E8B34, 0x7DD36F));
}

void paintListSheet(Canvas& c, const Frame& u) {
  const double o = outlineOf(u);
  c.fill(u.box(0.16, 0.08, 0.68, 0.84, 0.05, o), rgb(0x6B7384));
  c.fill(u.box(0.16, 0.08, 0.68, 0.84, 0.05), rgb(0xFFFFFF));
  for (int i = 0; i < 4; ++i) {
    const double y = 0.24 + 0.18 * i;
    c.fill(circle(u.p(0.29, y), u.len(0.055)), i < 2 ? rgb(0xD9391C) : rgb(0x9AA3B5));
    c.fill(u.box(0.40, y - 0.03, 0.34, 0.06), rgb(0x3E488E));
  }
}

void paintQuestion(Canvas& c, const Frame& u) {
  const double o = outlineOf(u);
  c.fill(circle(u.p(0.5, 0.5), u.len(0.43) + o), rgb(0x1D3F73));
  c.fill(circle(u.p(0.5, 0.5), u.len(0.43)),
         linearGradient(u.p(0.5, 0.1), rgb(0x62A6EE), u.p(0.5, 0.9), rgb(0x2A62B0)));
  std::vector<Point> hook = bezier(u.p(0.35, 0.38), u.p(0.35, 0.16), u.p(0.66, 0.16), u.p(0.65, 0.36), 16);
  const std::vector<Point> down = bezier(u.p(0.65, 0.36), u.p(0.64, 0.47), u.p(0.5, 0.46), u.p(0.5, 0.58), 10);
  hook.insert(hook.end(), down.begin() + 1, down.end());
  c.fill(thickPolyline(hook, u.len(0.11)), rgb(0xFFFFFF));
  c.fill(circle(u.p(0.5, 0.74), u.len(0.07)), rgb(0xFFFFFF));
}

void paintShare(Canvas& c, const Frame& u) {
  const Point a = u.p(0.72, 0.24), b = u.p(0.28, 0.5), d = u.p(0.72, 0.76);
  const double o = outlineOf(u);
  const Rgba edge = rgb(0x145A52);
  c.fill(unite(thickLine(a, b, u.len(0.09) + 2 * o), thickLine(b, d, u.len(0.09) + 2 * o)), edge);
  for (Point p : {a, b, d}) c.fill(circle(p, u.len(0.14) + o), edge);
  c.fill(unite(thickLine(a, b, u.len(0.09)), thickLine(b, d, u.len(0.09))), rgb(0x3FB8A8));
  for (Point p : {a, b, d})
    c.fill(circle(p, u.len(0.14)), linearGradient(u.p(0.5, 0.1), rgb(0x5ED3C2), u.p(0.5, 0.9), rgb(0x23897B)));
}

void paintHeart(Canvas& c, const Frame& u) {
  std::vector<Point> pts = bezier(u.p(0.5, 0.88), u.p(0.2, 0.64), u.p(0.02, 0.45), u.p(0.14, 0.27), 14);
  auto add = [&](std::vector<Point> seg) { pts.insert(pts.end(), seg.begin() + 1, seg.end()); };
  add(bezier(u.p(0.14, 0.27), u.p(0.24, 0.1), u.p(0.46, 0.13), u.p(0.5, 0.3), 12));
  add(bezier(u.p(0.5, 0.3), u.p(0.54, 0.13), u.p(0.76, 0.1), u.p(0.86, 0.27), 12));
  add(bezier(u.p(0.86, 0.27), u.p(0.98, 0.45), u.p(0.8, 0.64), u.p(0.5, 0.88), 14));
  pts.pop_back();
  outlinedPolygon(c, pts, outlineOf(u), rgb(0x7A0C18),
                  linearGradient(u.p(0.3, 0.15), rgb(0xFF6B7A), u.p(0.6, 0.85), rgb(0xC8102E)));
  c.fill(ellipse(u.p(0.3, 0.32), u.len(0.08), u.len(0.05), -0.7), rgb(0xFFFFFF, 150));
}

void paintFolder(Canvas& c, const Frame& u) {
  const double o = outlineOf(u);
  const Rgba edge = rgb(0x8A5F0E);
  const std::vector<Point> back = {u.p(0.1, 0.2),  u.p(0.4, 0.2),  u.p(0.47, 0.28),
                                   u.p(0.9, 0.28), u.p(0.9, 0.82), u.p(0.1, 0.82)};
  outlinedPolygon(c, back, o, edge, solid(rgb(0xE0A82E)));
  c.fill(u.box(0.17, 0.33, 0.66, 0.3), rgb(0xFFFFFF));
  const std::vector<Point> front = {u.p(0.1, 0.42), u.p(0.9, 0.42), u.p(0.9, 0.82), u.p(0.1, 0.82)};
  outlinedPolygon(c, front, o, edge, vertical(u, 0xFFD970, 0xF0B43A));
}

void paintReport(Canvas& c, const Frame& u) {
  const double o = outlineOf(u);
  const std::vector<Point> page = {u.p(0.18, 0.08), u.p(0.62, 0.08), u.p(0.82, 0.28), u.p(0.82, 0.92),
                                   u.p(0.18, 0.92)};
  outlinedPolygon(c, page, o, rgb(0x5A6273), solid(rgb(0xFFFFFF)));
  outlinedPolygon(c, {u.p(0.62, 0.08), u.p(0.82, 0.28), u.p(0.62, 0.28)}, o * 0.5, rgb(0x5A6273),
                  solid(rgb(0xD8DDE6)));
  // A small bar chart.
  const double base = 0.82;
  const double heights[] = {0.22, 0.38, 0.3};
  const std::uint32_t colours[] = {0x6C77D2, 0xD9391C, 0x4CAF50};
  for (int i = 0; i < 3; ++i)
    c.fill(u.box(0.28 + 0.16 * i, base - heights[i], 0.11, heights[i]), rgb(colours[i]));
  c.fill(u.box(0.25, base, 0.5, 0.04), rgb(0x5A6273));
  c.fill(u.box(0.28, 0.2, 0.28, 0.04), rgb(0xA9B3C4));
}

void paintBin(Canvas& c, const Frame& u) {
  const double o = outlineOf(u);
  const Rgba edge = rgb(0x3C4350);
  const std::vector<Point> body = {u.p(0.22, 0.3), u.p(0.78, 0.3), u.p(0.72, 0.9), u.p(0.28, 0.9)};
  outlinedPolygon(c, body, o, edge, linearGradient(u.p(0.2, 0.5), rgb(0xA7B0BF), u.p(0.8, 0.5), rgb(0x717B8C)));
  for (double x : {0.39, 0.5, 0.61})
    c.fill(thickLine(u.p(x, 0.4), u.p(x, 0.8), std::max(1.0, u.len(0.05))), rgb(0x4F5869));
  c.fill(u.box(0.38, 0.09, 0.24, 0.12, 0.03, o), edge);
  c.fill(u.box(0.43, 0.13, 0.14, 0.08), rgb(0xF0F2F6));
  c.fill(u.box(0.14, 0.18, 0.72, 0.09, 0.03, o), edge);
  c.fill(u.box(0.14, 0.18, 0.72, 0.09, 0.03), rgb(0xC2C9D4));
}

void paintIcon(Canvas& c, ToolbarIcon icon, const Frame& u) {
  switch (icon) {
    case ToolbarIcon::StartTimer: paintTimerBadge(c, u, true); break;
    case ToolbarIcon::StopTimer: paintTimerBadge(c, u, false); break;
    case ToolbarIcon::Save: paintFloppy(c, u); break;
    case ToolbarIcon::Settings: paintGear(c, u); break;
    case ToolbarIcon::PreviousSheet: paintSideArrow(c, u, false); break;
    case ToolbarIcon::TodoList: paintListSheet(c, u); break;
    case ToolbarIcon::NextSheet: paintSideArrow(c, u, true); break;
    case ToolbarIcon::MoveRowUp: paintMoveRow(c, u, true); break;
    case ToolbarIcon::MoveRowDown: paintMoveRow(c, u, false); break;
    case ToolbarIcon::Help: paintQuestion(c, u); break;
    case ToolbarIcon::Estimated: paintScoreGlyph(c, ScoreGlyph::Estimated, u.sub(0.05, 0.05, 0.9)); break;
    case ToolbarIcon::Pomodoro: paintScoreGlyph(c, ScoreGlyph::Pomodoro, u); break;
    case ToolbarIcon::Abandoned: paintScoreGlyph(c, ScoreGlyph::Abandoned, u); break;
    case ToolbarIcon::InternalInterruption:
      paintScoreGlyph(c, ScoreGlyph::InternalInterruption, u.sub(0.1, 0.1, 0.8));
      break;
    case ToolbarIcon::ExternalInterruption:
      paintScoreGlyph(c, ScoreGlyph::ExternalInterruption, u.sub(0.04, 0.04, 0.92));
      break;
    case ToolbarIcon::Done: paintScoreGlyph(c, ScoreGlyph::Done, u); break;
    case ToolbarIcon::Share: paintShare(c, u); break;
    case ToolbarIcon::Support: paintHeart(c, u); break;
    case ToolbarIcon::Projects: paintFolder(c, u); break;
    case ToolbarIcon::Report: paintReport(c, u); break;
    case ToolbarIcon::DeleteEntries: paintBin(c, u); break;
  }
}

// Button corners are flattened onto white, the colour under the toolbar on every page.
void paintFace(Canvas& c, int top, bool pressed) {
  const double e = kToolbarButtonSize;
  c.fill(rect(0, top, e, e), rgb(0xFFFFFF));
  c.fill(roundRect(0, top, e, e, 4), pressed ? rgb(0x8E97AA) : rgb(0xB9C0CE));
  const Shape inner = roundRect(1, top + 1, e - 2, e - 2, 3);
  if (pressed) {
    c.fill(inner, linearGradient(Point{0, top + 1.0}, rgb(0xCDD3DE), Point{0, top + e - 1}, rgb(0xE1E5EC)));
    // Shadow along the top and left edges: the face is pushed in.
    c.fill(intersect(inner, unite(rect(1, top + 1, e - 2, 2), rect(1, top + 1, 2, e - 2))), rgb(0x7A8396, 90));
  } else {
    c.fill(inner, linearGradient(Point{0, top + 1.0}, rgb(0xFDFDFE), Point{0, top + e - 1}, rgb(0xE4E8EF)));
    c.fill(intersect(inner, rect(1, top + 1, e - 2, 1)), rgb(0xFFFFFF));
  }
}

}  // namespace

Canvas drawToolbarButton(ToolbarIcon icon) {
  const int e = kToolbarButtonSize;
  Canvas c(e, 2 * e);
  paintFace(c, 0, false);
  paintFace(c, e, true);
  constexpr double kInset = 5.5;
  Canvas art(e, e);
  paintIcon(art, icon, Frame{kInset, kInset, e - 2 * kInset});
  c.draw(art, 0, 0);
  // Pressed: the picture follows the face one pixel down and right.
  c.draw(art, 1, e + 1);
  return c;
}

const std::vector<ToolbarBitmap>& toolbarBitmaps() {
  static const std::vector<ToolbarBitmap> table = {
      {129, "tb_start_timer.bmp", ToolbarIcon::StartTimer},
      {169, "tb_stop_timer.bmp", ToolbarIcon::StopTimer},
      {138, "tb_save.bmp", ToolbarIcon::Save},
      {159, "tb_settings.bmp", ToolbarIcon::Settings},
      {128, "tb_previous_todo.bmp", ToolbarIcon::PreviousSheet},
      {163, "tb_todo_list.bmp", ToolbarIcon::TodoList},
      {127, "tb_next_todo.bmp", ToolbarIcon::NextSheet},
      {145, "tb_move_up.bmp", ToolbarIcon::MoveRowUp},
      {146, "tb_move_down.bmp", ToolbarIcon::MoveRowDown},
      {126, "tb_help.bmp", ToolbarIcon::Help},
      {137, "tb_estimated.bmp", ToolbarIcon::Estimated},
      {130, "tb_pomodoro.bmp", ToolbarIcon::Pomodoro},
      {144, "tb_abandoned.bmp", ToolbarIcon::Abandoned},
      {131, "tb_internal.bmp", ToolbarIcon::InternalInterruption},
      {133, "tb_external.bmp", ToolbarIcon::ExternalInterruption},
      {132, "tb_done.bmp", ToolbarIcon::Done},
      {164, "tb_share.bmp", ToolbarIcon::Share},
      {204, "tb_support.bmp", ToolbarIcon::Support},
      {165, "tb_projects.bmp", ToolbarIcon::Projects},
      {203, "tb_report.bmp", ToolbarIcon::Report},
      {201, "tb_delete_entries.bmp", ToolbarIcon::DeleteEntries},
  };
  return table;
}

}  // namespace artgen
