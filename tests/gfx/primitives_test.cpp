// Drawing primitives and the dot-matrix text, compared pixel by pixel on small buffers.
#include <string>

#include "gfx/dot_font.h"
#include "gfx/primitives.h"
#include "gfx_test_util.h"

namespace {

using gfx_test::Picture;
using Rows = std::vector<std::string>;

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
  PutPixel(b, 2, 3, 7);
  PutPixel(b, -1, 0, 7);
  PutPixel(b, 0, 4, 7);
  EXPECT_EQ(b.At(2, 3), 7);

  // Vertical runs step by the stride of padded buffers too.
  CDibGraphicBuffer dib(3, 3);
  DrawVLine(dib, {1, 0}, 3, 200);
  EXPECT_EQ(Picture(dib), (Rows{".#.", ".#.", ".#."}));
  DrawHLine(dib, {INT32_MAX - 1, 0}, INT32_MAX, 200);
  DrawHLine(dib, {INT32_MIN, 2}, INT32_MAX, 200);
  EXPECT_EQ(Picture(dib), (Rows{".#.", ".#.", ".#."}));
}

TEST(GfxDrawLine, StepsTheMinorCoordinateAtOnceOnATie) {
  EXPECT_EQ(Line(3, 2, 0, 0, 2, 1), (Rows{"#..",  //
                                          ".##"}));
  EXPECT_EQ(Line(5, 2, 0, 0, 4, 1), (Rows{"##...",  //
                                          "..###"}));
  // Drawn the other way the ties fall the other way, as the stepping rule says.
  EXPECT_EQ(Line(3, 2, 2, 1, 0, 0), (Rows{"##.",  //
                                          "..#"}));
  EXPECT_EQ(Line(2, 3, 0, 0, 1, 2), (Rows{"#.",  //
                                          ".#",  //
                                          ".#"}));
}

TEST(GfxDrawLine, PlotsEveryPixelBetweenItsEndsOnce) {
  EXPECT_EQ(Line(3, 3, 1, 1, 1, 1), (Rows{"...", ".#.", "..."}));
  EXPECT_EQ(Line(4, 4, 0, 0, 3, 3), (Rows{"#...", ".#..", "..#.", "...#"}));
  EXPECT_EQ(Line(4, 4, 3, 0, 0, 3), (Rows{"...#", "..#.", ".#..", "#..."}));
  EXPECT_EQ(Line(4, 2, 3, 1, 0, 1), (Rows{"....", "####"}));
  EXPECT_EQ(Line(2, 3, 1, 2, 1, 0), (Rows{".#", ".#", ".#"}));

  // Each pixel once: drawing with an adding colour would show a pixel hit twice.
  GraphicBuffer b(5, 5);
  DrawLine(b, 0, 4, 4, 0, 1);
  int lit = 0;
  for (uint16_t v : gfx_test::PixelValues(b)) lit += v;
  EXPECT_EQ(lit, 5);
}

TEST(GfxDrawLine, LeavesOutWhatFallsOffTheBuffer) {
  EXPECT_EQ(Line(4, 3, -2, -2, 5, 5), (Rows{"#...", ".#..", "..#."}));
  EXPECT_EQ(Line(3, 3, -5, 1, 10, 1), (Rows{"...", "###", "..."}));
  EXPECT_EQ(Line(3, 3, -5, -1, -1, 9), (Rows{"...", "...", "..."}));
}

Rows Disc(int32_t w, int32_t h, int32_t cx, int32_t cy, int32_t r) {
  GraphicBuffer b(w, h);
  FillCircle(b, {cx, cy}, r, 6000);
  return Picture(b);
}

TEST(GfxFillCircle, DrawsTheMidpointDiscInSpans) {
  EXPECT_EQ(Disc(5, 5, 2, 2, 0), (Rows{".....", ".....", ".....", ".....", "....."}));
  EXPECT_EQ(Disc(5, 5, 2, 2, -3), (Rows{".....", ".....", ".....", ".....", "....."}));
  EXPECT_EQ(Disc(5, 5, 2, 2, 1), (Rows{".....", ".....", ".##..", ".....", "....."}));
  EXPECT_EQ(Disc(5, 5, 2, 2, 2), (Rows{".##..",  //
                                       "####.",  //
                                       "####.",  //
                                       "####.",  //
                                       ".##.."}));
}

