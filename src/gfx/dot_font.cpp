#include "gfx/dot_font.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int32_t kLineBreakX = 400;

// clang-format off
constexpr const char16_t* kGlyphRows[CDotFont::kGlyphs][CDotFont::kRows] = {
    {u"oooo:::", u"oo:oo::", u"oo::oo:", u"oo:::oo", u"ooooooo", u"oo:::oo", u"oo:::oo"},  // 0 a
    {u"ooooo:::", u"ooo:oo::", u":oo::::", u"oooooo::", u"ooo::oo:", u"ooo:::oo", u"ooooooo:"},  // 1 b
    {u"::ooooo", u":oo::::", u"ooo:::::", u"ooo:::::", u"ooo:::::", u"ooo:::::", u":oooooo"},  // 2 c
    {u"ooooo:::", u"ooo:oo::", u"ooo::oo:", u"ooo:::oo", u"ooo:::oo", u"ooo:::oo", u"ooooooo:"},  // 3 d
    {u"oooooooo", u"ooo:::::", u"ooo:::::", u"oooooooo", u"ooo:::::", u"ooo:::::", u"oooooooo"},  // 4 e
    {u"oooooooo", u"ooo:::::", u"ooo:::::", u"oooooo::", u"ooo:::::", u"ooo:::::", u"ooo:::::"},  // 5 f
    {u"::oooo:", u":oo::::", u"ooo:::::", u"ooo:oooo", u"ooo:::oo", u"ooo:::oo", u":oooooo"},  // 6 g
    {u"ooo::::o", u"ooo::::o", u"ooo::::o", u"oooooooo", u"ooo::::o", u"ooo::::o", u"ooo::::o"},  // 7 h
    {u"::oooo:", u":::oo::", u":::oo::", u":::oo::", u":::oo::", u":::oo::", u"::oooo:"},  // 8 i
    {u"::ooooo", u":::::oo", u":::::oo", u":::::oo", u"ooo:::oo", u":oo:oo:", u"::ooo::"},  // 9 j
    {u"ooo::oo:", u"ooo:oo::", u"ooooo:::", u"oooo::::", u"oooooo::", u"ooo::oo:", u"ooo:::oo"},  // 10 k
    {u"ooo:::::", u"ooo:::::", u"ooo:::::", u"ooo:::::", u"ooo:::::", u"ooo:::::", u"oooooooo"},  // 11 l
    {u"oo:::::o", u"ooo:::oo", u"oooo:ooo", u"oooooooo", u"ooo:o:oo", u"ooo:::oo", u"ooo:::oo"},  // 12 m
    {u"ooo:::oo", u"oooo::oo", u"ooooo:oo", u"ooo:oooo", u"ooo::ooo", u"ooo:::oo", u"ooo:::oo"},  // 13 n
    {u"::ooo::", u":oo:oo:", u"ooo:::oo", u"ooo:::oo", u"ooo:::oo", u"ooo:::oo", u":ooooo:"},  // 14 o
    {u"oooooo::", u"ooo::oo:", u"ooo:::oo", u"ooo:::oo", u"ooooooo:", u"ooo:::::", u"ooo:::::"},  // 15 p
    {u"::ooo::", u":oo:oo:", u"oo:::oo", u"oo:o:oo", u"oo:oooo", u"oo::oo:", u":ooo:oo"},  // 16 q
    {u"ooooo::", u"oo::oo:", u"oo:::oo", u"oooooo:", u"oo:oo::", u"oo::oo:", u"oo:::oo"},  // 17 r
    {u"::ooooo", u":oo::::", u"oo:::::", u"ooooooo", u":::::oo", u"::::oo:", u"ooooo::"},  // 18 s
    {u"ooooooo", u":::oo::", u":::oo::", u":::oo::", u":::oo::", u":::oo::", u":::oo::"},  // 19 t
    {u"oo:::oo", u"oo:::oo", u"oo:::oo", u"oo:::oo", u"oo:::oo", u"oo::oo:", u":oooo::"},  // 20 u
    {u"oo:::oo", u"oo:::oo", u":oo:oo:", u":oo:oo:", u"::ooo::", u"::ooo::", u":::o:::"},  // 21 v
    {u"oo:::oo", u"oo:::oo", u"oo:::oo", u"oo:::oo", u"oo:o:oo", u":ooooo:", u"::o:o::"},  // 22 w
    {u"oo::::o", u":oo::oo", u"::oooo:", u":::oo::", u"::oooo:", u":oo::oo", u"oo::::o"},  // 23 x
    {u"oo::::o", u":oo::oo", u"::oooo:", u":::oo::", u":::oo::", u":::oo::", u":::oo::"},  // 24 y
    {u"ooooooo", u"::::oo:", u":::oo::", u"::oo:::", u":oo::::", u"oo:::::", u"ooooooo"},  // 25 z
    {u":ooooo:", u"oo:::oo", u"oo:::oo", u":::::::", u"oo:::oo", u"oo:::oo", u":ooooo:"},  // 26 0
    {u":::::::", u":::::oo", u":::::oo", u":::::::", u":::::oo", u":::::oo", u":::::::"},  // 27 1
    {u":ooooo:", u":::::oo", u":::::oo", u":ooooo:", u"oo:::::", u"oo:::::", u":ooooo:"},  // 28 2
    {u":ooooo:", u":::::oo", u":::::oo", u":ooooo:", u":::::oo", u":::::oo", u":ooooo:"},  // 29 3
    {u":::::::", u"oo:::oo", u"oo:::oo", u":ooooo:", u":::::oo", u":::::oo", u":::::::"},  // 30 4
    {u":ooooo:", u"oo:::::", u"oo:::::", u":ooooo:", u":::::oo", u":::::oo", u":ooooo:"},  // 31 5
    {u":ooooo:", u"oo:::::", u"oo:::::", u":ooooo:", u"oo:::oo", u"oo:::oo", u":ooooo:"},  // 32 6
    {u":ooooo:", u":::::oo", u":::::oo", u":::::::", u":::::oo", u":::::oo", u":::::::"},  // 33 7
    {u":ooooo:", u"oo:::oo", u"oo:::oo", u":ooooo:", u"oo:::oo", u"oo:::oo", u":ooooo:"},  // 34 8
    {u":ooooo:", u"oo:::oo", u"oo:::oo", u":ooooo:", u":::::oo", u":::::oo", u":ooooo:"},  // 35 9
    {u":::::::", u":::::::", u":::o:::", u":::::::", u":::::::", u":::o:::", u":::::::"},  // 36 :
    {u":::oo::", u":::oo::", u":::oo::", u":::oo::", u":::::::", u":::oo::", u":::oo::"},  // 37 !
    {u":oooo::", u"::::oo:", u"::::oo:", u":::oo::", u":::::::", u"::oo:::", u"::oo:::"},  // 38 ?
    {u":::::::", u":::::::", u":::::::", u"::oooo:", u":::::::", u":::::::", u":::::::"},  // 39 -
    {u":::::::", u":::::::", u":::::::", u":ooooo:", u":::::::", u":ooooo:", u":::::::"},  // 40 =
    {u":::::::", u":::o:::", u":::o:::", u":::o:::", u":::o:::", u":::o:::", u":::::::"},  // 41 +
    {u"::ooo::", u"::o::::", u"::o::::", u"::o::::", u"::o::::", u"::o::::", u"::ooo::"},  // 42 [
    {u"::ooo::", u"::::o::", u"::::o::", u"::::o::", u"::::o::", u"::::o::", u"::ooo::"},  // 43 ]
    {u":::::::", u":::::::", u":::::::", u":::::::", u":::::::", u":::::::", u":::::::"},  // 44 blank
    {u":::::::", u":::::::", u":::::::", u":::::::", u":::::::", u":::oo::", u":::oo::"},  // 45 .
    {u":::::::", u":::::::", u":::::::", u":::::::", u"::::o::", u"::::o::", u":::o:::"},  // 46 ,
    {u":o:::::", u"::o::::", u":::o:::", u"::::o::", u":::o:::", u"::o::::", u":o:::::"},  // 47 >
    {u"::::o::", u":::o:::", u"::o::::", u":o:::::", u"::o::::", u":::o:::", u"::::o::"},  // 48 <
    {u"ooooooo", u"ooooooo", u"ooooooo", u"ooooooo", u"ooooooo", u"ooooooo", u"ooooooo"},  // 49 #
    {u":::o:::", u":::o:::", u"::o::::", u":::::::", u":::::::", u":::::::", u":::::::"},  // 50 '
    {u"::ooo::", u":o:::o:", u"o::oo:o", u"o:o:::o", u"o::oooo", u":o:::::", u"::oooo:"},  // 51 @
    {u"::::::o", u":::::o:", u"::::o::", u":::o:::", u"::o::::", u":o:::::", u"o::::::"},  // 52 /
    {u"o::::::", u":o:::::", u"::o::::", u":::o:::", u"::::o::", u":::::o:", u"::::::o"},  // 53 S
};
// clang-format on

