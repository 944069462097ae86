#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace art {

namespace {

uint8_t Expand(unsigned value, unsigned max) {
  return static_cast<uint8_t>((value * 255u + max / 2) / max);
}

uint8_t Channel(uint8_t c, unsigned max) {
  return Expand((c * max + 127u) / 255u, max);
}

}  // namespace

Rgb Through565(Rgb c) {
  return {Channel(c.r, 31), Channel(c.g, 63), Channel(c.b, 31)};
}

Rgb Mix(Rgb a, Rgb b, double t) {
  auto m = [t](uint8_t x, uint8_t y) {
    return static_cast<uint8_t>(std::lround(x + (static_cast<double>(y) - x) * t));
  };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
      cr_(cairo_create(surface_.get())) {
  SetColour(cr(), fill);
  cairo_paint(cr());
}

Rgb Canvas::Pixel(int x, int y) const {
  cairo_surface_flush(surface());
  const unsigned char* row =
      cairo_image_surface_get_data(surface()) + y * cairo_image_surface_get_stride(surface());
  uint32_t v;
  std::memcpy(&v, row + x * 4, 4);
  return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

void Canvas::SetPixel(int x, int y, Rgb c) {
  cairo_surface_flush(surface());
  unsigned char* row =
      cairo_image_surface_get_data(surface()) + y * cairo_image_surface_get_stride(surface());
  const uint32_t v = 0xFF000000u | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
  std::memcpy(row + x * 4, &v, 4);
  cairo_surface_mark_dirty(surface());
}

bool Canvas::SameAt(int x, int y, const Canvas& other, int ox, int oy) const {
  const Rgb a = Pixel(x, y);
  const Rgb b = other.Pixel(ox, oy);
  return a.r == b.r && a.g == b.g && a.b == b.b;
}

Canvas Canvas::Crop(int x, int y, int w, int h) const {
  Canvas out(w, h);
  cairo_set_source_surface(out.cr(), surface(), -x, -y);
  cairo_paint(out.cr());
  return out;
}

void Canvas::Paste(const Canvas& source, int x, int y) {
  cairo_save(cr());
  cairo_set_source_surface(cr(), source.surface(), x, y);
  cairo_rectangle(cr(), x, y, source.width(), source.height());
  cairo_fill(cr());
  cairo_restore(cr());
}

void Canvas::Quantize() {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) SetPixel(x, y, Through565(Pixel(x, y)));
  }
}

bool Canvas::WritePng(const std::string& path) const {
  cairo_surface_flush(surface());
  return cairo_surface_write_to_png(surface(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void SetColour(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void FillRect(cairo_t* cr, double x, double y, double w, double h, Rgb c) {
  SetColour(cr, c);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

void AddStop(cairo_pattern_t* pattern, double offset, Rgb c) {
  cairo_pattern_add_color_stop_rgb(pattern, offset, c.r / 255.0, c.g / 255.0, c.b / 255.0);
}

namespace {

void UseFont(cairo_t* cr, const Font& font) {
  cairo_select_font_face(cr, font.family,
                         font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                         font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, font.size);
  // Hinted metrics move glyphs to whole pixels: crisper at 1:1, which is how they are seen.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

}  // namespace

double TextWidth(cairo_t* cr, const std::string& text, const Font& font) {
  UseFont(cr, font);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text.c_str(), &extents);
  return extents.x_advance;
}

double Text(cairo_t* cr, const std::string& text, const Font& font, double x, double y, Rgb colour,
            Align align) {
  const double width = TextWidth(cr, text, font);
  if (align == Align::kCentre) x -= width / 2;
  if (align == Align::kRight) x -= width;
  SetColour(cr, colour);
  cairo_move_to(cr, std::round(x), y);
  cairo_show_text(cr, text.c_str());
  cairo_new_path(cr);
  return width;
}

void ControlFace(cairo_t* cr, int x, int y, int w, int h, Rgb face, Rgb light, Rgb dark) {
  FillRect(cr, x, y, w, h, kInk);
  FillRect(cr, x + 1, y + 1, w - 2, h - 2, dark);
  FillRect(cr, x + 1, y + 1, w - 3, h - 3, light);
  FillRect(cr, x + 2, y + 2, w - 4, h - 4, face);
}

void CyanFace(cairo_t* cr, int x, int y, int w, int h) {
  ControlFace(cr, x, y, w, h, kCyan, kCyanLight, kCyanDark);
}

void BlueFace(cairo_t* cr, int x, int y, int w, int h) {
  ControlFace(cr, x, y, w, h, kBlue, kBlueLight, kBlueDark);
}

}  // namespace art
