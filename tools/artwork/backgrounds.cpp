// The full-screen backgrounds. Text sits on calm paper; decoration keeps to the edges.
#include <cmath>

#include "artwork.h"

namespace art {

namespace {

// Picture 290 is the same in every row: the About screen erases its moving band (rows 230-243)
// with a copy of rows 0-13, which must therefore look like the rows it covers. So the
// background's character comes from its columns: a plum rule and a lilac margin on the left,
// behind the month strip and the month names, and a narrower rule on the right.
Rgb CommonColumn(int x) {
  if (x == 0) return kPlum;
  if (x == 1) return kLilac;
  if (x < 40) return Mix(kPaperShade, kPaper, std::max(0.0, (x - 30) / 10.0));
  if (x == 239) return kPlum;
  if (x == 238) return kLilac;
  if (x >= 232) return Mix(kPaper, kPaperShade, (x - 231) / 6.0);
  return kPaper;
}

void PaintColumns(Canvas& canvas, Rgb (*column)(int)) {
  for (int x = 0; x < canvas.width(); ++x) {
    FillRect(canvas.cr(), x, 0, 1, canvas.height(), column(x));
  }
}

// A rose-to-lilac header band with a soft wave for its lower edge.
void HeaderBand(cairo_t* cr, double height, double wave) {
  cairo_pattern_t* band = cairo_pattern_create_linear(0, 0, 240, 0);
  AddStop(band, 0, kRosePale);
  AddStop(band, 1, kLilacPale);
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, 240, 0);
  cairo_line_to(cr, 240, height);
  for (int x = 240; x >= 0; x -= 4) {
    cairo_line_to(cr, x, height + wave * std::sin(x / 240.0 * 2 * M_PI * 1.5));
  }
  cairo_close_path(cr);
  cairo_set_source(cr, band);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(band);
  cairo_new_path(cr);
  // The wave's edge as a thin lilac line, half a pixel in so it stays crisp.
  for (int x = 0; x <= 240; x += 4) {
    const double y = height + wave * std::sin(x / 240.0 * 2 * M_PI * 1.5) + 0.5;
    if (x == 0) {
      cairo_move_to(cr, x, y);
    } else {
      cairo_line_to(cr, x, y);
    }
  }
  SetColour(cr, kLilac);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

}  // namespace

Canvas CommonBackground() {
  Canvas canvas(240, 268);
  PaintColumns(canvas, CommonColumn);
  // A faint watermark of the mark, kept between rows 14 and 229 so the band eraser's rows and
  // the rows it covers stay identical.
  cairo_t* cr = canvas.cr();
  cairo_push_group(cr);
  DrawCycleRing(cr, 150, 150, 52, 4.2, false);
  cairo_pop_group_to_source(cr);
  cairo_paint_with_alpha(cr, 0.10);
  return canvas;
}

Canvas EmptyCycleView(const Canvas& background) {
  Canvas canvas = background.Crop(0, 0, 240, 268);
  cairo_t* cr = canvas.cr();
  // Clear the watermark: this screen shows the mark itself, full strength.
  for (int x = 0; x < 240; ++x) FillRect(cr, x, 14, 1, 216, background.Pixel(x, 0));
  DrawCycleRing(cr, 128, 112, 44, 3.6, false);

  const Font title{"DejaVu Sans", 15, true};
  const Font body{"DejaVu Sans", 11};
  Text(cr, "No cycles yet", title, 128, 186, kPlum, Align::kCentre);
  Text(cr, "Tap Add to enter the first", body, 128, 206, kInk, Align::kCentre);
  Text(cr, "day of your last period.", body, 128, 221, kInk, Align::kCentre);

  // A dotted path from the mark up to the Add button at the top right.
  cairo_set_line_width(cr, 2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const double dash[] = {0.1, 5};
  cairo_set_dash(cr, dash, 2, 0);
  SetColour(cr, kRose);
  cairo_move_to(cr, 170, 86);
  cairo_curve_to(cr, 200, 74, 214, 56, 213, 30);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
  cairo_move_to(cr, 213, 22);
  cairo_line_to(cr, 218.5, 31);
  cairo_line_to(cr, 207.5, 31);
  cairo_close_path(cr);
  cairo_fill(cr);
  return canvas;
}

Canvas ListBackground() {
  Canvas canvas(240, 268);
  cairo_t* cr = canvas.cr();
  cairo_pattern_t* wash = cairo_pattern_create_linear(0, 0, 0, 80);
  AddStop(wash, 0, kPaperShade);
  AddStop(wash, 1, kPaper);
  cairo_set_source(cr, wash);
  cairo_paint(cr);
  cairo_pattern_destroy(wash);

  // A thin double rule round the edge; the controls all sit inside it.
  SetColour(cr, kPlum);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, 0.5, 0.5, 239, 267);
  cairo_stroke(cr);
  SetColour(cr, kLilac);
  RoundedRect(cr, 2.5, 2.5, 235, 263, 5);
  cairo_stroke(cr);
  // The day beads along the free strip under the buttons.
  DrawBeadRow(cr, 120, 262, 28, 7, 2.2);
  return canvas;
}

Canvas FormBackground() {
  Canvas canvas(240, 268);
  cairo_t* cr = canvas.cr();
  HeaderBand(cr, 30, 3);
  DrawCycleRing(cr, 20, 17, 11, 1.6, false);

  // The card the form's labels and fields sit on, lit from the upper left.
  SetColour(cr, kPlum, 0.18);
  RoundedRect(cr, 8, 42, 228, 182, 7);
  cairo_fill(cr);
  SetColour(cr, kWhite);
  RoundedRect(cr, 5.5, 39.5, 228, 182, 7);
  cairo_fill_preserve(cr);
  SetColour(cr, kLilac);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);

