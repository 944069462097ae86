// The desktop icon: the mark on a plum rounded square, as PNGs for the icon theme's fixed sizes
// and as SVG for the scalable one. Unlike the program's pictures it keeps its alpha channel and
// its full colours: the desktop shows it, not the program's 5-6-5 screen.
#include <cairo-svg.h>

#include <cstdio>
#include <string>

#include "artwork.h"

namespace art {

namespace {

// Drawn on a 256-unit square; the margin leaves room for the shadow, as icon themes expect.
constexpr double kUnits = 256;

void DrawIcon(cairo_t* cr, double size) {
  cairo_scale(cr, size / kUnits, size / kUnits);
  // A soft shadow below and to the right: the light comes from the upper left.
  RoundedRect(cr, 14, 18, 232, 232, 48);
  SetColour(cr, kPlumDeep, 0.35);
  cairo_fill(cr);

  cairo_pattern_t* face = cairo_pattern_create_linear(12, 8, 244, 244);
  cairo_pattern_add_color_stop_rgb(face, 0, 0.62, 0.40, 0.76);
  AddStop(face, 0.5, kPlum);
  AddStop(face, 1, kPlumDeep);
  RoundedRect(cr, 10, 10, 232, 232, 48);
  cairo_set_source(cr, face);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(face);
  cairo_set_line_width(cr, 3);
  SetColour(cr, kPlumDeep);
  cairo_stroke(cr);

  DrawCycleRing(cr, 126, 126, 84, 11.5, true);
}

}  // namespace

bool WriteIcons(const std::filesystem::path& dir) {
  for (const int size : kIconSizes) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    DrawIcon(cr, size);
    cairo_destroy(cr);
    const std::string path = (dir / ("calvira-" + std::to_string(size) + ".png")).string();
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!written) {
      std::fprintf(stderr, "calvira-artwork: cannot write %s\n", path.c_str());
      return false;
    }
  }
  const std::string path = (dir / "calvira.svg").string();
  cairo_surface_t* svg = cairo_svg_surface_create(path.c_str(), kUnits, kUnits);
  // Icon themes read the size in pixels; Cairo would write points.
  cairo_svg_surface_set_document_unit(svg, CAIRO_SVG_UNIT_PX);
  cairo_t* cr = cairo_create(svg);
  DrawIcon(cr, kUnits);
  cairo_destroy(cr);
  cairo_surface_finish(svg);
  const bool written = cairo_surface_status(svg) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(svg);
  if (!written) std::fprintf(stderr, "calvira-artwork: cannot write %s\n", path.c_str());
  return written;
}

}  // namespace art
