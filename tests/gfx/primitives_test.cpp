// Drawing primitives and the dot-matrix text, compared pixel by pixel on small buffers.
#include <tuple>

#include "gfx/dot_font.h"
#include "gfx/primitives.h"
#include "gfx_test_util.h"

namespace {

using gfx_test::Picture;
using gfx_test::Rows;

Rows Line(int32_t w, int32_t h, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  GraphicBuffer b(w, h);
  DrawLine(b, x0, y0, x1, y1, 200);
  return Picture(b);
}

TEST(GfxRuns, CoverTheirLengthAndAreCutToTheBuffer) {
  GraphicBuffer b(6, 4);
  DrawHLine(b, {1, 0}, 3, 200);
  DrawHLine(b, {4, 1}, 0, 200);          // length 0: nothing
  DrawHLine(b, {-2, 1}, 4, 200);         // cut on the left
  DrawHLine(b, {4, 2}, 9, 200);          // cut on the right
  DrawHLine(b, {0, 4}, 6, 200);          // below: nothing
  DrawVLine(b, {5, -1}, 3, 200);         // cut at the top
  DrawVLine(b, {0, 3}, 5, 200);          // cut at the bottom
  DrawVLine(b, {6, 0}, 4, 200);          // right of the buffer: nothing
  EXPECT_EQ(Picture(b), (Rows{".###.#",  //
                              "##...#",  //
                              "....##",  //
                              "#....."}));
  PutPixel(b, -1, 0, 7);  // off the buffer: nothing, and nothing written past it
  PutPixel(b, 0, 4, 7);

  // Vertical runs step by the stride of padded buffers too.
  CDibGraphicBuffer dib(3, 3);
  DrawVLine(dib, {1, 0}, 3, 200);
  EXPECT_EQ(Picture(dib), (Rows{".#.", ".#.", ".#."}));
  DrawHLine(dib, {INT32_MAX - 1, 0}, INT32_MAX, 200);
  DrawHLine(dib, {INT32_MIN, 2}, INT32_MAX, 200);
  EXPECT_EQ(Picture(dib), (Rows{".#.", ".#.", ".#."}));
}

// The temperature chart's one user: how a line looks is the screenshots'; here a line cut by
// the buffer's edges stays inside it.
TEST(GfxDrawLine, DrawsNothingOffTheBuffer) {
  EXPECT_EQ(Line(4, 3, -2, -2, 5, 5), (Rows{"#...", ".#..", "..#."}));
  EXPECT_EQ(Line(3, 3, -5, 1, 10, 1), (Rows{"...", "###", "..."}));
  EXPECT_EQ(Line(3, 3, -5, -1, -1, 9), (Rows{"...", "...", "..."}));
}

Rows Disc(int32_t w, int32_t h, int32_t cx, int32_t cy, int32_t r) {
  GraphicBuffer b(w, h);
  FillCircle(b, {cx, cy}, r, 6000);
  return Picture(b);
}

// The chart's dots, radius 2, are the Temp Charts pictures'; here nothing is drawn for no
// radius, off the buffer or for a radius that would overflow.
TEST(GfxFillCircle, DrawsNothingOutsideTheBuffer) {
  const Rows empty(5, ".....");
  for (const auto& [cx, cy, r] :
       {std::tuple{2, 2, 0}, {2, 2, -3}, {1, 2, 2}, {-10, 1, 2}, {1, 1, 1000000000}}) {
    EXPECT_EQ(Disc(5, 5, cx, cy, r), empty) << cx << "," << cy << " r " << r;
  }
}

Rows Text(int32_t w, int32_t h, const char16_t* text, int32_t x = 0, int32_t y = 0) {
  GraphicBuffer b(w, h);
  DrawDotText(b, text, x, y, 200);
  return Picture(b);
}

// The About screen's one user draws a few fixed strings; the glyphs are its look. What is kept:
// no dot outside the buffer wherever the pen goes (line breaks send it far right, a backspace
// left of zero) and whatever the text.
TEST(GfxDotText, NoDotLeavesTheBuffer) {
  GraphicBuffer b(240, 7);
  // (text, x, where the pen ends)
  const std::tuple<const char16_t*, int32_t, int32_t> moves[] = {
      {u"\u20ac\u20ac", 0, 16}, {u"a\rb", 0, 408}, {u"\b\b", 2, 2}, {u"\b", 3, -5}};
  for (const auto& [text, x, pen] : moves) EXPECT_EQ(DrawDotText(b, text, x, 0, 200), pen);
  // Shifted up and left by two, the '#' glyph (all lit) shows its lower right part.
  Rows corner(5, "#####...");
  corner.insert(corner.end(), 2, "........");
  EXPECT_EQ(Text(8, 7, u"#", -2, -2), corner);
  EXPECT_EQ(Text(4, 3, u"##", 2, 5), (Rows{"....", "....", "...."}));
  EXPECT_EQ(Text(4, 3, u"#", 2, 1), (Rows{"....", "..##", "..##"}));
  EXPECT_EQ(Text(8, 7, u"#", INT32_MIN, INT32_MAX), Rows(7, std::string(8, '.')));
}

}  // namespace
