// CDotFont: the built-in 8 x 7 dot-matrix font of the About screen, and DrawDotText, which
// writes one line of text with it. Unlit dots leave the buffer as it was.
#pragma once

#include <array>
#include <cstdint>

#include "gfx/graphic_buffer.h"

class CDotFont {
 public:
  static constexpr int kGlyphs = 54;
  static constexpr int kRows = 7;
  static constexpr int kColumns = 8;
  static constexpr int kBlankGlyph = 44;
  // The character at position i is drawn with glyph i.
  static constexpr const char16_t* kCharacterSet =
      u"abcdefghijklmnopqrstuvwxyz0123456789:!?-=+[] .,><#'@/S";

  explicit CDotFont(GraphicBuffer* target);

  void Bind(GraphicBuffer* target) { target_ = target; }
  GraphicBuffer* Target() const { return target_; }

  // The glyph drawn for a character code: upper-case letters take their lower-case glyphs, and
  // codes outside the font, those above 255 included, the blank one.
  int GlyphIndex(char16_t code) const;
  // The pattern of one glyph row: 'o' a lit dot, ':' an unlit one, column 0 first.
  const char16_t* Pattern(int glyph, int row) const { return rows_[glyph * kRows + row].data(); }

  // Draws the zero-terminated text into the target with the first cell's top-left corner at
  // (x, y) and returns the pen's final x. A line feed or carriage return moves the pen to x 400,
  // past the screen; a backspace moves it back by 8 unless it is at x 2 or less.
  int32_t Draw(const char16_t* text, int32_t x, int32_t y, uint16_t colour) const;

 private:
  std::array<std::array<char16_t, 10>, kGlyphs * kRows> rows_{};
  std::array<uint8_t, kGlyphs * kRows> lit_{};  // bit c set: column c of the row is lit
  std::array<int32_t, 256> map_{};
  GraphicBuffer* target_ = nullptr;
};

// The one font of the process, created on first use bound to the buffer given then.
CDotFont* GetDotFont(GraphicBuffer* buffer);

// Draws the text with the font into the buffer and returns the pen's final x.
int32_t DrawDotText(GraphicBuffer& buffer, const char16_t* text, int32_t x, int32_t y,
                    uint16_t colour);
