// Text for the window system: faces found through fontconfig, drawn with FreeType, smoothed
// (anti-aliased) and blended into 16-bit RGB 5-6-5 pixels.
//
// Face names keep their meaning from the handheld: "Tahoma" is Tahoma where installed, else
// Wine's metric-compatible Tahoma, else DejaVu Sans; "Courier New" is Liberation Mono (metric-
// compatible), else DejaVu Sans Mono; "System" and an empty name are the dialog font, resolved
// as "Tahoma". Heights keep their LOGFONT meaning: positive = cell height (ascent + descent),
// negative = character height (the em), 0 = a 12-pixel cell.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/geometry.h"

namespace ce::fonts {

// A block of pixels to draw into; `stride` is in bytes.
struct Surface {
  uint16_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t stride = 0;
};

struct FontSpec {
  std::u16string face;
  int32_t height = 0;
  int32_t weight = 400;  // 700 and above picks a bold face
  bool italic = false;
  int32_t escapement = 0;  // tenths of a degree; 900 turns the text to read upwards
};

class Font {
 public:
  // Never fails while any font is installed: an unknown face falls back as described above.
  // Returns null only when fontconfig finds no font at all.
  static std::unique_ptr<Font> Open(const FontSpec& request);
  virtual ~Font() = default;

  virtual const std::string& File() const = 0;  // the font file in use
  virtual const FontSpec& Spec() const = 0;
  virtual int32_t CellHeight() const = 0;  // ascent + descent
  virtual int32_t Ascent() const = 0;
  virtual int32_t Descent() const = 0;
  virtual int32_t InternalLeading() const = 0;  // cell height minus the em
  virtual int32_t AverageWidth() const = 0;
  virtual int32_t MaxWidth() const = 0;
  // The pen's advance over the text, in whole pixels, as Draw places the glyphs.
  virtual int32_t Advance(std::u16string_view text) const = 0;

  // Draws the text in `colour` with the top-left corner of its cell at (x, y), blending each
  // glyph's coverage into the surface, only inside the clip rectangles (which must not
  // overlap). A turned font (escapement 900) draws the same text rotated 90 degrees
  // anticlockwise about (x, y): it reads upwards from y and its cell extends to the right of x.
  virtual void Draw(const Surface& surface, std::span<const RECT> clip, int32_t x, int32_t y,
                    std::u16string_view text, uint16_t colour) const = 0;
};

}  // namespace ce::fonts
