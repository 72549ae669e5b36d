#include <algorithm>
#include <cmath>
#include <numbers>

#include "art_common.h"
#include "artwork.h"

namespace artgen {

Shape leaf(Point base, double angle, double length, double width) {
  const double dx = std::cos(angle), dy = std::sin(angle);
  const double px = -dy, py = dx;
  auto at = [&](double along, double across) {
    return Point{base.x + dx * along + px * across, base.y + dy * along + py * across};
  };
  const Point tip = at(length, 0);
  std::vector<Point> pts =
      bezier(base, at(length * 0.25, width * 0.55), at(length * 0.65, width * 0.45), tip, 10);
  const std::vector<Point> back =
      bezier(tip, at(length * 0.65, -width * 0.45), at(length * 0.25, -width * 0.55), base, 10);
  pts.insert(pts.end(), back.begin() + 1, back.end());
  return polygon(std::move(pts));
}

Shape tomatoBody(const Frame& u, double grow) {
  // Two overlapping lobes give the slightly ribbed, wider-than-tall fruit.
  return unite(ellipse(u.p(0.43, 0.595), u.len(0.385 + grow), u.len(0.355 + grow)),
               ellipse(u.p(0.57, 0.595), u.len(0.385 + grow), u.len(0.355 + grow)));
}

void paintTomato(Canvas& c, const Frame& u, const TomatoLook& look) {
  // Small icons get a relatively heavier outline so the shape survives.
  const double outline = look.outline > 0 ? look.outline : std::max(1.0, u.len(0.035));
  const double stroke = outline / u.s;  // the outline in unit terms
  const double f = std::clamp(look.faded, 0.0, 1.0);
  const Rgba edge = mix(rgb(0x6E0F08), rgb(0x4B403C), f);
  const Rgba bright = mix(rgb(0xFF6F4E), rgb(0xC9B7AE), f);
  const Rgba deep = mix(rgb(0xB3160B), rgb(0x8C7A72), f);

  if (look.hollow) {
    // An empty fruit: a ring one outline thick inside and out, so it reads as
    // "planned, not yet worked" next to the solid pomodoro.
    c.fill(subtract(tomatoBody(u, stroke), tomatoBody(u, -stroke)), mix(rgb(0xC8321E), edge, 0.25));
  } else {
    c.fill(tomatoBody(u, stroke), edge);
    c.fill(tomatoBody(u), radialGradient(u.p(0.36, 0.42), u.len(0.62), bright, deep));
    // A faint crease running down from the stalk.
    c.fill(intersect(tomatoBody(u), ellipse(u.p(0.5, 0.42), u.len(0.035), u.len(0.2))), rgb(0x8E1209, 40));
    if (look.gloss) {
      c.fill(ellipse(u.p(0.30, 0.43), u.len(0.10), u.len(0.055), -0.75), rgb(0xFFFFFF, 170));
      if (u.s >= 32) c.fill(circle(u.p(0.24, 0.56), u.len(0.025)), rgb(0xFFFFFF, 120));
    }
  }

  // The calyx: leaves spreading over the shoulders, drawn with an outline.
  const Point centre = u.p(0.5, 0.25);
  struct Leaf {
    double angleDeg, length, width;
  };
  static constexpr Leaf kLeaves[] = {
      {-115, 0.14, 0.08}, {-65, 0.14, 0.08}, {160, 0.27, 0.12},
      {20, 0.27, 0.12},   {125, 0.22, 0.11}, {55, 0.22, 0.11},
  };
  auto calyx = [&](double grow) {
    Shape all = circle(centre, u.len(0.06 + grow));
    for (const Leaf& l : kLeaves)
      all = unite(std::move(all), leaf(centre, l.angleDeg * std::numbers::pi / 180,
                                       u.len(l.length + grow * 1.5), u.len(l.width + grow * 2)));
    return all;
  };
  const Rgba leafEdge = mix(rgb(0x184A12), rgb(0x3A3F36), f);
  c.fill(calyx(stroke), leafEdge);
  c.fill(calyx(0), linearGradient(u.p(0.5, 0.15), mix(rgb(0x6CC04A), rgb(0xA3A895), f), u.p(0.5, 0.40),
                                  mix(rgb(0x2F7F22), rgb(0x6B7064), f)));

  // The stalk, bent slightly to the right.
  const std::vector<Point> stalk = bezier(u.p(0.5, 0.27), u.p(0.5, 0.18), u.p(0.52, 0.12), u.p(0.59, 0.08), 12);
  c.fill(thickPolyline(stalk, u.len(0.085) + 2 * outline), leafEdge);
  c.fill(thickPolyline(stalk, u.len(0.085)), mix(rgb(0x4F8A2B), rgb(0x7A7F70), f));
}

Canvas drawTomato(int size) {
  Canvas c(size, size);
  paintTomato(c, Frame{0, 0, double(size)});
  return c;
}

}  // namespace artgen
