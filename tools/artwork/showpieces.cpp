// The mark, the start-up logo, the mirror and the About screen's moving parts.
#include <cmath>

#include "artwork.h"

namespace art {

namespace {

Rgb BeadColour(int day, bool on_dark) {
  if (day < 5) return kRose;
  if (day >= 12 && day <= 17) return kSage;
  return on_dark ? kLilacPale : kLilac;
}

void Bead(cairo_t* cr, double x, double y, double r, Rgb colour) {
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  SetColour(cr, colour);
  cairo_fill(cr);
  // One light: a small highlight up and to the left on every bead.
  if (r >= 2) {
    cairo_arc(cr, x - r * 0.35, y - r * 0.35, r * 0.35, 0, 2 * M_PI);
    SetColour(cr, kWhite, 0.55);
    cairo_fill(cr);
  }
}

// The crescent: a disc with a second, offset disc taken out of it.
void Crescent(cairo_t* cr, double cx, double cy, double r, Rgb colour) {
  cairo_save(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_clip(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx + r * 0.45, cy - r * 0.2, r * 0.85, 0, 2 * M_PI);
  SetColour(cr, colour);
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace

void DrawCycleRing(cairo_t* cr, double cx, double cy, double radius, double bead, bool on_dark) {
  for (int day = 0; day < 28; ++day) {
    const double a = -M_PI / 2 + 2 * M_PI * day / 28;
    Bead(cr, cx + radius * std::cos(a), cy + radius * std::sin(a), bead, BeadColour(day, on_dark));
  }
  Crescent(cr, cx - radius * 0.08, cy, radius * 0.55, on_dark ? kMoonGold : kPlum);
}

void DrawBeadRow(cairo_t* cr, double cx, double cy, int count, double pitch, double bead) {
  const double x0 = cx - pitch * (count - 1) / 2;
  for (int day = 0; day < count; ++day) {
    Bead(cr, x0 + day * pitch, cy, bead, BeadColour(day % 28, false));
  }
}

Canvas StartLogo() {
  Canvas canvas(240, 268);
  cairo_t* cr = canvas.cr();
  cairo_pattern_t* sky = cairo_pattern_create_radial(50, 30, 10, 90, 90, 330);
  cairo_pattern_add_color_stop_rgb(sky, 0, 0.62, 0.40, 0.76);
  AddStop(sky, 0.45, kPlum);
  AddStop(sky, 1, kPlumDeep);
  cairo_set_source(cr, sky);
  cairo_paint(cr);
  cairo_pattern_destroy(sky);

  // A halo behind the mark.
  cairo_pattern_t* halo = cairo_pattern_create_radial(120, 104, 20, 120, 104, 92);
  cairo_pattern_add_color_stop_rgba(halo, 0, 1, 1, 1, 0.22);
  cairo_pattern_add_color_stop_rgba(halo, 1, 1, 1, 1, 0);
  cairo_set_source(cr, halo);
  cairo_paint(cr);
  cairo_pattern_destroy(halo);
  DrawCycleRing(cr, 120, 104, 62, 5.2, true);

  Text(cr, "Calvira", {"DejaVu Serif", 38, true, true}, 121, 207, kPlumDeep, Align::kCentre);
  Text(cr, "Calvira", {"DejaVu Serif", 38, true, true}, 120, 205, kWhite, Align::kCentre);
  Text(cr, "version 2.10", {"DejaVu Sans", 12}, 120, 228, kLilacPale, Align::kCentre);
  Text(cr, "your cycle, your records", {"DejaVu Sans", 10, false, true}, 120, 252, kRosePale,
       Align::kCentre);
  return canvas;
}

Canvas MirrorPicture() {
  Canvas canvas(240, 268);
  cairo_t* cr = canvas.cr();
  cairo_pattern_t* wall = cairo_pattern_create_linear(0, 0, 240, 268);
  AddStop(wall, 0, kRosePale);
  AddStop(wall, 1, kLilac);
  cairo_set_source(cr, wall);
  cairo_paint(cr);
  cairo_pattern_destroy(wall);

  auto oval = [cr](double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, 120, 134);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
  };
  // The frame: plum, lit from the upper left.
  SetColour(cr, kPlumDeep, 0.35);
  cairo_save(cr);
  cairo_translate(cr, 3, 4);
  oval(112, 130);
  cairo_restore(cr);
  cairo_fill(cr);
  cairo_pattern_t* frame = cairo_pattern_create_linear(20, 10, 220, 260);
  cairo_pattern_add_color_stop_rgb(frame, 0, 0.66, 0.48, 0.80);
  AddStop(frame, 1, kPlumDeep);
  oval(112, 130);
  cairo_set_source(cr, frame);
  cairo_fill(cr);
  cairo_pattern_destroy(frame);
  // Beads set into the frame.
  for (int day = 0; day < 28; ++day) {
    const double a = -M_PI / 2 + 2 * M_PI * day / 28;
    const double x = 120 + 106 * std::cos(a), y = 134 + 124 * std::sin(a);
    cairo_arc(cr, x, y, 2.6, 0, 2 * M_PI);
    SetColour(cr, day < 5 ? kRose : (day >= 12 && day <= 17 ? kSage : kLilacPale));
    cairo_fill(cr);
  }

  // The glass: silver, brighter where the light falls, with two soft streaks.
  cairo_pattern_t* glass = cairo_pattern_create_linear(40, 20, 200, 250);
  cairo_pattern_add_color_stop_rgb(glass, 0, 0.95, 0.96, 0.99);
  cairo_pattern_add_color_stop_rgb(glass, 0.5, 0.80, 0.83, 0.90);
  cairo_pattern_add_color_stop_rgb(glass, 1, 0.62, 0.64, 0.76);
  oval(99, 117);
  cairo_set_source(cr, glass);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(glass);
  SetColour(cr, kPlumDeep);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_save(cr);
  oval(98, 116);
  cairo_clip(cr);
  SetColour(cr, kWhite, 0.45);
  cairo_move_to(cr, 40, 120);
  cairo_line_to(cr, 110, 20);
  cairo_line_to(cr, 140, 20);
  cairo_line_to(cr, 60, 140);
  cairo_close_path(cr);
  cairo_fill(cr);
  SetColour(cr, kWhite, 0.30);
  cairo_move_to(cr, 62, 168);
  cairo_line_to(cr, 162, 28);
  cairo_line_to(cr, 172, 36);
  cairo_line_to(cr, 72, 176);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_restore(cr);
  return canvas;
}

// One phase of the moon in a 32 x 32 cell: frames 0-16 run once round the lunation, which is
// about as long as a cycle.
static void MoonPhase(cairo_t* cr, double cx, double cy, double r, double phase) {
  cairo_arc(cr, cx, cy, r + 2.5, 0, 2 * M_PI);
  SetColour(cr, kMoonGold, 0.25);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  SetColour(cr, kLilacPale);
  cairo_fill(cr);

  // The lit part: the bright limb's half circle closed by the terminator, a half ellipse.
  const bool waxing = phase <= 0.5;
  const double side = waxing ? 1 : -1;
  const double k = std::cos(2 * M_PI * phase);
  cairo_new_path(cr);
  for (int i = 0; i <= 32; ++i) {
    const double t = -M_PI / 2 + M_PI * i / 32;
    cairo_line_to(cr, cx + side * r * std::cos(t), cy + r * std::sin(t));
  }
  for (int i = 0; i <= 32; ++i) {
    const double t = M_PI / 2 - M_PI * i / 32;
    cairo_line_to(cr, cx + side * k * r * std::cos(t), cy + r * std::sin(t));
  }
  cairo_close_path(cr);
  SetColour(cr, kMoonGold);
  cairo_fill(cr);

  cairo_arc(cr, cx, cy, r - 0.5, 0, 2 * M_PI);
  SetColour(cr, kPlum);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

Canvas AboutSprites(const Canvas& background) {
  Canvas canvas(192, 96);
  const Canvas under = background.Crop(kSpriteX, kSpriteY, 32, 32);
  for (int k = 0; k < 18; ++k) {
    const int x = (k % 6) * 32, y = (k / 6) * 32;
    canvas.Paste(under, x, y);
    // Sprite 17 is never shown; it repeats the first so a longer loop would still be smooth.
    MoonPhase(canvas.cr(), x + 16, y + 16, 11.5, (k % 17) / 17.0);
  }
  return canvas;
}

Canvas AboutBand() {
  // Drawn over the paper of picture 290 as it slides, so its rounded ends stand on paper.
  Canvas canvas(100, 14, kPaper);
  cairo_t* cr = canvas.cr();
  cairo_pattern_t* body = cairo_pattern_create_linear(0, 0, 0, 14);
  cairo_pattern_add_color_stop_rgb(body, 0, 1, 1, 1);
  AddStop(body, 1, kLilacPale);
  RoundedRect(cr, 0.5, 0.5, 99, 13, 6.5);
  cairo_set_source(cr, body);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(body);
  SetColour(cr, kPlum);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  DrawBeadRow(cr, 50, 7, 12, 7.6, 2.6);
  return canvas;
}

Canvas AboutEmblem(const Canvas& background) {
  // Drawn over the background it will be keyed onto, then every pixel left as it was becomes
  // the key colour: the edges keep their smoothing against the real background.
  const Canvas under = background.Crop(kEmblemX, kEmblemY, 130, 22);
  Canvas canvas = under.Crop(0, 0, 130, 22);
  cairo_t* cr = canvas.cr();
  DrawCycleRing(cr, 13, 11, 8.5, 1.5, false);
  const double w = Text(cr, "Calvira", {"DejaVu Serif", 16, true, true}, 28, 16, kPlum);
  // A sprig after the name.
  const double x = 28 + w + 6;
  SetColour(cr, kSageDeep);
  cairo_set_line_width(cr, 1.2);
  cairo_move_to(cr, x, 15);
  cairo_curve_to(cr, x + 10, 14, x + 20, 10, x + 30, 7);
  cairo_stroke(cr);
  for (int i = 0; i < 3; ++i) {
    const double lx = x + 8 + i * 8, ly = 13.2 - i * 2.2;
    cairo_save(cr);
    cairo_translate(cr, lx, ly);
    cairo_rotate(cr, -0.6);
    cairo_scale(cr, 3.6, 1.6);
    cairo_arc(cr, 0, -1.4, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColour(cr, i == 1 ? kRose : kSage);
    cairo_fill(cr);
  }
  canvas.Quantize();
  for (int y = 0; y < 22; ++y) {
    for (int xx = 0; xx < 130; ++xx) {
      if (canvas.SameAt(xx, y, under, xx, y)) canvas.SetPixel(xx, y, kCyan);
    }
  }
  return canvas;
}

}  // namespace art
