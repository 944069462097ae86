// The contact sheet: every picture at twice its size with its id, size and role, and mock-ups
// of four screens composed from the pictures the way the screens will draw them, with the
// controls in their colours, so that the pictures can be judged together before the screens
// exist. Text in the mock-ups is DejaVu standing in for the program's Tahoma.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "artwork.h"
#include "gfx/dot_font.h"
#include "gfx/graphic_buffer.h"

namespace art {

namespace {

constexpr int kScale = 2;
constexpr int kMargin = 32;
constexpr int kSheetWidth = 4 * (240 * kScale + kMargin) + kMargin;
const Font kLabel{"DejaVu Sans", 15, true};
const Font kNote{"DejaVu Sans", 13};
// Stand-ins for the screens' fonts: 13-pixel bold Tahoma, 16-pixel bold Tahoma, the dialogs'
// 8-point System font and 16-pixel bold Courier New.
const Font kSmallBold{"DejaVu Sans Condensed", 10.5, true};
const Font kCaption{"DejaVu Sans Condensed", 12.5, true};
const Font kSystem{"DejaVu Sans", 10};
const Font kFixed{"DejaVu Sans Mono", 11.5, true};

void PasteScaled(Canvas& sheet, const Canvas& picture, int x, int y) {
  cairo_t* cr = sheet.cr();
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, kScale, kScale);
  cairo_set_source_surface(cr, picture.surface(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_rectangle(cr, 0, 0, picture.width(), picture.height());
  cairo_fill(cr);
  cairo_restore(cr);
}

// Text whose top edge is at y, as the screens place it.
void TopText(cairo_t* cr, const std::string& text, const Font& font, double x, double y,
             Rgb colour = kBlack) {
  Text(cr, text, font, x, y + std::round(font.size * 0.95), colour);
}

void HLine(cairo_t* cr, int x, int y, int length) {
  FillRect(cr, x, y, length, 1, kInk);
}

// A static or button the way the dialogs colour them: a cyan or blue brush, text on top.
void Control(cairo_t* cr, int x, int y, int w, int h, const std::string& text, bool title,
             bool button, const Font& font, bool centred = true) {
  FillRect(cr, x, y, w, h, title ? kBlue : kCyan);
  if (button) {
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
    cairo_stroke(cr);
  }
  const double tw = TextWidth(cr, text, font);
  const double tx = centred ? x + (w - tw) / 2 : x + 2;
  Text(cr, text, font, tx, y + h / 2.0 + font.size * 0.36, title ? kWhite : kBlack);
}

void MenuBar(cairo_t* cr) {
  FillRect(cr, 0, 268, 240, 26, kPlumDeep);
  FillRect(cr, 0, 268, 240, 1, kPlum);
  const char* names[] = {"Main", "Tools", "Help"};
  for (int i = 0; i < 3; ++i) {
    Text(cr, names[i], {"DejaVu Sans Condensed", 11, true}, i * 48 + 24, 285, kWhite,
         Align::kCentre);
  }
}

const Canvas& Get(const std::map<int, Picture>& pictures, int id) {
  return pictures.at(id).canvas;
}

// The Cycle View showing a 28-day cycle from 20 January 2004 with a 5-day period.
Canvas CycleViewMockup(const std::map<int, Picture>& pictures) {
  Canvas screen(240, 294);
  cairo_t* cr = screen.cr();
  screen.Paste(Get(pictures, 290), 0, 0);
  screen.Paste(Get(pictures, 326), 5, 0);
  screen.Paste(Get(pictures, 325), 5, 254);
  screen.Paste(Get(pictures, 338), 5, 14);
  const int length = 28, period = 5, split = 31 - 20;
  const int p = 268 / length;
  const double limit = length - (268.0 / length - p) * length;
  screen.Paste(Get(pictures, 340), 45, 0);
  HLine(cr, 45, 267, 35);
  HLine(cr, 45, 0, 35);
  int y = 0, y_period = p, y_ov_start = p, y_ov_end = p;
  for (int k = 0; k < length; ++k) {
    HLine(cr, 45, y, 20);
    y += k <= static_cast<int>(limit) ? p : p + 1;
    if (k == split) {
      if (y > 14 && y < 254) screen.Paste(Get(pictures, 339).Crop(0, 0, 14, y - 14), 5, 14);
      HLine(cr, 5, y, 40);
    }
    if (k == period - 1) y_period = y - 6;
    if (k == length / 2 - 2) {
      HLine(cr, 45, y, 30);
      y_ov_start = y - 6;
    }
    if (k == length / 2 + 4) {
      HLine(cr, 45, y, 30);
      y_ov_end = y - 6;
    }
  }
  HLine(cr, 45, y_period + 6, 30);
  // The work bitmaps are one row taller than what is copied into them; their last row stays
  // black and closes the bar.
  const int h = y_ov_end - y_ov_start;
  Canvas ovulation(8, h, kBlack);
  ovulation.Paste(Get(pictures, 342).Crop(0, 0, 8, h - 1), 0, 0);
  screen.Paste(ovulation, 65, y_ov_start + 7);
  Canvas period_bar(8, y_period + 6, kBlack);
  period_bar.Paste(Get(pictures, 341).Crop(0, 0, 8, y_period + 5), 0, 0);
  screen.Paste(period_bar, 65, 1);

  for (const auto& [name, top] : {std::pair{"Jan", 26}, std::pair{"Feb", 260}}) {
    cairo_save(cr);
    cairo_translate(cr, 22, top);
    cairo_rotate(cr, -M_PI / 2);
    TopText(cr, name, kSmallBold, 0, 0);
    cairo_restore(cr);
  }
  TopText(cr, "Start", kSmallBold, 80, 0);
  TopText(cr, "1/20/04", kSmallBold, 120, 0);
  TopText(cr, "Period  5  days", kSmallBold, 80, y_period / 2);
  TopText(cr, "End", kSmallBold, 80, y_period);
  TopText(cr, "1/24/04", kSmallBold, 120, y_period);
  TopText(cr, "Start", kSmallBold, 80, y_ov_start);
  TopText(cr, "2/1/04", kSmallBold, 120, y_ov_start);
  TopText(cr, "Ovulation", kSmallBold, 80, (y_ov_start + y_ov_end) / 2);
  TopText(cr, "End", kSmallBold, 80, y_ov_end);
  TopText(cr, "2/6/04", kSmallBold, 120, y_ov_end);
  TopText(cr, "Length", kSmallBold, 196, 235);
  TopText(cr, "End", kSmallBold, 80, 252);
  TopText(cr, "2/16/04", kSmallBold, 120, 252);
  TopText(cr, "28", kSmallBold, 215, 252);
  Control(cr, 187, 1, 52, 17, "Add", false, true, kSystem);
  Control(cr, 187, 26, 52, 17, "Edit", false, true, kSystem);
  MenuBar(cr);
  return screen;
}

// The calendar for November 2003, opened from the menu (day icons on), today the 6th.
Canvas CalendarMockup(const std::map<int, Picture>& pictures) {
  Canvas screen(240, 294);
  cairo_t* cr = screen.cr();
  screen.Paste(Get(pictures, 279), 0, 0);
  Control(cr, 84, 5, 75, 19, "Nov 2003", true, false, {"DejaVu Sans", 13});
  const int first = 7, days = 30, rows = (days + first + 5) / 7;
  const int cw = 240 / 7, rh = 198 / rows;
  FillRect(cr, 0, 70, 240, 198, kGridGrey);
  const Canvas& strip = Get(pictures, 345);
  for (int d = 1; d <= days; ++d) {
    const int index = first + d - 2;
    const int left = (index % 7) * cw + 1, top = 70 + (index / 7) * rh + 1;
    const int right = left + cw - 2, bottom = top + rh - 2;
    const bool today = d == 6;
    FillRect(cr, left, top, right - left, bottom - top, today ? kBlue : kCellGrey);
    char number[4];
    std::snprintf(number, sizeof number, "%2d", d);
    TopText(cr, number, kSystem, left + 2, top, today ? kWhite : kBlack);
    auto icon = [&](int i, int x, int y) { screen.Paste(strip.Crop(16 * i, 0, 16, 16), x, y); };
    if (d >= 3 && d <= 7) icon(d == 4 || d == 5 ? (d == 4 ? 2 : 1) : 0, right - 16, top);
    if (d <= 21) icon(4, right - 16, bottom - 16);
    if (d == 14 || d == 27) icon(3, left, bottom - 16);
  }
  MenuBar(cr);
  return screen;
}

Canvas CycleHistoryMockup(const std::map<int, Picture>& pictures) {
  Canvas screen(240, 294);
  cairo_t* cr = screen.cr();
  screen.Paste(Get(pictures, 311), 0, 0);
  Control(cr, 78, 3, 87, 17, "Cycle History", true, false, kCaption);
  Control(cr, 17, 28, 70, 17, "Start date", false, false, kCaption, false);
  Control(cr, 126, 28, 87, 17, "Cycle length", false, false, kCaption, false);
  FillRect(cr, 14, 54, 217, 152, kInk);
  FillRect(cr, 15, 55, 215, 150, kWhite);
  FillRect(cr, 216, 55, 14, 150, kGridGrey);
  FillRect(cr, 217, 70, 12, 40, kCellGrey);
  const char* lines[] = {"9/2/03          29", "10/1/03         27", "10/28/03        30",
                         "11/27/03        28", "12/25/03        26", "1/20/04         N/A"};
  for (int i = 0; i < 6; ++i) {
    const int top = 56 + i * 16;
    if (i == 3) FillRect(cr, 15, top, 201, 16, kBlue);
    TopText(cr, lines[i], kFixed, 17, top + 1, i == 3 ? kWhite : kBlack);
  }
  Control(cr, 17, 215, 140, 17, "Average cycle length", false, false, kCaption, false);
  Control(cr, 164, 215, 26, 17, "28", false, false, kCaption);
  Control(cr, 199, 215, 38, 15, "days", false, false, kCaption, false);
  Control(cr, 10, 239, 68, 17, "Add", false, true, kSystem);
  Control(cr, 87, 239, 68, 17, "Delete", false, true, kSystem);
  Control(cr, 164, 239, 68, 17, "Delete All", false, true, kSystem);
  MenuBar(cr);
  return screen;
}

// The About screen a few steps into its animation, its dot-matrix texts drawn by the
// program's own font routine.
Canvas AboutMockup(const std::map<int, Picture>& pictures) {
  Canvas screen(240, 294);
  screen.Paste(Get(pictures, 290), 0, 0);
  const Canvas& emblem = Get(pictures, 266);
  const Rgb key = emblem.Pixel(1, 1);
  for (int y = 0; y < emblem.height(); ++y) {
    for (int x = 0; x < emblem.width(); ++x) {
      const Rgb c = emblem.Pixel(x, y);
      if (c.r != key.r || c.g != key.g || c.b != key.b) screen.SetPixel(50 + x, 130 + y, c);
    }
  }
  screen.Paste(Get(pictures, 296).Crop(4 * 32, 0, 32, 32), 180, 30);
  screen.Paste(Get(pictures, 314), 110, 230);

  GraphicBuffer buffer(240, 268);
  auto to565 = [](Rgb c) {
    return static_cast<uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
  };
  for (int y = 0; y < 268; ++y) {
    for (int x = 0; x < 240; ++x) buffer.At(x, y) = to565(screen.Pixel(x, y));
  }
  DrawDotText(buffer, u"Calvira", 100, 40, 200);
  DrawDotText(buffer, u"2.10", 98, 50, 200);
  DrawDotText(buffer, u"Visit", 95, 90, 65000);
  DrawDotText(buffer, u"calvira.example.org", 30, 100, 65000);
  DrawDotText(buffer, u"your data stays here", 43, 180, 200);
  for (int y = 0; y < 268; ++y) {
    for (int x = 0; x < 240; ++x) {
      const uint16_t v = buffer.At(x, y);
      screen.SetPixel(x, y,
                      Through565({static_cast<uint8_t>((v >> 11) << 3),
                                  static_cast<uint8_t>(((v >> 5) & 63) << 2),
                                  static_cast<uint8_t>((v & 31) << 3)}));
    }
  }
  MenuBar(screen.cr());
  return screen;
}

struct Placed {
  int id;
  int x, y;
};

}  // namespace

Canvas ContactSheet(const std::map<int, Picture>& pictures) {
  // Lay the pictures out in rows, widest first, then the mock-ups.
  std::vector<int> order = {287, 290, 337, 279, 311, 322, 294, 309, 296, 334, 266, 314, 343,
                            345, 329, 331, 346, 325, 326, 340, 338, 339, 342, 341, 349};
  std::vector<Placed> placed;
  int x = kMargin, y = 96, row_height = 0;
  for (int id : order) {
    const Canvas& c = Get(pictures, id);
    const int w = std::max(c.width() * kScale, 150), h = c.height() * kScale + 48;
    if (x + w > kSheetWidth - kMargin) {
      x = kMargin;
      y += row_height + kMargin;
      row_height = 0;
    }
    placed.push_back({id, x, y});
    x += w + kMargin;
    row_height = std::max(row_height, h);
  }
  const int mockups_top = y + row_height + kMargin + 40;
  const int height = mockups_top + 294 * kScale + 80;

  Canvas sheet(kSheetWidth, height, {236, 236, 240});
  cairo_t* cr = sheet.cr();
  Text(cr, "Calvira artwork: every packed picture at 2x", {"DejaVu Sans", 26, true}, kMargin, 48,
       kPlumDeep);
  Text(cr,
       "Drawn by tools/artwork (make artwork). Cyan (0, 255, 255) is the transparent colour of "
       "buttons and sprites; 266 is keyed on its own pixel (1, 1).",
       kNote, kMargin, 74, kInk);
  for (const Placed& p : placed) {
    const Picture& picture = pictures.at(p.id);
    PasteScaled(sheet, picture.canvas, p.x, p.y);
    const std::string label = std::to_string(p.id) + "  " + std::to_string(picture.canvas.width()) +
                              " x " + std::to_string(picture.canvas.height());
    const int below = p.y + picture.canvas.height() * kScale;
    Text(cr, label, kLabel, p.x, below + 20, kBlack);
    Text(cr, picture.role, kNote, p.x, below + 38, kInk);
  }

  Text(cr, "Mock-ups at 2x: Cycle View, calendar, Cycle History, About (with the menu bar)",
       {"DejaVu Sans", 20, true}, kMargin, mockups_top - 16, kPlumDeep);
  const Canvas mockups[] = {CycleViewMockup(pictures), CalendarMockup(pictures),
                            CycleHistoryMockup(pictures), AboutMockup(pictures)};
  for (int i = 0; i < 4; ++i) {
    PasteScaled(sheet, mockups[i], kMargin + i * (240 * kScale + kMargin), mockups_top);
  }
  return sheet;
}

}  // namespace art
