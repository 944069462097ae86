// A Cairo image surface with the few operations the pictures need, and the step that makes a
// finished picture exactly what the program will show: every pixel rounded to RGB 5-6-5 and
// back, so the committed PNG and the packed image hold the same colours.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>

#include "palette.h"

namespace art {

class Canvas {
 public:
  Canvas(int width, int height, Rgb fill = kPaper);
  Canvas(Canvas&&) noexcept = default;
  Canvas& operator=(Canvas&&) noexcept = default;

  int width() const { return width_; }
  int height() const { return height_; }
  cairo_t* cr() const { return cr_.get(); }
  cairo_surface_t* surface() const { return surface_.get(); }

  Rgb Pixel(int x, int y) const;
  void SetPixel(int x, int y, Rgb colour);
  bool SameAt(int x, int y, const Canvas& other, int ox, int oy) const;

  // A copy of the rectangle (x, y, w, h).
  Canvas Crop(int x, int y, int w, int h) const;
  // Paints `source` with its top-left corner at (x, y), no scaling.
  void Paste(const Canvas& source, int x, int y);
  // Rounds every pixel to the colours RGB 5-6-5 can hold.
  void Quantize();
  bool WritePng(const std::string& path) const;

 private:
  struct SurfaceFree {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
  };
  struct ContextFree {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
  };
  int width_;
  int height_;
  std::unique_ptr<cairo_surface_t, SurfaceFree> surface_;
  std::unique_ptr<cairo_t, ContextFree> cr_;
};

// 8-bit channel -> 5- or 6-bit -> 8-bit, the round trip a pixel makes on its way to the screen.
Rgb Through565(Rgb c);
Rgb Mix(Rgb a, Rgb b, double t);  // t = 0 gives a, 1 gives b

// Drawing helpers over a Cairo context.
void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void FillRect(cairo_t* cr, double x, double y, double w, double h, Rgb c);
// A gradient's colour stop in a palette colour.
void AddStop(cairo_pattern_t* pattern, double offset, Rgb c);

enum class Align { kLeft, kCentre, kRight };
struct Font {
  const char* family = "DejaVu Sans";
  double size = 11;
  bool bold = false;
  bool italic = false;
};
// Draws one line with its baseline at y; returns the advance width.
double Text(cairo_t* cr, const std::string& text, const Font& font, double x, double y, Rgb colour,
            Align align = Align::kLeft);
double TextWidth(cairo_t* cr, const std::string& text, const Font& font);

// A control face in the program's style: flat fill, a 1-pixel lighter edge top and left, a
// 1-pixel darker edge bottom and right, and a 1-pixel ink outline. Whole-pixel coordinates.
void ControlFace(cairo_t* cr, int x, int y, int w, int h, Rgb face, Rgb light, Rgb dark);
void CyanFace(cairo_t* cr, int x, int y, int w, int h);
void BlueFace(cairo_t* cr, int x, int y, int w, int h);

}  // namespace art