std::unique_ptr<CDotFont>& TheFont() {
  static std::unique_ptr<CDotFont> font;
  return font;
}

}  // namespace

CDotFont::CDotFont(GraphicBuffer* target) : target_(target) {
  for (int g = 0; g < kGlyphs; ++g) {
    for (int r = 0; r < kRows; ++r) {
      const char16_t* pattern = kGlyphRows[g][r];
      std::array<char16_t, 10>& row = rows_[g * kRows + r];
      for (int c = 0; c < static_cast<int>(row.size()) - 1 && pattern[c]; ++c) {
        row[c] = pattern[c];
        if (pattern[c] == u'o' && c < kColumns) lit_[g * kRows + r] |= static_cast<uint8_t>(1 << c);
      }
    }
  }
  map_.fill(kBlankGlyph);
  for (int i = 0; i < kGlyphs; ++i) map_[kCharacterSet[i]] = i;
}

int CDotFont::GlyphIndex(char16_t code) const {
  if (code >= u'A' && code <= u'Z') code = static_cast<char16_t>(code + 32);
  return code < map_.size() ? map_[code] : kBlankGlyph;
}

int32_t CDotFont::Draw(const char16_t* text, int32_t x, int32_t y, uint16_t colour) const {
  if (!text) return x;
  int64_t pen = x;
  // The text is one line, so the rows that fit the buffer are the same for every glyph.
  const int height = target_ ? target_->Height() : 0;
  const int first_row = std::max(0, -y);
  const int end_row = static_cast<int>(std::clamp<int64_t>(int64_t{height} - y, 0, kRows));
  for (const char16_t* p = text; *p; ++p) {
    const char16_t code = *p;
    if (code == u'\n' || code == u'\r') {
      pen = kLineBreakX;
      continue;
    }
    if (code == u'\b') {
      if (pen > 2) pen -= 8;
      continue;
    }
    const int glyph = GlyphIndex(code);
    if (target_ && target_->Pixels() && first_row < end_row) {
      const int first_col = static_cast<int>(std::clamp<int64_t>(-pen, 0, kColumns));
      const int end_col =
          static_cast<int>(std::clamp<int64_t>(int64_t{target_->Width()} - pen, 0, kColumns));
      for (int r = first_row; r < end_row; ++r) {
        const unsigned lit = lit_[glyph * kRows + r];
        if (!lit) continue;
        uint16_t* row = target_->Row(y + r);
        for (int c = first_col; c < end_col; ++c) {
          if (lit & (1u << c)) row[pen + c] = colour;
        }
      }
    }
    pen += kColumns;
  }
  return static_cast<int32_t>(std::clamp<int64_t>(pen, INT32_MIN, INT32_MAX));
}

CDotFont* GetDotFont(GraphicBuffer* buffer) {
  std::unique_ptr<CDotFont>& font = TheFont();
  if (!font) font = std::make_unique<CDotFont>(buffer);
  return font.get();
}

int32_t DrawDotText(GraphicBuffer& buffer, const char16_t* text, int32_t x, int32_t y,
                    uint16_t colour) {
  CDotFont* font = GetDotFont(&buffer);
  if (!font) return x;
  // Always draw where the caller asks. Keeping the buffer of the first call would leave the font
  // writing into freed memory once that buffer is gone.
  font->Bind(&buffer);
  return font->Draw(text, x, y, colour);
}