  DrawBeadRow(cr, 120, 246, 28, 7, 2.2);
  SetColour(cr, kPlum);
  cairo_rectangle(cr, 0.5, 0.5, 239, 267);
  cairo_stroke(cr);
  return canvas;
}

Canvas CalendarBackground() {
  Canvas canvas(240, 268, kPaper);
  cairo_t* cr = canvas.cr();
  // The navigation bar.
  cairo_pattern_t* bar = cairo_pattern_create_linear(0, 0, 0, 28);
  cairo_pattern_add_color_stop_rgb(bar, 0, 0.56, 0.36, 0.70);
  AddStop(bar, 1, kPlum);
  cairo_rectangle(cr, 0, 0, 240, 28);
  cairo_set_source(cr, bar);
  cairo_fill(cr);
  cairo_pattern_destroy(bar);
  FillRect(cr, 0, 28, 240, 1, kPlumDeep);

  // Each tap zone looks like the button it is.
  auto glyph = [cr](double cx, double cy, int direction, int count) {
    SetColour(cr, kInk);
    const double start = cx - 2.5 * count;
    for (int i = 0; i < count; ++i) {
      const double left = start + 5 * i;
      const double tip = direction > 0 ? left + 5 : left;
      const double base = direction > 0 ? left : left + 5;
      cairo_move_to(cr, tip, cy);
      cairo_line_to(cr, base, cy - 4.5);
      cairo_line_to(cr, base, cy + 4.5);
      cairo_close_path(cr);
    }
    cairo_fill(cr);
  };
  CyanFace(cr, 4, 5, 18, 19);  // year back
  glyph(13, 14.5, -1, 2);
  CyanFace(cr, 24, 8, 13, 14);  // month back
  glyph(30.5, 15, -1, 1);
  CyanFace(cr, 39, 5, 43, 19);  // this month
  Text(cr, "Today", {"DejaVu Sans Condensed", 10, true}, 60.5, 18, kBlack, Align::kCentre);
  BlueFace(cr, 84, 5, 75, 19);   // the month title's plate
  CyanFace(cr, 161, 5, 43, 19);  // leave
  Text(cr, "Done", {"DejaVu Sans Condensed", 10, true}, 182.5, 18, kBlack, Align::kCentre);
  CyanFace(cr, 206, 8, 13, 14);  // month forward
  glyph(212.5, 15, 1, 1);
  CyanFace(cr, 221, 5, 18, 19);  // year forward
  glyph(230, 14.5, 1, 2);

  DrawBeadRow(cr, 120, 39, 28, 7, 2.2);
  // Weekday names over the seven 34-pixel columns, Sunday first.
  FillRect(cr, 0, 50, 240, 20, kLilacPale);
  FillRect(cr, 0, 50, 240, 1, kLilac);
  const char* days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  for (int i = 0; i < 7; ++i) {
    Text(cr, days[i], {"DejaVu Sans Condensed", 10, true}, i * 34 + 17, 64,
         i == 0 ? kRoseDeep : kPlumDeep, Align::kCentre);
  }
  // The grid's own colour, which the screen paints over anyway.
  FillRect(cr, 0, 70, 240, 198, kGridGrey);
  return canvas;
}

Canvas HelpFrame(const Canvas& background) {
  Canvas canvas = background.Crop(kFrameX, kFrameY, 234, 239);
  cairo_t* cr = canvas.cr();
  // The help text's cyan static covers the inside from (2, 2) to (212, 236); the frame shows
  // round it, with the day beads running down the right-hand margin.
  SetColour(cr, kPlum, 0.25);
  RoundedRect(cr, 1, 1, 233, 238, 8);
  cairo_fill(cr);
  SetColour(cr, kPaper);
  RoundedRect(cr, 0.5, 0.5, 231, 236, 8);
  cairo_fill_preserve(cr);
  SetColour(cr, kPlum);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  SetColour(cr, kLilac);
  RoundedRect(cr, 2.5, 2.5, 227, 232, 6);
  cairo_stroke(cr);
  cairo_save(cr);
  cairo_translate(cr, 222, 118);
  cairo_rotate(cr, M_PI / 2);
  DrawBeadRow(cr, 0, 0, 28, 7.8, 2.2);
  cairo_restore(cr);
  return canvas;
}

}  // namespace art
