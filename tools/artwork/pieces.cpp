// Small pieces: arrow buttons, the time picker's tiles and switch, the cycle bars, the warning
// sign and the calendar's day icons.
#include <cmath>
#include <string>

#include "artwork.h"

namespace art {

namespace {

// A filled triangle pointing along (dx, dy), centred in the square at (x, y) of side `size`.
void Arrow(cairo_t* cr, double x, double y, double size, int dx, int dy) {
  const double cx = x + size / 2, cy = y + size / 2, r = size * 0.30;
  const double px = -dy, py = dx;  // across the arrow
  cairo_move_to(cr, cx + dx * r, cy + dy * r);
  cairo_line_to(cr, cx - dx * r + px * r * 1.05, cy - dy * r + py * r * 1.05);
  cairo_line_to(cr, cx - dx * r - px * r * 1.05, cy - dy * r - py * r * 1.05);
  cairo_close_path(cr);
  SetColour(cr, kInk);
  cairo_fill(cr);
}

Canvas ArrowButton(int dx, int dy) {
  Canvas canvas(14, 14, kCyan);
  CyanFace(canvas.cr(), 0, 0, 14, 14);
  Arrow(canvas.cr(), 0, 0.5, 14, dx, dy);
  return canvas;
}

// A bar lit from the left, the same in every row below its top so that it may be cut at any
// height; its top row is a lighter cap.
Canvas Bar(int width, int height, Rgb light, Rgb face, Rgb deep) {
  Canvas canvas(width, height, face);
  cairo_t* cr = canvas.cr();
  for (int x = 0; x < width; ++x) {
    Rgb c;
    if (x == 0 || x == width - 1) {
      c = deep;
    } else if (x == 1) {
      c = light;
    } else {
      c = Mix(face, deep, std::max(0.0, (x - width / 2.0) / width * 1.2));
    }
    FillRect(cr, x, 0, 1, height, c);
  }
  FillRect(cr, 1, 0, width - 2, 1, Mix(light, kWhite, 0.3));
  return canvas;
}

void Drop(cairo_t* cr, double cx, double cy, double r) {
  cairo_move_to(cr, cx, cy - r * 2.1);
  cairo_curve_to(cr, cx + r * 0.4, cy - r * 1.2, cx + r, cy - r * 0.5, cx + r, cy);
  cairo_arc(cr, cx, cy, r, 0, M_PI);
  cairo_curve_to(cr, cx - r, cy - r * 0.5, cx - r * 0.4, cy - r * 1.2, cx, cy - r * 2.1);
  cairo_close_path(cr);
  SetColour(cr, kRose);
  cairo_fill_preserve(cr);
  SetColour(cr, kRoseDeep);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  cairo_arc(cr, cx - r * 0.4, cy - r * 0.1, r * 0.28, 0, 2 * M_PI);
  SetColour(cr, kWhite, 0.7);
  cairo_fill(cr);
}

}  // namespace

Canvas ArrowDown() {
  return ArrowButton(0, 1);
}
Canvas ArrowUp() {
  return ArrowButton(0, -1);
}

Canvas ChartArrows() {
  Canvas canvas(28, 14, kCyan);
  CyanFace(canvas.cr(), 0, 0, 14, 14);
  Arrow(canvas.cr(), -0.5, 0, 14, -1, 0);
  CyanFace(canvas.cr(), 14, 0, 14, 14);
  Arrow(canvas.cr(), 14.5, 0, 14, 1, 0);
  return canvas;
}

Canvas HalfDaySwitch(bool pm) {
  Canvas canvas(70, 17, kCyan);
  cairo_t* cr = canvas.cr();
  const Font font{"DejaVu Sans Condensed", 10, true};
  for (int half = 0; half < 2; ++half) {
    const bool chosen = (half == 1) == pm;
    const int x = half * 35;
    if (chosen) {
      BlueFace(cr, x, 0, 35, 17);
    } else {
      CyanFace(cr, x, 0, 35, 17);
    }
    Text(cr, half == 0 ? "AM" : "PM", font, x + 17.5, 12.5, chosen ? kWhite : kBlack,
         Align::kCentre);
  }
  return canvas;
}

Canvas NumberTiles() {
  Canvas canvas(70, 221, kCyan);
  cairo_t* cr = canvas.cr();
  const Font font{"DejaVu Sans", 12, true};
  for (int i = 0; i <= 12; ++i) {
    const int y = i * 17;
    CyanFace(cr, 0, y, 35, 17);
    BlueFace(cr, 35, y, 35, 17);
    Text(cr, std::to_string(i), font, 17.5, y + 13, kBlack, Align::kCentre);
    Text(cr, std::to_string(i), font, 52.5, y + 13, kWhite, Align::kCentre);
  }
  return canvas;
}

Canvas MonthStrip(bool start_month) {
  const Rgb face = start_month ? kRosePale : kLilacPale;
  const Rgb deep = start_month ? kRose : kLilac;
  Canvas canvas(14, 240, face);
  cairo_t* cr = canvas.cr();
  FillRect(cr, 0, 0, 1, 240, deep);
  FillRect(cr, 1, 0, 1, 240, kWhite);
  FillRect(cr, 11, 0, 1, 240, Mix(face, deep, 0.4));
  FillRect(cr, 12, 0, 1, 240, Mix(face, deep, 0.8));
  FillRect(cr, 13, 0, 1, 240, start_month ? kRoseDeep : kPlum);
  return canvas;
}

Canvas TimeLineBar() {
  return Bar(20, 268, kWhite, kLilacPale, kLilac);
}
Canvas PeriodBar() {
  return Bar(8, 131, {255, 168, 190}, kRose, kRoseDeep);
}
Canvas OvulationBar() {
  return Bar(8, 159, kSagePale, kSage, kSageDeep);
}
Canvas ChartBar() {
  return Bar(6, 200, {206, 180, 236}, {150, 108, 194}, kPlumDeep);
}

Canvas WarningSign(const Canvas& background) {
  Canvas canvas = background.Crop(kWarningX, kWarningY, 36, 36);
  cairo_t* cr = canvas.cr();
  auto triangle = [cr](double dx, double dy) {
    cairo_move_to(cr, 18 + dx, 4 + dy);
    cairo_line_to(cr, 32 + dx, 30 + dy);
    cairo_line_to(cr, 4 + dx, 30 + dy);
    cairo_close_path(cr);
  };
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 3);
  triangle(1, 1);
  SetColour(cr, kPlum, 0.3);
  cairo_stroke_preserve(cr);
  cairo_fill(cr);
  triangle(0, 0);
  SetColour(cr, kInk);
  cairo_stroke_preserve(cr);
  SetColour(cr, kAmber);
  cairo_fill(cr);
  SetColour(cr, kInk);
  RoundedRect(cr, 16.3, 12, 3.4, 11, 1.5);
  cairo_fill(cr);
  cairo_arc(cr, 18, 26.3, 1.9, 0, 2 * M_PI);
  cairo_fill(cr);
  return canvas;
}