TEST(GfxFillCircle, LosesWholeSpanGroupsNearAnEdge) {
  // Radius 4 three pixels from the left edge: the groups reaching 4 out (the rows cy - 1 to
  // cy + 1 and cy +- 4) are left out whole; those reaching 3 are drawn in full.
  EXPECT_EQ(Disc(9, 9, 3, 4, 4), (Rows{".........",  //
                                       "######...",  //
                                       "######...",  //
                                       ".........",  //
                                       ".........",  //
                                       ".........",  //
                                       "######...",  //
                                       "######...",  //
                                       "........."}));
  // Every group of radius 2 reaches 2 out, so one pixel from an edge nothing is left.
  EXPECT_EQ(Disc(5, 5, 1, 2, 2), (Rows{".....", ".....", ".....", ".....", "....."}));
  EXPECT_EQ(Disc(5, 5, 2, 3, 2), (Rows{".....", ".....", ".....", ".....", "....."}));
  // Entirely off the buffer, or too big for it.
  EXPECT_EQ(Disc(3, 3, -10, 1, 2), (Rows{"...", "...", "..."}));
  EXPECT_EQ(Disc(3, 3, 1, 1, 1000000000), (Rows{"...", "...", "..."}));
}

// The glyph's picture as the font table gives it, for an 8-wide cell.
Rows GlyphRows(const char16_t* const (&rows)[7]) {
  Rows out;
  for (const char16_t* r : rows) {
    std::string row(8, '.');
    for (int c = 0; r[c]; ++c) row[c] = r[c] == u'o' ? '#' : '.';
    out.push_back(row);
  }
  return out;
}

Rows Text(int32_t w, int32_t h, const char16_t* text, int32_t x = 0, int32_t y = 0) {
  GraphicBuffer b(w, h);
  DrawDotText(b, text, x, y, 200);
  return Picture(b);
}

TEST(GfxDotText, DrawsTheGlyphTable) {
  EXPECT_EQ(Text(8, 7, u"a"), GlyphRows({u"oooo:::", u"oo:oo::", u"oo::oo:", u"oo:::oo", u"ooooooo",
                                         u"oo:::oo", u"oo:::oo"}));
  EXPECT_EQ(Text(8, 7, u"0"), GlyphRows({u":ooooo:", u"oo:::oo", u"oo:::oo", u":::::::", u"oo:::oo",
                                         u"oo:::oo", u":ooooo:"}));
}

TEST(GfxDotText, UpperCaseUsesLowerCaseGlyphsAndUnknownCodesAreBlank) {
  EXPECT_EQ(Text(40, 7, u"Visit"), Text(40, 7, u"visit"));
  EXPECT_EQ(Text(8, 7, u"S"), Text(8, 7, u"s"));
  const Rows blank(7, std::string(8, '.'));
  for (const char16_t* t : {u"(", u")", u" ", u"\u00e9", u"\u20ac", u"\x7f"}) {
    EXPECT_EQ(Text(8, 7, t), blank);
  }
  // Unknown characters still move the pen on.
  EXPECT_EQ(Text(24, 7, u"(a)"), Text(24, 7, u" a "));
  GraphicBuffer b(240, 10);
  EXPECT_EQ(DrawDotText(b, u"1.02", 98, 0, 200), 130);
  EXPECT_EQ(DrawDotText(b, u"\u20ac\u20ac", 0, 0, 200), 16);
  EXPECT_EQ(DrawDotText(b, u"", 5, 0, 200), 5);
}

TEST(GfxDotText, LineBreaksSendTheRestOffTheScreen) {
  GraphicBuffer b(240, 7);
  EXPECT_EQ(DrawDotText(b, u"a\nbc", 0, 0, 200), 416);
  EXPECT_EQ(Picture(b), Text(240, 7, u"a"));
  EXPECT_EQ(DrawDotText(b, u"a\rb", 0, 0, 200), 408);
  // A buffer wide enough shows where the rest went.
  GraphicBuffer wide(410, 7);
  DrawDotText(wide, u"\nb", 0, 0, 200);
  EXPECT_EQ(wide.At(400, 0), 200);
}

TEST(GfxDotText, BackspaceStepsBackUnlessAtTheLeftEdge) {
  GraphicBuffer b(24, 7);
  EXPECT_EQ(DrawDotText(b, u"ab\bc", 0, 0, 200), 16);
  GraphicBuffer want(24, 7);
  DrawDotText(want, u"ab", 0, 0, 200);
  DrawDotText(want, u"c", 8, 0, 200);
  EXPECT_EQ(Picture(b), Picture(want));
  EXPECT_EQ(DrawDotText(b, u"\b\b", 2, 0, 200), 2);
  EXPECT_EQ(DrawDotText(b, u"\b", 3, 0, 200), -5);
}

TEST(GfxDotText, DotsOutsideTheBufferAreLeftOut) {
  // Shifted up and left by two, the '#' glyph (all lit) shows its lower right part.
  EXPECT_EQ(Text(8, 7, u"#", -2, -2), (Rows{"#####...",  //
                                            "#####...",  //
                                            "#####...",  //
                                            "#####...",  //
                                            "#####...",  //
                                            "........",  //
                                            "........"}));
  EXPECT_EQ(Text(4, 3, u"##", 2, 5), (Rows{"....", "....", "...."}));
  EXPECT_EQ(Text(4, 3, u"#", 2, 1), (Rows{"....", "..##", "..##"}));
}

}  // namespace