Canvas DayIcons() {
  // Drawn on the grey of the calendar's day cells, at their corners.
  Canvas canvas(80, 16, kCellGrey);
  cairo_t* cr = canvas.cr();
  Drop(cr, 8, 10, 3.2);         // slight
  Drop(cr, 16 + 5, 10.5, 2.8);  // normal
  Drop(cr, 16 + 11, 8.5, 2.8);
  Drop(cr, 32 + 4.5, 7.5, 2.4);  // heavy
  Drop(cr, 32 + 11.5, 7.5, 2.4);
  Drop(cr, 32 + 8, 12.5, 2.4);

  // A remark: a note with a turned corner.
  cairo_move_to(cr, 48 + 3.5, 1.5);
  cairo_line_to(cr, 48 + 9.5, 1.5);
  cairo_line_to(cr, 48 + 12.5, 4.5);
  cairo_line_to(cr, 48 + 12.5, 14.5);
  cairo_line_to(cr, 48 + 3.5, 14.5);
  cairo_close_path(cr);
  SetColour(cr, kWhite);
  cairo_fill_preserve(cr);
  SetColour(cr, kInk);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  for (int i = 0; i < 3; ++i) FillRect(cr, 48 + 5, 6 + i * 3, 6, 1, kPlum);

  // A pill: a capsule, half rose and half white, turned to the diagonal.
  cairo_save(cr);
  cairo_translate(cr, 64 + 8, 8);
  cairo_rotate(cr, -M_PI / 4);
  cairo_save(cr);
  RoundedRect(cr, -7, -3.2, 14, 6.4, 3.2);
  cairo_clip(cr);
  FillRect(cr, -7, -4, 7, 8, kRose);
  FillRect(cr, 0, -4, 7, 8, kWhite);
  FillRect(cr, -7, -3.2, 14, 1.6, {255, 255, 255});
  cairo_restore(cr);
  RoundedRect(cr, -7, -3.2, 14, 6.4, 3.2);
  SetColour(cr, kInk);
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
  cairo_restore(cr);
  return canvas;
}

}  // namespace art
